// The Video page: where the picture and its strip go, which controls the strip holds and how
// they share it, the quality asked for, and the page against the sample house's cameras: its
// tabs, the remembered source, the arrow pad that lights while a move is owed, full screen,
// and what the page leaves behind when it goes.
#include "vistrel/media/video/videosources.h"

#include <gtest/gtest.h>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "media_page_fixture.h"
#include "support/golden.h"
#include "vistrel/media/video/arrowpad.h"
#include "vistrel/media/video/fullscreen.h"
#include "vistrel/shell/gatewaypanel.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/tabbutton.h"

namespace {

// ---- tables without windows

TEST(VideoPageLayout, TheStripGoesWhereThePictureIsLarger) {
    const struct {
        int w, h;
        int vertical, pictureWidth, pictureHeight;
    } cases[] = {
        {780, 520, 1, 640, 480},  // below: n = 15 (600 x 450); beside: n = 16
        {654, 500, 0, 560, 420},  // both n = 14: the strip stays below
        {520, 780, 0, 440, 330},  // portrait: n = min(460 / 40, 720 / 30)
        {50, 40, 0, 0, 0},        // no room: no picture, nothing negative
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        const CVideoPageLayout layout = LayoutVideoPage(c.w, c.h, 10);
        EXPECT_EQ(layout.vertical, c.vertical);
        EXPECT_EQ(layout.pictureWidth, c.pictureWidth);
        EXPECT_EQ(layout.pictureHeight, c.pictureHeight);
        EXPECT_GE(layout.pictureX, 2);
        EXPECT_GE(layout.pictureY, 2);
        EXPECT_EQ(layout.video.w, layout.pictureWidth - layout.overhang + 4);
    }
}

TEST(VideoPageLayout, BesideTheStripIsCutFromTheRightAndThePictureCentredInTheRest) {
    const CVideoPageLayout layout = LayoutVideoPage(780, 520, 10);
    // 140 wide, the gap of 10 on its side facing the rest.
    EXPECT_EQ(layout.strip, CZVRect(650, 0, 130, 520));
    // The rest is 640 wide, as wide as the picture: it starts 2 in and nothing overhangs.
    EXPECT_EQ(layout.pictureX, 2);
    EXPECT_EQ(layout.pictureY, 20);
    EXPECT_EQ(layout.overhang, 0);
    EXPECT_EQ(layout.video, CZVRect(0, 18, 644, 484));

    const CVideoPageLayout portrait = LayoutVideoPage(520, 780, 10);
    EXPECT_EQ(portrait.strip, CZVRect(0, 710, 520, 70));
    EXPECT_EQ(portrait.pictureX, 40);
    EXPECT_EQ(portrait.pictureY, 185);
}

TEST(VideoPageLayout, TheStripBelowKeepsItsRoomBesideTheGap) {
    // 545 - 64 - 18 leaves room for 15 rows of 30: the strip keeps 545 - 450 - 18 - 4 = 73, of
    // which the gap of 18 parts it from the picture; 16 rows would leave it 25 and cut captions.
    const CVideoPageLayout layout = LayoutVideoPage(700, 545, 18);
    EXPECT_EQ(layout.vertical, 0);
    EXPECT_EQ(layout.pictureHeight, 450);
    EXPECT_EQ(layout.strip, CZVRect(0, 490, 700, 55));
}

TEST(VideoQuality, FlagsChooseTheIndex) {
    const struct {
        int32_t flags;
        int width;
        int index;
    } cases[] = {
        {0, 640, 2},
        {kVideoQualityLow, 640, 0},
        {kVideoQualityMed, 640, 1},
        {kVideoQualityByWidth | kVideoQualityLow, 640, 2},  // by width first
        {kVideoQualityByWidth, 321, 2},
        {kVideoQualityByWidth, 320, 1},
        {kVideoQualityByWidth, 241, 1},
        {kVideoQualityByWidth, 240, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags * 1000 + c.width);
        EXPECT_EQ(VideoQualityIndex(c.flags, c.width), c.index);
    }
}

std::vector<VideoStripSlot> Slots(const std::vector<CVideoStripCell>& cells) {
    std::vector<VideoStripSlot> slots;
    for (const CVideoStripCell& cell : cells) slots.push_back(cell.slot);
    return slots;
}

TEST(VideoStrip, BesideTheControlsStackFromTheTopInTheNarrowedStrip) {
    CZVRect strip(640, 0, 140, 520);
    const auto cells = LayoutVideoStrip(&strip, 1, kVideoArrowPad | kVideoPresets | kVideoSpeaker, 0);
    using S = VideoStripSlot;
    EXPECT_EQ(Slots(cells), (std::vector<S>{S::kArrowPad, S::kPresets, S::kLevels, S::kSpeaker, S::kFullScreen}));
    // 100 + 200 + 50 + 50 + 50 = 450 of 520: the strip is narrowed to them and centred; each
    // control leaves a gap of 2 below it.
    EXPECT_EQ(cells[0].rect, CZVRect(640, 35, 140, 98));
    EXPECT_EQ(cells[1].rect, CZVRect(640, 135, 140, 198));
    EXPECT_EQ(cells[4].rect, CZVRect(640, 35 + 100 + 200 + 50 + 50, 140, 48));
}

TEST(VideoStrip, BelowControlsThatDoNotFitShrinkAlike) {
    CZVRect strip(0, 500, 400, 80);
    const auto cells = LayoutVideoStrip(&strip, 0, kVideoArrowPad | kVideoPlusMinus | kVideoPresets | kVideoSpeaker, 0);
    ASSERT_EQ(cells.size(), 6u);
    // 200 + 150 + 400 + 200 + 200 + 70 = 1220, each scaled by 400 / 1220 and less its gap of 2;
    // the first is rightmost.
    const int widths[] = {63, 47, 129, 63, 63, 20};
    for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i].rect.w, widths[i]) << i;
    EXPECT_EQ(cells[0].rect.x + cells[0].rect.w, 400);
    EXPECT_LT(cells[1].rect.x, cells[0].rect.x);
    // Flags 0x10 and 0x20 of the video flags leave out the levels and the full-screen button.
    CZVRect bare(0, 500, 400, 80);
    EXPECT_TRUE(LayoutVideoStrip(&bare, 0, 0, kVideoNoLevels | kVideoNoFullScreen).empty());
}

