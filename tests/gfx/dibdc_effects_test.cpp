#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "core/zvoblist.h"
#include "effects_fixture.h"
#include "gfx/dibdc.h"

namespace {

using fxtest::Fields;

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kMidGrey = Fields(15, 31, 15);

class Effects : public fxtest::EffectsTest {};

TEST_F(Effects, MixesInEighthsAndOverlaysAroundMidGrey) {
    const struct {
        uint16_t src, dst;
        int level;
        uint16_t expected;
    } cases[] = {
        {kWhite, 0, 4, Fields(15, 31, 15)},
        {kWhite, 0, 8, kWhite},
        {kWhite, 0, 0, 0},
        {kWhite, 0, -3, 0},
        {Fields(8, 0, 31), Fields(0, 63, 1), 2, Fields(2, 47, 8)},
        {kMidGrey, Fields(3, 40, 29), 9, Fields(3, 40, 29)},
        {kMidGrey, Fields(3, 40, 29), 12, Fields(3, 40, 29)},
        {kWhite, Fields(10, 20, 10), 9, Fields(26, 52, 26)},
        {0, Fields(10, 20, 10), 9, Fields(0, 0, 0)},
        {Fields(31, 0, 20), Fields(31, 63, 0), 9, Fields(31, 32, 5)},
    };
    for (const auto& c : cases) {
        // 19 columns: rows are mixed eight pixels a step, then one by one.
        CDibDC src(19, 2, 0, 0, 0), dst(19, 2, 0, 0, 0);
        Fill(src, c.src);
        Fill(dst, c.dst);
        dst.BlendRect(&src, 0, 0, 0, 0, 19, 2, c.level);
        EXPECT_EQ(Count(dst, c.expected), 38) << "level " << c.level << " src " << c.src << " dst " << c.dst;
    }
}

TEST_F(Effects, EveryPixelOfAWideRowFollowsTheFieldFormulas) {
    CDibDC src(61, 1, 0, 0, 0), dst(61, 1, 0, 0, 0), before(61, 1, 0, 0, 0);
    uint32_t seed = 12345;
    auto next = [&seed] { return static_cast<uint16_t>((seed = seed * 1103515245 + 12345) >> 16); };
    for (int x = 0; x < 62; ++x) {
        *src.GetPixelAddress(x, 0) = next();
        *before.GetPixelAddress(x, 0) = next();
    }
    auto field = [](uint16_t p, int shift, int mask) { return (p >> shift) & mask; };
    for (int level : {1, 3, 7, 9}) {
        dst.BitBlt(0, 0, &before, 0, 0, 61, 1);
        dst.BlendRect(&src, 0, 0, 0, 0, 61, 1, level);
        for (int x = 0; x < 61; ++x) {
            const uint16_t s = Px(src, x, 0), d = Px(before, x, 0);
            int out[3];
            const int shifts[3] = {11, 5, 0}, masks[3] = {31, 63, 31};
            for (int f = 0; f < 3; ++f) {
                const int sf = field(s, shifts[f], masks[f]), df = field(d, shifts[f], masks[f]);
                out[f] =
                    level <= 8 ? (sf * level + df * (8 - level)) / 8 : std::clamp(df + sf - masks[f] / 2, 0, masks[f]);
            }
            ASSERT_EQ(Px(dst, x, 0), Fields(out[0], out[1], out[2])) << "level " << level << " column " << x;
        }
    }
}

TEST_F(Effects, RectanglesAndRunsStayInsideBothSurfaces) {
    CDibDC src(4, 4, 0, 0, 0), dst(6, 6, 0, 0, 0);
    Fill(src, kWhite);
    Fill(dst, 0);
    dst.BlendAll(&src, -2, 4, 8);  // only src columns 2..3, rows 0..1 land
    EXPECT_EQ(Count(dst, kWhite), 4);
    EXPECT_EQ(Px(dst, 1, 5), kWhite);
    EXPECT_EQ(Px(dst, 2, 5), 0);

    Fill(dst, 0);
    CSpanList rows;      // src is read two columns to the left
    rows.Add(3, 0, 10);  // cut at dst's right edge and src's: 3 pixels
    rows.Add(-1, 1, 3);  // starts outside dst: skipped
    rows.Add(0, 2, 10);  // starts outside src: skipped
    rows.Add(2, 5, 2);   // src row 5 does not exist: skipped
    rows.Add(2, 3, 10);  // cut at src's right edge: 4 pixels
    dst.BlendSpans(&src, -2, 0, &rows, 8);
    EXPECT_EQ(Count(dst, kWhite), 3 + 4);
    EXPECT_EQ(Px(dst, 5, 0), kWhite);
    EXPECT_EQ(Px(dst, 5, 3), kWhite);

    Fill(dst, 0);
    CSpanList columns(true);
    columns.Add(5, 3, 10);  // cut at src's bottom after one pixel
    columns.Add(2, 0, 10);  // cut at src's bottom after four
    dst.BlendSpans(&src, -2, 0, &columns, 8);
    EXPECT_EQ(Count(dst, kWhite), 1 + 4);
    EXPECT_EQ(Px(dst, 5, 3), kWhite);
    EXPECT_EQ(Px(dst, 5, 4), 0);
    EXPECT_EQ(Px(dst, 2, 3), kWhite);
    EXPECT_EQ(Px(dst, 2, 4), 0);
}

TEST_F(Effects, BlendExceptColorMixesOnlyIntoTheKey) {
    CDibDC src(4, 2, 0, 0, 0), dst(6, 3, 0, 0, 0);
    Fill(src, kWhite);
    Fill(dst, Fields(1, 1, 1));
    *dst.GetPixelAddress(2, 1) = 0;
    *dst.GetPixelAddress(3, 1) = 0;
    *dst.GetPixelAddress(5, 1) = 0;  // outside the placed source
    dst.BlendExceptColor(&src, 1, 0, 8, 0);
    EXPECT_EQ(Px(dst, 2, 1), kWhite);
    EXPECT_EQ(Px(dst, 3, 1), kWhite);
    EXPECT_EQ(Px(dst, 5, 1), 0);
    EXPECT_EQ(Count(dst, Fields(1, 1, 1)), 15);
}

TEST_F(Effects, DimHalvesEveryPixelUpToTheLastColumnAndRow) {
    CDibDC dc(13, 5, 0, 0, 0);
    Fill(dc, kWhite);
    dc.Dim(CZVRect(0, 0, 13, 5));
    EXPECT_EQ(Count(dc, Fields(15, 31, 15)), 13 * 5);
    EXPECT_EQ(Px(dc, 13, 4), kWhite);  // the spare column is no picture pixel

    Fill(dc, kWhite);
    dc.Dim(CZVRect(10, 3, 20, 20));
    EXPECT_EQ(Count(dc, Fields(15, 31, 15)), 3 * 2);
}

TEST_F(Effects, AddRgbCapsEachChannel) {
    CDibDC dc(4, 2, 0, 0, 0);
    Fill(dc, Fields(3, 60, 0));
    dc.AddRgb(255, 255, 255);
    EXPECT_EQ(Count(dc, kWhite), 8);
    Fill(dc, Fields(3, 60, 0));
    dc.AddRgb(16, 16, 8);
    EXPECT_EQ(Px(dc, 3, 1), Fields(5, 63, 1));
}

TEST_F(Effects, AddBlendRampsAtTheEndsAndNeedsEqualSizes) {
    CDibDC dc(10, 2, 0, 0, 0), light(10, 2, 0, 0, 0), small(8, 2, 0, 0, 0);
    Fill(dc, 0);
    Fill(light, Fields(0, 0, 25));  // blue 200
    dc.AddBlend(&small, 100, 0, 0);
    EXPECT_EQ(Count(dc, 0), 20);
    dc.AddBlend(&light, 50, 4, 2);
    // t: 0, 12, 25, 37, then 50 ... and (10 - 9) x 50 / 2 = 25 at column 9.
    const int blue[10] = {0, 24, 50, 74, 100, 100, 100, 100, 100, 50};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(Px(dc, x, 1), Fields(0, 0, blue[x] >> 3)) << x;
}

TEST_F(Effects, BlurAveragesInnerPixelsAndMapsTheKeyToTransparent) {
    CDibDC dc(5, 5, 0, 0, 0);
    Fill(dc, 0);
    *dc.GetPixelAddress(2, 2) = Fields(0, 0, 31);  // blue 248 -> 27 per neighbour
    *dc.GetPixelAddress(0, 0) = kWhite;
    const uint16_t key = Fields(0, 0, 3);
    dc.Blur(&key);
    EXPECT_EQ(Px(dc, 0, 0), kWhite);           // the border keeps its pixels
    EXPECT_EQ(Px(dc, 2, 2), 0);                // 248 / 9 = 27: blue 3, the key
    EXPECT_EQ(Px(dc, 1, 1), Fields(3, 7, 6));  // (248, 252, 248 + 248) / 9
    EXPECT_EQ(Px(dc, 1, 2), 0);

    Fill(dc, Fields(0, 0, 31));
    dc.Blur(nullptr);
    EXPECT_EQ(Count(dc, Fields(0, 0, 31)), 25);
}

TEST_F(Effects, SmoothEdgesNeverReadsThePreviousRowsEnd) {
    CDibDC dc(6, 4, 0, 0, 0), mask(6, 4, 0, 0, 0);
    Fill(dc, Fields(0, 0, 16));
    Fill(mask, 0);
    *mask.GetPixelAddress(0, 2) = 1;     // left neighbour of (1, 2) is masked
    *dc.GetPixelAddress(5, 0) = kWhite;  // the end of the row before row 1
    dc.SmoothEdges(&mask);
    // (sum of nine blue 128 + 9 x blue 128 of (0, 1)) / 18 = 128.
    EXPECT_EQ(Px(dc, 1, 2), Fields(0, 0, 16));
}

TEST_F(Effects, SmoothEdgesBlursInsideTheMaskAndSoftensBesideIt) {
    CDibDC dc(5, 4, 0, 0, 0), mask(5, 4, 0, 0, 0);
    Fill(dc, Fields(0, 0, 16));
    *dc.GetPixelAddress(2, 0) = Fields(0, 0, 0);
    *dc.GetPixelAddress(2, 1) = Fields(0, 0, 31);
    Fill(mask, 0);
    *mask.GetPixelAddress(2, 1) = 1;
    *mask.GetPixelAddress(3, 2) = 1;
    dc.SmoothEdges(&mask);
    // Inside: (7 x 128 + 0 + 248) / 9 = 127 -> blue 15.
    EXPECT_EQ(Px(dc, 2, 1), Fields(0, 0, 15));
    // (1, 1): right neighbour masked, n = the pixel above (1, 0) = 128:
    // (8 x 128 + 248 - 128 ... ) -> sum 1016 + 1152 = 2168 / 18 = 120 -> 15.
    EXPECT_EQ(Px(dc, 1, 1), Fields(0, 0, 15));
    EXPECT_EQ(Px(dc, 4, 3), Fields(0, 0, 16));  // border pixel
}

TEST_F(Effects, GlossDoesNothingBelowLevelTwoOrOnTinySurfaces) {
    const struct {
        uint32_t flags;
        int w, h;
    } cases[] = {{0, 20, 20}, {1, 20, 20}, {4, 20, 2}, {4, 2, 20}};
    for (const auto& c : cases) {
        m_style.flags = c.flags;
        CDibDC dc(c.w, c.h, 0, 0, 0);
        Fill(dc, kMidGrey);
        dc.ApplyGloss(4, 15, 0, 0, 0);
        EXPECT_EQ(Count(dc, kMidGrey), c.w * c.h) << c.flags << " " << c.w << "x" << c.h;
    }
}

TEST_F(Effects, GlossLightsTheTopDarkensTheBandAndSparesTransparentPixels) {
    m_style.flags = 4;
    CDibDC dc(40, 40, 0, 0, 0);
    Fill(dc, kMidGrey);  // 120, 124, 120
    *dc.GetPixelAddress(20, 5) = 0;
    dc.ApplyGloss(0, 0, 0, 0, 0);
    // Row 0: 125 -> +25; row 10: 125 + 10 x 25 / 20 = 137 -> +37.
    EXPECT_EQ(Px(dc, 20, 0), ToRgb565(MakeColor(145, 149, 145)));
    EXPECT_EQ(Px(dc, 20, 10), ToRgb565(MakeColor(157, 161, 157)));
    // The band (n = 2 rows from 19): 150 + 90 - 150 ... = 130 and 110.
    EXPECT_EQ(Px(dc, 20, 20), ToRgb565(MakeColor(130, 134, 130)));
    // Lower half: 90 + 10 x 30 / 20 = 105 at row 30.
    EXPECT_EQ(Px(dc, 20, 30), ToRgb565(MakeColor(125, 129, 125)));
    EXPECT_EQ(Px(dc, 20, 5), 0);
}

TEST_F(Effects, GlossWithAKeyChangesOnlyTheKeyAndIgnoresDithering) {
    m_style.flags = 4;
    m_shell.dither = true;
    CDibDC dc(10, 10, 0, 0, 0);
    Fill(dc, kMidGrey);
    *dc.GetPixelAddress(3, 0) = Fields(2, 2, 2);
    dc.ApplyGloss(0, 0, 0, kMidGrey, 0);
    EXPECT_EQ(Px(dc, 3, 0), Fields(2, 2, 2));
    EXPECT_EQ(Px(dc, 4, 0), ToRgb565(MakeColor(145, 149, 145)));
}

TEST_F(Effects, GlossDithersWhenAskedAndStaysWithinTheShape) {
    m_style.flags = 3;  // the wave
    CDibDC plain(30, 30, 0, 0, 0), dithered(30, 30, 0, 0, 0);
    Fill(plain, kMidGrey);
    Fill(dithered, kMidGrey);
    plain.ApplyGloss(8, 0, 2, 0, 0);
    m_shell.dither = true;
    dithered.ApplyGloss(8, 0, 2, 0, 0);
    // Inset 2: the outer ring is untouched, and so are the rounded corners.
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(Px(plain, i, 0), kMidGrey);
        EXPECT_EQ(Px(plain, 1, i), kMidGrey);
    }
    EXPECT_EQ(Px(plain, 2, 2), kMidGrey);
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) differing += Px(plain, x, y) != Px(dithered, x, y);
    EXPECT_GT(differing, 0);
    EXPECT_LT(Count(plain, kMidGrey), 30 * 30 - 300);
}

