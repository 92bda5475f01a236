#pragma once
// CTabContainer: the one tab interface that rows and columns of tabs share,
// so that pages drive a strip, a column or a pop-up row the same way.
// CTabButton: the tab itself, a bevelled button that asks its container
// whether it is the selected one (the selection lives in the container).
#include <array>
#include <cstdint>
#include <memory>

#include "widgets/buttons/zv3dbutton.h"

class CShadeEdge;
class CShadeWnd;

// Where a tab stands in its container.
enum : int {
    kTabVisible = 0,
    kTabStackedBefore = 1,
    kTabStackedAfter = 2,
    kTabHidden = 3,
    kTabCompactFirst = 4,
};

class CTabButton;

class CTabContainer : public CZVWindow {
public:
    CTabContainer(CZVWindow* parent, CZVRect rect, int styleClass) : CZVWindow(parent, rect, styleClass) {}

    virtual void RemoveAllTabs() {}
    virtual void SetLayoutMode(int mode) { m_layoutMode = mode; }
    virtual int GetLayoutMode() { return m_layoutMode; }
    virtual void SetLeftEndStyle(int style) { m_leftEnd = style; }
    virtual void SetRightEndStyle(int style) { m_rightEnd = style; }
    virtual void SetTabsPerRow(int, int) {}
    virtual void AutoSizeTabs() {}
    virtual void AddTabWindow(CZVWindow*) {}
    virtual CZVWindow* AddTab(CZVString, int) { return nullptr; }
    virtual int GetTabCount() { return 0; }
    virtual CZVWindow* GetTab(int) { return nullptr; }
    virtual int GetSelectedIndex() { return -1; }
    virtual void Select(int, int) {}
    virtual int EnsureVisible(int, int) { return 0; }
    virtual CZVWindow* GetSelectedTab() { return nullptr; }

    int GetLeftEndStyle() const { return m_leftEnd; }
    int GetRightEndStyle() const { return m_rightEnd; }
    int GetContainerCommand() const { return m_containerCommand; }
    void SetContainerCommand(int id) { m_containerCommand = id; }

protected:
    // The tab of a list of tabs at a position; null outside the list.
    static CTabButton* TabAt(const CZVObList& tabs, int index);

    int m_layoutMode = 0;
    int m_leftEnd = 0;
    int m_rightEnd = 0;
    int m_containerCommand = kNoCommand;
};

class CTabButton : public CZV3DButton {
public:
    // ownFace 1: the tab draws its own face (columns); 0: the strip draws
    // the outline and the tab only its caption and icon.
    CTabButton(CTabContainer* parent, CZVRect rect, int id, int styleClass, int ownFace);
    ~CTabButton() override;

    void GetInnerRect(CZVRect* out) override;
    int IsOnBaseSurface() override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int DrawIcon(CZVDC* dc, COLORREF colour) override;
    void GetIconRect(CZVRect* out) override;
    COLORREF GetPressedColor() override;
    void DrawFace(CZVDC* dc, int pressed, int reserved = 0) override;
    void DrawCaption(CZVDC* dc, int pressed) override;
    void ApplySkin(CDibDC*) override {}
    void RenderFace(int pressed) override;
    // Class 2 repaints all but its rightmost bevel + spacing columns, where
    // the tab meets the page.
    void RedrawBuffered() override;
    void HighlightStep(CZVDC* dc) override;
    CZV3DButton* CreateHighlightGlow() override;

    // The main menu tab's outline, open on the right: edges and the two left
    // corners, shade depth 25.
    void BuildEdgePieces(CShadeWnd* builder);
    // The tint that a class-2 tab's icon takes at a highlight countdown (100 down to 0).
    static std::array<uint8_t, 3> IconHighlightTint(int countdown);

    // Follows the finger while pressed, drawing into the given context.
    virtual int TrackPress(CZVDC* dc, int x, int y, int keys);

    // Ends a press without a click (the strip was dragged).
    void CancelPress() { DropPress(); }
    int IsSelected();
    // The face colour when selected, else the pressed colour: an unselected
    // tab looks pressed in.
    COLORREF GetNormalColor();
    CZVWindow* GetPage() override { return m_page; }
    void SetPage(CZVWindow* page) { m_page = page; }
    int GetPositionKind() const { return m_positionKind; }
    void SetPositionKind(int kind) { m_positionKind = kind; }
    int HasOwnFace() const { return m_ownFace; }
    // The largest size from start down to 9 at which the line fits the
    // inner rectangle; 8 when none does.
    int FitFontSize(int start, CZVString line);
    // The size at which every line of the caption fits.
    int ApplyCaptionFont(int start);

private:
    CTabContainer* Container() const { return static_cast<CTabContainer*>(m_parent); }
    void GetShapeRect(CZVRect* out);
    bool IsInMainMenu();
    void PaintFaceAndIcon(CZVDC* dc);
    // The compact look, composed on a tab-sized surface: a selected tab is a
    // skin piece with its four edges, an unselected one shows what lies
    // behind it (and the first tab of a column a line along its top).
    void DrawCompactFace(CZVDC* dc);
    void DrawCompactEdges(CDibDC* face, COLORREF colour);

    // The compact face's edge pieces: left, right, top, bottom and the first
    // tab's top line, made on first use in the colour they were made for.
    enum : int { kEdgeLeft, kEdgeRight, kEdgeTop, kEdgeBottom, kEdgeFirstLine, kEdgePieces };
    std::array<std::unique_ptr<CShadeEdge>, kEdgePieces> m_edgePieces;
    // Colour and size the pieces were made for.
    struct EdgeKey {
        COLORREF colour;
        int width, height;
        bool operator==(const EdgeKey&) const = default;
    };
    EdgeKey m_edgeKey{};
    EdgeKey m_lineKey{};

    int m_ownFace;
    CZVWindow* m_page = nullptr;
    int m_positionKind = kTabVisible;
};
