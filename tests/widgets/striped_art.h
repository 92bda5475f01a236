#pragma once
// A style picture of diagonal stripes for the skinned looks, laid at a
// fixed level under every skinned fill.
#include "gfx/dibdc.h"
#include "widgets/style/setserver.h"
#include "widgets/style/skins.h"

namespace widgettest {

class StripedArt : public CStyleArt {
public:
    StripedArt() {
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                *m_skin.GetPixelAddress(x, y) =
                    ((x + y) / 6) % 2 ? ToRgb565(MakeColor(180, 140, 60)) : ToRgb565(MakeColor(120, 160, 200));
    }
    void SetImages(const CZVString&, const CZVString&) override {}
    int IsTextureReady() override { return 0; }
    CDibDC* GetSkinImage() override { return &m_skin; }
    void ReleaseSkins() override {}
    int DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int, int) override {
        DrawSkinPieceDirect(dc, &m_skin, colour, x, y, w, h, 3, 0);
        return 1;
    }

private:
    CDibDC m_skin{320, 240, 0, 0, 0};
};

}  // namespace widgettest
