#include "basinsetup/step4dlg.h"

#include <algorithm>

#include "basinsetup/setupitems.h"

namespace {

constexpr int kPumpCount = 8;
constexpr int kRecordSize = 30;
constexpr uint8_t kSpeedControlled = 0x80;
constexpr uint8_t kNoCircuit = 255;
constexpr int kSpeedPumpLimit = 4;
constexpr int kCompactRows = 4;

std::vector<CListItem> RangeItems(int first, int last, int step, const char* unit) {
    std::vector<CListItem> items;
    for (int value = first; value <= last; value += step) {
        char text[32];
        std::snprintf(text, sizeof text, "%d %s", value, unit);
        items.push_back({text, value});
    }
    return items;
}

// The filtering dialog's lists: what they offer and where they store.
enum class FlowKind { Size, TurnOvers, Plain, VacuumTime, PrimeTime, SystemMaxTime };
struct FlowList {
    FlowKind kind;
    int first, last;
    const char* unit;
    int entry;
};
constexpr FlowList kFlowLists[12] = {
    {FlowKind::Size, 1, 244, "", 1},
    {FlowKind::TurnOvers, 1, 8, "", 2},
    {FlowKind::Plain, 15, 130, "GPM", 20},
    {FlowKind::Plain, 15, 130, "GPM", 27},
    {FlowKind::VacuumTime, 1, 600, "Min.", 28},
    {FlowKind::Plain, 14, 130, "GPM", 21},
    {FlowKind::PrimeTime, 1, 15, "Min.", 22},
    {FlowKind::SystemMaxTime, 0, 5, "Min.", 22},
    {FlowKind::Plain, 1, 40, "PSI", 23},
    {FlowKind::Plain, 14, 130, "GPM", 24},
    {FlowKind::Plain, 1, 60, "Min.", 25},
    {FlowKind::Plain, 1, 60, "Min.", 26},
};
constexpr int kTimesEntry = 22;
constexpr int kVacuumLowEntry = 29;

std::vector<CListItem> FlowItems(const FlowList& list) {
    switch (list.kind) {
    case FlowKind::Size: {
        std::vector<CListItem> items;
        for (int value = list.first; value <= list.last; ++value)
            items.push_back({FormatText("%d Gal.", value * 1000), value});
        return items;
    }
    case FlowKind::TurnOvers: {
        std::vector<CListItem> items = {{"Once per Day", 1}};
        for (int value = 2; value <= list.last; ++value)
            items.push_back({FormatText("%d Times per day", value), value});
        return items;
    }
    default: return RangeItems(list.first, list.last, 1, list.unit);
    }
}

}  // namespace

CStep4Dlg::CStep4Dlg(CDialogView& view, CStep4Sides& sides, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_sides(sides), m_model(std::move(model)) {}

uint8_t CStep4Dlg::Byte(int index) const { return ConfigByte(*m_model, 9, index); }

int CStep4Dlg::Pump() const { return std::max(0, m_controls.Selection(IDC_PUMP_TABS)); }

int CStep4Dlg::UsedRows() const { return IsCompactController(*m_model) ? kCompactRows : kPumpRows; }

bool CStep4Dlg::IsPumpCircuit(int deviceId) const {
    for (int i = 0; i < m_model->GetCircuitCount(); ++i) {
        const CPoolCircuit* circuit = m_model->GetCircuit(i);
        if (circuit->deviceId == deviceId && m_model->IsCircuitAllowed(circuit) && circuit->function != kHiddenFunction)
            return true;
    }
    return false;
}

int CStep4Dlg::StoredType(int pump) const {
    const uint8_t b = Byte(kRecordSize * pump);
    if (b & kSpeedControlled) return kPumpSpeed;
    return IsPumpCircuit(b & 0x7F) ? kPumpFlow : kPumpNone;
}

void CStep4Dlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Setup Vortana (Step 4 of 5)");
    std::vector<CListItem> tabs;
    for (int pump = 0; pump < (IsCompactController(*m_model) ? 1 : kPumpCount); ++pump)
        tabs.push_back({FormatText("Pump %d", pump + 1), pump});
    m_controls.SetItems(IDC_PUMP_TABS, std::move(tabs));
    m_controls.Select(IDC_PUMP_TABS, 0);

    std::vector<CListItem> types = {{"None", kPumpNone}};
    if (!IsCompactController(*m_model)) types.push_back({"Vortana", kPumpFlow});
    types.push_back({"Vortana VX900", kPumpSpeed});
    m_controls.SetItems(IDC_PUMP_TYPE, std::move(types));

    const auto pumpCircuit = [this](const CPoolCircuit& c) {
        return m_model->IsCircuitAllowed(&c) && c.function != kHiddenFunction;
    };
    const std::vector<CListItem> circuits = CircuitItems(*m_model, false, pumpCircuit);
    std::vector<CListItem> rowItems = TriggerItems(*m_model, {0});
    rowItems.insert(rowItems.end(), circuits.begin(), circuits.end());
    for (const CListItem& item : TriggerItems(*m_model, {0x9B, 0x9C, 0x9D, 0x9E, 0x9F})) rowItems.push_back(item);
    m_controls.SetItems(IDC_BACKGROUND, circuits);
    for (int id : kPumpCircuitIds) m_controls.SetItems(id, rowItems);
    LoadPump();
}

