#pragma once
// CPopTabRow: a tab row for more tabs than fit. It wraps a tab strip and
// adds either two arrows that page the strip, or a drop-down button that
// slides up a radio panel listing every tab to pick from. To its owner it is an
// ordinary tab container: the tab interface goes to the inner strip.
#include "widgets/tabs/tabstrip.h"

class CDibDC;
class CRRegionRadio;

class CPopTabRow : public CTabContainer, public CSlideCallback {
public:
    // Commands inside the row.
    enum : int {
        kPageLeft = 9000,
        kPageRight = 9001,
        kStripChanged = 9002,
        kPanelClosed = 9003,
        kPanelPicked = 9004,
        kDropDown = 9005,
    };

    CPopTabRow(CZVWindow* parent, CZVRect rect, int styleClass, CZVWindow* owner, COLORREF backColour, int tabsPerRow,
               int count, CZVString unused, int dropDown);
    ~CPopTabRow() override;

    void SetFaceColor(COLORREF colour) override;
    void Paint(CZVDC* dc, int withBackground) override;
    int OnChildCommand(int id, int count) override;
    int OnCommand(int id) override;
    void OnShow(int show) override;

    void RemoveAllTabs() override { m_strip->RemoveAllTabs(); }
    void SetLayoutMode(int mode) override { m_strip->SetLayoutMode(mode); }
    int GetLayoutMode() override { return m_strip->GetLayoutMode(); }
    void SetTabsPerRow(int n, int count) override { m_strip->SetTabsPerRow(n, count); }
    void AutoSizeTabs() override { m_strip->AutoSizeTabs(); }
    void AddTabWindow(CZVWindow* tab) override { m_strip->AddTabWindow(tab); }
    CZVWindow* AddTab(CZVString caption, int id) override { return m_strip->AddTab(caption, id); }
    int GetTabCount() override { return m_strip->GetTabCount(); }
    CZVWindow* GetTab(int index) override { return m_strip->GetTab(index); }
    int GetSelectedIndex() override { return m_strip->GetSelectedIndex(); }
    void Select(int index, int redraw) override;
    int EnsureVisible(int index, int animate) override { return m_strip->EnsureVisible(index, animate); }
    CZVWindow* GetSelectedTab() override { return m_strip->GetSelectedTab(); }

    virtual void SetBackColorBoth(COLORREF colour);

    // The compact drop-down moves the screen in parts: 0 and 1 while it
    // opens (the rows above the selected one, then those below), 2 and 3
    // while it closes.
    enum : int { kOpenAbove = 0, kOpenBelow = 1, kCloseBelow = 2, kCloseAbove = 3 };
    struct SlideShift {
        int dy;      // the strip's vertical shift
        int offset;  // the strip's horizontal offset
    };
    // Where the strip stands after `moved` pixels of a part, with the rows
    // above and below the selected row and the strip's whole travel.
    static SlideShift SlideStepShift(int part, int moved, int above, int below, int stripDistance);
    // Moves and redraws the strip along a compact slide; the part is the argument.
    void OnSlideStep(CZVDC* dc, int moved, int distance, int part) override;

    CTabStrip* GetStrip() const { return m_strip; }
    CZV3DButton* GetLeftArrow() const { return m_left; }
    CZV3DButton* GetRightArrow() const { return m_right; }
    CZV3DButton* GetDropDownButton() const { return m_dropDown; }
    int IsOpen() const { return m_open; }
    CRRegionRadio* GetPanel() const { return m_panel; }
    // The panel's grid for the strip's tabs: columns per row and rows.
    void GetPanelGrid(int* perRow, int* rows);
    void UpdateArrows();
    // Opens (open 1) or closes the drop-down panel; a close towards index
    // leaves that tab's page in view.
    void ShowTabPage(int open, int index);

private:
    void ConfigureButton(CZV3DButton* button);
    // The shaded line along the row: below it in layout mode 1, else above.
    void DrawFrameLine(CZVDC* dc);
    void SetButtonEnabled(CZV3DButton* button, int enabled);
    // Takes the panel away at once, without a slide.
    void DropPanel();
    // The compact slides: the rows above the selected row, then those below
    // (two 125 ms parts when both exist, else one eased 250 ms slide).
    void SlideCompact(bool open, CDibDC* aboveRows, CDibDC* belowRows);
    // The rows above and below the selected tab's row in the panel.
    void MeasureRows(int selected, int perRow, int rows);

    int m_open = 0;
    CRRegionRadio* m_panel = nullptr;
    CDibDC* m_captured = nullptr;
    int m_panelX = 0;
    CTabStrip* m_strip = nullptr;
    CZV3DButton* m_left = nullptr;
    CZV3DButton* m_right = nullptr;
    CZV3DButton* m_dropDown = nullptr;
    int m_arrowsUpdated = 0;
    int m_rowsAbove = 0;
    int m_rowsBelow = 0;
    int m_stripY = 0;
    int m_stripDistance = 0;
};
