// The pool page's Equipment tab: the tabs the equipment flags call for, the
// system status with its errors, delays and remotes, the chlorinator and the
// variable-speed pumps, each over a scripted gateway.
#include <gtest/gtest.h>

#include "pool_fixture.h"
#include "vistrel/home/pool/poolchlorinator.h"
#include "vistrel/home/pool/poolequipment.h"
#include "vistrel/home/pool/poolpump.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/gauges/bevelpanel.h"
#include "widgets/gauges/lampmeter.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

std::string Text(CZVWindow* window) { return window->GetText().GetAnsi(); }

// A touch in the middle of the button, a second after the one before.
void Press(testsupport::VirtualClock& clock, CZVWindow* button) {
    clock.Advance(1000);
    const int x = button->ToRootX(button->GetWidth() / 2);
    const int y = button->ToRootY(button->GetHeight() / 2);
    button->OnLButtonDown(x, y, 0);
    button->OnLButtonUp(x, y, 0);
}

bool Highlighted(CZVWindow* label) {
    return label->GetFaceColor() == CSetServer::Get()->GetSelectionColor() &&
           label->GetFaceColor() != label->GetParent()->GetFaceColor();
}

std::unique_ptr<CZVMSG> Errors(const std::vector<std::pair<int32_t, std::string>>& entries) {
    MsgBuilder answer(ZVM_POOL_GETERRORSA);
    answer.Int(static_cast<int32_t>(entries.size()));
    for (const auto& [flag, text] : entries) answer.Int(flag).String(text);
    return answer.Take();
}

std::vector<std::pair<int32_t, std::string>> NumberedErrors(int count, int flagged = -1) {
    std::vector<std::pair<int32_t, std::string>> entries;
    for (int i = 0; i < count; ++i) entries.emplace_back(i == flagged, "Error " + std::to_string(i + 1));
    return entries;
}

std::unique_ptr<CZVMSG> Chlorinator(int32_t installed, int32_t comms, int32_t pool, int32_t spa, int32_t salt,
                                    int32_t alarms, int32_t hours) {
    return MsgBuilder(ZVM_POOL_GETCHLORINATORA)
        .Int(installed)
        .Int(comms)
        .Int(pool)
        .Int(spa)
        .Int(salt)
        .Int(alarms)
        .Int(hours)
        .Take();
}

CPumpStatus Pump(int32_t running, int32_t rpm, int32_t alarms, int32_t gpm, int32_t filter,
                 std::vector<CPumpPreset> presets) {
    CPumpStatus status;
    status.running = running;
    status.watts = 1150;
    status.rpm = rpm;
    status.alarms = alarms;
    status.gpm = gpm;
    status.filter = filter;
    for (size_t i = 0; i < presets.size(); ++i) status.presets[i] = presets[i];
    return status;
}

std::unique_ptr<CZVMSG> PumpAnswer(const CPumpStatus& status) {
    MsgBuilder answer(ZVM_POOL_GETPUMPA);
    answer.Int(status.running).Int(status.watts).Int(status.rpm).Int(status.alarms).Int(status.gpm).Int(status.filter);
    for (const CPumpPreset& preset : status.presets) answer.Int(preset.deviceId).Int(preset.value);
    return answer.Take();
}

ConfigFixture Equipped(uint32_t flags) {
    ConfigFixture config;
    config.equipmentFlags = flags;
    return config;
}

class EquipmentTest : public pooltest::PoolTest {
protected:
    EquipmentTest() {
        // The sample house's errors and chlorinator unless a test queues others.
        link.Respond(ZVM_POOL_GETERRORSQ, [](CZVMSG&) { return Errors(NumberedErrors(5, 0)); });
        link.Respond(ZVM_POOL_GETCHLORINATORQ, [](CZVMSG&) { return Chlorinator(1, 1, 50, 20, 64, 0, 0); });
        link.Respond(ZVM_POOL_CANCELDELAYSQ, [](CZVMSG&) { return MsgBuilder(ZVM_POOL_CANCELDELAYSQ + 1).Take(); });
        link.Respond(ZVM_POOL_SETREMOTESENABLEDQ,
                     [](CZVMSG&) { return MsgBuilder(ZVM_POOL_SETREMOTESENABLEDQ + 1).Take(); });
    }
    size_t AskedOf(uint16_t id) const {
        size_t count = 0;
        for (const AskedRequest& request : link.asked) count += request.message->GetId() == id;
        return count;
    }
    CZVRect Area() { return window->GetPageArea(); }

