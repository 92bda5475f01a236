#include <cstdint>

#include "gfx/icon.h"

#include <algorithm>
#include <cmath>

#include "core/msgreader.h"
#include "gfx/dibdc.h"
#include "gfx/gifdecode.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "gfx/pngdecode.h"
#include "gfx/skinservices.h"
#include "gfx/ticks.h"
#include "gfx/zvimage.h"
#include "platform/clock.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "icon";

CIconHost g_defaultHost;
CIconHost* g_installedHost = nullptr;
CIconCache* g_cache = nullptr;

// Pixel positions are kept far inside int, whatever the shapes say.
constexpr double kCoordinateLimit = 1 << 20;

int RoundCoordinate(double v) {
    v = std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
    return static_cast<int>(v + 0.5);
}

bool SameName(const CZVString& a, const CZVString& b) { return a.CompareNoCase(b) == 0; }

// With skins on, vector icons smooth their edges instead of blurring them:
// a rendering made under one style is not reused under the other.
bool SkinsSmoothEdges() { return (Skins().GetStyleFlags() & kStyleSkins) != 0; }

struct Point {
    int x;
    int y;
};

void PutPixel(CDibDC* t, int x, int y, uint16_t c) {
    if (x < 0 || y < 0 || x >= t->GetRequestedWidth() || y >= t->GetHeight()) return;
    *t->GetPixelAddress(x, y) = c;
}

void FillRow(CDibDC* t, int x1, int x2, int y, uint16_t c) {
    if (y < 0 || y >= t->GetHeight()) return;
    x1 = std::max(x1, 0);
    x2 = std::min(x2, t->GetRequestedWidth() - 1);
    if (x1 > x2) return;
    uint16_t* row = t->GetPixelAddress(0, y);
    std::fill(row + x1, row + x2 + 1, c);
}

void DrawLine(CDibDC* t, Point a, Point b, uint16_t c) {
    const int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    const int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        PutPixel(t, a.x, a.y, c);
        if (a.x == b.x && a.y == b.y) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            a.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            a.y += sy;
        }
    }
}

// A filled polygon with its outline, as a pen and brush of one colour draw it.
void FillPolygon(CDibDC* t, const std::vector<Point>& points, uint16_t c) {
    int top = INT32_MAX, bottom = INT32_MIN;
    for (const Point& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    top = std::max(top, 0);
    bottom = std::min(bottom, t->GetHeight() - 1);
    const size_t n = points.size();
    std::vector<double> crossings;
    for (int y = top; y <= bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < n; ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % n];
            if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y)) continue;
            crossings.push_back(a.x + static_cast<double>(y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            FillRow(t, static_cast<int>(std::ceil(crossings[i])), static_cast<int>(std::floor(crossings[i + 1])), y, c);
    }
    for (size_t i = 0; i < n; ++i) DrawLine(t, points[i], points[(i + 1) % n], c);
}

// Calls inside(x1, x2, y) with the part of each row of the ellipse within l..r x t..b.
template <typename Row>
void EllipseRows(int l, int t, int r, int b, int height, Row row) {
    const double rx = (r - l + 1) / 2.0, ry = (b - t + 1) / 2.0;
    const double cx = l + rx, cy = t + ry;
    for (int y = std::max(t, 0); y <= std::min(b, height - 1); ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        const double half = rx * std::sqrt(std::max(0.0, 1.0 - dy * dy));
        row(static_cast<int>(std::ceil(cx - half - 0.5)), static_cast<int>(std::floor(cx + half - 0.5)), y);
    }
}

// The 8-bit alpha of a JPEG icon pixel: light, unsaturated pixels fade.
uint8_t JpegAlpha(uint16_t p) {
    const int r = (p >> 11) * 8, g = ((p >> 5) & 63) * 4, b = (p & 31) * 8;
    const int m = (r + g + b) / 3;
    const int s = std::abs(m - r) + std::abs(m - g) + std::abs(m - b);
    return static_cast<uint8_t>(s < 128 && m > 128 ? 255 + s - m : 255);
}

