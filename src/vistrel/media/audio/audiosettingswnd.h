#pragma once
// CAudioSettingsWnd: the settings column at the right edge of the audio
// zones page. For the chosen zone it shows the volume (a level bar, or an
// up/down rocker that lets the gateway ramp the volume), an optional "Mute"
// button and an optional "Settings" button that opens the zone's
// gateway-defined settings layout in a pop-up over the main window. It
// follows the zone's volume and mute through the gateway's notices.
#include <cstdint>

#include "core/zvserver.h"
#include "widgets/window/zvwindow.h"

class CAudioSourceOwner;
class CAudioZone;
class CCustomLayoutPage;
class CPopupWnd;
class CVolumeWnd;
class CZV3DButton;

class CAudioSettingsWnd : public CZVWindow, public CSocketSink {
public:
    // Layout flags.
    enum : int {
        kRocker = 1,
        kMuteButton = 2,
        kSettingsLayout = 4,
        kNoZone = 8,
        kNoColumn = 16,
    };
    enum : int {
        kVolumeId = 3000,
        kUpPressedId = 8000,
        kUpReleasedId = 8001,
        kDownPressedId = 8002,
        kDownReleasedId = 8003,
        kSettingsId = 9000,
    };
    // Source commands of the rocker, as the gateway knows them.
    enum : int32_t {
        kGatewayUpPressed = 5015,
        kGatewayDownPressed = 5016,
        kGatewayUpReleased = 5017,
        kGatewayDownReleased = 5018,
    };
    static constexpr int kGap = 2;
    static constexpr int kSettingsClass = 16;
    static constexpr int kPopupClass = 5;
    static constexpr int kFontSize = 12;

    CAudioSettingsWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int32_t zone);
    ~CAudioSettingsWnd() override;

    // A new zone (null: none) and layout flags from the zones page, which
    // the settings layout of the pop-up serves as its page.
    void UpdateZone(const CAudioZone* zone, CAudioSourceOwner* zonesPage, int flags, int repaint);
    void ClosePopup();

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int32_t GetZone() const { return m_zone; }
    CVolumeWnd* GetVolume() const { return m_volume; }
    CZV3DButton* GetSettingsButton() const { return m_settingsButton; }
    CPopupWnd* GetPopup() const { return m_popup; }
    CCustomLayoutPage* GetSettingsPage() const { return m_settingsPage; }
    int IsPopupShown() const { return m_popupShown; }

private:
    void Subscribe();
    void Unsubscribe();
    void SendSourceCommand(int32_t code);
    void SendSetting();
    void MakePopup(const CAudioZone& zone, CAudioSourceOwner* zonesPage);
    void DeletePopup();
    void ShowPopup();
    void Layout(int flags);

    int32_t m_zone;
    CVolumeWnd* m_volume = nullptr;
    CZV3DButton* m_settingsButton = nullptr;
    int m_lastFlags = -1;
    CPopupWnd* m_popup = nullptr;
    CCustomLayoutPage* m_settingsPage = nullptr;
    int m_popupShown = 0;
};
