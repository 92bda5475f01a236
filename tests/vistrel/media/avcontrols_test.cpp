// The controls that steer an audio/video source: where a touch on the XY pad
// or bar points and what it sends, where the gateway's position is drawn, the
// preset buttons' layouts and the Set button, Low/Med/High following the
// quality of the source's pictures, the -/+ buttons; every command goes out
// with sender 0 and none reaches the page.
#include <gtest/gtest.h>

#include <set>

#include "core/messages/mediamessages.h"
#include "device_fixture.h"
#include "gfx/speed.h"
#include "support/golden.h"
#include "vistrel/media/avcontrols/levelselect.h"
#include "vistrel/media/avcontrols/plusminus.h"
#include "vistrel/media/avcontrols/presetbuttons.h"
#include "vistrel/media/avcontrols/xypadctl.h"
#include "vistrel/media/video/videownd.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

using devicetest::DeviceControlTest;

constexpr int kSource = 7;
constexpr COLORREF kMarker = 0x30E0F0;  // yellow
constexpr int kRaisedBevel = 1;         // inset 2

class AvControls : public DeviceControlTest {
protected:
    CXYPadCtl* Pad(int type, int yMode, CZVRect rect = CZVRect(10, 10, 204, 104), int bevelType = kRaisedBevel) {
        return Place(new CXYPadCtl(page, kSource, rect, kMarker, bevelType, type, yMode));
    }
    uint16_t ScreenPixel(CXYPadCtl* pad, int x, int y) {
        return PictureOf(pad).pixels[static_cast<size_t>(y * pad->GetWidth() + x)];
    }
    // The requests of these ids, in order, once all are in.
    std::vector<testsupport::Frame> SentOf(std::set<uint16_t> ids) {
        EXPECT_TRUE(Settle());
        std::vector<testsupport::Frame> frames;
        for (const testsupport::Frame& frame : gateway.Requests())
            if (ids.count(frame.id)) frames.push_back(frame);
        return frames;
    }
};

