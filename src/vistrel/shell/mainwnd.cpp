#include "vistrel/shell/mainwnd.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "av/audioplayer.h"
#include "av/soundclip.h"
#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "gfx/bitmapcache.h"
#include "gfx/icon.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "vistrel/shell/fontpage.h"
#include "vistrel/shell/homepage.h"
#include "vistrel/shell/loginpage.h"
#include "vistrel/shell/mainmenu.h"
#include "vistrel/shell/pagemakers.h"
#include "vistrel/shell/pbase.h"
#include "vistrel/shell/tabletmain.h"
#include "vistrel/shell/updatepage.h"
#include "vistrel/shell/webpage.h"
#include "vistrel/shell/webviewer.h"
#include "widgets/style/setserver.h"
#include "widgets/style/skins.h"
#include "widgets/text/datetimelabel.h"

namespace {

constexpr int kPageVariables = 10;
int g_pageVariables[kPageVariables] = {};
CMainWnd* g_tabletMainWnd = nullptr;

constexpr int kCtrlQ = 17;

// MemAvailable of /proc/meminfo in bytes; unknown counts as plenty.
uint64_t ReadAvailableMemory() {
    std::ifstream file("/proc/meminfo");
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string name;
        uint64_t kilobytes = 0;
        if (fields >> name >> kilobytes && name == "MemAvailable:") return kilobytes * 1024;
    }
    return UINT64_MAX;
}

// The pages the gateway may show by index (command 5000 + index); the web
// page (12) only with its address, and 14 (exit) never.
constexpr int kWebPageIndex = 12;
bool IsPageIndex(int index) { return index >= 0 && index <= kCommandDvr - kCommandHome; }

bool IsPageCommand(int id) {
    return (id >= kCommandHome && id <= kCommandDvr) || id == kCommandLogin ||
           (id >= kCommandClimateTabFirst && id <= kCommandClimateTabLast);
}

}  // namespace

int GetPageVariable(int index) { return index > 0 && index < kPageVariables ? g_pageVariables[index] : 0; }

int SetPageVariable(int index, int value) {
    if (index <= 0 || index >= kPageVariables) return 0;
    const int changed = g_pageVariables[index] != value;
    g_pageVariables[index] = value;
    return changed;
}

int ClientTypeOf(int layoutType) {
    switch (layoutType) {
    case 1: return 1;
    case 2: return 6;
    case 3: return 7;
    case 4: return 8;
    case 5: return 10;
    default: return 0;
    }
}

int RemoteKeyToVirtualKey(int code) {
    switch (code) {
    case 0: return platform::VK_UP;
    case 1: return platform::VK_DOWN;
    case 2: return platform::VK_LEFT;
    case 3: return platform::VK_RIGHT;
    case 4: return platform::VK_RETURN;
    case 100: return 'P';
    case 101: return 'A';
    case 102: return platform::VK_PRIOR;
    case 103: return platform::VK_NEXT;
    case 104: return platform::VK_ESCAPE;
    case 122: return 'M';
    default: return code >= 110 && code <= 119 ? '0' + (code - 110) : code;
    }
}

CMainWnd* GetTabletMainWnd() { return g_tabletMainWnd; }

bool CMainWnd::Services::IsBoldText() {
    CSetServer* style = CSetServer::Get();
    return style && (style->GetFlags() & kStyleBold) != 0;
}

bool CMainWnd::Services::FillSkinned(CZVDC* dc, COLORREF colour, int x, int y, int w, int h) {
    auto* skins = dynamic_cast<CStyleSkins*>(&Skins());
    return skins && skins->FillSkinned(dc, colour, x, y, w, h);
}

uint64_t CMainWnd::Services::GetAvailableMemory() { return ReadAvailableMemory(); }

CMainWnd::CMainWnd(CZVServer& server, CZVRect rect, int windowFlags, platform::TabletWindow* native)
    : CMainWndBase(rect, native),
      CSocketSink(server),
      m_screen(std::make_unique<CDibDC>(rect.w, rect.h, 0, 0, 1)),
      m_services(*this),
      m_previousServices(InstallShellServices(&m_services)),
      m_windowFlags(windowFlags) {
    if (g_tabletMainWnd) ReportAssert("mainwnd", __LINE__, 1);
    g_tabletMainWnd = this;
    m_x = 0;
    m_y = 0;
    const uint32_t now = platform::GetTickCount();
    m_lastActivityReport = now;
    m_powerCheckTick = now;
    m_statusTick = now;
    m_styleReloadTick = now;
    m_rebuildCheckTick = now;
    PushCursor((windowFlags & kWindowFullScreen) ? platform::CursorShape::Hidden : platform::CursorShape::Arrow);
    TakeStyleColours();
    server.RegisterSink(this);
    m_menuLoadFailed = !LoadMainMenu(nullptr);
    Send(ZVM_HOUSE_GETMODEQ);
}

