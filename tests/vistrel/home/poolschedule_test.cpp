// The pool page's Schedule tab: the steps and texts of programs and run
// times, the program lists against a scripted gateway (order, add, delete,
// limit, run-time pushes), the program editor, the egg timers, and how the
// tab looks over the sample house.
#include "vistrel/home/pool/poolschedule.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "core/messages/schedulemessages.h"
#include "core/serverlink.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "pool_fixture.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "vistrel/home/pool/poolpage.h"
#include "vistrel/home/pool/poolruntime.h"
#include "vistrel/home/pool/poolschedcircuitwnd.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Frame;
using Programs = std::vector<CPoolProgram>;

std::string Text(CZVString s) { return s.GetAnsi(); }

TEST(PoolScheduleSteps, MinutesWrapAroundMidnight) {
    struct Case {
        int minute, up, step, expected;
    } cases[] = {
        {0, 0, 1, 1439}, {1439, 1, 1, 0}, {1425, 1, 15, 0}, {0, 0, 15, 1425}, {600, 1, 7, 607}, {10, 0, 30, 1420},
    };
    for (const Case& c : cases) EXPECT_EQ(StepMinute(c.minute, c.up, c.step), c.expected) << c.minute;
}

TEST(PoolScheduleSteps, RunTimesStepAndRead) {
    struct Case {
        int minutes, more, expected;
    } steps[] = {
        {720, 1, 735}, {720, 0, 705}, {14, 1, 15},     {15, 1, 30},     {15, 0, 14},
        {2, 0, 1},     {1, 0, 1},     {1425, 1, 1620}, {1620, 0, 1425}, {16, 0, 1},
    };
    for (const Case& c : steps) EXPECT_EQ(CPoolRunTimeWnd::StepRunTime(c.minutes, c.more), c.expected) << c.minutes;
    struct Text {
        int minutes;
        const char* text;
    } texts[] = {
        {720, "12 Hours 0 Minutes"},   {59, "59 Minutes"},   {60, "1 Hour 0 Minutes"}, {119, "1 Hour 59 Minutes"},
        {1425, "23 Hours 45 Minutes"}, {1440, "Don't Stop"}, {1620, "Don't Stop"},
    };
    for (const Text& t : texts) EXPECT_EQ(CPoolRunTimeWnd::RunTimeText(t.minutes), t.text);
}

TEST(PoolScheduleSteps, DaysReadFromMonday) {
    EXPECT_EQ(DaysText(0x15), "Mon, Wed, Fri");
    EXPECT_EQ(DaysText(0), "None");
    EXPECT_EQ(DaysText(0x7F), "Every Day");
    EXPECT_EQ(DaysText(0x60), "Sat, Sun");
}

// The circuits of the fixture's configuration: 500 spa, 501 pool, 502 Aux 1
// (run time 60), 503 Garden (a light, run time 120).
class PoolScheduleTest : public pooltest::PoolTest {
protected:
    void SetUp() override { ConnectToSampleHouse(); }
    static testsupport::Bytes Answer(const Programs& programs) {
        samplegateway::PayloadWriter out;
        out.Int(static_cast<int32_t>(programs.size()));
        for (const CPoolProgram& p : programs)
            for (int32_t v : {p.programId, p.circuitId, p.start, p.stop, p.dayMask, p.flags, p.heatCommand, p.setPoint})
                out.Int(v);
        return out;
    }
    // The gateway answers the programs of each type from these lists.
    void ServePrograms(std::shared_ptr<std::array<Programs, 2>> lists) {
        gateway.On(ZVM_POOL_GETSCHEDULESQ, [lists](const Frame& request) -> std::vector<Frame> {
            testsupport::PayloadReader in(request.payload);
            int32_t controller = 0, type = 0;
            if (!in.Int(&controller) || !in.Int(&type) || type < 0 || type > 1) return {};
            return {{request.sender, ZVM_POOL_GETSCHEDULESA, Answer((*lists)[static_cast<size_t>(type)])}};
        });
    }
    void ServePrograms(const Programs& schedule, const Programs& runOnce) {
        ServePrograms(std::make_shared<std::array<Programs, 2>>(std::array<Programs, 2>{schedule, runOnce}));
    }
    CPoolAdvSchedWnd* List(CBasinSetup* model, int type) {
        return Keep(new CPoolAdvSchedWnd(window.get(), CZVRect(0, 0, 780, 520), model, server, type));
    }
    // An editor inside the list, which owns it.
    CPoolSchedCircuitWnd* Editor(CPoolAdvSchedWnd* list, CBasinSetup* model, CPoolProgram* program, int runOnce) {
        auto* editor = new CPoolSchedCircuitWnd(list, CZVRect(5, 250, 770, 260), model, program, 1001, runOnce);
        list->AddChild(editor);
        editor->Show(1, 0);
        return editor;
    }
    std::vector<std::string> Column(CPoolAdvSchedWnd* list, int column) {
        std::vector<std::string> texts;
        for (int i = 0; i < list->GetList()->GetCount(); ++i)
            texts.push_back(Text(list->GetList()->GetRow(i)->GetText(column)));
        return texts;
    }
    // Everything sent before this has reached the gateway once it returns.
    void RoundTrip() {
        CZVQuery query(server);
        int32_t count = 0;
        ASSERT_TRUE(query.QueryInt2(count, ZVM_POOL_GETSCHEDULESQ, 0, 0));
    }
    void Touch(CZVButton* button) { vistreltest::TouchMiddle(clock, button); }
    CZVButton* ButtonById(CZVWindow* parent, int id) {
        for (ZVPOSITION pos = parent->GetChildren().GetHeadPosition(); pos;)
            if (auto* b = dynamic_cast<CZVButton*>(static_cast<CZVWindow*>(parent->GetChildren().GetNext(pos))))
                if (b->GetCommandId() == id) return b;
        return nullptr;
    }
};

