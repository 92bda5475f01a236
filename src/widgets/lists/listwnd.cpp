#include "widgets/lists/listwnd.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "av/soundclip.h"
#include "gfx/dibdc.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvedit.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "listwnd";
constexpr int kEmptyTextFormat = 18;
constexpr uint32_t kDoubleClickMs = 500;
constexpr uint32_t kLongPressMs = 400;
constexpr uint32_t kFlashMs = 50;
constexpr int kScrollThreshold = 10;
constexpr int kStepThreshold = 2;
constexpr const char* kDragSound = "click1.wav";
constexpr const char* kRowButtonSound = "bleep10.wav";
constexpr int kRepeatTimerMs = 100;
constexpr uint32_t kRepeatDelayMs = 500;
constexpr int kMaskBits = 8;
constexpr int kEditStyleClass = 14;
constexpr COLORREF kEditTextColour = 0xFFFFFF;
constexpr COLORREF kEditFaceColour = 0xC8C8C8;
constexpr COLORREF kEditEditingTextColour = 0;
constexpr COLORREF kEditEditingFaceColour = 0xE1E1E1;

bool SkinsOn() { return (CSetServer::CurrentFlags() & kStyleSkins) != 0; }

bool Contains(const CZVRect& r, int x, int y) { return x >= r.x && x <= r.x + r.w - 1 && y >= r.y && y <= r.y + r.h - 1; }

bool ContainsWithEdges(const CZVRect& r, int x, int y) { return x >= r.x && x <= r.x + r.w && y >= r.y && y <= r.y + r.h; }

}  // namespace

CListWnd::CListWnd(CZVWindow* parent, CZVRect rect, int styleClass, int commandId)
    : CZVWindow(parent, rect, styleClass),
      m_rowFontSize(m_fontSize),
      m_commandId(commandId),
      m_rowHeight(static_cast<int>(m_fontSize * 1.2)),
      m_selectedRowHeight(m_rowHeight),
      m_pressTick(platform::GetTickCount()),
      m_lastClickTick(m_pressTick) {
    SetRowHeight(m_rowHeight);
}

CListWnd::~CListWnd() {
    *m_alive = false;
    m_selected = nullptr;
    m_items.clear();
    // The scroll bar goes with the window base, which leaves it to the
    // parent's list while the parent itself is being torn down.
}

CZVScrollBar* CListWnd::GetListScrollBar() const { return dynamic_cast<CZVScrollBar*>(GetScrollBar()); }

// ---- rows

CListItem* CListWnd::AppendItem(std::unique_ptr<CListItem> row) {
    row->m_index = GetCount();
    m_items.push_back(std::move(row));
    RequestLayout();
    return m_items.back().get();
}

int CListWnd::IndexOf(const CListItem* row) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == row) return static_cast<int>(i);
    return -1;
}

void CListWnd::Renumber() {
    for (size_t i = 0; i < m_items.size(); ++i) m_items[i]->m_index = static_cast<int>(i);
}

