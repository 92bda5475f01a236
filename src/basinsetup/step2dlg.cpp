#include "basinsetup/step2dlg.h"

#include <algorithm>

#include "basinsetup/setupitems.h"

namespace {

constexpr uint8_t kNoName = 255;
constexpr uint8_t kNoFunction = 255;
constexpr uint8_t kDontShow = 5;
constexpr int kFirstFeatureDevice = 40;
constexpr int kSpaPosition = 0;
constexpr int kPoolPosition = 5;

bool IsFeature(const CPoolCircuit& circuit) { return circuit.deviceId >= kFirstFeatureDevice; }

bool IsPositionedLight(int function) { return function == 9 || function == 10 || function == 12 || function == 16; }

// A loaded circuit with one of these functions has its page fixed.
bool FixesLoadedShowWith(int function) {
    return function == 1 || function == 2 || (function >= 7 && function <= 12) || function == 16;
}

// The page that a newly chosen function puts its circuit on, and whether the
// user may change it.
uint8_t ShowWithFor(int function, bool& fixed) {
    fixed = true;
    switch (function) {
    case 1: return 1;
    case 2:
    case 5: return 0;
    case 7:
    case 8:
    case 11: return 4;
    case 9:
    case 10:
    case 12:
    case 16: return 3;
    default: fixed = false; return 2;
    }
}

bool HiddenOnCompact(int function) {
    return function == 3 || function == 4 || function == 6 || function == 8 || function == 13 || function == 16;
}

}  // namespace

std::string GetLoadCenterLabel(int position) {
    const int n = position / 10 + 1;
    return n == 1 || n == 5 ? "Main" : FormatText("%d", n);
}

std::string GetCircuitLabel(int position, int controllerType) {
    const bool highLow = controllerType == 3 || controllerType == 4;
    if (position == 0) return highLow ? "High" : "Spa";
    if (position == 5) return highLow ? "Low" : "Pool";
    if (position >= 1 && position <= 4) return FormatText("Aux %d", position);
    if (position >= 6 && position <= 39) return FormatText("Aux %d", position - 1);
    return FormatText("Feature %d", position - 39);
}

CStep2Dlg::CStep2Dlg(CDialogView& view, CStep2Sides& sides, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_sides(sides), m_model(std::move(model)) {}

void CStep2Dlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Setup Circuits (Step 2 of 5)");
    for (int id : {IDC_CIRCUIT_NAME, IDC_CIRCUIT_FUNCTION, IDC_SHOW_WITH, IDC_LIGHT_POSITION, IDC_ON_WITH_FREEZE,
                   IDC_FEATURE_CONFIG})
        m_controls.Enable(id, false);
    FillLists();
    const int type = m_model->GetControllerType();
    if (type == 10 || type == 13 || type == 14) {
        m_controls.Enable(IDC_FEATURE_CONFIG, false);
        m_controls.Enable(IDC_SPECIAL_LIGHTS, false);
    }
}

std::string CStep2Dlg::FormatRow(const CPoolCircuit& circuit) const {
    return GetLoadCenterLabel(circuit.recordIndex) + "\t" +
           GetCircuitLabel(circuit.recordIndex, m_model->GetControllerType()) + "\t" + circuit.name + "\t" +
           m_model->GetFunctionNameByCode(circuit.function) + "\t" + ((circuit.flags & 1) ? "Yes" : "No");
}

void CStep2Dlg::FillLists() {
    std::vector<CListItem> rows;
    for (int i = 0; i < m_model->GetCircuitCount(); ++i) {
        const CPoolCircuit* circuit = m_model->GetCircuit(i);
        if (m_model->IsCircuitAllowed(circuit)) rows.push_back({FormatRow(*circuit), i});
    }
    m_controls.SetItems(IDC_CIRCUIT_LIST, std::move(rows));
    m_controls.SetItems(IDC_CIRCUIT_NAME, {});
    m_controls.Enable(IDC_CIRCUIT_NAME, false);
    m_controls.Enable(IDC_ON_WITH_FREEZE, false);
    std::vector<CListItem> functions;
    for (int i = 0; const CPoolNameEntry* entry = m_model->GetFunctionEntry(i); ++i) {
        if (!(IsCompactController(*m_model) && HiddenOnCompact(entry->code)))
            functions.push_back({entry->name, entry->code});
    }
    m_controls.SetItems(IDC_CIRCUIT_FUNCTION, std::move(functions), true);
}

