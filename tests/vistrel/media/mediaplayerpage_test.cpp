// The Now Playing page of a music server against the sample house: its
// layout by screen height, the buttons the feature bits take away, the play
// state table, queue deletes, and the album art with its bounds.
#include "vistrel/media/music/mediaplayerpage.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "core/messages/shellmessages.h"
#include "music_fixture.h"
#include "samplegateway/slides.h"
#include "support/golden.h"
#include "vistrel/media/music/mediatransportbar.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/text/zvlabel.h"

namespace {

using musictest::Message;
using samplegateway::PayloadWriter;

class MediaPlayer : public audiotest::AudioTest {
protected:
    void SetUp() override { ConnectToSampleHouse(); }
    ~MediaPlayer() override {
        for (CMediaPlayerPage* page : m_pages) {
            window->RemoveChild(page);
            delete page;
        }
    }
    CMediaPlayerPage* Make(int features = 0, CZVRect rect = CZVRect(0, 0, 680, 500)) {
        auto* page = new CMediaPlayerPage(window.get(), nullptr, rect, 6, 0xC0A0A0, features);
        // Made hidden, as its panel makes it: showing it asks for what it shows.
        page->Show(0, 0);
        window->AddChild(page);
        page->Show(1, 0);
        m_pages.push_back(page);
        return page;
    }
    size_t CountOf(uint16_t id) {
        EXPECT_TRUE(Settle());
        return gateway.RequestsOf(id).size();
    }
    // The last request of the id once it arrived: its integers after the zone.
    std::vector<int32_t> Last(uint16_t id) {
        EXPECT_TRUE(Settle());
        const std::vector<testsupport::Frame> frames = gateway.RequestsOf(id);
        std::vector<int32_t> values = frames.empty() ? std::vector<int32_t>{} : testsupport::IntsOf(frames.back());
        if (!values.empty()) values.erase(values.begin());
        return values;
    }
    static void Status(CMediaPlayerPage* page, int32_t kind, int32_t state, int32_t index) {
        page->OnSourceMessage(Message(ZVM_AUDIO_SOURCESTATUSCHANGED,
                                      PayloadWriter().Int(kind).Int(1).Int(1).Int(state).Int(index).Int(50))
                                  .get(),
                              0);
    }

private:
    std::vector<CMediaPlayerPage*> m_pages;
};

TEST_F(MediaPlayer, ShownItAsksArtStatusAndQueueAndShowsThem) {
    CMediaPlayerPage* page = Make();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(CountOf(ZVM_AUDIO_GETALBUMARTQ), 1u);
    EXPECT_EQ(CountOf(ZVM_AUDIO_GETSOURCESTATUSQ), 1u);
    EXPECT_EQ(CountOf(ZVM_AUDIO_GETQUEUEQ), 1u);
    // The gateway's answers reach the page through its zones page; here they are handed over.
    page->OnSourceMessage(Message(ZVM_AUDIO_GETQUEUEA, samplegateway::MusicLibrary().Queue()).get(), 0);
    Status(page, 3000, kPlayStatePlaying, 2);
    EXPECT_EQ(page->GetQueue()->GetCount(), 12);
    EXPECT_EQ(page->GetPlayState(), kPlayStatePlaying);
    EXPECT_STRNE(page->GetValueLabel(0)->GetText().GetAnsi(), "");
}

TEST_F(MediaPlayer, TheBarAndButtonsFollowTheScreenHeight) {
    CMediaPlayerPage* page = Make();
    EXPECT_EQ(page->GetTransportBar()->GetHeight(), 200);
    EXPECT_EQ(page->GetTransportBar()->GetX(), 203);
    EXPECT_TRUE(page->HasAlbumArtArea());
}

TEST_F(MediaPlayer, FeatureBitsTakeButtonsAway) {
    const struct {
        int features;
        bool repeat;
        bool remove;
    } cases[] = {{0, true, true},
                 {kSourceNoRepeatRandom, false, true},
                 {kSourceNoQueueDelete, true, false},
                 {kSourceNoRepeatRandom | kSourceNoQueueDelete, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.features);
        CMediaPlayerPage* page = Make(c.features);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kRepeatId) != nullptr, c.repeat);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kRandomId) != nullptr, c.repeat);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kDeleteId) != nullptr, c.remove);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kDeleteAllId) != nullptr, c.remove);
        EXPECT_NE(page->GetButton(CMediaPlayerPage::kUpId), nullptr);
    }
}

