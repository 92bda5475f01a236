#include "vistrel/shell/idlescreen.h"

#include <algorithm>

#include "core/messages/shellmessages.h"
#include "gfx/bitmapcache.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "vistrel/shell/mainmenu.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletsettings.h"
#include "vistrel/shell/webviewer.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kKeepAwakeKey = 0xFC;  // never a key of the tablet's own
constexpr COLORREF kBarFrame = 0xC8C8C8;
const CZVRect kBatteryBar(300, 580, 200, 10);

}  // namespace

CIdleScreen::CIdleScreen(CMainWnd& owner, const CTabletSettings& settings)
    : m_owner(owner),
      m_settings(settings),
      m_slides(owner, settings),
      m_entryTick(platform::GetTickCount()),
      m_lastActivity(m_entryTick),
      m_keepAwakeTick(m_entryTick) {}

CIdleScreen::~CIdleScreen() = default;

void CIdleScreen::NoteActivity() { m_lastActivity = platform::GetTickCount(); }

bool CIdleScreen::IsThemed() const {
    CSetServer* style = CSetServer::Get();
    return style && style->IsThemed();
}

bool CIdleScreen::IsForeground() const {
    platform::TabletWindow* native = m_owner.GetHwnd();
    return !native || native->HasFocus();
}

bool CIdleScreen::IsOnAcPower() { return m_ac.IsOnAc(m_buttonDown); }

uint32_t CIdleScreen::GetSaverTimeout() { return m_owner.IsWindowed() ? 0 : m_settings.GetSaverTimeout(IsOnAcPower()); }

uint32_t CIdleScreen::GetSaverStart() { return m_settings.GetSaverStart(IsOnAcPower()); }

uint32_t CIdleScreen::GetDisplayOffTimeout() {
    if (m_owner.IsWindowed() || !IsThemed()) return 0;
    return m_settings.GetDisplayOffTimeout(IsOnAcPower());
}

bool CIdleScreen::Step() { return m_state == kIdleActive ? ActiveStep() : IdleStep(); }

void CIdleScreen::KeepAwake() {
    if (!IsThemed() || platform::TicksSince(m_keepAwakeTick) <= kKeepAwakeInterval) return;
    platform::GetPowerSource().KeepAwake();
    m_keepAwakeTick = platform::GetTickCount();
}

bool CIdleScreen::DisplayOffStep() {
    if (m_state == kIdleDisplayOff) return true;
    const uint32_t timeout = GetDisplayOffTimeout();
    if (timeout == 0 || platform::TicksSince(m_lastActivity) < timeout) return false;
    m_owner.SendNotice(ZVM_TABLET_IDLE);
    ReportTrace("Idle Timeout Power Display FALSE");
    SetDisplayPower(false);
    return true;
}

// What every start of the idle screen or the display-off state does first.
void CIdleScreen::Enter() {
    CloseWebViewer();
    m_entryTick = platform::GetTickCount();
    m_owner.SetMenuReloadPending(0);
    m_slides.Start();
    m_owner.SetSuspended(1);
    if (CZVWindow* page = m_owner.GetCurrentPage()) page->OnSuspend();
}

bool CIdleScreen::ActiveStep() {
    if (IsThemed() && !IsForeground()) return false;
    if (DisplayOffStep()) {
        Enter();
        ReportTrace("Init Screen Saver");
        return true;
    }
    const uint32_t elapsed = platform::TicksSince(m_lastActivity);
    const uint32_t start = GetSaverStart();
    if (GetSaverTimeout() != 0 && elapsed > start) {
        if (elapsed - start > kLateStart) {
            NoteActivity();
            ReportAssert(__FILE__, __LINE__, 1);
        }
        if (IsThemed()) {
            ShowIdleScreen();
        } else {
            if (!m_owner.IsHomePageShown()) m_owner.SetPendingCommand(kCommandHome);
            NoteActivity();
        }
        return true;
    }
    KeepAwake();
    return false;
}

