#include "widgets/lists/columnlist.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

#include "gfx/dibdc.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/lists/textlist.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kColumnListStyleClass = 11;
constexpr const char* kEllipsis = "...";
constexpr int kFitMargin = 5;
constexpr int kLightSum = 400;
constexpr int kShadeBuildLevel = 10;
constexpr int kMinColumnWidth = 10;

COLORREF HeaderColour(COLORREF face) {
    const int sum = ColorRed(face) + ColorGreen(face) + ColorBlue(face);
    return ScaleColor(sum > kLightSum ? 0.8 : 1.25, face);
}

}  // namespace

// ---- rows

CColumnListItem::CColumnListItem(int index, int columns)
    : CListItem(index), m_texts(static_cast<size_t>(std::max(columns, 0))), m_fitted(m_texts.size()) {}

void CColumnListItem::SetText(int column, CZVString text) {
    if (!HasColumn(column)) return;
    m_texts[static_cast<size_t>(column)] = text;
    m_needsFitting = 1;
}

CZVString CColumnListItem::GetText(int column) const {
    return HasColumn(column) ? m_texts[static_cast<size_t>(column)] : CZVString("");
}

CZVString CColumnListItem::GetFittedText(int column) const {
    return HasColumn(column) ? m_fitted[static_cast<size_t>(column)] : CZVString("");
}

CZVString FitTextWithEllipsis(CZVString text, CZVDC* dc, int maxWidth, int ellipsisWidth) {
    if (text.IsEmpty()) return text;
    if (dc->GetTextSize(text).cx < maxWidth) return text;
    const char* chars = text.GetAnsi();
    int n = static_cast<int>(std::strlen(chars));
    while (n > 0 && dc->GetTextExtent(chars, n).cx > maxWidth - ellipsisWidth) --n;
    return CZVString(std::string(chars, static_cast<size_t>(n)).append(kEllipsis).c_str());
}

int FitColumnTexts(CColumnListItem* row, CZVDC* dc, int columns, const int* widths, int force) {
    if (!row->m_needsFitting && !force) return force;
    const int ellipsis = dc->GetTextSize(kEllipsis).cx;
    columns = std::min(columns, static_cast<int>(row->m_texts.size()));
    for (int i = 0; i < columns; ++i)
        row->m_fitted[static_cast<size_t>(i)] =
            FitTextWithEllipsis(row->m_texts[static_cast<size_t>(i)], dc, widths[i] - kFitMargin, ellipsis);
    row->m_needsFitting = 0;
    return columns;
}

// ---- the list

CColumnListWnd::CColumnListWnd(CZVWindow* parent, CZVRect rect, int columns, int commandId)
    : CListWnd(parent, rect, kColumnListStyleClass, commandId),
      m_widths(static_cast<size_t>(std::max(columns, 0)), columns > 0 ? rect.w / columns : 0),
      m_columnX(m_widths.size(), 0),
      m_titles(m_widths.size(), CZVString("-")),
      m_textColours(m_widths.size(), m_textColor),
      m_headerColour(HeaderColour(m_faceColor)),
      m_headerTextColour(m_textColor) {
    if (CSetServer* style = CSetServer::Get()) m_backColor = style->GetStyleColor(kColumnListStyleClass, 0);
    SetHeaderHeight(GetRowHeight() + 2 * GetBevel());
    RequestLayout();
}

void CColumnListWnd::SetColumnTitle(int column, CZVString title) {
    if (HasColumn(column)) m_titles[static_cast<size_t>(column)] = title;
}

void CColumnListWnd::SetColumnTextColor(int column, COLORREF colour) {
    if (HasColumn(column)) m_textColours[static_cast<size_t>(column)] = colour;
}

int CColumnListWnd::SetColumnWidth(int column, int width) {
    if (HasColumn(column)) {
        m_widths[static_cast<size_t>(column)] = width;
        m_columnsPending = 1;
    }
    return column;
}

CColumnListItem* CColumnListWnd::AddRow() {
    return static_cast<CColumnListItem*>(AppendItem(std::make_unique<CColumnListItem>(GetCount(), GetColumnCount())));
}

CColumnListItem* CColumnListWnd::InsertRowFirst() {
    CColumnListItem* row = AddRow();
    for (int i = GetCount() - 1; i > 0; --i) SwapItems(i, i - 1);
    RenumberRows();
    return row;
}

void CColumnListWnd::RenumberRows() {
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->m_index = i;
}

int CColumnListWnd::WidthBefore(int column) const {
    return std::accumulate(m_widths.begin(), m_widths.begin() + column, 0);
}

