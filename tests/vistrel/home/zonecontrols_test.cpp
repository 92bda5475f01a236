// The controls of a zone's main page: the set-point dial with its scale, and
// the hold, fan and mode options, against the fake gateway.
#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "support/assert_counter.h"
#include "vistrel/home/climate/hvacoptions.h"
#include "vistrel/home/climate/thermostatdial.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/text/zvlabel.h"

namespace {

using climatetest::Ansi;
using climatetest::Bytes;
using climatetest::ClimateTest;
using climatetest::Message;
using climatetest::PayloadWriter;

constexpr uint16_t kPing = 0x0010;

struct Status {
    int mode = kModeAuto;
    int fan = 0;
    int hold = 0;
    int room = 72;
    int heat = 70;
    int cool = 72;
    int holdSeconds = 0;
};

class ZoneControlsTest : public ClimateTest {
protected:
    // A zone of the fake gateway with heat, cool, the fan as given and the capability bits.
    void MakeZone(int heat, int cool, int fan, int capabilities, int humidistat = 0) {
        // Controls made for an earlier zone stay in the window: the zone stays too.
        zones.push_back(std::make_unique<CThermostatZone>(&server, 5, "Study", humidistat, 0));
        zone = zones.back().get();
        PayloadWriter w;
        w.Int(heat).Int(cool).Int(fan).Int(capabilities).Int(0).Int(0).Int(0).Int(40).Int(90).Int(60).Int(99);
        w.Int(0).Int(0).String("").String("");
        ASSERT_EQ(zone->ReadInfo(Message(ZVM_HVAC_GETZONESTATUSA, w).get(), 0), 1);
    }
    void SetStatus(const Status& s) {
        PayloadWriter w;
        w.Int(5).Int(s.mode).Int(s.fan).Int(s.hold).Int(s.room).Int(s.heat).Int(s.cool).Int(0).Int(0).Int(0);
        w.Int(85).Int(kNoClimateValue).Int(s.holdSeconds).String("").Int(0);
        ASSERT_EQ(zone->ParseStatus(Message(ZVM_HVAC_GETTHERMOSTATA, w).get()), 1);
    }
    template <class Control, class... Args>
    Control* Make(CZVRect rect, Args&&... args) {
        auto* control = new Control(window.get(), rect, std::forward<Args>(args)...);
        window->AddChild(control);
        control->Show(1, 0);
        return control;
    }
    // Every message sent so far has reached the gateway.
    void Flush() {
        CZVMSG ping(0, kPing);
        server.Send(&ping);
        ASSERT_TRUE(gateway.WaitForRequest(kPing));
    }
    static int X(CZVButton* button) { return button->ToRootX(button->GetWidth() / 2); }
    static int Y(CZVButton* button) { return button->ToRootY(button->GetHeight() / 2); }
    // A second after the one before: a button swallows touches that follow too closely.
    void Press(CZVButton* button) {
        clock.Advance(1000);
        button->OnLButtonDown(X(button), Y(button), 0);
    }
    static void Release(CZVButton* button) { button->OnLButtonUp(X(button), Y(button), 0); }