CMainWnd::~CMainWnd() {
    EndIntercomCall();
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    m_overlay.Drop();
    if (m_currentPage) ReleasePage(m_currentPage);
    m_currentPage = nullptr;
    m_cache.Free(*this, nullptr);
    // Pages still in the tree ask for the menu as they go: it goes with them.
    m_menu = nullptr;
    DeleteChildren();
    DeleteDyingWindows();
    InstallShellServices(m_previousServices);
    if (g_tabletMainWnd == this) g_tabletMainWnd = nullptr;
}

// The root has no parent to take a back colour from: its background is
// its own face, which is what an empty page area shows.
void CMainWnd::TakeStyleColours() {
    CSetServer* style = CSetServer::Get();
    if (!style) return;
    m_faceColor = style->GetStyleColor(1, 0);
    m_textColor = style->GetStyleColor(1, 1);
    m_backColor = m_faceColor;
}

void CMainWnd::Send(uint16_t id) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), id);
    server->Send(&message);
}

// ---- main menu

int CMainWnd::LoadMainMenu(CZVMSG* answer) {
    if (m_menu) {
        RemoveChild(m_menu);
        delete m_menu;
        m_menu = nullptr;
    }
    CZVServer* server = GetServer();
    if (!m_settings.IsLoaded() && m_settings.Load(*server)) ApplySettings();
    CZVQuery query(*server);
    CZVMSG request(0, ZVM_SYSCONFIG_GETMENUQ);
    if (!answer) {
        // The house modes are asked for with the menu; an answer being handled
        // is not held up by another query.
        m_houseModes.Load(*server);
        const int asked = query.Query(&answer, &request);
        m_menuUnanswered = !asked && server->IsConnected();
        if (!asked) answer = nullptr;
    } else {
        m_menuUnanswered = 0;
    }
    CSetServer* style = CSetServer::Get();
    const CZVRect column(0, 0, style ? style->GetStyle(2, 0) : 0, m_height);
    const int exitEntry = (m_windowFlags & kWindowExitEntry) != 0;
    CMenuAnswer menu;
    const CMenuAnswer::Result read = menu.Read(answer);
    if (read == CMenuAnswer::kTooMany) {
        // More entries than a column holds: the column stays empty.
        m_menu = new CMainMenu(this, column, 0, 0);
        AddChild(m_menu);
        return 1;
    }
    if (read == CMenuAnswer::kRead) {
        const COLORREF back = style && (style->GetFlags() & 0x40000) ? 0x080408 : 0;
        m_menu = new CMainMenu(this, column, back, exitEntry);
        AddChild(m_menu);
        if (m_menu->BuildEntries(menu.types, menu.captions)) {
            ShowHouseModeIcon();
            return 1;
        }
        RemoveChild(m_menu);
        delete m_menu;
    }
    // Without a usable menu the column still leads home; the idle pass asks again.
    m_menu = new CMainMenu(this, column, 0, exitEntry);
    AddChild(m_menu);
    m_menu->AddDefaultEntries();
    return 0;
}

// The home entry of the menu wears the icon of the house mode, once one is known.
void CMainWnd::ShowHouseModeIcon() {
    if (m_menu && m_houseModeKnown) m_menu->SetEntryIcon(0, m_houseModes.GetIcon(m_houseMode));
}

CZVWindow* CMainWnd::GetMainMenu() { return m_menu; }

int CMainWnd::HasMenuEntry(int id) { return m_menu && m_menu->FindEntry(id); }

int CMainWnd::GetSelectedMenuId() {
    auto* entry = m_menu ? static_cast<CTabButton*>(m_menu->GetSelectedTab()) : nullptr;
    return entry ? entry->GetCommandId() : -1;
}

void CMainWnd::SelectMenuEntry(int id, int redraw) {
    if (!m_menu) return;
    for (int i = 0; i < m_menu->GetTabCount(); ++i)
        if (static_cast<CTabButton*>(m_menu->GetTab(i))->GetCommandId() == id) m_menu->Select(i, redraw);
}

int CMainWnd::GetMenuWidth() { return m_menu ? m_menu->GetWidth() : 0; }

// ---- pages

