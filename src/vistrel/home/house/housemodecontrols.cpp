#include "vistrel/home/house/housemodecontrols.h"

#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "vistrel/shell/mainwnd.h"

namespace {

constexpr int kCentred = 18;
constexpr COLORREF kStatusTextColour = 0xFFFFFF;

void AskHouseMode(CZVServer& server, int sink) {
    CZVMSG ask(sink, ZVM_HOUSE_GETMODEQ);
    server.Send(&ask);
}

// A change is drawn at once only where the window was drawn before and
// input reaches the tree.
int RepaintsNow(CZVWindow* window) { return window->IsPaintedOnce() && !CMainWndBase::InputBlockedFor(window); }

}  // namespace

bool ReadHouseMode(CZVMSG* message, int32_t* mode, int32_t* blink) {
    if (!message || (message->GetId() != ZVM_HOUSE_MODECHANGED && message->GetId() != ZVM_HOUSE_GETMODEA)) return false;
    message->ResetPosition();
    return static_cast<bool>(CMsgReader(*message).Int(*mode).Int(*blink));
}

// ---- CHouseModeButton

CHouseModeButton::CHouseModeButton(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int fontSize,
                                   COLORREF textColour, COLORREF faceColour, int mode)
    : CZVCheckButton(parent, rect, mode, kStyleClass), CSocketSink(server), m_mode(mode) {
    SetTextFormat(kCentred);
    SetStaysChecked(1);
    CZVWindow::SetText(text, nullptr, 0);
    SetTextColor(textColour);
    if (faceColour) SetFaceColor(faceColour);
    if (fontSize) SetFontSize(fontSize);
    server.RegisterSink(this);
    AskHouseMode(server, GetId());
}

CHouseModeButton::~CHouseModeButton() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CHouseModeButton::OnCommand(int id) {
    if (id != m_mode) return CZVCheckButton::OnCommand(id);
    if (CZVServer* server = GetServer()) {
        CZVMSG message(0, ZVM_HOUSE_SETMODE);
        message.WriteInt(m_mode);
        server->Send(&message);
    }
    return 1;
}

void CHouseModeButton::OnMessage(CZVMSG* message) {
    int32_t mode = 0, blink = 0;
    if (!ReadHouseMode(message, &mode, &blink)) return;
    const int redraw = RepaintsNow(this);
    if (mode == m_mode) {
        SetCheck(1, 0, redraw);
        SetBlink(blink);
    } else {
        SetBlink(0);
        SetCheck(0, 0, redraw);
    }
}

// ---- CHouseModeWnd

CHouseModeWnd::CHouseModeWnd(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CZVLabel(parent, rect, "", kStyleClass), CSocketSink(server) {
    if (parent) SetBackColor(parent->GetFaceColor());
    SetTextColor(kStatusTextColour);
    server.RegisterSink(this);
    AskHouseMode(server, GetId());
}

CHouseModeWnd::~CHouseModeWnd() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CHouseModeWnd::OnMessage(CZVMSG* message) {
    int32_t mode = 0, blink = 0;
    if (!ReadHouseMode(message, &mode, &blink)) return;
    const CMainWnd* main = GetTabletMainWnd();
    CZVString text;
    text.Format("House is in %s Mode", main ? main->GetHouseModes().GetName(mode).GetAnsi() : "Error");
    SetText(text, nullptr, RepaintsNow(this));
}