TEST_F(AvControls, APressOnThePadSendsItsPercentagesAndTheMappedY) {
    struct Case {
        int type;
        int yMode;
        int dx, dy;
        uint16_t id;
        std::vector<int32_t> sent;
    };
    // 204 x 104 with an inset of 2 on each side: 200 x 100 to point into.
    const Case cases[] = {
        {CXYPadCtl::kPadType, CXYPadCtl::kFullRange, 100, 50, ZVM_AV_SETXY, {kSource, 50, 50}},
        {CXYPadCtl::kPadType, CXYPadCtl::kLowerHalf, 100, 50, ZVM_AV_SETXY, {kSource, 50, 25}},
        {CXYPadCtl::kPadType, CXYPadCtl::kUpperHalf, 100, 50, ZVM_AV_SETXY, {kSource, 50, 75}},
        {CXYPadCtl::kPadType, CXYPadCtl::kFullRange, 204, 104, ZVM_AV_SETXY, {kSource, 100, 100}},
        {CXYPadCtl::kPadType, CXYPadCtl::kFullRange, 0, 0, ZVM_AV_SETXY, {kSource, 0, 0}},
        {CXYPadCtl::kBarType, CXYPadCtl::kFullRange, 100, 50, ZVM_AV_SETAXIS, {kSource, 50}},
        {CXYPadCtl::kBarType, CXYPadCtl::kFullRange, 204, 10, ZVM_AV_SETAXIS, {kSource, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " mode " << c.yMode << " at " << c.dx << "," << c.dy);
        CXYPadCtl* pad = Pad(c.type, c.yMode);
        const size_t before = gateway.Requests().size();
        Press(pad, c.dx, c.dy);
        const std::vector<testsupport::Frame> sent = SentOf({ZVM_AV_SETXY, ZVM_AV_SETAXIS});
        ASSERT_FALSE(sent.empty());
        EXPECT_GT(gateway.Requests().size(), before);
        EXPECT_EQ(sent.back().id, c.id);
        EXPECT_EQ(sent.back().sender, 0);
        EXPECT_EQ(IntsOf(sent.back()), c.sent);
        page->RemoveChild(pad);
        delete pad;
    }
    EXPECT_EQ(CommandsAtThePage(), 0u);
}

TEST_F(AvControls, APadNoLargerThanItsFrameIgnoresTouches) {
    // Bevel type 2: an inset of 3 on each side leaves nothing of 6 x 40 or 40 x 5.
    for (CZVRect rect : {CZVRect(10, 10, 6, 40), CZVRect(10, 10, 40, 5)}) {
        for (int type : {CXYPadCtl::kPadType, CXYPadCtl::kBarType}) {
            CXYPadCtl* pad = Pad(type, CXYPadCtl::kFullRange, rect, 2);
            Press(pad, 2, 2);
            page->RemoveChild(pad);
            delete pad;
        }
    }
    EXPECT_TRUE(SentOf({ZVM_AV_SETXY, ZVM_AV_SETAXIS}).empty());
    // A press beside the pad is not the pad's.
    CXYPadCtl* pad = Pad(CXYPadCtl::kPadType, CXYPadCtl::kFullRange);
    pad->OnLButtonDown(pad->ToRootX(210), pad->ToRootY(50), 0);
    EXPECT_TRUE(SentOf({ZVM_AV_SETXY, ZVM_AV_SETAXIS}).empty());
}

TEST_F(AvControls, TheCrosshairAndTheBarShowTheGatewaysPosition) {
    const uint16_t marker = ToRgb565(kMarker);
    CXYPadCtl* pad = Pad(CXYPadCtl::kPadType, CXYPadCtl::kLowerHalf);
    CXYPadCtl* bar = Pad(CXYPadCtl::kBarType, CXYPadCtl::kFullRange, CZVRect(10, 120, 204, 104));
    ASSERT_TRUE(Settle());
    // Before the gateway told anything: the crosshair in the top-left corner inside the frame, the bar empty.
    EXPECT_EQ(ScreenPixel(pad, 4, 60), marker);
    EXPECT_EQ(ScreenPixel(pad, 150, 4), marker);
    EXPECT_NE(ScreenPixel(bar, 30, 50), marker);
    // y mode 2 draws y 25 at half the height: (100, 50).
    NotifyVideoCaps(kSource, 50, 25, 30, 0);
    EXPECT_EQ(pad->GetPositionX(), 50);
    EXPECT_EQ(ScreenPixel(pad, 100, 20), marker);
    EXPECT_EQ(ScreenPixel(pad, 30, 50), marker);
    EXPECT_NE(ScreenPixel(pad, 101, 20), marker);
    EXPECT_NE(ScreenPixel(pad, 4, 60), marker);
    // The bar takes the third value: 30 % of 200 reaches x = 60.
    EXPECT_EQ(bar->GetPositionX(), 30);
    EXPECT_EQ(ScreenPixel(bar, 30, 50), marker);
    EXPECT_EQ(ScreenPixel(bar, 58, 50), marker);
    EXPECT_NE(ScreenPixel(bar, 62, 50), marker);
    // Other sources' positions are not these controls'.
    NotifyVideoCaps(kSource + 1, 10, 10, 10, 0);
    EXPECT_EQ(pad->GetPositionX(), 50);
    // Far-out values keep the crosshair inside the frame.
    NotifyVideoCaps(kSource, 2000000000, -2000000000, 0, 0);
    EXPECT_EQ(ScreenPixel(pad, 200, 60), marker);
    EXPECT_EQ(ScreenPixel(pad, 60, 4), marker);
}

TEST_F(AvControls, ThePadAndTheBarLookRight) {
    CXYPadCtl* pad = Pad(CXYPadCtl::kPadType, CXYPadCtl::kFullRange, CZVRect(10, 10, 204, 104), 3);
    CXYPadCtl* bar = Pad(CXYPadCtl::kBarType, CXYPadCtl::kFullRange, CZVRect(10, 130, 204, 40), 3);
    NotifyVideoCaps(kSource, 70, 30, 45, 0);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(pad), "vistrel_xypad"));
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(bar), "vistrel_xypad_bar"));
}

