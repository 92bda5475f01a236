#pragma once
// Every 8-bit text of the system is Windows-1252; the 16-bit form is UTF-16.
// Both directions go through one table, never through the C locale, so the
// result does not depend on the machine's settings.
#include <cstdint>

namespace platform {

// The UTF-16 unit of a Windows-1252 byte. Always succeeds: the five bytes that
// Windows-1252 leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// control of the same value, so every byte survives a round trip.
char16_t Cp1252ToUtf16(uint8_t byte);

// The Windows-1252 byte of a UTF-16 unit; false (and *byte untouched) when the
// character has no byte in Windows-1252.
bool Utf16ToCp1252(char16_t unit, uint8_t* byte);

}  // namespace platform
