#pragma once
// The sample house's recorder (DVR source 20): its stream opens as stream 300 (the pictures come
// from the cameras), playback requests are answered and reported to the stream's window as
// playback events, and its recordings are a ten-minute clip at the start of every hour of the
// last day, every third one with motion.
#include <cstdint>

namespace samplegateway {

class Gateway;

constexpr int32_t kRecorderId = 20;
constexpr int32_t kRecorderStream = 300;
constexpr int kClipMinutes = 10;

void ServeDvr(Gateway& gateway);

}  // namespace samplegateway