    std::vector<std::unique_ptr<CThermostatZone>> zones;
    CThermostatZone* zone = nullptr;
};

// ---- the dial

TEST(SetPointScale, PlacesValuesOnTheScaleOfTheUnit) {
    struct Case {
        int value, celsius, position;
    } cases[] = {
        {55, 0, 0}, {100, 0, 90}, {77, 0, 44}, {40, 0, 0}, {120, 0, 90},
        {13, 1, 0}, {37, 1, 90},  {25, 1, 45}, {-1, 0, 0}, {kNoClimateValue, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CSetPointScale::Position(c.value, 90, c.celsius), c.position) << c.value << " celsius " << c.celsius;
}

TEST_F(ZoneControlsTest, TheRoomBarTellsBelowHeatAboveCoolOrBetween) {
    struct Case {
        int room, heat, cool;
        COLORREF colour;
    } cases[] = {
        {68, 70, -1, CSetPointScale::kBelowHeatColour},
        {80, -1, 76, CSetPointScale::kAboveCoolColour},
        {72, 70, 76, CSetPointScale::kComfortColour},
        {72, -1, -1, CSetPointScale::kComfortColour},
    };
    auto* scale = Make<CSetPointScale>(CZVRect(0, 0, 20, 90), 0);
    for (const Case& c : cases) {
        scale->SetCool(c.cool, 0);
        scale->SetHeat(c.heat, 0);
        scale->SetRoom(c.room, 0);
        EXPECT_EQ(scale->GetRoomColour(), c.colour) << c.room << " " << c.heat << " " << c.cool;
    }
}

TEST_F(ZoneControlsTest, TheModeShowsThePanelsOfItsSetPoints) {
    MakeZone(1, 1, 1, 0);
    SetStatus({});
    auto* dial = Make<CThermostatDial>(CZVRect(0, 0, 300, 120), *zone);
    struct Case {
        int mode;
        bool heat, cool;
    } cases[] = {
        {kModeCool, false, true}, {kModeAuto, true, true},           {kModeOff, false, false},
        {kModeHeat, true, false}, {kModeEmergencyHeat, true, false},
    };
    for (const Case& c : cases) {
        Status s;
        s.mode = c.mode;
        SetStatus(s);
        dial->UpdateFromZone(*zone);
        EXPECT_EQ(dial->GetChildren().Contains(dial->GetHeatPanel()) != 0, c.heat) << "mode " << c.mode;
        EXPECT_EQ(dial->GetChildren().Contains(dial->GetCoolPanel()) != 0, c.cool) << "mode " << c.mode;
    }
    EXPECT_EQ(Ansi(dial->GetRoomLabel()->GetText()), "72\xB0");
}

TEST_F(ZoneControlsTest, StepsKeepTheOtherSetPointApartAndTheReleaseSendsOnlyTheOwnOne) {
    MakeZone(1, 1, 1, 0);
    SetStatus({});
    auto* dial = Make<CThermostatDial>(CZVRect(0, 0, 300, 120), *zone);
    CSetPointPanel* heat = dial->GetHeatPanel();
    CZVButton* up = heat->GetRocker()->GetSegment(1);
    Press(up);
    EXPECT_EQ(heat->GetValue(), 71);
    EXPECT_EQ(dial->GetCoolPanel()->GetValue(), 73);
    EXPECT_EQ(Ansi(dial->GetCoolPanel()->GetValueLabel()->GetText()), "73\xB0");
    EXPECT_EQ(dial->GetScale()->GetCool(), 73);

    // A status while the button is held leaves the panel as the user set it.
    dial->UpdateFromZone(*zone);
    EXPECT_EQ(heat->GetValue(), 71);

    Release(up);
    testsupport::Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SETHEATSETPOINT, &sent));
    EXPECT_EQ(sent.sender, 0);
    EXPECT_EQ(sent.payload, Bytes(PayloadWriter().Int(5).Int(71)));
    Flush();
    EXPECT_EQ(Asked(ZVM_HVAC_SETCOOLSETPOINT), 0);

    // Let go, the panel follows the status again.
    dial->UpdateFromZone(*zone);
    EXPECT_EQ(heat->GetValue(), 70);
}

TEST_F(ZoneControlsTest, StepsStayWithinTheLimitsAndAnUnknownSetPointIsNeitherSteppedNorSent) {
    MakeZone(1, 1, 1, 0);
    Status s;
    s.heat = 95;  // above the heating limit of 90
    s.cool = kNoClimateValue;
    SetStatus(s);
    auto* dial = Make<CThermostatDial>(CZVRect(0, 0, 300, 120), *zone);
    CSetPointPanel* cool = dial->GetCoolPanel();
    EXPECT_EQ(Ansi(cool->GetValueLabel()->GetText()), "");
    cool->OnCommand(CSetPointPanel::kDownId);
    EXPECT_EQ(cool->GetValue(), kNoClimateValue);
    cool->OnCommand(CSetPointPanel::kSendId);

    CSetPointPanel* heat = dial->GetHeatPanel();
    heat->OnCommand(CSetPointPanel::kUpId);
    EXPECT_EQ(heat->GetValue(), 90);
    Flush();
    EXPECT_EQ(Asked(ZVM_HVAC_SETCOOLSETPOINT), 0);
}

// ---- the options

