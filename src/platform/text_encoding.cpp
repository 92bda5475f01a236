#include "platform/text_encoding.h"

#include <array>

namespace platform {
namespace {

// Bytes 0x80 to 0x9F; every other byte is the character of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr bool InTable(unsigned value) { return value >= 0x80 && value <= 0x9F; }

}  // namespace

char16_t Cp1252ToUtf16(uint8_t byte) {
    return InTable(byte) ? kHighControls[byte - 0x80] : static_cast<char16_t>(byte);
}

bool Utf16ToCp1252(char16_t unit, uint8_t* byte) {
    if (unit <= 0xFF && !InTable(unit)) {
        *byte = static_cast<uint8_t>(unit);
        return true;
    }
    for (unsigned i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) {
            *byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace platform
