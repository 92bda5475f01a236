// The eight-way pad's layout, its wedge clipping and groove ends, and the
// numeric keypad's gaps and borrowed style row.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "button_fixture.h"
#include "gfx/dibdc.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "widgets/buttons/cornerbtn.h"
#include "widgets/pads/keypads.h"

namespace {

using widgettest::ButtonTest;

constexpr int kCommands[kSwitchCommands] = {1, 2, 3, 4, kEnterKeyCode, 6, 7, 8, 9};

std::vector<CZVWindow*> Parts(CZVWindow* w) {
    std::vector<CZVWindow*> parts;
    for (ZVPOSITION p = w->GetChildren().GetHeadPosition(); p;)
        parts.push_back(static_cast<CZVWindow*>(w->GetChildren().GetNext(p)));
    return parts;
}

class PadTest : public ButtonTest {
protected:
    CSwitch8Way* Add(CZVRect rect, int flags, const int* commands = kCommands) {
        auto* pad = new CSwitch8Way(&root, rect, 0, MakeColor(90, 120, 170), 6, 0, 14, commands, flags);
        root.AddChild(pad);
        return pad;
    }
};

TEST_F(PadTest, CornersAndPadOfAWidePad) {
    const struct {
        int flags;
        CZVRect pad;
        int corners;
    } cases[] = {{0, {71, 21, 158, 158}, 4}, {kSwitchNoCorners, {50, 0, 200, 200}, 0}};
    for (const auto& c : cases) {
        CSwitch8Way* pad = Add(CZVRect(0, 0, 300, 200), c.flags);
        harness.PaintAll();
        const CZVRect r = pad->GetPadRect();
        EXPECT_EQ(r, c.pad) << r.x << "," << r.y << " " << r.w << "x" << r.h;
        int corners = 0;
        for (CZVWindow* part : Parts(pad))
            if (dynamic_cast<CCornerButton*>(part)) {
                ++corners;
                EXPECT_EQ(part->GetWidth(), 120);
                EXPECT_EQ(part->GetHeight(), 97);
            }
        EXPECT_EQ(corners, c.corners);
        EXPECT_EQ(pad->GetStyleClass(), c.flags ? 100 : 17);
        root.DeleteChildren();
    }
}

TEST_F(PadTest, WedgesNarrowByOnePixelAStepUpToHalfTheirSpan) {
    const struct {
        int w, h, start, direction;
        std::vector<int> cleared;  // per walked line, from its first one
    } cases[] = {{20, 8, 0, 1, {1, 2, 3, 4, 5, 6, 7, 8}},
                 {6, 8, 0, 1, {1, 2, 3, 3, 3, 3, 3, 3}},
                 {20, 8, 2, 0, {1, 2, 3, 4, 5, 6}},
                 {8, 6, 0, 3, {1, 2, 3, 3, 3, 3, 3, 3}}};
    for (const auto& c : cases) {
        CDibDC wedge(c.w, c.h, 0, 0, 0);
        wedge.FillRect(0x808080, 0, 0, c.w, c.h, 0);
        CSwitch8Way::ClipWedge(&wedge, c.start, c.direction);
        const bool rows = c.direction <= 1;
        for (size_t k = 0; k < c.cleared.size(); ++k) {
            const int line = c.direction == 0 ? c.h - 1 - c.start - static_cast<int>(k) : c.start + static_cast<int>(k);
            auto at = [&](int i) { return rows ? *wedge.GetPixelAddress(i, line) : *wedge.GetPixelAddress(line, i); };
            const int span = rows ? c.w : c.h, n = c.cleared[k];
            EXPECT_EQ(at(n - 1), 0) << "line " << line;
            EXPECT_EQ(at(span - n), 0) << "line " << line;
            if (2 * n < span) EXPECT_NE(at(n), 0) << "line " << line;
        }
        if (c.direction == 0) EXPECT_NE(*wedge.GetPixelAddress(0, c.h - 1), 0);  // the lines before the start stay
    }
}

TEST_F(PadTest, GrooveEndsOutsideThePadAreReportedAndClamped) {
    CDibDC pad(40, 30, 0, 0, 0);
    const struct {
        ZVPoint inner, outer, clampedInner, clampedOuter;
        int reports;
    } cases[] = {{{5, 5}, {30, 20}, {5, 5}, {30, 20}, 0},
                 {{45, 5}, {10, 31}, {39, 5}, {10, 29}, 2},
                 {{-3, -1}, {-2, 40}, {0, 0}, {0, 29}, 4}};
    for (const auto& c : cases) {
        testsupport::AssertCounter reports;
        ZVPoint inner = c.inner, outer = c.outer;
        CSwitch8Way::ClampGroove(&pad, &inner, &outer);
        EXPECT_EQ(reports.Count(), c.reports);
        if (c.reports) EXPECT_EQ(reports.LastSource(), "switch8way");
        EXPECT_EQ(inner.x, c.clampedInner.x);
        EXPECT_EQ(inner.y, c.clampedInner.y);
        EXPECT_EQ(outer.x, c.clampedOuter.x);
        EXPECT_EQ(outer.y, c.clampedOuter.y);
    }
}

TEST_F(PadTest, GrooveEndsLieOnTheCircleBesideTheDiagonal) {
    EXPECT_EQ(CSwitch8Way::GrooveEnd(100, 0, 0, 0, 1).x, 70);
    EXPECT_EQ(CSwitch8Way::GrooveEnd(100, 0, 0, 0, 1).y, -71);
    const ZVPoint p = CSwitch8Way::GrooveEnd(100, 3, 50, 50, 3);
    EXPECT_EQ(p.x, 50 - 73);
    EXPECT_EQ(p.y, 50 + 68);
}

TEST_F(PadTest, PadsSquareAndRoundWithAndWithoutCorners) {
    root.SetFaceColor(MakeColor(40, 40, 48));
    const int select[kSwitchCommands] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Add(CZVRect(0, 0, 160, 120), 0);
    Add(CZVRect(160, 0, 160, 120), kSwitchRoundLook, select);
    Add(CZVRect(0, 120, 160, 120), kSwitchNoCorners);
    CSwitch8Way* round = Add(CZVRect(160, 120, 160, 120), kSwitchNoCorners | kSwitchRoundLook);
    harness.PaintAll();
    // The up arrow of the last pad, pressed.
    auto* up = static_cast<CZVButton*>(Parts(round)[0]);
    harness.Clock().Advance(1000);
    harness.Press(up->ToRootX(up->GetWidth() / 2), up->ToRootY(up->GetHeight() / 3));
    EXPECT_TRUE(up->IsPressed());
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "switch8way"));
    harness.Release(0, 0);
}

