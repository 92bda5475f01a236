#include "widgets/buttons/arrowbutton.h"

#include <gtest/gtest.h>

#include "button_fixture.h"
#include "gfx/dibdc.h"
#include "gfx/speed.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "widgets/regions/shadewnd.h"

namespace {

using widgettest::ButtonTest;

constexpr COLORREF kBack = MakeColor(20, 30, 40);
constexpr COLORREF kFace = MakeColor(200, 120, 40);

class EndShapeTest : public ButtonTest {
protected:
    void SetUp() override {
        root.SetFaceColor(kBack);
        harness.Style().SetFlags(harness.Style().GetFlags() & ~kStyleAnimate);
    }
    CZV3DButton* AddShaped(CZVRect rect, int kind, int radius, int bevel) {
        auto* button = new CZV3DButton(&root, rect, 1, 18);
        button->SetShapeKind(kind);
        button->SetCornerRadius(radius);
        button->SetBevel(bevel);
        button->SetMargin(0);
        button->SetColors(kFace, kBack);
        root.AddChild(button);
        return button;
    }
    bool IsBack(int x, int y) { return harness.PixelAt(x, y) == ToRgb565(kBack); }
};

// The rounded end leaves its two corners (the rounded corner its one) in
// the back colour; every other corner and the middle of every side is face.
TEST(EndShape, OnlyTheRoundedEndLosesItsCorners) {
    const struct {
        int kind;
        bool roundTopLeft, roundTopRight, roundBottomLeft, roundBottomRight;
    } cases[] = {
        {0, true, true, false, false},  {1, false, false, true, true},  {2, true, false, true, false},
        {3, false, true, false, true},  {4, false, false, true, false}, {5, true, false, false, false},
        {6, false, true, false, false}, {7, false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        CZV3DButton probe(nullptr, CZVRect(0, 0, 80, 60), 1, 18);
        probe.SetCornerRadius(20);
        probe.SetBevel(4);
        CShadeWnd shade(nullptr, CZVRect(0, 0, 80, 60), 0);
        shade.SetColors(kFace, kBack);
        BuildEndShape(&probe, c.kind, &shade);
        CDibDC surface(80, 60, 0, 0, 0);
        surface.FillRect(kBack, 0, 0, 80, 60, 0);
        shade.RenderShapes(&surface);
        auto isBack = [&surface](int x, int y) { return *surface.GetPixelAddress(x, y) == ToRgb565(kBack); };
        EXPECT_EQ(isBack(0, 0), c.roundTopLeft);
        EXPECT_EQ(isBack(79, 0), c.roundTopRight);
        EXPECT_EQ(isBack(0, 59), c.roundBottomLeft);
        EXPECT_EQ(isBack(79, 59), c.roundBottomRight);
        for (auto [x, y] : {std::pair{40, 0}, {40, 59}, {0, 30}, {79, 30}, {40, 30}})
            EXPECT_FALSE(isBack(x, y)) << x << "," << y;
    }
}

// A wide button rounded at the bottom whose radius exceeds half its height
// still fills the bottom between its two corners.
TEST_F(EndShapeTest, AWideLowEndIsFilledBetweenItsCorners) {
    AddShaped(CZVRect(0, 0, 200, 40), 1, 30, 3);
    harness.PaintAll();
    for (int y : {20, 30, 38}) EXPECT_FALSE(IsBack(100, y)) << y;
    CZV3DButton probe(nullptr, CZVRect(0, 0, 200, 40), 1, 18);
    probe.SetCornerRadius(30);
    probe.SetBevel(3);
    CShadeWnd shade(nullptr, CZVRect(0, 0, 200, 40), 0);
    BuildEndShape(&probe, 1, &shade);
    EXPECT_EQ(shade.GetShapeCount(), 8);
}

TEST(EndShape, TheTopEndsSideEdgesKeepTheirCutsMirrored) {
    CZV3DButton probe(nullptr, CZVRect(0, 0, 40, 100), 1, 18);
    probe.SetCornerRadius(10);
    probe.SetBevel(12);
    probe.SetShadeDepth(40);
    CShadeWnd shade(nullptr, CZVRect(0, 0, 40, 100), 0);
    BuildEndShape(&probe, 0, &shade);
    EXPECT_EQ(shade.GetDepth(), 40);
    EXPECT_EQ(shade.GetBevel(), 12);
    std::vector<int> cuts;
    int endCut = -1;
    for (int i = 0; i < shade.GetShapeCount(); ++i) {
        auto* edge = dynamic_cast<CShadeEdge*>(shade.GetShape(i));
        if (!edge) continue;
        if (edge->GetSide() & 1) cuts.push_back(edge->GetCutFlags());
        if (edge->GetSide() == 0) endCut = edge->GetCutLength();
    }
    EXPECT_EQ(cuts, (std::vector<int>{2, 1}));
    // The straight part of the rounded end is cut by how far the bevel
    // exceeds the radius.
    EXPECT_EQ(endCut, 2);
}

TEST(EndShape, UnknownKindsAddNothing) {
    CZV3DButton probe(nullptr, CZVRect(0, 0, 40, 40), 1, 18);
    CShadeWnd shade(nullptr, CZVRect(0, 0, 40, 40), 0);
    testsupport::AssertCounter asserts;
    BuildEndShape(&probe, 8, &shade);
    BuildEndShape(&probe, -2, &shade);
    EXPECT_EQ(shade.GetShapeCount(), 0);
    EXPECT_EQ(asserts.Count(), 2);
    EXPECT_EQ(asserts.LastSource(), "arrowbutton");
}

TEST_F(EndShapeTest, AnArrowButtonSendsItsCommand) {
    harness.Clock().Advance(200);
    auto* arrow = new CArrowButton(&root, CZVRect(10, 10, 60, 40), 3, 9001, 18);
    root.AddChild(arrow);
    EXPECT_EQ(arrow->GetShapeKind(), 3);
    EXPECT_EQ(arrow->GetFontSize(), 20);
    EXPECT_EQ(arrow->GetMargin(), 0);
    harness.Clock().Advance(200);
    harness.Tap(30, 30);
    EXPECT_EQ(root.commands, std::vector<int>{9001});
}

TEST_F(EndShapeTest, AnArrowButtonsBevelStaysInsideItsEnd) {
    auto* arrow = new CArrowButton(&root, CZVRect(10, 10, 60, 16), 2, 1, 18);
    arrow->SetBevel(20);
    root.AddChild(arrow);
    harness.PaintAll();
    EXPECT_EQ(arrow->GetBevel(), 16 / 2 - 2);
    EXPECT_NE(arrow->GetNormalImage(), nullptr);
}

TEST(ButtonLook, ARowOfEndShapesAndArrows) {
    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness(320, 120);
    testsupport::TestMainWnd& root = harness.Root();
    root.SetFaceColor(MakeColor(40, 60, 90));
    harness.Style().SetFlags(harness.Style().GetFlags() & ~kStyleAnimate);
    const CZVRect places[] = {{8, 8, 70, 40},  {86, 8, 70, 40},  {164, 8, 70, 40},  {242, 8, 70, 40},
                              {8, 64, 70, 48}, {86, 64, 70, 48}, {164, 64, 70, 48}, {242, 64, 70, 48}};
    for (int kind = 0; kind < 4; ++kind) {
        auto* arrow = new CArrowButton(&root, places[kind], kind, 10 + kind, 18);
        arrow->SetFaceColor(MakeColor(60, 140, 70));
        arrow->SetText("End", nullptr, 0);
        root.AddChild(arrow);
    }
    for (int kind = 4; kind < 8; ++kind) {
        auto* bevelled = new CZV3DButton(&root, places[kind], 10 + kind, 18);
        bevelled->SetShapeKind(kind - 4);
        bevelled->SetCornerRadius(16);
        bevelled->SetMargin(0);
        bevelled->SetFaceColor(MakeColor(150, 90, 60));
        root.AddChild(bevelled);
    }
    harness.Clock().Advance(200);
    harness.PaintAll();
    harness.Press(45, 28);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "end_shape_row"));
}

}  // namespace
