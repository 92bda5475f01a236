#include "gfx/shadecorner.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "gfx/skinservices.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "shadecorner";

// Pixels that the lighting pass colours: the rim and its crest line.
enum : uint8_t { kUnlit = 0, kRim = 1, kCrest = 2 };

// Where a corner type's disc centre lies in its square and which way the
// disc opens, with the lighting quadrant of the type.
struct Quarter {
    int cx, cy, dirX, dirY, quadrant;
};

Quarter QuarterOf(int type, int size) {
    const int last = size - 1;
    switch (type & 3) {
    case 0: return {last, 0, -1, 1, 3};
    case 1: return {last, last, -1, -1, 2};
    case 2: return {0, last, 1, -1, 1};
    default: return {0, 0, 1, 1, 4};
    }
}

// Paints into a square surface and its mark plane together.
class DiscPainter {
public:
    DiscPainter(CDibDC* surface, std::vector<uint8_t>& marks, int size, Quarter q)
        : m_surface(surface), m_marks(marks), m_size(size), m_q(q) {}

    void Set(int col, int row, uint16_t colour, uint8_t mark) {
        if (col < 0 || row < 0 || col >= m_size || row >= m_size) return;
        *m_surface->GetPixelAddress(col, row) = colour;
        m_marks[static_cast<size_t>(row) * m_size + col] = mark;
    }
    void FillRow(int row, uint16_t colour, uint8_t mark) {
        for (int col = 0; col < m_size; ++col) Set(col, row, colour, mark);
    }

    // The quarter disc of the radius: each row's run from the arc to the
    // centre, then the arc itself (only the arc with arcOnly). Runs are
    // recorded in the region when one is given.
    void Disc(int radius, int circleMode, uint16_t fill, uint8_t fillMark, uint16_t outline, uint8_t outlineMark,
              bool arcOnly, CSpanList* region) {
        if (radius < 0) return;
        CPointList arc;
        BuildCornerOutline(&arc, radius, 0, circleMode);
        if (!arcOnly) {
            std::vector<int> widest(static_cast<size_t>(radius) + 2, -1);
            for (int i = 0; i < arc.GetCount(); ++i) {
                const int py = arc.GetY(i);
                if (py >= 0 && py < static_cast<int>(widest.size())) widest[py] = std::max(widest[py], arc.GetX(i));
            }
            for (int py = 0; py < static_cast<int>(widest.size()); ++py) {
                if (widest[py] < 0) continue;
                const int row = m_q.cy + m_q.dirY * py;
                const int far = m_q.cx + m_q.dirX * widest[py];
                for (int col = std::min(m_q.cx, far); col <= std::max(m_q.cx, far); ++col)
                    Set(col, row, fill, fillMark);
                if (region && row >= 0 && row < m_size) {
                    const int left = std::max(std::min(m_q.cx, far), 0);
                    const int right = std::min(std::max(m_q.cx, far), m_size - 1);
                    region->Add(left, row, right - left + 1);
                }
            }
        }
        for (int i = 0; i < arc.GetCount(); ++i)
            Set(m_q.cx + m_q.dirX * arc.GetX(i), m_q.cy + m_q.dirY * arc.GetY(i), outline, outlineMark);
    }

private:
    CDibDC* m_surface;
    std::vector<uint8_t>& m_marks;
    int m_size;
    Quarter m_q;
};

int DevicePosition(CZVDC* dc, int x, int y, int* outY) {
    int ox = 0, oy = 0;
    dc->GetDeviceOrigin(&ox, &oy);
    *outY = oy + y;
    return ox + x;
}

}  // namespace

// ---- corners

CShadeCorner::CShadeCorner(int type, int size, int x, int y, int circleFlags)
    : CPlacedShade(kCorner, x, y), m_type(type & 7), m_circleFlags(circleFlags), m_size(size) {}

CShadeCorner::~CShadeCorner() { LetGoOfCache(); }

void CShadeCorner::LetGoOfCache() {
    if (!m_cached) return;
    CBitmapCache* cache = CBitmapCache::Instance();
    if (!cache || !cache->ReleaseShape(m_cached)) ReportAssert(kSource, __LINE__, 1);
    m_cached = nullptr;
}

