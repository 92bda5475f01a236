#include "widgets/gauges/levelbar.h"

#include <gtest/gtest.h>

#include "command_sink.h"
#include "platform/keys.h"
#include "support/widget_harness.h"
#include "widgets/gauges/slider.h"

namespace {

using widgettest::CommandSink;

constexpr int kUp = 31;
constexpr int kDown = 32;
constexpr int kSet = 33;

class LevelBarTest : public ::testing::Test {
protected:
    testsupport::WidgetHarness harness;
    CommandSink* sink = new CommandSink(&harness.Root(), CZVRect(0, 0, 320, 240));

    CZVLevelBar* MakeBar(CZVRect rect, int vertical = 0) {
        auto* bar = new CZVLevelBar(sink, rect, 0, vertical);
        sink->AddChild(bar);
        return bar;
    }
    int Count(int id) const {
        int n = 0;
        for (const auto& [command, count] : sink->childCommands)
            if (command == id) ++n;
        return n;
    }
};

TEST_F(LevelBarTest, LevelsAreClampedToZeroToHundred) {
    CZVLevelBar* bar = MakeBar(CZVRect(0, 0, 200, 30));
    bar->SetLevel(130, 1);
    EXPECT_EQ(bar->GetLevel(), 100);
    bar->SetLevel(-5, 1);
    EXPECT_EQ(bar->GetLevel(), 0);
}

TEST_F(LevelBarTest, ATapAnimatesToTheTouchedLevelAndSendsTheSetCommandOnce) {
    CZVLevelBar* bar = MakeBar(CZVRect(0, 0, 200, 30));
    bar->SetCommandIds(kUp, kDown, kSet, 25);
    bar->SetLevel(40, 1);
    harness.Press(150, 10);
    EXPECT_EQ(bar->GetTarget(), 75);
    EXPECT_EQ(bar->GetLevel(), 40);  // the touch alone changes nothing shown
    harness.Clock().Advance(100);
    harness.Release(150, 10);
    EXPECT_EQ(bar->IsAnimating(), 1);
    EXPECT_EQ(bar->GetLevel(), 75);
    EXPECT_EQ(Count(kSet), 1);
    harness.Clock().Advance(30);
    harness.Idle();
    harness.RunFor(400, 5);
    EXPECT_EQ(bar->IsAnimating(), 0);
    EXPECT_EQ(bar->GetLevel(), 75);
    EXPECT_EQ(Count(kSet), 1);
    EXPECT_EQ(Count(kUp), 0);
}

TEST_F(LevelBarTest, AHeldFingerStepsThroughTheParentUntilTheLevelMeetsTheTarget) {
    CZVLevelBar* bar = MakeBar(CZVRect(0, 0, 200, 30));
    bar->SetCommandIds(kUp, kDown, kSet, 25);
    bar->SetLevel(40, 1);
    // The owner steps the value by 5 for each repeat it is told of.
    static CZVLevelBar* stepped;
    stepped = bar;
    sink->onChild = [](int id, int count) {
        if (id == kUp) stepped->SetLevel(stepped->GetLevel() + 5 * count, 0);
        return 1;
    };
    harness.Press(150, 10);
    harness.RunFor(1000, 5);
    EXPECT_EQ(bar->GetLevel(), 75);
    EXPECT_GE(Count(kUp), 7);
    const int ups = Count(kUp);
    harness.RunFor(200, 5);
    EXPECT_EQ(Count(kUp), ups);  // the target is met: no more repeats
    harness.Release(150, 10);
    EXPECT_EQ(Count(kSet), 1);
    EXPECT_EQ(Count(kDown), 0);
}

TEST_F(LevelBarTest, AVerticalBarTakesItsTargetFromTheHeight) {
    CZVLevelBar* bar = MakeBar(CZVRect(10, 10, 30, 200), 1);
    bar->SetCommandIds(kUp, kDown, kSet, 25);
    harness.Press(20, 10 + 49);  // a quarter down from the top
    EXPECT_EQ(bar->GetTarget(), 75);
}

TEST_F(LevelBarTest, ARepeatIntervalOfZeroStillSteps) {
    CZVLevelBar* bar = MakeBar(CZVRect(0, 0, 200, 30));
    bar->SetCommandIds(kUp, kDown, kSet, 0);
    bar->SetLevel(0, 1);
    harness.Press(150, 10);
    harness.RunFor(20, 5);
    EXPECT_GE(Count(kUp), 1);
}

TEST_F(LevelBarTest, CaptionIsBlackOnLightAndWhiteOnDark) {
    CZVLevelBar* bar = MakeBar(CZVRect(0, 0, 200, 30));
    bar->SetBackColor(MakeColor(200, 200, 100));
    EXPECT_EQ(bar->CaptionColor(), 0u);
    bar->SetBackColor(MakeColor(100, 100, 100));
    EXPECT_EQ(bar->CaptionColor(), 0xFFFFFFu);
}

TEST_F(LevelBarTest, TheSweptBandRunsForwardsOrBackwardsAndWraps) {
    struct Case {
        int direction;
        std::vector<int> phases;
    };
    const Case cases[] = {
        {3, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, -30, -20}},
        {1, {0, -10, -20, 90, 80}},
    };
    for (const Case& c : cases) {
        CZVLevelBar* bar = MakeBar(CZVRect(0, 0, 200, 30));
        bar->SetSweep(c.direction);
        std::vector<int> seen;
        for (size_t i = 0; i < c.phases.size(); ++i) {
            seen.push_back(bar->GetSweepPhase());
            harness.Clock().Advance(11);
            harness.Idle();
        }
        EXPECT_EQ(seen, c.phases) << c.direction;
        bar->SetSweep(-1);
        EXPECT_EQ(bar->GetTimerInterval(), 0);
        delete bar;
    }
}

