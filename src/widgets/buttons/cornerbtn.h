#pragma once
// CCornerButton: one corner piece of a square pad whose round centre is cut
// away. Its pad circle is given for the top-left piece (the circle towards
// its lower right); the corner kind mirrors it into place: 5 top left,
// 6 top right, 4 bottom left, 7 bottom right.
#include "widgets/buttons/zv3dbutton.h"

class CCornerButton : public CZV3DButton {
public:
    CCornerButton(CZVWindow* parent, CZVRect rect, int command, int styleClass, int cornerKind, int circleRadius,
                  int centreX, int centreY);

    void GetInnerRect(CZVRect* out) override;
    void GetIconRect(CZVRect* out) override;
    void RenderFace(int pressed) override;

    // A rectangle given for the top-left piece, mirrored for the corner kind.
    CZVRect MirrorRect(CZVRect rect);

private:
    // The caption band whose top is `top`, as wide as the pad circle leaves
    // it at the band's lower edge `reach` above the centre.
    CZVRect BandRect(int top, int reach);
    // Where the pad circle, less the bevel, meets the right and the bottom side.
    void PadReach(int bevel, int* rightY, int* bottomX);

    int m_circleRadius;
    int m_centreX;
    int m_centreY;
};
