#include "vistrel/home/pool/poolpump.h"

#include <algorithm>

#include "core/basinsetup.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/gauges/bevelpanel.h"
#include "widgets/gauges/lampmeter.h"
#include "widgets/regions/rregion.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kGap = 5;
constexpr int kStatusWidth = 200;
constexpr int kButtonClass = 17;
constexpr int kArrowWidth = 60;
constexpr int kValueWidth = 120;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr COLORREF kArrowFace = 0x00FF00;
constexpr COLORREF kArrowIcon = 0x004000;
constexpr int kFilterRowHeight = 32;
constexpr int kFilterRowGap = 10;
constexpr int kFilterCaptionWidth = 130;
constexpr int kValueFontSize = 20;
constexpr int kCentred = 18;
constexpr COLORREF kGaugeColours[] = {0x00C800, 0x4B8C00, 0x00C8C8, 0x0000FF};
constexpr int kSmallControllers[] = {13, 14};

// The alarm labels and the status bit of each.
struct AlarmEntry {
    const char* text;
    int bit;
};
constexpr AlarmEntry kAlarmEntries[CPumpPage::kAlarms] = {
    {"Filter Warning", 1},     {"Drive Temp. Alarm", 2},    {"Priming Alarm", 3},      {"System Blocked", 4},
    {"Unknown Alarm", 5},      {"Drive Temp. Warning", 6},  {"Power Outage Alarm", 7}, {"Over Current Alarm", 8},
    {"Over Voltage Alarm", 9}, {"Communications Lost", 15},
};

}  // namespace

int CPumpPage::StepPreset(int value, int count, int rpmMode) {
    if (rpmMode) return std::clamp(value + count * kRpmStep, kMinRpm, kMaxRpm);
    return std::clamp(value + count, kMinGpm, kMaxGpm);
}

CPumpPage::CPumpPage(CZVWindow* parent, CZVRect rect, int pump, CBasinSetup* model, CZVServer& server)
    : CSubPanel(parent, rect, kStyleClass, model), CSocketSink(server), m_pump(pump) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int band = PickByScreenHeight(600, 200, 300);
    m_statusPanel = CreateCaptionPanel(this, CZVRect(0, 0, kStatusWidth, band), "Status", 0);
    m_presetPanel = CreateCaptionPanel(this, CZVRect(kStatusWidth + kGap, 0, rect.w - kStatusWidth - kGap, band),
                                       "Flow Rate Settings", 0);
    m_outputPanel =
        CreateCaptionPanel(this, CZVRect(0, band + kGap, rect.w, rect.h - band - kGap), "Vortana Output", 0);
    BuildStatus();
    BuildOutput();
    if (model->IsPumpVX900(pump)) {
        const uint8_t type = model->GetControllerType();
        if (std::find(std::begin(kSmallControllers), std::end(kSmallControllers), type) !=
            std::end(kSmallControllers)) {
            m_statusPanel->Enable(0, 0);
            m_outputPanel->Enable(0, 0);
        } else {
            m_gpm->Enable(0, 0);
            m_filterGauge->Enable(0, 0);
        }
    }
    server.RegisterSink(this);
    RequestStatus();
    SetTimer(kPollInterval);
}

CPumpPage::~CPumpPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CPumpPage::BuildStatus() {
    const CZVRect area = CaptionPanelBody(m_statusPanel);
    const int top = area.y;
    const int rowHeight = area.h / kAlarms;
    const int fontSize = PickByScreenHeight(600, 12, 0);
    for (int i = 0; i < kAlarms; ++i)
        m_alarms[static_cast<size_t>(i)] =
            CreatePanelButton(m_statusPanel, CZVRect(area.x, top + i * rowHeight, area.w, rowHeight - 1),
                              kAlarmEntries[i].text, fontSize);
}

