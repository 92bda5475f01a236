#pragma once
// The sample house's sounds: every clip the tablet asks for by name is a
// RIFF WAV file (16-bit mono, 11025 samples a second) made in code: a click
// for the button sounds, two tones for the connection sounds, a short tone
// for any other name.
#include <string_view>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

constexpr uint16_t kClipRequest = 0x23F0;
constexpr int kClipRate = 11025;

// The WAV file served for the clip's name.
Bytes ClipFile(std::string_view name);

void ServeMedia(Gateway& gateway);

}  // namespace samplegateway
