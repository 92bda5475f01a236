#include "platform/cp1252.h"

#include <array>
#include <cstdint>

namespace platform {
namespace {

// 0x80..0x9F; the five bytes the code page leaves undefined map to the C1
// control of the same value, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

char16_t Cp1252CharToUtf16(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

bool Utf16CharToCp1252(char16_t unit, uint8_t* byte) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        *byte = static_cast<uint8_t>(unit);
        return true;
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit) {
            *byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (char c : text)
        result.push_back(Cp1252CharToUtf16(static_cast<uint8_t>(c)));
    return result;
}

std::string Utf16ToCp1252(std::u16string_view text) {
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
            ++i;
        uint8_t byte = '?';
        Utf16CharToCp1252(text[i], &byte);
        result.push_back(static_cast<char>(byte));
    }
    return result;
}

}  // namespace platform
