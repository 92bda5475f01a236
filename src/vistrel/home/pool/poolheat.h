#pragma once
// CPoolHeatPage: the panel of one body of water on the pool page's Main
// tab: its name and circuit buttons on the left; on the right the actual
// temperature, the set point with arrows that step it within the body's
// limits, the heat-mode buttons and the heat-status indicators.
#include <array>
#include <string>

#include "vistrel/home/pool/poolbuttons.h"
#include "widgets/regions/rregion.h"

class CBasinSetup;
class CZV3DButton;
class CZVCheckButton;
class CZVLabel;

class CPoolHeatPage : public CRRegion {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kUpId = 1001;
    static constexpr int kDownId = 1002;
    static constexpr int kOffId = 1004;  // modes: id - kOffId
    static constexpr int kHeatId = 1007;
    static constexpr int kControlWidth = 440;
    static constexpr COLORREF kUpTint = 0x0000FF;
    static constexpr COLORREF kDownTint = 0xFF0000;
    // Heat modes and the bits of the heat status.
    enum : int { kModeOff = 0, kModeSolar = 1, kModeSolarPreferred = 2, kModeHeat = 3 };

    // circuits: the body's side, each given a button; largerCount: the
    // larger of both bodies' list sizes, so that both panels' buttons match.
    CPoolHeatPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, int body, const std::string& name,
                  const CZVObList& circuits, int largerCount);

    int OnCommand(int id) override;
    void OnTimer() override;

    // Values of a status (each 0..255).
    void UpdateFromStatus(int temperature, int heatStatus, int setPoint, int heatMode);
    void UpdateCircuitButtons(int redraw) { m_circuits.ShowStates(redraw); }
    void ShowHeatMode(int mode, int redraw);
    void ShowHeatStatus(int status, int redraw);

    int GetSetPoint() const { return m_setPoint; }
    CZV3DButton* GetArrow(int id) const { return id == kUpId ? m_up : m_down; }
    // The mode's button; null for an absent solar button.
    CZVCheckButton* GetModeButton(int mode) const { return m_modes[static_cast<size_t>(mode)]; }
    CZVLabel* GetSetPointLabel() const { return m_setPointLabel; }
    CZVLabel* GetTemperatureLabel() const { return m_temperatureLabel; }
    // Off, Heater, Solar (null without solar or heat pump).
    CZVLabel* GetIndicator(int index) const { return m_indicators[static_cast<size_t>(index)]; }
    const CCircuitButtons& GetCircuitButtons() const { return m_circuits; }

private:
    void BuildControls(CZVRect area);
    void BuildModeRow(CZVWindow* inner, CZVRect row);
    void BuildStatusRow(CZVWindow* inner, CZVRect row);
    void BuildCircuitButtons(CZVRect area, const CZVObList& circuits, int largerCount);
    void StepSetPoint(int delta);
    void Send(uint16_t id, int value);

    CBasinSetup* m_model;
    int m_body;
    int m_setPoint = 0;
    int m_heatMode = -1;  // -1 until the first status
    int m_minimum = 0;
    int m_maximum = 0;
    CZV3DButton* m_up = nullptr;
    CZV3DButton* m_down = nullptr;
    std::array<CZVCheckButton*, 4> m_modes{};
    CZVLabel* m_setPointLabel = nullptr;
    CZVLabel* m_temperatureLabel = nullptr;
    std::array<CZVLabel*, 3> m_indicators{};
    CCircuitButtons m_circuits;
};
