// The whole tablet against the sample house: Audio opens on the Living Room's
// music server with Now Playing; Pause, Play, Skip and Pause again go to the
// gateway, whose status pushes the page follows. The Media Server tab browses
// into Music and plays an album.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "support/golden.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/music/audiolibbrowsewnd.h"
#include "vistrel/media/music/coverartlist.h"
#include "vistrel/media/music/mediaplayerpage.h"
#include "vistrel/media/music/musicsourcepage.h"
#include "vistrel/media/music/nowplayingpanel.h"
#include "vistrel/shell_fixture.h"
#include "widgets/tabs/trregion.h"

namespace {

class MusicRun : public vistreltest::SampleHouseRun {
protected:
    MusicRun() { RegisterMediaPages(); }
};

TEST_F(MusicRun, NowPlayingTransportAndTheMediaServer) {
    enum Step {
        kWaitForHome,
        kWaitForPage,
        kPause,
        kPlay,
        kSkip,
        kPauseAgain,
        kOpenServer,
        kOpenMusic,
        kPlayAlbum,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 nowPlaying, browser;
    CMusicSourcePage* music = nullptr;
    CMediaPlayerPage* player = nullptr;
    CAudioLibBrowseWnd* server = nullptr;
    int expectedCurrent = 0;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& link, int pass) {
        const bool answered = AnsweredAndStill(window, link, "Audio");
        const auto press = [&](int id) { Touch(player->GetButton(id)); };
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, link, "Audio")) step = kWaitForPage;
            break;
        case kWaitForPage: {
            auto* page = dynamic_cast<CAudioZonesPage*>(window.GetCurrentPage());
            music = page ? dynamic_cast<CMusicSourcePage*>(page->GetSourcePage()) : nullptr;
            player = music ? dynamic_cast<CMediaPlayerPage*>(music->GetNowPlaying()->GetChild()) : nullptr;
            if (!player || !answered || player->GetQueue()->GetCount() == 0 ||
                player->GetPlayState() != kPlayStatePlaying)
                break;
            expectedCurrent = player->GetQueue()->GetCurrentIndex() + 1;
            step = kPause;
            break;
        }
        case kPause:
            press(CMediaPlayerPage::kPauseId);
            step = kPlay;
            break;
        case kPlay:
            if (!answered || player->GetQueue()->GetState() != kPlayStatePaused) break;
            press(CMediaPlayerPage::kPlayId);
            step = kSkip;
            break;
        case kSkip:
            if (!answered || player->GetQueue()->GetState() != kPlayStatePlaying) break;
            press(CMediaPlayerPage::kDownId);
            step = kPauseAgain;
            break;
        case kPauseAgain:
            if (!answered || player->GetQueue()->GetState() != kPlayStatePlaying ||
                player->GetQueue()->GetCurrentIndex() != expectedCurrent)
                break;
            press(CMediaPlayerPage::kPauseId);
            step = kOpenServer;
            break;
        case kOpenServer:
            if (!answered || player->GetQueue()->GetState() != kPlayStatePaused) break;
            nowPlaying = Picture(window, host);
            Touch(TabNamed(music->GetTabRegion()->GetTabs(), "Media Server"));
            step = kOpenMusic;
            break;
        case kOpenMusic:
            server = dynamic_cast<CAudioLibBrowseWnd*>(music->GetCurrentPage());
            if (!server || !answered || server->GetList()->GetCount() != 3) break;
            server->GetList()->SelectIndex(0, 0);
            server->OnCommand(CAudioLibBrowseWnd::kGoCommand);
            step = kPlayAlbum;
            break;
        case kPlayAlbum:
            if (!answered || server->GetHeaderCount() != 2 || server->GetList()->GetCount() == 0) break;
            server->GetList()->SelectIndex(0, 1);
            server->OnCommand(CAudioLibBrowseWnd::kPlayCommand);
            step = kDone;
            break;
        case kDone: break;
        }
        if (step == kDone && answered && browser.pixels.empty()) {
            // The covers in view arrive and are decoded on the idle passes that follow.
            bool covers = true;
            for (int i = 0; i < 3; ++i) covers = covers && server->GetList()->GetCoverItem(i * 3)->GetDecoded();
            if (covers) browser = Picture(window, host);
        }
        return !browser.pixels.empty() || pass == 900;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    ASSERT_FALSE(browser.pixels.empty());
    EXPECT_TRUE(GatewaySaw(ZVM_AUDIO_GETALBUMARTQ));
    EXPECT_EQ(RequestsOf(ZVM_AUDIO_SOURCECOMMAND), 4u);
    EXPECT_TRUE(testsupport::MatchesGolden(nowPlaying, "vistrel_music_now_playing"));
    EXPECT_TRUE(testsupport::MatchesGolden(browser, "vistrel_music_media_server"));
}

}  // namespace
