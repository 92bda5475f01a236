#include "widgets/buttonskin.h"

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"

void ApplyFaceSkin(CDibDC* face, const CFaceSkin& skin) {
    const int levelFlag = skin.parentRaised ? 8 : 0;
    const int w = face->GetRequestedWidth();
    const int h = face->GetHeight();
    if (skin.margin > 0 || skin.radius > 0) {
        if (!skin.wholeFace || !skin.skinsOn) {
            CSpanList spans;
            spans.AddRoundRect(w, h, skin.margin, skin.radius, skin.shapeKind);
            if (skin.parentOnBase && skin.skinsOn && skin.skinImage)
                face->BlendSpans(skin.skinImage, skin.screenX, skin.screenY, &spans,
                                 skin.parentRaised ? 2 : skin.skinLevel);
            else
                Skins().DrawSkinRect(face, skin.screenX, skin.screenY, &spans, levelFlag);
            return;
        }
        if (skin.parentRaised && skin.textureReady) {
            Skins().DrawSkinImage(face, face, skin.screenX, skin.screenY, nullptr, levelFlag);
            return;
        }
        std::unique_ptr<CDibDC> copy(face->Clone());
        Skins().DrawWithSkin(face, copy.get(), skin.screenX, skin.screenY, 0, 0, w, h, levelFlag | 2);
        return;
    }
    if (skin.wholeFace && skin.skinsOn) {
        std::unique_ptr<CDibDC> copy(face->Clone());
        Skins().DrawWithSkin(face, copy.get(), skin.screenX, skin.screenY, 0, 0, w, h, levelFlag);
    }
}

void ClearFaceCorners(CDibDC* face, int margin, int r, int shapeKind) {
    const int w = face->GetRequestedWidth();
    const int h = face->GetHeight();
    auto clear = [face, w, h](int x1, int x2, int y) {
        if (y < 0 || y >= h) return;
        for (int x = std::max(x1, 0); x <= std::min(x2, w - 1); ++x) *face->GetPixelAddress(x, y) = 0;
    };
    for (int y = 0; y < h; ++y) {
        if (y < margin || y >= h - margin) {
            clear(0, w - 1, y);
            continue;
        }
        clear(0, margin - 1, y);
        clear(w - margin, w - 1, y);
    }
    if (r <= 0) return;
    const bool keepLeft = shapeKind == 3;
    const bool keepRight = shapeKind == 2;
    const bool keepTop = shapeKind == 1;
    const bool keepBottom = shapeKind == 0;
    for (int i = 0; i < r; ++i) {
        // Row i from the top of the quarter circle: pixels left of its edge go.
        const int dy = r - i;
        int inside = 0;
        while ((r - inside) * (r - inside) + dy * dy > r * r) ++inside;
        const int top = margin + i;
        const int bottom = h - margin - 1 - i;
        const int left1 = margin, left2 = margin + inside - 1;
        const int right1 = w - margin - inside, right2 = w - margin - 1;
        if (!keepTop) {
            if (!keepLeft) clear(left1, left2, top);
            if (!keepRight) clear(right1, right2, top);
        }
        if (!keepBottom) {
            if (!keepLeft) clear(left1, left2, bottom);
            if (!keepRight) clear(right1, right2, bottom);
        }
    }
}