void CColumnListWnd::LayoutColumns() {
    const int count = GetColumnCount();
    if (count == 0) return;
    const int sum = WidthBefore(count);
    int used = 0;
    for (int i = 0; i < count - 1; ++i) {
        int& w = m_widths[static_cast<size_t>(i)];
        w = sum > 0 ? static_cast<int>(static_cast<double>(m_width) * w / sum + 0.5) : m_width / count;
        used += w;
    }
    m_widths.back() = m_width - used;
}

void CColumnListWnd::RequestLayout() {
    LayoutColumns();
    for (int i = 0; i < GetColumnCount(); ++i) m_columnX[static_cast<size_t>(i)] = 1 + WidthBefore(i);
    for (int i = 0; i < GetCount(); ++i) GetRow(i)->MarkChanged();
    m_columnsPending = 0;
    // Rows added or removed are laid out again at the next paint.
    CListWnd::RequestLayout();
}

void CColumnListWnd::Paint(CZVDC* dc, int withBackground) {
    if (m_columnsPending) RequestLayout();
    CListWnd::Paint(dc, withBackground);
}

void CColumnListWnd::AutoFitColumns() {
    CZVDC dc(this);
    dc.SetFont(m_fontSize, 0, 1);
    for (int c = 0; c < GetColumnCount(); ++c) {
        int widest = dc.GetTextSize(m_titles[static_cast<size_t>(c)]).cx;
        for (int i = 0; i < GetCount(); ++i) widest = std::max(widest, dc.GetTextSize(GetRow(i)->GetText(c)).cx);
        SetColumnWidth(c, widest);
    }
    RequestLayout();
}

int CColumnListWnd::FitHeaderFont() {
    LayoutColumns();
    CCaptionFitter fitter(this);
    for (int c = 0; c < GetColumnCount(); ++c)
        fitter.AddCaption(m_titles[static_cast<size_t>(c)], CZVRect(0, 0, GetColumnWidth(c), GetHeaderHeight()));
    m_fontSize = fitter.FindFontSize(1, 1, m_fontSize);
    return m_fontSize;
}

void CColumnListWnd::SetRect(CZVRect rect) {
    RemoveScrollBar();
    CListWnd::SetRect(rect);
    RequestLayout();
}

void CColumnListWnd::UpdateScrollBar(CZVDC* dc, int redraw) {
    const bool hadBar = GetScrollBar() != nullptr;
    CListWnd::UpdateScrollBar(dc, redraw);
    // The bar takes its width from the columns.
    if (hadBar != (GetScrollBar() != nullptr)) RequestLayout();
}

void CColumnListWnd::RemoveAll(int redraw) {
    CListWnd::RemoveAll(redraw);
    RequestLayout();
}

void CColumnListWnd::DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) {
    DrawListBackground(this, dc, top, std::max(bottom, GetHeaderHeight()), fadeLevel, !dc->IsPixelSurface());
}

void CColumnListWnd::DrawHeader(CZVDC* dc) {
    const int bevel = GetBevel();
    const int header = GetHeaderHeight();
    const bool clip = !dc->IsPixelSurface();
    if (clip) dc->PushClipBounds(bevel, bevel, m_width - bevel, m_height);
    dc->SetFont(m_fontSize, 0, 1);
    const int baseLine = m_fontSize * 75 / 100 + header / 2;
    const bool skinned = ListSkinsOn() && FillSkinPiece(dc, m_headerColour, bevel, bevel, m_width - 2 * bevel, header - bevel);
    for (int i = 0; i < GetColumnCount(); ++i) {
        const int left = std::max(bevel, WidthBefore(i));
        const int right = std::min(WidthBefore(i + 1), m_width - bevel);
        if (!skinned) dc->FillBevelBox(m_headerColour, m_headerColour, true, left, bevel, right, header - 1, bevel, 0.5);
        dc->SetColor(m_headerTextColour);
        dc->TextOutString(m_titles[static_cast<size_t>(i)], left + 2 * bevel, baseLine);
    }
    if (clip) dc->PopClip();
}