void CStep4Dlg::LoadPump() {
    if (!m_model->IsVersionAtLeast(4, 0)) return;
    const int base = Base();
    m_controls.SelectDataIfAny(IDC_PUMP_TYPE, StoredType(Pump()));
    const int type = m_controls.SelectedData(IDC_PUMP_TYPE, -1);
    if (type == kPumpFlow) m_controls.SelectData(IDC_BACKGROUND, Byte(base) & 0x7F);
    for (int row = 0; row < kPumpRows; ++row) {
        if (type == kPumpNone)
            m_controls.Select(kPumpCircuitIds[row], -1);
        else if (!m_controls.SelectDataIfAny(kPumpCircuitIds[row], Byte(base + 4 + 2 * row)))
            m_controls.Select(kPumpCircuitIds[row], 0);
    }
    RefreshPump(false);
}

void CStep4Dlg::RefreshPump(bool typeChanged) {
    if (!m_model->IsVersionAtLeast(4, 0)) return;
    int type = m_controls.SelectedData(IDC_PUMP_TYPE, -1);
    if (typeChanged && type == kPumpSpeed) {
        int others = 0;
        for (int pump = 0; pump < kPumpCount; ++pump)
            others += pump != Pump() && (Byte(kRecordSize * pump) & kSpeedControlled) ? 1 : 0;
        if (others >= kSpeedPumpLimit) {
            m_controls.View().ShowMessage("Only 4 VX900 are allowed.");
            m_controls.SelectData(IDC_PUMP_TYPE, kPumpNone);
            type = kPumpNone;
        }
    }
    if (type == kPumpFlow) {
        m_controls.Enable(IDC_BACKGROUND, true);
        if (m_controls.Selection(IDC_BACKGROUND) < 0) m_controls.Select(IDC_BACKGROUND, 0);
    } else {
        m_controls.Select(IDC_BACKGROUND, -1);
        m_controls.Enable(IDC_BACKGROUND, false);
    }
    if (typeChanged) WriteTypeDefaults(type);
    const int base = Base();
    for (int row = 0; row < kPumpRows; ++row) {
        if (row >= UsedRows()) {
            m_controls.Show(kPumpCircuitIds[row], false);
            m_controls.Show(kPumpFlowIds[row], false);
            continue;
        }
        m_controls.Reveal(kPumpFlowIds[row], type != kPumpNone && IsPumpCircuit(Byte(base + 4 + 2 * row)));
        m_controls.Enable(kPumpCircuitIds[row], type != kPumpNone);
        FillFlowList(row, type);
    }
    m_controls.Enable(IDC_BACKGROUND_FILTERING, type == kPumpFlow);
    if (typeChanged) LoadPump();
}

