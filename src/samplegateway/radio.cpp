#include "samplegateway/radio.h"

#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

// Stream bit rates through the quality table, best first; the stream arrives at half its rate.
constexpr std::array<int32_t, 7> kStreamRates = {192000, 128000, 112000, 64000, 32000, 16000, 8000};
constexpr int32_t kFrequency = 44100;
constexpr int32_t kLevel = 60;

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

void ServeRadio(Gateway& gateway) {
    auto step = std::make_shared<std::atomic<int>>(0);
    gateway.AlsoOn(ZVM_AUDIO_GETSOURCESTATUSQ, [step](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone) || zone != kRadioZone) return {};
        return {{request.sender, ZVM_AUDIO_GETSOURCESTATUSA, Status((*step)++)}};
    });
}

}  // namespace samplegateway