bool CShadeCorner::Matches(const CShadeCorner& other) const {
    return m_type == other.m_type && m_face == other.m_face && m_back == other.m_back && m_rim == other.m_rim &&
           m_size == other.m_size && noOuterFill == other.noOuterFill;
}

std::unique_ptr<CShadeCorner> CShadeCorner::Clone() const {
    auto copy = std::make_unique<CShadeCorner>(m_type, m_size, m_x, m_y, m_circleFlags);
    copy->swapped = swapped;
    copy->innerOutline = innerOutline;
    copy->outerOutline = outerOutline;
    copy->noOuterFill = noOuterFill;
    copy->noInnerFill = noInnerFill;
    copy->m_rim = m_rim;
    copy->m_face = m_face;
    copy->m_back = m_back;
    copy->m_raised = m_raised;
    if (m_surface) copy->m_surface.reset(m_surface->Clone());
    return copy;
}

void CShadeCorner::Render(COLORREF face, COLORREF back, int rimWidth, int raised, CDibDC* target) {
    if (m_surface) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    if (m_size <= 0) return;
    if (swapped) std::swap(face, back);
    m_face = face;
    m_back = back;
    m_rim = rimWidth;
    m_raised = raised;

    CBitmapCache* cache = innerOutline ? nullptr : CBitmapCache::Instance();
    if (CShadeCorner* found = cache ? cache->FindShape(this) : nullptr) {
        if (target) {
            target->TransparentBlt(m_x, m_y, found->m_surface.get(), 0, 0, m_size, m_size, kTransparent565);
            return;
        }
        found->AddUser();
        m_surface = found->m_surface;
        m_cached = found;
        return;
    }
    m_surface = std::make_shared<CDibDC>(m_size, m_size, 0, 0, 0);
    std::vector<uint8_t> marks(static_cast<size_t>(m_size) * m_size, kUnlit);
    Paint(m_surface.get(), marks);
    if (m_rim >= 1) {
        Light(m_surface.get(), marks);
        if (!m_raised && (Skins().GetStyleFlags() & kStyleOutlines)) DrawOutlines(m_surface.get());
    }
    if (cache) cache->AddShape(this);
    if (target) target->TransparentBlt(m_x, m_y, m_surface.get(), 0, 0, m_size, m_size, kTransparent565);
}

void CShadeCorner::Paint(CDibDC* surface, std::vector<uint8_t>& marks) const {
    const Quarter q = QuarterOf(m_type, m_size);
    DiscPainter paint(surface, marks, m_size, q);
    const uint16_t face = ToRgb565(m_face), back = ToRgb565(m_back);
    const uint16_t rimColour = ToRgb565(MakeColor(255, 0, 0));  // as drawn before lighting
    const uint16_t crestColour = ToRgb565(MakeColor(200, 0, 0));
    const int outer = m_size - 1, inner = m_size - 1 - m_rim;
    CSpanList* region = surface->NewRegion();

    if (m_type < 4) {
        const uint16_t fill = noInnerFill ? kTransparent565 : face;
        for (int row = 0; row < m_size; ++row) paint.FillRow(row, kTransparent565, kUnlit);
        if (m_rim <= 0) {
            paint.Disc(outer, m_circleFlags, fill, kUnlit, fill, kUnlit, false, region);
        } else if (m_rim == 1) {
            paint.Disc(outer, m_circleFlags, fill, kUnlit, crestColour, kCrest, false, region);
        } else {
            paint.Disc(outer, m_circleFlags, rimColour, kRim, rimColour, kRim, false, region);
            paint.Disc(outer, m_circleFlags, 0, kUnlit, crestColour, kCrest, true, nullptr);
            paint.Disc(inner, m_circleFlags, fill, kUnlit, fill, kUnlit, false, nullptr);
        }
        return;
    }
    for (int row = 0; row < m_size; ++row) paint.FillRow(row, noOuterFill ? kTransparent565 : face, kUnlit);
    paint.Disc(outer, m_circleFlags, rimColour, kRim, rimColour, kRim, false, nullptr);
    const uint16_t hole = noInnerFill ? kTransparent565 : back;
    paint.Disc(inner, 0, hole, kUnlit, hole, kUnlit, false, region);
    if (m_rim > 1) paint.Disc(m_size - m_rim, 2, 0, kUnlit, crestColour, kCrest, true, nullptr);
    const bool top = m_type == 5 || m_type == 6;
    const int first = top ? 0 : std::max(m_size - m_rim, 0);
    const int last = top ? std::min(m_rim, m_size) : m_size;
    for (int row = first; row < last; ++row) region->Add(0, row, m_size);
}

