// The source selectors: the radio row's selection, the list form's grid, its
// sliding list as the main window's overlay, and when a selector is kept.
#include "vistrel/media/audio/sourceselwnd.h"

#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "support/golden.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/style/setserver.h"

namespace {

using audiotest::AudioTest;

TEST(SourceListGrid, ColumnsByTheScreenBalancedOverTheRows) {
    struct Case {
        int options;
        int width;
        int columnWidth;
        int columns;
        int rows;
    };
    const Case cases[] = {
        {7, 800, 150, 4, 2},  {9, 800, 150, 5, 2}, {1, 800, 150, 1, 1},
        {12, 800, 200, 4, 3}, {3, 800, 0, 3, 1},   {5, 100, 150, 1, 5},
    };
    for (const Case& c : cases) {
        int columns = 0, rows = 0;
        CSourceListWnd::ListGrid(c.options, c.width, c.columnWidth, &columns, &rows);
        EXPECT_EQ(columns, c.columns) << c.options << " " << c.columnWidth;
        EXPECT_EQ(rows, c.rows) << c.options << " " << c.columnWidth;
    }
}

class SourceSelectorTest : public AudioTest {
protected:
    void SetUp() override {
        ConnectToSampleHouse();
        CSetServer::Get()->SetFlags(CSetServer::Get()->GetFlags() | 0x2000000);
        OpenPage()->OnCommand(4002);  // the Patio: the list form
        ASSERT_TRUE(Settle());
        list = dynamic_cast<CSourceListWnd*>(page->GetSelector());
        ASSERT_NE(list, nullptr);
    }
    CSourceListWnd* list = nullptr;
};

TEST_F(SourceSelectorTest, TheOpenListIsTheOverlayUntilItCloses) {
    EXPECT_STREQ(list->GetCurrentButton()->GetText().GetAnsi(), "Internet Radio");
    list->OnCommand(CSourceListWnd::kArrow);
    ASSERT_EQ(list->IsListOpen(), 1);
    ASSERT_NE(list->GetListRegion(), nullptr);
    EXPECT_EQ(window->GetOverlayWindow(), list->GetListRegion());
    EXPECT_EQ(list->GetListRegion()->GetSelection(), 1);
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "audio_patio_list"));
    list->OnCommand(CSourceSelWnd::kListDismissed);
    EXPECT_EQ(list->IsListOpen(), 0);
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_STREQ(list->GetCurrentButton()->GetText().GetAnsi(), "Internet Radio");
}

TEST_F(SourceSelectorTest, ChoosingFromTheListClosesItAndTellsTheGateway) {
    list->OnCommand(CSourceListWnd::kArrow);
    list->GetListRegion()->SetSelection(3, 0);  // FM Tuner
    list->OnCommand(CSourceSelWnd::kOptionChosen);
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    testsupport::Frame frame;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_AUDIO_ZONECOMMAND, &frame));
    EXPECT_EQ(frame.payload, testsupport::Bytes(testsupport::PayloadWriter().Int(2).Int(24).Int(3100).Int(0)));
    EXPECT_STREQ(list->GetCurrentButton()->GetText().GetAnsi(), "FM Tuner");
    // "Off" sends at once, without the list.
    list->OnCommand(CSourceListWnd::kOff);
    EXPECT_EQ(list->IsListOpen(), 0);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_AUDIO_SOURCECOMMAND, &frame));
    EXPECT_EQ(list->GetCurrentButton()->GetText().GetAnsi(), std::string(""));
    EXPECT_EQ(list->GetOffButton()->GetCheck(), 1);
}

TEST_F(SourceSelectorTest, ASelectorGoingWhileItsListIsOpenTakesTheOverlayAlong) {
    list->OnCommand(CSourceListWnd::kArrow);
    ASSERT_NE(window->GetOverlayWindow(), nullptr);
    page->OnCommand(4003);  // the Garage: another selector
    EXPECT_NE(page->GetSelector(), list);
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
}

TEST_F(SourceSelectorTest, TheSameSourcesKeepTheSelector) {
    page->OnCommand(4002);
    EXPECT_EQ(page->GetSelector(), list);
    page->OnCommand(4003);
    CSourceSelWnd* garage = page->GetSelector();
    page->OnCommand(4003);
    EXPECT_EQ(page->GetSelector(), garage);
}

TEST_F(AudioTest, ARadioSelectionSwitchesEveryOtherOptionOff) {
    ConnectToSampleHouse();
    auto* radio = dynamic_cast<CSourceRadioWnd*>(OpenPage()->GetSelector());
    ASSERT_NE(radio, nullptr);
    radio->GetOption(4)->SetCheck(1, 0, 0);
    radio->SetSelection(12, 0, 0);  // FM Tuner, option 2
    for (int i = 0; i < radio->GetOptionCount(); ++i) EXPECT_EQ(radio->GetOption(i)->GetCheck(), i == 2) << i;
    EXPECT_EQ(radio->GetSelectedItem()->sourceId, 12);
    EXPECT_EQ(radio->GetRegion()->GetSelection(), 2);
    radio->SetSelection(99, 0, 0);
    EXPECT_EQ(radio->GetSelectedItem(), nullptr);
    EXPECT_EQ(radio->GetRegion()->GetSelection(), -1);
}

TEST_F(AudioTest, ThePreviewEntryHasNoOffOption) {
    ConnectToSampleHouse();
    CAudioZonesPage* p = OpenPage();
    EXPECT_STREQ(CZVString(p->GetSelector()->GetOptionRecord(0).name).GetAnsi(), "Off");
    p->OnCommand(4100);
    ASSERT_EQ(p->GetSelector()->GetOptionCount(), 1);
    EXPECT_EQ(p->GetSelector()->GetOptionRecord(0).sourceId, 41);
}

}  // namespace