TEST(VideoSourceList, ACutListKeepsTheSourcesRead) {
    CZVMSG message(0, ZVM_VIDEO_GETSOURCESA);
    message.WriteInt(3);
    message.WriteInt(1);
    message.WriteString("Front Door");
    message.WriteInt(kVideoArrowPad);
    message.WriteInt(0);
    message.WriteInt(2);
    message.WriteString("Driveway");
    message.ResetPosition();
    std::vector<CVideoSourceEntry> sources;
    EXPECT_EQ(ReadVideoSources(message, &sources), 0);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0], (CVideoSourceEntry{"Front Door", 1, kVideoArrowPad, 0}));
}

// ---- the page against the sample house

class VideoPage : public mediatest::MediaPageTest {
protected:
    void SetUp() override {
        SetPageVariable(CVideoSourcesPage::kSourceVariable, 0);
        ConnectToSampleHouse();
    }
    CVideoSourcesPage* Open() { return Keep(new CVideoSourcesPage(window.get(), window->GetPageArea(), server)); }
    static CTabContainer* Tabs(CVideoSourcesPage* page) { return dynamic_cast<CTabContainer*>(page->GetTabControl()); }
    static void Choose(CVideoSourcesPage* page, int index) {
        Tabs(page)->Select(index, 0);
        page->OnCommand(CVideoSourcesPage::kFirstTab + index);
    }
    template <class W>
    static W* Find(CZVWindow* panel) {
        W* found = nullptr;
        ForEachChild(panel->GetChildren(), [&found](CZVWindow* child) {
            if (!found) found = dynamic_cast<W*>(child);
        });
        return found;
    }
};

TEST_F(VideoPage, ShowsOneTabPerSourceAndTheControlsTheSourceAsksFor) {
    CVideoSourcesPage* page = Open();
    ASSERT_EQ(page->GetSources().size(), 4u);
    EXPECT_EQ(Tabs(page)->GetTabCount(), 4);
    ASSERT_TRUE(page->GetVideoWindow());
    EXPECT_EQ(page->GetVideoWindow()->GetSource(), 1);
    EXPECT_EQ(page->GetVideoWindow()->GetCapabilities(), 0x50A);
    EXPECT_TRUE(Find<CArrowPad>(page->GetPanel()));
    EXPECT_TRUE(Find<CFullScreenButton>(page->GetPanel()));

    Choose(page, 2);
    EXPECT_EQ(GetPageVariable(CVideoSourcesPage::kSourceVariable), 2);
    ASSERT_TRUE(page->GetVideoWindow());
    EXPECT_EQ(page->GetVideoWindow()->GetSource(), 3);
    EXPECT_FALSE(Find<CArrowPad>(page->GetPanel()));

    // The Media Room is the gateway's panel 8 for source 4, without a video window.
    Choose(page, 3);
    EXPECT_FALSE(page->GetVideoWindow());
    EXPECT_TRUE(dynamic_cast<CGatewayPanel*>(page->GetPanel()));
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(Find<CFullScreenButton>(page->GetPanel()));
}

