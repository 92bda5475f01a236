#include "widgets/text/valuelabel.h"

#include "core/messages/toolkitmessages.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kValueStyleClass = 5;
constexpr COLORREF kValueTextColor = 0xFFFFFF;

}  // namespace

CValueLabel::CValueLabel(CZVWindow* parent, CZVRect rect, int itemId)
    : CZVLabel(parent, rect, "", kValueStyleClass), CSocketSink(*GetGatewayServer()), m_itemId(itemId) {
    m_backColor = parent ? parent->GetFaceColor() : 0;
    m_textColor = kValueTextColor;
    GetServer()->RegisterSink(this);
    SendToGateway(ZVM_DEVICE_GETVALUEQ, {itemId}, GetId());
}

void CValueLabel::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_DEVICE_GETVALUEA) return;
    int32_t item = 0, value = 0;
    if (!message->ReadInt(item) || !message->ReadInt(value) || item != m_itemId) return;
    CZVString text;
    text.Format("%d", value);
    SetText(text, nullptr, m_shown && !CMainWndBase::InputBlockedFor(this));
}
