// The whole tablet against the sample installation: "Pool & Spa" pressed
// in the menu shows the live pool page, and a feature pressed there is
// switched by the gateway and comes back checked.
#include <gtest/gtest.h>

#include <algorithm>

#include "gfx/icon.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolcontrols.h"
#include "vistrel/home/pool/poolmain.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/shell/mainmenu.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

using testsupport::Frame;

class PoolRun : public ::testing::Test {
protected:
    PoolRun() {
        RegisterHomePages();
        testsupport::ServeSampleInstallation(gateway);
        clock.HoldWhile([this] { return gateway.Owes(); });
    }
    ~PoolRun() override { clock.HoldWhile({}); }
    std::vector<std::string> Arguments() { return {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())}; }
    // A touch in the middle of the button.
    void Touch(CZVButton* button) {
        const int x = button->ToRootX(button->GetWidth() / 2);
        const int y = button->ToRootY(button->GetHeight() / 2);
        button->OnLButtonDown(x, y, 0);
        button->OnLButtonUp(x, y, 0);
    }
    // The pool controls under the window, each once it holds the sample status.
    static void FindControls(CZVWindow* window, std::vector<CPoolStatusControl*>* found) {
        if (auto* control = dynamic_cast<CPoolStatusControl*>(window)) found->push_back(control);
        for (ZVPOSITION pos = window->GetChildren().GetHeadPosition(); pos;)
            FindControls(static_cast<CZVWindow*>(window->GetChildren().GetNext(pos)), found);
    }
    static bool PoolControlsShowTheStatus(CMainWnd& window) {
        std::vector<CPoolStatusControl*> controls;
        if (window.GetCurrentPage()) FindControls(window.GetCurrentPage(), &controls);
        return controls.size() == 2 && std::all_of(controls.begin(), controls.end(), [](CPoolStatusControl* c) {
                   return c->GetModel().GetAirTemp() == 78;
               });
    }
    bool GatewaySaw(uint16_t id) {
        for (const Frame& frame : gateway.Requests())
            if (frame.id == id) return true;
        return false;
    }

    vistreltest::ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
};

TEST_F(PoolRun, PoolAndSpaShowsTheLivePoolAndSwitchesAFeature) {
    enum Step { kWaitForHome, kPressMenu, kWaitForStatus, kPressFeature, kWaitForPush, kDone } step = kWaitForHome;
    testsupport::Image565 home, shown;
    CPoolCircuit* jets = nullptr;
    CZVCheckButton* jetsButton = nullptr;
    int pressedAt = 0;
    auto poolEntry = [](CMainWnd& window) -> CZVButton* {
        for (int i = 0; i < window.GetMenu()->GetTabCount(); ++i) {
            auto* entry = static_cast<CZVButton*>(window.GetMenu()->GetTab(i));
            if (std::string(entry->GetText().GetAnsi()) == "Pool & Spa") return entry;
        }
        return nullptr;
    };
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CPoolControlPage*>(window.GetCurrentPage());
        CZVButton* entry = poolEntry(window);
        switch (step) {
        case kWaitForHome:
            // The home page of the sample house holds the pool's status table and circuit grid.
            // Once every answer is in, the clock's and the pictures among them.
            if (!PoolControlsShowTheStatus(window) || !vistreltest::AnswersIn(gateway, server)) break;
            window.PaintAll();
            home = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
            step = kPressMenu;
            break;
        case kPressMenu:
            if (!entry) return true;
            clock.Advance(1000);
            Touch(entry);
            step = kWaitForStatus;
            break;
        case kWaitForStatus:
            // The picture once the status is in and the entry's flash has faded.
            if (!page || page->GetModel()->GetBody(0)->temperature != 81 || entry->GetHighlightCountdown() >= 0) break;
            window.PaintAll();
            shown = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
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
            clock.Advance(1000);
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
