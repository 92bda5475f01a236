#include "gfx/dibdc.h"

#include <algorithm>
#include <cstring>

#include "gfx/pixelrow.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "dibdc";

void CopySurfaceRows(const platform::Surface16& from, CDibDC* to) {
    for (int y = 0; y < from.height; ++y)
        std::memcpy(to->GetPixelAddress(0, y), from.pixels + static_cast<ptrdiff_t>(y) * from.stride,
                    static_cast<size_t>(from.width) * 2);
}

// 8-bit channels of an RGB565 pixel.
inline int Red8(uint16_t c) { return (c >> 8) & 0xF8; }
inline int Green8(uint16_t c) { return (c >> 3) & 0xFC; }
inline int Blue8(uint16_t c) { return (c & 0x1F) << 3; }

}  // namespace

void BuildCircleOutline(CPointList* list, int radius, int trim) {
    if (!list) return;
    list->Clear();
    list->Add(0, radius);
    if (radius < 0) return;
    int x = 0, y = radius, d = 2 - 2 * radius, c = 2 * radius;
    while (true) {
        bool down = false, across = false;
        if (d >= 0 && d > 0 && 2 * d - 2 * x - 1 >= 0) {
            down = true;
        } else if (d < 0 && 2 * y + 2 * d - 1 < 0) {
            across = true;
        } else {
            down = across = true;
        }
        if (down && y == 0) break;
        if (down && across)
            d += 2 * x - 2 * y + 6;
        else if (down)
            d += 3 - c;
        else
            d += 2 * x + 3;
        if (across) ++x;
        if (down) --y;
        c = 2 * y;
        if (trim && !down) list->RemoveLast();
        list->Add(x, y);
    }
}

void ShrinkOutline(CPointList* list) {
    if (!list) return;
    for (int i = 0; i < list->GetCount(); ++i) {
        if (list->GetX(i) >= list->GetY(i))
            list->SetX(i, list->GetX(i) - 1);
        else
            list->SetY(i, list->GetY(i) - 1);
    }
    list->RemoveDuplicates();
}

CDibDC::CDibDC(int width, int height, int deviceX, int deviceY, int withHDC) : m_deviceX(deviceX), m_deviceY(deviceY) {
    m_pixelSurface = true;
    m_themedFills = false;
    if (width <= 0 || height <= 0 || width > 0x8000 || height > 0x8000) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    m_rowLength = (width + 1) & ~1;
    m_pixels = std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(m_rowLength) * height);
    m_target = {m_pixels.get(), m_rowLength, width, height};
    if (withHDC) GetHDC();
}

CDibDC::CDibDC(CDibDC* parent, CZVRect rect, int* dx, int* dy) : m_parent(parent) {
    m_pixelSurface = true;
    m_themedFills = false;
    if (dx) *dx = 0;
    if (dy) *dy = 0;
    if (!parent) return;
    int left = std::max(rect.x, 0);
    int top = std::max(rect.y, 0);
    int right = std::min(rect.x + rect.w, parent->GetRequestedWidth());
    int bottom = std::min(rect.y + rect.h, parent->GetHeight());
    if (dx) *dx = left - rect.x;
    if (dy) *dy = top - rect.y;
    if (right <= left || bottom <= top) return;
    // The view's pixels are the parent's: drawing into it needs no further offset.
    m_target = {parent->GetBits() + static_cast<ptrdiff_t>(top) * parent->GetParentRowLength() + left,
                parent->GetParentRowLength(), right - left, bottom - top};
    m_rowLength = right - left;
    m_deviceX = parent->m_deviceX + left;
    m_deviceY = parent->m_deviceY + top;
}

CDibDC::CDibDC(CDibDC* parent, int x, int y, int w, int h, int* dx, int* dy)
    : CDibDC(parent, CZVRect(x, y, w, h), dx, dy) {
    if (!parent || !m_target.pixels) ReportAssert(kSource, __LINE__, 1);
}

CDibDC::~CDibDC() {
    // The base destructor can no longer reach this surface's pixels.
    FlushDeferredText();
}