    StatusFixture status;
};

// ---- the tabs

TEST_F(EquipmentTest, TheEquipmentFlagsNameTheTabs) {
    struct Case {
        uint32_t flags;
        std::vector<std::pair<int, std::string>> tabs;
    };
    const Case cases[] = {
        {0x2, {{1000, "System\nStatus"}}},
        {0x54, {{1000, "System\nStatus"}, {1001, "Chlorinator"}, {1002, "Vortana #1\nPool"}, {1004, "Vortana #3\n"}}},
        {0x20, {{1000, "System\nStatus"}, {1003, "Vortana\nSpa"}}},
        {0x800, {{1000, "System\nStatus"}, {1009, "Vortana\nVX900"}}},
    };
    for (const Case& c : cases) {
        auto model = Model(Equipped(c.flags));
        std::vector<std::pair<int, std::string>> tabs;
        for (const CSystemStatusPage::Tab& tab : CSystemStatusPage::TabsFor(*model))
            tabs.emplace_back(tab.id, tab.caption);
        EXPECT_EQ(tabs, c.tabs) << std::hex << c.flags;
        auto* page = Adopt(new CSystemStatusPage(window.get(), Area(), model.get(), server));
        EXPECT_EQ(page->GetTabColumn()->GetTabs()->GetTabCount(), static_cast<int>(c.tabs.size()));
        EXPECT_NE(dynamic_cast<CSystemDelaysPage*>(page->GetContent()), nullptr);
        window->RemoveChild(page);
        delete page;
    }
}

TEST_F(EquipmentTest, ATabPressBuildsItsPageAndAsksThePoolStatusAgain) {
    auto model = Model(Equipped(0x34), &status);
    auto* page = Adopt(new CSystemStatusPage(window.get(), Area(), model.get(), server));
    page->OnCommand(CSystemStatusPage::kChlorinatorTab);
    EXPECT_NE(dynamic_cast<CChlorinatorPage*>(page->GetContent()), nullptr);
    page->OnCommand(1003);
    auto* pump = dynamic_cast<CPumpPage*>(page->GetContent());
    ASSERT_NE(pump, nullptr);
    EXPECT_EQ(pump->GetPump(), 1);
    // A pump the controller lacks builds nothing.
    page->OnCommand(1005);
    EXPECT_EQ(page->GetContent(), pump);
    EXPECT_EQ(page->GetSelectedTab(), 1003);
    window->RemoveChild(page);
    delete page;
}

TEST_F(EquipmentTest, CancelDelaysAndEnableLeaveTheSelectedTab) {
    auto model = Model(Equipped(0x34), &status);
    auto* page = Adopt(new CSystemStatusPage(window.get(), Area(), model.get(), server));
    auto* delays = dynamic_cast<CSystemDelaysPage*>(page->GetContent());
    ASSERT_NE(delays, nullptr);
    CZVButton* cancel = nullptr;
    for (ZVPOSITION pos = delays->GetChildren().GetHeadPosition(); pos && !cancel;) {
        auto* panel = static_cast<CZVWindow*>(delays->GetChildren().GetNext(pos));
        for (ZVPOSITION inner = panel->GetChildren().GetHeadPosition(); inner;) {
            auto* button = dynamic_cast<CZVButton*>(static_cast<CZVWindow*>(panel->GetChildren().GetNext(inner)));
            if (button && button->GetCommandId() == CSystemDelaysPage::kCancelDelaysId) cancel = button;
        }
    }
    ASSERT_NE(cancel, nullptr);
    Press(clock, cancel);
    Press(clock, delays->GetEnableButton());
    EXPECT_EQ(page->GetContent(), delays);
    EXPECT_EQ(page->GetSelectedTab(), CSystemStatusPage::kStatusTab);
    EXPECT_EQ(AskedOf(ZVM_POOL_CANCELDELAYSQ), 1u);
    EXPECT_EQ(AskedOf(ZVM_POOL_SETREMOTESENABLEDQ), 1u);
    window->RemoveChild(page);
    delete page;
}

// ---- the system status

