#include "vistrel/media/audio/audiosettingswnd.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "vistrel/media/audio/auddata.h"
#include "vistrel/media/audio/audioreaders.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/shell/customlayoutpage.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/overlay.h"

namespace {

constexpr int kColumnClass = 0;
constexpr int kSettingsIconLayout = 17;  // the icon above the caption
constexpr int kCompact = 1;

}  // namespace

CAudioSettingsWnd::CAudioSettingsWnd(CZVWindow* parent, CZVRect rect, CZVServer& server, int32_t zone)
    : CZVWindow(parent, rect, kColumnClass), CSocketSink(server), m_zone(zone) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    server.RegisterSink(this);
    Subscribe();
}

CAudioSettingsWnd::~CAudioSettingsWnd() {
    Unsubscribe();
    DeletePopup();
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CAudioSettingsWnd::Subscribe() {
    CZVServer* server = GetServer();
    if (!server || m_zone <= 0) return;
    CZVMSG subscribe(GetId(), ZVM_AUDIO_SUBSCRIBEZONE);
    subscribe.WriteInt(m_zone);
    subscribe.WriteInt(GetId());
    subscribe.WriteInt(0);
    server->Send(&subscribe);
    CZVMSG ask(GetId(), ZVM_AUDIO_GETSETTINGSQ);
    ask.WriteInt(m_zone);
    server->Send(&ask);
}

void CAudioSettingsWnd::Unsubscribe() {
    CZVServer* server = GetServer();
    if (!server || m_zone <= 0) return;
    CZVMSG bye(GetId(), ZVM_AUDIO_UNSUBSCRIBEZONE);
    bye.WriteInt(m_zone);
    bye.WriteInt(GetId());
    server->Send(&bye);
}

void CAudioSettingsWnd::SendSourceCommand(int32_t code) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG command(GetId(), ZVM_AUDIO_SOURCECOMMAND);
    command.WriteInt(m_zone);
    command.WriteInt(code);
    command.WriteInt(0);
    command.WriteInt(0);
    server->Send(&command);
}

void CAudioSettingsWnd::SendSetting() {
    CZVServer* server = GetServer();
    if (!server || !m_volume) return;
    CZVMSG set(GetId(), ZVM_AUDIO_SETSETTING);
    set.WriteInt(m_zone);
    set.WriteInt(m_volume->GetValue());
    set.WriteInt(m_volume->IsMuted());
    server->Send(&set);
}

// ---- the pop-up

void CAudioSettingsWnd::MakePopup(const CAudioZone& zone, CAudioSourceOwner* zonesPage) {
    CMainWndBase* main = GetMainWnd();
    if (!main) return;
    const int side = std::min(main->GetWidth(), main->GetHeight());
    const CZVRect rect((main->GetWidth() - side) / 2, (main->GetHeight() - side) / 2, side, side);
    m_popup = new CPopupWnd(main, rect, kPopupClass);
    CZVString title;
    title.Format("%s Settings", zone.GetName().GetAnsi());
    m_popup->AddTitleBar(title, side / 3);
    CZVRect inside;
    m_popup->GetClientRect(&inside);
    m_settingsPage = new CCustomLayoutPage(m_popup, zonesPage, inside, kPopupClass, zone.GetSettingsLayout());
    m_popup->AddChild(m_settingsPage);
    m_popup->Show(0, 1);
}

void CAudioSettingsWnd::DeletePopup() {
    ClosePopup();
    delete m_popup;
    m_popup = nullptr;
    m_settingsPage = nullptr;
}

void CAudioSettingsWnd::ShowPopup() {
    CMainWndBase* main = GetMainWnd();
    if (!m_popup || !main) return;
    m_popup->Show(1, 1);
    const CZVRect rect(m_popup->GetX(), m_popup->GetY(), m_popup->GetWidth(), m_popup->GetHeight());
    int anchorX = rect.x + rect.w / 2, anchorY = rect.y + rect.h / 2;
    if (m_settingsButton) {
        anchorX = m_settingsButton->ToRootX(m_settingsButton->GetWidth() / 2);
        anchorY = m_settingsButton->ToRootY(m_settingsButton->GetHeight() / 2);
    }
    main->ShowOverlay(m_popup, rect, anchorX, anchorY, 0, 0);
    m_popupShown = 1;
}

