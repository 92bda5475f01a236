// The whole tablet against the sample house: "Security" in the menu shows
// the House partition's status, and "Away" with the code 1234 arms it.
#include <gtest/gtest.h>

#include "core/messages/securitymessages.h"
#include "gfx/icon.h"
#include "support/golden.h"
#include "vistrel/home/homepages.h"
#include "vistrel/home/security/securitykeypad.h"
#include "vistrel/home/security/securitypages.h"
#include "vistrel/home/security/securityzones.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/lists/textlist.h"
#include "widgets/text/zvlabel.h"

namespace {

class SecurityRun : public vistreltest::SampleHouseRun {
protected:
    SecurityRun() {
        RegisterHomePages();
        SetPageVariable(kSecurityTabVariable, 0);
    }
    static std::string Shown(CSecurityZonesPage* zones) {
        return CZVString(zones->GetShownLabel()->GetText()).GetAnsi();
    }
};

TEST_F(SecurityRun, SecurityShowsTheHouseAndAwayWithTheCodeArmsIt) {
    enum Step { kWaitForHome, kWaitForStatus, kPressAway, kWaitForArmed, kDone } step = kWaitForHome;
    testsupport::Image565 shown;
    std::string armedText;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CSecuritySummaryPage*>(window.GetCurrentPage());
        auto* zones = page ? dynamic_cast<CSecurityZonesPage*>(page->GetContent()) : nullptr;
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Security")) step = kWaitForStatus;
            break;
        case kWaitForStatus:
            // The picture once the status is in and the entry's flash has faded.
            if (!zones || zones->GetZoneFaults()->GetCount() != 1 || !AnsweredAndStill(window, server, "Security"))
                break;
            shown = Picture(window, host);
            step = kPressAway;
            break;
        case kPressAway: {
            CSecurityKeypadWnd* keypad = zones->GetKeypad();
            Touch(keypad->GetModeButton(2));
            for (int digit : {1, 2, 3, 4}) Touch(keypad->GetKey(CSecurityKeypadWnd::kFirstDigit + digit));
            step = kWaitForArmed;
            break;
        }
        case kWaitForArmed:
            if (zones && Shown(zones) == "Armed in Away Mode") {
                armedText = Shown(zones);
                step = kDone;
            }
            break;
        case kDone: break;
        }
        return step == kDone || pass == 400;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(armedText, "Armed in Away Mode");
    const std::vector<testsupport::Bytes> arms = gateway.PayloadsOf(ZVM_SECURITY_ARMQ);
    ASSERT_FALSE(arms.empty());
    testsupport::PayloadReader in(arms.back());
    int32_t partition = 0, value = 0;
    std::string code;
    ASSERT_TRUE(in.Int(&partition) && in.Int(&value) && in.String(&code));
    EXPECT_EQ(partition, 1);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(code, "1234");
    EXPECT_EQ(RequestsOf(ZVM_SECURITY_ARMQ), 1u);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_security"));
}

}  // namespace
