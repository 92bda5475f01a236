#pragma once
// Every 8-bit text of the system is Windows-1252; the 16-bit form is UTF-16.
// The conversions use this fixed table, never the C locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// One character each way. The byte's character always exists; a character
// that has no byte gives false and leaves *byte untouched.
char16_t Cp1252CharToUtf16(uint8_t byte);
bool Utf16CharToCp1252(char16_t unit, uint8_t* byte);

std::u16string Cp1252ToUtf16(std::string_view text);

// Characters that Windows-1252 cannot show become '?', one per character
// (a surrogate pair counts as one).
std::string Utf16ToCp1252(std::u16string_view text);

}  // namespace platform
