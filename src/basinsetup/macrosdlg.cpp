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

int CMacrosDlg::SetMacroAction(int m, int d, int action, int write) {
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
    model_->SetTableByte6(offEntry, off, 0);
    return model_->SetTableByte6(onEntry, on, write);
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
    int stored = 0;
    for (int row : controls_.SelectedRows(IDC_MACRO_LIST)) {
        const CPoolCircuit& circuit = RowCircuit(row);
        stored |= SetMacroAction(Record(), circuit.deviceId, action_, 0);
        controls_.SetItemText(IDC_MACRO_LIST, row, RowText(circuit));
    }
    if (stored)
        model_->WriteConfigurationTables();
}

CLightsDlg::CLightsDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), model_(std::move(model)) {}

void CLightsDlg::OnInitDialog() {
    std::vector<CListItem> items = TriggerItems(*model_, {0});
    for (const CListItem& light : CircuitItems(*model_, true, [](const CPoolCircuit& c) {
             return (c.function >= 7 && c.function <= 12) || c.function == 16;
         }))
        items.push_back(light);
    for (size_t slot = 0; slot < std::size(kLightSlots); ++slot) {
        controls_.SetItems(kLightSlots[slot], items);
        controls_.SelectData(kLightSlots[slot], ConfigByte(*model_, 8, static_cast<int>(slot)));
    }
}

void CLightsDlg::OnSelchange(int id) {
    if (std::find(std::begin(kLightSlots), std::end(kLightSlots), id) == std::end(kLightSlots))
        return;
    std::vector<std::pair<int, uint8_t>> bytes;
    for (size_t slot = 0; slot < std::size(kLightSlots); ++slot)
        bytes.emplace_back(static_cast<int>(slot), static_cast<uint8_t>(controls_.SelectedData(kLightSlots[slot], 0)));
    StoreTableBytes(*model_, &CBasinSetup::SetTableByte8, bytes);
}

void CLightsDlg::OnClicked(int id) {
    if (id == IDC_OK)
        controls_.View().EndDialog(kDialogOk);
}
