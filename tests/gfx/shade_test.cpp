#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "effects_fixture.h"
#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "gfx/shadecorner.h"
#include "gfx/shadepoly.h"
#include "gfx/shaderect.h"
#include "support/assert_counter.h"
#include "support/png_image.h"

namespace {

using fxtest::Fields;

constexpr uint16_t kMarker1 = 0xF800;  // (255, 0, 0)
constexpr uint16_t kMarker2 = 0xC800;  // (200, 0, 0)
constexpr COLORREF kFace = MakeColor(96, 128, 160);
constexpr COLORREF kBack = MakeColor(40, 40, 40);

uint16_t Grey(int v) { return ToRgb565(MakeColor(v, v, v)); }

class ShadeColor : public fxtest::EffectsTest {};

TEST_F(ShadeColor, TheCentreKeepsTheBaseAndBlackNeverTurnsTransparent) {
    CShadeColor colour;
    colour.Set(Grey(96), 4, 3, 0);
    for (int kind = 0; kind < 3; ++kind) EXPECT_EQ(colour.Shade(2, 0, 0, kind), Grey(96));
    colour.Set(0, 4, 3, 0);
    EXPECT_EQ(colour.Shade(4, 3, 3, 1), 0x0821);   // g = 75 - 100
    EXPECT_EQ(colour.Shade(3, 2, -1, 2), 0x0821);  // flat: 1 - 70
}

TEST_F(ShadeColor, HeightSlopeAndCurveMakeTheLight) {
    const struct {
        int offset, width, inverted, quadrant, a, b, kind, depth, curve, lift;
    } cases[] = {
        // d raised to 50, e = 100: 2500 x 100 x 4 / 10000 + 75 - 100.
        {1, 1, 0, 2, -10, -10, 0, 75, 10000, 75},
        {1, 1, 0, 2, -10, -10, 0, 75, 2500, 375},
        {1, 1, 0, 2, -10, -10, 0, 25, 10000, 50},
        // The crest line: g = max(0, depth) - 100.
        {5, 3, 0, 2, -3, -4, 1, 75, 10000, -25},
        // On the profile's top (r = c): d = 100; quadrant 4 has no slope, g = 0.
        {6, 3, 0, 4, 3, 4, 0, 75, 10000, 0},
        // Flat kind: quadrant 1, v = -5 x 50 / 10 + 51 = 26, lift 26 - 70.
        {0, 3, 1, 1, 10, -5, 2, 75, 10000, -44},
        {0, 3, 1, 2, 10, -5, 2, 75, 10000, -69},
    };
    for (const auto& c : cases) {
        SetShadeDepth(c.depth);
        SetShadeCurve(c.curve);
        CShadeColor colour;
        colour.Set(Grey(96), c.offset, c.width, c.inverted);
        const int v = std::clamp(96 + c.lift, 0, 255);
        EXPECT_EQ(colour.Shade(c.quadrant, c.a, c.b, c.kind), ToRgb565(MakeColor(v, v, v)))
            << "quadrant " << c.quadrant << " a " << c.a << " b " << c.b << " kind " << c.kind;
    }
}

TEST_F(ShadeColor, TheSunkenLookIsTheOppositeQuadrantLitFromOneFurtherOut) {
    CShadeColor sunken, raised;
    sunken.Set(Grey(96), 5, 3, 1);
    raised.Set(Grey(96), 7, 3, 0);
    for (int a = -6; a <= 6; ++a)
        for (int b = -6; b <= 6; ++b) {
            if ((a == 0 && b == 0) || a == 0 || b == 0) continue;
            EXPECT_EQ(sunken.Shade(2, a, b, 0), raised.Shade(4, -a, -b, 0)) << a << "," << b;
            EXPECT_EQ(sunken.Shade(1, a, b, 0), raised.Shade(3, -a, -b, 0)) << a << "," << b;
        }
}

TEST_F(ShadeColor, EveryDivisionIsGuarded) {
    testsupport::AssertCounter asserts;
    CShadeColor colour;
    colour.Set(Grey(96), 4, 3, 0);
    colour.Shade(1, 0, 3, 2);   // flat, quadrant 1: b x 50 / a with a = 0
    colour.Shade(3, 0, -2, 0);  // slope b x 50 / a with a = 0
    colour.Shade(1, -3, 0, 0);  // slope a x 50 / b with b = 0
    EXPECT_EQ(asserts.Count(), 3);
    colour.Set(Grey(96), 4, 0, 0);  // no rim width
    colour.Shade(2, -2, -2, 0);
    EXPECT_EQ(asserts.Count(), 4);
    EXPECT_EQ(asserts.LastSource(), "shadepoly");
    SetShadeCurve(0);  // counts as 1
    EXPECT_EQ(GetShadeCurve(), 1);
    colour.Set(Grey(96), 4, 3, 0);
    EXPECT_NE(colour.Shade(2, -2, -2, 0), 0);
}

class ShadeShapes : public fxtest::EffectsTest {
protected:
    static int CountIn(CDibDC* dc, uint16_t pixel) { return dc ? Count(*dc, pixel) : -1; }
    CBitmapCache m_cache;
};

TEST_F(ShadeShapes, ARimlessCornerIsAPlainDiscWithoutMarkers) {
    CShadeCorner corner(1, 10, 0, 0, 0);
    corner.Render(kFace, kBack, 0, 1, nullptr);
    CDibDC* s = corner.GetSurface();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(CountIn(s, kMarker1) + CountIn(s, kMarker2), 0);
    EXPECT_EQ(CountIn(s, ToRgb565(kFace)) + CountIn(s, 0), 100);
    EXPECT_EQ(Px(*s, 9, 9), ToRgb565(kFace));  // the disc's centre corner
    EXPECT_EQ(Px(*s, 0, 0), 0);                // outside the disc
    EXPECT_GT(s->GetRegion()->GetCount(), 0);
}

TEST_F(ShadeShapes, LitCornersLeaveNoMarkersAndKeepARedFaceRed) {
    for (int type = 0; type < 8; ++type) {
        CShadeCorner corner(type, 16, 0, 0, 0);
        corner.Render(kFace, kBack, 4, 1, nullptr);
        EXPECT_EQ(CountIn(corner.GetSurface(), kMarker1) + CountIn(corner.GetSurface(), kMarker2), 0) << type;
    }
    // A face that happens to be a marker colour is not lit as a rim.
    CShadeCorner red(3, 16, 0, 0, 0);
    red.Render(MakeColor(255, 0, 0), kBack, 4, 1, nullptr);
    EXPECT_EQ(Px(*red.GetSurface(), 0, 0), kMarker1);
    EXPECT_EQ(Px(*red.GetSurface(), 5, 5), kMarker1);
}

TEST_F(ShadeShapes, CornersOfOneLookShareTheCachedPicture) {
    auto first = std::make_unique<CShadeCorner>(1, 12, 0, 0, 0);
    first->Render(kFace, kBack, 3, 1, nullptr);
    EXPECT_FALSE(first->IsShared());
    ASSERT_EQ(m_cache.GetShapeCount(), 1);
    CShadeCorner* cached = m_cache.FindShape(first.get());
    ASSERT_NE(cached, nullptr);
    EXPECT_EQ(cached->GetUsers(), 0);

    auto second = std::make_unique<CShadeCorner>(1, 12, 40, 40, 0);
    second->Render(kFace, kBack, 3, 1, nullptr);
    EXPECT_TRUE(second->IsShared());
    EXPECT_EQ(second->GetSurface(), cached->GetSurface());
    EXPECT_EQ(cached->GetUsers(), 1);
    EXPECT_EQ(m_cache.GetShapeCount(), 1);

    // With a target the cached picture is drawn there and nothing is kept.
    CDibDC target(30, 30, 0, 0, 0);
    Fill(target, 0x1111);
    CShadeCorner third(1, 12, 5, 5, 0);
    third.Render(kFace, kBack, 3, 1, &target);
    EXPECT_EQ(third.GetSurface(), nullptr);
    EXPECT_EQ(Px(target, 16, 16), Px(*cached->GetSurface(), 11, 11));
    EXPECT_EQ(Px(target, 5, 5), 0x1111);
    EXPECT_EQ(cached->GetUsers(), 1);

    second.reset();
    EXPECT_EQ(cached->GetUsers(), 0);

    // Another colour is another look; an inner outline keeps the corner out of the cache.
    CShadeCorner other(1, 12, 0, 0, 0);
    other.Render(kBack, kFace, 3, 1, nullptr);
    CShadeCorner outlined(1, 12, 0, 0, 0);
    outlined.innerOutline = 1;
    outlined.Render(kFace, kBack, 3, 1, nullptr);
    EXPECT_FALSE(outlined.IsShared());
    EXPECT_EQ(m_cache.GetShapeCount(), 2);
}

TEST_F(ShadeShapes, ACornerOutlivingItsCacheEntryKeepsItsPictureAndReports) {
    testsupport::AssertCounter asserts;
    CShadeCorner first(2, 12, 0, 0, 0);
    first.Render(kFace, kBack, 3, 1, nullptr);
    auto sharing = std::make_unique<CShadeCorner>(2, 12, 0, 0, 0);
    sharing->Render(kFace, kBack, 3, 1, nullptr);
    ASSERT_TRUE(sharing->IsShared());
    m_cache.Clear(true);
    CDibDC target(12, 12, 0, 0, 0);
    Fill(target, 0);
    sharing->Draw(&target, kShadePlain, nullptr, nullptr);
    EXPECT_EQ(Px(target, 11, 0), Px(*first.GetSurface(), 11, 0));
    sharing.reset();
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "shadecorner");
    first.Render(kFace, kBack, 3, 1, nullptr);  // a second render is refused
    EXPECT_EQ(asserts.Count(), 2);
}

