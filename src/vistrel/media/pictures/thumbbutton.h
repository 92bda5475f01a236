#pragma once
// CThumbButton: a bevelled button that lies over a picture and shows, as its
// face, the piece of the picture it covers, shaded like a button and tinted
// with its face colour. It keeps its own copy of that piece, so the picture
// underneath may be freed or replaced while the button lives.
#include <memory>

#include "widgets/buttons/zv3dbutton.h"

class CThumbButton : public CZV3DButton {
public:
    // The source's piece at (sourceX, sourceY) of the button's size; whatever
    // lies outside the source shows the parent's face colour. A null source
    // leaves only that colour.
    CThumbButton(CZVWindow* parent, CZVRect rect, int commandId, int styleClass, CDibDC* source, int sourceX,
                 int sourceY);
    ~CThumbButton() override;

    CDibDC* GetNormalImage() override;
    CDibDC* GetPressedImage() override;
    // Puts the plain covered piece on the screen at the button's place.
    int DrawImage();
    // A face of the covered piece lit by the button's grey face and mixed
    // with the tint at 3 parts in 8; the caller owns it.
    CDibDC* Tint(COLORREF tint);

    CDibDC* GetPictureCopy() const { return m_pictureCopy.get(); }

private:
    CDibDC* Face(int pressed);

    std::unique_ptr<CDibDC> m_pictureCopy;
};

// One pixel of a thumb button's face: the picture's pixel lit by the grey
// face's shade (its red level; 128 leaves the picture as it is) and mixed with
// the tint at 3 parts in 8. Where the shade is 0 (outside the button's shape)
// the picture stays as it is.
uint16_t TintPixel(uint16_t picture, uint16_t shade, COLORREF tint);

// Makes every thumb button of the toolkit (image pager, slideshow) a
// CThumbButton over what the screen shows beneath it.
void InstallThumbButtons();
