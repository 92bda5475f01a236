// The climate model: units, zone information, status, programs and shared
// schedules, against payloads and the sample house.
#include "vistrel/home/climate/climatemodel.h"

#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"

namespace {

using climatetest::Bytes;
using climatetest::ClimateTest;
using climatetest::Message;
using climatetest::PayloadWriter;

// A zone information answer with the five leading values, the rest zero.
Bytes ZoneInfo(int32_t heat, int32_t cool, int32_t fan, int32_t capabilities) {
    PayloadWriter w;
    w.Int(heat).Int(cool).Int(fan).Int(capabilities).Int(0).Int(0).Int(0).Int(40).Int(90).Int(60).Int(99);
    return w.Int(0).Int(0).String("").String("");
}

// Appends one period as the gateway sends it.
PayloadWriter& Period(PayloadWriter& w, int32_t time, uint8_t cool, uint8_t heat) {
    return w.Int(time).Byte(cool).Byte(heat).Byte(0).Byte(0);
}

using ModelTest = ClimateTest;

TEST_F(ModelTest, ToFahrenheitConvertsCelsiusOnlyAndCutsTowardZero) {
    struct Case {
        int celsius;
        int fahrenheit;
    };
    gateway.Answer(ZVM_HVAC_GETOPTIONQ, PayloadWriter().Int(1));
    for (const Case& c : {Case{21, 69}, Case{5, 40}, Case{10, 49}, Case{-5, 24}})
        EXPECT_EQ(ToFahrenheit(&server, c.celsius), c.fahrenheit) << c.celsius;
    ResetTemperatureUnit();
    gateway.Answer(ZVM_HVAC_GETOPTIONQ, PayloadWriter().Int(0));
    EXPECT_EQ(ToFahrenheit(&server, 21), 21);
}

TEST_F(ModelTest, TheUnitIsAskedOnceAnsweredAndAgainAfterAFailure) {
    gateway.On(ZVM_HVAC_GETOPTIONQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    EXPECT_EQ(IsCelsius(&server), 0);  // no answer: Fahrenheit for this call
    gateway.Answer(ZVM_HVAC_GETOPTIONQ, PayloadWriter().Int(1));
    EXPECT_EQ(IsCelsius(&server), 1);
    EXPECT_EQ(IsCelsius(&server), 1);
    EXPECT_EQ(Asked(ZVM_HVAC_GETOPTIONQ), 2);
}

TEST_F(ModelTest, TheFormattersWriteDegreesAndPerCent) {
    EXPECT_STREQ(FormatTemperature(72).GetAnsi(), "72\xB0");
    EXPECT_STREQ(FormatTemperature(-3).GetAnsi(), "-3\xB0");
    EXPECT_STREQ(FormatPercent(55).GetAnsi(), "55 %");
}

TEST_F(ModelTest, ACapabilityCountsWhenAboveZeroAndNotTheNoneValue) {
    struct Case {
        int32_t value;
        int has;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{-1, 0}, Case{0x7FFF, 0}}) {
        CThermostatZone zone(nullptr, 1, "Zone", 0, 0);
        ASSERT_EQ(zone.ReadInfo(Message(ZVM_HVAC_GETZONESTATUSA, ZoneInfo(c.value, c.value, c.value, 0)).get(), 0), 1);
        EXPECT_EQ(zone.HasHeat(), c.has) << c.value;
        EXPECT_EQ(zone.HasCool(), c.has) << c.value;
        EXPECT_EQ(zone.HasFan(), c.has) << c.value;
    }
}

TEST_F(ModelTest, AHumidistatHasNeitherHeatNorEmergencyHeat) {
    CThermostatZone zone(nullptr, 3, "Cellar", 1, 0);
    ASSERT_EQ(zone.ReadInfo(Message(ZVM_HVAC_GETZONESTATUSA, ZoneInfo(1, 1, 0, 0x03)).get(), 0), 1);
    EXPECT_EQ(zone.HasHeat(), 0);
    EXPECT_EQ(zone.HasEmergencyHeat(), 0);
    EXPECT_EQ(zone.HasCool(), 1);
    EXPECT_EQ(zone.HasAutoMode(), 1);
}

TEST_F(ModelTest, InformationLoadsFromTheGatewayAndAFailedLoadIsRetriedByTheGetters) {
    CThermostatZone zone(&server, 1, "Living Room", 0, 0);
    EXPECT_EQ(zone.GetSharedScheduleId(), 0);  // loads
    EXPECT_EQ(zone.GetCapabilities(), 0x41);
    EXPECT_EQ(zone.GetLimits().heatMin, 40);
    EXPECT_EQ(zone.GetLimits().coolMax, 99);
    EXPECT_EQ(zone.HasFan(), 1);
    EXPECT_EQ(Asked(ZVM_HVAC_GETZONESTATUSQ), 1);

    CThermostatZone unknown(&server, 9, "Unknown", 0, 0);
    EXPECT_EQ(unknown.LoadInfo(), 0);
    EXPECT_EQ(unknown.GetSharedScheduleId(), -1);
    EXPECT_EQ(unknown.HasHeat(), 0);
    EXPECT_EQ(unknown.IsLoaded(), 0);
    EXPECT_EQ(Asked(ZVM_HVAC_GETZONESTATUSQ), 4);
}

TEST_F(ModelTest, AnExtendedZoneTakesItsNameAndTheThemedSeries) {
    PayloadWriter w;
    w.Int(0).String("Guest Suite");
    w.Int(1).Int(0).String("Humidity").Int(0).Int(0).Int(255);
    w.Int(2).Int(0).String("Away").Int(255).Int(0).Int(0).Int(0).String("Night").Int(0).Int(255).Int(0);
    CThermostatZone zone(nullptr, 5, "", 0, 1);
    ASSERT_EQ(zone.ReadInfo(Message(ZVM_HVAC_GETZONEEXTA, w).get(), 1), 1);
    EXPECT_STREQ(zone.GetName().GetAnsi(), "Guest Suite");
    ASSERT_EQ(zone.GetSeriesCount(), 1);
    EXPECT_EQ(zone.GetSeries(0)->colour, 0xFF0000u);
    ASSERT_EQ(zone.GetBandCount(), 2);
    EXPECT_STREQ(CZVString(zone.GetBand(1)->text).GetAnsi(), "Night");
    EXPECT_EQ(zone.GetBand(2), nullptr);
    EXPECT_EQ(zone.HasHeat(), 0);
}

TEST_F(ModelTest, AStatusForAnotherZoneChangesNothing) {
    CThermostatZone zone(nullptr, 1, "Living Room", 0, 0);
    PayloadWriter other;
    other.Int(2).Int(1).Int(0).Int(3).Int(70).Int(70).Int(78).Int(1).Int(0).Int(0).Int(85).Int(0).Int(3725);
    other.String("").Int(0);
    EXPECT_EQ(zone.ParseStatus(Message(ZVM_HVAC_GETTHERMOSTATA, other).get()), 0);
    EXPECT_EQ(zone.GetStatus().systemMode, kModeOff);
    EXPECT_EQ(zone.GetStatus().roomValue, kNoClimateValue);
    EXPECT_EQ(zone.GetStatus().syncState, 1);

    PayloadWriter own;
    own.Int(1).Int(4).Int(0).Int(0).Int(72).Int(68).Int(76).Int(0).Int(1).Int(1).Int(85).Int(0).Int(0);
    own.String("ok").Int(0);
    EXPECT_EQ(zone.ParseStatus(Message(ZVM_HVAC_GETTHERMOSTATA, own).get()), 1);
    EXPECT_EQ(zone.GetStatus().systemMode, kModeAuto);
    EXPECT_EQ(zone.GetStatus().roomValue, 72);
    EXPECT_EQ(zone.GetStatus().coolSetPoint, 76);
    EXPECT_EQ(zone.GetStatus().fanActive, 1);
    EXPECT_EQ(zone.GetStatus().statusText, "ok");
    EXPECT_EQ(zone.GetStatus().syncState, 0);
}

TEST_F(ModelTest, ScheduleTimesAreHeldToTheDayButSharedScheduleTimesKeptAsSent) {
    struct Case {
        int32_t sent;
        int32_t program;
        int32_t shared;
    };
    for (const Case& c : {Case{1500, 1440, 1500}, Case{-5, 0, -5}, Case{600, 600, 600}}) {
        PayloadWriter schedule;
        schedule.Int(1).Int(0x01).Int(1).Int(1).Int(0x1F);
        Period(schedule, c.sent, 78, 70);
        CThermostatZone zone(nullptr, 1, "Zone", 0, 0);
        ASSERT_EQ(zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, schedule).get()), 1);
        ASSERT_EQ(zone.GetProgramCount(), 1);
        EXPECT_EQ(GetPeriod(*zone.GetProgram(0)->GetAt(0), DayField::kTime, 0), c.program) << c.sent;