TEST_F(MediaPlayer, PlayStateTable) {
    const struct {
        int state;
        int selected;
        const char* artist;
        bool play, pause, stop, skip;
    } cases[] = {
        {kPlayStatePlaying, 2, "Distant Echoes", false, true, true, true},
        {kPlayStatePlaying, 4, "Distant Echoes", true, true, true, true},
        {kPlayStatePaused, 2, "Distant Echoes", true, false, true, true},
        {kPlayStateWorking, 2, "Working: Distant Echoes", false, false, true, false},
        {4001, 2, "", true, false, false, true},
    };
    CMediaPlayerPage* page = Make();
    page->OnSourceMessage(Message(ZVM_AUDIO_GETQUEUEA, samplegateway::MusicLibrary().Queue()).get(), 0);
    Status(page, 3000, kPlayStatePlaying, 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        page->GetQueue()->SelectIndex(c.selected, 0);
        page->SetPlayState(-2, 0);
        page->SetPlayState(c.state, 0);
        EXPECT_STREQ(page->GetValueLabel(0)->GetText().GetAnsi(), c.artist);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kPlayId)->IsEnabled() != 0, c.play);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kPauseId)->IsEnabled() != 0, c.pause);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kStopId)->IsEnabled() != 0, c.stop);
        EXPECT_EQ(page->GetButton(CMediaPlayerPage::kUpId)->IsEnabled() != 0, c.skip);
    }
}

TEST_F(MediaPlayer, FixedOrderClearsAndDisablesRepeatAndRandom) {
    CMediaPlayerPage* page = Make();
    Status(page, 3000 | kSourceFixedOrder, kPlayStatePlaying, 0);
    auto* repeat = static_cast<CZVCheckButton*>(page->GetButton(CMediaPlayerPage::kRepeatId));
    EXPECT_EQ(repeat->GetCheck(), 0);
    EXPECT_EQ(repeat->IsEnabled(), 0);
    // Another source's status changes nothing.
    Status(page, 3001, kPlayStatePaused, 0);
    EXPECT_EQ(page->GetPlayState(), kPlayStatePlaying);
}

TEST_F(MediaPlayer, DeleteMovesThePlayingRowAndSendsNothingWithoutASelection) {
    CMediaPlayerPage* page = Make();
    page->OnSourceMessage(Message(ZVM_AUDIO_GETQUEUEA, samplegateway::MusicLibrary().Queue()).get(), 0);
    Status(page, 3000, kPlayStatePlaying, 5);
    page->GetQueue()->SelectIndex(1, 0);
    page->OnCommand(CMediaPlayerPage::kDeleteId);
    EXPECT_EQ(Last(ZVM_AUDIO_DELETEQUEUEITEM), std::vector<int32_t>{1});
    EXPECT_EQ(page->GetQueue()->GetCurrentIndex(), 4);
    // The last row deleted: the one before it is selected.
    page->GetQueue()->SelectIndex(11, 0);
    page->OnCommand(CMediaPlayerPage::kDeleteId);
    EXPECT_EQ(page->GetQueue()->GetSelectedIndex(), 10);

    const size_t sent = CountOf(ZVM_AUDIO_DELETEQUEUEITEM);
    page->GetQueue()->Select(nullptr, 0);
    page->OnCommand(CMediaPlayerPage::kDeleteId);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(CountOf(ZVM_AUDIO_DELETEQUEUEITEM), sent);
}