TEST_F(EquipmentTest, AllButTheLastThreeErrorsShowInTwoColumnsFilledColumnFirst) {
    struct Case {
        int entries;
        int labels;
        int rows;
    };
    for (const Case c : {Case{0, 0, 0}, Case{3, 3, 2}, Case{4, 1, 1}, Case{7, 4, 2}}) {
        link.Answer(ZVM_POOL_GETERRORSQ, Errors(NumberedErrors(c.entries)));
        auto model = Model(ConfigFixture(), &status);
        auto* page = Adopt(new CSystemDelaysPage(window.get(), Area(), model.get()));
        ASSERT_EQ(page->GetErrorCount(), c.labels) << c.entries;
        for (int i = 0; i < c.labels; ++i) {
            CZVLabel* label = page->GetErrorLabel(i);
            EXPECT_EQ(Text(label), "Error " + std::to_string(i + 1));
            CZVLabel* columnHead = page->GetErrorLabel(i / c.rows * c.rows);
            EXPECT_EQ(label->GetX(), columnHead->GetX()) << c.entries << " " << i;
            EXPECT_EQ(label->GetY() > columnHead->GetY(), i % c.rows != 0) << c.entries << " " << i;
        }
        if (c.labels > c.rows) EXPECT_GT(page->GetErrorLabel(c.rows)->GetX(), page->GetErrorLabel(0)->GetX());
        window->RemoveChild(page);
        delete page;
    }
}

TEST_F(EquipmentTest, AnswersWithTheSameCountOnlyChangeTheHighlights) {
    link.Answer(ZVM_POOL_GETERRORSQ, Errors(NumberedErrors(5, 0)));
    auto model = Model(ConfigFixture(), &status);
    auto* page = Adopt(new CSystemDelaysPage(window.get(), Area(), model.get()));
    ASSERT_EQ(page->GetErrorCount(), 2);
    CZVLabel* first = page->GetErrorLabel(0);
    EXPECT_TRUE(Highlighted(first));
    EXPECT_FALSE(Highlighted(page->GetErrorLabel(1)));

    page->ShowErrors({{0, "Other"}, {1, "Texts"}, {0, ""}, {0, ""}, {0, ""}}, 0);
    EXPECT_EQ(page->GetErrorLabel(0), first);
    EXPECT_EQ(Text(first), "Error 1");
    EXPECT_FALSE(Highlighted(first));
    EXPECT_TRUE(Highlighted(page->GetErrorLabel(1)));
    window->RemoveChild(page);
    delete page;
}

TEST_F(EquipmentTest, TheStatusLightsTheDelaysAndEnableSwapsTheChecksAtOnce) {
    status.flags = {0, 0, 1, 1};  // remotes off; spa off and cleaner delays
    auto model = Model(ConfigFixture(), &status);
    auto* page = Adopt(new CSystemDelaysPage(window.get(), Area(), model.get()));
    EXPECT_EQ((std::vector<bool>{Highlighted(page->GetDelayLabel(0)), Highlighted(page->GetDelayLabel(1)),
                                 Highlighted(page->GetDelayLabel(2))}),
              (std::vector<bool>{true, false, true}));  // cleaner, pool off, spa off
    EXPECT_TRUE(page->GetDisableButton()->GetCheck());
    EXPECT_FALSE(page->GetEnableButton()->GetCheck());

    Press(clock, page->GetEnableButton());
    EXPECT_FALSE(page->GetDisableButton()->GetCheck());
    EXPECT_TRUE(page->GetEnableButton()->GetCheck());
    ASSERT_EQ(AskedOf(ZVM_POOL_SETREMOTESENABLEDQ), 1u);
    EXPECT_EQ(IntsOf(*link.asked.back().message), (std::vector<int32_t>{0, 1}));
    window->RemoveChild(page);
    delete page;
}

TEST_F(EquipmentTest, AnUnansweredErrorQueryWaitsAMinuteBeforeTheNext) {
    auto model = Model(ConfigFixture(), &status);
    auto* page = Adopt(new CSystemDelaysPage(window.get(), Area(), model.get()));
    EXPECT_EQ(AskedOf(ZVM_POOL_GETERRORSQ), 1u);
    clock.Advance(1000);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETERRORSQ), 2u);

    link.Respond(ZVM_POOL_GETERRORSQ, [](CZVMSG&) { return nullptr; });
    clock.Advance(1000);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETERRORSQ), 3u);
    for (int second = 1; second < 60; ++second) {
        clock.Advance(1000);
        page->OnTimer();
    }
    EXPECT_EQ(AskedOf(ZVM_POOL_GETERRORSQ), 3u);
    clock.Advance(1000);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETERRORSQ), 4u);
    window->RemoveChild(page);
    delete page;
}

