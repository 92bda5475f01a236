#include "samplegateway/radio.h"

#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/pacer.h"

namespace samplegateway {
namespace {

// Stream bit rates through the quality table, best first; the stream arrives at half its rate.
constexpr std::array<int32_t, 7> kStreamRates = {192000, 128000, 112000, 64000, 32000, 16000, 8000};
constexpr int32_t kFrequency = 44100;
constexpr int32_t kLevel = 60;
constexpr uint32_t kStatusIntervalMs = 2000;

Bytes Status(int step) {
    const int32_t rate = kStreamRates[static_cast<size_t>(step) % kStreamRates.size()];
    return PayloadWriter()
        .Int(kRadioKindWord)
        .String(kRadioStation)
        .String("Blue in Green")
        .String("Bill Evans Trio")
        .String("Buffer")
        .Int(rate)
        .Int(rate / 2)
        .Int(kFrequency)
        .Int(kLevel)
        .Int(0x20)
        .Int(0xA0)
        .Int(0x40)
        .Int(0);
}

}  // namespace

void ServeRadio(Gateway& gateway, Pacer& pacer) {
    auto step = std::make_shared<std::atomic<int>>(0);
    gateway.AlsoOn(ZVM_AUDIO_GETSOURCESTATUSQ, [step](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone) || zone != kRadioZone) return {};
        return {{request.sender, ZVM_AUDIO_GETSOURCESTATUSA, Status(*step)}};
    });
    // Every two seconds the stream's rate moves a step, and the new status goes to everyone.
    auto next = std::make_shared<uint32_t>(0);
    auto started = std::make_shared<bool>(false);
    Gateway* to = &gateway;
    pacer.Add([to, step, next, started](uint32_t now_ms) {
        if (!*started) {
            *started = true;
            *next = now_ms + kStatusIntervalMs;
            return;
        }
        if (static_cast<int32_t>(now_ms - *next) < 0) return;
        *next = now_ms + kStatusIntervalMs;
        to->Push(ZVM_AUDIO_SOURCESTATUSCHANGED, Status(++*step));
    });
}

}  // namespace samplegateway