TEST_F(MediaPlayer, PlayResumesOrPlaysTheSelectedRow) {
    CMediaPlayerPage* page = Make();
    page->OnSourceMessage(Message(ZVM_AUDIO_GETQUEUEA, samplegateway::MusicLibrary().Queue()).get(), 0);
    Status(page, 3000, kPlayStatePaused, 2);
    page->OnCommand(CMediaPlayerPage::kPlayId);
    EXPECT_EQ(Last(ZVM_AUDIO_SOURCECOMMAND), (std::vector<int32_t>{kSourcePlay, 0, 0}));
    EXPECT_EQ(page->GetPlayState(), kPlayStatePlaying);
    page->GetQueue()->SelectIndex(7, 0);
    page->OnCommand(CMediaPlayerPage::kQueueId);
    page->OnCommand(CMediaPlayerPage::kPlayId);
    EXPECT_EQ(Last(ZVM_AUDIO_PLAYQUEUEITEM), std::vector<int32_t>{7});
}

TEST_F(MediaPlayer, NoAlbumArtAreaAsksNoAlbumArt) {
    CMediaPlayerPage* page = Make(0, CZVRect(0, 0, 330, 500));
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(page->HasAlbumArtArea());
    EXPECT_EQ(CountOf(ZVM_AUDIO_GETALBUMARTQ), 0u);
    EXPECT_EQ(CountOf(ZVM_AUDIO_GETQUEUEQ), 1u);
}

TEST_F(MediaPlayer, AlbumArtIsSizedFromItsHeaderWithinTheLimits) {
    CMediaPlayerPage* page = Make();
    const auto picture = [](int w, int h) {
        const testsupport::Bytes jpeg = samplegateway::EncodeJpeg(w, h, testsupport::Bytes(size_t(w * h * 3), 90));
        return Message(ZVM_PICTURES_PICTURE, PayloadWriter().Int(1).Int(1).Raw(jpeg.data(), jpeg.size()));
    };
    page->OnSourceMessage(picture(120, 100).get(), 0);
    ASSERT_NE(page->GetAlbumArt(), nullptr);
    EXPECT_EQ(page->GetAlbumArt()->GetWidth(), 126);
    EXPECT_EQ(page->GetAlbumArt()->GetHeight(), 106);
    // A picture beyond the decoders' limits makes no window.
    CImagePagerWnd* before = page->GetAlbumArt();
    page->OnSourceMessage(picture(9000, 8).get(), 0);
    EXPECT_EQ(page->GetAlbumArt(), before);
}

// The page over a whole screen of each height, with the queue playing its third track.
class NowPlayingPicture : public MediaPlayer, public testing::WithParamInterface<int> {
protected:
    NowPlayingPicture() {
        window.reset();  // first: the new window takes over the toolkit services
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, GetParam()), 0, &m_screen);
    }

private:
    platform::HeadlessWindow m_screen{800, GetParam()};
};

TEST_P(NowPlayingPicture, TheQueueWithItsPlayingRowAndTheBar) {
    const int height = GetParam();
    CMediaPlayerPage* page = Make(0, CZVRect(0, 0, 800, height));
    EXPECT_EQ(page->GetTransportBar()->GetHeight(), height < 600 ? 140 : 200);
    EXPECT_EQ(page->GetTransportBar()->GetX(), height < 600 ? 303 : 203);
    ASSERT_TRUE(Settle());
    page->OnSourceMessage(Message(ZVM_AUDIO_GETQUEUEA, samplegateway::MusicLibrary().Queue()).get(), 0);
    Status(page, 3000, kPlayStatePlaying, 2);
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "music_now_playing_" + std::to_string(height)));
}

INSTANTIATE_TEST_SUITE_P(Heights, NowPlayingPicture, testing::Values(480, 600));

}  // namespace
