#pragma once
// The schedule editor of a climate zone or of a shared schedule: the day
// buttons pick a day, the day editor changes its periods, and for a zone
// the "Active Schedule:" chooser lets it follow one of the gateway's shared
// schedules or go back to a program of its own. The editor works on its own
// copy of the program it shows, so the gateway's pushes of the shared
// schedules never pull records from under it, and writes the copy back on
// the next day change, schedule change or when it closes, if it changed.
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "vistrel/home/climate/climatemodel.h"
#include "vistrel/home/climate/dayparts.h"
#include "widgets/regions/rregion.h"

class CZVButton;
class CZVCheckButton;
class CZVLabel;

// ZVM_HVAC_SCHEDULECHANGED: the zone whose programs changed; 0 when cut short.
int ReadScheduleChanged(CZVMSG& message, int32_t* zone);

// "Active Schedule:" with the name of the shared schedule the zone follows,
// or "Individual", and Previous, Next and "Save as\nIndividual".
class CThermostatScheduleWnd : public CRRegion {
public:
    static constexpr int kStyleClass = 8;
    enum : int { kPreviousId = 1000, kNextId = 1001, kSaveId = 1002 };

    CThermostatScheduleWnd(CZVWindow* parent, CZVRect rect, const CHvacZoneList& list, CThermostatZone& zone,
                           int changeCommand, int saveCommand);

    int OnCommand(int id) override;
    // 0: the zone's own program.
    int GetCurrentId() const { return m_ids[static_cast<size_t>(m_index)]; }
    CZVLabel* GetNameLabel() const { return m_name; }
    CZVButton* GetSaveButton() const { return m_save; }

private:
    void ShowCurrent(int animate);

    // Kept from the list as it was, whatever the gateway pushes later.
    std::vector<int> m_ids;  // 0, then the list's ids in order
    std::vector<CZVString> m_names;
    int m_index = 0;
    int m_changeCommand;
    int m_saveCommand;
    CZVLabel* m_name = nullptr;
    CZVButton* m_save = nullptr;
};

class CHvacSchedulePage : public CZVWindow, public CSocketSink {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kChooserHeight = 50;
    static constexpr int kDayButtonsHeight = 30;
    static constexpr int kDayButtonGap = 5;
    static constexpr int kFirstDayId = 1001;
    enum : int { kFollowId = 1010, kLeaveSharedId = 1011 };

    // Either a zone (its program at the index, or the shared schedule it
    // follows) or a shared schedule of the list.
    CHvacSchedulePage(CZVWindow* parent, CZVRect rect, CZVServer& server, CThermostatZone* zone,
                      const CHvacZone* shared, int programIndex, CHvacZoneList& list);
    ~CHvacSchedulePage() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;
    // Writes the program back when the day editor changed it.
    void Save();

    CThermostatScheduleWnd* GetChooser() const { return m_chooser; }
    CDayPartSelector* GetEditor() const { return m_editor; }
    // The copy the editor shows; null when there is no program.
    CHvacZone* GetProgram() const { return m_program.get(); }
    int GetDayButtonCount() const { return static_cast<int>(m_days.size()); }
    CZVCheckButton* GetDayButton(int day) const;
    // The day last chosen on any schedule page.
    static int GetRememberedDay();

private:
    // A copy of the program shown now: the zone's own, the shared schedule it
    // follows, or the page's shared schedule.
    void TakeProgram();
    // Rebuilds the editor on the day's record unless it shows it already.
    void SelectDay(int day, int force);
    // The editor anew on the program shown now, on the remembered day;
    // with reload the zone's programs come again from the gateway first.
    // Edits not saved are dropped.
    void Rebuild(int reload);
    void Subscribe();
    void UpdateDayButtons(int redraw);

    CThermostatZone* m_zone;
    int m_sharedId;  // the page's shared schedule without a zone
    int m_programIndex;
    CHvacZoneList& m_list;
    std::unique_ptr<CHvacZone> m_program;
    CThermostatScheduleWnd* m_chooser = nullptr;
    CDayPartSelector* m_editor = nullptr;
    CZVRect m_editorRect;
    std::vector<CZVCheckButton*> m_days;
};