CZVWindow* CMainWnd::MakePage(int id, CZVRect rect) {
    // A climate tab command builds the climate page (the tab is a page variable).
    if (id >= kCommandClimateTabFirst && id <= kCommandClimateTabLast) id = kCommandClimate;
    if (id == kCommandLogin) return new CLoginPage(this, rect);
    if (id < kCommandHome || id > kCommandDvr) return nullptr;
    if (id == kCommandHome) return new CHomePage(this, rect);
    if (id == kCommandWeb) return new CWebPage(this, rect, m_webNoNavigation);
    if (PageMaker make = FindPageMaker(id)) return make(this, id, rect);
    auto* page = new CPageBase(this, rect);
    page->SetPageId(id);
    return page;
}

CZVWindow* CMainWnd::MakeFontPage(CZVRect rect) { return new CFontPage(this, rect); }

CZVRect CMainWnd::GetPageArea() {
    const int menu = GetMenuWidth();
    return CZVRect(menu, 0, m_width - menu, m_height);
}

void CMainWnd::StartPages() {
    if (m_currentPage) {
        ReleasePage(m_currentPage);
        m_currentPage = nullptr;
    }
    CFontServer* fonts = CFontServer::Get();
    if (fonts && !fonts->HasFace()) {
        if ((m_currentPage = MakeFontPage(GetPageArea()))) AddChild(m_currentPage);
        return;
    }
    CZVServer* server = GetServer();
    if (server && server->IsRemoteMode()) {
        if (server->IsConnected()) {
            m_pendingCommand = kCommandHome;
        } else if ((m_currentPage = MakePage(kCommandLogin, GetPageArea()))) {
            AddChild(m_currentPage);
        }
        return;
    }
    if (GetMainMenu()) DoCommand(GetSelectedMenuId(), 1);
}

CZVWindow* CMainWnd::GetPage(int id, CZVRect rect, int show) {
    if (m_services.GetAvailableMemory() < kLowMemory) FreePageCache();
    CZVWindow* page = m_cache.Get(id, [&] { return MakePage(id, rect); });
    if (page) page->Show(show, 0);
    return page;
}

void CMainWnd::ReleasePage(CZVWindow* page) {
    if (!page) return;
    RemoveChild(page);
    if (m_cache.Holds(page))
        page->Show(0, 0);
    else
        DeleteLater(page);  // its own button's handler may still be running
}

void CMainWnd::FreePageCache() { m_cache.Free(*this, m_currentPage); }

int CMainWnd::OnCommand(int id) {
    if (id > 0 && id != kNoCommand) DoCommand(id, 0);
    return 1;
}

void CMainWnd::DoCommand(int id, int quiet) {
    if (id == kCommandExit) {
        m_exitRequested = 1;
        return;
    }
    if (id == kCommandOverlayClosed) return;
    if (id >= kCommandHome && id <= kCommandPoolControl && !HasMenuEntry(id)) return;
    if (id >= kCommandSlidePrevious && id <= kCommandSlidePause) {
        m_idle.Slides().DoCommand(id);
        return;
    }
    if (!IsPageCommand(id)) {
        ReportAssert("mainwnd", __LINE__, 1);
        return;
    }
    CZVServer* server = GetServer();
    if (m_menuHidden && id != kCommandWeb) {
        m_menuHidden = 0;
        ShowMenu(1);
    }
    const CZVRect area = GetPageArea();
    CZVWindow* page = nullptr;
    if (id == kCommandLogin) {
        m_connecting.Free();
        if (server) {
            server->Disconnect();
            server->SetRemoteMode(1);
        }
        page = MakePage(id, area);
    } else if (id >= kCommandClimateTabFirst && id <= kCommandClimateTabLast) {
        SelectMenuEntry(kCommandClimate, 1);
        SetPageVariable(2, id - kCommandClimateTabFirst);
        page = MakePage(id, area);
    } else if (id == kCommandWeb) {
        ReleasePage(m_currentPage);
        m_currentPage = nullptr;
        OpenWebPage(quiet);
        return;
    } else if (id == kCommandHome && server && server->IsRemoteMode() && !server->IsConnected()) {
        page = MakePage(kCommandLogin, area);
    } else if (CPageCache::IsCached(id)) {
        page = GetPage(id, area, 0);
    } else {
        page = MakePage(id, area);
    }
    // The new page is built before the old one goes: a page that cannot be built leaves the
    // old one shown.
    if (!page) {
        ReportAssert("mainwnd", __LINE__, 1);
        return;
    }
    m_currentCommand = id;
    ReleasePage(m_currentPage);
    AddChild(page);
    m_currentPage = page;
    page->Show(1, 0);  // a page reports itself to the gateway on every show
    if (!quiet) page->Redraw(1);
}