CListItem* CListWnd::GetItemAt(int index) {
    if (index < 0 || index >= GetCount()) return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

void* CListWnd::GetItemData(int index) {
    CListItem* row = GetItemAt(index);
    return row ? row->m_data : nullptr;
}

void CListWnd::RemoveItem(CListItem* row) {
    const int index = IndexOf(row);
    if (index < 0) return;
    if (m_selected == row) {
        m_selected = nullptr;
        DropEditBox();
    }
    m_items.erase(m_items.begin() + index);
    m_layoutPending = 1;
    Renumber();
    CZVDC dc(this);
    Paint(&dc, 1);
}

void CListWnd::RemoveItemAt(int index) {
    if (index < 0 || index >= GetCount()) return;
    if (GetSelectedIndex() == index) {
        m_selected = nullptr;
        DropEditBox();
    }
    m_items.erase(m_items.begin() + index);
    m_layoutPending = 1;
    Renumber();
}

void CListWnd::RemoveAll(int redraw) {
    m_selected = nullptr;
    DropEditBox();
    m_items.clear();
    m_scrollPos = 0;
    m_layoutPending = 1;
    RemoveScrollBar();
    if (redraw) Redraw(1);
}

void CListWnd::SwapItems(int a, int b) {
    if (a == b || a < 0 || b < 0 || a >= GetCount() || b >= GetCount()) return;
    CListItem* first = m_items[static_cast<size_t>(a)].get();
    CListItem* second = m_items[static_cast<size_t>(b)].get();
    std::swap(m_items[static_cast<size_t>(a)], m_items[static_cast<size_t>(b)]);
    std::swap(first->m_index, second->m_index);
    std::swap(first->m_top, second->m_top);
    std::swap(first->m_bottom, second->m_bottom);
    if (m_selected == first || m_selected == second) LayoutItems();
}

// ---- geometry

void CListWnd::SetRowHeight(int h) {
    m_rowHeight = h;
    m_textOffset = h / 2 + static_cast<int>(m_fontSize * 1.1) / 2;
}

void CListWnd::SetSelectedRowHeight(int h) {
    m_selectedRowHeight = h;
    if (m_uniformRowHeight) SetRowHeight(h);
}

void CListWnd::SetUniformRowHeight(int on) {
    m_uniformRowHeight = on;
    SetRowHeight(m_selectedRowHeight);
}

void CListWnd::SetEmptyText(CZVString text, int fontSize) {
    m_emptyText = text;
    m_emptyFontSize = fontSize;
}

int CListWnd::GetItemHeight(int, CListItem* row) { return row == m_selected ? m_selectedRowHeight : m_rowHeight; }

int CListWnd::LayoutItems() {
    int total = 0;
    for (auto& row : m_items) {
        const int h = GetItemHeight(total, row.get());
        row->m_top = total;
        total += h;
        row->m_bottom = total;
    }
    return total;
}

void CListWnd::GetItemRect(CZVRect* out, CListItem* row) {
    if (!row) {
        *out = CZVRect();
        return;
    }
    const int bevel = GetBevel();
    *out = CZVRect(bevel, row->m_top + RowsTop() - m_scrollPos, m_width - 2 * bevel + 1, row->m_bottom - row->m_top + 1);
}

void CListWnd::GetItemRectAt(CZVRect* out, int index) {
    if (CListItem* row = GetItemAt(index)) {
        GetItemRect(out, row);
        return;
    }
    const int bevel = GetBevel();
    *out = CZVRect(bevel, 0, m_width - 2 * bevel + 1, 1);
}

int CListWnd::GetFirstVisibleItem() {
    for (auto& row : m_items) {
        CZVRect r;
        GetItemRect(&r, row.get());
        if (r.y + r.h - 1 > GetBevel()) return row->m_index;
    }
    return 0;
}

int CListWnd::GetLastVisibleItem() {
    int last = 0;
    for (auto& row : m_items) {
        CZVRect r;
        GetItemRect(&r, row.get());
        if (r.y >= m_height - GetBevel()) break;
        last = row->m_index;
    }
    return last;
}

CListItem* CListWnd::ItemFromPoint(int x, int y) {
    if (x < 0 || x > m_width || y < 0 || y > m_height) return nullptr;
    for (auto& row : m_items) {
        CZVRect r;
        GetItemRect(&r, row.get());
        if (Contains(r, x, y)) return row.get();
    }
    return nullptr;
}

std::optional<CZVRect> CListWnd::GetOpaqueRect() { return CZVRect(1, 1, m_width - 2, m_height - 2); }

// ---- scroll bar

void CListWnd::UpdateScrollBar(CZVDC* dc, int redraw) {
    const int total = LayoutItems();
    m_layoutPending = 0;
    const bool hadBar = GetScrollBar() != nullptr;
    if (total > VisiblePart()) {
        EnsureScrollBar(dc, 1);
        if (CZVScrollBar* bar = GetListScrollBar()) {
            bar->SetRange(VisiblePart(), total);
            bar->SetStep(m_rowHeight);
            bar->SetPosition(m_scrollPos, 0);
            // Rows removed at the end leave the view within the rows.
            m_scrollPos = bar->GetPosition();
            if (redraw && dc) {
                dc->SetOriginFromWindow(bar);
                bar->Paint(dc, 1);
            }
        }
        if (!hadBar) {
            m_scrollPos = 0;
            RequestLayout();
        }
        return;
    }
    RemoveScrollBar();
    m_scrollPos = 0;
    if (hadBar && redraw && dc) {
        RequestLayout();
        dc->SetOriginFromWindow(this);
        OnPaint(dc);
    }
}

// ---- painting

void CListWnd::Paint(CZVDC* dc, int withBackground) {
    if (m_requestLayout) {
        RequestLayout();
        m_requestLayout = 0;
    }
    if (m_layoutPending) {
        UpdateScrollBar(dc, 1);
        m_layoutPending = 0;
    }
    CZVWindow::Paint(dc, withBackground);
}

void CListWnd::RedrawBuffered() { RedrawRange(0, m_height); }

void CListWnd::RedrawRange(int top, int bottom) {
    top = std::max(top, 0);
    bottom = std::min(bottom, m_height);
    if (bottom - top <= 0 || !m_shown) return;
    CZVDC dc(this);
    if (m_layoutPending) UpdateScrollBar(&dc, 1);
    if (m_width <= 0) return;
    const int x = ToRootX(0);
    const int y = ToRootY(0);
    CDibDC band(m_width, bottom - top, x, y + top, 1);
    band.SetOrigin(x, y);
    OnPaint(&band);
    dc.SetOrigin(x, y);
    dc.BitBlt(0, top, &band, 0, 0, m_width, bottom - top);
}

void CListWnd::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (!m_shown) ReportAssert(kSource, 301, 1);
    const int level = m_fade.Level();
    if (SkinsOn() && m_fade.IsSkinned() && m_fadeCacheEnabled && m_width > 0 && m_height > 0) {
        CDibDC* image = m_fade.Background(m_width, m_height, ToRootX(0), ToRootY(0), [&](CDibDC* surface) {
            DrawRowBackground(surface, 0, m_height, level);
        });
        dc->BitBlt(0, 0, image, 0, 0, m_width, m_height);
    } else {
        DrawRowBackground(dc, 0, m_height, level);
    }
    m_fade.MarkDrawn();
    DrawHeader(dc);
    DrawRows(dc);
}

