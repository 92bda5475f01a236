#include "widgets/buttons/alogobutton.h"

#include <memory>

#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"
#include "platform/report.h"
#include "widgets/buttons/iconbutton.h"
#include "widgets/style/setserver.h"

namespace {

constexpr const char* kSource = "alogobutton";
constexpr COLORREF kGreyFace = MakeColor(128, 128, 128);

COLORREF DefaultLogoColor(COLORREF given) {
    if (given) return given;
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(17, 0) : 0;
}

}  // namespace

CALogoButton::CALogoButton(CZVWindow* parent, const CControlFields& fields, CZVString caption)
    : CZV3DButton(parent, fields.rect, fields.commandId, fields.styleClass),
      m_logoColor(DefaultLogoColor(fields.colour)) {
    SetText(caption, nullptr, 0);
    if (CIconCache* cache = CIconCache::Instance()) {
        m_picture = cache->GetImage(caption, 0, 0, CZVImage::kTinted, 0, 40);
        m_picture->SetGifTransparency(0);
    }
    m_faceColor = kGreyFace;
    m_styleBits |= k3DSkinned;
}

CALogoButton::~CALogoButton() {
    if (m_picture)
        if (CIconCache* cache = CIconCache::Instance()) cache->ReleaseImage(m_picture);
}

CDibDC* CALogoButton::DecoratedFace(int pressed) {
    m_faceColor = kGreyFace;
    CDibDC* face = pressed ? CZV3DButton::GetPressedImage() : CZV3DButton::GetNormalImage();
    int& done = pressed ? m_pressedDone : m_normalDone;
    if (face && !done && m_picture && m_picture->GetDib(this, -1, -1)) {
        ApplyGatewayLogo(face);
        done = 1;
    }
    return face;
}

CDibDC* CALogoButton::GetNormalImage() { return DecoratedFace(0); }

CDibDC* CALogoButton::GetPressedImage() { return DecoratedFace(1); }

int CALogoButton::OnImageReady(CDibDC*) {
    m_faceColor = kGreyFace;
    if (CDibDC* face = CZV3DButton::GetNormalImage()) {
        ApplyGatewayLogo(face);
        m_normalDone = 1;
    }
    Redraw(1);
    return 1;
}

void CALogoButton::ApplyGatewayLogo(CDibDC* face) {
    SetText("", nullptr, 0);
    CDibDC* picture = m_picture ? m_picture->GetDib(this, -1, -1) : nullptr;
    if (!picture || !face || picture->GetRequestedWidth() <= 0 || picture->GetHeight() <= 0) {
        ReportAssert(kSource, 157, 1);
        return;
    }
    const uint16_t key = *picture->GetPixelAddress(0, 0);
    if (!m_logoColor) m_logoColor = ColorFrom565(key);
    const int w = face->GetRequestedWidth(), h = face->GetHeight();
    std::unique_ptr<CDibDC> scaled(picture->Scale(w, h, 1));
    if (!scaled) return;
    const uint16_t logo = ToRgb565(m_logoColor);
    for (int y = 0; y < h; ++y) {
        uint16_t* row = scaled->GetPixelAddress(0, y);
        for (int x = 0; x < w; ++x)
            if (row[x] == key || row[x] == 0) row[x] = logo;
    }
    LightPictureOnFace(face, scaled.get(), GetMargin(), m_radius);
}
