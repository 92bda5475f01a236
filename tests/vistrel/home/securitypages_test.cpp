// The security keypad, zones page and history against the sample house and
// built payloads, on the virtual clock, with their pictures.
#include <gtest/gtest.h>

#include "core/messages/securitymessages.h"
#include "core/messages/toolkitmessages.h"
#include "gfx/dibdc.h"
#include "platform/keys.h"
#include "samplegateway/times.h"
#include "security_fixture.h"
#include "support/golden.h"
#include "vistrel/home/security/securityhistory.h"
#include "vistrel/home/security/securitykeypad.h"
#include "vistrel/home/security/securitypages.h"
#include "vistrel/home/security/securityzones.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/lists/textlist.h"
#include "widgets/text/zvlabel.h"

namespace {

using securitytest::Bytes;
using securitytest::HouseRecord;
using securitytest::ReadRecord;
using securitytest::Record;
using securitytest::Status;

TEST(SecurityKeypadGrid, RowsOfAtMostFourAndEvenColumns) {
    struct Case {
        int modes, rows, columns;
    };
    for (const Case& c : {Case{4, 1, 4}, Case{5, 2, 3}, Case{9, 3, 3}, Case{0, 1, 1}, Case{1, 1, 1}}) {
        const CSecurityModeGrid grid = SecurityModeGrid(c.modes);
        EXPECT_EQ(grid.rows, c.rows) << c.modes;
        EXPECT_EQ(grid.columns, c.columns) << c.modes;
    }
}

// A page area in a larger main window, as the security page gives its content.
class SecurityPageTest : public securitytest::SecurityTest {
protected:
    SecurityPageTest() {
        gateway.Engine().On(ZVM_IMAGE_GETICONQ,
                            [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 640, 480), 0, &large);
        page = new CPageBase(window.get(), window->GetPageArea());
        window->AddChild(page);
        page->Show(1, 0);
    }
    ~SecurityPageTest() override { window.reset(); }
    CZVRect Area() { return CZVRect(0, 0, page->GetWidth(), page->GetHeight()); }
    testsupport::Image565 Screen() {
        window->PaintAll();
        return testsupport::ImageOf(*window->GetScreen());
    }
    // The requests of the id the gateway has seen, as {partition, value, code}.
    std::vector<std::tuple<int32_t, int32_t, std::string>> Sent(uint16_t id) {
        std::vector<std::tuple<int32_t, int32_t, std::string>> sent;
        for (const testsupport::Frame& frame : gateway.RequestsOf(id)) {
            testsupport::PayloadReader in(frame.payload);
            int32_t a = 0, b = 0;
            std::string code;
            in.Int(&a) && in.Int(&b) && in.String(&code);
            sent.emplace_back(a, b, code);
        }
        return sent;
    }

    platform::HeadlessWindow large{640, 480};
    CPageBase* page = nullptr;
};

class KeypadTest : public SecurityPageTest {
protected:
    KeypadTest() {
        keypad = new CSecurityKeypadWnd(page, CZVRect(0, 0, 300, 400), &partition);
        page->AddChild(keypad);
    }
    void Digits(const std::string& digits) {
        for (char d : digits) keypad->OnCommand(CSecurityKeypadWnd::kFirstDigit + (d - '0'));
    }

    CSecurityPartition partition{server, ReadRecord(HouseRecord())};
    CSecurityKeypadWnd* keypad = nullptr;
};

TEST_F(KeypadTest, AFourDigitCodeGoesOutWithoutEnterAndDisarmSendsModeZero) {
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode + 2);  // Away
    EXPECT_EQ(keypad->GetKey(CSecurityKeypadWnd::kEnter)->IsEnabled(), 1);
    Digits("123");
    EXPECT_TRUE(Sent(ZVM_SECURITY_ARMQ).empty());
    Digits("4");
    EXPECT_EQ(Sent(ZVM_SECURITY_ARMQ), (std::vector<std::tuple<int32_t, int32_t, std::string>>{{1, 2, "1234"}}));
    EXPECT_EQ(keypad->GetSelectedMode(), -1);
    EXPECT_EQ(keypad->GetKey(CSecurityKeypadWnd::kFirstDigit)->IsEnabled(), 0);
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode);
    Digits("9876");
    EXPECT_EQ(Sent(ZVM_SECURITY_DISARMQ), (std::vector<std::tuple<int32_t, int32_t, std::string>>{{1, 0, "9876"}}));
}

