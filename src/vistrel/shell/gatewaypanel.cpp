#include "vistrel/shell/gatewaypanel.h"

#include "core/messages/shellmessages.h"
#include "core/zvquery.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kButtonClass = 18;
constexpr int kClickFlash = 0x20000;

}  // namespace

// ---- CGatewayPanel

CGatewayPanel::CGatewayPanel(CZVWindow* parent, CZVRect rect, int styleClass, int panelId, int argument)
    : CZVWindow(parent, rect, styleClass) {
    m_opaque = 0;
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    if (panelId == kNoPanel || !server) return;
    CZVMSG request(0, ZVM_LAYOUT_GETPANELQ);
    request.WriteInt(panelId);
    request.WriteInt(argument);
    request.WriteInt(main->GetLayoutType());
    CZVQuery query(*server, 1);
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request)) LoadControls(answer);
}

void CGatewayPanel::LoadControls(CZVMSG* message) {
    CZVObList built;
    BuildPageControls(message, this, &built, PageScaling::kEachValue, m_fontOverride);
}

// ---- CEntryPanel

CEntryPanel::CEntryPanel(CZVWindow* parent, CZVRect rect, int styleClass, int titleHeight, int gap, int fontSize)
    : CZVWindow(parent, rect, styleClass) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int width = GetWidth();
    const int height = GetHeight();
    auto* band = new CRRegion(this, CZVRect(0, 0, width, titleHeight), kTitleClass);
    AddChild(band);
    CZVRect content;
    band->GetContentRect(&content);
    m_title = band->AddLabel(content, "", fontSize);
    CZV3DButton* keys[12];
    BuildKeypad(CZVRect(0, titleHeight + gap - 1, width + 1, height - titleHeight - gap + 2), gap, fontSize,
                kKeySound, 3, keys, 0, kKeyClass);
}

void CEntryPanel::SetTitle(CZVString text, int redraw) { m_title->SetText(text, nullptr, redraw); }

// ---- CGatewayCheckButton

CGatewayCheckButton::CGatewayCheckButton(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text,
                                         int fontSize, COLORREF textColour, COLORREF faceColour, int objectId,
                                         int readOnly, int type)
    : CZVCheckButton(parent, rect, kNoCommand, kButtonClass),
      CSocketSink(server),
      m_objectId(objectId),
      m_readOnly(readOnly),
      m_type(type) {
    server.RegisterSink(this);
    SetTextFormat(18);
    CZVWindow::SetText(text, nullptr, 0);
    SetTextColor(textColour);
    if (faceColour) SetFaceColor(faceColour);
    if (fontSize) SetFontSize(fontSize);
    const uint16_t question = type == kCheckState    ? ZVM_UI_GETCHECKSTATEQ
                              : type == kDeviceState ? ZVM_DEVICE_GETSTATEQ
                                                     : ZVM_DEVICE_GETSTATEEXQ;
    CZVMSG ask(GetId(), question);
    ask.WriteInt(objectId);
    server.Send(&ask);
    if (type == kDeviceStateShown) SetLocked(1);
}

CGatewayCheckButton::~CGatewayCheckButton() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CGatewayCheckButton::OnLButtonDown(int x, int y, int keys) {
    if (m_readOnly > 0) return CZVWindow::OnLButtonDown(x, y, keys);
    return CZVCheckButton::OnLButtonDown(x, y, keys);
}

int CGatewayCheckButton::OnLButtonUp(int x, int y, int /*keys*/) {
    if (IsHeld() || !m_pressed) {
        if (m_pressed) DropPress();
        return 0;
    }
    DropPress();
    if (!HitTest(x, y)) return 1;
    const int checked = !GetCheck();
    ReleaseHighlight();
    SetCheck(checked, 0, 0);
    if (!CMainWndBase::InputBlockedFor(this)) RedrawBuffered();
    CZVServer* server = GetServer();
    if (server && (m_type == kCheckState || m_type == kDeviceState)) {
        CZVMSG message(m_type == kCheckState ? GetId() : 0,
                       m_type == kCheckState ? ZVM_UI_SETCHECKSTATE : ZVM_DEVICE_SETSTATE);
        message.WriteInt(m_objectId);
        message.WriteInt(checked);
        server->Send(&message);
    }
    if ((CSetServer::CurrentFlags() & kClickFlash) && m_styleClass != 3 && m_styleClass != 6) StartHighlight();
    return 1;
}

int CGatewayCheckButton::Takes(uint16_t id) const {
    if (m_type == kCheckState) return id == ZVM_UI_SETCHECKSTATE || id == ZVM_UI_GETCHECKSTATEA;
    return id == ZVM_DEVICE_STATECHANGED || id == ZVM_DEVICE_STATECHANGEDEX || id == ZVM_DEVICE_GETSTATEA ||
           id == ZVM_DEVICE_GETSTATEEXA;
}

void CGatewayCheckButton::OnMessage(CZVMSG* message) {
    if (!message || !Takes(message->GetId())) return;
    message->ResetPosition();
    int32_t object = 0, state = 0;
    if (!message->ReadInt(object) || !message->ReadInt(state) || object != m_objectId) return;
    if (m_pressed) DropPress();
    SetCheck(state != 0, 0, IsShown() && !CMainWndBase::InputBlockedFor(this));
}
