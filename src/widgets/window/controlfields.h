#pragma once
// What the page factory reads from a control definition and hands to the
// controls it makes.
#include "gfx/speed.h"
#include "gfx/zvrect.h"

struct CControlFields {
    CZVRect rect;
    int kind = 0;  // the factory's type code
    int commandId = 0;
    int styleClass = 0;
    int bevel = 0;   // used when positive
    int radius = 0;  // used when positive
    COLORREF colour = 0;
};
