#include "core/zvtext.h"

#include "platform/cp1252.h"

namespace {

// An odd trailing byte is not a character.
std::u16string DecodeUtf16Le(std::span<const uint8_t> bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return text;
}

}  // namespace

void AssignText(std::string& out, std::span<const uint8_t> bytes, bool wide) {
    if (wide)
        out = platform::Utf16ToCp1252(DecodeUtf16Le(bytes));
    else
        out.assign(bytes.begin(), bytes.end());
}

void AssignText(std::u16string& out, std::span<const uint8_t> bytes, bool wide) {
    if (wide) {
        out = DecodeUtf16Le(bytes);
    } else {
        std::string narrow(bytes.begin(), bytes.end());
        out = platform::Cp1252ToUtf16(narrow);
    }
}
