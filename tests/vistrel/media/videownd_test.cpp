// The video window against a fake gateway: what it asks for, how it takes
// tiles and pictures, what a tap sends, and the registries that find it.
#include <gtest/gtest.h>

#include <vector>

#include "core/messages/mediamessages.h"
#include "gfx/picture_files.h"
#include "platform/keys.h"
#include "samplegateway/cameravideo.h"
#include "support/golden.h"
#include "vistrel/media/video/playbackevent.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/media/video/videownd.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/gateway_tree.h"

namespace {

std::vector<uint8_t> FlatJpeg(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    pictures::JpegSpec spec;
    spec.width = w;
    spec.height = h;
    for (int i = 0; i < w * h; ++i) spec.samples.insert(spec.samples.end(), {r, g, b});
    return pictures::MakeJpeg(spec);
}

struct EventSink : CPlaybackEventSink {
    void OnPlaybackEvent(const CPlaybackEvent& event) override { events.push_back(event); }
    std::vector<CPlaybackEvent> events;
};

CZVTime QuarterPastTwo() {
    CZVTime time;
    time.Set(2011, 6, 3, 15, 14, 15, 0, 0);
    return time;
}

// A playback event of kind 2 cut after the given fields: 0 none, 1 the kind, 2 half the time, 3 the
// time, 4 the text as well.
void WritePlaybackEvent(CZVMSG& message, int fields) {
    if (fields >= 1) message.WriteInt(2);
    if (fields == 2) message.WriteInt(2011);
    if (fields >= 3) message.WriteTime(QuarterPastTwo());
    if (fields >= 4) message.WriteString("Driveway camera");
    message.ResetPosition();
}

TEST(PlaybackEvent, IsReadWholeOrNotAtAll) {
    for (int fields = 0; fields < 4; ++fields) {
        CZVMSG message(0, ZVM_VIDEO_EVENT);
        WritePlaybackEvent(message, fields);
        CPlaybackEvent event{.kind = 7, .time = CZVTime(), .text = "kept"};
        EXPECT_FALSE(ReadPlaybackEvent(message, &event)) << fields;
        EXPECT_EQ(event.kind, 7) << fields;
        EXPECT_EQ(event.text, "kept") << fields;
    }
    CZVMSG message(0, ZVM_VIDEO_EVENT);
    WritePlaybackEvent(message, 4);
    CPlaybackEvent event;
    ASSERT_TRUE(ReadPlaybackEvent(message, &event));
    EXPECT_EQ(event.kind, 2);
    EXPECT_TRUE(event.time == QuarterPastTwo());
    EXPECT_EQ(event.text, "Driveway camera");
}

struct Listener : CVideoListener {
    void OnQualityLevel(int level) override { levels.push_back(level); }
    void OnSourceInfo(int a, int b) override { info = {a, b}; }
    void OnCameraMoves(int left, int right, int up, int down) override { moves = {left, right, up, down}; }
    std::vector<int> levels;
    std::vector<int> info;
    std::vector<int> moves;
};

class VideoWindow : public widgettest::GatewayTree {
protected:
    VideoWindow() { CreateVideoRegistries(); }
    ~VideoWindow() override { DestroyVideoRegistries(); }
    void SetUp() override {
        Connect();
        harness.Clock().Advance(1000);
    }
    CVideoWnd* Make(CZVRect rect, int pictureWidth, int pictureHeight, int source, int margin = 0) {
        auto* window = new CVideoWnd(&root, rect, pictureWidth, pictureHeight, &listener, margin, source, -1, 1);
        root.AddChild(window);
        return window;
    }
    // Returns the message's whole size, as a frame acknowledgement counts it.
    static int32_t Deliver(CVideoWnd* window, uint16_t id, std::initializer_list<int32_t> ints,
                           const std::vector<uint8_t>& bytes = {}) {
        CZVMSG message(0, id);
        for (int32_t v : ints) message.WriteInt(v);
        if (!bytes.empty()) message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        message.ResetPosition();
        window->OnMessage(&message);
        return message.GetTotalSize();
    }
    // A camera's MPEG file in the gateway's chunks at the quality level, the first chunk
    // resetting the stream; each chunk is decoded as far as it goes.
    static void FeedMpeg(CVideoWnd* window, std::span<const uint8_t> file, int quality) {
        constexpr size_t kChunk = 5000;
        for (size_t at = 0; at < file.size(); at += kChunk) {
            const size_t size = std::min(kChunk, file.size() - at);
            Deliver(window, ZVM_VIDEO_MPEGDATA, {at == 0, static_cast<int32_t>(size), quality << 8},
                    std::vector<uint8_t>(file.begin() + static_cast<ptrdiff_t>(at),
                                         file.begin() + static_cast<ptrdiff_t>(at + size)));
            CZVDC dc(window);
            while (window->GetStreamBuffer().GetFill() >= CMpegDecoder::kFeedSize && window->DecodeStep(&dc, 0)) {
            }
        }
    }
    std::vector<int32_t> Next(uint16_t id) { return IntsOf(NextRequest(id)); }

