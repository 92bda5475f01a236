// The climate status lists against the sample house: columns, polling, row
// texts, taps, reloads and the sensor rows.
#include "vistrel/home/climate/climatelists.h"

#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "support/golden.h"
#include "vistrel/shell/pagecontrol.h"

namespace {

using climatetest::Bytes;
using climatetest::ClimateTest;
using climatetest::PayloadWriter;

class ClimateListTest : public ClimateTest {
protected:
    template <class List, class... Args>
    List* Make(Args&&... args) {
        auto* list = new List(window.get(), CZVRect(0, 0, 320, 200), server, std::forward<Args>(args)...);
        window->AddChild(list);
        list->Show(1, 0);
        return list;
    }
    // Until the list has taken as many answers as the blink phase tells.
    bool AnswerArrives(CClimateStatusList* list) {
        const int phase = list->GetBlinkPhase();
        return PollUntil([&] { return list->GetBlinkPhase() != phase; });
    }
    std::string Text(CClimateStatusList* list, int row, int column) {
        return CZVString(list->GetList()->GetRow(row)->GetText(column)).GetAnsi();
    }
    void Tick() {
        clock.Advance(CClimateStatusList::kPollInterval + 1);
        window->OnIdle(0);
    }
    void TapRow(CClimateStatusList* list, int index) {
        list->GetList()->SelectIndex(index, 0);
        list->OnCommand(CClimateStatusList::kRowCommand);
    }
};

TEST_F(ClimateListTest, TheFactoryMakesSevenOrEightColumns) {
    struct Case {
        int type;
        int columns;
    };
    for (const Case& c : {Case{119, 7}, Case{120, 8}}) {
        CPageControlDesc desc;
        desc.type = c.type;
        std::unique_ptr<CZVWindow> made(
            CreatePageControl(window.get(), window.get(), CZVRect(0, 0, 300, 200), desc, nullptr, 16));
        auto* list = dynamic_cast<CThermostatList*>(made.get());
        ASSERT_NE(list, nullptr) << c.type;
        EXPECT_EQ(list->GetList()->GetColumnCount(), c.columns);
        EXPECT_EQ(list->GetList()->GetHeaderHeight(), CClimateStatusList::kHeaderHeight);
        EXPECT_EQ(list->GetList()->GetFontSize(), 16);
        EXPECT_EQ(list->GetList()->GetRowHeight(), 19);
    }
}

TEST_F(ClimateListTest, ThermostatRowsShowTheSampleHouseAndItsScheduleNames) {
    auto* list = Make<CThermostatList>(CThermostatList::kTypeWithSchedule, 16);
    ASSERT_EQ(list->GetList()->GetCount(), 2);
    EXPECT_EQ(Text(list, 0, 0), "Living Room");
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SUBSCRIBEZONESQ));
    // The first answer may come before the schedule names: the next poll has them.
    ASSERT_TRUE(AnswerArrives(list));
    Tick();
    ASSERT_TRUE(AnswerArrives(list));
    EXPECT_EQ(Text(list, 0, 4), "Auto (Cool Active)");
    EXPECT_EQ(Text(list, 0, 7), "Individual");
    EXPECT_EQ(Text(list, 1, 1), "70\xB0");
    EXPECT_EQ(Text(list, 1, 3), "");
    EXPECT_EQ(Text(list, 1, 4), "Heat Active");
    EXPECT_EQ(Text(list, 1, 6), "Timed Hold");
    EXPECT_EQ(Text(list, 1, 7), "Vacation Saver");
}

TEST_F(ClimateListTest, ThePollPausesWhileAModalViewIsOpen) {
    Make<CThermostatList>(CThermostatList::kTypePlain, 16);
    auto* humidistats = Make<CHumidistatList>(16);
    ASSERT_TRUE(AnswerArrives(humidistats));
    const int thermostats = Asked(ZVM_HVAC_GETTHERMOSTATSQ);
    window->SetModal(1);
    Tick();
    ASSERT_TRUE(AnswerArrives(humidistats));
    EXPECT_EQ(Asked(ZVM_HVAC_GETTHERMOSTATSQ), thermostats);
    window->SetModal(0);
    Tick();
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_GETTHERMOSTATSQ));
    ASSERT_TRUE(AnswerArrives(humidistats));
    EXPECT_EQ(Asked(ZVM_HVAC_GETTHERMOSTATSQ), thermostats + 1);
}