// The web page covers the whole window, menu included, and leaves the
// current command as it was, for Main to go back to.
void CMainWnd::OpenWebPage(int quiet) {
    auto* page = static_cast<CWebPage*>(MakePage(kCommandWeb, CZVRect(0, 0, m_width, m_height)));
    AddChildFirst(page);
    m_currentPage = page;
    page->Show(1, 0);
    if (!quiet) {
        CDibDC surface(m_width, m_height, 0, 0, 1);
        surface.SetThemedFills(true);
        page->Paint(&surface, 1);
        SlideHorizontal(-m_width, GetPageSlideDuration(), &surface, 0, 0, 0, 0);
    }
    page->OpenWebViewer(m_webUrl, m_webNoNavigation);
    ShowMenu(0);
    m_menuHidden = 1;
    m_webUrl.clear();
    m_webNoNavigation = 0;
}

CZVWindow* CMainWnd::MakeUpdatePage(CZVRect rect) { return new CUpdatePage(this, rect); }

void CMainWnd::ShowUpdatePage() {
    EndIdleScreen();
    m_updatePending = 0;
    CZVWindow* page = MakeUpdatePage(GetPageArea());
    if (!page) return;
    ReleasePage(m_currentPage);
    m_currentPage = page;
    AddChild(m_currentPage);
    PaintAll();
}

void CMainWnd::ReselectCurrentPage(int quiet) {
    // Before any page was shown the menu's selection stands for the current command.
    if (m_currentCommand < 0) m_currentCommand = GetSelectedMenuId() < 0 ? kCommandHome : GetSelectedMenuId();
    SelectMenuEntry(m_currentCommand, 0);
    DoCommand(m_currentCommand, !quiet);
}

void CMainWnd::LeaveWebPageNow() {
    m_leaveWebPending = 0;
    ReselectCurrentPage(0);
    CDibDC surface(m_width, m_height, 0, 0, 1);
    surface.SetThemedFills(true);
    PaintWithoutOverlay(&surface);
    SlideHorizontal(m_width, GetPageSlideDuration(), &surface, 0, 0, 0, 0);
}

void CMainWnd::JumpToWebUrl(const std::string& url, int noNavigation) {
    m_webUrl = url;
    m_webNoNavigation = noNavigation;
    m_pendingCommand = kCommandWeb;
}

void CMainWnd::ShowMenu(int show) {
    CZVWindow* menu = GetMainMenu();
    if (menu) menu->Show(show && !m_menuHidden, 0);
}

void CMainWnd::SelectPage(int index, int value) {
    if (index == kNoCommand) return;
    SetPageVariable(index, value);
    if (HasMenuEntry(kCommandHome + index)) SelectMenuEntry(kCommandHome + index, 0);
    DoCommand(kCommandHome + index, GetIdleState() != kIdleActive);
    if (GetIdleState() != kIdleActive && m_currentPage) m_currentPage->OnSuspend();
}

void CMainWnd::FlushCaches() {
    m_styleReloadPending = 1;
    if (CZVServer* server = GetServer()) QACacheClear(*server);
    FreePageCache();
}

void CMainWnd::ReloadStyle() {
    FreePageCache();
    ReleasePage(m_currentPage);
    m_currentPage = nullptr;
    const int command = m_currentCommand;
    CSetServer* style = CSetServer::Get();
    if (style) {
        style->ApplyStyle(this);
        TakeStyleColours();
        if (CZVServer* server = GetServer()) server->SetKeepAlive(style->IsThemed());
    }
    if (CBitmapCache* bitmaps = CBitmapCache::Instance()) bitmaps->Clear(true);
    if (CIconCache* icons = CIconCache::Instance()) icons->Clear();
    m_menuLoadFailed = !LoadMainMenu(nullptr);
    m_currentCommand = -1;
    // A page whose entry the new menu lacks gives way to the selected entry's page.
    const int shown = command >= kCommandHome && command <= kCommandPoolControl && !HasMenuEntry(command)
                          ? GetSelectedMenuId()
                          : command;
    if (shown > 0) {
        SelectMenuEntry(shown, 0);
        DoCommand(shown, 1);
    }
    PaintAll();
}

// ---- overlay

void CMainWnd::SetOverlayWindow(CZVWindow* window) { m_overlay.Set(window); }

void CMainWnd::ShowOverlay(CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow, int slide) {
    m_overlay.Show(window, panel, anchorX, anchorY, ownsWindow, slide);
}

void CMainWnd::CloseOverlay() { m_overlay.Close(); }

