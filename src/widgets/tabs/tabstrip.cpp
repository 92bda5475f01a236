#include "widgets/tabs/tabstrip.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "gfx/dibdc.h"
#include "platform/clock.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kStepMs = 250;
constexpr int kLongestSlideMs = 600;

int SlideDuration(int tabs) { return std::clamp(std::abs(tabs) * kStepMs, kStepMs, kLongestSlideMs); }

// Elapsed time since a tick, one less once the counter has wrapped.
uint32_t Elapsed(uint32_t start) {
    const uint32_t now = platform::GetTickCount();
    return now >= start ? now - start : now - start - 1;
}

}  // namespace

CTabStrip::CTabStrip(CZVWindow* parent, CZVRect rect, int styleClass, CZVWindow* owner, COLORREF backColour)
    : CTabContainer(parent, rect, styleClass), m_owner(owner), m_slideStart(platform::GetTickCount()) {
    SetBackColor(backColour);
    m_layoutMode = 2;
    if (styleClass != 0) {
        if (styleClass == 6) m_layoutMode = 1;
        if (CSetServer::Get()) m_tabWidth = CSetServer::Get()->GetStyle(styleClass, 0);
    }
}

CTabStrip::~CTabStrip() { delete m_slideSurface; }

// ---- counting

int CTabStrip::GetVisibleCount() {
    // A tab width of 0 (a style without width) would divide by zero.
    const int v = m_width / std::max(m_tabWidth, 1);
    return std::max(std::min(v, GetTabCount()), 1);
}

int CTabStrip::GetStepWidth() {
    const int count = GetTabCount();
    const int v = GetVisibleCount();
    int avail = m_width;
    if (m_leftEnd == 2) avail -= m_spacing / 2;
    if (m_rightEnd == 2) avail -= m_spacing / 2;
    const int sliver = m_stacked ? 2 * m_radius : 0;
    const int w = (avail - sliver * std::max(count - v, 0)) / v;
    return std::max(m_stacked ? w - GetBevel() - m_radius : w, 1);
}

// Step of the drag layout: like GetStepWidth without the end insets.
int CTabStrip::SlideStepWidth() {
    const int v = GetVisibleCount();
    const int sliver = m_stacked ? 2 * m_radius : 0;
    const int full = (m_width - sliver * std::max(GetTabCount() - v, 0)) / v;
    return std::max(m_stacked ? full - GetBevel() - m_radius : full, 1);
}

int CTabStrip::GetPageOffset() {
    if (m_selected < 0) return 0;
    const int v = GetVisibleCount();
    return v * (m_selected / v) - m_first;
}

void CTabStrip::SetFirstVisible(int first) {
    m_first = std::clamp(first, 0, std::max(GetTabCount() - GetVisibleCount(), 0));
    m_layoutDirty = 1;
}

// ---- tabs

void CTabStrip::RemoveAllTabs() {
    while (!m_tabs.IsEmpty()) delete static_cast<CTabButton*>(m_tabs.RemoveHead());
    m_selected = 0;
    m_first = 0;
    m_layoutDirty = 1;
}

void CTabStrip::SetTabsPerRow(int n, int) {
    m_tabWidth = m_width / std::max(n, 1);
    m_layoutDirty = 1;
}

void CTabStrip::AutoSizeTabs() {
    int widest = 1;
    CZVDC dc(this);
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos;) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        dc.SelectFont(tab->GetFontSize(), 0, 1);
        widest = std::max(widest, dc.GetTextSize(tab->GetText()).cx);
    }
    const int n = std::max(m_width / (widest + 2 * GetBevel()), 2);
    SetTabsPerRow(n, GetTabCount());
}

CZVWindow* CTabStrip::AddTab(CZVString caption, int id) {
    auto* tab = new CTabButton(this, CZVRect(0, 0, 1, 1), id, m_styleClass, 0);
    tab->SetFaceColor(m_faceColor);
    tab->SetShape(m_radius, GetBevel(), tab->GetMargin());
    tab->SetSpacing(m_spacing);
    tab->SetText(caption, nullptr, 0);
    AddTabWindow(tab);
    return tab;
}

void CTabStrip::AddTabWindow(CZVWindow* tab) {
    if (!tab) return;
    m_tabs.AddTail(tab);
    if (tab->GetParent() == this && !GetChildren().Contains(tab)) AddChild(tab);
    m_layoutDirty = 1;
}

