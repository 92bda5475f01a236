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

TEST(Clock, CalendarValuesRoundTripAndRejectImpossibleDates) {
    const platform::LocalTime first{.year = 1601, .month = 1, .day = 1};
    uint64_t value = 99;
    ASSERT_TRUE(platform::LocalTimeToValue(first, value));
    EXPECT_EQ(value, 0u);
    // 1 January 1970 sits 11644473600 seconds after the start of the scale.
    ASSERT_TRUE(platform::LocalTimeToValue({.year = 1970, .month = 1, .day = 1}, value));
    EXPECT_EQ(value, 116'444'736'000'000'000u);
    platform::LocalTime time;
    ASSERT_TRUE(platform::ValueToLocalTime(value + 10'000, time));
    EXPECT_EQ(time.dayOfWeek, 4);  // Thursday
    EXPECT_EQ(time.milliseconds, 1);

    const platform::LocalTime bad[] = {
        {.year = 1600, .month = 12, .day = 31}, {.year = 30828, .month = 1, .day = 1},
        {.year = 2001, .month = 2, .day = 29},  {.year = 2000, .month = 13, .day = 1},
        {.year = 2000, .month = 4, .day = 31},  {.year = 2000, .month = 1, .day = 0},
        {.year = 2000, .month = 1, .day = 1, .hour = 24},
        {.year = 2000, .month = 1, .day = 1, .second = 60},
        {.year = 2000, .month = 1, .day = 1, .milliseconds = 1000},
    };
    for (const platform::LocalTime& t : bad) {
        value = 7;
        EXPECT_FALSE(platform::LocalTimeToValue(t, value)) << t.year << "-" << t.month << "-" << t.day;
        EXPECT_EQ(value, 7u);
    }
    ASSERT_TRUE(platform::LocalTimeToValue({.year = 2000, .month = 2, .day = 29}, value));
    time = {};
    EXPECT_FALSE(platform::ValueToLocalTime(UINT64_MAX, time));
    EXPECT_EQ(time.year, 0);
}

TEST(Clock, VirtualLocalTimeMovesWithTheTicks) {
    testsupport::VirtualClock clock;
    clock.SetLocalTime({.year = 2023, .month = 2, .day = 28, .hour = 23, .minute = 59, .second = 59});
    platform::Sleep(1500);
    platform::LocalTime now = platform::GetLocalTime();
    EXPECT_EQ(now.year, 2023);
    EXPECT_EQ(now.month, 3);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.dayOfWeek, 3);  // Wednesday
    EXPECT_EQ(now.hour, 0);
    EXPECT_EQ(now.second, 0);
    EXPECT_EQ(now.milliseconds, 500);
    EXPECT_FALSE(platform::IsDaylightTime());
    clock.SetDaylightTime(true);
    EXPECT_TRUE(platform::IsDaylightTime());
}

TEST(Clock, TheCLibrarysTimeRecordConverts) {
    const time_t seconds = 1'700'000'000;
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    platform::LocalTime time = platform::ToLocalTime(parts, 999'999'999);
    EXPECT_EQ(time.year, 2023);
    EXPECT_EQ(time.month, 11);
    EXPECT_EQ(time.day, 14);
    EXPECT_EQ(time.dayOfWeek, 2);  // Tuesday
    EXPECT_EQ(time.hour, 22);
    EXPECT_EQ(time.minute, 13);
    EXPECT_EQ(time.second, 20);
    EXPECT_EQ(time.milliseconds, 999);

    // A leap second still gives a record the calendar accepts.
    parts.tm_sec = 60;
    time = platform::ToLocalTime(parts, 0);
    EXPECT_EQ(time.second, 59);
    EXPECT_EQ(time.milliseconds, 0);
    uint64_t value = 0;
    EXPECT_TRUE(platform::LocalTimeToValue(time, value));
}

TEST(Clock, SystemLocalTimeIsAValidDate) {
    uint64_t value = 0;
    EXPECT_TRUE(platform::LocalTimeToValue(platform::GetLocalTime(), value));
}

}  // namespace
