// The scroll panel: children inside its bevel, the scroll bar and its range,
// scrolling by the bar and by the finger, and emptying it.
#include "widgets/lists/scrollpanel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "list_fixture.h"
#include "support/golden.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/text/zvlabel.h"

namespace {

using widgettest::ButtonTest;
using widgettest::CommandPage;

// A panel of 200 x 150 at root (10, 30) with a bevel of 2: the view is 146
// pixels tall, content y 0..147 lies inside it before scrolling.
class ScrollPanelTest : public ButtonTest {
protected:
    static constexpr int kPanelX = 10;
    static constexpr int kPanelY = 30;

    ScrollPanelTest() {
        page = new CommandPage(&root);
        panel = new CScrollPanel(page, CZVRect(kPanelX, kPanelY, 200, 150));
        page->AddChild(panel);
    }
    CZVButton* AddButton(int y, int h, int id, const char* caption) {
        return panel->AddButton(CZVRect(10, y, 120, h), id, 17, caption);
    }
    CZVScrollBar* Bar() const { return panel->GetListScrollBar(); }

    CommandPage* page;
    CScrollPanel* panel;
};

TEST_F(ScrollPanelTest, TheRangeEndsAtTheDeepestChildWhateverTheOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, int>> children;  // y, height
        int total;                                  // 0: no bar
    };
    const Case cases[] = {
        {"inside the view", {{10, 30}, {100, 48}}, 0},
        {"one pixel over", {{100, 49}}, 148},
        {"deep then shallow", {{300, 40}, {150, 20}}, 339},
        {"shallow then deep", {{150, 20}, {300, 40}}, 339},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int id = 1;
        for (auto [y, h] : c.children) AddButton(y, h, id++, "b");
        harness.PaintAll();
        if (c.total == 0) {
            EXPECT_EQ(Bar(), nullptr);
        } else {
            ASSERT_NE(Bar(), nullptr);
            EXPECT_EQ(Bar()->GetPageLength(), 146);
            EXPECT_EQ(Bar()->GetTotal(), c.total);
            EXPECT_EQ(panel->GetWidth(), 200 - panel->GetScrollBarWidth());
        }
        panel->ResetScroll();
    }
}

TEST_F(ScrollPanelTest, AtTheEndOfTheRangeTheDeepestChildIsWhollyInView) {
    CZVButton* deep = AddButton(300, 40, 1, "deep");
    AddButton(150, 20, 2, "shallow");
    harness.PaintAll();
    Bar()->ScrollTo(Bar()->GetTotal() - Bar()->GetPageLength());
    EXPECT_EQ(panel->GetScrollPos(), 339 - 146);
    EXPECT_GE(deep->GetY(), panel->GetBevel());
    EXPECT_LE(deep->GetBottom(), panel->GetHeight() - panel->GetBevel() - 1);
}

TEST_F(ScrollPanelTest, ChildrenAddedWhileScrolledKeepTheirPlaceInTheContent) {
    AddButton(300, 40, 1, "deep");
    harness.PaintAll();
    Bar()->ScrollTo(100);
    // At panel y 200..259 it lies at content y 300..359.
    CZVButton* late = AddButton(200, 60, 2, "late");
    EXPECT_EQ(panel->GetContentBottom(), 359);
    EXPECT_EQ(Bar()->GetTotal(), 359);
    Bar()->ScrollTo(0);
    EXPECT_EQ(late->GetY(), 300);
}

