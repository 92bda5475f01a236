#pragma once
// CMainWnd: the tablet's one root window over its one native window. It
// holds the page shown right of the main menu (kept built in its page
// cache), the sliding overlay, the idle state, the pending command and the
// alert sound (a part of its own); it routes the native window's events into the tree, paints
// the whole tree into the screen surface, runs the idle step of the main
// loop and, as a sink, handles the gateway messages meant for the tablet as
// a whole. It owns the main menu; the pages and the idle screens are built
// by their own code behind the seams marked below; until a page's code
// exists its command shows an empty page.
#include <memory>
#include <string>

#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "gfx/shellservices.h"
#include "platform/power.h"
#include "platform/tabletwindow.h"
#include "vistrel/shell/alertsound.h"
#include "vistrel/shell/cmdline.h"
#include "vistrel/shell/connectingscreen.h"
#include "vistrel/shell/housemodelist.h"
#include "vistrel/shell/idlescreen.h"
#include "vistrel/shell/pagecache.h"
#include "vistrel/shell/tabletsettings.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/overlay.h"

// Page commands.
enum : int {
    kCommandHome = 5000,
    kCommandClimate = 5002,
    kCommandClimateSensors = 5003,
    kCommandClimateSchedule = 5004,
    kCommandPoolControl = 5010,
    kCommandWeb = 5012,
    kCommandDvr = 5013,
    kCommandExit = 5014,
    kCommandSlidePrevious = kSlidePrevious,
    kCommandSlidePause = kSlidePause,
    kCommandLogin = 2003,
    kCommandClimateTabFirst = 2100,
    kCommandClimateTabLast = 2200,
    kCommandOverlayClosed = 10000,
};

// Idle states.
enum : int { kIdleActive = 0, kIdleScreen = 1, kIdleDisplayOff = 2 };

// The page variables that pages of commands 5000 + k read when they are
// built; process-wide, 0 at start. Variables 1 to 9 exist.
int GetPageVariable(int index);
// 1 when the value changed; 0 for an index without a variable.
int SetPageVariable(int index, int value);

// The client type that the login announces for a layout type.
int ClientTypeOf(int layoutType);

// The remote key code of ZVM_TABLET_REMOTEKEY as a virtual key.
int RemoteKeyToVirtualKey(int code);

class CMainMenu;

class CMainWnd : public CMainWndBase, public CSocketSink {
public:
    static constexpr uint32_t kStatusInterval = 5000;      // ms
    static constexpr uint32_t kStyleRetryInterval = 5000;  // ms
    // After a version or menu query that the gateway left unanswered, the next waits this long.
    static constexpr uint32_t kUnansweredRetryInterval = 60000;  // ms
    static constexpr uint32_t kRebuildCheckInterval = 5000;      // ms
    static constexpr uint32_t kActivityReportInterval = 5000;
    static constexpr uint32_t kIdentifyHold = 5000;
    // Below this much available memory the page cache is freed before a page is built.
    static constexpr uint64_t kLowMemory = 2000000;

    // The window rectangle and flags of the start-up; native may be null.
    CMainWnd(CZVServer& server, CZVRect rect, int windowFlags, platform::TabletWindow* native);
    ~CMainWnd() override;

    // Shows the first page; the start-up calls it once the window stands.
    void StartPages();

    // ---- the toolkit's shell services
    CZVWindow* GetOverlayWindow() override { return m_overlay.GetWindow(); }
    COverlay* GetOverlay() const { return m_overlay.Get(); }
    void SetOverlayWindow(CZVWindow* window) override;
    void ShowOverlay(CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow, int slide) override;
    void CloseOverlay() override;
    void PaintWithoutOverlay(CDibDC* surface) override;
    void FlushCaches() override;
    CDibDC* GetScreen() { return m_screen.get(); }

    // ---- the main loop
    // One event of the native window.
    void OnWindowEvent(const platform::WindowEvent& event);
    // Paints the whole tree into the screen surface and shows it once.
    void PaintAll();
    // Shows the screen surface as it is (after direct redraws).
    void Present();
    // One screen-saver or display step; non-zero when it did work.
    virtual int IdleScreenStep() { return m_idle.Step(); }
    int OnIdle(int work) override;
    // The window is to be destroyed: the main loop ends.
    int IsDestroyRequested() const { return m_destroyRequested; }
    void RequestExit() { m_exitRequested = 1; }
    int IsExitRequested() const { return m_exitRequested; }

