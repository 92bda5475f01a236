// The page base: the page-shown report, the geometry of tabs and content,
// and the status box drawn over the page and taken away again.
#include "vistrel/shell/pbase.h"

#include <gtest/gtest.h>

#include "gfx/speed.h"
#include "shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/poptabrow.h"
#include "widgets/tabs/tabcolumn.h"
#include "widgets/tabs/tabstrip.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

class PageBaseTest : public vistreltest::ShellTest {
protected:
    void SetUp() override {
        Connect();
        page = new CPageBase(window.get(), window->GetPageArea());
        window->AddChild(page);
        window->PaintAll();
    }
    // The screen pixel at the middle of the page's content.
    uint16_t CentrePixel() {
        CZVRect content;
        page->GetContentRect(&content, page->GetTabControl());
        const int x = page->ToRootX(content.x + content.w / 2), y = page->ToRootY(content.y + content.h / 2);
        return *window->GetScreen()->GetPixelAddress(x, y);
    }
    std::vector<Frame> PagesShown() { return gateway.RequestsOf(ZVM_UI_PAGESELECTED); }

    CPageBase* page = nullptr;
};

TEST_F(PageBaseTest, EveryShowReportsThePageAndItsSelectedTab) {
    page->SetPageId(5002);
    page->Show(1, 0);
    auto* tabs = new CTabColumn(page, CZVRect(0, 0, 60, 120), 2, 0);
    page->AddChild(tabs);
    page->SetTabControl(tabs);
    for (int i = 0; i < 3; ++i) tabs->AddTab("Tab", 100 + i);
    tabs->Select(2, 0);
    page->Show(1, 0);
    auto* plain = new CPageBase(window.get(), window->GetPageArea());  // id never set
    window->AddChild(plain);
    plain->Show(1, 0);
    ASSERT_TRUE(PollUntil([this] { return PagesShown().size() >= 3; }));
    const std::vector<Frame> shown = PagesShown();
    EXPECT_EQ(shown[0].payload, testsupport::Bytes(PayloadWriter().Int(2).Int(-1)));
    EXPECT_EQ(shown[1].payload, testsupport::Bytes(PayloadWriter().Int(2).Int(2)));
    EXPECT_EQ(shown[2].payload, testsupport::Bytes(PayloadWriter().Int(0x7FFF - 5000).Int(-1)));
    EXPECT_EQ(shown[0].sender, 0);
}

TEST_F(PageBaseTest, OneTabTakesNoRoomAndTheSmallScreenHasTheNarrowMargin) {
    auto* tabs = new CTabColumn(page, CZVRect(0, 200, page->GetWidth(), 40), 2, 0);
    page->AddChild(tabs);
    page->SetTabControl(tabs);
    tabs->AddTab("Only", 100);
    CZVRect content;
    page->GetContentRect(&content, tabs);
    EXPECT_EQ(content.h, page->GetHeight());
    EXPECT_EQ(tabs->GetHeight(), 0);
    EXPECT_FALSE(page->HasTabs());
    EXPECT_EQ(CPageBase::GetPageMargin(), 3);  // a 240-pixel-high window
    page->InsetContentRect(&content);
    EXPECT_EQ(content.y, 3);
    EXPECT_EQ(content.h, page->GetHeight() - 6);
    EXPECT_EQ(content.w, page->GetWidth() - 3);
}

TEST_F(PageBaseTest, StatusBoxIsDrawnOverThePageAndRemoved) {
    const uint16_t plain = CentrePixel();
    page->SetStatus(1, 1, "Loading Please Wait...", 0x0000FF);
    EXPECT_TRUE(page->IsStatusShown());
    EXPECT_NE(CentrePixel(), plain);
    // Shown already: another text changes nothing.
    page->SetStatus(1, 1, "Connecting...", 0x0000FF);
    EXPECT_EQ(std::string(page->GetStatusText().GetAnsi()), "Loading Please Wait...");
    // A full paint keeps the box over the page.
    window->PaintAll();
    EXPECT_NE(CentrePixel(), plain);
    page->SetStatus(0, 1, "", 0);
    EXPECT_FALSE(page->IsStatusShown());
    EXPECT_EQ(CentrePixel(), plain);
}

