// The irrigation summary page, a plant group's zone run times and watering
// days against the sample house and built payloads, on the virtual clock,
// with their pictures.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/irrigationmessages.h"
#include "irrigation_fixture.h"
#include "support/golden.h"
#include "vistrel/home/irrigation/irgroupwnd.h"
#include "vistrel/home/irrigation/irrigationhistory.h"
#include "vistrel/home/irrigation/irrigationmanual.h"
#include "vistrel/home/irrigation/irrigationsummary.h"
#include "vistrel/home/irrigation/irrigationsystem.h"
#include "vistrel/home/irrigation/wateringdays.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/lists/columnlist.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

using irrigationtest::Bytes;
using irrigationtest::Message;
using irrigationtest::PayloadWriter;
using Sends = std::vector<std::vector<int32_t>>;

TEST(IrrigationStatusText, TheRemainingTimeWinsOverRain) {
    struct Case {
        int32_t seconds, rain;
        std::string zone, text;
    };
    for (const Case& c : {Case{3725, 1, "Roses", "Roses Watering 1 Hour, 2 Min, 5 Sec Remaining"},
                          Case{0, 1, "", "All Zones Off, Rain Sensor Active"}, Case{0, 0, "Roses", "All Zones Off"},
                          Case{-5, 0, "Roses", "All Zones Off"}}) {
        CIrrigationStatus status;
        status.secondsRemaining = c.seconds;
        status.rain = c.rain;
        status.zone = c.zone;
        EXPECT_EQ(IrrigationStatusText(status), c.text) << c.seconds;
    }
}

TEST(IrrigationTimes, BaseAndApplicationTimes) {
    struct Case {
        int32_t seconds;
        int more;
        int32_t stepped;
    };
    for (const Case& c : {Case{14380, 1, 14400}, Case{14400, 1, 14400}, Case{30, 0, 0}, Case{600, 0, 540}})
        EXPECT_EQ(StepBaseTime(c.seconds, c.more), c.stepped) << c.seconds;
    EXPECT_EQ(BaseTimeText(90), "1 Minutes");
    EXPECT_EQ(ApplicationTimeText(600, 150), "15 Minutes, 0 Sec");
    EXPECT_EQ(ApplicationTimeText(600, 0), "0 Seconds");
}

// The page in a main window of its own, as the main menu shows it.
class IrrigationPageTest : public irrigationtest::IrrigationTest {
protected:
    IrrigationPageTest() {
        SetPageVariable(kIrrigationTabVariable, 0);
        SetLastIrrigationProgram(0);
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &large);
    }
    ~IrrigationPageTest() override { window.reset(); }
    CIrrigationSummaryPage* Open() {
        page = new CIrrigationSummaryPage(window.get(), window->GetPageArea(), server);
        window->AddChild(page);
        page->Show(1, 0);
        return page;
    }
    void Close() {
        window->RemoveChild(page);
        delete page;
        page = nullptr;
    }
    void Status(int32_t mode, int32_t seconds, int32_t rain, const std::string& zone) {
        PayloadWriter w;
        w.Int(mode).Int(0).Int(seconds).Int(rain).String(zone);
        page->OnMessage(Message(ZVM_IRRIGATION_GETSTATUSA, w).get());
    }
    CIrGroupWnd* Group() { return dynamic_cast<CIrGroupWnd*>(page->GetContent()); }

    platform::HeadlessWindow large{800, 600};
    CIrrigationSummaryPage* page = nullptr;
};

TEST_F(IrrigationPageTest, ShowsTheFrontLawnWithTheStatusBand) {
    Open();
    ASSERT_TRUE(Settle());
    ASSERT_EQ(page->GetGroupCount(), 3);
    ASSERT_EQ(page->GetPrograms().size(), 2u);
    CIrGroupWnd* group = Group();
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetZones().size(), 3u);
    EXPECT_EQ(std::string(page->GetStatusLabel()->GetText().GetAnsi()),
              "Front Lawn East Watering 12 Minutes, 34 Sec Remaining");
    EXPECT_EQ(page->GetModeRadio()->GetSelection(), 0);
    CColumnListWnd* list = group->GetCurrentPage()->GetList();
    EXPECT_EQ(std::string(list->GetRow(0)->GetText(1).GetAnsi()), "15 Minutes");
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "irrigation_summary"));
}

