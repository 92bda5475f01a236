#include "gfx/shadecorner.h"

#include <algorithm>
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
        : surface_(surface), marks_(marks), size_(size), q_(q) {}

    void Set(int col, int row, uint16_t colour, uint8_t mark) {
        if (col < 0 || row < 0 || col >= size_ || row >= size_) return;
        *surface_->GetPixelAddress(col, row) = colour;
        marks_[static_cast<size_t>(row) * size_ + col] = mark;
    }
    void FillRow(int row, uint16_t colour, uint8_t mark) {
        for (int col = 0; col < size_; ++col) Set(col, row, colour, mark);
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
                const int row = q_.cy + q_.dirY * py;
                const int far = q_.cx + q_.dirX * widest[py];
                for (int col = std::min(q_.cx, far); col <= std::max(q_.cx, far); ++col) Set(col, row, fill, fillMark);
                if (region && row >= 0 && row < size_) {
                    const int left = std::max(std::min(q_.cx, far), 0);
                    const int right = std::min(std::max(q_.cx, far), size_ - 1);
                    region->Add(left, row, right - left + 1);
                }
            }
        }
        for (int i = 0; i < arc.GetCount(); ++i)
            Set(q_.cx + q_.dirX * arc.GetX(i), q_.cy + q_.dirY * arc.GetY(i), outline, outlineMark);
    }

private:
    CDibDC* surface_;
    std::vector<uint8_t>& marks_;
    int size_;
    Quarter q_;
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
    : CShadeShape(kCorner), type_(type & 7), circleFlags_(circleFlags), x_(x), y_(y), size_(size) {}

CShadeCorner::~CShadeCorner() { LetGoOfCache(); }

void CShadeCorner::LetGoOfCache() {
    if (!cached_) return;
    CBitmapCache* cache = CBitmapCache::Instance();
    if (!cache || !cache->ReleaseShape(cached_)) ReportAssert(kSource, __LINE__, 1);
    cached_ = nullptr;
}

bool CShadeCorner::Matches(const CShadeCorner& other) const {
    return type_ == other.type_ && face_ == other.face_ && back_ == other.back_ && rim_ == other.rim_ &&
           size_ == other.size_ && noOuterFill == other.noOuterFill;
}

std::unique_ptr<CShadeCorner> CShadeCorner::Clone() const {
    auto copy = std::make_unique<CShadeCorner>(type_, size_, x_, y_, circleFlags_);
    copy->swapped = swapped;
    copy->innerOutline = innerOutline;
    copy->outerOutline = outerOutline;
    copy->noOuterFill = noOuterFill;
    copy->noInnerFill = noInnerFill;
    copy->rim_ = rim_;
    copy->face_ = face_;
    copy->back_ = back_;
    copy->raised_ = raised_;
    if (surface_) copy->surface_.reset(surface_->Clone());
    return copy;
}

void CShadeCorner::Render(COLORREF face, COLORREF back, int rimWidth, int raised, CDibDC* target) {
    if (surface_) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    if (size_ <= 0) return;
    if (swapped) std::swap(face, back);
    face_ = face;
    back_ = back;
    rim_ = rimWidth;
    raised_ = raised;

    CBitmapCache* cache = innerOutline ? nullptr : CBitmapCache::Instance();
    if (CShadeCorner* found = cache ? cache->FindShape(this) : nullptr) {
        if (target) {
            target->TransparentBlt(x_, y_, found->surface_.get(), 0, 0, size_, size_, kTransparent565);
            return;
        }
        found->AddUser();
        surface_ = found->surface_;
        cached_ = found;
        return;
    }
    surface_ = std::make_shared<CDibDC>(size_, size_, 0, 0, 0);
    std::vector<uint8_t> marks(static_cast<size_t>(size_) * size_, kUnlit);
    Paint(surface_.get(), marks);
    if (rim_ >= 1) {
        Light(surface_.get(), marks);
        if (!raised_ && (Skins().GetStyleFlags() & kStyleOutlines)) DrawOutlines(surface_.get());
    }
    if (cache) cache->AddShape(this);
    if (target) target->TransparentBlt(x_, y_, surface_.get(), 0, 0, size_, size_, kTransparent565);
}

