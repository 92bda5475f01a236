#include "gfx/dibdc.h"

#include <gtest/gtest.h>

#include <memory>

#include "drawing_fixture.h"

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr COLORREF kRed = MakeColor(255, 0, 0);
constexpr uint16_t kRed565 = 0xF800;

class Surface : public drawtest::DrawingTest {};

TEST_F(Surface, OddWidthsHaveASpareColumnThatDrawingNeverTouches) {
    CDibDC dc(13, 4, 0, 0, 0);
    EXPECT_EQ(dc.GetWidth(), 14);
    EXPECT_EQ(dc.GetRequestedWidth(), 13);
    Clear(dc, 0x1111);
    dc.FillRect(kRed, -5, -5, 100, 100, 0);
    EXPECT_EQ(Px(dc, 12, 3), kRed565);
    EXPECT_EQ(Px(dc, 13, 3), 0x1111);

    CDibDC copy(20, 4, 0, 0, 0);
    Clear(copy, 0);
    copy.BitBltAll(&dc, 0, 0);
    EXPECT_EQ(Px(copy, 12, 0), kRed565);
    EXPECT_EQ(Px(copy, 13, 0), 0);
}

TEST_F(Surface, FillsHonourOriginAndClip) {
    CDibDC dc(20, 20, 100, 50, 0);
    Clear(dc, 0);
    dc.SetOrigin(102, 53);  // root coordinates: (2, 3) on the surface
    dc.PushClipBounds(0, 0, 3, 3);
    dc.FillRect(kRed, 1, 1, 10, 10, 0);
    EXPECT_EQ(Inked(dc, 0), 9);
    EXPECT_EQ(Px(dc, 3, 4), kRed565);
    EXPECT_EQ(Px(dc, 5, 6), kRed565);
    dc.PopClip();
    dc.FillRect(kRed, 1, 1, 10, 10, 0);
    EXPECT_EQ(Inked(dc, 0), 100);
}

TEST_F(Surface, LinesIncludeBothEnds) {
    CDibDC dc(10, 10, 0, 0, 0);
    Clear(dc, 0);
    dc.Line(kRed, 0, 0, 5, 0);
    EXPECT_EQ(Inked(dc, 0), 6);
    dc.Line(kRed, 9, 9, 9, 9);
    EXPECT_EQ(Inked(dc, 0), 7);
    Clear(dc, 0);
    dc.Line(kRed, 0, 0, 9, 4);
    EXPECT_EQ(Px(dc, 0, 0), kRed565);
    EXPECT_EQ(Px(dc, 9, 4), kRed565);
    EXPECT_EQ(Inked(dc, 0), 10);  // one pixel per column
    Clear(dc, 0);
    dc.FrameRect(kRed, 1, 1, 4, 3);
    EXPECT_EQ(Inked(dc, 0), 10);
    EXPECT_EQ(Px(dc, 2, 2), 0);
}

TEST_F(Surface, RoundRectsRoundTheirCornersAndLimitTheRadius) {
    CDibDC a(40, 20, 0, 0, 0), b(40, 20, 0, 0, 0);
    Clear(a, 0);
    Clear(b, 0);
    a.FillRoundRect(kRed, 0, 0, 40, 20, 100, 0);
    b.FillRoundRect(kRed, 0, 0, 40, 20, 10, 0);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(Px(a, x, y), Px(b, x, y)) << x << "," << y;
    EXPECT_EQ(Px(a, 0, 0), 0);
    EXPECT_EQ(Px(a, 39, 19), 0);
    EXPECT_EQ(Px(a, 20, 0), kRed565);
    EXPECT_EQ(Px(a, 0, 10), kRed565);
    EXPECT_EQ(Px(a, 20, 19), kRed565);
    // Left-right and top-bottom symmetric.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_EQ(Px(a, x, y), Px(a, 39 - x, 19 - y));
    Clear(a, 0);
    a.FillRoundRect(kRed, 0, 0, 10, 10, 0, 0);
    EXPECT_EQ(Inked(a, 0), 100);
}

