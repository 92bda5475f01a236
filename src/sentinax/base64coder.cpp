#include "sentinax/base64coder.h"

#include <cstdint>

std::string Base64Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t left = bytes.size() - at;
        uint32_t group = static_cast<uint8_t>(bytes[at]) << 16;
        if (left > 1)
            group |= static_cast<uint8_t>(bytes[at + 1]) << 8;
        if (left > 2)
            group |= static_cast<uint8_t>(bytes[at + 2]);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}