    // ---- commands and pages
    int OnCommand(int id) override;
    virtual void DoCommand(int id, int quiet);
    void SetPendingCommand(int id) { m_pendingCommand = id; }
    int GetPendingCommand() const { return m_pendingCommand; }
    void JumpToWebUrl(const std::string& url, int noNavigation);
    // Selects the current command's menu entry and builds its page again,
    // drawn unless quiet is 0 (then the caller's transition shows it).
    void ReselectCurrentPage(int quiet);
    // From the next idle pass: the current command's page slides back over
    // the web page (the page's own button may not delete it).
    void LeaveWebPage() { m_leaveWebPending = 1; }
    int IsHomePageShown() const { return m_currentCommand == kCommandHome; }
    int GetCurrentCommand() const { return m_currentCommand; }
    CZVWindow* GetCurrentPage() const { return m_currentPage; }
    // The area right of the main menu.
    CZVRect GetPageArea();
    using CZVWindow::GetPage;
    // The cached page of the id, built when missing; null for ids without a slot.
    CZVWindow* GetPage(int id, CZVRect rect, int show);
    void ReleasePage(CZVWindow* page);
    void FreePageCache();
    void ReloadStyle();
    void SelectPage(int index, int value);
    void ShowMenu(int show);
    int IsMenuHidden() const { return m_menuHidden; }
    // Builds the menu from the gateway's answer, asking for it when null;
    // 1 when the gateway's menu was used, 0 for the default menu.
    int LoadMainMenu(CZVMSG* answer);
    CZVWindow* GetMainMenu() override;
    CMainMenu* GetMenu() const { return m_menu; }
    int IsMenuLoadFailed() const { return m_menuLoadFailed; }
    // The menu is checked against the gateway's when the idle screen ends.
    void SetMenuReloadPending(int on) { m_menuReloadPending = on; }
    int IsMenuReloadPending() const { return m_menuReloadPending; }

    // ---- gateway messages
    // The client status report (available memory, battery charge), sent
    // while connected with a themed style.
    void SendStatus();
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int connected) override;

    int GetIdleState() const { return m_idle.GetState(); }
    void SetDisplayPower(int on);
    CIdleScreen& GetIdleScreen() { return m_idle; }
    const CTabletSettings& GetTabletSettings() const { return m_settings; }
    // Not full screen: no idle screen and no display-off of its own.
    int IsWindowed() const { return !(m_windowFlags & kWindowFullScreen); }
    // A message without fields, with the window's sink id.
    void SendNotice(uint16_t id) { Send(id); }
    uint64_t GetAvailableMemory() { return m_services.GetAvailableMemory(); }
    // Blacks the native window out, the screen surface kept.
    void BlankDisplay();
    // Over the screen as it is, until the connection comes back.
    void ShowConnectingScreen();
    int HasConnectingScreen() const { return m_connecting.Exists(); }
    int GetHouseMode() const { return m_houseMode; }
    const CHouseModeList& GetHouseModes() const { return m_houseModes; }
    bool IsOnAcPower() { return m_idle.IsOnAcPower(); }
    int GetBatteryPercent() { return m_idle.GetBatteryPercent(); }
    int GetNewMessageCount() const { return m_newMessages; }
    // What the native window's title would read.
    const std::string& GetWindowTitle() const { return m_windowTitle; }
    int IsUpdatePending() const { return m_updatePending; }
    int IsUpdateForced() const { return m_updateForced; }
    int IsStyleReloadPending() const { return m_styleReloadPending; }
    int GetAlertPlays() const { return m_alert.GetPlays(); }
    // The window answering an intercom call, or null.
    CZVWindow* GetIntercomCall() const { return m_intercomCall.get(); }
    // Leaves the screen saver or the dark display, as a touch would (an
    // alarm wakes the tablet this way); while active it counts as activity.
    void EndIdleScreen();

protected:
    // ---- seams for the pages, which their own code fills in
    // The page of a command (2003 the login page), or null while it does not
    // exist; the menu's pages start as empty pages.
    virtual CZVWindow* MakePage(int id, CZVRect rect);
    // The font page over the rectangle, or null.
    virtual CZVWindow* MakeFontPage(CZVRect rect);
    // The self-update page over the rectangle, or null.
    virtual CZVWindow* MakeUpdatePage(CZVRect rect);
    // The menu column's entries: without a menu there are none.
    virtual int HasMenuEntry(int id);
    virtual int GetSelectedMenuId();
    virtual void SelectMenuEntry(int id, int redraw);
    virtual int GetMenuWidth();
    // Called by every idle pass.
    virtual void OnIdleHook() {}
    void OnWindowDying(CZVWindow* window) override { m_overlay.Forget(window); }