void QuarterAlpha(CDibDC* image) {
    uint8_t* alpha = image->GetAlpha();
    if (!alpha) return;
    const size_t n = static_cast<size_t>(image->GetWidth()) * image->GetHeight();
    for (size_t i = 0; i < n; ++i) alpha[i] >>= 2;
}

// A stock drawing: shape records in icon units.
struct StockShape {
    int type;
    CZVRect rect;
    int param = 0;
    bool hole = false;
};

std::vector<StockShape> StockShapes(int type) {
    const CZVRect M(25, 0, 50, 50);
    const CZVRect L(0, 0, 50, 50), R(50, 0, 50, 50);
    using S = CIconShape;
    switch (type) {
    case 1:
    case 4: return {{S::kTriangleRight, M}};
    case 2: return {{S::kRect, M}};
    case 3: return {{S::kRect, {17, 0, 25, 50}}, {S::kRect, {58, 0, 25, 50}}};
    case 5: return {{S::kTriangleLeft, M}};
    case 6: return {{S::kTriangleUp, M}};
    case 7: return {{S::kTriangleDown, M}};
    case 8: return {{S::kTriangleRight, L}, {S::kTriangleRight, R}};
    case 9: return {{S::kTriangleLeft, L}, {S::kTriangleLeft, R}};
    case 10:
        return {{S::kRect, {94, 0, 6, 50}}, {S::kTriangleRight, {0, 0, 44, 50}}, {S::kTriangleRight, {44, 0, 38, 50}}};
    case 11:
        return {{S::kRect, {0, 0, 6, 50}}, {S::kTriangleLeft, {6, 0, 44, 50}}, {S::kTriangleLeft, {50, 0, 38, 50}}};
    case 12: return {{S::kEllipse, M}};
    case 13:
        return {{S::kEllipse, {29, 9, 41, 41}},
                {S::kEllipse, {39, 19, 21, 21}, 0, true},
                {S::kRect, {44, 0, 11, 30}, 0, true},
                {S::kRect, {47, 3, 6, 24}}};
    case 14: return {{S::kTriangleUp, {25, 0, 50, 37}}, {S::kRect, {25, 42, 50, 8}}};
    case 15: return {{S::kRect, {25, 0, 50, 6}}, {S::kTriangleUp, {25, 6, 50, 44}}};
    case 16: return {{S::kRect, {25, 44, 50, 6}}, {S::kTriangleDown, {25, 0, 50, 44}}};
    case 17: return {{S::kTriangleUp, {25, 0, 50, 18}}, {S::kTriangleDown, {25, 32, 50, 18}}};
    case 18: return {{S::kTriangleLeft, {25, 0, 18, 50}}, {S::kTriangleRight, {57, 0, 18, 50}}};
    case 19: return {{S::kRect, {25, 19, 50, 13}}, {S::kRect, {44, 0, 13, 50}}};
    case 20: return {{S::kRect, {25, 19, 50, 13}}, {S::kInvisible, {44, 0, 13, 50}}};
    case 21: return {{S::kBandDown, {0, 50, 51, 51}, 20}, {S::kBandUp, {50, 0, 101, 101}, 20}};
    default: return {};
    }
}

}  // namespace

CIconHost& IconHost() { return g_installedHost ? *g_installedHost : g_defaultHost; }

CIconHost* InstallIconHost(CIconHost* host) {
    CIconHost* previous = g_installedHost;
    g_installedHost = host;
    return previous;
}

// ---- shapes

