#pragma once
// CIconButton: a bevelled button whose grey face is tinted with a picture
// (from the gateway, or ready-made) and whose press goes to the gateway.
#include "core/messages/toolkitmessages.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/controlfields.h"
#include "widgets/window/gateway.h"

class CZVImage;

// Lights the picture with the face's shading: inside the face (inset by the
// margin, the corners cut on a circle of the radius when it is positive),
// every face pixel that is not 0 takes the picture's colour moved by the
// face's red level less 128; a result of 0 becomes 1, so that it stays
// opaque. A picture of another size is scaled to the face first.
void LightPictureOnFace(CDibDC* face, CDibDC* picture, int margin, int radius);

class CIconButton : public CZV3DButton {
public:
    // Factory types 171 and 172; the picture is the gateway's picture of that name.
    CIconButton(CZVWindow* parent, const CControlFields& fields, CZVString pictureName);
    // A ready-made picture (not owned), for buttons the program makes itself.
    CIconButton(CZVWindow* parent, CZVRect rect, int commandId, int styleClass, CDibDC* picture);
    ~CIconButton() override;

    int OnCommand(int id) override;
    int OnImageReady(CDibDC* picture) override;
    CDibDC* GetNormalImage() override;
    CDibDC* GetPressedImage() override;

    void ApplyImage(CDibDC* face, CDibDC* picture);
    // The grey of the face the picture is lit on (128 unless set).
    void SetGreyLevel(uint8_t level) { m_greyLevel = level; }

private:
    // Tints the face once with the picture when it is there.
    CDibDC* TintedFace(int pressed);
    CDibDC* Picture();

    int m_controlKind = -1;
    int m_commandId;
    CZVImage* m_picture = nullptr;
    int m_normalTinted = 0;
    int m_pressedTinted = 0;
    CDibDC* m_readyPicture = nullptr;
    uint8_t m_greyLevel = 128;
};