TEST_F(Surface, BlitsWithinOneSurfaceCopyOverlapsIntact) {
    CDibDC dc(30, 40, 0, 0, 0);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x) *dc.GetPixelAddress(x, y) = static_cast<uint16_t>(y * 64 + x + 1);
    dc.BitBlt(0, 10, &dc, 0, 0, 30, 20);
    for (int y = 10; y < 30; ++y) ASSERT_EQ(Px(dc, 3, y), (y - 10) * 64 + 4) << y;
    dc.BitBlt(5, 0, &dc, 0, 0, 20, 1);  // to the right, within the row
    for (int x = 5; x < 25; ++x) ASSERT_EQ(Px(dc, x, 0), x - 5 + 1);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 30; ++x) *dc.GetPixelAddress(x, y) = static_cast<uint16_t>(y * 64 + x + 1);
    dc.TransparentBlt(0, 1, &dc, 0, 0, 30, 5, 0);  // keyed, downward overlap
    for (int y = 1; y <= 5; ++y) ASSERT_EQ(Px(dc, 10, y), (y - 1) * 64 + 11) << y;
    dc.TransparentBlt(1, 0, &dc, 0, 0, 29, 1, 0);  // keyed, to the right within the row
    for (int x = 1; x < 30; ++x) ASSERT_EQ(Px(dc, x, 0), x) << x;
}

TEST_F(Surface, KeyedBlitsSkipTheKey) {
    CDibDC src(4, 1, 0, 0, 0), dst(4, 1, 0, 0, 0);
    uint16_t in[4] = {0, 0x1234, 0, 0xF00F};
    for (int x = 0; x < 4; ++x) *src.GetPixelAddress(x, 0) = in[x];
    Clear(dst, 0x5555);
    dst.TransparentBlt(0, 0, &src, 0, 0, 4, 1, 0);
    EXPECT_EQ(Px(dst, 0, 0), 0x5555);
    EXPECT_EQ(Px(dst, 1, 0), 0x1234);
    EXPECT_EQ(Px(dst, 2, 0), 0x5555);
    EXPECT_EQ(Px(dst, 3, 0), 0xF00F);
}

TEST_F(Surface, AlphaBlendsByTheSourcePlane) {
    struct Case {
        uint8_t alpha;
        uint16_t under;
        uint16_t expected;
    };
    const Case cases[] = {
        {0, 0, 0},
        {255, 0, kWhite},
        {128, 0, (15 << 11) | (31 << 5) | 15},
        {128, kWhite, kWhite},  // a colour blended with itself stays
        {64, 0, (7 << 11) | (15 << 5) | 7},
    };
    for (const Case& c : cases) {
        CAlphaDibDC src(2, 1, 0, 0);
        Clear(src, kWhite);
        src.FillAlpha(c.alpha);
        CDibDC dst(2, 1, 0, 0, 0);
        Clear(dst, c.under);
        dst.AlphaBlt(&src, 0, 0, 0, 0, 2, 1);
        EXPECT_EQ(Px(dst, 0, 0), c.expected) << int(c.alpha);
    }
}

TEST_F(Surface, AlphaPicturesDrawOntoWindowsThroughTheirPlane) {
    m_shell.screen = std::make_unique<CDibDC>(20, 20, 0, 0, 1);
    Clear(*m_shell.screen, 0);
    CAlphaDibDC picture(4, 4, 0, 0);
    Clear(picture, kWhite);
    picture.SetAlphaForColor(kWhite, 255);
    *picture.GetAlphaAt(0, 0) = 0;
    {
        CZVDC window;
        picture.AlphaBltTo(&window, 5, 5, 0, 0, 4, 4);
    }
    EXPECT_EQ(Px(*m_shell.screen, 5, 5), 0);
    EXPECT_EQ(Px(*m_shell.screen, 6, 5), kWhite);
    EXPECT_EQ(Inked(*m_shell.screen, 0), 15);
}

TEST_F(Surface, NearestScalingRepeatsPixelsAndNeverReadsTheSpareColumn) {
    CDibDC two(2, 2, 0, 0, 0);
    uint16_t in[4] = {1, 2, 3, 4};
    for (int i = 0; i < 4; ++i) *two.GetPixelAddress(i % 2, i / 2) = in[i];
    std::unique_ptr<CDibDC> four(two.Scale(4, 4, 0));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Px(*four, x, y), in[(y / 2) * 2 + x / 2]);

    CDibDC three(3, 1, 0, 0, 0);
    Clear(three, 0xDEAD);  // the spare column too
    for (int x = 0; x < 3; ++x) *three.GetPixelAddress(x, 0) = static_cast<uint16_t>(x + 1);
    std::unique_ptr<CDibDC> wide(three.ScaleNearest(8, 1));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Px(*wide, x, 0), x * 3 / 8 + 1);
}