TEST_F(PoolScheduleTest, TheHeatColumnShowsModeAndSetPointOfThePoolAndSpaOnly) {
    auto model = Model(ConfigFixture{});
    struct Case {
        int32_t circuit, flags, command, setPoint;
        const char* text;
    } cases[] = {
        {500, 0x02, 4, 102, "102 F"},            // the spa, leaving the mode: the set point alone
        {501, 0x00, 3, 82, "Heater"},            // the pool, no set point
        {501, 0x02, 1, 84, "H.Pump Only:84 F"},  // both
        {502, 0x02, 3, 82, ""},                  // not a body of water
        {999, 0x02, 3, 82, ""},                  // unknown
    };
    for (const Case& c : cases) {
        CPoolProgram program;
        program.circuitId = c.circuit;
        program.flags = c.flags;
        program.heatCommand = c.command;
        program.setPoint = c.setPoint;
        EXPECT_EQ(HeatCommandText(*model, program), c.text) << c.circuit;
    }
}

TEST_F(PoolScheduleTest, RowsFollowTheModelsCircuitOrderAndDropUnknownCircuits) {
    ConfigFixture config;
    config.circuits = {pooltest::Circuit(3, "Three", 0, 0), pooltest::Circuit(5, "Five", 0, 0)};
    auto model = Model(config);
    ServePrograms({{1, 5, 60, 120, 0x15}, {2, 3, 480, 540, 0}, {3, 5, 600, 660, 0x7F}, {4, 9, 0, 0, 0}},
                  {{7, 3, 0, 0, 0}, {8, 5, 0, 0, 0}});
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"Three", "Five", "Five"}));
    EXPECT_EQ(list->GetProgram(1)->programId, 1);
    EXPECT_EQ(list->GetProgram(2)->programId, 3);
    EXPECT_EQ(Column(list, 2), (std::vector<std::string>{"8:00  AM", "1:00  AM", "10:00  AM"}));
    EXPECT_EQ(Column(list, 4), (std::vector<std::string>{"None", "Mon, Wed, Fri", "Every Day"}));
    EXPECT_EQ(list->GetOtherCount(), 2);
}