void CListWnd::DrawRowBackground(CZVDC* dc, int top, int bottom, int) {
    dc->FillRect(m_backColor, 0, top, m_width, bottom - top, 0);
}

void CListWnd::SelectTextFont(CZVDC* dc) {
    if (m_items.empty()) {
        dc->SetFont(m_emptyFontSize, 0, 1);
        dc->SetColor(m_textColor);
        return;
    }
    dc->SetColor(m_textColor);
    dc->SetFont(m_fontSize, 0, 1);
}

void CListWnd::DrawRows(CZVDC* dc) {
    const int bevel = GetBevel();
    SelectTextFont(dc);
    if (m_items.empty()) {
        if (!m_emptyText.IsEmpty())
            dc->DrawText(m_emptyText,
                         CZVRect(bevel, m_headerHeight, m_width - 2 * bevel + 1, m_height - bevel - m_headerHeight + 1),
                         kEmptyTextFormat);
        return;
    }
    dc->PushClipBounds(bevel, RowsTop(), m_width - bevel - 1, m_height - bevel - 1);
    int index = GetFirstVisibleItem();
    CZVRect r;
    GetItemRectAt(&r, index);
    for (int y = r.y; y < m_height + m_rowHeight - bevel && index < GetCount(); ++index) {
        CListItem* row = GetItemAt(index);
        const int h = GetItemHeight(y, row);
        DrawRow(dc, row, y, y + h);
        y += h;
    }
    dc->PopClip();
}

void CListWnd::DrawItems(CZVDC* dc, int first, int last) {
    SelectTextFont(dc);
    first = std::max(first, 0);
    last = std::min(last, GetCount() - 1);
    const int bevel = GetBevel();
    const int top = RowsTop();
    CZVRect clip(bevel, top, m_width - 2 * bevel, m_height - bevel - top);
    if (std::optional<CZVRect> current = dc->GetClipRect()) {
        const int left = std::max(clip.x, current->x);
        const int upper = std::max(clip.y, current->y);
        const int right = std::min(clip.x + clip.w, current->x + current->w);
        const int lower = std::min(clip.y + clip.h, current->y + current->h);
        clip = CZVRect(left, upper, std::max(right - left, 0), std::max(lower - upper, 0));
    }
    dc->PushClip(&clip);
    dc->SetColor(m_textColor);
    const int base = top - m_scrollPos;
    for (int i = first; i <= last; ++i) {
        CListItem* row = GetItemAt(i);
        DrawRow(dc, row, base + row->m_top, base + row->m_bottom);
    }
    dc->PopClip();
}

void CListWnd::DrawItem(CListItem* row, CZVDC* dc, int top, int bottom, int showPressed) {
    if (!row) return;
    const int bevel = GetBevel();
    if (row->IsCustom()) {
        row->Draw(dc, m_rowFontSize, m_rowButtonInset, CZVRect(bevel, top, m_width - 2 * bevel + 1, bottom - top + 1));
        SelectTextFont(dc);
    }
    const CZVRect r(bevel, top, m_width - 2 * bevel - GetReservedWidth(row) + 1, bottom - top + 1);
    for (const PlacedButton& placed : PlaceRowButtons(r, row)) {
        if (placed.button->IsPressed() && showPressed)
            placed.button->DrawPressed(this, dc, placed.rect);
        else
            placed.button->DrawNormal(this, dc, placed.rect);
    }
}

