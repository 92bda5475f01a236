#include "gfx/speed.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/assert_counter.h"

namespace {

TEST(Rgb565, ConversionsTruncateAndKeepTheKey) {
    const struct {
        int r, g, b;
        uint16_t pixel;
    } cases[] = {
        {255, 255, 255, 0xFFFF}, {0, 0, 0, 0x0000},  {7, 3, 7, 0x0000},
        {0, 0, 8, 0x0001},       {8, 0, 0, 0x0800},  {0, 4, 0, 0x0020},
        {255, 0, 0, 0xF800},     {0, 255, 0, 0x07E0}, {0, 0, 255, 0x001F},
        {0x12, 0x34, 0x56, 0x11AA},
    };
    for (const auto& c : cases) {
        const COLORREF color = MakeColor(c.r, c.g, c.b);
        EXPECT_EQ(ToRgb565(color), c.pixel) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(IsBlack565(color), c.pixel == kTransparent565);
    }
    EXPECT_EQ(ColorFrom565(0xFFFF), MakeColor(248, 252, 248));
    EXPECT_EQ(MakeColor(1, 2, 3), 0x030201u);
}

TEST(Rgb565, EveryPixelSurvivesARoundTrip) {
    for (uint32_t pixel = 0; pixel <= 0xFFFF; ++pixel)
        ASSERT_EQ(ToRgb565(ColorFrom565(static_cast<uint16_t>(pixel))), pixel);
}

TEST(Speed, SquareRootsAtTheTablesEdge) {
    const struct {
        int n;
        int root;
    } cases[] = {{0, 0},       {1, 1},       {3, 1},       {4, 2},          {2499, 49},
                 {2500, 50},   {2600, 50},   {-4, 0},      {1 << 30, 32768}, {2147483647, 46340}};
    for (const auto& c : cases)
        EXPECT_EQ(ISqrt(c.n), c.root) << c.n;
    for (int n = 0; n < 2500; ++n)
        ASSERT_EQ(ISqrt(n), speed_detail::BitwiseSqrt(n)) << n;
}

TEST(Speed, SineTableRunsOnePeriod) {
    const auto& sine = SineTable();
    EXPECT_EQ(sine[0], 50);
    EXPECT_EQ(sine[25], 99);
    EXPECT_EQ(sine[50], 50);
    EXPECT_EQ(sine[75], 0);
    for (int i = 1; i <= 25; ++i)
        EXPECT_GE(sine[i], sine[i - 1]);
    for (int i = 26; i <= 75; ++i)
        EXPECT_LE(sine[i], sine[i - 1]);
}

TEST(Speed, ColourArithmetic) {
    EXPECT_EQ(ScaleColor(1.5, MakeColor(192, 192, 192)), MakeColor(255, 255, 255));
    EXPECT_EQ(ScaleColor(0.5, MakeColor(1, 128, 255)), MakeColor(0, 64, 127));
    EXPECT_EQ(ScaleColor(-1.0, MakeColor(10, 20, 30)), MakeColor(0, 0, 0));
    EXPECT_FALSE(IsLightColor(MakeColor(128, 127, 127)));
    EXPECT_TRUE(IsLightColor(MakeColor(128, 128, 127)));
    EXPECT_EQ(MixColors(MakeColor(0, 100, 255), MakeColor(255, 200, 0), 0.5),
              MakeColor(127, 150, 127));
    EXPECT_EQ(MixColors(MakeColor(1, 2, 3), MakeColor(200, 200, 200), 0.0), MakeColor(1, 2, 3));
    EXPECT_EQ(MixColors(MakeColor(1, 2, 3), MakeColor(200, 201, 202), 1.0),
              MakeColor(200, 201, 202));
}

std::vector<uint16_t> Cycle(CDither565& dither, int r, int g, int b, int oddStart, int count = 4) {
    std::vector<uint16_t> pixels;
    for (int i = 0; i < count; ++i)
        pixels.push_back(dither.Next(r, g, b, oddStart));
    return pixels;
}

TEST(Dither565, CyclesAverageToTheColour) {
    const struct {
        int r, g, b;
        std::vector<uint16_t> cycle;
    } cases[] = {
        {0, 2, 0, {0x0000, 0x0020, 0x0020, 0x0000}},
        {0, 0, 4, {0x0000, 0x0001, 0x0001, 0x0000}},
        // Red steps down from 8 as green and blue step down from their first level.
        {4, 0, 0, {0x0000, 0x0800, 0x0800, 0x0000}},
        {12, 0, 0, {0x0800, 0x1000, 0x1000, 0x0800}},
        {8, 4, 8, {0x0821, 0x0821, 0x0821, 0x0821}},
        {255, 255, 255, {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}},
        {2, 1, 6, {0x0000, 0x0821, 0x0002, 0x0001}},
    };
    for (const auto& c : cases) {
        CDither565 dither;
        dither.Reset();
        EXPECT_EQ(Cycle(dither, c.r, c.g, c.b, 0), c.cycle) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(Cycle(dither, c.r, c.g, c.b, 0), c.cycle) << "the same colour continues";
    }
}

TEST(Dither565, OddStartBeginsHalfACycleOnAndBlackNeedsNoCycle) {
    CDither565 dither;
    dither.Reset();
    EXPECT_EQ(Cycle(dither, 0, 0, 0, 0, 6), std::vector<uint16_t>(6, 0));
    EXPECT_EQ(Cycle(dither, 0, 2, 0, 1), (std::vector<uint16_t>{0x0020, 0x0000, 0x0000, 0x0020}));
    // A new colour restarts the cycle; the old one builds afresh when it returns.
    dither.Next(0, 0, 4, 0);
    EXPECT_EQ(Cycle(dither, 0, 2, 0, 0), (std::vector<uint16_t>{0x0000, 0x0020, 0x0020, 0x0000}));
}

TEST(Speed, SecondLiveInstanceIsReportedAndCounterMoves) {
    testsupport::AssertCounter asserts;
    CSpeed speed;
    EXPECT_EQ(asserts.Count(), 0);
    EXPECT_GE(speed.GetFrequency(), 1000000);
    {
        CSpeed second;
        EXPECT_EQ(asserts.Count(), 1);
        EXPECT_EQ(asserts.LastSource(), "speed");
    }
    speed.ReadCounter();
    const int64_t first = speed.GetCounter();
    speed.ReadCounter();
    EXPECT_GE(speed.GetCounter(), first);
    EXPECT_GT(first, 0);
}

}  // namespace
