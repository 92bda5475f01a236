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
    if (d < 1 || d > kLastMacroDevice)
        return false;
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
    : CDialogLogic(view), model_(std::move(model)), macro_(macro) {}

void CMacrosDlg::OnInitDialog() {
    controls_.SetText(kTitleId, "Configure: " + macro_.name);
    FillList();
}

int CMacrosDlg::GetMacroAction(int m, int d) const {
    int offEntry = 0, onEntry = 0;
    uint8_t bit = 0;
    if (!MacroBit(m, d, offEntry, onEntry, bit))
        return kActionIgnore;
    if (ConfigByte(*model_, 6, offEntry) & bit)
        return kActionOff;
    if (ConfigByte(*model_, 6, onEntry) & bit)
        return kActionOn;
    return kActionIgnore;
}

int CMacrosDlg::SetMacroAction(int m, int d, int action, CTableChange& change) {
    int offEntry = 0, onEntry = 0;
    uint8_t bit = 0;
    if (!MacroBit(m, d, offEntry, onEntry, bit))
        return 0;
    uint8_t off = ConfigByte(*model_, 6, offEntry) & ~bit;
    uint8_t on = ConfigByte(*model_, 6, onEntry) & ~bit;
    if (action == kActionOn)
        on |= bit;
    else if (action == kActionOff)
        off |= bit;
    change.Set(6, offEntry, off);
    return change.Set(6, onEntry, on);
}

const CPoolCircuit& CMacrosDlg::RowCircuit(int row) const {
    return *model_->GetCircuit(controls_.Items(IDC_MACRO_LIST)[static_cast<size_t>(row)].data);
}

std::string CMacrosDlg::RowText(const CPoolCircuit& circuit) const {
    return circuit.name + "\t" + GetActionText(GetMacroAction(Record(), circuit.deviceId));
}

void CMacrosDlg::FillList() {
    std::vector<CListItem> rows;
    for (int i = 0; i < model_->GetCircuitCount(); ++i) {
        const CPoolCircuit& circuit = *model_->GetCircuit(i);
        if (&circuit != &macro_ && circuit.function != kHiddenFunction)
            rows.push_back({RowText(circuit), i});
    }
    controls_.SetItems(IDC_MACRO_LIST, std::move(rows));
    EnableActions(false);
}

void CMacrosDlg::EnableActions(bool on) {
    for (int id : {IDC_ACTION_ON, IDC_ACTION_OFF, IDC_ACTION_IGNORE})
        controls_.Enable(id, on);
}

void CMacrosDlg::ShowAction() {
    controls_.SetChecked(IDC_ACTION_ON, action_ == kActionOn);
    controls_.SetChecked(IDC_ACTION_OFF, action_ == kActionOff);
    controls_.SetChecked(IDC_ACTION_IGNORE, action_ == kActionIgnore);
}

void CMacrosDlg::OnSelchange(int id) {
    if (id != IDC_MACRO_LIST)
        return;
    const std::vector<int> rows = controls_.SelectedRows(IDC_MACRO_LIST);
    EnableActions(!rows.empty());
    action_ = rows.size() == 1 ? GetMacroAction(Record(), RowCircuit(rows.front()).deviceId) : -1;
    ShowAction();
}

void CMacrosDlg::OnClicked(int id) {
    if (id == IDC_CANCEL) {
        controls_.View().EndDialog(kDialogCancel);
        return;
    }
    if (id < IDC_ACTION_ON || id > IDC_ACTION_IGNORE)
        return;
    action_ = id - IDC_ACTION_ON;
    ShowAction();
    // One write after the last selected row, whichever rows had a place.
    CTableChange change(*model_);
    const std::vector<int> rows = controls_.SelectedRows(IDC_MACRO_LIST);
    for (int row : rows)
        SetMacroAction(Record(), RowCircuit(row).deviceId, action_, change);
    if (!change.Write(controls_.View())) {
        action_ = rows.size() == 1 ? GetMacroAction(Record(), RowCircuit(rows.front()).deviceId) : -1;
        ShowAction();
    }
    for (int row : rows)
        controls_.SetItemText(IDC_MACRO_LIST, row, RowText(RowCircuit(row)));
}

CLightsDlg::CLightsDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), model_(std::move(model)) {}

void CLightsDlg::OnInitDialog() { ShowStored(); }

// A stored light that is no longer offered shows as unknown and stays stored.
void CLightsDlg::ShowStored() {
    std::vector<CListItem> items = TriggerItems(*model_, {0});
    for (const CListItem& light : CircuitItems(*model_, true, [](const CPoolCircuit& c) {
             return (c.function >= 7 && c.function <= 12) || c.function == 16;
         }))
        items.push_back(light);
    for (size_t slot = 0; slot < std::size(kLightSlots); ++slot)
        ShowStoredCode(controls_, kLightSlots[slot], items, ConfigByte(*model_, 8, static_cast<int>(slot)));
}

// Only the changed slot's entry is written; the others stay as stored.
void CLightsDlg::OnSelchange(int id) {
    const auto slot = std::find(std::begin(kLightSlots), std::end(kLightSlots), id);
    const int code = controls_.SelectedData(id, -1);
    if (slot == std::end(kLightSlots) || code < 0)
        return;
    CTableChange change(*model_);
    change.Set(8, static_cast<int>(slot - std::begin(kLightSlots)), static_cast<uint8_t>(code));
    if (!change.Write(controls_.View()))
        ShowStored();
}

void CLightsDlg::OnClicked(int id) {
    if (id == IDC_OK)
        controls_.View().EndDialog(kDialogOk);
}
