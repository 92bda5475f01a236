// The picture control of gateway pages: what each kind asks for and at which
// size, the scale rule, answers that do not decode, "Image Not Available",
// the full-screen picture each control asks for itself and its hold, the
// tracker a dying control leaves alone, and the camera's live view geometry.
#include "vistrel/media/pictures/picview.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "picture_fixture.h"
#include "platform/keys.h"
#include "samplegateway/wire.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell_fixture.h"

namespace {

class PicView : public vistreltest::ShellTest {
protected:
    // The sample house answers the window's own questions; the pictures are the test's.
    PicView() {
        testsupport::ServeSampleInstallation(gateway);
        for (uint16_t id : {ZVM_PICTURES_GETPICTUREQ, ZVM_PICTURES_GETALBUMPICTUREQ, ZVM_PICTURES_GETFRAMEPICTUREQ,
                            ZVM_PICTURES_SUBSCRIBEFRAMEQ, ZVM_WEATHER_GETIMAGEQ, ZVM_VIDEO_GETSNAPSHOTQ})
            gateway.On(id, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    }
    void SetUp() override {
        Connect();
        ASSERT_TRUE(Settle());
        page = new CZVWindow(window.get(), CZVRect(0, 0, 320, 240), 0);
        window->AddChild(page);
    }

    // A control on the page, as gateway pages place them.
    CPicView* Make(int kind, CZVRect rect, int bevelType = 0, const char* name = "logo.jpg", int id = 2) {
        auto* view = new CPicView(page, rect, server, name, kind, id, bevelType);
        page->AddChild(view);
        return view;
    }
    void Remove(CPicView* view) {
        page->RemoveChild(view);
        delete view;
    }
    // The ints of the last request of that id the gateway received, once every request is in.
    std::vector<int32_t> LastRequest(uint16_t id) {
        EXPECT_TRUE(Settle());
        const std::vector<testsupport::Frame> frames = gateway.RequestsOf(id);
        return frames.empty() ? std::vector<int32_t>{} : testsupport::IntsOf(frames.back());
    }
    size_t RequestsOf(uint16_t id) {
        EXPECT_TRUE(Settle());
        return gateway.RequestsOf(id).size();
    }
    static void Give(CPicView* view, uint16_t id, const std::vector<uint8_t>& payload) {
        CZVMSG message(0, id);
        if (!payload.empty()) message.WriteBytes(payload.data(), static_cast<int32_t>(payload.size()));
        message.ResetPosition();
        view->OnMessage(&message);
    }
    // 0x2AF8 {w, h, JPEG} of a flat w x h picture.
    static void GivePicture(CPicView* view, int w, int h, uint8_t red = 200) {
        CZVMSG message(0, ZVM_PICTURES_PICTURE);
        message.WriteInt(w);
        message.WriteInt(h);
        const std::vector<uint8_t> jpeg = picturetest::FlatJpeg(w, h, red, 120, 60);
        message.WriteBytes(jpeg.data(), static_cast<int32_t>(jpeg.size()));
        message.ResetPosition();
        view->OnMessage(&message);
    }
    CZVWindow* page = nullptr;

    // A touch in the middle of the control, a second after the one before.
    void TapMiddle(CPicView* view) {
        clock.Advance(1000);
        const int x = view->ToRootX(view->GetWidth() / 2), y = view->ToRootY(view->GetHeight() / 2);
        view->OnLButtonDown(x, y, 0);
        view->OnLButtonUp(x, y, 0);
    }
};

TEST_F(PicView, EachKindAsksForItsPictureAtItsInnerSizeRoundedUpToEven) {
    struct Case {
        int kind;
        int bevelType;
        uint16_t request;
        std::vector<int32_t> (*expected)(int32_t sink);
    };
    // 201 x 120 with an inset of 2: 197 rounded up to 198, 116.
    const Case cases[] = {
        {CPicView::kNamedPicture, 1, ZVM_PICTURES_GETPICTUREQ,
         [](int32_t) {
             return std::vector<int32_t>{198, 116};
         }},
        {CPicView::kFirstAlbum, 1, ZVM_PICTURES_GETALBUMPICTUREQ,
         [](int32_t sink) {
             return std::vector<int32_t>{sink, 2, 198, 116};
         }},
        {CPicView::kWeather, 0, ZVM_WEATHER_GETIMAGEQ,
         [](int32_t) {
             return std::vector<int32_t>{202, 120};
         }},
        {CPicView::kPhotoFrame, 1, ZVM_PICTURES_GETFRAMEPICTUREQ,
         [](int32_t sink) {
             return std::vector<int32_t>{sink, 2, 198, 116};
         }},
        // The camera's snapshot is not rounded.
        {CPicView::kCamera, 1, ZVM_VIDEO_GETSNAPSHOTQ,
         [](int32_t) {
             return std::vector<int32_t>{2, 197, 116};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        CPicView* view = Make(c.kind, CZVRect(10, 10, c.kind == CPicView::kWeather ? 202 : 201, 120), c.bevelType);
        std::vector<int32_t> asked = LastRequest(c.request);
        if (c.kind == CPicView::kNamedPicture) asked.resize(2);  // the name follows
        EXPECT_EQ(asked, c.expected(view->GetId()));
        Remove(view);
    }
    EXPECT_EQ(LastRequest(ZVM_PICTURES_SUBSCRIBEFRAMEQ), std::vector<int32_t>{2});
}

TEST_F(PicView, AnswersCloseToTheControlsSizeStayAndOthersAreScaledToIt) {
    CPicView* view = Make(CPicView::kNamedPicture, CZVRect(0, 0, 128, 100));
    GivePicture(view, 130, 100);
    ASSERT_NE(view->GetPicture(), nullptr);
    EXPECT_EQ(view->GetPicture()->GetRequestedWidth(), 130);
    GivePicture(view, 640, 480);
    EXPECT_EQ(view->GetPicture()->GetRequestedWidth(), 128);
    EXPECT_EQ(view->GetPicture()->GetHeight(), 100);
}

TEST_F(PicView, AnAnswerThatDoesNotDecodeKeepsThePictureShown) {
    CPicView* view = Make(CPicView::kFirstAlbum, CZVRect(0, 0, 128, 100));
    GivePicture(view, 128, 100);
    CDibDC* shown = view->GetPicture();
    std::vector<uint8_t> broken = picturetest::FlatJpeg(64, 48);
    broken.resize(broken.size() / 3);  // the header reads, the data ends early
    std::vector<uint8_t> payload = {64, 0, 0, 0, 48, 0, 0, 0};
    payload.insert(payload.end(), broken.begin(), broken.end());
    Give(view, ZVM_PICTURES_PICTURE, payload);
    EXPECT_EQ(view->GetPicture(), shown);
    // Sizes beyond the picture limits are refused before anything is made.
    Give(view, ZVM_PICTURES_PICTURE, {0, 0, 0, 0});
    EXPECT_EQ(view->GetPicture(), shown);
}

TEST_F(PicView, TheGatewaysPushesAskForTheNextPictureAndEndWithImageNotAvailable) {
    CPicView* view = Make(CPicView::kFirstAlbum, CZVRect(110, 80, 200, 150), 3);
    const size_t asked = RequestsOf(ZVM_PICTURES_GETALBUMPICTUREQ);
    Give(view, ZVM_PICTURES_NEXTPICTURE, {});
    EXPECT_EQ(LastRequest(ZVM_PICTURES_GETALBUMPICTUREQ).size(), 4u);
    EXPECT_EQ(RequestsOf(ZVM_PICTURES_GETALBUMPICTUREQ), asked + 1);
    Give(view, ZVM_PICTURES_PICTUREEND, {});
    ASSERT_NE(view->GetPicture(), nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(view), "vistrel_picview_not_available"));
    // A picture shown stays when the gateway ends without one.
    GivePicture(view, 196, 146);
    CDibDC* shown = view->GetPicture();
    Give(view, ZVM_PICTURES_PICTUREEND, {});
    EXPECT_EQ(view->GetPicture(), shown);
    // Five minutes after the last request the control asks again.
    clock.Advance(CPicView::kRefreshInterval + 1);
    window->OnIdle(0);
    EXPECT_EQ(RequestsOf(ZVM_PICTURES_GETALBUMPICTUREQ), asked + 2);
}

TEST_F(PicView, EachControlShowsOnlyItsOwnFullScreenPicture) {
    CPicView* first = Make(CPicView::kNamedPicture, CZVRect(10, 10, 100, 80));
    CPicView* second = Make(CPicView::kFirstAlbum, CZVRect(150, 10, 100, 80));
    GivePicture(first, 100, 80);
    GivePicture(second, 100, 80);
    TapMiddle(first);
    EXPECT_TRUE(first->IsFullScreenRequested());
    EXPECT_EQ(LastRequest(ZVM_PICTURES_GETPICTUREQ).front(), 320);
    // The other control's own touch asks for its own.
    TapMiddle(second);
    EXPECT_TRUE(second->IsFullScreenRequested());
    EXPECT_EQ(LastRequest(ZVM_PICTURES_GETALBUMPICTUREQ)[2], 320);
    // A release away from the control after a press on it asks for nothing.
    const size_t asked = RequestsOf(ZVM_PICTURES_GETPICTUREQ);
    first->OnLButtonDown(first->ToRootX(5), first->ToRootY(5), 0);
    first->OnLButtonUp(300, 200, 0);
    EXPECT_EQ(RequestsOf(ZVM_PICTURES_GETPICTUREQ), asked);
    // The second's answer shows full screen for it alone.
    GivePicture(second, 320, 240, 40);
    EXPECT_TRUE(second->IsHolding());
    EXPECT_FALSE(first->IsHolding());
    EXPECT_TRUE(first->IsFullScreenRequested());
    EXPECT_EQ(window->GetOverlayWindow(), second);
}

TEST_F(PicView, TheHoldEndsAtAKeyATouchOrTenMinutesWhileTheGatewayKeepsTalking) {
    CPicView* view = Make(CPicView::kNamedPicture, CZVRect(10, 10, 100, 80));
    CPicView* other = Make(CPicView::kFirstAlbum, CZVRect(160, 100, 150, 130));
    GivePicture(view, 100, 80);
    auto hold = [&] {
        TapMiddle(view);
        GivePicture(view, 320, 240, 40);
        ASSERT_TRUE(view->IsHolding());
    };
    hold();
    // The held picture covers the whole screen, not only the control.
    window->PaintAll();
    const testsupport::Image565 screen = testsupport::ImageOf(*window->GetScreen());
    EXPECT_EQ(screen.pixels[235 * 320 + 5], screen.pixels[50 * 320 + 60]);
    // Gateway messages are still taken in while the picture is held.
    ASSERT_TRUE(gateway.Push(ZVM_PICTURES_PICTUREEND, {}, other->GetId()));
    ASSERT_TRUE(PollUntil([&] { return other->GetPicture() != nullptr; }));
    EXPECT_TRUE(view->IsHolding());
    window->OnWindowEvent({platform::kWmKeyDown, 0, 0, 0, 'A', 0});
    EXPECT_FALSE(view->IsHolding());
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_NE(window->GetFocusWindow(), view);

    hold();
    window->OnWindowEvent({platform::kWmLButtonDown, 300, 200, 0, 0, 0});
    EXPECT_FALSE(view->IsHolding());

    hold();
    clock.Advance(CPicView::kHoldLimit - 1);
    view->OnIdle(0);
    EXPECT_TRUE(view->IsHolding());
    clock.Advance(1);
    view->OnIdle(0);
    EXPECT_FALSE(view->IsHolding());
}

TEST_F(PicView, TheCameraAsksForASnapshotEveryFiveSecondsUnlessItsLiveViewIsShown) {
    Make(CPicView::kCamera, CZVRect(10, 10, 100, 80));
    const size_t asked = RequestsOf(ZVM_VIDEO_GETSNAPSHOTQ);
    clock.Advance(CPicView::kSnapshotInterval + 1);
    window->OnIdle(0);
    EXPECT_EQ(RequestsOf(ZVM_VIDEO_GETSNAPSHOTQ), asked + 1);
    // The live view sets the main window's modal flag.
    window->SetModal(1);
    clock.Advance(CPicView::kSnapshotInterval + 1);
    window->OnIdle(0);
    EXPECT_EQ(RequestsOf(ZVM_VIDEO_GETSNAPSHOTQ), asked + 1);
    window->SetModal(0);
}

TEST_F(PicView, ADyingControlLeavesAnotherControlsTrackingAlone) {
    CPicView* tracking = Make(CPicView::kNamedPicture, CZVRect(10, 10, 100, 80));
    CPicView* other = Make(CPicView::kNamedPicture, CZVRect(150, 10, 100, 80));
    GivePicture(tracking, 100, 80);
    ASSERT_TRUE(Settle());
    TapMiddle(tracking);
    Remove(other);
    ASSERT_TRUE(Settle());
    window->PaintAll();
    // The pieces of a picture on its way still show as progress on the tracking control.
    const CZVRect bar = tracking->GetProgressRect();
    const size_t at = static_cast<size_t>(tracking->ToRootY(bar.y + bar.h / 2) * 320 + tracking->ToRootX(bar.x + 2));
    auto pixel = [&] { return testsupport::ImageOf(*window->GetScreen()).pixels[at]; };
    const uint16_t before = pixel();
    const uint16_t nobody = 0x7000;
    ASSERT_TRUE(gateway.Push(ZVM_PICTURES_PICTURE, {0, 0, 0, 0, 0, 0, 0, 0}, nobody));
    EXPECT_TRUE(PollUntil([&] { return pixel() != before; }));
}

// The sample house's panel of picture controls, built by the page control factory.
class PicViewPanel : public vistreltest::ShellTest {
protected:
    static constexpr int kPanelId = 50;

    PicViewPanel() {
        RegisterMediaPages();
        testsupport::ServeSampleInstallation(gateway);
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 480), 0, &m_native);
    }
    ~PicViewPanel() override { window.reset(); }
    void SetUp() override { Connect(); }

