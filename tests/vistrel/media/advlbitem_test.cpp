// The list row with inline buttons: where the buttons sit, which touch
// presses one, what a release sends and that the row looks as before.
#include "vistrel/media/advlbitem/advlbitem.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "gfx/fontserver.h"
#include "gfx/gdicache.h"
#include "support/golden.h"
#include "support/widget_harness.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

constexpr int kWidth = 72;
const CZVRect kRow(0, 0, 500, 40);

std::unique_ptr<CAdvLBItem> RowOfFive(CZV3DButton* look) {
    auto row = std::make_unique<CAdvLBItem>(0, "Pool Dimmer", 11, nullptr);
    const char* captions[] = {"100%", "75%", "50%", "25%", "Off"};
    for (int i = 0; i < 5; ++i) row->AddSubItem(kWidth, 1010 + i, captions[i], look);
    return row;
}

TEST(AdvLBItemTest, ButtonsLineUpLeftwardsFromTheRowsRightEdge) {
    auto row = RowOfFive(nullptr);
    struct Span {
        int left, right;
    };
    const Span expected[] = {{428, 499}, {356, 427}, {284, 355}, {212, 283}, {140, 211}};
    for (int i = 0; i < 5; ++i) {
        int left = 0, right = 0;
        row->GetSubItemSpan(kRow, i, &left, &right);
        EXPECT_EQ(left, expected[i].left) << i;
        EXPECT_EQ(right, expected[i].right) << i;
    }
}

TEST(AdvLBItemTest, SelectSubItemMarksOneAndOutOfRangeClearsAll) {
    auto row = RowOfFive(nullptr);
    row->SelectSubItem(2);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(row->GetSubItem(i).chosen, i == 2) << i;
    for (int k : {5, -1}) {
        row->SelectSubItem(k);
        for (int i = 0; i < 5; ++i) EXPECT_EQ(row->GetSubItem(i).chosen, 0) << k << " " << i;
    }
    row->DeleteSubItems();
    EXPECT_EQ(row->GetSubItemCount(), 0);
}

// The commands a list sends its parent.
class Recorder : public CZVWindow {
public:
    Recorder(CZVWindow* parent, CZVRect rect) : CZVWindow(parent, rect, 0) {}
    int OnCommand(int id) override {
        commands.push_back(id);
        return 1;
    }
    std::vector<int> commands;
};

class AdvLBListTest : public ::testing::Test {
protected:
    AdvLBListTest() {
        fonts.EnumerateFonts();
        recorder = new Recorder(&harness.Root(), CZVRect(0, 0, 520, 100));
        harness.Root().AddChild(recorder);
        list = new CTextList(recorder, CZVRect(5, 5, 510, 90), kNoCommand);
        list->SetUniformRowHeight(1);
        list->SetRowHeight(40);
        list->SetSelectedRowHeight(40);
        recorder->AddChild(list);
        look = std::make_unique<CZVCheckButton>(list, CZVRect(0, 2, kWidth, 36), kNoCommand, 16);
        look->SetBackColor(list->GetBackColor());
        first = static_cast<CAdvLBItem*>(AddRow(RowOfFive(look.get())));
        auto second = std::make_unique<CAdvLBItem>(1, "Spa Light", 9, nullptr);
        second->AddSubItem(180, 1001, "On", look.get());
        second->AddSubItem(180, 1000, "Off", look.get());
        AddRow(std::move(second));
        first->SelectSubItem(1);
        list->SelectIndex(0, 0);
        harness.PaintAll();
    }
    CListItem* AddRow(std::unique_ptr<CAdvLBItem> row) {
        CAdvLBItem* added = row.get();
        list->AddItem(std::move(row));
        return added;
    }
    // Root x and y of a point of the first row.
    int RowX(int x) { return list->ToRootX(list->GetBevel() + x); }
    int RowY() {
        CZVRect r;
        list->GetItemRectAt(&r, 0);
        return list->ToRootY(r.y + r.h / 2);
    }

    vistreltest::ShellEnvironment environment;  // the pinned font
    CFontServer fonts;
    CGdiCache gdi;
    testsupport::WidgetHarness harness{520, 100};
    Recorder* recorder;
    CTextList* list;
    std::unique_ptr<CZVCheckButton> look;
    CAdvLBItem* first;
};

TEST_F(AdvLBListTest, ARowOfButtonsLooksRight) {
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "advlbitem_row"));
}

TEST_F(AdvLBListTest, ATouchOnABorderPressesNoButton) {
    CZVRect r;
    list->GetItemRectAt(&r, 0);
    CZVDC dc(list);
    int left = 0, right = 0;
    first->GetSubItemSpan(r, 1, &left, &right);
    for (int x : {left, right, right + 1}) EXPECT_EQ(first->OnLButtonDown(&dc, r, 18, x), 0) << x;
    for (int i = 0; i < first->GetSubItemCount(); ++i) EXPECT_EQ(first->GetSubItem(i).pressed, 0);
}

TEST_F(AdvLBListTest, AReleaseOnTheButtonSendsItsIdAndOffItNothingAndTheRowLooksAsBefore) {
    CZVRect r;
    list->GetItemRectAt(&r, 0);
    int left = 0, right = 0;
    first->GetSubItemSpan(r, 3, &left, &right);
    const testsupport::Image565 before = harness.Capture();

    harness.Press(RowX((left + right) / 2), RowY());
    EXPECT_EQ(first->GetSubItem(3).pressed, 1);
    EXPECT_NE(harness.Capture().pixels, before.pixels);  // drawn pressed
    harness.Release(RowX((left + right) / 2), RowY());
    EXPECT_EQ(recorder->commands, std::vector<int>{1013});
    EXPECT_EQ(harness.Capture().pixels, before.pixels);

    harness.Press(RowX((left + right) / 2), RowY());
    harness.Release(RowX(left - 30), RowY());
    EXPECT_EQ(recorder->commands, std::vector<int>{1013});  // a cancelled press sends nothing
    EXPECT_EQ(first->GetSubItem(3).pressed, 0);
    EXPECT_EQ(harness.Capture().pixels, before.pixels);
}

}  // namespace
