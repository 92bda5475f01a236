#pragma once
// Calendar time and time spans with the fixed English texts every program
// shows. Arithmetic and comparisons run on the 64-bit 100-ns calendar scale of
// platform/clock.h.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/clock.h"

// Whole minutes to add to the local clock to get the gateway's clock
// (negative when the gateway is behind). Only the tablet sets it, from the
// gateway's clock answer; it stays 0 in the other programs.
extern std::atomic<int32_t> g_nClockOffsetMinutes;

class CZVTimeSpan;

class CZVTime {
public:
    // The current local time, following the gateway's clock.
    CZVTime();
    CZVTime(const CZVTime&) = default;
    CZVTime& operator=(const CZVTime&) = default;
    virtual ~CZVTime() = default;

    void SetSystemTime(const platform::LocalTime& record) { m_time = record; }
    void GetSystemTime(platform::LocalTime& record) const { record = m_time; }
    // Stores the values as given: dayOfWeek counts Sunday = 0 here.
    void Set(int year, int month, int dayOfWeek, int day, int hour, int minute, int second, int ms);
    // The local clock; with the flag set, plus g_nClockOffsetMinutes.
    void SetNow(int offset);

    int GetYear() const { return m_time.year; }
    int GetMonth() const { return m_time.month; }
    int GetDay() const { return m_time.day; }
    int GetHour() const { return m_time.hour; }
    int GetHour12() const;
    int GetMinute() const { return m_time.minute; }
    int GetSecond() const { return m_time.second; }
    int GetMilliseconds() const { return m_time.milliseconds; }
    // Monday = 0 to Sunday = 6.
    int GetDayOfWeek() const;

    // These store the field and then Normalize; a date that does not exist
    // (31 February) stays stored as it is and they answer 0.
    int SetYear(int year);
    int SetMonth(int month);
    int SetDay(int day);
    // These only store.
    void SetHour(int hour) { m_time.hour = static_cast<uint16_t>(hour); }
    void SetMinute(int minute) { m_time.minute = static_cast<uint16_t>(minute); }
    void SetSecond(int second) { m_time.second = static_cast<uint16_t>(second); }
    void SetMilliseconds(int ms) { m_time.milliseconds = static_cast<uint16_t>(ms); }
    // Monday = 0 to Sunday = 6.
    void SetDayOfWeek(int dayOfWeek);

    // Recomputes the day of week. 0, with the record unchanged, when the
    // record is not a valid date.
    int Normalize();

    // Each answers 0 and leaves the time unchanged when the record is not a
    // valid date or the result falls outside the calendar; the failure is
    // reported as a failed check.
    int AddMilliseconds(int64_t ms);
    int AddSeconds(int64_t seconds);
    int AddMinutes(int64_t minutes) { return AddSeconds(minutes * 60); }
    int AddHours(int64_t hours) { return AddSeconds(hours * 3600); }
    int AddDays(int64_t days) { return AddSeconds(days * 86400); }

    // |this - other|, negative when this is earlier; zero when either record
    // is not a valid date.
    CZVTimeSpan operator-(const CZVTime& other) const;
    // False, and reported as a failed check, when either record is not a
    // valid date.
    bool operator<(const CZVTime& other) const;
    bool operator<=(const CZVTime& other) const;
    bool operator>(const CZVTime& other) const;
    bool operator>=(const CZVTime& other) const;
    // All eight record fields equal.
    bool operator==(const CZVTime& other) const;

    std::string GetDayName() const;
    std::string GetDayNameShort() const;
    std::string GetMonthName() const;
    std::string GetMonthNameShort() const;
    std::string GetAmPm() const;
    std::string FormatTime() const;         // "1:05 PM"
    std::string FormatTimeSeconds() const;  // "1:05:09 PM"

    static bool IsDaylightTime();

private:
    int AddUnits(int64_t count, uint64_t unit);
    // Converts both records; each that fails is reported with its line.
    bool Compare(const CZVTime& other, int firstLine, int secondLine, uint64_t& mine, uint64_t& theirs) const;

    platform::LocalTime m_time;
};

class CZVTimeSpan {
public:
    CZVTimeSpan() = default;
    CZVTimeSpan(int64_t days, int64_t hours, int64_t minutes, int64_t seconds, int64_t ms);
    CZVTimeSpan(const CZVTimeSpan&) = default;
    CZVTimeSpan& operator=(const CZVTimeSpan&) = default;
    virtual ~CZVTimeSpan() = default;

    // The magnitude becomes the sum of the parts; the sign is kept unless the
    // sum itself is negative.
    void Set(int64_t days, int64_t hours, int64_t minutes, int64_t seconds, int64_t ms);
    int IsNegative() const { return m_negative; }
    void SetNegative(int negative) { m_negative = negative ? 1 : 0; }
    uint64_t GetValue() const { return m_value; }
    void SetValue(int64_t value);

    // Components of the magnitude; GetDays leaves out whole weeks (0-6).
    int GetDays() const;
    int GetHours() const;
    int GetMinutes() const;
    int GetSeconds() const;
    int GetMilliseconds() const;

    int64_t GetTotalDays() const;
    int64_t GetTotalHours() const;
    int64_t GetTotalMinutes() const;
    int64_t GetTotalSeconds() const;
    int64_t GetTotalMilliseconds() const;

    // None of the texts shows the sign.
    std::string FormatMinSec() const;       // total minutes:seconds
    std::string FormatHourMin() const;      // total hours:minutes
    std::string FormatHourMinSec() const;   // total hours:minutes:seconds

private:
    int m_negative = 0;
    uint64_t m_value = 0;
};

// 0 (Monday) to 6 (Sunday); "Unknown" or "???" otherwise.
std::string GetDayName(int dayOfWeek);
std::string GetDayNameShort(int dayOfWeek);
// 1 to 12; "Unknown" or "???" otherwise.
std::string GetMonthName(int month);
std::string GetMonthNameShort(int month);

// "2 Hours, 3 Min, 4 Sec", "1 Minute, 5 Sec", "1 Second", "0 Seconds".
// A negative count reads as 0.
std::string FormatDuration(int seconds);
// FormatDuration of the whole seconds, then ", %d msec".
std::string FormatDurationMs(int ms);
// A minute of the day as "1:05  PM" (two spaces) or, short, "1:05p"; values
// outside 0-1439 wrap into the day.
std::string FormatHourMinute(int minuteOfDay);
std::string FormatHourMinuteShort(int minuteOfDay);

void SleepMs(uint32_t ms);
