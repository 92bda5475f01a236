#include "core/zvtime.h"

#include <cstdio>
#include <limits>

#include "platform/report.h"

std::atomic<int32_t> g_nClockOffsetMinutes{0};

namespace {

constexpr uint64_t kUnitsPerMs = 10'000;
constexpr uint64_t kUnitsPerSecond = 1000 * kUnitsPerMs;
constexpr uint64_t kUnitsPerMinute = 60 * kUnitsPerSecond;
constexpr uint64_t kUnitsPerHour = 60 * kUnitsPerMinute;
constexpr uint64_t kUnitsPerDay = 24 * kUnitsPerHour;
constexpr uint64_t kUnitsPerWeek = 7 * kUnitsPerDay;

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[96];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

std::string Name(const char* const* names, int count, int index, const char* unknown) {
    return index >= 0 && index < count ? names[index] : unknown;
}

// Adds with a check, so that a sum outside int64_t fails instead of wrapping.
bool AddChecked(int64_t a, int64_t b, int64_t& sum) { return !__builtin_add_overflow(a, b, &sum); }
bool MulChecked(int64_t a, int64_t b, int64_t& product) { return !__builtin_mul_overflow(a, b, &product); }

}  // namespace

// ---- CZVTime

CZVTime::CZVTime() { SetNow(1); }

void CZVTime::Set(int year, int month, int dayOfWeek, int day, int hour, int minute, int second, int ms) {
    m_time.year = static_cast<uint16_t>(year);
    m_time.month = static_cast<uint16_t>(month);
    m_time.dayOfWeek = static_cast<uint16_t>(dayOfWeek);
    m_time.day = static_cast<uint16_t>(day);
    m_time.hour = static_cast<uint16_t>(hour);
    m_time.minute = static_cast<uint16_t>(minute);
    m_time.second = static_cast<uint16_t>(second);
    m_time.milliseconds = static_cast<uint16_t>(ms);
}

void CZVTime::SetNow(int offset) {
    m_time = platform::GetLocalTime();
    if (offset)
        AddMinutes(g_nClockOffsetMinutes.load());
}

int CZVTime::GetHour12() const {
    if (m_time.hour == 0)
        return 12;
    return m_time.hour > 12 ? m_time.hour - 12 : m_time.hour;
}

int CZVTime::GetDayOfWeek() const { return m_time.dayOfWeek == 0 ? 6 : m_time.dayOfWeek - 1; }

void CZVTime::SetDayOfWeek(int dayOfWeek) {
    m_time.dayOfWeek = static_cast<uint16_t>(dayOfWeek == 6 ? 0 : dayOfWeek + 1);
}

int CZVTime::SetYear(int year) {
    m_time.year = static_cast<uint16_t>(year);
    return Normalize();
}

int CZVTime::SetMonth(int month) {
    m_time.month = static_cast<uint16_t>(month);
    return Normalize();
}

int CZVTime::SetDay(int day) {
    m_time.day = static_cast<uint16_t>(day);
    return Normalize();
}

int CZVTime::Normalize() {
    uint64_t value = 0;
    return platform::LocalTimeToValue(m_time, value) && platform::ValueToLocalTime(value, m_time) ? 1 : 0;
}

int CZVTime::AddMilliseconds(int64_t ms) { return AddUnits(ms, kUnitsPerMs); }

int CZVTime::AddSeconds(int64_t seconds) { return AddUnits(seconds, kUnitsPerSecond); }

// The checks keep fixed line numbers: the gateway's logs know them by these.
int CZVTime::AddUnits(int64_t count, uint64_t unit) {
    if (count == 0)
        return 1;
    uint64_t value = 0;
    if (!platform::LocalTimeToValue(m_time, value)) {
        ReportAssert("zvtime", 695, 1);
        return 0;
    }
    // Calendar values stay below 2^63, so signed arithmetic that does not
    // overflow is exact.
    int64_t units = 0;
    int64_t sum = 0;
    if (!MulChecked(count, static_cast<int64_t>(unit), units) ||
        !AddChecked(static_cast<int64_t>(value), units, sum) || sum < 0 ||
        !platform::ValueToLocalTime(static_cast<uint64_t>(sum), m_time)) {
        ReportAssert("zvtime", 702, 1);
        return 0;
    }
    return 1;
}