// A new type starts from its defaults; "None" only clears the type byte.
void CStep4Dlg::WriteTypeDefaults(int type) {
    const int base = Base();
    TableBytes bytes;
    if (type == kPumpFlow || type == kPumpSpeed) {
        bytes = {{base + 1, 15}, {base + 2, 2}, {base + 3, 0}};
        for (int row = 0; row < kPumpRows; ++row) {
            bytes.emplace_back(base + 4 + 2 * row, 0);
            bytes.emplace_back(base + 5 + 2 * row, type == kPumpFlow ? 30 : 3);
            if (type == kPumpSpeed) bytes.emplace_back(base + 21 + row, 232);  // with the 3 above: 1000 RPM
        }
    }
    if (type == kPumpFlow) {
        for (auto [offset, value] :
             {std::pair{20, 30}, {21, 55}, {22, 5}, {23, 10}, {24, 60}, {25, 5}, {26, 1}, {27, 50}, {28, 0}, {29, 10}})
            bytes.emplace_back(base + offset, static_cast<uint8_t>(value));
        bytes.emplace_back(base, 6);
    } else if (type == kPumpSpeed) {
        bytes.insert(bytes.end(), {{base + 20, 30}, {base + 29, 10}, {base, kSpeedControlled}});
    } else {
        bytes.emplace_back(base, 0);
    }
    CTableChange change(*m_model);
    change.Set(9, bytes);
    change.Write(m_controls.View());
}

void CStep4Dlg::FillFlowList(int row, int type) {
    const int base = Base();
    const int id = kPumpFlowIds[row];
    if (Byte(base) & kSpeedControlled) {
        m_controls.SetItems(id, RangeItems(400, 3450, 10, "RPM"));
        if (type != kPumpNone) m_controls.SelectData(id, Byte(base + 5 + 2 * row) * 256 + Byte(base + 21 + row));
    } else {
        m_controls.SetItems(id, RangeItems(15, 130, 1, "GPM"));
        if (type != kPumpNone) m_controls.SelectData(id, Byte(base + 5 + 2 * row));
    }
}

void CStep4Dlg::OnSelchange(int id) {
    switch (id) {
    case IDC_PUMP_TABS: LoadPump(); return;
    case IDC_PUMP_TYPE: OnSelchangeType(); return;
    case IDC_BACKGROUND:
        if (m_controls.Selection(IDC_BACKGROUND) >= 0) {
            CTableChange change(*m_model);
            change.Set(9, Base(), static_cast<uint8_t>(m_controls.SelectedData(IDC_BACKGROUND, 0)));
            change.Write(m_controls.View());
            LoadPump();
        }
        return;
    default: break;
    }
    const bool rowBox =
        std::find(std::begin(kPumpCircuitIds), std::end(kPumpCircuitIds), id) != std::end(kPumpCircuitIds) ||
        std::find(std::begin(kPumpFlowIds), std::end(kPumpFlowIds), id) != std::end(kPumpFlowIds);
    if (rowBox) OnSelchangeRow();
}

void CStep4Dlg::OnClicked(int id) {
    if (!EndWizardStep(m_controls, id) && id == IDC_BACKGROUND_FILTERING) m_sides.RunFlows(m_model, Pump());
}

// Choosing the type the pump already has keeps its settings.
void CStep4Dlg::OnSelchangeType() {
    if (m_controls.SelectedData(IDC_PUMP_TYPE, -1) == StoredType(Pump())) return;
    RefreshPump(true);
    OnSelchangeRow();
}

// A box without a selection leaves its byte as it is stored.
void CStep4Dlg::OnSelchangeRow() {
    const int base = Base();
    const int type = m_controls.SelectedData(IDC_PUMP_TYPE, -1);
    int background = kNoCircuit;
    if (type == kPumpFlow && m_controls.Selection(IDC_BACKGROUND) >= 0)
        background = m_controls.SelectedData(IDC_BACKGROUND, kNoCircuit);
    const bool speed = Byte(base) & kSpeedControlled;
    TableBytes bytes;
    for (int row = 0; row < kPumpRows; ++row) {
        const int circuitEntry = base + 4 + 2 * row;
        const int circuit = m_controls.SelectedData(kPumpCircuitIds[row], Byte(circuitEntry));
        if (type == kPumpFlow && background != kNoCircuit && circuit == background) {
            m_controls.View().ShowMessage("WARNING: Selecting this circuit\nwill disable background\nfiltering.");
            background = kNoCircuit;
        }
        bytes.emplace_back(circuitEntry, static_cast<uint8_t>(circuit));
        if (row < UsedRows()) m_controls.Reveal(kPumpFlowIds[row], circuit != 0 && type != kPumpNone);
        const int flow = m_controls.Selection(kPumpFlowIds[row]);
        if (flow < 0) continue;
        if (speed) {
            const int rpm = flow * 10 + 400;
            bytes.emplace_back(base + 5 + 2 * row, static_cast<uint8_t>(rpm >> 8));
            bytes.emplace_back(base + 21 + row, static_cast<uint8_t>(rpm & 255));
        } else {
            bytes.emplace_back(base + 5 + 2 * row, static_cast<uint8_t>(flow + 15));
        }
    }
    CTableChange change(*m_model);
    change.Set(9, bytes);
    if (!change.Write(m_controls.View())) LoadPump();
}

CFlowsDlg::CFlowsDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model, int pump)
    : CDialogLogic(view), m_model(std::move(model)), m_pump(pump) {}

void CFlowsDlg::OnInitDialog() {
    m_controls.SetText(kTitleId, FormatText("Pump %d Filtering", m_pump + 1));
    ShowStored();
}

void CFlowsDlg::ShowStored() {
    const int base = kRecordSize * m_pump;
    const auto byte = [&](int offset) { return ConfigByte(*m_model, 9, base + offset); };
    for (size_t i = 0; i < std::size(kFlowLists); ++i) {
        const FlowList& list = kFlowLists[i];
        int stored = byte(list.entry);
        switch (list.kind) {
        case FlowKind::TurnOvers:
        case FlowKind::PrimeTime: stored &= 0x0F; break;
        case FlowKind::SystemMaxTime: stored >>= 4; break;
        case FlowKind::VacuumTime: stored = stored * 256 + byte(kVacuumLowEntry); break;
        default: break;
        }
        m_controls.SetItems(kFlowListIds[i], FlowItems(list));
        m_controls.SelectData(kFlowListIds[i], stored);
    }
}

// Every change stores all twelve settings; a list without a selection keeps
// what is stored.
void CFlowsDlg::OnSelchange(int id) {
    if (std::find(std::begin(kFlowListIds), std::end(kFlowListIds), id) == std::end(kFlowListIds)) return;
    const int base = kRecordSize * m_pump;
    uint8_t times = ConfigByte(*m_model, 9, base + kTimesEntry);
    TableBytes bytes;
    for (size_t i = 0; i < std::size(kFlowLists); ++i) {
        const FlowList& list = kFlowLists[i];
        const int value = m_controls.SelectedData(kFlowListIds[i], -1);
        if (value < 0) continue;
        switch (list.kind) {
        case FlowKind::PrimeTime: times = static_cast<uint8_t>((times & 0xF0) | value); break;
        case FlowKind::SystemMaxTime: times = static_cast<uint8_t>((times & 0x0F) | value << 4); break;
        case FlowKind::VacuumTime:
            bytes.emplace_back(base + list.entry, static_cast<uint8_t>(value >> 8));
            bytes.emplace_back(base + kVacuumLowEntry, static_cast<uint8_t>(value & 255));
            break;
        default: bytes.emplace_back(base + list.entry, static_cast<uint8_t>(value)); break;
        }
    }
    bytes.emplace_back(base + kTimesEntry, times);
    CTableChange change(*m_model);
    change.Set(9, bytes);
    if (!change.Write(m_controls.View())) ShowStored();
}

void CFlowsDlg::OnClicked(int id) {
    if (id == IDC_OK) m_controls.View().EndDialog(kDialogOk);
}
