#include "widgets/window/zvwindow.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr const char* kSource = "zvwindow";
ScrollBarFactory g_scrollBarFactory = nullptr;

const CStyleTables& Tables() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetTables() : CStyleTables::BuiltIn();
}

// The clip of a context in root coordinates, when it has one.
std::optional<CZVRect> RootClip(CZVDC* dc) {
    std::optional<CZVRect> clip = dc->GetClipRect();
    if (clip) {
        int x = 0, y = 0;
        dc->GetDeviceOrigin(&x, &y);
        clip->Offset(x, y);
    }
    return clip;
}

}  // namespace

ScrollBarFactory SetScrollBarFactory(ScrollBarFactory factory) {
    ScrollBarFactory previous = g_scrollBarFactory;
    g_scrollBarFactory = factory;
    return previous;
}

CZVWindow::CZVWindow(CZVWindow* parent, CZVRect rect, int styleClass)
    : m_parent(parent),
      m_styleClass(styleClass),
      m_x(rect.x),
      m_y(rect.y),
      m_width(rect.w),
      m_height(rect.h),
      m_shown(parent ? parent->m_shown : 1),
      m_texture(parent ? parent->m_texture : 0),
      m_backColor(parent ? parent->GetFaceColor() : 0),
      m_timerLastTick(platform::GetTickCount()),
      m_highlightTick(m_timerLastTick) {
    const int barWidth = Tables().style[13][kStyleWidth];
    m_scrollBarWidth = barWidth >= 10 && barWidth <= 100 ? barWidth : 20;
    Tables().ApplyStyle(this);
    if (m_margin == 255) m_margin = 0;
    if (m_bevel == 255) m_bevel = 0;
    ClampShape();
}

CZVWindow::~CZVWindow() {
    ReleaseHighlight();
    if (CMainWndBase* main = GetMainWnd()) main->ForgetWindow(this);
    // Children are taken off the list before they go, so that whatever their
    // destructors remove from it never invalidates this walk.
    while (!m_children.IsEmpty()) {
        auto* child = static_cast<CZVWindow*>(m_children.RemoveHead());
        child->m_parent = nullptr;
        delete child;
    }
    if (m_scrollTarget) m_scrollTarget->m_scrollBar = nullptr;
    if (m_scrollBar) {
        // A bar without its window is of no use. While the parent itself is
        // being torn down (no parent link) its list deletes the bar.
        m_scrollBar->m_scrollTarget = nullptr;
        if (m_parent) {
            m_parent->RemoveChild(m_scrollBar);
            m_scrollBar->m_parent = nullptr;
            delete m_scrollBar;
        }
    }
    if (m_parent) m_parent->RemoveChild(this);
}

// ---- geometry

void CZVWindow::GetClientRect(CZVRect* out) { *out = CZVRect(0, 0, m_width, m_height); }

void CZVWindow::GetContentRect(CZVRect* out) { GetClientRect(out); }

void CZVWindow::GetInnerRect(CZVRect* out) {
    GetClientRect(out);
    const int inset = (GetMargin() + GetBevel()) / 2 + CSetServer::GetBevelInset(m_bevelType);
    out->Deflate(inset, inset);
}

CZVWindow* CZVWindow::GetOpaqueAncestor() {
    if (m_opaque) return this;
    return m_parent ? m_parent->GetOpaqueAncestor() : nullptr;
}

int CZVWindow::GetClipRect(CZVWindow* w, CZVRect* out) { return m_parent ? m_parent->GetClipRect(w, out) : 0; }

CZVWindow* CZVWindow::GetPage() { return m_parent ? m_parent->GetPage() : nullptr; }

int CZVWindow::ToRootX(int x) {
    for (CZVWindow* w = this; w->m_parent; w = w->m_parent) x += w->m_x;
    return x;
}

int CZVWindow::ToRootY(int y) {
    for (CZVWindow* w = this; w->m_parent; w = w->m_parent) y += w->m_y;
    return y;
}

void CZVWindow::ToLocal(ZVPoint* out, int x, int y) {
    out->x = x - ToRootX(0);
    out->y = y - ToRootY(0);
}

