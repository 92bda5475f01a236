#pragma once
// Two side dialogs of the circuits step: a feature circuit's macro (which
// circuits it turns on, turns off or leaves alone; table 6) and the special
// lights that "All On" and "All Off" switch (table 8). Every change is sent
// at once; a change the gateway does not take is told and undone.
#include <memory>
#include <string>

#include "basinsetup/dialogcontrols.h"
#include "basinsetup/setupitems.h"
#include "core/basinsetup.h"

enum : int {
    IDC_MACRO_LIST = 1053,
    IDC_ACTION_ON = 1050,
    IDC_ACTION_OFF = 1051,
    IDC_ACTION_IGNORE = 1052,
};

enum : int { kActionOn = 0, kActionOff = 1, kActionIgnore = 2 };

// "On", "Off", "None", else "Error".
std::string GetActionText(int action);

class CMacrosDlg : public CDialogLogic {
public:
    CMacrosDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model, CPoolCircuit& macro);

    void OnInitDialog() override;

    // The action that macro record m stores for device id d.
    int GetMacroAction(int m, int d) const;
    // Stores it as part of the change. 0 when d has no place in the record
    // (device ids 1 to 56 have one).
    int SetMacroAction(int m, int d, int action, CTableChange& change);
    int Action() const { return m_action; }

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    void FillList();
    void EnableActions(bool on);
    void ShowAction();
    int Record() const { return m_macro.deviceId - 41; }
    const CPoolCircuit& RowCircuit(int row) const;
    std::string RowText(const CPoolCircuit& circuit) const;

    std::shared_ptr<CBasinSetup> m_model;
    CPoolCircuit& m_macro;
    int m_action = -1;
};

// The twelve slots in table order.
inline constexpr int kLightSlots[12] = {1109, 1115, 1116, 1117, 1118, 1119, 1122, 1123, 1124, 1125, 1128, 1129};

class CLightsDlg : public CDialogLogic {
public:
    CLightsDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    void ShowStored();

    std::shared_ptr<CBasinSetup> m_model;
};
