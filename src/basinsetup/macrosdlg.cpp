#include "basinsetup/macrosdlg.h"

#include <algorithm>

#include "basinsetup/setupitems.h"

namespace {

constexpr int kRecordSize = 14;
constexpr int kMaskSize = 7;
constexpr int kLastMacroDevice = kMaskSize * 8;

// Where device id d sits in the masks of record m; false for device ids
// that have no bit there, which would otherwise reach into the other mask or
// the next record.
bool MacroBit(int m, int d, int& offEntry, int& onEntry, uint8_t& bit) {
    if (d < 1 || d > kLastMacroDevice) return false;
    offEntry = kRecordSize * m + (d - 1) / 8;
    onEntry = offEntry + kMaskSize;
    bit = static_cast<uint8_t>(1u << ((d - 1) % 8));
    return true;
}

}  // namespace

std::string GetActionText(int action) {
    switch (action) {
    case kActionOn: return "On";
    case kActionOff: return "Off";
    case kActionIgnore: return "None";
    default: return "Error";
    }
}

CMacrosDlg::CMacrosDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model, CPoolCircuit& macro)
    : CDialogLogic(view), m_model(std::move(model)), m_macro(macro) {}

void CMacrosDlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Configure: " + m_macro.name);
    FillList();
}

int CMacrosDlg::GetMacroAction(int m, int d) const {
    int offEntry = 0, onEntry = 0;
    uint8_t bit = 0;
    if (!MacroBit(m, d, offEntry, onEntry, bit)) return kActionIgnore;
    if (ConfigByte(*m_model, 6, offEntry) & bit) return kActionOff;
    if (ConfigByte(*m_model, 6, onEntry) & bit) return kActionOn;
    return kActionIgnore;
}

int CMacrosDlg::SetMacroAction(int m, int d, int action, CTableChange& change) {
    int offEntry = 0, onEntry = 0;
    uint8_t bit = 0;
    if (!MacroBit(m, d, offEntry, onEntry, bit)) return 0;
    uint8_t off = ConfigByte(*m_model, 6, offEntry) & ~bit;
    uint8_t on = ConfigByte(*m_model, 6, onEntry) & ~bit;
    if (action == kActionOn)
        on |= bit;
    else if (action == kActionOff)
        off |= bit;
    change.Set(6, offEntry, off);
    return change.Set(6, onEntry, on);
}

const CPoolCircuit& CMacrosDlg::RowCircuit(int row) const {
    return *m_model->GetCircuit(m_controls.Items(IDC_MACRO_LIST)[static_cast<size_t>(row)].data);
}

std::string CMacrosDlg::RowText(const CPoolCircuit& circuit) const {
    return circuit.name + "\t" + GetActionText(GetMacroAction(Record(), circuit.deviceId));
}

void CMacrosDlg::FillList() {
    std::vector<CListItem> rows;
    for (int i = 0; i < m_model->GetCircuitCount(); ++i) {
        const CPoolCircuit& circuit = *m_model->GetCircuit(i);
        if (&circuit != &m_macro && circuit.function != kHiddenFunction) rows.push_back({RowText(circuit), i});
    }
    m_controls.SetItems(IDC_MACRO_LIST, std::move(rows));
    EnableActions(false);
}

void CMacrosDlg::EnableActions(bool on) {
    for (int id : {IDC_ACTION_ON, IDC_ACTION_OFF, IDC_ACTION_IGNORE}) m_controls.Enable(id, on);
}

void CMacrosDlg::ShowAction() {
    m_controls.SetChecked(IDC_ACTION_ON, m_action == kActionOn);
    m_controls.SetChecked(IDC_ACTION_OFF, m_action == kActionOff);
    m_controls.SetChecked(IDC_ACTION_IGNORE, m_action == kActionIgnore);
}

void CMacrosDlg::OnSelchange(int id) {
    if (id != IDC_MACRO_LIST) return;
    const std::vector<int> rows = m_controls.SelectedRows(IDC_MACRO_LIST);
    EnableActions(!rows.empty());
    m_action = rows.size() == 1 ? GetMacroAction(Record(), RowCircuit(rows.front()).deviceId) : -1;
    ShowAction();
}

void CMacrosDlg::OnClicked(int id) {
    if (id == IDC_CANCEL) {
        m_controls.View().EndDialog(kDialogCancel);
        return;
    }
    if (id < IDC_ACTION_ON || id > IDC_ACTION_IGNORE) return;
    m_action = id - IDC_ACTION_ON;
    ShowAction();
    // One write after the last selected row, whichever rows had a place.
    CTableChange change(*m_model);
    const std::vector<int> rows = m_controls.SelectedRows(IDC_MACRO_LIST);
    for (int row : rows) SetMacroAction(Record(), RowCircuit(row).deviceId, m_action, change);
    if (!change.Write(m_controls.View())) {
        m_action = rows.size() == 1 ? GetMacroAction(Record(), RowCircuit(rows.front()).deviceId) : -1;
        ShowAction();
    }
    for (int row : rows) m_controls.SetItemText(IDC_MACRO_LIST, row, RowText(RowCircuit(row)));
}

CLightsDlg::CLightsDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_model(std::move(model)) {}

void CLightsDlg::OnInitDialog() { ShowStored(); }

// A stored light that is no longer offered shows as unknown and stays stored.
void CLightsDlg::ShowStored() {
    std::vector<CListItem> items = TriggerItems(*m_model, {0});
    for (const CListItem& light : CircuitItems(*m_model, true, [](const CPoolCircuit& c) {
             return (c.function >= 7 && c.function <= 12) || c.function == 16;
         }))
        items.push_back(light);
    for (size_t slot = 0; slot < std::size(kLightSlots); ++slot)
        ShowStoredCode(m_controls, kLightSlots[slot], items, ConfigByte(*m_model, 8, static_cast<int>(slot)));
}

// Only the changed slot's entry is written; the others stay as stored.
void CLightsDlg::OnSelchange(int id) {
    const auto slot = std::find(std::begin(kLightSlots), std::end(kLightSlots), id);
    const int code = m_controls.SelectedData(id, -1);
    if (slot == std::end(kLightSlots) || code < 0) return;
    CTableChange change(*m_model);
    change.Set(8, static_cast<int>(slot - std::begin(kLightSlots)), static_cast<uint8_t>(code));
    if (!change.Write(m_controls.View())) ShowStored();
}

void CLightsDlg::OnClicked(int id) {
    if (id == IDC_OK) m_controls.View().EndDialog(kDialogOk);
}