TEST_F(EquipmentTest, PictureOfTheSystemStatus) {
    auto model = Model(Equipped(0x36), &status);
    auto* page = Adopt(new CSystemStatusPage(window.get(), Area(), model.get(), server));
    page->OnStatusUpdate();
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_system_status"));
    window->RemoveChild(page);
    delete page;
}

// ---- the chlorinator

class ChlorinatorTest : public EquipmentTest {
protected:
    CChlorinatorPage* Build() {
        model = Model(ConfigFixture(), &status);
        page = Adopt(new CChlorinatorPage(window.get(), Area(), model.get()));
        return page;
    }
    ~ChlorinatorTest() override {
        if (!page) return;
        window->RemoveChild(page);
        delete page;
    }
    // Holds the arrow for the repeats, then lets it go.
    void Hold(CZV3DButton* arrow, int ticks) {
        const int x = arrow->ToRootX(arrow->GetWidth() / 2);
        const int y = arrow->ToRootY(arrow->GetHeight() / 2);
        clock.Advance(1000);
        arrow->OnLButtonDown(x, y, 0);
        for (int i = 0; i < ticks; ++i) {
            clock.Advance(300);
            arrow->OnTimer();
        }
        arrow->OnLButtonUp(x, y, 0);
    }

    std::unique_ptr<CBasinSetup> model;
    CChlorinatorPage* page = nullptr;
};

TEST_F(ChlorinatorTest, TheSaltLevelFindsItsRangeAtTheBoundaries) {
    struct Case {
        int32_t value;
        COLORREF colour;
        int level;
    };
    Build();
    for (const Case c :
         {Case{45, 0x0000FF, 16}, Case{46, 0x00C8FF, 17}, Case{84, 0x00FF00, 85}, Case{85, 0x64FF64, 87}}) {
        const int ppm = c.value * CChlorinatorPage::kSaltUnit;
        EXPECT_EQ(CChlorinatorPage::SaltRangeOf(ppm).colour, c.colour) << c.value;
        page->ShowStatus({1, 1, 50, 20, c.value, 0, 0}, 0);
        EXPECT_EQ(page->GetSaltBar()->GetLevel(), c.level) << c.value;
        EXPECT_EQ(Text(page->GetSaltBar()), "Salt Level: " + std::to_string(ppm) + " ppm");
    }
}

TEST_F(ChlorinatorTest, TheFirstTickPollsThenEveryFiveSecondsSinceThePollOrACommand) {
    Build();
    EXPECT_EQ(Text(page->GetStatusText()), "Please Wait...");
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 0u);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 1u);
    EXPECT_EQ(Text(page->GetStatusText()), "Communications OK");
    EXPECT_EQ(Text(page->GetPoolOutput()), "50 %");
    EXPECT_EQ(Text(page->GetSpaOutput()), "20 %");
    clock.Advance(4000);
    page->OnChildCommand(CChlorinatorPage::kPoolUpId, 1);  // restamps
    clock.Advance(4000);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 1u);
    clock.Advance(1000);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 2u);
}

TEST_F(ChlorinatorTest, WhatTheAnswerSaysIsShown) {
    Build();
    page->ShowStatus({1, 1, 30, 10, 60, 0x21, 0}, 0);
    EXPECT_TRUE(Highlighted(page->GetAlarm(0)));
    EXPECT_FALSE(Highlighted(page->GetAlarm(1)));
    EXPECT_TRUE(Highlighted(page->GetAlarm(5)));
    page->ShowStatus({1, 0, 30, 10, 60, 0, 5}, 0);
    EXPECT_EQ(Text(page->GetStatusText()), "Communications Error");
    EXPECT_EQ(Text(page->GetPoolOutput()), "0 %");
    EXPECT_EQ(Text(page->GetSaltBar()), "Salt Level: 0 ppm");
    EXPECT_EQ(Text(page->GetHoursText()), "Off");
    page->ShowStatus({0, 1, 30, 10, 60, 0, 0}, 0);
    EXPECT_EQ(Text(page->GetStatusText()), "Not Installed");
    EXPECT_FALSE(page->GetOutputPanel()->IsEnabled());
    page->ShowStatus({1, 1, 30, 10, 60, 0, 0}, 0);
    EXPECT_TRUE(page->GetOutputPanel()->IsEnabled());
}