    Listener listener;
};

TEST_F(VideoWindow, StartAsksForTheSourceItsStreamAndCapabilities) {
    CVideoWnd* window = Make(CZVRect(0, 0, 160, 120), 160, 120, 3);
    ASSERT_EQ(window->Start(3, 2), 1);
    EXPECT_EQ(Next(ZVM_VIDEO_SETQUALITY), (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(Next(ZVM_VIDEO_SELECTSOURCEQ), (std::vector<int32_t>{3}));
    EXPECT_EQ(Next(ZVM_VIDEO_STARTSTREAMQ), (std::vector<int32_t>{3, window->GetId(), 160, 120, 7}));
    EXPECT_EQ(Next(ZVM_VIDEO_GETCAPSQ), (std::vector<int32_t>{3}));
    Deliver(window, ZVM_VIDEO_STARTSTREAMA, {0x400});
    Deliver(window, ZVM_VIDEO_SELECTSOURCEA, {4});
    EXPECT_TRUE(window->IsStreamStarted());
    EXPECT_EQ(window->GetCapabilities(), 0x400);
    EXPECT_EQ(listener.info, (std::vector<int>{4, 0}));
}

TEST_F(VideoWindow, ANoSourceWindowStillStartsButNeverStopsOrAsksForQuality) {
    CVideoWnd* window = Make(CZVRect(0, 0, 160, 120), 160, 120, -1);
    window->Start(-1, 1);
    window->Stop();
    EXPECT_EQ(Next(ZVM_VIDEO_STARTSTREAMQ)[0], -1);
    EXPECT_EQ(window->SetQuality(1), 0);
    EXPECT_FALSE(window->IsStopPending());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_VIDEO_SETQUALITY).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_VIDEO_STOPSTREAMQ).empty());
}

