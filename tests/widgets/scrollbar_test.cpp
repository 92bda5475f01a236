#include "widgets/lists/scrollbar.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "button_fixture.h"
#include "platform/keys.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

// What a scroll bar tells its target.
class Target : public CZVWindow {
public:
    explicit Target(CZVWindow* parent) : CZVWindow(parent, CZVRect(0, 0, 100, 300), 0) {}
    void OnScroll(CZVDC*, int position) override {
        positions.push_back(position);
        if (onScroll) onScroll();
    }
    void OnScrollFade(int fadeIn) override { fades.push_back(fadeIn); }

    std::vector<int> positions;
    std::vector<int> fades;
    std::function<void()> onScroll;
};

// A bar of 20 x 300 at x 100 over a range of 1000 with a page of 100.
class ZVScrollBarTest : public ::testing::Test {
protected:
    ZVScrollBarTest() {
        bar = new CZVScrollBar(&root, &target, CZVRect(100, 0, 20, 300));
        root.AddChild(bar);
        bar->SetRange(100, 1000);
        bar->SetStep(10);
        harness.PaintAll();
        harness.Clock().Advance(200);
    }

    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness{320, 320};
    testsupport::TestMainWnd& root = harness.Root();
    Target target{nullptr};
    CZVScrollBar* bar;
};

TEST_F(ZVScrollBarTest, ArrowsAreSquaresAndAShortThumbGrowsTo40OnAShorterTrack) {
    EXPECT_EQ(bar->GetArrowSize(), 20);
    EXPECT_EQ(bar->GetUpArrow()->GetHeight(), 20);
    EXPECT_EQ(bar->GetDownArrow()->GetY(), 280);
    EXPECT_EQ(bar->GetTrackLength(), 246);
    EXPECT_EQ(bar->GetThumbTop(), 20);
    EXPECT_EQ(bar->GetThumbBottom() - bar->GetThumbTop(), 40);
    bar->SetPosition(500, 1);
    EXPECT_EQ(bar->GetThumbTop(), 20 + 123);
    EXPECT_TRUE(target.positions.empty());
    // The thumb is drawn in the bar's colour over the lighter track.
    EXPECT_NE(harness.PixelAt(110, 160), harness.PixelAt(110, 100));
}

TEST_F(ZVScrollBarTest, PositionsAreClampedToTheRange) {
    struct Case {
        int asked;
        int kept;
    };
    for (Case c : {Case{-5, 0}, Case{0, 0}, Case{900, 900}, Case{901, 900}, Case{5000, 900}}) {
        bar->SetPosition(c.asked, 0);
        EXPECT_EQ(bar->GetPosition(), c.kept) << c.asked;
    }
    bar->SetPosition(0, 0);
    bar->ScrollTo(-20);
    EXPECT_TRUE(target.positions.empty());
    bar->ScrollTo(2000);
    EXPECT_EQ(target.positions, std::vector<int>{900});
}

TEST_F(ZVScrollBarTest, AnArrowStepsAtOnceThenRepeatsFasterAndNoIdLeavesTheBar) {
    harness.Press(110, 290);
    EXPECT_EQ(target.positions, std::vector<int>{10});
    harness.RunFor(240);
    EXPECT_EQ(target.positions.size(), 1u);
    harness.RunFor(260);
    const size_t early = target.positions.size();
    EXPECT_GT(early, 2u);
    harness.RunFor(500);
    const size_t late = target.positions.size() - early;
    EXPECT_GT(late, 2 * (early - 1));  // from every 50 ms towards every 10 ms
    harness.Release(110, 290);
    const int end = bar->GetPosition();
    harness.RunFor(200);
    EXPECT_EQ(bar->GetPosition(), end);
    harness.Press(110, 10);
    EXPECT_EQ(bar->GetPosition(), end - 10);
    harness.Release(110, 10);
    // Neither the arrows' steps nor their releases reach the main window:
    // any id there would be taken as a page's command.
    EXPECT_TRUE(root.commands.empty()) << root.commands.front();
}

TEST_F(ZVScrollBarTest, HoldingTheTrackPagesUntilTheThumbReachesTheFinger) {
    harness.Press(110, 200);
    EXPECT_EQ(bar->GetDragMode(), 2);
    EXPECT_EQ(target.fades, std::vector<int>{1});
    EXPECT_EQ(target.positions, std::vector<int>{90});
    harness.RunFor(240);
    EXPECT_EQ(target.positions.size(), 1u);
    harness.RunFor(2000);
    EXPECT_EQ(target.positions, (std::vector<int>{90, 180, 270, 360, 450, 540, 630}));
    EXPECT_EQ(bar->GetTimerInterval(), 0);
    harness.Release(110, 200);
    EXPECT_EQ(target.fades, (std::vector<int>{1, 0}));
    EXPECT_EQ(bar->GetDragMode(), 0);
}

TEST_F(ZVScrollBarTest, TheThumbFollowsTheFingerOnceItMovedTwoPixels) {
    harness.Press(110, 30);
    EXPECT_EQ(bar->GetDragMode(), 3);
    harness.Move(110, 31);
    EXPECT_TRUE(target.positions.empty());
    harness.Move(110, 32);
    EXPECT_EQ(target.positions, std::vector<int>{8});
    harness.Move(110, 30 + 123);
    EXPECT_EQ(bar->GetPosition(), 500);
    harness.Move(110, 319);
    EXPECT_EQ(bar->GetPosition(), 900);
    harness.Move(110, 200, 0);  // lifted elsewhere
    EXPECT_EQ(bar->GetDragMode(), 0);
    EXPECT_EQ(target.fades.back(), 0);
}

TEST_F(ZVScrollBarTest, ARangeChangeWhileAnArrowIsHeldKeepsThatArrow) {
    CZV3DButton* down = bar->GetDownArrow();
    // The target lays itself out anew as it scrolls.
    target.onScroll = [this] { bar->SetRange(100, 2000); };
    harness.Press(110, 290);
    EXPECT_EQ(bar->GetDownArrow(), down);
    EXPECT_TRUE(down->IsPressed());
    harness.RunFor(300);
    harness.Release(110, 290);
    EXPECT_FALSE(down->IsPressed());
    EXPECT_FALSE(harness.Native().IsCaptured());
    EXPECT_EQ(bar->GetTotal(), 2000);
}

TEST_F(ZVScrollBarTest, AnEmptyRangeNeitherDividesByZeroNorMovesTheThumb) {
    bar->SetRange(100, 0);
    harness.PaintAll();
    bar->ScrollTo(50);
    EXPECT_EQ(bar->GetPosition(), -100);
    harness.Press(110, 150);
    harness.Move(110, 160);
    harness.Release(110, 160);
}

}  // namespace

namespace {

TEST(ToolkitScrollBarTest, TheToolkitsWindowsGetTheRealScrollBarAndPutTheSeamBackAfterwards) {
    const ScrollBarFactory before = SetScrollBarFactory(nullptr);
    {
        widgettest::PinnedFonts fonts;
        testsupport::WidgetHarness harness;
        CZVWindow* window = new CZVWindow(&harness.Root(), CZVRect(0, 0, 100, 50), 0);
        harness.Root().AddChild(window);
        auto* bar = dynamic_cast<CZVScrollBar*>(window->EnsureScrollBar(nullptr, 0));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->GetX(), 80);
        EXPECT_EQ(bar->GetStyleClass(), 13);
    }
    EXPECT_EQ(SetScrollBarFactory(before), nullptr);
}

}  // namespace