class SliderTest : public LevelBarTest {
protected:
    CZVSlider* MakeSlider(CZVRect rect, int minimum, int maximum, int flags) {
        auto* slider = new CZVSlider(sink, rect, 77, minimum, maximum, -1, 4, flags);
        sink->AddChild(slider);
        return slider;
    }
    // Root x of the thumb's middle.
    static int ThumbMiddle(CZVSlider* s) { return s->GetX() + s->GetThumbOffset() + 10; }
};

TEST_F(SliderTest, DraggingTheThumbMovesThePositionAndTellsTheParent) {
    CZVSlider* slider = MakeSlider(CZVRect(0, 0, 208, 40), 0, 100, 0);
    slider->SetPosition(0, 1);
    ASSERT_EQ(slider->GetTrackLength(), 208 - 8 - 50);
    const int x = ThumbMiddle(slider);
    harness.Press(x, 20);
    EXPECT_EQ(slider->IsDragging(), 1);
    harness.Move(x + 75, 20);
    EXPECT_EQ(slider->GetPosition(), 50);
    harness.Move(x + 500, 20);
    EXPECT_EQ(slider->GetPosition(), 100);
    harness.Release(x + 500, 20);
    EXPECT_EQ(slider->IsDragging(), 0);
    EXPECT_EQ(sink->commands, (std::vector<int>{77, 77, 77}));
}

TEST_F(SliderTest, AReturnPositionSnapsBackOnEveryRelease) {
    CZVSlider* slider = MakeSlider(CZVRect(0, 0, 208, 40), -10, 10, 0);
    slider->SetReturnPosition(10);
    slider->SetPosition(10, 1);
    for (int round = 0; round < 2; ++round) {
        const int x = ThumbMiddle(slider);
        harness.Press(x, 20);
        harness.Move(x - 100, 20);
        EXPECT_LT(slider->GetPosition(), 10);
        harness.Release(x - 100, 20);
        EXPECT_EQ(slider->GetPosition(), 10);
        EXPECT_EQ(sink->commands.back(), 77);
    }
}

TEST_F(SliderTest, APressOnTheTrackBesideTheThumbStartsNoDrag) {
    CZVSlider* slider = MakeSlider(CZVRect(0, 0, 40, 208), 0, 100, CZVSlider::kVertical);
    slider->SetPosition(100, 1);  // the top
    EXPECT_EQ(slider->GetThumbOffset(), 4);
    EXPECT_EQ(slider->OnLButtonDown(20, 180, 1), 0);
    EXPECT_EQ(slider->IsDragging(), 0);
    EXPECT_EQ(slider->OnLButtonDown(20, 20, 1), 1);
}

TEST_F(SliderTest, AVerticalRangeBelowZeroKeepsItsValues) {
    CZVSlider* slider = MakeSlider(CZVRect(0, 0, 40, 208), -10, 10, CZVSlider::kVertical);
    for (int value : {-10, -3, 0, 10}) {
        slider->SetPosition(value, 1);
        EXPECT_EQ(slider->GetPosition(), value);
    }
    slider->SetPosition(10, 1);
    EXPECT_EQ(slider->GetThumbOffset(), 4);  // the maximum is at the top
}

TEST_F(SliderTest, MinusOneIsAValueLikeAnyOtherAndNoPositionIsKeptApart) {
    CZVSlider* slider = MakeSlider(CZVRect(0, 0, 208, 40), -10, 10, 0);
    EXPECT_EQ(slider->GetPosition(), std::nullopt);
    EXPECT_EQ(slider->OnLButtonDown(ThumbMiddle(slider), 20, 1), 0);  // no thumb to take

    // -1 of a range across zero has a thumb that drags and springs back to it.
    slider->SetReturnPosition(-1);
    slider->SetPosition(-1, 1);
    EXPECT_EQ(slider->GetPosition(), -1);
    const int x = ThumbMiddle(slider);
    harness.Press(x, 20);
    ASSERT_EQ(slider->IsDragging(), 1);
    harness.Move(x + 100, 20);
    EXPECT_GT(slider->GetPosition(), -1);
    harness.Release(x + 100, 20);
    EXPECT_EQ(slider->GetPosition(), -1);

    CZVSlider* vertical = MakeSlider(CZVRect(0, 0, 40, 208), -10, 10, CZVSlider::kVertical);
    vertical->SetPosition(1, 1);  // stored as -1
    EXPECT_EQ(vertical->GetPosition(), 1);
    EXPECT_EQ(vertical->OnLButtonDown(20, vertical->GetThumbOffset() + 10, 1), 1);
}

TEST_F(SliderTest, AnEmptyRangeNeitherDividesByZeroNorMoves) {
    CZVSlider* slider = MakeSlider(CZVRect(0, 0, 208, 40), 5, 5, 0);
    slider->SetPosition(5, 1);
    const int x = ThumbMiddle(slider);
    harness.Press(x, 20);
    harness.Move(x + 50, 20);
    harness.Release(x + 50, 20);
    EXPECT_EQ(slider->GetPosition(), 5);
}

}  // namespace
