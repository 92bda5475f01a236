// The irrigation model against the sample house and built payloads, on the
// virtual clock: the seasonal percentages, the programs' start times, the
// zones' base times and the readers of the answers.
#include <gtest/gtest.h>

#include "core/messages/irrigationmessages.h"
#include "irrigation_fixture.h"
#include "vistrel/home/irrigation/irrigationmodel.h"

namespace {

using irrigationtest::Bytes;
using irrigationtest::Message;
using irrigationtest::PayloadWriter;

class SeasonalAdjustTest : public irrigationtest::IrrigationTest {};

TEST_F(SeasonalAdjustTest, TakesTheMonthsAndStoresOnlyWhatTheGatewayTook) {
    CSeasonalAdjust seasonal(server);
    ASSERT_EQ(seasonal.WaitLoaded(), 1);
    struct Case {
        int month, percent;
    };
    for (const Case& c : {Case{0, 0}, Case{1, 40}, Case{7, 150}, Case{12, 40}, Case{13, 0}, Case{-1, 0}})
        EXPECT_EQ(seasonal.GetPercent(c.month), c.percent) << c.month;
    EXPECT_EQ(seasonal.SetPercent(13, 90), 0);
    EXPECT_EQ(seasonal.SetPercent(0, 90), 0);
    EXPECT_TRUE(Sent(ZVM_IRRIGATION_SETSEASONALQ).empty());
    EXPECT_EQ(seasonal.SetPercent(3, 95), 1);
    EXPECT_EQ(seasonal.GetPercent(3), 95);
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETSEASONALQ), (std::vector<std::vector<int32_t>>{{3, 95}}));
    // Unanswered: the model keeps the month's percentage.
    Silence(ZVM_IRRIGATION_SETSEASONALQ);
    EXPECT_EQ(seasonal.SetPercent(3, 20), 0);
    EXPECT_EQ(seasonal.GetPercent(3), 95);
}

TEST_F(SeasonalAdjustTest, WaitingGivesUpAfterFiveSeconds) {
    Silence(ZVM_IRRIGATION_GETSEASONALQ);
    CSeasonalAdjust seasonal(server);
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(seasonal.WaitLoaded(), 0);
    EXPECT_GE(clock.TickCount() - start, CSeasonalAdjust::kLoadTimeout);
    EXPECT_LT(clock.TickCount() - start, CSeasonalAdjust::kLoadTimeout + 100);
    EXPECT_EQ(seasonal.GetPercent(7), 0);
}

TEST_F(SeasonalAdjustTest, ProgramCommitSendsTheStartTimePastTheCache) {
    CIrrigationProgram program({2, "Evening", CScheduleEvent::kSunset, -30}, 1, &server);
    program.m_timeType = CScheduleEvent::kClock;
    program.m_timeValue = 1200;
    program.Commit();
    program.Commit();
    // Both went out: the answer cache never stands in for the gateway.
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETSTARTTIMEQ), (std::vector<std::vector<int32_t>>{{2, 2, 1200}, {2, 2, 1200}}));
}

TEST(IrrigationZone, BaseTimesOutsideThePairsReadZeroAndIgnoreWrites) {
    CIrrigationZone zone;
    zone.runTimes = {{1, 900}, {2, 600}};
    zone.SetBaseTime(2, 60);
    zone.SetBaseTime(-1, 60);
    zone.SetBaseTime(1, 300);
    EXPECT_EQ(zone.GetBaseTime(0), 900);
    EXPECT_EQ(zone.GetBaseTime(1), 300);
    EXPECT_EQ(zone.GetBaseTime(2), 0);
    EXPECT_EQ(zone.GetBaseTime(-1), 0);
}

TEST(IrrigationReaders, CutAnswersKeepWhatWasRead) {
    // Two zones announced with two pairs each; the second zone's last pair is cut.
    PayloadWriter zones;
    zones.Int(2).Int(11).String("East").Int(1).Int(900).Int(2).Int(600).Int(12).String("West").Int(1).Int(300).Int(2);
    std::vector<CIrrigationZone> read;
    EXPECT_EQ(ReadIrrigationZones(*Message(ZVM_IRRIGATION_GETGROUPA, zones), 2, &read), 0);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].GetBaseTime(1), 600);
    EXPECT_EQ(read[1].runTimes.size(), 1u);
    // A count far beyond the payload is not looped on.
    PayloadWriter groups;
    groups.Int(0x7FFFFFFF).String("Front Lawn").Int(1).Int(0x7F0001);
    std::vector<CPlantGroup> plantGroups;
    EXPECT_EQ(ReadPlantGroups(*Message(ZVM_IRRIGATION_GETGROUPSA, groups), &plantGroups), 0);
    ASSERT_EQ(plantGroups.size(), 1u);
    EXPECT_EQ(plantGroups[0].rule, 0x7F0001);
    // Seven months are no seasonal answer.
    CSeasonalPercents percents{};
    const Bytes cut(7, 50);
    EXPECT_EQ(ReadSeasonalPercents(*Message(ZVM_IRRIGATION_GETSEASONALA, cut), &percents), 0);
    EXPECT_EQ(percents[0], 0);
}

}  // namespace