TEST_F(KeypadTest, ArmWithoutCodeSendsAtOnceAndAnotherModeStartsAfresh) {
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode + 3);  // Instant
    EXPECT_EQ(Sent(ZVM_SECURITY_ARMQ), (std::vector<std::tuple<int32_t, int32_t, std::string>>{{1, 3, ""}}));
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode + 1);
    Digits("12");
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode + 2);
    EXPECT_EQ(keypad->GetCode(), "");
    EXPECT_EQ(keypad->GetSelectedMode(), 2);
}

TEST_F(KeypadTest, ThirtySecondsWithoutATouchEndTheEntryAndADigitRestartsThem) {
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode + 1);
    clock.Advance(20000);
    Digits("1");
    clock.Advance(20000);
    keypad->OnIdle(0);
    EXPECT_EQ(keypad->GetSelectedMode(), 1);
    clock.Advance(10001);
    keypad->OnIdle(0);
    EXPECT_EQ(keypad->GetSelectedMode(), -1);
    EXPECT_TRUE(Sent(ZVM_SECURITY_ARMQ).empty());
}

TEST_F(KeypadTest, EnterWithoutAModeSendsNothingAndCancelSendsNothing) {
    keypad->OnCommand(CSecurityKeypadWnd::kEnter);
    keypad->OnCommand(CSecurityKeypadWnd::kFirstMode + 1);
    keypad->OnCommand(CSecurityKeypadWnd::kCancel);
    keypad->OnCommand(CSecurityKeypadWnd::kEnter);
    EXPECT_TRUE(Sent(ZVM_SECURITY_ARMQ).empty());
    EXPECT_TRUE(Sent(ZVM_SECURITY_DISARMQ).empty());
}

TEST_F(KeypadTest, TheChecksMirrorThePartitionWhileIdle) {
    struct Case {
        int32_t word;
        int checked;  // -1: none
    };
    for (const Case& c : {Case{0x04, 0}, Case{0x01 | 2 << 16, 2}, Case{0x01 | 0 << 16, -1}}) {
        Deliver(partition, Status({}, {}, c.word));
        keypad->UpdateModeChecks();
        for (int i = 0; i < keypad->GetModeButtonCount(); ++i)
            EXPECT_EQ(keypad->GetModeButton(i)->GetCheck(), i == c.checked ? 1 : 0) << c.word << " " << i;
    }
}

class ZonesTest : public SecurityPageTest {
protected:
    CSecurityZonesPage* Open(CSecurityPartition& partition) {
        auto* zones = new CSecurityZonesPage(page, Area(), &partition);
        page->AddChild(zones);
        return zones;
    }
    std::string Text(CSecurityZonesPage* zones) { return CZVString(zones->GetShownLabel()->GetText()).GetAnsi(); }
};

