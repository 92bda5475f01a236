#include <gtest/gtest.h>

#include <cstdlib>

#include "button_fixture.h"
#include "widgets/gauges/bevelpanel.h"

namespace {

// A panel 200 x 40 with a band of 10 and a bevel of 4: its bar runs along
// the top, rows 4..13 from x = 40 on.
class BevelPanelTest : public widgettest::ButtonTest {
protected:
    static constexpr int kW = 200, kH = 40, kBand = 10, kBevel = 4;
    static constexpr COLORREF kFace = 0x808080;

    BevelPanelTest() {
        root.SetColors(kFace, kFace);
        panel = new CBevelPanel(&root, CZVRect(0, 0, kW, kH), kBand);
        root.AddChild(panel);
        panel->SetBevel(kBevel);
    }
    static bool IsGreen(uint16_t p) { return (p >> 11) < 8 && ((p >> 5) & 0x3F) > 40 && (p & 0x1F) < 8; }
    static bool IsGreyish(uint16_t p) {
        const int r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
        return std::abs(2 * r - g) < 12 && std::abs(r - b) < 6;
    }
    // Where the bar's middle row turns from green to the face: the first x
    // that is not green, kW when the whole row is.
    int Boundary() {
        const int y = kBevel + kBand / 2;
        for (int x = kH; x < kW; ++x)
            if (!IsGreen(harness.PixelAt(x, y))) return x;
        return kW;
    }
    int CountGreen() {
        int n = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) n += IsGreen(harness.PixelAt(x, y));
        return n;
    }
    void ShowLevel(int level) {
        panel->SetState(level, 0);
        harness.PaintAll();
    }

    CBevelPanel* panel;
};

TEST_F(BevelPanelTest, ThePanelTakesItsParentsFaceAndStartsEmpty) {
    EXPECT_EQ(panel->GetFaceColor(), kFace);
    EXPECT_EQ(panel->GetBackColor(), kFace);
    EXPECT_EQ(panel->GetStyleClass(), 0);
    EXPECT_EQ(panel->GetLevel(), 0);
}

TEST_F(BevelPanelTest, EmptyShowsNoGreenAndFullShowsNoFace) {
    for (int level : {0, -5}) {
        ShowLevel(level);
        EXPECT_EQ(CountGreen(), 0) << level;
        EXPECT_TRUE(IsGreyish(harness.PixelAt(kW / 2, kBevel + kBand / 2))) << level;
    }
    for (int level : {100, 140}) {
        ShowLevel(level);
        EXPECT_EQ(Boundary(), kW) << level;
    }
}

TEST_F(BevelPanelTest, TheGreenPartGrowsFromTheLeftWithTheLevel) {
    // g = level x (w + h) / 100; below 2h the line leans from the bottom
    // middle, beyond it stands upright at g - h.
    struct Case {
        int level;
        int boundary;
    };
    for (Case c : {Case{30, 48}, Case{50, 80}, Case{75, 140}, Case{90, 176}}) {
        ShowLevel(c.level);
        EXPECT_NEAR(Boundary(), c.boundary, 2) << c.level;
        EXPECT_TRUE(IsGreyish(harness.PixelAt(c.boundary + 8, kBevel + kBand / 2))) << c.level;
    }
}

TEST_F(BevelPanelTest, TheCaptionSitsInTheBandBelowTheBar) {
    constexpr COLORREF kInk = 0x404040;
    panel->SetText("75%", nullptr, 0);
    panel->SetTextColor(kInk);
    panel->SetFontSize(12);
    ShowLevel(40);
    int inBand = 0, above = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool ink = harness.PixelAt(x, y) == ToRgb565(kInk);
            (y >= kH - (kBevel + kBand) - 1 ? inBand : above) += ink;
        }
    EXPECT_GT(inBand, 10);
    EXPECT_EQ(above, 0);
}

TEST_F(BevelPanelTest, SettingTheLevelWithRedrawRepaintsAtOnce) {
    harness.PaintAll();
    panel->SetState(100, 1);
    EXPECT_EQ(Boundary(), kW);
}

}  // namespace
