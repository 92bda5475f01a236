// The whole tablet against the sample house: "Lighting" in the menu shows
// the living room's keypad, a scene pressed there reaches the gateway and
// lights when the gateway says so, and "Schedules" shows the lighting
// schedules in the keypad's place.
#include <gtest/gtest.h>

#include "core/messages/lightingmessages.h"
#include "vistrel/home/homepages.h"
#include "vistrel/home/lighting/keypadctl.h"
#include "vistrel/home/lighting/lightingpage.h"
#include "vistrel/home/schedule/schedulecommands.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/tabbutton.h"

namespace {

class LightingRun : public vistreltest::SampleHouseRun {
protected:
    LightingRun() { RegisterHomePages(); }
    ~LightingRun() override { SetPageVariable(CLightingPage::kTabVariable, 0); }

    // The index of the first request of the message, or -1.
    int FirstRequest(uint16_t id, int from = 0) const {
        const auto requests = gateway.Requests();
        for (size_t i = static_cast<size_t>(from); i < requests.size(); ++i)
            if (requests[i].id == id) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(LightingRun, LightingShowsTheKeypadPressesAScenesAndShowsTheSchedules) {
    enum Step { kWaitForHome, kPressMenu, kWaitForKeypad, kPressScene, kWaitForLed, kWaitForSchedules, kDone };
    Step step = kWaitForHome;
    testsupport::Image565 keypadShown, schedulesShown;
    CZV3DButton* entertain = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CLightingPage*>(window.GetCurrentPage());
        CZVButton* entry = MenuEntry(window, "Lighting");
        switch (step) {
        case kWaitForHome:
            if (!entry || !vistreltest::AnswersIn(gateway, server)) break;
            step = kPressMenu;
            break;
        case kPressMenu:
            Touch(entry);
            step = kWaitForKeypad;
            break;
        case kWaitForKeypad: {
            auto* keypad = page ? dynamic_cast<CKeypadCtl*>(page->GetContent()) : nullptr;
            if (!keypad || keypad->GetButtonCount() != 6 || entry->GetHighlightCountdown() >= 0 ||
                !vistreltest::AnswersIn(gateway, server))
                break;
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

}  // namespace
