#pragma once
// What the effects and the shade shapes ask of the UI style object and of the
// shading engine's skin operations, which live further up. Those install
// their own object; until then the defaults answer as an unskinned style
// without gloss or outlines, and pictures are drawn with their own
// transparent draw.
#include <cstdint>

#include "gfx/speed.h"

class CDibDC;
class CSpanList;
class CZVDC;
struct CZVRect;

// Flags of the style object that the drawing engine reads.
enum : uint32_t {
    kStyleGlossMask = 0x7,  // gloss level: 2 and 3 a wave, 4 to 7 glossy
    kStyleOutlines = 0x80,  // pressed corners get shaded outlines
    kStyleStrongWave = 0x10000,
    kStyleSkins = 0x40000,
};

class CSkinServices {
public:
    virtual ~CSkinServices() = default;

    virtual uint32_t GetStyleFlags() { return 0; }
    // A texture or skin is there to lay over surfaces.
    virtual bool HasSkinTexture() { return false; }
    // Lays the texture over the picture along the spans, the picture standing
    // at device position (x, y); non-zero when something was laid.
    virtual int DrawSkinRect(CDibDC* /*picture*/, int /*x*/, int /*y*/, CSpanList* /*spans*/, int /*flags*/) {
        return 0;
    }
    // Lays the texture over src into dst (the same surface for in place), the
    // texture taken at (texX, texY); non-zero when something was laid.
    virtual int DrawSkinImage(CDibDC* /*src*/, CDibDC* /*dst*/, int /*texX*/, int /*texY*/, const CZVRect* /*clip*/,
                              int /*flags*/) {
        return 0;
    }
    // Draws a surface transparently (pixels equal to key are skipped).
    virtual void DrawImage(CZVDC* dst, CDibDC* image, int x, int y, int w, int h, uint16_t key565);
    // Draws a picture with the skin laid over it, the skin taken at the
    // screen position.
    virtual void DrawWithSkin(CZVDC* dst, CDibDC* image, int screenX, int screenY, int x, int y, int w, int h,
                              int flags);
    // A skinned fill; level below 0 is the style's skin level.
    virtual void DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int level, bool direct);
};

// The installed services, or the defaults.
CSkinServices& Skins();
// Installs an object (null restores the defaults); returns the previous one.
CSkinServices* InstallSkinServices(CSkinServices* services);
