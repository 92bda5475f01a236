#include "basinsetup/setupitems.h"

#include <cstdio>

#include "basinsetup/basinsetupdlg.h"

uint8_t ConfigByte(const CBasinSetup& model, int table, int index) {
    return GetByteAt(model.GetTable(table + 1), model.GetTableCount(table + 1), index);
}

int ConfigTableSize(const CBasinSetup& model, int table) { return model.GetTableCount(table + 1); }

int StoreTableBytes(CBasinSetup& model, TableSetter set, const std::vector<std::pair<int, uint8_t>>& bytes) {
    int stored = 0;
    for (const auto& [index, value] : bytes)
        stored |= (model.*set)(index, value, 0);
    if (stored)
        model.WriteConfigurationTables();
    return stored;
}

bool IsCompactController(const CBasinSetup& model) {
    return model.GetControllerType() == 13 || model.GetControllerType() == 14;
}

std::vector<CListItem> CircuitItems(const CBasinSetup& model, bool byTrigger,
                                    const std::function<bool(const CPoolCircuit&)>& take) {
    std::vector<CListItem> items;
    for (int i = 0; i < model.GetCircuitCount(); ++i) {
        const CPoolCircuit& circuit = *model.GetCircuit(i);
        if (take(circuit))
            items.push_back({byTrigger ? model.GetTriggerName(circuit.deviceId) : circuit.name, circuit.deviceId});
    }
    return items;
}

std::vector<CListItem> TriggerItems(const CBasinSetup& model, std::initializer_list<uint8_t> codes) {
    std::vector<CListItem> items;
    for (uint8_t code : codes)
        items.push_back({model.GetTriggerName(code), code});
    return items;
}

std::string FormatText(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool EndWizardStep(CDialogControls& controls, int id) {
    switch (id) {
    case IDC_OK: controls.View().EndDialog(kStepNext); return true;
    case IDC_STEP_BACK: controls.View().EndDialog(kStepBack); return true;
    case IDC_STEP_FINISH:
    case IDC_CANCEL: controls.View().EndDialog(kStepCancel); return true;
    default: return false;
    }
}