void CDibDC::GetDeviceOrigin(int* x, int* y) {
    if (x) *x = m_originX + m_deviceX;
    if (y) *y = m_originY + m_deviceY;
}

void CDibDC::SetOrigin(int x, int y) {
    m_originX = x - m_deviceX;
    m_originY = y - m_deviceY;
}

void CDibDC::SetFont(int size, int reserved, int smooth) {
    if (HasHDC())
        CZVDC::SetFont(size, reserved, smooth);
    else
        m_fontSize = size;
}

void CDibDC::DrawText(CZVString text, CZVRect rect, int format) {
    int x = rect.x + m_originX;
    int y = rect.y + m_originY;
    if (x >= m_target.width || y >= m_target.height || x + rect.w <= 0 || y + rect.h <= 0) return;
    CZVDC::DrawText(text, rect, format);
}

platform::Surface16* CDibDC::GetHDC() {
    MarkHDC();
    return &m_target;
}

void CDibDC::RoundRect(COLORREF colour, int x, int y, int w, int h, int radius) {
    FillRoundRect(colour, x, y, w, h, radius, 0);
}

void CDibDC::FillRoundRect(COLORREF colour, int x, int y, int w, int h, int radius, int flags) {
    if (radius <= 0) {
        FillRect(colour, x, y, w, h, 0);
        return;
    }
    FillRoundPixels(ToRgb565(colour), x, y, w, h, radius, flags);
}

uint16_t* CDibDC::GetPixelAddress(int x, int y) {
    if (!m_target.pixels || x < 0 || x >= m_rowLength || y < 0 || y >= m_target.height) {
        ReportAssert(kSource, __LINE__, 1);
        return nullptr;
    }
    return m_target.pixels + static_cast<ptrdiff_t>(y) * m_target.stride + x;
}

void CDibDC::FillSpan(uint16_t colour565, int x1, int x2, int y) {
    FillSpanPixels(m_target, colour565, x1, x2, y, false);
}

void CDibDC::GetSurfaceClip(CZVRect* clip) {
    if (!clip) return;
    platform::ClipBox box = DrawClip(m_target);
    *clip = CZVRect(box.left, box.top, box.right - box.left, box.bottom - box.top);
}

bool CDibDC::IntersectsRect(int x, int y, int w, int h) const {
    return x < m_rowLength && y < m_target.height && x + w > 0 && y + h > 0;
}

bool CDibDC::ClipBlit(int& x, int& y, int& w, int& h, int& sx, int& sy, CDibDC* src) {
    if (!src) return false;
    auto trim = [](int& d, int& s, int& len, int dHigh, int sHigh) {
        int cut = std::max({0, -d, -s});
        d += cut;
        s += cut;
        len -= cut;
        len = std::min({len, dHigh - d, sHigh - s});
    };
    trim(x, sx, w, m_target.width, src->GetRequestedWidth());
    trim(y, sy, h, m_target.height, src->GetHeight());
    return w > 0 && h > 0;
}

// ---- new surfaces

CDibDC* CDibDC::Clone() {
    FlushDeferredText();
    auto* copy = new CDibDC(m_target.width, m_target.height, m_deviceX, m_deviceY, 0);
    CopySurfaceRows(m_target, copy);
    if (m_region) copy->m_region = std::make_unique<CSpanList>(*m_region);
    return copy;
}

CDibDC* CDibDC::Flip(int horizontal, int vertical) {
    FlushDeferredText();
    int w = m_target.width, h = m_target.height;
    auto* out = new CDibDC(w, h, m_deviceX, m_deviceY, 0);
    for (int y = 0; y < h; ++y) {
        const uint16_t* from = GetPixelAddress(0, vertical ? h - 1 - y : y);
        uint16_t* to = out->GetPixelAddress(0, y);
        if (horizontal)
            std::reverse_copy(from, from + w, to);
        else
            std::copy(from, from + w, to);
    }
    return out;
}

