// Shaded windows: what the frame assembly adds, the opaque area, the
// rendering into surfaces and the shading depth left behind.
#include "widgets/regions/shadewnd.h"

#include <gtest/gtest.h>

#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "support/widget_harness.h"

namespace {

class ShadeWindows : public ::testing::Test {
protected:
    testsupport::WidgetHarness harness{160, 120};
};

TEST_F(ShadeWindows, EmptyRectanglesAndEdgesAddNothing) {
    CShadeWnd w(&harness.Root(), {0, 0, 50, 50}, 6);
    EXPECT_EQ(w.AddRect(10, 0, 9, 5), nullptr);
    EXPECT_EQ(w.AddEdge(0, 0, 0, 0, 5), nullptr);
    EXPECT_EQ(w.AddEdgeBounds(1, 4, 4, 3, 9), nullptr);
    EXPECT_NE(w.AddRect(0, 0, 0, 0), nullptr);
    EXPECT_EQ(w.GetShapeCount(), 1);
}

TEST_F(ShadeWindows, OnlyALargeOpaqueAreaIsReported) {
    CShadeWnd w(&harness.Root(), {0, 0, 120, 120}, 6);
    w.SetOpaqueRect({0, 0, 50, 100});
    EXPECT_FALSE(w.GetOpaqueRect());
    w.SetOpaqueRect({2, 3, 100, 100});
    EXPECT_EQ(w.GetOpaqueRect(), CZVRect(2, 3, 100, 100));
}

TEST_F(ShadeWindows, AFrameWiderThanItsRadiusMitresItsEdges) {
    CShadeWnd w(&harness.Root(), {0, 0, 60, 40}, 6);
    w.AddFrame(0, 0, 0, 0, 6, 4, 0, 1, 0, 0);
    int corners = 0, edges = 0;
    for (int i = 0; i < w.GetShapeCount(); ++i) {
        CShadeShape* shape = w.GetShape(i);
        corners += shape->kind == CShadeShape::kCorner;
        if (auto* edge = dynamic_cast<CShadeEdge*>(shape)) {
            ++edges;
            EXPECT_EQ(edge->GetCutLength(), 2);
        }
    }
    EXPECT_EQ(corners, 4);
    EXPECT_EQ(edges, 4);
    // Leaving out the top edge and a corner.
    CShadeWnd open(&harness.Root(), {0, 0, 60, 40}, 6);
    open.AddFrame(0, 0, 0, 0, 6, 10, 0, 0, CShadeWnd::kNoTopEdge | CShadeWnd::kNoTopLeft, 0);
    corners = edges = 0;
    for (int i = 0; i < open.GetShapeCount(); ++i) {
        corners += open.GetShape(i)->kind == CShadeShape::kCorner;
        edges += open.GetShape(i)->kind == CShadeShape::kEdge;
    }
    EXPECT_EQ(corners, 3);
    EXPECT_EQ(edges, 3);
}

// The exchange of colours and the shapes' own toggle cancel on the flat face.
TEST_F(ShadeWindows, AnInvertedFrameIsPressedAndKeepsItsFaceColour) {
    CShadeWnd w(&harness.Root(), {0, 0, 40, 40}, 6);
    w.SetColors(MakeColor(200, 0, 0), MakeColor(0, 0, 200));
    w.AddFrame(0, 0, 0, 0, 3, 6, 1, 1, 0, 0);
    EXPECT_TRUE(w.IsPressed());
    CDibDC surface(40, 40, 0, 0, 0);
    surface.FillRect(0, 0, 0, 40, 40, 0);
    w.RenderShapes(&surface);
    EXPECT_TRUE(w.IsPrepared());
    EXPECT_EQ(*surface.GetPixelAddress(20, 20), ToRgb565(MakeColor(200, 0, 0)));
}

TEST_F(ShadeWindows, AFaceRendersWithDepthTwentyFiveAndLeavesItSo) {
    CZVWindow button(&harness.Root(), {10, 10, 60, 40}, 18);
    button.SetColors(MakeColor(200, 200, 200), MakeColor(20, 20, 20));
    CDibDC face(60, 40, 0, 0, 0);
    face.FillRect(0, 0, 0, 60, 40, 0);
    SetShadeDepth(75);
    RenderShadedFrame(&button, MakeColor(200, 200, 200), &face, -1, false, true);
    EXPECT_EQ(GetShadeDepth(), 25);
    EXPECT_EQ(*face.GetPixelAddress(30, 20), ToRgb565(MakeColor(200, 200, 200)));
    EXPECT_EQ(*face.GetPixelAddress(0, 0), 0);  // outside the rounded corner
}

TEST(CornerFit, TheInnerFaceReachesTheCornerSquareOnlyPastTheCurve) {
    EXPECT_TRUE(CornerFits(10, 5));
    EXPECT_TRUE(CornerFits(4, 6));
    EXPECT_FALSE(CornerFits(10, 2));
    EXPECT_FALSE(CornerFits(10, 0));
}

}  // namespace
