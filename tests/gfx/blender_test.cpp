#include "gfx/blender.h"

#include <gtest/gtest.h>

#include <vector>

#include "effects_fixture.h"
#include "gfx/dibdc.h"
#include "support/assert_counter.h"

namespace {

using fxtest::Fields;

class Blender : public fxtest::EffectsTest {};

TEST_F(Blender, LevelsSevenAndEightLeaveEveryPixelAndTheEndsReachBlackAndWhite) {
    CBlender blender(4, 4);
    for (int p = 0; p <= 0xFFFF; ++p) {
        ASSERT_EQ(blender.Lookup(7, static_cast<uint16_t>(p)), p);
        ASSERT_EQ(blender.Lookup(8, static_cast<uint16_t>(p)), p);
    }
    const struct {
        int level;
        uint16_t pixel, expected;
    } cases[] = {
        {0, 0xFFFF, Fields(3, 7, 3)},        // an eighth of the brightness
        {1, 0xFFFF, Fields(7, 15, 7)},       // a quarter
        {3, Fields(16, 32, 8), Fields(8, 16, 4)},
        {15, 0, Fields(27, 55, 27)},         // 7/8 of the way to white
        {15, 0xFFFF, 0xFFFF},
        {12, Fields(0, 0, 0), Fields(15, 31, 15)},
    };
    for (const auto& c : cases) EXPECT_EQ(blender.Lookup(c.level, c.pixel), c.expected) << c.level;
}

TEST_F(Blender, ANewBlenderLeavesEveryPixel) {
    CBlender blender(8, 3);
    CDibDC dc(8, 3, 0, 0, 0);
    Fill(dc, 0x1234);
    blender.Apply(&dc, 0, 0, 8, 3);
    EXPECT_EQ(Count(dc, 0x1234), 24);
}

TEST_F(Blender, MaskPixelsSetLevelsFromTheTopOfTheirBlueField) {
    CBlender blender(6, 2);
    CDibDC mask(4, 1, 0, 0, 0);
    *mask.GetPixelAddress(0, 0) = 0x0010;  // level 8
    *mask.GetPixelAddress(1, 0) = 0x001E;  // level 15
    *mask.GetPixelAddress(2, 0) = 0x0002;  // level 1
    *mask.GetPixelAddress(3, 0) = 0;       // left alone
    blender.SetMask(&mask, 1, 1, 0, 0, 4, 1);
    const uint8_t* row = blender.GetMapRow(1);
    EXPECT_EQ(std::vector<uint8_t>(row, row + 6), (std::vector<uint8_t>{8, 8, 15, 1, 8, 8}));

    CDibDC dc(6, 2, 0, 0, 0);
    Fill(dc, 0xFFFF);
    blender.Apply(&dc, 0, 0, 6, 2);
    EXPECT_EQ(Px(dc, 2, 1), 0xFFFF);
    EXPECT_EQ(Px(dc, 3, 1), Fields(7, 15, 7));
    EXPECT_EQ(Count(dc, 0xFFFF), 11);
}

TEST_F(Blender, MasksOutsideTheMapAreReportedAndClipped) {
    testsupport::AssertCounter asserts;
    CBlender blender(4, 4);
    CDibDC mask(4, 4, 0, 0, 0);
    Fill(mask, 0x0002);
    blender.SetMask(&mask, -1, 0, 0, 0, 2, 2);
    EXPECT_EQ(asserts.Count(), 1);
    blender.SetMask(&mask, 2, 2, 0, 0, 4, 4);  // only 2 x 2 fit
    EXPECT_EQ(asserts.Count(), 2);
    EXPECT_EQ(blender.GetMapRow(3)[3], 1);
    EXPECT_EQ(blender.GetMapRow(1)[3], 8);
    EXPECT_EQ(asserts.LastSource(), "blender");
}

TEST_F(Blender, LongNeutralRunsPackIntoSkipCodes) {
    const struct {
        std::vector<uint8_t> row, packed;
    } cases[] = {
        // 20 neutral bytes before a level: 0x93 down to 0x80.
        {[] {
             std::vector<uint8_t> r(20, 8);
             r.push_back(3);
             return r;
         }(),
         [] {
             std::vector<uint8_t> r;
             for (int n = 19; n >= 0; --n) r.push_back(static_cast<uint8_t>(0x80 | n));
             r.push_back(3);
             return r;
         }()},
        // 16 neutral bytes stay 8s, stale skip codes among them too.
        {{8, 8, 0x85, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 2}, {8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 2}},
    };
    for (const auto& c : cases) {
        CBlender blender(static_cast<int>(c.row.size()), 1);
        std::copy(c.row.begin(), c.row.end(), blender.GetMapRow(0));
        blender.PackRow(0);
        EXPECT_EQ(std::vector<uint8_t>(blender.GetMapRow(0), blender.GetMapRow(0) + c.row.size()), c.packed);
    }
    // A run that reaches the row's end packs all but its last byte.
    CBlender tail(30, 1);
    tail.GetMapRow(0)[0] = 5;
    tail.PackRow(0);
    EXPECT_EQ(tail.GetMapRow(0)[1], 0x80 | 27);
    EXPECT_EQ(tail.GetMapRow(0)[28], 0x80);
    EXPECT_EQ(tail.GetMapRow(0)[29], 8);
    // Runs longer than 127 are cut into pieces of 127.
    CBlender wide(300, 1);
    wide.PackRow(0);
    EXPECT_EQ(wide.GetMapRow(0)[0], 0x80 | 126);
    EXPECT_EQ(wide.GetMapRow(0)[127], 0x80 | 126);
}

TEST_F(Blender, SkipCodesStopAtTheRightEdgeOfTheRectangle) {
    CBlender blender(40, 2);
    uint8_t* row0 = blender.GetMapRow(0);
    row0[0] = 0;
    row0[39] = 0;
    blender.PackRow(0);  // bytes 1..38 become skips running to column 38
    ASSERT_EQ(row0[1], 0x80 | 37);
    std::fill_n(blender.GetMapRow(1), 40, 0);  // every pixel of row 1 darkens
    CDibDC dc(40, 2, 0, 0, 0);
    Fill(dc, 0xFFFF);
    blender.Apply(&dc, 0, 0, 10, 2);
    EXPECT_EQ(Px(dc, 0, 0), Fields(3, 7, 3));
    EXPECT_EQ(Px(dc, 39, 0), 0xFFFF);  // outside the rectangle
    for (int x = 0; x < 10; ++x) EXPECT_EQ(Px(dc, x, 1), Fields(3, 7, 3)) << x;
    EXPECT_EQ(Count(dc, 0xFFFF), 80 - 11);
}

TEST_F(Blender, ApplyIsClippedToTheSurfaceAndTheMap) {
    testsupport::AssertCounter asserts;
    CBlender blender(10, 10);
    std::fill_n(blender.GetMapRow(9), 10, 0);
    CDibDC dc(4, 4, 0, 0, 0);
    Fill(dc, 0xFFFF);
    blender.Apply(&dc, -1, 0, 4, 4);
    EXPECT_EQ(asserts.Count(), 1);
    blender.Apply(&dc, 2, 2, 100, 100);
    EXPECT_EQ(Count(dc, 0xFFFF), 16);
    CBlender small(2, 10);
    std::fill_n(small.GetMapRow(3), 2, 0);
    small.Apply(&dc, 1, 3, 4, 4);
    EXPECT_EQ(Count(dc, 0xFFFF), 15);
}

TEST_F(Blender, ApplyGivesTheTablesPixelsOverRowsOfLevelsAndSkips) {
    // An odd width, so every row ends in pixels past the last whole step.
    constexpr int kW = 83, kH = 4;
    CBlender blender(kW, kH);
    for (int x = 0; x < kW; ++x) {
        blender.GetMapRow(0)[x] = static_cast<uint8_t>((x * 7) % 16);               // mixed levels
        blender.GetMapRow(1)[x] = static_cast<uint8_t>(x < 20 || x > 60 ? 8 : 13);  // packed below
        blender.GetMapRow(2)[x] = static_cast<uint8_t>(x / 10 + 3);                  // areas
        blender.GetMapRow(3)[x] = 2;
    }
    blender.PackRow(1);
    // A skip code among levels passes over them; one in the last step too.
    blender.GetMapRow(3)[21] = CBlender::kSkip | 5;
    blender.GetMapRow(3)[kW - 3] = CBlender::kSkip | 1;
    CDibDC dc(kW, kH, 0, 0, 0);
    std::vector<uint16_t> before;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) before.push_back(*dc.GetPixelAddress(x, y) = static_cast<uint16_t>(x * 797 + y * 4099));
    blender.Apply(&dc, 0, 0, kW, kH);
    for (int y = 0; y < kH; ++y) {
        const uint8_t* levels = blender.GetMapRow(y);
        for (int x = 0, skipTo = 0; x < kW; ++x) {
            const uint16_t was = before[static_cast<size_t>(y) * kW + x];
            uint16_t expected = was;
            if (x >= skipTo && levels[x] >= CBlender::kSkip)
                skipTo = x + (levels[x] & 0x7F) + 1;
            else if (x >= skipTo)
                expected = blender.Lookup(levels[x], was);
            ASSERT_EQ(Px(dc, x, y), expected) << x << ", " << y;
        }
    }
}

}  // namespace
