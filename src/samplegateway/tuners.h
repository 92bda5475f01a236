#pragma once
// The sample house's radio tuners: the AM/FM tuners (3100, 3104 and 3106 with sub-channels) and
// the channel-numbered radios (3101, 3105), each with its own band, frequency or channel and
// station favourites. A zone plays a tuner once the tablet chose it (0x0FF0); its status (0x10E7,
// pushed as 0x0FA2) follows every band, tune and seek command, favourites changes are pushed as
// 0x0FA9 (both to the sinks that listen to a zone playing the tuner), and the channel radios
// offer genres and their stations.
#include <cstdint>
#include <memory>

namespace samplegateway {

class Gateway;
class ZoneSources;

// The source ids of the house's tuners, as its zone list names them.
inline constexpr int32_t kLivingFmTuner = 12;
inline constexpr int32_t kLivingSatellite = 13;
inline constexpr int32_t kPatioEuroTuner = 26;
inline constexpr int32_t kPatioDigitalFm = 27;
inline constexpr int32_t kPatioCableRadio = 28;
// The kind words of the Patio's tuners.
inline constexpr int32_t kDigitalFmKind = 3106 | 0x20000;
inline constexpr int32_t kCableRadioKind = 3105 | 0x10000;

void ServeTuners(Gateway& gateway, std::shared_ptr<const ZoneSources> zones);

}  // namespace samplegateway