void CIconShape::Draw(CDibDC* target, int x, int y, float scale) const {
    if (!target) return;
    int ox = 0, oy = 0;
    target->GetOrigin(&ox, &oy);
    const double s = scale;
    const int l = RoundCoordinate(s * (static_cast<double>(x) + rect.x)) + ox;
    const int r = RoundCoordinate(s * (static_cast<double>(x) + rect.x + rect.w - 1)) + ox;
    const int t = RoundCoordinate(s * (static_cast<double>(y) + rect.y)) + oy;
    const int b = RoundCoordinate(s * (static_cast<double>(y) + rect.y + rect.h - 1)) + oy;
    const int lines[4] = {l, t, r, b};
    for (int i = 0; i < 4; ++i)
        if (lines[i] < 2) ReportAssert(kSource, 158 + i, 1);
    const int k = RoundCoordinate(param * s);
    const int mx = static_cast<int>((int64_t{l} + r) / 2), my = static_cast<int>((int64_t{t} + b) / 2);
    const uint16_t c = ToRgb565(colour);
    switch (type) {
    case kRect:
        for (int row = std::max(t, 0); row <= std::min(b, target->GetHeight() - 1); ++row)
            FillRow(target, l, r, row, c);
        break;
    case kTriangleLeft: FillPolygon(target, {{l, my}, {r, b}, {r, t}}, c); break;
    case kTriangleRight: FillPolygon(target, {{r, my}, {l, t}, {l, b}}, c); break;
    case kTriangleUp: FillPolygon(target, {{mx, t}, {l, b}, {r - 1, b}}, c); break;
    case kTriangleDown: FillPolygon(target, {{mx, b}, {r, t}, {l, t}}, c); break;
    case kEllipse:
        EllipseRows(l, t, r, b, target->GetHeight(), [&](int x1, int x2, int row) { FillRow(target, x1, x2, row, c); });
        break;
    case kBandDown: FillPolygon(target, {{l, t}, {l, t + k}, {r, b}, {r, b - k}}, c); break;
    case kBandUp: FillPolygon(target, {{l, b - k}, {l, b}, {r, t + k}, {r, t}}, c); break;
    case kBandDownAcross: FillPolygon(target, {{l, t}, {r - k, b}, {r, b}, {l + k, t}}, c); break;
    case kBandUpAcross: FillPolygon(target, {{r - k, t}, {l, b}, {l + k, b}, {r, t}}, c); break;
    case kEllipseMask: {
        // Everything outside the ellipse is cleared.
        std::vector<std::pair<int, int>> inside(static_cast<size_t>(target->GetHeight()), {1, 0});
        EllipseRows(l, t, r, b, target->GetHeight(), [&](int x1, int x2, int row) { inside[row] = {x1, x2}; });
        for (int row = 0; row < target->GetHeight(); ++row) {
            FillRow(target, 0, inside[row].first - 1, row, 0);
            FillRow(target, std::max(inside[row].second + 1, inside[row].first), target->GetRequestedWidth() - 1, row,
                    0);
        }
        break;
    }
    default: break;  // kInvisible and unknown types only count for the bounds
    }
}

CIconImage::CIconImage(int width, int height, COLORREF colour, COLORREF iconColour, unsigned flags, CDibDC* image)
    : width(width), height(height), colour(colour), iconColour(iconColour), flags(flags), image(image) {}

CIconImage::~CIconImage() = default;

// ---- icon

CZVIcon::CZVIcon(CZVServer& server) : CSocketSink(server) {}

CZVIcon::~CZVIcon() {
    ClearShapes();
    if (m_source) m_source->RemoveWaiter(this);
    while (!m_waiting.IsEmpty()) static_cast<CZVIcon*>(m_waiting.RemoveHead())->m_source = nullptr;
}

void CZVIcon::Unregister() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CZVIcon::Load(CZVString name) {
    m_name = name;
    Request();
}

void CZVIcon::Request() {
    CZVServer* server = GetServer();
    if (!server || server->IsConnecting()) return;
    if (m_state != kNotRequested) {
        ReportAssert(kSource, 982, 1);
        return;
    }
    // Registered until answered, so that a connection made (or made again)
    // later asks once more.
    if (!server->IsRegistered(this)) server->RegisterSink(this);
    if (!server->IsConnected()) return;
    CZVMSG request(GetId(), ZVM_IMAGE_GETICONQ);
    request.WriteString(m_name.GetAnsi());
    if (server->Send(&request)) m_state = kAsked;
}

void CZVIcon::OnConnect(int connected) {
    if (!connected) {
        // The answer is lost with the connection.
        if (m_state == kAsked) m_state = kNotRequested;
        return;
    }
    if (m_state == kNotRequested) Request();
}