void CShadeCorner::Paint(CDibDC* surface, std::vector<uint8_t>& marks) const {
    const Quarter q = QuarterOf(type_, size_);
    DiscPainter paint(surface, marks, size_, q);
    const uint16_t face = ToRgb565(face_), back = ToRgb565(back_);
    const uint16_t rimColour = ToRgb565(MakeColor(255, 0, 0));  // as drawn before lighting
    const uint16_t crestColour = ToRgb565(MakeColor(200, 0, 0));
    const int outer = size_ - 1, inner = size_ - 1 - rim_;
    CSpanList* region = surface->NewRegion();

    if (type_ < 4) {
        const uint16_t fill = noInnerFill ? kTransparent565 : face;
        for (int row = 0; row < size_; ++row) paint.FillRow(row, kTransparent565, kUnlit);
        if (rim_ <= 0) {
            paint.Disc(outer, circleFlags_, fill, kUnlit, fill, kUnlit, false, region);
        } else if (rim_ == 1) {
            paint.Disc(outer, circleFlags_, fill, kUnlit, crestColour, kCrest, false, region);
        } else {
            paint.Disc(outer, circleFlags_, rimColour, kRim, rimColour, kRim, false, region);
            paint.Disc(outer, circleFlags_, 0, kUnlit, crestColour, kCrest, true, nullptr);
            paint.Disc(inner, circleFlags_, fill, kUnlit, fill, kUnlit, false, nullptr);
        }
        return;
    }
    for (int row = 0; row < size_; ++row) paint.FillRow(row, noOuterFill ? kTransparent565 : face, kUnlit);
    paint.Disc(outer, circleFlags_, rimColour, kRim, rimColour, kRim, false, nullptr);
    const uint16_t hole = noInnerFill ? kTransparent565 : back;
    paint.Disc(inner, 0, hole, kUnlit, hole, kUnlit, false, region);
    if (rim_ > 1) paint.Disc(size_ - rim_, 2, 0, kUnlit, crestColour, kCrest, true, nullptr);
    const bool top = type_ == 5 || type_ == 6;
    const int first = top ? 0 : std::max(size_ - rim_, 0);
    const int last = top ? std::min(rim_, size_) : size_;
    for (int row = first; row < last; ++row) region->Add(0, row, size_);
}

void CShadeCorner::Light(CDibDC* surface, const std::vector<uint8_t>& marks) const {
    const Quarter q = QuarterOf(type_, size_);
    CShadeColor colour;
    colour.Set(ToRgb565(face_), type_ < 4 ? size_ - rim_ : size_ - 1, rim_, type_ >= 4);
    const int last = size_ - 1;
    for (int row = 0; row < size_; ++row)
        for (int col = 0; col < size_; ++col) {
            const uint8_t mark = marks[static_cast<size_t>(row) * size_ + col];
            if (mark == kUnlit) continue;
            const int a = (q.cx == last) ? col - last : col;
            const int b = (q.cy == last) ? row - last : row;
            const int kind = mark == kCrest ? 1 : (raised_ ? 0 : 2);
            *surface->GetPixelAddress(col, row) = colour.Shade(q.quadrant, a, b, kind);
        }
}

void CShadeCorner::DrawOutlines(CDibDC* surface) const {
    if (ToRgb565(back_) == kTransparent565) return;
    const Quarter q = QuarterOf(type_, size_);
    auto outline = [&](int radius, int reverse) {
        CPointList arc;
        BuildCornerOutline(&arc, radius, 0, circleFlags_ & 0x23);
        // Each run of points along a row becomes one straight shaded segment.
        for (int i = 0; i < arc.GetCount();) {
            int j = i;
            while (j + 1 < arc.GetCount() && arc.GetY(j + 1) == arc.GetY(i)) ++j;
            const int from = q.cx + q.dirX * arc.GetX(i);
            const int to = q.cx + q.dirX * arc.GetX(j);
            const int step = to >= from ? 1 : -1;
            surface->DrawShadedLine(from, q.cy + q.dirY * arc.GetY(i), step * (std::abs(to - from) + 1), 0, reverse,
                                    &back_, 1);
            i = j + 1;
        }
    };
    if (innerOutline) outline(size_ - 1, 0);
    if (outerOutline) outline(size_ - 1 - rim_, 1);
}

void CShadeCorner::Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* /*clips*/, const COLORREF* fillColour) {
    if (!dc || !surface_) return;
    const bool sunken = type_ >= 4;
    const uint16_t key = sunken && mode == kShadeTextured ? ToRgb565(back_) : kTransparent565;
    int screenY = 0;
    const int screenX = DevicePosition(dc, x_, y_, &screenY);
    CSkinServices& skins = Skins();
    if (mode == kShadeSkinned) {
        if (sunken ? !noInnerFill : !noOuterFill) surface_->ClearRegion();
        skins.DrawWithSkin(dc, surface_.get(), screenX, screenY, x_, y_, size_, size_, 0);
        return;
    }
    if (!(skins.GetStyleFlags() & kStyleSkins) && fillColour && !dc->IsPixelSurface()) {
        std::unique_ptr<CDibDC> copy(surface_->Clone());
        if (mode == kShadeTextured) skins.DrawSkinRect(copy.get(), screenX, screenY, copy->GetRegion(), 1);
        copy->ReplaceColor(kTransparent565, ToRgb565(*fillColour));
        dc->BitBlt(x_, y_, copy.get(), 0, 0, size_, size_);
        return;
    }
    if (mode == kShadeTextured && dc->AllowsThemedFills()) {
        std::unique_ptr<CDibDC> copy(surface_->Clone());
        skins.DrawSkinRect(copy.get(), screenX, screenY, copy->GetRegion(), 8);
        skins.DrawImage(dc, copy.get(), x_, y_, size_, size_, key);
        return;
    }
    skins.DrawImage(dc, surface_.get(), x_, y_, size_, size_, key);
}

