#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "button_fixture.h"
#include "gfx/icon.h"
#include "platform/clock.h"
#include "striped_art.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/tabs/poptabrow.h"
#include "widgets/tabs/tabcolumn.h"
#include "widgets/tabs/tabstrip.h"
#include "widgets/tabs/trregion.h"

namespace {

using widgettest::ButtonTest;

class TabsTest : public ButtonTest {
protected:
    TabsTest() {
        harness.Style().SetStyle(kClass, 0, 60);  // tab width
        harness.Style().SetStyle(kClass, 1, 30);  // tab height
        harness.Clock().Advance(200);
    }
    // A strip 180 wide with 60-pixel tabs: three tabs in view.
    CTabStrip* MakeStrip(int count) {
        auto* strip = new CTabStrip(&root, CZVRect(10, 20, 180, 32), kClass, &root, 0x404040);
        root.AddChild(strip);
        strip->SetFaceColor(0xC08040);
        strip->SetShape(4, 3, 0);
        for (int i = 0; i < count; ++i) strip->AddTab(CZVString("T") + CZVString(std::to_string(i).c_str()), 100 + i);
        harness.PaintAll();
        harness.Clock().Advance(200);
        return strip;
    }
    void TapTab(CZVWindow* tab) {
        const int x = tab->ToRootX(tab->GetWidth() / 2);
        const int y = tab->ToRootY(tab->GetHeight() / 2);
        harness.Tap(x, y);
        harness.Clock().Advance(300);
    }
    static constexpr int kClass = 3;
};

TEST_F(TabsTest, TheBaseContainerHasNoTabs) {
    CTabContainer container(&root, CZVRect(0, 0, 10, 10), 0);
    EXPECT_EQ(container.GetTabCount(), 0);
    EXPECT_EQ(container.GetSelectedIndex(), -1);
    EXPECT_EQ(container.GetTab(0), nullptr);
    EXPECT_EQ(container.GetSelectedTab(), nullptr);
    EXPECT_EQ(container.AddTab("x", 1), nullptr);
    EXPECT_EQ(container.EnsureVisible(0, 1), 0);
    root.RemoveChild(&container);
}

TEST_F(TabsTest, TappingATabSelectsItAndSendsItsIdOnceAndTheSelectedTabSendsNothing) {
    CTabStrip* strip = MakeStrip(3);
    TapTab(strip->GetTab(1));
    EXPECT_EQ(strip->GetSelectedIndex(), 1);
    EXPECT_EQ(root.commands, std::vector<int>{101});
    TapTab(strip->GetTab(1));
    EXPECT_EQ(root.commands, std::vector<int>{101});
    // An unselected tab looks pressed in; the selected one shows the face.
    auto* selected = static_cast<CTabButton*>(strip->GetTab(1));
    auto* other = static_cast<CTabButton*>(strip->GetTab(0));
    EXPECT_EQ(selected->GetNormalColor(), 0xC08040u);
    EXPECT_EQ(other->GetNormalColor(), CSetServer::GetPressedShade(0xC08040));
}

TEST_F(TabsTest, IndicesOutsideTheTabsAreRefused) {
    CTabStrip* strip = MakeStrip(3);
    EXPECT_EQ(strip->GetTab(3), nullptr);
    EXPECT_EQ(strip->GetTab(-1), nullptr);
    strip->Select(7, 1);
    EXPECT_EQ(strip->GetSelectedIndex(), 0);
    EXPECT_EQ(strip->EnsureVisible(9, 1), 0);
    strip->ClearPressed();
    EXPECT_EQ(strip->GetSelectedIndex(), 0);  // -1 stored reads as 0
    EXPECT_EQ(strip->GetSelectedTab(), nullptr);
}

TEST_F(TabsTest, TheNotifyIdGoesUpWhenASelectionBeginsOrEndsAndWhenTheRowScrolls) {
    CTabStrip* strip = MakeStrip(6);
    strip->SetNotifyCommand(55);
    strip->Select(1, 0);
    EXPECT_TRUE(root.commands.empty()) << "from one tab to another";
    strip->Select(-1, 0);
    strip->Select(2, 0);
    EXPECT_EQ(root.commands, (std::vector<int>{55, 55}));
    strip->Select(5, 1);  // scrolls: told at once and when the slide ends
    EXPECT_EQ(root.commands.size(), 3u);
    harness.RunFor(700);
    EXPECT_EQ(root.commands, (std::vector<int>{55, 55, 55, 55}));
    EXPECT_EQ(strip->GetFirstVisible(), 3);
}

TEST_F(TabsTest, TheStripLaysOutARunOfEqualTabsWithSliversAtTheSides) {
    CTabStrip* strip = MakeStrip(6);
    ASSERT_EQ(strip->GetVisibleCount(), 3);
    const int full = (180 - 8 * 3) / 3;
    std::vector<int> kinds, widths;
    for (int i = 0; i < 6; ++i) {
        auto* tab = static_cast<CTabButton*>(strip->GetTab(i));
        kinds.push_back(tab->GetPositionKind());
        widths.push_back(tab->GetWidth());
    }
    EXPECT_EQ(kinds, (std::vector<int>{0, 0, 0, 2, 2, 2}));
    EXPECT_EQ(widths, (std::vector<int>{full, full, full, 8, 8, 180 - 3 * full - 16}));
    // A tab right of the run scrolls in as the last visible one.
    EXPECT_EQ(strip->EnsureVisible(5, 0), 3);
    EXPECT_EQ(strip->GetFirstVisible(), 3);
    EXPECT_EQ(strip->EnsureVisible(4, 0), 0);
}

TEST_F(TabsTest, ATabWidthOfZeroShowsEveryTabInsteadOfDividingByZero) {
    CTabStrip* strip = MakeStrip(4);
    strip->SetFontStyle(0);
    strip->SetLayoutDirty();
    harness.PaintAll();
    EXPECT_EQ(strip->GetVisibleCount(), 4);
    EXPECT_EQ(strip->EnsureVisible(3, 1), 0);
    strip->SetTabsPerRow(1000, 4);  // more tabs than pixels
    EXPECT_EQ(strip->GetVisibleCount(), 4);
    strip->SetCornerRadius(40);  // slivers wider than the strip
    EXPECT_GE(strip->GetStepWidth(), 1);
    harness.Press(strip->ToRootX(170), strip->ToRootY(10));
    strip->OnMouseMove(strip->ToRootX(20), strip->ToRootY(10), 1);
    harness.Release(strip->ToRootX(20), strip->ToRootY(10));
    harness.RunFor(700);
    EXPECT_FALSE(strip->IsSliding());
}

struct SlideCase {
    int stepsLeft;
    int tabs;
    int duration;
};

class StripSlideTest : public TabsTest, public ::testing::WithParamInterface<SlideCase> {};

TEST_P(StripSlideTest, ADragReleasedWholeStepsAwayScrollsThatManyTabsInItsTime) {
    const SlideCase c = GetParam();
    CTabStrip* strip = MakeStrip(7);
    const int s = strip->GetStepWidth();
    const int y = strip->ToRootY(15);
    const int x = strip->ToRootX(170);
    harness.Press(x, y);
    strip->OnMouseMove(x - c.stepsLeft * s, y, 1);
    harness.Release(x - c.stepsLeft * s, y);
    EXPECT_EQ(strip->GetTargetFirst(), c.tabs);
    EXPECT_EQ(strip->GetSlideDuration(), c.duration);
    EXPECT_TRUE(root.commands.empty()) << "a drag is no click";
    harness.RunFor(c.duration - 20);
    EXPECT_TRUE(strip->IsSliding());
    harness.RunFor(40);
    EXPECT_FALSE(strip->IsSliding());
    EXPECT_EQ(strip->GetFirstVisible(), c.tabs);
}

INSTANTIATE_TEST_SUITE_P(Steps, StripSlideTest,
                         ::testing::Values(SlideCase{1, 1, 250}, SlideCase{2, 2, 500}, SlideCase{3, 3, 600},
                                           SlideCase{9, 4, 600}));

TEST_F(TabsTest, AShortDragSlidesBackAndStillClicksTheTab) {
    CTabStrip* strip = MakeStrip(7);
    CZVWindow* tab = strip->GetTab(1);
    const int x = tab->ToRootX(30);
    const int y = tab->ToRootY(10);
    harness.Press(x, y);
    strip->OnMouseMove(x - 5, y, 1);
    harness.Release(x - 5, y);
    EXPECT_EQ(strip->GetTargetFirst(), 0);
    EXPECT_EQ(strip->GetSlideDuration(), 250);
    EXPECT_EQ(root.commands, std::vector<int>{101});
    harness.RunFor(300);
    EXPECT_FALSE(strip->IsSliding());
}

TEST_F(TabsTest, WithAllTabsInViewADragDoesNotMoveTheRow) {
    CTabStrip* strip = MakeStrip(3);
    CZVWindow* tab = strip->GetTab(2);
    const int x = tab->ToRootX(30);
    const int y = tab->ToRootY(10);
    harness.Press(x, y);
    strip->OnMouseMove(x - 50, y, 1);
    harness.Release(x - 50, y);
    EXPECT_FALSE(strip->IsSliding());
    EXPECT_EQ(strip->GetFirstVisible(), 0);
}

TEST_F(TabsTest, TheColumnStacksItsTabsAndSendsTheContainerCommandForTheSelectedTab) {
    auto* column = new CTabColumn(&root, CZVRect(0, 0, 100, 200), kClass, 0x303030);
    root.AddChild(column);
    column->SetSpacing(5);
    column->SetBevel(4);
    for (int i = 0; i < 3; ++i) column->AddTab("Tab", 200 + i);
    EXPECT_EQ(column->GetTab(2)->GetY(), 5 + 2 * 30);
    EXPECT_EQ(column->GetTab(2)->GetWidth(), 96);
    harness.PaintAll();
    column->OnCommand(201);
    EXPECT_EQ(column->GetSelectedIndex(), 1);
    EXPECT_EQ(root.commands, std::vector<int>{201});
    column->OnCommand(201);
    EXPECT_EQ(root.commands, std::vector<int>{201});
    column->SetContainerCommand(77);
    column->OnCommand(201);
    column->OnCommand(999);
    EXPECT_EQ(root.commands, (std::vector<int>{201, 77}));
}

TEST_F(TabsTest, AColumnOfAStyleWithoutHeightIsReported) {
    testsupport::AssertCounter asserts;
    harness.Style().SetStyle(5, 1, 0);
    CTabColumn column(&root, CZVRect(0, 0, 100, 200), 5, 0);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "TabColumn");
    EXPECT_EQ(column.GetTabHeight(), 0);
    root.RemoveChild(&column);
}

