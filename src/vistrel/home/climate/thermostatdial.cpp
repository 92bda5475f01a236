#include "vistrel/home/climate/thermostatdial.h"

#include <algorithm>
#include <string>

#include "core/messages/climatemessages.h"
#include "gfx/speed.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kColumnGap = 2;
constexpr int kCaptionStart = 28;
constexpr int kValueFontSize = 32;
constexpr int kRockerClass = 17;
constexpr int kRockerShadeClass = 16;
constexpr int kRoomClass = 30;
constexpr int kCoolClass = 29;
constexpr int kHeatClass = 25;
constexpr double kTintShare = 0.1;
constexpr int kButtonColumn = 70;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr int kCentred = 18;
constexpr int kMinimumGap = 2;
constexpr int kRoomBarHeight = 6;
constexpr COLORREF kCoolBand = 0xFF0000;
constexpr COLORREF kHeatBand = 0x0000FF;

COLORREF StyleColour(int styleClass) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, 0) : 0;
}

// 90 % of the face and 10 % of the style class's colour.
COLORREF Tinted(COLORREF face, int styleClass) { return MixColors(face, StyleColour(styleClass), kTintShare); }

bool Known(int value) { return value >= 0 && value != kNoClimateValue; }

CZVString TemperatureText(int value) { return Known(value) ? FormatTemperature(value) : CZVString(""); }

// A captioned panel's caption at the top of its content area.
CZVLabel* AddCaption(CZVWindow* panel, CZVRect rect, CZVString text, CCaptionFitter& captions) {
    CZVLabel* caption = panel->AddLabel(rect, text, kCaptionStart);
    caption->SetTextFormat(kCentred);
    captions.AddWindow(caption);
    return caption;
}

}  // namespace

// ---- the scale

CSetPointScale::CSetPointScale(CZVWindow* parent, CZVRect rect, int celsius)
    : CZVWindow(parent, rect, kRockerShadeClass), m_celsius(celsius) {
    if (parent) SetFaceColor(parent->GetFaceColor());
}

int CSetPointScale::Position(int value, int height, int celsius) {
    if (!Known(value)) return 0;
    const int position = celsius ? height * (value - 13) / 24 : height * (value - 55) / 45;
    return std::clamp(position, 0, std::max(height, 0));
}

void CSetPointScale::Moved(int before, int after, int animate) {
    if (Position(before, m_height, m_celsius) != Position(after, m_height, m_celsius) && IsShown() && animate)
        Redraw(1);
}

void CSetPointScale::SetHeat(int value, int animate) {
    const int before = m_heat;
    m_heat = value;
    if (m_cool > 0 && Known(value)) m_cool = std::max(m_cool, value + kMinimumGap);
    Moved(before, m_heat, animate);
}

void CSetPointScale::SetCool(int value, int animate) {
    const int before = m_cool;
    m_cool = value;
    if (m_heat > 0 && Known(value)) m_heat = std::min(m_heat, value - kMinimumGap);
    Moved(before, m_cool, animate);
}

void CSetPointScale::SetRoom(int value, int animate) {
    const int before = m_room;
    m_room = value;
    Moved(before, m_room, animate);
}

COLORREF CSetPointScale::GetRoomColour() const {
    if (m_heat > 0 && m_room < m_heat) return kBelowHeatColour;
    if (m_cool > 0 && m_room > m_cool) return kAboveCoolColour;
    return kComfortColour;
}

void CSetPointScale::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    const COLORREF face = GetFaceColor();
    dc->FillBevelBoxStd(face, face, false, 0, 0, m_width - 1, m_height - 1, 1);
    if (m_heat > 0 || m_cool > 0) {
        if (Known(m_cool)) dc->FillRect(MixColors(face, kCoolBand, 0.5), 1, 1, m_width - 2, Y(m_cool) - 1, 0);
        if (Known(m_heat)) {
            const int top = Y(m_heat);
            dc->FillRect(MixColors(face, kHeatBand, 0.5), 1, top, m_width - 2, m_height - 1 - top, 0);
        }
    }
    if (Position(m_room, m_height, m_celsius) > 0) {
        const int y = std::clamp(Y(m_room) - kRoomBarHeight / 2, 0, m_height - kRoomBarHeight);
        dc->FillBevelBoxStd(GetRoomColour(), GetRoomColour(), true, 0, y, m_width - 1, y + kRoomBarHeight - 1, 1);
    }
}

// ---- a set-point panel

