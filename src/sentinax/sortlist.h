#pragma once
// CSortListCtrl: the monitor's report list without a header of its own. It
// keeps its column model (titles and widths), its rows (each pointing to a
// system it does not own) with their selection, and sorts them through a
// comparison that a subclass fills in together with each cell's text and
// colours. A view draws it and tells it what the user selected.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CSystem;

// A colour in the byte order the system stores: 0x00BBGGRR.
using ColorRef = uint32_t;
constexpr ColorRef Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<ColorRef>(r) | static_cast<ColorRef>(g) << 8 | static_cast<ColorRef>(b) << 16;
}
constexpr uint8_t RedOf(ColorRef c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GreenOf(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueOf(ColorRef c) { return static_cast<uint8_t>(c >> 16); }
inline constexpr ColorRef kWhite = Rgb(255, 255, 255);
inline constexpr ColorRef kBlack = Rgb(0, 0, 0);

// A cell's background in a selected row: each part 25 darker, not below 0.
ColorRef SelectedBackColor(ColorRef color);

// The text a cell shows: cut, with "..." appended, when it does not fit in
// the cell's width less 4 pixels; a single character is never cut further.
std::string FitCellText(const std::string& text, int cellWidth, const std::function<int(const std::string&)>& measure);

// Keeps the header's items filling its width (less 4 pixels): the last item
// takes up room to spare; missing room comes from the rightmost items first,
// none below 12 pixels nor below its floor (when floors are given), and never
// from the first. What still does not fit is scrolled to. A header of 104
// pixels or less is left alone. True when a width changed.
bool FitColumnWidths(std::vector<int>& widths, int headerWidth, const std::vector<int>& floors = {});

// Case-insensitive order of two texts of the system's 8-bit character set.
int CompareNoCase(const std::string& a, const std::string& b);
// The text in lower case, as CompareNoCase sees it: two folded texts compare
// byte by byte (as unsigned bytes) in the same order.
std::string FoldCase(std::string text);

// What the list asks of the window that shows it.
class CSortListView {
public:
    virtual ~CSortListView() = default;
    // Columns, rows or their order changed: show them again.
    virtual void OnListChanged() = 0;
    virtual void ScrollToRow(int row) = 0;
    // The alarms of one row's system (the alarms column's right click).
    virtual void ShowSystemErrors(CSystem& system) = 0;
};

class CSortListCtrl {
public:
    static constexpr int kDefaultWidth = 50;
    // Wider stored widths are taken for damage.
    static constexpr int kMaxWidth = 500;
    // A cell's text is cut where it comes closer than this to the cell's
    // right edge; a title keeps this far from its item's edges.
    static constexpr int kCellMargin = 4;
    static constexpr int kTitleMargin = 4;

    CSortListCtrl();
    virtual ~CSortListCtrl() = default;
    CSortListCtrl(const CSortListCtrl&) = delete;
    CSortListCtrl& operator=(const CSortListCtrl&) = delete;

    void SetView(CSortListView* view) { m_view = view; }
    CSortListView* GetView() const { return m_view; }

    // Column model. Every width starts at 50.
    void SetColumns(const std::vector<std::string>& titles);
    int GetColumnCount() const { return static_cast<int>(m_titles.size()); }
    const std::vector<std::string>& GetColumnTitles() const { return m_titles; }
    const std::vector<int>& GetColumnWidths() const { return m_widths; }
    // Ignored for a column that does not exist.
    void SetColumnWidth(int column, int width);

    void SetSortColumn(int column) { m_sortColumn = column; }
    int GetSortColumn() const { return m_sortColumn; }
    void SetSortDescending(bool on) { m_sortDescending = on; }
    bool IsSortDescending() const { return m_sortDescending; }
    // Orders the rows by their sort keys in the sort column (equal keys keep
    // their order), selection kept with its row, and scrolls to the first
    // selected row.
    void Sort();
    // How two sort keys order in the sort direction: their bytes compared
    // as unsigned, reversed when descending (negative, 0, positive).
    int CompareSortKeys(const std::string& a, const std::string& b) const;

    // Rows. A position of -1 (or past the end) appends.
    int InsertRow(CSystem* item, int position);
    void DeleteAllRows();
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    // Null for a row that does not exist.
    CSystem* GetRowData(int row) const;

    void SetSelected(int row, bool on);
    bool IsSelected(int row) const;
    void SetFocused(int row);
    bool IsFocused(int row) const;
    // Clicking where no row is takes the focus mark from every row.
    void ClearFocus();
    // From start: the first row both selected and focused, else the first
    // selected, else -1.
    int GetNextSelected(int start) const;
    std::vector<int> GetSelectedRows() const;

    // Rebuilds the columns from the model and empties the rows; a width
    // beyond kMaxWidth either way becomes 50.
    virtual void ApplyColumns();
    // What Sort orders the rows by in a column, taken once per row: a key
    // whose bytes, compared as unsigned, give the column's order.
    virtual std::string GetSortKey(const CSystem* item, int column) const;
    virtual void OnRightClick(int row, int column, int x, int y);
    virtual std::string GetCellText(const CSystem* item, int column) const;
    virtual ColorRef GetCellBackColor(const CSystem* item, int column) const;
    virtual ColorRef GetCellTextColor(const CSystem* item, int column) const;
    virtual bool IsColumnCentered(int column) const;

protected:
    void NotifyChanged();

private:
    std::vector<size_t> RowsInMemoryOrder() const;

    struct Row {
        CSystem* item;
        bool selected;
        bool focused;
    };

    std::vector<std::string> m_titles;
    std::vector<int> m_widths;
    std::vector<Row> m_rows;
    int m_sortColumn = 0;
    bool m_sortDescending = true;
    CSortListView* m_view = nullptr;
};
