#include "widgets/regions/rregion.h"

#include <gtest/gtest.h>

#include "command_sink.h"
#include "support/assert_counter.h"
#include "support/widget_harness.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/mainwnd.h"

namespace {

using widgettest::CommandSink;

struct ShapeCase {
    const char* name;
    int w, h, radius, bevel, margin;
    CZVRect content;
    CZVRect opaque;
};

class RRegionTest : public ::testing::Test {
protected:
    testsupport::WidgetHarness harness;
    testsupport::TestMainWnd& root = harness.Root();
};

TEST_F(RRegionTest, LayoutAndOpaqueAreasFollowTheShape) {
    const ShapeCase cases[] = {
        // A large corner without a margin insets evenly, by at most half the radius.
        {"wide_round", 200, 60, 20, 4, 0, {10, 10, 180, 40}, {20, 0, 160, 60}},
        // A margin ring puts the corner inset along the long side.
        {"wide_ring", 200, 60, 20, 4, 3, {24, 4, 152, 52}, {23, 0, 154, 60}},
        {"tall_ring", 100, 300, 10, 0, 2, {3, 13, 94, 274}, {0, 12, 100, 276}},
        {"small_corner", 60, 100, 4, 2, 0, {2, 4, 56, 92}, {0, 4, 60, 92}},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRRegion panel(&root, CZVRect(0, 0, c.w, c.h), 0);
        panel.SetCornerRadius(c.radius);
        panel.SetBevel(c.bevel);
        panel.SetMargin(c.margin);
        CZVRect content;
        panel.GetContentRect(&content);
        EXPECT_EQ(content, c.content);
        EXPECT_EQ(panel.GetOpaqueRect(), c.opaque);
    }
}

TEST_F(RRegionTest, ARingedPanelAndItsFrameBecomeFlatAtTheFirstPaint) {
    auto* panel = new CRRegion(&root, CZVRect(10, 10, 200, 60), 6);
    root.AddChild(panel);
    panel->SetCornerRadius(20);
    panel->SetBevel(4);
    panel->SetMargin(3);
    EXPECT_EQ(panel->GetRaisedLevel(), 1);
    harness.PaintAll();
    ASSERT_NE(panel->GetFrame(), nullptr);
    EXPECT_EQ(panel->GetRaisedLevel(), 0);
    EXPECT_EQ(panel->GetFrame()->GetPanelDepth(0), 0);
    EXPECT_GT(panel->GetFrame()->GetShapeCount(), 0);
}

TEST_F(RRegionTest, GreyGroupPanelsAreNeverTextured) {
    root.SetTexture(1);
    auto* grey = new CRRegion(&root, CZVRect(0, 0, 100, 50), 9);
    root.AddChild(grey);
    auto* inside = new CZVWindow(grey, CZVRect(5, 5, 10, 10), 0);
    grey->AddChild(inside);
    EXPECT_EQ(inside->GetTexture(), 0);
    auto* plain = new CRRegion(&root, CZVRect(0, 60, 100, 50), 6);
    root.AddChild(plain);
    auto* textured = new CZVWindow(plain, CZVRect(5, 5, 10, 10), 0);
    plain->AddChild(textured);
    EXPECT_EQ(textured->GetTexture(), 1);
}

TEST_F(RRegionTest, NarrowLayoutAreasAreReportedAndStillGiven) {
    testsupport::AssertCounter asserts;
    CRRegion panel(&root, CZVRect(0, 0, 8, 8), 0);
    panel.SetCornerRadius(4);
    panel.SetBevel(4);
    panel.SetMargin(0);
    CZVRect content;
    panel.GetContentRect(&content);
    EXPECT_EQ(content, CZVRect(4, 4, 0, 0));
    EXPECT_EQ(asserts.Count(), 2);
    EXPECT_EQ(asserts.LastSource(), "rregion");
}

class RRegionRadioTest : public RRegionTest {
protected:
    CommandSink* sink = new CommandSink(&root, CZVRect(0, 0, 320, 240));
    CRRegionRadio* radio = nullptr;
    std::vector<std::unique_ptr<CZV3DButton>> options;

