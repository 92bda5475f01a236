// How the climate pages look: the zone page with its lamps and the outside
// temperature, the overview lists, and the whole tablet against the sample
// house opening the climate pages from its menu.
#include <gtest/gtest.h>

#include <chrono>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "core/messages/shellmessages.h"
#include "gfx/icon.h"
#include "platform/keys.h"
#include "support/golden.h"
#include "vistrel/home/climate/climatelists.h"
#include "vistrel/home/climate/climatepages.h"
#include "vistrel/home/climate/hvachistory.h"
#include "vistrel/home/climate/hvacschedule.h"
#include "vistrel/home/climate/zonepage.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/text/zvlabel.h"

namespace {

using climatetest::ClimateTest;
using climatetest::PayloadWriter;

template <class Child>
Child* FirstChild(CZVWindow* window) {
    for (ZVPOSITION pos = window->GetChildren().GetHeadPosition(); pos;)
        if (auto* child = dynamic_cast<Child*>(static_cast<CZVWindow*>(window->GetChildren().GetNext(pos))))
            return child;
    return nullptr;
}

// Whether every status list of the overview has its answer: a list blinks until it has.
bool ListsAnswered(CZVWindow* overview) {
    for (ZVPOSITION pos = overview->GetChildren().GetHeadPosition(); pos;) {
        auto* list = dynamic_cast<CClimateStatusList*>(static_cast<CZVWindow*>(overview->GetChildren().GetNext(pos)));
        if (list && list->GetBlinkPhase() == 0) return false;
    }
    return true;
}

testsupport::Image565 Screen(CMainWnd& window) {
    window.PaintAll();
    return testsupport::ImageOf(*window.GetScreen());
}

// A larger main window than the shell's fixture has, with a page in its page area.
class ClimateScreenTest : public ClimateTest {
protected:
    ClimateScreenTest() {
        window.reset();  // one main window at a time
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 640, 480), 0, &large);
        page = new CPageBase(window.get(), window->GetPageArea());
        window->AddChild(page);
        page->Show(1, 0);
    }
    ~ClimateScreenTest() override { window.reset(); }
    CZVRect Area() { return CZVRect(0, 0, page->GetWidth(), page->GetHeight()); }

    // What the zone loads from the gateway before its page takes it.
    enum Load { kInfo = 1, kSchedules = 2 };
    // The Living Room's zone page over the page area, shown.
    CHvacZonePage* ShowZonePage(int loads) {
        auto* zonePage = new CHvacZonePage(page, Area(), 6, server, 0, nullptr, 1);
        page->AddChild(zonePage);
        zonePage->Show(1, 0);
        if (loads & kInfo) zone.LoadInfo();
        if (loads & kSchedules) zone.LoadSchedules();
        zonePage->SetZoneModel(&zone, 0);
        return zonePage;
    }
    // A touch on the zone page's tab: the tab selected, then its command; the content it shows.
    static CZVWindow* ChooseTab(CHvacZonePage* zonePage, int tab, int command) {
        zonePage->GetTabs()->Select(tab, 0);
        zonePage->OnCommand(command);
        return zonePage->GetContent();
    }
    // The zone page's History tab once its day and summary are in; null when they never come.
    CHvacHistoryGraph* ShowHistory() {
        auto* graph = dynamic_cast<CHvacHistoryGraph*>(ChooseTab(ShowZonePage(kInfo), 1, CHvacZonePage::kTabHistory));
        if (!graph) return nullptr;
        window->PaintAll();
        const bool in =
            SettleUntil([&] { return !graph->GetHistory().room.empty() && !graph->GetSummary().first.empty(); });
        return in ? graph : nullptr;
    }

    platform::HeadlessWindow large{640, 480};
    CPageBase* page = nullptr;
    CThermostatZone zone{&server, 1, "Living Room", 0, 0};
};

TEST_F(ClimateScreenTest, TheZonePageShowsItsLampsAndTheOutsideTemperature) {
    CHvacZonePage* zonePage = ShowZonePage(kSchedules);
    window->PaintAll();  // the first paint asks for the status
    auto* main = dynamic_cast<CHvacZoneMainPage*>(zonePage->GetContent());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return main->HasStatus() == 1; }));
    clock.Advance(1000);
    window->OnIdle(0);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(*window), "climate_zone"));
}