bool CZVTime::Compare(const CZVTime& other, int firstLine, int secondLine, uint64_t& mine, uint64_t& theirs) const {
    const bool first = platform::LocalTimeToValue(m_time, mine);
    if (!first)
        ReportAssert("zvtime", firstLine, 1);
    const bool second = platform::LocalTimeToValue(other.m_time, theirs);
    if (!second)
        ReportAssert("zvtime", secondLine, 1);
    return first && second;
}

CZVTimeSpan CZVTime::operator-(const CZVTime& other) const {
    CZVTimeSpan span;
    uint64_t mine = 0;
    uint64_t theirs = 0;
    if (!platform::LocalTimeToValue(m_time, mine) || !platform::LocalTimeToValue(other.m_time, theirs))
        return span;
    if (mine >= theirs) {
        span.SetValue(static_cast<int64_t>(mine - theirs));
    } else {
        span.SetValue(static_cast<int64_t>(theirs - mine));
        span.SetNegative(1);
    }
    return span;
}

bool CZVTime::operator<(const CZVTime& other) const {
    uint64_t mine = 0;
    uint64_t theirs = 0;
    return Compare(other, 627, 632, mine, theirs) && mine < theirs;
}

bool CZVTime::operator<=(const CZVTime& other) const {
    uint64_t mine = 0;
    uint64_t theirs = 0;
    return Compare(other, 553, 558, mine, theirs) && mine <= theirs;
}

bool CZVTime::operator>(const CZVTime& other) const {
    uint64_t mine = 0;
    uint64_t theirs = 0;
    return Compare(other, 590, 595, mine, theirs) && mine > theirs;
}

bool CZVTime::operator>=(const CZVTime& other) const {
    uint64_t mine = 0;
    uint64_t theirs = 0;
    return Compare(other, 516, 521, mine, theirs) && mine >= theirs;
}

bool CZVTime::operator==(const CZVTime& other) const {
    const platform::LocalTime& a = m_time;
    const platform::LocalTime& b = other.m_time;
    return a.year == b.year && a.month == b.month && a.dayOfWeek == b.dayOfWeek && a.day == b.day &&
           a.hour == b.hour && a.minute == b.minute && a.second == b.second && a.milliseconds == b.milliseconds;
}

std::string CZVTime::GetDayName() const { return ::GetDayName(GetDayOfWeek()); }
std::string CZVTime::GetDayNameShort() const { return ::GetDayNameShort(GetDayOfWeek()); }
std::string CZVTime::GetMonthName() const { return ::GetMonthName(m_time.month); }
std::string CZVTime::GetMonthNameShort() const { return ::GetMonthNameShort(m_time.month); }

std::string CZVTime::GetAmPm() const { return m_time.hour < 12 || m_time.hour == 24 ? "AM" : "PM"; }

std::string CZVTime::FormatTime() const {
    return Format("%d:%02d %s", GetHour12(), GetMinute(), GetAmPm().c_str());
}

std::string CZVTime::FormatTimeSeconds() const {
    return Format("%d:%02d:%02d %s", GetHour12(), GetMinute(), GetSecond(), GetAmPm().c_str());
}

bool CZVTime::IsDaylightTime() { return platform::IsDaylightTime(); }

// ---- CZVTimeSpan

CZVTimeSpan::CZVTimeSpan(int64_t days, int64_t hours, int64_t minutes, int64_t seconds, int64_t ms) {
    Set(days, hours, minutes, seconds, ms);
}

void CZVTimeSpan::Set(int64_t days, int64_t hours, int64_t minutes, int64_t seconds, int64_t ms) {
    // Wide enough for any int64_t parts: the sum is taken in 128 bits and then
    // saturated, so that a huge part cannot wrap into a small span.
    __int128 sum = static_cast<__int128>(days) * kUnitsPerDay + static_cast<__int128>(hours) * kUnitsPerHour +
                   static_cast<__int128>(minutes) * kUnitsPerMinute +
                   static_cast<__int128>(seconds) * kUnitsPerSecond + static_cast<__int128>(ms) * kUnitsPerMs;
    if (sum < 0) {
        m_negative = 1;
        sum = -sum;
    }
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    m_value = sum > static_cast<__int128>(kMax) ? kMax : static_cast<uint64_t>(sum);
}

void CZVTimeSpan::SetValue(int64_t value) {
    m_negative = value < 0 ? 1 : 0;
    // Negated in unsigned arithmetic so that the most negative value works.
    m_value = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
}

