#include "sentinax/base64coder.h"

#include <array>
#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr int8_t kInvalid = -1;
constexpr int8_t kFill = -2;

constexpr std::array<int8_t, 256> BuildDecodeTable() {
    std::array<int8_t, 256> table{};
    for (int8_t& value : table) value = kInvalid;
    for (int8_t value = 0; value < 64; ++value) {
        const auto code = static_cast<uint8_t>(kAlphabet[value]);
        table[code] = value;
        table[code | 0x80] = value;
    }
    table['='] = kFill;
    return table;
}

constexpr std::array<int8_t, 256> kDecodeTable = BuildDecodeTable();

bool IsWhitespace(uint8_t code) { return (code >= 7 && code <= 13) || code == ' '; }

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t left = bytes.size() - at;
        uint32_t group = static_cast<uint8_t>(bytes[at]) << 16;
        if (left > 1) group |= static_cast<uint8_t>(bytes[at + 1]) << 8;
        if (left > 2) group |= static_cast<uint8_t>(bytes[at + 2]);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}

std::optional<std::string> Base64Decode(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3 + 3);
    uint32_t group = 0;
    int digits = 0;  // in the group being read
    int fill = 0;    // '=' seen; only more fill and white space may follow
    for (const char c : text) {
        const auto code = static_cast<uint8_t>(c);
        if (IsWhitespace(code)) continue;
        const int8_t value = kDecodeTable[code];
        if (value == kInvalid) return std::nullopt;
        if (value == kFill) {
            // Fill completes a group of two or three characters.
            if (digits + fill < 2 || digits + fill >= 4) return std::nullopt;
            ++fill;
            continue;
        }
        if (fill) return std::nullopt;
        group = group << 6 | static_cast<uint32_t>(value);
        if (++digits == 4) {
            bytes += static_cast<char>(group >> 16);
            bytes += static_cast<char>(group >> 8);
            bytes += static_cast<char>(group);
            group = 0;
            digits = 0;
        }
    }
    if (digits == 1) return std::nullopt;
    if (fill && digits + fill != 4) return std::nullopt;
    if (digits >= 2) bytes += static_cast<char>(group >> (digits == 2 ? 4 : 10));
    if (digits == 3) bytes += static_cast<char>(group >> 2);
    return bytes;
}