TEST_F(Effects, GlossOfAnAlphaPictureFollowsItsPlane) {
    m_style.flags = 4;
    CAlphaDibDC picture(10, 10, 0, 0);
    Fill(picture, kMidGrey);
    *picture.GetAlphaAt(4, 0) = 255;
    picture.ApplyGloss(0, 0, 0, 0, 0);
    EXPECT_EQ(Px(picture, 4, 0), ToRgb565(MakeColor(145, 149, 145)));
    EXPECT_EQ(Count(picture, kMidGrey), 99);
}

TEST_F(Effects, ShadedLinesFadeTowardTheReference) {
    const COLORREF white = MakeColor(255, 255, 255);
    const struct {
        int x, y, dx, dy, reverse, spread;
        std::vector<std::pair<int, int>> pixels;  // touched pixels in run order
        std::vector<int> red;
    } cases[] = {
        // l = 4: (own x (k + 1) + 255 x (3 - k)) / 4 over black pixels.
        {1, 1, 3, 0, 0, 1, {{1, 1}, {2, 1}, {3, 1}}, {191, 127, 63}},
        {1, 1, 3, 0, 1, 1, {{1, 1}, {2, 1}, {3, 1}}, {63, 127, 191}},
        {3, 4, -3, 0, 0, 1, {{3, 4}, {2, 4}, {1, 4}}, {191, 127, 63}},
        {0, 2, 0, 3, 0, 0, {{0, 2}, {0, 3}, {0, 4}}, {191, 127, 63}},  // spread 0 counts as 1
        {4, 3, 0, -2, 0, 2, {{4, 3}, {4, 2}}, {212, 170}},             // l = 6
        // Runs leaving the surface are clipped on both axes, keeping their weights.
        {4, 0, 4, 0, 0, 1, {{4, 0}, {5, 0}}, {204, 153}},
        {2, 4, 0, 5, 0, 1, {{2, 4}, {2, 5}}, {212, 170}},
    };
    for (const auto& c : cases) {
        CDibDC dc(6, 6, 0, 0, 0);
        Fill(dc, 0);
        dc.DrawShadedLine(c.x, c.y, c.dx, c.dy, c.reverse, &white, c.spread);
        int touched = 0;
        for (size_t i = 0; i < c.pixels.size(); ++i)
            EXPECT_EQ(Px(dc, c.pixels[i].first, c.pixels[i].second), ToRgb565(MakeColor(c.red[i], c.red[i], c.red[i])))
                << c.x << "," << c.y << " pixel " << i;
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 6; ++x) touched += Px(dc, x, y) != 0;
        EXPECT_EQ(touched, static_cast<int>(c.pixels.size()));
    }
}

