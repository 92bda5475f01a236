#include "widgets/text/zvlabel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_fixture.h"
#include "list_fixture.h"
#include "support/golden.h"

namespace {

using widgettest::ButtonTest;

class LabelTest : public ButtonTest {
protected:
    CZVLabel* AddLabel(CZVRect rect, const char* text) {
        auto* label = new CZVLabel(&root, rect, text, 0);
        root.AddChild(label);
        label->SetColors(0xFFFFFF, 0xFFFFFF);
        label->SetTextColor(0);
        return label;
    }
    int CountPixels(CZVRect r, COLORREF colour) {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) n += harness.PixelAt(x, y) == ToRgb565(colour);
        return n;
    }
    int TextWidth(const CZVString& text, int fontSize) {
        CZVDC dc(&root);
        dc.SetFont(fontSize, 0, 0);
        return dc.GetTextSize(text).cx;
    }
};

TEST_F(LabelTest, TheLabelBlendsWithItsParentAndHasNoShape) {
    root.SetFaceColor(0x123456);
    CZVLabel label(&root, CZVRect(0, 0, 100, 20), "Pool", 16);
    EXPECT_EQ(label.GetFaceColor(), 0x123456u);
    EXPECT_EQ(label.GetBevel(), 0);
    EXPECT_EQ(label.GetMargin(), 0);
    EXPECT_STREQ(label.GetText().GetAnsi(), "Pool");
    EXPECT_EQ(label.IsSmooth(), 0);
}

TEST_F(LabelTest, SettingTheTextItShowsRepaintsNothing) {
    CZVLabel* label = AddLabel(CZVRect(10, 10, 120, 30), "Spa");
    harness.PaintAll();
    harness.Screen().FillRect(0x00FF00, 10, 10, 120, 30, 0);
    label->SetText("Spa", nullptr, 1);
    EXPECT_EQ(CountPixels(CZVRect(10, 10, 120, 30), 0x00FF00), 120 * 30);
    label->SetText("Pool", nullptr, 1);
    EXPECT_LT(CountPixels(CZVRect(10, 10, 120, 30), 0x00FF00), 120 * 30);
}

TEST_F(LabelTest, ADisabledLabelDrawsItsTextThreeQuartersTowardsItsBackColour) {
    root.SetColors(0xFFFFFF, 0xFFFFFF);
    CZVLabel* label = AddLabel(CZVRect(10, 10, 200, 60), "MMMM");
    label->SetFontSize(40);
    label->SetTextColor(0x404040);
    harness.PaintAll();
    EXPECT_GT(CountPixels(CZVRect(10, 10, 200, 60), 0x404040), 50);
    label->Enable(0, 0);
    harness.PaintAll();
    EXPECT_EQ(CountPixels(CZVRect(10, 10, 200, 60), 0x404040), 0);
    EXPECT_GT(CountPixels(CZVRect(10, 10, 200, 60), MixColors(0xFFFFFF, 0x404040, 0.25)), 50);
}

TEST_F(LabelTest, AMultiLineLabelBreaksItsTextToTheWidthInsideTheFrame) {
    const char* text = "The pool heater runs until the water reaches the set point";
    CZVLabel* label = AddLabel(CZVRect(10, 10, 110, 120), "");
    label->SetFlag(kLabelMultiLine, 1);
    label->SetText(text, nullptr, 0);
    CZVString wrapped = label->GetText();
    EXPECT_GE(CountLines(wrapped), 3);
    for (int i = 0; i < CountLines(wrapped); ++i) {
        CZVString line;
        GetTextLine(&line, i, wrapped);
        EXPECT_FALSE(line.IsEmpty());
        EXPECT_LE(TextWidth(line, label->GetFontSize()), 110 - 2 * 2) << line.GetAnsi();
    }

    // A label that already shows a text wraps it when the flag is set.
    CZVLabel* late = AddLabel(CZVRect(10, 140, 110, 80), text);
    EXPECT_EQ(CountLines(late->GetText()), 1);
    late->SetFlag(kLabelMultiLine, 1);
    EXPECT_STREQ(late->GetText().GetAnsi(), wrapped.GetAnsi());
}

TEST_F(LabelTest, FittingCutsTheTextWithAnEllipsis) {
    CZVLabel* label = AddLabel(CZVRect(10, 10, 80, 20), "Irrigation program seven");
    label->FitTextToWidth();
    const std::string fitted = label->GetText().GetAnsi();
    ASSERT_GE(fitted.size(), 4u);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    EXPECT_LE(TextWidth(label->GetText(), label->GetFontSize()), 80 - 4);
}

// Counting and taking lines agree: every break starts a line, so that a
// text with an empty line shows every line, the last one included.
TEST(TextLinesTest, EveryBreakStartsALineAndEveryLineCanBeTaken) {
    struct Case {
        const char* text;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"", {""}},
        {"one", {"one"}},
        {"a\r\nb", {"a", "b"}},
        {"A\n\nB", {"A", "", "B"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n", {"a", ""}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"first\r\nsecond\nthird", {"first", "second", "third"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CountLines(c.text), static_cast<int>(c.lines.size())) << c.text;
        for (size_t i = 0; i < c.lines.size(); ++i) {
            CZVString out = "x";
            GetTextLine(&out, static_cast<int>(i), c.text);
            EXPECT_STREQ(out.GetAnsi(), c.lines[i]) << c.text << " line " << i;
        }
    }
    for (int index : {3, 100, -1}) {
        CZVString out = "x";
        GetTextLine(&out, index, "a\nb\nc");
        EXPECT_TRUE(out.IsEmpty()) << index;
    }
}

TEST(TextLinesTest, RoundUpEvenRaisesOddValues) {
    for (auto [v, even] : {std::pair{3, 4}, std::pair{4, 4}, std::pair{-3, -2}, std::pair{0, 0}, std::pair{-4, -4}})
        EXPECT_EQ(RoundUpEven(v), even) << v;
}

// A page with a titled, scrolled list: label, rows, selection and bar.
TEST_F(LabelTest, ListWithScrollBarAndLabelLooksRight) {
    auto* page = new widgettest::CommandPage(&root);
    auto* title = new CZVLabel(page, CZVRect(10, 4, 220, 24), "Pool programs", 0);
    page->AddChild(title);
    title->SetFontSize(18);
    title->SetTextColor(0x202020);
    auto* list = new widgettest::TextList(page, CZVRect(10, 30, 220, 150), 42);
    list->SetTextColor(0x303030);
    list->AddRows(14);
    list->SelectIndex(4, 0);
    harness.PaintAll();
    list->GetListScrollBar()->ScrollTo(30);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "list_scrollbar_label"));
}

}  // namespace
