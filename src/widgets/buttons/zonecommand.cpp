#include "widgets/buttons/zonecommand.h"

#include "core/messages/toolkitmessages.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kSwitchStyleClass = 17;

// Sends the command code with the current audio zone.
int SendZoneCommand(int code) {
    SendToGateway(ZVM_UI_COMMANDBUTTON, {code, GetCurrentAudioZone()});
    return 1;
}

}  // namespace

void DressGatewayButton(CZVButton* button, int iconKind, CZVString caption, int fontSize, COLORREF iconColour,
                        COLORREF faceColour, CZVString iconName) {
    if (fontSize) button->SetFontSize(fontSize);
    if (faceColour) button->SetFaceColor(faceColour);
    if (iconKind)
        button->SetIcon(CZVIconSpec{iconKind, &iconColour, iconName});
    else
        button->SetText(caption, nullptr, 0);
}

CZoneCommandButton::CZoneCommandButton(CZVWindow* parent, CZVRect rect, int styleClass, int iconKind,
                                       CZVString caption, int fontSize, COLORREF iconColour, COLORREF faceColour,
                                       CZVString iconName, int commandCode)
    : CZV3DButton(parent, rect, commandCode, styleClass), m_commandCode(commandCode) {
    DressGatewayButton(this, iconKind, caption, fontSize, iconColour, faceColour, iconName);
}

int CZoneCommandButton::OnCommand(int id) {
    return id == m_commandCode ? SendZoneCommand(id) : CZV3DButton::OnCommand(id);
}

CZoneCommandCornerButton::CZoneCommandCornerButton(CZVWindow* parent, CZVRect rect, int styleClass, int iconKind,
                                                   CZVString caption, int fontSize, COLORREF iconColour,
                                                   COLORREF faceColour, CZVString iconName, int commandCode,
                                                   int cornerKind, int circleRadius, int centreX, int centreY)
    : CCornerButton(parent, rect, commandCode, styleClass, cornerKind, circleRadius, centreX, centreY),
      m_commandCode(commandCode) {
    DressGatewayButton(this, iconKind, caption, fontSize, iconColour, faceColour, iconName);
}

int CZoneCommandCornerButton::OnCommand(int id) {
    return id == m_commandCode ? SendZoneCommand(id) : CCornerButton::OnCommand(id);
}

CZoneSwitchCtl::CZoneSwitchCtl(CZVWindow* parent, CZVRect rect, int type, int value, CZVString caption, int fontSize,
                               int parameter, COLORREF colour)
    : CZV3DButton(parent, rect, kClickId, kSwitchStyleClass), m_type(type), m_value(value), m_parameter(parameter) {
    SetText(caption, nullptr, 0);
    SetTextColor(colour);
    if (fontSize) SetFontSize(fontSize);
    if (type == kZoneSwitchType && parameter) SetIconKind(parameter, &colour);
}

int CZoneSwitchCtl::OnCommand(int id) {
    if (id != kClickId) return CZV3DButton::OnCommand(id);
    if (m_type == kZoneSwitchPairType)
        SendToGateway(ZVM_MEDIA_SWITCHPRESSEX, {m_value, m_parameter});
    else
        SendToGateway(ZVM_MEDIA_SWITCHPRESS, {GetCurrentAudioZone(), m_value});
    return 1;
}
