#pragma once
// CColumnListWnd: a table under a header of column titles. Columns share the
// list's width in proportion to their widths; texts too wide for their
// column are shortened with "...".
#include <vector>

#include "widgets/lists/listwnd.h"

class CColumnListItem : public CListItem {
public:
    CColumnListItem(int index, int columns);

    // Columns outside the row are ignored.
    void SetText(int column, CZVString text);
    // "" for a column outside the row.
    CZVString GetText(int column) const;
    CZVString GetFittedText(int column) const;
    void MarkChanged() { m_needsFitting = 1; }

private:
    friend int FitColumnTexts(CColumnListItem* row, CZVDC* dc, int columns, const int* widths, int force);
    bool HasColumn(int column) const { return column >= 0 && column < static_cast<int>(m_texts.size()); }

    std::vector<CZVString> m_texts;
    std::vector<CZVString> m_fitted;
    int m_needsFitting = 1;
};

// The longest prefix of text that fits maxWidth with "..." (ellipsisWidth
// wide) after it; the text itself when it fits.
CZVString FitTextWithEllipsis(CZVString text, CZVDC* dc, int maxWidth, int ellipsisWidth);
// Fits the row's texts to the widths when it changed or force is set; the
// column count then, else force.
int FitColumnTexts(CColumnListItem* row, CZVDC* dc, int columns, const int* widths, int force);

class CColumnListWnd : public CListWnd {
public:
    CColumnListWnd(CZVWindow* parent, CZVRect rect, int columns, int commandId);

    // Columns outside the list are ignored.
    void SetColumnTitle(int column, CZVString title);
    void SetColumnTextColor(int column, COLORREF colour);
    int SetColumnWidth(int column, int width);
    CColumnListItem* AddRow();
    CColumnListItem* InsertRowFirst();
    CColumnListItem* GetRow(int index) { return static_cast<CColumnListItem*>(GetItemAt(index)); }
    void RenumberRows();
    // Shares the list's width among the columns in proportion to their
    // widths, the last taking the rest; equal shares when they sum to 0.
    void LayoutColumns();
    // Each column as wide as its widest text or title.
    void AutoFitColumns();
    // The largest font size, up to the current one, at which every title
    // fits its header cell; the list takes it and returns it.
    int FitHeaderFont();
    void RedrawSelection();
    // The column whose right edge (the divider) a header press at window
    // (x, y) drags; -1 for none, also over column 0.
    int ColumnAt(int x, int y) const;
    // An inverted line on the column's divider; drawn twice it is gone.
    void DrawColumnDivider(int column);

    int GetColumnCount() const { return static_cast<int>(m_widths.size()); }
    int GetColumnWidth(int column) const { return m_widths[static_cast<size_t>(column)]; }
    int GetColumnX(int column) const { return m_columnX[static_cast<size_t>(column)]; }
    CZVString GetColumnTitle(int column) const { return m_titles[static_cast<size_t>(column)]; }
    COLORREF GetHeaderColor() const { return m_headerColour; }

    void SetRect(CZVRect rect) override;
    void Paint(CZVDC* dc, int withBackground) override;
    void DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) override;
    void DrawHeader(CZVDC* dc) override;
    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;
    void UpdateScrollBar(CZVDC* dc, int redraw) override;
    void RemoveAll(int redraw) override;
    void RequestLayout() override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;

private:
    bool HasColumn(int column) const { return column >= 0 && column < GetColumnCount(); }
    int WidthBefore(int column) const;

    std::vector<int> m_widths;
    std::vector<int> m_columnX;
    std::vector<CZVString> m_titles;
    std::vector<COLORREF> m_textColours;
    COLORREF m_headerColour;
    COLORREF m_headerTextColour;
    // Widths changed: the columns are laid out again at the next paint.
    int m_columnsPending = 1;
    int m_draggedDivider = -1;
    int m_dragStartX = 0;
    int m_dragStartWidth = 0;
    int m_dividerDrag = 0;
    int m_cursorChanged = 0;
};