TEST_F(AvControls, PresetsLieInRowsOrColumnsByTheShapeWithTheSetStripBesideThem) {
    struct Case {
        CZVRect rect;
        size_t columns, rows;
        bool setAtRight;
    };
    const Case cases[] = {{CZVRect(0, 0, 300, 100), 4, 2, true}, {CZVRect(0, 0, 200, 100), 2, 4, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rect.w);
        auto* presets = Place(new CPresetButtonsCtl(page, kSource, c.rect, 1));
        std::set<int> xs, ys;
        int right = 0, bottom = 0;
        for (int n = 0; n < CPresetButtonsCtl::kPresetCount; ++n) {
            CZVCheckButton* button = presets->GetPreset(n);
            xs.insert(button->GetX());
            ys.insert(button->GetY());
            right = std::max(right, button->GetRight());
            bottom = std::max(bottom, button->GetBottom());
            EXPECT_EQ(std::string(button->GetText().GetAnsi()), std::to_string(n + 1));
        }
        EXPECT_EQ(xs.size(), c.columns);
        EXPECT_EQ(ys.size(), c.rows);
        // Filled row by row.
        EXPECT_LT(presets->GetPreset(0)->GetX(), presets->GetPreset(1)->GetX());
        CZVCheckButton* set = presets->GetSetButton();
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(std::string(set->GetText().GetAnsi()), "Set");
        if (c.setAtRight) {
            EXPECT_GT(set->GetX(), right);
            EXPECT_EQ(set->GetWidth(), c.rect.w / 6 - 2);
        } else {
            EXPECT_GT(set->GetY(), bottom);
            EXPECT_EQ(set->GetHeight(), c.rect.h / 6 - 2);
        }
        page->RemoveChild(presets);
        delete presets;
    }
    auto* plain = Place(new CPresetButtonsCtl(page, kSource, CZVRect(0, 0, 300, 100), 0));
    EXPECT_EQ(plain->GetSetButton(), nullptr);
    // Without the strip the presets take the whole width, less the gap after the last column.
    EXPECT_EQ(plain->GetPreset(3)->GetRight(), 297);
}

TEST_F(AvControls, SetGoesWithTheNextPresetAndTheGatewaysPresetIsLit) {
    auto* presets = Place(new CPresetButtonsCtl(page, kSource, CZVRect(0, 0, 300, 100), 1));
    ASSERT_TRUE(Settle());
    Tap(presets->GetSetButton());
    EXPECT_EQ(presets->GetSetButton()->GetCheck(), 1);
    Tap(presets->GetPreset(2));
    EXPECT_EQ(Last(ZVM_AV_SETPRESET), (std::vector<int32_t>{kSource, 1, 2}));
    EXPECT_EQ(presets->GetSetButton()->GetCheck(), 0);
    for (int n = 0; n < CPresetButtonsCtl::kPresetCount; ++n) EXPECT_EQ(presets->GetPreset(n)->GetCheck(), n == 2);
    Tap(presets->GetPreset(2));
    EXPECT_EQ(Last(ZVM_AV_SETPRESET), (std::vector<int32_t>{kSource, 0, 2}));
    EXPECT_EQ(presets->GetPreset(2)->GetCheck(), 1);  // stays lit when tapped again
    EXPECT_EQ(Sent(ZVM_AV_SETPRESET).back().sender, 0);
    NotifyVideoCaps(kSource, 0, 0, 0, 5);
    for (int n = 0; n < CPresetButtonsCtl::kPresetCount; ++n) EXPECT_EQ(presets->GetPreset(n)->GetCheck(), n == 5);
    EXPECT_EQ(CommandsAtThePage(), 0u);
}

