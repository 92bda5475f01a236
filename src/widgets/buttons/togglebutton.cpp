#include "widgets/buttons/togglebutton.h"

#include "core/messages/toolkitmessages.h"
#include "widgets/buttons/zonecommand.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kToggleStyleClass = 18;
constexpr int kToggleTextFormat = 18;

}  // namespace

CToggleButton::CToggleButton(CZVWindow* parent, CZVRect rect, int iconKind, CZVString caption, int fontSize,
                             COLORREF iconColour, COLORREF faceColour, int objectId)
    : CZVCheckButton(parent, rect, kNoCommand, kToggleStyleClass),
      CSocketSink(*GetGatewayServer()),
      m_objectId(objectId) {
    SetTextFormat(kToggleTextFormat);
    GetServer()->RegisterSink(this);
    DressGatewayButton(this, iconKind, caption, fontSize, iconColour, faceColour, "");
    SendToGateway(ZVM_UI_GETTOGGLEQ, {objectId}, GetId());
}

int CToggleButton::OnLButtonUp(int x, int y, int) {
    if (!m_pressed) return 0;
    DropPress();
    if (IsHeld()) return 0;
    if (!m_enabled || !HitTest(x, y)) return 1;
    SetCheckAtEnd(!GetCheck());
    if (m_shown && !DeferIfBlocked()) {
        CZVDC dc(this);
        OnPaint(&dc);
    }
    SendToGateway(ZVM_UI_SETTOGGLESTATE, {m_objectId, GetCurrentAudioZone(), GetCheck()}, GetId());
    return 1;
}

void CToggleButton::OnMessage(CZVMSG* message) {
    const uint16_t id = message->GetId();
    if (id != ZVM_UI_SETTOGGLESTATE && id != ZVM_UI_GETTOGGLEA) return;
    int32_t object = 0, state = 0;
    if (!message->ReadInt(object) || !message->ReadInt(state) || object != m_objectId) return;
    SetCheck(state, 0, 1);
}