void CPumpPage::BuildOutput() {
    const int caption = PickByScreenHeight(600, 20, 30);
    const CZVRect area = CaptionPanelBody(m_outputPanel);
    const int quarter = area.w * 70 / 100 / 4;
    const int stateLeft = area.x + area.w * 30 / 100 + quarter;
    const int stateTop = area.y - caption;
    m_pumpOn = CreatePanelButton(m_outputPanel, CZVRect(stateLeft, stateTop, quarter - kGap, caption), "Pump On", 0);
    m_pumpOff = CreatePanelButton(m_outputPanel, CZVRect(stateLeft + quarter, stateTop, quarter - kGap, caption),
                                  "Pump Off", 0);

    const int filterTop = area.y + area.h - kFilterRowHeight;
    const int boxTop = area.y + kGap;
    const int boxHeight = filterTop - kFilterRowGap - boxTop;
    const int third = area.w / 3;
    // The three captions share the largest size at which each fits its box.
    CCaptionFitter captions(m_outputPanel);
    m_watts = BuildValueBox(CZVRect(area.x, boxTop, third - kGap, boxHeight), "Power Usage (Watts)", captions);
    m_rpm = BuildValueBox(CZVRect(area.x + third, boxTop, third - kGap, boxHeight), "RPM", captions);
    m_gpm = BuildValueBox(CZVRect(area.x + 2 * third, boxTop, area.w - 2 * third, boxHeight), "Flow (GPM)", captions);
    captions.Apply(PickByScreenHeight(600, 20, 30));

    CZVLabel* filter = m_outputPanel->AddLabel(CZVRect(area.x, filterTop, kFilterCaptionWidth, kFilterRowHeight),
                                               "Filter Status", kValueFontSize);
    filter->SetTextFormat(kCentred);
    const int gaugeLeft = area.x + kFilterCaptionWidth;
    const int gaugeWidth = area.w - 2 * kFilterCaptionWidth;
    m_filterGauge = new CLampMeter(m_outputPanel, CZVRect(gaugeLeft, filterTop, gaugeWidth, kFilterRowHeight),
                                   kLampGroups[0], kLampGroups[1], kLampGroups[2], kLampGroups[3], 0, 0);
    m_filterGauge->SetGroupColors(kGaugeColours[0], kGaugeColours[1], kGaugeColours[2], kGaugeColours[3]);
    m_outputPanel->AddChild(m_filterGauge);
    m_filterText = m_outputPanel->AddLabel(
        CZVRect(gaugeLeft + gaugeWidth, filterTop, kFilterCaptionWidth, kFilterRowHeight), "", kValueFontSize);
    m_filterText->SetTextFormat(kCentred);
}

CBevelPanel* CPumpPage::BuildValueBox(CZVRect rect, const char* caption, CCaptionFitter& captions) {
    auto* box = new CRRegion(m_outputPanel, rect, m_outputPanel->GetStyleClass());
    const int shape = PickByScreenHeight(600, 5, 10);
    box->SetCornerRadius(shape);
    box->SetBevel(shape);
    m_outputPanel->AddChild(box);
    CZVRect area;
    box->GetContentRect(&area);
    const int captionHeight = PickByScreenHeight(600, 24, 36);
    CZVLabel* label =
        box->AddLabel(CZVRect(area.x, area.y, area.w, captionHeight), caption, PickByScreenHeight(600, 20, 30));
    label->SetTextFormat(kCentred);
    captions.AddWindow(label);
    const int top = area.y + captionHeight;
    auto* display = new CBevelPanel(box, CZVRect(area.x, top, area.w, area.y + area.h - top), kValueFontSize + 4);
    display->SetFontSize(kValueFontSize);
    box->AddChild(display);
    return display;
}

