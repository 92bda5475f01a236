#pragma once
// The shaded faces of bevelled buttons come from the shading engine, which
// installs its renderer here. Until then a plain renderer draws the face as
// rounded rings that darken towards the rim.
#include "gfx/speed.h"

class CDibDC;
class CZVWindow;

class CButtonFaceRenderer {
public:
    virtual ~CButtonFaceRenderer() = default;
    // Bevel ring and face of the window's rounded shape (margin, radius,
    // bevel) in the face colour, into a surface of the window's size that
    // holds the back colour. depth -1 is the renderer's default.
    virtual void RenderShadedFrame(CZVWindow* window, COLORREF face, CDibDC* surface, int depth);
    // The face of an end shape: kinds 0 and 1 are square at the bottom and
    // at the top, 2 and 3 on the right and on the left.
    virtual void RenderEndShape(CZVWindow* window, int kind, COLORREF face, CDibDC* surface);
};

// The installed renderer, or the plain one.
CButtonFaceRenderer& ButtonFaces();
// Installs a renderer (null restores the plain one); returns the previous one.
CButtonFaceRenderer* InstallButtonFaceRenderer(CButtonFaceRenderer* renderer);

// The side that end-shape kind squares off: 0 bottom, 1 top, 2 right, 3 left.
// Fills the band of the face along that side so its corners are square.
void SquareEndSide(CDibDC* surface, int kind, COLORREF colour, int inset, int band);
