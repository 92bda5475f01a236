#include "widgets/regions/shadewnd.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "gfx/skinservices.h"
#include "widgets/buttons/arrowbutton.h"
#include "widgets/style/setserver.h"

namespace {

bool IsCornerOrEdge(const CShadeShape& shape) {
    return shape.kind == CShadeShape::kCorner || shape.kind == CShadeShape::kEdge;
}

}  // namespace

CShadeWnd::CShadeWnd(CZVWindow* parent, CZVRect rect, int styleClass) : CZVWindow(parent, rect, styleClass) {
    if (parent) {
        m_faceColor = parent->GetFaceColor();
        m_backColor = parent->GetBackColor();
    }
    m_raisedLevel = 1;
}

CShadeWnd::~CShadeWnd() = default;

void CShadeWnd::Paint(CZVDC* dc, int /*withBackground*/) { CZVWindow::Paint(dc, 0); }

void CShadeWnd::OnPaint(CZVDC* dc) {
    PaintShapes(dc, m_parent ? m_parent : this, this);
    CZVWindow::OnPaint(dc);
}

std::optional<CZVRect> CShadeWnd::GetOpaqueRect() {
    if (int64_t{m_opaqueRect.w} * m_opaqueRect.h > 9999) return m_opaqueRect;
    return std::nullopt;
}

void CShadeWnd::AddShape(CShadeShape* shape) {
    if (shape) m_shapes.emplace_back(shape);
}

CShadeRect* CShadeWnd::AddRect(int x1, int y1, int x2, int y2) {
    if (x2 < x1 || y2 < y1) return nullptr;
    auto* rect = new CShadeRect(x1, y1, x2, y2);
    AddShape(rect);
    return rect;
}

CShadeEdge* CShadeWnd::AddEdge(int side, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return nullptr;
    auto* edge = new CShadeEdge(side, x, y, w, h);
    AddShape(edge);
    return edge;
}

CShadeEdge* CShadeWnd::AddEdgeBounds(int side, int x1, int y1, int x2, int y2) {
    if (x2 < x1 || y2 < y1) return nullptr;
    return AddEdge(side, x1, y1, x2 - x1 + 1, y2 - y1 + 1);
}

CShadeCorner* CShadeWnd::AddCorner(int type, CZVRect rect, int circleFlags) {
    auto* corner = new CShadeCorner(type, rect.w, rect.x, rect.y, circleFlags);
    AddShape(corner);
    return corner;
}

int CornerFits(int radius, int inset) {
    const int d = radius - inset;
    return d < ISqrt(std::max(radius * radius - d * d, 0));
}

void CShadeWnd::AddFrame(int l, int t, int r, int b, int d, int e, int inverted, int fill, int flags, int circleFlags) {
    const int W = m_width, H = m_height;
    const int h = inverted ? e + d : e;
    const bool sunkenVariant = inverted && (CSetServer::CurrentFlags() & kStyleOutlineCorners);
    const bool hasTL = !(flags & kNoTopLeft), hasTR = !(flags & kNoTopRight);
    const bool hasBL = !(flags & kNoBottomLeft), hasBR = !(flags & kNoBottomRight);
    if (fill) {
        if (CornerFits(e, d) || inverted) {
            AddRect(l + d, t + d, W - r - d, H - b - d);
        } else {
            const int reachTL = hasTL ? h : d, reachTR = hasTR ? h : d;
            const int reachBL = hasBL ? h : d, reachBR = hasBR ? h : d;
            AddRect(l + reachTL, t + d, W - reachTR - r - 1, t + h - 1);
            AddRect(l + reachBL, H - h - b - 1, W - reachBR - r - 1, H - d - b - 1);
            AddRect(l + d, t + h, W - r - d - 1, H - b - h - 1);
        }
    }
    if (h > 1) {
        const int size = h + 1;
        const int right = W - r - size, bottom = H - b - size;
        const struct {
            bool present;
            int raised, sunken, x, y;
        } corners[4] = {
            {hasTL, 1, 5, l, t}, {hasTR, 2, 6, right, t}, {hasBL, 0, 4, l, bottom}, {hasBR, 3, 7, right, bottom}};
        for (const auto& c : corners) {
            if (!c.present) continue;
            CShadeCorner* corner = AddCorner(sunkenVariant ? c.sunken : c.raised, {c.x, c.y, size, size}, circleFlags);
            if (flags & kHollowCorners) corner->noOuterFill = corner->noInnerFill = true;
        }
    }
    const int across = W - 2 * h - l - r, down = H - 2 * h - t - b;
    std::vector<CShadeEdge*> edges;
    auto add = [&edges](CShadeEdge* edge) {
        if (edge) edges.push_back(edge);
    };
    if (sunkenVariant) {
        add(AddEdge(3, l, t + h, d, down));
        add(AddEdge(1, W - r - d, t + h, d, down));
        add(AddEdge(2, l + h, t, across, d));
        add(AddEdge(0, l + h, H - b - d, across, d));
        return;
    }
    add(AddEdge(1, l, hasTL ? t + h : t, d, hasTL ? down : down + h));
    add(AddEdge(3, W - r - d, hasTR ? t + h : t, d, hasTR ? down : down + h));
    add(AddEdge(2, l + h, H - b - d, across, d));
    if (!(flags & kNoTopEdge)) add(AddEdge(0, l + h, t, across, d));
    if (d > e)
        for (CShadeEdge* edge : edges) edge->SetCuts(edge->GetCutFlags(), d - e);
    if (inverted) SetPressed(false);
}

