#include "widgets/tabs/tabstrip.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "gfx/dibdc.h"
#include "platform/clock.h"
#include "widgets/buttons/buttonicon.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

// Tab outlines are shaded as lightly as the menu tabs.
constexpr int kOutlineDepth = 25;

// Skin level of the compact backgrounds: the overlay mix.
constexpr int kOverlayLevel = 9;

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

bool CTabStrip::IsCompactLook() {
    return m_layoutMode != 1 && CSetServer::Get() && CSetServer::Get()->IsCompactLayout();
}

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

void CTabStrip::DropSlideSurface() {
    delete m_slideSurface;
    m_slideSurface = nullptr;
    m_slideOffset = 0;
    m_distance = 0;
    m_layoutDirty = 1;
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
    if (m_layoutDirty) Layout();
    // The frame is drawn strip-sized, so its shapes lie in the strip's own
    // coordinates, and reaches the target in one blit.
    CDibDC frame(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    frame.SetOrigin(ToRootX(0), ToRootY(0));
    if (IsCompactLook())
        PaintCompactFrame(&frame);
    else
        PaintFrame(&frame);
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos;) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        if (tab->GetPositionKind() != kTabVisible) continue;
        frame.SetOrigin(tab->ToRootX(0), tab->ToRootY(0));
        tab->DrawCaption(&frame, 0);
        tab->DrawIcon(&frame, tab->GetNormalColor());
    }
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    dc->BitBlt(0, 0, &frame, 0, 0, m_width, m_height);
    m_paintedOnce = 1;
}

void CTabStrip::PaintFrame(CDibDC* frame) {
    DrawBackgroundRect(frame, 0, 0, m_width, m_height, m_owner);
    CMenuColumn* menu = FindMenuColumn();
    const int bevel = GetBevel();
    if (m_layoutMode != 1 && menu && menu->FillsColumn() && bevel > 0) {
        CShadeWnd edge(nullptr, CZVRect(0, m_height - bevel, m_width, bevel), 0);
        SetUpBuilder(&edge, m_backColor, m_backColor);
        edge.AddEdge(2, 0, 0, m_width, bevel);
        edge.RenderShapes(frame);
    }
    OnPaint(frame);
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
    for (CTabButton* tab : order) DrawOutline(frame, tab);
    DrawBaseLine(frame, menu);
}

void CTabStrip::SetUpBuilder(CShadeWnd* builder, COLORREF face, COLORREF back) {
    builder->SetColors(face, back);
    builder->SetDepth(kOutlineDepth);
    builder->SetBevel(GetBevel());
}

void CTabStrip::DrawOutline(CDibDC* frame, CTabButton* tab) {
    const bool selected = tab == GetSelectedTab();
    const int kind = tab->GetPositionKind();
    int x = tab->GetX();
    int w = tab->GetWidth();
    if (!selected && kind != kTabVisible) {
        w += m_radius;  // a sliver reaches under its neighbour
        if (kind == kTabStackedAfter) x -= m_radius;
    }
    if (w <= 0) return;
    const int H = m_height;
    int m = m_radius + 1;
    int b = GetBevel();
    if (kind == kTabVisible) {
        m = std::min(m, w / 2);
        b = std::min(b, w / 2);
    }
    const bool flushLeft = tab == TabAt(m_tabs, 0) && m_leftEnd == 1 && !MenuFillsColumn();
    const bool flushRight = tab == TabAt(m_tabs, m_tabs.GetCount() - 1) && m_rightEnd == 1;
    const bool leftPart = kind == kTabVisible || kind == kTabStackedBefore || selected;
    const bool rightPart = (kind == kTabVisible || kind == kTabStackedAfter || selected) && !flushRight;
    CShadeWnd builder(nullptr, CZVRect(x, 0, w, H), 0);
    SetUpBuilder(&builder, selected ? tab->GetFaceColor() : tab->GetPressedColor(), m_backColor);
    int left = 0, right = 0;
    if (leftPart) {
        builder.AddCorner(1, {0, 0, m, m}, 0);
        builder.AddEdgeBounds(1, 0, m, b - 1, H - 1);
        left = m;
    }
    if (rightPart) {
        builder.AddCorner(2, {w - m, 0, m, m}, 0);
        builder.AddEdgeBounds(3, w - b, m, w - 1, H - 1);
        right = m;
    }
    int mitre = 0;
    if ((kind == kTabVisible || kind == kTabStackedAfter) && !rightPart && !flushRight) mitre |= 2;
    if ((kind == kTabVisible || kind == kTabStackedBefore) && !leftPart && !flushLeft) mitre |= 1;
    if (CShadeEdge* top = builder.AddEdgeBounds(0, left, 0, w - right - 1, b - 1)) top->SetCuts(mitre, 0);
    if (!flushLeft) left = std::max(left, b);
    if (!flushRight) right = std::max(right, b);
    builder.AddRect(left, b, w - right - 1, m_radius);
    if (flushRight)
        builder.AddRect(b, m_radius, w - 1, H - 1);
    else
        builder.AddRect(flushLeft ? 0 : b, m_radius, w - b - 1, H - 1);
    if (m_layoutMode == 2) builder.MirrorShapes(false, true);  // the rounded corners face down
    builder.RenderShapes(frame);
}

