#include "gfx/shadepoly.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/dibdc.h"
#include "support/assert_counter.h"

namespace {

std::vector<std::pair<int, int>> Points(const CPointList& list) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i < list.GetCount(); ++i) points.emplace_back(list.GetX(i), list.GetY(i));
    return points;
}

TEST(PointList, IndexesOutsideTheListAreReportedAndChangeNothing) {
    testsupport::AssertCounter asserts;
    CPointList list;
    list.Add(1, 2);
    EXPECT_EQ(list.GetX(1), 0);
    list.SetY(-1, 5);
    list.RemoveAt(3);
    EXPECT_EQ(asserts.Count(), 3);
    EXPECT_EQ(asserts.LastSource(), "shadepoly");
    EXPECT_EQ(Points(list), (std::vector<std::pair<int, int>>{{1, 2}}));
}

TEST(PointList, RemoveDuplicatesKeepsOnePointOfEachRun) {
    CPointList list;
    for (auto [x, y] : {std::pair{0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0}, {0, 0}}) list.Add(x, y);
    list.RemoveDuplicates();
    EXPECT_EQ(Points(list), (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 0}}));
}

TEST(SpanList, EmptySpansAreIgnoredAndCopiesAreDeep) {
    CSpanList spans;
    spans.Add(1, 1, 0);
    spans.Add(1, 1, -3);
    for (int i = 0; i < 129; ++i) spans.Add(i, 2 * i, 1);
    ASSERT_EQ(spans.GetCount(), 129);
    CSpanList copy(spans);
    spans.Offset(10, -1);
    EXPECT_EQ(spans.GetX(128), 138);
    EXPECT_EQ(spans.GetY(128), 255);
    EXPECT_EQ(copy.GetX(128), 128);
    EXPECT_EQ(copy.GetY(128), 256);
}

TEST(CircleOutline, OnePointPerRowWithTrim) {
    CPointList list;
    BuildCircleOutline(&list, 3, 0);
    EXPECT_EQ(Points(list), (std::vector<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 2}, {3, 1}, {3, 0}}));
    BuildCircleOutline(&list, 3, 1);
    EXPECT_EQ(Points(list), (std::vector<std::pair<int, int>>{{1, 3}, {2, 2}, {3, 1}, {3, 0}}));
    BuildCircleOutline(&list, 0, 1);
    EXPECT_EQ(Points(list), (std::vector<std::pair<int, int>>{{0, 0}}));
    ShrinkOutline(&list);
    EXPECT_EQ(Points(list), (std::vector<std::pair<int, int>>{{-1, 0}}));
}

}  // namespace
