#pragma once
// The gateway's keypads: the remote-control pad (an eight-way switch whose
// keys are the gateway's key codes) and the 4 x 3 numeric keypad. Each key
// goes to the gateway as ZVM_UI_KEYPADKEY with the device and the audio
// zone; nothing else leaves the keypad.
#include "widgets/pads/switch8way.h"
#include "widgets/window/zvwindow.h"

// Factory types of the remote keypad: 153 plain pad without corners, 156
// the full pad, 157 the round pad with corners, 158 the round pad without.
enum : int {
    kRemotePlainType = 153,
    kRemoteFullType = 156,
    kRemoteRoundType = 157,
    kRemoteRoundPlainType = 158,
};

// The second centre key, which a keypad's record may ask for.
inline constexpr int kAlternateCentreCode = 1899;

// The switch flags of a remote keypad's factory type.
int RemoteKeypadFlags(int type);

class CRemoteKeypadWnd : public CZVWindow {
public:
    // The caption is not used; centreVariant 1 makes the centre key 1899.
    CRemoteKeypadWnd(CZVWindow* parent, CZVRect rect, int deviceId, COLORREF textColour, COLORREF partColour,
                     int ringBevel, int extraGap, int fontSize, CZVString caption, int centreVariant, int type);

    int OnCommand(int id) override;
    COLORREF GetFaceColor() override { return m_parent ? m_parent->GetFaceColor() : m_faceColor; }

    CSwitch8Way* GetSwitch() const { return m_switch; }

private:
    int m_deviceId;
    int m_keys[kSwitchCommands];
    CSwitch8Way* m_switch = nullptr;
};

class CNumericKeypadWnd : public CZVWindow {
public:
    static constexpr int kFirstKeyId = 11000;
    static constexpr int kCancelKeyId = 11010;
    static constexpr int kEnterKeyId = 11011;

    // keyMask bit 0x1 adds "Enter", 0x2 "Cancel"; colours, bevel and radius
    // of 0 keep the style's.
    CNumericKeypadWnd(CZVWindow* parent, CZVRect rect, int deviceId, int keyMask, COLORREF textColour,
                      COLORREF faceColour, int bevel, int radius, int fontSize);

    int OnCommand(int id) override;

    // The gap between the keys of a keypad this wide.
    static int KeyGap(int width);
    // The gateway's key code of a key id; 0 for an id that is no key.
    static int KeyCode(int id);

private:
    int m_deviceId;
};
