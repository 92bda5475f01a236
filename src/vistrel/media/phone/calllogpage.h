#pragma once
// CCallLogPage: the phone panel's "Incoming Calls" tab: the calls the
// gateway logged, how many and over which days, the caller of a call in
// progress, and the call's audio when the gateway offers it. While a caller
// is shown or call audio plays, touching the list does not move the
// selection.
#include "core/zvserver.h"
#include "vistrel/media/phone/callinprogress.h"
#include "widgets/window/zvwindow.h"

class CCallerIdList;
class CVolumeWnd;
class CZV3DButton;
class CZVLabel;
class CZVLevelBar;

class CCallLogPage : public CZVWindow, public CSocketSink {
public:
    enum Command : int { kUp = 1001, kDown = 1002, kVolume = 1004, kListChanged = 1009 };
    enum State : int { kCallerShown = 0x10, kCallAudio = 0x40 };
    static constexpr int kTimerInterval = 200;  // ms

    CCallLogPage(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server);
    ~CCallLogPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;
    void OnKeyDown(int key, int flags) override;
    void OnMessage(CZVMSG* message) override;
    virtual void HandleCommand(int id, int redraw);

    CCallerIdList* GetList() const { return m_list; }
    CZVLabel* GetInfoLine(int line) const { return line == 0 ? m_info1 : m_info2; }
    CZV3DButton* GetUpButton() const { return m_up; }
    CZV3DButton* GetDownButton() const { return m_down; }
    int GetState() const { return m_state; }

private:
    void UpdateStatus(int redraw);
    void UpdateArrows(int redraw);
    void UpdateProgress(int redraw);
    void UpdateDisplay(int redraw);
    void Reload();
    void Select(int index);

    CCallerIdList* m_list = nullptr;
    CZVLevelBar* m_level = nullptr;
    CZVLabel* m_info1 = nullptr;
    CZVLabel* m_info2 = nullptr;
    CZV3DButton* m_up = nullptr;
    CZV3DButton* m_down = nullptr;
    CVolumeWnd* m_volume = nullptr;
    int m_reloadPending = 1;
    int m_state = 0;
    CCallInProgress m_call{m_state, kCallerShown, kCallAudio};
    int m_current = -1;
};
