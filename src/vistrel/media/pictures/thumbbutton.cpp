#include "vistrel/media/pictures/thumbbutton.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/shellservices.h"
#include "gfx/speed.h"
#include "gfx/zvdc.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr COLORREF kGreyFace = 0x808080;

CZV3DButton* MakeScreenThumb(CZVWindow* parent, CZVRect rect, int commandId, int styleClass) {
    return new CThumbButton(parent, rect, commandId, styleClass, Shell().GetScreen(), parent->ToRootX(rect.x),
                            parent->ToRootY(rect.y));
}

}  // namespace

uint16_t TintPixel(uint16_t picture, uint16_t shade, COLORREF tint) {
    if (shade == 0) return picture;
    const int s = (shade >> 8) & 0xF8;
    auto lit = [s](int channel) { return std::clamp(channel + s - 128, 0, 255); };
    auto mix = [](int tinted, int litChannel) { return (tinted * 48 + litChannel * 80) / 128; };
    const int r = lit((picture >> 11) * 8);
    const int g = lit(((picture >> 5) & 0x3F) * 4);
    const int b = lit((picture & 0x1F) * 8);
    return ToRgb565(MakeColor(mix(ColorRed(tint), r), mix(ColorGreen(tint), g), mix(ColorBlue(tint), b)));
}

CThumbButton::CThumbButton(CZVWindow* parent, CZVRect rect, int commandId, int styleClass, CDibDC* source, int sourceX,
                           int sourceY)
    : CZV3DButton(parent, rect, commandId, styleClass) {
    SetMargin(0);
    m_pictureCopy = std::make_unique<CDibDC>(rect.w, rect.h, 0, 0, 0);
    m_pictureCopy->FillRect(parent ? parent->GetFaceColor() : 0, 0, 0, rect.w, rect.h, 0);
    if (source) m_pictureCopy->BitBlt(0, 0, source, sourceX, sourceY, rect.w, rect.h);
}

CThumbButton::~CThumbButton() { FreeImages(); }

CDibDC* CThumbButton::Face(int pressed) {
    CDibDC*& image = pressed ? m_pressedImage : m_normalImage;
    if (!image) {
        if (!m_ownsImages) FreeImages();
        image = Tint(pressed ? CSetServer::GetPressedShade(m_faceColor) : m_faceColor);
    }
    return image;
}

CDibDC* CThumbButton::GetNormalImage() { return Face(0); }

CDibDC* CThumbButton::GetPressedImage() { return Face(1); }

int CThumbButton::DrawImage() {
    if (!m_pictureCopy) return 0;
    CZVDC dc(this);
    dc.BitBltAll(m_pictureCopy.get(), 0, 0);
    return 1;
}

CDibDC* CThumbButton::Tint(COLORREF tint) {
    CZV3DButton grey(this, CZVRect(0, 0, m_width, m_height), -1, m_styleClass);
    grey.SetStyleBit(k3DGlow, 1);
    grey.SetFaceColor(kGreyFace);
    grey.SetBackColor(0);
    grey.SetBevel(GetBevel());
    grey.SetMargin(GetMargin());
    grey.SetCornerRadius(GetCornerRadius());
    grey.SetShapeKind(GetShapeKind());
    CDibDC* face = grey.CZV3DButton::GetNormalImage();
    CDibDC* result = m_pictureCopy->Clone();
    if (!face || !result) return result;
    const int count = std::min(result->GetWidth() * result->GetHeight(), face->GetWidth() * face->GetHeight());
    const uint16_t* shade = face->GetBits();
    uint16_t* pixels = result->GetBits();
    for (int i = 0; i < count; ++i) pixels[i] = TintPixel(pixels[i], shade[i], tint);
    return result;
}

void InstallThumbButtons() { SetThumbButtonFactory(MakeScreenThumb); }