void CMainWnd::PaintWithoutOverlay(CDibDC* surface) { m_overlay.PaintWithout(surface); }

// ---- painting and input

void CMainWnd::Present() {
    if (m_hwnd && GetIdleState() != kIdleDisplayOff)
        m_hwnd->Present(m_screen->GetBits(), m_screen->GetRequestedWidth(), m_screen->GetHeight(),
                        m_screen->GetWidth());
}

void CMainWnd::PaintAll() {
    m_idle.NoteActivity();
    if (m_connecting.Exists()) {
        m_connecting.Draw(*m_screen, GetIdleState() == kIdleDisplayOff);
    } else {
        SetOffscreenPaint(1);
        Paint(m_screen.get(), 1);
        m_overlay.Paint(m_screen.get());
        SetOffscreenPaint(0);
    }
    Present();
}

void CMainWnd::ShowConnectingScreen() {
    if (m_connecting.Exists()) return;
    m_connecting.Make(*m_screen, GetIdleState() == kIdleDisplayOff);
    m_connecting.Draw(*m_screen, GetIdleState() == kIdleDisplayOff);
    Present();
}

void CMainWnd::OnWindowEvent(const platform::WindowEvent& event) {
    switch (event.message) {
    case platform::kWmClose: m_destroyRequested = 1; return;
    case platform::kWmPaint:
        if (m_idle.IgnoresRepaint()) return;
        PaintAll();
        return;
    case platform::kWmMouseMove:
    case platform::kWmLButtonDown:
    case platform::kWmLButtonUp: RouteMouse(event); return;
    default: HandleKey(event); return;
    }
}

void CMainWnd::RouteMouse(const platform::WindowEvent& event) {
    if (event.message == platform::kWmLButtonDown &&
        platform::TicksSince(m_lastActivityReport) > kActivityReportInterval) {
        Send(ZVM_UI_USERACTIVITY);
        m_lastActivityReport = platform::GetTickCount();
    }
    if (GetIdleState() != kIdleActive) {
        m_idle.OnMouse(event);
        return;
    }
    // The connecting screen takes no touches.
    if (m_connecting.Exists()) return;
    switch (event.message) {
    case platform::kWmMouseMove: OnMouseMove(event.x, event.y, event.keys); break;
    case platform::kWmLButtonDown:
        m_idle.NoteActivity();
        m_buttonDown = 1;
        m_idle.SetButtonDown(true);
        m_pressTakenByOverlay = 0;
        if (CZVWindow* overlay = GetOverlayWindow(); overlay && overlay->OnLButtonDown(event.x, event.y, event.keys)) {
            m_pressTakenByOverlay = 1;
            break;
        }
        if (HitTest(event.x, event.y)) OnLButtonDown(event.x, event.y, event.keys);
        break;
    default:
        m_buttonDown = 0;
        m_idle.SetButtonDown(false);
        // The release goes where the press went, so that no control stays pressed.
        if (CZVWindow* overlay = GetOverlayWindow(); overlay && m_pressTakenByOverlay)
            overlay->OnLButtonUp(event.x, event.y, event.keys);
        else
            OnLButtonUp(event.x, event.y, event.keys);
        m_pressTakenByOverlay = 0;
        break;
    }
}

void CMainWnd::HandleKey(const platform::WindowEvent& event) {
    if (event.message == platform::kWmChar && event.code == kCtrlQ) {
        m_exitRequested = 1;
        return;
    }
    if (m_idle.OnKey(event)) return;
    if (m_connecting.Exists() || GetIdleState() == kIdleScreen) return;
    if (event.message == platform::kWmKeyUp) m_idle.NoteActivity();
    DispatchEvent(event);
}

void CMainWnd::SetDisplayPower(int on) {
    if (on) {
        EndIdleScreen();
        return;
    }
    if (GetIdleState() == kIdleDisplayOff) return;
    m_idle.SetDisplayPower(false);
    if (m_currentPage) m_currentPage->OnSuspend();
}

void CMainWnd::BlankDisplay() {
    if (m_hwnd) {
        // Blank the window; nothing is shown until the display comes on.
        CDibDC black(m_width, m_height, 0, 0, 1);
        black.FillRect(0, 0, 0, m_width, m_height, 0);
        m_hwnd->Present(black.GetBits(), black.GetRequestedWidth(), black.GetHeight(), black.GetWidth());
    }
}

void CMainWnd::EndIdleScreen() {
    if (GetIdleState() == kIdleActive) {
        m_idle.NoteActivity();
        return;
    }
    m_idle.Exit();
}

// The toolkit draws with the settings' flags.
void CMainWnd::ApplySettings() { SetDisplayFlags(m_settings.GetFlags()); }