int CZVIcon::WaitLoaded() {
    if (m_source) return m_source->WaitLoaded();
    CZVServer* server = GetServer();
    const uint32_t start = platform::GetTickCount();
    while (m_state == kAsked) {
        if (!server || !server->IsConnected() || TicksSince(&start) > kWaitTimeout) return 0;
        const int polled = server->Poll(nullptr, GetId());
        if (polled == CZVServer::kPollDown) {
            m_state = kNotRequested;
            return 0;
        }
        if (polled == CZVServer::kPollIdle) platform::Sleep(25);
    }
    return m_state == kLoaded;
}

void CZVIcon::SetSource(CZVIcon* source) {
    if (m_source && m_source != source) m_source->RemoveWaiter(this);
    m_source = source;
    if (source) source->AddWaiter(this);
}

void CZVIcon::AddWaiter(CZVIcon* icon) {
    if (icon) m_waiting.AddTail(icon);
}

void CZVIcon::RemoveWaiter(CZVIcon* icon) {
    while (ZVPOSITION pos = m_waiting.Find(icon)) m_waiting.RemoveAt(pos);
}

void CZVIcon::CopyFrom(CZVIcon* other) {
    if (!other || other == this) return;
    ClearShapes();
    if (m_state == kAsked) Unregister();
    m_renderings.clear();
    m_name = other->m_name;
    for (const auto& shape : other->m_shapes) m_shapes.emplace_back(shape->Clone());
    if (other->m_bitmap) m_bitmap.reset(other->m_bitmap->Clone());
    m_state = other->m_state;
    m_kind = other->m_kind;
}

CZVIcon* CZVIcon::Clone() {
    CZVServer* server = GetServer();
    if (!server) return nullptr;
    auto* copy = new CZVIcon(*server);
    copy->CopyFrom(this);
    return copy;
}

void CZVIcon::MakeStock(int type, COLORREF colour) {
    ClearShapes();
    m_state = kLoaded;
    for (const StockShape& s : StockShapes(type)) AddShapeFields(s.rect, s.type, s.param, s.hole ? 0 : colour);
}

void CZVIcon::SetColor(COLORREF colour) {
    m_renderings.clear();
    for (auto& shape : m_shapes) shape->colour = colour;
    m_colour = colour;
}

void CZVIcon::AddToColors(int r, int g, int b) {
    auto add = [](int channel, int amount) { return std::min(channel + amount, 255); };
    m_renderings.clear();
    for (auto& shape : m_shapes) {
        const COLORREF c = shape->colour;
        if (c == 0) continue;
        shape->colour = MakeColor(add(ColorRed(c), r), add(ColorGreen(c), g), add(ColorBlue(c), b));
    }
}

void CZVIcon::AddShape(CIconShape* shape) {
    if (!shape) return;
    m_renderings.clear();
    m_shapes.emplace_back(shape);
}

void CZVIcon::AddShapeFields(CZVRect rect, int type, int param, COLORREF colour) {
    AddShape(new CIconShape{rect, type, param, colour});
}

void CZVIcon::ClearShapes() {
    m_renderings.clear();
    m_shapes.clear();
    m_bitmap.reset();
}

CZVRect CZVIcon::GetBounds() const {
    if (m_kind != kVector) {
        if (!m_bitmap) return {0, 0, 1, 1};
        return {0, 0, m_bitmap->GetRequestedWidth(), m_bitmap->GetHeight()};
    }
    if (m_shapes.empty()) return {0, 0, 1, 1};
    // Wide arithmetic: a gateway's shapes may lie anywhere.
    int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (const auto& shape : m_shapes) {
        const CZVRect& r = shape->rect;
        left = std::min<int64_t>(left, r.x);
        top = std::min<int64_t>(top, r.y);
        right = std::max<int64_t>(right, int64_t{r.x} + r.w);
        bottom = std::max<int64_t>(bottom, int64_t{r.y} + r.h);
    }
    auto fit = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    return {fit(left), fit(top), fit(right - left), fit(bottom - top)};
}

