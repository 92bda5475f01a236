// The climate pages against the sample house: zone tabs and the choice of
// the tab, gateway panels, icons, the loading tab and the schedule tabs.
#include "vistrel/home/climate/climatepages.h"

#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "vistrel/home/climate/zonepage.h"
#include "vistrel/shell/gatewaypanel.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

using climatetest::Bytes;
using climatetest::ClimateTest;
using climatetest::PayloadWriter;

class ClimatePageTest : public ClimateTest {
protected:
    template <class Page>
    Page* Open() {
        auto* page = new Page(window.get(), window->GetPageArea(), server);
        window->AddChild(page);
        page->Show(1, 0);
        return page;
    }
    static CTabContainer* Tabs(CPageBase* page) { return dynamic_cast<CTabContainer*>(page->GetTabControl()); }
    static std::string TabText(CTabContainer* tabs, int index) {
        return CZVString(tabs->GetTab(index)->GetText()).GetAnsi();
    }
    void AnswerZones(const std::vector<std::tuple<int, std::string, int>>& zones) {
        PayloadWriter w;
        w.Int(0).Int(static_cast<int32_t>(zones.size()));
        for (const auto& [id, name, flags] : zones) w.Int(id).String(name).Int(flags);
        gateway.Answer(ZVM_HVAC_GETDEVICESQ, w);
    }
};

TEST_F(ClimatePageTest, TheSampleZonesBecomeTabsAndTheFirstShowsItsZonePage) {
    auto* page = Open<CClimatePage>();
    CTabContainer* tabs = Tabs(page);
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->GetTabCount(), 4);
    EXPECT_EQ(TabText(tabs, 2), "Wine Cellar");
    EXPECT_EQ(page->GetZone(2)->IsHumidistat(), 1);
    EXPECT_EQ(page->GetZone(3)->IsPanelZone(), 1);
    EXPECT_EQ(page->GetContentState(), CClimatePage::kContentZonePage);
    auto* zonePage = dynamic_cast<CHvacZonePage*>(page->GetContent());
    ASSERT_NE(zonePage, nullptr);
    EXPECT_EQ(zonePage->GetZone(), page->GetZone(0));
    EXPECT_EQ(page->GetZone(0)->GetProgramCount(), 1);
    testsupport::Frame subscribe;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SUBSCRIBECLIMATEQ, &subscribe));
    EXPECT_EQ(subscribe.sender, page->GetId());
}

TEST_F(ClimatePageTest, AThermostatRowsZoneSelectsItsTabOnce) {
    AnswerZones({{5, "Den", 0}, {7, "Loft", 0}});
    SetPageVariable(kClimateTabVariable, 0);
    SetClimateZoneToShow(7);
    CClimatePage* page = Open<CClimatePage>();
    EXPECT_EQ(GetPageVariable(kClimateTabVariable), 1);
    EXPECT_EQ(Tabs(page)->GetSelectedIndex(), 1);
    EXPECT_EQ(GetClimateZoneToShow(), 0);
    window->RemoveChild(page);
    delete page;

    SetClimateZoneToShow(9);
    page = Open<CClimatePage>();
    EXPECT_EQ(GetPageVariable(kClimateTabVariable), 1);
    EXPECT_EQ(GetClimateZoneToShow(), 0);
    // A cached page takes the choice when it is shown again.
    page->Show(0, 0);
    SetClimateZoneToShow(5);
    page->Show(1, 0);
    EXPECT_EQ(GetPageVariable(kClimateTabVariable), 0);
    EXPECT_EQ(Tabs(page)->GetSelectedIndex(), 0);
}

TEST_F(ClimatePageTest, ATabCommandPastTheTabsSelectsTheLast) {
    AnswerZones({{5, "Den", 0}, {7, "Loft", 0}});
    SetPageVariable(kClimateTabVariable, 2103 - kCommandClimateTabFirst);
    CClimatePage* page = Open<CClimatePage>();
    EXPECT_EQ(GetPageVariable(kClimateTabVariable), 1);
    EXPECT_EQ(Tabs(page)->GetSelectedIndex(), 1);
    EXPECT_EQ(dynamic_cast<CHvacZonePage*>(page->GetContent())->GetZone()->GetZoneId(), 7);
}

TEST_F(ClimatePageTest, APanelZoneShowsTheClimatePanelAndANormalZoneAfterItAFreshZonePage) {
    SetPageVariable(kClimateTabVariable, 3);
    CClimatePage* page = Open<CClimatePage>();
    EXPECT_EQ(page->GetContentState(), CClimatePage::kContentPanel);
    auto* panel = dynamic_cast<CGatewayPanel*>(page->GetContent());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetChildren().GetCount(), 2);  // the sample's climate panel
    EXPECT_EQ(LastRequest(ZVM_LAYOUT_GETPANELQ).payload,
              Bytes(PayloadWriter().Int(CClimatePage::kPanelId).Int(4).Int(window->GetLayoutType())));

    page->OnCommand(CClimatePage::kFirstTab + 1);
    EXPECT_EQ(page->GetContentState(), CClimatePage::kContentZonePage);
    auto* zonePage = dynamic_cast<CHvacZonePage*>(page->GetContent());
    ASSERT_NE(zonePage, nullptr);
    EXPECT_EQ(zonePage->GetZone()->GetZoneId(), 2);
    EXPECT_EQ(page->GetChildren().GetCount(), 2);  // the tabs and the content
    // Another zone reuses the zone page.
    page->OnCommand(CClimatePage::kFirstTab);
    EXPECT_EQ(page->GetContent(), zonePage);
    EXPECT_EQ(zonePage->GetZone()->GetZoneId(), 1);
    EXPECT_EQ(GetPageVariable(kClimateTabVariable), 0);
}