TEST_F(IrrigationPageTest, ModesSelectAndEnableTheRadioAndManualIsARunOfNoZone) {
    Open();
    ASSERT_TRUE(Settle());
    CZVRadio* radio = page->GetModeRadio();
    struct Case {
        int32_t mode;
        int selection, enabled;
    };
    for (const Case& c : {Case{0, 2, 0}, Case{3, 1, 1}, Case{1, 2, 1}, Case{2, 0, 1}, Case{7, 0, 1}}) {
        Status(c.mode, 0, 0, "");
        EXPECT_EQ(radio->GetSelection(), c.selection) << c.mode;
        EXPECT_EQ(radio->IsEnabled(), c.enabled) << c.mode;
    }
    const std::pair<int, uint16_t> choices[] = {
        {1, ZVM_IRRIGATION_MANUALRUN}, {2, ZVM_IRRIGATION_ALLOFF}, {0, ZVM_IRRIGATION_RUNPROGRAMS}};
    for (const auto& [option, id] : choices) {
        radio->OnCommand(CZVRadio::kFirstOptionId + option);
        ASSERT_TRUE(Settle());
        EXPECT_EQ(Sent(id).size(), 1u) << option;
    }
    EXPECT_EQ(Sent(ZVM_IRRIGATION_MANUALRUN), (Sends{{0, 0}}));
}

TEST_F(IrrigationPageTest, QuickPressesWriteEachZoneOnceASecondLaterAndAFailedWriteAgain) {
    Open();
    ASSERT_TRUE(Settle());
    CZoneRunTimesPage* times = Group()->GetCurrentPage();
    CColumnListWnd* list = times->GetList();
    list->SelectIndex(0, 0);
    Silence(ZVM_IRRIGATION_SETGROUPZONESQ);
    for (int i = 0; i < 3; ++i) {
        times->OnCommand(CZoneRunTimesPage::kMoreId);
        clock.Advance(300);
        times->OnTimer();
    }
    EXPECT_TRUE(Sent(ZVM_IRRIGATION_SETGROUPZONESQ).empty());
    EXPECT_EQ(std::string(list->GetRow(0)->GetText(1).GetAnsi()), "18 Minutes");
    clock.Advance(1000);
    times->OnTimer();
    // Unanswered: the zone stays dirty and goes out again on the next tick.
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETGROUPZONESQ).size(), 1u);
    EXPECT_EQ(Group()->GetZones()[0].dirty, 1);
    testsupport::ServeSampleInstallation(gateway);
    times->OnTimer();
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETGROUPZONESQ).back(), (std::vector<int32_t>{11, 2, 1, 1080, 2, 600}));
    EXPECT_EQ(Group()->GetZones()[0].dirty, 0);
    times->OnTimer();
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETGROUPZONESQ).size(), 2u);
}

TEST_F(IrrigationPageTest, RulesShowAndComposeAndDirtyRulesAreWrittenOnClosing) {
    Open();
    ASSERT_TRUE(Settle());
    CPlantGroup* lawn = page->GetGroup(0);
    CWateringDaysPage* days = Group()->GetDaysPage();
    EXPECT_EQ(days->GetKindRadio()->GetSelection(), CWateringDaysPage::kEveryDay);
    for (int d = 0; d < 7; ++d) EXPECT_EQ(days->GetDayButton(d)->GetCheck(), 1) << d;
    // Unchecking Monday: the button toggles itself, then tells the page.
    days->GetDayButton(0)->SetCheck(0, 0, 0);
    days->OnCommand(CWateringDaysPage::kFirstDayId);
    EXPECT_EQ(days->GetKindRadio()->GetSelection(), CWateringDaysPage::kWeekDays);
    EXPECT_EQ(lawn->rule, 1 | (0x7E << 16));
    EXPECT_EQ(lawn->dirty, 1);

    struct Case {
        int32_t rule;
        int kind;
        int kindChosen;
        int32_t composed;
    };
    // Rule, the kind shown, then a kind chosen and the rule it makes.
    for (const Case& c : {Case{9, CWateringDaysPage::kSkipDays, CWateringDaysPage::kMonthDays, 2},
                          Case{3, CWateringDaysPage::kMonthDays, CWateringDaysPage::kSkipDays, 4}}) {
        CPlantGroup group{7, "Test", c.rule, 0};
        auto* shown = new CWateringDaysPage(page, CZVRect(0, 0, 600, 120), 8, &group, &server);
        page->AddChild(shown);
        EXPECT_EQ(shown->GetKindRadio()->GetSelection(), c.kind) << c.rule;
        EXPECT_EQ(group.rule, c.rule);
        if (c.rule == 9) EXPECT_EQ(shown->GetSkipButton(0)->GetCheck(), 1);
        if (c.rule == 3) {
            EXPECT_EQ(shown->GetMonthButton(0)->GetCheck(), 0);
            EXPECT_EQ(shown->GetMonthButton(1)->GetCheck(), 1);
        }
        shown->GetKindRadio()->OnCommand(CZVRadio::kFirstOptionId + c.kindChosen);
        EXPECT_EQ(group.rule, c.composed) << c.rule;
        page->RemoveChild(shown);
        delete shown;
    }
    Close();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETWATERDAYSQ), (Sends{{1, 1 | (0x7E << 16)}}));
}