TEST_F(Effects, ShadedLinesWithoutAColourReadTheirLeftHandNeighbour) {
    CDibDC dc(6, 6, 0, 0, 0);
    Fill(dc, 0);
    for (int x = 0; x < 6; ++x) *dc.GetPixelAddress(x, 0) = kWhite;  // above a run going right
    dc.DrawShadedLine(0, 1, 2, 0, 0, nullptr, 1);                    // l = 3
    EXPECT_EQ(Px(dc, 0, 1), ToRgb565(MakeColor(165, 168, 165)));
    EXPECT_EQ(Px(dc, 1, 1), ToRgb565(MakeColor(82, 84, 82)));
    // Reading across the border is refused.
    dc.DrawShadedLine(0, 0, 3, 0, 0, nullptr, 1);
    dc.DrawShadedLine(5, 2, 0, 2, 0, nullptr, 1);
    EXPECT_EQ(Px(dc, 5, 2), 0);

    CZVObList lines;
    CShadedLine down{1, 2, 0, 1, 0, 1};
    lines.AddTail(&down);
    *dc.GetPixelAddress(2, 2) = kWhite;  // going down, the left-hand side is the right
    dc.DrawShadedLines(&lines, nullptr);
    EXPECT_EQ(Px(dc, 1, 2), ToRgb565(MakeColor(124, 126, 124)));
}

