// The list's in-place edit: a text field over the selected row.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "list_fixture.h"
#include "support/golden.h"
#include "widgets/lists/listwnd.h"
#include "widgets/text/zvedit.h"

namespace {

using widgettest::CommandPage;
using widgettest::TextList;

constexpr int kEditDone = 77;
constexpr int kChangeStep = -1;

class ListEditTest : public widgettest::ListTest {
protected:
    ListEditTest() {
        list->AddRows(5);
        list->SetSelectedRowHeight(24);
        list->SelectIndex(1, 0);
        harness.PaintAll();
    }
    void Type(int vk, int ch) {
        harness.Native().QueueKey(vk, ch);
        harness.PumpEvents();
    }
    int Count(int id) const {
        int n = 0;
        for (const auto& c : page->commands) n += c.id == id;
        return n;
    }
    std::string EditText() {
        CZVString text = list->GetEditText();
        return text.GetAnsi();
    }
    // Root y in the middle of the selected row 1 (24 pixels tall).
    static int EditY() { return kListY + 3 + 18 + 12; }
};

TEST_F(ListEditTest, WithoutASelectionNothingOpens) {
    list->SelectIndex(-1, 0);
    EXPECT_EQ(list->BeginEdit("Row 1", kEditDone), 0);
    EXPECT_EQ(list->GetEditBox(), nullptr);
}

TEST_F(ListEditTest, AConfirmedEditTellsTheParentAfterTheNextIdleStep) {
    ASSERT_EQ(list->BeginEdit("Row 1", kEditDone), 1);
    CZVEdit* box = list->GetEditBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(root.GetFocusWindow(), box);
    EXPECT_TRUE(box->IsEditing());
    EXPECT_EQ(box->GetY(), 3 + 18);
    Type('P', 'P');
    Type('A', 'a');
    Type(platform::VK_RETURN, 13);
    // Each edit step reaches the page as -1; the commit stays in the list.
    EXPECT_EQ(Count(kChangeStep), 2);
    EXPECT_EQ(Count(CListWnd::kEditCommitCommand), 0);
    EXPECT_EQ(Count(kEditDone), 0);
    harness.Idle();
    ASSERT_EQ(Count(kEditDone), 1);
    EXPECT_EQ(EditText(), "Pa");
    EXPECT_EQ(page->commands.back().selected, 1);
    EXPECT_EQ(list->GetEditBox(), nullptr);
    EXPECT_EQ(root.GetFocusWindow(), nullptr);
    harness.Idle();
    EXPECT_EQ(Count(kEditDone), 1);
}

TEST_F(ListEditTest, AnEscapedEditCommitsNothingAndClosesWithItsOwnTextOnTheNextPress) {
    list->BeginEdit("Row 1", kEditDone);
    Type('X', 'x');
    Type(platform::VK_ESCAPE, 27);
    harness.RunFor(50);
    EXPECT_EQ(Count(kEditDone), 0);
    ASSERT_NE(list->GetEditBox(), nullptr);
    EXPECT_FALSE(list->GetEditBox()->IsEditing());
    // A press on another row only closes the edit.
    harness.Tap(50, RowY(3));
    EXPECT_EQ(Count(kEditDone), 1);
    EXPECT_EQ(EditText(), "Row 1");
    EXPECT_EQ(list->GetEditBox(), nullptr);
    EXPECT_EQ(list->GetSelectedIndex(), 1);
}

TEST_F(ListEditTest, APressInTheBoxMovesTheCaretAndAPressOutsideEndsTheEdit) {
    list->BeginEdit("Row 1", kEditDone);
    harness.Tap(kListX + 6, EditY());
    EXPECT_EQ(list->GetEditBox()->GetCaret(), 0);
    EXPECT_EQ(Count(kEditDone), 0);
    Type('N', 'N');
    harness.Tap(50, RowY(4) + 6);
    EXPECT_EQ(Count(kEditDone), 1);
    EXPECT_EQ(EditText(), "NRow 1");
    EXPECT_EQ(list->GetEditBox(), nullptr);
}

TEST_F(ListEditTest, AnEditOpenedDuringAPressLeavesNoDragBehind) {
    harness.Press(50, RowY(3));
    list->BeginEdit("Row 1", kEditDone);
    harness.Release(50, RowY(3));
    EXPECT_FALSE(list->IsDragging());
    harness.RunFor(600);
    EXPECT_EQ(Plays(harness.Style().GetSound("click1.wav")), 0);
}

// The row under the edit goes while the field has the keyboard.
TEST_F(ListEditTest, RemovingTheEditedRowClosesTheEditWithoutACommand) {
    const std::vector<std::function<void(TextList*)>> removals = {
        [](TextList* l) { l->RemoveItem(l->GetItemAt(1)); },
        [](TextList* l) { l->RemoveItemAt(1); },
        [](TextList* l) { l->RemoveAll(1); },
    };
    for (size_t i = 0; i < removals.size(); ++i) {
        list->RemoveAll(0);
        list->AddRows(5);
        list->SelectIndex(1, 0);
        page->commands.clear();
        list->BeginEdit("Row 1", kEditDone);
        Type('Q', 'q');
        removals[i](list);
        EXPECT_EQ(list->GetEditBox(), nullptr) << i;
        EXPECT_EQ(root.GetFocusWindow(), nullptr) << i;
        EXPECT_EQ(CZVEdit::GetActiveField(), nullptr) << i;
        Type(platform::VK_RETURN, 13);
        harness.RunFor(30);
        EXPECT_EQ(Count(kEditDone), 0) << i;
    }
}

TEST_F(ListEditTest, ThePageMayRemoveTheEditedRowWhileTheFieldTypes) {
    list->BeginEdit("Row 1", kEditDone);
    page->onCommand = [this](int id) {
        if (id == kChangeStep) list->RemoveItem(list->GetSelected());
    };
    Type('Z', 'z');
    EXPECT_EQ(list->GetEditBox(), nullptr);
    EXPECT_EQ(list->GetCount(), 4);
    Type('Z', 'z');
    harness.RunFor(30);
    EXPECT_EQ(Count(kEditDone), 0);
}

TEST_F(ListEditTest, ThePageMayDeleteTheListWhenTheEditEnds) {
    list->BeginEdit("Row 1", kEditDone);
    page->onCommand = [this](int id) {
        if (id == kEditDone) {
            delete list;
            page->list = list = nullptr;
        }
    };
    Type('Z', 'z');
    Type(platform::VK_RETURN, 13);
    harness.Idle();
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(root.GetFocusWindow(), nullptr);
    harness.RunFor(30);
}

TEST_F(ListEditTest, ARowInEditLooksRight) {
    list->SetTextColor(0x303030);
    list->BeginEdit("Kitchen lights", kEditDone);
    Type(platform::VK_RIGHT, 0);
    for (int i = 0; i < 4; ++i) Type(platform::VK_LEFT, 0);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "list_row_in_edit"));
}

}  // namespace