TEST_F(ZonesTest, TheStatusWordNamesTheState) {
    struct Case {
        int32_t word;
        int modes;
        const char* text;
        int alarm;
    };
    const std::vector<securitytest::Mode> four = {{0, 1, 0, 4, "Disarm"}, {1, 1, 0, 4, "Stay"}, {2, 1, 0, 4, "Away"}};
    for (const Case& c :
         {Case{0x30, 3, "Fire Alarm", 1}, Case{0x10, 3, "Alarm Active", 1}, Case{0x41, 3, "Entry Delay", 0},
          Case{0x81, 3, "Arming...", 0}, Case{0x81 | 2 << 16, 3, "Arming in Away Mode", 0},
          Case{0x01 | 2 << 16, 3, "Armed in Away Mode", 0}, Case{0x01 | 1 << 16, 2, "System is Armed", 0},
          Case{0x100, 3, "Connecting, please wait...", 0}, Case{0x04, 3, "Disarmed, Ready to Arm", 0},
          Case{0x08, 3, "Disarmed, Ready to Bypass and Arm", 0}, Case{0x00, 3, "Disarmed, Not Ready to Arm", 0}}) {
        CSecurityPartition partition(
            server, ReadRecord(Record(std::vector<securitytest::Mode>(four.begin(), four.begin() + c.modes), {})));
        CSecurityZonesPage* zones = Open(partition);
        Deliver(partition, Status({}, {}, c.word));
        EXPECT_EQ(Text(zones), c.text) << c.word;
        EXPECT_EQ(zones->IsAlarmShown(), c.alarm) << c.word;
        EXPECT_EQ(page->IsStatusShown(), c.word == 0x100 ? 1 : 0) << c.word;
        if (zones->GetKeypad()) EXPECT_EQ(zones->GetKeypad()->IsEnabled(), c.word == 0x100 ? 0 : 1) << c.word;
        page->RemoveChild(zones);
        delete zones;
    }
}

TEST_F(ZonesTest, AFaultedZoneWithoutTheBypassBitHasNoActiveButtonAndZoneZeroCanBeBypassed) {
    CSecurityPartition partition(server, ReadRecord(Record({}, {{0, "Porch"}, {9, "Cellar"}})));
    CSecurityZonesPage* zones = Open(partition);
    Deliver(partition, Status({"Tamper"}, {{0, 0x05}, {9, 0x04}}, 0x08));
    CTextList* faults = zones->GetZoneFaults();
    ASSERT_EQ(faults->GetCount(), 2);
    EXPECT_EQ(faults->GetItemAt(0)->m_showsRowButtons, 1);
    EXPECT_EQ(faults->GetItemAt(1)->m_showsRowButtons, 0);
    EXPECT_EQ(zones->GetSystemFaults()->GetCount(), 1);
    zones->OnCommand(CSecurityZonesPage::kBypass);  // no row selected
    faults->SelectIndex(0, 0);
    zones->OnCommand(CSecurityZonesPage::kBypass);
    EXPECT_EQ(Sent(ZVM_SECURITY_BYPASSZONEQ), (std::vector<std::tuple<int32_t, int32_t, std::string>>{{1, 0, ""}}));
}

TEST_F(ZonesTest, WithoutTheKeypadFlagTheLeftHalfStaysEmpty) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord(0, 0)));
    CSecurityZonesPage* zones = Open(partition);
    EXPECT_EQ(zones->GetKeypad(), nullptr);
    EXPECT_EQ(zones->GetBypassed(), nullptr);
}

TEST_F(ZonesTest, AnArmingShowsWorkingUntilTheStatusComesAgain) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord()));
    CSecurityZonesPage* zones = Open(partition);
    Deliver(partition, Status({}, {}, 0x04));
    zones->OnCommand(kSecurityArmedOrDisarmed);
    EXPECT_EQ(Text(zones), "Working...");
    Deliver(partition, Status({}, {}, 0x01 | 2 << 16));
    EXPECT_EQ(Text(zones), "Armed in Away Mode");
}

TEST_F(ZonesTest, ANewAlarmDuringTheIdleScreenWakesTheTabletOnce) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord()));
    Open(partition)->Show(1, 0);
    Deliver(partition, Status({}, {}, 0x04));
    window->GetIdleScreen().ShowIdleScreen();
    ASSERT_EQ(window->GetIdleState(), kIdleScreen);
    Deliver(partition, Status({}, {}, 0x10));
    EXPECT_EQ(window->GetIdleState(), kIdleActive);
    // The same alarm told again is not new: the idle screen shown since stays.
    window->GetIdleScreen().ShowIdleScreen();
    Deliver(partition, Status({}, {}, 0x10));
    EXPECT_EQ(window->GetIdleState(), kIdleScreen);
}