void CShadeCorner::Light(CDibDC* surface, const std::vector<uint8_t>& marks) const {
    const Quarter q = QuarterOf(m_type, m_size);
    CShadeColor colour;
    colour.Set(ToRgb565(m_face), m_type < 4 ? m_size - m_rim : m_size - 1, m_rim, m_type >= 4);
    const int last = m_size - 1;
    for (int row = 0; row < m_size; ++row)
        for (int col = 0; col < m_size; ++col) {
            const uint8_t mark = marks[static_cast<size_t>(row) * m_size + col];
            if (mark == kUnlit) continue;
            const int a = (q.cx == last) ? col - last : col;
            const int b = (q.cy == last) ? row - last : row;
            const int kind = mark == kCrest ? 1 : (m_raised ? 0 : 2);
            *surface->GetPixelAddress(col, row) = colour.Shade(q.quadrant, a, b, kind);
        }
}

void CShadeCorner::DrawOutlines(CDibDC* surface) const {
    if (ToRgb565(m_back) == kTransparent565) return;
    const Quarter q = QuarterOf(m_type, m_size);
    auto outline = [&](int radius, int reverse) {
        CPointList arc;
        BuildCornerOutline(&arc, radius, 0, m_circleFlags & 0x23);
        // Each run of points along a row becomes one straight shaded segment.
        for (int i = 0; i < arc.GetCount();) {
            int j = i;
            while (j + 1 < arc.GetCount() && arc.GetY(j + 1) == arc.GetY(i)) ++j;
            const int from = q.cx + q.dirX * arc.GetX(i);
            const int to = q.cx + q.dirX * arc.GetX(j);
            const int step = to >= from ? 1 : -1;
            surface->DrawShadedLine(from, q.cy + q.dirY * arc.GetY(i), step * (std::abs(to - from) + 1), 0, reverse,
                                    &m_back, 1);
            i = j + 1;
        }
    };
    if (innerOutline) outline(m_size - 1, 0);
    if (outerOutline) outline(m_size - 1 - m_rim, 1);
}

void CShadeCorner::Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* /*clips*/, const COLORREF* fillColour) {
    if (!dc || !m_surface) return;
    const bool sunken = m_type >= 4;
    const uint16_t key = sunken && mode == kShadeTextured ? ToRgb565(m_back) : kTransparent565;
    int screenY = 0;
    const int screenX = DevicePosition(dc, m_x, m_y, &screenY);
    CSkinServices& skins = Skins();
    if (mode == kShadeSkinned) {
        if (sunken ? !noInnerFill : !noOuterFill) m_surface->ClearRegion();
        skins.DrawWithSkin(dc, m_surface.get(), screenX, screenY, m_x, m_y, m_size, m_size, 0);
        return;
    }
    if (!(skins.GetStyleFlags() & kStyleSkins) && fillColour && !dc->IsPixelSurface()) {
        std::unique_ptr<CDibDC> copy(m_surface->Clone());
        if (mode == kShadeTextured) skins.DrawSkinRect(copy.get(), screenX, screenY, copy->GetRegion(), 1);
        copy->ReplaceColor(kTransparent565, ToRgb565(*fillColour));
        dc->BitBlt(m_x, m_y, copy.get(), 0, 0, m_size, m_size);
        return;
    }
    if (mode == kShadeTextured && dc->AllowsThemedFills()) {
        std::unique_ptr<CDibDC> copy(m_surface->Clone());
        skins.DrawSkinRect(copy.get(), screenX, screenY, copy->GetRegion(), 8);
        skins.DrawImage(dc, copy.get(), m_x, m_y, m_size, m_size, key);
        return;
    }
    skins.DrawImage(dc, m_surface.get(), m_x, m_y, m_size, m_size, key);
}

void CShadeCorner::Mirror(bool flipX, bool flipY, int width, int height) {
    const int sunken = m_type & 4;
    int corner = m_type & 3;
    if (flipX) {
        m_x = width - m_size - m_x;
        corner = 3 - corner;  // 0 <-> 3, 1 <-> 2
    }
    if (flipY) {
        m_y = height - m_size - m_y;
        corner ^= 1;  // 0 <-> 1, 2 <-> 3
    }
    m_type = sunken | corner;
}

