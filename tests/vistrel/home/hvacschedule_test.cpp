// The schedule editor of a climate zone: the texts of a period, the steps of
// a period panel with their limits, the day graph's range, and the page with
// its chooser against the sample house, whose gateway keeps what is stored.
#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "core/messages/toolkitmessages.h"
#include "support/assert_counter.h"
#include "vistrel/home/climate/dayparts.h"
#include "vistrel/home/climate/hvacschedule.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

using climatetest::Ansi;
using climatetest::ClimateTest;
using climatetest::Message;
using climatetest::PayloadWriter;

struct Period {
    int time, cool, heat, fan;
};

CMaskRecord Day(std::initializer_list<Period> periods) {
    CMaskRecord day;
    day.mask = 0x7F;
    int p = 0;
    for (const Period& period : periods) {
        SetPeriod(day, DayField::kTime, p, period.time);
        SetPeriod(day, DayField::kCool, p, period.cool);
        SetPeriod(day, DayField::kHeat, p, period.heat);
        SetPeriod(day, DayField::kFan, p, period.fan);
        ++p;
    }
    return day;
}

TEST(PeriodTexts, TimesFanModesAndNames) {
    struct Time {
        int minutes;
        const char* text;
    } times[] = {{750, "12:30  PM"}, {0, "12:00  AM"}, {59, "12:59  AM"}, {780, "1:00  PM"}, {1425, "11:45  PM"}};
    for (const Time& t : times) EXPECT_EQ(Ansi(FormatPeriodTime(t.minutes)), t.text) << t.minutes;
    struct Fan {
        int mode, capabilities;
        const char* text;
    } fans[] = {{0, 0, "AUTO"}, {1, 0, "ON"}, {1, kZoneFanSpeeds, "MED"}, {3, 0, "HIGH"}, {4, 0, "LOW"},
                {2, 0, "--"},   {-1, 0, "--"}};
    for (const Fan& f : fans) EXPECT_EQ(Ansi(FormatFanMode(f.mode, f.capabilities)), f.text) << f.mode;
    EXPECT_EQ(Ansi(PeriodName(1, 0)), "All");
    EXPECT_EQ(Ansi(PeriodName(3, 1)), "Evening");
    EXPECT_EQ(Ansi(PeriodName(4, 0)), "Morning");
    EXPECT_EQ(Ansi(PeriodName(5, 0)), "");
}

TEST(PgmGraphRange, SpansTheSetPointsWithRoomForLabelsAndNeverDividesByZero) {
    const CMaskRecord day = Day({{0, 85, 50, 0}, {720, 104, 60, 0}});
    int low = 0, high = 0;
    // 50..104, widened by 15 x 54 / (100 - 28 - 1) = 11 on each side.
    CHvacPgmGraph::ValueRange(day, 2, 0, 100, 14, &low, &high);
    EXPECT_EQ(low, 39);
    EXPECT_EQ(high, 115);
    // Without periods: 72 held to 55..100; in Celsius the top is at least 35.
    CHvacPgmGraph::ValueRange(day, 0, 0, 100, 14, &low, &high);
    EXPECT_EQ(high - low, 45 + 2 * (15 * 45 / 71));
    CHvacPgmGraph::ValueRange(Day({{0, 24, 20, 0}}), 1, 1, 100, 14, &low, &high);
    EXPECT_EQ(high, 35 + 15 * (35 - 20) / 71);
    // A plot no higher than two labels is not widened (it divided by zero or less).
    for (int height : {29, 28, 10, 0}) {
        CHvacPgmGraph::ValueRange(day, 2, 0, height, 14, &low, &high);
        EXPECT_EQ(low, 50) << height;
        EXPECT_EQ(high, 104) << height;
    }
}

class PeriodPanelTest : public ClimateTest {
protected:
    // The panels of the day, in a selector of the test window.
    CDayPartSelector* Editor(CMaskRecord& day, int periods, CPeriodOptions options = {}) {
        auto* editor = new CDayPartSelector(window.get(), CZVRect(0, 0, 500, 300), &server, day, periods, options);
        window->AddChild(editor);
        return editor;
    }
    static int Start(CMaskRecord& day, int p) { return GetPeriod(day, DayField::kTime, p); }
};

