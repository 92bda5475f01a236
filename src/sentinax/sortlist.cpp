#include "sentinax/sortlist.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

constexpr int kHeaderMargin = 4;
constexpr int kMinFitWidth = 100;
constexpr int kMinColumnWidth = 12;
constexpr int kSelectedShade = 25;

uint8_t Darker(uint8_t part) { return part < kSelectedShade ? 0 : static_cast<uint8_t>(part - kSelectedShade); }

// Lower case in Windows-1252: ASCII, the accented capitals and the three
// capitals of the 0x80 row that have small forms.
unsigned char LowerCp1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
    if (c == 0x9F) return 0xFF;
    return c;
}

}  // namespace

ColorRef SelectedBackColor(ColorRef color) {
    return Rgb(Darker(RedOf(color)), Darker(GreenOf(color)), Darker(BlueOf(color)));
}

std::string FitCellText(const std::string& text, int cellWidth, const std::function<int(const std::string&)>& measure) {
    const int usable = cellWidth - CSortListCtrl::kCellMargin;
    if (measure(text) < usable) return text;
    static const std::string kEllipsis = "...";
    const int ellipsis = measure(kEllipsis);
    std::string cut = text;
    while (usable < measure(cut) + ellipsis && cut.size() > 1) cut.pop_back();
    return cut + kEllipsis;
}

bool FitColumnWidths(std::vector<int>& widths, int headerWidth, const std::vector<int>& floors) {
    const int room = headerWidth - kHeaderMargin;
    if (room <= kMinFitWidth || widths.empty()) return false;
    int excess = std::accumulate(widths.begin(), widths.end(), 0) - room;
    if (excess == 0) return false;
    if (excess < 0) {
        widths.back() -= excess;
        return true;
    }
    bool changed = false;
    for (size_t n = widths.size() - 1; n >= 1 && excess > 0; --n) {
        const int floor = n < floors.size() ? std::max(kMinColumnWidth, floors[n]) : kMinColumnWidth;
        const int shrink = std::max(0, std::min(widths[n] - floor, excess));
        widths[n] -= shrink;
        excess -= shrink;
        changed = changed || shrink > 0;
    }
    return changed;
}

std::string FoldCase(std::string text) {
    for (char& c : text) c = static_cast<char>(LowerCp1252(static_cast<unsigned char>(c)));
    return text;
}

int CompareNoCase(const std::string& a, const std::string& b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const int left = LowerCp1252(static_cast<unsigned char>(a[i]));
        const int right = LowerCp1252(static_cast<unsigned char>(b[i]));
        if (left != right) return left < right ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

CSortListCtrl::CSortListCtrl() { SetColumns({"Title"}); }

void CSortListCtrl::SetColumns(const std::vector<std::string>& titles) {
    m_titles = titles;
    m_widths.assign(m_titles.size(), kDefaultWidth);
}

void CSortListCtrl::SetColumnWidth(int column, int width) {
    if (column >= 0 && column < GetColumnCount()) m_widths[static_cast<size_t>(column)] = width;
}

void CSortListCtrl::Sort() {
    // Each row's key is taken once, not at every comparison: reading a
    // system's cell copies its record under its lock.
    std::vector<std::pair<std::string, Row>> keyed;
    keyed.reserve(m_rows.size());
    for (const Row& row : m_rows) keyed.emplace_back(GetSortKey(row.item, m_sortColumn), row);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [this](const auto& a, const auto& b) { return CompareSortKeys(a.first, b.first) < 0; });
    for (size_t i = 0; i < keyed.size(); ++i) m_rows[i] = keyed[i].second;
    NotifyChanged();
    const int row = GetNextSelected(0);
    if (row >= 0 && m_view) m_view->ScrollToRow(row);
}

int CSortListCtrl::InsertRow(CSystem* item, int position) {
    const int at = position < 0 || position > GetRowCount() ? GetRowCount() : position;
    m_rows.insert(m_rows.begin() + at, Row{item, false, false});
    return at;
}

void CSortListCtrl::DeleteAllRows() { m_rows.clear(); }

CSystem* CSortListCtrl::GetRowData(int row) const {
    return row >= 0 && row < GetRowCount() ? m_rows[static_cast<size_t>(row)].item : nullptr;
}

void CSortListCtrl::SetSelected(int row, bool on) {
    if (row >= 0 && row < GetRowCount()) m_rows[static_cast<size_t>(row)].selected = on;
}

bool CSortListCtrl::IsSelected(int row) const {
    return row >= 0 && row < GetRowCount() && m_rows[static_cast<size_t>(row)].selected;
}

void CSortListCtrl::SetFocused(int row) {
    for (int i = 0; i < GetRowCount(); ++i) m_rows[static_cast<size_t>(i)].focused = i == row;
}

bool CSortListCtrl::IsFocused(int row) const {
    return row >= 0 && row < GetRowCount() && m_rows[static_cast<size_t>(row)].focused;
}

void CSortListCtrl::ClearFocus() { SetFocused(-1); }

int CSortListCtrl::GetNextSelected(int start) const {
    const int from = std::max(start, 0);
    if (from >= GetRowCount()) return -1;
    for (int row = from; row < GetRowCount(); ++row) {
        if (IsSelected(row) && IsFocused(row)) return row;
    }
    for (int row = from; row < GetRowCount(); ++row) {
        if (IsSelected(row)) return row;
    }
    return -1;
}

std::vector<int> CSortListCtrl::GetSelectedRows() const {
    std::vector<int> selected;
    for (int row = 0; row < GetRowCount(); ++row) {
        if (IsSelected(row)) selected.push_back(row);
    }
    return selected;
}

void CSortListCtrl::ApplyColumns() {
    for (int& width : m_widths) {
        if (std::abs(width) > kMaxWidth) width = kDefaultWidth;
    }
    m_rows.clear();
    NotifyChanged();
}

std::string CSortListCtrl::GetSortKey(const CSystem*, int) const { return std::string(); }
int CSortListCtrl::CompareSortKeys(const std::string&, const std::string&) const { return 0; }
void CSortListCtrl::OnRightClick(int, int, int, int) {}
std::string CSortListCtrl::GetCellText(const CSystem*, int) const { return std::string(); }
ColorRef CSortListCtrl::GetCellBackColor(const CSystem*, int) const { return kWhite; }
ColorRef CSortListCtrl::GetCellTextColor(const CSystem*, int) const { return kBlack; }
bool CSortListCtrl::IsColumnCentered(int) const { return false; }

void CSortListCtrl::NotifyChanged() {
    if (m_view) m_view->OnListChanged();
}
