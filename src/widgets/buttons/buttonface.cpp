#include "widgets/buttons/buttonface.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "widgets/window/zvwindow.h"

namespace {

CButtonFaceRenderer g_plain;
CButtonFaceRenderer* g_renderer = nullptr;

// Nested rounded rectangles from a darkened rim to the face colour.
void FillRings(CZVWindow* window, COLORREF face, CDibDC* surface, int squareKind) {
    const int m = window->GetMargin();
    const int w = window->GetWidth() - 2 * m;
    const int h = window->GetHeight() - 2 * m;
    const int bevel = window->GetBevel();
    const COLORREF rim = ScaleColor(0.6, face);
    for (int i = 0; i <= bevel && 2 * i < w && 2 * i < h; ++i) {
        const COLORREF colour = bevel ? MixColors(rim, face, static_cast<double>(i) / bevel) : face;
        const int radius = std::max(window->GetCornerRadius() - i, 0);
        surface->FillRoundRect(colour, m + i, m + i, w - 2 * i, h - 2 * i, radius, 0);
        if (squareKind >= 0) SquareEndSide(surface, squareKind, colour, m + i, window->GetCornerRadius());
    }
}

}  // namespace

void SquareEndSide(CDibDC* surface, int kind, COLORREF colour, int inset, int band) {
    const int w = surface->GetRequestedWidth() - 2 * inset;
    const int h = surface->GetHeight() - 2 * inset;
    if (w <= 0 || h <= 0 || band <= 0) return;
    switch (kind) {
    case 0: surface->FillRect(colour, inset, inset + h - std::min(band, h), w, std::min(band, h), 0); break;
    case 1: surface->FillRect(colour, inset, inset, w, std::min(band, h), 0); break;
    case 2: surface->FillRect(colour, inset + w - std::min(band, w), inset, std::min(band, w), h, 0); break;
    case 3: surface->FillRect(colour, inset, inset, std::min(band, w), h, 0); break;
    default: break;
    }
}

void CButtonFaceRenderer::RenderShadedFrame(CZVWindow* window, COLORREF face, CDibDC* surface, int) {
    FillRings(window, face, surface, -1);
}

void CButtonFaceRenderer::RenderEndShape(CZVWindow* window, int kind, COLORREF face, CDibDC* surface) {
    FillRings(window, face, surface, kind);
}

CButtonFaceRenderer& ButtonFaces() { return g_renderer ? *g_renderer : g_plain; }

CButtonFaceRenderer* InstallButtonFaceRenderer(CButtonFaceRenderer* renderer) {
    CButtonFaceRenderer* previous = g_renderer;
    g_renderer = renderer;
    return previous;
}
