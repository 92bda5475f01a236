#pragma once
// The lighting schedules' view: the schedules as tabs, each with its events
// as tabs, each event with its time editor and the list of its commands;
// below them the picker of keypad and switch commands to add to the shown
// event.
#include <memory>
#include <vector>

#include "vistrel/home/lighting/lightcommandwnd.h"
#include "vistrel/home/schedule/scheduleevent.h"
#include "widgets/tabs/trregion.h"

class CColumnListWnd;
class IHouseModeNames;

// One event's commands, its time editor and "Test Commands Now".
class CScheduledCommandsPage : public CZVWindow {
public:
    enum : int { kRemoveId = 1001, kTestId = 2000 };

    CScheduledCommandsPage(CZVWindow* parent, CZVWindow* tab, CZVRect rect, int styleClass,
                           CLightingScheduleEvent* event, CZVServer& server);

    int OnCommand(int id) override;
    int AddKeypadCommand(int32_t item);
    int AddSwitchCommand(int32_t x, int32_t y);

    CColumnListWnd* GetList() const { return m_list; }
    CScheduleEventWnd* GetEditor() const { return m_editor; }

private:
    void Load(int redraw);
    // Asks and reloads the commands when the gateway answered.
    int Change(uint16_t id, std::initializer_list<int32_t> values);

    CZVServer& m_server;
    CZVWindow* m_tab;
    CLightingScheduleEvent* m_event;
    CScheduleEventWnd* m_editor = nullptr;
    CColumnListWnd* m_list = nullptr;
};

// One schedule's events as tabs.
class CScheduleEventsPanel : public CTRRegion {
public:
    static constexpr int kFirstEventId = 1000;
    static constexpr int kLastEventId = 1099;

    CScheduleEventsPanel(CZVWindow* parent, CZVRect rect, int styleClass, int32_t schedule, COLORREF backColour,
                         COLORREF faceColour, CZVServer& server);

    int OnCommand(int id) override;

    int GetEventCount() const { return static_cast<int>(m_events.size()); }
    CScheduledCommandsPage* GetCommandsPage() const { return m_page; }
    CLightingScheduleEvent* GetSelectedEvent() const { return m_selected; }

private:
    int Load();
    void ShowEvent(int redraw);

    CZVServer& m_server;
    int32_t m_schedule;
    CScheduledCommandsPage* m_page = nullptr;
    CLightingScheduleEvent* m_selected = nullptr;
    std::vector<std::unique_ptr<CLightingScheduleEvent>> m_events;  // by tab
};

// The schedules as tabs; it takes the picked commands for the shown event.
class CScheduleTabsPage : public CTRRegion, public ILightCommandOwner {
public:
    static constexpr int kFirstScheduleId = 3000;
    static constexpr int kStyleClass = 6;

    CScheduleTabsPage(CZVWindow* parent, CZVRect rect, COLORREF colour, CZVServer& server,
                      const IHouseModeNames* modes);

    int OnCommand(int id) override;
    int AddKeypadCommand(int32_t item) override;
    int AddSwitchCommand(int32_t x, int32_t y) override;

    int GetScheduleCount() const { return m_count; }
    CScheduleEventsPanel* GetPanel() const { return m_panel; }

private:
    int Load();
    void ShowSchedule(int id, int redraw);

    CZVServer& m_server;
    const IHouseModeNames* m_modes;
    int m_count = 0;
    CScheduleEventsPanel* m_panel = nullptr;
};

// The keypad and switch commands to add, one tab each.
class CScheduleCommandPicker : public CTRRegion {
public:
    enum : int { kSwitchesFlag = 1, kKeypadsFlag = 2 };
    enum : int { kKeypadsTab = 1003, kSwitchesTab = 1004 };

    CScheduleCommandPicker(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour,
                           ILightCommandOwner* owner, int kinds, CZVServer& server);

    int OnCommand(int id) override;

    CLightCommandWnd* GetCommands() const { return m_commands; }

private:
    void ShowCommands(int id, int redraw);

    CZVServer& m_server;
    ILightCommandOwner* m_owner;
    CLightCommandWnd* m_commands = nullptr;
};

// The whole view, as the lighting page shows it; commands end here.
class CScheduleCommandsView : public CZVWindow {
public:
    static constexpr int kStyleClass = 5;

    CScheduleCommandsView(CZVWindow* parent, CZVRect rect, COLORREF colour, CZVServer& server,
                          const IHouseModeNames* modes);

    int OnCommand(int) override { return 1; }

    CScheduleTabsPage* GetTabsPage() const { return m_tabs; }
    CScheduleCommandPicker* GetPicker() const { return m_picker; }

private:
    CScheduleTabsPage* m_tabs = nullptr;
    CScheduleCommandPicker* m_picker = nullptr;
};