int CZVWindow::HitTest(int x, int y) {
    const int left = ToRootX(0);
    const int top = ToRootY(0);
    return x >= left && x <= left + m_width - 1 && y >= top && y <= top + m_height - 1;
}

int CZVWindow::Intersects(int left, int top, int right, int bottom) {
    const int x = ToRootX(0);
    const int y = ToRootY(0);
    return !(x + m_width - 1 < left || x > right || y + m_height - 1 < top || y > bottom);
}

void CZVWindow::SetRect(CZVRect rect) {
    m_x = rect.x;
    m_y = rect.y;
    m_width = rect.w;
    m_height = rect.h;
}

CZVRect CZVWindow::GetCenteredRect(int w, int h) const { return CZVRect(m_width / 2 - w / 2, m_height / 2 - h / 2, w, h); }

int CZVWindow::GetPanelDepth(int add) {
    for (CZVWindow* w = this; w; w = w->m_parent) add += w->m_raisedLevel;
    return add;
}

platform::TabletWindow* CZVWindow::GetRootHwnd() {
    CZVWindow* w = this;
    while (!w->m_nativeRoot) {
        if (!w->m_parent) {
            ReportAssert(kSource, 279, 1);
            return nullptr;
        }
        w = w->m_parent;
    }
    return w->GetHwnd();
}

int CZVWindow::IsDescendant(CZVWindow* w) const {
    for (; w; w = w->m_parent)
        if (w == this) return 1;
    return 0;
}

CZVRect CZVWindow::GetRectIn(CZVWindow* w) {
    if (!w) {
        ReportAssert(kSource, 418, 1);
        return CZVRect();
    }
    CZVRect rect(w->m_x, w->m_y, w->m_width, w->m_height);
    for (CZVWindow* a = w->m_parent; a && a != this; a = a->m_parent) rect.Offset(a->m_x, a->m_y);
    return rect;
}

CZVWindow* CZVWindow::FindContainer(CZVWindow* found, CZVRect* rect, const CZVObList* windows) {
    if (!windows) return found;
    for (ZVPOSITION pos = windows->GetHeadPosition(); pos;) {
        auto* w = static_cast<CZVWindow*>(windows->GetNext(pos));
        CZVRect inside(rect->x - w->m_x, rect->y - w->m_y, rect->w, rect->h);
        if (inside.x >= 0 && inside.y >= 0 && inside.x + inside.w <= w->m_width && inside.y + inside.h <= w->m_height) {
            *rect = inside;
            return FindContainer(w, rect, &w->m_children);
        }
    }
    return found;
}

void CZVWindow::MakeRound() {
    m_radius = std::min(m_width, m_height) / 2 - 1;
    m_bevel = m_radius / 2;
    m_margin = 0;
}

void CZVWindow::ClampShape() {
    if (m_styleClass == 11 || m_styleClass == 12 || m_styleClass == 14 || m_styleClass == 15) return;
    m_margin = std::min(m_margin, std::min(m_width, m_height) / 2);
    const int w = m_width - 2 * m_margin;
    const int h = m_height - 2 * m_margin;
    m_radius = std::min({m_radius, w / 2, h / 2});
    if (w < 2 * m_radius) m_radius = std::max(w / 2, 0);
    if (h < 2 * m_radius) m_radius = std::max(h / 2, 0);
    m_bevel = std::min({m_bevel, w / 2, h / 2});
    if (m_radius < 0) ReportAssert(kSource, 1120, 1);
    if (m_bevel < 0) ReportAssert(kSource, 1121, 1);
    m_radius = std::min(m_radius, std::min(w, h) / 2);
}

// ---- children

void CZVWindow::AddChild(CZVWindow* child) {
    if (m_children.Contains(child)) {
        ReportAssert(kSource, 1261, 1);
        return;
    }
    m_children.AddTail(child);
}

void CZVWindow::AddChildFirst(CZVWindow* child) {
    if (m_children.Contains(child)) {
        ReportAssert(kSource, 325, 1);
        return;
    }
    m_children.AddHead(child);
}

int CZVWindow::RemoveChild(CZVWindow* child) {
    int removed = 0;
    while (m_children.Contains(child)) {
        m_children.Remove(child);
        ++removed;
    }
    if (removed > 1) ReportAssert(kSource, 357, 1);
    return removed;
}