struct GridCase {
    int count;
    int perRow;
    int rows;
};

class PanelGridTest : public TabsTest, public ::testing::WithParamInterface<GridCase> {};

TEST_P(PanelGridTest, ThePanelKeepsItsRowsFull) {
    const GridCase c = GetParam();
    // 320 / 80 = 4 tabs across the screen.
    harness.Style().SetStyle(kClass, 0, 80);
    auto* row = new CPopTabRow(&root, CZVRect(0, 0, 320, 40), kClass, &root, 0, 4, c.count, "", 1);
    root.AddChild(row);
    row->GetStrip()->SetFontStyle(80);
    for (int i = 0; i < c.count; ++i) row->AddTab("Tab", 300 + i);
    int perRow = 0, rows = 0;
    row->GetPanelGrid(&perRow, &rows);
    EXPECT_EQ(perRow, c.perRow);
    EXPECT_EQ(rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(Counts, PanelGridTest,
                         ::testing::Values(GridCase{7, 4, 2}, GridCase{5, 3, 2}, GridCase{4, 4, 1}, GridCase{1, 1, 1}));

class PopTabRowTest : public TabsTest {
protected:
    PopTabRowTest() {
        row = new CPopTabRow(&root, CZVRect(0, 100, 320, 40), kClass, &root, 0x202020, 3, 5, "", 1);
        root.AddChild(row);
        row->SetFaceColor(0x80C080);
        for (int i = 0; i < 5; ++i) row->AddTab("Tab", 300 + i);
        harness.PaintAll();
    }
    // Taps the panel's cell of the tab at index.
    void TapOption(int index) {
        int perRow = 0, rows = 0;
        row->GetPanelGrid(&perRow, &rows);
        CZVRect cell;
        row->GetPanel()->GetCellRect(&cell, index % perRow, index / perRow);
        const int x = row->GetPanel()->ToRootX(cell.x + cell.w / 2);
        const int y = row->GetPanel()->ToRootY(cell.y + cell.h / 2);
        harness.Tap(x, y);
    }
    CPopTabRow* row;
};

TEST_F(PopTabRowTest, TheDropDownSlidesAPanelUpAndAPickSelectsTheTab) {
    row->OnCommand(CPopTabRow::kDropDown);
    ASSERT_TRUE(row->IsOpen());
    ASSERT_NE(row->GetPanel(), nullptr);
    EXPECT_EQ(root.overlay, static_cast<CZVWindow*>(row->GetPanel()));
    EXPECT_EQ(row->GetPanel()->ToRootY(row->GetPanel()->GetHeight()), 240) << "the panel sits on the bottom border";
    EXPECT_EQ(harness.Root().GetOffscreenPaint(), 0);
    EXPECT_EQ(row->GetPanel()->GetOptionCount(), 5) << "one option per tab";
    TapOption(3);
    EXPECT_FALSE(row->IsOpen());
    EXPECT_EQ(root.overlay, nullptr);
    EXPECT_EQ(row->GetStrip()->GetSelectedIndex(), 3);
    EXPECT_EQ(root.commands,
              (std::vector<int>{CPopTabRow::kDropDown, CPopTabRow::kStripChanged, 303, CPopTabRow::kPanelPicked}));
}

TEST_F(PopTabRowTest, PickingTheSelectedTabClosesWithoutItsCommand) {
    row->OnCommand(CPopTabRow::kDropDown);
    ASSERT_EQ(row->GetPanel()->GetSelection(), 0);
    TapOption(0);
    EXPECT_FALSE(row->IsOpen());
    EXPECT_EQ(root.commands, (std::vector<int>{CPopTabRow::kDropDown, CPopTabRow::kPanelPicked}));
}

TEST_F(TabsTest, PopUpRowFramesHangAboveOrStandBelowTheirStrip) {
    // Arrows over a hanging strip, a drop-down over a hanging strip, arrows under a flat one.
    struct Row {
        int dropDown, mode;
    } rows[] = {{0, 0}, {1, 0}, {0, 1}};
    int y = 10;
    for (const Row& r : rows) {
        auto* row = new CPopTabRow(&root, CZVRect(10, y, 300, 44), kClass, &root, 0x202020, 3, 6, "", r.dropDown);
        root.AddChild(row);
        row->SetBevel(4);
        row->SetFaceColor(0x80C080);
        row->SetLayoutMode(r.mode);
        for (int i = 0; i < 6; ++i) row->AddTab(CZVString("T") + CZVString(std::to_string(i).c_str()), 300 + i);
        row->Select(1, 0);
        y += 60;
    }
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "pop_tab_row_frames"));
}

