#include <gtest/gtest.h>

#include <vector>

#include "button_fixture.h"
#include "gfx/dibdc.h"
#include "recording_window.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"

namespace {

using widgettest::ButtonTest;
using widgettest::RecordingWindow;

class HighlightTest : public ButtonTest {
protected:
    HighlightTest() {
        harness.Clock().Advance(200);
        panel = new RecordingWindow(&root, CZVRect(20, 20, 100, 40), "panel", nullptr);
        panel->SetFaceColor(0x404040);
        panel->paintsFace = true;
        harness.PaintAll();
    }
    uint16_t Centre() { return harness.PixelAt(70, 40); }
    RecordingWindow* panel;
};

TEST_F(HighlightTest, TheAnimatedGlowFadesOneStepPerClockTick) {
    SetStyleFlag(kStyleAnimate, true);
    const uint16_t plain = Centre();
    panel->StartHighlight();
    EXPECT_EQ(panel->GetHighlightCountdown(), 96);  // the first step is drawn at once
    const uint16_t bright = Centre();
    EXPECT_NE(bright, plain);
    harness.Idle();
    EXPECT_EQ(panel->GetHighlightCountdown(), 96);  // no tick, no frame
    std::vector<int> countdowns;
    while (panel->GetHighlightCountdown() >= 0) {
        harness.Clock().Advance(1);
        EXPECT_EQ(harness.Idle(), 1);
        countdowns.push_back(panel->GetHighlightCountdown());
    }
    EXPECT_EQ(countdowns.size(), 25u);
    EXPECT_EQ(countdowns[0], 92);
    EXPECT_EQ(countdowns.back(), -4);
    harness.Clock().Advance(1);
    EXPECT_EQ(harness.Idle(), 0);
}

TEST_F(HighlightTest, TheFadeWaitsWhileInputIsBlocked) {
    SetStyleFlag(kStyleAnimate, true);
    panel->StartHighlight();
    root.SetModal(1);
    harness.Clock().Advance(5);
    harness.Idle();
    EXPECT_EQ(panel->GetHighlightCountdown(), 96);
    root.SetModal(0);
    harness.Idle();
    EXPECT_EQ(panel->GetHighlightCountdown(), 92);
}

TEST_F(HighlightTest, AWindowHiddenDuringTheFadeEndsItAndItsChildrenKeepTheirTimers) {
    SetStyleFlag(kStyleAnimate, true);
    auto* child = new RecordingWindow(panel, CZVRect(0, 0, 10, 10), "child", nullptr);
    child->SetTimer(20);
    panel->StartHighlight();
    panel->Show(0, 0);
    harness.RunFor(100);
    EXPECT_EQ(panel->GetHighlightCountdown(), -1);
    EXPECT_GE(child->timers, 3);
}

TEST_F(HighlightTest, TheSingleFlashTurnsDarkOnFacesNearTheHighlightBlue) {
    struct Case {
        COLORREF face;
        COLORREF flash;
    };
    for (const Case& c : {Case{0xFB9292, 0x320000}, Case{0xA53C3C, 0xFF9696}}) {
        panel->SetFaceColor(c.face);
        harness.PaintAll();
        panel->ReleaseHighlight();
        panel->StartHighlight();
        CDibDC expected(2, 1, 0, 0, 0);
        CDibDC shape(2, 1, 0, 0, 0);
        expected.FillRect(c.face, 0, 0, 2, 1, 0);
        shape.FillRect(c.flash, 0, 0, 2, 1, 0);
        expected.BlendAll(&shape, 0, 0, 5);
        EXPECT_EQ(Centre(), *expected.GetPixelAddress(0, 0)) << std::hex << c.face;
    }
}

TEST_F(ButtonTest, TheGlowTakesTheWindowsShape) {
    CZVWindow window(&root, CZVRect(0, 0, 100, 40), 0);
    window.SetShape(6, 0, 4);
    CZV3DButton* glow = window.CreateHighlightGlow();
    EXPECT_EQ(glow->GetCornerRadius(), 10);
    EXPECT_EQ(glow->GetMargin(), 0);
    EXPECT_EQ(glow->GetBevel(), 20);
    EXPECT_EQ(glow->GetFaceColor(), 0xFF9696u);
    EXPECT_NE(glow->GetStyleBits() & k3DGlow, 0);
    delete glow;
    CZVWindow large(&root, CZVRect(0, 0, 200, 100), 0);
    glow = large.CreateHighlightGlow();
    EXPECT_EQ(glow->GetBevel(), 30);
    delete glow;
}

TEST_F(ButtonTest, AnEndShapesHighlightIsSquareOnItsJoinedSide) {
    struct Case {
        int kind;
        int squareX;  // a corner pixel that the square side fills
        int roundX;   // the corner pixel on the rounded side
    };
    for (const Case& c : {Case{2, 59, 0}, Case{3, 0, 59}}) {
        CZV3DButton b(&root, CZVRect(0, 0, 60, 30), 1, 16);
        b.SetShape(10, 0, 0);
        b.SetShapeKind(c.kind);
        CDibDC dib(60, 30, 0, 0, 0);
        dib.FillRect(0, 0, 0, 60, 30, 0);
        b.DrawHighlightShape(0xFFFFFF, &dib);
        EXPECT_NE(*dib.GetPixelAddress(c.squareX, 0), 0) << c.kind;
        EXPECT_EQ(*dib.GetPixelAddress(c.roundX, 0), 0) << c.kind;
    }
}

TEST_F(ButtonTest, AClickWithTheFlashStyleStartsTheHighlight) {
    SetStyleFlag(kStyleAnimate | kStyleClickFlash, true);
    CZV3DButton* b = root.Add3DButtonDefault(CZVRect(0, 0, 80, 40), 3, 16, "");
    harness.Clock().Advance(200);
    harness.PaintAll();
    harness.Tap(10, 10);
    EXPECT_EQ(b->GetHighlightCountdown(), 96);
    // A new press ends the fade at the next step.
    harness.Clock().Advance(200);
    harness.Press(10, 10);
    harness.Idle();
    EXPECT_LT(b->GetHighlightCountdown(), 0);
}

// ---- transitions

class Recorder : public CSlideCallback {
public:
    void OnSlideStep(CZVDC*, int moved, int distance, int) override {
        steps.push_back({platform::GetTickCount(), moved});
        total = distance;
    }
    struct Step {
        uint32_t tick;
        int moved;
    };
    std::vector<Step> steps;
    int total = 0;
};

TEST_F(ButtonTest, ASlideFollowsItsCurveAndEndsExactlyOnTheDistance) {
    CZVWindow* area = new CZVWindow(&root, CZVRect(0, 0, 50, 50), 0);
    root.AddChild(area);
    Recorder recorder;
    const uint32_t start = harness.Clock().TickCount();
    area->SlideVertical(400, 200, nullptr, 0, 0, 0, 0, &recorder, 0, 0);
    ASSERT_FALSE(recorder.steps.empty());
    EXPECT_EQ(recorder.steps.back().moved, 400);
    EXPECT_EQ(recorder.total, 400);
    for (const Recorder::Step& step : recorder.steps)
        if (step.tick - start == 100) {
            EXPECT_EQ(step.moved, 200);
        }
    EXPECT_LE(recorder.steps.back().tick - start, 201u);
    EXPECT_EQ(root.GetOffscreenPaint(), 0);
}

TEST_F(ButtonTest, SlidesAndMorphsLeaveTheIncomingPictureInPlace) {
    auto* area = new RecordingWindow(&root, CZVRect(10, 10, 120, 60), "area", nullptr);
    area->SetFaceColor(0x0000FF);
    area->paintsFace = true;
    harness.PaintAll();
    CDibDC incoming(120, 60, 0, 0, 0);
    incoming.FillRect(0x00FF00, 0, 0, 120, 60, 0);
    const uint16_t green = *incoming.GetPixelAddress(0, 0);
    area->SlideHorizontal(-120, 150, &incoming, 0, 0, 0, 0);
    EXPECT_EQ(harness.PixelAt(10, 10), green);
    EXPECT_EQ(harness.PixelAt(129, 69), green);

    CDibDC image(120, 60, 0, 0, 0);
    image.FillRect(0xFF0000, 0, 0, 120, 60, 0);
    const uint16_t blue = *image.GetPixelAddress(0, 0);
    area->MorphTransition(250, CZVRect(60, 0, 0, 60), CZVRect(0, 0, 120, 60), &image, 0);
    for (int x : {10, 40, 69, 70, 100, 129}) EXPECT_EQ(harness.PixelAt(x, 40), blue) << x;
}

}  // namespace