void CZVWindow::DeleteChildren() {
    while (!m_children.IsEmpty()) {
        auto* child = static_cast<CZVWindow*>(m_children.RemoveHead());
        child->m_parent = nullptr;
        delete child;
    }
}

// ---- colours, caption, flags, shape

void CZVWindow::BroadcastFaceColor(COLORREF colour) {
    OnFaceColorChanged(colour);
    ForEachChild(m_children, [colour](CZVWindow* child) { child->BroadcastFaceColor(colour); });
}

void CZVWindow::SetText(CZVString text, CZVDC* dc, int redraw) {
    const char* source = text.GetAnsi();
    std::string converted;
    for (const char* p = source; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            converted += '\n';
            ++p;
        } else {
            converted += *p;
        }
    }
    if (converted.size() != std::char_traits<char>::length(source)) m_flags |= kFlagMultiLine;
    m_text = converted.c_str();
    m_textChanged = 1;
    if (!redraw) return;
    if (dc) {
        OnPaint(dc);
        RecaptureSnapshot(dc);
        return;
    }
    Redraw(1);
    if (m_highlightSnapshot) {
        CZVDC own(this);
        RecaptureSnapshot(&own);
    }
}

void CZVWindow::SetFlag(int mask, int on) {
    if (on)
        m_flags |= mask;
    else
        m_flags &= ~mask;
    if (mask == 4) m_textFormat = 1;
}

void CZVWindow::SetColors(COLORREF face, COLORREF back) {
    m_faceColor = face;
    m_backColor = back;
}

void CZVWindow::SetTextStyle(int fontSize, int format, int flags, int flag2) {
    m_fontSize = fontSize;
    m_textFormat = format;
    m_flags = flags;
    SetFlag(2, flag2);
}

void CZVWindow::SetShape(int radius, int bevel, int margin) {
    m_radius = radius;
    m_bevel = bevel;
    m_margin = margin;
}

void CZVWindow::SetTexture(int flag) {
    m_texture = flag;
    ForEachChild(m_children, [flag](CZVWindow* child) { child->SetTexture(flag); });
}

// ---- show and enable

void CZVWindow::Show(int show, int force) {
    if (!m_shown && !force && m_keepHidden) return;
    OnShow(show);
    m_shown = show;
    ForEachChild(m_children, [show](CZVWindow* child) { child->Show(show, 0); });
    if (m_scrollBar) m_scrollBar->Show(show, 0);
}

void CZVWindow::Enable(int enable, int redraw) {
    if (enable != m_enabled) {
        m_enabled = enable;
        if (redraw && m_repaintOnEnable) {
            if ((CSetServer::CurrentFlags() & kStyleClickFlash) && m_highlightSnapshot) {
                OnPaint(m_highlightSnapshot);
                if (m_highlightCountdown <= 0) Paint(nullptr, 0);
            } else {
                Paint(nullptr, 0);
            }
        }
    }
    ForEachChild(m_children, [enable, redraw](CZVWindow* child) { child->Enable(enable, redraw); });
}

// ---- painting

void CZVWindow::Redraw(int withBackground) {
    CZVDC dc(this);
    Paint(&dc, withBackground);
}