void CMainWnd::Identify(const std::string& text) {
    EndIdleScreen();
    CZVDC dc(this);
    dc.FillRect(0, 0, 0, m_width, m_height, 0);
    dc.SetFont(32, 0, 1);
    dc.SetColor(0xFFFFFF);
    dc.DrawText(CZVString(text.c_str()), CZVRect(0, 0, m_width, m_height), 18);
    Present();
    platform::Sleep(kIdentifyHold);
    PaintAll();
}

// ---- idle

int CMainWnd::OnIdle(int work) {
    work |= DeleteDyingWindows();
    if (g_audioplayer) g_audioplayer->Poll();
    if (m_intercomCall) work |= m_intercomCall->OnIdle(work);
    m_alert.Step();
    if (m_exitRequested) {
        m_destroyRequested = 1;
        return 0;
    }
    CZVServer* server = GetServer();
    // A menu the gateway left unanswered is asked for again only after a longer pause.
    const uint32_t styleRetry = m_menuUnanswered ? kUnansweredRetryInterval : kStyleRetryInterval;
    if ((m_menuLoadFailed || m_styleReloadPending) && server && server->IsConnected() &&
        platform::TicksSince(m_styleReloadTick) > styleRetry) {
        ReloadStyle();
        m_styleReloadPending = 0;
        m_styleReloadTick = platform::GetTickCount();
    }
    // The version is checked once the gateway's menu stands, so that a gateway that answers
    // neither does not hold up each pass twice.
    if (m_updatePending && (m_updateForced || !m_menuLoadFailed) && server && server->IsConnected() &&
        CheckForUpdate(*server))
        return 1;
    RebuildRequestedPage();
    if (m_leaveWebPending) LeaveWebPageNow();
    OnIdleHook();
    if (platform::TicksSince(m_powerCheckTick) > kStatusInterval) {
        m_powerCheckTick = platform::GetTickCount();
        m_idle.CheckPowerChange();
    }
    if (platform::TicksSince(m_statusTick) > kStatusInterval) {
        m_statusTick = platform::GetTickCount();
        SendStatus();
    }
    const int walked = CZVWindow::OnIdle(work) | m_overlay.Step(work);
    RunPendingCommand();
    return work | walked;
}

int CMainWnd::CheckForUpdate(CZVServer& server) {
    if (!m_updateForced && m_versionUnanswered && platform::TicksSince(m_versionCheckTick) < kUnansweredRetryInterval)
        return 0;
    VersionCheck check = VersionCheck::kUpdate;
    if (m_updateForced)
        m_updateForced = 0;
    else
        check = CheckProgramVersion(server, GetLayoutType());
    m_versionUnanswered = check == VersionCheck::kUnknown;
    m_versionCheckTick = platform::GetTickCount();
    switch (check) {
    case VersionCheck::kCurrent: m_updatePending = 0; return 1;
    case VersionCheck::kUpdate: ShowUpdatePage(); return 1;
    case VersionCheck::kUnknown: return 0;
    }
    return 0;
}

void CMainWnd::RebuildRequestedPage() {
    if (platform::TicksSince(m_rebuildCheckTick) < kRebuildCheckInterval) return;
    m_rebuildCheckTick = platform::GetTickCount();
    auto* page = m_currentPage ? dynamic_cast<CPageBase*>(m_currentPage->GetPage()) : nullptr;
    if (!page || !page->IsRebuildRequested()) return;
    m_cache.Forget(m_currentPage);
    DoCommand(m_currentCommand, 0);
}

void CMainWnd::RunPendingCommand() {
    if (!m_pendingCommand || !GetMainMenu()) return;
    EndIdleScreen();
    const int id = m_pendingCommand;
    m_pendingCommand = 0;
    if (id == kCommandWeb) {
        CloseWebViewer();
        auto* page = dynamic_cast<CWebPage*>(m_currentPage);
        if (m_menuHidden && page) {
            ReportTrace("Jump to Web URL:" + m_webUrl + " NoNav " + std::to_string(m_webNoNavigation));
            page->OpenWebViewer(m_webUrl, m_webNoNavigation);
            m_webUrl.clear();
            m_webNoNavigation = 0;
            return;
        }
    }
    if (id != kCommandWeb) SelectMenuEntry(id, 1);
    OnCommand(id);
}

// ---- gateway messages