int CZVTimeSpan::GetDays() const { return static_cast<int>(m_value % kUnitsPerWeek / kUnitsPerDay); }
int CZVTimeSpan::GetHours() const { return static_cast<int>(m_value % kUnitsPerDay / kUnitsPerHour); }
int CZVTimeSpan::GetMinutes() const { return static_cast<int>(m_value % kUnitsPerHour / kUnitsPerMinute); }
int CZVTimeSpan::GetSeconds() const { return static_cast<int>(m_value % kUnitsPerMinute / kUnitsPerSecond); }
int CZVTimeSpan::GetMilliseconds() const { return static_cast<int>(m_value % kUnitsPerSecond / kUnitsPerMs); }

int64_t CZVTimeSpan::GetTotalDays() const { return static_cast<int64_t>(m_value / kUnitsPerDay); }
int64_t CZVTimeSpan::GetTotalHours() const { return static_cast<int64_t>(m_value / kUnitsPerHour); }
int64_t CZVTimeSpan::GetTotalMinutes() const { return static_cast<int64_t>(m_value / kUnitsPerMinute); }
int64_t CZVTimeSpan::GetTotalSeconds() const { return static_cast<int64_t>(m_value / kUnitsPerSecond); }
int64_t CZVTimeSpan::GetTotalMilliseconds() const { return static_cast<int64_t>(m_value / kUnitsPerMs); }

std::string CZVTimeSpan::FormatMinSec() const {
    return Format("%lld:%02d", static_cast<long long>(GetTotalMinutes()), GetSeconds());
}

std::string CZVTimeSpan::FormatHourMin() const {
    return Format("%lld:%02d", static_cast<long long>(GetTotalHours()), GetMinutes());
}

std::string CZVTimeSpan::FormatHourMinSec() const {
    return Format("%lld:%02d:%02d", static_cast<long long>(GetTotalHours()), GetMinutes(), GetSeconds());
}

// ---- free functions

std::string GetDayName(int dayOfWeek) {
    static constexpr const char* kNames[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                             "Friday", "Saturday", "Sunday"};
    return Name(kNames, 7, dayOfWeek, "Unknown");
}

std::string GetDayNameShort(int dayOfWeek) {
    static constexpr const char* kNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return Name(kNames, 7, dayOfWeek, "???");
}

std::string GetMonthName(int month) {
    static constexpr const char* kNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                             "July",    "August",   "September", "October", "November", "December"};
    return Name(kNames, 12, month - 1, "Unknown");
}

std::string GetMonthNameShort(int month) {
    static constexpr const char* kNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return Name(kNames, 12, month - 1, "???");
}

std::string FormatDuration(int seconds) {
    if (seconds < 0)
        seconds = 0;
    const int h = seconds / 3600;
    const int m = seconds % 3600 / 60;
    const int s = seconds % 60;
    if (h >= 2)
        return Format("%d Hours, %d Min, %d Sec", h, m, s);
    if (h == 1)
        return Format("%d Hour, %d Min, %d Sec", h, m, s);
    if (m >= 2)
        return Format("%d Minutes, %d Sec", m, s);
    if (m == 1)
        return Format("%d Minute, %d Sec", m, s);
    if (seconds == 1)
        return "1 Second";
    return Format("%d Seconds", seconds);
}

std::string FormatDurationMs(int ms) {
    if (ms < 0)
        ms = 0;
    return Format("%s, %d msec", FormatDuration(ms / 1000).c_str(), ms % 1000);
}

namespace {

std::string FormatMinuteOfDay(int minuteOfDay, const char* format, const char* am, const char* pm) {
    minuteOfDay %= 1440;
    if (minuteOfDay < 0)
        minuteOfDay += 1440;
    int hour = minuteOfDay / 60;
    const char* suffix = am;
    if (hour > 11) {
        hour -= 12;
        suffix = pm;
    }
    if (hour == 0)
        hour = 12;
    return Format(format, hour, minuteOfDay % 60, suffix);
}

}  // namespace

std::string FormatHourMinute(int minuteOfDay) { return FormatMinuteOfDay(minuteOfDay, "%d:%02d %s", " AM", " PM"); }

std::string FormatHourMinuteShort(int minuteOfDay) {
    return FormatMinuteOfDay(minuteOfDay, "%d:%02d%s", "a", "p");
}

void SleepMs(uint32_t ms) { platform::Sleep(ms); }
