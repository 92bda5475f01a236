#pragma once
// Wizard step 4, "Setup Vortana (Step 4 of 5)": up to eight variable-speed
// pumps, each a 30-byte record of configuration byte table 9: its type and
// background circuit, up to eight circuits with the flow (GPM) or speed (RPM)
// the pump runs at for each, and, in "Background Filtering", a
// flow-controlled pump's filtering, vacuum, priming and backwash settings.
// Adapters before 4.0 have no table 9 and no pump step.
#include <memory>

#include "basinsetup/dialogcontrols.h"
#include "core/basinsetup.h"

enum : int {
    IDC_PUMP_TABS = 1061,
    IDC_PUMP_TYPE = 1131,
    IDC_BACKGROUND = 1113,
    IDC_BACKGROUND_FILTERING = 1108,
};

inline constexpr int kPumpRows = 8;
inline constexpr int kPumpCircuitIds[kPumpRows] = {1127, 1129, 1133, 1135, 1137, 1139, 1141, 1143};
inline constexpr int kPumpFlowIds[kPumpRows] = {1128, 1130, 1134, 1136, 1138, 1140, 1142, 1144};

enum : int { kPumpNone = 0, kPumpFlow = 1, kPumpSpeed = 2 };

class CStep4Sides {
public:
    virtual ~CStep4Sides() = default;
    virtual void RunFlows(std::shared_ptr<CBasinSetup> model, int pump) = 0;
};

class CStep4Dlg : public CDialogLogic {
public:
    CStep4Dlg(CDialogView& view, CStep4Sides& sides, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;

    // A circuit that a pump may serve: allowed in the lists, not hidden.
    bool IsPumpCircuit(int deviceId) const;
    // The type that pump p's record holds.
    int StoredType(int pump) const;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    void LoadPump();
    void RefreshPump(bool typeChanged);
    void WriteTypeDefaults(int type);
    void FillFlowList(int row, int type);
    void OnSelchangeType();
    void OnSelchangeRow();
    int Pump() const;
    int Base() const { return 30 * Pump(); }
    int UsedRows() const;
    uint8_t Byte(int index) const;

    CStep4Sides& m_sides;
    std::shared_ptr<CBasinSetup> m_model;
};

// "Pump %d Filtering": the twelve settings of a flow-controlled pump.
inline constexpr int kFlowListIds[12] = {1114, 1115, 1116, 1117, 1118, 1119, 1120, 1121, 1122, 1123, 1124, 1125};

class CFlowsDlg : public CDialogLogic {
public:
    CFlowsDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model, int pump);

    void OnInitDialog() override;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    // Every list as the model holds it.
    void ShowStored();

    std::shared_ptr<CBasinSetup> m_model;
    int m_pump;
};
