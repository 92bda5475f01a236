// The whole tablet against the sample installation: Pool & Spa, then its
// History tab, shows the sample's history, and a zoom into the window
// already loaded asks the gateway for nothing more.
#include <gtest/gtest.h>

#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolhistory.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/shell/mainmenu.h"
#include "widgets/tabs/tabbutton.h"

namespace {

using testsupport::Frame;

class PoolHistoryRun : public vistreltest::SampleHouseRun {
protected:
    PoolHistoryRun() {
        RegisterHomePages();
        // The sample gateway's clock, so that the tablet's and the gateway's agree.
        SetClockToTheGateways();
    }
};

TEST_F(PoolHistoryRun, TheHistoryTabShowsTheSampleHistory) {
    enum Step { kOpenHistory, kWaitForHistory, kZoomIn, kSettle, kDone } step = kOpenHistory;
    testsupport::Image565 shown;
    size_t askedBeforeZoom = 0;
    int zoomedAt = 0;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer&, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        switch (step) {
        case kOpenHistory: {
            auto* pageTabs = page && page->GetModel()->IsReady() ? page->GetTabControl() : nullptr;
            const TabStep opened = StepToTab(window, "Pool & Spa", static_cast<CTabContainer*>(pageTabs), "History");
            if (opened == TabStep::kNoTab) return true;
            if (opened == TabStep::kTouched) step = kWaitForHistory;
            break;
        }
        case kWaitForHistory: {
            auto* history = page ? dynamic_cast<CPoolHistoryPage*>(page->GetTabWindow()) : nullptr;
            if (!history || history->IsLoading() || history->GetHistory().series[0].empty()) break;
            // The picture once the tab's flash has faded.
            clock.Advance(1000);
            shown = Picture(window, host);
            askedBeforeZoom = RequestsOf(ZVM_POOL_GETHISTORYQ);
            step = kZoomIn;
            break;
        }
        case kZoomIn: {
            auto* history = dynamic_cast<CPoolHistoryPage*>(page->GetTabWindow());
            Touch(static_cast<CZVButton*>(history->GetZoomBar()->GetZoomInButton()));
            zoomedAt = pass;
            step = kSettle;
            break;
        }
        case kSettle:
            if (pass > zoomedAt + 20) step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(RequestsOf(ZVM_POOL_GETHISTORYQ), askedBeforeZoom);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_pool_history"));
}

}  // namespace