void CShadeCorner::Toggle(bool flipSwapped) {
    if (flipSwapped) swapped = !swapped;
    m_type = m_type + 4 > 7 ? m_type - 4 : m_type + 4;
}

// ---- edges

CShadeEdge::CShadeEdge(int side, int x, int y, int width, int height)
    : CPlacedShade(kEdge, x, y), m_side(side & 3), m_width(width), m_height(height) {}

CShadeEdge::~CShadeEdge() = default;

// The rim width of an edge is its strip's thickness.
void CShadeEdge::Render(COLORREF face, COLORREF back, int /*rimWidth*/, int raised, CDibDC* target) {
    if (m_width <= 0 || m_height <= 0) return;
    m_rim = IsVertical() ? m_width : m_height;
    if (!m_surface) {
        if (target) {
            m_surface = std::make_unique<CDibDC>(target, CZVRect(m_x, m_y, m_width, m_height), nullptr, nullptr);
        } else {
            m_surface = std::make_unique<CDibDC>(m_width, m_height, 0, 0, 0);
            for (int row = 0; row < m_height; ++row) m_surface->FillSpan(kTransparent565, 0, m_width - 1, row);
        }
        if (!m_surface->GetBits()) {
            m_surface.reset();
            return;
        }
    }
    if (IsVertical())
        m_surface->NewVerticalRegion();
    else
        m_surface->NewRegion();
    const int w = m_rim;
    const uint16_t base = ToRgb565(swapped ? back : face);
    const int across = IsVertical() ? m_surface->GetRequestedWidth() : m_surface->GetHeight();
    CShadeColor colour;
    if (!raised) {
        colour.Set(base, 0, w, 1);
        uint16_t flat = 0;
        switch (m_side) {
        case 0: flat = colour.Shade(3, 0, w, 2); break;
        case 1: flat = colour.Shade(1, w, 0, 2); break;
        case 2: flat = colour.Shade(2, 0, 1, 2); break;
        default: flat = colour.Shade(2, 1, 0, 2); break;
        }
        for (int i = 0; i < std::min(w, across); ++i) PaintLine(i, flat);
    } else {
        colour.Set(base, 0, w, 0);
        const int n = std::min(w, across);
        const int a0 = w >= 2 ? 0 : (m_side < 2 ? -1 : 1);
        const int first = m_side < 2 ? 0 : n - 1;
        for (int i = 0; i < n; ++i) {
            const int kind = i == first && w > 1 ? 1 : 0;
            uint16_t c = 0;
            switch (m_side) {
            case 0: c = colour.Shade(2, a0, i + 1 - m_surface->GetHeight(), kind); break;
            case 1: c = colour.Shade(2, i + 1 - w, a0, kind); break;
            case 2: c = colour.Shade(4, a0, i, kind); break;
            default: c = colour.Shade(4, i, a0, kind); break;
            }
            if (w == 1 && m_side < 2) c = colour.Shade(2, -4, -1, 0);  // a highlight line
            PaintLine(i, c);
        }
    }
    if (target) return;
    const int k = std::min(m_width, m_height);
    for (int bit = 1; bit <= 8; bit <<= 1)
        if (m_cutFlags & bit) ClearTriangle(bit, k);
    if (m_cutLength > 0) {
        const int side = swapped ? m_side ^ 2 : m_side;
        static constexpr int kCutCorners[4] = {1 | 2, 8 | 2, 4 | 8, 4 | 1};
        for (int bit = 1; bit <= 8; bit <<= 1)
            if (kCutCorners[side] & bit) ClearTriangle(bit, m_cutLength);
    }
}

