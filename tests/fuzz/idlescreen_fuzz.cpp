// Arbitrary answers through the idle screen's readers of gateway input: the
// tablet's power settings and the size of a slide.
#include <cstddef>
#include <cstdint>

#include "vistrel/shell/slideshow.h"
#include "vistrel/shell/tabletsettings.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CZVMSG message(0, 0x3C90);
    message.WriteBytes(data, static_cast<int32_t>(size));
    CTabletSettings settings;
    const int read = settings.Read(&message);
    Check(read == (message.GetLength() >= 36));
    Check(settings.GetClickVolume() >= 0 && settings.GetClickVolume() <= 100);
    Check(settings.GetAlertVolume() >= 0 && settings.GetAlertVolume() <= 100);

    int width = 0, height = 0;
    if (ReadSlideSize(&message, 800, 600, &width, &height)) {
        Check(width > 0 && width <= 800 && height > 0 && height <= 600);
        Check(message.GetRemaining() == message.GetLength() - 8);
    }
    return 0;
}