int CTabStrip::MenuFillsColumn() {
    CMenuColumn* menu = FindMenuColumn();
    return menu && menu->FillsColumn();
}

void CTabStrip::DrawBaseLine(CDibDC* frame, CMenuColumn* menu) {
    const int b = GetBevel();
    if (b <= 0) return;
    const int count = m_tabs.GetCount();
    const int visible = GetVisibleCount();
    const int sel = m_selected;
    CTabButton* tab = TabAt(m_tabs, sel);
    const bool joined = m_x <= 0 && m_layoutMode != 1 && menu && menu->IsLastEntrySelected();
    const bool leftOpen = m_leftEnd == 1 || m_leftEnd == 2 || joined;
    const bool rightOpen = m_rightEnd == 1 || m_rightEnd == 2;
    const int leftInset = leftOpen ? 0 : b;
    const int rightInset = rightOpen ? 0 : b;
    CShadeWnd line(nullptr, CZVRect(0, m_layoutMode == 2 ? 0 : m_height - b, m_width, b), 0);
    SetUpBuilder(&line, m_faceColor, m_faceColor);
    const bool none = !tab;
    if (!leftOpen && (none || (m_stacked ? sel > 0 : sel != m_first))) line.AddCorner(1, {0, 0, b, b}, 0);
    if (!rightOpen && (none || (m_stacked ? sel != count - 1 : sel != m_first + visible)))
        line.AddCorner(2, {m_width - b, 0, b, b}, 0);
    const auto piece = [&](int x1, int x2, int mitre) {
        if (CShadeEdge* e = line.AddEdgeBounds(0, x1, 0, x2, b - 1)) e->SetCuts(mitre, 0);
    };
    const int leftMitre = tab && tab->GetPositionKind() != kTabHidden ? 8 : 0;
    if (none) {
        piece(0, m_width - rightInset - 1, 0);
    } else if (m_stacked && count > visible) {
        if (sel > 0) piece(leftInset, tab->GetX() + b - 1, leftMitre);
        if (sel != count - 1) piece(tab->GetX() + tab->GetWidth() - b + 1, m_width - rightInset - 1, 4);
    } else if (sel < m_first || sel > m_first + visible) {
        piece(0, m_width - rightInset - 1, 0);
    } else {
        piece(leftInset, tab->GetX() + b - 1, leftMitre);
        if (!(m_rightEnd == 1 && sel == count - 1))
            piece(tab->GetX() + tab->GetWidth() - b + 1, m_width - rightInset - 1, 4);
    }
    if (m_layoutMode == 2) line.MirrorShapes(false, true);
    line.RenderShapes(frame);
    if (joined) JoinMenu(frame, menu, tab && sel == m_first && m_leftEnd == 0);
}

void CTabStrip::JoinMenu(CDibDC* frame, CMenuColumn* menu, int selectedFirst) {
    CZVWindow* column = GetMainWnd() ? GetMainWnd()->GetMainMenu() : nullptr;
    if (!column) return;
    CZVDC dc(column);
    if (!selectedFirst) {
        menu->DrawTail(&dc, 1);
        return;
    }
    menu->DrawTail(&dc, 0);
    // The strip's back colour rounds the step from the menu's tail into the strip.
    const int spacing = column->GetSpacing();
    const int n = spacing + GetBevel();
    CDibDC corner(n, n, 0, 0, 1);
    CShadeWnd builder(nullptr, CZVRect(0, 0, n, n), 0);
    SetUpBuilder(&builder, m_backColor, m_backColor);
    builder.AddCorner(6, {0, 0, n, n}, 0);
    builder.RenderShapes(&corner);
    frame->BitBlt(0, 0, &corner, spacing, 0, n - spacing, n);
}