TEST_F(PeriodPanelTest, AStartMovesOnlyWhileItsPeriodsStayLongerThanAnHour) {
    struct Case {
        int previous;  // the start of the last period, before midnight
        int command;
        int expected;  // period 0's start after the step
    } cases[] = {
        {1365, CThermostatPage::kEarlierId, 1425},  // a gap of 75 minutes: 0 wraps to 1425
        {1380, CThermostatPage::kEarlierId, 0},     // a gap of 60: refused
        {1380, CThermostatPage::kLaterId, 15},      // the next period starts at 480
    };
    for (const Case& c : cases) {
        CMaskRecord day = Day({{0, 80, 70, 0}, {480, 80, 70, 0}, {c.previous, 80, 70, 0}});
        CDayPartSelector* editor = Editor(day, 3);
        editor->GetPanels()[0]->OnCommand(c.command);
        EXPECT_EQ(Start(day, 0), c.expected) << c.previous << " " << c.command;
        EXPECT_EQ(editor->IsChanged(), c.expected != 0) << "a refused step changes nothing";
    }
    // Later wraps past midnight.
    CMaskRecord day = Day({{600, 80, 70, 0}, {1425, 80, 70, 0}});
    Editor(day, 2)->GetPanels()[1]->OnCommand(CThermostatPage::kLaterId);
    EXPECT_EQ(Start(day, 1), 0);
}

TEST_F(PeriodPanelTest, SetPointsKeepTheirGapAndTheirLimitsWithOrWithoutTheOtherRow) {
    struct Case {
        int cool, heat, hasHeat, hasCool, command;
        int coolAfter, heatAfter;
    } cases[] = {
        {78, 76, 1, 1, CThermostatPage::kCoolDownId, 78, 76},  // 78 is not above 76 + 2
        {79, 76, 1, 1, CThermostatPage::kCoolDownId, 78, 76},
        {76, 74, 1, 1, CThermostatPage::kHeatUpId, 76, 74},  // 74 is not below 76 - 2
        {90, 70, 1, 1, CThermostatPage::kCoolUpId, 90, 70},
        {80, 40, 1, 1, CThermostatPage::kHeatDownId, 80, 40},
        // Without the other row the far limit still holds: the byte never wraps.
        {40, 0, 0, 1, CThermostatPage::kCoolDownId, 40, 0},
        {41, 0, 0, 1, CThermostatPage::kCoolDownId, 40, 0},
        {0, 90, 1, 0, CThermostatPage::kHeatUpId, 0, 90},
        {0, 89, 1, 0, CThermostatPage::kHeatUpId, 0, 90},
    };
    for (const Case& c : cases) {
        CMaskRecord day = Day({{0, c.cool, c.heat, 0}});
        CPeriodOptions options;
        options.hasHeat = c.hasHeat;
        options.hasCool = c.hasCool;
        Editor(day, 1, options)->GetPanels()[0]->OnCommand(c.command);
        EXPECT_EQ(GetPeriod(day, DayField::kCool, 0), c.coolAfter) << c.cool << "/" << c.heat << " " << c.command;
        EXPECT_EQ(GetPeriod(day, DayField::kHeat, 0), c.heatAfter) << c.cool << "/" << c.heat << " " << c.command;
    }
}

TEST_F(PeriodPanelTest, CelsiusLimitsAreTakenInFahrenheit) {
    ResetTemperatureUnit();
    gateway.Answer(ZVM_HVAC_GETOPTIONQ, PayloadWriter().Int(1));
    ASSERT_EQ(IsCelsius(&server), 1);
    CMaskRecord day = Day({{0, 26, 25, 0}});
    CThermostatPage* panel = Editor(day, 1)->GetPanels()[0];
    for (int command : {CThermostatPage::kCoolDownId, CThermostatPage::kHeatUpId}) panel->OnCommand(command);
    EXPECT_EQ(GetPeriod(day, DayField::kCool, 0), 26) << "F(26) = 78 is not above F(25) + 2 = 78";
    EXPECT_EQ(GetPeriod(day, DayField::kHeat, 0), 25) << "F(25) = 76 is not below F(26) - 2 = 76";
    SetPeriod(day, DayField::kHeat, 0, 5);
    panel->OnCommand(CThermostatPage::kHeatDownId);
    EXPECT_EQ(GetPeriod(day, DayField::kHeat, 0), 5) << "F(5) = 40";
}

