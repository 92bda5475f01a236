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

// One 8-bit channel of the picture lit by the shading s (128 leaves it).
int Lit(int channel, int s) { return std::clamp(channel + s - 128, 0, 255); }

int Mix(int tint, int lit) { return (tint * 48 + lit * 80) / 128; }

CZV3DButton* MakeScreenThumb(CZVWindow* parent, CZVRect rect, int commandId, int styleClass) {
    return new CThumbButton(parent, rect, commandId, styleClass, Shell().GetScreen(), parent->ToRootX(rect.x),
                            parent->ToRootY(rect.y));
}

}  // namespace

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
    const int tr = ColorRed(tint);
    const int tg = ColorGreen(tint);
    const int tb = ColorBlue(tint);
    const int count = std::min(result->GetWidth() * result->GetHeight(), face->GetWidth() * face->GetHeight());
    const uint16_t* shade = face->GetBits();
    uint16_t* pixels = result->GetBits();
    for (int i = 0; i < count; ++i) {
        if (shade[i] == 0) continue;
        const int s = (shade[i] >> 8) & 0xF8;
        const uint16_t p = pixels[i];
        const int r = Lit((p >> 11) * 8, s);
        const int g = Lit(((p >> 5) & 0x3F) * 4, s);
        const int b = Lit((p & 0x1F) * 8, s);
        pixels[i] = ToRgb565(MakeColor(Mix(tr, r), Mix(tg, g), Mix(tb, b)));
    }
    return result;
}

void InstallThumbButtons() { SetThumbButtonFactory(MakeScreenThumb); }