TEST_F(ZoneControlsTest, TheModesOnOfferFollowTheZone) {
    struct Case {
        int heat, cool, capabilities, humidistat;
        std::vector<int> modes;
    } cases[] = {
        {1, 1, 0x01, 0, {kModeOff, kModeHeat, kModeCool, kModeAuto}},
        {1, 1, 0x03, 0, {kModeOff, kModeHeat, kModeCool, kModeAuto, kModeEmergencyHeat}},
        {1, 1, 0x00, 0, {kModeOff, kModeHeat, kModeCool}},
        {1, 1, 0x03, 1, {kModeOff, kModeCool}},
    };
    for (const Case& c : cases) {
        MakeZone(c.heat, c.cool, 0, c.capabilities, c.humidistat);
        std::vector<int> modes;
        for (const CHvacOption& entry : CHvacModePage::Entries(*zone)) modes.push_back(entry.value);
        EXPECT_EQ(modes, c.modes) << "capabilities " << c.capabilities << " humidistat " << c.humidistat;
    }
    MakeZone(1, 1, 1, 0x20);
    std::vector<std::string> texts;
    for (const CHvacOption& entry : CHvacFanPage::Entries(*zone)) texts.push_back(Ansi(entry.text));
    EXPECT_EQ(texts, (std::vector<std::string>{"Automatic", "Low", "Medium", "High"}));
}

TEST_F(ZoneControlsTest, TheFanPageSelectsTheFirstEntryOfTheModeAndHalvesAShortStrip) {
    MakeZone(1, 1, 1, 0x20);
    Status s;
    s.fan = 1;
    SetStatus(s);
    auto* speeds = Make<CHvacFanPage>(CZVRect(0, 0, 400, 80), *zone);
    EXPECT_EQ(speeds->GetRadio()->GetSelection(), 2);  // "Medium"
    EXPECT_EQ(speeds->GetRadio()->GetWidth(), 400);

    MakeZone(1, 1, 1, 0);
    SetStatus(s);
    auto* plain = Make<CHvacFanPage>(CZVRect(0, 0, 400, 80), *zone);
    EXPECT_EQ(plain->GetRadio()->GetSelection(), 1);  // "Continuous"
    EXPECT_EQ(plain->GetRadio()->GetWidth(), 200);
    plain->GetRadio()->Select(0, 0);
    plain->OnCommand(CHvacFanPage::kRadioId);
    testsupport::Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SETMODE, &sent));
    EXPECT_EQ(sent.payload, Bytes(PayloadWriter().Int(5).Int(kModeAuto).Int(0)));
}

TEST_F(ZoneControlsTest, AChoiceWithoutASelectionIsReportedAndSendsNoMode) {
    MakeZone(1, 1, 1, 0x01);
    SetStatus({});
    auto* modes = Make<CHvacModePage>(CZVRect(0, 0, 400, 80), *zone);
    EXPECT_EQ(modes->GetRadio()->GetSelection(), 3);
    modes->GetRadio()->Select(-1, 0);
    testsupport::AssertCounter asserts;
    modes->OnCommand(CHvacModePage::kRadioId);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "thvaczone");
    EXPECT_EQ(asserts.LastLine(), 216);
    Flush();
    EXPECT_EQ(Asked(ZVM_HVAC_SETMODE), 0);
}

TEST_F(ZoneControlsTest, TheRememberedTabNeedsAFanToShowTheFanPage) {
    MakeZone(1, 1, 1, 0);
    SetStatus({});
    auto* frame = Make<CHvacOptionFrame>(CZVRect(0, 0, 400, 140), 6, *zone);
    frame->OnCommand(CHvacOptionFrame::kFanTab);
    EXPECT_NE(dynamic_cast<CHvacFanPage*>(frame->GetOptionPage()), nullptr);
    EXPECT_EQ(CHvacOptionFrame::GetLastTab(), CHvacOptionFrame::kFanTab);

    MakeZone(1, 1, 0, 0);
    SetStatus({});
    auto* noFan = Make<CHvacOptionFrame>(CZVRect(0, 0, 400, 140), 6, *zone);
    EXPECT_NE(dynamic_cast<CHvacHoldPage*>(noFan->GetOptionPage()), nullptr);
    EXPECT_EQ(noFan->GetTabs()->GetTabCount(), 2);
    noFan->OnCommand(CHvacOptionFrame::kModeTab);

    // Not ready: the tabs and the page are disabled.
    Status s;
    s.mode = kModeNotReady;
    SetStatus(s);
    noFan->Update(0);
    EXPECT_EQ(noFan->GetTabs()->IsEnabled(), 0);
    frame->OnCommand(CHvacOptionFrame::kScheduleTab);  // leaves the schedule tab remembered
}