TEST_F(PeriodPanelTest, TheFanCyclesThroughTheModesTheZoneHas) {
    struct Case {
        int capabilities, kind4, from, command;
        std::vector<int> steps;
    } cases[] = {
        {0, 0, 0, CThermostatPage::kFanNextId, {1, 2, 0}},
        {0, 0, 0, CThermostatPage::kFanPreviousId, {2, 1, 0}},
        {kZoneFanSpeeds, 0, 1, CThermostatPage::kFanNextId, {2, 3, 4, 0}},
        {0, 1, 1, CThermostatPage::kFanNextId, {0}},
        {kZoneFanSpeeds, 1, 1, CThermostatPage::kFanNextId, {3, 4, 0}},
        {kZoneFanSpeeds, 1, 3, CThermostatPage::kFanPreviousId, {1, 0, 4}},
    };
    for (const Case& c : cases) {
        if (c.kind4) {
            // A kind-4 gateway's style reply marks the style for good.
            CZVMSG reply(0, ZVM_UI_GETSETTINGSA);
            reply.WriteInt(4);
            reply.ResetPosition();
            ASSERT_EQ(CSetServer::Get()->ParseSettings(&reply), 1);
        }
        ASSERT_EQ(CSetServer::Get()->IsSpecial(), c.kind4);
        CMaskRecord day = Day({{0, 80, 70, c.from}});
        CPeriodOptions options;
        options.capabilities = c.capabilities;
        CThermostatPage* panel = Editor(day, 1, options)->GetPanels()[0];
        for (int expected : c.steps) {
            panel->OnCommand(c.command);
            EXPECT_EQ(GetPeriod(day, DayField::kFan, 0), expected) << "caps " << c.capabilities << " kind4 " << c.kind4;
        }
        EXPECT_EQ(Ansi(panel->GetFanLabel()->GetText()), Ansi(FormatFanMode(c.steps.back(), c.capabilities)));
    }
}

TEST_F(PeriodPanelTest, OnePeriodReadsAllWithoutATimeRowAndAFollowedScheduleHasNoRockers) {
    CMaskRecord day = Day({{0, 80, 70, 0}});
    CThermostatPage* all = Editor(day, 1)->GetPanels()[0];
    EXPECT_EQ(all->GetTimeLabel(), nullptr);
    EXPECT_EQ(all->GetRockers().size(), 3u) << "cool, heat and fan";
    CPeriodOptions followed;
    followed.followsShared = 1;
    CMaskRecord two = Day({{360, 80, 70, 0}, {1320, 82, 64, 0}});
    CDayPartSelector* editor = Editor(two, 2, followed);
    CThermostatPage* night = editor->GetPanels()[1];
    EXPECT_TRUE(night->GetRockers().empty());
    EXPECT_EQ(Ansi(night->GetTimeLabel()->GetText()), "10:00  PM");
    night->OnCommand(CThermostatPage::kCoolUpId);
    EXPECT_EQ(GetPeriod(two, DayField::kCool, 1), 82) << "read-only";
    EXPECT_EQ(editor->IsChanged(), 0);
}

TEST_F(PeriodPanelTest, AFifthPeriodHasNoColourAndIsReported) {
    CMaskRecord day = Day({{0, 80, 70, 0}, {300, 80, 70, 0}, {600, 80, 70, 0}, {900, 80, 70, 0}, {1200, 80, 70, 0}});
    CDayPartSelector* editor = Editor(day, 5);
    EXPECT_EQ(Ansi(editor->GetPanels()[4]->GetTimeLabel()->GetText()), "8:00  PM");
    testsupport::AssertCounter asserts;
    EXPECT_EQ(editor->GetGraph()->PeriodColour(4), 0xFFFFFFu);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "hvacpgmgraph");
    EXPECT_EQ(asserts.LastLine(), 349);
}

// ---- the page against the sample house

