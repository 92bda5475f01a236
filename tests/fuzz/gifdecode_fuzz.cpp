// Arbitrary bytes through the GIF decoder, with and without transparency.
// A surface that comes out must be as large as the picture limits allow at
// most, with rows padded to four pixels.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/gifdecode.h"
#include "gfx/picturelimits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (bool transparency : {false, true}) {
        std::unique_ptr<CDibDC> dib(DecodeGif(data, size, transparency));
        if (!dib) continue;
        if (!WithinPictureLimits(dib->GetRequestedWidth(), dib->GetHeight()) || dib->GetRequestedWidth() % 4 != 0 ||
            (transparency && !dib->GetAlpha()))
            __builtin_trap();
    }
    return 0;
}
