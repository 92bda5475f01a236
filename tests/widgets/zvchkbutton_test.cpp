#include "widgets/buttons/zvchkbutton.h"

#include <gtest/gtest.h>

#include "button_fixture.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/style/setserver.h"

namespace {

using widgettest::ButtonTest;

class CheckTest : public ButtonTest {
protected:
    CheckTest() {
        check = root.AddCheckButton(CZVRect(10, 10, 100, 40), 5, 16, "On");
        harness.Clock().Advance(200);
        harness.PaintAll();
    }
    uint16_t Centre() { return harness.PixelAt(60, 12); }
    CZVCheckButton* check;
};

TEST_F(CheckTest, ATapTogglesTheStateAndSendsTheClick) {
    harness.Tap(60, 30);
    EXPECT_EQ(check->GetCheck(), 1);
    harness.Clock().Advance(200);
    harness.Tap(60, 30);
    EXPECT_EQ(check->GetCheck(), 0);
    EXPECT_EQ(root.commands, (std::vector<int>{5, 5}));
    EXPECT_FALSE(harness.Native().IsCaptured());
}

TEST_F(CheckTest, AButtonThatStaysCheckedStillSendsItsClick) {
    check->SetStaysChecked(1);
    check->SetCheck(1, 0, 1);
    harness.Tap(60, 30);
    EXPECT_EQ(check->GetCheck(), 1);
    EXPECT_EQ(root.commands, std::vector<int>{5});
}

TEST_F(CheckTest, HeldAndLockedButtonsIgnoreTouches) {
    check->SetLocked(1);
    EXPECT_EQ(check->OnLButtonDown(60, 30, 0), 0);
    check->SetLocked(0);
    // Held while the finger is down: the press ends and the capture goes.
    harness.Press(60, 30);
    EXPECT_TRUE(harness.Native().IsCaptured());
    check->SetHeld(1);
    harness.Release(60, 30);
    EXPECT_FALSE(check->IsPressed());
    EXPECT_FALSE(harness.Native().IsCaptured());
    EXPECT_TRUE(root.commands.empty());
}

TEST_F(CheckTest, AnAnimatedChangeTakes250MsInEightLevels) {
    const uint16_t unchecked = Centre();
    SetStyleFlag(kStyleAnimate, true);
    check->SetCheck(1, 0, 1);
    EXPECT_EQ(Centre(), unchecked);
    harness.Clock().Advance(125);
    EXPECT_EQ(harness.Idle(), 1);
    EXPECT_EQ(check->GetAnimationLevel(), 4);
    const uint16_t half = Centre();
    EXPECT_NE(half, unchecked);
    harness.Clock().Advance(125);
    harness.Idle();
    EXPECT_EQ(check->GetAnimationLevel(), 8);
    harness.Idle();
    EXPECT_EQ(check->GetAnimationDirection(), 0);
    const uint16_t checked = Centre();
    EXPECT_NE(checked, half);

    SetStyleFlag(kStyleAnimate, false);
    check->SetCheck(0, 0, 1);
    EXPECT_EQ(Centre(), unchecked);
    check->SetCheck(1, 0, 1);
    EXPECT_EQ(Centre(), checked);
}

TEST_F(CheckTest, ACheckWhileInputIsBlockedIsPaintedOnceUnblocked) {
    const uint16_t unchecked = Centre();
    root.SetModal(1);
    check->SetCheck(1, 0, 1);
    EXPECT_EQ(check->GetCheck(), 1);
    EXPECT_EQ(Centre(), unchecked);
    harness.Idle();
    EXPECT_EQ(Centre(), unchecked);
    root.SetModal(0);
    harness.Idle();
    EXPECT_NE(Centre(), unchecked);
    EXPECT_FALSE(check->HasDeferredRepaint());
}

TEST_F(CheckTest, ABlinkingButtonAlternatesEvery500Ms) {
    check->SetBlink(1);
    harness.RunFor(510);
    EXPECT_EQ(check->GetCheck(), 1);
    harness.RunFor(500);
    EXPECT_EQ(check->GetCheck(), 0);
    check->SetBlink(0);
    harness.RunFor(1000);
    EXPECT_EQ(check->GetCheck(), 0);
}

TEST_F(CheckTest, HighlightColourFollowsTheState) {
    EXPECT_EQ(check->GetHighlightColor(), 0x6464FFu);
    check->SetCheck(1, 0, 0);
    EXPECT_EQ(check->GetHighlightColor(), 0xFF9696u);
}

class RadioButtonTest : public ButtonTest {
protected:
    RadioButtonTest() {
        radio = new CZVRadio(&root, CZVRect(0, 0, 300, 40), 77, 3, 1, 0, 16, 2, 0, 0);
        root.AddChild(radio);
        harness.Clock().Advance(200);
    }
    CZVRadio* radio;
};

TEST_F(RadioButtonTest, OptionsAreLaidOutWithTheirIdsAndShareTheFirstLook) {
    ASSERT_EQ(radio->GetOptionCount(), 3);
    EXPECT_EQ(radio->GetOption(0)->GetCommandId(), 9000);
    EXPECT_EQ(radio->GetOption(2)->GetCommandId(), 9002);
    EXPECT_EQ(radio->GetOption(1)->GetX(), 103);  // columns of 97 with gaps of 4, less the inset
    EXPECT_EQ(radio->GetOption(1)->GetWidth(), 93);
    EXPECT_EQ(radio->GetOption(2)->GetLookSource(), radio->GetOption(0));
    EXPECT_EQ(radio->GetOption(0)->GetTextFormat(), 18);
}

TEST_F(RadioButtonTest, ATapChecksExactlyThatOptionAndSendsTheGroupId) {
    harness.Tap(150, 20);
    EXPECT_EQ(radio->GetSelection(), 1);
    harness.Clock().Advance(200);
    harness.Tap(150, 20);  // the checked option stays checked
    EXPECT_EQ(radio->GetSelection(), 1);
    harness.Clock().Advance(200);
    harness.Tap(250, 20);
    EXPECT_EQ(radio->GetSelection(), 2);
    EXPECT_EQ(radio->GetOption(1)->GetCheck(), 0);
    EXPECT_EQ(root.commands, (std::vector<int>{77, 77, 77}));
}

TEST_F(RadioButtonTest, SelectionByCall) {
    radio->Select(2, 0);
    EXPECT_EQ(radio->GetSelection(), 2);
    radio->Select(-1, 1);
    EXPECT_EQ(radio->GetSelection(), -1);
    testsupport::AssertCounter asserts;
    radio->Select(1, 0);
    radio->Select(3, 0);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(radio->GetSelection(), 1);
    // Positions outside the options are reported, never used.
    EXPECT_EQ(radio->GetOption(3), nullptr);
    EXPECT_EQ(radio->GetOption(-1), nullptr);
    radio->SetOptionText(5, "x");
    EXPECT_EQ(asserts.Count(), 2);
    EXPECT_EQ(asserts.LastSource(), "zvradio");
}

TEST_F(ButtonTest, AJoinedRadioIsOneSegmentedBar) {
    auto* bar = new CZVRadio(&root, CZVRect(0, 0, 200, 40), 1, 2, 1, 0, 16, 5, 0, 1);
    root.AddChild(bar);
    EXPECT_EQ(bar->GetOption(0)->GetShapeKind(), 2);
    EXPECT_EQ(bar->GetOption(1)->GetShapeKind(), 3);
    EXPECT_EQ(bar->GetOption(0)->GetMargin(), 0);
    EXPECT_EQ(CZVRect(bar->GetOption(1)->GetX(), 0, bar->GetOption(1)->GetWidth(), 0), CZVRect(100, 0, 100, 0));
    auto* column = new CZVRadio(&root, CZVRect(0, 50, 100, 90), 2, 3, 0, 0, 16, 0, 30, 1);
    root.AddChild(column);
    EXPECT_EQ(column->GetOption(0)->GetShapeKind(), 0);
    EXPECT_EQ(column->GetOption(1)->GetCornerRadius(), 0);
    EXPECT_EQ(column->GetOption(2)->GetShapeKind(), 1);
    EXPECT_EQ(column->GetOption(2)->GetY(), 60);
}

}  // namespace

namespace {

TEST(ButtonLook, ARowOfButtonsInTheirStates) {
    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness(320, 60);
    testsupport::TestMainWnd& root = harness.Root();
    root.SetFaceColor(MakeColor(40, 60, 90));
    harness.Style().SetFlags(harness.Style().GetFlags() & ~kStyleAnimate);
    root.Add3DButtonDefault(CZVRect(8, 10, 70, 40), 1, 16, "Normal");
    root.Add3DButtonDefault(CZVRect(86, 10, 70, 40), 2, 16, "Pressed");
    root.Add3DButtonDefault(CZVRect(164, 10, 70, 40), 3, 16, "Off")->Enable(0, 0);
    root.AddCheckButton(CZVRect(242, 10, 70, 40), 4, 16, "Checked")->SetCheck(1, 0, 0);
    harness.Clock().Advance(200);
    harness.PaintAll();
    harness.Press(120, 30);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "button_row"));
}

}  // namespace