CSetPointPanel::CSetPointPanel(CZVWindow* parent, CZVRect rect, CThermostatZone& zone, CSetPointScale* scale,
                               int heating, COLORREF face, CCaptionFitter& captions)
    : CRRegion(parent, rect, kStyleClass), m_zone(zone), m_scale(scale), m_heating(heating) {
    SetFaceColor(face);
    if (parent) SetBackColor(parent->GetFaceColor());
    CZVRect inner;
    GetContentRect(&inner);
    const int column = std::max(std::min(kButtonColumn, inner.w / 3), inner.w / 4);
    const CZVRect buttons(inner.x + inner.w - column, inner.y + 2, column, inner.h - 4);
    const int left = inner.w - column;
    AddCaption(this, CZVRect(inner.x, inner.y, left, inner.h / 2),
               heating ? "Heating\nSet Point" : "Cooling\nSet Point", captions);
    m_label = AddLabel(CZVRect(inner.x, inner.y + inner.h / 2, left, inner.h - inner.h / 2), "", kValueFontSize);
    m_label->SetTextFormat(kCentred);

    m_rocker = new CRockerSwitch(this, buttons, kRockerClass, kDownId, kUpId, 1, 2);
    const COLORREF iconColour = heating ? kHeatIconColour : kCoolIconColour;
    const COLORREF segmentFace = MixColors(face, StyleColour(kRockerShadeClass), 0.5);
    for (int i = 0; i < 2; ++i) {
        CZV3DButton* segment = m_rocker->GetSegment(i);
        if (!segment) continue;
        const int command = i == 0 ? kDownId : kUpId;
        segment->SetIconKind(i == 0 ? kDownIcon : kUpIcon, &iconColour);
        segment->SetBevel(2);
        segment->SetAutoRepeat(1);
        segment->SetFaceColor(segmentFace);
        segment->SetRepeatTiming(300, 50, 400, 1000);
        segment->SetPressIds(command, kSendId);
    }
    AddChild(m_rocker);
}

int CSetPointPanel::IsHeld() {
    for (int i = 0; i < m_rocker->GetSegmentCount(); ++i)
        if (m_rocker->GetSegment(i)->IsPressed()) return 1;
    return 0;
}

int CSetPointPanel::OnCommand(int id) {
    switch (id) {
    case kUpId: Step(1); return 1;
    case kDownId: Step(-1); return 1;
    case kSendId: Send(); return 1;
    default: return CRRegion::OnCommand(id);
    }
}

void CSetPointPanel::Step(int delta) {
    // An unknown set point has nothing to step from.
    if (!Known(m_value)) return;
    const CZoneLimits& limits = m_zone.GetLimits();
    const int low = m_heating ? limits.heatMin : limits.coolMin;
    const int high = m_heating ? limits.heatMax : limits.coolMax;
    const int next = std::clamp(m_value + delta, low, std::max(low, high));
    if (next == m_value) return;
    SetValue(next, 0, 1);
    if (m_heating)
        m_scale->SetHeat(next, 1);
    else
        m_scale->SetCool(next, 1);
    // The other set point keeps its distance on screen only; it is not sent.
    if (!m_partner || !Known(m_partner->GetValue())) return;
    const int partner = m_heating ? std::max(m_partner->GetValue(), next + kMinimumGap)
                                  : std::min(m_partner->GetValue(), next - kMinimumGap);
    m_partner->SetValue(partner, 0, 1);
}

void CSetPointPanel::Send() {
    CZVServer* server = m_zone.GetServer();
    if (!Known(m_value) || !server) return;
    CZVMSG message(0, m_heating ? ZVM_HVAC_SETHEATSETPOINT : ZVM_HVAC_SETCOOLSETPOINT);
    message.WriteInt(m_zone.GetZoneId());
    message.WriteInt(m_value);
    server->Send(&message);
}

void CSetPointPanel::SetValue(int value, int fromStatus, int animate) {
    if (value == m_value || (fromStatus && IsHeld())) return;
    m_value = value;
    m_label->SetText(TemperatureText(value), nullptr, animate && IsShown());
}

// ---- the dial

