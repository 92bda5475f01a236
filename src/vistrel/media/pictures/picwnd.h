#pragma once
// CPicWnd: the pictures of one album as a scrolling grid of equal cells, each
// a thumbnail with its caption, on the toolkit's touch list (dragging,
// flicking, scroll bar and fade stay the list's). The items draw their own
// cells and fetch their thumbnails as the cells are first drawn. A touch
// selects a cell at once; a release on the selected cell sends the open
// command to the parent.
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "vistrel/media/pictures/picturefolder.h"
#include "widgets/lists/listwnd.h"

// The band under one grid row that opens (40 pixels) and closes over 200 ms.
class CRowExpander {
public:
    static constexpr int kFullHeight = 40;
    static constexpr uint32_t kFullMs = 200;

    explicit CRowExpander(int row);
    // Aims at open or closed; the time left is in proportion to the way left.
    void SetOpen(int open);
    // Moves toward the aim; 1 when the height changed.
    int Step();
    int GetRow() const { return m_row; }
    int GetHeight() const { return m_height; }

private:
    int m_row;
    int m_height = 0;
    int m_startHeight = 0;
    int m_target = 0;
    uint32_t m_startTick;
    uint32_t m_durationMs = 1;
};

class CPicWnd : public CListWnd, public CPictureItemListener {
public:
    // Flags.
    static constexpr int kButtonCells = 1;
    static constexpr int kCellsNotWidened = 2;
    static constexpr int kEveryReleaseOpens = 4;
    static constexpr int kPlayBand = 8;
    // Synthetic input: a press (5000 + i) or release (6000 + i) on cell i.
    static constexpr int kPressCommand = 5000;
    static constexpr int kReleaseCommand = 6000;
    static constexpr int kSyntheticRange = 500;
    static constexpr int kDragSlack = 8;
    static constexpr uint32_t kScrollMs = 200;
    // Room kept visible below a cell scrolled into view.
    static constexpr int kRevealBelow = 39;

    CPicWnd(CZVWindow* parent, CZVRect rect, int selectCommand, int openCommand, int cellWidth, int pictureHeight,
            int captionHeight, int gap, int bevel, int flags);
    ~CPicWnd() override;

    void SetFolder(CPictureFolder* folder);
    CPictureFolder* GetFolder() const { return m_folder; }
    CPictureItem* GetSelectedItem() const;
    int GetSelection() const { return m_selection; }
    void SetSelection(int index) { m_selection = index; }
    int GetCount() override;
    // The first cell whose rectangle holds the point (window coordinates), else -1.
    int ItemFromPoint(int x, int y);
    void GetItemRectAt(CZVRect* out, int index) override;
    void DrawCell(int index, int mode);
    int GetColumns() const;
    int IsDragged() const { return m_dragged; }
    // The expander under the row, or null (flag 8 only).
    CRowExpander* GetExpander(int row);

    void OnItemLoaded(CPictureItem* item, int isPicture) override;
    int OnCommand(int id) override;
    void OnKeyUp(int key, int flags) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnIdle(int busy) override;
    void DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) override;
    int DrawBand(CZVDC* dc, int top, int bottom) override;
    void DrawItems(CZVDC* dc, int first, int last) override;
    void UpdateScrollBar(CZVDC* dc, int redraw) override;

private:
    int RowPitch() const { return m_gap + m_captionHeight + m_pictureHeight; }
    // The cell as the item draws it: grown by gap - 1 unless flag 2.
    CZVRect Widened(CZVRect cell) const;
    void DrawOneCell(CZVDC* dc, int index, int mode, COLORREF frame);
    // The mode and frame colour of a cell in a whole paint.
    int ModeOf(int index, COLORREF* frame);
    void ClearCell(int index);
    void ScrollSelectionIntoView();
    // One step of the scroll animation; 1 when it moved the list.
    int StepScroll();
    void SendToParent(int id);
    void PressAtCell(int index, bool press);

    // The expanders of the rows above the row, added up.
    int ExpandedAbove(int row) const;
    void OpenOnlyRow(int row);

    // The Play band (flag 8) under the selected cell: the rectangle it is drawn in, and whether
    // a point lies in the area that takes its touches (the caption part and 40 pixels below).
    CZVRect PlayBandRect(CZVRect cell) const;
    int InPlayArea(int x, int y);
    void DrawPlayBand(CZVDC* dc);
    // The band's normal and pressed faces, an icon and "Play" on a button, made once.
    void BuildPlayFaces(int width, int height);
    void RedrawSelectedCell();

    CPictureFolder* m_folder = nullptr;
    std::vector<CRowExpander> m_expanders;
    int m_selection = -1;
    int m_selectCommand;
    int m_openCommand;
    int m_cellWidth;
    int m_pictureHeight;
    int m_captionHeight;
    int m_gap;
    int m_pressScroll = -1;
    std::deque<int> m_inputQueue;
    int m_dragged = 0;
    int m_redrawOnRelease = 0;
    int m_flags;
    int m_pressed = 0;
    int m_playPressed = 0;
    std::unique_ptr<CDibDC> m_playFaces[2];
    int m_repaintDeferred = 0;
    int m_scrollFrom = 0;
    int m_scrollTo = 0;
    uint32_t m_scrollStart;
};
