#include "widgets/window/zvwindow.h"

#include <gtest/gtest.h>

#include <memory>

#include "recording_window.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "support/widget_harness.h"

namespace {

using testsupport::WidgetHarness;
using widgettest::RecordingWindow;
using Log = std::vector<std::string>;

class WindowTest : public ::testing::Test {
protected:
    WidgetHarness harness;
    CZVWindow& root = harness.Root();
    Log log;
};

// ---- construction

TEST_F(WindowTest, UnsetRectangleTakesTheParentsAreaAndReportsTheFallbacks) {
    CZVWindow parent(nullptr, CZVRect(0, 0, 200, 100), 0);
    testsupport::AssertCounter asserts;
    CZVWindow child(&parent, CZVRect(-1, -1, -1, -1), 0);
    EXPECT_EQ(CZVRect(child.GetX(), child.GetY(), child.GetWidth(), child.GetHeight()), CZVRect(0, 0, 200, 100));
    EXPECT_EQ(asserts.Count(), 3);  // height without a style value, x and y of -1
    EXPECT_EQ(asserts.LastSource(), "setserver");
}

TEST_F(WindowTest, DefaultsComeFromTheParentAndTheStyleRow) {
    root.SetFaceColor(0x123456);
    root.SetTexture(1);
    root.Show(0, 0);
    CZVWindow button(&root, CZVRect(5, 6, -1, -1), 17);
    EXPECT_EQ(button.GetWidth(), 100);
    EXPECT_EQ(button.GetHeight(), 50);
    EXPECT_EQ(button.GetFaceColor(), 0xE4E4E4u);
    EXPECT_EQ(button.GetTextColor(), 0u);
    EXPECT_EQ(button.GetBackColor(), 0x123456u);
    EXPECT_EQ(button.GetTexture(), 1);
    EXPECT_EQ(button.IsShown(), 0);
    EXPECT_EQ(button.IsEnabled(), 1);
    EXPECT_EQ(button.GetFontSize(), 18);
    EXPECT_EQ(button.GetTextFormat(), 18);
    EXPECT_EQ(button.GetCornerRadius(), 15);
    EXPECT_EQ(button.GetBevel(), 6);
    EXPECT_EQ(button.GetFlags(), 2);
    EXPECT_EQ(button.GetScrollBarWidth(), 20);
    EXPECT_EQ(button.GetHighlightCountdown(), -1);
    EXPECT_EQ(button.GetParent(), &root);
}

TEST_F(WindowTest, HeightZeroBecomesTheFontSizeAndAnUnknownClassReadsRowZero) {
    CZVWindow small(&root, CZVRect(0, 0, 10, 0), 16);
    EXPECT_EQ(small.GetHeight(), 15);
    CZVWindow odd(&root, CZVRect(0, 0, -1, 20), 101);
    EXPECT_EQ(odd.GetWidth(), root.GetWidth());
    EXPECT_EQ(odd.GetTextFormat(), 18);
}

TEST_F(WindowTest, ShapeIsClampedToTheWindow) {
    CZVWindow window(&root, CZVRect(0, 0, 60, 30), 0);
    window.SetShape(20, 4, 40);
    window.ClampShape();
    EXPECT_EQ(window.GetMargin(), 15);
    EXPECT_EQ(window.GetCornerRadius(), 0);
    EXPECT_EQ(window.GetBevel(), 0);
    CZVWindow list(&root, CZVRect(0, 0, 60, 30), 11);
    list.SetShape(20, 4, 40);
    list.ClampShape();  // lists keep what they are given
    EXPECT_EQ(list.GetMargin(), 40);
}

// ---- commands

TEST_F(WindowTest, CommandsBubbleUntilAnAncestorConsumesThem) {
    auto* outer = new RecordingWindow(&root, CZVRect(0, 0, 100, 100), "outer", &log);
    auto* inner = new RecordingWindow(outer, CZVRect(0, 0, 50, 50), "inner", &log);
    auto* leaf = new RecordingWindow(inner, CZVRect(0, 0, 10, 10), "leaf", &log);
    inner->consumes = 5;

    EXPECT_EQ(leaf->OnCommand(5), 1);
    EXPECT_EQ(log, (Log{"child inner 5"}));
    EXPECT_TRUE(harness.Root().commands.empty());

    log.clear();
    EXPECT_EQ(leaf->OnCommand(7), 1);
    EXPECT_EQ(log, (Log{"child inner 7", "child outer 7"}));
    EXPECT_EQ(harness.Root().commands, (std::vector<int>{7}));

    log.clear();
    EXPECT_EQ(leaf->OnCommand(kNoCommand), 0);
    EXPECT_TRUE(log.empty());
}

TEST_F(WindowTest, CommandToTheTreeReachesEveryWindowAndBubblesFromEach) {
    auto* a = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "a", &log);
    new RecordingWindow(a, CZVRect(0, 0, 5, 5), "a1", &log);
    new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "b", &log);
    root.SendCommandToTree(10000);
    // The root takes it once itself, then once from each child's bubbling.
    EXPECT_EQ(harness.Root().commands.size(), 4u);
    EXPECT_EQ(log, (Log{"child a 10000"}));
}

