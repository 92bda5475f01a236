#include "widgets/tabs/tabcolumn.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/shadecorner.h"
#include "platform/report.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "TabColumn";

bool IsCompact() { return CSetServer::Get() && CSetServer::Get()->IsCompactLayout(); }
constexpr int kSkinning = 0x40000;
// Skin level of the compact background: the overlay mix.
constexpr int kOverlayLevel = 9;
// The shading depth of the right edge and the marker pieces.
constexpr int kEdgeDepth = 25;
// The marker pieces: sunken corners, bottom-right above the selected tab
// and top-right below it.
constexpr int kUpperMarker = 7;
constexpr int kLowerMarker = 6;

// The colour as the RGB565 screen shows it, never the transparent key.
COLORREF SnapTo565(COLORREF c) {
    const int r = (c & 0xFF) >> 3, g = ((c >> 8) & 0xFF) >> 2, b = ((c >> 16) & 0xFF) >> 3;
    if (r == 0 && g == 0 && b == 0) return 0x080408;
    return static_cast<COLORREF>((r << 3) | (g << 2) << 8 | (b << 3) << 16);
}

}  // namespace

CTabColumn::CTabColumn(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour)
    : CTabContainer(parent, rect, styleClass) {
    m_opaque = 0;
    if (styleClass != 0 && CSetServer::Get()) {
        m_tabHeight = CSetServer::Get()->GetStyle(styleClass, 1);
        if (m_tabHeight < 1) ReportAssert(kSource, 53, 1);
    }
    if (CSetServer::Get() && (CSetServer::Get()->GetFlags() & kSkinning)) backColour = SnapTo565(backColour);
    SetBackColor(backColour);
}

CTabColumn::~CTabColumn() = default;

CZVWindow* CTabColumn::GetOpaqueAncestor() { return IsCompact() ? this : CZVWindow::GetOpaqueAncestor(); }

std::optional<CZVRect> CTabColumn::GetOpaqueRect() {
    if (IsCompact()) return CZVRect(0, 0, m_width, m_height);
    return std::nullopt;
}

void CTabColumn::RemoveAllTabs() {
    while (!m_tabs.IsEmpty()) delete static_cast<CTabButton*>(m_tabs.RemoveHead());
}

CZVWindow* CTabColumn::AddTab(CZVString caption, int id) {
    const int i = m_tabs.GetCount();
    const int top = IsCompact() ? m_titleHeight : m_spacing;
    auto* tab =
        new CTabButton(this, CZVRect(0, top + i * m_tabHeight, m_width - GetBevel(), m_tabHeight), id, m_styleClass, 1);
    tab->SetCacheKey(m_cacheKey);
    AddChild(tab);
    if (auto* first = TabAt(m_tabs, 0)) tab->SetLookSource(first);
    tab->Show(m_shown, 0);
    if (i == 0 && IsCompact()) tab->SetPositionKind(kTabCompactFirst);
    if (!caption.IsEmpty()) tab->SetText(caption, nullptr, 0);
    tab->SetFontSize(m_fontSize);
    m_tabs.AddTail(tab);
    return tab;
}

int CTabColumn::OnCommand(int id) {
    int i = 0;
    for (ZVPOSITION pos = m_tabs.GetHeadPosition(); pos; ++i) {
        auto* tab = static_cast<CTabButton*>(m_tabs.GetNext(pos));
        if (tab->GetCommandId() != id) continue;
        if (i == m_selected) {
            if (m_containerCommand != kNoCommand && m_parent) m_parent->OnCommand(m_containerCommand);
            return 1;
        }
        Select(i, 1);
        return m_parent ? m_parent->OnCommand(id) : 0;
    }
    return 0;
}

void CTabColumn::Select(int index, int redraw) {
    if (index == m_selected) return;
    CTabButton* old = TabAt(m_tabs, m_selected);
    m_selected = index;
    if (old) old->ReleaseHighlight();
    if (!redraw || !m_shown) return;
    // Only the bands around the old and the new tab change: each tab with
    // its neighbours and the marker pieces that reach past it.
    CTabButton* now = TabAt(m_tabs, m_selected);
    if (!old || !now) {
        Redraw(1);
        return;
    }
    CDibDC frame(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    frame.SetOrigin(ToRootX(0), ToRootY(0));
    Paint(&frame, 1);
    CZVDC dc(this);
    dc.SetOrigin(ToRootX(0), ToRootY(0));
    for (CTabButton* tab : {old, now}) {
        const int reach = m_tabHeight + m_spacing + 1;
        const int top = std::max(tab->GetY() - reach, 0);
        const int bottom = std::min(tab->GetY() + tab->GetHeight() + reach, m_height);
        if (bottom > top) dc.BitBlt(0, top, &frame, 0, top, m_width, bottom - top);
    }
}

void CTabColumn::Paint(CZVDC* dc, int withBackground) {
    if (m_width <= 0 || m_height <= 0 || !m_shown) return;
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    PaintBackground(dc);
    if (IsCompact() && m_titleHeight > 0) {
        dc->SelectFont(m_fontSize, 0, 1);
        dc->SetColor(m_textColor);
        dc->DrawText(m_title, CZVRect(0, 0, m_width - GetBevel(), m_titleHeight), 18);
    }
    CZVWindow::Paint(dc, 0);
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    DrawTitle(dc, 0, m_height);
    DrawSelectionMarker(dc);
    (void)withBackground;
}

void CTabColumn::DrawTitle(CZVDC* dc, int top, int bottom) {
    const int bevel = GetBevel();
    top = std::max(top, 0);
    bottom = std::min(bottom, m_height);
    if (bevel <= 0 || bottom <= top) return;
    // The page's left bevel: lit like the left side of a raised panel.
    if (const auto edge = MakeEdgePiece(1, CZVRect(m_width - bevel, top, bevel, bottom - top), m_faceColor, 0))
        edge->Draw(dc, kShadePlain, nullptr, nullptr);
}

void CTabColumn::DrawMarkerCorner(CZVDC* dc, int kind, int x, int y, int size) {
    CShadeCorner corner(kind, size, x, y, 0);
    // Only the bent edge: the tabs beside it show through.
    corner.noOuterFill = true;
    corner.noInnerFill = true;
    SetShadeDepth(kEdgeDepth);
    corner.Render(m_faceColor, m_backColor, GetBevel(), 1, nullptr);
    corner.Draw(dc, kShadePlain, nullptr, nullptr);
}

void CTabColumn::DrawSelectionMarker(CZVDC* dc) {
    if (IsCompact()) return;
    CTabButton* tab = TabAt(m_tabs, m_selected);
    const int bevel = GetBevel();
    const int spacing = m_spacing;
    if (!tab || spacing + bevel <= 0 || m_tabHeight + 2 * spacing <= 0) return;
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    // The edge bends into the selected tab above and below it, so that the
    // tab runs on into the page.
    const int size = bevel + spacing + 1;
    const int x = m_width - spacing - bevel - 1;
    const int bottom = tab->GetY() + tab->GetHeight();
    if (tab == TabAt(m_tabs, 0)) {
        if (const auto top = MakeEdgePiece(0, CZVRect(m_width - bevel - 1, 0, bevel + 1, bevel), m_faceColor, 0))
            top->Draw(dc, kShadePlain, nullptr, nullptr);
    } else {
        DrawMarkerCorner(dc, kUpperMarker, x, tab->GetY() - spacing - 1, size);
    }
    DrawMarkerCorner(dc, kLowerMarker, x, bottom - bevel + 1, size);
    dc->FillRect(tab->GetFaceColor(), m_width - bevel - 1, tab->GetY() + bevel, bevel,
                 std::max(tab->GetHeight() - 2 * bevel, 0), 0);
    dc->SetOrigin(tab->ToRootX(0), tab->ToRootY(0));
    tab->DrawCaption(dc, 0);
    dc->SetOrigin(ToRootX(0), ToRootY(0));
}

// ---- the compact background

void CTabColumn::MakeCompactBackground() {
    m_background = std::make_unique<CDibDC>(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    CDibDC* bg = m_background.get();
    bg->SetOrigin(ToRootX(0), ToRootY(0));
    CSetServer* style = CSetServer::Get();
    if (CDibDC* skin = style ? style->GetSkinImage() : nullptr)
        bg->BitBlt(0, 0, skin, ToRootX(0), ToRootY(0), m_width, m_height);
    else
        bg->FillRect(m_backColor, 0, 0, m_width, m_height, 0);
    const bool menu = GetMainWnd() && GetMainWnd()->GetMainMenu() == this;
    const COLORREF colour = menu || !style ? m_faceColor : style->GetStyleColor(6, 0);
    if (!FillFromSkin(bg, colour, 0, 0, m_width, m_height, kOverlayLevel))
        bg->FillRect(colour, 0, 0, m_width, m_height, 0);
    const int bevel = GetBevel();
    if (!menu || bevel <= 0) return;
    OverlayGreyEdge(bg, 1, CZVRect(0, 0, bevel, m_height));
    OverlayGreyEdge(bg, 3, CZVRect(m_width - 2 * bevel, 0, bevel, m_height));
}

void CTabColumn::PaintBackground(CZVDC* dc) {
    if (IsCompact() &&
        (!m_background || m_background->GetRequestedWidth() != m_width || m_background->GetHeight() != m_height))
        MakeCompactBackground();
    if (!IsCompact() || !m_background) {
        FillBackColor(dc, 0, 0, m_width, m_height);
        return;
    }
    CTabButton* first = TabAt(m_tabs, 0);
    CTabButton* last = TabAt(m_tabs, m_tabs.GetCount() - 1);
    if (!first) {
        dc->BitBlt(0, 0, m_background.get(), 0, 0, m_width, m_height);
        return;
    }
    const int top = std::clamp(first->GetY(), 0, m_height);
    const int bottom = std::clamp(last->GetY() + last->GetHeight(), 0, m_height);
    if (top > 0) dc->BitBlt(0, 0, m_background.get(), 0, 0, m_width, top);
    if (bottom < m_height) dc->BitBlt(0, bottom, m_background.get(), 0, bottom, m_width, m_height - bottom);
}

int CTabColumn::PaintChildBackground(CZVDC* dc, CZVWindow* child, int x, int y, int w, int h) {
    if (!IsCompact() || !m_background || !dc || !child) return 0;
    const int sx = child->ToRootX(0) - ToRootX(0) + x;
    const int sy = child->ToRootY(0) - ToRootY(0) + y;
    dc->BitBlt(x, y, m_background.get(), sx, sy, w, h);
    return 1;
}