        PayloadWriter shared;
        shared.Int(1).Int(7).String("Saver").Int(0xFF).Int(1).Int(1).Int(0x1F);
        Period(shared, c.sent, 85, 55);
        CHvacZones zones;
        ASSERT_EQ(ReadSharedSchedules(Message(ZVM_HVAC_SUBSCRIBEZONESA, shared).get(), &zones), 1);
        ASSERT_EQ(zones.size(), 1u);
        EXPECT_EQ(GetPeriod(*zones[0]->GetAt(0), DayField::kTime, 0), c.shared) << c.sent;
        EXPECT_EQ(GetPeriod(*zones[0]->GetAt(0), DayField::kCool, 0), 85);
    }
}

TEST_F(ModelTest, PeriodsPastEightAreDroppedAndANegativeCountHasNone) {
    struct Case {
        int32_t sent;
        int kept;
    };
    for (const Case& c : {Case{9, 8}, Case{-1, 0}, Case{0, 0}}) {
        PayloadWriter w;
        w.Int(2).Int(0x01).Int(c.sent).Int(1).Int(0x1F);
        for (int p = 0; p < c.sent; ++p) Period(w, 60 * p, static_cast<uint8_t>(70 + p), 60);
        w.Int(0x02).Int(1).Int(1).Int(0x60);  // the next program reads where the last one ended
        Period(w, 300, 75, 65);
        CThermostatZone zone(nullptr, 1, "Zone", 0, 0);
        ASSERT_EQ(zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, w).get()), 1) << c.sent;
        ASSERT_EQ(zone.GetProgramCount(), 2);
        const CZoneProgram& first = *zone.GetProgram(0);
        EXPECT_EQ(first.GetPeriods(), c.kept);
        ASSERT_EQ(first.GetCount(), 1);
        if (c.kept) EXPECT_EQ(GetPeriod(*first.GetAt(0), DayField::kCool, 7), 77);
        const CZoneProgram& second = *zone.GetProgram(1);
        EXPECT_EQ(second.GetProgramId(), 0x02);
        EXPECT_EQ(second.GetAt(0)->mask, 0x60);
        EXPECT_EQ(GetPeriod(*second.GetAt(0), DayField::kTime, 0), 300);
    }
}

