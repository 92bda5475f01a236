// The pixel effects of the surfaces: mixes, overlays, dimming, light, blur,
// gloss and shaded lines. Effects touch the picture's own columns, never the
// spare column of an odd width.
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "core/zvoblist.h"
#include "gfx/dibdc.h"
#include "gfx/pixelrow.h"
#include "gfx/shellservices.h"
#include "gfx/skinservices.h"

namespace {

inline int Red8(uint16_t c) { return (c >> 8) & 0xF8; }
inline int Green8(uint16_t c) { return (c >> 3) & 0xFC; }
inline int Blue8(uint16_t c) { return (c & 0x1F) << 3; }
inline uint16_t Pack8(int r, int g, int b) { return kRedTo565[r] | kGreenTo565[g] | kBlueTo565[b]; }

using pixelrow::kStep;
using pixelrow::V16;
using VS16 = int16_t __attribute__((vector_size(16)));

// Lanes of b where the mask is set, else of a.
inline V16 Select(V16 mask, V16 a, V16 b) { return (a & ~mask) | (b & mask); }
inline VS16 Clamp(VS16 v, int low, int high) {
    const VS16 lo = VS16{} + static_cast<int16_t>(low), hi = VS16{} + static_cast<int16_t>(high);
    v = reinterpret_cast<VS16>(
        Select(reinterpret_cast<V16>(v < lo), reinterpret_cast<V16>(v), reinterpret_cast<V16>(lo)));
    return reinterpret_cast<VS16>(
        Select(reinterpret_cast<V16>(v > hi), reinterpret_cast<V16>(v), reinterpret_cast<V16>(hi)));
}

// Each field dst + src - mid level, limited to the field.
void OverlayRow(uint16_t* d, const uint16_t* s, int n) {
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
        const V16 sv = pixelrow::Load(s + i), dv = pixelrow::Load(d + i);
        const VS16 r = Clamp(reinterpret_cast<VS16>((dv >> 11) + (sv >> 11)) - 15, 0, 31);
        const VS16 g = Clamp(reinterpret_cast<VS16>(((dv >> 5) & 0x3F) + ((sv >> 5) & 0x3F)) - 31, 0, 63);
        const VS16 b = Clamp(reinterpret_cast<VS16>((dv & 0x1F) + (sv & 0x1F)) - 15, 0, 31);
        pixelrow::Store(d + i, reinterpret_cast<V16>(r << 11 | g << 5 | b));
    }
    for (; i < n; ++i) {
        const int r = std::clamp((d[i] >> 11) + (s[i] >> 11) - 15, 0, 31);
        const int g = std::clamp(((d[i] >> 5) & 0x3F) + ((s[i] >> 5) & 0x3F) - 31, 0, 63);
        const int b = std::clamp((d[i] & 0x1F) + (s[i] & 0x1F) - 15, 0, 31);
        d[i] = static_cast<uint16_t>(r << 11 | g << 5 | b);
    }
}

void CombineRow(uint16_t* d, const uint16_t* s, int n, int level) {
    if (level >= 9)
        OverlayRow(d, s, n);
    else if (level > 0)
        pixelrow::Widest().mix(d, s, n, level);
}

// Field tables that map each 5- or 6-bit value through a channel function of
// its 8-bit value.
struct FieldTables {
    std::array<uint16_t, 32> red;
    std::array<uint16_t, 64> green;
    std::array<uint16_t, 32> blue;

    template <typename Red, typename Green, typename Blue>
    FieldTables(Red r, Green g, Blue b) {
        for (int i = 0; i < 32; ++i) {
            red[i] = kRedTo565[r(i << 3)];
            blue[i] = kBlueTo565[b(i << 3)];
        }
        for (int i = 0; i < 64; ++i) green[i] = kGreenTo565[g(i << 2)];
    }
    uint16_t operator()(uint16_t p) const { return red[p >> 11] | green[(p >> 5) & 0x3F] | blue[p & 0x1F]; }
};

// Sums of the 8-bit channels over the 3 x 3 neighbourhood of (x, y).
struct Sum3x3 {
    int r = 0, g = 0, b = 0;
    Sum3x3(const uint16_t* pixels, int stride, int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const uint16_t p = pixels[(y + dy) * stride + x + dx];
                r += Red8(p);
                g += Green8(p);
                b += Blue8(p);
            }
    }
};

}  // namespace

