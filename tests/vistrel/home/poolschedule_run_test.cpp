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
    enum Step { kOpenSchedule, kWaitForSchedule, kWaitForAdded, kDone } step = kOpenSchedule;
    testsupport::Image565 shown;
    CPoolAdvSchedWnd* list = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer&, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        auto* pageTabs = page ? static_cast<CTabContainer*>(page->GetTabControl()) : nullptr;
        switch (step) {
        case kOpenSchedule: {
            // The page's tabs once the status is in.
            const bool ready = page && page->GetModel()->GetBody(0)->temperature == 81;
            const TabStep opened = StepToTab(window, "Pool & Spa", ready ? pageTabs : nullptr, "Schedule");
            if (opened == TabStep::kNoTab) return true;
            if (opened == TabStep::kTouched) step = kWaitForSchedule;
            break;
        }
        case kWaitForSchedule: {
            auto* tab = dynamic_cast<CScheduleTypePage*>(page->GetTabWindow());
            list = tab ? dynamic_cast<CPoolAdvSchedWnd*>(tab->GetInner()) : nullptr;
            // The picture once the tab's flash has faded.
            if (!list || TabNamed(pageTabs, "Schedule")->GetHighlightCountdown() >= 0) break;
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