CDibDC* CDibDC::ScaleNearest(int w, int h) {
    if (w <= 0 || h <= 0 || !m_target.pixels) return nullptr;
    FlushDeferredText();
    auto* out = new CDibDC(w, h, m_deviceX, m_deviceY, 0);
    // Only the picture's own columns are read, never the spare one.
    int width = m_target.width, height = m_target.height;
    std::vector<int> columns(static_cast<size_t>(w));
    for (int j = 0; j < w; ++j) columns[j] = std::min(static_cast<int>(int64_t{j} * width / w), width - 1);
    for (int i = 0; i < h; ++i) {
        int row = std::min(static_cast<int>(int64_t{i} * height / h), height - 1);
        const uint16_t* from = m_target.pixels + static_cast<ptrdiff_t>(row) * m_target.stride;
        uint16_t* to = out->GetPixelAddress(0, i);
        for (int j = 0; j < w; ++j) to[j] = from[columns[j]];
    }
    return out;
}

CDibDC* CDibDC::Scale(int w, int h, int smooth) {
    if (!smooth) return ScaleNearest(w, h);
    if (w <= 0 || h <= 0 || !m_target.pixels) return nullptr;
    FlushDeferredText();
    auto* out = new CDibDC(w, h, m_deviceX, m_deviceY, 0);
    ScaleBilinear(out, 100, false, false);
    return out;
}

void CDibDC::ScaleBilinear(CDibDC* out, int steps, bool alpha, bool spread) {
    int width = m_target.width, height = m_target.height;
    int w = out->GetRequestedWidth(), h = out->GetHeight();
    const uint8_t* alphaIn = alpha ? GetAlpha() : nullptr;
    uint8_t* alphaOut = alphaIn ? (out->EnsureAlpha(), out->GetAlpha()) : nullptr;
    auto split = [steps](int j, int size, int outSize, int* p0, int* p1, int* f) {
        *p0 = static_cast<int>(int64_t{j} * size / outSize);
        *f = static_cast<int>(int64_t{j} * size * steps / outSize) - steps * *p0;
        *p1 = *p0 + 1 < size ? *p0 + 1 : *p0;
    };
    int64_t total = int64_t{steps} * steps;
    for (int i = 0; i < h; ++i) {
        int y0, y1, fy;
        split(i, height, h, &y0, &y1, &fy);
        for (int j = 0; j < w; ++j) {
            int x0, x1, fx;
            split(j, width, w, &x0, &x1, &fx);
            uint16_t p[4] = {*GetPixelAddress(x0, y0), *GetPixelAddress(x1, y0), *GetPixelAddress(x0, y1),
                             *GetPixelAddress(x1, y1)};
            int a[4] = {255, 255, 255, 255};
            if (alphaIn) {
                a[0] = alphaIn[y0 * m_rowLength + x0];
                a[1] = alphaIn[y0 * m_rowLength + x1];
                a[2] = alphaIn[y1 * m_rowLength + x0];
                a[3] = alphaIn[y1 * m_rowLength + x1];
            }
            if (spread) {
                // Within each pair a transparent pixel takes its opaque partner's
                // colour; a wholly transparent pair borrows from the other row.
                for (int pair = 0; pair < 4; pair += 2) {
                    if (a[pair] == 0 && a[pair + 1] != 0) p[pair] = p[pair + 1];
                    if (a[pair + 1] == 0 && a[pair] != 0) p[pair + 1] = p[pair];
                }
                if (a[0] == 0 && a[1] == 0) {
                    if (a[2]) p[0] = p[2];
                    if (a[3]) p[1] = p[3];
                }
                if (a[2] == 0 && a[3] == 0) {
                    if (a[0]) p[2] = p[0];
                    if (a[1]) p[3] = p[1];
                }
            }
            int64_t weight[4] = {int64_t{steps - fx} * (steps - fy), int64_t{fx} * (steps - fy),
                                 int64_t{steps - fx} * fy, int64_t{fx} * fy};
            int64_t r = 0, g = 0, b = 0, al = 0;
            for (int k = 0; k < 4; ++k) {
                r += Red8(p[k]) * weight[k];
                g += Green8(p[k]) * weight[k];
                b += Blue8(p[k]) * weight[k];
                al += a[k] * weight[k];
            }
            *out->GetPixelAddress(j, i) = ToRgb565(
                MakeColor(static_cast<int>(r / total), static_cast<int>(g / total), static_cast<int>(b / total)));
            if (alphaOut) alphaOut[i * out->m_rowLength + j] = static_cast<uint8_t>(al / total);
        }
    }
}

