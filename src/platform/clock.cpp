#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace platform {
namespace {

std::atomic<Clock*> g_installed{nullptr};

uint32_t SystemTickCount() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

constexpr uint64_t kUnitsPerMs = 10'000;
constexpr uint64_t kUnitsPerDay = 86'400'000ull * kUnitsPerMs;
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1 March of year 0 of the proleptic Gregorian calendar, shifted so
// that 1 January 1601 is day 0. Years start in March so that the leap day is
// the last day of a year.
constexpr int64_t kDaysTo1601 = 584'694;

int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2;
    const int64_t era = year / 400;  // year >= 1600 here, never negative
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - kDaysTo1601;
}

void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
    days += kDaysTo1601;
    const int64_t era = days / 146'097;
    const int64_t dayOfEra = days - era * 146'097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

}  // namespace

LocalTime Clock::SystemLocalTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm parts{};
    localtime_r(&now.tv_sec, &parts);
    return ToLocalTime(parts, now.tv_nsec);
}

bool Clock::SystemDaylightTime() {
    time_t now = time(nullptr);
    tm parts{};
    localtime_r(&now, &parts);
    return parts.tm_isdst > 0;
}

uint32_t GetTickCount() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    return clock ? clock->TickCount() : SystemTickCount();
}

uint64_t GetCounter() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    if (clock) return clock->Counter();
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void Sleep(uint32_t milliseconds) {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    if (clock)
        clock->Sleep(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t TicksSince(uint32_t stamp) {
    uint32_t now = GetTickCount();
    return now >= stamp ? now - stamp : now - stamp - 1;
}

bool IsClockInstalled() { return g_installed.load(std::memory_order_acquire) != nullptr; }

LocalTime GetLocalTime() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    return clock ? clock->Now() : Clock::SystemLocalTime();
}

LocalTime ToLocalTime(const std::tm& parts, long nanoseconds) {
    LocalTime time;
    time.year = static_cast<uint16_t>(parts.tm_year + 1900);
    time.month = static_cast<uint16_t>(parts.tm_mon + 1);
    time.dayOfWeek = static_cast<uint16_t>(parts.tm_wday);
    time.day = static_cast<uint16_t>(parts.tm_mday);
    time.hour = static_cast<uint16_t>(parts.tm_hour);
    time.minute = static_cast<uint16_t>(parts.tm_min);
    time.second = static_cast<uint16_t>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
    time.milliseconds = static_cast<uint16_t>(nanoseconds / 1'000'000);
    return time;
}

bool IsDaylightTime() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    return clock ? clock->DaylightTime() : Clock::SystemDaylightTime();
}

Clock* InstallClock(Clock* clock) { return g_installed.exchange(clock, std::memory_order_acq_rel); }

bool LocalTimeToValue(const LocalTime& time, uint64_t& value) {
    if (time.year < kFirstYear || time.year > kLastYear || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > DaysInMonth(time.year, time.month) || time.hour > 23 || time.minute > 59 || time.second > 59 ||
        time.milliseconds > 999)
        return false;
    const uint64_t days = static_cast<uint64_t>(DaysFromCivil(time.year, time.month, time.day));
    const uint64_t ms = ((time.hour * 60ull + time.minute) * 60 + time.second) * 1000 + time.milliseconds;
    value = days * kUnitsPerDay + ms * kUnitsPerMs;
    return true;
}

bool ValueToLocalTime(uint64_t value, LocalTime& time) {
    const int64_t days = static_cast<int64_t>(value / kUnitsPerDay);
    uint64_t ms = value % kUnitsPerDay / kUnitsPerMs;
    int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, year, month, day);
    if (year > kLastYear) return false;
    time.year = static_cast<uint16_t>(year);
    time.month = static_cast<uint16_t>(month);
    time.day = static_cast<uint16_t>(day);
    time.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1 January 1601 was a Monday
    time.milliseconds = static_cast<uint16_t>(ms % 1000);
    ms /= 1000;
    time.second = static_cast<uint16_t>(ms % 60);
    ms /= 60;
    time.minute = static_cast<uint16_t>(ms % 60);
    time.hour = static_cast<uint16_t>(ms / 60);
    return true;
}

}  // namespace platform
