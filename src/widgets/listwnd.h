#pragma once
// CListWnd: the scrolling touch list of the tablet's pages. Rows are drawn
// by the list itself (subclasses draw their content), a press selects, a
// drag scrolls with the finger, a release while moving flicks, a long press
// turns into a drag selection, and a scroll bar appears beside the list when
// the rows are taller than the view. With skins on, the list fades between
// its skinned resting look and a plain look that scrolls fast.
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "widgets/zvwindow.h"

class CDibDC;
class CZVScrollBar;

// One row; the list owns it.
class CListItem {
public:
    explicit CListItem(int index, void* data = nullptr) : m_index(index), m_data(data), m_top(index * 10), m_bottom(m_top + 10) {}
    virtual ~CListItem() = default;
    CListItem(const CListItem&) = delete;
    CListItem& operator=(const CListItem&) = delete;

    // Non-zero: the row draws itself and takes touches through the next three.
    virtual int IsCustom() { return 0; }
    virtual void Draw(CZVDC*, int /*fontSize*/, int /*inset*/, CZVRect /*row*/) {}
    // Non-zero: the press is consumed.
    virtual int OnLButtonDown(CZVDC*, CZVRect, int /*fontSize*/, int /*x*/) { return 0; }
    // Non-zero: a command id for the list's parent.
    virtual int OnLButtonUp(CZVDC*, CZVRect, int /*fontSize*/, int /*x*/) { return 0; }

    int m_index;
    void* m_data;
    int m_showsRowButtons = 1;
    uint8_t m_buttonMask = 0xFF;
    // Content y of the row's edges before scrolling; bottom is the next top.
    int m_top;
    int m_bottom;
};

class CListWnd : public CZVWindow {
public:
    static constexpr int kFadeLevels = 8;

    CListWnd(CZVWindow* parent, CZVRect rect, int styleClass, int commandId);
    ~CListWnd() override;

    // ---- window operations
    void RedrawBuffered() override;
    void Paint(CZVDC* dc, int withBackground) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnScrollFade(int fadeIn) override;
    void OnScroll(CZVDC* dc, int position) override;
    int OnIdle(int busy) override;
    void OnKeyUp(int key, int flags) override;
    void OnShow(int show) override;
    std::optional<CZVRect> GetOpaqueRect() override;

    // ---- added by the list
    virtual int IsSelectable(CListItem*) { return 1; }
    // Width kept free at the row's right end.
    virtual int GetReservedWidth(CListItem*) { return 0; }
    virtual int GetItemHeight(int top, CListItem* row);
    virtual int GetCount() { return static_cast<int>(m_items.size()); }
    // A selection by program: no command.
    virtual void Select(CListItem* row, int redraw);
    virtual int GetSelectedIndex() { return m_selected ? m_selected->m_index : -1; }
    virtual void* GetSelectedData() { return m_selected ? m_selected->m_data : nullptr; }
    virtual void DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel);
    virtual void DrawHeader(CZVDC*) {}
    virtual void DrawRows(CZVDC* dc);
    // The row's content; top and bottom are window y.
    virtual void DrawRow(CZVDC*, CListItem*, int /*top*/, int /*bottom*/) {}
    // Non-zero: the band that scrolled into view was painted here.
    virtual int DrawBand(CZVDC*, int /*top*/, int /*bottom*/) { return 0; }
    virtual void DrawItems(CZVDC* dc, int first, int last);
    virtual void DrawItem(CListItem* row, CZVDC* dc, int top, int bottom, int showPressed);
    virtual void UpdateScrollBar(CZVDC* dc, int redraw);
    virtual void RemoveItem(CListItem* row);
    virtual void RemoveAll(int redraw);
    virtual int GetFirstVisibleItem();
    virtual int GetLastVisibleItem();
    virtual void GetItemRect(CZVRect* out, CListItem* row);
    virtual void GetItemRectAt(CZVRect* out, int index);
    // Stacks the rows from content y 0; the total height.
    virtual int LayoutItems();
    virtual void RemoveItemAt(int index);
    virtual void RequestLayout() { m_layoutPending = 1; }

    // ---- non-virtual
    void SetRowHeight(int h);
    void SetSelectedRowHeight(int h);
    void SetUniformRowHeight(int on);
    void SetEmptyText(CZVString text, int fontSize);
    void SwapItems(int a, int b);
    void SetScrollPos(int pos) { m_scrollPos = pos; }
    int GetScrollPos() const { return m_scrollPos; }
    // Scrolls so that the row is wholly in view; the new position, 0 when
    // nothing moved.
    int ScrollToItem(int index, int redraw);
    void SelectIndex(int index, int redraw) { Select(GetItemAt(index), redraw); }
    CListItem* GetItemAt(int index);
    int IsSelected(CListItem* row) const { return row && row == m_selected; }
    void* GetItemData(int index);
    CListItem* ItemFromPoint(int x, int y);
    int IsDragging() const { return m_dragging; }
    // Repaints the band top..bottom off screen and copies it once.
    void RedrawRange(int top, int bottom);
    // A glass-shaded row background of the list's inner width; null when it
    // cannot be made.
    CDibDC* GetRowShade(COLORREF colour, int level, int height);
    void SelectTextFont(CZVDC* dc);

    int GetCommandId() const { return m_commandId; }
    int GetRowHeight() const { return m_rowHeight; }
    int GetSelectedRowHeight() const { return m_selectedRowHeight; }
    int GetTextOffset() const { return m_textOffset; }
    int GetHeaderHeight() const { return m_headerHeight; }
    void SetHeaderHeight(int h) { m_headerHeight = h; }
    void SetDoubleClickId(int id) { m_doubleClickId = id; }
    void SetShadedSelection(int on) { m_shadedSelection = on; }
    int HasShadedSelection() const { return m_shadedSelection; }
    int GetFadeLevel() const { return m_fadeLevel; }
    int GetDragState() const { return m_dragState; }
    int GetFlickVelocity() const { return m_flickVelocity; }
    int IsCommandPending() const { return m_commandPending; }
    CListItem* GetSelected() const { return m_selected; }
    CZVScrollBar* GetListScrollBar() const;