void CZVWindow::Paint(CZVDC* dc, int withBackground) {
    std::optional<CZVRect> clip = dc ? RootClip(dc) : std::nullopt;
    if (clip) {
        if (ToRootX(m_width) < clip->x || ToRootY(m_height) < clip->y || ToRootX(0) > clip->x + clip->w - 1 ||
            ToRootY(0) > clip->y + clip->h - 1)
            return;
    } else {
        m_deferredRepaint = 0;
    }
    if (!m_shown) return;
    std::unique_ptr<CZVDC> own;
    if (!dc) {
        own = std::make_unique<CZVDC>(this);
        dc = own.get();
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    if (withBackground) DrawBackground(dc);
    OnPaint(dc);
    m_paintedOnce = 1;
    PaintChildren(dc);
    if (!own) dc->SetOrigin(ToRootX(0), ToRootY(0));
}

void CZVWindow::PaintChildren(CZVDC* dc) {
    ForEachChild(m_children, [dc](CZVWindow* child) { child->Paint(dc, 0); });
}

void CZVWindow::RedrawBuffered() {
    if (!m_shown || m_width <= 0 || m_height <= 0) return;
    CDibDC dib(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    if (m_texture && m_parent && !m_opaque) {
        dib.SetOrigin(ToRootX(0), ToRootY(0));
        DrawBackgroundRect(&dib, 0, 0, m_width, m_height, GetOpaqueAncestor());
        Paint(&dib, 0);
    } else {
        Paint(&dib, 1);
    }
    CZVDC dc(this);
    dc.BitBlt(0, 0, &dib, 0, 0, m_width, m_height);
}

int CZVWindow::PaintChildrenBuffered(CZVDC* dc) {
    m_paintedOnce = 1;
    if (dc->IsPixelSurface() || m_width <= 0 || m_height <= 0) return 0;
    const int x = ToRootX(0);
    const int y = ToRootY(0);
    CDibDC dib(m_width, m_height, x, y, 1);
    dib.SetOrigin(x, y);
    DrawBackground(&dib);
    PaintChildren(&dib);
    dc->SetOrigin(0, 0);
    dc->BitBltAll(&dib, x, y);
    return 1;
}

void CZVWindow::CollectOpaqueRects(CZVWindow* w, int dx, int dy, std::vector<CZVRect>& holes) {
    if (!w->m_shown) return;
    if (std::optional<CZVRect> rect = w->GetOpaqueRect()) {
        rect->Offset(dx, dy);
        holes.push_back(*rect);
        return;
    }
    ForEachChild(w->m_children, [&](CZVWindow* child) {
        CollectOpaqueRects(child, dx + child->m_x, dy + child->m_y, holes);
    });
}

const CZVRect* CZVWindow::FindOverlap(const CZVRect& r, const std::vector<CZVRect>& holes) {
    for (const CZVRect& hole : holes) {
        if (r.x < hole.x + hole.w - 1 && hole.x < r.x + r.w - 1 && r.y < hole.y + hole.h - 1 &&
            hole.y < r.y + r.h - 1)
            return &hole;
    }
    return nullptr;
}

int CZVWindow::SubtractRects(std::vector<CZVRect>& regions, const std::vector<CZVRect>& holes) {
    for (size_t i = 0; i < regions.size(); ++i) {
        const CZVRect* hole = FindOverlap(regions[i], holes);
        if (!hole) continue;
        const CZVRect r = regions[i];
        regions.erase(regions.begin() + static_cast<ptrdiff_t>(i));
        const int top = std::max(r.y, hole->y);
        const int bottom = std::min(r.y + r.h, hole->y + hole->h);  // exclusive
        const int left = std::max(r.x, hole->x);
        const int right = std::min(r.x + r.w, hole->x + hole->w);  // exclusive
        if (top > r.y) regions.emplace_back(r.x, r.y, r.w, top - r.y);
        if (bottom < r.y + r.h) regions.emplace_back(r.x, bottom, r.w, r.y + r.h - bottom);
        if (left > r.x) regions.emplace_back(r.x, top, left - r.x, bottom - top);
        if (right < r.x + r.w) regions.emplace_back(right, top, r.x + r.w - right, bottom - top);
        return 1;
    }
    return 0;
}

void CZVWindow::DrawBackground(CZVDC* dc) {
    int width = m_width;
    if (dc->IsPixelSurface()) width = (width + 3) & ~3;
    if (m_texture && m_backColor == 0) return;
    std::vector<CZVRect> holes;
    CollectOpaqueRects(this, 0, 0, holes);
    std::vector<CZVRect> regions{CZVRect(0, 0, width, m_height)};
    while (SubtractRects(regions, holes)) {
    }
    const bool skins = (CSetServer::CurrentFlags() & kStyleSkins) && (IsOnBaseSurface() || (m_parent && m_parent->IsOnBaseSurface()));
    if (skins || m_texture) {
        for (const CZVRect& r : regions) {
            if (!(skins && FillFromSkin(dc, m_backColor, r.x, r.y, r.w, r.h, -1)))
                dc->FillRect(m_backColor, r.x, r.y, r.w, r.h, m_texture ? 1 : 0);
        }
        return;
    }
    dc->FillRects(m_backColor, regions);
}

bool CZVWindow::FillFromSkin(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level) {
    CSetServer* style = CSetServer::Get();
    return style && style->DrawSkinPiece(dc, colour, x, y, w, h, level, 0);
}

void CZVWindow::DrawBackgroundRect(CZVDC* dc, int x, int y, int w, int h, CZVWindow* owner) {
    if (owner && owner->PaintChildBackground(dc, this, x, y, w, h)) return;
    CSetServer* style = CSetServer::Get();
    if (style && (style->GetFlags() & kStyleSkins)) {
        CZVWindow* judge = owner ? owner : GetMainWnd();
        const bool raised = judge && !judge->IsOnBaseSurface();
        const bool plain = raised && (style->GetSkinLevel() <= 8 || style->IsTextureReady());
        if (!plain) {
            if (CDibDC* image = style->GetSkinImage()) {
                if (m_backColor == 0) {
                    dc->BitBlt(x, y, image, ToRootX(x), ToRootY(y), w, h);
                    return;
                }
                const int level = owner && raised && style->GetSkinLevel() > 8 ? 2 : -1;
                if (FillFromSkin(dc, m_backColor, x, y, w, h, level)) return;
            }
        }
    }
    dc->FillRect(m_backColor, x, y, w, h, owner && owner->m_texture ? 1 : 0);
}

void CZVWindow::FillColor(CZVDC* dc, COLORREF colour, int x, int y, int w, int h) {
    CSetServer* style = CSetServer::Get();
    if (style && (style->GetFlags() & kStyleSkins) && IsOnBaseSurface()) {
        if (CDibDC* image = style->GetSkinImage()) {
            if (colour == 0) {
                dc->BitBlt(x, y, image, ToRootX(x), ToRootY(y), w, h);
                return;
            }
            if (FillFromSkin(dc, colour, x, y, w, h, -1)) return;
        }
    }
    dc->FillRect(colour, x, y, w, h, 0);
}

void CZVWindow::EraseChildArea(CZVWindow* child) {
    if (!child) {
        ReportAssert(kSource, 368, 1);
        return;
    }
    if (!m_shown) return;
    CZVDC dc(this);
    const int barWidth = child->m_scrollBar ? child->m_scrollBarWidth : 0;
    const int w = child->m_width + barWidth + 1;
    const int h = child->m_height + 1;
    if (m_texture)
        dc.FillRect(m_faceColor, child->m_x, child->m_y, w, h, 1);
    else
        FillFaceColor(&dc, child->m_x, child->m_y, w, h);
}

// ---- input

int CZVWindow::OnMouseMove(int x, int y, int keys) {
    if (!m_shown) return 0;
    for (ZVPOSITION pos = m_children.GetHeadPosition(); pos;)
        if (static_cast<CZVWindow*>(m_children.GetNext(pos))->OnMouseMove(x, y, keys)) return 1;
    return 0;
}

int CZVWindow::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown) return 0;
    for (ZVPOSITION pos = m_children.GetHeadPosition(); pos;)
        if (static_cast<CZVWindow*>(m_children.GetNext(pos))->OnLButtonDown(x, y, keys)) return 1;
    return 0;
}