TEST_F(ZonesTest, PicturesOfTheStatusAndTheAlarm) {
    CSecurityPartition partition(server, ReadRecord(HouseRecord()));
    CSecurityZonesPage* zones = Open(partition);
    zones->Show(1, 0);
    Deliver(partition, Status({"Low Battery: Hall Motion"}, {{2, 0x05}, {5, 0x12}}, 0x08));
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "security_status"));
    Deliver(partition, Status({}, {{4, 0x04}}, 0x30));
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "security_alarm"));
}

TEST_F(SecurityPageTest, TheControlHoldsTheKeypadOfItsPartition) {
    auto* control = new CSecurityPage(page, CZVRect(10, 10, 240, 320), server, 2);
    page->AddChild(control);
    ASSERT_TRUE(PollUntil([&] { return control->GetPartition()->GetStatusWord() == 0x04; }));
    EXPECT_EQ(control->GetKeypad()->GetModeButtonCount(), 2);
    EXPECT_EQ(control->GetKeypad()->GetModeButton(0)->GetCheck(), 1);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "security_keypad_control"));
}

TEST_F(SecurityPageTest, ALastTabBeyondThePartitionsIsClampedToTheLastOne) {
    SetPageVariable(kSecurityTabVariable, 7);
    auto* summary = new CSecuritySummaryPage(window.get(), window->GetPageArea(), server);
    window->AddChild(summary);
    ASSERT_EQ(summary->GetPartitionCount(), 2);
    EXPECT_EQ(GetPageVariable(kSecurityTabVariable), 1);
    ASSERT_NE(summary->GetCurrent(), nullptr);
    EXPECT_EQ(summary->GetCurrent()->GetPartitionId(), 2);
    SetPageVariable(kSecurityTabVariable, 0);
}

TEST(SecurityHistoryBands, TheStatesOpenAndCloseTheirRows) {
    auto at = [](int hour, int minute) {
        CZVTime t;
        t.Set(2011, 6, 0, 15, hour, minute, 0, 0);
        t.Normalize();
        return t;
    };
    const std::vector<CSecurityState> states = {
        {at(10, 0), 0x01}, {at(12, 0), 0x04}, {at(12, 5), 0x14}, {at(12, 10), 0x04}};
    const CSecurityStateBands bands = SecurityStateBands(states, at(23, 0));
    ASSERT_EQ(bands[0].size(), 1u);
    EXPECT_EQ(bands[0][0].start.FormatTime(), "10:00 AM");
    EXPECT_EQ(bands[0][0].end.FormatTime(), "12:00 PM");
    ASSERT_EQ(bands[1].size(), 1u);
    EXPECT_EQ(bands[1][0].end.FormatTime(), "12:00 PM");
    ASSERT_EQ(bands[2].size(), 1u);
    EXPECT_EQ(bands[2][0].start.FormatTime(), "12:05 PM");
    EXPECT_EQ(bands[2][0].end.FormatTime(), "12:10 PM");
    EXPECT_TRUE(bands[3].empty());
    // A state still in force reaches the end of the data.
    const CSecurityStateBands open = SecurityStateBands({{at(10, 0), 0x01}}, at(23, 0));
    ASSERT_EQ(open[0].size(), 1u);
    EXPECT_EQ(open[0][0].end.FormatTime(), "11:00 PM");
}