// A circuit's name index is one byte with 255 for "None": only the names
// below it can be given. The indices are the model's: custom names start
// after the announced built-in total, even when fewer built-in names came.
void CStep2Dlg::FillNameList(bool feature) {
    std::vector<CListItem> names;
    if (feature) names.push_back({"None", kNoName});
    const auto add = [&](const std::vector<std::string>& list, int first) {
        for (size_t i = 0; i < list.size() && first + static_cast<int>(i) < kNoName; ++i)
            names.push_back({list[i], first + static_cast<int>(i)});
    };
    add(m_model->GetBuiltInNames(), 0);
    add(m_model->GetCustomNames(), m_model->GetFirstCustomNameIndex());
    m_controls.SetItems(IDC_CIRCUIT_NAME, std::move(names), true);
}

void CStep2Dlg::FillShowWithList(bool lightEntries) {
    std::vector<CListItem> items = {{"Pool (Main Page)", 0}, {"Spa (Main Page)", 1}, {"Water Features (Main Page)", 2}};
    if (lightEntries) {
        items.push_back({"SAm/SAL (Lights Page)", 3});
        items.push_back({"Lights (Lights Page)", 4});
    }
    items.push_back({"Don't Show", kDontShow});
    m_controls.SetItems(IDC_SHOW_WITH, std::move(items));
}

CPoolCircuit* CStep2Dlg::Selected() const {
    const int index = m_controls.SelectedData(IDC_CIRCUIT_LIST, -1);
    return index < 0 ? nullptr : m_model->GetCircuit(index);
}

void CStep2Dlg::OnSelchange(int id) {
    switch (id) {
    case IDC_CIRCUIT_LIST: OnSelchangeCircuitList(); break;
    case IDC_CIRCUIT_NAME: OnSelchangeName(); break;
    case IDC_CIRCUIT_FUNCTION: OnSelchangeFunction(); break;
    case IDC_SHOW_WITH: OnSelchangeShowWith(); break;
    case IDC_LIGHT_POSITION: OnSelchangePosition(); break;
    default: break;
    }
}

void CStep2Dlg::OnClicked(int id) {
    if (EndWizardStep(m_controls, id)) return;
    switch (id) {
    case IDC_ON_WITH_FREEZE: OnFreezeClicked(); break;
    case IDC_SET_CUSTOM_NAMES: OnCustomNames(); break;
    case IDC_FEATURE_CONFIG:
        if (CPoolCircuit* circuit = Selected()) m_sides.RunMacros(m_model, *circuit);
        break;
    case IDC_SPECIAL_LIGHTS: m_sides.RunSpecialLights(m_model); break;
    default: break;
    }
}

void CStep2Dlg::OnSelchangeCircuitList() {
    CPoolCircuit* circuit = Selected();
    if (!circuit) return;
    m_controls.SelectData(IDC_CIRCUIT_FUNCTION, circuit->function);
    FillNameList(IsFeature(*circuit));
    m_controls.SelectData(IDC_CIRCUIT_NAME, circuit->nameIndex);
    m_controls.Enable(IDC_CIRCUIT_NAME, true);
    // The pool's and the spa's circuits keep their function.
    m_controls.Enable(IDC_CIRCUIT_FUNCTION,
                      circuit->recordIndex != kSpaPosition && circuit->recordIndex != kPoolPosition);
    m_kept = (circuit->flags & 2) != 0;
    m_freeze = (circuit->flags & 1) != 0;
    m_controls.SetChecked(IDC_ON_WITH_FREEZE, m_freeze);
    const bool fixed = FixesLoadedShowWith(circuit->function);
    FillShowWithList(fixed);
    m_controls.SelectData(IDC_SHOW_WITH, circuit->interface);
    m_controls.Enable(IDC_SHOW_WITH, !fixed);
    m_controls.Enable(IDC_ON_WITH_FREEZE, true);
    FillPositionList();
    UpdateFeatureButton();
}