TEST_F(ZoneControlsTest, APressStepsTheHoldTenMinutesWithinItsBoundsAndTheReleaseSendsIt) {
    MakeZone(1, 1, 1, 0);
    struct Case {
        int seconds;
        int plus;
        int result;
    } cases[] = {{14000, 1, 14400}, {300, 0, 15}, {3600, 1, 3599 + 600}};  // a press comes a second later
    int sent = 0;
    for (const Case& c : cases) {
        Status s;
        s.hold = CHvacHoldPage::kTimedHold;
        s.holdSeconds = c.seconds;
        SetStatus(s);
        auto* hold = Make<CHvacHoldPage>(CZVRect(0, 0, 400, 80), *zone);
        CZVButton* segment = hold->GetRocker()->GetSegment(c.plus);
        Press(segment);
        EXPECT_EQ(zone->GetStatus().holdSeconds, c.result) << c.seconds;
        Release(segment);
        ASSERT_TRUE(PollUntil([&] { return Asked(ZVM_HVAC_SETTIMEDHOLD) == sent + 1; }));
        ++sent;
        EXPECT_EQ(LastRequest(ZVM_HVAC_SETTIMEDHOLD).payload, Bytes(PayloadWriter().Int(5).Int(c.result)));
    }
}

TEST_F(ZoneControlsTest, TheTimedHoldCountsDownAndStepsFromWhatIsLeft) {
    MakeZone(1, 1, 1, 0);
    Status s;
    s.hold = CHvacHoldPage::kTimedHold;
    s.holdSeconds = 3725;
    SetStatus(s);
    auto* hold = Make<CHvacHoldPage>(CZVRect(0, 0, 400, 80), *zone);
    CZVCheckButton* timed = hold->GetRadio()->GetOption(CHvacHoldPage::kTimedHold);
    EXPECT_EQ(hold->GetRadio()->GetSelection(), CHvacHoldPage::kTimedHold);
    EXPECT_EQ(Ansi(timed->GetText()), "Hold For\n1:02:05");
    EXPECT_EQ(hold->GetRocker()->GetSegment(1)->IsEnabled(), 1);
    clock.Advance(1000);
    hold->OnTimer();
    EXPECT_EQ(Ansi(timed->GetText()), "Hold For\n1:02:04");

    // Half an hour later, "+10" adds ten minutes to what is left.
    clock.Advance(1800 * 1000);
    hold->OnCommand(CHvacHoldPage::kPlusPressId);
    EXPECT_EQ(zone->GetStatus().holdSeconds, 3724 - 1800 + 600);
    EXPECT_EQ(Ansi(timed->GetText()), "Hold For\n0:42:04");

    // Long past its end the countdown stays at 0.
    clock.Advance(4 * 3600 * 1000);
    hold->OnTimer();
    EXPECT_EQ(Ansi(timed->GetText()), "Hold For\n0:00:00");

    s.hold = 1;
    SetStatus(s);
    hold->UpdateFromZone(0);
    EXPECT_EQ(Ansi(timed->GetText()), "Timed\nHold");
    EXPECT_EQ(hold->GetRocker()->GetSegment(1)->IsEnabled(), 0);
    hold->GetRadio()->Select(2, 0);
    hold->OnCommand(CHvacHoldPage::kRadioId);
    testsupport::Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_HVAC_SETHOLD, &sent));
    EXPECT_EQ(sent.payload, Bytes(PayloadWriter().Int(5).Int(2)));

    s.mode = kModeOff;
    SetStatus(s);
    hold->UpdateFromZone(0);
    EXPECT_EQ(hold->GetRadio()->IsEnabled(), 0);
    EXPECT_EQ(hold->GetRadio()->GetSelection(), -1);
}

}  // namespace