TEST_F(ChlorinatorTest, StartSendsTheChosenHoursAndStopSendsNone) {
    Build();
    page->OnTimer();
    page->OnChildCommand(CChlorinatorPage::kHoursUpId, 24);
    EXPECT_EQ(page->GetChosenHours(), 24);
    Press(clock, page->GetStartButton());
    ASSERT_EQ(Sent(ZVM_POOL_SETCHLORINATOR).size(), 1u);
    EXPECT_EQ(Sent(ZVM_POOL_SETCHLORINATOR)[0], (std::vector<int32_t>{0, 50, 20, 1, 24}));
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 2u);  // at once

    page->ShowStatus({1, 1, 50, 20, 64, 0, 23}, 0);
    EXPECT_TRUE(page->GetStopButton()->IsEnabled());
    EXPECT_FALSE(page->GetStartButton()->IsEnabled());
    Press(clock, page->GetStopButton());
    ASSERT_EQ(Sent(ZVM_POOL_SETCHLORINATOR).size(), 2u);
    EXPECT_EQ(Sent(ZVM_POOL_SETCHLORINATOR)[1], (std::vector<int32_t>{0, 50, 20, 1, 0}));
}

TEST_F(ChlorinatorTest, APollThatReportsItOffKeepsTheChosenDuration) {
    Build();
    EXPECT_FALSE(page->GetStartButton()->IsEnabled());  // "Off" cannot be started
    page->OnChildCommand(CChlorinatorPage::kHoursUpId, 1);
    EXPECT_EQ(page->GetChosenHours(), 1);
    page->OnChildCommand(CChlorinatorPage::kHoursUpId, 11);
    page->OnTimer();  // reports 0 hours
    EXPECT_EQ(page->GetChosenHours(), 12);
    EXPECT_TRUE(page->GetStartButton()->IsEnabled());
    EXPECT_FALSE(page->GetStopButton()->IsEnabled());
    Press(clock, page->GetStartButton());
    ASSERT_EQ(Sent(ZVM_POOL_SETCHLORINATOR).size(), 1u);
    EXPECT_EQ(Sent(ZVM_POOL_SETCHLORINATOR)[0][3], 1);
    EXPECT_EQ(Sent(ZVM_POOL_SETCHLORINATOR)[0][4], 12);
    page->OnChildCommand(CChlorinatorPage::kHoursUpId, 200);
    EXPECT_EQ(page->GetChosenHours(), CChlorinatorPage::kMaxHours);
    page->OnChildCommand(CChlorinatorPage::kHoursDownId, 200);
    EXPECT_EQ(page->GetChosenHours(), 1);
}

TEST_F(ChlorinatorTest, AHeldArrowStepsByItsRepeatsAndSendsOnceOnRelease) {
    Build();
    page->OnTimer();
    Hold(page->GetArrow(CChlorinatorPage::kPoolUpId), 4);
    const int level = page->GetPoolOutput()->GetLevel();
    EXPECT_GT(level, 51);
    ASSERT_EQ(Sent(ZVM_POOL_SETCHLORINATOR).size(), 1u);
    EXPECT_EQ(Sent(ZVM_POOL_SETCHLORINATOR)[0], (std::vector<int32_t>{0, level, 20, 0, 0}));
    page->OnChildCommand(CChlorinatorPage::kSpaDownId, 50);
    EXPECT_EQ(page->GetSpaOutput()->GetLevel(), 0);
}

TEST_F(ChlorinatorTest, TheDurationShowsBareNumbersOnlyInANarrowLabel) {
    EXPECT_EQ(CChlorinatorPage::HoursText(0, 100), "Off");
    EXPECT_EQ(CChlorinatorPage::HoursText(1, 40), "1 Hour");
    EXPECT_EQ(CChlorinatorPage::HoursText(12, 40), "12 Hours");
    EXPECT_EQ(CChlorinatorPage::HoursText(12, 39), "12");
    EXPECT_EQ(CChlorinatorPage::HoursText(0, 39), "Off");
}

