#pragma once
// CPumpPage: the Equipment tab of one variable-speed pump: its alarms,
// whether it runs, its power, speed and flow, the filter's state, and its
// speed or flow presets, each tied to a circuit the user can switch and
// whose value the user can step. The pump's state is asked every five
// seconds, answered to the page's own sink.
#include <array>
#include <cstdint>

#include "core/zvserver.h"
#include "vistrel/home/pool/equipparts.h"
#include "vistrel/home/pool/equipreaders.h"
#include "vistrel/shell/pbase.h"

class CBevelPanel;
class CCaptionFitter;
class CLampMeter;
class CRRegion;
class CZV3DButton;
class CZVCheckButton;
class CZVLabel;

class CPumpPage : public CSubPanel, public CSocketSink {
public:
    static constexpr int kStyleClass = 5;
    enum : int { kUpId = 1010, kDownId = 1020, kReleaseId = 1030, kCircuitId = 1040 };
    static constexpr int kPollInterval = 5000;  // ms
    // Editing ends by itself this long after the last arrow step, so that a
    // release that never comes cannot stop the updates for good.
    static constexpr uint32_t kEditingTimeout = 3000;
    static constexpr int kAlarms = 10;
    static constexpr int kMinRows = 4;
    static constexpr int kLamps = 35;
    // The filter gauge's colour groups, from the left: lamps of each.
    static constexpr int kLampGroups[4] = {18, 8, 5, 4};
    static constexpr int kMinRpm = 400, kMaxRpm = 3450, kRpmStep = 10;
    static constexpr int kMinGpm = 15, kMaxGpm = 130;
    static constexpr int kMaxWatts = 3300;

    // The value of a preset stepped by count in either mode, within its limits.
    static int StepPreset(int value, int count, int rpmMode);
    // Lamps lit for a filter percentage.
    static int LitLamps(int filter) { return (kLamps * filter + 99) / 100; }

    CPumpPage(CZVWindow* parent, CZVRect rect, int pump, CBasinSetup* model, CZVServer& server);
    ~CPumpPage() override;

    int OnChildCommand(int id, int count) override;
    void OnTimer() override;
    void OnShow(int show) override;
    void OnStatusUpdate() override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    void RequestStatus();
    void ShowStatus(const CPumpStatus& status, int redraw);

    int GetPump() const { return m_pump; }
    int IsEditing() const { return m_editing; }
    int IsRpmMode() const { return m_rpmMode; }
    int GetRowCount() const { return m_rowCount; }
    int GetPresetValue(int slot) const { return m_presetValues[static_cast<size_t>(slot)]; }
    CZVLabel* GetPresetLabel(int slot) const { return m_presetLabels[static_cast<size_t>(slot)]; }
    CZVCheckButton* GetCircuitButton(int slot) const { return m_circuitButtons[static_cast<size_t>(slot)]; }
    CZVLabel* GetAlarm(int i) const { return m_alarms[static_cast<size_t>(i)]; }
    CZVLabel* GetPumpOn() const { return m_pumpOn; }
    CZVLabel* GetPumpOff() const { return m_pumpOff; }
    CBevelPanel* GetWatts() const { return m_watts; }
    CBevelPanel* GetRpm() const { return m_rpm; }
    CBevelPanel* GetGpm() const { return m_gpm; }
    CLampMeter* GetFilterGauge() const { return m_filterGauge; }
    CZVLabel* GetFilterText() const { return m_filterText; }
    CRRegion* GetStatusPanel() const { return m_statusPanel; }
    CRRegion* GetOutputPanel() const { return m_outputPanel; }

private:
    void BuildStatus();
    void BuildOutput();
    CBevelPanel* BuildValueBox(CZVRect rect, const char* caption, CCaptionFitter& captions);
    void BuildPresets();
    void ShowPresetLabel(int slot, int redraw);
    void ShowValue(CBevelPanel* display, int value, int full, int redraw);
    void StepSlot(int slot, int count);
    void SendPreset(int slot);
    int MayRedraw();

    int m_pump;
    int m_presetsBuilt = 0;
    int m_rpmMode = 0;
    int m_rowCount = 0;
    int m_editing = 0;
    uint32_t m_lastStep = 0;
    std::array<int32_t, CPumpStatus::kPresets> m_presetValues{};
    std::array<uint8_t, CPumpStatus::kPresets> m_presetCircuits{};
    std::array<CZVLabel*, CPumpStatus::kPresets> m_presetLabels{};
    std::array<CZVCheckButton*, CPumpStatus::kPresets> m_circuitButtons{};
    std::array<CZVLabel*, kAlarms> m_alarms{};
    CZVLabel* m_pumpOn = nullptr;
    CZVLabel* m_pumpOff = nullptr;
    CBevelPanel* m_watts = nullptr;
    CBevelPanel* m_rpm = nullptr;
    CBevelPanel* m_gpm = nullptr;
    CLampMeter* m_filterGauge = nullptr;
    CZVLabel* m_filterText = nullptr;
    CRRegion* m_statusPanel = nullptr;
    CRRegion* m_presetPanel = nullptr;
    CRRegion* m_outputPanel = nullptr;
};