TEST_F(ClimateListTest, ARowTapOpensTheClimatePageOnTheZone) {
    auto* list = Make<CThermostatList>(CThermostatList::kTypePlain, 16);
    list->OnCommand(CClimateStatusList::kRowCommand);  // nothing selected
    EXPECT_EQ(window->GetPendingCommand(), 0);
    EXPECT_EQ(GetClimateZoneToShow(), 0);
    TapRow(list, 1);
    EXPECT_EQ(GetClimateZoneToShow(), 2);
    EXPECT_EQ(window->GetPendingCommand(), kCommandClimate);

    window->SetPendingCommand(0);
    SetPageVariable(kClimateTabVariable, 0);
    auto* humidistats = Make<CHumidistatList>(16);
    humidistats->OnCommand(CClimateStatusList::kRowCommand);
    EXPECT_EQ(window->GetPendingCommand(), 0);
    TapRow(humidistats, 0);
    EXPECT_EQ(GetPageVariable(kClimateTabVariable), 0);
    EXPECT_EQ(window->GetPendingCommand(), kCommandClimate);
}

TEST_F(ClimateListTest, AChangedDeviceCountReloadsTheRows) {
    auto* list = Make<CThermostatList>(CThermostatList::kTypePlain, 16);
    ASSERT_TRUE(AnswerArrives(list));
    PayloadWriter three;
    three.Int(3);
    for (int i = 0; i < 3; ++i) three.Byte(70).Byte(68).Byte(76).Byte(0x01).Byte(0).Byte(0).Byte(0).Byte(0).Int(0);
    // The gateway still lists two: only the rows that exist are written.
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_GETTHERMOSTATSA, three, list->GetId()));
    ASSERT_TRUE(AnswerArrives(list));
    EXPECT_EQ(list->GetList()->GetCount(), 2);
    EXPECT_EQ(Text(list, 1, 4), "Heat Mode");

    gateway.Answer(ZVM_HVAC_GETDEVICESQ,
                   PayloadWriter().Int(3).String("Den").Int(5).String("Hall").Int(6).String("Loft").Int(8));
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_GETTHERMOSTATSA, three, list->GetId()));
    ASSERT_TRUE(AnswerArrives(list));
    ASSERT_EQ(list->GetList()->GetCount(), 3);
    EXPECT_EQ(Text(list, 2, 0), "Loft");
    EXPECT_EQ(Text(list, 2, 4), "Heat Mode");
    TapRow(list, 2);
    EXPECT_EQ(GetClimateZoneToShow(), 8);
}

TEST_F(ClimateListTest, SensorRowsAreMadeAnewWithEveryAnswer) {
    auto* list = Make<CSensorList>(16);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(AnswerArrives(list));
        Tick();
    }
    ASSERT_EQ(list->GetList()->GetCount(), 3);
    EXPECT_EQ(Text(list, 1, 1), "55 %");
    EXPECT_EQ(Text(list, 0, 1), "104\xB0");
    EXPECT_EQ(list->GetList()->GetRecordAt(2)->IsFlagged(), 1);
    EXPECT_EQ(list->GetList()->GetRecordAt(0)->IsFlagged(), 0);
}

TEST_F(ClimateListTest, TheOverviewStacksThermostatsOverHumidistats) {
    CHvacOverviewPage overview(window.get(), CZVRect(0, 0, 320, 240), server);
    std::vector<CClimateStatusList*> lists;
    for (ZVPOSITION pos = overview.GetChildren().GetHeadPosition(); pos;)
        if (auto* list =
                dynamic_cast<CClimateStatusList*>(static_cast<CZVWindow*>(overview.GetChildren().GetNext(pos))))
            lists.push_back(list);
    ASSERT_EQ(lists.size(), 2u);
    EXPECT_NE(dynamic_cast<CThermostatList*>(lists[0]), nullptr);
    EXPECT_EQ(lists[0]->GetY(), CHvacOverviewPage::kCaptionHeight + 1);
    EXPECT_EQ(lists[0]->GetList()->GetColumnCount(), 8);
    EXPECT_NE(dynamic_cast<CHumidistatList*>(lists[1]), nullptr);
    EXPECT_EQ(lists[1]->GetY(), 180 + CHvacOverviewPage::kCaptionHeight + 1);
    EXPECT_EQ(lists[1]->GetY() + lists[1]->GetHeight(), 239);

    gateway.Answer(ZVM_HVAC_GETDEVICESQ, PayloadWriter().Int(0));
    CHvacOverviewPage empty(window.get(), CZVRect(0, 0, 320, 240), server);
    EXPECT_TRUE(empty.GetChildren().IsEmpty());
}

}  // namespace
