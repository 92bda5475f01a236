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
    explicit AudioStreams(Gateway& gateway) : m_gateway(gateway) {}

    void Step(uint32_t now_ms) {
        std::lock_guard lock(m_mutex);
        const size_t logins = AcceptedLogins(m_gateway);
        if (logins > m_logins) {
            m_logins = logins;
            m_loginMs = now_ms;
            m_announced = 0;
        }
        if (m_loginMs && m_announced < 2 && now_ms - *m_loginMs >= kAnnouncementDelayMs * (m_announced + 1)) {
            m_gateway.Push(ZVM_AUDIO_PLAYSOURCE, PayloadWriter().Int(kAnnouncedPcmSource + m_announced));
            ++m_announced;
        }
        if (m_playing && !m_playing->Send(m_gateway, now_ms)) {
            m_gateway.Push(ZVM_AUDIO_STREAMEND, {}, m_playing->Sink());
            m_playing.reset();
        }
    }

    // {source, the player's sink} -> the format; the source starts playing at once.
    std::vector<Frame> Open(const Frame& request) {
        PayloadReader reader(request.payload);
        int32_t source = 0, sink = 0;
        reader.Int(&source) && reader.Int(&sink);
        std::lock_guard lock(m_mutex);
        m_playing.emplace(static_cast<uint16_t>(sink), ChimeSamples(), source == kAnnouncedMuLawSource, false);
        return {{request.sender, ZVM_AUDIO_OPENSTREAMA, StreamFormat()}};
    }

    void Stop() {
        std::lock_guard lock(m_mutex);
        m_playing.reset();
    }

private:
    Gateway& m_gateway;
    std::mutex m_mutex;
    size_t m_logins = 0;
    std::optional<uint32_t> m_loginMs;
    int m_announced = 0;
    std::optional<SampleFeed> m_playing;
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
    : m_sink(sink), m_samples(std::move(samples)), m_mulaw(mulaw), m_loop(loop) {}

bool SampleFeed::Send(Gateway& gateway, uint32_t now_ms) {
    if (!m_nextMs) m_nextMs = now_ms;
    while (static_cast<int32_t>(now_ms - *m_nextMs) >= 0) {
        if (m_sent >= m_samples.size()) {
            if (!m_loop || m_samples.empty()) return false;
            m_sent = 0;
        }
        const size_t count = std::min<size_t>(kChunkSamples, m_samples.size() - m_sent);
        gateway.Push(m_mulaw ? ZVM_AUDIO_STREAMULAW : ZVM_AUDIO_STREAMPCM, Chunk(m_sent, count), m_sink);
        m_sent += count;
        *m_nextMs += kChunkMs;
    }
    return m_loop || m_sent < m_samples.size();
}

Bytes SampleFeed::Chunk(size_t first, size_t count) const {
    Bytes bytes;
    for (size_t i = first; i < first + count; ++i) {
        if (m_mulaw) {
            bytes.push_back(EncodeMuLaw(m_samples[i]));
        } else {
            const auto sample = static_cast<uint16_t>(m_samples[i]);
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