// ---- layout

void CTabStrip::PlaceTabs(int runStart, int runCount, int firstWidth, int lastWidth, int full, int sliver) {
    const int y = m_layoutMode == 2 ? GetBevel() : 0;
    const int h = m_height - GetBevel();
    const int count = GetTabCount();
    int x = 0;
    int i = 0;
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos; ++i) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        int kind, w;
        if (i < runStart) {
            kind = m_stacked ? kTabStackedBefore : kTabHidden;
            w = sliver;
        } else if (i < runStart + runCount) {
            kind = kTabVisible;
            w = i == runStart ? firstWidth : i == runStart + runCount - 1 ? lastWidth : full;
        } else {
            kind = m_stacked ? kTabStackedAfter : kTabHidden;
            w = sliver;
        }
        if (i == count - 1) w = m_width - x;
        if (w < 1) kind = kTabHidden;
        tab->SetPositionKind(kind);
        tab->SetRect(CZVRect(x, y, std::max(w, 0), h));
        x += std::max(w, 0);
    }
}

void CTabStrip::Layout() {
    const int v = GetVisibleCount();
    const int sliver = m_stacked ? 2 * m_radius : 0;
    const int full = (m_width - sliver * std::max(GetTabCount() - v, 0)) / v;
    PlaceTabs(m_first, v, full, full, full, sliver);
    m_layoutDirty = 0;
}

void CTabStrip::MakeSlideSurface() {
    delete m_slideSurface;
    m_slideSurface = new CDibDC(std::max(m_width, 1), std::max(m_height, 1), ToRootX(0), ToRootY(0), 1);
}

void CTabStrip::DragLayout(CZVDC* dc, int d, int clamp, int force) {
    if (m_layoutDirty) Layout();
    const int v = GetVisibleCount();
    const int sliver = m_stacked ? 2 * m_radius : 0;
    const int full = (m_width - sliver * std::max(GetTabCount() - v, 0)) / v;
    const int s = SlideStepWidth();
    if (clamp) d = std::clamp(d, -(s * std::max(GetTabsAfter(), 0)), m_first * s);
    if (d == m_slideOffset && !force) return;
    m_slideOffset = d;
    const int k = d / s;
    const int r = d % s;
    const int first = m_first - k;
    if (d >= 0)
        PlaceTabs(first - 1, v + 1, sliver + r, full - r, full, sliver);
    else
        PlaceTabs(first, v + 1, full + r, sliver - r, full, sliver);
    if (!m_slideSurface) MakeSlideSurface();
    Paint(m_slideSurface, 1);
    // The tabs go back to their resting places for hit tests.
    Layout();
    if (dc) {
        dc->SetOrigin(ToRootX(0), ToRootY(0));
        dc->BitBlt(0, 0, m_slideSurface, 0, 0, m_width, m_height);
    }
}

// ---- selection

void CTabStrip::Select(int index, int redraw) {
    if (index == m_selected || index >= GetTabCount()) return;
    const bool notify = m_notifyId != -1 && ((m_selected < 0) != (index < 0));
    m_selected = index < 0 ? -1 : index;
    if (index >= 0 && EnsureVisible(index, redraw)) return;
    if (redraw) RedrawBuffered();
    if (notify && m_parent) m_parent->OnCommand(m_notifyId);
}

int CTabStrip::EnsureVisible(int index, int animate) {
    if (index < 0 || index >= GetTabCount()) return 0;
    const int v = GetVisibleCount();
    int amount = 0;
    if (index < m_first)
        amount = index - m_first;
    else if (index >= m_first + v)
        amount = index - (m_first + v) + 1;
    if (amount == 0) return 0;
    if (m_notifyId != -1 && m_parent) {
        m_first += amount;
        m_parent->OnCommand(m_notifyId);
        m_first -= amount;
    }
    if (animate)
        SlideBy(amount);
    else
        SetFirstVisible(m_first + amount);
    return amount;
}

int CTabStrip::OnCommand(int id) {
    int i = 0;
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos; ++i) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        if (tab->GetCommandId() != id) continue;
        if (i == m_selected) return 1;
        Select(i, 1);
        return m_parent ? m_parent->OnCommand(id) : 0;
    }
    return 0;
}

// ---- sliding and dragging

