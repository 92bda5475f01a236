#pragma once
// CTabColumn: a vertical column of equal tabs stacked from the top, with a
// shaded edge down its right side that opens beside the selected tab so
// that the tab joins the page next to it. The main menu derives from it.
#include <memory>

#include "widgets/tabs/tabbutton.h"

class CTabColumn : public CTabContainer {
public:
    CTabColumn(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour);
    ~CTabColumn() override;

    CZVWindow* GetOpaqueAncestor() override;
    void Paint(CZVDC* dc, int withBackground) override;
    int OnCommand(int id) override;
    std::optional<CZVRect> GetOpaqueRect() override;
    // In the compact layout the tabs stand on the column's cached background.
    int PaintChildBackground(CZVDC* dc, CZVWindow* child, int x, int y, int w, int h) override;

    void RemoveAllTabs() override;
    CZVWindow* AddTab(CZVString caption, int id) override;
    int GetTabCount() override { return m_tabs.GetCount(); }
    CZVWindow* GetTab(int index) override { return TabAt(m_tabs, index); }
    int GetSelectedIndex() override { return m_selected; }
    void Select(int index, int redraw) override;
    CZVWindow* GetSelectedTab() override { return TabAt(m_tabs, m_selected); }

    // The edge beside the selected tab: open there, closed elsewhere.
    virtual void DrawSelectionMarker(CZVDC* dc);

    void SetTitle(CZVString title, int titleHeight) {
        m_title = title;
        m_titleHeight = titleHeight;
    }
    void SetTabHeight(int height) { m_tabHeight = height; }
    int GetTabHeight() const { return m_tabHeight; }

private:
    // The compact background: the skin picture under the column, a skin
    // piece over it, and for the main menu grey edges at both sides.
    void MakeCompactBackground();
    // The parts of the column that no tab covers.
    void PaintBackground(CZVDC* dc);
    // The right edge between two heights.
    void DrawTitle(CZVDC* dc, int top, int bottom);
    // One concave corner of the selection marker.
    void DrawMarkerCorner(CZVDC* dc, int kind, int x, int y, int size);

    int m_selected = 0;
    int m_tabHeight = 0;
    int m_titleHeight = 0;
    CZVString m_title;
    CZVObList m_tabs;
    std::unique_ptr<CDibDC> m_background;
};
