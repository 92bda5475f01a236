#pragma once
// The audio zones' volume and mute, and the levels of the house's audio
// objects: each zone starts at level 30, unmuted; a set level is kept and
// told back; the zone rocker's presses move the level by 5. The levels of an
// audio object (object 77 starts with level 40 at index 0 and mode 0 in
// group 0) are answered, and each one set is told to every sink.
namespace samplegateway {

class Gateway;

inline constexpr int kStartZoneLevel = 30;
inline constexpr int kRockerStep = 5;

void ServeVolumes(Gateway& gateway);

}  // namespace samplegateway
