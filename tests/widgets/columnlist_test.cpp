// The column list: fitting texts, sharing the width among the columns, the
// header and its rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/dibdc.h"
#include "list_fixture.h"
#include "support/golden.h"
#include "widgets/lists/columnlist.h"

namespace {

using widgettest::ListTest;

std::string Ansi(CZVString s) { return s.GetAnsi(); }

TEST(ColumnFitTest, ShortensTextsWiderThanTheWidthWithAnEllipsis) {
    CDibDC dc(200, 40, 0, 0, 1);
    dc.SetFont(15, 0, 1);
    const int full = dc.GetTextSize("Living room").cx;
    const int ellipsis = dc.GetTextSize("...").cx;
    struct Case {
        const char* text;
        int maxWidth;
        bool shortened;
    };
    const Case cases[] = {
        {"Living room", full + 1, false},     // fits
        {"Living room", full, true},          // exactly as wide: the width must be below the room
        {"Living room", full - 1, true},      // one pixel over
        {"", 0, false},                       // empty stays empty
        {"Living room", ellipsis - 1, true},  // less room than "..." itself
    };
    for (const Case& c : cases) {
        const std::string fitted = Ansi(FitTextWithEllipsis(c.text, &dc, c.maxWidth, ellipsis));
        SCOPED_TRACE(std::string(c.text) + " in " + std::to_string(c.maxWidth));
        if (!c.shortened) {
            EXPECT_EQ(fitted, c.text);
            continue;
        }
        ASSERT_GE(fitted.size(), 3u);
        EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
        const std::string prefix = fitted.substr(0, fitted.size() - 3);
        EXPECT_EQ(std::string(c.text).rfind(prefix, 0), 0u);
        if (!prefix.empty())
            EXPECT_LE(dc.GetTextExtent(prefix.c_str(), static_cast<int>(prefix.size())).cx, c.maxWidth - ellipsis);
    }
}

class ColumnListTest : public ListTest {
protected:
    CColumnListWnd* MakeList(int columns, int width = 200) {
        auto* columnList = new CColumnListWnd(page, CZVRect(kListX, kListY, width, 150), columns, 42);
        page->AddChild(columnList);
        return columnList;
    }
    // The fixture's text list lies where the column lists go.
    void DropTextList() {
        page->RemoveChild(list);
        delete list;
        list = nullptr;
        page->list = nullptr;
    }
    static std::vector<int> Widths(CColumnListWnd* l) {
        std::vector<int> w;
        for (int i = 0; i < l->GetColumnCount(); ++i) w.push_back(l->GetColumnWidth(i));
        return w;
    }
};

TEST_F(ColumnListTest, ColumnsShareTheWidthInProportionAndTheLastTakesTheRest) {
    struct Case {
        std::vector<int> widths;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{1, 1, 2}, {50, 50, 100}},
        {{1, 1, 1}, {67, 67, 66}},
        {{0, 0, 0}, {66, 66, 68}},
        {{0, 0, 5}, {0, 0, 200}},
    };
    for (const Case& c : cases) {
        CColumnListWnd* l = MakeList(3);
        for (int i = 0; i < 3; ++i) l->SetColumnWidth(i, c.widths[static_cast<size_t>(i)]);
        harness.PaintAll();
        EXPECT_EQ(Widths(l), c.expected);
        EXPECT_EQ(l->GetColumnX(1), 1 + c.expected[0]);
        page->RemoveChild(l);
        delete l;
    }
}

TEST_F(ColumnListTest, ColumnsShrinkByTheScrollBarWhenItAppears) {
    CColumnListWnd* l = MakeList(2);
    for (int i = 0; i < 3; ++i) l->AddRow();
    harness.PaintAll();
    EXPECT_EQ(l->GetScrollBar(), nullptr);
    EXPECT_EQ(Widths(l)[0] + Widths(l)[1], 200);
    for (int i = 0; i < 20; ++i) l->AddRow();
    harness.PaintAll();
    ASSERT_NE(l->GetScrollBar(), nullptr);
    EXPECT_EQ(Widths(l)[0] + Widths(l)[1], l->GetWidth());
    EXPECT_LT(l->GetWidth(), 200);
}

TEST_F(ColumnListTest, ColumnIndicesOutsideTheListAreIgnored) {
    CColumnListWnd* l = MakeList(2);
    CColumnListItem* row = l->AddRow();
    for (int column : {-1, 2, 99}) {
        row->SetText(column, "x");
        EXPECT_EQ(Ansi(row->GetText(column)), "");
        l->SetColumnTitle(column, "x");
        l->SetColumnTextColor(column, 0xFF);
        EXPECT_EQ(l->SetColumnWidth(column, 50), column);
    }
    harness.PaintAll();
    EXPECT_EQ(Ansi(l->GetColumnTitle(0)), "-");
    EXPECT_EQ(Widths(l), (std::vector<int>{100, 100}));
}

TEST_F(ColumnListTest, TheHeaderFontShrinksUntilEveryTitleFitsItsCell) {
    // Two columns of 150 pixels; the size never goes below 10.
    struct Case {
        const char* wide;
        bool shrinks;
        bool fits;
    };
    const Case cases[] = {
        {"On", false, true},
        {"Temperature setpoint now", true, true},
        {"Scheduled command of the evening for the whole house", true, false},
    };
    CZVDC dc(list);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wide);
        CColumnListWnd* l = MakeList(2, 300);
        l->SetColumnTitle(0, "Time");
        l->SetColumnTitle(1, c.wide);
        const int start = l->GetFontSize();
        const int size = l->FitHeaderFont();
        EXPECT_EQ(l->GetFontSize(), size);
        EXPECT_EQ(size < start, c.shrinks);
        dc.SelectFont(size, 0, 0);
        EXPECT_EQ(dc.GetTextSize(c.wide).cx < l->GetColumnWidth(1), c.fits);
        if (c.shrinks && c.fits) {
            dc.SelectFont(size + 1, 0, 0);
            EXPECT_GE(dc.GetTextSize(c.wide).cx, l->GetColumnWidth(1));
        }
        if (!c.fits) EXPECT_EQ(size, 10);
        page->RemoveChild(l);
        delete l;
    }
}