TEST_F(VideoWindow, TilesAreAcknowledgedAndDrawnExceptWhileAStopIsPending) {
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 320, 240, 1);
    harness.PaintAll();
    const std::vector<uint8_t> red = FlatJpeg(16, 16, 255, 0, 0);
    const int32_t redSize = Deliver(window, ZVM_VIDEO_TILE, {1, 1, 0, 0, 0, 16, 16, 0}, red);
    EXPECT_GE(redSize, static_cast<int32_t>(32 + red.size() + 8));
    EXPECT_EQ(Next(ZVM_VIDEO_FRAMEACK), (std::vector<int32_t>{redSize}));
    EXPECT_EQ(harness.PixelAt(8, 8) & 0xF800, 0xF800);
    EXPECT_EQ(window->GetQualityLevel(), 1);

    window->Stop();
    EXPECT_EQ(Next(ZVM_VIDEO_STOPSTREAMQ), (std::vector<int32_t>{1, window->GetId()}));
    const std::vector<uint8_t> green = FlatJpeg(16, 16, 0, 255, 0);
    Deliver(window, ZVM_VIDEO_TILE, {1, 1, 0, 20, 0, 16, 16, 0}, green);  // dropped, not acknowledged
    Deliver(window, ZVM_VIDEO_STOPSTREAMA, {});
    // Past the buffer: acknowledged but not drawn.
    const int32_t pastSize = Deliver(window, ZVM_VIDEO_TILE, {1, 1, 0, 310, 0, 16, 16, 0}, green);
    const std::vector<uint8_t> blue = FlatJpeg(8, 8, 0, 0, 255);
    const int32_t blueSize = Deliver(window, ZVM_VIDEO_TILE, {2, 1, 0, 100, 100, 8, 8, 0}, blue);
    EXPECT_EQ(Next(ZVM_VIDEO_FRAMEACK), (std::vector<int32_t>{pastSize}));
    EXPECT_EQ(Next(ZVM_VIDEO_FRAMEACK), (std::vector<int32_t>{blueSize}));
    EXPECT_NE(harness.PixelAt(25, 8) & 0x07E0, 0x07E0);  // the dropped tile was not drawn
    EXPECT_NE(harness.PixelAt(315, 8) & 0x07E0, 0x07E0);
    EXPECT_EQ(harness.PixelAt(104, 104) & 0x001F, 0x001F);
    EXPECT_EQ(listener.levels, (std::vector<int>{1, 2}));
}

TEST_F(VideoWindow, WholePicturesAreScaledAndSetTheQualityByWidth) {
    CVideoWnd* window = Make(CZVRect(0, 0, 160, 120), 160, 120, 1);
    harness.PaintAll();
    const int widths[] = {160, 320, 639, 640};
    const int levels[] = {0, 1, 1, 2};
    for (int i = 0; i < 4; ++i) {
        Deliver(window, ZVM_VIDEO_FRAME, {}, FlatJpeg(widths[i], 48, 0, 0, 255));
        EXPECT_EQ(window->GetQualityLevel(), levels[i]) << widths[i];
    }
    EXPECT_EQ(harness.PixelAt(159, 119) & 0x001F, 0x001F);
    // A picture beyond what any gateway sends is refused before it is allocated.
    std::vector<uint8_t> huge = FlatJpeg(16, 16, 255, 0, 0);
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {  // the frame header's height and width
            huge[i + 5] = huge[i + 7] = 0x7F;
            break;
        }
    Deliver(window, ZVM_VIDEO_FRAME, {}, huge);
    EXPECT_EQ(harness.PixelAt(80, 60) & 0x001F, 0x001F);
}

TEST_F(VideoWindow, ATapAsksTheCameraToCentreOnThePointAfterTheLocalPan) {
    // A 400-pixel picture in a 320-pixel window: 80 pixels of pan.
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 400, 240, 5);
    harness.PaintAll();
    harness.Tap(160, 120);  // the centre asks for no move at all
    EXPECT_EQ(Next(ZVM_VIDEO_ZOOM), (std::vector<int32_t>{5, 0, 0, 0, 0}));
    harness.Tap(319, 120);  // 159 right: 79 panned here (the last position), 80 for the camera
    EXPECT_EQ(window->GetPanPosition(), 79);
    EXPECT_EQ(Next(ZVM_VIDEO_ZOOM), (std::vector<int32_t>{5, 80 * 100 / 320, 0, 0, 0}));
    window->ScrollBy(-500);
    EXPECT_EQ(window->GetPanPosition(), 0);
}

TEST_F(VideoWindow, ADragWithZoomAllowedAsksForTheRectangle) {
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 320, 240, 5);
    Deliver(window, ZVM_VIDEO_STARTSTREAMA, {CVideoWnd::kCapZoomRect});
    harness.PaintAll();
    harness.Press(100, 100);
    window->OnMouseMove(140, 130, 0);  // 40 across, 30 down: the 4:3 rectangle
    harness.Release(140, 130);
    EXPECT_EQ(Next(ZVM_VIDEO_ZOOM), (std::vector<int32_t>{5, (100 - 160) * 100 / 320, (100 - 120) * 100 / 240,
                                                          40 * 200 / 320, 30 * 200 / 240}));
}

