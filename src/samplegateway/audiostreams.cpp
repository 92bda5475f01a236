#include "samplegateway/audiostreams.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "av/mulaw.h"
#include "core/messages/mediamessages.h"
#include "platform/wave.h"
#include "samplegateway/gateway.h"
#include "samplegateway/media.h"
#include "samplegateway/pacer.h"

namespace samplegateway {
namespace {

size_t AcceptedLogins(const Gateway& gateway) {
    const std::vector<LoginRecord> logins = gateway.Logins();
    return static_cast<size_t>(
        std::count_if(logins.begin(), logins.end(), [](const LoginRecord& login) { return login.accepted; }));
}

// The announcements after each login and the one stream the tablet plays.
class AudioStreams {
public:
    explicit AudioStreams(Gateway& gateway) : gateway_(gateway) {}

    void Step(uint32_t now_ms) {
        std::lock_guard lock(mutex_);
        const size_t logins = AcceptedLogins(gateway_);
        if (logins > logins_) {
            logins_ = logins;
            login_ms_ = now_ms;
            announced_ = 0;
        }
        if (login_ms_ && announced_ < 2 && now_ms - *login_ms_ >= kAnnouncementDelayMs * (announced_ + 1)) {
            gateway_.Push(ZVM_AUDIO_PLAYSOURCE, PayloadWriter().Int(kAnnouncedPcmSource + announced_));
            ++announced_;
        }
        if (playing_ && !playing_->Send(gateway_, now_ms)) {
            gateway_.Push(ZVM_AUDIO_STREAMEND, {}, playing_->Sink());
            playing_.reset();
        }
    }

    // {source, the player's sink} -> the format; the source starts playing at once.
    std::vector<Frame> Open(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t source = 0, sink = 0;
        reader.Int(&source) && reader.Int(&sink);
        std::lock_guard lock(mutex_);
        playing_.emplace(static_cast<uint16_t>(sink), ChimeSamples(), source == kAnnouncedMuLawSource, false);
        return {{request.sender, ZVM_AUDIO_OPENSTREAMA, StreamFormat()}};
    }

    void Stop() {
        std::lock_guard lock(mutex_);
        playing_.reset();
    }

private:
    Gateway& gateway_;
    std::mutex mutex_;
    size_t logins_ = 0;
    std::optional<uint32_t> login_ms_;
    int announced_ = 0;
    std::optional<SampleFeed> playing_;
};

}  // namespace

Bytes StreamFormat() {
    const platform::WaveFormat format = {platform::WaveFormat::kPcm, 1, kClipRate, 2 * kClipRate, 2, 16, 0};
    uint8_t bytes[platform::WaveFormat::kWireSize];
    format.ToBytes(bytes);
    return PayloadWriter().Raw(bytes, sizeof bytes);
}

std::vector<int16_t> ChimeSamples() {
    std::vector<int16_t> samples;
    AppendTone(samples, {784, 500});
    AppendTone(samples, {659, 500});
    AppendTone(samples, {523, 1000});
    return samples;
}

SampleFeed::SampleFeed(uint16_t sink, std::vector<int16_t> samples, bool mulaw, bool loop)
    : sink_(sink), samples_(std::move(samples)), mulaw_(mulaw), loop_(loop) {}

bool SampleFeed::Send(Gateway& gateway, uint32_t now_ms) {
    if (!next_ms_) next_ms_ = now_ms;
    while (static_cast<int32_t>(now_ms - *next_ms_) >= 0) {
        if (sent_ >= samples_.size()) {
            if (!loop_ || samples_.empty()) return false;
            sent_ = 0;
        }
        const size_t count = std::min<size_t>(kChunkSamples, samples_.size() - sent_);
        gateway.Push(mulaw_ ? ZVM_AUDIO_STREAMULAW : ZVM_AUDIO_STREAMPCM, Chunk(sent_, count), sink_);
        sent_ += count;
        *next_ms_ += kChunkMs;
    }
    return loop_ || sent_ < samples_.size();
}

Bytes SampleFeed::Chunk(size_t first, size_t count) const {
    Bytes bytes;
    for (size_t i = first; i < first + count; ++i) {
        if (mulaw_) {
            bytes.push_back(EncodeMuLaw(samples_[i]));
        } else {
            const auto sample = static_cast<uint16_t>(samples_[i]);
            bytes.push_back(static_cast<uint8_t>(sample));
            bytes.push_back(static_cast<uint8_t>(sample >> 8));
        }
    }
    return PayloadWriter().Int(static_cast<int32_t>(bytes.size())).Raw(bytes.data(), bytes.size());
}

void ServeAudioStreams(Gateway& gateway, Pacer& pacer) {
    auto streams = std::make_shared<AudioStreams>(gateway);
    pacer.Add([streams](uint32_t now_ms) { streams->Step(now_ms); });
    gateway.On(ZVM_AUDIO_OPENSTREAMQ, [streams](const Frame& request) { return streams->Open(request); });
    gateway.On(ZVM_AUDIO_STOPSTREAM, [streams](const Frame&) {
        streams->Stop();
        return std::vector<Frame>{};
    });
}

}  // namespace samplegateway