TEST_F(ShadeShapes, PressedCornersGetShadedOutlinesOnlyWithTheStyleFlag) {
    auto render = [](uint32_t flags, fxtest::FakeStyle& style) {
        style.flags = flags;
        CShadeCorner corner(1, 12, 0, 0, 0);
        corner.innerOutline = 1;
        corner.Render(kFace, MakeColor(255, 255, 255), 3, 0, nullptr);
        std::vector<uint16_t> pixels;
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 12; ++x) pixels.push_back(Px(*corner.GetSurface(), x, y));
        return pixels;
    };
    EXPECT_EQ(render(0, m_style), render(0, m_style));
    EXPECT_NE(render(kStyleOutlines, m_style), render(0, m_style));
}

TEST_F(ShadeShapes, ToggleAndMirrorMoveTypesSidesAndPositions) {
    CShadeCorner corner(1, 10, 5, 7, 0);
    corner.Toggle(true);
    EXPECT_EQ(corner.GetType(), 5);
    EXPECT_EQ(corner.swapped, 1);
    corner.Toggle(true);
    EXPECT_EQ(corner.GetType(), 1);
    EXPECT_EQ(corner.swapped, 0);
    corner.Mirror(true, false, 100, 50);
    EXPECT_EQ(corner.GetType(), 2);
    EXPECT_EQ(corner.GetX(), 85);
    corner.Toggle(false);
    corner.Mirror(false, true, 100, 50);
    EXPECT_EQ(corner.GetType(), 7);  // sunken stays, top-right becomes bottom-right
    EXPECT_EQ(corner.GetY(), 33);

    CShadeEdge edge(1, 2, 3, 4, 20);
    edge.SetCuts(1 | 8, 0);
    edge.Toggle(false);
    EXPECT_EQ(edge.GetSide(), 3);
    edge.Toggle(false);
    EXPECT_EQ(edge.GetSide(), 1);
    edge.Mirror(true, false, 50, 40);
    EXPECT_EQ(edge.GetSide(), 3);
    EXPECT_EQ(edge.GetX(), 44);
    EXPECT_EQ(edge.GetCutFlags(), 2 | 4);
    edge.Mirror(false, true, 50, 40);
    EXPECT_EQ(edge.GetSide(), 3);
    EXPECT_EQ(edge.GetY(), 17);
    EXPECT_EQ(edge.GetCutFlags(), 8 | 1);
}

