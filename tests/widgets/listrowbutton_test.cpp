#include "widgets/lists/listrowbutton.h"

#include <gtest/gtest.h>

#include <vector>

#include "gfx/dibdc.h"
#include "list_fixture.h"
#include "widgets/lists/listwnd.h"

namespace {

using widgettest::CommandPage;
using widgettest::RowButtonList;

constexpr int kListX = 10;
constexpr int kListY = 30;
// Rows are 18 pixels tall, the selected one 30, under a bevel of 3; row 1
// selected spans list y 21..51 and its right edge is list x 197.
constexpr int kSelectedTop = 21;

class RowButtonTest : public widgettest::ButtonTest {
protected:
    RowButtonTest() {
        page = new CommandPage(&root);
        list = new RowButtonList(page, CZVRect(kListX, kListY, 200, 150), 42);
        page->list = list;
        list->SetSelectedRowHeight(30);
        list->AddRows(5);
    }
    CListRowButton* Add(int id, int autoRepeat = 0, int mode = 0, int rows = 0) {
        return list->AddRowButtonIcon(1, 1, "", id, autoRepeat, nullptr, mode, rows);
    }
    void SelectRow1() {
        list->SelectIndex(1, 0);
        harness.PaintAll();
    }
    // Root point in the middle of the n-th 60-pixel cell from the right.
    static int CellX(int n) { return kListX + 197 - 60 * n - 30; }
    static int RowMiddle() { return kListY + kSelectedTop + 15; }
    int Count(int id) const {
        int n = 0;
        for (const auto& c : page->commands) n += c.id == id;
        return n;
    }
    CSoundClip* Bleep() { return harness.Style().GetSound("bleep10.wav"); }

