#pragma once
// CALogoButton: a bevelled button whose face carries a gateway logo,
// recoloured and lit by the face's shading.
#include "widgets/window/controlfields.h"
#include "widgets/buttons/zv3dbutton.h"

class CZVImage;

class CALogoButton : public CZV3DButton {
public:
    // Factory type 160; the caption names the logo.
    CALogoButton(CZVWindow* parent, const CControlFields& fields, CZVString caption);
    ~CALogoButton() override;

    int OnImageReady(CDibDC* picture) override;
    CDibDC* GetNormalImage() override;
    CDibDC* GetPressedImage() override;

    void ApplyGatewayLogo(CDibDC* face);
    COLORREF GetLogoColor() const { return m_logoColor; }

private:
    CDibDC* DecoratedFace(int pressed);

    CZVImage* m_picture = nullptr;
    int m_normalDone = 0;
    int m_pressedDone = 0;
    COLORREF m_logoColor;
};