void CMainWnd::OnConnect(int connected) {
    m_alert.Clear();
    CZVServer* server = GetServer();
    if (connected) {
        if (m_hwnd) m_hwnd->Raise();
        if (m_connecting.Exists()) {
            m_connecting.Free();
            if (GetIdleState() != kIdleDisplayOff) PaintAll();
        }
        m_styleReloadTick = platform::GetTickCount();
        m_updatePending = 1;
        m_versionUnanswered = 0;
        Send(ZVM_TABLET_GETPOWERSETTINGSQ);
        Send(ZVM_SYSCONFIG_GETMENUQ);
        Send(ZVM_SYSCONFIG_GETCLOCKQ);
        Send(ZVM_TABLET_IDLE);
        // The menu's entry icons and texts are pushed anew to the menu of this connection.
        if (m_menu) m_menu->SubscribeToStatus();
        if (!(m_windowFlags & kWindowFullScreen)) Send(ZVM_SYSCONFIG_GETSYSTEMINFOQ);
        return;
    }
    if (server && server->IsRemoteMode()) {
        ReportTrace("The Connection to the Remote System has been Shutdown unexpectedly");
        m_exitRequested = 1;
        return;
    }
    // Over the idle screen or a dark display it comes when they end.
    if (GetIdleState() == kIdleActive) ShowConnectingScreen();
    m_idle.Slides().Start();
    if (server) QACacheClear(*server);
    FreePageCache();
}

void CMainWnd::SendStatus() {
    CZVServer* server = GetServer();
    CSetServer* style = CSetServer::Get();
    if (!server || !server->IsConnected() || !style || !style->IsThemed()) return;
    constexpr uint64_t kIntMax = INT32_MAX;
    CZVMSG message(0, ZVM_SESSION_CLIENTSTATUS);
    message.WriteInt(static_cast<int32_t>(std::min(m_services.GetAvailableMemory(), kIntMax)));
    message.WriteInt(m_idle.GetBatteryPercent());
    message.WriteInt(-1);
    server->Send(&message);
}

void CMainWnd::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    int32_t value = 0;
    switch (message->GetId()) {
    case ZVM_HOUSE_MODECHANGED:
    case ZVM_HOUSE_GETMODEA:
        if (!message->ReadInt(value)) break;
        m_houseMode = value;
        m_houseModeKnown = 1;
        ShowHouseModeIcon();
        break;
    case ZVM_TABLET_SETDISPLAYPOWER:
        if (!message->ReadInt(value)) break;
        ReportTrace("Message from Gateway PowerDisplay");
        SetDisplayPower(value);
        break;
    case ZVM_TABLET_IDENTIFY: {
        std::string text;
        message->ReadString(text);
        ReportTrace("ID Tablet Power Display");
        Identify(text);
        break;
    }
    case ZVM_TABLET_REMOTEKEY: OnRemoteKey(message); break;
    case ZVM_TABLET_FLUSHCACHE:
        if (CZVServer* server = GetServer()) {
            QACacheClear(*server);
            m_houseModes.Load(*server);
        }
        FreePageCache();
        Send(ZVM_HOUSE_GETMODEQ);
        break;
    case ZVM_SECURITY_PLAYSOUND: OnPlaySound(message); break;
    case ZVM_AUDIO_PLAYSOURCE:
    case ZVM_INTERCOM_AUDIOSTART:
    case ZVM_INTERCOM_AUDIOSTOP: OnAudioMessage(message); break;
    case ZVM_INTERCOM_INCOMINGCALL: AnswerIntercomCall(message); break;
    case ZVM_INTERCOM_ENDCALL: EndIntercomCall(); break;
    case ZVM_TABLET_GETPOWERSETTINGSA:
        if (m_settings.Read(message)) ApplySettings();
        break;
    case ZVM_PICTURES_PICTURE:
        if (GetIdleState() == kIdleScreen)
            m_idle.Slides().Show(message);
        else
            m_idle.Slides().OnPictureArrived();
        break;
    case ZVM_PICTURES_PICTUREEND:
        if (GetIdleState() == kIdleScreen) m_idle.Slides().OnPictureEnd();
        break;
    case ZVM_TABLET_GATEWAYREADY: m_idle.ShowIdleScreen(); break;
    case ZVM_MESSAGES_GETNEWCOUNTA:
        if (message->ReadInt(value)) m_newMessages = value;
        break;
    case ZVM_UI_SETPAGEVARIABLE: OnPageVariable(message); break;
    case ZVM_SYSCONFIG_GETMENUA: OnMenuAnswer(message); break;
    case ZVM_SYSCONFIG_GETSYSTEMINFOA: {
        int32_t first = 0, second = 0;
        std::string adapter;
        if ((m_windowFlags & kWindowFullScreen) || HasMarquelTitle()) break;
        if (!message->ReadInt(first) || !message->ReadInt(second) || !message->ReadString(adapter)) break;
        m_windowTitle = adapter + ": Zavoro Viewer";
        if (m_hwnd) m_hwnd->SetTitle(m_windowTitle);
        break;
    }
    case ZVM_SYSCONFIG_PREPAREUPDATE:
        m_updatePending = 1;
        m_updateForced = 1;
        break;
    case ZVM_SYSCONFIG_GETCLOCKA: OnClock(message); break;
    case ZVM_TABLET_SHOWFONTPAGE:
        if (CZVWindow* page = MakeFontPage(GetPageArea())) {
            ReleasePage(m_currentPage);
            m_currentPage = page;
            AddChild(page);
            page->Redraw(1);
        }
        break;
    case ZVM_TABLET_SHOWPAGE: {
        if (GetIdleState() == kIdleActive) break;
        int32_t index = 0;
        if (!message->ReadInt(index) || !IsPageIndex(index) || index == kWebPageIndex) break;
        message->ReadInt(value);
        SelectPage(index, value);
        break;
    }
    default: break;
    }
}