std::vector<std::pair<int, int>> Points(const CPointList& list) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < list.GetCount(); ++i) points.emplace_back(list.GetX(i), list.GetY(i));
    return points;
}

TEST(CornerOutline, ModesGiveTheCircleItsShrunkFormOrTheRingOutside) {
    using P = std::vector<std::pair<int, int>>;
    const struct {
        int radius, trim, mode;
        P points;
    } cases[] = {
        {3, 1, 0, {{1, 3}, {2, 2}, {3, 1}, {3, 0}}},
        {3, 1, 0x10, {{1, 3}, {2, 2}, {3, 1}, {3, 0}}},  // bits outside 0x23 do not count
        {2, 1, 1, {{1, 2}, {2, 1}, {2, 0}}},
        // Circle of 2: (0,2) (1,2) (2,1) (2,0) -> (0,3) (1,3) (3,1) (3,0) with
        // the corner (2, 2) recorded at the first point below the diagonal.
        {3, 0, 2, {{0, 3}, {1, 3}, {3, 1}, {3, 0}, {2, 2}}},
        {3, 1, 2, {{1, 3}, {3, 1}, {3, 0}, {2, 2}}},
        {2, 0, 0x20, {{2, 2}}},  // the ring of radius 2 lies beyond 2 but for the corner
    };
    for (const auto& c : cases) {
        CPointList list;
        BuildCornerOutline(&list, c.radius, c.trim, c.mode);
        EXPECT_EQ(Points(list), c.points) << c.radius << " " << c.trim << " " << c.mode;
    }
    CPointList untouched;
    untouched.Add(7, 7);
    BuildCornerOutline(&untouched, 3, 1, 3);
    EXPECT_EQ(Points(untouched), (P{{7, 7}}));
}

}  // namespace