TEST_F(PageBaseTest, StatusOfAHiddenPageWaitsForItsNextPaint) {
    page->Show(0, 0);
    const uint16_t plain = CentrePixel();
    page->SetStatus(1, 1, "Connecting...", 255);
    EXPECT_EQ(CentrePixel(), plain);
    page->Show(1, 0);
    window->PaintAll();
    EXPECT_NE(CentrePixel(), plain);
}

TEST_F(PageBaseTest, RedrawingTheStatusOfAHiddenPageLeavesTheScreenAlone) {
    page->Show(0, 0);
    page->SetStatus(1, 1, "Connecting...", 255);
    const uint16_t plain = CentrePixel();
    CZVDC dc(window.get());
    page->RedrawStatus(&dc);
    EXPECT_EQ(CentrePixel(), plain);
    page->Show(1, 0);
    CZVDC shown(page);
    page->RedrawStatus(&shown);
    EXPECT_NE(CentrePixel(), plain);
}

TEST_F(PageBaseTest, DeleteContentKeepsTheTabs) {
    auto* tabs = new CTabColumn(page, CZVRect(0, 0, 60, 120), 2, 0);
    page->AddChild(tabs);
    page->SetTabControl(tabs);
    page->AddChild(new CZVWindow(page, CZVRect(70, 0, 50, 50), 5));
    page->AddChild(new CZVWindow(page, CZVRect(70, 60, 50, 50), 5));
    page->DeleteContent();
    ASSERT_EQ(page->GetChildren().GetCount(), 1);
    EXPECT_EQ(page->GetChildren().GetHead(), tabs);
}

enum class Made { kNothing, kStrip, kPopRow };

struct TabsCase {
    const char* name;
    int count;
    int perPage;  // tabs that fit the page's width; 0: a tab width of 0
    Made made;
};

class CreateTabsTest : public PageBaseTest, public ::testing::WithParamInterface<TabsCase> {};

TEST_P(CreateTabsTest, ARowTooShortForItsTabsPopsUp) {
    const TabsCase& c = GetParam();
    ASSERT_NE(CSetServer::Get(), nullptr);
    const int tabWidth = c.perPage ? page->GetWidth() / c.perPage : 0;
    CSetServer::Get()->SetStyle(3, 0, tabWidth);
    CZVWindow* tabs = page->CreateTabs(c.count, "Title");
    switch (c.made) {
    case Made::kNothing: EXPECT_EQ(tabs, nullptr); return;
    case Made::kStrip: EXPECT_NE(dynamic_cast<CTabStrip*>(tabs), nullptr); break;
    case Made::kPopRow: EXPECT_NE(dynamic_cast<CPopTabRow*>(tabs), nullptr); break;
    }
    EXPECT_EQ(tabs->GetParent(), page);
    EXPECT_EQ(tabs->GetY() + tabs->GetHeight(), page->GetHeight());
}

