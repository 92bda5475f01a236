#include "widgets/buttons/rockerswitch.h"

#include <gtest/gtest.h>

#include "button_fixture.h"
#include "gfx/dibdc.h"
#include "support/assert_counter.h"
#include "support/golden.h"

namespace {

using widgettest::ButtonTest;

class RockerTest : public ButtonTest {
protected:
    CRockerSwitch* Add(CZVRect rect, int vertical, int count) {
        auto* rocker = new CRockerSwitch(&root, rect, 18, 101, 102, vertical, count);
        rocker->SetBevel(6);
        rocker->SetCornerRadius(20);
        root.AddChild(rocker);
        return rocker;
    }
    static CZVRect Place(CZVWindow* w) { return CZVRect(w->GetX(), w->GetY(), w->GetWidth(), w->GetHeight()); }
};

TEST_F(RockerTest, AVerticalRockerStacksFromTheBottom) {
    CRockerSwitch* rocker = Add(CZVRect(0, 0, 60, 120), 1, 2);
    ASSERT_EQ(rocker->GetSegmentCount(), 2);
    EXPECT_EQ(Place(rocker->GetSegment(0)), CZVRect(0, 60, 60, 60));
    EXPECT_EQ(Place(rocker->GetSegment(1)), CZVRect(0, 0, 60, 60));
    EXPECT_EQ(rocker->GetSegment(0)->GetCommandId(), 101);
    EXPECT_EQ(rocker->GetSegment(1)->GetCommandId(), 102);
    EXPECT_EQ(rocker->GetSegment(0)->GetShapeKind(), 1);
    EXPECT_EQ(rocker->GetSegment(1)->GetShapeKind(), 0);
    EXPECT_EQ(rocker->GetSegmentEdges(0), 0x4);
    EXPECT_EQ(rocker->GetSegmentEdges(1), 0x8);
}

TEST_F(RockerTest, AHorizontalRockerSendsFromItsEndsOnly) {
    harness.Clock().Advance(200);
    CRockerSwitch* rocker = Add(CZVRect(0, 0, 150, 50), 0, 3);
    EXPECT_EQ(rocker->GetSegmentEdges(0), 0x2);
    EXPECT_EQ(rocker->GetSegmentEdges(1), 0x3);
    EXPECT_EQ(rocker->GetSegmentEdges(2), 0x1);
    EXPECT_EQ(rocker->GetSegment(1)->GetShapeKind(), -1);
    harness.Clock().Advance(200);
    for (int x : {10, 75, 140}) {
        harness.Tap(x, 25);
        harness.Clock().Advance(300);
    }
    EXPECT_EQ(root.commands, (std::vector<int>{101, 102}));
}

// A lone segment has no neighbour: it keeps the whole rounded shape and no groove.
TEST_F(RockerTest, ALoneSegmentIsTheWholeSwitch) {
    CRockerSwitch* rocker = Add(CZVRect(0, 0, 60, 40), 0, 0);
    ASSERT_EQ(rocker->GetSegmentCount(), 1);
    EXPECT_EQ(rocker->GetSegment(0)->GetShapeKind(), -1);
    EXPECT_EQ(rocker->GetSegmentEdges(0), 0);
    EXPECT_EQ(rocker->GetSegment(0)->GetCommandId(), 101);
}

TEST_F(RockerTest, StrangersAreReportedAndLeftAlone) {
    CRockerSwitch* rocker = Add(CZVRect(0, 0, 60, 120), 1, 2);
    testsupport::AssertCounter asserts;
    EXPECT_EQ(rocker->GetSegment(2), nullptr);
    EXPECT_EQ(rocker->GetSegment(-1), nullptr);
    EXPECT_EQ(asserts.Count(), 2);
    CRockerSwitch other(&root, CZVRect(0, 0, 60, 120), 18, 1, 2, 1, 2);
    CDibDC surface(60, 60, 0, 0, 0);
    surface.FillRect(MakeColor(1, 2, 3), 0, 0, 60, 60, 0);
    const uint16_t before = *surface.GetPixelAddress(30, 30);
    rocker->RenderSegment(other.GetSegment(0), &surface, 0);
    EXPECT_EQ(asserts.Count(), 3);
    EXPECT_EQ(asserts.LastSource(), "rockerswitch");
    EXPECT_EQ(*surface.GetPixelAddress(30, 30), before);
}

// Each face is the whole switch's face under the segment, with the groove
// along the side that meets the neighbour and the cut-out punched through.
TEST_F(RockerTest, SegmentFacesAreCutFromTheWholeFace) {
    CRockerSwitch* rocker = Add(CZVRect(0, 0, 60, 120), 1, 2);
    rocker->SetCutOut(CZVRect(25, 55, 10, 10), 0);
    CRockerSwitchButton* bottom = rocker->GetSegment(0);
    CDibDC* face = bottom->GetNormalImage();
    ASSERT_NE(face, nullptr);
    CDibDC* whole = rocker->CreateWholeButton()->GetNormalImage();
    ASSERT_NE(whole, nullptr);
    auto at = [](CDibDC* dib, int x, int y) { return *dib->GetPixelAddress(x, y); };
    EXPECT_EQ(at(face, 12, 30), at(whole, 12, 90));
    EXPECT_EQ(at(face, 50, 50), at(whole, 50, 110));
    EXPECT_NE(at(face, 15, 0), at(whole, 15, 60));
    EXPECT_EQ(at(face, 30, 2), kTransparent565);
    EXPECT_TRUE(bottom->IsSkinned());
}

TEST(ButtonLook, RockersUpAndAcross) {
    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness(240, 140);
    testsupport::TestMainWnd& root = harness.Root();
    root.SetFaceColor(MakeColor(40, 60, 90));
    harness.Style().SetFlags(harness.Style().GetFlags() & ~kStyleAnimate);
    auto* up = new CRockerSwitch(&root, CZVRect(10, 10, 60, 120), 18, 1, 2, 1, 2);
    auto* across = new CRockerSwitch(&root, CZVRect(90, 40, 140, 50), 18, 3, 4, 0, 3);
    for (CRockerSwitch* rocker : {up, across}) {
        rocker->SetBevel(6);
        rocker->SetCornerRadius(24);
        root.AddChild(rocker);
    }
    harness.Clock().Advance(200);
    harness.PaintAll();
    harness.Press(40, 30);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "rocker_switches"));
}

}  // namespace
