#pragma once
// The sample house's internet radio, which the Patio plays at start: its kind word
// carries a feature bit the radio pages do not use; every two seconds the
// stream's bit rate moves one step through the quality table, pushed to the
// sinks that listen to a zone playing it. "Listen" on a station of the radio
// directory plays that station, and the zone that asked (which then plays the
// internet radio) hears the stream too.
#include <cstdint>
#include <memory>

namespace samplegateway {

class Gateway;
class Pacer;
class RadioDirectory;
class ZoneSources;

inline constexpr int32_t kInternetRadioKind = 3001;
inline constexpr int32_t kRadioKindWord = kInternetRadioKind | 0x40000000;
constexpr const char* kRadioStation = "Harbour Jazz FM";

// It answers only for the zones that play it, and pushes to the sinks that listen to them.
void ServeRadio(Gateway& gateway, Pacer& pacer, std::shared_ptr<const RadioDirectory> directory,
                std::shared_ptr<const ZoneSources> zones);

}  // namespace samplegateway