TEST_F(ClimateScreenTest, TheHistoryTabShowsTheZonesDayWithItsSummary) {
    ASSERT_NE(ShowHistory(), nullptr);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(*window), "hvac_history"));
}

TEST_F(ClimateScreenTest, ASelectionShowsTheValuesOfTheCurvesAtItsMovingEnd) {
    CHvacHistoryGraph* graph = ShowHistory();
    ASSERT_NE(graph, nullptr);
    window->PaintAll();
    // A finger drawn from the middle of the graph to the right: the boxes follow its end.
    const int y = graph->ToRootY(graph->GetTop() + 60);
    const int x = graph->ToRootX(graph->GetWidth() / 2);
    graph->OnLButtonDown(x, y, platform::MK_LBUTTON);
    graph->OnMouseMove(x + 90, y, platform::MK_LBUTTON);
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "hvac_history_selection"));
    graph->OnLButtonUp(x + 90, y, 0);
}

TEST_F(ClimateScreenTest, TheScheduleTabShowsTheWeekdaysOfTheZonesProgram) {
    CHvacZonePage* zonePage = ShowZonePage(kInfo | kSchedules);
    ASSERT_TRUE(Settle());  // the shared schedules, for the chooser
    auto* editor = dynamic_cast<CHvacSchedulePage*>(ChooseTab(zonePage, 2, CHvacZonePage::kTabFirstSchedule));
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->GetChooser(), nullptr) << Asked(ZVM_HVAC_SUBSCRIBEZONESQ);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(*window), "hvac_schedule_editor"));
}

TEST_F(ClimateScreenTest, TheSchedulesPageEditsTheFirstSharedSchedule) {
    auto* schedules = new CClimateSchedulePage(page, Area(), server);
    page->AddChild(schedules);
    schedules->Show(1, 0);
    ASSERT_TRUE(SettleUntil([&] { return schedules->GetShownSchedule() == 7; }));
    auto* editor = dynamic_cast<CHvacSchedulePage*>(schedules->GetContent());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetChooser(), nullptr) << "a shared schedule follows nothing";
    ASSERT_NE(editor->GetEditor(), nullptr);
    EXPECT_FALSE(editor->GetEditor()->GetPanels()[0]->GetRockers().empty());
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(*window), "climate_schedules"));
}

TEST_F(ClimateScreenTest, AHostedViewShowsTheHistoryOfItsZone) {
    auto* hosted = new CHostedViewWnd(page, CZVRect(20, 20, 440, 300), server, 9);
    page->AddChild(hosted);
    hosted->Show(1, 0);
    EXPECT_EQ(climatetest::Ansi(hosted->GetZone().GetName()), "Guest Suite");
    window->PaintAll();
    ASSERT_TRUE(SettleUntil([&] { return hosted->GetGraph()->IsLoading() == 0; }));
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(*window), "hosted_view"));
}

TEST_F(ClimateScreenTest, TheOverviewListsEveryThermostatAndHumidistat) {
    auto* overview = new CHvacOverviewPage(page, Area(), server);
    page->AddChild(overview);
    overview->Show(1, 0);
    ASSERT_TRUE(SettleUntil([&] { return ListsAnswered(overview); }));
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(*window), "climate_sensors"));
}

using ClimateTabletRun = climatetest::ClimateRun;

