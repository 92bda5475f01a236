#include "widgets/window/overlay.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "button_fixture.h"
#include "command_sink.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/gauges/slider.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"

namespace {

using widgettest::CommandSink;

class OverlayTest : public ::testing::Test {
protected:
    testsupport::WidgetHarness harness{800, 600};
    testsupport::TestMainWnd& root = harness.Root();

    void SetUp() override { harness.Style().SetStyle(2, kStyleBevel, 4); }
    CZVWindow* MakePanel(CZVRect rect) {
        auto* panel = new CZVWindow(&root, rect, 0);
        panel->SetFaceColor(0x40A040);
        return panel;
    }
};

TEST_F(OverlayTest, TheAnchorStaysInsideWithRoomForTheShadow) {
    struct Case {
        int anchorX;
        int expected;
    };
    for (const Case& c : {Case{798, 795}, Case{2, 4}, Case{300, 300}}) {
        COverlay overlay(&root, nullptr, CZVRect(0, 0, 100, 100), c.anchorX, 300, 0, 0);
        EXPECT_EQ(overlay.GetAnchorX(), c.expected);
        EXPECT_EQ(overlay.GetShadowWidth(), 4);
    }
}

TEST_F(OverlayTest, ADropDownIsMovedSoThatTheAnchorLiesInsideItsTop) {
    std::unique_ptr<CZVWindow> panel(MakePanel(CZVRect(0, 100, 800, 200)));
    COverlay overlay(&root, panel.get(), CZVRect(0, 100, 800, 200), 0, 90, 0, 1);
    EXPECT_EQ(overlay.GetPanelRect(), CZVRect(0, 86, 800, 200));
    EXPECT_EQ(panel->GetY(), 86);
    EXPECT_EQ(overlay.GetStartRect(), CZVRect(0, 90, 800, 1));
    CZVRect strip;
    overlay.GetStripRect(&strip, 1);
    EXPECT_EQ(strip, CZVRect(0, 285, 800, 315));
}

TEST_F(OverlayTest, TheSidesDarkenInEightStepsOver250Milliseconds) {
    harness.Screen().FillRect(0x808080, 0, 0, 800, 600, 0);
    COverlayHost host(root);
    CZVWindow* panel = MakePanel(CZVRect(300, 0, 200, 600));
    host.Show(panel, CZVRect(300, 0, 200, 600), 400, 0, 1, 1);
    COverlay* overlay = host.Get();
    ASSERT_EQ(overlay->GetFrame(), 0);
    EXPECT_EQ(host.Step(0), 0);  // the dim images are made
    const uint16_t before = harness.PixelAt(10, 10);
    struct Case {
        int advance;
        int answer;
        int frame;
    };
    for (const Case& c : {Case{40, 1, 1}, Case{0, 0, 1}, Case{60, 1, 3}, Case{200, 1, 7}, Case{500, 0, 7}}) {
        harness.Clock().Advance(c.advance);
        EXPECT_EQ(host.Step(0), c.answer) << c.advance;
        EXPECT_EQ(overlay->GetFrame(), c.frame);
    }
    EXPECT_NE(harness.PixelAt(10, 10), before);
    EXPECT_EQ(host.Step(1), 1);
    EXPECT_EQ(host.Close(), 1);
    EXPECT_EQ(host.GetWindow(), nullptr);
}

TEST_F(OverlayTest, ClosingTellsTheWholeTreeAndDeletesAnOwnedWindowOnce) {
    COverlayHost host(root);
    auto* sink = new CommandSink(&root, CZVRect(0, 0, 800, 600));
    auto* inner = new CommandSink(sink, CZVRect(0, 0, 10, 10));
    CZVWindow* panel = MakePanel(CZVRect(100, 100, 300, 200));
    host.Show(panel, CZVRect(100, 100, 300, 200), 250, 0, 1, 1);
    EXPECT_EQ(root.GetChildren().GetHead(), panel);
    EXPECT_EQ(host.Close(), 1);
    EXPECT_EQ(sink->commands, std::vector<int>{10000});
    EXPECT_EQ(inner->commands, std::vector<int>{10000});
    EXPECT_FALSE(root.commands.empty());
    EXPECT_EQ(host.Close(), 0);
    // A window dropped without closing still goes with its overlay.
    host.Show(MakePanel(CZVRect(0, 0, 50, 50)), CZVRect(0, 0, 50, 50), 25, 0, 1, 0);
    host.Set(nullptr);
    EXPECT_EQ(host.GetWindow(), nullptr);
}

TEST_F(OverlayTest, ASideImageSetTwiceIsReportedAndReplaced) {
    testsupport::AssertCounter asserts;
    COverlay overlay(&root, nullptr, CZVRect(0, 0, 100, 100), 50, 50, 0, 1);
    overlay.SetSideImage(0, 1, new CDibDC(4, 4, 0, 0, 0));
    auto* second = new CDibDC(4, 4, 0, 0, 0);
    overlay.SetSideImage(0, 1, second);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "overlay");
    EXPECT_EQ(overlay.GetSideImage(0, 1), second);
}