void CShadeCorner::Mirror(bool flipX, bool flipY, int width, int height) {
    const int sunken = type_ & 4;
    int corner = type_ & 3;
    if (flipX) {
        x_ = width - size_ - x_;
        corner = 3 - corner;  // 0 <-> 3, 1 <-> 2
    }
    if (flipY) {
        y_ = height - size_ - y_;
        corner ^= 1;  // 0 <-> 1, 2 <-> 3
    }
    type_ = sunken | corner;
}

void CShadeCorner::Toggle(bool flipSwapped) {
    if (flipSwapped) swapped = !swapped;
    type_ = type_ + 4 > 7 ? type_ - 4 : type_ + 4;
}

// ---- edges

CShadeEdge::CShadeEdge(int side, int x, int y, int width, int height)
    : CShadeShape(kEdge), side_(side & 3), x_(x), y_(y), width_(width), height_(height) {}

CShadeEdge::~CShadeEdge() = default;

// The rim width of an edge is its strip's thickness.
void CShadeEdge::Render(COLORREF face, COLORREF back, int /*rimWidth*/, int raised, CDibDC* target) {
    if (width_ <= 0 || height_ <= 0) return;
    rim_ = IsVertical() ? width_ : height_;
    if (!surface_) {
        if (target) {
            surface_ = std::make_unique<CDibDC>(target, CZVRect(x_, y_, width_, height_), nullptr, nullptr);
        } else {
            surface_ = std::make_unique<CDibDC>(width_, height_, 0, 0, 0);
            for (int row = 0; row < height_; ++row) surface_->FillSpan(kTransparent565, 0, width_ - 1, row);
        }
        if (!surface_->GetBits()) {
            surface_.reset();
            return;
        }
    }
    if (IsVertical())
        surface_->NewVerticalRegion();
    else
        surface_->NewRegion();
    const int w = rim_;
    const uint16_t base = ToRgb565(swapped ? back : face);
    const int across = IsVertical() ? surface_->GetRequestedWidth() : surface_->GetHeight();
    CShadeColor colour;
    if (!raised) {
        colour.Set(base, 0, w, 1);
        uint16_t flat = 0;
        switch (side_) {
        case 0: flat = colour.Shade(3, 0, w, 2); break;
        case 1: flat = colour.Shade(1, w, 0, 2); break;
        case 2: flat = colour.Shade(2, 0, 1, 2); break;
        default: flat = colour.Shade(2, 1, 0, 2); break;
        }
        for (int i = 0; i < std::min(w, across); ++i) PaintLine(i, flat);
    } else {
        colour.Set(base, 0, w, 0);
        const int n = std::min(w, across);
        const int a0 = w >= 2 ? 0 : (side_ < 2 ? -1 : 1);
        const int first = side_ < 2 ? 0 : n - 1;
        for (int i = 0; i < n; ++i) {
            const int kind = i == first && w > 1 ? 1 : 0;
            uint16_t c = 0;
            switch (side_) {
            case 0: c = colour.Shade(2, a0, i + 1 - surface_->GetHeight(), kind); break;
            case 1: c = colour.Shade(2, i + 1 - w, a0, kind); break;
            case 2: c = colour.Shade(4, a0, i, kind); break;
            default: c = colour.Shade(4, i, a0, kind); break;
            }
            if (w == 1 && side_ < 2) c = colour.Shade(2, -4, -1, 0);  // a highlight line
            PaintLine(i, c);
        }
    }
    if (target) return;
    const int k = std::min(width_, height_);
    for (int bit = 1; bit <= 8; bit <<= 1)
        if (cutFlags_ & bit) ClearTriangle(bit, k);
    if (cutLength_ > 0) {
        const int side = swapped ? side_ ^ 2 : side_;
        static constexpr int kCutCorners[4] = {1 | 2, 8 | 2, 4 | 8, 4 | 1};
        for (int bit = 1; bit <= 8; bit <<= 1)
            if (kCutCorners[side] & bit) ClearTriangle(bit, cutLength_);
    }
}

