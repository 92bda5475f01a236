#include "samplegateway/style.h"

#include "core/messages/toolkitmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/png.h"

namespace samplegateway {
namespace {

constexpr int32_t kPngType = 5;
constexpr int kSkinSize = 64;
// The themed flags of the house file, and the bits the compact look adds: layout 0x300 and skins.
constexpr int64_t kThemedFlags = 0x21181;
constexpr int64_t kCompactBits = 0x40300;

}  // namespace

std::optional<Style> StyleNamed(std::string_view name) {
    if (name == "plain") return Style::kPlain;
    if (name == "themed") return Style::kThemed;
    if (name == "compact") return Style::kCompact;
    return std::nullopt;
}

bool ApplyStyle(House& house, Style style) {
    const bool themed = style != Style::kPlain;
    const int64_t flags = style == Style::kCompact ? kThemedFlags | kCompactBits : kThemedFlags;
    return house.SetSwitch("style_plain", !themed) && house.SetSwitch("style_themed", themed) &&
           house.Set("style_flags", flags);
}

Bytes SkinPicture() {
    return MakePng(kSkinSize, kSkinSize, [](int x, int y) {
        const int shade = 96 + (x + y) * 64 / (2 * kSkinSize);
        return Rgb{static_cast<uint8_t>(shade), static_cast<uint8_t>(shade + 16), static_cast<uint8_t>(shade + 48)};
    });
}

void ServeSkinPicture(Gateway& gateway) {
    const Bytes picture = SkinPicture();
    PayloadWriter answer;
    answer.Int(kPngType).Int(kSkinSize).Int(kSkinSize).Int(static_cast<int32_t>(picture.size()));
    answer.Raw(picture.data(), picture.size());
    gateway.Answer(ZVM_IMAGE_GETPLAINQ, answer);
}

}  // namespace samplegateway