TEST_F(PoolScheduleTest, AnAddedProgramIsTheLastRowSelectedAndOpenInTheEditor) {
    auto model = Model(ConfigFixture{});
    auto lists = std::make_shared<std::array<Programs, 2>>();
    (*lists)[0] = {{1, 501, 480, 1080, 0x7F}, {2, 503, 600, 700, 0x01}};
    ServePrograms(lists);
    gateway.On(ZVM_POOL_ADDPROGRAMQ, [lists](const Frame& request) -> std::vector<Frame> {
        // The new program switches the spa, which comes first in the model.
        (*lists)[0].push_back({9, 500, 480, 540, 0x7F, 0, 4, 0});
        return {{request.sender, ZVM_POOL_ADDPROGRAMA, samplegateway::PayloadWriter().Int(9)}};
    });
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    ASSERT_EQ(list->GetList()->GetCount(), 2);
    Touch(list->GetAddButton());
    ASSERT_EQ(list->GetList()->GetCount(), 3);
    EXPECT_EQ(list->GetList()->GetSelectedIndex(), 2);
    EXPECT_EQ(list->GetProgram(2)->programId, 9);
    ASSERT_NE(list->GetEditor(), nullptr);
    EXPECT_EQ(Text(list->GetEditor()->GetStartLabel()->GetText()), "8:00  AM");
    ASSERT_NE(list->GetDeleteButton(), nullptr);
    const std::vector<Frame> added = gateway.RequestsOf(ZVM_POOL_ADDPROGRAMQ);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(IntsOf(added[0]), (std::vector<int32_t>{0, 0}));
}

TEST_F(PoolScheduleTest, DeleteAsksTheGatewayAndReloads) {
    auto model = Model(ConfigFixture{});
    auto lists = std::make_shared<std::array<Programs, 2>>();
    (*lists)[1] = {{1, 501, 480, 1080, 0x7F}, {2, 503, 600, 700, 0x01}};
    ServePrograms(lists);
    gateway.On(ZVM_POOL_DELETEPROGRAMQ, [lists](const Frame& request) -> std::vector<Frame> {
        (*lists)[1].erase((*lists)[1].begin());
        return {{request.sender, ZVM_POOL_DELETEPROGRAMQ + 1, {}}};
    });
    CPoolAdvSchedWnd* list = List(model.get(), 1);
    list->GetList()->SelectIndex(0, 0);
    list->OnCommand(CPoolAdvSchedWnd::kListId);
    ASSERT_NE(list->GetDeleteButton(), nullptr);
    Touch(list->GetDeleteButton());  // the button goes with the editor it belongs to
    EXPECT_EQ(list->GetEditor(), nullptr);
    EXPECT_EQ(list->GetDeleteButton(), nullptr);
    EXPECT_EQ(Column(list, 0), (std::vector<std::string>{"Garden"}));
    const std::vector<Frame> deleted = gateway.RequestsOf(ZVM_POOL_DELETEPROGRAMQ);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(IntsOf(deleted[0]), (std::vector<int32_t>{0, 1}));
}

TEST_F(PoolScheduleTest, ProgramsAndRunTimesTogetherReachTheSmallControllersLimit) {
    ConfigFixture config;
    config.legacyType = 13;  // 12 programs; Aux 1 and Garden have run times
    auto model = Model(config);
    ServePrograms(Programs(7, CPoolProgram{1, 501}), Programs(3, CPoolProgram{2, 501}));
    for (int type : {0, 1}) EXPECT_FALSE(List(model.get(), type)->GetAddButton()->IsEnabled()) << type;
    ServePrograms(Programs(6, CPoolProgram{1, 501}), Programs(3, CPoolProgram{2, 501}));
    for (int type : {0, 1}) EXPECT_TRUE(List(model.get(), type)->GetAddButton()->IsEnabled()) << type;
}

TEST_F(PoolScheduleTest, ARunTimePushMovesTheStopOfRunOnceProgramsOnly) {
    auto model = Model(ConfigFixture{});
    ServePrograms({{1, 502, 1410, 1430, 0x01}}, {{3, 501, 600, 700, 0x01}, {2, 502, 1410, 1430, 0x01}});
    CPoolAdvSchedWnd* weekly = List(model.get(), 0);
    CPoolAdvSchedWnd* runOnce = List(model.get(), 1);
    gateway.Push(ZVM_POOL_RUNTIMECHANGED, samplegateway::PayloadWriter().Int(502).Int(90));
    // The model puts 501 before 502.
    ASSERT_TRUE(PollUntil([&] { return runOnce->GetProgram(1)->stop != 1430; }));
    EXPECT_EQ(runOnce->GetProgram(1)->stop, 60);
    EXPECT_EQ(Text(runOnce->GetList()->GetRow(1)->GetText(3)), "1:00  AM");
    EXPECT_EQ(runOnce->GetProgram(0)->stop, 700);
    EXPECT_EQ(weekly->GetProgram(0)->stop, 1430);
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_POOL_SETPROGRAM).empty());
}