TEST_F(ModelTest, ATruncatedScheduleKeepsWhatCameAndFails) {
    PayloadWriter w;
    w.Int(3).Int(0x01).Int(2).Int(2).Int(0x1F);
    Period(w, 360, 78, 70);
    Period(w, 1320, 80, 64);
    w.Int(0x60).Int(420);  // the second day breaks off in its first period
    CThermostatZone zone(nullptr, 1, "Zone", 0, 0);
    EXPECT_EQ(zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, w).get()), 0);
    ASSERT_EQ(zone.GetProgramCount(), 1);
    ASSERT_EQ(zone.GetProgram(0)->GetCount(), 1);
    EXPECT_EQ(GetPeriod(*zone.GetProgram(0)->GetAt(0), DayField::kTime, 1), 1320);
}

TEST_F(ModelTest, CountsBeyondTheMessageReadNoFurtherThanItsBytes) {
    PayloadWriter w;
    w.Int(0x7FFFFFFF).Int(0x01).Int(0x7FFFFFFF).Int(0x7FFFFFFF);
    CThermostatZone zone(nullptr, 1, "Zone", 0, 0);
    EXPECT_EQ(zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, w).get()), 0);
    ASSERT_EQ(zone.GetProgramCount(), 1);
    EXPECT_EQ(zone.GetProgram(0)->GetPeriods(), kMaxPeriods);
    EXPECT_EQ(zone.GetProgram(0)->GetCount(), 0);
}

