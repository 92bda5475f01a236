#include "widgets/lists/listwnd.h"

#include <gtest/gtest.h>

#include "list_fixture.h"
#include "recording_window.h"
#include "support/assert_counter.h"

namespace {

using widgettest::CommandPage;
using widgettest::ListTest;
using widgettest::TextList;
using Command = CommandPage::Command;

// ---- rows

TEST_F(ListTest, RowsAreNumberedByPositionAndRemovalsRenumberAndClearTheSelection) {
    list->AddRows(5);
    list->SelectIndex(2, 0);
    EXPECT_EQ(list->GetSelectedIndex(), 2);
    list->RemoveItem(list->GetItemAt(2));
    EXPECT_EQ(list->GetSelectedIndex(), -1);
    EXPECT_EQ(list->GetSelected(), nullptr);
    ASSERT_EQ(list->GetCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(list->GetItemAt(i)->m_index, i);
    EXPECT_EQ(list->TextAt(2), "Row 3");

    list->SelectIndex(3, 0);
    list->RemoveItemAt(3);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
    list->RemoveItemAt(1);
    EXPECT_EQ(list->TextAt(1), "Row 3");
    EXPECT_EQ(list->GetItemAt(1)->m_index, 1);
}

TEST_F(ListTest, IndicesOutsideTheRowsChangeNothing) {
    list->AddRows(3);
    list->SelectIndex(1, 0);
    for (int index : {-1, 3, 1000}) {
        EXPECT_EQ(list->GetItemAt(index), nullptr);
        EXPECT_EQ(list->GetItemData(index), nullptr);
        list->RemoveItemAt(index);
        list->SwapItems(index, 0);
        CZVRect r;
        list->GetItemRectAt(&r, index);
        EXPECT_EQ(r, CZVRect(3, 0, 195, 1));
    }
    list->RemoveItem(nullptr);
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->GetSelectedIndex(), 1);
    list->SelectIndex(7, 0);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
}

TEST_F(ListTest, SwappedRowsTradePlacesIndicesAndEdges) {
    list->AddRows(4);
    list->LayoutItems();
    list->SwapItems(0, 3);
    EXPECT_EQ(list->TextAt(0), "Row 3");
    EXPECT_EQ(list->TextAt(3), "Row 0");
    EXPECT_EQ(list->GetItemAt(0)->m_index, 0);
    EXPECT_EQ(list->GetItemAt(0)->m_top, 0);
    EXPECT_EQ(list->GetItemAt(3)->m_top, 54);
}

TEST_F(ListTest, TheSelectedRowIsTallerAndTheRowsBelowMoveDown) {
    list->AddRows(3);
    list->SetSelectedRowHeight(30);
    list->SelectIndex(1, 0);
    CZVRect r;
    list->GetItemRectAt(&r, 1);
    EXPECT_EQ(r, CZVRect(3, 21, 195, 31));
    list->GetItemRectAt(&r, 2);
    EXPECT_EQ(r.y, 51);
    EXPECT_EQ(list->LayoutItems(), 66);
}

// ---- the scroll bar

TEST_F(ListTest, TheBarAppearsWhenRowsOutgrowTheViewAndGoesWhenTheyFitAgain) {
    list->AddRows(8);
    harness.PaintAll();
    EXPECT_EQ(list->GetScrollBar(), nullptr);
    EXPECT_EQ(list->GetWidth(), 200);

    list->AddRows(4);  // 12 rows of 18 > 144
    harness.PaintAll();
    CZVScrollBar* bar = list->GetListScrollBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(list->GetWidth(), 180);
    EXPECT_EQ(bar->GetX(), 190);
    EXPECT_EQ(bar->GetWidth(), 20);
    EXPECT_EQ(bar->GetPageLength(), 144);
    EXPECT_EQ(bar->GetTotal(), 216);
    EXPECT_EQ(bar->GetStep(), 18);

    while (list->GetCount() > 8) list->RemoveItem(list->GetItemAt(0));
    EXPECT_EQ(list->GetScrollBar(), nullptr);
    EXPECT_EQ(list->GetWidth(), 200);
    EXPECT_EQ(list->GetScrollPos(), 0);
}

TEST_F(ListTest, RowsRemovedAtTheEndLeaveTheViewWithinTheRows) {
    list->AddRows(20);
    harness.PaintAll();
    list->GetListScrollBar()->ScrollTo(1000);
    EXPECT_EQ(list->GetScrollPos(), 360 - 144);
    for (int i = 0; i < 6; ++i) list->RemoveItemAt(list->GetCount() - 1);
    harness.PaintAll();
    EXPECT_EQ(list->GetScrollPos(), 14 * 18 - 144);
    EXPECT_EQ(list->GetListScrollBar()->GetPosition(), list->GetScrollPos());
}

TEST_F(ListTest, TheBarsArrowsScrollTheListByARowAndTheirIdsStayInTheBar) {
    list->AddRows(20);
    harness.PaintAll();
    harness.Clock().Advance(200);
    harness.Press(200, 170);  // down arrow
    EXPECT_EQ(list->GetScrollPos(), 18);
    harness.Release(200, 170);
    harness.RunFor(100);
    EXPECT_EQ(list->GetScrollPos(), 18);

    harness.Press(200, 170);
    harness.RunFor(400);  // repeats after 250 ms, faster and faster
    harness.Release(200, 170);
    const int held = list->GetScrollPos();
    EXPECT_GT(held, 3 * 18);
    EXPECT_EQ(held % 18, 0);
    harness.RunFor(200);
    EXPECT_EQ(list->GetScrollPos(), held);

    harness.Press(200, 40);  // up arrow
    EXPECT_EQ(list->GetScrollPos(), held - 18);
    harness.Release(200, 40);
    for (int id : Ids()) {
        EXPECT_NE(id, 1000);
        EXPECT_NE(id, 1001);
        EXPECT_NE(id, 42);
    }
}

// ---- touch

TEST_F(ListTest, ATapSelectsRepaintsTheBandAndSendsTheCommandOnceAfterTheRelease) {
    list->AddRows(5);
    harness.PaintAll();
    harness.Press(50, RowY(2));
    EXPECT_EQ(list->GetSelectedIndex(), 2);
    EXPECT_EQ(harness.PixelAt(100, RowY(2)), ToRgb565(list->GetSelectedFillColor()));
    EXPECT_TRUE(page->commands.empty());
    harness.RunFor(50);
    EXPECT_TRUE(page->commands.empty());  // the finger is still down
    harness.Release(50, RowY(2));
    harness.RunFor(50);
    EXPECT_EQ(page->commands, (std::vector<Command>{{42, 2}}));

    harness.Press(50, RowY(4));
    harness.Release(50, RowY(4));
    harness.RunFor(20);
    EXPECT_NE(harness.PixelAt(100, RowY(2)), ToRgb565(list->GetSelectedFillColor()));
    EXPECT_EQ(Ids(), (std::vector<int>{42, 42}));
}

TEST_F(ListTest, ASecondPressWithin500MsSendsTheDoubleClickId) {
    list->AddRows(5);
    list->SetDoubleClickId(1004);
    harness.PaintAll();
    harness.Tap(50, RowY(1));
    harness.RunFor(100);
    harness.Tap(50, RowY(1));
    EXPECT_EQ(Ids(), (std::vector<int>{42, 1004}));
    harness.RunFor(600);
    harness.Tap(50, RowY(1));
    EXPECT_EQ(Ids(), (std::vector<int>{42, 1004}));
}

// A list that set no double-click id sends nothing for a quick second
// press: an id the page never chose would be taken as one of its commands.
TEST_F(ListTest, ASecondPressSendsNothingMoreWithoutADoubleClickId) {
    list->AddRows(5);
    harness.PaintAll();
    harness.Tap(50, RowY(1));
    harness.RunFor(100);
    harness.Tap(50, RowY(1));
    harness.RunFor(20);
    EXPECT_EQ(Ids(), std::vector<int>{42});
}

// Rows removed by index are laid out again at the next paint, so that a
// touch selects the row under the finger.
TEST_F(ListTest, ATouchAfterARemovalByIndexSelectsTheRowUnderTheFinger) {
    list->AddRows(5);
    harness.PaintAll();
    list->RemoveItemAt(1);
    harness.PaintAll();
    harness.Tap(50, RowY(1));
    harness.RunFor(20);
    EXPECT_EQ(list->GetSelectedIndex(), 1);
    EXPECT_EQ(list->TextAt(1), "Row 2");
}

TEST_F(ListTest, APressWithUniformRowHeightIsNoDoubleClick) {
    list->AddRows(5);
    list->SetUniform(1);
    list->SetDoubleClickId(1004);
    harness.PaintAll();
    harness.Tap(50, RowY(1));
    harness.RunFor(20);
    EXPECT_EQ(Ids(), std::vector<int>{42});
}

TEST_F(ListTest, ShiftOrControlSendsTheCommandAtOnceWithTheSelectionHidden) {
    list->AddRows(5);
    harness.PaintAll();
    for (int keys : {platform::MK_SHIFT, platform::MK_CONTROL}) {
        page->commands.clear();
        list->Select(nullptr, 0);
        list->OnLButtonDown(50, RowY(3), keys);
        EXPECT_EQ(page->commands, (std::vector<Command>{{42, -1}}));
        EXPECT_EQ(list->GetSelectedIndex(), 3);
        list->OnLButtonUp(50, RowY(3), 0);
        harness.RunFor(20);
        EXPECT_EQ(page->commands.size(), 1u);
    }
}

TEST_F(ListTest, RowsRemovedByTheImmediateCommandDoNotComeBackAsTheSelection) {
    list->AddRows(5);
    harness.PaintAll();
    page->onCommand = [this](int) { list->RemoveAll(0); };
    list->OnLButtonDown(50, RowY(3), platform::MK_SHIFT);
    EXPECT_EQ(list->GetCount(), 0);
    EXPECT_EQ(list->GetSelected(), nullptr);
    harness.PaintAll();
}

TEST_F(ListTest, AListDeletedByItsOwnCommandEndsTheIdleWalkSafely) {
    list->AddRows(5);
    auto* sibling = new widgettest::RecordingWindow(page, CZVRect(250, 10, 20, 20), "after", nullptr);
    harness.PaintAll();
    page->onCommand = [this](int) {
        delete list;
        page->list = list = nullptr;
    };
    harness.Tap(50, RowY(1));
    EXPECT_EQ(harness.Idle(), 1);
    EXPECT_EQ(page->commands.size(), 1u);
    EXPECT_EQ(sibling->idles, 0);  // the walk stopped where the list went
    EXPECT_EQ(page->GetChildren().GetCount(), 1);
    harness.Idle();
    EXPECT_EQ(sibling->idles, 1);
}

TEST_F(ListTest, AListDeletedByAShiftPressCommandIsNotTouchedAgain) {
    list->AddRows(5);
    harness.PaintAll();
    page->onCommand = [this](int) {
        delete list;
        page->list = list = nullptr;
    };
    harness.Native().QueueMouse(platform::kWmLButtonDown, 50, RowY(1), platform::MK_LBUTTON | platform::MK_SHIFT);
    EXPECT_EQ(harness.PumpEvents(), 1);
    EXPECT_EQ(page->commands.size(), 1u);
}

TEST_F(ListTest, DraggingScrollsWithTheFingerOnceItLeavesThePressPointBy10Pixels) {
    list->AddRows(20);
    harness.PaintAll();
    harness.Press(50, 96);
    EXPECT_EQ(list->GetSelectedIndex(), 3);
    harness.Move(50, 87);
    EXPECT_EQ(list->GetScrollPos(), 0);
    harness.Move(50, 86);
    EXPECT_EQ(list->GetScrollPos(), 10);
    EXPECT_EQ(list->GetListScrollBar()->GetPosition(), 10);
    harness.Move(50, 85);  // steps under 2 pixels are ignored
    EXPECT_EQ(list->GetScrollPos(), 10);
    harness.Move(50, 80);
    EXPECT_EQ(list->GetScrollPos(), 16);
    harness.Move(50, 200);  // back down: scrolled to the top, not beyond
    EXPECT_EQ(list->GetScrollPos(), 0);
    harness.Release(50, 200);
    EXPECT_EQ(list->GetFlickVelocity(), 0);
    harness.RunFor(20);
    EXPECT_EQ(page->commands, (std::vector<Command>{{42, 3}}));
}

TEST_F(ListTest, TheScrolledRowsShowWhatTheyShouldAfterMovingThePixels) {
    list->AddRows(20);
    harness.PaintAll();
    harness.Press(50, 150);
    harness.Move(50, 120);
    harness.Move(50, 73);
    harness.Release(50, 73);
    const int pos = list->GetScrollPos();
    ASSERT_EQ(pos, 77);
    const testsupport::Image565 scrolled = harness.Capture();
    harness.PaintAll();
    EXPECT_EQ(scrolled.pixels, harness.Capture().pixels);
}

TEST_F(ListTest, AFastReleaseFlicksAndTheFlickDeceleratesAndStopsAtTheEnd) {
    list->AddRows(20);
    harness.PaintAll();
    harness.Press(50, 150);
    for (int y : {130, 110, 90}) {
        harness.Clock().Advance(10);
        harness.Move(50, y);
    }
    EXPECT_EQ(list->GetScrollPos(), 60);
    harness.Release(50, 90);
    EXPECT_EQ(list->GetFlickVelocity(), -2000);
    harness.Clock().Advance(10);
    EXPECT_EQ(harness.Idle(), 1);
    EXPECT_EQ(list->GetScrollPos(), 80);
    harness.Clock().Advance(10);
    harness.Idle();
    EXPECT_EQ(list->GetScrollPos(), 100);
    harness.RunFor(500);
    EXPECT_EQ(list->GetFlickVelocity(), 0);
    EXPECT_EQ(list->GetScrollPos(), 360 - 144);
    EXPECT_EQ(list->GetListScrollBar()->GetPosition(), 360 - 144);
    // The selection's command waited for the flick to end.
    EXPECT_EQ(Ids(), std::vector<int>{42});
}

TEST_F(ListTest, ATouchStopsAFlickAndScrollsFromTheFirstTwoPixels) {
    list->AddRows(20);
    harness.PaintAll();
    harness.Press(50, 150);
    harness.Clock().Advance(10);
    harness.Move(50, 120);
    harness.Release(50, 120);
    ASSERT_NE(list->GetFlickVelocity(), 0);
    harness.Clock().Advance(10);
    harness.Idle();
    harness.Press(50, 100);
    EXPECT_EQ(list->GetFlickVelocity(), 0);
    const int pos = list->GetScrollPos();
    harness.Move(50, 97);
    EXPECT_EQ(list->GetScrollPos(), pos + 3);
    harness.RunFor(600);
    EXPECT_EQ(list->GetDragState(), 1);  // never a drag selection
}

TEST_F(ListTest, ALongPressTurnsIntoADragSelectionThatFollowsTheFinger) {
    list->AddRows(6);
    harness.PaintAll();
    CSoundClip* click = harness.Style().GetSound("click1.wav");
    const int before = Plays(click);
    harness.Press(50, RowY(1));
    harness.RunFor(400);
    EXPECT_EQ(list->GetDragState(), 0);
    harness.RunFor(10);
    EXPECT_EQ(list->GetDragState(), 2);
    EXPECT_EQ(Plays(click), before + 1);
    harness.Move(50, RowY(3));
    EXPECT_EQ(list->GetSelectedIndex(), 3);
    EXPECT_EQ(list->GetScrollPos(), 0);
    EXPECT_EQ(Plays(click), before + 2);
    EXPECT_EQ(page->commands, (std::vector<Command>{{42, 3}}));
    harness.Move(50, RowY(3) + 3);
    EXPECT_EQ(page->commands.size(), 1u);
    harness.Release(50, RowY(3));
    harness.RunFor(20);
    EXPECT_EQ(page->commands, (std::vector<Command>{{42, 3}, {42, 3}}));
}

TEST_F(ListTest, APressBelowTheLastRowKeepsTheSelection) {
    list->AddRows(3);
    harness.PaintAll();
    harness.Tap(50, RowY(1));
    harness.RunFor(20);
    EXPECT_EQ(list->OnLButtonDown(50, RowY(6), platform::MK_LBUTTON), 0);
    EXPECT_EQ(list->GetSelectedIndex(), 1);
}

// ---- keys

TEST_F(ListTest, PageKeysSelectTheEdgeRowFirstThenMoveByAPageAndSendNothing) {
    list->AddRows(30);
    harness.PaintAll();  // 8 rows in view, a page is (144 - 18) / 18 = 7 rows
    list->OnKeyUp(platform::VK_NEXT, 0);
    EXPECT_EQ(list->GetSelectedIndex(), 7);
    list->OnKeyUp(platform::VK_NEXT, 0);
    EXPECT_EQ(list->GetSelectedIndex(), 14);
    EXPECT_GT(list->GetScrollPos(), 0);
    list->OnKeyUp(platform::VK_PRIOR, 0);
    const int first = list->GetSelectedIndex();
    EXPECT_LT(first, 14);
    list->OnKeyUp(platform::VK_PRIOR, 0);
    EXPECT_EQ(list->GetSelectedIndex(), std::max(first - 7, 0));
    for (int i = 0; i < 5; ++i) list->OnKeyUp(platform::VK_PRIOR, 0);
    EXPECT_EQ(list->GetSelectedIndex(), 0);
    EXPECT_TRUE(page->commands.empty());

    list->RemoveAll(0);
    list->OnKeyUp(platform::VK_NEXT, 0);
    EXPECT_EQ(list->GetSelectedIndex(), -1);
}

// ---- painting

TEST_F(ListTest, AnEmptyListShowsItsTextAndARowlessPaintDrawsNoRow) {
    list->SetEmptyText("No messages", 12);
    harness.PaintAll();
    EXPECT_EQ(list->rowsDrawn, 0);
    int dark = 0;
    for (int y = kListY; y < kListY + 150; ++y)
        for (int x = kListX; x < kListX + 200; ++x) dark += harness.PixelAt(x, y) != ToRgb565(list->GetBackColor());
    EXPECT_GT(dark, 20);
}

TEST_F(ListTest, PaintingWhileHiddenIsReported) {
    testsupport::AssertCounter asserts;
    list->AddRows(2);
    list->Show(0, 0);
    CZVDC dc(list);
    list->OnPaint(&dc);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "listwnd");
}

}  // namespace
