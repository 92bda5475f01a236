#pragma once
// CTRRegion: a rounded, raised panel with a row of tabs along its top edge,
// each tab naming a page that the panel's owner shows. The row is a plain
// tab strip when the tabs fit, else a pop-up tab row with arrows.
#include "widgets/regions/rregion.h"
#include "widgets/tabs/tabstrip.h"

// One tab to build: its caption, command and page.
struct CTabDescriptor {
    CTabDescriptor(CZVString caption, int id, CZVWindow* page) : caption(caption), id(id), page(page) {}
    CZVString caption;
    int id;
    CZVWindow* page;
};

class CTRRegion : public CRRegion {
public:
    // A face colour of 0 keeps the style's.
    CTRRegion(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour, COLORREF faceColour);
    CTRRegion(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour);

    void DrawBackground(CZVDC* dc) override;
    // Straight to the parent's OnCommand.
    int OnCommand(int id) override;
    std::optional<CZVRect> GetOpaqueRect() override;

    // The height of the band that holds the tabs and that the body starts below; set before
    // the tabs are built. By default the style class gives it.
    void SetTabBandHeight(int height) { m_topInset = height; }
    // The tab row, built empty on first use.
    CTabContainer* GetTabs();
    // Replaces the tab row.
    void SetTabCount(int count, int forceStrip, CZVObList* descriptors);
    // Builds the row from the descriptors, which it takes and deletes.
    void BuildTabs(int count, int forceStrip, CZVObList* descriptors);

private:
    CTabContainer* m_tabs = nullptr;
};
