#pragma once
// What the toolkit needs of the tablet's main window: the root of the window
// tree and the one owner of the native window. The shell's main window
// derives from this class and supplies the overlay, the page cache and the
// menu; the flags, the focus window, the cursor and the routing of window
// events into the tree are kept here.
#include <vector>

#include "platform/tabletwindow.h"
#include "widgets/window/zvwindow.h"

class CDibDC;

// Display-settings flags the toolkit reads.
enum : int {
    kDisplayBlend = 0x1,
    kDisplayAlternateFont = 0x8,
    kDisplayNoDither = 0x20,
    kDisplaySlowTransition = 0x100,
    kDisplayNoBlend = 0x400,
};

// The layout type (0..5) of a main window of this size.
int LayoutTypeOf(int width, int height);

class CMainWndBase : public CZVWindow {
public:
    // The root window over `native` (which may be null in tests); it becomes
    // the program's main window until it is destroyed.
    CMainWndBase(CZVRect rect, platform::TabletWindow* native);
    ~CMainWndBase() override;

    // ---- supplied by the shell
    virtual CZVWindow* GetOverlayWindow() = 0;
    virtual void SetOverlayWindow(CZVWindow* window) = 0;
    virtual void ShowOverlay(CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow, int slide) = 0;
    virtual void CloseOverlay() = 0;
    virtual void PaintWithoutOverlay(CDibDC* surface) = 0;
    // Marks the style for reloading and empties the caches, so that the next
    // idle pass rebuilds the pages.
    virtual void FlushCaches() = 0;
    virtual CZVWindow* GetMainMenu() { return nullptr; }

    // 1 while the screen saver or display-off state lasts, while an overlay
    // is open and the window lies outside it, and while the modal flag is set.
    virtual int IsInputBlocked(CZVWindow* window);
    // Whether the main window, if there is one, blocks input to the window.
    static bool InputBlockedFor(CZVWindow* window);
    virtual int GetLayoutType() { return LayoutTypeOf(m_width, m_height); }

    int IsSuspended() const { return m_suspended; }
    void SetSuspended(int suspended) { m_suspended = suspended; }
    int GetModal() const { return m_modal; }
    void SetModal(int modal) { m_modal = modal; }
    int GetOffscreenPaint() const { return m_offscreenPaint; }
    void SetOffscreenPaint(int on) { m_offscreenPaint = on; }
    int GetDisplayFlags() const { return m_displayFlags; }
    void SetDisplayFlags(int flags) { m_displayFlags = flags; }
    int IsBlendingSuppressed() const;
    int IsBlendedDrawing() const;
    int UseAlternateFont() const { return (m_displayFlags & kDisplayAlternateFont) != 0; }
    int IsDitherEnabled() const { return (m_displayFlags & kDisplayNoDither) == 0; }
    // How long a whole page takes to slide in: 200 ms, or 400 ms when the
    // slow transitions are chosen.
    unsigned GetPageSlideDuration() const { return (m_displayFlags & kDisplaySlowTransition) ? 400 : 200; }

    CZVWindow* GetFocusWindow() const { return m_focus; }
    void SetFocusWindow(CZVWindow* window) { m_focus = window; }
    // Shows a cursor, keeping the one shown before for PopCursor.
    void PushCursor(platform::CursorShape cursor);
    void PopCursor();

    // Routes one event of the native window: mouse to the tree's root, keys
    // to the focus window. 1 when a window took it.
    int DispatchEvent(const platform::WindowEvent& event);

    // A window is being destroyed: nothing may keep pointing at it.
    void ForgetWindow(CZVWindow* window);

    // Takes the window out of the tree now and deletes it at the start of
    // the next idle pass, so that code still running on it (the handler of
    // its own button, a message it handles) finishes first.
    void DeleteLater(CZVWindow* window);
    // Deletes the windows given to DeleteLater; 1 when there were any.
    int DeleteDyingWindows();

protected:
    // A window of the tree is being destroyed: the shell lets go of it.
    virtual void OnWindowDying(CZVWindow*) {}

private:
    std::vector<CZVWindow*> m_dying;
    int m_suspended = 0;
    int m_modal = 0;
    int m_offscreenPaint = 0;
    int m_displayFlags = 0;
    CZVWindow* m_focus = nullptr;
    platform::CursorShape m_cursor = platform::CursorShape::Arrow;
    platform::CursorShape m_savedCursor = platform::CursorShape::Arrow;
    bool m_cursorPushed = false;
};

// The main window, or null early at start-up and late at shut-down.
CMainWndBase* GetMainWnd();
