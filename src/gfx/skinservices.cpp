#include "gfx/skinservices.h"

#include "gfx/dibdc.h"

namespace {

CSkinServices g_defaults;
CSkinServices* g_installed = nullptr;

}  // namespace

void CSkinServices::DrawImage(CZVDC* dst, CDibDC* image, int x, int y, int w, int h, uint16_t key565) {
    if (image) image->DrawTransparentTo(dst, x, y, w, h, key565);
}

void CSkinServices::DrawWithSkin(CZVDC* dst, CDibDC* image, int /*screenX*/, int /*screenY*/, int x, int y, int w,
                                 int h, int /*flags*/) {
    DrawImage(dst, image, x, y, w, h, kTransparent565);
}

void CSkinServices::DrawSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h, int /*level*/,
                                  bool /*direct*/) {
    if (dc) dc->FillRect(colour, x, y, w, h, 0);
}

CSkinServices& Skins() { return g_installed ? *g_installed : g_defaults; }

CSkinServices* InstallSkinServices(CSkinServices* services) {
    CSkinServices* previous = g_installed;
    g_installed = services;
    return previous;
}
