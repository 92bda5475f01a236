#include "basinsetup/setupitems.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "basinsetup/basinsetupdlg.h"

uint8_t ConfigByte(const CBasinSetup& model, int table, int index) {
    return GetByteAt(model.GetTable(table + 1), model.GetTableCount(table + 1), index);
}

int ConfigTableSize(const CBasinSetup& model, int table) { return model.GetTableCount(table + 1); }

namespace {

// The writer of configuration table n (1 to 9): (index, value, write).
using TableSetter = int (CBasinSetup::*)(int, uint8_t, int);
constexpr TableSetter kTableSetters[] = {
    &CBasinSetup::SetTableByte1, &CBasinSetup::SetTableByte2, &CBasinSetup::SetTableByte3,
    &CBasinSetup::SetTableByte4, &CBasinSetup::SetTableByte5, &CBasinSetup::SetTableByte6,
    &CBasinSetup::SetTableByte7, &CBasinSetup::SetTableByte8, &CBasinSetup::SetTableByte9};

int StoreByte(CBasinSetup& model, int table, int index, uint8_t value) {
    if (table < 1 || table > static_cast<int>(std::size(kTableSetters))) return 0;
    return (model.*kTableSetters[table - 1])(index, value, 0);
}

}  // namespace

int CTableChange::Set(int table, int index, uint8_t value) {
    const uint8_t old = ConfigByte(m_model, table, index);
    if (!StoreByte(m_model, table, index, value)) return 0;
    m_before.push_back({table, index, old});
    return 1;
}

void CTableChange::Set(int table, const TableBytes& bytes) {
    for (const auto& [index, value] : bytes) Set(table, index, value);
}

int CTableChange::Write(CDialogView& view) {
    if (m_before.empty()) return 0;
    if (m_model.WriteConfigurationTables()) {
        m_before.clear();
        return 1;
    }
    for (auto old = m_before.rbegin(); old != m_before.rend(); ++old)
        StoreByte(m_model, old->table, old->index, old->value);
    m_before.clear();
    view.ShowMessage(kChangeRefused);
    return 0;
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
    for (uint8_t code : codes) items.push_back({model.GetTriggerName(code), code});
    return items;
}

void ShowStoredCode(CDialogControls& controls, int id, std::vector<CListItem> offered, uint8_t code) {
    const bool known =
        std::any_of(offered.begin(), offered.end(), [&](const CListItem& item) { return item.data == code; });
    if (!known) offered.push_back({FormatText("Unknown (%d)", code), code});
    controls.SetItems(id, std::move(offered));
    controls.SelectData(id, code);
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