TEST_F(ChlorinatorTest, AGatewayThatSwallowsTheQueryIsAskedAgainOnlyAfterAMinute) {
    link.Respond(ZVM_POOL_GETCHLORINATORQ, [](CZVMSG&) { return nullptr; });
    Build();
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 1u);
    EXPECT_EQ(Text(page->GetStatusText()), "Please Wait...");
    for (int second = 1; second < 60; ++second) {
        clock.Advance(1000);
        page->OnTimer();
    }
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 1u);
    // Meanwhile the page takes touches at once.
    page->OnChildCommand(CChlorinatorPage::kHoursUpId, 2);
    EXPECT_EQ(Text(page->GetHoursText()), "2 Hours");
    clock.Advance(60000);
    link.Respond(ZVM_POOL_GETCHLORINATORQ, [](CZVMSG&) { return Chlorinator(1, 1, 50, 20, 64, 0, 0); });
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 2u);
    EXPECT_EQ(Text(page->GetStatusText()), "Communications OK");
    clock.Advance(5000);
    page->OnTimer();
    EXPECT_EQ(AskedOf(ZVM_POOL_GETCHLORINATORQ), 3u);
}

TEST_F(ChlorinatorTest, PictureOfTheChlorinator) {
    Build();
    page->OnTimer();
    page->OnChildCommand(CChlorinatorPage::kHoursUpId, 24);
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_chlorinator"));
}

// ---- the pumps

class PumpTest : public EquipmentTest {
protected:
    CPumpPage* Build(int pump = 0, ConfigFixture config = ConfigFixture()) {
        model = Model(config, &status);
        page = Adopt(new CPumpPage(window.get(), Area(), pump, model.get(), server));
        return page;
    }
    ~PumpTest() override {
        if (!page) return;
        window->RemoveChild(page);
        delete page;
    }
    void Answer(const CPumpStatus& pump) { page->OnMessage(PumpAnswer(pump).get()); }

    std::unique_ptr<CBasinSetup> model;
    CPumpPage* page = nullptr;
};

TEST_F(PumpTest, NoFlowReadingMeansSpeedPresets) {
    Build();
    Answer(Pump(1, 2450, 0, 45, 70, {{6, 40}, {1, 55}}));
    EXPECT_FALSE(page->IsRpmMode());
    EXPECT_EQ(Text(page->GetPresetLabel(0)), "40 GPM");
    EXPECT_EQ(Text(page->GetGpm()), "45");
    EXPECT_EQ(Text(page->GetFilterText()), "70 %");
    EXPECT_EQ(page->GetFilterGauge()->GetValue(), 25);

    Answer(Pump(1, 3000, 0, CPumpStatus::kNoFlow, 20, {{6, 2000}, {1, 3000}}));
    EXPECT_TRUE(page->IsRpmMode());
    EXPECT_EQ(Text(page->GetPresetLabel(1)), "3000 RPM");
    EXPECT_EQ(Text(page->GetGpm()), "--");
    EXPECT_EQ(Text(page->GetFilterText()), "70 %");  // untouched
    EXPECT_EQ(page->GetFilterGauge()->GetValue(), 25);
}

TEST_F(PumpTest, StepsStayWithinTheModesLimits) {
    EXPECT_EQ(CPumpPage::StepPreset(3440, 2, 1), 3450);
    EXPECT_EQ(CPumpPage::StepPreset(400, -1, 1), 400);
    EXPECT_EQ(CPumpPage::StepPreset(1000, 3, 1), 1030);
    EXPECT_EQ(CPumpPage::StepPreset(16, -3, 0), 15);
    EXPECT_EQ(CPumpPage::StepPreset(129, 5, 0), 130);

    Build();
    Answer(Pump(1, 3000, 0, CPumpStatus::kNoFlow, 0, {{6, 3440}}));
    page->OnChildCommand(CPumpPage::kUpId, 2);
    EXPECT_EQ(page->GetPresetValue(0), 3450);
    EXPECT_EQ(Text(page->GetPresetLabel(0)), "3450 RPM");
    page->OnChildCommand(CPumpPage::kReleaseId, 1);
    ASSERT_EQ(Sent(ZVM_POOL_SETPUMPSPEED).size(), 1u);
    EXPECT_EQ(Sent(ZVM_POOL_SETPUMPSPEED)[0], (std::vector<int32_t>{0, 0, 0, 3450}));
}

