#include "gfx/zvrect.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

void PrintTo(const CZVRect& r, std::ostream* os) {
    *os << "{" << r.x << ", " << r.y << ", " << r.w << ", " << r.h << "}";
}

namespace {

struct PartCase {
    const char* name;
    CZVRect (*take)(const CZVRect&);
    CZVRect expected;
};

class ZVRectPart : public testing::TestWithParam<PartCase> {};

TEST_P(ZVRectPart, LeavesTheSourceAlone) {
    const CZVRect source{10, 20, 300, 40};
    EXPECT_EQ(GetParam().take(source), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZVRectPart,
    testing::Values(
        PartCase{"Left", [](const CZVRect& r) { return r.LeftPart(50); }, {10, 20, 50, 40}},
        PartCase{"Right", [](const CZVRect& r) { return r.RightPart(50); }, {260, 20, 50, 40}},
        PartCase{"Top", [](const CZVRect& r) { return r.TopPart(15); }, {10, 20, 300, 15}},
        PartCase{"Bottom", [](const CZVRect& r) { return r.BottomPart(15); }, {10, 45, 300, 15}},
        PartCase{"FirstColumn", [](const CZVRect& r) { return r.Column(0, 3, 0); }, {10, 20, 100, 40}},
        PartCase{"LastRowWithGap", [](const CZVRect& r) { return r.Row(1, 2, 4); }, {10, 42, 300, 18}},
        PartCase{"NoColumns", [](const CZVRect& r) { return r.Column(1, 0, 5); }, {10, 20, 0, 40}},
        PartCase{"NoRows", [](const CZVRect& r) { return r.Row(0, -2, 5); }, {10, 20, 300, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZVRect, ColumnsAndRowsWithGapsFillTheRectanglePlusOneGap) {
    const CZVRect r{0, 0, 290, 20};
    EXPECT_EQ(r.Column(1, 3, 10), CZVRect(100, 0, 90, 20));
    EXPECT_EQ(r.Column(2, 3, 10), CZVRect(200, 0, 90, 20));  // ends at 289, the right edge
    EXPECT_EQ(CZVRect(0, 0, 10, 10).Row(2, 2, 0), CZVRect(0, 10, 10, 5));  // index not limited
}

struct CutCase {
    const char* name;
    CZVRect (*cut)(CZVRect&);
    CZVRect part;
    CZVRect rest;
};

class ZVRectCut : public testing::TestWithParam<CutCase> {};

TEST_P(ZVRectCut, PartAndRest) {
    CZVRect r{0, 0, 300, 40};
    EXPECT_EQ(GetParam().cut(r), GetParam().part);
    EXPECT_EQ(r, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZVRectCut,
    testing::Values(
        CutCase{"Left", [](CZVRect& r) { return r.CutLeft(100, 5); }, {0, 0, 95, 40}, {100, 0, 200, 40}},
        CutCase{"Right", [](CZVRect& r) { return r.CutRight(100, 5); }, {205, 0, 95, 40}, {0, 0, 200, 40}},
        CutCase{"Top", [](CZVRect& r) { return r.CutTop(10, 2); }, {0, 0, 300, 8}, {0, 10, 300, 30}},
        CutCase{"Bottom", [](CZVRect& r) { return r.CutBottom(10, 2); }, {0, 32, 300, 8}, {0, 0, 300, 30}},
        CutCase{"NoGap", [](CZVRect& r) { return r.CutLeft(300, 0); }, {0, 0, 300, 40}, {300, 0, 0, 40}},
        CutCase{"TooMuch", [](CZVRect& r) { return r.CutTop(50, 0); }, {0, 0, 300, 50}, {0, 50, 300, -10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZVRect, EdgesAreInclusive) {
    const CZVRect r{5, 6, 10, 20};
    int left, top, right, bottom;
    r.ToBounds(&left, &top, &right, &bottom);
    EXPECT_EQ(right, 14);
    EXPECT_EQ(bottom, 25);
    EXPECT_TRUE(r.Contains(5, 6));
    EXPECT_TRUE(r.Contains(14, 25));
    EXPECT_FALSE(r.Contains(15, 6));
    EXPECT_FALSE(r.Contains(5, 26));
    EXPECT_FALSE(r.Contains(4, 6));
    EXPECT_FALSE(CZVRect(5, 6, 0, 20).Contains(5, 6));
}

TEST(ZVRect, Intersect) {
    const CZVRect r{10, 10, 100, 100};
    const struct {
        CZVRect other;
        CZVRect expected;
    } cases[] = {
        {{0, 0, 50, 50}, {10, 10, 40, 40}},
        {{20, 30, 10, 10}, {20, 30, 10, 10}},
        {{100, 100, 50, 50}, {100, 100, 10, 10}},
        {{0, 0, 500, 500}, {10, 10, 100, 100}},
        {{200, 0, 50, 50}, {109, 10, 0, 40}},
        {{0, 0, 5, 5}, {10, 10, -5, -5}},
    };
    for (const auto& c : cases) {
        CZVRect out;
        r.Intersect(&out, c.other);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(ZVRect, MoveResizeAndMirror) {
    CZVRect r{10, 20, 30, 40};
    r.Deflate(2, 3);
    EXPECT_EQ(r, CZVRect(12, 23, 26, 34));
    r.Inflate(2, 3);
    EXPECT_EQ(r, CZVRect(10, 20, 30, 40));
    r.Offset(-10, 5);
    EXPECT_EQ(r, CZVRect(0, 25, 30, 40));
    r.Mirror(true, false, 100, 100);
    EXPECT_EQ(r, CZVRect(70, 25, 30, 40));
    r.Mirror(false, true, 100, 100);
    EXPECT_EQ(r, CZVRect(70, 35, 30, 40));
}

struct FakeWindow {
    int offsetX;
    int offsetY;
    int ToRootX(int x) const { return x + offsetX; }
    int ToRootY(int y) const { return y + offsetY; }
};

TEST(ZVRect, MakeAbsoluteAddsTheWindowsOffsets) {
    CZVRect r{1, 2, 3, 4};
    FakeWindow window{100, 200};
    r.MakeAbsolute(&window);
    EXPECT_EQ(r, CZVRect(101, 202, 3, 4));
}

}  // namespace
