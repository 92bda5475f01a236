#pragma once
// CScrollPanel: a panel of ordinary child windows (buttons, labels) that
// scroll together under the finger with the touch list's drag and flick.
// It shows no rows; its children are laid out and drawn inside its bevel,
// and a scroll bar appears once a child reaches below the view.
#include <memory>
#include <optional>

#include "widgets/lists/listwnd.h"

class CDibDC;

class CScrollPanel : public CListWnd {
public:
    CScrollPanel(CZVWindow* parent, CZVRect rect);
    ~CScrollPanel() override;

    using CZVWindow::GetClipRect;
    // The area inside the bevel.
    void GetClientRect(CZVRect* out) override;
    // Descendants are clipped to the area inside the bevel.
    int GetClipRect(CZVWindow* w, CZVRect* out) override;
    // A child that reaches below the view brings the scroll bar, whose range
    // ends at the deepest child's bottom.
    void AddChild(CZVWindow* child) override;
    void RedrawBuffered() override;
    void Paint(CZVDC* dc, int withBackground) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    // Moves every child by the change of position.
    void OnScroll(CZVDC* dc, int position) override;
    std::optional<CZVRect> GetOpaqueRect() override;

    // Deletes the children and the scroll bar: the panel is empty and at
    // its top again.
    void ResetScroll();
    // The deepest child's bottom edge, in content y before scrolling.
    int GetContentBottom() const { return m_contentBottom; }

private:
    // The panel's background and bevel, drawn once for its current size.
    CDibDC* Background();
    bool InsideBevel(int x, int y);

    std::unique_ptr<CDibDC> m_background;
    int m_showScrollBar = 0;
    int m_contentBottom = -1;
};
