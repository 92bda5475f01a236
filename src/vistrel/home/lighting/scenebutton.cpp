#include "vistrel/home/lighting/scenebutton.h"

#include <algorithm>

#include "core/messages/lightingmessages.h"
#include "platform/clock.h"
#include "vistrel/home/lighting/lightingreaders.h"
#include "vistrel/home/lighting/sceneconfig.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kTextFormat = 18;
constexpr int kButtonClass = 17;

}  // namespace

CSceneButton::CSceneButton(CZVWindow* parent, CZVRect rect, CZVServer& server, CZVString text, int fontSize,
                           COLORREF textColour, COLORREF faceColour, int type, int objectId)
    : CZVCheckButton(parent, rect, kClickId, kButtonClass),
      CSocketSink(server),
      m_type(type),
      m_objectId(objectId),
      m_lastFlash(platform::GetTickCount()),
      m_pressTime(m_lastFlash) {
    SetTextFormat(kTextFormat);
    if (faceColour) SetFaceColor(faceColour);
    if (fontSize) SetFontSize(fontSize);
    CZVWindow::SetText(text, nullptr, 0);
    SetTextColor(textColour);
    SetStaysChecked(1);
    server.RegisterSink(this);
    if (m_type == kSceneType) {
        CZVMSG ask(GetId(), ZVM_SCENES_GETSCENEQ);
        ask.WriteInt(m_objectId);
        server.Send(&ask);
    } else {
        RequestBinding();
    }
}

CSceneButton::~CSceneButton() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CSceneButton::RequestBinding() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG ask(GetId(), ZVM_LIGHTS_GETBUTTONBINDINGQ);
    ask.WriteInt(m_objectId);
    ask.WriteInt(GetId());
    server->Send(&ask);
}

void CSceneButton::OnConnect(int connected) {
    if (connected && m_type == kKeypadItemType) RequestBinding();
}

void CSceneButton::OnMessage(CZVMSG* message) {
    if (!message) return;
    const uint16_t id = message->GetId();
    const int repaint = IsShown() && !CMainWndBase::InputBlockedFor(this);
    int32_t first = 0, second = 0;
    if (m_type == kSceneType) {
        if ((id == ZVM_SCENES_GETSCENEA || id == ZVM_LIGHTS_SCENECHANGED) && ReadTwoValues(*message, &first, &second) &&
            first == m_objectId)
            SetCheck(second != 0, 0, repaint);
        return;
    }
    if (id == ZVM_LIGHTS_GETBUTTONBINDINGA) {
        if (!ReadTwoValues(*message, &first, &second)) return;
        m_keypadId = first;
        m_buttonIndex = second;
        if (CZVServer* server = GetServer()) {
            CZVMSG ask(GetId(), ZVM_LIGHTS_GETKEYPADLEDSQ);
            ask.WriteInt(m_keypadId);
            server->Send(&ask);
        }
    } else if (id == ZVM_LIGHTS_GETKEYPADLEDSA || id == ZVM_LIGHTS_KEYPADLEDSCHANGED) {
        message->ResetPosition();
        std::vector<int32_t> states;
        ReadKeypadLeds(*message, &states);
        if (m_keypadId == kUnbound || m_buttonIndex < 0 || m_buttonIndex >= static_cast<int32_t>(states.size())) return;
        SetCheck(states[static_cast<size_t>(m_buttonIndex)] != 0, 0, repaint);
    }
}

int CSceneButton::OnCommand(int id) {
    if (id != kClickId) return CZVCheckButton::OnCommand(id);
    CZVServer* server = GetServer();
    if (!server) return 1;
    if (m_type == kSceneType) {
        CZVMSG activate(0, ZVM_SCENES_ACTIVATE);
        activate.WriteInt(m_objectId);
        server->Send(&activate);
    } else if (m_keypadId == kUnbound) {
        // No keypad button to press yet: ask again which it is.
        RequestBinding();
    } else {
        CZVMSG press(GetId(), ZVM_LIGHTS_KEYPADPRESS);
        press.WriteInt(m_keypadId);
        press.WriteInt(m_buttonIndex);
        server->Send(&press);
    }
    return 1;
}

int CSceneButton::OnLButtonDown(int x, int y, int keys) {
    const int handled = CZVCheckButton::OnLButtonDown(x, y, keys);
    if (IsPressed()) {
        m_pressTime = platform::GetTickCount();
        m_flashState = GetCheck();
    }
    return handled;
}

int CSceneButton::OnIdle(int busy) {
    if (m_type != kSceneType || !IsPressed()) return CZVCheckButton::OnIdle(busy);
    const uint32_t now = platform::GetTickCount();
    if (now - m_pressTime < kFlashAfter || now - m_lastFlash <= kFlashInterval) return CZVCheckButton::OnIdle(busy);
    Flash();
    m_lastFlash = now;
    if (now - m_pressTime > kConfigAfter) OpenConfiguration();
    return 1;
}

void CSceneButton::Flash() {
    const int real = GetCheck();
    m_flashState = !m_flashState;
    SetCheckAtEnd(m_flashState);
    RedrawBuffered();
    SetCheckAtEnd(real);
}

void CSceneButton::OpenConfiguration() {
    RedrawBuffered();
    // The release that follows is no click.
    DropPress();
    CMainWndBase* main = GetMainWnd();
    CZVServer* server = GetServer();
    if (!main || !server) return;
    const int m = std::min(main->GetWidth(), main->GetHeight());
    const CZVRect rect(main->GetWidth() / 2 - m / 2, main->GetHeight() / 2 - m / 2, m, m);
    auto* page = new CSceneConfigPage(main, rect, *server, m_objectId);
    main->ShowOverlay(page, rect, ToRootX(m_width / 2), ToRootY(m_height / 2), 1, 0);
}