TEST_F(PopTabRowTest, PaintingTheRowClosesThePanelAtOnce) {
    row->OnCommand(CPopTabRow::kDropDown);
    ASSERT_TRUE(row->IsOpen());
    const uint32_t before = platform::GetTickCount();
    harness.PaintAll();
    EXPECT_FALSE(row->IsOpen());
    EXPECT_EQ(root.overlay, nullptr);
    EXPECT_EQ(platform::GetTickCount(), before) << "no slide";
}

TEST_F(TabsTest, ADropDownWithoutTabsStaysClosed) {
    auto* row = new CPopTabRow(&root, CZVRect(0, 0, 320, 40), kClass, &root, 0, 3, 0, "", 1);
    root.AddChild(row);
    harness.PaintAll();
    row->OnCommand(CPopTabRow::kDropDown);
    EXPECT_FALSE(row->IsOpen());
    EXPECT_EQ(row->GetPanel(), nullptr);
}

TEST_F(TabsTest, TheArrowsPageTheStripAndFollowItsEnds) {
    auto* row = new CPopTabRow(&root, CZVRect(0, 0, 320, 40), kClass, &root, 0, 3, 8, "", 0);
    root.AddChild(row);
    for (int i = 0; i < 8; ++i) row->AddTab("Tab", 400 + i);
    harness.PaintAll();
    EXPECT_FALSE(row->GetLeftArrow()->IsEnabled());
    EXPECT_TRUE(row->GetRightArrow()->IsEnabled());
    row->OnCommand(CPopTabRow::kPageRight);
    harness.RunFor(700);
    EXPECT_EQ(row->GetStrip()->GetFirstVisible(), row->GetStrip()->GetVisibleCount() - 1);
    EXPECT_TRUE(row->GetLeftArrow()->IsEnabled());
}