int CZVWindow::OnLButtonUp(int x, int y, int keys) {
    if (!m_shown) return 0;
    for (ZVPOSITION pos = m_children.GetHeadPosition(); pos;)
        if (static_cast<CZVWindow*>(m_children.GetNext(pos))->OnLButtonUp(x, y, keys)) return 1;
    return 0;
}

// ---- commands

int CZVWindow::OnCommand(int id) {
    if (id == kNoCommand || !m_parent) return 0;
    if (int consumed = m_parent->OnChildCommand(id, 1)) return consumed;
    return m_parent->OnCommand(id);
}

void CZVWindow::SendCommandToTree(int id) {
    OnCommand(id);
    ForEachChild(m_children, [id](CZVWindow* child) { child->SendCommandToTree(id); });
}

// ---- idle and timers

int CZVWindow::OnIdle(int busy) {
    if (m_deferredRepaint && !CMainWndBase::InputBlockedFor(this) && m_shown) {
        Paint(nullptr, 0);
        m_deferredRepaint = 0;
    }
    if (m_highlightCountdown >= 0) {
        if (CMainWndBase::InputBlockedFor(this)) return busy;
        if (!m_shown) {
            // A hidden window ends its fade here; its subtree's timers and
            // idle steps go on.
            ReleaseHighlight();
            m_highlightCountdown = -1;
        } else if (TicksSince(&m_highlightTick) > 0 || m_highlightCountdown == 100) {
            CZVDC dc(this);
            HighlightStep(&dc);
            m_highlightCountdown -= 4;
            m_highlightTick = platform::GetTickCount();
            busy = 1;
        }
    }
    for (ZVPOSITION pos = m_children.GetHeadPosition(); pos;) {
        auto* child = static_cast<CZVWindow*>(m_children.GetNext(pos));
        if (child->m_timerInterval &&
            TicksSince(&child->m_timerLastTick) > static_cast<uint32_t>(child->m_timerInterval)) {
            // The timer's command may delete the child or its siblings, so the
            // tick is stamped first and the walk goes on from where the child
            // now stands, or ends when it is gone.
            child->m_timerLastTick = platform::GetTickCount();
            child->OnTimer();
            ZVPOSITION here = m_children.Find(child);
            if (!here) return 1;
            pos = here;
            m_children.GetNext(pos);
        }
        const int r = child->OnIdle(busy);
        if (r == -1) return 1;
        if (r) busy = 1;
    }
    return busy;
}