TEST_F(IrrigationPageTest, WithoutProgramsTheGroupShowsNoPeriods) {
    gateway.On(ZVM_IRRIGATION_GETSUMMARYQ, [](const testsupport::Frame& request) {
        return std::vector<testsupport::Frame>{{request.sender, ZVM_IRRIGATION_GETSUMMARYA, PayloadWriter().Int(0)}};
    });
    // A remembered group beyond the tabs opens nothing.
    SetPageVariable(kIrrigationTabVariable, 5);
    Open();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(page->GetContent(), nullptr);
    page->OnCommand(CIrrigationSummaryPage::kFirstTab + 1);
    CIrGroupWnd* group = Group();
    ASSERT_NE(group, nullptr);
    CTabContainer* tabs = group->GetRegion()->GetTabs();
    ASSERT_EQ(tabs->GetTabCount(), 1);
    EXPECT_EQ(std::string(static_cast<CZVButton*>(tabs->GetTab(0))->GetText().GetAnsi()), "No Periods");
    EXPECT_EQ(group->GetCurrentPage(), nullptr);
}

}  // namespace

namespace {

TEST(IrrigationSteps, SeasonalAndManualTimesKeepTheirLimits) {
    struct Case {
        int value, count, up, stepped;
    };
    // The repeat count is read as an unsigned 16-bit number.
    for (const Case& c : {Case{149, 5, 1, 150}, Case{3, 5, 0, 0}, Case{100, 0x10001, 1, 101}, Case{40, 10, 0, 30}})
        EXPECT_EQ(StepSeasonalPercent(c.value, c.count, c.up), c.stepped) << c.value;
    for (const Case& c : {Case{7950, 0, 1, 8000}, Case{7990, 0, 1, 8000}, Case{30, 0, 0, 0}, Case{300, 0, 0, 240}})
        EXPECT_EQ(StepManualTime(c.value, c.up), c.stepped) << c.value;
}

class IrrigationSystemTest : public IrrigationPageTest {
protected:
    CIrrigationPage* System() {
        Open();
        page->OnCommand(CIrrigationSummaryPage::kSystemId);
        return dynamic_cast<CIrrigationPage*>(page->GetContent());
    }
    CSeasonalAdjustWnd* Month(CIrrigationPage* system, int month) {
        std::vector<CSeasonalAdjustWnd*> months;
        ForEachChild(system->GetContent()->GetChildren(),
                     [&](CZVWindow* child) { months.push_back(dynamic_cast<CSeasonalAdjustWnd*>(child)); });
        return month >= 1 && month <= static_cast<int>(months.size()) ? months[static_cast<size_t>(month - 1)]
                                                                      : nullptr;
    }
    void Manual(CIrrigationManualPage* manual, int32_t mode, std::vector<std::pair<int32_t, int32_t>> zones) {
        PayloadWriter w;
        w.Int(mode).Int(static_cast<int32_t>(zones.size()));
        for (const auto& [toRun, runTime] : zones) w.Int(11).String("Front Lawn East").Int(toRun).Int(runTime);
        manual->OnMessage(Message(ZVM_IRRIGATION_GETMANUALZONESA, w).get());
    }
};

TEST_F(IrrigationSystemTest, HoldingUpStopsAt150AndTheReleaseStoresItOnce) {
    CIrrigationPage* system = System();
    ASSERT_NE(system, nullptr);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "irrigation_seasonal"));
    CSeasonalAdjustWnd* june = Month(system, 6);
    ASSERT_NE(june, nullptr);
    EXPECT_EQ(june->GetPercent(), 130);
    for (int count : {10, 9, 5, 50}) june->OnChildCommand(CSeasonalAdjustWnd::kUpId, count);
    EXPECT_EQ(june->GetPercent(), 150);
    EXPECT_TRUE(Sent(ZVM_IRRIGATION_SETSEASONALQ).empty());
    june->OnChildCommand(CSeasonalAdjustWnd::kReleaseId, 1);
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETSEASONALQ), (Sends{{6, 150}}));
    EXPECT_EQ(page->GetSeasonal().GetPercent(6), 150);
    // Unanswered: the bar goes back to what the controller has.
    Silence(ZVM_IRRIGATION_SETSEASONALQ);
    june->OnChildCommand(CSeasonalAdjustWnd::kDownId, 20);
    EXPECT_EQ(june->GetPercent(), 130);
    june->OnChildCommand(CSeasonalAdjustWnd::kReleaseId, 1);
    EXPECT_EQ(june->GetPercent(), 150);
}

