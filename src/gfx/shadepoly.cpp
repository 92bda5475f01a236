#include "gfx/shadepoly.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "gfx/dibdc.h"
#include "gfx/speed.h"

#include "platform/report.h"

bool CPointList::InRange(int i, int line) const {
    if (i >= 0 && i < GetCount()) return true;
    ReportAssert("shadepoly", line, 1);
    return false;
}

void CPointList::Add(int x, int y) {
    m_x.push_back(x);
    m_y.push_back(y);
}

int CPointList::GetX(int i) const { return InRange(i, 303) ? m_x[i] : 0; }

int CPointList::GetY(int i) const { return InRange(i, 314) ? m_y[i] : 0; }

void CPointList::SetX(int i, int v) {
    if (InRange(i, 324)) m_x[i] = v;
}

void CPointList::SetY(int i, int v) {
    if (InRange(i, 335)) m_y[i] = v;
}

void CPointList::RemoveAt(int i) {
    if (!InRange(i, 424)) return;
    m_x.erase(m_x.begin() + i);
    m_y.erase(m_y.begin() + i);
}

void CPointList::RemoveLast() {
    if (m_x.empty()) return;
    m_x.pop_back();
    m_y.pop_back();
}

void CPointList::Clear() {
    m_x.clear();
    m_y.clear();
}

void CPointList::RemoveDuplicates() {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_x.size(); ++i) {
        if (kept > 0 && m_x[i] == m_x[kept - 1] && m_y[i] == m_y[kept - 1]) continue;
        m_x[kept] = m_x[i];
        m_y[kept] = m_y[i];
        ++kept;
    }
    m_x.resize(kept);
    m_y.resize(kept);
}

void CSpanList::Add(int x, int y, int length) {
    if (length <= 0) return;
    m_x.push_back(x);
    m_y.push_back(y);
    m_length.push_back(length);
}

void CSpanList::Offset(int dx, int dy) {
    for (auto& x : m_x) x += dx;
    for (auto& y : m_y) y += dy;
}

void CSpanList::AddRoundRect(int w, int h, int inset, int radius, int type) {
    if (m_vertical) {
        ReportAssert("shadepoly", __LINE__, 1);
        return;
    }
    const int inner = w - 2 * inset;
    if (inner <= 0 || h - 2 * inset <= 0) return;
    const int r = std::min(radius, (std::min(w, h) - 2 * inset) / 2 - 1);
    if (r < 0) {
        // Too small to round: a plain rectangle.
        for (int row = inset; row < h - inset; ++row) Add(inset, row, inner);
        return;
    }
    const bool topLeft = type == 0 || type == 2 || type < 0 || type > 3;
    const bool topRight = type == 0 || type == 3 || type < 0 || type > 3;
    const bool bottomLeft = type == 1 || type == 2 || type < 0 || type > 3;
    const bool bottomRight = type == 1 || type == 3 || type < 0 || type > 3;
    auto addRow = [&](int row, int m, bool roundLeft, bool roundRight) {
        const int left = roundLeft ? m : inset;
        const int right = roundRight ? m : inset;
        Add(left, row, w - left - right);
    };
    CPointList outline;
    BuildCircleOutline(&outline, r, 1);
    // The outline runs from the widest row (y = r) to the narrowest (y = 0).
    for (int i = outline.GetCount() - 1; i >= 0; --i) {
        const int m = inset + r - outline.GetX(i);
        addRow(inset + r - outline.GetY(i), m, topLeft, topRight);
    }
    for (int row = inset + r + 1; row < h - inset - r - 1; ++row) Add(inset, row, inner);
    for (int i = 0; i < outline.GetCount(); ++i) {
        const int m = inset + r - outline.GetX(i);
        addRow(h - inset - r - 1 + outline.GetY(i), m, bottomLeft, bottomRight);
    }
}

// ---- lighting

namespace {

int g_shadeDepth = 75;
int g_shadeCurve = 10000;

// Shaded pixels never take the transparent key: black becomes (8, 4, 8).
constexpr uint16_t kShadedBlack565 = 0x0821;

// num x 50 / den; a zero divisor (a point off its quadrant) is reported and
// gives 0, the slope of a diagonal.
int Slope50(int num, int den, int line) {
    if (den == 0) {
        ReportAssert("shadepoly", line, 1);
        return 0;
    }
    return static_cast<int>(int64_t{num} * 50 / den);
}

int64_t Square(int64_t v) { return v * v; }

}  // namespace

void SetShadeDepth(int depth) { g_shadeDepth = depth; }
int GetShadeDepth() { return g_shadeDepth; }
void SetShadeCurve(int curve) { g_shadeCurve = std::max(curve, 1); }
int GetShadeCurve() { return g_shadeCurve; }

void CShadeColor::Set(uint16_t colour565, int offset, int width, int inverted) {
    m_colour = colour565;
    m_red = (colour565 >> 8) & 0xF8;
    m_green = (colour565 >> 3) & 0xFC;
    m_blue = (colour565 & 0x1F) << 3;
    m_offset = offset;
    m_inverted = inverted;
    m_widthSquared = Square(width);
}

uint16_t CShadeColor::Shade(int quadrant, int a, int b, int kind) const {
    if (a == 0 && b == 0) return m_colour;
    auto lit = [this](int64_t g) {
        auto channel = [g](int value) { return static_cast<int>(std::clamp<int64_t>(value + g, 0, 255)); };
        const uint16_t pixel = kRedTo565[channel(m_red)] | kGreenTo565[channel(m_green)] | kBlueTo565[channel(m_blue)];
        return pixel == kTransparent565 ? kShadedBlack565 : pixel;
    };
    if (kind == 2) {
        int v = 1;
        if (quadrant == 1 && a + b >= 0)
            v = Slope50(b, a, __LINE__) + 51;
        else if (quadrant == 3 && a + b >= 0)
            v = Slope50(a, b, __LINE__) + 51;
        else if (quadrant == 4)
            v = (b < a ? Slope50(b, a, __LINE__) : Slope50(a, b, __LINE__)) + 51;
        return lit(v - 70);
    }
    int c = m_offset - 1;
    if (m_inverted) {
        a = -a;
        b = -b;
        quadrant = (quadrant + 1) % 4 + 1;  // the opposite one: 1 <-> 3, 2 <-> 4
        c = m_offset + 1;
    }
    int d = 0;
    if (kind != 1) {
        const int64_t r = ISqrt(static_cast<int>(std::min<int64_t>(Square(a) + Square(b), INT32_MAX)));
        const int64_t t = (r - c) * 100;
        int64_t under = 10000;
        if (m_widthSquared == 0)
            ReportAssert("shadepoly", __LINE__, 1);
        else
            under = 10000 - Square(t) / m_widthSquared;
        d = ISqrt(static_cast<int>(std::max<int64_t>(under, -1)));
        if (kind == 0 && d <= 50) d = 50;
        d = std::min(d, 100);
    }
    int e = 0;
    if (quadrant == 1)
        e = a + b < 1 ? Slope50(a, b, __LINE__) + 50 : 0;
    else if (quadrant == 2)
        e = (a < b ? Slope50(b, a, __LINE__) : Slope50(a, b, __LINE__)) + 50;
    else if (quadrant == 3)
        e = a + b < 1 ? Slope50(b, a, __LINE__) + 50 : 0;
    const int64_t g = (2500 - Square(50 - d)) * e * 4 / g_shadeCurve + std::max(d, g_shadeDepth) - 100;
    return lit(g);
}
