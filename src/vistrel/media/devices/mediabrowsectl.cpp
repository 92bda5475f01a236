#include "vistrel/media/devices/mediabrowsectl.h"

#include "core/messages/mediamessages.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kMenuFormStatus = 1;

}  // namespace

CMediaBrowseCtl::CMediaBrowseCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize, int type,
                                 int deviceId)
    : CGatewayPanel(parent, rect, 0, kNoPanel, 0),
      CSocketSink(server),
      m_type(type),
      m_zoneOrDevice(type == kZoneMenuType ? kNoZone : deviceId) {
    m_fontOverride = fontSize;
    server.RegisterSink(this);
    Request();
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
}

CMediaBrowseCtl::~CMediaBrowseCtl() {
    if (m_type == kZoneMenuType)
        Unsubscribe();
    else
        SendToGateway(ZVM_MEDIA_UNREGISTERSOURCE, {m_zoneOrDevice, GetId()}, GetId());
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CMediaBrowseCtl::Request() {
    if (m_type != kZoneMenuType) {
        SendToGateway(ZVM_MEDIA_REGISTERSOURCE, {m_zoneOrDevice, GetId()}, GetId());
        SendToGateway(ZVM_MEDIA_GETSOURCEINFOQ, {m_zoneOrDevice}, GetId());
        return;
    }
    m_zoneOrDevice = GetCurrentAudioZone();
    if (m_zoneOrDevice < 0) return;
    SendToGateway(ZVM_AUDIO_GETMENUQ, {m_zoneOrDevice}, GetId());
    SendToGateway(ZVM_AUDIO_SUBSCRIBEZONE, {m_zoneOrDevice, GetId(), 1}, GetId());
}

void CMediaBrowseCtl::Unsubscribe() {
    if (m_zoneOrDevice >= 0) SendToGateway(ZVM_AUDIO_UNSUBSCRIBEZONE, {m_zoneOrDevice, GetId()}, GetId());
}

void CMediaBrowseCtl::OnShow(int show) {
    if (!show || m_type != kZoneMenuType || GetCurrentAudioZone() == m_zoneOrDevice) return;
    Unsubscribe();
    Request();
}

void CMediaBrowseCtl::OnConnect(int connected) {
    if (connected) Request();
}

bool CMediaBrowseCtl::IsOwnMenu(CZVMSG* message) {
    const bool zoneMenu = m_type == kZoneMenuType;
    if (message->GetId() != (zoneMenu ? ZVM_AUDIO_GETMENUA : ZVM_MEDIA_GETSOURCEINFOA)) return false;
    int32_t first = 0;
    const bool read = message->ReadInt(first) != 0;
    if (read && first == (zoneMenu ? GetCurrentAudioZone() : kMenuFormStatus)) return true;
    // Another zone's menu or another form of the answer, for whoever else reads it.
    message->ResetPosition();
    return false;
}

void CMediaBrowseCtl::OnMessage(CZVMSG* message) {
    if (!IsOwnMenu(message)) return;
    DeleteChildren();
    LoadControls(message);
    if (!CMainWndBase::InputBlockedFor(this) && m_shown && m_paintedOnce) RedrawBuffered();
}
