#include "widgets/buttons/iconbutton.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kCommandButtonKind = 171;

// 8-bit channels of an RGB565 pixel.
int Red8(uint16_t p) { return (p >> 11) << 3; }
int Green8(uint16_t p) { return ((p >> 5) & 63) << 2; }
int Blue8(uint16_t p) { return (p & 31) << 3; }

uint8_t Clamp255(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// Inside the rounded face: the corner squares are cut on a circle.
bool InsideRounded(int x, int y, int left, int top, int right, int bottom, int radius) {
    if (radius <= 0) return true;
    const int cx = x < left + radius ? left + radius : (x > right - radius ? right - radius : x);
    const int cy = y < top + radius ? top + radius : (y > bottom - radius ? bottom - radius : y);
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= radius * radius;
}

}  // namespace

void LightPictureOnFace(CDibDC* face, CDibDC* picture, int margin, int radius) {
    if (!face || !picture) return;
    const int w = face->GetRequestedWidth(), h = face->GetHeight();
    std::unique_ptr<CDibDC> scaled;
    if (picture->GetRequestedWidth() != w || picture->GetHeight() != h) {
        scaled.reset(picture->Scale(w, h, 1));
        if (!scaled) return;
        picture = scaled.get();
    }
    const int right = w - margin - 1, bottom = h - margin - 1;
    uint16_t lastFace = 0, lastPicture = 0, lastResult = 0;
    bool haveLast = false;
    for (int y = margin; y <= bottom; ++y) {
        uint16_t* f = face->GetPixelAddress(0, y);
        const uint16_t* p = picture->GetPixelAddress(0, y);
        for (int x = margin; x <= right; ++x) {
            if (f[x] == 0 || !InsideRounded(x, y, margin, margin, right, bottom, radius)) continue;
            if (!haveLast || f[x] != lastFace || p[x] != lastPicture) {
                const int lift = Red8(f[x]) - 128;
                const uint16_t result = ToRgb565(MakeColor(Clamp255(Red8(p[x]) + lift), Clamp255(Green8(p[x]) + lift),
                                                             Clamp255(Blue8(p[x]) + lift)));
                lastFace = f[x];
                lastPicture = p[x];
                lastResult = result ? result : 1;
                haveLast = true;
            }
            f[x] = lastResult;
        }
    }
}

CIconButton::CIconButton(CZVWindow* parent, const CControlFields& fields, CZVString pictureName)
    : CZV3DButton(parent, fields.rect, fields.commandId, fields.styleClass),
      m_controlKind(fields.kind),
      m_commandId(fields.commandId) {
    SetText(pictureName, nullptr, 0);
    if (CIconCache* cache = CIconCache::Instance()) m_picture = cache->GetImage(pictureName, 0, 0, 5, 0, 0);
    m_styleBits |= k3DSkinned;
    SetShape(0, 0, 0);
    if (fields.bevel > 0) m_bevel = fields.bevel;
    if (fields.radius > 0) m_radius = fields.radius;
}

CIconButton::CIconButton(CZVWindow* parent, CZVRect rect, int commandId, int styleClass, CDibDC* picture)
    : CZV3DButton(parent, rect, commandId, styleClass), m_commandId(commandId), m_readyPicture(picture) {
    m_styleBits |= k3DSkinned;
    SetShape(0, 0, 0);
}

CIconButton::~CIconButton() {
    if (m_picture)
        if (CIconCache* cache = CIconCache::Instance()) cache->ReleaseImage(m_picture);
}

int CIconButton::OnCommand(int id) {
    if (id != m_commandId) return CZVWindow::OnCommand(id);
    if (m_controlKind == kCommandButtonKind) {
        SendToGateway(ZVM_UI_COMMANDBUTTON, {id, GetCurrentAudioZone()});
        return CZVWindow::OnCommand(id);
    }
    SendToGateway(ZVM_UI_BUTTONPRESS, {0, id});
    return 1;
}

CDibDC* CIconButton::Picture() {
    if (m_readyPicture) return m_readyPicture;
    return m_picture ? m_picture->GetDib(this, -1, -1) : nullptr;
}

CDibDC* CIconButton::TintedFace(int pressed) {
    m_faceColor = MakeColor(m_greyLevel, m_greyLevel, m_greyLevel);
    m_backColor = 0;
    CDibDC* face = pressed ? CZV3DButton::GetPressedImage() : CZV3DButton::GetNormalImage();
    int& tinted = pressed ? m_pressedTinted : m_normalTinted;
    if (face && !tinted)
        if (CDibDC* picture = Picture()) {
            ApplyImage(face, picture);
            tinted = 1;
        }
    return face;
}

CDibDC* CIconButton::GetNormalImage() { return TintedFace(0); }

CDibDC* CIconButton::GetPressedImage() { return TintedFace(1); }

int CIconButton::OnImageReady(CDibDC* picture) {
    if (CDibDC* face = CZV3DButton::GetNormalImage()) {
        ApplyImage(face, picture);
        m_normalTinted = 1;
    }
    if (m_shown) {
        CZVDC dc(this);
        Paint(&dc, 0);
    }
    return 1;
}

void CIconButton::ApplyImage(CDibDC* face, CDibDC* picture) {
    SetText("", nullptr, 0);
    LightPictureOnFace(face, picture, GetMargin(), 0);
}