TEST_F(VideoPage, ARememberedSourceBeyondTheTabsShowsTheLastOne) {
    SetPageVariable(CVideoSourcesPage::kSourceVariable, 7);
    CVideoSourcesPage* page = Open();
    EXPECT_EQ(GetPageVariable(CVideoSourcesPage::kSourceVariable), 3);
    EXPECT_EQ(Tabs(page)->GetSelectedIndex(), 3);
    EXPECT_TRUE(dynamic_cast<CGatewayPanel*>(page->GetPanel()));
}

TEST_F(VideoPage, TheArrowPadLightsWhileAMoveIsOwed) {
    CVideoSourcesPage* page = Open();
    ASSERT_TRUE(Settle());
    CArrowPad* pad = Find<CArrowPad>(page->GetPanel());
    ASSERT_TRUE(pad);
    const COLORREF before = pad->GetButton(1)->GetFaceColor();
    pad->OnCommand(CArrowPad::kRightId);
    EXPECT_TRUE(SettleUntil([this] { return CountOf(ZVM_VIDEO_CAMERARIGHTQ) == 1; }));
    const COLORREF lit = pad->GetButton(1)->GetFaceColor();
    EXPECT_NE(lit, before);
    EXPECT_NE(lit, pad->GetButton(0)->GetFaceColor());
}

TEST_F(VideoPage, FullScreenCoversTheWindowUntilTheNextTouch) {
    CVideoSourcesPage* page = Open();
    ASSERT_TRUE(Settle());
    CFullScreenButton* button = Find<CFullScreenButton>(page->GetPanel());
    ASSERT_TRUE(button);
    button->OnCommand(CFullScreenButton::kCommand);
    CVideoWnd* full = button->GetFullScreenWindow();
    ASSERT_TRUE(full);
    EXPECT_TRUE(window->GetChildren().Contains(full));
    EXPECT_EQ(full->GetWidth(), 800);  // n = min(800 / 40, 600 / 30) = 20
    EXPECT_EQ(full->GetHeight(), 600);
    EXPECT_TRUE(window->GetModal());
    EXPECT_NE(window->GetOverlayWindow(), nullptr);  // the next touch goes to the button
    EXPECT_FALSE(page->GetVideoWindow()->IsStreamStarted() && !page->GetVideoWindow()->IsStopPending());

    EXPECT_EQ(button->OnLButtonDown(5, 5, 1), 1);
    EXPECT_FALSE(button->GetFullScreenWindow());
    EXPECT_FALSE(window->GetModal());
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
}

TEST_F(VideoPage, APageThatGoesClearsOnlyAFocusItHolds) {
    CVideoSourcesPage* page = Open();
    EXPECT_EQ(window->GetFocusWindow(), page);
    CVideoSourcesPage* other = Open();
    EXPECT_EQ(window->GetFocusWindow(), other);
    Drop(page);
    EXPECT_EQ(window->GetFocusWindow(), other);
    Drop(other);
    EXPECT_EQ(window->GetFocusWindow(), nullptr);
}

TEST_F(VideoPage, ThePlayerVolumeComesBackAsItWasWhenThePageOpened) {
    CGatewayAudioPlayer player(server);
    player.SetVolume(30);
    CVideoSourcesPage* page = Open();
    player.SetVolume(80);  // the speaker selector turned the camera's sound up
    page->Rebuild();
    Drop(page);
    EXPECT_EQ(player.GetVolume(), 30);
    EXPECT_EQ(g_videoPageOpen, 0);
}

TEST_F(VideoPage, FrontDoorWithItsStrip) {
    CVideoSourcesPage* page = Open();
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "video_page_front_door"));
}

}  // namespace
