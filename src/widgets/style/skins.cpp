#include "widgets/style/skins.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "platform/report.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kStyleSource = "setserver";

// The device position of (x, y) on a context.
void DevicePoint(CZVDC* dc, int x, int y, int* dx, int* dy) {
    dc->GetDeviceOrigin(dx, dy);
    *dx += x;
    *dy += y;
}

// One RGB565 pixel mixed with the colour's channels (cr, cg, cb).
uint16_t MixPixel(uint16_t p, int cr, int cg, int cb, int level, int mix) {
    int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    if (level <= 8) {
        const int a = 32 * level;
        r = (cr * (256 - a) + r * a) / 256;
        g = (cg * (256 - a) + g * a) / 256;
        b = (cb * (256 - a) + b * a) / 256;
    } else {
        r = std::clamp(r + cr - 15, 0, 31);
        g = std::clamp(g + cg - 31, 0, 63);
        b = std::clamp(b + cb - 15, 0, 31);
        if (mix > 0) {
            r = (r * (8 - mix) + cr * mix) / 8;
            g = (g * (8 - mix) + cg * mix) / 8;
            b = (b * (8 - mix) + cb * mix) / 8;
        }
    }
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

}  // namespace

// ---- the style's pictures

CStyleTextures::CStyleTextures(CZVServer& server)
    : m_texture(server, CTexture::kLuminance), m_skin(server, CTexture::kSkin) {}

void CStyleTextures::TakeScreenSize() {
    CMainWndBase* main = GetMainWnd();
    const int w = main ? main->GetWidth() : 0, h = main ? main->GetHeight() : 0;
    m_texture.SetScreenSize(w, h);
    m_skin.SetScreenSize(w, h);
}

void CStyleTextures::SetImages(const CZVString& texture, const CZVString& skin) {
    m_texture.SetImage(texture);
    m_skin.SetImage(skin);
}

int CStyleTextures::IsTextureReady() {
    TakeScreenSize();
    return m_texture.Prepare();
}

CDibDC* CStyleTextures::GetSkinImage() {
    TakeScreenSize();
    return m_skin.GetScreenImage();
}

void CStyleTextures::ReleaseSkins() {
    m_texture.ClearPieces();
    m_skin.ClearPieces();
}

int CStyleTextures::DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, int flags) {
    if (!dc || !GetSkinImage()) return 0;
    Skins().DrawSkinPiece(dc, colour, x, y, w, h, level, flags != 0);
    return 1;
}

// ---- the operations

CStyleSkins::CStyleSkins(CSetServer& style) : m_style(style) {
    if (CZVServer* server = style.GetServer()) style.SetArt(std::make_unique<CStyleTextures>(*server));
    m_previous = InstallSkinServices(this);
}

CStyleSkins::~CStyleSkins() { InstallSkinServices(m_previous); }

CStyleTextures* CStyleSkins::Textures() const { return dynamic_cast<CStyleTextures*>(m_style.GetArt()); }

CDibDC* CStyleSkins::SkinImage() const { return m_style.GetSkinImage(); }

uint32_t CStyleSkins::GetStyleFlags() { return static_cast<uint32_t>(m_style.GetFlags()); }

bool CStyleSkins::HasSkinTexture() { return m_style.HasSkinTexture() != 0; }

int CStyleSkins::DrawSkinRect(CDibDC* picture, int x, int y, CSpanList* spans, int flags) {
    if (!spans) {
        ReportAssert(kStyleSource, 910, 1);
        return 0;
    }
    if (!picture) return 0;
    const bool textureReady = m_style.IsTextureReady();
    if (SkinsOn() && !textureReady) {
        if (CDibDC* skin = SkinImage()) {
            picture->BlendSpans(skin, x, y, spans, (flags & 8) ? 2 : m_style.GetSkinLevel());
            return 1;
        }
    }
    if (!textureReady) return 0;
    Textures()->GetTexture().ApplySpans(picture, x, y, spans);
    return 1;
}

int CStyleSkins::DrawSkinImage(CDibDC* src, CDibDC* dst, int texX, int texY, const CZVRect* clip, int flags) {
    if (!src || !dst) return 0;
    const bool textureReady = m_style.IsTextureReady();
    if (!SkinsOn() || m_style.GetSkinLevel() <= 8 || textureReady) {
        if (!textureReady) return 0;
        Textures()->GetTexture().Apply(src, dst, texX, texY, clip);
        return 1;
    }
    CDibDC* skin = SkinImage();
    if (!skin) return 0;
    const CZVRect area = clip ? *clip : CZVRect(0, 0, src->GetRequestedWidth(), src->GetHeight());
    if (src == dst) {
        src->BlendRect(skin, texX, texY, area.x, area.y, area.w, area.h, (flags & 8) ? 2 : m_style.GetSkinLevel());
        return 1;
    }
    std::unique_ptr<CDibDC> copy;
    CDibDC* mixed = src;
    if (!(flags & 1)) {
        copy.reset(src->Clone());
        mixed = copy.get();
    }
    mixed->BlendRect(skin, texX, texY, area.x, area.y, area.w, area.h, 2);
    if ((flags & 4) && !(flags & 2)) {
        DrawImage(dst, mixed, 0, 0, mixed->GetRequestedWidth(), mixed->GetHeight(), kTransparent565);
    } else {
        dst->BitBlt(area.x, area.y, mixed, area.x, area.y, area.w, area.h);
    }
    return 1;
}

