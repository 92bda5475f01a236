// The whole tablet against the sample house: "Video" shows the Front Door camera with its strip;
// each tab shows its camera, the Media Room its gateway panel; Full Screen covers the screen and
// the next touch brings the page back. "DVR" then shows the recorder with its clips.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/mediamessages.h"
#include "support/golden.h"
#include "vistrel/media/dvr/dvrpage.h"
#include "vistrel/media/dvr/dvrsources.h"
#include "vistrel/media/dvr/dvrtimeline.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/video/fullscreen.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/media/video/videosources.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell_fixture.h"
#include "widgets/tabs/tabbutton.h"

namespace {

class VideoRun : public vistreltest::SampleHouseRun {
protected:
    VideoRun() {
        SetPageVariable(CVideoSourcesPage::kSourceVariable, 0);
        RegisterMediaPages();
        CreateVideoRegistries();
    }
    ~VideoRun() override { DestroyVideoRegistries(); }

    static CFullScreenButton* FullScreenButton(CZVWindow* panel) {
        CFullScreenButton* found = nullptr;
        ForEachChild(panel->GetChildren(), [&found](CZVWindow* child) {
            if (!found) found = dynamic_cast<CFullScreenButton*>(child);
        });
        return found;
    }
};

TEST_F(VideoRun, OpensEachCameraTheMediaRoomFullScreenAndTheRecorder) {
    const char* const kTabs[] = {"Driveway", "Back Yard", "Media Room", "Front Door"};
    const int kSources[] = {2, 3, -1, 1};
    enum Step {
        kWaitForHome,
        kPressVideo,
        kWaitForVideo,
        kPressTab,
        kWaitForTab,
        kPressFullScreen,
        kWaitForFullScreen,
        kTouchScreen,
        kWaitForPage,
        kPressDvr,
        kWaitForDvr,
        kDone
    } step = kWaitForHome;
    size_t tab = 0;
    std::string seen;
    testsupport::Image565 video, dvr;
    CVideoSourcesPage* page = nullptr;
    CFullScreenButton* button = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = vistreltest::AnswersIn(gateway, server);
        switch (step) {
        case kWaitForHome:
            if (!answered || !MenuEntry(window, "Video")) break;
            step = kPressVideo;
            break;
        case kPressVideo:
            Touch(MenuEntry(window, "Video"));
            step = kWaitForVideo;
            break;
        case kWaitForVideo:
            page = dynamic_cast<CVideoSourcesPage*>(window.GetCurrentPage());
            if (!page || !page->GetVideoWindow() || !answered) break;
            seen += std::to_string(page->GetVideoWindow()->GetSource()) + " ";
            step = kPressTab;
            break;
        case kPressTab: {
            CZVButton* tabButton = TabNamed(dynamic_cast<CTabContainer*>(page->GetTabControl()), kTabs[tab]);
            if (!tabButton) return true;
            Touch(tabButton);
            step = kWaitForTab;
            break;
        }
        case kWaitForTab: {
            if (!answered) break;
            const bool panel = dynamic_cast<CGatewayPanel*>(page->GetPanel()) != nullptr;
            const int source = page->GetVideoWindow() ? page->GetVideoWindow()->GetSource() : -1;
            if (source != kSources[tab] || (kSources[tab] < 0 && !(panel && FullScreenButton(page->GetPanel())))) break;
            seen += panel ? "panel " : std::to_string(source) + " ";
            step = ++tab < std::size(kTabs) ? kPressTab : kPressFullScreen;
            break;
        }
        case kPressFullScreen:
            button = FullScreenButton(page->GetPanel());
            if (!button) return true;
            Touch(button);
            step = kWaitForFullScreen;
            break;
        case kWaitForFullScreen:
            if (!button->GetFullScreenWindow() || !window.GetModal() || !answered) break;
            step = kTouchScreen;
            break;
        case kTouchScreen:
            clock.Advance(1000);
            window.OnLButtonDown(400, 300, 1);
            window.OnLButtonUp(400, 300, 0);
            step = kWaitForPage;
            break;
        case kWaitForPage:
            if (button->GetFullScreenWindow() || window.GetModal() || !answered) break;
            video = Picture(window, host);
            step = kPressDvr;
            break;
        case kPressDvr:
            if (!MenuEntry(window, "DVR")) return true;
            Touch(MenuEntry(window, "DVR"));
            step = kWaitForDvr;
            break;
        case kWaitForDvr: {
            auto* sources = dynamic_cast<CDvrSourcesPage*>(window.GetCurrentPage());
            CDvrPage* recorder = sources ? sources->GetDvrPage() : nullptr;
            if (!recorder || recorder->GetTimeline()->GetClipMap().GetCellCount() == 0 || !answered) break;
            seen += "stream " + std::to_string(recorder->GetStream());
            CZVTime played;
            played.SetSecond(0);
            played.SetMilliseconds(0);
            played.AddMinutes(-30);
            recorder->OnPlaybackEvent({.kind = 2, .time = played, .text = "Driveway camera"});
            dvr = Picture(window, host);
            step = kDone;
            break;
        }
        case kDone: break;
        }
        return step == kDone || pass == 5000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(seen, "1 2 3 panel 1 stream 300");
    EXPECT_TRUE(GatewaySaw(ZVM_VIDEO_GETSOURCESQ));
    EXPECT_TRUE(GatewaySaw(ZVM_DVR_GETCLIPSQ));
    EXPECT_TRUE(testsupport::MatchesGolden(video, "vistrel_video_front_door"));
    EXPECT_TRUE(testsupport::MatchesGolden(dvr, "vistrel_dvr"));
}

}  // namespace
