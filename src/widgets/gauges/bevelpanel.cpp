#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/gauges/bevelpanel.h"

namespace {

constexpr COLORREF kFullColour = 0x00FF00;
constexpr COLORREF kLineColour = 0xFFFFFF;
constexpr int kShapeDepth = 75;
// Centred in one line, the format of the band's caption.
constexpr int kCaptionFormat = 18;

}  // namespace

CBevelPanel::CBevelPanel(CZVWindow* parent, CZVRect rect, int bandHeight)
    : CZVWindow(parent, rect, 0), m_bandHeight(bandHeight) {
    m_faceColor = m_backColor = parent ? parent->GetFaceColor() : 0;
}

CBevelPanel::~CBevelPanel() {
    delete m_emptyShape;
    delete m_fullShape;
}

void CBevelPanel::SetState(int level, int redraw) {
    m_level = level;
    if (redraw) RedrawBuffered();
}

CShadeWnd* CBevelPanel::BuildShape(COLORREF face) {
    const int w = m_width, h = m_height, t = m_bandHeight, b = GetBevel();
    auto* shape = new CShadeWnd(this, CZVRect(0, 0, w, h), 0);
    shape->SetColors(face, m_backColor);
    shape->SetCornerRadius(m_radius);
    shape->SetBevel(b);
    shape->SetDepth(kShapeDepth);
    shape->AddRect(h, b, w - 1, b + t - 1);
    if (CShadeEdge* e = shape->AddEdgeBounds(0, h, 0, w - 1, b - 1)) e->SetCuts(2, 0);
    if (CShadeEdge* e = shape->AddEdgeBounds(2, h, t, w - 1, t + b - 1)) e->SetCuts(8, 0);
    if (CShadeEdge* e = shape->AddEdgeBounds(3, w - b - 1, 0, w - 1, b + t - 1)) e->SetCuts(5, 0);
    shape->AddCorner(1, CZVRect(0, 0, h, h), 0);
    if (h - t > 0) shape->AddCorner(5, CZVRect(t, t, h - t, h - t), 0)->noOuterFill = true;
    if (CShadeEdge* e = shape->AddEdge(2, 0, h - b, t + b, b)) e->SetCuts(12, 0);
    return shape;
}

void CBevelPanel::EnsureShapes() {
    if (!m_emptyShape) m_emptyShape = BuildShape(m_faceColor);
    if (!m_fullShape) m_fullShape = BuildShape(kFullColour);
}

void CBevelPanel::ComposeLevel(CDibDC* empty, CDibDC* full, CDibDC* out) {
    const int w = m_width, h = m_height;
    const int g = m_level * (w + h) / 100;
    if (g < h) {
        out->Line(kLineColour, w / 2, h - 1, 0, h - g - 1);
    } else {
        const int startX = g >= 2 * h ? g - h : w / 2;
        out->Line(kLineColour, startX, h - 1, g - h, 0);
    }
    const uint16_t line = ToRgb565(kLineColour);
    for (int y = 0; y < h; ++y) {
        CDibDC* source = empty;
        for (int x = w - 1; x >= 0; --x) {
            uint16_t* pixel = out->GetPixelAddress(x, y);
            if (*pixel == line) {
                source = full;
                *pixel = 0;
            }
            const uint16_t value = *source->GetPixelAddress(x, y);
            if (value != 0) *pixel = value;
        }
    }
}

void CBevelPanel::OnPaint(CZVDC* dc) {
    if (m_width <= 0 || m_height <= 0) return;
    EnsureShapes();
    if (m_level <= 0) {
        m_emptyShape->OnPaint(dc);
    } else if (m_level >= 100) {
        m_fullShape->OnPaint(dc);
    } else {
        CDibDC empty(m_width, m_height, 0, 0, 0), full(m_width, m_height, 0, 0, 0), out(m_width, m_height, 0, 0, 0);
        for (CDibDC* surface : {&empty, &full, &out}) surface->FillRect(0, 0, 0, m_width, m_height, 0);
        m_emptyShape->OnPaint(&empty);
        m_fullShape->OnPaint(&full);
        ComposeLevel(&empty, &full, &out);
        Skins().DrawImage(dc, &out, 0, 0, m_width, m_height, 0);
    }
    const int b = GetBevel(), band = b + m_bandHeight;
    dc->FillBevelBoxStd(m_faceColor, m_faceColor, false, 2 * band, m_height - band - 1, m_width - 1, m_height - 1,
                        b / 4);
    dc->SetFont(m_fontSize, 0, 0);
    dc->SetColor(m_textColor);
    dc->DrawText(m_text, CZVRect(2 * band, m_height - band - 1, m_width - 2 * band, band + 1), kCaptionFormat);
}
