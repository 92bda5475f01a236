#include "widgets/pads/keypads.h"

#include <algorithm>

#include "core/messages/toolkitmessages.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kKeyStyleClass = 17;
constexpr int kMaxKeyGap = 5;
constexpr int kDigitCodeOffset = 9126;
constexpr int kCancelKeyCode = 1845;

// The remote keys in the switch's slot order: the arrows, the centre and
// the four transport keys.
constexpr int kRemoteKeys[kSwitchCommands] = {1864, 1865, 1866, 1867, kEnterKeyCode, 1857, 1856, 1855, 1854};

int SendKey(int deviceId, int code) {
    SendToGateway(ZVM_UI_KEYPADKEY, {deviceId, code, GetCurrentAudioZone()});
    return 1;
}

// Changes the keys' style row for the time of a build and puts it back.
class CKeyStyleOverride {
public:
    CKeyStyleOverride(COLORREF face, COLORREF text, int bevel, int radius) : m_style(CSetServer::Get()) {
        if (!m_style) return;
        m_face = m_style->GetStyleColor(kKeyStyleClass, 0);
        m_text = m_style->GetStyleColor(kKeyStyleClass, 1);
        m_bevel = m_style->GetStyle(kKeyStyleClass, kStyleBevel);
        m_radius = m_style->GetStyle(kKeyStyleClass, kStyleRadius);
        if (face) m_style->SetStyleColor(kKeyStyleClass, 0, face);
        if (text) m_style->SetStyleColor(kKeyStyleClass, 1, text);
        if (bevel) m_style->SetStyle(kKeyStyleClass, kStyleBevel, bevel);
        if (radius) m_style->SetStyle(kKeyStyleClass, kStyleRadius, radius);
    }
    ~CKeyStyleOverride() {
        if (!m_style) return;
        m_style->SetStyleColor(kKeyStyleClass, 0, m_face);
        m_style->SetStyleColor(kKeyStyleClass, 1, m_text);
        m_style->SetStyle(kKeyStyleClass, kStyleBevel, m_bevel);
        m_style->SetStyle(kKeyStyleClass, kStyleRadius, m_radius);
    }
    CKeyStyleOverride(const CKeyStyleOverride&) = delete;
    CKeyStyleOverride& operator=(const CKeyStyleOverride&) = delete;

private:
    CSetServer* m_style;
    COLORREF m_face = 0;
    COLORREF m_text = 0;
    int m_bevel = 0;
    int m_radius = 0;
};

}  // namespace

int RemoteKeypadFlags(int type) {
    int flags = 0;
    if (type == kRemoteRoundType || type == kRemoteRoundPlainType) flags |= kSwitchRoundLook;
    if (type == kRemotePlainType || type == kRemoteRoundPlainType) flags |= kSwitchNoCorners;
    return flags;
}

CRemoteKeypadWnd::CRemoteKeypadWnd(CZVWindow* parent, CZVRect rect, int deviceId, COLORREF textColour,
                                   COLORREF partColour, int ringBevel, int extraGap, int fontSize, CZVString,
                                   int centreVariant, int type)
    : CZVWindow(parent, rect, 0), m_deviceId(deviceId) {
    m_faceColor = m_backColor = parent ? parent->GetFaceColor() : 0;
    std::copy(kRemoteKeys, kRemoteKeys + kSwitchCommands, m_keys);
    if (centreVariant == 1) m_keys[kSwitchCentre] = kAlternateCentreCode;
    int flags = RemoteKeypadFlags(type);
    if (CSetServer* style = CSetServer::Get();
        style && ringBevel == 0 && style->GetStyle(kKeyStyleClass, kStyleBevel) == 0 &&
        style->GetStyle(kKeyStyleClass, kStyleMargin) > 0) {
        ringBevel = style->GetStyle(kKeyStyleClass, kStyleMargin);
        flags |= kSwitchRoundLook;
    }
    CZVRect client;
    GetClientRect(&client);
    m_switch = new CSwitch8Way(this, client, textColour, partColour, ringBevel, extraGap, fontSize, m_keys, flags);
    AddChild(m_switch);
}

int CRemoteKeypadWnd::OnCommand(int id) {
    if (std::find(m_keys, m_keys + kSwitchCommands, id) != m_keys + kSwitchCommands) SendKey(m_deviceId, id);
    return 1;
}

CNumericKeypadWnd::CNumericKeypadWnd(CZVWindow* parent, CZVRect rect, int deviceId, int keyMask,
                                     COLORREF textColour, COLORREF faceColour, int bevel, int radius, int fontSize)
    : CZVWindow(parent, rect, 0), m_deviceId(deviceId) {
    m_faceColor = m_backColor = parent ? parent->GetFaceColor() : 0;
    CSetServer* style = CSetServer::Get();
    const CKeyStyleOverride keyStyle(faceColour, textColour, bevel, radius);
    CZVRect client;
    GetClientRect(&client);
    CZV3DButton* keys[12];
    BuildKeypad(client, KeyGap(rect.w), fontSize, style ? style->GetPressSound() : CZVString(), keyMask, keys, 0,
                kKeyStyleClass);
}

int CNumericKeypadWnd::KeyGap(int width) { return std::clamp(width / 50, 1, kMaxKeyGap); }

int CNumericKeypadWnd::KeyCode(int id) {
    if (id >= kFirstKeyId && id < kCancelKeyId) return id - kDigitCodeOffset;
    if (id == kCancelKeyId) return kCancelKeyCode;
    if (id == kEnterKeyId) return kEnterKeyCode;
    return 0;
}

int CNumericKeypadWnd::OnCommand(int id) {
    if (const int code = KeyCode(id)) SendKey(m_deviceId, code);
    return 1;
}
