// The whole tablet against the sample house on both screen sizes: the home page with its menu
// icons, the garden photo, the pool's controls and the alarm keypad once everything has
// arrived, and the same page, taken from the page cache without asking the gateway again,
// after a visit to the pool.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/shellmessages.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolcontrols.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/home/security/securitykeypad.h"
#include "vistrel/shell/homepage.h"
#include "vistrel/shell/mainmenu.h"

namespace {

struct Screen {
    int width;
    int height;
    const char* golden;
};

class HomeRun : public vistreltest::SampleHouseRun, public ::testing::WithParamInterface<Screen> {
protected:
    HomeRun() { RegisterHomePages(); }
    // Nothing is on its way, the home entry's icon has come, and so has the garden photo.
    static bool PicturesArrived() {
        CIconCache* cache = CIconCache::Instance();
        if (cache->IsLoading()) return false;
        const CZVIcon* home = cache->FindIcon(CZVString("I_LOGO"));
        if (!home || home->GetState() != CZVIcon::kLoaded) return false;
        CZVImage* garden = cache->GetImage(CZVString("garden.png"), 0, 0, 6, 0, 0);
        const bool arrived = garden->GetWidth() > 0;
        cache->ReleaseImage(garden);
        return arrived;
    }
};

TEST_P(HomeRun, ShowsTheHomePageAndTheSamePageAgainAfterAVisit) {
    const Screen screen = GetParam();
    enum Step { kWaitForHome, kWaitForPool, kWaitForReturn, kDone } step = kWaitForHome;
    testsupport::Image565 first, again;
    CZVWindow* home = nullptr;
    size_t controlsAsked = 0;
    std::vector<CSecurityPage*> keypads;
    std::vector<int> keypadPartitions;
    vistreltest::TestHost host(
        environment.Folder(), screen.width, screen.height, [&](CMainWnd& window, CZVServer& server, int pass) {
            CZVWindow* page = window.GetCurrentPage();
            switch (step) {
            case kWaitForHome:
                // Once every answer is in, the clock's among them.
                if (!dynamic_cast<CHomePage*>(page) || !pooltest::PoolControlsShowTheSampleStatus(page) ||
                    !PicturesArrived() || !vistreltest::AnswersIn(gateway, server))
                    break;
                first = Picture(window, host);
                pooltest::FindControls(page, &keypads);
                for (CSecurityPage* keypad : keypads)
                    keypadPartitions.push_back(keypad->GetPartition()->GetPartitionId());
                home = page;
                controlsAsked = RequestsOf(ZVM_LAYOUT_GETCONTROLSQ);
                Touch(MenuEntry(window, "Pool & Spa"));
                step = kWaitForPool;
                break;
            case kWaitForPool:
                if (!dynamic_cast<CPoolControlPage*>(page)) break;
                Touch(MenuEntry(window, "Home"));
                step = kWaitForReturn;
                break;
            case kWaitForReturn:
                // Once the entries' flashes have faded.
                if (page != home || MenuEntry(window, "Home")->GetHighlightCountdown() >= 0 ||
                    MenuEntry(window, "Pool & Spa")->GetHighlightCountdown() >= 0)
                    break;
                again = Picture(window, host);
                step = kDone;
                break;
            case kDone: break;
            }
            return step == kDone || pass == 400;
        });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(testsupport::MatchesGolden(first, screen.golden));
    // The garage's alarm keypad, a control of the gateway's home page.
    EXPECT_EQ(keypadPartitions, std::vector<int>{2});
    EXPECT_EQ(RequestsOf(ZVM_LAYOUT_GETCONTROLSQ), controlsAsked) << "the kept page needs no new layout";
    EXPECT_TRUE(first.pixels == again.pixels) << "the page came back as it was left";
}

INSTANTIATE_TEST_SUITE_P(Screens, HomeRun,
                         ::testing::Values(Screen{1024, 768, "vistrel_home"}, Screen{800, 480, "vistrel_home_480"}),
                         [](const auto& info) { return std::to_string(info.param.height); });

}  // namespace
