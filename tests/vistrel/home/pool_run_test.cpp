// The whole tablet against the sample installation: "Pool & Spa" pressed
// in the menu shows the live pool page, and a feature pressed there is
// switched by the gateway and comes back checked.
#include <gtest/gtest.h>

#include "gfx/icon.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolcontrols.h"
#include "vistrel/home/pool/poolmain.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/shell/mainmenu.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

class PoolRun : public vistreltest::SampleHouseRun {
protected:
    PoolRun() { RegisterHomePages(); }
};

TEST_F(PoolRun, PoolAndSpaShowsTheLivePoolAndSwitchesAFeature) {
    enum Step { kWaitForHome, kPressMenu, kWaitForStatus, kPressFeature, kWaitForPush, kDone } step = kWaitForHome;
    testsupport::Image565 home, shown;
    CPoolCircuit* jets = nullptr;
    CZVCheckButton* jetsButton = nullptr;
    int pressedAt = 0;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        CZVButton* entry = MenuEntry(window, "Pool & Spa");
        switch (step) {
        case kWaitForHome:
            // The home page of the sample house holds the pool's status table and circuit grid.
            // Once every answer is in, the clock's and the pictures among them.
            if (!pooltest::PoolControlsShowTheSampleStatus(window.GetCurrentPage()) ||
                !vistreltest::AnswersIn(gateway, server))
                break;
            home = Picture(window, host);
            step = kPressMenu;
            break;
        case kPressMenu:
            if (!entry) return true;
            Touch(entry);
            step = kWaitForStatus;
            break;
        case kWaitForStatus:
            // The picture once the status is in and the entry's flash has faded.
            if (!page || page->GetModel()->GetBody(0)->temperature != 81 || entry->GetHighlightCountdown() >= 0) break;
            shown = Picture(window, host);
            step = kPressFeature;
            break;
        case kPressFeature: {
            auto* main = dynamic_cast<CPoolMainPage*>(page->GetTabWindow());
            const CCircuitButtons& features = main->GetFeaturePage()->GetShown();
            for (int i = 0; i < features.GetCount(); ++i)
                if (std::string(features.GetButton(i)->GetText().GetAnsi()) == "Jets")
                    jetsButton = features.GetButton(i);
            if (!jetsButton) return true;
            jets = features.FindByCommand(jetsButton->GetCommandId());
            Touch(jetsButton);
            // Only the gateway's status can turn them back on.
            jets->state = 0;
            jetsButton->SetCheck(0, 0, 0);
            pressedAt = pass;
            step = kWaitForPush;
            break;
        }
        case kWaitForPush:
            if (jets->state == 1 && jetsButton->GetCheck()) step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 400;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_GT(pressedAt, 0);
    EXPECT_TRUE(GatewaySaw(ZVM_POOL_SETCIRCUIT));
    EXPECT_TRUE(testsupport::MatchesGolden(home, "vistrel_home_pool"));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_pool_main"));
}

}  // namespace
