#pragma once
// The one source of time: a millisecond tick that wraps at 2^32, Sleep, and
// the local calendar time. Every time-out, animation, timer and clock display
// reads it, so tests can install a virtual clock and never wait for real.
#include <cstdint>
#include <ctime>

namespace platform {

// Broken-down local time. Day of week counts Sunday = 0 to Saturday = 6.
struct LocalTime {
    uint16_t year = 0;
    uint16_t month = 0;  // 1-12
    uint16_t dayOfWeek = 0;
    uint16_t day = 0;  // 1-31
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
    // The high-resolution counter in microseconds. A clock that keeps only
    // milliseconds drives it from its tick count.
    virtual uint64_t Counter() { return uint64_t{TickCount()} * 1000; }
    // The machine's local time and whether its zone is on daylight time now.
    virtual LocalTime Now() { return SystemLocalTime(); }
    virtual bool DaylightTime() { return SystemDaylightTime(); }

    static LocalTime SystemLocalTime();
    static bool SystemDaylightTime();
};

// Milliseconds since an arbitrary start, wrapping modulo 2^32.
uint32_t GetTickCount();
void Sleep(uint32_t milliseconds);

// The high-resolution counter that paces video frames, and its units per
// second. It never goes back; its start is arbitrary.
inline constexpr uint64_t kCounterFrequency = 1'000'000;
uint64_t GetCounter();

// Milliseconds since a tick count taken earlier; across a wrap of the counter the
// difference is one less, as every time-out of the system has always counted it.
uint32_t TicksSince(uint32_t stamp);

LocalTime GetLocalTime();
bool IsDaylightTime();

// The C library's broken-down time (from localtime_r or gmtime_r) with the
// nanoseconds of its second. A leap second shows as 59: the record has no
// room for 60.
LocalTime ToLocalTime(const std::tm& parts, long nanoseconds);

// Replaces the system clock for the whole process; null restores it.
// Returns the clock that was installed before (null for the system clock).
Clock* InstallClock(Clock* clock);
// True while a clock other than the system's is installed.
bool IsClockInstalled();

// The calendar as a count of 100-nanosecond units since 1 January 1601, the
// scale on which times are added and compared. A record converts when it is a
// valid date of the years 1601 to 30827 with hour < 24, minute < 60,
// second < 60 and milliseconds < 1000; its day of week is ignored. Both
// conversions answer false and leave the output untouched on failure.
bool LocalTimeToValue(const LocalTime& time, uint64_t& value);
bool ValueToLocalTime(uint64_t value, LocalTime& time);

}  // namespace platform
