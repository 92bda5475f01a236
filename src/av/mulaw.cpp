#include "av/mulaw.h"

#include <array>

namespace {

constexpr int kClip = 32635;
constexpr int kBias = 132;

// The segment of a biased magnitude by its bits 7 to 14: the position of
// their highest set bit (0, 0, 1, 1, four 2s, eight 3s, ..., 128 7s).
constexpr std::array<uint8_t, 256> kSegments = [] {
    std::array<uint8_t, 256> table{};
    for (int i = 2; i < 256; ++i) table[i] = static_cast<uint8_t>(table[i / 2] + 1);
    return table;
}();

}  // namespace

uint8_t EncodeMuLaw(int16_t sample) {
    const int sign = sample < 0 ? 0x80 : 0;
    int magnitude = sample < 0 ? -static_cast<int>(sample) : sample;
    magnitude = (magnitude > kClip ? kClip : magnitude) + kBias;
    const int exponent = kSegments[(magnitude >> 7) & 0xFF];
    const int mantissa = (magnitude >> (exponent + 3)) & 0x0F;
    const auto code = static_cast<uint8_t>(~(sign | exponent << 4 | mantissa));
    return code == 0 ? 0x02 : code;
}

int16_t DecodeMuLaw(uint8_t code) {
    const int u = static_cast<uint8_t>(~code);
    const int value = ((((u & 0x0F) << 3) + kBias) << ((u >> 4) & 7)) - kBias;
    return static_cast<int16_t>(u & 0x80 ? -value : value);
}