CDibDC* CListWnd::GetRowShade(COLORREF colour, int level, int height) {
    for (RowShade& shade : m_shades)
        if (shade.colour == colour && shade.level == level && shade.height == height) return shade.image.get();
    const int width = m_width - 2 * GetBevel();
    if (width <= 0 || height <= 0) return nullptr;
    auto image = std::make_unique<CDibDC>(width, height, 0, 0, 0);
    if (!image->GetBits()) return nullptr;
    image->FillGlassGradient(colour, static_cast<float>(level * 0.1));
    m_shades.push_back(RowShade{colour, level, height, std::move(image)});
    return m_shades.back().image.get();
}

// ---- scrolling

void CListWnd::OnScroll(CZVDC* dc, int position) {
    const int delta = position - m_scrollPos;
    m_scrollPos = position;
    if (delta == 0 || !m_shown) return;
    if (SkinsOn() && m_fade.DrawnIsSkinned()) {
        m_fade.Step();
        RedrawBuffered();
        return;
    }
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    const int bevel = GetBevel();
    if (std::abs(delta) >= m_height - m_rowHeight - bevel) {
        OnPaint(dc);
        return;
    }
    const int top = RowsTop();
    const int areaWidth = m_width - 2 * bevel;
    dc->ScrollArea(bevel, top, areaWidth, m_height - bevel - top, 0, -delta);
    const int rowHeight = std::max(m_rowHeight, 1);
    int bandTop, bandHeight, first, last;
    if (delta > 0) {
        bandTop = m_height - bevel - delta;
        bandHeight = delta;
        last = GetLastVisibleItem();
        first = last - delta / rowHeight - 1;
    } else {
        bandTop = top;
        bandHeight = -delta + 1;
        first = GetFirstVisibleItem();
        last = first + -delta / rowHeight + 2;
    }
    first = std::max(first, 0);
    last = std::min(last, GetCount() - 1);
    const int bandBottom = bandTop + bandHeight;
    auto drawBand = [&](CZVDC* surface) {
        DrawRowBackground(surface, bandTop, bandBottom, CListFade::kLevels);
        surface->PushClipBounds(bevel, bandTop, m_width - bevel, bandBottom);
        if (!DrawBand(surface, bandTop, bandBottom)) DrawItems(surface, first, last);
        surface->PopClip();
    };
    if (dc->IsPixelSurface()) {
        drawBand(dc);
        return;
    }
    if (areaWidth <= 0) return;
    const int x = ToRootX(0);
    const int y = ToRootY(0);
    CDibDC band(m_width, bandHeight, x + bevel, y + bandTop, 1);
    band.SetOrigin(x, y);
    drawBand(&band);
    dc->BitBlt(bevel, bandTop, &band, 0, 0, areaWidth, bandHeight);
}

int CListWnd::ScrollToItem(int index, int redraw) {
    CZVRect r;
    GetItemRectAt(&r, index);
    if (!m_selected) r.h = m_selectedRowHeight;
    const int top = RowsTop();
    const int bevel = GetBevel();
    int p = m_scrollPos;
    if (r.y < top)
        p += r.y - top;
    else if (r.y + r.h - 1 > m_height)
        p += r.y - (m_height - bevel) + r.h - 1;
    else
        return 0;
    CZVScrollBar* bar = GetListScrollBar();
    if (!bar) return 0;
    bar->SetPosition(p, redraw);
    // The bar keeps the position within the rows; the list follows it.
    p = bar->GetPosition();
    if (redraw) {
        CZVDC dc(this);
        OnScroll(&dc, p);
    } else {
        m_scrollPos = p;
    }
    return p;
}

// ---- selection

void CListWnd::Select(CListItem* row, int redraw) {
    if (row == m_selected) return;
    CZVRect old;
    GetItemRect(&old, m_selected);
    const bool hadOld = m_selected != nullptr;
    m_selected = row;
    LayoutItems();
    if (!redraw) return;
    int top = 0;
    int bottom = m_height;
    if (row) {
        CZVRect now;
        GetItemRect(&now, row);
        if (hadOld) {
            top = std::max(0, std::min(old.y, now.y));
            bottom = std::min(m_height, std::max(old.y + old.h - 1, now.y + now.h - 1));
        } else {
            top = now.y;
        }
    }
    const int bevel = GetBevel();
    top = std::clamp(top, bevel, std::max(bevel, m_height - bevel));
    bottom = std::clamp(bottom, bevel, std::max(bevel, m_height - bevel));
    RedrawRange(top, bottom);
}

// ---- keys