class SchedulePageTest : public ClimateTest {
protected:
    void SetUp() override {
        ClimateTest::SetUp();
        list = std::make_unique<CHvacZoneList>(server);
        ASSERT_TRUE(SettleUntil([&] { return list->GetCount() == 2; }));
    }
    void TearDown() override {
        pages.clear();
        ClimateTest::TearDown();
    }
    CThermostatZone& Zone(int id) {
        zones.push_back(std::make_unique<CThermostatZone>(&server, id, "", 0, 0));
        zones.back()->LoadInfo();
        zones.back()->LoadSchedules();
        return *zones.back();
    }
    CHvacSchedulePage* Page(CThermostatZone* zone, const CHvacZone* shared = nullptr) {
        auto* page = new CHvacSchedulePage(window.get(), CZVRect(0, 0, 600, 400), server, zone, shared, 0, *list);
        window->AddChild(page);
        page->Show(1, 0);
        pages.emplace_back(page, [this](CHvacSchedulePage* p) {
            window->RemoveChild(p);
            delete p;
        });
        return page;
    }
    void Close() { pages.clear(); }
    // What the gateway answers now for the zone's programs.
    int StoredCool(int zone, int period) {
        CThermostatZone fresh(&server, zone, "", 0, 0);
        fresh.LoadSchedules();
        return fresh.GetProgram(0) ? GetPeriod(*fresh.GetProgram(0)->GetAt(0), DayField::kCool, period) : -1;
    }

    std::unique_ptr<CHvacZoneList> list;
    std::vector<std::unique_ptr<CThermostatZone>> zones;
    std::vector<std::unique_ptr<CHvacSchedulePage, std::function<void(CHvacSchedulePage*)>>> pages;
};

TEST_F(SchedulePageTest, SubscribesAndSavesOnlyAfterAChangeWhichTheGatewayKeeps) {
    CThermostatZone& zone = Zone(1);
    CHvacSchedulePage* page = Page(&zone);
    EXPECT_EQ(Asked(ZVM_HVAC_SUBSCRIBEQ), 1);
    ASSERT_NE(page->GetChooser(), nullptr);
    EXPECT_EQ(Ansi(page->GetChooser()->GetNameLabel()->GetText()), "Individual");
    EXPECT_EQ(page->GetDayButtonCount(), 7);
    EXPECT_EQ(page->GetDayButton(4)->GetCheck(), 1);
    EXPECT_EQ(page->GetDayButton(5)->GetCheck(), 0);
    // Another day without a change saves nothing.
    page->OnCommand(CHvacSchedulePage::kFirstDayId + 5);
    EXPECT_EQ(CHvacSchedulePage::GetRememberedDay(), 5);
    EXPECT_EQ(page->GetDayButton(6)->GetCheck(), 1);
    page->OnCommand(CHvacSchedulePage::kFirstDayId + 0);
    EXPECT_EQ(Asked(ZVM_HVAC_SETSCHEDULEQ), 0);
    // The button past the last day is no day (it took one id too many).
    page->OnCommand(CHvacSchedulePage::kFirstDayId + 7);
    EXPECT_EQ(CHvacSchedulePage::GetRememberedDay(), 0);
    // A cooling step, then closing: the program goes back once.
    page->GetEditor()->GetPanels()[0]->OnCommand(CThermostatPage::kCoolUpId);
    Close();
    EXPECT_EQ(Asked(ZVM_HVAC_SETSCHEDULEQ), 1);
    EXPECT_TRUE(SettleUntil([&] { return Asked(ZVM_HVAC_UNSUBSCRIBE) == 1; }));
    EXPECT_EQ(StoredCool(1, 0), 79);
}

TEST_F(SchedulePageTest, PreviousFromIndividualFollowsTheLastScheduleReadOnly) {
    CThermostatZone& zone = Zone(1);
    CHvacSchedulePage* page = Page(&zone);
    page->OnCommand(CHvacSchedulePage::kFirstDayId + 5);  // Saturday
    page->GetChooser()->OnCommand(CThermostatScheduleWnd::kPreviousId);
    EXPECT_EQ(page->GetChooser()->GetCurrentId(), 8);
    EXPECT_EQ(Ansi(page->GetChooser()->GetNameLabel()->GetText()), "Weekend");
    EXPECT_EQ(Asked(ZVM_HVAC_SETZONEVALUEQ), 1);
    EXPECT_EQ(LastRequest(ZVM_HVAC_SETZONEVALUEQ).payload, climatetest::Bytes(PayloadWriter().Int(1).Int(8)));
    EXPECT_EQ(zone.GetSharedScheduleId(), 8);
    // The editor shows the remembered Saturday of "Weekend", read-only.
    EXPECT_EQ(page->GetProgram()->GetScheduleId(), 8);
    ASSERT_NE(page->GetEditor(), nullptr);
    EXPECT_TRUE(page->GetEditor()->GetPanels()[0]->GetRockers().empty());
    EXPECT_EQ(page->GetChooser()->GetSaveButton()->IsEnabled(), 1);
}