void CStep2Dlg::OnSelchangeName() {
    CPoolCircuit* circuit = Selected();
    const int name = m_controls.SelectedData(IDC_CIRCUIT_NAME, -1);
    if (!circuit || name < 0) return;
    // A refused write has been told once; the name waits for another try.
    if (name == kNoName) {
        m_controls.Select(IDC_CIRCUIT_FUNCTION, -1);
        if (!OnSelchangeFunction()) return;
        m_controls.Select(IDC_SHOW_WITH, static_cast<int>(m_controls.Items(IDC_SHOW_WITH).size()) - 1);
        if (!OnSelchangeShowWith()) return;
    } else if (IsFeature(*circuit) && m_controls.Selection(IDC_CIRCUIT_FUNCTION) < 0) {
        m_controls.Select(IDC_CIRCUIT_FUNCTION, 0);
        if (!OnSelchangeFunction()) return;
    }
    const Written before = Fields(*circuit);
    circuit->nameIndex = static_cast<uint8_t>(name);
    if (!Write(*circuit, before)) return;
    UpdateRow();
    UpdateFeatureButton();
    m_controls.Enable(IDC_CIRCUIT_FUNCTION, true);
}

bool CStep2Dlg::OnSelchangeFunction() {
    CPoolCircuit* circuit = Selected();
    if (!circuit) return true;
    const Written before = Fields(*circuit);
    circuit->function = static_cast<uint8_t>(m_controls.SelectedData(IDC_CIRCUIT_FUNCTION, kNoFunction));
    bool fixed = false;
    const uint8_t showWith = ShowWithFor(circuit->function, fixed);
    UpdateRow();
    FillShowWithList(fixed);
    m_controls.SelectData(IDC_SHOW_WITH, showWith);
    m_controls.SetChecked(IDC_ON_WITH_FREEZE, m_freeze);
    circuit->interface = showWith;
    if (!Write(*circuit, before)) return false;
    FillPositionList();
    m_controls.Enable(IDC_SHOW_WITH, !fixed);
    UpdateFeatureButton();
    return true;
}

bool CStep2Dlg::OnSelchangeShowWith() {
    CPoolCircuit* circuit = Selected();
    const int showWith = m_controls.SelectedData(IDC_SHOW_WITH, -1);
    if (!circuit || showWith < 0) return true;
    const Written before = Fields(*circuit);
    circuit->interface = static_cast<uint8_t>(showWith);
    return Write(*circuit, before) != 0;
}

void CStep2Dlg::FillPositionList() {
    const CPoolCircuit* circuit = Selected();
    if (!circuit || !IsPositionedLight(circuit->function)) {
        m_controls.Select(IDC_LIGHT_POSITION, -1);
        m_controls.Enable(IDC_LIGHT_POSITION, false);
        return;
    }
    int count = 0;
    for (int i = 0; i < m_model->GetCircuitCount(); ++i)
        count += IsPositionedLight(m_model->GetCircuit(i)->function) ? 1 : 0;
    std::vector<CListItem> positions;
    for (int i = 0; i < count; ++i) positions.push_back({FormatText("%d", i + 1), i});
    m_controls.SetItems(IDC_LIGHT_POSITION, std::move(positions));
    m_controls.Enable(IDC_LIGHT_POSITION, !IsCompactController(*m_model));
    m_controls.Select(IDC_LIGHT_POSITION, circuit->colorPosition);
}

// The list shows the position the circuit has: the chosen one once the
// gateway took it, else the one before, and the user is told.
void CStep2Dlg::OnSelchangePosition() {
    CPoolCircuit* circuit = Selected();
    const int position = m_controls.Selection(IDC_LIGHT_POSITION);
    if (!circuit || position < 0) return;
    if (!m_model->SetLightParamsWait(circuit, static_cast<uint8_t>(position)))
        m_controls.View().ShowMessage(kChangeRefused);
    m_controls.Select(IDC_LIGHT_POSITION, circuit->colorPosition);
}