private:
    // The toolkit's questions to the shell, answered from the main window.
    class Services : public CShellServices {
    public:
        explicit Services(CMainWnd& owner) : m_owner(owner) {}
        CDibDC* GetScreen() override { return m_owner.m_screen.get(); }
        bool UseAlternateFont() override { return m_owner.CMainWndBase::UseAlternateFont() != 0; }
        bool IsBoldText() override;
        bool FillSkinned(CZVDC* dc, COLORREF colour, int x, int y, int w, int h) override;
        bool IsDitherEnabled() override { return m_owner.CMainWndBase::IsDitherEnabled() != 0; }
        uint64_t GetAvailableMemory() override;
        void SendStatus() override { m_owner.SendStatus(); }
        bool TakePendingPress() override { return m_owner.m_hwnd && m_owner.m_hwnd->TakePendingPress(); }

    private:
        CMainWnd& m_owner;
    };

    void Send(uint16_t id);
    void TakeStyleColours();
    void RouteMouse(const platform::WindowEvent& event);
    void HandleKey(const platform::WindowEvent& event);
    void ApplySettings();
    void Identify(const std::string& text);
    void OnPageVariable(CZVMSG* message);
    void OnMenuAnswer(CZVMSG* message);
    void OnClock(CZVMSG* message);
    static void RefreshDateTimeLabels(CZVWindow* window);
    void OnPlaySound(CZVMSG* message);
    // The gateway's audio: a source to play, the intercom's audio (mainwnd_audio.cpp).
    void OnAudioMessage(CZVMSG* message);
    // An incoming intercom call is answered hands-free by an unseen window
    // that talks until the call ends (mainwnd_audio.cpp).
    void AnswerIntercomCall(CZVMSG* message);
    void EndIntercomCall();
    void OnRemoteKey(CZVMSG* message);
    void ShowHouseModeIcon();
    void RunPendingCommand();
    void OpenWebPage(int quiet);
    // The update page over the page area, in place of the current page.
    void ShowUpdatePage();
    // The idle pass's update check while one is pending: a forced update, or the gateway's
    // version differing from ours, opens the update page; our own version ends the check. 1 when
    // either happened, and the pass ends there.
    int CheckForUpdate(CZVServer& server);
    void LeaveWebPageNow();
    // Every kRebuildCheckInterval: a current page that asks for it is built anew.
    void RebuildRequestedPage();

    std::unique_ptr<CDibDC> m_screen;
    Services m_services;
    CShellServices* m_previousServices;
    int m_windowFlags;
    CPageCache m_cache;
    CZVWindow* m_currentPage = nullptr;
    CMainMenu* m_menu = nullptr;
    COverlayHost m_overlay{*this};
    uint32_t m_lastActivityReport;
    uint32_t m_styleReloadTick;
    uint32_t m_rebuildCheckTick;
    int m_currentCommand = -1;
    int m_menuHidden = 0;
    int m_leaveWebPending = 0;
    int m_exitRequested = 0;
    int m_destroyRequested = 0;
    int m_updatePending = 1;
    int m_updateForced = 0;
    int m_versionUnanswered = 0;
    uint32_t m_versionCheckTick = 0;
    int m_menuUnanswered = 0;
    int m_pendingCommand = 0;
    int m_webNoNavigation = 0;
    std::string m_webUrl;
    int m_houseMode = -1;
    int m_houseModeKnown = 0;  // a mode was told since start
    CHouseModeList m_houseModes;
    int m_newMessages = 0;
    int m_styleReloadPending = 0;
    int m_menuLoadFailed = 0;
    int m_menuReloadPending = 0;
    int m_buttonDown = 0;
    int m_pressTakenByOverlay = 0;
    std::string m_windowTitle;
    CAlertSound m_alert;
    CTabletSettings m_settings;
    CIdleScreen m_idle{*this, m_settings};
    CConnectingScreen m_connecting;
    uint32_t m_powerCheckTick;
    uint32_t m_statusTick;
    // The window answering an intercom call, while one lasts.
    std::unique_ptr<CZVWindow> m_intercomCall;
};

// The main window, or null early at start-up and late at shut-down.
CMainWnd* GetTabletMainWnd();
