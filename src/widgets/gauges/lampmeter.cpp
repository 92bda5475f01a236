#include "widgets/gauges/lampmeter.h"

#include <numeric>

#include "gfx/dibdc.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

constexpr int kLampStyleClass = 16;
constexpr int kLampDepth = 75;

// Half and half of the colour at half brightness and the other colour.
COLORREF DimmedOver(COLORREF colour, COLORREF under) {
    return MakeColor(static_cast<uint8_t>((ColorRed(colour) / 2 + ColorRed(under)) / 2),
                     static_cast<uint8_t>((ColorGreen(colour) / 2 + ColorGreen(under)) / 2),
                     static_cast<uint8_t>((ColorBlue(colour) / 2 + ColorBlue(under)) / 2));
}

}  // namespace

CLampMeter::CLampMeter(CZVWindow* parent, CZVRect rect, int count0, int count1, int count2, int count3, int further1,
                       int further2)
    : CZVWindow(parent, rect, 0), m_counts{count0, count1, count2, count3}, m_further1(further1), m_further2(further2) {
    m_faceColor = parent ? parent->GetFaceColor() : 0;
}

CLampMeter::~CLampMeter() = default;

void CLampMeter::SetGroupColors(COLORREF c0, COLORREF c1, COLORREF c2, COLORREF c3) {
    m_colours = {c0, c1, c2, c3};
    for (int g = 0; g < kGroups; ++g) {
        m_lit[g].reset();
        m_unlit[g].reset();
    }
}

void CLampMeter::SetValue(int lit, int redraw) {
    m_value = lit;
    if (!redraw || !m_shown) return;
    CZVDC dc(this);
    DrawLamps(&dc);
}

void CLampMeter::OnPaint(CZVDC* dc) {
    m_paintedOnce = 1;
    DrawLamps(dc);
}

CZV3DButton* CLampMeter::Lamp(int group, int lit, int width) {
    std::unique_ptr<CZV3DButton>& lamp = lit ? m_lit[group] : m_unlit[group];
    if (!lamp) {
        const COLORREF colour = m_enabled ? m_colours[group] : m_backColor;
        lamp = std::make_unique<CZV3DButton>(this, CZVRect(0, 0, width, m_height), -1, kLampStyleClass);
        lamp->SetFaceColor(lit ? colour : DimmedOver(colour, m_faceColor));
        lamp->MakeRound();
        lamp->SetBackColor(0);
        lamp->SetStyleBit(k3DGlow, 1);
        lamp->SetShadeDepth(kLampDepth);
    }
    return lamp.get();
}

void CLampMeter::DrawLamps(CZVDC* dc) {
    const int n = std::accumulate(m_counts.begin(), m_counts.end(), 0);
    if (n <= 0) return;
    const int step = m_width / n;
    if (step < 2) return;
    int i = 0;
    for (int g = 0; g < kGroups; ++g)
        for (int k = 0; k < m_counts[g]; ++k, ++i)
            if (CDibDC* face = Lamp(g, i < m_value, step - 1)->GetNormalImage())
                face->DrawTransparentTo(dc, i * step, 0, step - 1, m_height, 0);
}
