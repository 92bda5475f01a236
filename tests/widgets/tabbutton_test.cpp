// The tab button's own faces: the menu tab's outline, its buffered redraw
// beside the page, the icon's highlight tint and the faces' cache.
#include <gtest/gtest.h>

#include "button_fixture.h"
#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/tabs/tabcolumn.h"

namespace {

using widgettest::ButtonTest;

class TabButtonTest : public ButtonTest {
protected:
    static constexpr int kMenuClass = 2;
    TabButtonTest() {
        harness.Style().SetStyle(kMenuClass, 1, 50);  // tab height
        harness.Clock().Advance(200);
    }
    // A column of class-2 tabs, 90 wide, with bevel 6, spacing 4 and corner radius 8.
    CTabColumn* MakeColumn(int tabs) {
        auto* column = new CTabColumn(&root, CZVRect(0, 0, 90, 200), kMenuClass, 0x202020);
        root.AddChild(column);
        column->SetSpacing(4);
        column->SetBevel(6);
        column->SetFaceColor(0x9060C0);
        for (int i = 0; i < tabs; ++i) {
            auto* tab = static_cast<CTabButton*>(column->AddTab(CZVString("Tab"), 300 + i));
            tab->SetShape(8, 6, 0);
            tab->SetSpacing(4);
        }
        harness.PaintAll();
        return column;
    }
    static CTabButton* Tab(CTabColumn* column, int index) { return static_cast<CTabButton*>(column->GetTab(index)); }
};

TEST_F(TabButtonTest, EdgePiecesCheckTheirTab) {
    struct Case {
        int margin, radius, ownFace, line;
        bool built;
    } cases[] = {
        {0, 8, 1, 0, true},
        {2, 8, 1, 1101, true},
        {0, 0, 1, 1102, true},
        {0, 8, 0, 1137, false},
    };
    CTabColumn* column = MakeColumn(0);
    for (const Case& c : cases) {
        CTabButton tab(column, CZVRect(0, 0, 80, 50), 1, kMenuClass, c.ownFace);
        tab.SetShape(c.radius, 6, c.margin);
        CShadeWnd builder(nullptr, CZVRect(0, 0, 80, 50), 0);
        testsupport::AssertCounter asserts;
        tab.BuildEdgePieces(&builder);
        EXPECT_EQ(asserts.LastLine(), c.line) << c.line;
        if (c.line) EXPECT_EQ(asserts.LastSource(), "tabbutton");
        EXPECT_EQ(builder.GetShapeCount() > 0, c.built) << c.line;
        if (c.built) EXPECT_EQ(builder.GetDepth(), 25);
        column->RemoveChild(&tab);
    }
}

TEST_F(TabButtonTest, MenuTabFacesNormalAndPressed) {
    CTabColumn* column = MakeColumn(3);
    column->Select(1, 1);
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "menu_tab_faces"));
}

TEST_F(TabButtonTest, BufferedRedrawLeavesTheColumnsBesideThePage) {
    CTabButton* tab = Tab(MakeColumn(1), 0);
    const int keep = tab->GetBevel() + tab->GetSpacing();
    harness.Screen().FillRect(0, 0, 0, 200, 200, 0x00FF00);
    const uint16_t green = harness.PixelAt(0, 0);
    testsupport::AssertCounter asserts;
    tab->RedrawBuffered();
    EXPECT_EQ(asserts.Count(), 0);
    const int right = tab->ToRootX(tab->GetWidth());
    const int y = tab->ToRootY(tab->GetHeight() / 2);
    EXPECT_NE(harness.PixelAt(tab->ToRootX(2), y), green);
    EXPECT_NE(harness.PixelAt(right - keep - 1, y), green);
    for (int x = right - keep; x < right; ++x) EXPECT_EQ(harness.PixelAt(x, y), green) << x;
}

TEST_F(TabButtonTest, BufferedRedrawOfAnotherClassIsReportedAndRedrawsWhole) {
    CTabColumn* column = MakeColumn(0);
    auto* tab = new CTabButton(column, CZVRect(0, 0, 80, 50), 1, 3, 1);
    column->AddChild(tab);
    harness.Screen().FillRect(0, 0, 0, 200, 200, 0x00FF00);
    const uint16_t green = harness.PixelAt(0, 0);
    testsupport::AssertCounter asserts;
    tab->RedrawBuffered();
    EXPECT_EQ(asserts.LastLine(), 183);
    EXPECT_NE(harness.PixelAt(tab->ToRootX(79), tab->ToRootY(25)), green);
}

TEST(TabButtonTint, TheIconGlowFadesWithTheCountdown) {
    struct Case {
        int countdown;
        std::array<uint8_t, 3> tint;
    } cases[] = {{100, {150, 150, 255}}, {50, {75, 75, 127}}, {0, {0, 0, 0}}};
    for (const Case& c : cases) EXPECT_EQ(CTabButton::IconHighlightTint(c.countdown), c.tint) << c.countdown;
}

TEST_F(TabButtonTest, OnlyTabsWithACacheKeyShareTheirFacesThroughTheCache) {
    CBitmapCache cache;
    CTabColumn* column = MakeColumn(0);
    CTabButton* first = new CTabButton(column, CZVRect(0, 0, 80, 50), 1, kMenuClass, 1);
    CTabButton* second = new CTabButton(column, CZVRect(0, 50, 80, 50), 2, kMenuClass, 1);
    for (CTabButton* tab : {first, second}) {
        column->AddChild(tab);
        tab->SetShape(8, 6, 0);
    }
    first->SetFaceColor(0x0000FF);
    second->SetFaceColor(0x00FF00);
    first->RenderFace(0);
    second->RenderFace(0);
    EXPECT_EQ(cache.FindWindowBitmap(0), nullptr);
    ASSERT_NE(first->GetNormalImage(), nullptr);
    ASSERT_NE(second->GetNormalImage(), nullptr);
    EXPECT_NE(first->GetNormalImage(), second->GetNormalImage());
    const int mid = first->GetHeight() / 2;
    EXPECT_NE(*first->GetNormalImage()->GetPixelAddress(40, mid), *second->GetNormalImage()->GetPixelAddress(40, mid));

    static const int key = 0;
    first->SetCacheKey(&key);
    first->RenderFace(1);
    EXPECT_EQ(cache.FindWindowBitmap(reinterpret_cast<uintptr_t>(&key) + 1), first->GetPressedImage());
}

}  // namespace
