#pragma once
// The style object's two pictures and the skin operations of the shading
// engine. CStyleTextures holds the texture (a luminance map) and the skin (a
// colour picture at screen size, with its cached skinned fills) for the style
// object. CStyleSkins answers the drawing engine's questions from the style
// object and lays those pictures over surfaces; making one installs both.
#include <memory>

#include "gfx/skinservices.h"
#include "gfx/texture.h"
#include "widgets/style/setserver.h"

class CStyleTextures : public CStyleArt {
public:
    explicit CStyleTextures(CZVServer& server);

    void SetImages(const CZVString& texture, const CZVString& skin) override;
    int IsTextureReady() override;
    CDibDC* GetSkinImage() override;
    void ReleaseSkins() override;
    int DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, int flags) override;

    CTexture& GetTexture() { return m_texture; }
    CTexture& GetSkin() { return m_skin; }

private:
    // Both pictures follow the main window's size.
    void TakeScreenSize();

    CTexture m_texture;
    CTexture m_skin;
};

class CStyleSkins : public CSkinServices {
public:
    // Gives the style object its pictures and installs these operations;
    // the destructor puts back the operations it found.
    explicit CStyleSkins(CSetServer& style);
    ~CStyleSkins() override;
    CStyleSkins(const CStyleSkins&) = delete;
    CStyleSkins& operator=(const CStyleSkins&) = delete;

    uint32_t GetStyleFlags() override;
    bool HasSkinTexture() override;
    int DrawSkinRect(CDibDC* picture, int x, int y, CSpanList* spans, int flags) override;
    int DrawSkinImage(CDibDC* src, CDibDC* dst, int texX, int texY, const CZVRect* clip, int flags) override;
    void DrawImage(CZVDC* dst, CDibDC* image, int x, int y, int w, int h, uint16_t key565) override;
    void DrawWithSkin(CZVDC* dst, CDibDC* image, int screenX, int screenY, int x, int y, int w, int h,
                      int flags) override;
    void DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, bool direct) override;
    // The themed fill behind CZVDC::FillRect, for the shell to hand on:
    // true when it painted.
    bool FillSkinned(CZVDC* dc, COLORREF colour, int x, int y, int w, int h);

private:
    bool SkinsOn() const { return (m_style.GetFlags() & kStyleSkins) != 0; }
    CStyleTextures* Textures() const;
    CDibDC* SkinImage() const;

    CSetServer& m_style;
    CSkinServices* m_previous;
};

// The uncached skinned fill: the skin picture under (x, y) mixed with the
// colour at level (0 the colour, 8 the picture, above 8 the overlay) and
// mixed back toward the colour by mix eighths; mix 8, or no picture, fills
// plainly.
void DrawSkinPieceDirect(CZVDC* dst, CDibDC* skin, COLORREF colour, int x, int y, int w, int h, int level, int mix);
