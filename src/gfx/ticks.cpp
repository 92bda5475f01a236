#include "gfx/ticks.h"

#include "platform/clock.h"

uint32_t TicksSince(const uint32_t* stamp) { return platform::TicksSince(*stamp); }
