// The lighting schedules' view: event times and their editor, the schedules
// and events as tabs, an event's commands, and the light command picker,
// against the sample house's lighting schedules.
#include "vistrel/home/schedule/schedulecommands.h"

#include <gtest/gtest.h>

#include "core/messages/schedulemessages.h"
#include "core/zvquery.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "support/widget_harness.h"
#include "vistrel/shell/pbase.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/lists/maskrecords.h"
#include "widgets/lists/textlist.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Frame;

std::string Text(CZVString s) { return s.GetAnsi(); }

// An event that counts its commits.
class CountedEvent : public CScheduleEvent {
public:
    using CScheduleEvent::CScheduleEvent;
    void Commit() override { ++commits; }
    int commits = 0;
};

class Modes : public IHouseModeNames {
public:
    int GetCount() const override { return 3; }
    CZVString GetName(int index) const override { return std::string(1, static_cast<char>('A' + index)).c_str(); }
};

class ScheduleViewTest : public pooltest::PoolTest {
protected:
    void SetUp() override { ConnectToSampleHouse(); }
    // The view fills a page, as the lighting page shows it.
    CScheduleCommandsView* View() {
        if (!page) page = Keep(new CPageBase(window.get(), window->GetPageArea()));
        auto* view = new CScheduleCommandsView(page, CZVRect(5, 5, page->GetWidth() - 10, page->GetHeight() - 10),
                                               page->GetFaceColor(), server, &modes);
        page->AddChild(view);
        view->Show(1, 0);
        return view;
    }
    void ServeMasks(std::vector<int32_t> masks) {
        samplegateway::PayloadWriter out;
        out.Int(static_cast<int32_t>(masks.size()));
        for (int32_t mask : masks) out.Int(mask);
        gateway.Answer(ZVM_SCHEDULE_GETSCHEDULESQ, out);
    }
    // Everything sent before this has reached the gateway once it returns.
    void RoundTrip() {
        CZVQuery query(server);
        CZVMSG* answer = nullptr;
        ASSERT_TRUE(query.QueryAnswer1(&answer, ZVM_SCHEDULE_GETEVENTSQ, 0));
    }
    static std::vector<std::string> Rows(CColumnListWnd* list, int column) {
        std::vector<std::string> rows;
        for (int i = 0; i < list->GetCount(); ++i) rows.push_back(Text(list->GetRow(i)->GetText(column)));
        return rows;
    }

    Modes modes;
    CPageBase* page = nullptr;
};

TEST(ScheduleEventTest, TimesStepAndClampLikeTheirType) {
    struct Case {
        int32_t type, value;
        int id;
        int32_t expected;
        const char* text;
    } cases[] = {
        {2, 1425, CScheduleEventWnd::kLaterId, 0, "12:00  AM"},
        {2, 0, CScheduleEventWnd::kEarlierId, 1425, "11:45  PM"},
        {2, 1435, CScheduleEventWnd::kLaterId, 10, "12:10  AM"},
        {2, 5, CScheduleEventWnd::kEarlierId, 1430, "11:50  PM"},
        {1, 720, CScheduleEventWnd::kLaterId, 720, "(+) 12:00"},
        {1, -720, CScheduleEventWnd::kEarlierId, -720, "(-) 12:00"},
        {0, -15, CScheduleEventWnd::kLaterId, 0, ""},
        {0, 75, CScheduleEventWnd::kLaterId, 90, "(+) 1:30"},
        {7, 715, CScheduleEventWnd::kLaterId, 720, "(+) 12:00"},  // an unknown type counts as an offset
        {1, 100, CScheduleEventWnd::kSunriseId, 0, ""},
        {1, 100, CScheduleEventWnd::kClockId, 480, "8:00  AM"},
    };
    testsupport::WidgetHarness harness(400, 100);
    for (const Case& c : cases) {
        CountedEvent event("Dusk", c.type, c.value);
        CScheduleEventWnd editor(&harness.Root(), CZVRect(0, 0, 400, 31), 6, 15, &event, 1);
        EXPECT_EQ(editor.OnCommand(c.id), 1);
        EXPECT_EQ(event.m_timeValue, c.expected) << c.type << " " << c.value;
        EXPECT_EQ(event.GetTimeText(), c.text) << c.type << " " << c.value;
        EXPECT_EQ(Text(editor.GetLabel()->GetText()), c.text);
        EXPECT_EQ(event.commits, 1);
        EXPECT_EQ(harness.Root().commands, (std::vector<int>{CScheduleEventWnd::kChangedId}));
        harness.Root().commands.clear();
    }
    CountedEvent odd("Odd", 7, 0);
    EXPECT_EQ(odd.GetTypeName(), "ERROR");
}