TEST_F(VideoWindow, CameraMovesAreCountedUntilAnsweredEvenWhileInputIsBlocked) {
    CVideoWnd* window = Make(CZVRect(0, 0, 160, 120), 160, 120, 2);
    ASSERT_EQ(window->CameraLeft(), 1);
    EXPECT_EQ(listener.moves, (std::vector<int>{1, 0, 0, 0}));
    CZVWindow other(&root, CZVRect(200, 0, 50, 50), 0);
    root.overlay = &other;
    Deliver(window, ZVM_VIDEO_CAMERALEFTA, {});
    Deliver(window, ZVM_VIDEO_STARTSTREAMA, {7});
    root.overlay = nullptr;
    root.RemoveChild(&other);
    EXPECT_EQ(listener.moves, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(window->GetCapabilities(), 7);
    window->OnKeyDown(platform::VK_DOWN, 0);
    EXPECT_EQ(Next(ZVM_VIDEO_CAMERADOWNQ), (std::vector<int32_t>{2}));
    EXPECT_EQ(Next(ZVM_VIDEO_CAMERAARROWDONE), (std::vector<int32_t>{2}));
}

TEST_F(VideoWindow, TheCameraAudioGoesToTheLastWindowOfTheSourceAndStopsForAll) {
    CVideoWnd* first = Make(CZVRect(0, 0, 80, 60), 80, 60, 4);
    CVideoWnd* second = Make(CZVRect(80, 0, 80, 60), 80, 60, 4);
    CVideoWnd* other = Make(CZVRect(160, 0, 80, 60), 80, 60, 6);
    other->StartAudio();
    EXPECT_EQ(SelectVideoAudio(4), 1);
    EXPECT_FALSE(first->IsAudioOn());
    EXPECT_TRUE(second->IsAudioOn());
    EXPECT_FALSE(other->IsAudioOn());
    EXPECT_EQ(StopAllVideoAudio(nullptr), 1);
    EXPECT_FALSE(second->IsAudioOn());
    EXPECT_EQ(GetVideoWindowCount(), 3);
    EXPECT_EQ(SelectVideoAudio(9), 0);
    for (CVideoWnd* w : {first, second, other}) EXPECT_FALSE(w->IsAudioOn());
}

TEST(AlignVideoSize, SnapsToTheLargestFourByThreeWithin) {
    struct Case {
        int w, h, flags, ew, eh;
    };
    const Case cases[] = {
        {320, 240, 0x20, 320, 240}, {330, 250, 0x20, 320, 240}, {640, 120, 0x20, 160, 120},
        {160, 480, 0x20, 160, 120}, {5, 5, 0x20, 16, 12},       {330, 250, 0, 330, 250},
    };
    for (const Case& c : cases) {
        int w = c.w, h = c.h;
        AlignVideoSize(&w, &h, c.flags);
        EXPECT_EQ(w, c.ew) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.eh) << c.w << "x" << c.h;
    }
}

TEST_F(VideoWindow, ConnectingTextAndStatusTextLook) {
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 320, 240, 1);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "video_connecting"));
    CZVMSG message(0, ZVM_VIDEO_STATUSTEXT);
    message.WriteString("Camera offline");
    message.ResetPosition();
    window->OnMessage(&message);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "video_status_text"));
}

TEST_F(VideoWindow, AnMpegPictureShowsUnderAChildButton) {
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 320, 240, 3);
    auto* button = new CZVButton(window, CZVRect(200, 180, 100, 40), 7, 16);
    button->SetText("Live", nullptr, 0);
    window->AddChild(button);
    harness.PaintAll();
    FeedMpeg(window, samplegateway::CameraVideo352x240(), 2);
    EXPECT_EQ(window->GetQualityLevel(), 2);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "video_mpeg_under_button"));
}