void CZVIcon::DrawShapes(CDibDC* target, const COLORREF* override, int x, int y, float scale) const {
    for (const auto& shape : m_shapes) {
        if (override && shape->colour != 0) {
            CIconShape recoloured = *shape;
            recoloured.colour = *override;
            recoloured.Draw(target, x, y, scale);
        } else {
            shape->Draw(target, x, y, scale);
        }
    }
}

void CZVIcon::BlitMasked(CDibDC* dst, CDibDC* src, const COLORREF* tint, int x, int y, uint16_t key) {
    if (!dst || !src) return;
    int sx = 0, sy = 0;
    if (x < 0) {
        sx = -x;
        x = 0;
    }
    if (y < 0) {
        sy = -y;
        y = 0;
    }
    const int w = std::min(src->GetRequestedWidth() - sx, dst->GetRequestedWidth() - x);
    const int h = std::min(src->GetHeight() - sy, dst->GetHeight() - y);
    const uint16_t tinted = tint ? ToRgb565(*tint) : 0;
    for (int row = 0; row < h; ++row) {
        const uint16_t* from = src->GetPixelAddress(sx, sy + row);
        uint16_t* to = dst->GetPixelAddress(x, y + row);
        for (int col = 0; col < w; ++col)
            if (from[col] != key) to[col] = tint ? tinted : from[col];
    }
}

void CZVIcon::Draw(CPaintWindow* owner, CZVDC* dc, COLORREF back, CZVRect box, unsigned flags, const uint8_t* tint) {
    if (!dc) return;
    if (m_source) {
        if (m_source->m_state == kNotRequested) m_source->Request();
        if (m_source->m_state == kAsked) {
            m_owner = owner;
            return;
        }
    } else if (m_state == kNotRequested) {
        Request();
    }
    if (m_state == kAsked) {
        m_owner = owner;
        return;
    }
    if (tint && m_kind == kVector) {
        std::unique_ptr<CZVIcon> tinted(Clone());
        if (!tinted) return;
        tinted->AddToColors(tint[0], tint[1], tint[2]);
        tinted->Draw(owner, dc, back, box, flags | kNoCache, nullptr);
        return;
    }
    const CZVRect bounds = GetBounds();
    if (box.w <= 4 || box.h <= 4 || bounds.w <= 0 || bounds.h <= 0) return;
    // Shapes are moved by the negated corner of their bounds: a corner that
    // cannot be negated comes only from a damaged icon, which draws nothing.
    if (bounds.x == INT32_MIN || bounds.y == INT32_MIN) return;
    const int m = m_kind == kVector ? 2 : 0;
    const float scale = std::min(static_cast<float>(box.w - m) / bounds.w, static_cast<float>(box.h - m) / bounds.h);
    const int A = static_cast<int>(scale * bounds.w), B = static_cast<int>(scale * bounds.h);
    const int left = box.x + box.w / 2 - A / 2 - m, top = box.y + box.h / 2 - B / 2 - m;
    if (m_kind == kVector)
        DrawVector(dc, back, box, flags, bounds, scale, left, top, A, B);
    else
        DrawBitmap(dc, back, flags, tint, left, top, A, B);
}

