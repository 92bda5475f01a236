// The sound and video engine's work per picture and per sound buffer, beside what it is measured
// against. Prints the ratios it aims at: a 352 x 240 MPEG-2 picture decoded, converted to RGB565
// and scaled over an 800 x 600 back buffer in under 20 copies of that buffer; one 40 ms buffer
// of 16-bit mono at 11025 samples a second filled and its volume applied in under 1/1000 of its
// playing time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "av/framescaler.h"
#include "av/mpegdecoder.h"
#include "av/videostreambuffer.h"
#include "av/wavebuffer.h"
#include "ratio_collector.h"
#include "samplegateway/cameravideo.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;
constexpr size_t kPixels = size_t{kW} * kH;
constexpr int kBufferBytes = 882;  // 40 ms
constexpr double kBufferPlayingNs = 40e6;
constexpr int kGain = 2;

void CopyBackBuffer(benchmark::State& state) {
    std::vector<uint16_t> from(kPixels, 1), to(kPixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kPixels * 2);
        benchmark::ClobberMemory();
    }
}

// The sample camera's file in a loop, a picture an iteration.
void DecodeAndScale(benchmark::State& state) {
    const std::span<const uint8_t> file = samplegateway::CameraVideo352x240();
    CVideoStreamBuffer buffer;
    CMpegDecoder decoder;
    CFrameScaler scaler;
    std::vector<uint16_t> back(kPixels);
    for (auto _ : state) {
        CMpegPicture picture;
        for (;;) {
            if (buffer.GetFill() < CMpegDecoder::kFeedSize) {
                buffer.Reset();
                decoder.Reset();
                buffer.Append(file.data(), static_cast<int>(file.size()));
            }
            if (decoder.Decode(buffer, false, false, &picture)) break;
        }
        scaler.Scale(picture.pixels, picture.width, picture.height, picture.stride, back.data(), kW, kH, kW);
        benchmark::ClobberMemory();
    }
}

void FillSoundBuffer(benchmark::State& state) {
    std::vector<uint8_t> samples(kBufferBytes);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<uint8_t>(i * 37);
    CWaveBuffer buffer(nullptr);
    for (auto _ : state) {
        buffer.SetData(samples.data(), kBufferBytes);
        buffer.ApplyGain(kGain);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(CopyBackBuffer);
BENCHMARK(DecodeAndScale);
BENCHMARK(FillSoundBuffer);

void PrintRatio(const char* name, double ratio, const char* base, double aim) {
    std::printf("%-16s %8.4fx %-22s (aim %.4fx)%s\n", name, ratio, base, aim, ratio <= aim ? "" : "  MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    auto& t = collector.times;
    std::printf("\n");
    if (t.count("DecodeAndScale") && t.count("CopyBackBuffer"))
        PrintRatio("DecodeAndScale", t["DecodeAndScale"] / t["CopyBackBuffer"], "back-buffer copies", 20);
    if (t.count("FillSoundBuffer"))
        PrintRatio("FillSoundBuffer", t["FillSoundBuffer"] / kBufferPlayingNs, "of its playing time", 0.001);
    return 0;
}