// A recorder's stream passes its page only the events it could read whole.
TEST_F(VideoWindow, APlaybackEventReachesTheRecorderPageOnlyWhole) {
    gateway.Answer(ZVM_DVR_OPENSTREAMQ, testsupport::PayloadWriter().Int(300));
    CVideoWnd* window = Make(CZVRect(0, 0, 160, 120), 160, 120, 0);
    EventSink page;
    ASSERT_EQ(window->OpenDvrStream(&page, 20), 300);
    for (int fields = 0; fields <= 4; ++fields) {
        CZVMSG message(0, ZVM_VIDEO_EVENT);
        WritePlaybackEvent(message, fields);
        window->OnMessage(&message);
    }
    ASSERT_EQ(page.events.size(), 1u);
    EXPECT_EQ(page.events[0].kind, 2);
    EXPECT_TRUE(page.events[0].time == QuarterPastTwo());
    EXPECT_EQ(page.events[0].text, "Driveway camera");
}

// The decoder is fed whole pieces: the idle pass decodes once 5000 bytes wait, not before, and
// then tells the gateway how much is left.
TEST_F(VideoWindow, TheIdlePassDecodesOnceAWholePieceWaits) {
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 320, 240, 3);
    harness.PaintAll();
    const std::span<const uint8_t> file = samplegateway::CameraVideo352x240();
    auto chunk = [&](size_t at, size_t size) {
        return std::vector<uint8_t>(file.begin() + static_cast<ptrdiff_t>(at),
                                    file.begin() + static_cast<ptrdiff_t>(at + size));
    };
    Deliver(window, ZVM_VIDEO_MPEGDATA, {1, CMpegDecoder::kFeedSize - 1, 0}, chunk(0, CMpegDecoder::kFeedSize - 1));
    harness.Clock().Advance(100);
    window->OnIdle(0);
    EXPECT_EQ(window->GetStreamBuffer().GetFill(), CMpegDecoder::kFeedSize - 1);
    EXPECT_FALSE(gateway.WaitForRequest(ZVM_VIDEO_BUFFERLEVEL, nullptr, 0));

    Deliver(window, ZVM_VIDEO_MPEGDATA, {0, 1, 0}, chunk(CMpegDecoder::kFeedSize - 1, 1));
    harness.Clock().Advance(100);
    window->OnIdle(0);
    EXPECT_LT(window->GetStreamBuffer().GetFill(), CMpegDecoder::kFeedSize);
    EXPECT_EQ(Next(ZVM_VIDEO_BUFFERLEVEL), (std::vector<int32_t>{window->GetStreamBuffer().GetFill()}));
}

// The gateway switches a camera between its small and its large file as the quality changes: a
// window 320 wide shows each file's own last picture, whatever came before, and follows the
// level both ways.
TEST_F(VideoWindow, SwitchingQualityAcross320ShowsEachFilesOwnPictures) {
    CVideoWnd* window = Make(CZVRect(0, 0, 320, 240), 320, 240, 3);
    harness.PaintAll();
    FeedMpeg(window, samplegateway::CameraVideo176x144(), 0);
    const testsupport::Image565 small = harness.Capture();
    FeedMpeg(window, samplegateway::CameraVideo352x240(), 2);
    const testsupport::Image565 large = harness.Capture();
    EXPECT_NE(small, large);
    FeedMpeg(window, samplegateway::CameraVideo176x144(), 0);
    EXPECT_EQ(harness.Capture(), small);
    FeedMpeg(window, samplegateway::CameraVideo352x240(), 2);
    EXPECT_EQ(harness.Capture(), large);
    EXPECT_EQ(listener.levels, (std::vector<int>{0, 2, 0, 2}));
}

}  // namespace