TEST_F(ShadeShapes, EdgesLightEachLineParallelToTheEdge) {
    CShadeColor lit;
    lit.Set(ToRgb565(kFace), 0, 4, 0);
    CShadeEdge top(0, 0, 0, 10, 4);
    top.Render(kFace, kBack, 0, 1, nullptr);
    EXPECT_EQ(Px(*top.GetSurface(), 5, 0), lit.Shade(2, 0, -3, 1));  // the darker outer line
    EXPECT_EQ(Px(*top.GetSurface(), 5, 1), lit.Shade(2, 0, -2, 0));
    EXPECT_EQ(Px(*top.GetSurface(), 9, 3), ToRgb565(kFace));

    CShadeEdge right(3, 0, 0, 4, 10);
    right.Render(kFace, kBack, 0, 1, nullptr);
    EXPECT_EQ(Px(*right.GetSurface(), 3, 5), lit.Shade(4, 3, 0, 1));
    EXPECT_EQ(Px(*right.GetSurface(), 1, 9), lit.Shade(4, 1, 0, 0));

    CShadeColor thin;
    thin.Set(ToRgb565(kFace), 0, 1, 0);
    CShadeEdge hairline(1, 0, 0, 1, 6);
    hairline.Render(kFace, kBack, 0, 1, nullptr);
    EXPECT_EQ(Px(*hairline.GetSurface(), 0, 3), thin.Shade(2, -4, -1, 0));

    CShadeColor flat;
    flat.Set(ToRgb565(kBack), 0, 4, 1);
    CShadeEdge pressed(2, 0, 0, 10, 4);
    pressed.swapped = 1;
    pressed.Render(kFace, kBack, 0, 0, nullptr);
    EXPECT_EQ(Count(*pressed.GetSurface(), flat.Shade(2, 0, 1, 2)), 40);
}

