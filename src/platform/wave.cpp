#include "platform/wave.h"

#include <atomic>
#include <cstring>

namespace platform {

WaveBackend& SdlWaveBackend();

namespace {

std::atomic<WaveBackend*> g_installed{nullptr};

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Read32(const uint8_t* p) { return Read16(p) | static_cast<uint32_t>(Read16(p + 2)) << 16; }
void Write16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Write32(uint8_t* p, uint32_t v) {
    Write16(p, static_cast<uint16_t>(v));
    Write16(p + 2, static_cast<uint16_t>(v >> 16));
}

constexpr uint32_t kFullVolume = 0xFFFF;

}  // namespace

WaveFormat WaveFormat::FromBytes(const uint8_t* bytes) {
    WaveFormat format;
    format.formatTag = Read16(bytes);
    format.channels = Read16(bytes + 2);
    format.samplesPerSec = Read32(bytes + 4);
    format.avgBytesPerSec = Read32(bytes + 8);
    format.blockAlign = Read16(bytes + 12);
    format.bitsPerSample = Read16(bytes + 14);
    format.extraSize = Read16(bytes + 16);
    return format;
}

void WaveFormat::ToBytes(uint8_t* bytes) const {
    Write16(bytes, formatTag);
    Write16(bytes + 2, channels);
    Write32(bytes + 4, samplesPerSec);
    Write32(bytes + 8, avgBytesPerSec);
    Write16(bytes + 12, blockAlign);
    Write16(bytes + 14, bitsPerSample);
    Write16(bytes + 16, extraSize);
}

WaveBackend& Wave() {
    WaveBackend* backend = g_installed.load(std::memory_order_acquire);
    return backend ? *backend : SdlWaveBackend();
}

WaveBackend* InstallWaveBackend(WaveBackend* backend) { return g_installed.exchange(backend); }

void CopyWithVolume(const WaveFormat& format, uint32_t leftRight, const uint8_t* source, uint8_t* target,
                    uint32_t count) {
    if (count == 0) return;
    const int32_t left = static_cast<int32_t>(leftRight & kFullVolume);
    const int32_t right = static_cast<int32_t>(leftRight >> 16);
    const bool stereo = format.channels >= 2;
    const bool full = left == static_cast<int32_t>(kFullVolume) && (!stereo || right == left);
    if (full || (format.bitsPerSample != 8 && format.bitsPerSample != 16)) {
        std::memmove(target, source, count);
        return;
    }
    auto volumeOf = [&](uint32_t sample) { return stereo && sample % format.channels == 1 ? right : left; };
    if (format.bitsPerSample == 8) {
        for (uint32_t i = 0; i < count; ++i)
            target[i] = static_cast<uint8_t>((source[i] - 128) * volumeOf(i) / static_cast<int32_t>(kFullVolume) + 128);
        return;
    }
    const uint32_t samples = count / 2;
    for (uint32_t i = 0; i < samples; ++i) {
        const int32_t value = static_cast<int16_t>(Read16(source + 2 * i));
        Write16(target + 2 * i, static_cast<uint16_t>(value * volumeOf(i) / static_cast<int32_t>(kFullVolume)));
    }
    if (count % 2) target[count - 1] = source[count - 1];
}

}  // namespace platform
