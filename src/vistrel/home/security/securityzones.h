#pragma once
// CSecurityZonesPage: the "Status" sub-tab of the security page for one
// partition: a line that tells whether it is armed, arming, in entry delay,
// in alarm or ready (a red panel in its place during an alarm), the arming
// keypad where the partition offers one, and the lists of system faults,
// bypassed zones and faulted zones, with the bypass buttons.
#include "vistrel/home/security/securitymodel.h"
#include "widgets/window/zvwindow.h"

class CRRegion;
class CSecurityKeypadWnd;
class CTextList;
class CZVLabel;

// The status line of a status word, and whether it is the alarm's white.
struct CSecurityStatusText {
    CZVString text;
    int white = 0;
};
CSecurityStatusText SecurityStatusText(const CSecurityPartition& partition);

class CSecurityZonesPage : public CZVWindow {
public:
    static constexpr int kBypass = 1000;
    static constexpr int kUnbypass = 1001;
    static constexpr int kRefreshDelay = 5000;  // ms after an arm or disarm
    static constexpr COLORREF kAlarmFace = 0x0A0AC8;

    CSecurityZonesPage(CZVWindow* parent, CZVRect rect, CSecurityPartition* partition);
    ~CSecurityZonesPage() override;

    int OnCommand(int id) override;
    void OnTimer() override;

    int IsAlarmShown() const { return m_alarmShown; }
    int IsWorking() const { return m_working; }
    CZVLabel* GetShownLabel() const { return m_alarmShown ? m_alarmLabel : m_statusLabel; }
    CSecurityKeypadWnd* GetKeypad() const { return m_keypad; }
    CTextList* GetSystemFaults() const { return m_faults; }
    CTextList* GetBypassed() const { return m_bypassed; }
    CTextList* GetZoneFaults() const { return m_zoneFaults; }

private:
    CRRegion* MakePanel(CZVRect band, CZVLabel** label);
    CTextList* MakeBlock(CZVRect rect, const char* caption, const char* emptyText, COLORREF colour);
    void Refresh();
    void FillZones(CTextList* list, int32_t listed, int32_t active);
    void ShowAlarmPanel(int alarm);
    void UpdateStatusText(int redraw);
    // The zone of the list's selected row to the gateway; nothing without one.
    void SendZone(CTextList* list, uint16_t request);
    int ShouldRedraw();

    CSecurityPartition* m_partition;
    CRRegion* m_statusPanel = nullptr;
    CRRegion* m_alarmPanel = nullptr;
    CZVLabel* m_statusLabel = nullptr;
    CZVLabel* m_alarmLabel = nullptr;
    int m_alarmShown = 0;
    CSecurityKeypadWnd* m_keypad = nullptr;
    CTextList* m_faults = nullptr;
    CTextList* m_bypassed = nullptr;
    CTextList* m_zoneFaults = nullptr;
    int m_working = 0;
};
