// The security keypad, zones page and history against the sample house and
// built payloads, on the virtual clock, with their pictures.
#include <gtest/gtest.h>

#include "core/messages/securitymessages.h"
#include "core/messages/toolkitmessages.h"
#include "security_fixture.h"
#include "support/golden.h"
#include "vistrel/home/security/securityhistory.h"
#include "vistrel/home/security/securitykeypad.h"
#include "vistrel/home/security/securitypages.h"
#include "vistrel/home/security/securityzones.h"
#include "widgets/buttons/zvchkbutton.h"
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
        for (const testsupport::Frame& frame : gateway.Requests()) {
            if (frame.id != id) continue;
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

}  // namespace