void CZVIcon::DrawVector(CZVDC* dc, COLORREF back, CZVRect box, unsigned flags, CZVRect bounds, float scale, int left,
                         int top, int A, int B) {
    // A copy's renderings are kept by its source, shared with the other
    // copies; an icon on its own keeps its renderings itself.
    CZVIcon* keeper = m_source ? m_source : this;
    if (CDibDC* cached = keeper->FindImage(box.w, box.h, back, m_colour, flags)) {
        Skins().DrawImage(dc, cached, left, top, cached->GetRequestedWidth(), cached->GetHeight(), 0);
        return;
    }
    const int D = (A + 5 + 1) & ~1, E = (B + 5 + 1) & ~1;
    CDibDC S(D, E, 0, 0, 0);
    CDibDC M(D, E, 0, 0, 0);
    if (!S.GetBits() || !M.GetBits()) return;
    S.FillRect(back, 0, 0, D, E, 0);
    M.FillRect(0, 0, 0, D, E, 0);
    M.SetOrigin(2, 2);
    const COLORREF dimmed = ScaleColor(0.9, back);
    DrawShapes(&M, (flags & kDisabled) ? &dimmed : nullptr, -bounds.x, -bounds.y, scale);
    M.SetOrigin(0, 0);
    BlitMasked(&S, &M, nullptr, 0, 0, 0);
    if (!(flags & kNoSmoothing)) {
        const uint16_t key = ToRgb565(back);
        S.ReplaceColor(0, key);
        if (SkinsSmoothEdges()) {
            std::unique_ptr<CDibDC> before(S.Clone());
            S.SmoothEdges(&M);
            for (int row = 0; row < E; ++row) {
                const uint16_t* was = before->GetPixelAddress(0, row);
                uint16_t* p = S.GetPixelAddress(0, row);
                for (int col = 0; col < D; ++col)
                    if (was[col] == key) p[col] = 0;
            }
        } else {
            S.Blur(&key);
            S.ReplaceColor(key, 0);
        }
    }
    Skins().DrawImage(dc, &S, left, top, D, E, 0);
    if (!(flags & kNoCache)) keeper->AddImageCopy(&S, box.w, box.h, back, m_colour, flags);
}

void CZVIcon::DrawBitmap(CZVDC* dc, COLORREF back, unsigned flags, const uint8_t* tint, int left, int top, int A,
                         int B) {
    if (!m_bitmap || A <= 0 || B <= 0) return;
    CDibDC* cached = FindImage(A, B, back, 0, flags);
    if (tint) {
        std::unique_ptr<CDibDC> image(cached ? cached->Clone() : m_bitmap->Scale(A, B, 1));
        if (!image) return;
        image->AddRgb(tint[0], tint[1], tint[2]);
        if (flags & kOpaque)
            dc->BitBlt(left, top, image.get(), 0, 0, A, B);
        else
            image->DrawTransparentTo(dc, left, top, A, B, 0);
        return;
    }
    if (!cached) {
        std::unique_ptr<CDibDC> scaled(m_bitmap->Scale(A, B, 1));
        if (!scaled) return;
        if (flags & kOpaque) {
            auto onBack = std::make_unique<CDibDC>(A, B, 0, 0, 0);
            onBack->FillRect(back, 0, 0, A, B, 0);
            if (flags & kDisabled) QuarterAlpha(scaled.get());
            scaled->DrawTransparentTo(onBack.get(), 0, 0, A, B, 0);
            scaled = std::move(onBack);
        }
        cached = scaled.get();
        AddImage(scaled.release(), A, B, back, 0, flags);
    }
    if (flags & kOpaque) {
        dc->BitBlt(left, top, cached, 0, 0, A, B);
    } else if ((flags & kDisabled) && cached->GetAlpha()) {
        const size_t n = static_cast<size_t>(cached->GetWidth()) * cached->GetHeight();
        std::vector<uint8_t> kept(cached->GetAlpha(), cached->GetAlpha() + n);
        QuarterAlpha(cached);
        cached->DrawTransparentTo(dc, left, top, A, B, 0);
        std::copy(kept.begin(), kept.end(), cached->GetAlpha());
    } else {
        cached->DrawTransparentTo(dc, left, top, A, B, 0);
    }
}

// ---- renderings

CDibDC* CZVIcon::FindImage(int w, int h, COLORREF colour, COLORREF iconColour, unsigned flags) const {
    const bool skins = SkinsSmoothEdges();
    for (const auto& entry : m_renderings)
        if (entry->Matches(w, h, colour, iconColour, flags) && entry->skins == skins) return entry->image.get();
    return nullptr;
}

void CZVIcon::DropOldestRendering() {
    if (static_cast<int>(m_renderings.size()) >= kMaxRenderings) m_renderings.erase(m_renderings.begin());
}

void CZVIcon::AddImage(CDibDC* image, int w, int h, COLORREF colour, COLORREF iconColour, unsigned flags) {
    if (!image) return;
    DropOldestRendering();
    m_renderings.push_back(std::make_unique<CIconImage>(w, h, colour, iconColour, flags, image));
    m_renderings.back()->skins = SkinsSmoothEdges();
}

