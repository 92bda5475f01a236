#include "gfx/ticks.h"

#include <gtest/gtest.h>

#include "support/virtual_clock.h"

namespace {

TEST(TicksSince, CountsAcrossTheWrap) {
    testsupport::VirtualClock clock;
    const struct {
        uint32_t stamp;
        uint32_t now;
        uint32_t elapsed;
    } cases[] = {
        {1000, 1000, 0},
        {1000, 1500, 500},
        {0, UINT32_MAX, UINT32_MAX},
        {UINT32_MAX - 15, 16, 31},  // one less than the difference modulo 2^32
        {UINT32_MAX, 0, 0},
        {1, 0, UINT32_MAX - 1},
    };
    for (const auto& c : cases) {
        clock.Set(c.now);
        EXPECT_EQ(TicksSince(&c.stamp), c.elapsed) << c.stamp << " to " << c.now;
    }
}

}  // namespace
