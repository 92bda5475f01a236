#include "gfx/shaderect.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"

std::vector<CZVRect> SubtractRects(CZVRect rect, const std::vector<CZVRect>& holes) {
    std::vector<CZVRect> pieces;
    if (rect.w > 0 && rect.h > 0) pieces.push_back(rect);
    for (const CZVRect& hole : holes) {
        std::vector<CZVRect> next;
        for (const CZVRect& p : pieces) {
            CZVRect cut;
            p.Intersect(&cut, hole);
            if (cut.w <= 0 || cut.h <= 0) {
                next.push_back(p);
                continue;
            }
            // Above and below the hole across the piece, then beside it.
            const CZVRect parts[4] = {{p.x, p.y, p.w, cut.y - p.y},
                                      {p.x, cut.y + cut.h, p.w, p.y + p.h - cut.y - cut.h},
                                      {p.x, cut.y, cut.x - p.x, cut.h},
                                      {cut.x + cut.w, cut.y, p.x + p.w - cut.x - cut.w, cut.h}};
            for (const CZVRect& part : parts)
                if (part.w > 0 && part.h > 0) next.push_back(part);
        }
        pieces = std::move(next);
    }
    return pieces;
}

void CShadeRect::Render(COLORREF face, COLORREF back, int /*rimWidth*/, int /*raised*/, CDibDC* target) {
    m_face = face;
    m_back = back;
    if (target) Draw(target, kShadePlain, nullptr, nullptr);
}

void CShadeRect::Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* clips, const COLORREF* /*fillColour*/) {
    if (!dc) return;
    const COLORREF colour = swapped ? m_back : m_face;
    for (const CZVRect& piece : SubtractRects(m_rect, clips ? *clips : std::vector<CZVRect>{})) {
        if (mode == kShadeSkinned)
            Skins().DrawSkinPiece(dc, colour, piece.x, piece.y, piece.w, piece.h, -1, false);
        else
            dc->FillRect(colour, piece.x, piece.y, piece.w, piece.h, mode == kShadeTextured);
    }
}
