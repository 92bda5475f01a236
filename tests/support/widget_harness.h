#pragma once
// A widget tree under test: a virtual clock, an unconnected connection
// manager (or one the test gives) with the style object and the icon cache
// on it and the toolkit's services installed, a screen surface that window drawing
// contexts paint into, a headless native window and a root window that
// stands in for the shell's main window. Events queued on the headless
// window are routed into the tree as the shell's main loop does.
#include <memory>
#include <vector>

#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/shellservices.h"
#include "platform/keys.h"
#include "platform/tabletwindow.h"
#include "support/golden.h"
#include "support/virtual_clock.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/toolkit.h"

namespace testsupport {

// The shell's main window as far as the toolkit sees it; records what the
// toolkit asks of the shell.
class TestMainWnd : public CMainWndBase {
public:
    TestMainWnd(int width, int height, platform::TabletWindow* native)
        : CMainWndBase(CZVRect(0, 0, width, height), native) {}

    CZVWindow* GetOverlayWindow() override { return overlay; }
    void SetOverlayWindow(CZVWindow* window) override { overlay = window; }
    void ShowOverlay(CZVWindow* window, CZVRect, int, int, int, int) override { overlay = window; }
    void CloseOverlay() override;
    void PaintWithoutOverlay(CDibDC* surface) override { Paint(surface, 1); }
    void FlushCaches() override { ++cacheFlushes; }
    // Every command that reaches the root.
    int OnCommand(int id) override;

    CZVWindow* overlay = nullptr;
    int cacheFlushes = 0;
    std::vector<int> commands;
};

// Puts back the program-wide values that a test's pages may have changed for
// the rest of the process: the gateway's clock offset, taken on connecting,
// and the smooth-label default, switched on by the radio's page.
void ForgetProgramWideValues();

class WidgetHarness : public CShellServices {
public:
    explicit WidgetHarness(int width = 320, int height = 240);
    // The tree over the test's connection manager, which must outlive it.
    WidgetHarness(CZVServer& server, int width, int height);
    ~WidgetHarness() override;
    WidgetHarness(const WidgetHarness&) = delete;
    WidgetHarness& operator=(const WidgetHarness&) = delete;

    VirtualClock& Clock() { return m_clock; }
    CZVServer& Server() { return *m_serverInUse; }
    CIconCache& Icons() { return *m_icons; }
    CSetServer& Style() { return *m_style; }
    platform::HeadlessWindow& Native() { return m_native; }
    TestMainWnd& Root() { return *m_root; }
    CDibDC& Screen() { return *m_screen; }

    // Paints the whole tree into the screen surface and shows it.
    void PaintAll();
    // Routes every queued event into the tree; returns how many were taken.
    int PumpEvents();
    void Press(int x, int y);
    void Release(int x, int y);
    void Tap(int x, int y) {
        Press(x, y);
        Release(x, y);
    }
    // Moves the pointer to the point with these buttons held (the left one by default).
    void Move(int x, int y, int keys = platform::MK_LBUTTON);
    // Lets ms pass on the virtual clock with an idle pass after every step, as the main loop does.
    void RunFor(int ms, int step = 10);
    // One pass of the main loop's idle call.
    int Idle() { return m_root->OnIdle(0); }
    Image565 Capture();
    uint16_t PixelAt(int x, int y) { return *m_screen->GetPixelAddress(x, y); }

    CDibDC* GetScreen() override { return m_screen.get(); }

private:
    WidgetHarness(std::unique_ptr<CZVServer> own, CZVServer* given, int width, int height);

    VirtualClock m_clock;
    std::unique_ptr<CZVServer> m_server;
    CZVServer* m_serverInUse;
    std::unique_ptr<CSetServer> m_style;
    std::unique_ptr<CIconCache> m_icons;
    std::unique_ptr<CToolkitServices> m_services;
    std::unique_ptr<CDibDC> m_screen;
    CShellServices* m_previousShell;
    platform::HeadlessWindow m_native;
    std::unique_ptr<TestMainWnd> m_root;
};

}  // namespace testsupport
