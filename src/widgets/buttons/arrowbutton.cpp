#include "widgets/buttons/arrowbutton.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "platform/report.h"
#include "widgets/style/setserver.h"
#include "widgets/regions/shadewnd.h"

namespace {

constexpr const char* kSource = "arrowbutton";

bool SkinsOn() {
    CSetServer* style = CSetServer::Get();
    return style && (style->GetFlags() & kStyleSkins);
}

// The rounded end at the bottom (kind 1) or, mirrored, at the top (kind 0).
void AddVerticalEnd(CShadeWnd* s, int W, int H, int b, int a) {
    const bool straight = 2 * a < W;
    s->AddRect(0, 0, W - b - 1, H - a);
    if (straight) s->AddRect(a, H - a - 1, W - a - 1, H - b - 1);
    if (a > 0) {
        s->AddCorner(3, {W - a, H - a, a, a}, 0);
        s->AddCorner(0, {0, H - a, a, a}, 0);
    }
    s->AddEdgeBounds(0, 0, 0, W - 1, b);
    if (CShadeEdge* e = s->AddEdgeBounds(1, 0, 0, b, H - a)) e->SetCuts(8, 0);
    if (CShadeEdge* e = s->AddEdgeBounds(3, W - b - 1, 0, W - 1, H - a)) e->SetCuts(4, 0);
    if (straight)
        if (CShadeEdge* e = s->AddEdgeBounds(2, a, H - b - 1, W - a - 1, H - 1); e && b > a) e->SetCuts(0, b - a);
}

// The rounded end at the right (kind 3) or, mirrored, at the left (kind 2).
void AddHorizontalEnd(CShadeWnd* s, int W, int H, int b, int a) {
    const bool straight = 2 * a < H;
    s->AddRect(0, 0, W - a, H - b - 1);
    if (straight) s->AddRect(W - a - 1, a, W - b - 1, H - a - 1);
    if (a > 0) {
        s->AddCorner(2, {W - a, 0, a, a}, 0);
        s->AddCorner(3, {W - a, H - a, a, a}, 0);
    }
    s->AddEdgeBounds(1, 0, 0, b, H - 1);
    if (CShadeEdge* e = s->AddEdgeBounds(0, 0, 0, W - a, b)) e->SetCuts(1, 0);
    if (CShadeEdge* e = s->AddEdgeBounds(2, 0, H - b - 1, W - a, H - 1)) e->SetCuts(4, 0);
    if (straight)
        if (CShadeEdge* e = s->AddEdgeBounds(3, W - b - 1, a, W - 1, H - a - 1); e && b > a) e->SetCuts(0, b - a);
}

// One rounded corner at the lower right; the caller mirrors it into place.
void AddRoundedCorner(CShadeWnd* s, int W, int H, int b, int R) {
    const int h = std::max(std::min(R, W - b), 0);
    s->AddRect(b, b, W - b - 1, H - h - 1);
    s->AddRect(b, H - h - 1, W - h - 1, H - b - 1);
    if (h > 0) s->AddCorner(3, {W - h, H - h, h, h}, 0);
    s->AddEdgeBounds(2, 0, H - b - 1, W - h - 1, H - 1);
    s->AddEdgeBounds(3, W - b - 1, 0, W - 1, H - h - 1);
    if (CShadeEdge* e = s->AddEdgeBounds(0, 0, 0, W - 1, b)) e->SetCuts(2, 0);
    if (CShadeEdge* e = s->AddEdgeBounds(1, 0, 0, b, H - 1)) e->SetCuts(10, 0);
}

}  // namespace

int EndShapeRadius(int kind, int width, int height, int radius) {
    return std::max(std::min(radius, (kind == 0 || kind == 1 ? width : height) / 2), 0);
}

void BuildEndShape(CZV3DButton* button, int kind, CShadeWnd* shade) {
    if (!button || !shade) return;
    if (kind < 0 || kind > 7) {
        ReportAssert(kSource, 213, 1);
        return;
    }
    const int W = button->GetWidth(), H = button->GetHeight();
    const int b = button->GetBevel(), R = button->GetCornerRadius();
    const int depth = button->GetShadeDepth();
    shade->SetBevel(b);
    shade->SetMargin(button->GetMargin());
    shade->SetDepth(depth < 0 ? 25 : depth);
    const int a = EndShapeRadius(kind, W, H, R);
    switch (kind) {
    case 0:
    case 1:
        AddVerticalEnd(shade, W, H, b, a);
        if (kind == 0) shade->MirrorShapes(false, true);
        break;
    case 2:
    case 3:
        AddHorizontalEnd(shade, W, H, b, a);
        if (kind == 2) shade->MirrorShapes(true, false);
        break;
    default:
        AddRoundedCorner(shade, W, H, b, R);
        shade->MirrorShapes(kind == 4 || kind == 5, kind == 5 || kind == 6);
        break;
    }
}

CArrowButton::CArrowButton(CZVWindow* parent, CZVRect rect, int direction, int command, int styleClass)
    : CZV3DButton(parent, rect, command, styleClass) {
    SetShapeKind(direction);
    SetFontSize(m_height / 2);
    SetMargin(0);
}

void CArrowButton::RenderFace(int pressed) {
    if (pressed && SkinsOn()) {
        CZV3DButton::RenderFace(pressed);
        return;
    }
    // A bevel wider than half the rounded end would overlap itself.
    const int c = (m_shapeKind == 0 || m_shapeKind == 1 ? m_width : m_height) / 2 - 1;
    if (m_bevel > c - 1) m_bevel = std::max(c - 1, 0);
    CDibDC*& image = pressed ? m_pressedImage : m_normalImage;
    if (m_lookSource || image) return;
    CDibDC* made = RenderShape(pressed ? GetPressedColor() : m_faceColor, 0);
    if (!made) return;
    ApplySkin(made);
    image = made;
}