class KeypadGeometryTest : public ButtonTest {};

TEST_F(KeypadGeometryTest, TheKeyGapFollowsTheWidthWithinOneToFive) {
    for (auto [width, gap] : {std::pair{400, 5}, {120, 2}, {30, 1}, {1000, 5}})
        EXPECT_EQ(CNumericKeypadWnd::KeyGap(width), gap) << width;
}

TEST_F(KeypadGeometryTest, TheKeysTakeTheGivenLookAndTheStyleRowIsPutBack) {
    CSetServer& style = harness.Style();
    const int bevel = style.GetStyle(17, kStyleBevel), radius = style.GetStyle(17, kStyleRadius);
    const COLORREF face = style.GetStyleColor(17, 0), text = style.GetStyleColor(17, 1);
    auto* pad = new CNumericKeypadWnd(&root, CZVRect(0, 0, 240, 200), 1, 0x3, 0xFFFFFF, 0x804020, 3, 9, 16);
    root.AddChild(pad);
    const std::vector<CZVWindow*> keys = Parts(pad);
    ASSERT_EQ(keys.size(), 12u);
    EXPECT_EQ(keys[0]->GetFaceColor(), 0x804020u);
    EXPECT_EQ(keys[0]->GetBevel(), 3);
    EXPECT_EQ(keys[0]->GetCornerRadius(), 9);
    EXPECT_EQ(keys[0]->GetX(), 2 * 0 + 4);
    EXPECT_EQ(style.GetStyle(17, kStyleBevel), bevel);
    EXPECT_EQ(style.GetStyle(17, kStyleRadius), radius);
    EXPECT_EQ(style.GetStyleColor(17, 0), face);
    EXPECT_EQ(style.GetStyleColor(17, 1), text);
    auto* plain = new CNumericKeypadWnd(&root, CZVRect(0, 0, 240, 200), 1, 0, 0, 0, 0, 0, 16);
    root.AddChild(plain);
    EXPECT_EQ(Parts(plain).size(), 10u);
}

TEST_F(KeypadGeometryTest, RemoteAndNumericKeypads) {
    root.SetFaceColor(MakeColor(30, 36, 44));
    root.AddChild(new CRemoteKeypadWnd(&root, CZVRect(0, 0, 160, 120), 1, 0, MakeColor(120, 120, 130), 5, 0, 12, "", 0,
                                       kRemoteFullType));
    root.AddChild(new CRemoteKeypadWnd(&root, CZVRect(160, 0, 160, 120), 1, 0, MakeColor(60, 110, 60), 5, 0, 12, "", 1,
                                       kRemoteRoundType));
    root.AddChild(new CNumericKeypadWnd(&root, CZVRect(60, 122, 200, 116), 1, 0x3, 0, 0, 0, 0, 14));
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "keypads"));
}

}  // namespace
