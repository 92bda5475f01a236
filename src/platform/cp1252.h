#pragma once
// Every 8-bit text of the system is Windows-1252; the 16-bit form is UTF-16.
// The conversions use this fixed table, never the C locale.
#include <string>
#include <string_view>

namespace platform {

std::u16string Cp1252ToUtf16(std::string_view text);

// Characters that Windows-1252 cannot show become '?', one per character
// (a surrogate pair counts as one).
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace platform
