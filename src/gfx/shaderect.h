#pragma once
// The flat rectangles among the shade shapes: filled in the face colour,
// leaving out the rectangles that other shapes cover.
#include <vector>

#include "gfx/shadecorner.h"
#include "gfx/zvrect.h"

// The pieces of rect that remain when every hole is cut out of it.
std::vector<CZVRect> SubtractRects(CZVRect rect, const std::vector<CZVRect>& holes);

class CShadeRect : public CShadeShape {
public:
    // Inclusive corners: the rectangle is x2 - x1 + 1 wide.
    CShadeRect(int x1, int y1, int x2, int y2) : CShadeShape(kRect), m_rect(x1, y1, x2 - x1 + 1, y2 - y1 + 1) {}

    void Render(COLORREF face, COLORREF back, int rimWidth, int raised, CDibDC* target) override;
    void Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* clips, const COLORREF* fillColour) override;
    void Mirror(bool flipX, bool flipY, int width, int height) override { m_rect.Mirror(flipX, flipY, width, height); }
    void Offset(int dx, int dy) override { m_rect.Offset(dx, dy); }

    CZVRect GetRect() const { return m_rect; }

private:
    CZVRect m_rect;
    COLORREF m_face = 0;
    COLORREF m_back = 0;
};
