#pragma once
// Wizard step 2, "Setup Circuits (Step 2 of 5)": each circuit's name,
// function, the tablet page that shows it, "On with Freeze" and a light's
// place in the light sequence, each written to the gateway as it changes;
// and the custom names. The step keeps nothing of its own.
#include <memory>
#include <string>

#include "basinsetup/dialogcontrols.h"
#include "core/basinsetup.h"

enum : int {
    IDC_CIRCUIT_LIST = 1034,
    IDC_CIRCUIT_NAME = 1035,
    IDC_CIRCUIT_FUNCTION = 1038,
    IDC_SHOW_WITH = 1039,
    IDC_LIGHT_POSITION = 1049,
    IDC_ON_WITH_FREEZE = 1042,
    IDC_FEATURE_CONFIG = 1026,
    IDC_SET_CUSTOM_NAMES = 1040,
    IDC_SPECIAL_LIGHTS = 1041,
};

// The side dialogs that step 2 opens, each run modally on the step's model.
class CStep2Sides {
public:
    virtual ~CStep2Sides() = default;
    virtual void RunCustomNames(std::shared_ptr<CBasinSetup> model) = 0;
    virtual void RunMacros(std::shared_ptr<CBasinSetup> model, CPoolCircuit& circuit) = 0;
    virtual void RunSpecialLights(std::shared_ptr<CBasinSetup> model) = 0;
};

// Row fields: "Main" or the load centre's number, and the circuit's label.
std::string GetLoadCenterLabel(int position);
std::string GetCircuitLabel(int position, int controllerType);

class CStep2Dlg : public CDialogLogic {
public:
    CStep2Dlg(CDialogView& view, CStep2Sides& sides, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;
    std::string FormatRow(const CPoolCircuit& circuit) const;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;

private:
    // A circuit's written fields, put back when the gateway does not take a change.
    struct Written {
        uint8_t nameIndex, function, showWith, flags;
    };

    void FillLists();
    void FillNameList(bool feature);
    void FillShowWithList(bool lightEntries);
    void FillPositionList();
    void UpdateRow();
    void UpdateFeatureButton();
    CPoolCircuit* Selected() const;
    void OnSelchangeCircuitList();
    void OnSelchangeName();
    // false when the gateway refused the change.
    bool OnSelchangeFunction();
    bool OnSelchangeShowWith();
    void OnSelchangePosition();
    void OnFreezeClicked();
    void OnCustomNames();
    // Writes the circuit; when the gateway does not answer, the circuit
    // takes back what it had, the controls show it again and the user is
    // told. 1 when written.
    int Write(CPoolCircuit& circuit, const Written& before);
    static Written Fields(const CPoolCircuit& circuit);

    CStep2Sides& m_sides;
    std::shared_ptr<CBasinSetup> m_model;
    bool m_kept = false;
    bool m_freeze = false;
};

// "Custom Names": renames the gateway's custom circuit names.
enum : int {
    IDC_CUSTOM_LIST = 1037,
    IDC_CUSTOM_EDIT = 1036,
    IDC_SET_NAME = 1026,
};

inline constexpr int kCustomNameLength = 11;

class CCustomNamesDlg : public CDialogLogic {
public:
    CCustomNamesDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model);

    void OnInitDialog() override;

protected:
    void OnSelchange(int id) override;
    void OnClicked(int id) override;
    void OnEdited(int id) override;

private:
    void FillList();
    std::string NameText() const;

    std::shared_ptr<CBasinSetup> m_model;
};
