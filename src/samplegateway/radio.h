#pragma once
// The sample house's internet radio, which the Patio plays: its kind word
// carries a feature bit the radio pages do not use; every two seconds the
// stream's bit rate moves one step through the quality table, pushed to all.
// "Listen" on a station of the radio directory plays that station, and the
// zone that asked hears the stream too.
#include <cstdint>
#include <memory>

namespace samplegateway {

class Gateway;
class Pacer;
class RadioDirectory;

constexpr int32_t kRadioZone = 2;
constexpr int32_t kRadioKindWord = 3001 | 0x40000000;
constexpr const char* kRadioStation = "Harbour Jazz FM";

void ServeRadio(Gateway& gateway, Pacer& pacer, std::shared_ptr<const RadioDirectory> directory);

}  // namespace samplegateway