TEST_F(ShadeShapes, CutEdgesLeaveTransparentTriangles) {
    CShadeEdge top(0, 0, 0, 10, 4);
    top.SetCuts(1, 0);  // bottom-left
    top.Render(kFace, kBack, 0, 1, nullptr);
    CDibDC& s = *top.GetSurface();
    const int firstPainted[4] = {0, 1, 2, 3};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < firstPainted[row]; ++col) EXPECT_EQ(Px(s, col, row), 0) << col << "," << row;
        EXPECT_NE(Px(s, firstPainted[row], row), 0) << row;
        EXPECT_NE(Px(s, 9, row), 0) << row;
    }
    EXPECT_EQ(s.GetRegion()->GetCount(), 4);

    CShadeEdge length(0, 0, 0, 10, 3);
    length.SetCuts(0, 3);  // both lower corners
    length.Render(kFace, kBack, 0, 1, nullptr);
    EXPECT_EQ(Px(*length.GetSurface(), 0, 2), 0);
    EXPECT_EQ(Px(*length.GetSurface(), 1, 2), 0);
    EXPECT_EQ(Px(*length.GetSurface(), 9, 2), 0);
    EXPECT_NE(Px(*length.GetSurface(), 5, 2), 0);
}

TEST_F(ShadeShapes, RectanglesFillAroundTheirHoles) {
    const struct {
        CZVRect rect;
        std::vector<CZVRect> holes;
        int area, pieces;
    } cases[] = {
        {{0, 0, 10, 10}, {}, 100, 1},
        {{0, 0, 10, 10}, {{3, 3, 4, 4}}, 84, 4},
        {{0, 0, 10, 10}, {{-5, -5, 8, 8}}, 91, 2},
        {{0, 0, 10, 10}, {{-5, -5, 30, 30}}, 0, 0},
        {{0, 0, 10, 10}, {{0, 0, 2, 10}, {8, 0, 2, 10}}, 60, 1},
    };
    for (const auto& c : cases) {
        const auto pieces = SubtractRects(c.rect, c.holes);
        int area = 0;
        for (const auto& p : pieces) area += p.w * p.h;
        EXPECT_EQ(area, c.area);
        EXPECT_EQ(static_cast<int>(pieces.size()), c.pieces);
    }
    CShadeRect rect(2, 2, 7, 7);
    CDibDC target(10, 10, 0, 0, 0);
    Fill(target, 0);
    rect.Render(kFace, kBack, 0, 1, nullptr);
    const std::vector<CZVRect> holes{{4, 4, 2, 2}};
    rect.Draw(&target, kShadePlain, &holes, nullptr);
    EXPECT_EQ(Count(target, ToRgb565(kFace)), 36 - 4);
    rect.Toggle(false);
    rect.Draw(&target, kShadePlain, nullptr, nullptr);
    EXPECT_EQ(Count(target, ToRgb565(kBack)), 36);
}

