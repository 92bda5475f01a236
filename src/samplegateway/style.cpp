#include "samplegateway/style.h"

#include <algorithm>

#include "samplegateway/gateway.h"
#include "samplegateway/house.h"

namespace samplegateway {
namespace {

constexpr uint16_t kPlainPictureRequest = 0x23A4;  // answered as 0x23A5
constexpr int32_t kPngType = 5;
constexpr int kSkinSize = 64;
// The themed flags of the house file, and the bits the compact look adds: layout 0x300 and skins.
constexpr int64_t kThemedFlags = 0x21181;
constexpr int64_t kCompactBits = 0x40300;

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(Bytes* out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<uint8_t>(value >> shift));
}

void PutChunk(Bytes* out, const char (&type)[5], const Bytes& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    Bytes typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out->insert(out->end(), typed.begin(), typed.end());
    PutBigEndian(out, Crc32(typed.data(), typed.size()));
}

// The rows as a zlib stream of stored (uncompressed) deflate blocks.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    constexpr size_t kMaxStored = 65535;
    size_t at = 0;
    do {
        const size_t n = std::min(kMaxStored, raw.size() - at);
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back(static_cast<uint8_t>(n));
        out.push_back(static_cast<uint8_t>(n >> 8));
        out.push_back(static_cast<uint8_t>(~n));
        out.push_back(static_cast<uint8_t>(~n >> 8));
        out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(at), raw.begin() + static_cast<ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(&out, (b << 16) | a);
    return out;
}

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

Bytes EncodePng(int width, int height, const Bytes& rgb) {
    Bytes rows;
    const size_t rowSize = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        const auto row = rgb.begin() + static_cast<ptrdiff_t>(rowSize * static_cast<size_t>(y));
        rows.insert(rows.end(), row, row + static_cast<ptrdiff_t>(rowSize));
    }
    Bytes header;
    PutBigEndian(&header, static_cast<uint32_t>(width));
    PutBigEndian(&header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(&png, "IHDR", header);
    PutChunk(&png, "IDAT", StoredZlib(rows));
    PutChunk(&png, "IEND", {});
    return png;
}

Bytes SkinPicture() {
    Bytes rgb;
    for (int y = 0; y < kSkinSize; ++y)
        for (int x = 0; x < kSkinSize; ++x) {
            const int shade = 96 + (x + y) * 64 / (2 * kSkinSize);
            rgb.insert(rgb.end(), {static_cast<uint8_t>(shade), static_cast<uint8_t>(shade + 16),
                                   static_cast<uint8_t>(shade + 48)});
        }
    return EncodePng(kSkinSize, kSkinSize, rgb);
}

void ServeSkinPicture(Gateway& gateway) {
    const Bytes picture = SkinPicture();
    PayloadWriter answer;
    answer.Int(kPngType).Int(kSkinSize).Int(kSkinSize).Int(static_cast<int32_t>(picture.size()));
    answer.Raw(picture.data(), picture.size());
    gateway.Answer(kPlainPictureRequest, answer);
}

}  // namespace samplegateway