// ---- idle and timers

TEST_F(WindowTest, TimerFiresOnlyAfterMoreThanItsInterval) {
    auto* child = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "t", &log);
    child->SetTimer(500);
    harness.Clock().Advance(500);
    harness.Idle();
    EXPECT_EQ(child->timers, 0);
    harness.Clock().Advance(1);
    harness.Idle();
    EXPECT_EQ(child->timers, 1);
    harness.Idle();
    EXPECT_EQ(child->timers, 1);  // the interval starts again
    child->Show(0, 0);
    harness.Clock().Advance(501);
    harness.Idle();
    EXPECT_EQ(child->timers, 2);  // hidden windows keep their timers
    child->KillTimer();
    harness.Clock().Advance(10000);
    harness.Idle();
    EXPECT_EQ(child->timers, 2);
}

TEST_F(WindowTest, TimerSurvivesTheTickCounterWrapping) {
    harness.Clock().Set(0xFFFFFF00u);
    auto* child = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "t", &log);
    child->SetTimer(500);
    harness.Clock().Advance(501);  // wraps: one less than the difference
    harness.Idle();
    EXPECT_EQ(child->timers, 0);
    harness.Clock().Advance(1);
    harness.Idle();
    EXPECT_EQ(child->timers, 1);
}

// A timer whose work deletes the window and the sibling after it, as a page
// does when a repeated command closes a panel.
class SelfDeletingTimerWindow : public CZVWindow {
public:
    SelfDeletingTimerWindow(CZVWindow* parent, CZVWindow** sibling)
        : CZVWindow(parent, CZVRect(0, 0, 10, 10), 0), m_sibling(sibling) {
        parent->AddChild(this);
    }
    void OnTimer() override {
        delete *m_sibling;
        *m_sibling = nullptr;
        delete this;
    }

private:
    CZVWindow** m_sibling;
};

TEST_F(WindowTest, ATimerThatDeletesItsWindowAndASiblingEndsTheWalkSafely) {
    CZVWindow* sibling = nullptr;
    auto* timed = new SelfDeletingTimerWindow(&root, &sibling);
    sibling = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "next", &log);
    auto* last = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "last", &log);
    timed->SetTimer(100);
    harness.Clock().Advance(101);
    EXPECT_EQ(harness.Idle(), 1);
    EXPECT_EQ(sibling, nullptr);
    harness.Idle();
    EXPECT_GE(last->idles, 1);
}

TEST_F(WindowTest, IdleAnswerOfMinusOneStopsTheWalk) {
    auto* first = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "first", &log);
    auto* second = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "second", &log);
    EXPECT_EQ(harness.Idle(), 0);
    first->idleAnswer = -1;
    EXPECT_EQ(harness.Idle(), 1);
    EXPECT_EQ(first->idles, 2);
    EXPECT_EQ(second->idles, 1);
    first->idleAnswer = 1;
    EXPECT_EQ(harness.Idle(), 1);
    EXPECT_EQ(second->idles, 2);
}

// ---- show

TEST_F(WindowTest, KeepHiddenHoldsUnlessForced) {
    auto* window = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "w", &log);
    auto* child = new RecordingWindow(window, CZVRect(0, 0, 5, 5), "c", &log);
    window->Show(0, 0);
    window->SetKeepHidden(1);
    window->Show(1, 0);
    EXPECT_EQ(window->IsShown(), 0);
    EXPECT_EQ(child->IsShown(), 0);
    window->Show(1, 1);
    EXPECT_EQ(window->IsShown(), 1);
    EXPECT_EQ(child->IsShown(), 1);
    window->Show(0, 0);  // hiding is never held back
    EXPECT_EQ(window->IsShown(), 0);
}