TEST_F(ClimatePageTest, IconPushesMarkTheTabsOfZonePagesOnly) {
    CClimatePage* page = Open<CClimatePage>();
    PayloadWriter icons;
    icons.Int(2).Int(4).String("I_POOL").Int(0).Int(1).String("I_SUN").Int(0);
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_SUBSCRIBECLIMATEA, icons, page->GetId()));
    CTabContainer* tabs = Tabs(page);
    auto icon = [&](int index) { return static_cast<CZVButton*>(tabs->GetTab(index))->GetIcon(); };
    ASSERT_TRUE(PollUntil([&] { return icon(0) != nullptr; }));
    EXPECT_EQ(static_cast<CZVButton*>(tabs->GetTab(0))->GetIconLayout(), 9);
    EXPECT_EQ(icon(3), nullptr);
    EXPECT_EQ(icon(1), nullptr);
}

TEST_F(ClimatePageTest, WithoutAnAnswerThePageWaitsOnALoadingTab) {
    gateway.On(ZVM_HVAC_GETDEVICESQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    CClimatePage* page = Open<CClimatePage>();
    ASSERT_NE(Tabs(page), nullptr);
    ASSERT_EQ(Tabs(page)->GetTabCount(), 1);
    EXPECT_EQ(TabText(Tabs(page), 0), "Loading Please Wait...");
    EXPECT_EQ(page->IsRebuildRequested(), 1);
    EXPECT_EQ(page->GetContentState(), CClimatePage::kContentNone);
    EXPECT_EQ(page->GetContent(), nullptr);
}

TEST_F(ClimatePageTest, ScheduleTabsFollowTheSharedSchedules) {
    auto* page = Open<CClimateSchedulePage>();
    EXPECT_EQ(page->JoinsMenuTab(), 0);
    ASSERT_TRUE(PollUntil([&] { return page->GetRegion()->GetTabs()->GetTabCount() == 2; }));
    CTabContainer* tabs = page->GetRegion()->GetTabs();
    EXPECT_EQ(TabText(tabs, 1), "Weekend");
    EXPECT_EQ(page->GetShownSchedule(), 7);
    page->OnCommand(CClimateSchedulePage::kFirstTab + 1);
    EXPECT_EQ(page->GetShownSchedule(), 8);
    page->OnCommand(CClimateSchedulePage::kFirstTab + 5);
    EXPECT_EQ(page->GetShownSchedule(), 8);

    // The next answer drops schedule 7: the tabs and the shown schedule follow.
    testsupport::Frame subscribe;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SUBSCRIBEZONESQ, &subscribe));
    PayloadWriter push;
    push.Int(2).Int(8).String("Weekend").Int(0xFF).Int(0).Int(0).Int(9).String("Holiday").Int(0xFF).Int(0).Int(0);
    ASSERT_TRUE(gateway.Push(ZVM_HVAC_SUBSCRIBEZONESA, push, subscribe.sender));
    ASSERT_TRUE(PollUntil([&] { return TabText(page->GetRegion()->GetTabs(), 1) == "Holiday"; }));
    tabs = page->GetRegion()->GetTabs();
    EXPECT_EQ(TabText(tabs, 0), "Weekend");
    EXPECT_EQ(page->GetShownSchedule(), 8);
    EXPECT_EQ(tabs->GetSelectedIndex(), 0);
    page->OnCommand(CClimateSchedulePage::kFirstTab + 1);
    EXPECT_EQ(page->GetShownSchedule(), 9);
}

TEST_F(ClimatePageTest, TheSensorsPageShowsTheOutsideTemperatureAndItsTwoTabs) {
    auto* page = Open<CClimateSensorsPage>();
    EXPECT_EQ(page->JoinsMenuTab(), 0);
    EXPECT_NE(dynamic_cast<CHvacOverviewPage*>(page->GetContent()), nullptr);
    ASSERT_TRUE(PollUntil([&] { return climatetest::Ansi(page->GetOutsideLabel()->GetText()) == "85\xB0"; }));
    page->OnCommand(CClimateSensorsPage::kSensorsTab);
    EXPECT_NE(dynamic_cast<CClimateSensorsPanel*>(page->GetContent()), nullptr);
    const int asked = Asked(ZVM_HVAC_GETSENSORTEMPQ);
    gateway.Answer(ZVM_HVAC_GETSENSORTEMPQ, PayloadWriter().Int(255));
    clock.Advance(CClimateSensorsPage::kPollInterval + 1);
    window->OnIdle(0);
    ASSERT_TRUE(PollUntil([&] { return climatetest::Ansi(page->GetOutsideLabel()->GetText()) == "--"; }));
    EXPECT_EQ(Asked(ZVM_HVAC_GETSENSORTEMPQ), asked + 1);
}

}  // namespace