void CShadeEdge::PaintLine(int i, uint16_t colour) {
    const int w = m_rim;
    const int depth = swapped ? w - 1 - i : i;
    const int cut = m_cutLength > depth + 1 ? m_cutLength - depth - 1 : 0;
    int start = cut, end = cut;
    const int length = IsVertical() ? m_surface->GetHeight() : m_surface->GetRequestedWidth();
    if (!IsVertical()) {
        if (m_cutFlags & 1) start = std::max(start, i);
        if (m_cutFlags & 4) start = std::max(start, w - i - 1);
        if (m_cutFlags & 2) end = std::max(end, i);
        if (m_cutFlags & 8) end = std::max(end, w - i - 1);
    } else {
        if (m_cutFlags & 1) end = std::max(end, w - i - 1);
        if (m_cutFlags & 4) start = std::max(start, w - i - 1);
        if (m_cutFlags & 2) end = std::max(end, i);
        if (m_cutFlags & 8) start = std::max(start, i);
    }
    if (length - end - start <= 0) return;
    if (HasCuts()) {
        if (IsVertical())
            m_surface->GetRegion()->Add(i, start, length - end - start);
        else
            m_surface->GetRegion()->Add(start, i, length - end - start);
    }
    uint16_t* pixel = m_surface->GetPixelAddress(IsVertical() ? i : start, IsVertical() ? start : i);
    if (!pixel) return;
    const ptrdiff_t step = IsVertical() ? m_surface->GetParentRowLength() : 1;
    for (int p = start; p < length - end; ++p, pixel += step) *pixel = colour;
}

void CShadeEdge::ClearTriangle(int bit, int k) {
    const int w = m_surface->GetRequestedWidth(), h = m_surface->GetHeight();
    const bool bottom = bit == 1 || bit == 2, right = bit == 2 || bit == 8;
    for (int line = 0; line < k - 1; ++line) {
        const int row = bottom ? h - 1 - line : line;
        if (row < 0 || row >= h) continue;
        for (int p = 0; p < k - 1 - line; ++p) {
            const int col = right ? w - 1 - p : p;
            if (col >= 0 && col < w) *m_surface->GetPixelAddress(col, row) = kTransparent565;
        }
    }
}

void CShadeEdge::Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* /*clips*/, const COLORREF* /*fillColour*/) {
    if (!dc || !m_surface) return;
    int screenY = 0;
    const int screenX = DevicePosition(dc, m_x, m_y, &screenY);
    CSkinServices& skins = Skins();
    const int w = m_surface->GetRequestedWidth(), h = m_surface->GetHeight();
    if (mode == kShadeSkinned) {
        if (!m_skinned) skins.DrawWithSkin(m_surface.get(), m_surface.get(), screenX, screenY, 0, 0, w, h, 0);
        m_skinned = true;
        if (HasCuts())
            skins.DrawImage(dc, m_surface.get(), m_x, m_y, w, h, kTransparent565);
        else
            dc->BitBlt(m_x, m_y, m_surface.get(), 0, 0, w, h);
        return;
    }
    const bool themedSkin = skins.HasSkinTexture() && dc->AllowsThemedFills();
    if (!HasCuts()) {
        if (themedSkin && mode == kShadeTextured && !m_skinned) {
            skins.DrawSkinImage(m_surface.get(), m_surface.get(), screenX, screenY, nullptr, 8);
            m_skinned = true;
        }
        dc->BitBlt(m_x, m_y, m_surface.get(), 0, 0, IsVertical() ? m_rim : w, h);
        return;
    }
    if (themedSkin && mode == kShadeTextured) {
        std::unique_ptr<CDibDC> copy(m_surface->Clone());
        skins.DrawSkinRect(copy.get(), screenX, screenY, copy->GetRegion(), 8);
        skins.DrawImage(dc, copy.get(), m_x, m_y, w, h, kTransparent565);
        return;
    }
    skins.DrawImage(dc, m_surface.get(), m_x, m_y, w, h, kTransparent565);
}

void CShadeEdge::Mirror(bool flipX, bool flipY, int width, int height) {
    auto swapBits = [this](int a, int b) {
        const bool hasA = m_cutFlags & a, hasB = m_cutFlags & b;
        m_cutFlags = (m_cutFlags & ~(a | b)) | (hasA ? b : 0) | (hasB ? a : 0);
    };
    if (flipX) {
        m_x = width - m_x - m_width;
        if (IsVertical()) m_side ^= 2;
        swapBits(1, 2);
        swapBits(4, 8);
    }
    if (flipY) {
        m_y = height - m_y - m_height;
        if (!IsVertical()) m_side ^= 2;
        swapBits(1, 4);
        swapBits(2, 8);
    }
}

void CShadeEdge::Toggle(bool flipSwapped) {
    if (flipSwapped) swapped = !swapped;
    m_side ^= 2;
}
