#pragma once
// Mixing the style's skin into a rendered button face, through the skin
// services of the drawing engine.
#include "gfx/speed.h"

class CDibDC;

struct CFaceSkin {
    int screenX = 0;  // where the face stands on the screen
    int screenY = 0;
    int margin = 0;
    int radius = 0;
    int shapeKind = -1;
    int wholeFace = 0;     // the skin covers the whole face, not the rounded part
    int skinsOn = 0;
    int parentOnBase = 0;
    int parentRaised = 0;
    int skinLevel = 1;
    int textureReady = 0;
    CDibDC* skinImage = nullptr;  // the screen-sized skin picture, or null
};

void ApplyFaceSkin(CDibDC* face, const CFaceSkin& skin);
// Turns the margin band and the pixels outside the rounded face (radius r)
// transparent; end shapes keep the corners of their square side.
void ClearFaceCorners(CDibDC* face, int margin, int r, int shapeKind);