// ---- the compact look

void CTabStrip::MakeCompactBackground() {
    const int b = GetBevel();
    m_background = std::make_unique<CDibDC>(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    m_backgroundAt = {ToRootX(0), ToRootY(0)};
    CDibDC* bg = m_background.get();
    bg->SetOrigin(ToRootX(0), ToRootY(0));
    if (!FillFromSkin(bg, m_faceColor, 0, 0, m_width, m_height, kOverlayLevel))
        bg->FillRect(m_faceColor, 0, 0, m_width, m_height, 0);
    if (b <= 0) return;
    // Light and shade only: the edges are grey, laid over with the overlay mix.
    const int leftTop = m_x <= 0 ? 0 : b;
    OverlayGreyEdge(bg, 1, CZVRect(0, leftTop, b, m_height - leftTop));
    OverlayGreyEdge(bg, 3, CZVRect(m_width - b, b, b, m_height - b));
    OverlayGreyEdge(bg, 2, CZVRect(0, 0, m_width, b));  // the groove along the top
    OverlayGreyEdge(bg, 0, CZVRect(0, b, m_width, b));
    OverlayGreyEdge(bg, 2, CZVRect(0, m_height - b, m_width, b));
}

void CTabStrip::PaintCompactFrame(CDibDC* frame) {
    // The skin lies at fixed screen places: a strip that moved needs its background anew.
    if (!m_background || m_background->GetRequestedWidth() != m_width || m_background->GetHeight() != m_height ||
        m_backgroundAt.x != ToRootX(0) || m_backgroundAt.y != ToRootY(0))
        MakeCompactBackground();
    frame->BitBlt(0, 0, m_background.get(), 0, 0, m_width, m_height);
    DrawCompactSelection(frame);
    DrawCompactArrows(frame);
}

void CTabStrip::DrawCompactSelection(CDibDC* frame) {
    CTabButton* tab = TabAt(m_tabs, m_selected);
    if (!tab || tab->GetWidth() <= 0) return;
    const int x = tab->GetX(), w = tab->GetWidth();
    if (x + w <= 0 || x >= m_width) return;
    const int bevel = GetBevel();
    const int h = m_height - bevel;
    CSetServer* style = CSetServer::Get();
    const COLORREF colour = style ? style->GetStyleColor(6, 0) : m_faceColor;
    if (!FillFromSkin(frame, colour, x, bevel, w, h, -1)) frame->FillRect(colour, x, bevel, w, h, 0);
    const int a = m_selected == m_first ? bevel : 2;
    const int b = m_selected == m_first + GetVisibleCount() - 1 ? bevel : 2;
    const std::unique_ptr<CShadeEdge> edges[] = {
        MakeEdgePiece(0, CZVRect(x, bevel, w, bevel), colour, 0),
        MakeEdgePiece(2, CZVRect(x, m_height - bevel, w, bevel), colour, 0),
        MakeEdgePiece(1, CZVRect(x, bevel, a, h), colour, 10),
        MakeEdgePiece(3, CZVRect(x + w - b + 1, bevel, b, h), colour, 5),
    };
    for (const auto& edge : edges)
        if (edge) edge->Draw(frame, kShadePlain, nullptr, nullptr);
}

CButtonIcon* CTabStrip::ArrowIcon(std::unique_ptr<CButtonIcon>* own, const char* name) {
    if (!*own) own->reset(ButtonIcons().MakeNamed(name));
    return own->get();
}

void CTabStrip::DrawCompactArrows(CDibDC* frame) {
    // They only tell that more tabs lie beside the run; a drag scrolls.
    const int e = m_height / 3;
    if (e <= 0) return;
    if (m_first > 0)
        if (CButtonIcon* icon = ArrowIcon(&m_leftArrow, "TRANSPORT\\ICON32LEFT"))
            icon->Draw(this, frame, CZVRect(2, m_height - e, e, e), m_faceColor, 0);
    if (m_first + GetVisibleCount() < GetTabCount())
        if (CButtonIcon* icon = ArrowIcon(&m_rightArrow, "TRANSPORT\\ICON32RIGHT"))
            icon->Draw(this, frame, CZVRect(m_width - e, m_height - e, e, e), m_faceColor, 0);
}
