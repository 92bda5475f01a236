// The zone page and its main page: tabs by zone and style, the status
// subscription, the lamps and the "Connecting" box.
#include "vistrel/home/climate/zonepage.h"

#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "vistrel/shell/pbase.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/tabbutton.h"

namespace {

using climatetest::Bytes;
using climatetest::ClimateTest;
using climatetest::Message;
using climatetest::PayloadWriter;

// A schedule answer of `programs` programs of one day and one period.
Bytes Programs(int programs) {
    PayloadWriter w;
    w.Int(programs);
    for (int i = 0; i < programs; ++i) w.Int(1 << i).Int(1).Int(1).Int(0x7F).Int(360).Byte(78).Byte(70).Byte(0).Byte(0);
    return w;
}

// A status of the Living Room in the mode, heating.
Bytes Status(int32_t mode) {
    PayloadWriter w;
    w.Int(1).Int(mode).Int(0).Int(0).Int(72).Int(68).Int(76).Int(1).Int(0).Int(0).Int(85).Int(0).Int(0);
    return w.String("").Int(0);
}

class ZonePageTest : public ClimateTest {
protected:
    void SetUp() override {
        ClimateTest::SetUp();
        page = new CPageBase(window.get(), window->GetPageArea());
        window->AddChild(page);
        page->Show(1, 0);
    }
    CHvacZonePage* MakeZonePage(int history) {
        auto* zonePage = new CHvacZonePage(page, CZVRect(0, 0, 320, 240), 6, server, 0, nullptr, history);
        page->AddChild(zonePage);
        zonePage->Show(1, 0);
        return zonePage;
    }
    std::vector<std::string> TabTexts(CHvacZonePage* zonePage) {
        std::vector<std::string> texts;
        CTabContainer* tabs = zonePage->GetTabs();
        for (int i = 0; i < tabs->GetTabCount(); ++i) texts.push_back(CZVString(tabs->GetTab(i)->GetText()).GetAnsi());
        return texts;
    }
    CHvacZoneMainPage* MainPage(CHvacZonePage* zonePage) {
        return dynamic_cast<CHvacZoneMainPage*>(zonePage->GetContent());
    }
    static CThermostatModeButton* Lamp(CHvacZoneMainPage* main, const char* caption) {
        for (ZVPOSITION pos = main->GetEquipment()->GetChildren().GetHeadPosition(); pos;) {
            auto* lamp = static_cast<CThermostatModeButton*>(main->GetEquipment()->GetChildren().GetNext(pos));
            if (climatetest::Ansi(lamp->GetText()) == caption) return lamp;
        }
        return nullptr;
    }
    bool StatusArrives(CThermostatZone& zone, int mode) {
        return PollUntil([&] { return zone.GetStatus().systemMode == mode; });
    }

    CPageBase* page = nullptr;
};

TEST_F(ZonePageTest, TabsFollowTheZoneAndTheCurrentTabStaysWhereItCan) {
    CThermostatZone zone(nullptr, 1, "Living Room", 0, 0);
    zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, Programs(3)).get());
    CHvacZonePage* zonePage = MakeZonePage(1);
    zonePage->SetZoneModel(&zone, 0);
    EXPECT_EQ(TabTexts(zonePage),
              (std::vector<std::string>{"Temperature", "History", "Schedule\nAll", "Schedule\nAll", "Schedule\nAll"}));
    zonePage->OnCommand(3004);
    EXPECT_EQ(zonePage->GetCurrentTab(), 3004);
    EXPECT_EQ(MainPage(zonePage), nullptr);

    CThermostatZone fewer(nullptr, 2, "Upstairs", 0, 0);
    fewer.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, Programs(1)).get());
    zonePage->SetZoneModel(&fewer, 0);
    EXPECT_EQ(zonePage->GetCurrentTab(), 3002);
    EXPECT_EQ(zonePage->GetTabs()->GetSelectedIndex(), 2);

    CThermostatZone none(nullptr, 3, "Hall", 0, 0);
    zonePage->SetZoneModel(&none, 0);
    EXPECT_EQ(zonePage->GetCurrentTab(), 3000);
    EXPECT_NE(MainPage(zonePage), nullptr);
}

TEST_F(ZonePageTest, AHumidistatShowsHumidityAndNoScheduleTabs) {
    CThermostatZone zone(nullptr, 3, "Wine Cellar", 1, 0);
    zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, Programs(2)).get());
    CHvacZonePage* zonePage = MakeZonePage(0);
    zonePage->SetZoneModel(&zone, 0);
    EXPECT_EQ(TabTexts(zonePage), (std::vector<std::string>{"Humidity"}));
}

TEST_F(ZonePageTest, TheKindFourStyleNamesScheduleTabsPlainly) {
    ASSERT_EQ(CSetServer::Get()->ParseSettings(Message(0x258C, PayloadWriter().Int(4)).get()), 1);
    CThermostatZone zone(nullptr, 1, "Living Room", 0, 0);
    zone.ReadSchedules(Message(ZVM_HVAC_GETSCHEDULEA, Programs(1)).get());
    CHvacZonePage* zonePage = MakeZonePage(0);
    zonePage->SetZoneModel(&zone, 0);
    EXPECT_EQ(TabTexts(zonePage), (std::vector<std::string>{"Temperature", "Schedule"}));
}