TEST_F(Surface, BilinearScalingBlendsNeighbours) {
    CDibDC pair(2, 1, 0, 0, 0);
    *pair.GetPixelAddress(0, 0) = 0;
    *pair.GetPixelAddress(1, 0) = kWhite;
    std::unique_ptr<CDibDC> out(pair.Scale(4, 1, 1));
    EXPECT_EQ(Px(*out, 0, 0), 0);
    EXPECT_EQ(Px(*out, 1, 0), ToRgb565(MakeColor(124, 126, 124)));  // half way
    EXPECT_EQ(Px(*out, 2, 0), kWhite);

    CAlphaDibDC alpha(2, 1, 0, 0);
    *alpha.GetPixelAddress(0, 0) = 0;
    *alpha.GetPixelAddress(1, 0) = kWhite;
    *alpha.GetAlphaAt(1, 0) = 255;
    alpha.spreadColours = true;
    std::unique_ptr<CDibDC> spread(alpha.Scale(4, 1, 0));
    EXPECT_EQ(Px(*spread, 1, 0), kWhite);  // the transparent one took its partner's colour
    EXPECT_EQ(*spread->GetAlphaAt(1, 0), 127);
    EXPECT_EQ(*spread->GetAlphaAt(0, 0), 0);
}

TEST_F(Surface, ViewsClipToTheirParentAndDrawWithTheirOffsetOnce) {
    CDibDC parent(10, 10, 0, 0, 0);
    Clear(parent, 0);
    int dx = -1, dy = -1;
    CDibDC whole(&parent, -5, -5, 20, 20, &dx, &dy);
    EXPECT_EQ(whole.GetWidth(), 10);
    EXPECT_EQ(whole.GetHeight(), 10);
    EXPECT_EQ(dx, 5);
    EXPECT_EQ(dy, 5);

    CDibDC view(&parent, 4, 3, 3, 3, &dx, &dy);
    view.FillRect(kRed, 0, 0, 1, 1, 0);
    view.Line(kRed, 2, 2, 2, 2);
    EXPECT_EQ(Px(parent, 4, 3), kRed565);
    EXPECT_EQ(Px(parent, 6, 5), kRed565);
    EXPECT_EQ(Inked(parent, 0), 2);
    view.FillRect(kRed, 0, 0, 100, 100, 0);
    EXPECT_EQ(Inked(parent, 0), 9);

    CDibDC other(10, 10, 0, 0, 0);
    Clear(other, 0);
    other.BitBlt(0, 0, &view, 0, 0, 10, 10);
    EXPECT_EQ(Inked(other, 0), 9);
    EXPECT_EQ(Px(other, 0, 0), kRed565);

    CDibView window(&parent, 4, 3, 3, 3);
    EXPECT_EQ(window.PixelAt(4, 3), parent.GetPixelAddress(4, 3));
    EXPECT_EQ(window.PixelAt(3, 3), nullptr);
    EXPECT_EQ(window.PixelAt(7, 3), nullptr);
}

TEST_F(Surface, ClonesAndFlipsAreIndependentCopies) {
    CDibDC dc(3, 2, 0, 0, 0);
    for (int i = 0; i < 6; ++i) *dc.GetPixelAddress(i % 3, i / 3) = static_cast<uint16_t>(i + 1);
    dc.NewRegion()->Add(0, 0, 3);
    std::unique_ptr<CDibDC> clone(dc.Clone());
    *dc.GetPixelAddress(0, 0) = 99;
    dc.ClearRegion();
    EXPECT_EQ(Px(*clone, 0, 0), 1);
    ASSERT_TRUE(clone->GetRegion());
    EXPECT_EQ(clone->GetRegion()->GetCount(), 1);

    std::unique_ptr<CDibDC> turned(clone->Flip(1, 1));
    EXPECT_EQ(Px(*turned, 0, 0), 6);
    EXPECT_EQ(Px(*turned, 2, 1), 1);
    std::unique_ptr<CDibDC> same(clone->Flip(0, 0));
    EXPECT_EQ(Px(*same, 2, 1), 6);
}