void CStyleSkins::DrawImage(CZVDC* dst, CDibDC* image, int x, int y, int w, int h, uint16_t key565) {
    if (!dst || !image) return;
    CMainWndBase* main = GetMainWnd();
    if (!main || !main->IsBlendedDrawing()) {
        image->DrawTransparentTo(dst, x, y, w, h, key565);
        return;
    }
    if (dst->IsPixelSurface()) {
        dst->TransparentBlt(x, y, image, 0, 0, w, h, key565);
        return;
    }
    // One capture and one blit instead of drawing into the window pixel by pixel.
    if (w <= 0 || h <= 0) return;
    CDibDC under(w, h, 0, 0, 0);
    dst->CaptureRectTo(&under, x, y, 0, 0, w, h);
    under.TransparentBlt(0, 0, image, 0, 0, w, h, key565);
    dst->BitBlt(x, y, &under, 0, 0, w, h);
}

void CStyleSkins::DrawWithSkin(CZVDC* dst, CDibDC* image, int screenX, int screenY, int x, int y, int w, int h,
                               int flags) {
    if (!dst || !image) return;
    CDibDC* skin = SkinsOn() ? SkinImage() : nullptr;
    auto put = [&](CDibDC* picture) {
        if (flags & 2)
            dst->BitBlt(x, y, picture, 0, 0, w, h);
        else
            DrawImage(dst, picture, x, y, w, h, kTransparent565);
    };
    if (!skin) {
        put(image);
        return;
    }
    int level = m_style.GetSkinLevel();
    if ((flags & 8) && level > 8) level = 2;
    if (flags & 1) {
        if (dst == image) {
            if (CSpanList* region = image->GetRegion())
                image->BlendSpans(skin, screenX, screenY, region, level);
            else
                image->BlendRect(skin, screenX, screenY, 0, 0, w, h, level);
            return;
        }
        put(image);
        return;
    }
    if (w <= 0 || h <= 0) return;
    CDibDC work(w, h, 0, 0, 0);
    work.BitBlt(0, 0, image, 0, 0, w, h);
    if (CSpanList* region = image->GetRegion()) {
        work.BlendSpans(skin, screenX, screenY, region, level);
    } else {
        work.BitBlt(0, 0, skin, screenX, screenY, w, h);
        work.BlendRect(image, 0, 0, 0, 0, w, h, level > 7 ? level : 8 - level);
    }
    put(&work);
}

void CStyleSkins::DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, bool direct) {
    if (!dc) return;
    if (level < 0) level = m_style.GetSkinLevel();
    CDibDC* skin = SkinImage();
    CStyleTextures* textures = Textures();
    if (!skin || !textures || direct || !m_style.IsSkinColor(colour, level)) {
        DrawSkinPieceDirect(dc, skin, colour, x, y, w, h, level, 0);
        return;
    }
    CTexture& skinTexture = textures->GetSkin();
    CDibDC* piece = skinTexture.FindPiece(static_cast<int>(colour), level);
    if (!piece) {
        auto made = std::make_unique<CDibDC>(skin->GetRequestedWidth(), skin->GetHeight(), 0, 0, 0);
        DrawSkinPieceDirect(made.get(), skin, colour, 0, 0, made->GetRequestedWidth(), made->GetHeight(), level, 0);
        piece = made.get();
        skinTexture.AddPiece(static_cast<int>(colour), level, made.release());
    }
    int dx = 0, dy = 0;
    DevicePoint(dc, x, y, &dx, &dy);
    dc->BitBlt(x, y, piece, dx, dy, w, h);
}

bool CStyleSkins::FillSkinned(CZVDC* dc, COLORREF colour, int x, int y, int w, int h) {
    if (!dc) return false;
    const bool textureReady = m_style.IsTextureReady();
    if (SkinsOn() && m_style.GetSkinLevel() > 8 && !textureReady) {
        DrawSkinPiece(dc, colour, x, y, w, h, 2, false);
        return true;
    }
    if (!textureReady) return false;
    Textures()->GetTexture().FillRect(dc, x, y, w, h, colour);
    return true;
}

void DrawSkinPieceDirect(CZVDC* dst, CDibDC* skin, COLORREF colour, int x, int y, int w, int h, int level, int mix) {
    if (!dst || w <= 0 || h <= 0) return;
    if (mix == 8 || !skin) {
        dst->FillRect(colour, x, y, w, h, 0);
        return;
    }
    level = std::max(level, 0);
    if (level < 8 && mix > 0) level = std::min(level, 8 - mix);
    const uint16_t c = ToRgb565(colour);
    const int cr = c >> 11, cg = (c >> 5) & 63, cb = c & 31;
    CDibDC work(w, h, 0, 0, 0);
    // Where the picture ends the colour shows plainly.
    work.FillRect(colour, 0, 0, w, h, 0);
    int dx = 0, dy = 0;
    DevicePoint(dst, x, y, &dx, &dy);
    work.BitBlt(0, 0, skin, dx, dy, w, h);
    uint16_t lastIn = 0, lastOut = MixPixel(0, cr, cg, cb, level, mix);
    for (int row = 0; row < h; ++row) {
        uint16_t* p = work.GetPixelAddress(0, row);
        for (int col = 0; col < w; ++col) {
            if (p[col] != lastIn) {
                lastIn = p[col];
                lastOut = MixPixel(lastIn, cr, cg, cb, level, mix);
            }
            p[col] = lastOut;
        }
    }
    dst->BitBlt(x, y, &work, 0, 0, w, h);
}