TEST_F(AvControls, LowMedHighAsksForTheQualityAndFollowsTheSourcesPictures) {
    auto* levels = Place(new CLevelSelectCtl(page, 3, CZVRect(10, 10, 240, 40)));
    auto* video = Place(new CVideoWnd(page, CZVRect(10, 60, 160, 120), 160, 120, nullptr, 0, 3, -1, 0));
    ASSERT_TRUE(Settle());
    const char* captions[] = {"Low", "Med", "High"};
    for (int k = 0; k < CLevelSelectCtl::kLevels; ++k) {
        EXPECT_EQ(std::string(levels->GetButton(k)->GetText().GetAnsi()), captions[k]);
        EXPECT_EQ(levels->GetButton(k)->GetCheck(), 0);  // nothing lit before the first level
    }
    EXPECT_EQ(levels->GetButton(0)->GetFontSize(), levels->GetButton(2)->GetFontSize());
    Tap(levels->GetButton(1));
    EXPECT_EQ(Last(ZVM_VIDEO_SETQUALITY), (std::vector<int32_t>{3, 1}));
    EXPECT_EQ(Sent(ZVM_VIDEO_SETQUALITY).back().sender, 0);
    EXPECT_EQ(CommandsAtThePage(), 0u);
    // The quality of the source's MPEG-2 stream rides in the flags' second byte.
    struct Case {
        int32_t flags;
        int lit;  // -1: as before
    };
    const Case cases[] = {{2 << 8, 2}, {0, 0}, {(1 << 8) | 1, 1}, {5 << 8, -1}, {-1 << 8, -1}};
    int lit = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        CZVMSG chunk(0, ZVM_VIDEO_MPEGDATA);
        for (int32_t value : {0, 0, c.flags}) chunk.WriteInt(value);
        chunk.ResetPosition();
        video->OnMessage(&chunk);
        if (c.lit >= 0) lit = c.lit;
        for (int k = 0; k < CLevelSelectCtl::kLevels; ++k) EXPECT_EQ(levels->GetButton(k)->GetCheck(), k == lit);
    }
    // Another source's level is not this selector's.
    NotifyVideoQuality(4, 2);
    EXPECT_EQ(levels->GetButton(lit)->GetCheck(), 1);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(levels), "vistrel_level_select"));
}

TEST_F(AvControls, MinusAndPlusStepTheSourceAndTheResetButtonComesWithZoomRectangles) {
    auto* two = Place(new CPlusMinusCtl(page, kSource, CZVRect(0, 0, 120, 40), 0));
    ASSERT_EQ(two->GetChildren().GetCount(), 2);
    ForEachChild(two->GetChildren(), [](CZVWindow* button) { EXPECT_EQ(button->GetWidth(), 58); });
    auto* three = Place(new CPlusMinusCtl(page, kSource, CZVRect(0, 50, 150, 40), CVideoWnd::kCapZoomRect));
    ASSERT_EQ(three->GetChildren().GetCount(), 3);
    struct Case {
        CZVWindow* button;
        uint16_t id;
        std::vector<int32_t> sent;
    };
    auto child = [three](int i) {
        return static_cast<CZVWindow*>(three->GetChildren().GetAt(three->GetChildren().FindIndex(i)));
    };
    const Case cases[] = {{child(0), ZVM_AV_SETAXIS, {kSource, 0}},
                          {child(1), ZVM_AV_STEP, {kSource, 1}},
                          {child(2), ZVM_AV_STEP, {kSource, 0}}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.button->GetWidth(), 48);
        Tap(c.button);
        EXPECT_EQ(Last(c.id), c.sent);
        EXPECT_EQ(Sent(c.id).back().sender, 0);
    }
    EXPECT_EQ(CommandsAtThePage(), 0u);
}

TEST_F(AvControls, TheFactoryBuildsThePadsAndTheSelectorFromTheirDefinitions) {
    CPageControlDesc desc;
    desc.type = CXYPadCtl::kBarType;
    desc.id = 12;
    desc.textColor = kMarker;
    desc.SetAttribute(kAttrBevelType, 3);
    desc.SetAttribute(kAttrParameter, 0);
    CZVWindow* bar = CreatePageControl(page, page, CZVRect(0, 0, 200, 40), desc, nullptr, 0);
    ASSERT_NE(dynamic_cast<CXYPadCtl*>(bar), nullptr);
    page->AddChild(bar);
    EXPECT_EQ(bar->GetTextColor(), kMarker);
    EXPECT_EQ(bar->GetBevelType(), 3);
    bar->OnLButtonDown(bar->ToRootX(100), bar->ToRootY(20), 0);
    // Bevel type 3 insets 2 on each side: 100 of 196 pixels.
    EXPECT_EQ(Last(ZVM_AV_SETAXIS), (std::vector<int32_t>{12, 51}));
    desc.type = 132;
    CZVWindow* levels = CreatePageControl(page, page, CZVRect(0, 50, 200, 40), desc, nullptr, 0);
    ASSERT_NE(dynamic_cast<CLevelSelectCtl*>(levels), nullptr);
    page->AddChild(levels);
    NotifyVideoQuality(12, 0);
    EXPECT_EQ(static_cast<CLevelSelectCtl*>(levels)->GetButton(0)->GetCheck(), 1);
}

}  // namespace
