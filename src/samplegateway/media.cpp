#include "samplegateway/media.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kAmplitude = 12000;

// A click: a few milliseconds of a falling high tone.
std::vector<int16_t> Click() {
    std::vector<int16_t> samples;
    const int count = kClipRate * 8 / 1000;
    for (int i = 0; i < count; ++i)
        samples.push_back(
            static_cast<int16_t>(kAmplitude * (count - i) / count * std::sin(2 * kPi * 2500.0 * i / kClipRate)));
    return samples;
}

std::vector<int16_t> Samples(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "click1.wav" || lower == "click2.wav" || lower == "bleep10.wav") return Click();
    std::vector<int16_t> samples;
    if (lower == "connect.wav") {
        AppendTone(samples, {660, 120});
        AppendTone(samples, {880, 160});
    } else if (lower == "disconnect.wav") {
        AppendTone(samples, {880, 120});
        AppendTone(samples, {660, 160});
    } else {
        AppendTone(samples, {740, 150});
    }
    return samples;
}

void PutU16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(Bytes& out, uint32_t v) {
    PutU16(out, static_cast<uint16_t>(v));
    PutU16(out, static_cast<uint16_t>(v >> 16));
}

void PutTag(Bytes& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

void AppendTone(std::vector<int16_t>& samples, Tone tone) {
    const int count = kClipRate * tone.milliseconds / 1000;
    for (int i = 0; i < count; ++i) {
        // A short fade at both ends keeps the tone from clicking.
        const double fade = std::min({1.0, i / 80.0, (count - i) / 80.0});
        samples.push_back(static_cast<int16_t>(kAmplitude * fade * std::sin(2 * kPi * tone.hertz * i / kClipRate)));
    }
}

Bytes ClipFile(std::string_view name) {
    const std::vector<int16_t> samples = Samples(name);
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    Bytes file;
    PutTag(file, "RIFF");
    PutU32(file, 36 + dataBytes);
    PutTag(file, "WAVE");
    PutTag(file, "fmt ");
    PutU32(file, 16);
    PutU16(file, 1);  // PCM
    PutU16(file, 1);  // mono
    PutU32(file, kClipRate);
    PutU32(file, kClipRate * 2);
    PutU16(file, 2);
    PutU16(file, 16);
    PutTag(file, "data");
    PutU32(file, dataBytes);
    for (int16_t s : samples) PutU16(file, static_cast<uint16_t>(s));
    return file;
}

void ServeMedia(Gateway& gateway) {
    gateway.On(ZVM_SOUND_GETCLIPQ, [](const Frame& request) {
        PayloadReader reader(request.payload);
        std::string name;
        reader.String(&name);
        return std::vector<Frame>{{request.sender, ZVM_SOUND_GETCLIPA, ClipFile(name)}};
    });
}

}  // namespace samplegateway