void CListWnd::OnKeyUp(int key, int) {
    if (key != platform::VK_PRIOR && key != platform::VK_NEXT) {
        if (!m_rowButtons.empty())
            OnCommand((key == 'P' ? m_rowButtons.back() : m_rowButtons.front())->GetCommandId());
        return;
    }
    if (m_items.empty()) return;
    const int bevel = GetBevel();
    const int page = (m_height - 2 * bevel - m_selectedRowHeight) / std::max(m_rowHeight, 1);
    int first = GetFirstVisibleItem();
    CZVRect r;
    GetItemRectAt(&r, first);
    if (r.y < bevel) ++first;
    int last = GetLastVisibleItem();
    GetItemRectAt(&r, last);
    if (r.y + r.h - 1 > m_height - bevel) --last;
    int s = GetSelectedIndex();
    if (key == platform::VK_PRIOR)
        s = s == first ? s - page : first;
    else
        s = s == last ? s + page : last;
    s = std::clamp(s, 0, GetCount() - 1);
    SelectIndex(s, 1);
    if (s < first || s > last) ScrollToItem(s, 1);
}

void CListWnd::OnShow(int) { m_fade.DropBackgrounds(); }

// ---- touch

void CListWnd::Play(const char* sound) {
    if (CSetServer* style = CSetServer::Get())
        if (CSoundClip* clip = style->GetSound(sound)) clip->Play(0);
}

int CListWnd::PressSelectedRow(int x, int y) {
    if (!m_selected || !m_selected->m_showsRowButtons) return 0;
    CZVRect r;
    GetItemRectAt(&r, m_selected->m_index);
    if (m_selected->IsCustom() && r.y < y && y < r.y + r.h - 1) {
        CZVDC dc(this);
        if (m_selected->OnLButtonDown(&dc, r, m_rowFontSize, x)) return 1;
    }
    return PressRowButton(x, y);
}

bool CListWnd::SendCommandNow(bool hideSelection) {
    std::shared_ptr<bool> alive = m_alive;
    CListItem* selected = m_selected;
    if (hideSelection) m_selected = nullptr;
    OnCommand(m_commandId);
    if (!*alive) return false;
    // The handler may have removed rows meanwhile: only a row that is
    // still there comes back as the selection.
    if (hideSelection && !m_selected && IndexOf(selected) >= 0) m_selected = selected;
    return true;
}

int CListWnd::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown) return 0;
    if (m_editBox) {
        if (m_editBox->HitTest(x, y)) return CZVWindow::OnLButtonDown(x, y, keys);
        EndEdit();
        return 1;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.x < 0 || p.x > m_width || p.y < 0 || p.y > m_height) return 0;
    if (!m_enabled) return 1;
    if (PressSelectedRow(p.x, p.y)) return 1;

    const uint32_t now = platform::GetTickCount();
    m_dragging = 1;
    m_lastY = p.y;
    // A press during a flick catches the list and goes on scrolling.
    m_dragState = m_flick.Velocity() ? kScrolling : kUndecided;
    m_flick.Press(p.y, now);
    m_pressTick = now;

    CListItem* hit = ItemFromPoint(p.x, p.y);
    if (hit && !IsSelectable(hit)) hit = m_selected;
    if (hit == m_selected) {
        if (m_clickArmed && TicksSince(&m_lastClickTick) < kDoubleClickMs) {
            m_clickArmed = 0;
            if (m_doubleClickId != kNoCommand && m_parent) m_parent->OnCommand(m_doubleClickId);
        } else {
            m_lastClickTick = now;
            m_clickArmed = 1;
        }
        return 1;
    }
    m_lastClickTick = now;
    m_clickArmed = 1;
    if (!hit) return 0;
    SelectPressed(hit);

    if (keys & (platform::MK_SHIFT | platform::MK_CONTROL)) {
        if (!SendCommandNow(true)) return 1;
    } else {
        m_commandPending = 1;
    }
    if (m_uniformRowHeight) {
        // The new selection takes the same press, so that a custom row under
        // the finger reacts at once. Only the row's own press is repeated: a
        // second pass through the click logic would count as a double click.
        const int state = m_dragState;
        PressSelectedRow(p.x, p.y);
        m_dragState = state;
        if (m_selected && m_selected->IsCustom()) m_dragging = 0;
    }
    return 1;
}