void CStep2Dlg::OnFreezeClicked() {
    CPoolCircuit* circuit = Selected();
    if (!circuit) return;
    m_freeze = m_controls.IsChecked(IDC_ON_WITH_FREEZE);
    const Written before = Fields(*circuit);
    circuit->flags = static_cast<uint8_t>((m_kept ? 2 : 0) | (m_freeze ? 1 : 0));
    if (Write(*circuit, before)) UpdateRow();
}

void CStep2Dlg::OnCustomNames() {
    m_sides.RunCustomNames(m_model);
    FillLists();
    UpdateFeatureButton();
    FillPositionList();
    for (int id : {IDC_CIRCUIT_FUNCTION, IDC_SHOW_WITH, IDC_ON_WITH_FREEZE}) m_controls.Enable(id, false);
}

void CStep2Dlg::UpdateRow() {
    const CPoolCircuit* circuit = Selected();
    const int row = m_controls.Selection(IDC_CIRCUIT_LIST);
    if (!circuit) return;
    m_controls.SetItemText(IDC_CIRCUIT_LIST, row, FormatRow(*circuit));
    m_controls.Select(IDC_CIRCUIT_LIST, row);
}

void CStep2Dlg::UpdateFeatureButton() {
    const CPoolCircuit* circuit = Selected();
    m_controls.Enable(IDC_FEATURE_CONFIG, circuit && IsFeature(*circuit) &&
                                              m_controls.Selection(IDC_CIRCUIT_FUNCTION) >= 0 &&
                                              m_controls.SelectedData(IDC_CIRCUIT_NAME, kNoName) != kNoName);
}

CStep2Dlg::Written CStep2Dlg::Fields(const CPoolCircuit& circuit) {
    return {circuit.nameIndex, circuit.function, circuit.interface, circuit.flags};
}

int CStep2Dlg::Write(CPoolCircuit& circuit, const Written& before) {
    if (m_model->WriteCircuit(&circuit)) return 1;
    circuit.nameIndex = before.nameIndex;
    circuit.function = before.function;
    circuit.interface = before.showWith;
    circuit.flags = before.flags;
    UpdateRow();
    OnSelchangeCircuitList();
    m_controls.View().ShowMessage(kChangeRefused);
    return 0;
}

CCustomNamesDlg::CCustomNamesDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_model(std::move(model)) {}

void CCustomNamesDlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Custom Names");
    FillList();
}

void CCustomNamesDlg::FillList() {
    const size_t limit = IsCompactController(*m_model) ? 10 : 20;
    const std::vector<std::string>& names = m_model->GetCustomNames();
    std::vector<CListItem> rows;
    for (size_t i = 0; i < names.size() && i < limit; ++i) rows.push_back({names[i], static_cast<int>(i)});
    m_controls.SetItems(IDC_CUSTOM_LIST, std::move(rows));
    m_controls.Enable(IDC_SET_NAME, false);
}

std::string CCustomNamesDlg::NameText() const { return m_controls.Text(IDC_CUSTOM_EDIT).substr(0, kCustomNameLength); }

void CCustomNamesDlg::OnSelchange(int id) {
    const int row = m_controls.Selection(IDC_CUSTOM_LIST);
    if (id != IDC_CUSTOM_LIST || row < 0) return;
    m_controls.SetText(IDC_CUSTOM_EDIT, m_controls.Items(IDC_CUSTOM_LIST)[static_cast<size_t>(row)].text);
    m_controls.Enable(IDC_SET_NAME, false);
}

void CCustomNamesDlg::OnEdited(int id) {
    if (id != IDC_CUSTOM_EDIT) return;
    m_controls.View().SetDefaultButton(IDC_SET_NAME);
    m_controls.Enable(IDC_SET_NAME, !NameText().empty());
}

void CCustomNamesDlg::OnClicked(int id) {
    if (id == IDC_CANCEL) {
        m_controls.View().EndDialog(kDialogCancel);
        return;
    }
    const int row = m_controls.Selection(IDC_CUSTOM_LIST);
    const std::string name = NameText();
    if (id != IDC_SET_NAME || row < 0 || name.empty()) return;
    if (m_model->SetCustomName(row, name)) FillList();
}
