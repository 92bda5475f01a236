// Arbitrary bytes through the PNG decoder: no overrun, and a surface only
// within the picture limits, always with its alpha plane.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/picturelimits.h"
#include "gfx/pngdecode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<CAlphaDibDC> dib(DecodePng(data, size));
    if (dib && (!WithinPictureLimits(dib->GetRequestedWidth(), dib->GetHeight()) || !dib->GetAlpha()))
        __builtin_trap();
    return 0;
}
