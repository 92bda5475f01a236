// The whole tablet against the sample house: "Lighting" in the menu shows
// the living room's keypad, a scene pressed there reaches the gateway and
// lights when the gateway says so, and "Schedules" shows the lighting
// schedules in the keypad's place. The home page's lighting controls reach
// the gateway and show what it answers.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/messages/lightingmessages.h"
#include "core/messages/toolkitmessages.h"
#include "vistrel/home/homepages.h"
#include "vistrel/home/lighting/gatewaybuttons.h"
#include "vistrel/home/lighting/keypadctl.h"
#include "vistrel/home/lighting/lightingpage.h"
#include "vistrel/home/lighting/lightswitch.h"
#include "vistrel/home/lighting/scenebutton.h"
#include "vistrel/home/schedule/schedulecommands.h"
#include "vistrel/shell/homepage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/tabbutton.h"

namespace {

class LightingRun : public vistreltest::SampleHouseRun {
protected:
    LightingRun() { RegisterHomePages(); }
    ~LightingRun() override { SetPageVariable(CLightingPage::kTabVariable, 0); }

    // The first window of the class under `root` that passes `wanted`, depth first, or null.
    template <class Window, class Wanted>
    static Window* Find(CZVWindow* root, Wanted wanted) {
        if (!root) return nullptr;
        Window* found = nullptr;
        ForEachChild(root->GetChildren(), [&](CZVWindow* child) {
            if (found) return;
            auto* window = dynamic_cast<Window*>(child);
            found = window && wanted(window) ? window : Find<Window>(child, wanted);
        });
        return found;
    }
    // The last {i32, i32} the gateway received as the message, or {-1, -1}.
    std::pair<int32_t, int32_t> LastPair(uint16_t id) const {
        std::pair<int32_t, int32_t> pair{-1, -1};
        for (const testsupport::Frame& frame : gateway.RequestsOf(id)) {
            testsupport::PayloadReader in(frame.payload);
            int32_t first = 0, second = 0;
            if (in.Int(&first) && in.Int(&second)) pair = {first, second};
        }
        return pair;
    }

    // The index of the first request of the message, or -1.
    int FirstRequest(uint16_t id, int from = 0) const {
        const auto requests = gateway.Requests();
        for (size_t i = static_cast<size_t>(from); i < requests.size(); ++i)
            if (requests[i].id == id) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(LightingRun, LightingShowsTheKeypadPressesAScenesAndShowsTheSchedules) {
    enum Step { kWaitForHome, kWaitForKeypad, kPressScene, kWaitForLed, kWaitForSchedules, kDone };
    Step step = kWaitForHome;
    testsupport::Image565 keypadShown, schedulesShown;
    CZV3DButton* entertain = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CLightingPage*>(window.GetCurrentPage());
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Lighting")) step = kWaitForKeypad;
            break;
        case kWaitForKeypad: {
            auto* keypad = page ? dynamic_cast<CKeypadCtl*>(page->GetContent()) : nullptr;
            if (!keypad || keypad->GetButtonCount() != 6 || !AnsweredAndStill(window, server, "Lighting")) break;
            keypadShown = Picture(window, host);
            entertain = keypad->GetButton(1);
            step = kPressScene;
            break;
        }
        case kPressScene:
            Touch(entertain);
            step = kWaitForLed;
            break;
        case kWaitForLed: {
            // Only the gateway's push lights the scene.
            if (!entertain->AsCheckButton()->GetCheck() || !GatewaySaw(ZVM_LIGHTS_KEYPADPRESS)) break;
            Touch(TabNamed(dynamic_cast<CTabContainer*>(page->GetSideList()), "Schedules"));
            step = kWaitForSchedules;
            break;
        }
        case kWaitForSchedules:
            if (!dynamic_cast<CScheduleCommandsView*>(page->GetContent()) || !vistreltest::AnswersIn(gateway, server))
                break;
            schedulesShown = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    const int press = FirstRequest(ZVM_LIGHTS_KEYPADPRESS);
    ASSERT_GE(press, 0);
    EXPECT_EQ(gateway.Requests()[static_cast<size_t>(press) + 1].id, ZVM_LIGHTS_GETKEYPADLEDSQ);
    EXPECT_TRUE(testsupport::MatchesGolden(keypadShown, "vistrel_lighting"));
    EXPECT_TRUE(testsupport::MatchesGolden(schedulesShown, "vistrel_lighting_schedules"));
}

TEST_F(LightingRun, TheHomePagesLightingControlsReachTheGatewayAndShowItsAnswers) {
    enum Step { kWaitForHome, kPressScene, kWaitForScene, kWaitForSwitch, kWaitForGrid, kWaitForItem, kDone };
    Step step = kWaitForHome;
    CSceneButton* scene = nullptr;
    CSceneButton* item = nullptr;
    CLightSwitchCtl* deck = nullptr;
    CGatewayButton* gridEntry = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        CZVWindow* page = dynamic_cast<CHomePage*>(window.GetCurrentPage());
        switch (step) {
        case kWaitForHome: {
            if (!page || !vistreltest::AnswersIn(gateway, server)) break;
            scene =
                Find<CSceneButton>(page, [](CSceneButton* b) { return b->GetKeypadId() == CSceneButton::kUnbound; });
            item = Find<CSceneButton>(page, [](CSceneButton* b) { return b->GetKeypadId() != CSceneButton::kUnbound; });
            deck = Find<CLightSwitchCtl>(page, [](CLightSwitchCtl* s) { return s->GetSegmentCount() == 5; });
            gridEntry = Find<CGatewayButton>(page, [](CGatewayButton* b) {
                return dynamic_cast<CButtonGridCtl*>(b->GetParent()) &&
                       std::string(b->GetText().GetAnsi()) == "Gate Close";
            });
            if (!scene || !item || !deck || !gridEntry) break;
            // The sample's values: the scene is off and the deck's preset is "B".
            EXPECT_FALSE(scene->GetCheck());
            EXPECT_EQ(deck->GetValue(), kSwitchFirstPreset + 1);
            step = kPressScene;
            break;
        }
        case kPressScene:
            Touch(scene);
            step = kWaitForScene;
            break;
        case kWaitForScene:
            // Only the gateway's push lights the scene.
            if (!scene->GetCheck() || !GatewaySaw(ZVM_SCENES_ACTIVATE)) break;
            Touch(deck->GetSegment(1));  // preset "A"
            step = kWaitForSwitch;
            break;
        case kWaitForSwitch:
            if (deck->GetValue() != kSwitchFirstPreset || !GatewaySaw(ZVM_LIGHTS_SETSWITCH)) break;
            Touch(gridEntry);
            step = kWaitForGrid;
            break;
        case kWaitForGrid:
            if (!GatewaySaw(ZVM_UI_BUTTONPRESS)) break;
            Touch(item);
            step = kWaitForItem;
            break;
        case kWaitForItem:
            if (!GatewaySaw(ZVM_LIGHTS_KEYPADPRESS)) break;
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(LastPair(ZVM_LIGHTS_SETSWITCH), std::make_pair(21, int{kSwitchFirstPreset}));
    EXPECT_EQ(LastPair(ZVM_UI_BUTTONPRESS), std::make_pair(0, 62));
    // The keypad item stands for the living room's "Entertain".
    EXPECT_EQ(LastPair(ZVM_LIGHTS_KEYPADPRESS), std::make_pair(10, 1));
}

}  // namespace