    std::vector<CPicView*> Views(CZVWindow* panel) {
        std::vector<CPicView*> views;
        for (ZVPOSITION pos = panel->GetChildren().GetHeadPosition(); pos;)
            if (auto* view = dynamic_cast<CPicView*>(static_cast<CZVWindow*>(panel->GetChildren().GetNext(pos))))
                views.push_back(view);
        return views;
    }

    platform::HeadlessWindow m_native{800, 480};
};

TEST_F(PicViewPanel, EveryKindShowsWhatTheSampleHouseServes) {
    // Right of the main menu.
    auto* panel = new CGatewayPanel(window.get(), CZVRect(110, 0, 680, 400), 0, kPanelId, 0);
    window->AddChild(panel);
    const std::vector<CPicView*> views = Views(panel);
    ASSERT_EQ(views.size(), 6u);
    ASSERT_TRUE(SettleUntil([&] {
        for (CPicView* view : views)
            if (!view->GetPicture()) return false;
        return true;
    }));
    EXPECT_EQ(views[3]->GetLink(), "about:blank");
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(panel), "vistrel_picview_panel"));
}

TEST(PicViewCamera, TheLiveViewIsTheLargestFourByThreeThatFitsCentred) {
    struct Case {
        int w, h;
        CZVRect view;
    };
    for (const Case& c : {Case{800, 600, CZVRect(0, 0, 800, 600)}, Case{800, 480, CZVRect(80, 0, 640, 480)},
                          Case{1024, 768, CZVRect(12, 9, 1000, 750)}}) {
        const CZVRect got = CPicView::CameraViewRect(c.w, c.h);
        EXPECT_EQ(got.x, c.view.x);
        EXPECT_EQ(got.y, c.view.y);
        EXPECT_EQ(got.w, c.view.w);
        EXPECT_EQ(got.h, c.view.h);
    }
}

}  // namespace
