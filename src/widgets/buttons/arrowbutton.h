#pragma once
// End shapes: a button outline with one rounded end (kinds 0..3: the end at
// the top, bottom, left or right) or one rounded corner (kinds 4..7: lower
// left, upper left, upper right, lower right), built from shade shapes.
// CArrowButton is the bevelled button with one rounded end: the end pieces
// of rows of buttons and the scroll arrows.
#include "widgets/buttons/zv3dbutton.h"

class CShadeWnd;

// Radius of the rounded end of kinds 0..3: bounded by half the side the end
// spans (the width for the top and bottom ends, the height for the others).
int EndShapeRadius(int kind, int width, int height, int radius);

// Adds the shapes of the kind to the shade window, sized from the button's
// width, height, bevel and corner radius; the window also takes the
// button's bevel, margin and shade depth. Unknown kinds add nothing.
void BuildEndShape(CZV3DButton* button, int kind, CShadeWnd* shade);

class CArrowButton : public CZV3DButton {
public:
    // direction: the rounded end at the top (0), bottom (1), left (2) or right (3).
    CArrowButton(CZVWindow* parent, CZVRect rect, int direction, int command, int styleClass);

    void RenderFace(int pressed) override;
};
