#pragma once
// The one source of time: a millisecond tick that wraps at 2^32, and Sleep.
// Every time-out, animation and timer reads it, so tests can install a
// virtual clock and never wait for real.
#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// Milliseconds since an arbitrary start, wrapping modulo 2^32.
uint32_t GetTickCount();
void Sleep(uint32_t milliseconds);

// Milliseconds since a tick count taken earlier; across a wrap of the counter the
// difference is one less, as every time-out of the system has always counted it.
uint32_t TicksSince(uint32_t stamp);

// Replaces the system clock for the whole process; null restores it.
// Returns the clock that was installed before (null for the system clock).
Clock* InstallClock(Clock* clock);
// True while a clock other than the system's is installed.
bool IsClockInstalled();

}  // namespace platform
