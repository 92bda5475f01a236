#include "vistrel/media/audio/volumectl.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "platform/clock.h"
#include "vistrel/media/audio/audioreaders.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/slider.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kButtonClass = 18;
constexpr int kButtonGap = 2;
constexpr int kIconLayout = -1;
// The toolkit's repeat: every 50 ms at first, every 20 ms from 200 ms to 700 ms after the press.
constexpr uint16_t kFirstRepeatMs = 50;
constexpr uint16_t kLastRepeatMs = 20;
constexpr uint16_t kRampFromMs = 200;
constexpr uint16_t kRampForMs = 500;

}  // namespace

CVolumeCtl::CVolumeCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int levelIndex, CZVString text, int fontSize,
                       COLORREF textColour, COLORREF faceColour, int objectId)
    : CZVWindow(parent, rect, kButtonClass),
      CSocketSink(server),
      m_objectId(objectId),
      m_levelIndex(levelIndex),
      m_lastSend(platform::GetTickCount()),
      m_lastChange(m_lastSend) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    if (faceColour) SetFaceColor(faceColour);
    CZVWindow::SetText(text, nullptr, 0);
    server.RegisterSink(this);
    CZVMSG ask(GetId(), ZVM_AUDIO_GETCONTROLQ);
    ask.WriteInt(m_objectId);
    server.Send(&ask);

    CZVRect rest;
    GetClientRect(&rest);
    const int b = std::min({rest.h, kMaxButtonSize, rest.w / 4});
    m_minus = AddStepButton(rest.CutLeft(b + kButtonGap, kButtonGap), kMinusId, "TRANSPORT\\ICON32_MINUS_GREEN");
    m_plus = AddStepButton(rest.CutRight(b + kButtonGap, kButtonGap), kPlusId, "TRANSPORT\\ICON32_PLUS_GREEN");
    m_slider = new CZVSlider(this, rest, kSliderId, 0, 100, -1, -1, 0);
    if (textColour) m_slider->SetTextColor(textColour);
    if (fontSize) m_slider->SetFontSize(fontSize);
    m_slider->SetText(text, nullptr, 0);
    AddChild(m_slider);
}

CVolumeCtl::~CVolumeCtl() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

CZV3DButton* CVolumeCtl::AddStepButton(CZVRect rect, int id, const char* icon) {
    auto* button = new CZV3DButton(this, rect, id, kButtonClass);
    button->SetIconName(icon, kIconLayout);
    button->SetAutoRepeat(1);
    button->SetRepeatTiming(kFirstRepeatMs, kLastRepeatMs, kRampFromMs, kRampForMs);
    AddChild(button);
    return button;
}

void CVolumeCtl::Send(int level) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG set(GetId(), ZVM_AUDIO_SETCONTROL);
    set.WriteInt(m_objectId);
    set.WriteInt(m_levelIndex);
    set.WriteInt(level);
    server->Send(&set);
    m_lastSend = platform::GetTickCount();
}

int CVolumeCtl::OnChildCommand(int id, int count) {
    const uint32_t now = platform::GetTickCount();
    if (id == kSliderId) {
        m_lastChange = now;
        m_dirty = 1;
    } else if (id == kMinusId || id == kPlusId) {
        const int step = std::clamp(count, 1, 100);
        const int level = std::clamp(m_slider->GetLevel() + (id == kPlusId ? step : -step), 0, 100);
        m_slider->SetPosition(level, IsShown());
        m_lastChange = now;
        if (now - m_lastSend > kSendGapMs) {
            Send(level);
            m_dirty = 0;
        } else {
            m_dirty = 1;
        }
    }
    return 1;
}

int CVolumeCtl::OnIdle(int busy) {
    if (m_dirty && platform::TicksSince(m_lastChange) > kSettleMs) {
        m_dirty = 0;
        Send(m_slider->GetLevel());
    }
    return CZVWindow::OnIdle(busy);
}

void CVolumeCtl::OnMessage(CZVMSG* message) {
    if (!message) return;
    if (message->GetId() != ZVM_AUDIO_GETCONTROLA && message->GetId() != ZVM_AUDIO_CONTROLCHANGED) return;
    int32_t value = 0;
    if (!ReadControlValue(*message, m_objectId, m_levelIndex, &value) || m_dirty) return;
    m_slider->SetText(GetText(), nullptr, 0);
    m_slider->SetPosition(std::clamp(value, 0, 100), IsShown() && !CMainWndBase::InputBlockedFor(this));
}