// ---- passed down the tree

void CZVWindow::FlushImageCache() {
    ForEachChild(m_children, [](CZVWindow* child) { child->FlushImageCache(); });
}

void CZVWindow::OnSuspend() {
    ForEachChild(m_children, [](CZVWindow* child) { child->OnSuspend(); });
}

void CZVWindow::OnResume() {
    ForEachChild(m_children, [](CZVWindow* child) { child->OnResume(); });
}

CZVWindow* CZVWindow::FindSameLook(CZVWindow* w) {
    if (CZVWindow* same = IsSameLook(w)) return same;
    for (ZVPOSITION pos = m_children.GetHeadPosition(); pos;)
        if (CZVWindow* same = static_cast<CZVWindow*>(m_children.GetNext(pos))->FindSameLook(w)) return same;
    return nullptr;
}

CZVDC* CZVWindow::GetEnclosingDC(CZVWindow* w) { return m_parent ? m_parent->GetEnclosingDC(w) : nullptr; }

void CZVWindow::ReleaseEnclosingDC(CZVWindow* w, CZVDC* dc) {
    if (m_parent) m_parent->ReleaseEnclosingDC(w, dc);
}

// ---- scroll bar

CZVWindow* CZVWindow::CreateScrollBar(CZVWindow* parent, CZVRect rect) {
    return g_scrollBarFactory ? g_scrollBarFactory(parent, this, rect) : nullptr;
}

CZVWindow* CZVWindow::EnsureScrollBar(CZVDC* dc, int show) {
    if (m_scrollBar || !m_parent) return m_scrollBar;
    const int sbw = m_scrollBarWidth;
    CZVWindow* bar = CreateScrollBar(m_parent, CZVRect(m_x + m_width - sbw, m_y, sbw, m_height));
    if (!bar) return nullptr;
    m_scrollBar = bar;
    bar->m_scrollTarget = this;
    m_width -= sbw;
    m_parent->AddChild(bar);
    if (m_shown && show) {
        bar->Paint(dc, 1);
        if (dc) dc->SetOrigin(ToRootX(0), ToRootY(0));
    }
    return bar;
}

void CZVWindow::RemoveScrollBar() {
    if (!m_scrollBar) return;
    CZVWindow* bar = m_scrollBar;
    m_scrollBar = nullptr;
    bar->m_scrollTarget = nullptr;
    if (m_parent) m_parent->RemoveChild(bar);
    bar->m_parent = nullptr;
    delete bar;
    m_width += m_scrollBarWidth;
}