TEST_F(PoolScheduleTest, AScheduleChangeReloadsAndReopensTheSelectedProgram) {
    auto model = Model(ConfigFixture{});
    auto lists = std::make_shared<std::array<Programs, 2>>();
    (*lists)[0] = {{1, 501, 480, 1080, 0x7F}, {2, 503, 600, 700, 0x01}};
    ServePrograms(lists);
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    list->GetList()->SelectIndex(1, 0);
    list->OnCommand(CPoolAdvSchedWnd::kListId);
    (*lists)[0].insert((*lists)[0].begin(), CPoolProgram{5, 500, 0, 60, 0x7F});
    gateway.Push(ZVM_POOL_SCHEDULECHANGED, {});
    ASSERT_TRUE(PollUntil([&] { return list->GetList()->GetCount() == 3; }));
    EXPECT_EQ(list->GetList()->GetSelectedIndex(), 2);
    ASSERT_NE(list->GetEditor(), nullptr);
    EXPECT_EQ(Text(list->GetEditor()->GetStartLabel()->GetText()), "10:00  AM");
}

// ---- the editor

TEST_F(PoolScheduleTest, TheEditorsStepsChangeTheProgramInPlace) {
    ConfigFixture config;
    config.equipmentFlags = 0;        // neither solar nor a heat pump
    config.circuits[3].function = 9;  // a sequence light
    config.circuits[3].flags = 0;
    auto model = Model(config);
    ServePrograms({}, {});
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    CPoolProgram program{1, 503, 1380, 1400, 0, 0, 0, 82};
    CPoolSchedCircuitWnd* runOnce = Editor(list, model.get(), &program, 1);
    // Run-once: the stop follows the start and the circuit's 120 minutes.
    runOnce->OnChildCommand(CPoolSchedCircuitWnd::kStartUp, 1);
    EXPECT_EQ(program.start, 1381);
    EXPECT_EQ(program.stop, 61);
    EXPECT_EQ(Text(runOnce->GetStopLabel()->GetText()), "1:01  AM");
    // Run-once: one day only.
    program.dayMask = 0x03;
    runOnce->UpdateValues(0);
    Touch(runOnce->GetDayButton(2));
    EXPECT_EQ(program.dayMask, 0x04);
    // A light of function 9 offers the smart start, the pool the heat rows.
    EXPECT_TRUE(runOnce->IsSmartStartShown());
    EXPECT_FALSE(runOnce->IsHeatShown());
    program.circuitId = 501;
    runOnce->UpdateValues(0);
    EXPECT_FALSE(runOnce->IsSmartStartShown());
    EXPECT_TRUE(runOnce->IsHeatShown());
    EXPECT_FALSE(runOnce->IsSetPointShown());
    runOnce->OnChildCommand(CPoolSchedCircuitWnd::kSetPointToggle, 1);
    EXPECT_TRUE(runOnce->IsSetPointShown());
    // Without solar or heat pump the heat command skips 1 and 2.
    struct Heat {
        int32_t from;
        int up;
        int32_t to;
    } heats[] = {{0, 1, 3}, {3, 0, 0}, {4, 1, 0}, {0, 0, 4}};
    for (const Heat& h : heats) {
        program.heatCommand = h.from;
        runOnce->OnChildCommand(h.up ? CPoolSchedCircuitWnd::kHeatUp : CPoolSchedCircuitWnd::kHeatDown, 1);
        EXPECT_EQ(program.heatCommand, h.to) << h.from;
    }
}

TEST_F(PoolScheduleTest, TheSetPointKeepsToTheRangeOfTheHeatedBody) {
    auto model = Model(ConfigFixture{});  // pool 40..104, spa 50..102
    ServePrograms({}, {});
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    CPoolProgram program{1, 500, 0, 60, 0x7F, 0x02, 3, 101};
    auto* editor = Editor(list, model.get(), &program, 0);
    struct Case {
        int32_t circuit, from;
        int id, count;
        int32_t to;
    } cases[] = {
        {500, 101, CPoolSchedCircuitWnd::kSetPointUp, 5, 102},  // the spa's top
        {500, 51, CPoolSchedCircuitWnd::kSetPointDown, 5, 50},  // the spa's bottom
        {501, 101, CPoolSchedCircuitWnd::kSetPointUp, 5, 104},  // the pool's top
        {501, 41, CPoolSchedCircuitWnd::kSetPointDown, 5, 40},  // the pool's bottom
    };
    for (const Case& c : cases) {
        program.circuitId = c.circuit;
        program.setPoint = c.from;
        editor->OnChildCommand(c.id, c.count);
        EXPECT_EQ(program.setPoint, c.to) << c.circuit << " " << c.from;
    }
}