void CShadeEdge::PaintLine(int i, uint16_t colour) {
    const int w = rim_;
    const int depth = swapped ? w - 1 - i : i;
    const int cut = cutLength_ > depth + 1 ? cutLength_ - depth - 1 : 0;
    int start = cut, end = cut;
    const int length = IsVertical() ? surface_->GetHeight() : surface_->GetRequestedWidth();
    if (!IsVertical()) {
        if (cutFlags_ & 1) start = std::max(start, i);
        if (cutFlags_ & 4) start = std::max(start, w - i - 1);
        if (cutFlags_ & 2) end = std::max(end, i);
        if (cutFlags_ & 8) end = std::max(end, w - i - 1);
    } else {
        if (cutFlags_ & 1) end = std::max(end, w - i - 1);
        if (cutFlags_ & 4) start = std::max(start, w - i - 1);
        if (cutFlags_ & 2) end = std::max(end, i);
        if (cutFlags_ & 8) start = std::max(start, i);
    }
    if (length - end - start <= 0) return;
    if (HasCuts()) {
        if (IsVertical())
            surface_->GetRegion()->Add(i, start, length - end - start);
        else
            surface_->GetRegion()->Add(start, i, length - end - start);
    }
    for (int p = start; p < length - end; ++p) *surface_->GetPixelAddress(IsVertical() ? i : p, IsVertical() ? p : i) = colour;
}

void CShadeEdge::ClearTriangle(int bit, int k) {
    const int w = surface_->GetRequestedWidth(), h = surface_->GetHeight();
    const bool bottom = bit == 1 || bit == 2, right = bit == 2 || bit == 8;
    for (int line = 0; line < k - 1; ++line) {
        const int row = bottom ? h - 1 - line : line;
        if (row < 0 || row >= h) continue;
        for (int p = 0; p < k - 1 - line; ++p) {
            const int col = right ? w - 1 - p : p;
            if (col >= 0 && col < w) *surface_->GetPixelAddress(col, row) = kTransparent565;
        }
    }
}

void CShadeEdge::Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* /*clips*/, const COLORREF* /*fillColour*/) {
    if (!dc || !surface_) return;
    int screenY = 0;
    const int screenX = DevicePosition(dc, x_, y_, &screenY);
    CSkinServices& skins = Skins();
    const int w = surface_->GetRequestedWidth(), h = surface_->GetHeight();
    if (mode == kShadeSkinned) {
        if (!skinned_) skins.DrawWithSkin(surface_.get(), surface_.get(), screenX, screenY, 0, 0, w, h, 0);
        skinned_ = true;
        if (HasCuts())
            skins.DrawImage(dc, surface_.get(), x_, y_, w, h, kTransparent565);
        else
            dc->BitBlt(x_, y_, surface_.get(), 0, 0, w, h);
        return;
    }
    const bool themedSkin = skins.HasSkinTexture() && dc->AllowsThemedFills();
    if (!HasCuts()) {
        if (themedSkin && mode == kShadeTextured && !skinned_) {
            skins.DrawSkinImage(surface_.get(), surface_.get(), screenX, screenY, nullptr, 8);
            skinned_ = true;
        }
        dc->BitBlt(x_, y_, surface_.get(), 0, 0, IsVertical() ? rim_ : w, h);
        return;
    }
    if (themedSkin && mode == kShadeTextured) {
        std::unique_ptr<CDibDC> copy(surface_->Clone());
        skins.DrawSkinRect(copy.get(), screenX, screenY, copy->GetRegion(), 8);
        skins.DrawImage(dc, copy.get(), x_, y_, w, h, kTransparent565);
        return;
    }
    skins.DrawImage(dc, surface_.get(), x_, y_, w, h, kTransparent565);
}

void CShadeEdge::Mirror(bool flipX, bool flipY, int width, int height) {
    auto swapBits = [this](int a, int b) {
        const bool hasA = cutFlags_ & a, hasB = cutFlags_ & b;
        cutFlags_ = (cutFlags_ & ~(a | b)) | (hasA ? b : 0) | (hasB ? a : 0);
    };
    if (flipX) {
        x_ = width - x_ - width_;
        if (IsVertical()) side_ ^= 2;
        swapBits(1, 2);
        swapBits(4, 8);
    }
    if (flipY) {
        y_ = height - y_ - height_;
        if (!IsVertical()) side_ ^= 2;
        swapBits(1, 4);
        swapBits(2, 8);
    }
}

void CShadeEdge::Toggle(bool flipSwapped) {
    if (flipSwapped) swapped = !swapped;
    side_ ^= 2;
}
