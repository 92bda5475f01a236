// Custom layout pages against a fake gateway: one page straight in the page,
// several as tabs, tab commands, and answers cut short.
#include "vistrel/shell/customlayoutpage.h"

#include <gtest/gtest.h>

#include <vector>

#include "control_records.h"
#include "core/messages/shellmessages.h"
#include "shell_fixture.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/tabs/trregion.h"

namespace {

using testsupport::ControlRecord;
using testsupport::PayloadWriter;

// A page of the answer: its name and labels at the given x positions.
struct PageSpec {
    const char* name;
    std::vector<int32_t> labelsAt;
};

PayloadWriter& WritePage(PayloadWriter& out, const PageSpec& page) {
    out.String(page.name).Int(static_cast<int32_t>(page.labelsAt.size()));
    for (int32_t x : page.labelsAt) {
        ControlRecord label;
        label.x = x;
        label.width = 1000;
        label.height = 1000;
        testsupport::WriteControl(out, label);
    }
    return out;
}

testsupport::Bytes PageSet(const std::vector<PageSpec>& pages) {
    PayloadWriter out;
    out.Int(77).Int(static_cast<int32_t>(pages.size()));
    for (const PageSpec& page : pages) WritePage(out, page);
    return testsupport::Bytes(out);
}

class CustomLayoutPageTest : public vistreltest::ShellTest {
protected:
    void SetUp() override { Connect(); }
    std::unique_ptr<CCustomLayoutPage> Page(int pageSet) {
        return std::make_unique<CCustomLayoutPage>(window.get(), nullptr, CZVRect(0, 0, 300, 200), 0, pageSet);
    }
    static std::vector<int> TabIds(CTRRegion* region) {
        std::vector<int> ids;
        const CZVObList& tabs = region->GetTabs()->GetChildren();
        for (ZVPOSITION pos = tabs.GetHeadPosition(); pos;)
            if (auto* tab = dynamic_cast<CZVButton*>(static_cast<CZVWindow*>(tabs.GetNext(pos))))
                ids.push_back(tab->GetCommandId());
        return ids;
    }
};

TEST_F(CustomLayoutPageTest, OnePageIsBuiltStraightIntoThePage) {
    gateway.Answer(ZVM_LAYOUT_GETCUSTOMPAGESQ, PageSet({{"Only", {0, 5000}}}));
    auto page = Page(40);
    EXPECT_EQ(page->GetTabRegion(), nullptr);
    ASSERT_EQ(page->GetChildren().GetCount(), 2);
    auto* second = static_cast<CZVWindow*>(page->GetChildren().GetTail());
    EXPECT_EQ(second->GetX(), 150);
    EXPECT_EQ(second->GetWidth(), 30);
    testsupport::Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_LAYOUT_GETCUSTOMPAGESQ, &request));
    EXPECT_EQ(request.payload, testsupport::Bytes(PayloadWriter().Int(40).Int(window->GetLayoutType())));
}

TEST_F(CustomLayoutPageTest, ThreePagesBecomeTabsWithTheFirstShown) {
    gateway.Answer(ZVM_LAYOUT_GETCUSTOMPAGESQ, PageSet({{"A", {0}}, {"B", {0, 2000}}, {"C", {}}}));
    auto page = Page(50);
    ASSERT_NE(page->GetTabRegion(), nullptr);
    EXPECT_EQ(TabIds(page->GetTabRegion()), (std::vector<int>{1000, 1001, 1002}));
    ASSERT_NE(page->GetContent(), nullptr);
    EXPECT_EQ(page->GetContent()->GetParent(), page->GetTabRegion());
    EXPECT_EQ(page->GetContent()->GetChildren().GetCount(), 1);
}

TEST_F(CustomLayoutPageTest, ATabCommandRebuildsItsPageEachTime) {
    gateway.Answer(ZVM_LAYOUT_GETCUSTOMPAGESQ, PageSet({{"A", {0}}, {"B", {0, 2000}}, {"C", {}}}));
    auto page = Page(50);
    page->OnCommand(1001);
    CZVWindow* first = page->GetContent();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetChildren().GetCount(), 2);
    page->OnCommand(1001);
    ASSERT_NE(page->GetContent(), nullptr);
    EXPECT_EQ(page->GetContent()->GetChildren().GetCount(), 2);
    EXPECT_EQ(page->GetTabRegion()->GetChildren().GetCount(), 2);  // the tabs and one content window
    // A page the set does not have changes nothing.
    CZVWindow* shown = page->GetContent();
    page->OnCommand(1050);
    EXPECT_EQ(page->GetContent(), shown);
}

TEST_F(CustomLayoutPageTest, ACutAnswerKeepsWhatWasRead) {
    PayloadWriter out;
    out.Int(0).Int(3);
    WritePage(out, {"A", {0}});
    WritePage(out, {"B", {0, 2000, 4000}});
    testsupport::Bytes bytes(out);
    bytes.resize(bytes.size() - 20);  // B's last label is cut, C never came
    gateway.Answer(ZVM_LAYOUT_GETCUSTOMPAGESQ, bytes);
    auto page = Page(50);
    ASSERT_EQ(page->GetPageCount(), 2);
    EXPECT_EQ(page->GetPageDef(1)->GetDefinitions().GetCount(), 2);
    EXPECT_EQ(TabIds(page->GetTabRegion()), (std::vector<int>{1000, 1001}));
}

TEST_F(CustomLayoutPageTest, NoAnswerOrNoPagesLeaveThePageEmpty) {
    int pageSet = 60;  // a set of its own each time: answers are cached
    for (const testsupport::Bytes& answer :
         {testsupport::Bytes(PayloadWriter().Int(0)), testsupport::Bytes(PayloadWriter().Int(0).Int(4).Int(-1))}) {
        gateway.Answer(ZVM_LAYOUT_GETCUSTOMPAGESQ, answer);
        auto page = Page(pageSet++);
        EXPECT_TRUE(page->GetChildren().IsEmpty());
        EXPECT_EQ(page->GetPageCount(), 0);
    }
}

}  // namespace
