#include "widgets/buttons/cornerbtn.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "gfx/skinservices.h"
#include "platform/report.h"
#include "widgets/style/setserver.h"
#include "widgets/regions/shadewnd.h"

namespace {

constexpr const char* kSource = "cornerbtn";
constexpr int kGlossWave = 0x4;

bool FlipsX(int kind) { return kind == 6 || kind == 7; }
bool FlipsY(int kind) { return kind == 4 || kind == 7; }

}  // namespace

CCornerButton::CCornerButton(CZVWindow* parent, CZVRect rect, int command, int styleClass, int cornerKind,
                             int circleRadius, int centreX, int centreY)
    : CZV3DButton(parent, rect, command, styleClass),
      m_circleRadius(circleRadius),
      m_centreX(centreX),
      m_centreY(centreY) {
    SetShapeKind(cornerKind);
    if (m_width & 1) ++m_width;
}

CZVRect CCornerButton::MirrorRect(CZVRect rect) {
    rect.Mirror(FlipsX(m_shapeKind), FlipsY(m_shapeKind), m_width, m_height);
    return rect;
}

CZVRect CCornerButton::BandRect(int top, int reach) {
    const int b = std::max(GetBevel(), GetMargin());
    const int f = m_fontSize;
    const int d = m_centreY - reach;
    const int k = ISqrt(std::max(m_circleRadius * m_circleRadius - d * d, 0));
    const int x1 = std::min(m_centreX - k, m_width - b);
    CZVRect area(b, top, x1 - b + 1, f + 1);
    if (area.w > 2 && area.h > 2) area = CZVRect(area.x + 1, area.y + 1, area.w - 2, area.h - 2);
    return area;
}

void CCornerButton::GetInnerRect(CZVRect* out) {
    SetTextFormat(18);
    if (!out) return;
    const int b = std::max(GetBevel(), GetMargin());
    *out = MirrorRect(BandRect(b, m_fontSize + b));
}

void CCornerButton::GetIconRect(CZVRect* out) {
    if (!out) return;
    const int b = std::max(GetBevel(), GetMargin());
    CZVRect area = BandRect(b + m_fontSize, 2 * m_fontSize + b);
    if (m_text.GetLength() == 1) area.y -= m_fontSize;
    *out = MirrorRect(area);
}

void CCornerButton::PadReach(int bevel, int* rightY, int* bottomX) {
    CPointList outline;
    BuildCircleOutline(&outline, m_circleRadius - bevel, 0);
    int dy = -1, dx = -1;
    for (int i = 0; i < outline.GetCount(); ++i) {
        if (dy < 0 && outline.GetX(i) == m_centreX - m_width) dy = outline.GetY(i);
        if (dx < 0 && outline.GetY(i) == m_centreY - m_height) dx = outline.GetX(i);
    }
    *rightY = m_centreY - dy;
    *bottomX = m_centreX - dx;
}

void CCornerButton::RenderFace(int pressed) {
    SetTextFormat(18);
    ReplaceFaceImage(pressed, nullptr);
    auto face = std::make_unique<CDibDC>(m_width, m_height, 0, 0, 0);
    if (!face->GetBits()) {
        ReportAssert(kSource, 66, 1);
        return;
    }
    if (!IsSuppliedShape()) ClampShape();
    const int W = m_width, H = m_height, r = m_circleRadius, cx = m_centreX, cy = m_centreY;
    const int margin = GetMargin();
    if (margin > 0 && GetBevel() > 0) m_radius = 0;
    COLORREF c = m_faceColor;
    if (pressed) c = ScaleColor(ColorRed(c) + ColorGreen(c) + ColorBlue(c) > 400 ? 0.5 : 2.0, c);

    const int e = std::max(GetBevel(), margin);
    CShadeWnd shade(nullptr, CZVRect(0, 0, W, H), 0);
    shade.SetBevel(e);
    m_styleBits |= k3DSkinned;
    face->FillRect(0, 0, 0, W, H, 0);

    // The ring around the pad circle; its inside stays transparent.
    const int m = margin > 0 ? 3 * e / 10 : 0;
    shade.AddCorner(5, {cx - r - m, cy - r - m, r, r}, 0)->noInnerFill = true;

    int Yr = 0, Xb = 0;
    PadReach(e, &Yr, &Xb);
    const int E = std::max(std::min({m_radius < e ? 0 : m_radius, Xb - e, Yr - e}), 0);
    const struct {
        int side, x1, y1, x2, y2;
    } sides[] = {{0, E, 0, W - 1, e - 1}, {1, 0, E, e - 1, H - 1}, {3, W - e, 0, W - 1, Yr - 1}, {2, 0, H - e, Xb - 2, H - 1}};
    for (const auto& s : sides)
        if (CShadeEdge* edge = shade.AddEdgeBounds(s.side, s.x1, s.y1, s.x2, s.y2)) edge->SetCuts(0, e);
    if (E > 0) {
        shade.AddCorner(1, {0, 0, E, E}, 0);
        shade.AddEdgeBounds(0, E, 0, 2 * E, e - 1);
        shade.AddEdgeBounds(1, 0, E, e - 1, 2 * E);
    }
    const bool ring = margin > 0;
    if (ring) {
        face->FillRect(c, 0, 0, W, H, 0);
        const CZVRect pad = MirrorRect(CZVRect(cx - r - m, cy - r - m, 2 * r, 2 * r));
        face->FillRoundRect(0, pad.x, pad.y, pad.w, pad.h, r, 0);
        shade.SetPressed(true);
    } else {
        if (Xb > 2 * e) {
            if (E > 0) {
                shade.AddRect(e, E, E, H - 1 - e);
                shade.AddRect(E, e, Xb - e - 1, H - 1 - e);
            } else {
                shade.AddRect(e, e, Xb - e, H - e - 1);
            }
        }
        if (Yr > 2 * e) {
            if (E > 0) {
                shade.AddRect(E, e, W - 1 - e, E);
                shade.AddRect(e, E, W - 1 - e, Yr - e - 1);
            } else {
                shade.AddRect(e, e, W - e - 1, Yr - e - 1);
            }
        }
    }
    shade.MirrorShapes(FlipsX(m_shapeKind), FlipsY(m_shapeKind));
    shade.SetDepth(25);
    shade.SetColors(c, m_backColor);
    shade.RenderShapes(face.get());
    SetShadeDepth(25);

    const uint16_t key = ring ? ToRgb565(m_faceColor) : 0;
    WithStyleFlags(0, kGlossWave, [&] { face->ApplyGloss(0, 0, 0, key, 0); });
    if (ring && m_texture && (CSetServer::Get() && (CSetServer::Get()->GetFlags() & kStyleSkins))) {
        face->MakeRegionExcludingColor(0);
        CZVWindow* opaque = GetOpaqueAncestor();
        Skins().DrawSkinRect(face.get(), ToRootX(0), ToRootY(0), face->GetRegion(),
                             opaque && !opaque->IsOnBaseSurface() ? 8 : 0);
    }
    ReplaceFaceImage(pressed, face.release());
}