INSTANTIATE_TEST_SUITE_P(Counts, CreateTabsTest,
                         ::testing::Values(TabsCase{"EightWhereFiveFit", 8, 5, Made::kPopRow},
                                           TabsCase{"FiveWhereFiveFit", 5, 5, Made::kStrip},
                                           TabsCase{"OneWhereNoneFit", 1, 0, Made::kStrip},
                                           TabsCase{"ZeroTabWidth", 8, 0, Made::kStrip},
                                           TabsCase{"NoTabs", 0, 5, Made::kNothing}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageBaseTest, MadeTabsReportTheSelectedTabAndOneTabTakesNoRoom) {
    auto* tabs = static_cast<CTabContainer*>(page->CreateLoadingTabs());
    page->SetTabControl(tabs);
    ASSERT_EQ(tabs->GetTabCount(), 1);
    EXPECT_STREQ(tabs->GetTab(0)->GetText().GetAnsi(), "Loading Please Wait...");
    CZVRect content;
    page->GetContentRect(&content, tabs);
    EXPECT_EQ(content.h, page->GetHeight());
    EXPECT_FALSE(page->HasTabs());

    page->DeleteContent();
    page->RemoveChild(tabs);
    delete tabs;
    CSetServer::Get()->SetStyle(3, 0, 40);
    tabs = static_cast<CTabContainer*>(page->CreateTabs(3, ""));
    page->SetTabControl(tabs);
    for (int i = 0; i < 3; ++i) tabs->AddTab("Tab", kNoCommand);  // commands go nowhere
    tabs->Select(1, 0);
    page->GetContentRect(&content, tabs);
    EXPECT_EQ(content.h, page->GetHeight() - tabs->GetHeight());
    EXPECT_TRUE(page->HasTabs());
    page->SetPageId(5003);
    page->Show(1, 0);
    ASSERT_TRUE(PollUntil([this] { return !PagesShown().empty(); }));
    EXPECT_EQ(PagesShown().back().payload, testsupport::Bytes(PayloadWriter().Int(3).Int(1)));
}

TEST_F(PageBaseTest, TheSideListTakesTheRowsRightEnd) {
    CZVWindow* list = page->CreateSideList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(page->GetSideList(), list);
    EXPECT_EQ(list->GetX() + list->GetWidth(), page->GetWidth());
    EXPECT_EQ(list->GetWidth(), 100);
    CSetServer::Get()->SetStyle(3, 0, 40);
    CZVWindow* tabs = page->CreateTabs(2, "");
    ASSERT_NE(dynamic_cast<CTabStrip*>(tabs), nullptr);
    EXPECT_EQ(tabs->GetWidth(), list->GetX() - tabs->GetX());
    EXPECT_EQ(static_cast<CTabContainer*>(tabs)->GetRightEndStyle(), 2);
}

// ---- sub-panels, on the 240-pixel-high test screen

TEST_F(PageBaseTest, CaptionPanelsStandOutFromTheirParentWithADarkCaption) {
    CRRegion probe(page, CZVRect(0, 0, 10, 10), 6);
    page->SetFaceColor(probe.GetFaceColor());  // a panel of the parent's face
    for (const int centred : {0, 1}) {
        CRRegion* panel = CSubPanel::CreateCaptionPanel(page, CZVRect(10, 10, 300, 120), "Heat", centred);
        EXPECT_EQ(panel->GetParent(), page);
        EXPECT_EQ(panel->GetFaceColor(), ScaleColor(0.9, page->GetFaceColor()));
        EXPECT_EQ(panel->GetCornerRadius(), 8);
        EXPECT_EQ(panel->GetBevel(), 8);
        ASSERT_EQ(panel->GetChildren().GetCount(), 1);
        auto* caption = static_cast<CZVLabel*>(panel->GetChildren().GetHead());
        EXPECT_EQ(std::string(caption->GetText().GetAnsi()), "Heat");
        EXPECT_EQ(caption->GetTextColor(), ScaleColor(0.25, panel->GetFaceColor()));
        EXPECT_EQ(caption->GetFontSize(), 18);
        EXPECT_EQ(caption->GetWidth(), 200) << "at most 200 pixels wide";
        EXPECT_EQ(caption->GetHeight(), 20);
        CZVRect area;
        panel->GetClientRect(&area);
        EXPECT_EQ(caption->GetY(), centred ? area.y + (area.h - 20) / 2 : area.y);
    }
    page->SetFaceColor(0x102030);  // another face stays the panel's own
    EXPECT_EQ(CSubPanel::CreateCaptionPanel(page, CZVRect(0, 0, 100, 60), "", 0)->GetFaceColor(), probe.GetFaceColor());
}

TEST_F(PageBaseTest, PanelButtonsHighlightsAndRepeatButtons) {
    CZVLabel* automatic = CSubPanel::CreatePanelButton(page, CZVRect(0, 0, 80, 40), "Spa Light", 0);
    EXPECT_EQ(automatic->GetFontSize(), 18);
    EXPECT_EQ(automatic->GetBevelType(), 1);
    EXPECT_TRUE(automatic->HasFlag(4));
    EXPECT_EQ(automatic->GetTextFormat(), 18);
    EXPECT_EQ(automatic->GetStyleClass(), page->GetStyleClass());
    EXPECT_EQ(CSubPanel::CreatePanelButton(page, CZVRect(0, 0, 80, 40), "x", 14)->GetFontSize(), 14);

    auto* button = new CZV3DButton(page, CZVRect(0, 0, 60, 40), 7, 17);
    page->AddChild(button);
    CSubPanel::SetButtonHighlight(button, 1, 0);
    EXPECT_EQ(button->GetFaceColor(), CSetServer::Get()->GetSelectionColor());
    CSubPanel::SetButtonHighlight(button, 0, 1);
    EXPECT_EQ(button->GetFaceColor(), page->GetFaceColor());

    CSubPanel::SetupRepeatButton(button, 30, 31);
    EXPECT_EQ(button->GetShadeDepth(), 75);
    EXPECT_EQ(button->GetRepeatInterval(), 250);
}

}  // namespace