// ---- alpha

void CDibDC::EnsureAlpha() {
    if (m_alpha.empty() && m_rowLength > 0) m_alpha.assign(static_cast<size_t>(m_rowLength) * m_target.height, 0);
}

uint8_t* CDibDC::GetAlphaAt(int x, int y) {
    if (m_alpha.empty() || x < 0 || x >= m_rowLength || y < 0 || y >= m_target.height) return nullptr;
    return &m_alpha[static_cast<size_t>(y) * m_rowLength + x];
}

void CDibDC::FillAlpha(uint8_t value) {
    EnsureAlpha();
    std::fill(m_alpha.begin(), m_alpha.end(), value);
}

void CDibDC::SetAlphaForColor(uint16_t key565, uint8_t value) {
    EnsureAlpha();
    for (int y = 0; y < m_target.height; ++y)
        for (int x = 0; x < m_target.width; ++x)
            if (*GetPixelAddress(x, y) == key565) m_alpha[static_cast<size_t>(y) * m_rowLength + x] = value;
}

void CDibDC::GrowAlphaEdge(uint8_t value) {
    if (m_alpha.empty()) return;
    std::vector<uint8_t> before = m_alpha;
    for (int y = 1; y + 1 < m_target.height; ++y)
        for (int x = 1; x + 1 < m_rowLength; ++x) {
            if (!before[static_cast<size_t>(y) * m_rowLength + x]) continue;
            for (int ny = y - 1; ny <= y + 1; ++ny)
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    size_t at = static_cast<size_t>(ny) * m_rowLength + nx;
                    if (!before[at]) m_alpha[at] = value;
                }
        }
}

void CDibDC::AlphaBlt(CAlphaDibDC* src, int x, int y, int sx, int sy, int w, int h) {
    if (!src) return;
    src->FlushDeferredText();
    const uint8_t* plane = src->GetAlpha();
    if (!plane) {
        BitBlt(x, y, src, sx, sy, w, h);
        return;
    }
    x += m_originX;
    y += m_originY;
    if (!ClipBlit(x, y, w, h, sx, sy, src)) return;
    platform::ClipBox clip = DrawClip(m_target);
    int cut = std::max(0, clip.left - x);
    x += cut, sx += cut, w -= cut;
    cut = std::max(0, clip.top - y);
    y += cut, sy += cut, h -= cut;
    w = std::min(w, clip.right - x);
    h = std::min(h, clip.bottom - y);
    if (w <= 0 || h <= 0) return;
    int srcRow = src->GetWidth();
    for (int i = 0; i < h; ++i) {
        const uint16_t* s = src->GetPixelAddress(sx, sy + i);
        const uint8_t* a = plane + static_cast<size_t>(sy + i) * srcRow + sx;
        pixelrow::Blend(GetPixelAddress(x, y + i), s, a, w);
    }
}

void CDibDC::DrawTransparentTo(CZVDC* dst, int x, int y, int w, int h, uint16_t key565) {
    if (dst) dst->TransparentBlt(x, y, this, 0, 0, w, h, key565);
}

// ---- regions

CSpanList* CDibDC::NewRegion() {
    m_region = std::make_unique<CSpanList>(false);
    return m_region.get();
}

CSpanList* CDibDC::NewVerticalRegion() {
    m_region = std::make_unique<CSpanList>(true);
    return m_region.get();
}