// ---- mixes

void CDibDC::BlendRect(CDibDC* src, int sx, int sy, int dx, int dy, int w, int h, int level) {
    if (!src || level <= 0 || !ClipBlit(dx, dy, w, h, sx, sy, src)) return;
    for (int row = 0; row < h; ++row)
        CombineRow(GetPixelAddress(dx, dy + row), src->GetPixelAddress(sx, sy + row), w, level);
}

void CDibDC::OverlayRect(CDibDC* src, int sx, int sy, int dx, int dy, int w, int h) {
    BlendRect(src, sx, sy, dx, dy, w, h, 9);
}

void CDibDC::BlendAll(CDibDC* src, int x, int y, int level) {
    if (src) BlendRect(src, 0, 0, x, y, src->GetRequestedWidth(), src->GetHeight(), level);
}

void CDibDC::BlendSpans(CDibDC* src, int ox, int oy, const CSpanList* runs, int level) {
    if (!src || !runs || level <= 0) return;
    const int width = GetRequestedWidth(), height = GetHeight();
    const int srcWidth = src->GetRequestedWidth(), srcHeight = src->GetHeight();
    const bool vertical = runs->IsVertical();
    for (int i = 0; i < runs->GetCount(); ++i) {
        const int x = runs->GetX(i), y = runs->GetY(i);
        const int sx = x + ox, sy = y + oy;
        if (x < 0 || y < 0 || x >= width || y >= height) continue;
        if (sx < 0 || sy < 0 || sx >= srcWidth || sy >= srcHeight) continue;
        if (!vertical) {
            const int n = std::min({runs->GetLength(i), width - x, srcWidth - sx});
            CombineRow(GetPixelAddress(x, y), src->GetPixelAddress(sx, sy), n, level);
            continue;
        }
        const int n = std::min({runs->GetLength(i), height - y, srcHeight - sy});
        for (int k = 0; k < n; ++k) CombineRow(GetPixelAddress(x, y + k), src->GetPixelAddress(sx, sy + k), 1, level);
    }
}

void CDibDC::OverlaySpans(CDibDC* src, int ox, int oy, const CSpanList* runs) { BlendSpans(src, ox, oy, runs, 9); }

void CDibDC::BlendExceptColor(CDibDC* src, int x, int y, int level, uint16_t key565) {
    CSpanList runs;
    for (int row = 0; row < GetHeight(); ++row) {
        const uint16_t* pixels = GetPixelAddress(0, row);
        for (int col = 0; col < GetRequestedWidth();) {
            const int start = col;
            while (col < GetRequestedWidth() && pixels[col] == key565) ++col;
            runs.Add(start, row, col - start);
            if (col == start) ++col;
        }
    }
    BlendSpans(src, -x, -y, &runs, level);
}

// ---- light

void CDibDC::Dim(CZVRect rect) {
    const int left = std::max(rect.x, 0), top = std::max(rect.y, 0);
    const int right = std::min(rect.x + rect.w, GetRequestedWidth());
    const int bottom = std::min(rect.y + rect.h, GetHeight());
    for (int row = top; row < bottom; ++row) {
        uint16_t* p = GetPixelAddress(0, row);
        for (int col = left; col < right; ++col) p[col] = (p[col] >> 1) & 0x7BEF;
    }
}

void CDibDC::AddRgb(int r, int g, int b) {
    auto add = [](int amount) { return [amount](int v) { return std::min(v + (amount & 0xFF), 255); }; };
    const FieldTables lift(add(r), add(g), add(b));
    for (int row = 0; row < GetHeight(); ++row) {
        uint16_t* p = GetPixelAddress(0, row);
        for (int col = 0; col < GetRequestedWidth(); ++col) p[col] = lift(p[col]);
    }
}

void CDibDC::AddBlend(CDibDC* other, int percent, int rampIn, int rampOut) {
    if (!other || other->GetWidth() != GetWidth() || other->GetHeight() != GetHeight()) return;
    const int length = GetWidth();
    for (int col = 0; col < GetRequestedWidth(); ++col) {
        int t = percent;
        if (rampIn > 0 && col < rampIn) t = col * percent / rampIn;
        if (rampOut > 0 && col > length - rampOut) t = (length - col) * percent / rampOut;
        for (int row = 0; row < GetHeight(); ++row) {
            uint16_t* p = GetPixelAddress(col, row);
            const uint16_t o = *other->GetPixelAddress(col, row);
            auto add = [t](int v, int extra) { return std::clamp(v + extra * t / 100, 0, 255); };
            *p = Pack8(add(Red8(*p), Red8(o)), add(Green8(*p), Green8(o)), add(Blue8(*p), Blue8(o)));
        }
    }
}