void CTabStrip::SlideBy(int n) {
    if (n == 0) return;
    m_slideOffset = 0;
    m_slideBase = 0;
    m_distance = -(n * GetStepWidth());
    m_duration = SlideDuration(n);
    m_restartClock = 1;
    MakeSlideSurface();
    m_targetFirst = std::clamp(m_first + n, 0, std::max(GetTabCount() - GetVisibleCount(), 0));
}

void CTabStrip::PageLeft() {
    const int v = GetVisibleCount();
    const int p = v == 1 ? 1 : v - 1;
    SlideBy(-std::min(m_first, p));
}

void CTabStrip::PageRight() {
    const int v = GetVisibleCount();
    const int p = v == 1 ? 1 : v - 1;
    SlideBy(std::min(std::max(GetTabsAfter(), 0), p));
}

void CTabStrip::FinishSlide(int redraw) {
    delete m_slideSurface;
    m_slideSurface = nullptr;
    SetFirstVisible(m_targetFirst);
    m_slideOffset = 0;
    m_distance = 0;
    if (redraw && m_shown) RedrawBuffered();
}

int CTabStrip::OnLButtonDown(int x, int y, int keys) {
    if (m_shown && HitTest(x, y)) {
        if (m_slideSurface) FinishSlide(1);
        m_dragging = 1;
        m_slideOffset = 0;
        m_slideBase = 0;
        ZVPoint p;
        ToLocal(&p, x, y);
        m_pressX = p.x;
        m_pressY = p.y;
    }
    return CZVWindow::OnLButtonDown(x, y, keys);
}

int CTabStrip::OnMouseMove(int x, int y, int keys) {
    if (!m_dragging) return CZVWindow::OnMouseMove(x, y, keys);
    if (!m_slideSurface) MakeSlideSurface();
    ZVPoint p;
    ToLocal(&p, x, y);
    CZVDC dc(this);
    DragLayout(&dc, p.x - m_pressX, 1, 0);
    return 1;
}

int CTabStrip::OnLButtonUp(int x, int y, int keys) {
    if (!m_dragging && m_slideSurface && !m_restartClock) {
        FinishSlide(1);
        return 0;
    }
    if (m_dragging && m_slideOffset != 0) {
        ZVPoint p;
        ToLocal(&p, x, y);
        const int dx = p.x - m_pressX;
        const int s = GetStepWidth();
        int n = (std::abs(dx) + s / 2) / s;
        if (dx < 0) n = -n;
        n = std::clamp(n, -std::max(GetTabsAfter(), 0), m_first);
        m_targetFirst = std::clamp(m_first - n, 0, std::max(GetTabCount() - GetVisibleCount(), 0));
        m_slideBase = m_slideOffset;
        m_slideOffset = 0;
        m_distance = n * s - m_slideBase;
        m_duration = SlideDuration(n);
        m_slideStart = platform::GetTickCount();
        m_restartClock = 0;
        m_dragging = 0;
        if (std::abs(dx) > m_tabWidth / 4) {
            for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos;) {
                auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
                if (tab->IsPressed()) tab->CancelPress();
            }
            return 1;
        }
        return CZVWindow::OnLButtonUp(x, y, keys);
    }
    if (m_dragging && m_slideSurface) {
        // The row never moved: nothing is left to slide.
        delete m_slideSurface;
        m_slideSurface = nullptr;
    }
    m_dragging = 0;
    return CZVWindow::OnLButtonUp(x, y, keys);
}

int CTabStrip::OnIdle(int busy) {
    if (!m_slideSurface) return CZVWindow::OnIdle(busy);
    if (m_dragging) return 0;
    if (m_restartClock) {
        m_slideStart = platform::GetTickCount();
        m_restartClock = 0;
    }
    const uint32_t duration = static_cast<uint32_t>(std::max(m_duration, 1));
    const uint32_t distance = static_cast<uint32_t>(std::abs(m_distance));
    const uint32_t k = distance * 400000u / (duration * duration);
    if (GetMainWnd() && GetMainWnd()->IsInputBlocked(this)) return busy;
    const uint32_t elapsed = Elapsed(m_slideStart);
    if (elapsed > duration) {
        FinishSlide(1);
        if (m_notifyId != -1 && m_parent) m_parent->OnCommand(m_notifyId);
        return 1;
    }
    uint32_t p;
    if (elapsed < duration / 2) {
        p = static_cast<uint32_t>(uint64_t{elapsed} * elapsed * k / 200000u);
    } else {
        const uint64_t left = duration - elapsed;
        p = distance - static_cast<uint32_t>(left * left * k / 200000u);
    }
    const int pos = m_distance < 0 ? -static_cast<int>(p) : static_cast<int>(p);
    if (m_slideBase + pos == m_slideOffset) return 0;
    CZVDC dc(this);
    DragLayout(&dc, m_slideBase + pos, 1, 0);
    return 1;
}

