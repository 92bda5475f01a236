#include "core/zvtime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <limits>

#include "platform/report.h"
#include "support/virtual_clock.h"

namespace {

CZVTime MakeTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
    CZVTime time;
    time.Set(year, month, 0, day, hour, minute, second, ms);
    EXPECT_EQ(time.Normalize(), 1);
    return time;
}

tm UtcParts(int64_t seconds) {
    time_t t = static_cast<time_t>(seconds);
    tm parts{};
    gmtime_r(&t, &parts);
    return parts;
}

// The C library's calendar is the reference: walk forward from a start date in
// fixed strides and compare every field, the day of week and the span.
void WalkAgainstCalendar(int64_t startSeconds, int64_t strideSeconds, int steps) {
    tm start = UtcParts(startSeconds);
    CZVTime first = MakeTime(start.tm_year + 1900, start.tm_mon + 1, start.tm_mday, start.tm_hour, start.tm_min,
                             start.tm_sec);
    CZVTime time = first;
    for (int i = 1; i <= steps; ++i) {
        ASSERT_EQ(time.AddSeconds(strideSeconds), 1);
        const int64_t seconds = startSeconds + strideSeconds * i;
        tm expected = UtcParts(seconds);
        ASSERT_EQ(time.GetYear(), expected.tm_year + 1900) << "step " << i;
        ASSERT_EQ(time.GetMonth(), expected.tm_mon + 1) << "step " << i;
        ASSERT_EQ(time.GetDay(), expected.tm_mday) << "step " << i;
        ASSERT_EQ(time.GetHour(), expected.tm_hour) << "step " << i;
        ASSERT_EQ(time.GetMinute(), expected.tm_min) << "step " << i;
        ASSERT_EQ(time.GetSecond(), expected.tm_sec) << "step " << i;
        ASSERT_EQ(time.GetDayOfWeek(), (expected.tm_wday + 6) % 7) << "step " << i;
        ASSERT_EQ((time - first).GetTotalSeconds(), seconds - startSeconds);
        ASSERT_TRUE(first < time);
    }
}

constexpr int64_t kDay = 86400;
constexpr int64_t kJan1_1601 = -11'644'473'600;  // seconds from 1970