void CDibDC::ReplaceColor(uint16_t from, uint16_t to) {
    for (int row = 0; row < GetHeight(); ++row) {
        uint16_t* p = GetPixelAddress(0, row);
        std::replace(p, p + GetRequestedWidth(), from, to);
    }
}

// ---- softening

void CDibDC::Blur(const uint16_t* key) {
    const int width = GetRequestedWidth(), height = GetHeight();
    if (width < 3 || height < 3) return;
    std::vector<uint16_t> copy(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        std::copy_n(GetPixelAddress(0, row), width, copy.begin() + static_cast<ptrdiff_t>(row) * width);
    for (int row = 1; row < height - 1; ++row) {
        uint16_t* out = GetPixelAddress(0, row);
        for (int col = 1; col < width - 1; ++col) {
            const Sum3x3 sum(copy.data(), width, col, row);
            const uint16_t p = Pack8(sum.r / 9, sum.g / 9, sum.b / 9);
            out[col] = key && p == *key ? kTransparent565 : p;
        }
    }
}

void CDibDC::SmoothEdges(CDibDC* mask) {
    const int width = GetRequestedWidth(), height = GetHeight();
    if (!mask || width < 3 || height < 3) return;
    auto masked = [mask](int x, int y) {
        return x < mask->GetRequestedWidth() && y < mask->GetHeight() && *mask->GetPixelAddress(x, y) != 0;
    };
    std::vector<uint16_t> copy(static_cast<size_t>(width) * height);
    for (int row = 0; row < height; ++row)
        std::copy_n(GetPixelAddress(0, row), width, copy.begin() + static_cast<ptrdiff_t>(row) * width);
    auto at = [&copy, width](int x, int y) { return copy[static_cast<size_t>(y) * width + x]; };
    for (int row = 1; row < height - 1; ++row) {
        uint16_t* out = GetPixelAddress(0, row);
        for (int col = 1; col < width - 1; ++col) {
            const Sum3x3 sum(copy.data(), width, col, row);
            if (masked(col, row)) {
                out[col] = Pack8(sum.r / 9, sum.g / 9, sum.b / 9);
                continue;
            }
            const bool right = masked(col + 1, row);
            if ((!masked(col - 1, row) && !right) || at(col, row) == 0) continue;
            // The neighbour one row up, two columns left, stays within the row.
            const uint16_t n = right ? at(col, row - 1) : at(std::max(col - 2, 0), row - 1);
            out[col] = Pack8((sum.r + 9 * Red8(n)) / 18, (sum.g + 9 * Green8(n)) / 18, (sum.b + 9 * Blue8(n)) / 18);
        }
    }
}

// ---- gloss

namespace {

// The brightness map of the gloss: one value a pixel, 100 unchanged.
class GlossMap {
public:
    // The rows are left to the shape, which sets every one of them.
    GlossMap(int w, int h) : m_w(w), m_h(h), m_values(new uint8_t[static_cast<size_t>(w) * h]) {}

    uint8_t* Row(int y) { return &m_values[static_cast<size_t>(y) * m_w]; }
    void FillRow(int y, int v) { std::fill_n(Row(y), m_w, static_cast<uint8_t>(std::clamp(v, 0, 255))); }

    void Glossy(int radius, int edges) {
        const bool tall = m_h * 100 / m_w >= 151;
        const int top = tall ? 100 : 120, a = tall ? 100 : 125, b = tall ? 110 : 150;
        const int half = m_h / 2;
        for (int i = 0; i < half; ++i) {
            FillRow(i, a + i * (b - a) / half);
            FillRow(half + i, 90 + i * (top - 90) / half);
        }
        if (m_h & 1) FillRow(m_h - 1, 100);
        const int n = std::max(1, m_h / 20);
        for (int k = 1; k <= n; ++k) {
            const int row = half - n / 2 + k - 1;
            if (row >= 0 && row < m_h) FillRow(row, b + k * (90 - b) / (n + 1));
        }
        RoundEnds(radius, edges);
    }

    void Wave(bool strong, int offset) {
        std::vector<int> wave(static_cast<size_t>(m_h));
        const auto& sine = SineTable();
        for (int i = 0; i < m_h; ++i) {
            const int s = sine[std::min(i * 100 / m_h, 99)];
            wave[i] = strong ? s / 2 + 76 : s / 4 + 88;
        }
        FillRow(0, 100);
        FillRow(m_h - 1, 100);
        for (int row = 1; row < m_h - 1; ++row) {
            const int value = (wave[row - 1] + wave[row] + wave[row + 1]) / 3;
            FillRow(row, value);
            if (offset > 0) FadeLeftEnd(row, value, offset);
        }
    }

private:
    // The highlight's ends follow the corners: inside radius f of each end the
    // deviation from 100 tapers to nothing.
    void RoundEnds(int radius, int edges) {
        const int f = std::min({radius * 30 / 20, m_w / 2, m_h / 2});
        for (int i = 0; i < f; ++i) {
            const int m = ISqrt(f * f - (f - i) * (f - i));
            const int d = f - m;
            const int scale = (f - i) * 100 / f;
            const int rows[2] = {m_h / 2 + i, m_h / 2 - i};
            for (int r = 0; r < (i == 0 ? 1 : 2); ++r) {
                if (rows[r] < 0 || rows[r] >= m_h) continue;
                uint8_t* row = Row(rows[r]);
                if (edges & 3) Taper(row, d, m, scale, 1);
                if (edges & 0xC) Taper(row + m_w - 1, d, m, scale, -1);
            }
        }
    }
    static void Taper(uint8_t* end, int d, int m, int scale, int step) {
        for (int k = 0; k < d; ++k) end[k * step] = 100;
        for (int k = 0; k < m; ++k) {
            const int c = ((k * 100 / m - 100) * scale + 10000) / 100;
            uint8_t& v = end[(d + k) * step];
            v = static_cast<uint8_t>(std::clamp(100 + (v - 100) * c / 100, 0, 255));
        }
    }
    // With an offset only a rounded band at the left end keeps the wave.
    void FadeLeftEnd(int row, int value, int offset) {
        const int e = row < m_h / 2 ? row : m_h - row;
        const int g = std::clamp(ISqrt((m_h / 2) * (m_h / 2) - e * e) + offset - m_h / 2, 0, m_w);
        uint8_t* out = Row(row);
        for (int j = 0; j < m_w; ++j) {  // j counts from the right end
            int v = 100;
            if (j >= m_w - g) v = (value * (j - (m_w - g)) + (m_w - j) * 100) / g;
            out[m_w - 1 - j] = static_cast<uint8_t>(v);
        }
    }

    int m_w;
    int m_h;
    std::unique_ptr<uint8_t[]> m_values;
};

}  // namespace

void CDibDC::ApplyGloss(int radius, int edges, int inset, uint16_t key565, int offset) {
    const uint32_t flags = Skins().GetStyleFlags();
    const int level = static_cast<int>(flags & kStyleGlossMask);
    const int width = GetRequestedWidth(), height = GetHeight();
    if (level < 2 || width < 3 || height < 3) return;
    GlossMap map(width, height);
    if (level & 4)
        map.Glossy(radius, edges);
    else
        map.Wave(flags & kStyleStrongWave, offset);

    CDither565 dither;
    dither.Reset();
    const bool dithered = Shell().IsDitherEnabled();
    auto ditherPixel = [&dither](uint16_t p, int v, int x, int y) {
        auto channel = [v](int c) { return static_cast<uint8_t>(std::clamp(c + v - 100, 8, 255)); };
        return dither.Next(channel(Red8(p)), channel(Green8(p)), channel(Blue8(p)), (x + y) & 1);
    };
    if (const uint8_t* alpha = GetAlpha()) {
        for (int y = 0; y < height; ++y) {
            uint16_t* p = GetPixelAddress(0, y);
            const uint8_t* v = map.Row(y);
            const uint8_t* a = alpha + static_cast<size_t>(y) * GetWidth();
            for (int x = 0; x < width; ++x) {
                if (!a[x] || v[x] == 100 || !p[x]) continue;
                p[x] = dithered ? ditherPixel(p[x], v[x], x, y) : pixelrow::BrightenPixel(p[x], v[x] - 100, 8);
            }
        }
        return;
    }
    CSpanList runs;
    runs.AddRoundRect(width, height, inset, radius, -1);
    for (int i = 0; i < runs.GetCount(); ++i) {
        const int y = runs.GetY(i), end = runs.GetX(i) + runs.GetLength(i);
        uint16_t* p = GetPixelAddress(0, y);
        const uint8_t* v = map.Row(y);
        if (dithered && !key565) {
            for (int x = runs.GetX(i); x < end; ++x)
                if (p[x]) p[x] = ditherPixel(p[x], v[x], x, y);
            continue;
        }
        // A keyed gloss changes only the key's pixels, never dithered.
        const int x = runs.GetX(i);
        pixelrow::Widest().brighten(p + x, v + x, end - x, key565 ? 0 : 8, key565);
    }
}

// ---- shaded lines

void CDibDC::DrawShadedLine(int x, int y, int dx, int dy, int reverse, const COLORREF* colour, int spread) {
    if (dx != 0 && dy != 0) return;
    const int width = GetRequestedWidth(), height = GetHeight();
    const bool horizontal = dy == 0;
    const int n = horizontal ? std::abs(dx) : std::abs(dy);
    const int stepX = horizontal ? (dx > 0 ? 1 : -1) : 0;
    const int stepY = horizontal ? 0 : (dy > 0 ? 1 : -1);
    // The reference neighbour on the left-hand side of the direction of travel.
    const int refX = stepY, refY = -stepX;
    const int margin = colour ? 0 : 1;
    if (horizontal ? (y < margin || y >= height - margin) : (x < margin || x >= width - margin)) return;
    const int l = std::max(spread, 1) * (n + 1);
    const int refR = colour ? ColorRed(*colour) : 0, refG = colour ? ColorGreen(*colour) : 0,
              refB = colour ? ColorBlue(*colour) : 0;
    for (int k = 0; k < n; ++k) {
        const int px = x + k * stepX, py = y + k * stepY;
        if (px < 0 || px >= width || py < 0 || py >= height) continue;
        uint16_t* p = GetPixelAddress(px, py);
        int rr = refR, rg = refG, rb = refB;
        if (!colour) {
            const uint16_t ref = *GetPixelAddress(px + refX, py + refY);
            rr = Red8(ref), rg = Green8(ref), rb = Blue8(ref);
        }
        const int own = reverse ? n - k : k + 1;
        auto mix = [own, l](int mine, int other) { return (mine * own + other * (l - own)) / l; };
        *p = Pack8(mix(Red8(*p), rr), mix(Green8(*p), rg), mix(Blue8(*p), rb));
    }
}

void CDibDC::DrawShadedLines(CZVObList* lines, const COLORREF* colour) {
    if (!lines) return;
    for (ZVPOSITION pos = lines->GetHeadPosition(); pos;) {
        const auto* line = static_cast<const CShadedLine*>(lines->GetNext(pos));
        if (line) DrawShadedLine(line->x, line->y, line->dx, line->dy, line->reverse, colour, line->spread);
    }
}

// ---- outlines

void BuildCornerOutline(CPointList* list, int radius, int trim, int mode) {
    if (!list) return;
    switch (mode & 0x23) {
    case 0: BuildCircleOutline(list, radius, trim); return;
    case 1:
        BuildCircleOutline(list, radius + 1, trim);
        ShrinkOutline(list);
        return;
    case 2:
    case 0x20: break;
    default: return;
    }
    CPointList circle;
    BuildCircleOutline(&circle, (mode & 0x23) == 2 ? radius - 1 : radius, 0);
    list->Clear();
    bool belowSeen = false;
    int cornerX = 0, cornerY = 0;
    for (int i = 0; i < circle.GetCount(); ++i) {
        int x = circle.GetX(i), y = circle.GetY(i);
        if (y >= x) {
            ++y;
        } else {
            if (!belowSeen) {
                belowSeen = true;
                cornerX = x + (i == 0 || circle.GetX(i - 1) >= x ? 1 : 0);
                cornerY = y + 1;
            }
            ++x;
        }
        if (x <= radius && y <= radius) list->Add(x, y);
    }
    if (belowSeen && cornerX <= radius && cornerY <= radius) list->Add(cornerX, cornerY);
    if (!trim) return;
    for (int i = list->GetCount() - 2; i >= 0; --i)
        if (list->GetY(i) == list->GetY(i + 1)) list->RemoveAt(i);
}