void CListWnd::SelectPressed(CListItem* hit) {
    if (ScrollToItem(hit->m_index, 1)) {
        RequestLayout();
        m_selected = hit;
        RedrawBuffered();
        return;
    }
    CListItem* old = m_selected;
    CZVRect oldRect, newRect;
    GetItemRect(&oldRect, old);
    GetItemRect(&newRect, hit);
    int top = newRect.y;
    int bottom = m_height;
    if (old) {
        top = std::max(0, std::min(oldRect.y, newRect.y));
        bottom = std::min(m_height, std::max(oldRect.y + oldRect.h - 1, newRect.y + newRect.h - 1));
    }
    m_selected = hit;
    if (old && GetItemHeight(0, old) + 1 + GetItemHeight(0, hit) + 1 != oldRect.h + newRect.h) bottom = m_height;
    const int total = LayoutItems();
    GetItemRect(&newRect, hit);
    top = std::min(top, newRect.y);
    bottom = std::max(bottom, newRect.y + newRect.h - 1);
    if (CZVScrollBar* bar = GetListScrollBar(); bar && total != bar->GetTotal()) {
        bar->SetRange(bar->GetPageLength(), total);
        bar->RedrawBuffered();
    }
    RedrawRange(top, bottom);
}

int CListWnd::OnMouseMove(int x, int y, int keys) {
    if (m_editBox) return CZVWindow::OnMouseMove(x, y, keys);
    if (!m_dragging) return 0;
    if (keys == 0) {
        m_dragging = 0;
        return 0;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    if (m_dragState == kDragSelect) {
        const int last = GetLastVisibleItem();
        for (int i = GetFirstVisibleItem(); i <= last; ++i) {
            CListItem* row = GetItemAt(i);
            if (!row || !IsSelectable(row)) continue;
            CZVRect r;
            GetItemRect(&r, row);
            if (r.h >= 2) {
                r.y += 2;
                r.h -= 4;
            }
            if (!Contains(r, p.x, p.y)) continue;
            if (row == m_selected) return 1;
            Select(row, 1);
            Play(kDragSound);
            SendCommandNow(false);
            return 1;
        }
        return 1;
    }
    CZVScrollBar* bar = GetListScrollBar();
    if (!bar) return 0;
    const int step = m_lastY - p.y;
    m_flick.Move(p.y);
    if (std::abs(step) < kStepThreshold) return 0;
    if (m_dragState == kUndecided && std::abs(step) < kScrollThreshold) return 1;
    m_dragState = kScrolling;
    const int old = bar->GetPosition();
    bar->SetPosition(old + step, 1);
    if (bar->GetPosition() != old && !m_fade.IsFadingIn() && m_fade.IsSkinned()) OnScrollFade(1);
    CZVDC dc(this);
    OnScroll(&dc, bar->GetPosition());
    m_lastY = p.y;
    return 1;
}

int CListWnd::OnLButtonUp(int x, int y, int keys) {
    ZVPoint p;
    ToLocal(&p, x, y);
    if (m_dragging && m_dragState == kScrolling) {
        if (m_flick.Release(p.y, m_scrollPos) == 0) OnScrollFade(0);
    }
    m_dragging = 0;
    if (m_editBox) return CZVWindow::OnLButtonUp(x, y, keys);
    EndHeldButton();
    if (m_selected && m_selected->IsCustom()) {
        const CZVRect r = SelectedRowRect();
        CZVDC dc(this);
        // A row answers "none" for a press it cancelled: nothing goes out.
        const int id = m_selected->OnLButtonUp(&dc, r, m_rowFontSize, p.x);
        if (id && id != kNoCommand && m_parent) {
            std::shared_ptr<bool> alive = m_alive;
            m_parent->OnCommand(id);
            if (!*alive) return 1;
        }
    }
    return ReleaseRowButtons(p.x, p.y);
}

// ---- idle: long press, flick, the pending command and the fade

int CListWnd::OnIdle(int busy) {
    if (SkinsOn() && m_fade.Step() && m_flick.Velocity() == 0) {
        if (CMainWndBase::InputBlockedFor(this)) return 0;
        RedrawBuffered();
    }
    if (m_dragging && m_dragState == kUndecided && TicksSince(&m_pressTick) > kLongPressMs) {
        Play(kDragSound);
        m_dragState = kDragSelect;
        FlashSelection();
    }
    if (m_editBox && m_editCommitPending) {
        m_editCommitPending = 0;
        std::shared_ptr<bool> alive = m_alive;
        EndEdit();
        if (!*alive) return -1;
        Redraw(1);
        return 1;
    }
    if (m_flick.Velocity() != 0 && !m_dragging) return StepFlick();
    if (m_commandPending && !m_dragging) {
        m_commandPending = 0;
        // The page may delete the list in answer: the parent's idle walk
        // then ends at once.
        if (!SendCommandNow(false)) return -1;
    }
    return CZVWindow::OnIdle(busy);
}

void CListWnd::FlashSelection() {
    if (!m_selected || !m_shown) return;
    CZVRect r;
    GetItemRect(&r, m_selected);
    const int h = GetItemHeight(r.y, m_selected);
    const int bevel = GetBevel();
    CSetServer* style = CSetServer::Get();
    CZVDC dc(this);
    dc.PushClipBounds(bevel, bevel, m_width - bevel - 1, m_height - bevel - 1);
    dc.FillRect(style ? style->GetSelectionColor() : 0x64FFFF, r.x, r.y, r.w, r.h - 1, 0);
    platform::Sleep(kFlashMs);
    DrawRowBackground(&dc, r.y, r.y + h - 2, m_fade.Level());
    SelectTextFont(&dc);
    DrawRow(&dc, m_selected, r.y, r.y + h);
    dc.PopClip();
}

void CListWnd::StopFlick() {
    m_flick.Stop();
    OnScrollFade(0);
}

int CListWnd::StepFlick() {
    if (CMainWndBase::InputBlockedFor(this)) {
        StopFlick();
        return 0;
    }
    const CListFlick::Step step = m_flick.Advance();
    if (step.ended) OnScrollFade(0);
    int p = step.position;
    if (p == m_scrollPos) return 1;
    if (std::abs(p - m_scrollPos) >= m_height) ReportAssert(kSource, 583, 1);
    CZVScrollBar* bar = GetListScrollBar();
    if (!bar) {
        StopFlick();
        return 0;
    }
    const int limit = GetBevel() + RowsTop() + bar->GetTotal() - m_height;
    if (p < 0 || p > limit) {
        p = p < 0 ? 0 : limit;
        StopFlick();
    }
    CZVDC dc(this);
    OnScroll(&dc, p);
    bar->SetPosition(p, 1);
    return 1;
}

void CListWnd::OnScrollFade(int fadeIn) { m_fade.Start(fadeIn); }

// ---- commands and the row buttons' repeat

int CListWnd::OnCommand(int id) {
    if (id == kEditCommitCommand) {
        m_editCommitPending = 1;
        return kEditCommitCommand;
    }
    return CZVWindow::OnCommand(id);
}

void CListWnd::OnTimer() {
    if (!m_heldButton) {
        KillTimer();
        return;
    }
    if (TicksSince(&m_heldSince) >= kRepeatDelayMs && m_parent) m_parent->OnCommand(m_heldButton->GetCommandId());
}

// ---- row buttons

CListRowButton* CListWnd::AddRowButton(CZVString iconName, int iconLayout, CZVString caption, int commandId,
                                       int autoRepeat, int mode, int rows) {
    CRowButtonLook look;
    look.caption = caption;
    look.iconName = iconName;
    look.iconLayout = iconLayout;
    return AppendRowButton(commandId, autoRepeat, look, mode, rows);
}

CListRowButton* CListWnd::AddRowButtonIcon(int iconKind, int layout, CZVString caption, int commandId, int autoRepeat,
                                           const COLORREF* iconColour, int mode, int rows) {
    CRowButtonLook look;
    look.caption = caption;
    look.iconKind = iconKind;
    look.iconLayout = layout;
    look.iconColour = iconColour;
    return AppendRowButton(commandId, autoRepeat, look, mode, rows);
}

CListRowButton* CListWnd::AppendRowButton(int commandId, int autoRepeat, const CRowButtonLook& look, int mode,
                                          int rows) {
    m_rowButtons.push_back(
        std::make_unique<CListRowButton>(this, NextRowButtonRect(mode, rows), commandId, autoRepeat, look));
    if (m_rowButtons.size() == 1)
        if (CSetServer* style = CSetServer::Get()) m_clickSound = style->GetSound(kRowButtonSound);
    return m_rowButtons.back().get();
}

CZVRect CListWnd::NextRowButtonRect(int mode, int rows) const {
    const int n = static_cast<int>(m_rowButtons.size());
    const int w = m_rowButtonWidth;
    const int column = m_selectedRowHeight - 2 * m_rowButtonInset;
    if (mode == 0 || mode == 2) return CZVRect(-(n + 1) * w, m_rowButtonInset, w, column);
    // Stacked: a count below 1 would leave no cell; a button beyond the
    // count takes the top cell, so that it stays inside the row.
    rows = std::max(rows, 1);
    const int cell = column / rows;
    const int slot = std::min(n, rows - 1);
    if (slot == rows - 1) return CZVRect(-w, m_rowButtonInset, w, column - (rows - 1) * cell);
    return CZVRect(-w, m_rowButtonInset + column - (slot + 1) * cell, w, cell);
}

CListRowButton* CListWnd::GetRowButton(int i) const {
    if (i < 0 || i >= GetRowButtonCount()) return nullptr;
    return m_rowButtons[static_cast<size_t>(i)].get();
}

void CListWnd::DeleteAllRowButtons() {
    m_heldButton = nullptr;
    m_rowButtons.clear();
}

void CListWnd::GetRowButtonsRect(CZVRect* out) {
    *out = CZVRect();
    CZVRect row;
    GetItemRectAt(&row, 0);
    bool first = true;
    for (const auto& button : m_rowButtons) {
        const CZVRect r = button->GetRectInRow(row);
        if (first) {
            *out = r;
            first = false;
            continue;
        }
        const int left = std::min(out->x, r.x);
        const int top = std::min(out->y, r.y);
        const int right = std::max(out->x + out->w, r.x + r.w);
        const int bottom = std::max(out->y + out->h, r.y + r.h);
        *out = CZVRect(left, top, right - left, bottom - top);
    }
}

CZVRect CListWnd::SelectedRowRect() {
    CZVRect r;
    GetItemRectAt(&r, GetSelectedIndex());
    r.w -= GetReservedWidth(m_selected);
    return r;
}

std::vector<CListWnd::PlacedButton> CListWnd::PlaceRowButtons(CZVRect row, const CListItem* item) const {
    std::vector<PlacedButton> placed;
    // Hidden buttons leave no gap: the ones left of them move right.
    int offset = 0;
    for (size_t i = 0; i < m_rowButtons.size(); ++i) {
        CListRowButton* button = m_rowButtons[i].get();
        CZVRect r = button->GetRectInRow(row);
        if (i >= kMaskBits || !(item->m_buttonMask & (1u << i))) {
            offset += r.w;
            continue;
        }
        r.x += offset;
        placed.push_back({button, r});
    }
    return placed;
}

int CListWnd::PressRowButton(int x, int y) {
    for (const PlacedButton& placed : PlaceRowButtons(SelectedRowRect(), m_selected)) {
        if (!ContainsWithEdges(placed.rect, x, y)) continue;
        CListRowButton* button = placed.button;
        if (button->IsAutoRepeat()) {
            m_heldButton = button;
            m_heldSince = platform::GetTickCount();
            SetTimer(kRepeatTimerMs);
        }
        CZVDC dc(this);
        button->DrawPressed(this, &dc, placed.rect);
        button->SetPressed(1);
        return 1;
    }
    return 0;
}

int CListWnd::ReleaseRowButtons(int x, int y) {
    CListRowButton* clicked = nullptr;
    if (m_selected && m_selected->m_showsRowButtons) {
        for (const PlacedButton& placed : PlaceRowButtons(SelectedRowRect(), m_selected)) {
            if (!placed.button->IsPressed()) continue;
            CZVDC dc(this);
            placed.button->DrawNormal(this, &dc, placed.rect);
            if (!clicked && ContainsWithEdges(placed.rect, x, y)) clicked = placed.button;
        }
    }
    // A press whose row went meanwhile must not leave its button down.
    for (const auto& button : m_rowButtons) button->SetPressed(0);
    if (!clicked) return 0;
    if (m_clickSound) m_clickSound->Play(0);
    OnCommand(clicked->GetCommandId());
    return 1;
}

void CListWnd::EndHeldButton() {
    if (!m_heldButton) return;
    KillTimer();
    m_heldButton = nullptr;
}

// ---- in-place edit

int CListWnd::BeginEdit(CZVString text, int commandId) {
    if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(nullptr);
    m_editCommandId = commandId;
    m_editText = text;
    DropEditBox();
    if (!m_selected) return 0;
    CZVRect r;
    GetItemRectAt(&r, m_selected->m_index);
    r.w -= GetBevel();
    auto* box = new CZVEdit(this, r, text, kEditCommitCommand, -1, kEditStyleClass);
    box->SetFontSize(m_fontSize);
    box->SetTextColor(kEditTextColour);
    box->SetColors(kEditFaceColour, kEditFaceColour);
    box->SetEditingColors(kEditEditingTextColour, kEditEditingFaceColour);
    AddChild(box);
    m_editBox = box;
    box->BeginEdit();
    Redraw(1);
    m_editCommitPending = 0;
    return 1;
}

int CListWnd::EndEdit() {
    if (!m_editBox) return 0;
    CZVEdit* box = std::exchange(m_editBox, nullptr);
    m_editText = box->GetText();
    // The field stays a child while the parent handles the command, so that
    // it goes with the list should the parent delete the list.
    std::shared_ptr<bool> alive = m_alive;
    if (m_parent) m_parent->OnCommand(m_editCommandId);
    if (!*alive) return 1;
    RemoveChild(box);
    delete box;
    RedrawBuffered();
    return 1;
}

void CListWnd::DropEditBox() {
    if (!m_editBox) return;
    CZVEdit* box = std::exchange(m_editBox, nullptr);
    RemoveChild(box);
    delete box;
    m_editCommitPending = 0;
}
