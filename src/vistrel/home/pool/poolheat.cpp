#include "vistrel/home/pool/poolheat.h"

#include <vector>

#include "core/basinsetup.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kInnerClass = 8;
constexpr int kButtonClass = 17;
constexpr int kTextureFlag = 0x2000;
constexpr int kCaptionWidth = 65;
constexpr int kGap = 5;
constexpr int kIconLayout = 40;
constexpr int kFitStart = 40;
constexpr int kNameFontSize = 24;
constexpr int kIndicatorFontSize = 18;
constexpr int kCentred = 18;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr COLORREF kOffTint = 0xFF0000;
constexpr COLORREF kHeaterTint = 0x0000FF;
constexpr COLORREF kSolarTint = 0x0064C8;
constexpr double kTintShare = 0.75;  // of the face colour
constexpr const char* kNoValue = "-- F";
constexpr const char* kSampleValue = "100 F";

int HasSolar(const CBasinSetup* model) { return (model->GetEquipmentFlags() & 0x3) != 0; }
int HasHeatPump(const CBasinSetup* model) { return (model->GetEquipmentFlags() & 0x2) != 0; }

}  // namespace

CPoolHeatPage::CPoolHeatPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, int body, const std::string& name,
                             const CZVObList& circuits, int largerCount)
    : CRRegion(parent, rect, kStyleClass), m_model(model), m_body(body) {
    const int shape = PickByScreenHeight(600, 5, 10);
    SetCornerRadius(shape);
    SetSpacing(shape);
    SetBevel(shape);
    if (CSetServer::CurrentFlags() & kTextureFlag) SetTexture(1);
    if (const CPoolBody* limits = model->GetBody(body)) {
        m_minimum = limits->setPointMin;
        m_maximum = limits->setPointMax;
    }
    CZVRect r;
    GetContentRect(&r);
    BuildControls(CZVRect(r.x + r.w - kControlWidth, r.y, kControlWidth, r.h));
    const int nameHeight = PickByScreenHeight(600, 20, 30);
    CZVLabel* title = AddLabel(CZVRect(r.x, r.y, r.w - kControlWidth, nameHeight), name.c_str(), kNameFontSize);
    title->SetTextColor(ScaleColor(0.25, GetFaceColor()));
    const int top = r.y + nameHeight + kGap;
    BuildCircuitButtons(CZVRect(r.x + kGap, top, r.w - kControlWidth - 2 * kGap, r.y + r.h - top), circuits,
                        largerCount);
    SetTimer(CCircuitButtons::kBlinkInterval);
}