void CAudioSettingsWnd::ClosePopup() {
    if (!m_popupShown) return;
    m_popupShown = 0;
    CMainWndBase* main = GetMainWnd();
    // Only our own pop-up: another window's overlay stays open.
    if (main && main->GetOverlayWindow() == m_popup) main->CloseOverlay();
    if (m_popup) m_popup->Show(0, 0);
}

// ---- the zone

void CAudioSettingsWnd::UpdateZone(const CAudioZone* zone, CAudioSourceOwner* zonesPage, int flags, int repaint) {
    DeletePopup();
    Unsubscribe();
    m_zone = zone ? zone->GetId() : 0;
    Subscribe();
    if ((flags & kSettingsLayout) && zone) MakePopup(*zone, zonesPage);
    if (flags == m_lastFlags) {
        if (repaint) Redraw(1);
        return;
    }
    m_lastFlags = flags;
    DeleteChildren();
    m_volume = nullptr;
    m_settingsButton = nullptr;
    if (!(flags & (kNoZone | kNoColumn))) Layout(flags);
    if (repaint) Redraw(1);
}

void CAudioSettingsWnd::Layout(int flags) {
    CZVRect area;
    GetClientRect(&area);
    const int h = area.h;
    CCaptionFitter fitter(this);
    if (flags & kSettingsLayout) {
        m_settingsButton = AddIconButton(area.CutBottom(h / 5, kGap), kSettingsId, kSettingsClass,
                                         "TRANSPORT\\MUSIC_CONFIG_32", kSettingsIconLayout);
        m_settingsButton->SetText("Settings", nullptr, 0);
        m_settingsButton->SetFontSize(kFontSize);
        m_settingsButton->SetStyleBit(k3DBaseSurface, 1);
        fitter.AddWindow(m_settingsButton);
    }
    m_volume = new CVolumeWnd(this, area, GetStyleClass(), kVolumeId, kGap, (flags & kMuteButton) ? h / 5 : -1,
                              (flags & kRocker) ? 1 : 0, kCompact);
    m_volume->SetForwardCommands(kUpPressedId, kUpReleasedId, kDownPressedId, kDownReleasedId);
    AddChild(m_volume);
    if (CZVCheckButton* mute = m_volume->GetMuteButton()) fitter.AddWindow(mute);
    fitter.Apply(kFontSize);
}

// ---- commands and messages

int CAudioSettingsWnd::OnCommand(int id) {
    switch (id) {
    case kVolumeId: SendSetting(); return 1;
    case kUpPressedId: SendSourceCommand(kGatewayUpPressed); return 1;
    case kUpReleasedId: SendSourceCommand(kGatewayUpReleased); return 1;
    case kDownPressedId: SendSourceCommand(kGatewayDownPressed); return 1;
    case kDownReleasedId: SendSourceCommand(kGatewayDownReleased); return 1;
    case kSettingsId: ShowPopup(); return 1;
    case kCommandOverlayClosedId:
        if (m_popup && m_popupShown) m_popup->Show(0, 0);
        m_popupShown = 0;
        return 1;
    default: return CZVWindow::OnCommand(id);
    }
}

void CAudioSettingsWnd::OnMessage(CZVMSG* message) {
    if (!message || !m_volume) return;
    if (message->GetId() != ZVM_AUDIO_GETSETTINGSA && message->GetId() != ZVM_AUDIO_SETTINGSCHANGED) return;
    int32_t level = 0, muted = 0;
    if (ReadZoneSettings(*message, &level, &muted)) m_volume->SetValue(level, muted, IsShown());
}

void CAudioSettingsWnd::OnConnect(int connected) {
    if (connected) Subscribe();
}