TEST_F(ShadeShapes, CornersDrawnOntoAWindowFillTheirTransparentPixels) {
    CShadeCorner corner(1, 8, 0, 0, 0);
    corner.Render(kFace, kBack, 2, 1, nullptr);
    CDibDC onto(8, 8, 0, 0, 0);
    Fill(onto, 0x1234);
    corner.Draw(&onto, kShadePlain, nullptr, nullptr);
    EXPECT_EQ(Px(onto, 0, 0), 0x1234);  // a pixel surface keeps what lies under the key
}

class BitmapCache : public fxtest::EffectsTest {};

TEST_F(BitmapCache, WindowBitmapsAreFoundByKeyAndClearedWithoutTheShapes) {
    CBitmapCache cache;
    EXPECT_EQ(CBitmapCache::Instance(), &cache);
    EXPECT_EQ(cache.FindWindowBitmap(42), nullptr);
    auto* face = new CDibDC(4, 4, 0, 0, 0);
    cache.AddWindowBitmap(face, 42);
    cache.AddWindowBitmap(new CDibDC(4, 4, 0, 0, 0), 43);
    EXPECT_EQ(cache.FindWindowBitmap(42), face);
    CShadeCorner corner(0, 10, 0, 0, 0);
    corner.Render(kFace, kBack, 2, 1, nullptr);
    cache.Clear(false);
    EXPECT_EQ(cache.FindWindowBitmap(42), nullptr);
    EXPECT_EQ(cache.GetShapeCount(), 1);
}

TEST_F(BitmapCache, TheShapeBudgetEvictsTheOldestUnusedCorners) {
    CBitmapCache cache;
    std::vector<std::unique_ptr<CShadeCorner>> corners;
    for (int i = 0; i < 7; ++i) {
        corners.push_back(std::make_unique<CShadeCorner>(0, 200, 0, 0, 0));
        corners.back()->Render(MakeColor(i * 10, 50, 50), kBack, 0, 1, nullptr);
    }
    EXPECT_EQ(cache.GetShapeCount(), 6);
    EXPECT_EQ(cache.GetShapeBytes(), 480000);
    EXPECT_EQ(cache.FindShape(corners[0].get()), nullptr);
    EXPECT_NE(cache.FindShape(corners[1].get()), nullptr);
}

TEST_F(BitmapCache, CornersInUseAreNeverEvicted) {
    CBitmapCache cache;
    std::vector<std::unique_ptr<CShadeCorner>> owners, users;
    for (int i = 0; i < 7; ++i) {
        owners.push_back(std::make_unique<CShadeCorner>(0, 200, 0, 0, 0));
        owners.back()->Render(MakeColor(i * 10, 50, 50), kBack, 0, 1, nullptr);
        users.push_back(std::make_unique<CShadeCorner>(0, 200, 0, 0, 0));
        users.back()->Render(MakeColor(i * 10, 50, 50), kBack, 0, 1, nullptr);
    }
    // The seventh arrived unused while all six before it were in use: it went.
    EXPECT_EQ(cache.GetShapeCount(), 6);
    EXPECT_FALSE(users[6]->IsShared());
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(users[i]->IsShared()) << i;
    users[6].reset();
    CShadeCorner extra(0, 300, 0, 0, 0);
    extra.Render(kFace, kBack, 0, 1, nullptr);  // 180,000 more, nothing to evict but itself
    EXPECT_EQ(cache.GetShapeCount(), 6);
    EXPECT_EQ(cache.GetShapeBytes(), 480000);
    // Once the oldest is free again it goes first, then the newcomer.
    users[0].reset();
    CShadeCorner heavy(4, 300, 0, 0, 0);
    heavy.Render(kFace, kBack, 0, 1, nullptr);
    EXPECT_EQ(cache.FindShape(owners[0].get()), nullptr);
    EXPECT_EQ(cache.GetShapeCount(), 5);
    EXPECT_EQ(cache.GetShapeBytes(), 400000);
}

}  // namespace