void CIdleScreen::ShowIdleScreen() {
    if (m_owner.IsMenuHidden()) m_owner.ReselectCurrentPage(0);
    Enter();
    m_owner.SendNotice(ZVM_TABLET_IDLE);
    if (m_owner.GetAvailableMemory() < kLowMemory) {
        if (CBitmapCache* bitmaps = CBitmapCache::Instance()) bitmaps->Clear(false);
        if (CIconCache* icons = CIconCache::Instance()) icons->PurgeImages();
        m_owner.FreePageCache();
    }
    if (m_state != kIdleDisplayOff) m_state = kIdleScreen;
    DrawLogo();
    CZVServer* server = m_owner.GetServer();
    if (!server) return;
    CZVMSG selected(m_owner.GetId(), ZVM_UI_PAGESELECTED);
    selected.WriteInt(kIdlePageIndex);
    selected.WriteInt(-1);
    server->Send(&selected);
}

void CIdleScreen::DrawLogo() {
    CDibDC* screen = m_owner.GetScreen();
    screen->SetOrigin(0, 0);
    screen->FillRect(kBackground, 0, 0, m_owner.GetWidth(), m_owner.GetHeight(), 0);
    m_logoShown = false;
    CZVServer* server = m_owner.GetServer();
    if (!m_logo && server)
        m_logo = std::make_unique<CZVImage>(*server, CZVString("logo.png"), 0, 0, CZVImage::kSkin2, 0, 0);
    DrawArrivedLogo();
    m_owner.Present();
}

// The logo, centred, once its picture is in; a logo that comes after the idle screen started
// is drawn then, over the background alone.
void CIdleScreen::DrawArrivedLogo() {
    CDibDC* logo = m_logo ? m_logo->GetDib(nullptr, 0, 0) : nullptr;
    if (m_logoShown || !logo) return;
    CDibDC* screen = m_owner.GetScreen();
    screen->SetOrigin(0, 0);
    const int lw = logo->GetRequestedWidth(), lh = logo->GetHeight();
    screen->TransparentBlt((m_owner.GetWidth() - lw) / 2 - 1, (m_owner.GetHeight() - lh) / 2 - 1, logo, 0, 0, lw, lh,
                           0);
    m_logoShown = true;
}

bool CIdleScreen::IdleStep() {
    // A logo late for the idle screen still shows, unless a slide has taken the screen.
    if (m_state == kIdleScreen && !m_logoShown && !m_slides.HasButtons() && m_logo && m_logo->GetDib(nullptr, 0, 0)) {
        DrawArrivedLogo();
        m_owner.Present();
    }
    if (m_leaveRequested || m_slides.TakeLeaveRequest() || !IsForeground()) {
        Exit();
        return true;
    }
    if (IsOnAcPower()) {
        m_wasOnAc = true;
        if (DisplayOffStep()) return false;
        KeepAwake();
        if (!m_slides.Step()) {
            // The slide never came: a fresh connection serves the next.
            if (CZVServer* server = m_owner.GetServer()) server->GetSocket()->Disconnect();
            m_slides.Start();
        }
        return false;
    }
    if (m_wasOnAc) {
        m_wasOnAc = false;
        Exit();
        return true;
    }
    const uint32_t elapsed = platform::TicksSince(m_lastActivity);
    const uint32_t timeout = m_settings.GetSaverTimeout(false);
    if (elapsed < timeout) {
        if (DisplayOffStep()) return false;
        ShowBatteryLevel(elapsed);
        return false;
    }
    if (timeout != 0) {
        Suspend();
        platform::Sleep(kSuspendPause);
        Exit();
        return true;
    }
    return false;
}

void CIdleScreen::ShowBatteryLevel(uint32_t elapsed) {
    const uint32_t start = GetSaverStart();
    const uint32_t span = m_settings.GetSaverTimeout(false) - start;
    const uint32_t into = elapsed > start ? elapsed - start : 0;
    const int level = std::clamp(static_cast<int>(static_cast<uint64_t>(into) * 100 / std::max(span, 1u)), 2, 100);
    CDibDC* screen = m_owner.GetScreen();
    if (!m_batteryBar) {
        m_batteryBar = std::make_unique<CZVLevelBar>(&m_owner, kBatteryBar, 0, 0);
        screen->SetOrigin(0, 0);
        screen->FrameRect(kBarFrame, kBatteryBar.x - 2, kBatteryBar.y - 2, kBatteryBar.w + 4, kBatteryBar.h + 4);
        screen->FrameRect(kBarFrame, kBatteryBar.x - 1, kBatteryBar.y - 1, kBatteryBar.w + 2, kBatteryBar.h + 2);
    }
    if (m_batteryBar->GetLevel() == level) return;
    m_batteryBar->SetLevel(level, 0);
    screen->SetOrigin(kBatteryBar.x, kBatteryBar.y);
    m_batteryBar->OnPaint(screen);
    screen->SetOrigin(0, 0);
    m_owner.Present();
}