TEST_F(PoolScheduleTest, AHeldStartArrowStoresTheProgramOnceOnRelease) {
    auto model = Model(ConfigFixture{});
    ServePrograms({{1, 501, 480, 1080, 0x7F}}, {});
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    list->GetList()->SelectIndex(0, 0);
    list->OnCommand(CPoolAdvSchedWnd::kListId);
    CPoolSchedCircuitWnd* editor = list->GetEditor();
    ASSERT_NE(editor, nullptr);
    CZVButton* up = ButtonById(editor, CPoolSchedCircuitWnd::kStartUp);
    ASSERT_NE(up, nullptr);
    const int x = up->ToRootX(up->GetWidth() / 2), y = up->ToRootY(up->GetHeight() / 2);
    clock.Advance(1000);
    up->OnLButtonDown(x, y, 0);
    for (int i = 0; i < 10; ++i) {
        clock.Advance(300);
        up->OnTimer();
    }
    EXPECT_GT(list->GetProgram(0)->start, 481);
    EXPECT_EQ(Text(editor->GetStartLabel()->GetText()), FormatHourMinute(list->GetProgram(0)->start));
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_POOL_SETPROGRAM).empty());
    up->OnLButtonUp(x, y, 0);
    RoundTrip();
    const std::vector<Frame> stored = gateway.RequestsOf(ZVM_POOL_SETPROGRAM);
    ASSERT_EQ(stored.size(), 1u);
    const CPoolProgram& p = *list->GetProgram(0);
    EXPECT_EQ(IntsOf(stored[0]), (std::vector<int32_t>{0, 1, 501, p.start, 1080, 0x7F, 0, 0, 0}));
    EXPECT_EQ(stored[0].sender, 0);
}

TEST_F(PoolScheduleTest, AProgramOfAnUnknownCircuitIsReportedAndKept) {
    auto model = Model(ConfigFixture{});
    ServePrograms({}, {});
    CPoolAdvSchedWnd* list = List(model.get(), 0);
    CPoolProgram program{1, 999, 0, 60, 0x7F};
    auto* editor = Editor(list, model.get(), &program, 0);
    testsupport::AssertCounter asserts;
    editor->OnChildCommand(CPoolSchedCircuitWnd::kCircuitUp, 1);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(asserts.LastSource(), "poolschedcircuitwnd");
    EXPECT_EQ(asserts.LastLine(), 200);
    EXPECT_EQ(program.circuitId, 999);
}

// ---- egg timers

TEST_F(PoolScheduleTest, EggTimersStepTheSelectedCircuitAndSendOnlyChanges) {
    ConfigFixture config;
    config.circuits[0].runTime = 2;
    auto model = Model(config);
    ServePrograms({}, {});
    auto* timers = Keep(new CPoolRunTimeWnd(window.get(), CZVRect(0, 0, 780, 520), model.get(), server));
    EXPECT_EQ(Text(timers->GetList()->GetRow(2)->GetText(1)), "1 Hour 0 Minutes");
    timers->OnCommand(CPoolRunTimeWnd::kLessId);  // no row: nothing
    timers->GetList()->SelectIndex(0, 0);
    timers->OnCommand(CPoolRunTimeWnd::kLessId);
    timers->OnCommand(CPoolRunTimeWnd::kLessId);
    EXPECT_EQ(model->GetCircuit(0)->runTime, 1);
    EXPECT_EQ(Sent(ZVM_POOL_SETRUNTIME), (std::vector<std::vector<int32_t>>{{0, 500, 1}}));
    EXPECT_EQ(Text(timers->GetList()->GetRow(0)->GetText(1)), "1 Minutes");
    // A push selects the circuit's row and shows the model's value.
    model->GetCircuit(3)->runTime = 1620;
    gateway.Push(ZVM_POOL_RUNTIMECHANGED, samplegateway::PayloadWriter().Int(503).Int(30));
    ASSERT_TRUE(PollUntil([&] { return timers->GetList()->GetSelectedIndex() == 3; }));
    EXPECT_EQ(Text(timers->GetList()->GetRow(3)->GetText(1)), "Don't Stop");
}