void CShadeWnd::MirrorShapes(bool flipX, bool flipY) {
    for (auto& shape : m_shapes) shape->Mirror(flipX, flipY, m_width, m_height);
}

void CShadeWnd::SetPressed(bool keepSwapped) {
    if (!keepSwapped) m_pressed = !m_pressed;
    for (auto& shape : m_shapes) shape->Toggle(keepSwapped);
}

void CShadeWnd::ToggleRectShapes() {
    for (auto& shape : m_shapes)
        if (shape->kind == CShadeShape::kRect) shape->Toggle(true);
}

void CShadeWnd::SetOutlines(int inner, int outer) {
    for (auto& shape : m_shapes) {
        shape->innerOutline = inner;
        shape->outerOutline = outer;
    }
}

void CShadeWnd::PrepareShapes(CDibDC* target) {
    COLORREF c = m_faceColor, b = m_backColor;
    if (m_pressed) std::swap(c, b);
    for (auto& shape : m_shapes) {
        const bool swapped = m_swap && IsCornerOrEdge(*shape);
        shape->Render(swapped ? b : c, swapped ? c : b, GetBevel(), !m_pressed, target);
    }
    m_prepared = 1;
}

void CShadeWnd::PaintShapes(CZVDC* dc, CZVWindow* textureSource, CZVWindow* self) {
    if (!dc) return;
    if (m_fillBack) dc->FillRect(m_backColor, 0, 0, m_width, m_height, 0);
    SetShadeDepth(m_depth);
    if (!m_prepared) PrepareShapes(nullptr);
    std::vector<CZVRect> clips;
    COLORREF fill = 0;
    const COLORREF* fillColour = nullptr;
    if (textureSource && self) {
        // Rectangles leave out what the children cover anyway.
        for (ZVPOSITION pos = self->GetChildren().GetHeadPosition(); pos;) {
            auto* child = static_cast<CZVWindow*>(self->GetChildren().GetNext(pos));
            CollectOpaqueRects(child, child->GetX(), child->GetY(), clips);
        }
        if (textureSource != this && !textureSource->GetTexture()) {
            fill = textureSource->GetFaceColor();
            fillColour = &fill;
        }
    }
    const bool skinned = IsOnBaseSurface() && (CSetServer::CurrentFlags() & kStyleSkins);
    for (auto& shape : m_shapes) {
        const bool isRect = shape->kind == CShadeShape::kRect;
        int mode = kShadePlain;
        if (m_texture && !(isRect && m_plainRects))
            mode = kShadeTextured;
        else if (skinned)
            mode = kShadeSkinned;
        shape->Draw(dc, mode, isRect ? &clips : nullptr, fillColour);
    }
}