TEST_F(SchedulePageTest, SaveAsIndividualLeavesTheSharedScheduleAndReloads) {
    CThermostatZone& zone = Zone(2);  // follows "Vacation Saver"
    CHvacSchedulePage* page = Page(&zone);
    EXPECT_EQ(Ansi(page->GetChooser()->GetNameLabel()->GetText()), "Vacation Saver");
    const int loads = Asked(ZVM_HVAC_GETSCHEDULEQ);
    page->GetChooser()->OnCommand(CThermostatScheduleWnd::kSaveId);
    EXPECT_EQ(LastRequest(ZVM_HVAC_CLEARZONEVALUEQ).payload, climatetest::Bytes(PayloadWriter().Int(2).Int(7)));
    EXPECT_EQ(Asked(ZVM_HVAC_GETSCHEDULEQ), loads + 1);
    EXPECT_EQ(Ansi(page->GetChooser()->GetNameLabel()->GetText()), "Individual");
    EXPECT_EQ(page->GetChooser()->GetSaveButton()->IsEnabled(), 0);
    // The gateway copied the schedule into the zone's program: editable now.
    ASSERT_NE(page->GetEditor(), nullptr);
    EXPECT_FALSE(page->GetEditor()->GetPanels()[0]->GetRockers().empty());
    EXPECT_EQ(page->GetProgram()->GetPeriods(), 2);
}

TEST_F(SchedulePageTest, AScheduleChangeDropsEditsAndReloads) {
    CThermostatZone& zone = Zone(1);
    CHvacSchedulePage* page = Page(&zone);
    page->GetEditor()->GetPanels()[0]->OnCommand(CThermostatPage::kCoolUpId);
    EXPECT_EQ(GetPeriod(page->GetEditor()->GetDay(), DayField::kCool, 0), 79);
    page->OnMessage(Message(ZVM_HVAC_SCHEDULECHANGED, PayloadWriter().Int(2).Int(0).Int(0)).get());
    EXPECT_EQ(GetPeriod(page->GetEditor()->GetDay(), DayField::kCool, 0), 79) << "another zone's change";
    page->OnMessage(Message(ZVM_HVAC_SCHEDULECHANGED, PayloadWriter().Int(1).Int(0).Int(0)).get());
    EXPECT_EQ(GetPeriod(page->GetEditor()->GetDay(), DayField::kCool, 0), 78);
    Close();
    EXPECT_EQ(Asked(ZVM_HVAC_SETSCHEDULEQ), 0);
}

TEST_F(SchedulePageTest, ASharedScheduleIsSavedFromTheEditorsCopyWhileTheGatewayPushesTheList) {
    CHvacSchedulePage* page = Page(nullptr, list->FindById(7));
    EXPECT_EQ(page->GetChooser(), nullptr);
    CThermostatPage* day = page->GetEditor()->GetPanels()[0];
    day->OnCommand(CThermostatPage::kHeatUpId);
    // A push replaces every item of the list while the editor edits one of them.
    page->Save();
    ASSERT_TRUE(SettleUntil([&] { return Asked(ZVM_HVAC_SETZONESETPOINTSQ) == 1; }));
    ASSERT_TRUE(Settle());
    day->OnCommand(CThermostatPage::kHeatUpId);
    EXPECT_EQ(GetPeriod(page->GetEditor()->GetDay(), DayField::kHeat, 0), 57);
    Close();
    ASSERT_TRUE(SettleUntil([&] {
        const CHvacZone* saver = list->FindById(7);
        return saver && GetPeriod(*saver->GetAt(0), DayField::kHeat, 0) == 57;
    }));
}

}  // namespace