TEST_F(TabsTest, TheTabbedRegionChoosesItsRow) {
    // 200 / 60 = 3 style-width tabs fit.
    auto* region = new CTRRegion(&root, CZVRect(0, 0, 200, 150), kClass, 0x101010, 0x406080);
    root.AddChild(region);
    EXPECT_NE(dynamic_cast<CTabStrip*>(region->GetTabs()), nullptr);
    EXPECT_EQ(region->GetTabs()->GetTabCount(), 0);

    region->SetTabCount(6, 0, nullptr);
    auto* row = dynamic_cast<CPopTabRow*>(region->GetTabs());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->GetStrip()->GetTabWidth(), row->GetStrip()->GetWidth() / 3);

    CZVObList descriptors;
    for (int i = 0; i < 4; ++i) descriptors.AddTail(new CTabDescriptor("ab", 500 + i, nullptr));
    testsupport::AssertCounter asserts;
    region->BuildTabs(4, 0, &descriptors);
    EXPECT_EQ(asserts.Count(), 1) << "building over a row is reported";
    EXPECT_TRUE(descriptors.IsEmpty());
    EXPECT_NE(dynamic_cast<CTabStrip*>(region->GetTabs()), nullptr) << "short captions fit four across";
    EXPECT_EQ(region->GetTabs()->GetTabCount(), 4);
    int rows = 0;
    for (ZVPOSITION pos = region->GetChildren().GetHeadPosition(); pos;)
        if (dynamic_cast<CTabContainer*>(static_cast<CZVWindow*>(region->GetChildren().GetNext(pos)))) ++rows;
    EXPECT_EQ(rows, 1) << "the old row does not stay beneath";
    // Tab commands go straight to the region's parent.
    region->GetTabs()->OnCommand(502);
    EXPECT_EQ(root.commands, std::vector<int>{502});
}

