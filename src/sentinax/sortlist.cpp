#include "sentinax/sortlist.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string_view>

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

// A row's place while sorting: the bytes of its key that follow what every
// key shares, as one number of the same order (missing bytes count as 0),
// and the row's number.
struct SortEntry {
    uint64_t head;
    size_t row;
};

size_t SharedPrefixLength(const std::vector<std::string>& keys) {
    if (keys.empty()) return 0;
    const std::string& first = keys.front();
    size_t length = first.size();
    for (const std::string& key : keys) {
        const size_t limit = std::min(length, key.size());
        length = 0;
        while (length < limit && key[length] == first[length]) ++length;
    }
    return length;
}

uint64_t KeyHead(const std::string& key, size_t from) {
    uint64_t head = 0;
    for (size_t i = from; i < from + sizeof head; ++i)
        head = head << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return head;
}

std::string_view KeyFrom(const std::string& key, size_t from) {
    return std::string_view(key).substr(std::min(from, key.size()));
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

int CSortListCtrl::CompareSortKeys(const std::string& a, const std::string& b) const {
    const int order = a.compare(b);
    const int sign = (order > 0) - (order < 0);
    return m_sortDescending ? -sign : sign;
}

void CSortListCtrl::Sort() {
    // Each row's key is taken once, not at every comparison: reading a
    // system's cell takes its lock.
    std::vector<std::string> keys(m_rows.size());
    for (size_t row : RowsInMemoryOrder()) keys[row] = GetSortKey(m_rows[row].item, m_sortColumn);
    // Rows are ordered by the few key bytes after what every key shares, held
    // beside the row's number; only rows whose bytes there tie read the rest
    // of their keys. Most comparisons so touch no text at all.
    const size_t shared = SharedPrefixLength(keys);
    std::vector<SortEntry> entries;
    entries.reserve(keys.size());
    for (size_t row = 0; row < keys.size(); ++row) entries.push_back({KeyHead(keys[row], shared), row});
    const bool descending = m_sortDescending;
    std::stable_sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        if (a.head != b.head) return descending ? a.head > b.head : a.head < b.head;
        const int order = KeyFrom(keys[a.row], shared).compare(KeyFrom(keys[b.row], shared));
        return descending ? order > 0 : order < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (const SortEntry& entry : entries) sorted.push_back(m_rows[entry.row]);
    m_rows = std::move(sorted);
    NotifyChanged();
    const int row = GetNextSelected(0);
    if (row >= 0 && m_view) m_view->ScrollToRow(row);
}

// The rows by where their items lie in memory: reading the items in that
// order lets the processor fetch them ahead, where the rows' order would
// jump across the whole list.
std::vector<size_t> CSortListCtrl::RowsInMemoryOrder() const {
    std::vector<std::pair<std::uintptr_t, size_t>> places;
    places.reserve(m_rows.size());
    for (size_t row = 0; row < m_rows.size(); ++row)
        places.emplace_back(reinterpret_cast<std::uintptr_t>(m_rows[row].item), row);
    std::sort(places.begin(), places.end());
    std::vector<size_t> rows;
    rows.reserve(places.size());
    for (const auto& place : places) rows.push_back(place.second);
    return rows;
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
void CSortListCtrl::OnRightClick(int, int, int, int) {}
std::string CSortListCtrl::GetCellText(const CSystem*, int) const { return std::string(); }
ColorRef CSortListCtrl::GetCellBackColor(const CSystem*, int) const { return kWhite; }
ColorRef CSortListCtrl::GetCellTextColor(const CSystem*, int) const { return kBlack; }
bool CSortListCtrl::IsColumnCentered(int) const { return false; }

void CSortListCtrl::NotifyChanged() {
    if (m_view) m_view->OnListChanged();
}