TEST_F(PoolScheduleTest, AtTheLimitOnlyCircuitsWithARunTimeKeepTheirButtons) {
    ConfigFixture config;
    config.legacyType = 14;
    auto model = Model(config);
    ServePrograms(Programs(6, CPoolProgram{1, 501}), Programs(4, CPoolProgram{2, 501}));  // 10 + 2 run times
    auto* timers = Keep(new CPoolRunTimeWnd(window.get(), CZVRect(0, 0, 780, 520), model.get(), server));
    EXPECT_EQ(timers->GetProgramCount(), 10);
    std::vector<int> active;
    for (int i = 0; i < timers->GetList()->GetCount(); ++i)
        active.push_back(timers->GetList()->GetItemAt(i)->m_showsRowButtons);
    EXPECT_EQ(active, (std::vector<int>{0, 0, 1, 1}));
}

// ---- the sample house

TEST_F(PoolScheduleTest, TheSampleStoresARunTimeAndTellsEverySink) {
    testsupport::SampleInstallation sample;
    sample.spaRunTime = 45;
    samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse(sample));
    auto* page = Keep(new CPoolControlPage(window.get(), window->GetPageArea(), server));
    ASSERT_EQ(page->GetModel()->FindCircuitById(500)->runTime, 45);
    auto* timers = Keep(new CPoolRunTimeWnd(window.get(), CZVRect(0, 0, 780, 520), page->GetModel(), server));
    timers->GetList()->SelectIndex(0, 0);
    timers->OnCommand(CPoolRunTimeWnd::kMoreId);
    timers->GetList()->SelectIndex(1, 0);
    // The gateway's notice selects the spa's row again.
    ASSERT_TRUE(PollUntil([&] { return timers->GetList()->GetSelectedIndex() == 0; }));
    EXPECT_EQ(Text(timers->GetList()->GetRow(0)->GetText(1)), "1 Hour 0 Minutes");
    // A model loaded afterwards has it.
    CServerLink link(server);
    CBasinSetup again(link, ZVVariant::Tablet, 0);
    EXPECT_EQ(again.FindCircuitById(500)->runTime, 60);
}

// ---- pictures over the sample house

TEST_F(PoolScheduleTest, PicturesOfTheScheduleAndTheEggTimers) {
    // The schedule tab alone, on a page at a place of its own: the pictures never depend on the
    // menu's width or on the page's tab row, which takes its back from the menu.
    auto* page = Keep(new CPoolControlPage(window.get(), CZVRect(100, 0, 700, 600), server));
    ASSERT_TRUE(PollUntil([&] { return page->GetModel()->GetBody(0)->temperature == 81; }));
    static_cast<CTabContainer*>(page->GetTabControl())->Select(2, 0);
    page->OnCommand(CPoolControlPage::kScheduleTab);
    auto* tab = dynamic_cast<CScheduleTypePage*>(page->GetTabWindow());
    ASSERT_NE(tab, nullptr);
    auto* list = dynamic_cast<CPoolAdvSchedWnd*>(tab->GetInner());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetList()->GetCount(), 3);
    EXPECT_EQ(Text(list->GetList()->GetRow(0)->GetText(0)), "Aux 1");
    EXPECT_EQ(Text(list->GetList()->GetRow(2)->GetText(1)), "Heater:82 F");
    list->GetList()->SelectIndex(2, 0);
    list->OnCommand(CPoolAdvSchedWnd::kListId);
    ASSERT_TRUE(Settle());  // what the tab asked for has come back and been taken before the picture
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(tab), "pool_schedule"));
    tab->OnCommand(CScheduleTypePage::kEggTimerTab);
    auto* timers = dynamic_cast<CPoolRunTimeWnd*>(tab->GetInner());
    ASSERT_NE(timers, nullptr);
    EXPECT_EQ(Text(timers->GetList()->GetRow(0)->GetText(1)), "1 Hour 30 Minutes");
    timers->GetList()->SelectIndex(0, 0);
    ASSERT_TRUE(Settle());
    window->PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(tab), "pool_egg_timer"));
}

}  // namespace