TEST_F(Surface, AlphaPlanesAndRegions) {
    CAlphaDibDC dc(6, 5, 0, 0);
    EXPECT_EQ(*dc.GetAlphaAt(3, 3), 0);
    Clear(dc, 0);
    *dc.GetPixelAddress(2, 2) = kWhite;
    dc.SetAlphaForColor(kWhite, 200);
    EXPECT_EQ(*dc.GetAlphaAt(2, 2), 200);
    dc.GrowAlphaEdge(50);
    EXPECT_EQ(*dc.GetAlphaAt(1, 1), 50);
    EXPECT_EQ(*dc.GetAlphaAt(3, 3), 50);
    EXPECT_EQ(*dc.GetAlphaAt(2, 2), 200);
    EXPECT_EQ(*dc.GetAlphaAt(0, 0), 0);  // grown by exactly one pixel

    std::unique_ptr<CDibDC> clone(dc.Clone());
    EXPECT_EQ(*clone->GetAlphaAt(3, 3), 50);

    *dc.GetPixelAddress(4, 2) = 0x1234;
    *dc.GetPixelAddress(5, 2) = 0x1234;
    dc.MakeRegionExcluding(0, kWhite);
    CSpanList* region = dc.GetRegion();
    ASSERT_EQ(region->GetCount(), 1);
    EXPECT_EQ(region->GetX(0), 4);
    EXPECT_EQ(region->GetY(0), 2);
    EXPECT_EQ(region->GetLength(0), 2);
}

TEST_F(Surface, ClipBlitTrimsBothSides) {
    CDibDC dst(10, 10, 0, 0, 0), src(6, 6, 0, 0, 0);
    int x = -2, y = 8, w = 6, h = 6, sx = 0, sy = 1;
    ASSERT_TRUE(dst.ClipBlit(x, y, w, h, sx, sy, &src));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(w, 4);
    EXPECT_EQ(y, 8);
    EXPECT_EQ(h, 2);
    x = 20;
    EXPECT_FALSE(dst.ClipBlit(x, y, w, h, sx, sy, &src));
}

TEST_F(Surface, QueuedTextIsDrawnWhenTheSurfaceIsCopied) {
    CDibDC label(60, 20, 0, 0, 0);
    label.FillRect(MakeColor(0, 0, 80), 0, 0, 60, 20, 0);
    label.SetFont(16, 0, 0);
    label.SetColor(MakeColor(255, 255, 255));
    label.DrawText("Pool", CZVRect(0, 0, 60, 20), 0x11);
    uint16_t blue = ToRgb565(MakeColor(0, 0, 80));
    EXPECT_EQ(Inked(label, blue), 0);  // nothing drawn yet
    CDibDC screen(60, 20, 0, 0, 0);
    screen.BitBltAll(&label, 0, 0);
    EXPECT_GT(Inked(screen, blue), 20);
    EXPECT_GT(Inked(label, blue), 20);
}

TEST_F(Surface, GlassGradientsDimTheEdgesAndStopShortOfWhite) {
    CDibDC glass(4, 100, 0, 0, 0);
    glass.FillGlassGradient(MakeColor(255, 255, 255), 1.0f);
    EXPECT_EQ(Px(glass, 0, 99), ToRgb565(MakeColor(204, 204, 204)));
    EXPECT_EQ(Px(glass, 3, 50), ToRgb565(MakeColor(245, 245, 245)));
}

TEST_F(Surface, BadSizesAreReported) {
    testsupport::AssertCounter asserts;
    CDibDC empty(0, 5, 0, 0, 0);
    EXPECT_EQ(asserts.Count(), 1);
    empty.FillRect(kRed, 0, 0, 5, 5, 0);
    EXPECT_EQ(empty.GetPixelAddress(0, 0), nullptr);
    CDibDC parent(4, 4, 0, 0, 0);
    CDibDC outside(&parent, 10, 10, 2, 2, nullptr, nullptr);
    EXPECT_EQ(asserts.LastSource(), "dibdc");
}

}  // namespace
