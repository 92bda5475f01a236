// Icon answers from the gateway: any payload read as a themed or an unthemed
// answer, then drawn into a small surface.
// Input: one byte of options (bit 0 themed), then the payload.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/zvimage.h"

namespace {

class Theme : public CZVImageHost {
public:
    bool IsThemed() override { return themed; }
    bool themed = true;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 65536) return 0;
    static Theme theme;
    static CZVServer server(ZVVariant::Tablet);
    InstallImageHost(&theme);
    theme.themed = data[0] & 1;
    CZVMSG message(1, ZVM_IMAGE_GETICONA, static_cast<int32_t>(size - 1));
    if (size > 1) std::memcpy(message.GetData(), data + 1, size - 1);
    CZVIcon icon(server);
    icon.ReadReply(&message);
    CDibDC surface(48, 40, 0, 0, 0);
    surface.FillRect(0, 0, 0, 48, 40, 0);
    icon.Draw(nullptr, &surface, 0x808080, {2, 3, 40, 30}, data[0] >> 1, nullptr);
    return 0;
}