// ---- paint and input order

TEST_F(WindowTest, ChildrenPaintAndTakeInputInListOrder) {
    auto* a = new RecordingWindow(&root, CZVRect(0, 0, 50, 50), "a", &log);
    auto* b = new RecordingWindow(&root, CZVRect(0, 0, 50, 50), "b", &log);
    auto* first = new RecordingWindow(nullptr, CZVRect(0, 0, 50, 50), "first", &log);
    root.AddChildFirst(first);
    for (auto* w : {a, b, first}) w->takesInput = true;
    harness.PaintAll();
    EXPECT_EQ(log, (Log{"paint first", "paint a", "paint b"}));

    log.clear();
    harness.Press(10, 10);
    EXPECT_EQ(log, (Log{"down first"}));  // the first that takes it ends the walk

    log.clear();
    first->takesInput = false;
    harness.Press(10, 10);
    EXPECT_EQ(log, (Log{"down first", "down a"}));

    log.clear();
    root.Show(0, 0);
    EXPECT_EQ(root.OnLButtonDown(10, 10, 0), 0);
    EXPECT_TRUE(log.empty());
    root.RemoveChild(first);
    delete first;
}

TEST_F(WindowTest, ClipRectangleSkipsWindowsWhollyOutsideIt) {
    auto* inside = new RecordingWindow(&root, CZVRect(99, 0, 10, 10), "inside", &log);
    new RecordingWindow(&root, CZVRect(100, 0, 10, 10), "outside", &log);
    inside->SetDeferredRepaint(1);
    CZVDC dc(&root);
    dc.PushClipXYWH(0, 0, 100, 100);  // columns 0 to 99
    for (ZVPOSITION pos = root.GetChildren().GetHeadPosition(); pos;)
        static_cast<CZVWindow*>(root.GetChildren().GetNext(pos))->Paint(&dc, 0);
    EXPECT_EQ(log, (Log{"paint inside"}));
    EXPECT_EQ(inside->HasDeferredRepaint(), 1);  // a partial paint keeps it pending
    inside->Paint(nullptr, 0);
    EXPECT_EQ(inside->HasDeferredRepaint(), 0);
}

// ---- background

TEST_F(WindowTest, SubtractionLeavesExactlyTheHoles) {
    std::vector<CZVRect> holes{CZVRect(10, 10, 20, 20), CZVRect(60, 0, 10, 50), CZVRect(29, 5, 10, 3)};
    std::vector<CZVRect> regions{CZVRect(0, 0, 100, 50)};
    while (CZVWindow::SubtractRects(regions, holes)) {
    }
    int covered[50][100] = {};
    for (const CZVRect& r : regions)
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) ++covered[y][x];
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            bool inHole = false;
            for (const CZVRect& h : holes) inHole = inHole || h.Contains(x, y);
            ASSERT_EQ(covered[y][x], inHole ? 0 : 1) << x << "," << y;
        }
}

TEST_F(WindowTest, RectanglesSharingOnlyAnEdgeDoNotOverlap) {
    std::vector<CZVRect> holes{CZVRect(9, 0, 5, 10)};
    EXPECT_EQ(CZVWindow::FindOverlap(CZVRect(0, 0, 10, 10), holes), nullptr);
    EXPECT_EQ(CZVWindow::FindOverlap(CZVRect(0, 0, 11, 10), holes), &holes[0]);
}

TEST_F(WindowTest, BackgroundSkipsWhatShownDescendantsCover) {
    const COLORREF back = MakeColor(200, 0, 0);
    auto* panel = new RecordingWindow(&root, CZVRect(10, 10, 100, 60), "panel", &log);
    panel->SetBackColor(back);
    auto* covered = new RecordingWindow(panel, CZVRect(10, 10, 20, 20), "covered", &log);
    covered->opaque = true;
    auto* group = new RecordingWindow(panel, CZVRect(50, 10, 40, 40), "group", &log);
    auto* deep = new RecordingWindow(group, CZVRect(5, 5, 10, 10), "deep", &log);
    deep->opaque = true;
    auto* hidden = new RecordingWindow(panel, CZVRect(0, 40, 10, 10), "hidden", &log);
    hidden->opaque = true;
    hidden->Show(0, 0);

    harness.Screen().FillRect(0xFFFFFF, 0, 0, 320, 240, 0);
    CZVDC dc(panel);
    panel->DrawBackground(&dc);
    const uint16_t red = ToRgb565(back), white = 0xFFFF;
    EXPECT_EQ(harness.PixelAt(10, 10), red);
    EXPECT_EQ(harness.PixelAt(20, 20), white);  // covered
    EXPECT_EQ(harness.PixelAt(39, 39), white);
    EXPECT_EQ(harness.PixelAt(40, 40), red);
    EXPECT_EQ(harness.PixelAt(65, 25), white);  // deep: 10 + 50 + 5
    EXPECT_EQ(harness.PixelAt(64, 25), red);
    EXPECT_EQ(harness.PixelAt(12, 52), red);  // hidden windows cover nothing
    EXPECT_EQ(harness.PixelAt(109, 69), red);
    EXPECT_EQ(harness.PixelAt(110, 70), white);  // outside the panel
}