TEST_F(PumpTest, AtLeastFourPresetRowsBuiltFromTheFirstAnswerThatListsACircuit) {
    struct Case {
        std::vector<CPumpPreset> presets;
        int rows;
    };
    const Case cases[] = {
        {{{6, 40}, {0, 0}, {1, 50}, {2, 60}}, 4},
        {{{6, 40}, {1, 50}, {2, 60}, {3, 70}, {41, 80}}, 5},
    };
    for (const Case& c : cases) {
        Build();
        Answer(Pump(1, 2000, 0, 40, 50, {}));
        EXPECT_EQ(page->GetRowCount(), 0);
        Answer(Pump(1, 2000, 0, 40, 50, c.presets));
        EXPECT_EQ(page->GetRowCount(), c.rows);
        EXPECT_EQ(page->GetPresetLabel(1) != nullptr, c.presets[1].deviceId != 0);
        // Device 41 names no circuit: its button cannot be pressed.
        if (c.presets.size() > 4) EXPECT_FALSE(page->GetCircuitButton(4)->IsEnabled());
        EXPECT_EQ(Text(page->GetCircuitButton(0)), "Pool");
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
}

TEST_F(PumpTest, RunningFollowsTheSpeedUnlessAnAlarmStands) {
    struct Case {
        int32_t running;
        int32_t rpm;
        int32_t alarms;
        bool on;
        bool off;
    };
    Build();
    for (const Case c : {Case{1, 0, 0, true, false}, Case{0, 2000, 0, false, true}, Case{2, 1200, 0, true, false},
                         Case{2, 0, 0, false, true}, Case{2, 1200, 0x8000, false, false}}) {
        Answer(Pump(c.running, c.rpm, c.alarms, 40, 50, {{6, 40}}));
        EXPECT_EQ(Highlighted(page->GetPumpOn()), c.on) << c.running << " " << c.rpm << " " << c.alarms;
        EXPECT_EQ(Highlighted(page->GetPumpOff()), c.off) << c.running << " " << c.rpm << " " << c.alarms;
    }
    EXPECT_TRUE(Highlighted(page->GetAlarm(9)));
    EXPECT_FALSE(Highlighted(page->GetAlarm(0)));
}

TEST_F(PumpTest, TheFilterLightsItsShareOfTheLamps) {
    EXPECT_EQ(CPumpPage::LitLamps(50), 18);
    EXPECT_EQ(CPumpPage::LitLamps(0), 0);
    EXPECT_EQ(CPumpPage::LitLamps(100), 35);
    EXPECT_EQ(CPumpPage::LitLamps(1), 1);
    int lamps = 0;
    for (int count : CPumpPage::kLampGroups) lamps += count;
    EXPECT_EQ(lamps, CPumpPage::kLamps);
}

TEST_F(PumpTest, AnswersWaitWhileAnArrowIsHeldUntilReleaseHidingOrThreeSeconds) {
    Build();
    Answer(Pump(1, 2000, 0, 40, 50, {{6, 40}}));
    page->OnChildCommand(CPumpPage::kUpId, 5);
    EXPECT_TRUE(page->IsEditing());
    Answer(Pump(1, 2000, 0, 40, 50, {{6, 60}}));
    EXPECT_EQ(page->GetPresetValue(0), 45);

    page->Show(0, 0);  // the idle screen came while the arrow was held
    EXPECT_FALSE(page->IsEditing());
    page->Show(1, 0);
    Answer(Pump(1, 2000, 0, 40, 50, {{6, 60}}));
    EXPECT_EQ(page->GetPresetValue(0), 60);

    page->OnChildCommand(CPumpPage::kDownId, 1);
    clock.Advance(2999);
    Answer(Pump(1, 2000, 0, 40, 50, {{6, 70}}));
    EXPECT_EQ(page->GetPresetValue(0), 59);
    clock.Advance(1);
    Answer(Pump(1, 2000, 0, 40, 50, {{6, 70}}));
    EXPECT_EQ(page->GetPresetValue(0), 70);
    EXPECT_FALSE(page->IsEditing());
}

TEST_F(PumpTest, AnswersWaitForAReadyModel) {
    status.link = 2;
    Build();
    Answer(Pump(1, 2000, 0, 40, 50, {{6, 40}}));
    EXPECT_EQ(page->GetRowCount(), 0);
}

TEST_F(PumpTest, PicturesOfAFlowAndASpeedControlledPump) {
    Build();
    Answer(Pump(1, 2450, 0, 45, 70, {{6, 40}, {1, 55}}));
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_pump_flow"));
    window->RemoveChild(page);
    delete page;
    Build(1);
    Answer(Pump(1, 3000, 0x10, CPumpStatus::kNoFlow, 0, {{6, 2000}, {41, 3000}}));
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(*window->GetScreen()), "pool_pump_speed"));
}

}  // namespace