TEST_F(ZonePageTest, TheMainPageSubscribesAsksOnItsFirstPaintAndAgainWhenTheZoneChanges) {
    CThermostatZone zone(&server, 1, "Living Room", 0, 0);
    CHvacZonePage* zonePage = MakeZonePage(0);
    zonePage->SetZoneModel(&zone, 0);
    CHvacZoneMainPage* main = MainPage(zonePage);
    ASSERT_NE(main, nullptr);
    testsupport::Frame subscribe;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SUBSCRIBEQ, &subscribe));
    EXPECT_EQ(subscribe.sender, 0);
    EXPECT_EQ(subscribe.payload, Bytes(PayloadWriter().Int(main->GetId())));
    EXPECT_EQ(Asked(ZVM_HVAC_GETTHERMOSTATQ), 0);
    window->PaintAll();
    window->PaintAll();
    ASSERT_TRUE(StatusArrives(zone, kModeAuto));
    EXPECT_EQ(Asked(ZVM_HVAC_GETTHERMOSTATQ), 1);
    EXPECT_EQ(LastRequest(ZVM_HVAC_GETTHERMOSTATQ).sender, main->GetId());
    EXPECT_EQ(main->GetEquipment()->GetChildren().GetCount(), 4);
    EXPECT_STREQ(CZVString(main->GetOutsideDisplay()->GetText()).GetAnsi(), "85\xB0");

    gateway.Answer(ZVM_HVAC_GETTHERMOSTATQ, Status(kModeHeat));
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_ZONECHANGED, {}, main->GetId()));
    ASSERT_TRUE(StatusArrives(zone, kModeHeat));
    EXPECT_EQ(Asked(ZVM_HVAC_GETTHERMOSTATQ), 2);

    // A new connection subscribes again; the status then comes by push.
    main->OnConnect(0);
    main->OnConnect(1);
    ASSERT_TRUE(PollUntil([&] { return Asked(ZVM_HVAC_SUBSCRIBEQ) == 2; }));

    const uint16_t id = main->GetId();
    zonePage->OnCommand(3001);  // the main page goes
    testsupport::Frame leave;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_UNSUBSCRIBE, &leave));
    EXPECT_EQ(leave.payload, Bytes(PayloadWriter().Int(id)));
}

TEST_F(ZonePageTest, LampsStandCoolHeatSyncFromTheLeftAndFollowTheStatus) {
    CThermostatZone zone(nullptr, 1, "Living Room", 0, 0);
    zone.ReadInfo(Message(ZVM_HVAC_GETZONESTATUSA, PayloadWriter()
                                                       .Int(1)
                                                       .Int(1)
                                                       .Int(0)
                                                       .Int(0x40)
                                                       .Int(0)
                                                       .Int(0)
                                                       .Int(0)
                                                       .Int(40)
                                                       .Int(90)
                                                       .Int(60)
                                                       .Int(99)
                                                       .Int(0)
                                                       .Int(0)
                                                       .String("")
                                                       .String(""))
                      .get(),
                  0);
    CHvacZoneMainPage main(page, CZVRect(0, 0, 320, 240), server, zone);
    std::vector<std::pair<int, std::string>> lamps;
    for (ZVPOSITION pos = main.GetEquipment()->GetChildren().GetHeadPosition(); pos;) {
        auto* lamp = static_cast<CZVWindow*>(main.GetEquipment()->GetChildren().GetNext(pos));
        lamps.emplace_back(lamp->GetX(), CZVString(lamp->GetText()).GetAnsi());
    }
    std::sort(lamps.begin(), lamps.end());
    ASSERT_EQ(lamps.size(), 3u);
    EXPECT_EQ(lamps[0].second, "Cool");
    EXPECT_EQ(lamps[1].second, "Heat");
    EXPECT_EQ(lamps[2].second, "Sync");
    EXPECT_EQ(Lamp(&main, "Cool")->GetCheckedColor(), CEquipmentPanel::kCoolColour);
    EXPECT_EQ(Lamp(&main, "Sync")->GetCheckedColor(), CEquipmentPanel::kSyncColour);
}

TEST_F(ZonePageTest, NotReadyShowsTheConnectingBoxAndABlockedPageUpdatesOnlyTheBox) {
    CThermostatZone zone(&server, 1, "Living Room", 0, 0);
    CHvacZonePage* zonePage = MakeZonePage(0);
    zonePage->SetZoneModel(&zone, 0);
    CHvacZoneMainPage* main = MainPage(zonePage);
    window->SetModal(1);
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_GETTHERMOSTATA, Status(kModeNotReady), main->GetId()));
    ASSERT_TRUE(StatusArrives(zone, kModeNotReady));
    EXPECT_EQ(page->IsStatusShown(), 1);
    EXPECT_STREQ(page->GetStatusText().GetAnsi(), "Connecting to Thermostat...");
    EXPECT_EQ(main->HasStatus(), 0);
    EXPECT_STREQ(CZVString(main->GetOutsideDisplay()->GetText()).GetAnsi(), "");
    ASSERT_NE(Lamp(main, "Heat"), nullptr);
    EXPECT_EQ(Lamp(main, "Heat")->GetCheck(), 0);

    window->SetModal(0);
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_GETTHERMOSTATA, Status(kModeHeat), main->GetId()));
    ASSERT_TRUE(StatusArrives(zone, kModeHeat));
    EXPECT_EQ(page->IsStatusShown(), 0);
    EXPECT_EQ(main->HasStatus(), 1);
    EXPECT_EQ(Lamp(main, "Heat")->GetCheck(), 1);
    EXPECT_EQ(Lamp(main, "Cool")->GetCheck(), 0);
    EXPECT_EQ(Lamp(main, "Sync")->GetCheck(), 1);
}

}  // namespace