    void Make(int outsideCommand, int count = 5) {
        radio = new CRRegionRadio(sink, CZVRect(20, 20, 300, 200), 6, 3, 2, 9004, outsideCommand);
        sink->AddChild(radio);
        for (int i = 0; i < count; ++i) {
            options.push_back(std::make_unique<CZV3DButton>(radio, CZVRect(0, 0, 10, 10), -1, 18));
            radio->AddOption(options.back().get(), 100 + i);
        }
        harness.PaintAll();
    }
};

// A radio region that goes closes the overlay only when it is that overlay:
// another window's open overlay stays open.
TEST_F(RRegionRadioTest, DestroyingARegionClosesOnlyItsOwnOverlay) {
    Make(-1);
    CMainWndBase* main = GetMainWnd();
    ASSERT_NE(main, nullptr);
    main->SetOverlayWindow(sink);
    options.clear();
    delete radio;
    EXPECT_EQ(main->GetOverlayWindow(), sink);
    main->SetOverlayWindow(nullptr);

    Make(-1);
    main->SetOverlayWindow(radio);
    options.clear();
    delete radio;
    EXPECT_EQ(main->GetOverlayWindow(), nullptr);
}

TEST_F(RRegionRadioTest, CellsTileTheRegion) {
    Make(-1);
    CZVRect cell;
    radio->GetCellRect(&cell, 0, 0);
    EXPECT_EQ(cell, CZVRect(0, 0, 100, 100));
    radio->GetCellRect(&cell, 2, 1);
    EXPECT_EQ(cell, CZVRect(200, 100, 100, 100));
    radio->SetRect(CZVRect(20, 20, 301, 201));
    radio->GetCellRect(&cell, 2, 1);
    EXPECT_EQ(cell, CZVRect(200, 100, 101, 101));
}

TEST_F(RRegionRadioTest, TouchingAnEmptyCellSelectsItAndTheReleaseSendsTheGroupCommand) {
    Make(-1);
    harness.Press(20 + 250, 20 + 150);
    EXPECT_EQ(radio->GetSelection(), 5);
    harness.Release(20 + 250, 20 + 150);
    EXPECT_EQ(sink->commands, std::vector<int>{9004});
}

TEST_F(RRegionRadioTest, TouchingTheSelectedOptionBlinksItAndKeepsIt) {
    Make(-1);
    radio->SetSelection(1, 1);
    const uint32_t before = harness.Clock().TickCount();
    harness.Press(20 + 150, 20 + 50);
    EXPECT_EQ(harness.Clock().TickCount() - before, 200u);
    EXPECT_EQ(radio->GetSelection(), 1);
    harness.Release(20 + 150, 20 + 50);
    EXPECT_EQ(sink->commands, std::vector<int>{9004});
}

TEST_F(RRegionRadioTest, PressesOutside) {
    Make(-1);
    EXPECT_EQ(radio->OnLButtonDown(5, 5, 1), 0);
    options.clear();
    delete radio;
    Make(9003);
    EXPECT_EQ(radio->OnLButtonDown(5, 5, 1), 1);
    EXPECT_EQ(sink->commands, std::vector<int>{9003});
}

TEST_F(RRegionRadioTest, SlidingOffBeforeTheReleaseRestoresTheSelection) {
    Make(-1);
    radio->SetSelection(2, 1);
    harness.Press(20 + 50, 20 + 50);
    EXPECT_EQ(radio->GetSelection(), 0);
    harness.Release(5, 5);
    EXPECT_EQ(radio->GetSelection(), 2);
    EXPECT_TRUE(sink->commands.empty());
}

TEST_F(RRegionRadioTest, ARegionPaintedBeforeItHasOptionsStillGetsItsGrooves) {
    Make(-1, 0);
    ASSERT_NE(radio->GetFrame(), nullptr);
    EXPECT_GT(radio->GetFrame()->GetShapeCount(), 0);
}

}  // namespace
