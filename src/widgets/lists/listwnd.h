#pragma once
// CListWnd: the scrolling touch list of the tablet's pages. Rows are drawn
// by the list itself (subclasses draw their content), a press selects, a
// drag scrolls with the finger, a release while moving flicks, a long press
// turns into a drag selection, and a scroll bar appears beside the list when
// the rows are taller than the view. With skins on, the list fades between
// its skinned resting look and a plain look that scrolls fast. The selected
// row may carry row buttons at its right end, and a row can be edited in
// place with a text field laid over it.
#include <cstdint>
#include <memory>
#include <vector>

#include "widgets/lists/listfade.h"
#include "widgets/lists/listflick.h"
#include "widgets/lists/listrowbutton.h"
#include "widgets/window/zvwindow.h"

class CDibDC;
class CSoundClip;
class CZVEdit;
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
    // Non-zero: a command id for the list's parent (kNoCommand: nothing).
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
    // The in-place edit's field sends it when its text was confirmed.
    static constexpr int kEditCommitCommand = 600;

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
    // 600 marks the in-place edit for ending in the next idle step; every
    // other id goes up to the parent.
    int OnCommand(int id) override;
    // Repeats the held row button's command.
    void OnTimer() override;
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
    // A row button with a gateway icon. Mode 0 puts the buttons side by side
    // leftwards from the row's right edge; any other mode stacks them in the
    // rightmost column, which holds `rows` of them, the first at the bottom.
    virtual CListRowButton* AddRowButton(CZVString iconName, int iconLayout, CZVString caption, int commandId,
                                         int autoRepeat, int mode, int rows);
    // A row button with a built-in icon (iconKind above 0); iconColour null:
    // the face's colour brightened.
    virtual CListRowButton* AddRowButtonIcon(int iconKind, int layout, CZVString caption, int commandId,
                                             int autoRepeat, const COLORREF* iconColour, int mode, int rows);

    // ---- non-virtual
    void SetRowHeight(int h);
    void SetRowFontSize(int size) { m_rowFontSize = size; }
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
    // A press is in progress or a row button is held.
    int IsDragging() const { return m_dragging || m_heldButton; }
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
    int GetFadeLevel() const { return m_fade.Level(); }
    int GetDragState() const { return m_dragState; }
    int GetFlickVelocity() const { return m_flick.Velocity(); }
    int IsCommandPending() const { return m_commandPending; }
    CListItem* GetSelected() const { return m_selected; }
    CZVScrollBar* GetListScrollBar() const;

    // ---- row buttons
    void DeleteAllRowButtons();
    // The bounds of every row button in row 0, whatever the rows' masks.
    void GetRowButtonsRect(CZVRect* out);
    int GetRowButtonCount() const { return static_cast<int>(m_rowButtons.size()); }
    CListRowButton* GetRowButton(int i) const;
    CListRowButton* GetHeldButton() const { return m_heldButton; }

    // ---- in-place edit
    // Lays a text field with the text over the selected row and gives it the
    // keyboard; 0 without a selection. When the edit ends, the parent gets
    // commandId and reads the text with GetEditText.
    int BeginEdit(CZVString text, int commandId);
    // Ends the edit with the field's text; 0 when none was open.
    int EndEdit();
    CZVString GetEditText() const { return m_editText; }
    CZVEdit* GetEditBox() const { return m_editBox; }

protected:
    // Adds a row at the end (its index is its position) and asks for a layout.
    CListItem* AppendItem(std::unique_ptr<CListItem> row);
    // y of the first row's top edge in the window.
    int RowsTop() const { return std::max(m_headerHeight, GetBevel()); }
    int VisiblePart() const { return m_height - 2 * GetBevel() - m_headerHeight; }

    int m_rowButtonInset = 0;
    int m_rowButtonWidth = 60;
    int m_rowFontSize;
    int m_uniformRowHeight = 0;
    int m_fadeCacheEnabled = 1;

private:
    enum DragState { kUndecided = 0, kScrolling = 1, kDragSelect = 2 };
    struct PlacedButton {
        CListRowButton* button;
        CZVRect rect;
    };
    struct RowShade {
        COLORREF colour;
        int level;
        int height;
        std::unique_ptr<CDibDC> image;
    };

    int IndexOf(const CListItem* row) const;
    void Renumber();
    // The selected row's own press (a custom row's, then its row
    // buttons'); 1 when it took it.
    int PressSelectedRow(int x, int y);
    // The selected row's rectangle, less the width it keeps free.
    CZVRect SelectedRowRect();
    // The buttons that the row's mask shows, placed in its rectangle.
    std::vector<PlacedButton> PlaceRowButtons(CZVRect row, const CListItem* item) const;
    CZVRect NextRowButtonRect(int mode, int rows) const;
    CListRowButton* AppendRowButton(int commandId, int autoRepeat, const CRowButtonLook& look, int mode, int rows);
    int PressRowButton(int x, int y);
    // 1 when a button was released over itself (its command went out).
    int ReleaseRowButtons(int x, int y);
    void EndHeldButton();
    // Closes the in-place edit without sending anything.
    void DropEditBox();
    // Selects a row that a press hit and repaints what changed.
    void SelectPressed(CListItem* hit);
    // Sends the list's command now; false when the list is gone.
    bool SendCommandNow(bool hideSelection);
    // Stops the flick and lets the list fade back to rest.
    void StopFlick();
    int StepFlick();
    void FlashSelection();
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
    int m_lastY = 0;
    int m_dragState = kUndecided;
    uint32_t m_pressTick;
    CListFlick m_flick;
    int m_emptyFontSize = 10;
    CZVString m_emptyText;
    int m_shadedSelection = 1;
    int m_doubleClickId = kNoCommand;
    uint32_t m_lastClickTick;
    int m_clickArmed = 0;
    CListFade m_fade;
    std::vector<std::unique_ptr<CListRowButton>> m_rowButtons;
    CSoundClip* m_clickSound = nullptr;
    CListRowButton* m_heldButton = nullptr;
    uint32_t m_heldSince = 0;
    CZVEdit* m_editBox = nullptr;
    int m_editCommitPending = 0;
    int m_editCommandId = 0;
    CZVString m_editText;
    // Cleared when the list goes; a callback that may delete the list
    // holds a copy and looks at it afterwards.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
