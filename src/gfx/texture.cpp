#include "gfx/texture.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/zvimage.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "TEXTURE";

// The picture's brightness of one pixel.
int Brightness(uint16_t p) {
    if (p == 0) p = 0x0080;
    return (((p >> 3) & 0xFC) + (p >> 11) * 8 + (p & 0x1F) * 8) / 3;
}

}  // namespace

CTexturePiece::CTexturePiece(int key1, int key2, CDibDC* surface) : surface(surface), key1(key1), key2(key2) {}

CTexturePiece::~CTexturePiece() = default;

CTexture::CTexture(CZVServer& server, int mode) : m_server(&server), m_mode(mode) {
    for (int i = 0; i < 768; ++i) m_clamp[i] = static_cast<uint8_t>(std::clamp(i - 256, 10, 255));
}

CTexture::~CTexture() { ClearPieces(); }

void CTexture::SetScreenSize(int width, int height) {
    m_screenWidth = std::max(width, 0);
    m_screenHeight = std::max(height, 0);
}

void CTexture::SetImage(CZVString name) {
    if (static_cast<const CZVString&>(m_name).CompareNoCase(name) == 0 && m_image && !m_map.empty()) return;
    m_image.reset();
    m_map.clear();
    m_mapWidth = m_mapHeight = 0;
    m_fetchFailed = 0;
    ClearPieces();
    m_name = name;
    if (name.IsEmpty()) return;
    m_image = std::make_unique<CZVImage>(*m_server, name, 0, 0, CZVImage::kPlain, 0, 0);
    m_image->SetGifTransparency(0);
}

CDibDC* CTexture::Fetch(int w, int h) {
    if (!m_image) return nullptr;
    // Once a blocking fetch has come back empty, paints only take a picture
    // that arrived through the main loop's polls since.
    if (m_fetchFailed && m_image->GetWidth() == 0) return nullptr;
    CDibDC* picture = m_image->GetDib(nullptr, w, h);
    if (!picture) m_fetchFailed = 1;
    return picture;
}

int CTexture::Prepare() {
    if (!m_image && m_map.empty()) return 0;
    if (m_mode == kSkin) return GetScreenImage() != nullptr;
    if (!m_map.empty()) return 1;
    const bool firstFetch = !m_fetchFailed;
    CDibDC* picture = Fetch(-1, -1);
    if (!picture && firstFetch) {
        m_fetchFailed = 0;
        picture = Fetch(-1, -1);
    }
    if (!picture) return 0;
    MakeMap(picture);
    m_image.reset();
    StretchMap();
    return 1;
}

CDibDC* CTexture::GetScreenImage() {
    return Fetch(m_screenWidth > 0 ? m_screenWidth : -1, m_screenHeight > 0 ? m_screenHeight : -1);
}

void CTexture::MakeMap(CDibDC* picture) {
    const int w = picture->GetRequestedWidth(), h = picture->GetHeight();
    m_map.assign(static_cast<size_t>(w) * h, 0);
    m_mapWidth = w;
    m_mapHeight = h;
    int64_t sum = 0;
    for (int y = 0; y < h; ++y) {
        const uint16_t* row = picture->GetPixelAddress(0, y);
        for (int x = 0; x < w; ++x) sum += Brightness(row[x]);
    }
    const int mean = w * h > 0 ? static_cast<int>(sum / (int64_t{w} * h)) : 0;
    for (int y = 0; y < h; ++y) {
        const uint16_t* row = picture->GetPixelAddress(0, y);
        uint8_t* out = &m_map[static_cast<size_t>(y) * w];
        for (int x = 0; x < w; ++x) out[x] = static_cast<uint8_t>(std::clamp(Brightness(row[x]) - mean + kNeutral, 0, 255));
    }
}

void CTexture::StretchMap() {
    const int W = m_screenWidth, H = m_screenHeight;
    if (W <= 0 || H <= 0 || (m_mapWidth >= W && m_mapHeight >= H)) return;
    std::vector<uint8_t> stretched(static_cast<size_t>(W) * H);
    for (int j = 0; j < H; ++j) {
        const int sy = std::min(static_cast<int>(int64_t{j} * m_mapHeight / H), m_mapHeight - 1);
        const uint8_t* from = &m_map[static_cast<size_t>(sy) * m_mapWidth];
        uint8_t* to = &stretched[static_cast<size_t>(j) * W];
        for (int i = 0; i < W; ++i) to[i] = from[std::min(static_cast<int>(int64_t{i} * m_mapWidth / W), m_mapWidth - 1)];
    }
    m_map = std::move(stretched);
    m_mapWidth = W;
    m_mapHeight = H;
}

uint16_t CTexture::Modulate(uint16_t p, uint8_t t) const {
    const uint8_t* clamp = &m_clamp[t + 81];
    return kRedTo565[clamp[(p >> 8) & 0xF8]] | kGreenTo565[clamp[(p >> 3) & 0xFC]] | kBlueTo565[clamp[(p << 3) & 0xF8]];
}

uint8_t CTexture::MapAt(int x, int y) const {
    x = std::clamp(x, 0, m_mapWidth - 1);
    y = std::clamp(y, 0, m_mapHeight - 1);
    return m_map[static_cast<size_t>(y) * m_mapWidth + x];
}