void CPoolHeatPage::BuildControls(CZVRect area) {
    auto* inner = new CRRegion(this, area, kInnerClass);
    AddChild(inner);
    inner->SetMargin(3);
    inner->SetBevel(0);
    inner->SetCornerRadius(5);
    CZVRect c;
    inner->GetContentRect(&c);
    const int arrowWidth = PickByScreenHeight(600, 50, 60);
    const int arrowHeight = c.h / 2 - 4;
    m_up = inner->AddImageButton(CZVRect(c.x + c.w - arrowWidth, c.y, arrowWidth, arrowHeight), kUpId, kButtonClass,
                                 kUpIcon, kUpTint);
    m_down = inner->AddImageButton(CZVRect(c.x + c.w - arrowWidth, c.y + c.h - arrowHeight, arrowWidth, arrowHeight),
                                   kDownId, kButtonClass, kDownIcon, kDownTint);
    for (CZV3DButton* arrow : {m_up, m_down}) {
        arrow->SetAutoRepeat(1);
        arrow->SetRepeatTiming(250, 100, 500, 1500);
    }
    const CZVRect m(c.x, c.y, c.w - arrowWidth, c.h);
    const int modeHeight = PickByScreenHeight(600, 40, 60);
    const int statusHeight = PickByScreenHeight(600, 30, 40);
    const int bandTop = m.y + m.h - modeHeight - statusHeight;
    BuildModeRow(inner, CZVRect(m.x, bandTop, m.w - kGap, modeHeight));
    BuildStatusRow(inner, CZVRect(m.x, bandTop + modeHeight + kGap, m.w - kGap, statusHeight - kGap));

    const int half = m.w / 2 - kGap;
    const int valueHeight = bandTop - m.y;
    CCaptionFitter captions(inner);
    captions.AddWindow(inner->AddLabel(CZVRect(m.x + 2, m.y, kCaptionWidth, valueHeight), "Actual\\nTemp", kFitStart));
    const int right = m.x + m.w / 2;
    captions.AddWindow(inner->AddLabel(CZVRect(right, m.y, kCaptionWidth, valueHeight), "Set\\nPoint", kFitStart));
    captions.AddWindow(inner->AddLabel(CZVRect(m.x, bandTop, kCaptionWidth, modeHeight), "Heat\\nMode", kFitStart));
    captions.AddWindow(inner->AddLabel(CZVRect(m.x, bandTop + modeHeight + kGap, kCaptionWidth, statusHeight - kGap),
                                       "Heat\\nStatus", kFitStart));
    captions.Apply(kFitStart);

    m_temperatureLabel =
        inner->AddLabel(CZVRect(m.x + 2 + kCaptionWidth, m.y, half - 2 - kCaptionWidth, valueHeight), kNoValue, 38);
    m_setPointLabel =
        inner->AddLabel(CZVRect(right + kCaptionWidth, m.y, half - kCaptionWidth, valueHeight), kNoValue, 38);
    CCaptionFitter values(inner);
    for (CZVLabel* value : {m_temperatureLabel, m_setPointLabel}) {
        value->SetTextColor(0);
        value->SetTextFormat(kCentred);
        CZVRect inside;
        value->GetInnerRect(&inside);
        values.AddCaption(kSampleValue, inside);
    }
    const int valueSize = values.FindFontSize(1, 1, kFitStart);
    m_temperatureLabel->SetFontSize(valueSize);
    m_setPointLabel->SetFontSize(valueSize);
}

void CPoolHeatPage::BuildModeRow(CZVWindow* inner, CZVRect row) {
    const int solar = HasSolar(m_model);
    const int heatPump = HasHeatPump(m_model);
    struct Mode {
        int mode;
        const char* caption;
        const char* icon;
    };
    std::vector<Mode> modes = {{kModeOff, "Off", "POOL_HEATOFF"}, {kModeHeat, "Heat", "POOL_HEATER"}};
    if (solar) {
        modes.push_back({kModeSolarPreferred, heatPump ? "H.Pump Pref" : "Solar Pref.", "POOL_SOLARPREF"});
        modes.push_back({kModeSolar, heatPump ? "H.Pump" : "Solar", "POOL_SOLAR"});
    }
    const int count = static_cast<int>(modes.size());
    const int width = (row.w - kCaptionWidth) / count;
    for (int i = 0; i < count; ++i) {
        const Mode& mode = modes[static_cast<size_t>(i)];
        CZVCheckButton* button = inner->AddCheckButton(CZVRect(row.x + kCaptionWidth + i * width, row.y, width, row.h),
                                                       kOffId + mode.mode, kButtonClass, mode.caption);
        button->SetIconName(mode.icon, kIconLayout);
        m_modes[static_cast<size_t>(mode.mode)] = button;
    }
}

void CPoolHeatPage::BuildStatusRow(CZVWindow* inner, CZVRect row) {
    const int count = HasSolar(m_model) ? 3 : 2;
    const std::string captions[] = {"Off", "Heater", m_model->GetSolarText()};
    const int width = (row.w - kCaptionWidth) / count;
    for (int i = 0; i < count; ++i) {
        CZVLabel* indicator = inner->AddLabel(CZVRect(row.x + kCaptionWidth + i * width, row.y, width, row.h),
                                              captions[i].c_str(), kIndicatorFontSize);
        indicator->SetBevelType(1);
        indicator->SetFlag(kLabelFramed, 1);
        indicator->SetTextFormat(kCentred);
        indicator->SetFaceColor(GetFaceColor());
        m_indicators[static_cast<size_t>(i)] = indicator;
    }
}