TEST_F(IrrigationSystemTest, TheHistoryTabShowsTheControllerAndEveryZone) {
    CIrrigationPage* system = System();
    ASSERT_NE(system, nullptr);
    system->OnCommand(CIrrigationPage::kHistoryId);
    auto* history = dynamic_cast<CIrrigationHistoryPage*>(system->GetContent());
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(SettleUntil([&] { return !history->IsLoading(); }));
    EXPECT_EQ(history->GetHistory().modes.size(), 1u);
    ASSERT_EQ(history->GetHistory().zones.size(), 10u);
    EXPECT_EQ(history->GetHistory().zones.back().name, "Rain");
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "irrigation_history"));
}

TEST_F(IrrigationSystemTest, ManualRunsWorkOnlyInTheManualMode) {
    CIrrigationPage* system = System();
    ASSERT_NE(system, nullptr);
    system->OnCommand(CIrrigationPage::kManualId);
    auto* manual = dynamic_cast<CIrrigationManualPage*>(system->GetContent());
    ASSERT_NE(manual, nullptr);
    ASSERT_TRUE(Settle());
    ASSERT_EQ(manual->GetZones().size(), 9u);
    manual->GetList()->SelectIndex(0, 0);
    manual->OnCommand(CIrrigationManualPage::kListId);
    for (int32_t mode : {kIrrigationOff, kIrrigationRunProgram}) {
        Manual(manual, mode, {{0, 300}});
        EXPECT_EQ(manual->GetList()->GetItemAt(0)->m_showsRowButtons, 0) << mode;
        EXPECT_EQ(manual->GetStartButton()->IsEnabled(), 0) << mode;
        EXPECT_EQ(std::string(manual->GetStartButton()->GetText().GetAnsi()), "Start");
    }
    Manual(manual, kIrrigationManual, {{0, 0}});
    EXPECT_EQ(manual->GetList()->GetItemAt(0)->m_showsRowButtons, 1);
    EXPECT_EQ(manual->GetStartButton()->IsEnabled(), 1);
    manual->OnCommand(CIrrigationManualPage::kStartId);
    manual->OnCommand(CIrrigationManualPage::kMoreId);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(Sent(ZVM_IRRIGATION_MANUALRUN), (Sends{{11, 0}}));
    EXPECT_EQ(Sent(ZVM_IRRIGATION_SETMANUALTIME), (Sends{{11, 60}}));
    EXPECT_EQ(std::string(manual->GetList()->GetRow(0)->GetText(1).GetAnsi()), "1:00");
}

TEST_F(IrrigationSystemTest, TheManualListFollowsTheGatewayButNotDuringADrag) {
    CIrrigationPage* system = System();
    ASSERT_NE(system, nullptr);
    // Manual mode, so the rows carry their buttons in the picture.
    page->OnCommand(CIrrigationSummaryPage::kFirstTab);
    page->GetModeRadio()->OnCommand(CZVRadio::kFirstOptionId + 1);
    page->OnCommand(CIrrigationSummaryPage::kSystemId);
    system = dynamic_cast<CIrrigationPage*>(page->GetContent());
    system->OnCommand(CIrrigationPage::kManualId);
    auto* manual = dynamic_cast<CIrrigationManualPage*>(system->GetContent());
    ASSERT_TRUE(Settle());
    clock.Advance(1000);
    manual->OnTimer();
    ASSERT_TRUE(SettleUntil([&] { return manual->GetMode() == kIrrigationManual; }));
    manual->GetList()->SelectIndex(1, 0);
    manual->OnCommand(CIrrigationManualPage::kListId);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "irrigation_manual"));
    // A finger on the list: the answer is dropped; the next one after it is shown.
    CColumnListWnd* list = manual->GetList();
    const int x = list->ToRootX(list->GetWidth() / 3), y = list->ToRootY(list->GetHeaderHeight() + 10);
    list->OnLButtonDown(x, y, 1);
    ASSERT_TRUE(list->IsDragging());
    Manual(manual, kIrrigationManual, {{0, 60}});
    EXPECT_EQ(manual->GetZones().size(), 9u);
    list->OnLButtonUp(x, y, 0);
    Manual(manual, kIrrigationManual, {{0, 60}});
    EXPECT_EQ(manual->GetZones().size(), 1u);
}

}  // namespace