TEST_F(TabsTest, ATabStripOverARegion) {
    harness.Style().SetStyle(6, 1, 28);
    auto* region = new CTRRegion(&root, CZVRect(10, 10, 300, 200), kClass, 0x302820, 0x90A0B0);
    root.AddChild(region);
    region->SetBevel(4);
    CZVObList descriptors;
    const char* names[] = {"Lights", "Climate", "Music"};
    for (int i = 0; i < 3; ++i) descriptors.AddTail(new CTabDescriptor(names[i], 600 + i, nullptr));
    region->BuildTabs(3, 0, &descriptors);
    region->GetTabs()->Select(1, 0);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "tab_strip_region"));
}

struct FitCase {
    const char* text;
    int width;
    int start;
    int expected;
};

class CaptionFitterTest : public TabsTest, public ::testing::WithParamInterface<FitCase> {};

TEST_P(CaptionFitterTest, FindsTheLargestSizeAtWhichEveryCaptionFits) {
    const FitCase c = GetParam();
    CCaptionFitter fitter(&root);
    fitter.AddCaption(c.text, CZVRect(0, 0, c.width, 100));
    fitter.AddCaption("", CZVRect(0, 0, 0, 0));  // empty captions never limit
    EXPECT_EQ(fitter.FindFontSize(1, 1, c.start), c.expected);
}

// The widths in the table are measured below: a caption exactly as wide as
// its rectangle does not fit.
INSTANTIATE_TEST_SUITE_P(Cases, CaptionFitterTest,
                         ::testing::Values(FitCase{"Enter", 500, 20, 20}, FitCase{"Enter", 1, 20, 10},
                                           FitCase{"Enter", 1, 10, 10}, FitCase{"Enter", 1, 7, 7},
                                           FitCase{"", 1, 30, 30}));