void CPumpPage::BuildPresets() {
    int used = 0;
    for (uint8_t device : m_presetCircuits) used += device != 0;
    m_rowCount = std::max(kMinRows, used);
    auto* rows = new CCommandRelay(m_presetPanel, CaptionPanelBody(m_presetPanel), this);
    const int rowHeight = rows->GetHeight() / m_rowCount;
    const int width = rows->GetWidth();
    int row = 0;
    for (int slot = 0; slot < CPumpStatus::kPresets; ++slot) {
        const uint8_t device = m_presetCircuits[static_cast<size_t>(slot)];
        if (device == 0) continue;
        const int top = row++ * rowHeight;
        const int height = rowHeight - 2;
        CZV3DButton* up = rows->AddImageButton(CZVRect(width - kArrowWidth, top, kArrowWidth, height), kUpId + slot,
                                               kButtonClass, kUpIcon, kArrowIcon);
        CZV3DButton* down = rows->AddImageButton(CZVRect(width - 2 * kArrowWidth - kGap, top, kArrowWidth, height),
                                                 kDownId + slot, kButtonClass, kDownIcon, kArrowIcon);
        for (CZV3DButton* arrow : {up, down}) arrow->SetFaceColor(kArrowFace);
        SetupRepeatButton(up, kUpId + slot, kReleaseId + slot);
        SetupRepeatButton(down, kDownId + slot, kReleaseId + slot);
        const int valueLeft = width - 2 * kArrowWidth - kValueWidth - 2 * kGap;
        CZVLabel* value = rows->AddLabel(CZVRect(valueLeft, top, kValueWidth, height), "", kValueFontSize);
        value->SetTextFormat(kCentred);
        m_presetLabels[static_cast<size_t>(slot)] = value;
        CZVCheckButton* circuit = rows->AddCheckButton(CZVRect(0, top, valueLeft - kGap, height), kCircuitId + slot,
                                                       kButtonClass, m_model->GetTriggerName(device).c_str());
        if (!m_model->FindCircuitByDevice(device)) circuit->Enable(0, 0);
        m_circuitButtons[static_cast<size_t>(slot)] = circuit;
    }
    m_presetsBuilt = 1;
    OnStatusUpdate();
}

// ---- polling

void CPumpPage::RequestStatus() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(CSocketSink::GetId(), ZVM_POOL_GETPUMPQ);
    message.WriteInt(m_model->GetControllerIndex());
    message.WriteInt(m_pump);
    server->Send(&message);
}

void CPumpPage::OnTimer() { RequestStatus(); }

void CPumpPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_POOL_GETPUMPA || !m_model->IsReady()) return;
    if (m_editing) {
        if (platform::TicksSince(m_lastStep) < kEditingTimeout) return;
        m_editing = 0;
    }
    message->ResetPosition();
    CPumpStatus status;
    if (ReadPumpStatus(*message, &status)) ShowStatus(status, MayRedraw());
}

void CPumpPage::ShowStatus(const CPumpStatus& status, int redraw) {
    m_rpmMode = status.gpm == CPumpStatus::kNoFlow;
    int listed = 0;
    for (int slot = 0; slot < CPumpStatus::kPresets; ++slot) {
        const CPumpPreset& preset = status.presets[static_cast<size_t>(slot)];
        m_presetValues[static_cast<size_t>(slot)] = preset.value;
        m_presetCircuits[static_cast<size_t>(slot)] = static_cast<uint8_t>(preset.deviceId);
        listed += m_presetCircuits[static_cast<size_t>(slot)] != 0;
    }
    if (!m_presetsBuilt && listed > 0) {
        BuildPresets();
        if (redraw) m_presetPanel->Redraw(1);
    }
    for (int slot = 0; slot < CPumpStatus::kPresets; ++slot) ShowPresetLabel(slot, redraw);

    for (int i = 0; i < kAlarms; ++i)
        SetButtonHighlight(m_alarms[static_cast<size_t>(i)], (status.alarms >> kAlarmEntries[i].bit & 1) != 0, redraw);

    int running = status.running;
    if (running != 0 && running != 1 && status.alarms == 0) running = status.rpm >= 1 ? 1 : 0;
    SetButtonHighlight(m_pumpOn, running == 1, redraw);
    SetButtonHighlight(m_pumpOff, running == 0, redraw);

    if (status.gpm == 0 || (status.gpm >= kMinGpm && status.gpm <= kMaxGpm))
        ShowValue(m_gpm, status.gpm, kMaxGpm, redraw);
    else if (m_rpmMode)
        m_gpm->SetText("--", nullptr, redraw);

    if (status.filter >= 0 && status.filter <= 100 && !m_rpmMode) {
        m_filterText->SetText((std::to_string(status.filter) + " %").c_str(), nullptr, redraw);
        m_filterGauge->SetValue(LitLamps(status.filter), redraw);
    }
    ShowValue(m_watts, status.watts, kMaxWatts, redraw);
    ShowValue(m_rpm, status.rpm, kMaxRpm, redraw);
}

