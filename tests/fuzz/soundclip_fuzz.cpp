// A clip answer of any bytes: parsed and played on a device without sound.
#include <cstddef>
#include <cstdint>

#include "av/soundclip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CZVServer server(ZVVariant::Tablet);
    CSoundClip clip(server, "fuzz.wav");
    clip.TakeFile(data, static_cast<int32_t>(size > INT32_MAX ? INT32_MAX : size));
    return 0;
}
