#pragma once
// A wave device on the null sound system and the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "av/wavdevice.h"
#include "null_wave.h"
#include "virtual_clock.h"

inline platform::WaveFormat Pcm(uint32_t rate, uint16_t bits = 16, uint16_t channels = 1) {
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    return {.formatTag = platform::WaveFormat::kPcm, .channels = channels, .samplesPerSec = rate,
            .avgBytesPerSec = rate * align, .blockAlign = align, .bitsPerSample = bits};
}

inline std::vector<uint8_t> Samples16(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        bytes.push_back(static_cast<uint8_t>(s));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
    }
    return bytes;
}

class WaveFixture : public ::testing::Test {
protected:
    testsupport::VirtualClock clock;
    testsupport::NullWaveBackend backend;
    platform::WaveFormat format = Pcm(11025);
};
