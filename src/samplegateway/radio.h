#pragma once
// The sample house's internet radio, which the Patio plays: its kind word
// carries a feature bit the radio pages do not use; each status the tablet
// asks for moves the stream's bit rate one step through the quality table.
#include <cstdint>

namespace samplegateway {

class Gateway;

constexpr int32_t kRadioZone = 2;
constexpr int32_t kRadioKindWord = 3001 | 0x40000000;
constexpr const char* kRadioStation = "Harbour Jazz FM";

void ServeRadio(Gateway& gateway);

}  // namespace samplegateway
