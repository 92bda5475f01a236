// The whole tablet against the sample installation: Pool & Spa, then its
// Schedule tab shows the house's programs, and "Add Program" adds one that
// the list shows at once.
#include <gtest/gtest.h>

#include "core/messages/schedulemessages.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/home/pool/poolschedule.h"
#include "vistrel/shell/mainmenu.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/tabs/tabbutton.h"

namespace {

class PoolScheduleRun : public vistreltest::SampleHouseRun {
protected:
    PoolScheduleRun() { RegisterHomePages(); }
};

TEST_F(PoolScheduleRun, TheScheduleTabShowsTheProgramsAndAddsOne) {
    enum Step { kWaitForMenu, kWaitForStatus, kWaitForSchedule, kWaitForAdded, kDone } step = kWaitForMenu;
    testsupport::Image565 shown;
    CPoolAdvSchedWnd* list = nullptr;
    CZVButton* scheduleTab = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer&, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        switch (step) {
        case kWaitForMenu:
            if (CZVButton* entry = MenuEntry(window, "Pool & Spa")) {
                Touch(entry);
                step = kWaitForStatus;
            }
            break;
        case kWaitForStatus:
            if (!page || page->GetModel()->GetBody(0)->temperature != 81) break;
            scheduleTab = TabNamed(static_cast<CTabContainer*>(page->GetTabControl()), "Schedule");
            if (!scheduleTab) return true;
            Touch(scheduleTab);
            step = kWaitForSchedule;
            break;
        case kWaitForSchedule: {
            auto* tab = dynamic_cast<CScheduleTypePage*>(page->GetTabWindow());
            list = tab ? dynamic_cast<CPoolAdvSchedWnd*>(tab->GetInner()) : nullptr;
            // The picture once the tab's flash has faded.
            if (!list || scheduleTab->GetHighlightCountdown() >= 0) break;
            shown = Picture(window, host);
            Touch(list->GetAddButton());
            step = kWaitForAdded;
            break;
        }
        case kWaitForAdded:
            if (list->GetList()->GetCount() == 4) step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 400;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_POOL_ADDPROGRAMQ));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_pool_schedule"));
}

}  // namespace
