#pragma once
// The sample house's sounds: every clip the tablet asks for by name is a
// RIFF WAV file (16-bit mono, 11025 samples a second) made in code: a click
// for the button sounds, two tones for the connection sounds, a short tone
// for any other name.
#include <cstdint>
#include <string_view>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

constexpr int kClipRate = 11025;

struct Tone {
    double hertz;
    int milliseconds;
};

// Appends the tone at kClipRate, faded in and out so that it does not click.
void AppendTone(std::vector<int16_t>& samples, Tone tone);
// The WAV file served for the clip's name.
Bytes ClipFile(std::string_view name);

void ServeMedia(Gateway& gateway);

}  // namespace samplegateway