void CShadeWnd::RenderShapes(CDibDC* target) {
    if (!target) return;
    if (m_fillBack) target->FillRect(m_backColor, m_x, m_y, m_width, m_height, 0);
    SetShadeDepth(m_depth);
    for (auto& shape : m_shapes) shape->Offset(m_x, m_y);
    PrepareShapes(target);
    for (auto& shape : m_shapes) shape->Offset(-m_x, -m_y);
}

void RenderShadedFrame(CZVWindow* window, COLORREF face, CDibDC* target, int depth, bool skinned, bool plain) {
    if (!window || !target) return;
    if (depth < 0) depth = 25;
    const int M = window->GetMargin(), B = window->GetBevel();
    const int W = window->GetWidth(), H = window->GetHeight();
    const int flags = CSetServer::CurrentFlags();
    const bool skinsOn = (flags & kStyleSkins) != 0;
    int R = window->GetCornerRadius();
    const CZVRect area(0, 0, W, H);
    if (M > 0) {
        CShadeWnd ring(nullptr, area, 0);
        R = std::min(R, (std::min(W, H) - 2 * M + 2) / 2);
        ring.SetColors(window->GetBackColor(), window->GetBackColor());
        ring.SetDepth(depth);
        ring.SetBevel(M);
        ring.AddFrame(0, 0, 0, 0, M, R, 1, 0, CShadeWnd::kHollowCorners, 0);
        ring.SetOutlines(0, 0);
        ring.RenderShapes(target);
        if (!plain && window->GetTexture() && (flags & kStyleOutlineCorners) && !skinned)
            Skins().DrawSkinImage(target, target, window->ToRootX(0), window->ToRootY(0), nullptr, 0);
    }
    CShadeWnd faceWnd(nullptr, area, 0);
    faceWnd.SetColors(face, window->GetBackColor());
    faceWnd.SetDepth(depth);
    faceWnd.SetBevel(B);
    faceWnd.AddFrame(M, M, M, M, B, R, 0, 1, 0, 0);
    if (M == 0 && !skinsOn) faceWnd.SetOutlines(1, 0);
    faceWnd.RenderShapes(target);
    if (skinned && skinsOn) {
        CZVWindow* parent = window->GetParent();
        Skins().DrawWithSkin(target, target, window->ToRootX(0), window->ToRootY(0), 0, 0, target->GetRequestedWidth(),
                             target->GetHeight(), parent && !parent->IsOnBaseSurface() ? 8 : 0);
    }
    SetShadeDepth(25);
}

void CShadedFaceRenderer::RenderShadedFrame(CZVWindow* window, COLORREF face, CDibDC* surface, int depth) {
    ::RenderShadedFrame(window, face, surface, depth, false, true);
}

void CShadedFaceRenderer::RenderEndShape(CZVWindow* window, int kind, COLORREF face, CDibDC* surface) {
    auto* button = dynamic_cast<CZV3DButton*>(window);
    if (!button || !surface) {
        CButtonFaceRenderer::RenderEndShape(window, kind, face, surface);
        return;
    }
    CShadeWnd shade(nullptr, CZVRect(0, 0, button->GetWidth(), button->GetHeight()), 0);
    shade.SetColors(face, button->GetBackColor());
    BuildEndShape(button, kind, &shade);
    shade.RenderShapes(surface);
    SetShadeDepth(25);
}

std::unique_ptr<CShadeEdge> MakeEdgePiece(int side, CZVRect rect, COLORREF colour, int cuts) {
    if (rect.w <= 0 || rect.h <= 0) return nullptr;
    auto edge = std::make_unique<CShadeEdge>(side, rect.x, rect.y, rect.w, rect.h);
    edge->SetCuts(cuts, 0);
    SetShadeDepth(25);
    edge->Render(colour, colour, 0, 1, nullptr);
    return edge;
}

void OverlayGreyEdge(CDibDC* target, int side, CZVRect rect) {
    constexpr COLORREF kMidGrey = 0x808080;
    const std::unique_ptr<CShadeEdge> edge = MakeEdgePiece(side, CZVRect(0, 0, rect.w, rect.h), kMidGrey, 0);
    if (!target || !edge || !edge->GetSurface()) return;
    target->OverlayRect(edge->GetSurface(), 0, 0, rect.x, rect.y, rect.w, rect.h);
}