protected:
    // Adds a row at the end (its index is its position) and asks for a layout.
    CListItem* AppendItem(std::unique_ptr<CListItem> row);
    // y of the first row's top edge in the window.
    int RowsTop() const { return std::max(m_headerHeight, GetBevel()); }
    int VisiblePart() const { return m_height - 2 * GetBevel() - m_headerHeight; }

    int m_rowButtonInset = 0;
    int m_rowFontSize;
    int m_uniformRowHeight = 0;
    int m_fadeCacheEnabled = 1;

private:
    enum DragState { kUndecided = 0, kScrolling = 1, kDragSelect = 2 };
    struct Sample {
        int displacement;
        uint32_t ms;
    };
    struct RowShade {
        COLORREF colour;
        int level;
        int height;
        std::unique_ptr<CDibDC> image;
    };

    int IndexOf(const CListItem* row) const;
    void Renumber();
    // The custom row's own press on the selected row; 1 when it took it.
    int PressSelectedRow(int x, int y);
    // Selects a row that a press hit and repaints what changed.
    void SelectPressed(CListItem* hit);
    // Sends the list's command now; false when the list is gone.
    bool SendCommandNow(bool hideSelection);
    int ComputeFlickVelocity(int y);
    int StepFlick();
    void FlashSelection();
    int StepFade();
    void DropFadeImages();
    void Play(const char* sound);

    int m_commandId;
    int m_commandPending = 0;
    std::vector<std::unique_ptr<CListItem>> m_items;
    std::vector<RowShade> m_shades;
    int m_headerHeight = 0;
    int m_rowHeight;
    int m_selectedRowHeight;
    int m_textOffset = 0;
    int m_scrollPos = 0;
    int m_layoutPending = 1;
    int m_requestLayout = 1;
    CListItem* m_selected = nullptr;
    int m_dragging = 0;
    int m_pressX = 0;
    int m_lastY = 0;
    int m_pressY = 0;
    int m_dragState = kUndecided;
    std::deque<Sample> m_moves;
    uint32_t m_pressTick;
    int m_flickVelocity = 0;
    uint32_t m_flickStartTick;
    int m_flickStartPos = 0;
    int m_emptyFontSize = 10;
    CZVString m_emptyText;
    int m_shadedSelection = 1;
    int m_doubleClickId = 0;
    uint32_t m_lastClickTick;
    int m_clickArmed = 0;
    uint32_t m_fadeTick;
    int m_fadeStartLevel = 0;
    int m_fadeLevel = 0;
    int m_drawnFadeLevel = 0;
    int m_fadeDirection = 0;
    std::array<std::unique_ptr<CDibDC>, kFadeLevels> m_fadeImages;
    // Cleared when the list goes; a callback that may delete the list
    // holds a copy and looks at it afterwards.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