void CMainWnd::OnRemoteKey(CZVMSG* message) {
    int32_t value = 0;
    if (!message->ReadInt(value)) return;
    platform::WindowEvent event;
    event.code = RemoteKeyToVirtualKey(value & 0xFFF);
    if (value & 0x4000) {
        event.message = platform::kWmKeyDown;
        event.flags = 1;
        HandleKey(event);
    }
    if (value & 0x8000) {
        event.message = platform::kWmKeyUp;
        event.flags = 1 | platform::kKeyWasDown | platform::kKeyReleased;
        HandleKey(event);
    }
}

void CMainWnd::OnPlaySound(CZVMSG* message) {
    std::string name;
    int32_t repeats = 0, interval = 0;
    if (!message->ReadString(name) || !message->ReadInt(repeats) || !message->ReadInt(interval)) return;
    m_alert.Start(name, repeats, interval);
}

void CMainWnd::OnMenuAnswer(CZVMSG* message) {
    // The gateway's menu is in place with as many entries: nothing to rebuild.
    int32_t unused = 0, count = 0;
    if (m_menu && !m_menuLoadFailed && message->ReadInt(unused) && message->ReadInt(count) &&
        m_menu->HoldsEntryCount(count))
        return;
    message->ResetPosition();
    m_menuLoadFailed = !LoadMainMenu(message);
    const int current = m_currentCommand;
    if (HasMenuEntry(current))
        SelectMenuEntry(current, 0);
    else if (current >= kCommandHome && current <= kCommandDvr)
        DoCommand(GetSelectedMenuId(), 1);  // the page's entry is gone
    PaintAll();
}

void CMainWnd::OnPageVariable(CZVMSG* message) {
    int32_t index = 0, value = 0;
    if (!message->ReadInt(index) || !message->ReadInt(value)) return;
    std::string url;
    int32_t noNavigation = 0;
    if (index == kWebPageIndex && (!message->ReadString(url) || !message->ReadInt(noNavigation))) return;
    if (!IsPageIndex(index)) return;
    EndIdleScreen();
    if (index == kWebPageIndex) {
        JumpToWebUrl(url, noNavigation);
        return;
    }
    m_pendingCommand = kCommandHome + index;
    int changed = 0;
    switch (index) {
    case 0:
    case 1:
    case 2:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10: changed = SetPageVariable(index, value); break;
    default: break;
    }
    if (GetSelectedMenuId() == m_pendingCommand && !changed) m_pendingCommand = 0;
}

void CMainWnd::OnClock(CZVMSG* message) {
    CZVTime gateway;
    if (!message->ReadTime(gateway) || !gateway.Normalize()) return;
    CZVTime local;
    local.SetNow(0);
    const CZVTimeSpan span = gateway - local;
    const int64_t minutes = span.GetTotalMinutes();
    const int32_t offset = static_cast<int32_t>(span.IsNegative() ? -minutes : minutes);
    if (offset == g_nClockOffsetMinutes) return;
    g_nClockOffsetMinutes = offset;
    // The date and time labels show the gateway's time at once, not from their next tick on
    // (a date label ticks once a minute).
    RefreshDateTimeLabels(this);
}

void CMainWnd::RefreshDateTimeLabels(CZVWindow* window) {
    if (auto* label = dynamic_cast<CDateTimeLabel*>(window)) label->Update(1);
    ForEachChild(window->GetChildren(), [](CZVWindow* child) { RefreshDateTimeLabels(child); });
}
