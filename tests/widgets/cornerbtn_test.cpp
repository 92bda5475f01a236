#include "widgets/buttons/cornerbtn.h"

#include <gtest/gtest.h>

#include "button_fixture.h"
#include "gfx/dibdc.h"
#include "support/golden.h"

namespace {

using widgettest::ButtonTest;

// The top-left corner of a 300 x 200 pad with a ring bevel of 6: the pad
// circle of radius 94 is centred at (150, 100).
class CornerButtonTest : public ButtonTest {
protected:
    CCornerButton* Add(int kind, int margin = 0, int bevel = 6) {
        auto* button = new CCornerButton(&root, CZVRect(0, 0, 120, 97), 7, 18, kind, 94, 150, 100);
        button->SetBevel(bevel);
        button->SetMargin(margin);
        button->SetFontSize(16);
        button->SetFaceColor(MakeColor(70, 110, 160));
        root.AddChild(button);
        return button;
    }
    static uint16_t At(CDibDC* face, int x, int y) { return *face->GetPixelAddress(x, y); }
};

// The pad circle is cut out of the face (transparent), mirrored into the
// corner the kind names; the outer corner stays face.
TEST_F(CornerButtonTest, ThePadIsCutOutOnTheInnerSide) {
    const struct {
        int kind;
        int padX, padY, outerX, outerY;
    } cases[] = {{5, 119, 96, 10, 10}, {6, 0, 96, 109, 10}, {4, 119, 0, 10, 86}, {7, 0, 0, 109, 86}};
    for (int margin : {0, 6}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "kind " << c.kind << " margin " << margin);
            CCornerButton* button = Add(c.kind, margin, margin ? 0 : 6);
            button->RenderFace(0);
            button->RenderFace(1);
            for (int pressed : {0, 1}) {
                CDibDC* face = pressed ? button->GetPressedImage() : button->GetNormalImage();
                ASSERT_NE(face, nullptr);
                EXPECT_EQ(At(face, c.padX, c.padY), kTransparent565);
                EXPECT_NE(At(face, c.outerX, c.outerY), kTransparent565);
            }
            EXPECT_NE(At(button->GetNormalImage(), c.outerX, c.outerY),
                      At(button->GetPressedImage(), c.outerX, c.outerY));
            root.DeleteChildren();
        }
    }
}

TEST_F(CornerButtonTest, AnOddWidthIsMadeEven) {
    auto* button = new CCornerButton(&root, CZVRect(0, 0, 121, 97), 7, 18, 5, 94, 150, 100);
    root.AddChild(button);
    EXPECT_EQ(button->GetWidth(), 122);
    EXPECT_EQ(button->GetShapeKind(), 5);
}

// The caption takes the band above the pad circle, as wide as the circle
// leaves it, on the mirrored side for a right-hand piece.
TEST_F(CornerButtonTest, CaptionAndIconKeepClearOfThePad) {
    CZVRect inner, icon;
    Add(5)->GetInnerRect(&inner);
    EXPECT_EQ(inner, CZVRect(7, 7, 91, 15));
    CCornerButton* right = Add(6);
    right->GetInnerRect(&inner);
    EXPECT_EQ(inner, CZVRect(22, 7, 91, 15));
    EXPECT_EQ(right->GetTextFormat(), 18);
    // The icon band lies one font height lower and narrows with the circle.
    right->GetIconRect(&icon);
    EXPECT_EQ(icon.y, 23);
    EXPECT_LT(icon.w, inner.w);
    right->SetText("A", nullptr, 0);
    right->GetIconRect(&icon);
    EXPECT_EQ(icon.y, 7);
}

TEST_F(CornerButtonTest, ATapSendsTheCommand) {
    harness.Clock().Advance(200);
    Add(5);
    harness.Clock().Advance(200);
    harness.Tap(20, 20);
    EXPECT_EQ(root.commands, std::vector<int>{7});
}

// Four corners of one 300 x 200 pad, flat look above a ring look.
TEST(ButtonLook, FourCornersAroundAPad) {
    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness(300, 200);
    testsupport::TestMainWnd& root = harness.Root();
    root.SetFaceColor(MakeColor(40, 60, 90));
    harness.Style().SetFlags(harness.Style().GetFlags() & ~kStyleAnimate);
    const struct {
        CZVRect rect;
        int kind, margin;
    } corners[] = {
        {{0, 0, 120, 97}, 5, 0}, {{180, 0, 120, 97}, 6, 0}, {{0, 103, 120, 97}, 4, 6}, {{180, 103, 120, 97}, 7, 6}};
    for (const auto& c : corners) {
        auto* button = new CCornerButton(&root, c.rect, c.kind, 18, c.kind, 94, 150, 100);
        button->SetMargin(c.margin);
        button->SetBevel(c.margin ? 0 : 6);
        button->SetFaceColor(MakeColor(70, 110, 160));
        button->SetFontSize(16);
        button->SetText("Skip", nullptr, 0);
        root.AddChild(button);
    }
    harness.Clock().Advance(200);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "corner_buttons"));
}

}  // namespace
