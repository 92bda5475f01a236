#pragma once
// Wizard step 3, "Configure Other Equipment (Step 3 of 5)": what each valve
// of each load centre serves, per body of water the solar equipment, the
// heater cool-down and the circuits that need the pump's high speed, the
// pump during valve action, spa manual heat and the chlorinator. All but the
// chlorinator live in configuration byte tables 1, 2, 4, 5 and 7, sent at
// every change.
#include <cstdint>
#include <memory>

#include "basinsetup/dialogcontrols.h"
#include "core/basinsetup.h"
#include "core/messages/setupmessages.h"

enum : int {
    IDC_VALVE_LIST = 1043,
    IDC_VALVE_CIRCUIT = 1035,
    IDC_PUMP_OFF_VALVE = 1051,
    IDC_SPA_MANUAL_HEAT = 1057,
    IDC_BODY_TABS = 1061,
    IDC_HIGH_SPEED_LIST = 1034,
    IDC_CHLORINATOR = 1058,
    IDC_SOLAR = 1055,
    IDC_SOLAR_HEAT_PUMP = 1071,
    IDC_COOL_DOWN = 1054,
    IDC_ADD_CIRCUIT = 1026,
    IDC_REMOVE_CIRCUIT = 1006,
};

// The side dialog that picks a circuit for the high-speed list.
class CStep3Sides {
public:
    virtual ~CStep3Sides() = default;
    // True with the chosen code after "OK".
    virtual bool RunSelectCircuit(std::shared_ptr<CBasinSetup> model, uint8_t& code) = 0;
};

class CStep3Dlg : public CDialogLogic {
public:
    CStep3Dlg(CDialogView& view, CStep3Sides& sides, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;
    // The entries of table 1 that belong to the selected tab, end excluded.
    void GetHighSpeedRange(int& first, int& end) const;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    void InsertBodyTabs();
    void LoadBodyOptions();
    // Every option box as the model holds it.
    void ShowOptions();
    void FillValveList();
    void FillValveCircuits();
    void FillHighSpeedList();
    void OnSelchangeValve();
    void OnSelchangeValveCircuit();
    void OnOptionClicked();
    void OnChlorinatorClicked();
    void OnAddCircuit();
    void OnRemoveCircuit();
    bool FirstBodyTab() const { return m_controls.Selection(IDC_BODY_TABS) == 0; }

    CStep3Sides& m_sides;
    std::shared_ptr<CBasinSetup> m_model;
    bool m_twoBodies = false;
};

// "Select a Circuit that Requires High-Speed".
enum : int { IDC_SELECT_LIST = 1034 };

class CSelectCircuitDlg : public CDialogLogic {
public:
    CSelectCircuitDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;
    uint8_t Chosen() const { return m_chosen; }

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    std::shared_ptr<CBasinSetup> m_model;
    uint8_t m_chosen = 0;
};