TEST(SecurityHistoryRows, TheRowsFillTheGraphAndShrinkForOneZoneMore) {
    struct Case {
        int zones, rowHeight, scrolls;
    };
    // 200 pixels with labels of 16: V = 12 rows of 16.
    for (const Case& c : {Case{8, 16, 0}, Case{9, 15, 0}, Case{10, 16, 1}}) {
        const CSecurityRowFit fit = SecurityRowFit(200, 16, c.zones);
        EXPECT_EQ(fit.rowHeight, c.rowHeight) << c.zones;
        EXPECT_EQ(fit.scrolls, c.scrolls) << c.zones;
    }
    // A graph lower than a label still has one row.
    EXPECT_EQ(SecurityRowFit(10, 16, 0).rowHeight, 10);
}

TEST_F(SecurityPageTest, TheHistoryShowsTheSampleAndKeepsItsEvents) {
    CTimeWindow shared;
    auto* history = new CSecurityHistoryPage(page, Area(), server, &shared, 1, 1);
    page->AddChild(history);
    history->Show(1, 0);
    ASSERT_TRUE(PollUntil([&] { return !history->GetHistory().zones.empty(); }));
    EXPECT_EQ(history->GetHistory().events.size(), 1u);
    EXPECT_FALSE(history->GetBands()[0].empty());
    EXPECT_EQ(history->GetHistory().zones.size(), 4u);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "security_history"));
}

TEST(SecurityHistoryLabels, AnOpenStretchReadsFromItsStartToItsEndWithSeconds) {
    CZVTime start, end;
    start.Set(2011, 6, 0, 15, 10, 5, 0, 0);
    end.Set(2011, 6, 0, 16, 13, 7, 30, 0);
    EXPECT_EQ(std::string(OpenStretchText(CTimeRange(start, end)).GetAnsi()), "6/15 10:05:00 AM - 6/16 1:07:30 PM");
}

// The history page over the sample's first answer, and answers of the test's own.
class HistoryTest : public SecurityPageTest {
protected:
    using Zones = std::vector<std::pair<int32_t, CTimeRanges>>;

    // The page goes before the window it shares.
    ~HistoryTest() override { window.reset(); }

    // A day ending on the whole minute of the sample gateway's clock, so that no picture depends
    // on the seconds the test took.
    void Open() {
        CZVTime end;
        end.Set(2011, 6, 0, 15, 14, 35, 0, 0);
        end.Normalize();
        shared = std::make_unique<CTimeWindow>();
        shared->Set(CTimeWindow::kDay, end, 0);
        history = new CSecurityHistoryPage(page, Area(), server, shared.get(), 1, 1);
        page->AddChild(history);
        history->Show(1, 0);
        ASSERT_TRUE(SettleUntil([&] { return !history->GetHistory().zones.empty(); }));
    }
    // An answer without states or events, with each zone's open stretches.
    void Answer(const Zones& zones) {
        securitytest::PayloadWriter w;
        w.Int(0).Int(0).Int(static_cast<int32_t>(zones.size()));
        for (const auto& [id, ranges] : zones) {
            w.Int(id).Int(static_cast<int32_t>(ranges.size()));
            for (const CTimeRange& range : ranges) {
                samplegateway::WritePackedTime(w, range.start);
                samplegateway::WritePackedTime(w, range.end);
            }
        }
        history->OnMessage(securitytest::Message(0x0435, w).get());
    }
    // The stretch from `from` to `to` hours before the window's end.
    CTimeRange HoursBack(int from, int to) {
        const CZVTime end = shared->GetEnd();
        return CTimeRange(PlusMinutes(end, -60 * from), PlusMinutes(end, -60 * to));
    }
    // V: the rows of the label font that the graph holds.
    int RowsShown() { return (history->GetHeight() - CTimeView::kBottomMargin) / CTimeView::GetLargeFontSize(); }
    // Whether the red frame of a marked stretch shows in the zone's row, above the line that
    // the frame of the next row's stretch shares with it.
    bool FramedInRow(size_t zone) {
        const int top = history->ToRootY(static_cast<int>(kSecurityStateRows + zone) * history->GetRowHeight());
        const uint16_t red = ToRgb565(255);
        CDibDC& screen = *window->GetScreen();
        for (int y = top; y < top + history->GetRowHeight() - 1; ++y)
            for (int x = history->ToRootX(history->GetLeft()); x < history->ToRootX(history->GetWidth()); ++x)
                if (*screen.GetPixelAddress(x, y) == red) return true;
        return false;
    }