TEST_F(TabsTest, ATextExactlyAsWideAsItsRectangleDoesNotFit) {
    CZVDC dc(&root);
    dc.SelectFont(16, 0, 0);
    const CTextSize t = dc.GetTextSize("Cancel");
    CCaptionFitter exact(&root);
    exact.AddCaption("Cancel", CZVRect(0, 0, t.cx, 100));
    EXPECT_LT(exact.FindFontSize(1, 0, 16), 16);
    CCaptionFitter wider(&root);
    wider.AddCaption("Cancel", CZVRect(0, 0, t.cx + 1, 100));
    EXPECT_EQ(wider.FindFontSize(1, 0, 16), 16);
}

TEST_F(TabsTest, AddChildrenGivesTheMatchingWindowsOneSize) {
    EXPECT_EQ(CCaptionFitter(&root).AddChildren(&root, 17, -1), 40);
    CZV3DButton* a = root.Add3DButtonDefault(CZVRect(0, 0, 200, 40), 1, 17, "A");
    CZV3DButton* b = root.Add3DButtonDefault(CZVRect(0, 50, 60, 40), 2, 17, "Longer caption");
    a->SetFontSize(24);
    b->SetFontSize(30);
    const int size = CCaptionFitter(&root).AddChildren(&root, 17, 1);
    EXPECT_LT(size, 24);
    EXPECT_EQ(a->GetFontSize(), size);
    EXPECT_EQ(b->GetFontSize(), size);
    EXPECT_EQ(a->IsTextChanged(), 0);
}

TEST_F(TabsTest, TheKeypadsCancelAndEnterShareOneFittedSize) {
    CZV3DButton* keys[12];
    root.BuildKeypad(CZVRect(0, 0, 150, 120), 2, 40, "", 3, keys, 0, 17);
    ASSERT_NE(keys[9], nullptr);
    ASSERT_NE(keys[11], nullptr);
    const int size = keys[9]->GetFontSize();
    EXPECT_EQ(keys[11]->GetFontSize(), size);
    EXPECT_LT(size, 40) << "\"Cancel\" does not fit a 46-pixel key at 40";
    EXPECT_GE(size, 10);
    CZVDC dc(keys[9]);
    dc.SelectFont(size, 0, 0);
    CZVRect inner;
    keys[9]->GetInnerRect(&inner);
    EXPECT_LT(dc.GetTextSize("Cancel").cx, inner.w);
    EXPECT_EQ(keys[4]->GetFontSize(), 40) << "digits keep the keypad's size";
}

}  // namespace

namespace {

TEST_F(TabsTest, StripOutlinesWithSliversEndStylesAndBothLayoutModes) {
    struct Row {
        int left, right, mode, selected;
    } rows[] = {{0, 0, 2, 4}, {1, 1, 2, 0}, {2, 2, 2, 5}, {0, 0, 1, 3}};
    int y = 4;
    for (const Row& row : rows) {
        auto* strip = new CTabStrip(&root, CZVRect(10, y, 300, 32), kClass, &root, 0x404040);
        root.AddChild(strip);
        strip->SetFaceColor(0xC08040);
        strip->SetShape(6, 3, 0);
        strip->SetLeftEndStyle(row.left);
        strip->SetRightEndStyle(row.right);
        strip->SetLayoutMode(row.mode);
        strip->SetTabsPerRow(3, 6);
        for (int i = 0; i < 6; ++i) strip->AddTab(CZVString("T") + CZVString(std::to_string(i).c_str()), 100 + i);
        strip->Select(row.selected, 0);
        y += 40;
    }
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "tab_strip_outlines"));
}

}  // namespace

