// The DVR pages: the clip map's cells, the time and speed texts, the speed slider's reach, and
// the recorder page against the sample house's recorder: its stream, its clips on the time
// line, what it repaints while hidden, its stream after a reconnection, and a seek that waits
// for the stop's answer, but not for ever.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "media_page_fixture.h"
#include "support/golden.h"
#include "vistrel/media/dvr/clipmap.h"
#include "vistrel/media/dvr/dvrpage.h"
#include "vistrel/media/dvr/dvrsources.h"
#include "vistrel/media/dvr/dvrtimeline.h"
#include "widgets/gauges/slider.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

// ---- tables without windows

void WriteClips(CZVMSG& message, int32_t cells, int32_t bytes, std::vector<uint8_t> data) {
    message.WriteInt(cells);
    message.WriteInt(bytes);
    if (!data.empty()) message.WriteBytes(data.data(), static_cast<int32_t>(data.size()));
    message.ResetPosition();
}

TEST(ClipMap, TwoCellsAByteTheLowerFirst) {
    CZVMSG message(0, ZVM_DVR_GETCLIPSA);
    WriteClips(message, 5, 3, {0x21, 0x76, 0xF5});
    CClipMap map;
    EXPECT_EQ(map.Read(message), 1);
    const struct {
        int index, value;
    } cases[] = {{-1, 0}, {0, 1}, {1, 2}, {2, 6}, {3, 7}, {4, 5}, {5, 15}, {6, 0}, {1000, 0}};
    for (const auto& c : cases) EXPECT_EQ(map.Get(c.index), c.value) << c.index;
    EXPECT_EQ(map.GetCellCount(), 5);
}

TEST(ClipMap, AByteCountBeyondThePayloadIsCutAndTheMissingCellsReadZero) {
    CZVMSG message(0, ZVM_DVR_GETCLIPSA);
    WriteClips(message, 400, 1000000, {0x33, 0x22});
    CClipMap map;
    EXPECT_EQ(map.Read(message), 0);
    EXPECT_EQ(map.GetByteCount(), 4);  // the two bytes and the padding the message holds
    EXPECT_EQ(map.Get(0), 3);
    EXPECT_EQ(map.Get(3), 2);
    EXPECT_EQ(map.Get(8), 0);
    EXPECT_EQ(map.Get(399), 0);
    CZVMSG negative(0, ZVM_DVR_GETCLIPSA);
    WriteClips(negative, 4, -5, {});
    EXPECT_EQ(map.Read(negative), 1);
    EXPECT_EQ(map.GetByteCount(), 0);
    EXPECT_EQ(map.Get(0), 0);
}

TEST(DvrTexts, TheTimeCarriesTheSpeedOnlyWhenItIsNotNormal) {
    CZVTime time;
    time.Set(2011, 6, 3, 15, 14, 35, 20, 470);
    EXPECT_EQ(FormatDvrDate(time), "Wednesday 6/15/2011");
    const struct {
        int speed;
        const char* text;
    } cases[] = {{10, "2:35:20.47 PM"}, {25, "2:35:20.47 PM (2.5 X)"}, {-10, "2:35:20.47 PM (-1.0 X)"}};
    for (const auto& c : cases) EXPECT_EQ(FormatDvrTime(time, c.speed), c.text);
    time.SetHour(0);
    EXPECT_EQ(FormatDvrTime(time, 10), "12:35:20.47 AM");
}

TEST(DvrTexts, TheSpeedSliderReachesTenTimesTheSpanInTens) {
    const struct { int span, limit; } cases[] = {{1440, 10000}, {60, 600}, {5, 100}, {43200, 10000}, {125, 1200}};
    for (const auto& c : cases) EXPECT_EQ(DvrSpeedLimit(c.span), c.limit) << c.span;
}

// ---- the pages against the sample house

class DvrPage : public mediatest::MediaPageTest {
protected:
    void SetUp() override { ConnectToSampleHouse(); }
    CDvrSourcesPage* Open() { return Keep(new CDvrSourcesPage(window.get(), window->GetPageArea(), server)); }
    std::vector<int32_t> LastIntsOf(uint16_t id) {
        const std::vector<testsupport::Frame> frames = gateway.RequestsOf(id);
        return frames.empty() ? std::vector<int32_t>{} : testsupport::IntsOf(frames.back());
    }
};

TEST_F(DvrPage, TheRecorderTabOpensItsStreamAndShowsItsClips) {
    CDvrSourcesPage* sources = Open();
    ASSERT_EQ(sources->GetSources().size(), 1u);
    CDvrPage* page = sources->GetDvrPage();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->GetDvrSource(), 20);
    EXPECT_EQ(page->GetStream(), 300);
    EXPECT_EQ(page->GetVideoWindow()->GetSource(), 300);
    ASSERT_TRUE(SettleUntil([page] { return page->GetTimeline()->GetClipMap().GetCellCount() > 0; }));
    EXPECT_FALSE(page->GetTimeline()->IsRequestPending());
    // A day's window: the slider spans -10000 .. 10000.
    EXPECT_EQ(page->GetSpeedSlider()->GetMaximum(), 10000);
    EXPECT_EQ(page->GetSpeedSlider()->GetMinimum(), -10000);
    int clips = 0;
    for (int i = 0; i < page->GetTimeline()->GetClipMap().GetCellCount(); ++i)
        clips += page->GetTimeline()->GetClipMap().Get(i) != 0;
    EXPECT_GT(clips, 0);
    // Playing half an hour ago, to the second, so that the picture does not follow the clock.
    CZVTime played;
    played.SetSecond(0);
    played.SetMilliseconds(0);
    played.AddMinutes(-30);
    page->OnPlaybackEvent({.kind = 2, .time = played, .text = "Driveway camera"});
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(sources), "dvr_page_clips"));
}