void CPumpPage::ShowValue(CBevelPanel* display, int value, int full, int redraw) {
    display->SetText(std::to_string(value).c_str(), nullptr, 0);
    display->SetState(std::clamp(static_cast<int>(int64_t{value} * 100 / full), 0, 100), redraw);
}

void CPumpPage::ShowPresetLabel(int slot, int redraw) {
    CZVLabel* label = m_presetLabels[static_cast<size_t>(slot)];
    if (!label) return;
    const std::string text = std::to_string(m_presetValues[static_cast<size_t>(slot)]) + (m_rpmMode ? " RPM" : " GPM");
    label->SetText(text.c_str(), nullptr, redraw);
}

// ---- touches

int CPumpPage::OnChildCommand(int id, int count) {
    const int slot = id % 10;
    if (id >= kUpId && id < kUpId + CPumpStatus::kPresets) {
        StepSlot(slot, count);
    } else if (id >= kDownId && id < kDownId + CPumpStatus::kPresets) {
        StepSlot(slot, -count);
    } else if (id >= kReleaseId && id < kReleaseId + CPumpStatus::kPresets) {
        m_editing = 0;
        SendPreset(slot);
    } else if (id >= kCircuitId && id < kCircuitId + CPumpStatus::kPresets) {
        CZVCheckButton* button = m_circuitButtons[static_cast<size_t>(slot)];
        if (button)
            m_model->SetCircuitState(m_model->FindCircuitByDevice(m_presetCircuits[static_cast<size_t>(slot)]),
                                     button->GetCheck());
    }
    // Every id is this page's: none reaches the tabs above.
    return 1;
}

void CPumpPage::StepSlot(int slot, int count) {
    if (!m_presetLabels[static_cast<size_t>(slot)]) return;
    m_editing = 1;
    m_lastStep = platform::GetTickCount();
    int32_t& value = m_presetValues[static_cast<size_t>(slot)];
    value = StepPreset(value, count, m_rpmMode);
    ShowPresetLabel(slot, 1);
}

void CPumpPage::SendPreset(int slot) {
    if (!m_presetLabels[static_cast<size_t>(slot)]) return;
    CZVMSG message(0, ZVM_POOL_SETPUMPSPEED);
    message.WriteInt(m_model->GetControllerIndex());
    message.WriteInt(m_pump);
    message.WriteInt(slot);
    message.WriteInt(m_presetValues[static_cast<size_t>(slot)]);
    m_model->Link().Send(message);
}

void CPumpPage::OnShow(int show) {
    // A hidden page gets no release: its arrows cannot be held.
    if (!show) m_editing = 0;
    CSubPanel::OnShow(show);
}

void CPumpPage::OnStatusUpdate() {
    const int redraw = IsPaintedOnce() && MayRedraw();
    for (int slot = 0; slot < CPumpStatus::kPresets; ++slot) {
        CZVCheckButton* button = m_circuitButtons[static_cast<size_t>(slot)];
        const CPoolCircuit* circuit = m_model->FindCircuitByDevice(m_presetCircuits[static_cast<size_t>(slot)]);
        if (button && circuit) button->SetCheck(circuit->state > 0, 0, redraw);
    }
}

int CPumpPage::MayRedraw() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }
