#include "widgets/lists/scrollpanel.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "widgets/lists/scrollbar.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kPanelStyleClass = 0;
constexpr int kFaceStyleClass = 11;
constexpr int kPanelBevel = 2;

}  // namespace

CScrollPanel::CScrollPanel(CZVWindow* parent, CZVRect rect) : CListWnd(parent, rect, kPanelStyleClass, kNoCommand) {
    CSetServer* style = CSetServer::Get();
    const COLORREF face = style ? style->GetStyleColor(kFaceStyleClass, 0) : 0;
    m_backColor = face;
    m_faceColor = face;
    // No opaque ancestor: children take their backgrounds from the window
    // behind the panel.
    m_opaque = 0;
    SetCornerRadius(0);
    SetMargin(0);
    SetBevel(kPanelBevel);
}

CScrollPanel::~CScrollPanel() = default;

void CScrollPanel::GetClientRect(CZVRect* out) {
    const int bevel = GetBevel();
    *out = CZVRect(bevel, bevel, m_width - 2 * bevel, m_height - 2 * bevel);
}

int CScrollPanel::GetClipRect(CZVWindow* w, CZVRect* out) {
    if (w == this) return 0;
    const int bevel = GetBevel();
    *out = CZVRect(ToRootX(bevel), ToRootY(bevel), m_width - 2 * bevel, m_height - 2 * bevel);
    return 1;
}

void CScrollPanel::AddChild(CZVWindow* child) {
    CZVWindow::AddChild(child);
    // Children keep their place in the content however far the panel has
    // scrolled, so the range ends at the deepest of them, not the latest.
    m_contentBottom = std::max(m_contentBottom, child->GetY() + child->GetHeight() - 1 + GetScrollPos());
    const int bevel = GetBevel();
    if (m_contentBottom <= m_height - bevel - 1) return;
    EnsureScrollBar(nullptr, 0);
    if (CZVScrollBar* bar = GetListScrollBar()) {
        bar->SetRange(m_height - 2 * bevel, m_contentBottom);
        m_showScrollBar = 1;
    }
}

// ---- painting

CDibDC* CScrollPanel::Background() {
    if (m_width <= 0 || m_height <= 0) return nullptr;
    if (m_background && m_background->GetRequestedWidth() == m_width && m_background->GetHeight() == m_height)
        return m_background.get();
    m_background = std::make_unique<CDibDC>(m_width, m_height, ToRootX(0), ToRootY(0), 0);
    if (!m_background->GetBits()) {
        m_background.reset();
        return nullptr;
    }
    CDibDC* surface = m_background.get();
    surface->SetOrigin(ToRootX(0), ToRootY(0));
    DrawBackgroundRect(surface, 0, 0, m_width, m_height, GetParentOpaqueAncestor());
    const COLORREF edge = m_parent ? m_parent->GetFaceColor() : m_faceColor;
    CSetServer* style = CSetServer::Get();
    if (style && (style->GetFlags() & kStyleSkins) &&
        style->DrawSkinPiece(surface, m_backColor, 0, 0, m_width, m_height, -1, -1))
        surface->DrawBevel(CZVRect(0, 0, m_width, m_height), GetBevel(), edge, false);
    else
        surface->FillBevelBoxStd(m_backColor, edge, false, 0, 0, m_width - 1, m_height - 1, GetBevel());
    return surface;
}

void CScrollPanel::Paint(CZVDC* dc, int) {
    if (!m_shown) return;
    if (m_showScrollBar) {
        m_showScrollBar = 0;
        if (CZVWindow* bar = GetScrollBar()) bar->Redraw(1);
    }
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    if (CDibDC* background = Background()) dc->BitBlt(0, 0, background, 0, 0, m_width, m_height);
    m_paintedOnce = 1;
    const int bevel = GetBevel();
    dc->PushClipXYWH(bevel, bevel, m_width - 2 * bevel, m_height - 2 * bevel);
    ForEachChild(GetChildren(), [&](CZVWindow* child) {
        if (child->GetY() < m_height - bevel && child->GetBottom() >= bevel) child->Paint(dc, 0);
    });
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    dc->PopClip();
}

void CScrollPanel::OnPaint(CZVDC*) {}

void CScrollPanel::RedrawBuffered() { CZVWindow::RedrawBuffered(); }

std::optional<CZVRect> CScrollPanel::GetOpaqueRect() { return CZVRect(0, 0, m_width, m_height); }

// ---- touch and scrolling

bool CScrollPanel::InsideBevel(int x, int y) {
    ZVPoint p;
    ToLocal(&p, x, y);
    const int bevel = GetBevel();
    return p.x >= bevel && p.x < m_width - bevel && p.y >= bevel && p.y < m_height - bevel;
}

int CScrollPanel::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown || !HitTest(x, y)) return 0;
    // Children scrolled under the bevel take no press.
    if (InsideBevel(x, y) && CZVWindow::OnLButtonDown(x, y, keys)) return 1;
    CListWnd::OnLButtonDown(x, y, keys);
    return 1;
}

int CScrollPanel::OnMouseMove(int x, int y, int keys) {
    if (IsDragging()) return CListWnd::OnMouseMove(x, y, keys);
    return CZVWindow::OnMouseMove(x, y, keys);
}

int CScrollPanel::OnLButtonUp(int x, int y, int keys) {
    if (IsDragging()) return CListWnd::OnLButtonUp(x, y, keys);
    return CZVWindow::OnLButtonUp(x, y, keys);
}

void CScrollPanel::OnScroll(CZVDC*, int position) {
    const int delta = GetScrollPos() - position;
    SetScrollPos(position);
    const bool skins = (CSetServer::CurrentFlags() & kStyleSkins) != 0;
    ForEachChild(GetChildren(), [&](CZVWindow* child) {
        child->MoveBy(0, delta);
        if (skins) child->FlushImageCache();
    });
    RedrawBuffered();
}

void CScrollPanel::ResetScroll() {
    if (GetScrollBar()) m_background.reset();
    RemoveScrollBar();
    DeleteChildren();
    SetScrollPos(0);
    m_contentBottom = -1;
    m_showScrollBar = 0;
}
