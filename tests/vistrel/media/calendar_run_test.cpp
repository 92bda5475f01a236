// The whole tablet against the sample house, with the house's calendar and weather panels put
// on the screen as a page shows them: a day of the month opens its note, a stroke drawn there is
// stored by "Done" and comes back when the day is opened again; the weather panel fills its
// conditions, text and forecast tiles.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "platform/keys.h"
#include "support/golden.h"
#include "vistrel/media/calendar/dayview.h"
#include "vistrel/media/calendar/monthcalendar.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/weather/forecastview.h"
#include "vistrel/media/weather/weathernow.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zvbutton.h"

namespace {

constexpr int kCalendarPanel = 51;
constexpr int kWeatherPanel = 52;
constexpr int kPageClass = 1;

class InfoPanelRun : public vistreltest::SampleHouseRun {
protected:
    InfoPanelRun() {
        RegisterMediaPages();
        SetClockToTheGateways();
    }
    // The house's panel right of the main menu in place of the home page.
    static CZVWindow* ShowPanel(CMainWnd& window, int id) {
        if (CZVWindow* home = window.GetCurrentPage()) home->Show(0, 1);
        auto* panel = new CGatewayPanel(&window, CZVRect(110, 10, 680, 460), kPageClass, id, 0);
        window.AddChild(panel);
        window.PaintAll();
        return panel;
    }
    template <class T>
    static T* ChildOf(CZVWindow* parent) {
        for (ZVPOSITION pos = parent->GetChildren().GetHeadPosition(); pos;)
            if (auto* found = dynamic_cast<T*>(static_cast<CZVWindow*>(parent->GetChildren().GetNext(pos))))
                return found;
        return nullptr;
    }
    static CZVButton* ButtonWithId(CZVWindow* parent, int id) {
        for (ZVPOSITION pos = parent->GetChildren().GetHeadPosition(); pos;)
            if (auto* button = dynamic_cast<CZVButton*>(static_cast<CZVWindow*>(parent->GetChildren().GetNext(pos))))
                if (button->GetCommandId() == id) return button;
        return nullptr;
    }
};

TEST_F(InfoPanelRun, ADayNoteIsDrawnStoredAndShownAgain) {
    enum Step {
        kWaitForHome,
        kWaitForMonth,
        kWaitForNote,
        kDraw,
        kWaitForStore,
        kWaitForNoteAgain,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 month, note;
    CMonthCalendarCtl* calendar = nullptr;
    int strokesBefore = 0;
    vistreltest::TestHost host(environment.Folder(), 800, 480, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* view = dynamic_cast<CDayView*>(window.GetOverlayWindow());
        switch (step) {
        case kWaitForHome:
            if (!window.IsHomePageShown() || !vistreltest::NothingOnItsWay(gateway, server)) break;
            calendar = ChildOf<CMonthCalendarCtl>(ShowPanel(window, kCalendarPanel));
            if (!calendar) return true;
            step = kWaitForMonth;
            break;
        case kWaitForMonth:
            if (!calendar->GetMarkedDays() || !vistreltest::NothingOnItsWay(gateway, server)) break;
            month = Picture(window, host);
            Touch(ButtonWithId(calendar, CMonthCalendarCtl::kFirstDay + 2));
            step = kWaitForNote;
            break;
        case kWaitForNote:
            if (!view || !view->IsLoaded()) break;
            strokesBefore = view->GetStrokes().GetCount();
            step = kDraw;
            break;
        case kDraw: {
            const CZVRect area = view->GetDrawingArea();
            const int x = view->ToRootX(area.x + area.w / 4), y = view->ToRootY(area.y + area.h * 3 / 4);
            window.OnLButtonDown(x, y, platform::MK_LBUTTON);
            window.OnMouseMove(x + 100, y - 40, platform::MK_LBUTTON);
            window.OnMouseMove(x + 200, y, platform::MK_LBUTTON);
            window.OnLButtonUp(x + 200, y, 0);
            Touch(ButtonWithId(view, CDayView::kDone));
            step = kWaitForStore;
            break;
        }
        case kWaitForStore:
            if (view || !GatewaySaw(ZVM_CALENDAR_CLOSEDAY) || !vistreltest::NothingOnItsWay(gateway, server)) break;
            Touch(ButtonWithId(calendar, CMonthCalendarCtl::kFirstDay + 2));
            step = kWaitForNoteAgain;
            break;
        case kWaitForNoteAgain:
            if (!view || !view->IsLoaded() || !vistreltest::NothingOnItsWay(gateway, server)) break;
            EXPECT_EQ(view->GetStrokes().GetCount(), strokesBefore + 1);
            note = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_EQ(RequestsOf(ZVM_CALENDAR_CLOSEDAY), 1u);
    EXPECT_TRUE(testsupport::MatchesGolden(month, "vistrel_calendar_run"));
    EXPECT_TRUE(testsupport::MatchesGolden(note, "vistrel_calendar_run_note"));
}

TEST_F(InfoPanelRun, TheWeatherPanelFillsItsConditionsAndForecast) {
    enum Step { kWaitForHome, kWaitForWeather, kDone } step = kWaitForHome;
    testsupport::Image565 shown;
    CForecastView* forecast = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 480, [&](CMainWnd& window, CZVServer& server, int pass) {
        switch (step) {
        case kWaitForHome:
            if (!window.IsHomePageShown() || !vistreltest::NothingOnItsWay(gateway, server)) break;
            forecast = ChildOf<CForecastView>(ShowPanel(window, kWeatherPanel));
            if (!forecast) return true;
            step = kWaitForWeather;
            break;
        case kWaitForWeather: {
            bool icons = forecast->GetChildren().GetCount() > 0;
            ForEachChild(forecast->GetChildren(),
                         [&](CZVWindow* tile) { icons = icons && static_cast<CForecastDayView*>(tile)->GetIcon(); });
            if (!icons || !vistreltest::NothingOnItsWay(gateway, server)) break;
            shown = Picture(window, host);
            step = kDone;
            break;
        }
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_WEATHER_GETTEXTQ));
    EXPECT_EQ(RequestsOf(ZVM_WEATHER_GETICONQ), 5u);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_weather_run"));
}

}  // namespace
