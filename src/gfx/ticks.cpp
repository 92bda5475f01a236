#include "gfx/ticks.h"

#include "platform/clock.h"

uint32_t TicksSince(const uint32_t* stamp) {
    const uint32_t now = platform::GetTickCount();
    if (now >= *stamp)
        return now - *stamp;
    return UINT32_MAX - *stamp + now;
}