class PopupTest : public widgettest::ButtonTest {};

TEST_F(PopupTest, TitleBarAndClientArea) {
    CPopupWnd popup(&root, CZVRect(0, 0, 400, 300), 0);
    CZVRect client;
    popup.GetClientRect(&client);
    EXPECT_EQ(client, CZVRect(15, 75, 370, 210));
    popup.AddTitleBar("Settings", 0);
    auto* done = static_cast<CZVWindow*>(popup.GetChildren().GetHead());
    EXPECT_EQ(CZVRect(done->GetX(), done->GetY(), done->GetWidth(), done->GetHeight()), CZVRect(205, 15, 180, 45));
    EXPECT_STREQ(done->GetText().GetAnsi(), "Done");
}

TEST_F(PopupTest, ALongTitleShrinksUntilItFitsBesideDone) {
    CPopupWnd popup(&root, CZVRect(0, 0, 400, 300), 0);
    const CZVString title = "Swimming pool lights";
    popup.AddTitleBar(title, 0);
    auto* label = static_cast<CZVWindow*>(popup.GetChildren().GetTail());
    CZVRect inner;
    label->GetInnerRect(&inner);
    const int size = label->GetFontSize();
    EXPECT_LT(size, 40);
    CZVDC dc(&popup);
    dc.SelectFont(size, 0, 0);
    EXPECT_LT(dc.GetTextSize(title).cx, inner.w);
    dc.SelectFont(size + 1, 0, 0);
    EXPECT_GE(dc.GetTextSize(title).cx, inner.w) << "the largest size that fits";
}

TEST_F(PopupTest, DoneAndAPressOutsideCloseTheOverlay) {
    auto* pageButton = root.Add3DButtonDefault(CZVRect(0, 200, 100, 40), 55, 18, "Page");
    for (int viaDone = 0; viaDone < 2; ++viaDone) {
        auto* popup = new CPopupWnd(&root, CZVRect(100, 0, 200, 180), 0);
        popup->AddTitleBar("Pick", 80);
        root.AddChildFirst(popup);
        root.SetOverlayWindow(popup);
        EXPECT_EQ(root.IsInputBlocked(pageButton), 1);
        auto* sink = new CommandSink(&root, CZVRect(0, 300, 10, 10));
        harness.RunFor(1000);
        if (viaDone)
            harness.Tap(250, 30);  // the "Done" button
        else
            harness.Tap(50, 220);  // over the page's button, outside the pop-up
        EXPECT_EQ(root.GetOverlayWindow(), nullptr);
        EXPECT_EQ(sink->commands, std::vector<int>{10000});
        EXPECT_EQ(std::count(root.commands.begin(), root.commands.end(), 55), 0);  // the page's button stays up
        delete sink;
    }
}

TEST_F(PopupTest, GoldenPanelWithASliderAndALevelBar) {
    auto* panel = new CRRegion(&root, CZVRect(10, 10, 300, 140), 6);
    root.AddChild(panel);
    panel->SetFaceColor(0xC08040);
    panel->SetCornerRadius(16);
    panel->SetBevel(6);
    panel->SetMargin(0);
    auto* slider = new CZVSlider(panel, CZVRect(20, 20, 260, 40), 7, 0, 100, -1, -1, 0);
    panel->AddChild(slider);
    slider->SetPosition(30, 0);
    auto* bar = new CZVLevelBar(panel, CZVRect(20, 80, 260, 36), 0, 0);
    panel->AddChild(bar);
    bar->SetText("Volume", nullptr, 0);
    bar->SetLevel(60, 0);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "rregion_slider_levelbar"));
}

}  // namespace