    std::unique_ptr<CTimeWindow> shared;
    CSecurityHistoryPage* history = nullptr;
};

TEST_F(HistoryTest, RowsThatDoNotFitScrollInAnImageOfTheirOwn) {
    ASSERT_NO_FATAL_FAILURE(Open());
    const int rows = RowsShown();
    auto zones = [&](int count) {
        Zones out;
        for (int i = 0; i < count; ++i) out.push_back({i % 5 + 1, {HoursBack(23 - i % 20, 21 - i % 20)}});
        return out;
    };
    // One zone fewer than would scroll: the rows shrink, and nothing scrolls.
    Answer(zones(rows - 3));
    EXPECT_EQ(history->GetRowScrollBar(), nullptr);
    EXPECT_EQ(history->GetRightMargin(), 0);

    const int count = rows + 4;
    Answer(zones(count));
    CZVScrollBar* bar = history->GetRowScrollBar();
    ASSERT_NE(bar, nullptr);
    const int rowHeight = history->GetRowHeight();
    const int imageHeight = ((count + kSecurityStateRows) * rowHeight + 3) / 4 * 4;
    EXPECT_EQ(history->GetRightMargin(), CSecurityHistoryPage::kScrollBarWidth);
    EXPECT_EQ(history->GetZoomBar()->GetWidth(), history->GetWidth() - CSecurityHistoryPage::kScrollBarWidth);
    ASSERT_NE(history->GetScrollImage(), nullptr);
    EXPECT_EQ(history->GetScrollImage()->GetHeight(), imageHeight);
    EXPECT_EQ(bar->GetTotal(), imageHeight);
    EXPECT_EQ(bar->GetStep(), rowHeight);

    // The bar moves the image under the graph, so the last zone comes into view.
    Screen();
    bar->ScrollTo(imageHeight);
    EXPECT_EQ(history->GetScrollOffset(), bar->GetPosition());
    EXPECT_GT(history->GetScrollOffset(), 0);
    EXPECT_TRUE(testsupport::MatchesGolden(Screen(), "security_history_scroll"));

    // Rows that fit again drop the bar and its margin.
    Answer(zones(2));
    EXPECT_EQ(history->GetRowScrollBar(), nullptr);
    EXPECT_EQ(history->GetScrollImage(), nullptr);
    EXPECT_EQ(history->GetRightMargin(), 0);
    EXPECT_EQ(history->GetZoomBar()->GetWidth(), history->GetWidth());
}

TEST_F(HistoryTest, MarkingATimeLabelsEveryZoneOpenThenAndOnlyThose) {
    ASSERT_NO_FATAL_FAILURE(Open());
    Answer({{1, {HoursBack(10, 6)}}, {2, {HoursBack(12, 7)}}, {3, {HoursBack(3, 2)}}});
    Screen();
    const int x = history->ToRootX(history->TimeToX(PlusMinutes(shared->GetEnd(), -8 * 60)));
    const int y = history->ToRootY(history->GetHeight() / 2);
    history->OnLButtonDown(x, y, platform::MK_LBUTTON);
    EXPECT_TRUE(FramedInRow(0));
    EXPECT_TRUE(FramedInRow(1));
    EXPECT_FALSE(FramedInRow(2));
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "security_history_labels"));

    // Moved on to a time only the third zone was open: the first two labels are gone.
    history->OnMouseMove(history->ToRootX(history->TimeToX(PlusMinutes(shared->GetEnd(), -150))), y,
                         platform::MK_LBUTTON);
    EXPECT_FALSE(FramedInRow(0));
    EXPECT_FALSE(FramedInRow(1));
    EXPECT_TRUE(FramedInRow(2));
}

}  // namespace