void CTexture::ModulateRun(const uint16_t* from, uint16_t* to, int n, int mx, int my, int step, bool vertical) const {
    uint16_t lastIn = 0, lastOut = 0;
    int lastT = -1;
    for (int k = 0; k < n; ++k) {
        const uint16_t p = from[static_cast<ptrdiff_t>(k) * step];
        const uint8_t t = vertical ? MapAt(mx, my + k) : MapAt(mx + k, my);
        // Runs of one pixel over one map value reuse the result.
        if (p != lastIn || t != lastT) {
            lastIn = p;
            lastT = t;
            lastOut = Modulate(p, t);
        }
        to[static_cast<ptrdiff_t>(k) * step] = lastOut;
    }
}

void CTexture::Apply(CDibDC* src, CDibDC* dst, int texX, int texY, const CZVRect* clip) {
    if (!src || !dst || !Prepare() || m_map.empty()) return;
    CZVRect area(0, 0, src->GetRequestedWidth(), src->GetHeight());
    if (clip) area = *clip;
    // The map stays aligned with the area's top-left however it is cut.
    const int mapX = texX - area.x, mapY = texY - area.y;
    const int left = std::max(area.x, 0), top = std::max(area.y, 0);
    const int right = std::min({area.x + area.w, src->GetRequestedWidth(), dst->GetRequestedWidth()});
    const int bottom = std::min({area.y + area.h, src->GetHeight(), dst->GetHeight()});
    if (right <= left || bottom <= top) return;
    if (bottom - top >= 600) ReportAssert(kSource, 283, 1);
    for (int y = top; y < bottom; ++y)
        ModulateRun(src->GetPixelAddress(left, y), dst->GetPixelAddress(left, y), right - left, mapX + left,
                    std::max(mapY + y, 0), 1, false);
}

void CTexture::ApplySpans(CDibDC* surface, int x, int y, const CSpanList* spans) {
    if (!surface || !spans || !Prepare() || m_map.empty()) return;
    const int width = surface->GetRequestedWidth(), height = surface->GetHeight();
    const bool vertical = spans->IsVertical();
    const int step = surface->GetParentRowLength();
    for (int i = 0; i < spans->GetCount(); ++i) {
        const int sx = spans->GetX(i), sy = spans->GetY(i);
        const int mx = x + sx, my = y + sy;
        if (sx < 0 || sy < 0 || mx < 0 || my < 0 || sx >= width || sy >= height || mx >= m_mapWidth ||
            my >= m_mapHeight)
            continue;
        int n = spans->GetLength(i);
        n = vertical ? std::min({n, height - sy, m_mapHeight - my}) : std::min({n, width - sx, m_mapWidth - mx});
        uint16_t* p = surface->GetPixelAddress(sx, sy);
        ModulateRun(p, p, n, mx, my, vertical ? step : 1, vertical);
    }
}

void CTexture::FillRect(CZVDC* dc, int x, int y, int w, int h, COLORREF colour) {
    if (!dc || w <= 0 || h <= 0 || !Prepare() || m_map.empty()) return;
    int screenX = 0, screenY = 0;
    dc->GetDeviceOrigin(&screenX, &screenY);
    screenX += x;
    screenY += y;
    const uint16_t pixel = ToRgb565(colour);
    auto fill = [&](CDibDC* area, int dx, int dy) {
        for (int row = 0; row < area->GetHeight(); ++row) {
            uint16_t* p = area->GetPixelAddress(0, row);
            std::fill(p, p + area->GetRequestedWidth(), pixel);
            ModulateRun(p, p, area->GetRequestedWidth(), screenX + dx, screenY + dy + row, 1, false);
        }
    };
    if (auto* surface = dynamic_cast<CDibDC*>(dc); surface && dc->IsPixelSurface()) {
        int ox = 0, oy = 0;
        dc->GetOrigin(&ox, &oy);
        if (!surface->IntersectsRect(x + ox, y + oy, w, h)) return;
        int dx = 0, dy = 0;
        CDibDC view(surface, x + ox, y + oy, w, h, &dx, &dy);
        fill(&view, dx, dy);
        return;
    }
    CDibDC area(w, h, 0, 0, 0);
    fill(&area, 0, 0);
    dc->BitBltAll(&area, x, y);
}

CDibDC* CTexture::FindPiece(int key1, int key2) {
    for (ZVPOSITION pos = m_pieces.GetHeadPosition(); pos;) {
        auto* piece = static_cast<CTexturePiece*>(m_pieces.GetNext(pos));
        if (piece->key1 == key1 && piece->key2 == key2) return piece->surface.get();
    }
    return nullptr;
}

int CTexture::AddPiece(int key1, int key2, CDibDC* surface) {
    if (FindPiece(key1, key2)) {
        ReportAssert(kSource, 545, 1);
        // The caller handed the surface over; the first piece stays.
        delete surface;
        return 0;
    }
    m_pieces.AddTail(new CTexturePiece(key1, key2, surface));
    return 1;
}

void CTexture::ClearPieces() {
    while (!m_pieces.IsEmpty()) delete static_cast<CTexturePiece*>(m_pieces.RemoveHead());
}