void CZVIcon::AddImageCopy(CDibDC* image, int w, int h, COLORREF colour, COLORREF iconColour, unsigned flags) {
    if (!image || FindImage(w, h, colour, iconColour, flags)) return;
    AddImage(image->Clone(), w, h, colour, iconColour, flags);
}

void CZVIcon::RepaintOwner() {
    if (m_owner) IconHost().RepaintOwner(m_owner);
}

// ---- the gateway

void CZVIcon::OnMessage(CZVMSG* message) {
    if (!message) return;
    if (message->GetId() == ZVM_IMAGE_GETICONA) {
        ReadReply(message);
        m_state = kLoaded;
        Unregister();
        RepaintOwner();
        // Each copy is taken off before it repaints, so a repaint that
        // deletes copies leaves the walk sound.
        while (!m_waiting.IsEmpty()) {
            auto* copy = static_cast<CZVIcon*>(m_waiting.RemoveHead());
            copy->CopyFrom(this);
            copy->m_source = nullptr;
            copy->RepaintOwner();
        }
    } else if (message->GetId() == ZVM_SESSION_ERROR && message->GetSenderId() == GetId()) {
        m_state = kFailed;
        Unregister();
    }
}

int CZVIcon::Write(CZVMSG* message) const {
    message->WriteInt(m_kind);
    message->WriteInt(static_cast<int32_t>(m_shapes.size()));
    for (const auto& s : m_shapes) {
        for (int32_t v : {s->rect.x, s->rect.y, s->rect.w, s->rect.h, s->type, s->param}) message->WriteInt(v);
        message->WriteColor(s->colour);
    }
    return 1;
}

void CZVIcon::ReadReply(CZVMSG* message) {
    ClearShapes();
    m_renderings.clear();
    message->ResetPosition();
    if (!ImageHost().IsThemed()) {
        m_kind = kVector;
        int32_t skipped = 0;
        CMsgReader head(*message);
        if (head.Int(skipped).Int(skipped).Int(skipped).Int(skipped)) ReadShapes(message, true);
        return;
    }
    int32_t kind = 0;
    if (!message->ReadInt(kind)) return;
    switch (kind) {
    case kVector:
        m_kind = kVector;
        ReadShapes(message, false);
        break;
    case kGif:
    case kJpeg:
    case kPng:
        m_kind = kind;
        ReadBitmap(message, kind);
        break;
    default:
        ReportAssert(kSource, 1261, 1);
        m_kind = kVector;
        break;
    }
}

void CZVIcon::ReadShapes(CZVMSG* message, bool rawColours) {
    int32_t count = 0;
    if (!message->ReadInt(count)) return;
    constexpr int32_t kShapeBytes = 6 * 4;
    ReadRecords(*message, count, kShapeBytes + (rawColours ? 4 : 12), [&](int32_t) {
        int32_t v[6] = {};
        CMsgReader fields(*message);
        for (int32_t& value : v) fields.Int(value);
        uint32_t colour = 0;
        if (rawColours) {
            uint8_t bytes[4] = {};
            if (!fields || !message->ReadBytes(bytes, 4)) return false;
            colour = MakeColor(bytes[0], bytes[1], bytes[2]);
        } else if (!fields.Color(colour)) {
            return false;
        }
        AddShapeFields({v[0], v[1], v[2], v[3]}, v[4], v[5], colour);
        return true;
    });
}

void CZVIcon::ReadBitmap(CZVMSG* message, int kind) {
    int32_t length = 0;
    if (!message->ReadInt(length) || length < 0 || length > message->GetRemaining()) return;
    const uint8_t* file = message->GetUnread();
    const size_t size = static_cast<size_t>(length);
    if (kind == kGif) {
        m_bitmap.reset(DecodeGif(file, size, true));
    } else if (kind == kPng) {
        m_bitmap.reset(DecodePng(file, size));
    } else {
        int w = 0, h = 0;
        if (!ReadJpegSize(file, size, &w, &h) || !WithinPictureLimits(w, h)) return;
        auto picture = std::make_unique<CAlphaDibDC>(w, h, 0, 0);
        if (!picture->GetBits() || !DecodeJpeg(file, size, picture->GetBits(), picture->GetWidth(), h, 1)) return;
        for (int row = 0; row < h; ++row) {
            const uint16_t* p = picture->GetPixelAddress(0, row);
            uint8_t* a = picture->GetAlphaAt(0, row);
            for (int col = 0; col < picture->GetWidth(); ++col) a[col] = JpegAlpha(p[col]);
        }
        m_bitmap = std::move(picture);
    }
}