TEST_F(ScheduleViewTest, SchedulesAreTitledByTheirHouseModes) {
    ServeMasks({0x07, 0x00, 0x03, 0x04});
    CScheduleTabsPage* tabs = View()->GetTabsPage();
    ASSERT_EQ(tabs->GetScheduleCount(), 4);
    std::vector<std::string> titles;
    for (int i = 0; i < 4; ++i) titles.push_back(Text(tabs->GetTabs()->GetTab(i)->GetText()));
    EXPECT_EQ(titles, (std::vector<std::string>{"All", "None", "A+B", "C"}));
}

TEST_F(ScheduleViewTest, SixSchedulesShareARowByQuartersAndTheTwelfthOpens) {
    ServeMasks(std::vector<int32_t>(6, 1));
    CScheduleTabsPage* six = View()->GetTabsPage();
    window->PaintAll();
    CZVWindow* row = six->GetTabs()->GetTab(0)->GetParent();  // the strip beside any arrows
    EXPECT_NEAR(six->GetTabs()->GetTab(0)->GetWidth(), row->GetWidth() / 4, 2);

    ServeMasks(std::vector<int32_t>(12, 1));
    CScheduleTabsPage* twelve = View()->GetTabsPage();
    ASSERT_EQ(twelve->GetScheduleCount(), 12);
    twelve->OnCommand(CScheduleTabsPage::kFirstScheduleId + 11);
    ASSERT_NE(twelve->GetPanel(), nullptr);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_SCHEDULE_GETEVENTSQ).back()), (std::vector<int32_t>{11}));
    EXPECT_EQ(twelve->GetPanel()->GetEventCount(), 2);
}

TEST_F(ScheduleViewTest, AnEventShowsItsTimeAndCommandsAndStoresItsChanges) {
    CScheduleCommandsView* view = View();
    CScheduleEventsPanel* panel = view->GetTabsPage()->GetPanel();
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(panel->GetEventCount(), 2);
    EXPECT_EQ(Text(panel->GetTabs()->GetTab(0)->GetText()), "Dusk\nSunset (-) 0:30");
    EXPECT_EQ(Text(panel->GetTabs()->GetTab(1)->GetText()), "Lights Out\nClock 11:00  PM");
    CScheduledCommandsPage* page = panel->GetCommandsPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Rows(page->GetList(), 0), (std::vector<std::string>{"Porch Keypad", "Deck Lights"}));
    page->GetEditor()->OnCommand(CScheduleEventWnd::kLaterId);
    EXPECT_EQ(Text(panel->GetTabs()->GetTab(0)->GetText()), "Dusk\nSunset (-) 0:15");
    page->OnCommand(CScheduledCommandsPage::kTestId);
    RoundTrip();
    const std::vector<Frame> stored = gateway.RequestsOf(ZVM_SCHEDULE_SETLIGHTINGEVENT);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].sender, 0);
    EXPECT_EQ(IntsOf(stored[0]), (std::vector<int32_t>{0, 0, 1, -15}));
    const std::vector<Frame> tests = gateway.RequestsOf(ZVM_SCHEDULE_TESTCOMMANDS);
    ASSERT_EQ(tests.size(), 1u);
    EXPECT_EQ(IntsOf(tests[0]), (std::vector<int32_t>{0, 0}));
}