TEST_F(DvrPage, PlayingShowsTheEventAndTheTimeAndLetsTheSliderMove) {
    CDvrPage* page = Open()->GetDvrPage();
    ASSERT_TRUE(Settle());
    page->DoCommand(CDvrPage::kPlayId, 1);
    ASSERT_TRUE(SettleUntil([page] { return page->GetSpeedSlider()->IsEnabled() != 0; }));
    EXPECT_EQ(std::string(page->GetLabel(0)->GetText().GetAnsi()), "Driveway camera");
    EXPECT_FALSE(page->GetSaveButton()->IsEnabled());
    page->DoCommand(CDvrPage::kStopId, 1);
    ASSERT_TRUE(SettleUntil([page] { return page->GetSaveButton()->IsEnabled() != 0; }));
    EXPECT_EQ(page->GetOutstanding(), 0);
}

TEST_F(DvrPage, AHiddenPageLeavesTheScreenAlone) {
    CDvrPage* page = Open()->GetDvrPage();
    ASSERT_TRUE(Settle());
    page->OnPlaybackEvent({.kind = 2, .time = CZVTime(), .text = ""});
    window->PaintAll();
    page->Show(0, 1);
    // What shows now where the Save button was is drawn over by nothing the page does.
    CZV3DButton* save = page->GetSaveButton();
    {
        CZVDC dc(window.get());
        dc.FillRect(0x00FF00, save->ToRootX(0), save->ToRootY(0), save->GetWidth(), save->GetHeight(), 0);
    }
    page->OnPlaybackEvent({.kind = 0, .time = CZVTime(), .text = "Saved"});
    EXPECT_TRUE(save->IsEnabled());
    const testsupport::Image565 screen = testsupport::ImageOf(*window->GetScreen());
    const int x = save->ToRootX(save->GetWidth() / 2), y = save->ToRootY(save->GetHeight() / 2);
    EXPECT_EQ(screen.pixels[static_cast<size_t>(y * screen.width + x)], ToRgb565(0x00FF00));
}

TEST_F(DvrPage, AReconnectedPageStartsItsNewStream) {
    CDvrPage* page = Open()->GetDvrPage();
    ASSERT_TRUE(Settle());
    page->OnConnect(0);
    EXPECT_EQ(page->GetStream(), -1);
    const size_t starts = CountOf(ZVM_VIDEO_STARTSTREAMQ);
    page->OnConnect(1);
    EXPECT_EQ(page->GetStream(), 300);
    ASSERT_TRUE(SettleUntil([&] { return CountOf(ZVM_VIDEO_STARTSTREAMQ) > starts; }));
    EXPECT_EQ(LastIntsOf(ZVM_VIDEO_STARTSTREAMQ).at(0), 300);
}

TEST_F(DvrPage, ASeekWaitsForTheStopsAnswerButNoLongerThanTwoSeconds) {
    CDvrPage* page = Open()->GetDvrPage();
    ASSERT_TRUE(Settle());
    CZVTime seek;
    seek.AddMinutes(-90);
    // The stop is counted; until its answer is read the seek waits.
    page->DoCommand(CDvrPage::kStopId, 1);
    page->OnSeek(seek);
    page->OnIdle(0);
    EXPECT_TRUE(page->IsSeekPending());
    ASSERT_TRUE(SettleUntil([page] { return !page->IsSeekPending(); }));
    ASSERT_TRUE(SettleUntil([this] { return LastIntsOf(ZVM_DVR_PLAYQ).at(1) == CDvrPage::kPlayFrom; }));

    // An answer not read within two seconds holds the seek back no longer.
    page->DoCommand(CDvrPage::kStopId, 1);
    page->OnSeek(seek);
    page->OnIdle(0);
    EXPECT_TRUE(page->IsSeekPending());
    clock.Advance(CDvrPage::kSeekGateMs);
    EXPECT_EQ(page->OnIdle(0), 1);
    EXPECT_FALSE(page->IsSeekPending());
    EXPECT_EQ(page->GetOutstanding(), 2);  // the stop's and the seek's answers are still to come
}

TEST_F(DvrPage, AStreamChangeOfAnotherRecorderIsIgnored) {
    CDvrPage* page = Open()->GetDvrPage();
    ASSERT_TRUE(Settle());
    const size_t asks = CountOf(ZVM_DVR_GETCLIPSQ);
    CZVMSG other(0, ZVM_DVR_STREAMCHANGED);
    other.WriteInt(21);
    page->OnMessage(&other);
    CZVMSG own(0, ZVM_DVR_STREAMCHANGED);
    own.WriteInt(20);
    page->OnMessage(&own);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(CountOf(ZVM_DVR_GETCLIPSQ), asks + 1);
}

TEST_F(DvrPage, ASourcesPageThatGoesClearsOnlyAFocusItHolds) {
    CDvrSourcesPage* page = Open();
    CZVWindow other(nullptr, CZVRect(0, 0, 1, 1), 0);
    window->SetFocusWindow(&other);
    Drop(page);
    EXPECT_EQ(window->GetFocusWindow(), &other);
    window->SetFocusWindow(nullptr);
}

}  // namespace