CThermostatDial::CThermostatDial(CZVWindow* parent, CZVRect rect, CThermostatZone& zone)
    : CZVWindow(parent, rect, kStyleClass) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    const int cell = (rect.w + kColumnGap) / 3;
    const int width = cell - kColumnGap;
    const COLORREF face = GetFaceColor();
    CCaptionFitter captions(this);
    BuildRoomColumn(CZVRect(2 * cell, 0, rect.w - 2 * cell, rect.h), Tinted(face, kRoomClass), captions, zone);
    if (zone.HasCool()) {
        m_cool = new CSetPointPanel(this, CZVRect(cell, 0, width, rect.h), zone, m_scale, 0, Tinted(face, kCoolClass),
                                    captions);
        AddChild(m_cool);
    }
    if (zone.HasHeat()) {
        m_heat = new CSetPointPanel(this, CZVRect(0, 0, width, rect.h), zone, m_scale, 1, Tinted(face, kHeatClass),
                                    captions);
        AddChild(m_heat);
    }
    if (m_heat && m_cool) {
        m_heat->SetPartner(m_cool);
        m_cool->SetPartner(m_heat);
    }
    captions.Apply(kCaptionStart);
    UpdateFromZone(zone);
}

CThermostatDial::~CThermostatDial() {
    // A panel hidden by the mode is out of the child list.
    for (CSetPointPanel* panel : {m_heat, m_cool})
        if (panel && !GetChildren().Contains(panel)) delete panel;
}

void CThermostatDial::BuildRoomColumn(CZVRect rect, COLORREF face, CCaptionFitter& captions, CThermostatZone& zone) {
    m_room = new CRRegion(this, rect, CSetPointPanel::kStyleClass);
    m_room->SetFaceColor(face);
    m_room->SetBackColor(GetFaceColor());
    m_room->SetMargin(m_room->GetBevel());
    m_room->SetBevel(0);
    AddChild(m_room);
    CZVRect inner;
    m_room->GetContentRect(&inner);
    const int scaleWidth = inner.w / 4;
    const int caption = inner.h / 3;
    AddCaption(m_room, CZVRect(inner.x, inner.y, inner.w - scaleWidth, caption), "Room", captions);
    m_roomLabel = m_room->AddLabel(CZVRect(inner.x, inner.y + caption, inner.w - scaleWidth, inner.h - caption), "",
                                   kValueFontSize);
    m_roomLabel->SetTextFormat(kCentred);
    const int scaleX = inner.x + inner.w - scaleWidth - m_room->GetCornerRadius();
    m_scale = new CSetPointScale(m_room, CZVRect(scaleX, inner.y, scaleWidth, inner.h), IsCelsius(zone.GetServer()));
    m_room->AddChild(m_scale);
}

int CThermostatDial::ShowPanel(CSetPointPanel* panel, int show, int animate) {
    if (!panel) return 0;
    const bool present = GetChildren().Contains(panel) != 0;
    if (show && !present) {
        AddChild(panel);
        panel->Show(IsShown(), 0);
        if (animate) panel->Redraw(1);
    } else if (!show && present) {
        RemoveChild(panel);
        if (animate) Redraw(1);
    }
    return show;
}

void CThermostatDial::UpdateFromZone(CThermostatZone& zone) {
    const CZoneStatus& status = zone.GetStatus();
    const int animate = IsShown() && IsPaintedOnce() && !CMainWndBase::InputBlockedFor(this);
    const int room = status.roomValue;
    const bool noRoom = room == kNoClimateValue || room == kNoClimateByte;
    const int percent = noRoom ? -1
                               : std::clamp((zone.GetCapabilities() & kZoneCelsiusDial) ? (room - 13) * 100 / 24
                                                                                        : (room - 55) * 100 / 45,
                                            0, 100);
    CZVString text = noRoom ? CZVString("") : FormatTemperature(room);
    if (std::string(text.GetAnsi()) != m_roomLabel->GetText().GetAnsi() || percent != m_percent) {
        m_roomLabel->SetText(text, nullptr, 0);
        if (percent != m_percent && animate) m_room->Redraw(1);
        m_percent = percent;
    }
    const int mode = status.systemMode;
    const int heatShown =
        ShowPanel(m_heat, mode == kModeHeat || mode == kModeEmergencyHeat || mode == kModeAuto, animate);
    const int coolShown = ShowPanel(m_cool, mode == kModeCool || mode == kModeAuto, animate);
    const int heat = heatShown ? status.heatSetPoint : -1;
    const int cool = coolShown ? status.coolSetPoint : -1;
    if (m_heat) m_heat->SetValue(heat, 1, animate);
    if (m_cool) m_cool->SetValue(cool, 1, animate);
    if (!m_cool || !m_cool->IsHeld()) m_scale->SetCool(cool, animate);
    if (!m_heat || !m_heat->IsHeld()) m_scale->SetHeat(heat, animate);
    m_scale->SetRoom(noRoom ? -1 : room, animate);
}
