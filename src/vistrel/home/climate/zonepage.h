#pragma once
// One climate zone shown with a row of tabs: its main page (the set-point
// dial, the hold, fan and mode options, status lamps and outside temperature), its
// history and one schedule per program. CHvacZoneMainPage subscribes to the
// zone's status while it exists and keeps the model current.
#include <memory>

#include "core/zvserver.h"
#include "vistrel/home/climate/climatemodel.h"
#include "vistrel/home/climate/hvacoptions.h"
#include "vistrel/home/climate/thermostatdial.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/trregion.h"

// A check button used as an indicator lamp, lit in its lamp colour.
class CThermostatModeButton : public CZVCheckButton {
public:
    static constexpr int kStyleClass = 16;

    CThermostatModeButton(CZVWindow* parent, CZVRect rect, CZVString caption, COLORREF lamp);

    // The text keeps its colour when the lamp is disabled.
    COLORREF GetDisabledTextColor() override { return m_textColor; }
};

// One lamp per piece of equipment the zone has, from the right: Sync, Fan,
// Heat, Cool.
class CEquipmentPanel : public CZVWindow {
public:
    static constexpr COLORREF kSyncColour = 0xFF00FF;
    static constexpr COLORREF kFanColour = 0x00FF00;
    static constexpr COLORREF kHeatColour = 0x0000FF;
    static constexpr COLORREF kCoolColour = 0xFF0000;

    CEquipmentPanel(CZVWindow* parent, CZVRect rect, CThermostatZone& zone);

    // The lamps from the zone's status; animated when redraw is set.
    void Update(const CThermostatZone& zone, int redraw);

private:
    CThermostatModeButton* m_sync = nullptr;
    CThermostatModeButton* m_fan = nullptr;
    CThermostatModeButton* m_heat = nullptr;
    CThermostatModeButton* m_cool = nullptr;
};

class CHvacZoneMainPage : public CZVWindow, public CSocketSink {
public:
    static constexpr int kStyleClass = 6;
    static constexpr COLORREF kConnectingColour = 0x0000FF;

    CHvacZoneMainPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CThermostatZone& zone);
    ~CHvacZoneMainPage() override;

    void OnPaint(CZVDC* dc) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    CEquipmentPanel* GetEquipment() const { return m_equipment; }
    CThermostatModeButton* GetOutsideDisplay() const { return m_outside; }
    CThermostatDial* GetDial() const { return m_dial; }
    CHvacOptionFrame* GetOptions() const { return m_options; }
    int HasStatus() const { return m_hasStatus; }

private:
    void Subscribe();
    void AskStatus();
    void OnStatus(CZVMSG* message);
    // The enclosing page's box while the thermostat is not ready.
    void ShowConnecting(int redraw);

    CThermostatZone& m_zone;
    CThermostatDial* m_dial = nullptr;
    CHvacOptionFrame* m_options = nullptr;
    CEquipmentPanel* m_equipment = nullptr;
    CThermostatModeButton* m_outside = nullptr;
    int m_asked = 0;
    int m_hasStatus = 0;
};

class CHvacZonePage : public CTRRegion {
public:
    // Tab ids.
    enum : int { kTabMain = 3000, kTabHistory = 3001, kTabFirstSchedule = 3002, kTabLastSchedule = 3099 };

    // Without a list the page makes and owns its own.
    CHvacZonePage(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, COLORREF faceColour,
                  CHvacZoneList* schedules, int history);
    ~CHvacZonePage() override;

    // The zone (not owned): tabs anew, then the current tab.
    void SetZoneModel(CThermostatZone* zone, int repaint);
    // A zone of its own, loaded from the gateway.
    void SetZone(int zoneId);
    void ShowTab(int id, int repaint);
    int OnCommand(int id) override;

    int GetCurrentTab() const { return m_currentTab; }
    CZVWindow* GetContent() const { return m_content; }
    CThermostatZone* GetZone() const { return m_zone; }

private:
    // The tabs of the zone; selects the tab of keepId (or the nearest) and
    // returns its id.
    int BuildZoneTabs(int keepId);
    CZVString ScheduleTabText(const CZoneProgram& program) const;

    CZVServer& m_server;
    std::unique_ptr<CThermostatZone> m_ownZone;
    CThermostatZone* m_zone = nullptr;
    std::unique_ptr<CHvacZoneList> m_ownSchedules;
    CHvacZoneList* m_schedules;
    int m_history;
    int m_currentTab = kTabMain;
    CZVWindow* m_content = nullptr;
    std::vector<int> m_tabIds;
};
