#include "platform/clock.h"

#include <gtest/gtest.h>

#include "support/virtual_clock.h"

namespace {

TEST(Clock, SystemTicksMoveForwardAcrossASleep) {
    uint32_t before = platform::GetTickCount();
    platform::Sleep(20);
    uint32_t elapsed = platform::GetTickCount() - before;
    EXPECT_GE(elapsed, 15u);
    EXPECT_LT(elapsed, 5000u);
}

TEST(Clock, VirtualClockOwnsTimeWhileInstalled) {
    {
        testsupport::VirtualClock clock(0xFFFFFFF0u);
        EXPECT_EQ(platform::GetTickCount(), 0xFFFFFFF0u);
        platform::Sleep(0x20);  // wraps
        EXPECT_EQ(platform::GetTickCount(), 0x10u);
        clock.Advance(5);
        EXPECT_EQ(platform::GetTickCount(), 0x15u);
        EXPECT_EQ(clock.TotalSlept(), 0x20u);
    }
    // The system clock is back: a real sleep takes real time.
    uint32_t before = platform::GetTickCount();
    platform::Sleep(5);
    EXPECT_GE(platform::GetTickCount() - before, 4u);
}

}  // namespace