// ---- caption

TEST_F(WindowTest, BackslashNBecomesALineBreak) {
    CZVWindow window(&root, CZVRect(0, 0, 10, 10), 0);
    window.SetTextChanged(0);
    window.SetText("A\\nB", nullptr, 0);
    CZVString text = window.GetText();
    EXPECT_STREQ(text.GetAnsi(), "A\nB");
    EXPECT_TRUE(window.HasFlag(kFlagMultiLine));
    EXPECT_EQ(window.IsTextChanged(), 1);
    window.SetText("plain", nullptr, 0);
    EXPECT_TRUE(window.HasFlag(kFlagMultiLine));  // never cleared here
    CZVWindow single(&root, CZVRect(0, 0, 10, 10), 0);
    single.SetText("a\\b\\", nullptr, 0);
    EXPECT_STREQ(single.GetText().GetAnsi(), "a\\b\\");
    EXPECT_FALSE(single.HasFlag(kFlagMultiLine));
}

// ---- tree bookkeeping and teardown

TEST_F(WindowTest, AddingAWindowTwiceIsReportedAndIgnored) {
    auto* child = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "c", &log);
    testsupport::AssertCounter asserts;
    root.AddChild(child);
    root.AddChildFirst(child);
    EXPECT_EQ(asserts.Count(), 2);
    EXPECT_EQ(root.GetChildren().GetCount(), 1);
}

// A window that takes a sibling with it when it goes.
class Companion : public CZVWindow {
public:
    Companion(CZVWindow* parent, CZVWindow* partner) : CZVWindow(parent, CZVRect(0, 0, 5, 5), 0), m_partner(partner) {
        parent->AddChild(this);
    }
    ~Companion() override { delete m_partner; }

private:
    CZVWindow* m_partner;
};

TEST_F(WindowTest, ChildrenThatRemoveSiblingsTearDownSafely) {
    auto* parent = new CZVWindow(&root, CZVRect(0, 0, 50, 50), 0);
    root.AddChild(parent);
    auto* later = new CZVWindow(parent, CZVRect(0, 0, 5, 5), 0);
    new Companion(parent, later);
    parent->AddChild(later);
    delete parent;  // the companion deletes `later` while the list is being emptied
    EXPECT_TRUE(root.GetChildren().IsEmpty());

    auto* again = new CZVWindow(&root, CZVRect(0, 0, 50, 50), 0);
    root.AddChild(again);
    auto* partner = new CZVWindow(again, CZVRect(0, 0, 5, 5), 0);
    new Companion(again, partner);
    again->AddChild(partner);
    again->DeleteChildren();
    EXPECT_TRUE(again->GetChildren().IsEmpty());
}

CZVWindow* MakePlainBar(CZVWindow* parent, CZVWindow*, CZVRect rect) { return new CZVWindow(parent, rect, 13); }

class ScrollBarTest : public WindowTest {
protected:
    void SetUp() override {
        m_previous = SetScrollBarFactory(MakePlainBar);
        list = new CZVWindow(&root, CZVRect(10, 10, 100, 80), 11);
        root.AddChild(list);
    }
    void TearDown() override { SetScrollBarFactory(m_previous); }

    CZVWindow* list = nullptr;

private:
    ScrollBarFactory m_previous = nullptr;
};