void CDibDC::MakeRegionExcluding(uint16_t key1, uint16_t key2) {
    CSpanList* region = NewRegion();
    for (int y = 0; y < m_target.height; ++y) {
        const uint16_t* row = m_target.pixels + static_cast<ptrdiff_t>(y) * m_target.stride;
        int x = 0;
        while (x < m_target.width) {
            while (x < m_target.width && (row[x] == key1 || row[x] == key2)) ++x;
            int start = x;
            while (x < m_target.width && row[x] != key1 && row[x] != key2) ++x;
            region->Add(start, y, x - start);
        }
    }
}

// ---- effects used by the drawing context

void CDibDC::FillGlassGradient(COLORREF colour, float strength) {
    int h = m_target.height;
    if (h <= 0) return;
    int c = h / 4 > 4 ? 5 : h / 4;
    int peak =
        static_cast<int>(((768 - ColorRed(colour) - ColorGreen(colour) - ColorBlue(colour)) / 10 + 25) * strength);
    int centre = static_cast<int>(0.4 * h);
    int half = h / 2;
    for (int i = 0; i < h; ++i) {
        double factor = 1.0;
        if (c > 0 && i < c) factor = 0.75 + (i + 1) / (4.0 * c);
        if (c > 0 && i > h - c - 1) factor = 0.75 + (h - i) / (4.0 * c);
        int highlight = 0;
        if (half > 0 && centre - half < i && i <= centre) highlight = peak * (half + i - centre) / half;
        if (half > 0 && centre < i && i < centre + half) highlight = peak * (half + centre - i) / half;
        COLORREF scaled = ScaleColor(factor, colour);
        auto lift = [highlight](int v) { return std::clamp(v + highlight, 0, 245); };
        uint16_t pixel = ToRgb565(MakeColor(lift(ColorRed(scaled)), lift(ColorGreen(scaled)), lift(ColorBlue(scaled))));
        FillSpan(pixel, 0, m_target.width - 1, i);
    }
}

// ---- alpha pictures

CAlphaDibDC::CAlphaDibDC(int width, int height, int deviceX, int deviceY) : CDibDC(width, height, deviceX, deviceY, 0) {
    EnsureAlpha();
}

CDibDC* CAlphaDibDC::Clone() {
    FlushDeferredText();
    auto* copy = new CAlphaDibDC(m_target.width, m_target.height, m_deviceX, m_deviceY);
    CopySurfaceRows(m_target, copy);
    copy->m_alpha = m_alpha;
    copy->spreadColours = spreadColours;
    if (m_region) copy->m_region = std::make_unique<CSpanList>(*m_region);
    return copy;
}

CDibDC* CAlphaDibDC::Scale(int w, int h, int /*smooth*/) {
    if (w <= 0 || h <= 0 || !m_target.pixels) return nullptr;
    FlushDeferredText();
    auto* out = new CAlphaDibDC(w, h, m_deviceX, m_deviceY);
    ScaleBilinear(out, 128, true, spreadColours);
    return out;
}

void CAlphaDibDC::DrawTransparentTo(CZVDC* dst, int x, int y, int /*w*/, int /*h*/, uint16_t /*key565*/) {
    AlphaBltTo(dst, x, y, 0, 0, m_target.width, m_target.height);
}

void CAlphaDibDC::AlphaBltTo(CZVDC* dst, int x, int y, int sx, int sy, int w, int h) {
    if (!dst) return;
    FlushDeferredText();
    if (auto* surface = dynamic_cast<CDibDC*>(dst)) {
        surface->AlphaBlt(this, x, y, sx, sy, w, h);
        return;
    }
    if (w <= 0 || h <= 0) return;
    CDibDC under(w, h, 0, 0, 0);
    dst->CaptureRectTo(&under, x, y, 0, 0, w, h);
    under.AlphaBlt(this, 0, 0, sx, sy, w, h);
    dst->BitBlt(x, y, &under, 0, 0, w, h);
}

uint16_t* CDibView::PixelAt(int x, int y) {
    if (!m_surface || x < m_x || y < m_y || x >= m_x + m_w || y >= m_y + m_h) return nullptr;
    if (x >= m_surface->GetWidth() || y >= m_surface->GetHeight()) return nullptr;
    return m_surface->GetPixelAddress(x, y);
}
