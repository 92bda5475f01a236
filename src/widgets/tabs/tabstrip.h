#pragma once
// CTabStrip: a horizontal row of tabs that may hold more tabs than fit. It
// shows a run of equal tabs with the others stacked as slivers at the
// sides, follows a dragging finger, snaps to whole tabs with an eased
// slide, scrolls a selected tab into view and draws the tab outlines.
#include <cstdint>
#include <memory>

#include "widgets/tabs/menucolumn.h"
#include "widgets/tabs/tabbutton.h"

class CShadeWnd;
class CButtonIcon;

class CTabStrip : public CTabContainer {
public:
    CTabStrip(CZVWindow* parent, CZVRect rect, int styleClass, CZVWindow* owner, COLORREF backColour);
    ~CTabStrip() override;

    CZVWindow* GetOpaqueAncestor() override { return m_owner; }
    void Paint(CZVDC* dc, int withBackground) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnCommand(int id) override;
    int OnIdle(int busy) override;
    std::optional<CZVRect> GetOpaqueRect() override;

    void RemoveAllTabs() override;
    void SetTabsPerRow(int n, int count) override;
    void AutoSizeTabs() override;
    void AddTabWindow(CZVWindow* tab) override;
    CZVWindow* AddTab(CZVString caption, int id) override;
    int GetTabCount() override { return m_tabs.GetCount(); }
    CZVWindow* GetTab(int index) override { return TabAt(m_tabs, index); }
    int GetSelectedIndex() override { return m_selected == -1 ? 0 : m_selected; }
    void Select(int index, int redraw) override;
    int EnsureVisible(int index, int animate) override;
    CZVWindow* GetSelectedTab() override { return TabAt(m_tabs, m_selected); }

    virtual int IsSelected(CTabButton* tab) { return tab && tab == GetSelectedTab(); }
    virtual CTabButton* GetTabButton(int index) { return TabAt(m_tabs, index); }

    void SetFontStyle(int tabWidth) { m_tabWidth = tabWidth; }
    int GetTabWidth() const { return m_tabWidth; }
    void ClearPressed() { m_selected = -1; }
    int GetFirstVisible() const { return m_first; }
    void SetFirstVisible(int first);
    void SetStacked(int stacked) { m_stacked = stacked; }
    void SetNotifyCommand(int id) { m_notifyId = id; }
    void SetLayoutDirty() { m_layoutDirty = 1; }
    void PageLeft();
    void PageRight();
    // Tabs shown in full; at least 1, at most the tab count.
    int GetVisibleCount();
    int GetTabsAfter() { return GetTabCount() - m_first - GetVisibleCount(); }
    // Pixels the row moves when it scrolls by one tab; at least 1.
    int GetStepWidth();
    // Offset of the selected tab's page from the first visible tab.
    int GetPageOffset();
    int IsSliding() const { return m_slideSurface != nullptr; }
    int IsDragging() const { return m_dragging; }
    int GetTargetFirst() const { return m_targetFirst; }
    int GetSlideDuration() const { return m_duration; }
    int GetSlideDistance() const { return m_distance; }
    // Lays the tabs out shifted by d pixels and draws the strip through the
    // slide surface into dc.
    void DragLayout(CZVDC* dc, int d, int clamp, int force);
    void SlideBy(int n);
    // Ends a drawing at an offset that others drove (DragLayout): the
    // slide surface goes and the tabs lie in their resting places.
    void DropSlideSurface();

private:
    void Layout();
    // Places the tabs with `run` tabs shown from `runStart`, the first and
    // last of them with the given widths.
    void PlaceTabs(int runStart, int runCount, int firstWidth, int lastWidth, int full, int sliver);
    void MakeSlideSurface();
    void FinishSlide(int redraw);
    void PaintFrame(CDibDC* frame);
    // The compact look: the skinned background, the selected tab's skin
    // piece with its edges, and arrows where more tabs lie beside the run.
    void PaintCompactFrame(CDibDC* frame);
    void MakeCompactBackground();
    void DrawCompactSelection(CDibDC* frame);
    void DrawCompactArrows(CDibDC* frame);
    // The strip's own copy of a cached icon, made on first use.
    static CButtonIcon* ArrowIcon(std::unique_ptr<CButtonIcon>* own, const char* name);
    // The tab's outline, drawn by shade shapes into the strip-sized frame.
    void DrawOutline(CDibDC* frame, CTabButton* tab);
    // The line along the page with its opening under the selected tab, and
    // its joint with the main menu.
    void DrawBaseLine(CDibDC* frame, CMenuColumn* menu);
    void JoinMenu(CDibDC* frame, CMenuColumn* menu, int selectedFirst);
    void SetUpBuilder(CShadeWnd* builder, COLORREF face, COLORREF back);
    static int MenuFillsColumn();
    // The compact look is drawn unless the row is flat (layout mode 1).
    bool IsCompactLook();
    int SlideStepWidth();

    CZVWindow* m_owner;
    int m_selected = 0;
    int m_first = 0;
    int m_tabWidth = 0;
    int m_stacked = 1;
    CZVObList m_tabs;
    int m_layoutDirty = 1;
    CDibDC* m_slideSurface = nullptr;
    int m_pressX = 0;
    int m_pressY = 0;
    int m_dragging = 0;
    uint32_t m_slideStart;
    int m_duration = 250;
    int m_restartClock = 1;
    int m_slideBase = 0;
    int m_slideOffset = 0;
    int m_distance = 0;
    int m_targetFirst = 0;
    int m_notifyId = -1;
    std::unique_ptr<CDibDC> m_background;
    ZVPoint m_backgroundAt;  // the screen position the background was made for
    std::unique_ptr<CButtonIcon> m_leftArrow;
    std::unique_ptr<CButtonIcon> m_rightArrow;
};