namespace {

TEST_F(TabsTest, SelectOnAColumnRepaintsOnlyTheBandsAndMatchesAFullRepaint) {
    auto* column = new CTabColumn(&root, CZVRect(0, 0, 100, 240), kClass, 0x303030);
    root.AddChild(column);
    column->SetSpacing(4);
    column->SetBevel(4);
    for (int i = 0; i < 7; ++i) column->AddTab("Tab", 200 + i);
    harness.PaintAll();
    column->Select(1, 1);
    const testsupport::Image565 partial = harness.Capture();
    harness.PaintAll();
    EXPECT_EQ(harness.Capture(), partial);

    // Far from both tabs nothing is drawn.
    harness.Screen().FillRect(0, 0, 200, 100, 40, 0x00FF00);
    const uint16_t green = harness.PixelAt(10, 210);
    column->Select(0, 1);
    EXPECT_EQ(harness.PixelAt(10, 210), green);
    EXPECT_NE(harness.PixelAt(10, 15), green);
}

TEST_F(TabsTest, AColumnOpensItsEdgeBesideTheSelectedTab) {
    // The first tab selected bends only below it; a middle tab above and below.
    for (const int selected : {0, 2}) {
        auto* column = new CTabColumn(&root, CZVRect(10 + selected * 75, 10, 120, 220), kClass, 0x303030);
        root.AddChild(column);
        column->SetSpacing(4);
        column->SetBevel(5);
        for (int i = 0; i < 5; ++i) column->AddTab("Tab", 200 + i);
        column->SetFaceColor(static_cast<CTabButton*>(column->GetTab(0))->GetFaceColor());
        column->Select(selected, 0);
    }
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "tab_column_marker"));
}

}  // namespace

namespace {

// The compact look over a striped skin picture: tabs beside the page.
class CompactTabsTest : public TabsTest {
protected:
    CompactTabsTest() {
        harness.Style().SetArt(std::make_unique<widgettest::StripedArt>());
        SetStyleFlag(kCompactLayout | kStyleSkins, true);
        harness.Style().SetStyleColor(6, 0, 0x3070D0);
        // The gateway's arrows, here drawn shapes under their names.
        CacheArrow("TRANSPORT\\ICON32LEFT", 5);
        CacheArrow("TRANSPORT\\ICON32RIGHT", 4);
    }
    void CacheArrow(const char* name, int stockKind) {
        auto* icon = new CZVIcon(harness.Server());
        icon->Load(name);
        icon->MakeStock(stockKind, 0xFFFFFF);
        harness.Icons().AddIcon(icon);
    }
    ~CompactTabsTest() override {
        SetStyleFlag(kCompactLayout | kStyleSkins, false);
        harness.Style().SetArt(nullptr);
    }
    static constexpr int kCompactLayout = 0x300;
};

TEST_F(CompactTabsTest, AStripWithArrowsAndAColumnWithItsTitle) {
    auto* strip = new CTabStrip(&root, CZVRect(10, 10, 300, 40), kClass, &root, 0x404040);
    root.AddChild(strip);
    strip->SetFaceColor(0xC08040);
    strip->SetShape(6, 4, 0);
    strip->SetStacked(0);
    strip->SetTabsPerRow(3, 6);
    for (int i = 0; i < 6; ++i) strip->AddTab(CZVString("T") + CZVString(std::to_string(i).c_str()), 100 + i);
    strip->SetFirstVisible(1);
    strip->Select(2, 0);

    auto* column = new CTabColumn(&root, CZVRect(10, 60, 120, 170), kClass, 0x303030);
    root.AddChild(column);
    column->SetFaceColor(0x60A040);
    column->SetBevel(4);
    column->SetTitle("Rooms", 30);
    for (int i = 0; i < 4; ++i) column->AddTab("Tab", 200 + i);
    column->Select(2, 0);
    harness.PaintAll();

    ASSERT_EQ(static_cast<CTabButton*>(column->GetTab(0))->GetPositionKind(), kTabCompactFirst);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "tabs_compact"));
}

}  // namespace