// ---- painting

std::optional<CZVRect> CTabStrip::GetOpaqueRect() {
    if (m_width > 0 && m_height > 0 && !(m_parent && m_parent->GetTexture())) return CZVRect(0, 0, m_width, m_height);
    return std::nullopt;
}

void CTabStrip::Paint(CZVDC* dc, int) {
    if (!m_shown || m_width <= 0 || m_height <= 0) return;
    if (!dc || !dc->IsPixelSurface()) {
        CDibDC dib(m_width, m_height, ToRootX(0), ToRootY(0), 1);
        Paint(&dib, 1);
        std::unique_ptr<CZVDC> own;
        if (!dc) {
            own = std::make_unique<CZVDC>(this);
            dc = own.get();
        }
        dc->SetOrigin(ToRootX(0), ToRootY(0));
        dc->BitBlt(0, 0, &dib, 0, 0, m_width, m_height);
        return;
    }
    if (m_layoutDirty) Layout();
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    PaintFrame(dc);
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos;) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        if (tab->GetPositionKind() != kTabVisible) continue;
        dc->SetOrigin(tab->ToRootX(0), tab->ToRootY(0));
        tab->DrawCaption(dc, 0);
        tab->DrawIcon(dc, tab->GetNormalColor());
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    m_paintedOnce = 1;
}

void CTabStrip::PaintFrame(CZVDC* dc) {
    DrawBackgroundRect(dc, 0, 0, m_width, m_height, m_owner);
    OnPaint(dc);
    // Tabs after the run overlap leftwards, so they go first, last to first.
    std::vector<CTabButton*> order;
    for (ZVPOSITION pos = m_tabs.GetTailPosition(); pos;) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetPrev(pos));
        if (tab->GetPositionKind() == kTabStackedAfter) order.push_back(tab);
    }
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos;) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        const int kind = tab->GetPositionKind();
        if (kind != kTabStackedAfter && kind != kTabHidden) order.push_back(tab);
    }
    CTabButton* selected = TabAt(m_tabs, m_selected);
    for (CTabButton* tab : order)
        if (tab != selected) DrawOutline(dc, tab);
    // The base line, open under the selected tab so that it joins the page.
    const int bevel = GetBevel();
    const int lineY = m_layoutMode == 2 ? 0 : m_height - bevel;
    if (bevel > 0) dc->FillRect(m_faceColor, 0, lineY, m_width, bevel, 0);
    if (selected && selected->GetPositionKind() != kTabHidden) DrawOutline(dc, selected);
}

void CTabStrip::DrawOutline(CZVDC* dc, CTabButton* tab) {
    const bool selected = tab == GetSelectedTab();
    int x = tab->GetX();
    int w = tab->GetWidth();
    if (!selected && tab->GetPositionKind() != kTabVisible) {
        w += m_radius;
        if (tab->GetPositionKind() == kTabStackedAfter) x -= m_radius;
    }
    if (w <= 0) return;
    const COLORREF face = selected ? tab->GetFaceColor() : tab->GetPressedColor();
    const int bevel = GetBevel();
    const int radius = std::min(m_radius, w / 2);
    // Rounded corners face away from the page: up in mode 1, down in mode 2.
    dc->RoundRect(face, x, 0, w, m_height, radius);
    if (m_layoutMode == 2)
        dc->FillRect(face, x, 0, w, m_height / 2, 0);
    else
        dc->FillRect(face, x, m_height / 2, w, m_height - m_height / 2, 0);
    if (bevel > 0) {
        const COLORREF edge = CSetServer::GetPressedShade(face);
        dc->FillRect(edge, x, m_layoutMode == 2 ? bevel : 0, std::min(bevel, w), m_height - bevel, 0);
        dc->FillRect(edge, x + w - std::min(bevel, w), m_layoutMode == 2 ? bevel : 0, std::min(bevel, w),
                     m_height - bevel, 0);
    }
}