int CIdleScreen::GetBatteryLevelShown() const { return m_batteryBar ? m_batteryBar->GetLevel() : -1; }

void CIdleScreen::Suspend() {
    if (m_suspended) return;
    m_suspended = true;
    platform::GetPowerSource().Suspend();
}

void CIdleScreen::SetDisplayPower(bool on) {
    if (on) {
        ReportTrace("Display Is Now ON");
        if (m_state == kIdleDisplayOff) m_state = kIdleActive;
        return;
    }
    ReportTrace("Display Is Now OFF");
    m_state = kIdleDisplayOff;
    m_owner.SetSuspended(1);
    m_owner.BlankDisplay();
}

void CIdleScreen::Exit() {
    if (m_state == kIdleDisplayOff) {
        ReportTrace("Exit Screen Saver");
        SetDisplayPower(true);
    }
    m_leaveRequested = false;
    m_batteryBar.reset();
    m_suspended = false;
    m_state = kIdleActive;
    m_owner.SetSuspended(0);
    NoteActivity();
    m_slides.Stop();
    m_owner.PaintAll();
    CZVServer* server = m_owner.GetServer();
    const bool connected = server && server->IsConnected();
    if (!connected && !(server && server->IsRemoteMode())) m_owner.ShowConnectingScreen();
    if (m_owner.IsMenuReloadPending()) {
        if (connected && m_owner.GetMenu() && !m_owner.GetMenu()->CheckMenu()) m_owner.FlushCaches();
        return;
    }
    if (CZVWindow* page = m_owner.GetCurrentPage()) page->OnResume();
}

void CIdleScreen::Wake() {
    Exit();
    m_owner.SendNotice(ZVM_UI_SCREENWAKE);
}

void CIdleScreen::OnMouse(const platform::WindowEvent& event) {
    if (m_state == kIdleScreen) {
        if (event.message == platform::kWmLButtonDown) {
            if (!m_slides.OnLButtonDown(event.x, event.y)) Wake();
        } else if (event.message == platform::kWmLButtonUp) {
            m_slides.OnLButtonUp(event.x, event.y);
        }
        return;
    }
    if (event.message != platform::kWmLButtonDown) return;
    ReportTrace("LButton Down on Screen Off");
    SetDisplayPower(true);
    Wake();
    m_keepAwakeTick = platform::GetTickCount();
}

bool CIdleScreen::OnKey(const platform::WindowEvent& event) {
    const int key = event.code;
    if (event.message == platform::kWmKeyDown) {
        if (m_owner.HasConnectingScreen()) return true;
        if (m_state == kIdleScreen) {
            if (IsOnAcPower()) m_slides.OnKeyDown(key);
            return true;
        }
        return false;
    }
    if (event.message != platform::kWmKeyUp) return false;
    if (key == kKeepAwakeKey) return true;
    if (m_state == kIdleScreen) {
        if (!IsOnAcPower() || !m_slides.OnKeyUp(key)) Exit();
        return true;
    }
    const bool startKey = key == platform::VK_RETURN ||
                          (m_state == kIdleActive && (key == platform::VK_LEFT || key == platform::VK_RIGHT));
    if (startKey && IsOnAcPower() && m_owner.IsHomePageShown()) {
        ShowIdleScreen();
        return true;
    }
    return false;
}

bool CIdleScreen::IgnoresRepaint() {
    if (m_state == kIdleActive) return false;
    const uint32_t grace = m_state == kIdleScreen ? kPaintGraceIdle : kPaintGraceOff;
    if (platform::TicksSince(m_entryTick) < grace) return true;
    ReportTrace("Paint in Screen Saver");
    Exit();
    return false;
}

void CIdleScreen::CheckPowerChange() {
    const bool onAc = IsOnAcPower();
    if (onAc != m_lastAc && m_state != kIdleActive) {
        ReportTrace("Cradle Change Power Display TRUE");
        // A display that comes on shows the pages again, not a black screen.
        if (m_state == kIdleDisplayOff) Exit();
        NoteActivity();
    }
    m_lastAc = onAc;
}