namespace {

TEST(PopTabRowSlide, EachPartShiftsTheStripAndMovesItAlongItsTravel) {
    // Rows above 40, below 80, the strip travelling -120 pixels in all.
    struct Case {
        int part, moved, dy, offset;
    } cases[] = {
        {CPopTabRow::kOpenAbove, 0, 0, 0},       {CPopTabRow::kOpenAbove, 40, 0, -40},
        {CPopTabRow::kOpenBelow, 0, 0, -40},     {CPopTabRow::kOpenBelow, 80, -80, -120},
        {CPopTabRow::kCloseBelow, 0, -80, -120}, {CPopTabRow::kCloseBelow, 80, 0, -40},
        {CPopTabRow::kCloseAbove, 0, 0, -40},    {CPopTabRow::kCloseAbove, 40, 0, 0},
    };
    for (const Case& c : cases) {
        const CPopTabRow::SlideShift shift = CPopTabRow::SlideStepShift(c.part, c.moved, 40, 80, -120);
        EXPECT_EQ(shift.dy, c.dy) << "part " << c.part << " moved " << c.moved;
        EXPECT_EQ(shift.offset, c.offset) << "part " << c.part << " moved " << c.moved;
    }
    EXPECT_EQ(CPopTabRow::SlideStepShift(CPopTabRow::kOpenBelow, 0, 0, 0, -120).offset, 0) << "no rows, no travel";
}

// A compact row that remembers the parts of its slides and when each ended.
class RecordingPopTabRow : public CPopTabRow {
public:
    using CPopTabRow::CPopTabRow;
    void OnSlideStep(CZVDC* dc, int moved, int distance, int part) override {
        CPopTabRow::OnSlideStep(dc, moved, distance, part);
        if (moved == distance) ends.push_back({part, platform::GetTickCount()});
    }
    struct End {
        int part;
        uint32_t tick;
    };
    std::vector<End> ends;
};

class CompactDropDownTest : public CompactTabsTest {
protected:
    // Four tabs a row on a 320-wide screen; the row stands at the bottom.
    RecordingPopTabRow* MakeRow(int tabs) {
        auto* row = new RecordingPopTabRow(&root, CZVRect(0, 200, 320, 40), kClass, &root, 0x202020, 4, tabs, "", 1);
        root.AddChild(row);
        row->SetFaceColor(0x80C080);
        row->GetStrip()->SetFontStyle(60);
        for (int i = 0; i < tabs; ++i) row->AddTab("Tab", 300 + i);
        harness.PaintAll();
        return row;
    }
};

TEST_F(CompactDropDownTest, RowsOnBothSidesTakeTwoShortSlidesElseOneLongOne) {
    struct Case {
        int tabs, selected;
        std::vector<int> parts;
        uint32_t each;
    } cases[] = {
        {12, 5, {CPopTabRow::kOpenAbove, CPopTabRow::kOpenBelow}, 125},
        {12, 1, {CPopTabRow::kOpenBelow}, 250},
        {12, 10, {CPopTabRow::kOpenAbove}, 250},
    };
    for (const Case& c : cases) {
        RecordingPopTabRow* row = MakeRow(c.tabs);
        row->Select(c.selected, 0);
        int perRow = 0, rows = 0;
        row->GetPanelGrid(&perRow, &rows);
        ASSERT_EQ(perRow, 4);
        ASSERT_EQ(rows, 3);
        const uint32_t start = platform::GetTickCount();
        row->OnCommand(CPopTabRow::kDropDown);
        ASSERT_TRUE(row->IsOpen());
        ASSERT_EQ(row->ends.size(), c.parts.size()) << c.selected;
        uint32_t from = start;
        for (size_t i = 0; i < c.parts.size(); ++i) {
            EXPECT_EQ(row->ends[i].part, c.parts[i]) << c.selected;
            // The last pixel of an eased slide arrives a little before its end.
            const uint32_t took = row->ends[i].tick - from;
            EXPECT_LE(took, c.each) << c.selected;
            EXPECT_GT(took, c.each * 3 / 4) << c.selected;
            from = row->ends[i].tick;
        }
        EXPECT_FALSE(row->GetStrip()->IsSliding()) << "the strip keeps no slide";
        row->ends.clear();
        row->OnCommand(CPopTabRow::kPanelClosed);
        EXPECT_FALSE(row->IsOpen());
        EXPECT_EQ(row->ends.size(), c.parts.size()) << "closing slides back the same way";
        EXPECT_EQ(row->GetStrip()->GetY(), 0) << "the strip is back in its row";
        root.RemoveChild(row);
        delete row;
    }
}

}  // namespace