TEST_F(ScrollPanelTest, TheFingerAndTheBarMoveEveryChildByTheScroll) {
    CZVButton* top = AddButton(10, 30, 1, "top");
    CZVButton* deep = AddButton(300, 40, 2, "deep");
    harness.PaintAll();
    Bar()->ScrollTo(50);
    EXPECT_EQ(top->GetY(), -40);
    EXPECT_EQ(deep->GetY(), 250);

    // A drag on the empty part of the panel scrolls with the finger.
    const int x = kPanelX + 150;
    harness.Press(x, kPanelY + 120);
    harness.Move(x, kPanelY + 100);
    harness.Move(x, kPanelY + 80);
    harness.Release(x, kPanelY + 80);
    EXPECT_EQ(panel->GetScrollPos(), 90);
    EXPECT_EQ(Bar()->GetPosition(), 90);
    EXPECT_EQ(top->GetY(), 10 - 90);
    EXPECT_EQ(deep->GetY(), 300 - 90);
    EXPECT_TRUE(page->commands.empty());
}

TEST_F(ScrollPanelTest, AFastReleaseFlicksTheChildrenToTheEndOfTheRange) {
    CZVButton* deep = AddButton(300, 40, 1, "deep");
    harness.PaintAll();
    const int x = kPanelX + 150;
    harness.Press(x, kPanelY + 140);
    for (int y : {120, 100, 80}) {
        harness.Clock().Advance(10);
        harness.Move(x, kPanelY + y);
    }
    harness.Release(x, kPanelY + 80);
    ASSERT_NE(panel->GetFlickVelocity(), 0);
    harness.RunFor(500);
    EXPECT_EQ(panel->GetFlickVelocity(), 0);
    EXPECT_EQ(panel->GetScrollPos(), 339 - 146);
    EXPECT_EQ(Bar()->GetPosition(), 339 - 146);
    EXPECT_EQ(deep->GetY(), 300 - (339 - 146));
}

TEST_F(ScrollPanelTest, OnlyChildrenInsideTheBevelTakePresses) {
    AddButton(-20, 30, 7, "half hidden");
    AddButton(300, 40, 8, "deep");
    harness.PaintAll();
    harness.Clock().Advance(200);
    // Over the top bevel, where the first button still lies.
    harness.Tap(kPanelX + 40, kPanelY + 1);
    EXPECT_TRUE(page->commands.empty());
    harness.Tap(kPanelX + 40, kPanelY + 5);
    harness.Idle();
    ASSERT_EQ(page->commands.size(), 1u);
    EXPECT_EQ(page->commands[0].id, 7);
}

TEST_F(ScrollPanelTest, DescendantsAreClippedToTheInsideOfTheBevel) {
    CZVButton* button = AddButton(10, 30, 1, "b");
    CZVRect clip;
    ASSERT_EQ(panel->GetClipRect(button, &clip), 1);
    EXPECT_EQ(clip.x, kPanelX + 2);
    EXPECT_EQ(clip.y, kPanelY + 2);
    EXPECT_EQ(clip.w, 196);
    EXPECT_EQ(clip.h, 146);
    EXPECT_EQ(panel->GetClipRect(panel, &clip), 0);
}

TEST_F(ScrollPanelTest, ResetScrollLeavesAnEmptyPanelAtItsTop) {
    AddButton(300, 40, 1, "deep");
    harness.PaintAll();
    Bar()->ScrollTo(80);
    panel->ResetScroll();
    EXPECT_EQ(panel->GetChildren().GetCount(), 0);
    EXPECT_EQ(Bar(), nullptr);
    EXPECT_EQ(panel->GetScrollPos(), 0);
    EXPECT_EQ(panel->GetWidth(), 200);
    AddButton(10, 30, 2, "again");
    harness.PaintAll();
    EXPECT_EQ(Bar(), nullptr);
}

TEST_F(ScrollPanelTest, AScrolledPanelLooksRight) {
    const char* captions[] = {"Lights", "Shades", "Climate", "Audio", "Cameras", "Security"};
    for (int i = 0; i < 6; ++i) AddButton(8 + 44 * i, 36, i + 1, captions[i]);
    panel->AddLabel(CZVRect(134, 52, 40, 36), "Hall", 14);
    harness.PaintAll();
    Bar()->ScrollTo(30);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "scroll_panel"));
}

}  // namespace