TEST(CZVTime, FollowsTheCalendarDayByDayOverTwoCenturies) {
    WalkAgainstCalendar(-2'208'988'800 /* 1 Jan 1900 */, kDay, 200 * 366);
}

TEST(CZVTime, FollowsTheCalendarInOddStridesFrom1601To30000) {
    WalkAgainstCalendar(kJan1_1601, 997 * kDay + 13 * 3600 + 7 * 60 + 11, 10'300);
}

TEST(CZVTime, RebuildsTheDayOfWeekWhenNormalised) {
    CZVTime time = MakeTime(2024, 6, 2);  // a Sunday
    platform::LocalTime record;
    time.GetSystemTime(record);
    EXPECT_EQ(record.dayOfWeek, 0);
    EXPECT_EQ(time.GetDayOfWeek(), 6);
    EXPECT_EQ(time.GetDayName(), "Sunday");
    EXPECT_EQ(time.GetDayNameShort(), "Sun");
    time.SetDayOfWeek(0);
    time.GetSystemTime(record);
    EXPECT_EQ(record.dayOfWeek, 1);
    EXPECT_EQ(time.SetDay(5), 1);  // Wednesday
    EXPECT_EQ(time.GetDayName(), "Wednesday");
    EXPECT_EQ(time.GetMonthName(), "June");
    EXPECT_EQ(time.GetMonthNameShort(), "Jun");
}

TEST(CZVTime, AddsAcrossTheLeapDay) {
    CZVTime time = MakeTime(2004, 3, 1, 10);
    EXPECT_EQ(time.AddDays(-1), 1);
    EXPECT_EQ(time, MakeTime(2004, 2, 29, 10));
    EXPECT_EQ(time.AddHours(24 * 366), 1);
    EXPECT_EQ(time, MakeTime(2005, 3, 1, 10));
    EXPECT_EQ(time.AddMinutes(-61), 1);
    EXPECT_EQ(time, MakeTime(2005, 3, 1, 8, 59));
    EXPECT_EQ(time.AddMilliseconds(1500), 1);
    EXPECT_EQ(time, MakeTime(2005, 3, 1, 8, 59, 1, 500));
    EXPECT_EQ(time.AddSeconds(0), 1);
    EXPECT_EQ(time, MakeTime(2005, 3, 1, 8, 59, 1, 500));
}

TEST(CZVTime, AnImpossibleDateStaysStoredAndComparesFalse) {
    CZVTime time = MakeTime(2005, 1, 31);
    EXPECT_EQ(time.SetMonth(2), 0);
    EXPECT_EQ(time.GetMonth(), 2);
    EXPECT_EQ(time.GetDay(), 31);
    CZVTime other = MakeTime(2005, 1, 1);
    EXPECT_FALSE(time < other);
    EXPECT_FALSE(time <= other);
    EXPECT_FALSE(time > other);
    EXPECT_FALSE(time >= other);
    EXPECT_FALSE(other < time);
    EXPECT_EQ((time - other).GetValue(), 0u);
    EXPECT_EQ(time.AddDays(1), 0);
    EXPECT_EQ(time.GetDay(), 31);
    // Setting the day first is the way round it.
    EXPECT_EQ(time.SetDay(28), 1);
    EXPECT_EQ(time, MakeTime(2005, 2, 28));
}

TEST(CZVTime, FailuresAreReportedAsChecks) {
    std::vector<std::string> reports;
    ASSERT_TRUE(platform::InstallReportHook(
        [&reports](platform::ReportKind, const std::string& text) { reports.push_back(text); }));
    CZVTime bad;
    bad.Set(2005, 4, 0, 31, 0, 0, 0, 0);
    const CZVTime good = MakeTime(2005, 4, 1);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(bad >= good);
    EXPECT_FALSE(good >= bad);
    EXPECT_FALSE(bad <= bad);
    EXPECT_FALSE(good > bad);
    EXPECT_FALSE(bad < good);
    EXPECT_EQ(bad.AddHours(1), 0);
    CZVTime last = MakeTime(30827, 12, 31, 23);
    EXPECT_EQ(last.AddHours(1), 0);
    testing::internal::GetCapturedStderr();
    platform::RemoveReportHook();
    std::vector<std::string> lines;
    for (const std::string& text : reports)
        lines.push_back(text.substr(0, text.find(':')));
    EXPECT_THAT(lines, testing::ElementsAre("zvtime(line 516", "zvtime(line 521", "zvtime(line 553",
                                            "zvtime(line 558", "zvtime(line 595", "zvtime(line 627",
                                            "zvtime(line 695", "zvtime(line 702"));
}

TEST(CZVTime, AdditionsOutsideTheCalendarFailAndChangeNothing) {
    const CZVTime last = MakeTime(30827, 12, 31, 23, 59, 59, 999);
    CZVTime time = last;
    EXPECT_EQ(time.AddMilliseconds(1), 0);
    EXPECT_EQ(time.AddSeconds(std::numeric_limits<int64_t>::max()), 0);
    EXPECT_EQ(time, last);
    const CZVTime first = MakeTime(1601, 1, 1);
    time = first;
    EXPECT_EQ(time.AddMilliseconds(-1), 0);
    EXPECT_EQ(time.AddDays(std::numeric_limits<int64_t>::min() / 86400), 0);
    EXPECT_EQ(time, first);
    // A long stride that would overflow 32-bit seconds works.
    EXPECT_EQ(time.AddDays(100'000), 1);
    EXPECT_EQ(time, MakeTime(1874, 10, 17));
}

TEST(CZVTime, ComparesOnTheTimeLine) {
    CZVTime early = MakeTime(2010, 5, 1, 23, 59, 59, 999);
    CZVTime late = MakeTime(2010, 5, 2);
    EXPECT_TRUE(early < late);
    EXPECT_TRUE(early <= late);
    EXPECT_FALSE(early > late);
    EXPECT_FALSE(early >= late);
    EXPECT_TRUE(late >= late);
    EXPECT_TRUE(late <= late);
    CZVTimeSpan span = early - late;
    EXPECT_EQ(span.IsNegative(), 1);
    EXPECT_EQ(span.GetTotalMilliseconds(), 1);
    span = late - early;
    EXPECT_EQ(span.IsNegative(), 0);
    EXPECT_EQ(span.GetValue(), 10'000u);
}

TEST(CZVTime, TwelveHourClockTexts) {
    struct Case {
        int hour, minute, second;
        int hour12;
        const char* time;
        const char* seconds;
    };
    const Case cases[] = {
        {0, 30, 5, 12, "12:30 AM", "12:30:05 AM"},
        {1, 5, 0, 1, "1:05 AM", "1:05:00 AM"},
        {11, 59, 59, 11, "11:59 AM", "11:59:59 AM"},
        {12, 0, 0, 12, "12:00 PM", "12:00:00 PM"},
        {13, 7, 9, 1, "1:07 PM", "1:07:09 PM"},
        {23, 0, 0, 11, "11:00 PM", "11:00:00 PM"},
    };
    for (const Case& c : cases) {
        CZVTime time = MakeTime(2020, 1, 1, c.hour, c.minute, c.second);
        EXPECT_EQ(time.GetHour12(), c.hour12) << c.time;
        EXPECT_EQ(time.FormatTime(), c.time);
        EXPECT_EQ(time.FormatTimeSeconds(), c.seconds);
    }
}

TEST(CZVTime, NowFollowsTheLocalClockAndTheGatewayOffset) {
    testsupport::VirtualClock clock;
    clock.SetLocalTime({.year = 2021, .month = 12, .day = 31, .hour = 23, .minute = 50});
    clock.Advance(90'000);
    CZVTime now;
    EXPECT_EQ(now, MakeTime(2021, 12, 31, 23, 51, 30));
    g_nClockOffsetMinutes = 15;
    CZVTime gateway;
    EXPECT_EQ(gateway, MakeTime(2022, 1, 1, 0, 6, 30));
    gateway.SetNow(0);
    EXPECT_EQ(gateway, now);
    g_nClockOffsetMinutes = 0;
    clock.SetDaylightTime(true);
    EXPECT_TRUE(CZVTime::IsDaylightTime());
}

TEST(CZVTimeSpan, ComponentsAndTotals) {
    CZVTimeSpan span(8, 3, 0, 0, 0);
    EXPECT_EQ(span.IsNegative(), 0);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 3);
    EXPECT_EQ(span.GetTotalDays(), 8);
    EXPECT_EQ(span.GetTotalHours(), 195);
    span.Set(0, 26, 61, 62, 1003);
    EXPECT_EQ(span.GetDays(), 1);
    EXPECT_EQ(span.GetHours(), 3);
    EXPECT_EQ(span.GetMinutes(), 2);
    EXPECT_EQ(span.GetSeconds(), 3);
    EXPECT_EQ(span.GetMilliseconds(), 3);
    EXPECT_EQ(span.GetTotalSeconds(), 26 * 3600 + 61 * 60 + 63);
    EXPECT_EQ(span.FormatHourMinSec(), "27:02:03");
    EXPECT_EQ(span.FormatHourMin(), "27:02");
    EXPECT_EQ(span.FormatMinSec(), "1622:03");
}

TEST(CZVTimeSpan, SignIsKeptApartFromTheMagnitude) {
    CZVTimeSpan span;
    span.SetValue(-25'000);
    EXPECT_EQ(span.IsNegative(), 1);
    EXPECT_EQ(span.GetValue(), 25'000u);
    span.Set(0, 0, 1, 5, 0);  // the flag stays
    EXPECT_EQ(span.IsNegative(), 1);
    EXPECT_EQ(span.FormatMinSec(), "1:05");
    span.SetValue(std::numeric_limits<int64_t>::min());
    EXPECT_EQ(span.GetValue(), uint64_t{1} << 63);
    span.SetValue(7);
    EXPECT_EQ(span.IsNegative(), 0);
    // A negative sum of parts is a negative span, not a huge one.
    span.Set(0, 0, 0, -2, 0);
    EXPECT_EQ(span.IsNegative(), 1);
    EXPECT_EQ(span.GetTotalSeconds(), 2);
}

TEST(ZVTimeText, NamesOutsideTheirRangeAreUnknown) {
    EXPECT_EQ(GetDayName(0), "Monday");
    EXPECT_EQ(GetDayName(7), "Unknown");
    EXPECT_EQ(GetDayNameShort(-1), "???");
    EXPECT_EQ(GetMonthName(12), "December");
    EXPECT_EQ(GetMonthName(0), "Unknown");
    EXPECT_EQ(GetMonthNameShort(1), "Jan");
    EXPECT_EQ(GetMonthNameShort(13), "???");
}

TEST(ZVTimeText, Durations) {
    struct Case {
        int seconds;
        const char* text;
    };
    const Case cases[] = {
        {3661, "1 Hour, 1 Min, 1 Sec"}, {7384, "2 Hours, 3 Min, 4 Sec"}, {59, "59 Seconds"},
        {120, "2 Minutes, 0 Sec"},      {65, "1 Minute, 5 Sec"},         {1, "1 Second"},
        {0, "0 Seconds"},               {-5, "0 Seconds"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatDuration(c.seconds), c.text);
    EXPECT_EQ(FormatDurationMs(61'250), "1 Minute, 1 Sec, 250 msec");
}

TEST(ZVTimeText, MinutesOfTheDay) {
    struct Case {
        int minute;
        const char* text;
        const char* shortText;
    };
    const Case cases[] = {
        {0, "12:00  AM", "12:00a"},   {59, "12:59  AM", "12:59a"}, {720, "12:00  PM", "12:00p"},
        {780, "1:00  PM", "1:00p"},   {1439, "11:59  PM", "11:59p"}, {1440, "12:00  AM", "12:00a"},
        {-1, "11:59  PM", "11:59p"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatHourMinute(c.minute), c.text);
        EXPECT_EQ(FormatHourMinuteShort(c.minute), c.shortText);
    }
}

}  // namespace
