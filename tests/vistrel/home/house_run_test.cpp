// The whole tablet against the sample house: the home page's house-mode
// buttons follow the house, a touch on Away sets the mode through the
// gateway, the mode line names it, and the remotes' line slides in.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/shellmessages.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/house/housemodecontrols.h"
#include "vistrel/home/house/remotestatuswnd.h"
#include "vistrel/shell/homepage.h"

namespace {

// The first window of the class in the tree that passes the test, or null.
template <class W, class Test>
W* Find(CZVWindow* window, Test test) {
    if (auto* found = dynamic_cast<W*>(window); found && test(found)) return found;
    for (ZVPOSITION pos = window->GetChildren().GetHeadPosition(); pos;)
        if (W* found = Find<W>(static_cast<CZVWindow*>(window->GetChildren().GetNext(pos)), test)) return found;
    return nullptr;
}

class HouseRun : public vistreltest::SampleHouseRun {
protected:
    HouseRun() { RegisterHomePages(); }
    static testsupport::Image565 Frame(const vistreltest::TestHost& host) {
        return {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
    }
    static testsupport::Image565 Region(const testsupport::Image565& image, CZVRect area) {
        testsupport::Image565 part{area.w, area.h, {}};
        for (int y = area.y; y < area.y + area.h; ++y)
            for (int x = area.x; x < area.x + area.w; ++x)
                part.pixels.push_back(image.pixels[static_cast<size_t>(y * image.width + x)]);
        return part;
    }
    // The menu, the mode line, the remotes' line and the mode buttons; not the analog clock,
    // whose second hand moves on.
    static inline const CZVRect kShownArea{0, 0, 540, 380};
};

TEST_F(HouseRun, AwaySetsTheHouseModeAndTheHomePageFollows) {
    enum Step { kWaitForHome, kWaitForAway, kWaitForRemote, kDone } step = kWaitForHome;
    testsupport::Image565 shown;
    CHouseModeButton* away = nullptr;
    CRemoteStatusWnd* remotes = nullptr;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        CZVWindow* page = window.GetCurrentPage();
        auto line = [&](const char* text) {
            return page && Find<CHouseModeWnd>(
                               page, [&](CHouseModeWnd* w) { return std::string(w->GetText().GetAnsi()) == text; });
        };
        switch (step) {
        case kWaitForHome:
            if (!dynamic_cast<CHomePage*>(page) || !line("House is in Home Mode") ||
                !vistreltest::AnswersIn(gateway, server))
                break;
            away = Find<CHouseModeButton>(page, [](CHouseModeButton* b) { return b->GetMode() == 1; });
            remotes = Find<CRemoteStatusWnd>(page, [](CRemoteStatusWnd*) { return true; });
            if (!away || !remotes) return true;
            Touch(away);
            step = kWaitForAway;
            break;
        case kWaitForAway:
            // The gateway's notice has come back, and the button's flash has faded.
            if (!line("House is in Away Mode") || away->GetCheck() != 1 || away->GetHighlightCountdown() >= 0) break;
            window.PaintAll();
            step = kWaitForRemote;
            break;
        case kWaitForRemote:
            // The first remote's line has slid in over the repainted page.
            if (remotes->IsScrolling() || remotes->GetShownText() != "Remote 1/2: Spa Side") break;
            window.Present();
            shown = Region(Frame(host), kShownArea);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 1000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_HOUSE_SETMODE));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_house_mode"));
}

}  // namespace