TEST_F(ModelTest, SavedProgramsCarryTheLayoutTheyWereReadIn) {
    CThermostatZone zone(&server, 1, "Living Room", 0, 0);
    ASSERT_EQ(zone.LoadSchedules(), 1);
    ASSERT_EQ(zone.GetProgramCount(), 1);
    EXPECT_EQ(zone.GetProgram(0)->GetPeriods(), 4);
    ASSERT_EQ(zone.SaveSchedules(), 1);
    const Bytes sent = LastRequest(ZVM_HVAC_SETSCHEDULEQ).payload;
    Bytes expected = PayloadWriter().Int(1);
    const Bytes answer =
        testsupport::SampleHouse().Respond({0, ZVM_HVAC_GETSCHEDULEQ, PayloadWriter().Int(1)})[0].payload;
    expected.insert(expected.end(), answer.begin(), answer.end());
    EXPECT_EQ(sent, expected);
}

TEST_F(ModelTest, SetPointsOfASharedScheduleGoWithoutMasksOrPeriodCount) {
    CHvacZone zone(0xFF, 4, 7, "Saver");
    for (int d = 0; d < 2; ++d) {
        CMaskRecord* day = zone.Add(d ? 0x60 : 0x1F);
        for (int p = 0; p < 4; ++p) {
            SetPeriod(*day, DayField::kTime, p, 100 * p + d);
            SetPeriod(*day, DayField::kCool, p, 80);
            SetPeriod(*day, DayField::kHeat, p, 60);
            SetPeriod(*day, DayField::kFan, p, 1);
        }
    }
    ASSERT_EQ(zone.SaveSetPoints(server), 1);
    PayloadWriter expected;
    expected.Int(7).Int(2);
    for (int d = 0; d < 2; ++d)
        for (int p = 0; p < 4; ++p) expected.Int(100 * p + d).Byte(80).Byte(60).Byte(1).Byte(0);
    const Bytes sent = LastRequest(ZVM_HVAC_SETZONESETPOINTSQ).payload;
    EXPECT_EQ(sent.size(), 8u + 8 * 8);
    EXPECT_EQ(sent, Bytes(expected));
}

TEST_F(ModelTest, FollowingAndLeavingASharedScheduleChangeTheZoneOnAnAnswer) {
    CThermostatZone zone(&server, 2, "Upstairs", 0, 0);
    EXPECT_EQ(zone.GetSharedScheduleId(), 7);
    ASSERT_EQ(zone.LeaveSharedSchedule(7), 1);
    EXPECT_EQ(zone.GetSharedScheduleId(), 0);
    EXPECT_EQ(LastRequest(ZVM_HVAC_CLEARZONEVALUEQ).payload, Bytes(PayloadWriter().Int(2).Int(7)));
    ASSERT_EQ(zone.FollowSharedSchedule(8), 1);
    EXPECT_EQ(zone.GetSharedScheduleId(), 8);
    EXPECT_EQ(LastRequest(ZVM_HVAC_SETZONEVALUEQ).payload, Bytes(PayloadWriter().Int(2).Int(8)));
    gateway.On(ZVM_HVAC_SETZONEVALUEQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    EXPECT_EQ(zone.FollowSharedSchedule(7), 0);
    EXPECT_EQ(zone.GetSharedScheduleId(), 8);
}

TEST_F(ModelTest, TheScheduleListSubscribesAndEachAnswerReplacesItsItems) {
    int changes = 0;
    CHvacZoneList list(server);
    list.SetChangeCallback([&] { ++changes; });
    testsupport::Frame subscribe;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SUBSCRIBEZONESQ, &subscribe));
    EXPECT_EQ(subscribe.sender, list.GetId());
    EXPECT_EQ(subscribe.payload, Bytes(PayloadWriter().Int(1)));
    ASSERT_TRUE(PollUntil([&] { return changes == 1; }));
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_STREQ(list.FindById(8)->GetName().GetAnsi(), "Weekend");
    EXPECT_EQ(list.FindById(9), nullptr);

    PayloadWriter push;
    push.Int(1).Int(9).String("Holiday").Int(0x01).Int(1).Int(0);
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_SUBSCRIBEZONESA, push, list.GetId()));
    ASSERT_TRUE(PollUntil([&] { return changes == 2; }));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0)->GetScheduleId(), 9);
    EXPECT_EQ(list.GetAt(1), nullptr);
}

}  // namespace