    CommandPage* page;
    RowButtonList* list;
};

// ---- placing

TEST_F(RowButtonTest, ButtonsSitLeftwardsFromTheRowsRightEdge) {
    for (int id : {901, 902, 903}) Add(id);
    CZVRect row(3, kSelectedTop, 195, 31);
    std::vector<int> xs;
    for (int i = 0; i < 3; ++i) {
        CZVRect r = list->GetRowButton(i)->GetRectInRow(row);
        EXPECT_EQ(r.y, kSelectedTop);
        EXPECT_EQ(r.w, 60);
        EXPECT_EQ(r.h, 30);
        xs.push_back(r.x);
    }
    EXPECT_EQ(xs, (std::vector<int>{137, 77, 17}));
    CZVRect bounds;
    list->GetRowButtonsRect(&bounds);
    EXPECT_EQ(bounds, CZVRect(17, 3, 180, 30));
}

TEST_F(RowButtonTest, StackedButtonsShareTheColumnFromTheBottom) {
    list->SetSelectedRowHeight(31);
    for (int id : {901, 902, 903}) Add(id, 0, 1, 3);
    // 31 rows in three cells of 10: bottom, middle, and the top takes the rest.
    std::vector<CZVRect> rects;
    for (int i = 0; i < 3; ++i) rects.push_back(list->GetRowButton(i)->GetRect());
    EXPECT_EQ(rects,
              (std::vector<CZVRect>{CZVRect(-60, 21, 60, 10), CZVRect(-60, 11, 60, 10), CZVRect(-60, 0, 60, 11)}));
}

TEST_F(RowButtonTest, StackedButtonsBeyondTheirCountOrWithNoCountStayInTheRow) {
    for (int rows : {0, -2, 2}) {
        list->DeleteAllRowButtons();
        for (int id : {901, 902, 903}) Add(id, 0, 1, rows);
        for (int i = 0; i < 3; ++i) {
            CZVRect r = list->GetRowButton(i)->GetRect();
            EXPECT_GE(r.y, 0) << rows;
            EXPECT_LE(r.y + r.h, 30) << rows;
            EXPECT_GT(r.h, 0) << rows;
        }
    }
}

TEST_F(RowButtonTest, ButtonsHiddenByARowsMaskLeaveNoGap) {
    for (int id : {901, 902, 903}) Add(id);
    list->GetItemAt(1)->m_buttonMask = 0b110;
    SelectRow1();
    // Button 1 is now rightmost and button 2 beside it; the third cell is free.
    harness.Tap(CellX(0), RowMiddle());
    harness.Tap(CellX(1), RowMiddle());
    EXPECT_EQ(Count(902), 1);
    EXPECT_EQ(Count(903), 1);
    EXPECT_EQ(Count(901), 0);
    EXPECT_EQ(harness.PixelAt(CellX(0), RowMiddle()),
              *list->GetRowButton(1)->GetNormalImage()->GetPixelAddress(30, 15));
}

// ---- pressing

TEST_F(RowButtonTest, AReleaseOverTheButtonSendsItsCommandWithTheBleep) {
    CListRowButton* button = Add(901);
    SelectRow1();
    harness.Press(CellX(0), RowMiddle());
    EXPECT_TRUE(button->IsPressed());
    EXPECT_EQ(harness.PixelAt(CellX(0), RowMiddle()), *button->GetPressedImage()->GetPixelAddress(30, 15));
    EXPECT_EQ(Count(901), 0);
    harness.Release(CellX(0), RowMiddle());
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(harness.PixelAt(CellX(0), RowMiddle()), *button->GetNormalImage()->GetPixelAddress(30, 15));
    EXPECT_EQ(Count(901), 1);
    EXPECT_EQ(Plays(Bleep()), 1);
    harness.RunFor(100);
    // The press was the button's: no selection command, no drag.
    EXPECT_EQ(Count(42), 0);
    EXPECT_EQ(list->GetSelectedIndex(), 1);
}

TEST_F(RowButtonTest, AReleaseElsewhereSendsNothing) {
    CListRowButton* button = Add(901);
    SelectRow1();
    harness.Press(CellX(0), RowMiddle());
    harness.Release(CellX(2), RowMiddle());
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(Count(901), 0);
    EXPECT_EQ(Plays(Bleep()), 0);
}

TEST_F(RowButtonTest, AButtonWhoseRowWentBeforeTheReleaseComesUp) {
    CListRowButton* button = Add(901);
    SelectRow1();
    harness.Press(CellX(0), RowMiddle());
    list->RemoveItemAt(1);
    harness.Release(CellX(0), RowMiddle());
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(Count(901), 0);
}

TEST_F(RowButtonTest, ARowWithoutRowButtonsTakesThePressAsARow) {
    Add(901);
    list->GetItemAt(1)->m_showsRowButtons = 0;
    SelectRow1();
    harness.Tap(CellX(0), RowMiddle());
    EXPECT_EQ(Count(901), 0);
    EXPECT_FALSE(list->GetRowButton(0)->IsPressed());
}

TEST_F(RowButtonTest, AHeldRepeatingButtonRepeatsAfterHalfASecondUntilReleased) {
    Add(902, 1);
    SelectRow1();
    harness.Press(CellX(0), RowMiddle());
    EXPECT_TRUE(list->IsDragging());
    EXPECT_EQ(list->GetHeldButton(), list->GetRowButton(0));
    harness.RunFor(480);
    EXPECT_EQ(Count(902), 0);
    harness.RunFor(520);
    // Every timer call from 500 ms on: about every 110 ms of 10 ms idle steps.
    EXPECT_GE(Count(902), 4);
    EXPECT_LE(Count(902), 6);
    const int repeated = Count(902);
    harness.Release(CellX(0), RowMiddle());
    EXPECT_EQ(Count(902), repeated + 1);
    EXPECT_EQ(list->GetHeldButton(), nullptr);
    EXPECT_FALSE(list->IsDragging());
    harness.RunFor(500);
    EXPECT_EQ(Count(902), repeated + 1);
    EXPECT_EQ(list->GetTimerInterval(), 0);
}

TEST_F(RowButtonTest, CommandSixHundredStaysInTheList) {
    Add(CListWnd::kEditCommitCommand);
    SelectRow1();
    harness.Tap(CellX(0), RowMiddle());
    EXPECT_EQ(Count(CListWnd::kEditCommitCommand), 0);
    EXPECT_EQ(Plays(Bleep()), 1);
}

// ---- keys

TEST_F(RowButtonTest, PSendsTheLastButtonsCommandAndOtherKeysTheFirsts) {
    root.SetFocusWindow(list);
    harness.Native().QueueKey('P', 'p');
    harness.PumpEvents();
    EXPECT_TRUE(page->commands.empty());
    for (int id : {901, 902, 903}) Add(id);
    harness.Native().QueueKey('P', 'p');
    harness.Native().QueueKey('A', 'a');
    harness.Native().QueueKey(platform::VK_RETURN, 13);
    harness.Native().QueueKey(platform::VK_NEXT, 0);
    harness.PumpEvents();
    std::vector<int> ids;
    for (const auto& c : page->commands) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<int>{903, 901, 901}));
}

}  // namespace