void CColumnListWnd::DrawRow(CZVDC* dc, CListItem* item, int top, int bottom) {
    auto* row = static_cast<CColumnListItem*>(item);
    FitColumnTexts(row, dc, GetColumnCount(), m_widths.data(), 0);
    const int bevel = GetBevel();
    const bool selected = IsSelected(row);
    CSetServer* style = CSetServer::Get();
    const bool skinned = selected && ListSkinsOn() &&
                         FillSkinPiece(dc, style ? style->GetSelectionColor() : kHighlightColor, bevel, top,
                                       m_width - 2 * bevel, bottom - top);
    const bool highlightText = skinned && style && GetFadeLevel() == CListFade::kLevels;
    const int baseLine = GetTextOffset() / 2 + (top + bottom) / 2;
    for (int i = 0; i < GetColumnCount(); ++i) {
        dc->SetColor(highlightText ? style->GetSelectionTextColor() : m_textColours[static_cast<size_t>(i)]);
        dc->TextOutString(row->GetFittedText(i), m_columnX[static_cast<size_t>(i)] + bevel + 1, baseLine);
    }
    if (!selected) return;
    if (!ListSkinsOn())
        ShadeListRow(this, dc, GetRowShade(ScaleColor(0.75, m_backColor), kShadeBuildLevel, GetSelectedRowHeight()),
                     top);
    if (row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
}

void CColumnListWnd::RedrawSelection() {
    CListItem* row = GetSelected();
    if (!row || m_width <= 0) return;
    CZVRect r;
    GetItemRect(&r, row);
    const int h = GetSelectedRowHeight();
    CDibDC surface(m_width, h, 0, 0, 1);
    if (!surface.GetBits()) return;
    surface.SetFont(m_fontSize, 0, 1);
    FitColumnTexts(static_cast<CColumnListItem*>(row), &surface, GetColumnCount(), m_widths.data(), 1);
    surface.SetOrigin(0, -r.y);
    DrawRowBackground(&surface, r.y, r.y + h, GetFadeLevel());
    DrawRow(&surface, row, r.y, r.y + h);
    CZVDC dc(this);
    const int bevel = GetBevel();
    dc.PushClipBounds(bevel, RowsTop(), m_width - bevel, m_height - bevel);
    dc.BitBlt(0, r.y, &surface, 0, 0, m_width, h);
    dc.PopClip();
}

// ---- dragging a divider

int CColumnListWnd::ColumnAt(int x, int y) const {
    if (y < 0 || y > GetHeaderHeight() || GetColumnCount() == 0) return -1;
    int c = m_widths[0];
    for (int i = 1; i < GetColumnCount(); ++i) {
        const int n = c + m_widths[static_cast<size_t>(i)];
        if (c < x && x < n) return i - 1;
        c = n;
    }
    return -1;
}

void CColumnListWnd::DrawColumnDivider(int column) {
    if (!HasColumn(column)) return;
    const int x = m_columnX[static_cast<size_t>(column)] + m_widths[static_cast<size_t>(column)] - GetBevel();
    CZVDC dc(this);
    dc.SetInvert(true);
    dc.Line(0, x, GetBevel(), x, m_height);
    dc.SetInvert(false);
}

int CColumnListWnd::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown) return 0;
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.y > GetHeaderHeight()) return CListWnd::OnLButtonDown(x, y, keys) ? 1 : 0;
    if (!HitTest(x, y)) return 0;
    m_draggedDivider = ColumnAt(p.x, p.y);
    if (m_draggedDivider < 0) {
        CListWnd::OnLButtonDown(x, y, keys);
        return 1;
    }
    if (CMainWndBase* main = GetMainWnd()) {
        main->PushCursor(platform::CursorShape::SizeWE);
        m_cursorChanged = 1;
    }
    m_dragStartX = p.x;
    m_dragStartWidth = m_widths[static_cast<size_t>(m_draggedDivider)];
    m_dividerDrag = 1;
    DrawColumnDivider(m_draggedDivider);
    return 1;
}

int CColumnListWnd::OnMouseMove(int x, int y, int keys) {
    if (CListWnd::OnMouseMove(x, y, keys)) return 1;
    if (!HitTest(x, y) || !m_dividerDrag) return 0;
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.x <= 0 || p.x >= m_width) return 0;
    const int d = m_draggedDivider;
    const int w = std::min(std::max(p.x + m_dragStartWidth - m_dragStartX, kMinColumnWidth), m_width - WidthBefore(d));
    if (w == m_widths[static_cast<size_t>(d)]) return 1;
    DrawColumnDivider(d);
    m_widths[static_cast<size_t>(d)] = w;
    const int others = WidthBefore(GetColumnCount()) - m_widths.back();
    m_widths.back() = std::max(0, m_width - others);
    DrawColumnDivider(d);
    return 1;
}

int CColumnListWnd::OnLButtonUp(int x, int y, int keys) {
    CListWnd::OnLButtonUp(x, y, keys);
    if (m_cursorChanged) {
        if (CMainWndBase* main = GetMainWnd()) main->PopCursor();
        m_cursorChanged = 0;
    }
    if (!m_dividerDrag) return 0;
    // Columns beyond the list's width are narrowed from the right.
    for (int i = GetColumnCount() - 1; i >= 0; --i) {
        const int sum = WidthBefore(GetColumnCount());
        if (sum <= m_width) break;
        int& w = m_widths[static_cast<size_t>(i)];
        w = std::max(kMinColumnWidth, w + m_width - sum);
    }
    RequestLayout();
    CZVDC dc(this);
    OnPaint(&dc);
    m_draggedDivider = -1;
    m_dividerDrag = 0;
    return 1;
}