TEST_F(ColumnListTest, RowsGoFirstOrLastAndAreNumberedInOrder) {
    CColumnListWnd* l = MakeList(1);
    l->AddRow()->SetText(0, "b");
    l->InsertRowFirst()->SetText(0, "a");
    l->AddRow()->SetText(0, "c");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(l->GetRow(i)->m_index, i);
        EXPECT_EQ(Ansi(l->GetRow(i)->GetText(0)), std::string(1, static_cast<char>('a' + i)));
    }
}

// Three columns of 50, 50 and 100 on a list at root x 10: dividers at
// list x 50 and 100; the header is 24 pixels tall.
class DividerDragTest : public ColumnListTest {
protected:
    DividerDragTest() {
        DropTextList();
        l = MakeList(3);
        l->SetColumnWidth(0, 1);
        l->SetColumnWidth(1, 1);
        l->SetColumnWidth(2, 2);
        harness.PaintAll();
    }
    void Drag(int fromX, int toX) {
        harness.Press(kListX + fromX, kHeaderY);
        harness.Move(kListX + toX, kHeaderY);
    }
    static constexpr int kHeaderY = kListY + 8;
    CColumnListWnd* l;
};

TEST_F(DividerDragTest, APressOverColumnKDragsTheDividerLeftOfItOverColumnZeroNothing) {
    EXPECT_EQ(l->ColumnAt(20, 8), -1);
    EXPECT_EQ(l->ColumnAt(50, 8), -1);  // on the divider itself: bounds are strict
    EXPECT_EQ(l->ColumnAt(70, 8), 0);
    EXPECT_EQ(l->ColumnAt(150, 8), 1);
    EXPECT_EQ(l->ColumnAt(150, l->GetHeaderHeight() + 1), -1);
    EXPECT_EQ(l->ColumnAt(150, -1), -1);

    Drag(20, 60);
    harness.Release(kListX + 60, kHeaderY);
    EXPECT_EQ(Widths(l), (std::vector<int>{50, 50, 100}));
}

TEST_F(DividerDragTest, DraggingWidensTheColumnWithTheSizeCursorAndRestoresIt) {
    Drag(70, 90);
    EXPECT_EQ(harness.Native().GetCursor(), platform::CursorShape::SizeWE);
    EXPECT_EQ(Widths(l), (std::vector<int>{70, 50, 80}));
    harness.Release(kListX + 90, kHeaderY);
    EXPECT_EQ(harness.Native().GetCursor(), platform::CursorShape::Arrow);
    EXPECT_EQ(Widths(l), (std::vector<int>{70, 50, 80}));
}

TEST_F(DividerDragTest, AColumnKeepsTenPixelsAndTooWideColumnsAreSqueezedOnRelease) {
    Drag(70, 5);
    EXPECT_EQ(Widths(l)[0], 10);
    harness.Release(kListX + 5, kHeaderY);

    Drag(120, 199);  // column 1 widened to 129 from 50: the last would need -29
    EXPECT_EQ(Widths(l)[1], 129);
    EXPECT_EQ(Widths(l)[2], 61);
    harness.Release(kListX + 199, kHeaderY);
    const std::vector<int> w = Widths(l);
    EXPECT_EQ(w[0] + w[1] + w[2], 200);
    EXPECT_GE(w[2], 10);
}

TEST_F(DividerDragTest, TheDividerLineLeavesNoTraceWhenMovedOn) {
    const auto before = harness.Capture();
    harness.Press(kListX + 70, kHeaderY);
    const auto shown = harness.Capture();
    EXPECT_NE(shown, before);
    // Each move erases the line and draws it one pixel on; back at the start,
    // nothing of the line in between remains.
    harness.Move(kListX + 71, kHeaderY);
    EXPECT_NE(harness.Capture(), shown);
    harness.Move(kListX + 70, kHeaderY);
    EXPECT_EQ(harness.Capture(), shown);
}

TEST_F(ColumnListTest, AHeaderShortenedTextsAndARowButtonLookRight) {
    DropTextList();
    CColumnListWnd* l = MakeList(3, 300);
    const char* titles[] = {"Time", "Command", "Zone"};
    for (int i = 0; i < 3; ++i) l->SetColumnTitle(i, titles[i]);
    l->SetColumnWidth(0, 1);
    l->SetColumnWidth(1, 2);
    l->SetColumnWidth(2, 1);
    l->SetColumnTextColor(2, 0x0000C0);
    const char* texts[][3] = {{"07:00", "Porch light on", "Front"},
                              {"21:30", "All shades down for the night", "House"},
                              {"23:00", "Alarm armed", "Whole house and garage"}};
    for (const auto& t : texts) {
        CColumnListItem* row = l->AddRow();
        for (int i = 0; i < 3; ++i) row->SetText(i, t[i]);
    }
    l->AddRowButtonIcon(4, 1, "", 50, 0, nullptr, 0, 1);
    l->SelectIndex(1, 0);
    harness.PaintAll();
    EXPECT_EQ(Ansi(l->GetRow(1)->GetFittedText(1)).substr(Ansi(l->GetRow(1)->GetFittedText(1)).size() - 3), "...");
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "column_list"));
}

}  // namespace
