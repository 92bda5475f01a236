// The Incoming Calls tab: its status lines, the arrows, the caller of a call
// in progress holding the selection, and the call's audio and end.
#include "vistrel/media/phone/calllogpage.h"

#include <gtest/gtest.h>

#include <string>

#include "core/messages/mediamessages.h"
#include "phone_fixture.h"
#include "samplegateway/house.h"
#include "vistrel/media/phone/phonelists.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using phonetest::Entries;
using phonetest::Entry;
using testsupport::PayloadWriter;

class CallLog : public vistreltest::ShellTest {
protected:
    CallLog() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
    }
    ~CallLog() override {
        Close();
        window.reset();
    }
    void SetUp() override {
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        Connect();
        gateway.Answer(ZVM_PHONE_GETCALLERNUMBERQ, PayloadWriter().String(""));
        gateway.Answer(ZVM_PHONE_GETCALLERNAMEQ, PayloadWriter().String(""));
    }
    CCallLogPage* Open(const std::vector<Entry>& calls) {
        EXPECT_TRUE(Settle());
        gateway.Answer(ZVM_PHONE_GETCALLERIDSQ, Entries(calls));
        CZVRect area = window->GetPageArea();
        area.Deflate(10, 10);
        page = new CCallLogPage(window.get(), area, 6, server);
        window->AddChild(page);
        page->OnTimer();  // the first tick loads
        return page;
    }
    void Close() {
        if (!page) return;
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
    std::string Line(int line) { return page->GetInfoLine(line)->GetText().GetAnsi(); }
    // Handles whatever the gateway pushed until the condition holds.
    template <class Condition>
    void Until(Condition condition) {
        ASSERT_TRUE(PollUntil(condition));
    }

    platform::HeadlessWindow screen{800, 600};
    CCallLogPage* page = nullptr;
};

const std::vector<Entry> kThree = {
    {1, 3, 3, 9, 5, 1, "555-0101", "Ann"}, {2, 3, 4, 23, 30, 2, "555-0102", "Bob"}, {3, 3, 2, 7, 0, 0, "555-0103", ""}};

TEST_F(CallLog, TheStatusCountsTheRecordsAndGivesTheirRange) {
    const struct {
        std::vector<Entry> calls;
        const char* line1;
        const char* line2;
    } cases[] = {
        {{}, "No Incoming Call Records", ""},
        {{kThree[0]}, "1 Incoming Call Record", "March 3  9:05 AM - March 3  9:05 AM"},
        {kThree, "3 Incoming Call Records", "March 2  7:00 AM - March 4 11:30 PM"},
    };
    for (const auto& c : cases) {
        Open(c.calls);
        EXPECT_EQ(Line(0), c.line1);
        EXPECT_EQ(Line(1), c.line2);
        Close();
    }
}

TEST_F(CallLog, TheArrowsFollowTheSelectionAndStayOffOnAnEmptyList) {
    Open({});
    EXPECT_FALSE(page->GetUpButton()->IsEnabled());
    EXPECT_FALSE(page->GetDownButton()->IsEnabled());
    Close();
    Open(kThree);
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 0);
    EXPECT_FALSE(page->GetUpButton()->IsEnabled());
    page->OnKeyDown(38, 0);  // up on row 0: nothing
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 0);
    page->OnKeyDown(40, 0);
    page->OnKeyDown(40, 0);
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 2);
    EXPECT_FALSE(page->GetDownButton()->IsEnabled());
    page->OnKeyDown(38, 0);
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 1);
}

TEST_F(CallLog, ACallerOnDisplayHoldsTheSelectionWhereItWas) {
    Open(kThree);
    page->OnKeyDown(40, 0);  // row 1
    gateway.Push(ZVM_PHONE_CALLERID, PayloadWriter().String("555-0199").String(""), page->GetId());
    Until([&] { return page->GetState() != 0; });
    EXPECT_EQ(Line(0), "Incoming call:");
    EXPECT_EQ(Line(1), "Unknown (555-0199)");
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "calllog_caller"));
    // A touch on another row snaps back to the row held before it.
    page->GetList()->SelectIndex(2, 0);
    page->OnCommand(CCallLogPage::kListChanged);
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 1);
    page->GetList()->SelectIndex(0, 0);
    page->OnCommand(CCallLogPage::kListChanged);
    EXPECT_EQ(page->GetList()->GetSelectedIndex(), 1);
}

TEST_F(CallLog, CallAudioThenTheCallsEndClearsBothFacts) {
    Open(kThree);
    PayloadWriter format;
    format.Int(0).Short(1).Short(1).Int(8000).Int(16000).Short(2).Short(16).Short(0).Short(0);
    gateway.Push(ZVM_PHONE_CALLERID, PayloadWriter().String("555-0199").String("Dee"), page->GetId());
    gateway.Push(ZVM_PHONE_CALLAUDIO, format, page->GetId());
    Until([&] { return page->GetState() == (CCallLogPage::kCallerShown | CCallLogPage::kCallAudio); });
    EXPECT_EQ(Line(0), "Incoming call:");
    EXPECT_EQ(Line(1), "Dee (555-0199)");
    gateway.Push(ZVM_PHONE_CALLENDED, PayloadWriter().Int(1), page->GetId());
    Until([&] { return page->GetState() == 0; });
    EXPECT_EQ(Line(0), "3 Incoming Call Records");
}

TEST_F(CallLog, AClosingPageLeavesTheFocusOfAnotherWindowAlone) {
    Open(kThree);
    CZVWindow other(window.get(), CZVRect(0, 0, 10, 10), 0);
    window->SetFocusWindow(&other);
    Close();
    EXPECT_EQ(window->GetFocusWindow(), &other);
    Open(kThree);
    window->SetFocusWindow(page);
    Close();
    EXPECT_EQ(window->GetFocusWindow(), nullptr);
}

}  // namespace