TEST_F(ClimateTabletRun, TheMenuOpensTheClimatePagesAndAHeatUpReachesTheGateway) {
    testsupport::Image565 climate, history, sensors;
    std::string shownZone, tabZone;
    int scheduleTabs = 0;
    int heatBefore = 0;
    CThermostatZone* heatZone = nullptr;
    int step = 0;
    // Each step waits for what it needs, up to a deadline of real time that fails the test
    // rather than hang it; however slow the machine, a step never moves on before it is ready.
    constexpr auto kStepDeadline = std::chrono::seconds(30);
    auto deadline = std::chrono::steady_clock::now() + kStepDeadline;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer&, int) {
        auto settle = [&](bool ready) {
            // The menu's icons too, before a picture is taken.
            ready = ready && !CIconCache::Instance()->IsLoading();
            if (!ready && std::chrono::steady_clock::now() < deadline) return false;
            EXPECT_TRUE(ready) << "step " << step << " timed out";
            deadline = std::chrono::steady_clock::now() + kStepDeadline;
            clock.Advance(2000);
            window.OnIdle(0);
            return true;
        };
        switch (step) {
        case 0:
            window.SetPendingCommand(kCommandClimate);  // as a touch on the menu entry
            ++step;
            return false;
        case 1: {
            CHvacZonePage* zonePage = ShownZonePage(window);
            auto* main = zonePage ? dynamic_cast<CHvacZoneMainPage*>(zonePage->GetContent()) : nullptr;
            if (!settle(main && main->HasStatus())) return false;
            if (zonePage) shownZone = CZVString(zonePage->GetZone()->GetName()).GetAnsi();
            climate = Screen(window);
            // Heating up a degree: the release sends the set point, the gateway's status confirms it.
            if (main) {
                CZVButton* up = main->GetDial()->GetHeatPanel()->GetRocker()->GetSegment(1);
                heatBefore = main->GetDial()->GetHeatPanel()->GetValue();
                Touch(up);
                heatZone = zonePage->GetZone();
            }
            ++step;
            return false;
        }
        case 2: {
            if (!settle(heatZone && heatZone->GetStatus().heatSetPoint == heatBefore + 1)) return false;
            CHvacZonePage* zonePage = ShownZonePage(window);
            if (CZVButton* tab = zonePage ? TabNamed(zonePage->GetTabs(), "History") : nullptr) Touch(tab);
            ++step;
            return false;
        }
        case 3: {
            CHvacZonePage* zonePage = ShownZonePage(window);
            auto* graph = zonePage ? dynamic_cast<CHvacHistoryGraph*>(zonePage->GetContent()) : nullptr;
            if (!settle(graph && !graph->GetHistory().room.empty() && !graph->GetSummary().first.empty() &&
                        vistreltest::AnswersIn(gateway, *graph->GetServer())))
                return false;
            history = Screen(window);
            window.SetPendingCommand(kCommandClimateSensors);
            ++step;
            return false;
        }
        case 4: {
            auto* page = dynamic_cast<CClimateSensorsPage*>(window.GetCurrentPage());
            auto* overview = page ? page->GetContent() : nullptr;
            bool answered = overview && overview->GetChildren().GetCount() == 4 && ListsAnswered(overview);
            answered = answered && climatetest::Ansi(page->GetOutsideLabel()->GetText()) != "--";
            // The schedule names arrive with the gateway's list of shared schedules.
            auto* thermostats = overview ? FirstChild<CThermostatList>(overview) : nullptr;
            answered = answered && thermostats &&
                       climatetest::Ansi(thermostats->GetList()->GetRow(1)->GetText(7)) == "Vacation Saver";
            if (!settle(answered)) return false;
            sensors = Screen(window);
            window.SetPendingCommand(kCommandClimateSchedule);
            ++step;
            return false;
        }
        case 5: {
            auto* page = dynamic_cast<CClimateSchedulePage*>(window.GetCurrentPage());
            if (!settle(page && page->GetRegion()->GetTabs()->GetTabCount() == 2)) return false;
            scheduleTabs = page->GetRegion()->GetTabs()->GetTabCount();
            // A climate tab command opens the climate page on that tab.
            window.SetPendingCommand(kCommandClimateTabFirst + 1);
            ++step;
            return false;
        }
        case 6: {
            CHvacZonePage* zonePage = ShownZonePage(window);
            if (!settle(zonePage != nullptr)) return false;
            if (zonePage) tabZone = CZVString(zonePage->GetZone()->GetName()).GetAnsi();
            return true;
        }
        }
        return true;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    EXPECT_EQ(step, 6);
    EXPECT_EQ(shownZone, "Living Room");
    EXPECT_EQ(heatBefore, 68);
    ASSERT_EQ(RequestsOf(ZVM_HVAC_SETHEATSETPOINT), 1u);
    EXPECT_EQ(gateway.PayloadsOf(ZVM_HVAC_SETHEATSETPOINT)[0], climatetest::Bytes(PayloadWriter().Int(1).Int(69)));
    EXPECT_EQ(scheduleTabs, 2);
    EXPECT_EQ(tabZone, "Upstairs");
    EXPECT_TRUE(testsupport::MatchesGolden(climate, "vistrel_climate"));
    EXPECT_TRUE(testsupport::MatchesGolden(history, "vistrel_climate_history"));
    EXPECT_TRUE(testsupport::MatchesGolden(sensors, "vistrel_climate_sensors"));
}

}  // namespace