// ---- cache

CIconCache::CIconCache(CZVServer& server) : m_server(&server) {
    if (!g_cache) g_cache = this;
}

CIconCache::~CIconCache() {
    Clear();
    m_released.clear();
    if (g_cache == this) g_cache = nullptr;
}

CIconCache* CIconCache::Instance() { return g_cache; }

CZVIcon* CopyOfCachedIcon(CZVString name) {
    CIconCache* cache = CIconCache::Instance();
    CZVIcon* cached = cache ? cache->GetIcon(name) : nullptr;
    if (!cached) return nullptr;
    CZVIcon* copy = cached->Clone();
    if (copy) copy->SetSource(cached);
    return copy;
}

CZVImage* CIconCache::GetImage(CZVString name, COLORREF colour1, COLORREF colour2, int kind, int extraKey,
                               int sentValue) {
    for (ImageEntry& entry : m_images) {
        if (entry.image->Matches(name, colour1, colour2, kind, extraKey, sentValue)) {
            ++entry.holders;
            return entry.image.get();
        }
    }
    m_images.push_back({std::make_unique<CZVImage>(*m_server, name, colour1, colour2, kind, extraKey, sentValue), 1});
    return m_images.back().image.get();
}

void CIconCache::ReleaseImage(CZVImage* image) {
    for (auto* entries : {&m_images, &m_released}) {
        for (auto it = entries->begin(); it != entries->end(); ++it) {
            if (it->image.get() != image) continue;
            if (it->holders > 0) --it->holders;
            if (entries == &m_released && it->holders == 0) entries->erase(it);
            return;
        }
    }
}

CZVIcon* CIconCache::GetIcon(CZVString name) {
    if (CZVIcon* icon = FindIcon(name)) return icon;
    auto* icon = new CZVIcon(*m_server);
    icon->Load(name);
    AddIcon(icon);
    return icon;
}

CZVIcon* CIconCache::FindIcon(CZVString name) const {
    for (ZVPOSITION pos = m_icons.GetHeadPosition(); pos;) {
        auto* icon = static_cast<CZVIcon*>(m_icons.GetNext(pos));
        if (SameName(icon->GetName(), name)) return icon;
    }
    return nullptr;
}

bool CIconCache::IsLoading() const {
    for (const ImageEntry& entry : m_images)
        if (entry.image->IsPending()) return true;
    for (ZVPOSITION pos = m_icons.GetHeadPosition(); pos;)
        if (static_cast<CZVIcon*>(m_icons.GetNext(pos))->GetState() == CZVIcon::kAsked) return true;
    return false;
}

void CIconCache::AddIcon(CZVIcon* icon) {
    if (!icon || FindIcon(icon->GetName())) return;
    m_icons.AddTail(icon);
}

int CIconCache::HasIcon(CZVIcon* icon) const { return m_icons.Contains(icon); }

void CIconCache::DropUnheld(std::vector<ImageEntry>& entries, bool onlyPurgeable) {
    std::erase_if(entries, [onlyPurgeable](const ImageEntry& e) {
        return e.holders == 0 && (!onlyPurgeable || e.image->IsPurgeable());
    });
}

void CIconCache::Clear() {
    DropUnheld(m_images, false);
    for (ImageEntry& entry : m_images) m_released.push_back(std::move(entry));
    m_images.clear();
    while (!m_icons.IsEmpty()) delete static_cast<CZVIcon*>(m_icons.RemoveHead());
}

void CIconCache::PurgeImages() { DropUnheld(m_images, true); }