TEST_F(ScheduleViewTest, RemoveTakesTheSelectedCommandAndNothingWithoutOne) {
    CScheduledCommandsPage* page = View()->GetTabsPage()->GetPanel()->GetCommandsPage();
    page->OnCommand(CScheduledCommandsPage::kRemoveId);
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SCHEDULE_REMOVECOMMANDQ).empty());
    page->GetList()->SelectIndex(1, 0);
    page->OnCommand(CScheduledCommandsPage::kRemoveId);
    const std::vector<Frame> removed = gateway.RequestsOf(ZVM_SCHEDULE_REMOVECOMMANDQ);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(IntsOf(removed[0]), (std::vector<int32_t>{0, 0, 1}));
    EXPECT_EQ(Rows(page->GetList(), 0), (std::vector<std::string>{"Porch Keypad"}));
}

TEST_F(ScheduleViewTest, PickedCommandsGoToTheShownEventOnly) {
    gateway.Answer(ZVM_SCHEDULE_GETEVENTSQ, samplegateway::PayloadWriter().Int(0));
    CScheduleTabsPage* empty = View()->GetTabsPage();
    EXPECT_EQ(empty->AddKeypadCommand(11), 0);
    EXPECT_EQ(empty->AddSwitchCommand(31, 1), 0);
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SCHEDULE_ADDKEYPADCOMMANDQ).empty());
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SCHEDULE_ADDSWITCHCOMMANDQ).empty());
}

TEST_F(ScheduleViewTest, ThePickerFillsItsListsAndAddsThroughItsOwner) {
    CScheduleCommandsView* view = View();
    CLightCommandWnd* keypads = view->GetPicker()->GetCommands();
    ASSERT_NE(keypads, nullptr);
    ASSERT_EQ(keypads->GetLeftList()->GetCount(), 2);
    keypads->GetLeftList()->SelectIndex(1, 0);
    keypads->OnCommand(CLightCommandWnd::kLeftId);
    ASSERT_EQ(keypads->GetRightList()->GetCount(), 2);
    EXPECT_EQ(Text(static_cast<CTextItem*>(keypads->GetRightList()->GetItemAt(0))->GetText()), "Hall Evening");
    keypads->GetRightList()->SelectIndex(0, 0);
    keypads->OnCommand(CLightCommandWnd::kAddId);
    ASSERT_EQ(gateway.RequestsOf(ZVM_SCHEDULE_ADDKEYPADCOMMANDQ).size(), 1u);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_SCHEDULE_ADDKEYPADCOMMANDQ)[0]), (std::vector<int32_t>{0, 0, 21}));
    CScheduledCommandsPage* page = view->GetTabsPage()->GetPanel()->GetCommandsPage();
    EXPECT_EQ(Rows(page->GetList(), 1), (std::vector<std::string>{"Porch On", "50%", "Hall Evening"}));

    view->GetPicker()->OnCommand(CScheduleCommandPicker::kSwitchesTab);
    CLightCommandWnd* switches = view->GetPicker()->GetCommands();
    ASSERT_EQ(switches->GetLeftList()->GetCount(), 2);
    switches->GetLeftList()->SelectIndex(1, 0);
    switches->OnCommand(CLightCommandWnd::kLeftId);
    ASSERT_EQ(switches->GetRightList()->GetCount(), 3);
    switches->GetRightList()->SelectIndex(1, 0);
    switches->OnCommand(CLightCommandWnd::kAddId);
    ASSERT_EQ(gateway.RequestsOf(ZVM_SCHEDULE_ADDSWITCHCOMMANDQ).size(), 1u);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_SCHEDULE_ADDSWITCHCOMMANDQ)[0]), (std::vector<int32_t>{0, 0, 32, 2}));
    EXPECT_EQ(Rows(page->GetList(), 0).back(), "Garden Path");
}

TEST_F(ScheduleViewTest, PictureOfTheView) {
    CScheduleCommandsView* view = View();
    // Whatever the view's making asked for has come back and been taken before the picture.
    ASSERT_TRUE(Settle());
    // The view alone, as the lighting page will hold it.
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(view), "schedule_commands_view"));
}

}  // namespace
