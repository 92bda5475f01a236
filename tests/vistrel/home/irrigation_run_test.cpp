// The whole tablet against the sample house: "Irrigation" in the menu shows
// the Front Lawn's zones under the controller's status, and "More Time" on a
// zone reaches the gateway a second later; System, then History, shows the
// controller's modes and the zones' watering.
#include <gtest/gtest.h>

#include "core/messages/irrigationmessages.h"
#include "support/golden.h"
#include "vistrel/home/homepages.h"
#include "vistrel/home/irrigation/irgroupwnd.h"
#include "vistrel/home/irrigation/irrigationhistory.h"
#include "vistrel/home/irrigation/irrigationsummary.h"
#include "vistrel/home/irrigation/irrigationsystem.h"
#include "vistrel/shell_fixture.h"
#include "widgets/lists/columnlist.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

class IrrigationRun : public vistreltest::SampleHouseRun {
protected:
    IrrigationRun() {
        RegisterHomePages();
        SetPageVariable(kIrrigationTabVariable, 0);
        SetLastIrrigationProgram(0);
        // The sample gateway's clock, so that the month of the seasonal percentage is fixed (and the
        // tablet keeps its own clock: every answer is in once nothing is on its way).
        SetClockToTheGateways();
    }
};

TEST_F(IrrigationRun, IrrigationShowsTheFrontLawnAndMoreTimeReachesTheGatewayASecondLater) {
    enum Step { kWaitForHome, kWaitForZones, kMoreTime, kWaitForWrite, kDone } step = kWaitForHome;
    testsupport::Image565 shown;
    uint32_t pressedAt = 0, writtenAfter = 0;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CIrrigationSummaryPage*>(window.GetCurrentPage());
        auto* group = page ? dynamic_cast<CIrGroupWnd*>(page->GetContent()) : nullptr;
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Irrigation")) step = kWaitForZones;
            break;
        case kWaitForZones:
            if (!group || group->GetZones().size() != 3 || !group->GetCurrentPage() ||
                page->GetStatusLabel()->GetText().GetLength() == 0 || !AnsweredAndStill(window, server, "Irrigation"))
                break;
            shown = Picture(window, host);
            step = kMoreTime;
            break;
        case kMoreTime: {
            CZoneRunTimesPage* times = group->GetCurrentPage();
            times->GetList()->SelectIndex(0, 1);
            times->OnCommand(CZoneRunTimesPage::kMoreId);
            pressedAt = clock.TickCount();
            step = kWaitForWrite;
            break;
        }
        case kWaitForWrite:
            if (!GatewaySaw(ZVM_IRRIGATION_SETGROUPZONESQ)) break;
            writtenAfter = clock.TickCount() - pressedAt;
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_GE(writtenAfter, 1000u);
    EXPECT_LT(writtenAfter, 3000u);
    EXPECT_EQ(RequestsOf(ZVM_IRRIGATION_SETGROUPZONESQ), 1u);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_irrigation"));
}

TEST_F(IrrigationRun, SystemThenHistoryShowsTheControllersModesAndTheZonesWatering) {
    enum Step { kToSystem, kToHistory, kWaitForHistory, kDone } step = kToSystem;
    testsupport::Image565 shown;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CIrrigationSummaryPage*>(window.GetCurrentPage());
        auto* system = page ? dynamic_cast<CIrrigationPage*>(page->GetContent()) : nullptr;
        auto* history = system ? dynamic_cast<CIrrigationHistoryPage*>(system->GetContent()) : nullptr;
        const bool ready = vistreltest::NothingOnItsWay(gateway, server);
        switch (step) {
        case kToSystem: {
            auto* side = page && ready ? dynamic_cast<CTabContainer*>(page->GetSideList()) : nullptr;
            const TabStep touched = StepToTab(window, "Irrigation", side, "System");
            if (touched == TabStep::kNoTab) return true;
            if (touched == TabStep::kTouched) step = kToHistory;
            break;
        }
        case kToHistory:
            if (!system || !ready) break;
            Touch(TabNamed(system->GetTabs(), "History"));
            step = kWaitForHistory;
            break;
        case kWaitForHistory:
            if (!history || history->IsLoading() || history->IsZoomBarAnimating() || !ready) break;
            shown = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(RequestsOf(ZVM_IRRIGATION_GETHISTORYQ), 1u);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_irrigation_history"));
}

}  // namespace
