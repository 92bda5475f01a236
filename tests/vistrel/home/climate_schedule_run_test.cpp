// The whole tablet against the sample house: Climate, then the Living Room's
// schedule tab shows its weekday program; a cooling step and another day
// write the program back, and the gateway keeps it.
#include <gtest/gtest.h>

#include "climate_fixture.h"
#include "core/messages/climatemessages.h"
#include "support/golden.h"
#include "vistrel/home/climate/hvacschedule.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/buttons/zvchkbutton.h"

namespace {

using ClimateScheduleRun = climatetest::ClimateRun;

TEST_F(ClimateScheduleRun, TheScheduleTabEditsTheProgramTheGatewayKeeps) {
    enum Step { kWaitForMenu, kWaitForZone, kWaitForEditor, kWaitForSave, kDone } step = kWaitForMenu;
    testsupport::Image565 shown;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        CHvacZonePage* zonePage = ShownZonePage(window);
        auto* editor = zonePage ? dynamic_cast<CHvacSchedulePage*>(zonePage->GetContent()) : nullptr;
        switch (step) {
        case kWaitForMenu:
            if (CZVButton* entry = MenuEntry(window, "Climate")) {
                Touch(entry);
                step = kWaitForZone;
            }
            break;
        case kWaitForZone: {
            auto* main = zonePage ? dynamic_cast<CHvacZoneMainPage*>(zonePage->GetContent()) : nullptr;
            if (!main || !main->HasStatus() || !vistreltest::AnswersIn(gateway, server)) break;
            // Temperature, History, then the program's schedule, named by its house modes.
            auto* tab = zonePage->GetTabs()->GetTabCount() > 2 ? static_cast<CZVButton*>(zonePage->GetTabs()->GetTab(2))
                                                               : nullptr;
            if (!tab || std::string(tab->GetText().GetAnsi()).rfind("Schedule\n", 0) != 0) return true;
            Touch(tab);
            step = kWaitForEditor;
            break;
        }
        case kWaitForEditor: {
            if (!editor || !editor->GetEditor() || !editor->GetChooser() || !vistreltest::AnswersIn(gateway, server))
                break;
            clock.Advance(1000);  // the tab's flash has faded
            shown = Picture(window, host);
            // The morning's cooling up a degree, then Saturday: the program goes back.
            CRockerSwitch* cool = editor->GetEditor()->GetPanels()[0]->GetRockers()[1];
            Touch(cool->GetSegment(1));
            Touch(editor->GetDayButton(5));
            step = kWaitForSave;
            break;
        }
        case kWaitForSave:
            if (RequestsOf(ZVM_HVAC_SETSCHEDULEQ) == 1 && editor && editor->GetDayButton(5)->GetCheck()) step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 2000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    // {zone, programs, house modes, P, D, mask, time}, then the morning's cooling set point.
    constexpr size_t kFirstCool = 7 * 4;
    for (const testsupport::Bytes& payload : gateway.PayloadsOf(ZVM_HVAC_SETSCHEDULEQ)) {
        ASSERT_GT(payload.size(), kFirstCool);
        EXPECT_EQ(payload[kFirstCool], 79);
    }
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_climate_schedule"));
}

}  // namespace
