#include "basinsetup/bitutils.h"

#include <cctype>

namespace {

// Leading blanks, then digits up to the end or the next dot; -1 for anything
// else or a number above limit.
long ReadNumber(const std::string& text, size_t& at, long limit) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    long value = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        value = value * 10 + (text[at] - '0');
        if (value > limit)
            return -1;
        ++at;
    }
    return at == text.size() || text[at] == '.' ? value : -1;
}

}  // namespace

int GetBit(uint8_t byte, int bit) {
    return bit >= 0 && bit < 8 ? (byte >> bit) & 1 : 0;
}

void SetBit(uint8_t& byte, int bit, int on) {
    if (bit < 0 || bit >= 8)
        return;
    const uint8_t mask = static_cast<uint8_t>(1u << bit);
    byte = static_cast<uint8_t>(on ? byte | mask : byte & ~mask);
}

uint32_t ParseDottedQuad(const std::string& text) {
    uint32_t address = 0;
    size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        long number = ReadNumber(text, at, 255);
        if (number < 0)
            return 0;
        address |= static_cast<uint32_t>(number) << (8 * part);
        if (at == text.size() || part == 3)
            break;
        ++at;  // the dot
    }
    return address;
}

int ParseHostPort(const std::string& text, uint32_t& address, uint16_t& port) {
    std::string host = text;
    long number = 80;
    size_t colon = text.find(':');
    if (colon != std::string::npos) {
        host = text.substr(0, colon);
        // Like atol: the digits up to the first other character.
        number = 0;
        for (size_t at = colon + 1; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at) {
            number = number * 10 + (text[at] - '0');
            if (number > 65535)
                return 0;
        }
        if (number == 0)
            return 0;
    }
    uint32_t parsed = ParseDottedQuad(host);
    if (parsed == 0)
        return 0;
    address = parsed;
    port = static_cast<uint16_t>(number);
    return 1;
}
