#pragma once
// CPageBase: the frame every main-menu page shares: the area right of the
// menu, the page id reported to the gateway whenever the page is shown, the
// rebuild flag the main window watches, the geometry of tabs, side list and
// content, and a centred translucent status box ("Connecting...").
// CSubPanel: the small base of the pool pages' panels, holding the model.
#include <memory>

#include "core/messages/shellmessages.h"
#include "gfx/dibdc.h"
#include "widgets/window/zvwindow.h"

class CBasinSetup;
class CMainMenu;
class CRRegion;
class CZV3DButton;
class CZVLabel;

class CPageBase : public CZVWindow {
public:
    static constexpr int kStatusWidth = 400;
    static constexpr int kStatusHeight = 150;
    static constexpr int kStatusFontSize = 24;
    static constexpr int kStatusBlendLevel = 3;  // of 8
    static constexpr COLORREF kDefaultStatusColour = 255;

    CPageBase(CZVWindow* parent, CZVRect rect);
    ~CPageBase() override;

    CZVWindow* GetPage() override { return this; }
    int IsOnBaseSurface() override { return 1; }
    void Paint(CZVDC* dc, int withBackground) override;
    void OnShow(int show) override;
    // The page's top edge continues the selected main-menu entry.
    virtual int JoinsMenuTab() { return m_joinsMenuTab; }
    // Pages delete their content and build the view of the selected tab.
    virtual void Rebuild() {}

    // ZVM_UI_PAGESELECTED {page id - 5000, selected tab or -1}.
    void SendPageShown();

    // ---- geometry
    void GetTabsRect(CZVRect* out);
    void GetSideListRect(CZVRect* out);
    using CZVWindow::GetContentRect;
    void GetContentRect(CZVRect* out, CZVWindow* tabs);
    void InsetContentRect(CZVRect* rect);
    int HasTabs();
    static int GetPageMargin();

    // ---- tab controls, added as children; the page keeps the tab control
    // with SetTabControl. No control for a count of 0.
    CZVWindow* CreateTabs(int count, CZVString title);
    // One tab that does nothing: "Loading Please Wait...".
    CZVWindow* CreateLoadingTabs();
    // The side list, kept as the page's side list.
    CZVWindow* CreateSideList();

    // Removes and deletes every child but the tab control and the side list.
    void DeleteContent();

    // ---- status box
    void SetStatus(int show, int redraw, CZVString text, COLORREF colour);
    // The box again over what the context shows.
    void RedrawStatus(CZVDC* dc);
    int IsStatusShown() const { return m_statusShown; }
    CZVString GetStatusText() const { return m_statusText; }
    COLORREF GetStatusColour() const { return m_statusColour; }
    CZVRect GetStatusRect();

    int GetPageId() const { return m_pageId; }
    void SetPageId(int id) { m_pageId = id; }
    int IsRebuildRequested() const { return m_rebuild; }
    void RequestRebuild(int on) { m_rebuild = on; }
    CZVWindow* GetTabControl() const { return m_tabControl; }
    void SetTabControl(CZVWindow* tabs) { m_tabControl = tabs; }
    CZVWindow* GetSideList() const { return m_sideList; }
    void SetSideList(CZVWindow* list) {
        m_sideList = list;
        m_hasSideList = list != nullptr;
    }
    // Set before the tabs are made, so that the tab row leaves room for a
    // side list made afterwards.
    void SetHasSideList(int on) { m_hasSideList = on; }
    void SetTabsFloat(int on) { m_tabsFloat = on; }

protected:
    int m_joinsMenuTab = 1;

private:
    void DrawStatus(CZVDC* dc);
    // The back colour of a tab row: that of the menu's tail when the menu
    // fills its column, else none.
    static COLORREF TabRowBackColour(CMainMenu* menu);
    // Hidden for good when the tabs float in a compact-style layout.
    void HideIfFloating(CZVWindow* tabs, int floatsHere);

    int m_statusShown = 0;
    std::unique_ptr<CDibDC> m_statusSurface;
    CZVString m_statusText{"Connecting..."};
    COLORREF m_statusColour = kDefaultStatusColour;
    CZVWindow* m_tabControl = nullptr;
    CZVWindow* m_sideList = nullptr;
    int m_rebuild = 0;
    int m_tabsFloat = 0;
    int m_hasSideList = 0;
    int m_pageId = 0x7FFF;
};

class CSubPanel : public CZVWindow {
public:
    CSubPanel(CZVWindow* parent, CZVRect rect, int styleClass, CBasinSetup* model)
        : CZVWindow(parent, rect, styleClass), m_model(model) {}

    // The pool's status changed.
    virtual void OnStatusUpdate() {}
    virtual void OnSubPageUpdate(CZVString /*text*/, int, int, int) {}

    CBasinSetup* GetModel() const { return m_model; }

    // A label of the parent's class that looks like a button: raised, its text wrapped and
    // centred; a font size of 0 picks one by the screen's height.
    static CZVLabel* CreatePanelButton(CZVWindow* parent, CZVRect rect, CZVString text, int fontSize);
    // A rounded raised panel, added to the parent, a shade darker than the parent when it would
    // have the parent's face, with its caption in the panel's top left corner (or halfway down,
    // centred) in a dark shade of the face.
    static CRRegion* CreateCaptionPanel(CZVWindow* parent, CZVRect rect, CZVString caption, int centreCaption);
    // The style's highlight colour on the button, or the parent's face.
    static void SetButtonHighlight(CZVWindow* button, int highlighted, int redraw);
    // A round button that repeats its press id while held, and sends the cancel id on release.
    static void SetupRepeatButton(CZV3DButton* button, int pressId, int cancelId);

protected:
    CBasinSetup* m_model;
};
