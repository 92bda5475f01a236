#pragma once
// The sample house's intercom: the Kitchen (5), the Garage (6, unavailable) and the Front Door
// (7). What the tablet says to a station is kept and played back a second after it stops
// talking, so the user hears the microphone; listening to a station plays a tone until the
// tablet lets go; an incoming call from the Kitchen, on cue, lasts ten seconds.
#include <cstdint>

namespace samplegateway {

class Gateway;
class Pacer;

inline constexpr int kIntercomCaller = 5;
inline constexpr int kUnavailableStation = 6;
inline constexpr uint32_t kEchoDelayMs = 1000;
inline constexpr uint32_t kCallLengthMs = 10000;
inline constexpr uint32_t kToneStepMs = 100;

void ServeIntercom(Gateway& gateway, Pacer& pacer);
// A call from the Kitchen on the gateway's intercom: pushed at the pacer's next step, ended ten
// seconds later. False when the gateway serves no intercom.
bool RingIntercom(Gateway& gateway);

}  // namespace samplegateway