TEST_F(ScrollBarTest, BarTakesItsWidthFromTheWindowAndGivesItBack) {
    CZVWindow* bar = list->EnsureScrollBar(nullptr, 1);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(list->EnsureScrollBar(nullptr, 1), bar);
    EXPECT_EQ(list->GetWidth(), 80);
    EXPECT_EQ(CZVRect(bar->GetX(), bar->GetY(), bar->GetWidth(), bar->GetHeight()), CZVRect(90, 10, 20, 80));
    EXPECT_EQ(root.GetChildren().GetTail(), bar);
    list->Show(0, 0);
    EXPECT_EQ(bar->IsShown(), 0);
    list->RemoveScrollBar();
    EXPECT_EQ(list->GetWidth(), 100);
    EXPECT_EQ(list->GetScrollBar(), nullptr);
    EXPECT_EQ(root.GetChildren().GetCount(), 1);
}

TEST_F(ScrollBarTest, DeletingTheWindowTakesItsBarAlong) {
    list->EnsureScrollBar(nullptr, 0);
    delete list;
    EXPECT_TRUE(root.GetChildren().IsEmpty());
}

TEST_F(ScrollBarTest, ABarDeletedFirstIsForgottenByItsWindow) {
    CZVWindow* bar = list->EnsureScrollBar(nullptr, 0);
    delete bar;
    EXPECT_EQ(list->GetScrollBar(), nullptr);
    list->Show(0, 0);  // no longer reaches the bar
    EXPECT_EQ(root.GetChildren().GetCount(), 1);
}

TEST_F(ScrollBarTest, ParentTearsDownWindowAndBarInEitherOrder) {
    auto* panel = new CZVWindow(&root, CZVRect(0, 0, 200, 200), 0);
    root.AddChild(panel);
    auto* first = new CZVWindow(panel, CZVRect(0, 0, 100, 50), 11);
    panel->AddChild(first);
    first->EnsureScrollBar(nullptr, 0);
    auto* second = new CZVWindow(panel, CZVRect(0, 60, 100, 50), 11);
    second->EnsureScrollBar(nullptr, 0);
    panel->AddChild(second);  // after its bar
    panel->DeleteChildren();
    EXPECT_TRUE(panel->GetChildren().IsEmpty());
    delete panel;
}

TEST_F(WindowTest, WithoutAScrollBarFactoryNoBarIsMade) {
    const ScrollBarFactory installed = SetScrollBarFactory(nullptr);
    CZVWindow window(&root, CZVRect(0, 0, 100, 50), 11);
    root.AddChild(&window);
    EXPECT_EQ(window.EnsureScrollBar(nullptr, 1), nullptr);
    EXPECT_EQ(window.GetWidth(), 100);
    root.RemoveChild(&window);
    SetScrollBarFactory(installed);
}

TEST_F(WindowTest, DeletedFocusWindowIsForgotten) {
    auto* field = new CZVWindow(&root, CZVRect(0, 0, 10, 10), 0);
    root.AddChild(field);
    harness.Root().SetFocusWindow(field);
    delete field;
    EXPECT_EQ(harness.Root().GetFocusWindow(), nullptr);
}

// ---- the look of a small tree

TEST(WindowLook, TreeOfPlainWindowsLooksAsReviewed) {
    WidgetHarness small(96, 64);
    CZVWindow& top = small.Root();
    top.SetColors(MakeColor(40, 60, 90), MakeColor(40, 60, 90));
    auto* panel = new RecordingWindow(&top, CZVRect(4, 4, 88, 56), "panel", nullptr, 6);
    panel->paintsFace = true;
    panel->opaque = true;
    auto* group = new RecordingWindow(panel, CZVRect(4, 4, 50, 48), "group", nullptr);
    group->SetColors(MakeColor(180, 180, 180), panel->GetFaceColor());
    group->paintsFace = true;
    auto* button = new RecordingWindow(group, CZVRect(5, 5, 40, 16), "button", nullptr, 16);
    button->SetFaceColor(MakeColor(230, 120, 30));
    button->paintsFace = true;
    auto* below = new RecordingWindow(group, CZVRect(5, 26, 40, 16), "below", nullptr, 16);
    below->SetFaceColor(MakeColor(60, 160, 80));
    below->paintsFace = true;
    auto* side = new RecordingWindow(panel, CZVRect(60, 4, 24, 48), "side", nullptr);
    side->SetFaceColor(MakeColor(20, 20, 140));
    side->paintsFace = true;
    auto* gone = new RecordingWindow(side, CZVRect(2, 2, 20, 20), "gone", nullptr);
    gone->SetFaceColor(MakeColor(255, 0, 255));
    gone->paintsFace = true;
    gone->Show(0, 0);
    small.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(small.Capture(), "window_tree"));
    EXPECT_EQ(small.Native().GetFramesShown(), 1);
}

}  // namespace
