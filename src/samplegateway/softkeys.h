#pragma once
// The sample house's "Cable Box" (source type 3102): three pages of soft
// keys, the last with only three captions. The key presses themselves
// (ZVM_AUDIO_SOURCECOMMAND) are only noted with the other source commands.
#include <cstdint>

namespace samplegateway {

class Gateway;

// The key list the cable box answers for the tablet's first request.
constexpr int32_t kCableBoxKeyList = 7001;
constexpr int32_t kCableBoxPages = 3;

void ServeSoftKeys(Gateway& gateway);

}  // namespace samplegateway