void CPoolHeatPage::BuildCircuitButtons(CZVRect area, const CZVObList& circuits, int largerCount) {
    if (largerCount <= 0) return;
    const int columns = largerCount < 5 ? 1 : 2;
    const int rows = columns == 1 ? largerCount : (largerCount + 1) / 2;
    const int gap = kGap / largerCount;
    const int height = (area.h - gap * (rows - 1)) / rows;
    const int width = (area.w - kGap * (columns - 1)) / columns;
    int index = 0;
    for (ZVPOSITION pos = circuits.GetHeadPosition(); pos; ++index) {
        auto* circuit = static_cast<CPoolCircuit*>(circuits.GetNext(pos));
        const int column = index / rows;
        const int row = index % rows;
        CZVCheckButton* button =
            AddCheckButton(CZVRect(area.x + column * (width + kGap), area.y + row * (height + gap), width, height),
                           CCircuitButtons::kFirstId + index, kButtonClass, circuit->name.c_str());
        m_circuits.Add(circuit, button);
    }
}

int CPoolHeatPage::OnCommand(int id) {
    if (id == kUpId || id == kDownId) {
        StepSetPoint(id == kUpId ? 1 : -1);
        return 1;
    }
    if (id >= kOffId && id <= kHeatId) {
        Send(ZVM_POOL_SETHEATMODE, id - kOffId);
        ShowHeatMode(id - kOffId, 1);
        return 1;
    }
    if (CPoolCircuit* circuit = m_circuits.FindByCommand(id)) {
        m_model->SetCircuitState(circuit, circuit->state == 0 ? 1 : 0);
        return 1;
    }
    return CRRegion::OnCommand(id);
}

void CPoolHeatPage::StepSetPoint(int delta) {
    // Before the first status the set point is unknown: nothing to step.
    if (m_heatMode < 0) return;
    const int next = m_setPoint + delta;
    if (next < m_minimum || next > m_maximum) return;
    m_setPoint = next;
    m_setPointLabel->SetText(m_model->GetTempText(m_setPoint).c_str(), nullptr, 1);
    Send(ZVM_POOL_SETSETPOINT, m_setPoint);
}

void CPoolHeatPage::Send(uint16_t id, int value) {
    CZVMSG message(0, id);
    message.WriteInt(m_model->GetControllerIndex());
    message.WriteInt(m_body);
    message.WriteInt(value);
    m_model->Link().Send(message);
}

void CPoolHeatPage::OnTimer() { m_circuits.Blink(); }

void CPoolHeatPage::UpdateFromStatus(int temperature, int heatStatus, int setPoint, int heatMode) {
    const int redraw = !CMainWndBase::InputBlockedFor(this) && IsPaintedOnce();
    if (!m_up->IsPressed() && !m_down->IsPressed()) {
        m_temperatureLabel->SetText(m_model->GetTempText(temperature).c_str(), nullptr, redraw);
        m_setPointLabel->SetText(m_model->GetTempText(setPoint).c_str(), nullptr, redraw);
    }
    m_heatMode = heatMode;
    m_setPoint = setPoint;
    ShowHeatMode(heatMode, redraw);
    ShowHeatStatus(heatStatus, redraw);
}

void CPoolHeatPage::ShowHeatMode(int mode, int redraw) {
    for (int i = 0; i < static_cast<int>(m_modes.size()); ++i)
        if (CZVCheckButton* button = m_modes[static_cast<size_t>(i)]) button->SetCheck(i == mode, 0, redraw);
}

void CPoolHeatPage::ShowHeatStatus(int status, int redraw) {
    const COLORREF face = GetFaceColor();
    auto tint = [face](bool on, COLORREF colour) { return on ? MixColors(colour, face, kTintShare) : face; };
    const COLORREF colours[] = {tint(status == 0, kOffTint), tint(status == 2 || status == 3, kHeaterTint),
                                tint(status == 1 || status == 3, kSolarTint)};
    for (size_t i = 0; i < m_indicators.size(); ++i) {
        CZVLabel* indicator = m_indicators[i];
        if (!indicator || indicator->GetFaceColor() == colours[i]) continue;
        indicator->SetFaceColor(colours[i]);
        if (redraw) indicator->Redraw(1);
    }
}
