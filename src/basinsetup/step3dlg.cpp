#include "basinsetup/step3dlg.h"

#include <algorithm>
#include <cstdio>

#include "basinsetup/setupitems.h"

namespace {

constexpr uint8_t kSolarValve = 255;
constexpr int kValvesPerCenter = 5;
constexpr int kFirstValveEntry = 4;

// Bit b of value set or cleared.
uint8_t WithBit(uint8_t value, int bit, bool on) {
    return static_cast<uint8_t>(on ? value | (1u << bit) : value & ~(1u << bit));
}

bool Bit(uint8_t value, int bit) { return (value >> bit) & 1; }

// The option bits of a body: solar present (table 4 entry 0), solar is a
// heat pump (table 4 entry 2), pump on during heater cool-down (table 5
// entry 0).
struct BodyBits {
    int solar, heatPump, coolDown;
};
constexpr BodyBits kFirstBody = {1, 4, 0};
constexpr BodyBits kSecondBody = {4, 5, 1};
constexpr int kPumpOffBit = 7;

std::unique_ptr<CZVMSG> AskChlorinator(CBasinSetup& model, uint16_t id, std::initializer_list<int32_t> values) {
    CZVMSG request(0, id, 0, 1, model.GetVariant());
    for (int32_t value : values) request.WriteInt(value);
    return model.Link().Ask(request, kDefaultQueryTimeout);
}

}  // namespace

CStep3Dlg::CStep3Dlg(CDialogView& view, CStep3Sides& sides, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_sides(sides), m_model(std::move(model)) {
    const int bodies = m_model->GetControllerType() & 0x0F;
    m_twoBodies = bodies == 5 || bodies == 6;
}

void CStep3Dlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Configure Other Equipment (Step 3 of 5)");
    InsertBodyTabs();
    ShowOptions();
    int32_t installed = 0;
    auto answer = AskChlorinator(*m_model, ZVM_POOL_GETCHLORINATORQ, {0});
    m_controls.SetChecked(IDC_CHLORINATOR, answer && answer->ReadInt(installed) && installed != 0);
    FillValveCircuits();
    m_controls.Enable(IDC_VALVE_CIRCUIT, false);
    FillHighSpeedList();
}

void CStep3Dlg::InsertBodyTabs() {
    std::vector<CListItem> tabs;
    switch (m_model->GetControllerType() & 0x0F) {
    case 0:
    case 1:
    case 2: tabs = {{"Pool / Spa", 0}}; break;
    case 3:
    case 4: tabs = {{"Pool", 0}}; break;
    case 5:
    case 6: tabs = {{"Pool", 0}, {"Spa", 1}}; break;
    default: break;
    }
    m_controls.SetItems(IDC_BODY_TABS, std::move(tabs));
    m_controls.Select(IDC_BODY_TABS, 0);
}

void CStep3Dlg::GetHighSpeedRange(int& first, int& end) const {
    if (m_twoBodies) {
        first = FirstBodyTab() ? 4 : 0;
        end = first + 4;
    } else {
        first = 0;
        end = ConfigTableSize(*m_model, 1);
    }
    // Entries past the table cannot take a code.
    end = std::min(end, ConfigTableSize(*m_model, 1));
    first = std::min(first, end);
}

void CStep3Dlg::FillValveList() {
    const int centers = m_model->GetExpansionByte() >> 6;
    const uint8_t solar = ConfigByte(*m_model, 4, 0);
    const uint8_t options = ConfigByte(*m_model, 4, 2);
    const bool solarOnA = Bit(solar, kFirstBody.solar) && !Bit(options, kFirstBody.heatPump);
    const bool solarOnB = m_twoBodies && Bit(solar, kSecondBody.solar) && !Bit(options, kSecondBody.heatPump);
    std::vector<CListItem> rows;
    for (int center = 0; center <= centers; ++center) {
        for (int valve = 0; valve < kValvesPerCenter; ++valve) {
            if (valve >= 2 && !Bit(ConfigByte(*m_model, 2, center), valve)) continue;
            const int entry = center * kValvesPerCenter + kFirstValveEntry + valve;
            int code = ConfigByte(*m_model, 2, entry);
            std::string text = code ? m_model->GetTriggerName(static_cast<uint8_t>(code)) : "[UNUSED]";
            if (center == 0 && ((valve == 0 && solarOnA) || (valve == 1 && solarOnB))) {
                code = kSolarValve;
                text = "USED BY SOLAR";
            }
            char label[64];
            std::snprintf(label, sizeof label, "Load Center %d     Valve %c:\t", center + 1, 'A' + valve);
            rows.push_back({label + text, (entry << 16) | code});
        }
    }
    m_controls.SetItems(IDC_VALVE_LIST, std::move(rows));
}

void CStep3Dlg::FillValveCircuits() {
    FillValveList();
    std::vector<CListItem> items =
        CircuitItems(*m_model, true, [](const CPoolCircuit& c) { return c.function != kHiddenFunction; });
    items.push_back({"[UNUSED]", 0});
    for (const CListItem& item : TriggerItems(*m_model, {0x80, 0x81, 0x82, 0x83})) items.push_back(item);
    m_controls.SetItems(IDC_VALVE_CIRCUIT, std::move(items));
}

void CStep3Dlg::FillHighSpeedList() {
    int first = 0, end = 0;
    GetHighSpeedRange(first, end);
    std::vector<CListItem> rows;
    for (int entry = first; entry < end; ++entry) {
        const uint8_t code = ConfigByte(*m_model, 1, entry);
        if (code != 0) rows.push_back({m_model->GetTriggerName(code), code});
    }
    const bool room = static_cast<int>(rows.size()) < end - first;
    m_controls.SetItems(IDC_HIGH_SPEED_LIST, std::move(rows));
    m_controls.Enable(IDC_ADD_CIRCUIT, room);
}

void CStep3Dlg::LoadBodyOptions() {
    const BodyBits& bits = FirstBodyTab() ? kFirstBody : kSecondBody;
    m_controls.SetChecked(IDC_SOLAR, Bit(ConfigByte(*m_model, 4, 0), bits.solar));
    m_controls.SetChecked(IDC_SOLAR_HEAT_PUMP, Bit(ConfigByte(*m_model, 4, 2), bits.heatPump));
    m_controls.SetChecked(IDC_COOL_DOWN, Bit(ConfigByte(*m_model, 5, 0), bits.coolDown));
}

void CStep3Dlg::ShowOptions() {
    LoadBodyOptions();
    m_controls.SetChecked(IDC_PUMP_OFF_VALVE, Bit(ConfigByte(*m_model, 5, 0), kPumpOffBit));
    m_controls.SetChecked(IDC_SPA_MANUAL_HEAT, ConfigByte(*m_model, 7, 4) != 0);
}

void CStep3Dlg::OnSelchange(int id) {
    switch (id) {
    case IDC_VALVE_LIST: OnSelchangeValve(); break;
    case IDC_VALVE_CIRCUIT: OnSelchangeValveCircuit(); break;
    case IDC_BODY_TABS:
        LoadBodyOptions();
        FillHighSpeedList();
        break;
    default: break;
    }
}

void CStep3Dlg::OnClicked(int id) {
    if (EndWizardStep(m_controls, id)) return;
    switch (id) {
    case IDC_SOLAR:
    case IDC_SOLAR_HEAT_PUMP:
    case IDC_COOL_DOWN:
    case IDC_PUMP_OFF_VALVE:
    case IDC_SPA_MANUAL_HEAT: OnOptionClicked(); break;
    case IDC_CHLORINATOR: OnChlorinatorClicked(); break;
    case IDC_ADD_CIRCUIT: OnAddCircuit(); break;
    case IDC_REMOVE_CIRCUIT: OnRemoveCircuit(); break;
    default: break;
    }
}

void CStep3Dlg::OnSelchangeValve() {
    const int code = m_controls.SelectedData(IDC_VALVE_LIST, -1);
    if (code < 0) return;
    if ((code & 0xFF) == kSolarValve) {
        m_controls.Select(IDC_VALVE_CIRCUIT, -1);
        m_controls.Enable(IDC_VALVE_CIRCUIT, false);
        return;
    }
    m_controls.Enable(IDC_VALVE_CIRCUIT, true);
    m_controls.SelectData(IDC_VALVE_CIRCUIT, code & 0xFF);  // none when the box does not offer the code
}

void CStep3Dlg::OnSelchangeValveCircuit() {
    const int row = m_controls.Selection(IDC_VALVE_LIST);
    const int chosen = m_controls.SelectedData(IDC_VALVE_CIRCUIT, -1);
    if (row < 0 || chosen < 0) return;
    const int entry = m_controls.SelectedData(IDC_VALVE_LIST, 0) >> 16;
    CTableChange change(*m_model);
    change.Set(2, entry, static_cast<uint8_t>(chosen));
    const bool taken = change.Write(m_controls.View());
    FillValveList();
    m_controls.Select(IDC_VALVE_LIST, row);
    if (!taken) OnSelchangeValve();
}

void CStep3Dlg::OnOptionClicked() {
    const BodyBits& bits = FirstBodyTab() ? kFirstBody : kSecondBody;
    CTableChange change(*m_model);
    change.Set(7, 4, m_controls.IsChecked(IDC_SPA_MANUAL_HEAT) ? 1 : 0);
    uint8_t solar = ConfigByte(*m_model, 4, 0);
    uint8_t options = ConfigByte(*m_model, 4, 2);
    uint8_t delays = WithBit(ConfigByte(*m_model, 5, 0), kPumpOffBit, m_controls.IsChecked(IDC_PUMP_OFF_VALVE));
    solar = WithBit(solar, bits.solar, m_controls.IsChecked(IDC_SOLAR));
    options = WithBit(options, bits.heatPump, m_controls.IsChecked(IDC_SOLAR_HEAT_PUMP));
    delays = WithBit(delays, bits.coolDown, m_controls.IsChecked(IDC_COOL_DOWN));
    change.Set(4, {{0, solar}, {2, options}});
    change.Set(5, 0, delays);
    if (!change.Write(m_controls.View())) ShowOptions();
    FillValveList();
    m_controls.Select(IDC_VALVE_CIRCUIT, -1);
    m_controls.Enable(IDC_VALVE_CIRCUIT, false);
}

// Without an answer the gateway keeps its chlorinator setting, and the box shows it again.
void CStep3Dlg::OnChlorinatorClicked() {
    const bool installed = m_controls.IsChecked(IDC_CHLORINATOR);
    if (AskChlorinator(*m_model, ZVM_POOL_SETCHLORINATORENABLEQ, {0, installed ? 1 : 0})) return;
    m_controls.SetChecked(IDC_CHLORINATOR, !installed);
    m_controls.View().ShowMessage(kChangeRefused);
}

void CStep3Dlg::OnAddCircuit() {
    uint8_t code = 0;
    if (!m_sides.RunSelectCircuit(m_model, code)) return;
    int first = 0, end = 0;
    GetHighSpeedRange(first, end);
    for (int entry = first; entry < end; ++entry) {
        if (ConfigByte(*m_model, 1, entry) == 0) {
            CTableChange change(*m_model);
            change.Set(1, entry, code);
            change.Write(m_controls.View());
            FillHighSpeedList();
            return;
        }
    }
}

void CStep3Dlg::OnRemoveCircuit() {
    const int code = m_controls.SelectedData(IDC_HIGH_SPEED_LIST, -1);
    if (code < 0) return;
    int first = 0, end = 0;
    GetHighSpeedRange(first, end);
    for (int entry = first; entry < end; ++entry) {
        if (ConfigByte(*m_model, 1, entry) == code) {
            CTableChange change(*m_model);
            change.Set(1, entry, 0);
            change.Write(m_controls.View());
            break;
        }
    }
    FillHighSpeedList();
}

CSelectCircuitDlg::CSelectCircuitDlg(CDialogView& view, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_model(std::move(model)) {}

void CSelectCircuitDlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Select a Circuit that Requires High-Speed");
    std::vector<CListItem> items = TriggerItems(*m_model, {0x80, 0x81, 0x82, 0x83, 0x84, 0});
    for (const CListItem& item :
         CircuitItems(*m_model, true, [](const CPoolCircuit& c) { return c.function != kHiddenFunction; }))
        items.push_back(item);
    m_controls.SetItems(IDC_SELECT_LIST, std::move(items), true);
    m_controls.Enable(IDC_OK, false);
}

void CSelectCircuitDlg::OnSelchange(int id) {
    const int code = m_controls.SelectedData(IDC_SELECT_LIST, -1);
    if (id != IDC_SELECT_LIST || code < 0) return;
    m_chosen = static_cast<uint8_t>(code);
    m_controls.Enable(IDC_OK, true);
}

void CSelectCircuitDlg::OnClicked(int id) {
    if (id == IDC_OK)
        m_controls.View().EndDialog(kDialogOk);
    else if (id == IDC_CANCEL)
        m_controls.View().EndDialog(kDialogCancel);
}
