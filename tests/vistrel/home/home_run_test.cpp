// The whole tablet against the sample house on both screen sizes: the home page with its menu
// icons, the garden photo and the pool's controls once everything has arrived, and the same
// page, taken from the page cache without asking the gateway again, after a visit to the pool.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/messages/shellmessages.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolcontrols.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/shell/homepage.h"
#include "vistrel/shell/mainmenu.h"

namespace {

struct Screen {
    int width;
    int height;
    const char* golden;
};

class HomeRun : public ::testing::TestWithParam<Screen> {
protected:
    HomeRun() {
        RegisterHomePages();
        testsupport::ServeSampleInstallation(gateway);
        clock.HoldWhile([this] { return gateway.Owes(); });
    }
    ~HomeRun() override { clock.HoldWhile({}); }
    std::vector<std::string> Arguments() { return {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())}; }

    void Touch(CZVButton* button) {
        clock.Advance(1000);
        const int x = button->ToRootX(button->GetWidth() / 2);
        const int y = button->ToRootY(button->GetHeight() / 2);
        button->OnLButtonDown(x, y, 0);
        button->OnLButtonUp(x, y, 0);
    }
    static CZVButton* Entry(CMainWnd& window, const std::string& caption) {
        for (int i = 0; i < window.GetMenu()->GetTabCount(); ++i) {
            auto* entry = static_cast<CZVButton*>(window.GetMenu()->GetTab(i));
            if (std::string(entry->GetText().GetAnsi()) == caption) return entry;
        }
        return nullptr;
    }
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
    static void FindPoolControls(CZVWindow* window, std::vector<CPoolStatusControl*>* found) {
        if (auto* control = dynamic_cast<CPoolStatusControl*>(window)) found->push_back(control);
        for (ZVPOSITION pos = window->GetChildren().GetHeadPosition(); pos;)
            FindPoolControls(static_cast<CZVWindow*>(window->GetChildren().GetNext(pos)), found);
    }
    static bool PoolControlsShowTheStatus(CZVWindow* page) {
        std::vector<CPoolStatusControl*> controls;
        FindPoolControls(page, &controls);
        return controls.size() == 2 && std::all_of(controls.begin(), controls.end(), [](CPoolStatusControl* c) {
                   return c->GetModel().GetAirTemp() == 78;
               });
    }
    size_t Asked(uint16_t id) {
        const std::vector<testsupport::Frame> requests = gateway.Requests();
        return std::count_if(requests.begin(), requests.end(),
                             [id](const testsupport::Frame& f) { return f.id == id; });
    }
    static testsupport::Image565 Shown(CMainWnd& window, platform::HeadlessWindow& native) {
        window.PaintAll();
        return {native.GetWidth(), native.GetHeight(), native.GetFrame()};
    }

    vistreltest::ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
};

TEST_P(HomeRun, ShowsTheHomePageAndTheSamePageAgainAfterAVisit) {
    const Screen screen = GetParam();
    enum Step { kWaitForHome, kWaitForPool, kWaitForReturn, kDone } step = kWaitForHome;
    testsupport::Image565 first, again;
    CZVWindow* home = nullptr;
    size_t controlsAsked = 0;
    vistreltest::TestHost host(environment.Folder(), screen.width, screen.height,
                               [&](CMainWnd& window, CZVServer& server, int pass) {
                                   CZVWindow* page = window.GetCurrentPage();
                                   switch (step) {
                                   case kWaitForHome:
                                       // Once every answer is in, the clock's among them.
                                       if (!dynamic_cast<CHomePage*>(page) || !PoolControlsShowTheStatus(page) ||
                                           !PicturesArrived() || !vistreltest::AnswersIn(gateway, server))
                                           break;
                                       first = Shown(window, *host.native);
                                       home = page;
                                       controlsAsked = Asked(ZVM_LAYOUT_GETCONTROLSQ);
                                       Touch(Entry(window, "Pool & Spa"));
                                       step = kWaitForPool;
                                       break;
                                   case kWaitForPool:
                                       if (!dynamic_cast<CPoolControlPage*>(page)) break;
                                       Touch(Entry(window, "Home"));
                                       step = kWaitForReturn;
                                       break;
                                   case kWaitForReturn:
                                       // Once the entries' flashes have faded.
                                       if (page != home || Entry(window, "Home")->GetHighlightCountdown() >= 0 ||
                                           Entry(window, "Pool & Spa")->GetHighlightCountdown() >= 0)
                                           break;
                                       again = Shown(window, *host.native);
                                       step = kDone;
                                       break;
                                   case kDone: break;
                                   }
                                   return step == kDone || pass == 400;
                               });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(testsupport::MatchesGolden(first, screen.golden));
    EXPECT_EQ(Asked(ZVM_LAYOUT_GETCONTROLSQ), controlsAsked) << "the kept page needs no new layout";
    EXPECT_TRUE(first.pixels == again.pixels) << "the page came back as it was left";
}

INSTANTIATE_TEST_SUITE_P(Screens, HomeRun,
                         ::testing::Values(Screen{1024, 768, "vistrel_home"}, Screen{800, 480, "vistrel_home_480"}),
                         [](const auto& info) { return std::to_string(info.param.height); });

}  // namespace
