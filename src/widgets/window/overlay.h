#pragma once
// COverlay: the pictures that make a transient panel appear over the main
// window: the panel grows out of a line at an anchor in 250 ms, a soft
// shadow marks the anchor, and the screen on both sides of the panel darkens
// in 8 idle steps. The panel is an ordinary window that the main window
// puts first in its child list while the overlay lasts. COverlayHost holds
// the main window's one overlay. CPopupWnd is the plain pop-up panel with a
// "Done" title bar that closes the overlay.
#include <cstdint>
#include <memory>

#include "gfx/dibdc.h"
#include "widgets/window/zvwindow.h"

class CMainWndBase;

inline constexpr int kCommandPopupDone = 9900;
inline constexpr int kCommandOverlayClosedId = 10000;

class COverlay {
public:
    static constexpr int kMorphTime = 250;  // ms
    static constexpr int kDimTime = 250;    // ms
    static constexpr int kDimFrames = 8;

    COverlay(CMainWndBase* main, CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow, int slide);
    virtual ~COverlay();
    COverlay(const COverlay&) = delete;
    COverlay& operator=(const COverlay&) = delete;

    void Render();
    // One darkening step; 1 when it painted (or when busy).
    int Step(int busy);
    void Paint(CZVDC* dc);
    // Takes the panel away; an owned window is deleted in the next idle pass.
    void Close(int animate);
    // The window is going on its own: the overlay no longer shows it.
    void ForgetWindow() { m_window = nullptr; }
    void GetStripRect(CZVRect* out, int index);
    CDibDC* GetSideImage(int index, int dim);
    void SetSideImage(int index, int dim, CDibDC* surface);

    CZVWindow* GetWindow() const { return m_window; }
    CZVRect GetPanelRect() const { return m_panel; }
    CZVRect GetStartRect() const { return m_start; }
    int GetFrame() const { return m_frame; }
    int GetShadowWidth() const { return m_shadow; }
    int GetAnchorX() const { return m_anchorX; }
    int GetAnchorY() const { return m_anchorY; }

private:
    void FreePictures();
    void DrawAnchorShadow(CZVDC* dc, CZVRect strip, int side);
    int IsHorizontal() const { return m_start.w == 1; }
    int IsVertical() const { return m_start.h == 1; }

    CMainWndBase* m_main;
    CZVWindow* m_window;
    CZVRect m_panel;
    CZVRect m_start;
    std::unique_ptr<CDibDC> m_background;
    std::unique_ptr<CDibDC> m_under[2];
    std::unique_ptr<CDibDC> m_dim[2];
    int m_ownsWindow;
    uint32_t m_startTick;
    int m_frame = -1;
    int m_shadow;
    int m_anchorX;
    int m_anchorY;
};

// The main window's one overlay: what its overlay operations do.
class COverlayHost {
public:
    explicit COverlayHost(CMainWndBase& main) : m_main(main) {}
    ~COverlayHost() { Drop(); }
    COverlayHost(const COverlayHost&) = delete;
    COverlayHost& operator=(const COverlayHost&) = delete;

    CZVWindow* GetWindow() const { return m_overlay ? m_overlay->GetWindow() : nullptr; }
    COverlay* Get() const { return m_overlay.get(); }
    // Replaces the overlay by one over the window as it stands (null: none).
    void Set(CZVWindow* window);
    void Show(CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow, int slide);
    // Closes with the animation and tells the whole tree (10000); 0 when none was open.
    int Close();
    int Step(int busy) { return m_overlay ? m_overlay->Step(busy) : 0; }
    void Paint(CZVDC* dc) {
        if (m_overlay) m_overlay->Paint(dc);
    }
    // Paints the tree into the surface with the overlay's window taken out.
    void PaintWithout(CDibDC* surface);
    // Lets go of the overlay without animation (its owned window is deleted).
    void Drop();
    // A dying window that the overlay shows ends the overlay.
    void Forget(CZVWindow* window);

private:
    // Takes the overlay out first, so that whatever its closing deletes may
    // ask for the overlay again and find none.
    std::unique_ptr<COverlay> Detach();

    CMainWndBase& m_main;
    std::unique_ptr<COverlay> m_overlay;
};

class CPopupWnd : public CZVWindow {
public:
    static constexpr int kMargin = 15;
    static constexpr int kTitleHeight = 45;
    static constexpr int kDefaultButtonWidth = 180;

    CPopupWnd(CZVWindow* parent, CZVRect rect, int styleClass);

    void GetClientRect(CZVRect* out) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnCommand(int id) override;

    void AddTitleBar(CZVString caption, int buttonWidth);
};
