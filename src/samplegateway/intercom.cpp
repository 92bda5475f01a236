#include "samplegateway/intercom.h"

#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <numbers>
#include <optional>

#include "core/messages/mediamessages.h"
#include "platform/wave.h"
#include "samplegateway/gateway.h"
#include "samplegateway/pacer.h"
#include "samplegateway/wire.h"

namespace samplegateway {
namespace {

constexpr int kSampleRate = 11025;
constexpr int kToneHz = 440;
constexpr int kToneAmplitude = 6000;
constexpr size_t kEchoChunk = 1102;  // mu-law bytes, a tenth of a second

struct Station {
    int32_t id;
    const char* name;
};
constexpr Station kStations[] = {{5, "Kitchen"}, {kUnavailableStation, "Garage"}, {7, "Front Door"}};

Bytes AudioStart(int32_t station) {
    platform::WaveFormat format;
    format.formatTag = platform::WaveFormat::kPcm;
    format.channels = 1;
    format.samplesPerSec = kSampleRate;
    format.avgBytesPerSec = 2 * kSampleRate;
    format.blockAlign = 2;
    format.bitsPerSample = 16;
    uint8_t bytes[platform::WaveFormat::kWireSize];
    format.ToBytes(bytes);
    return PayloadWriter().Int(station).Raw(bytes, sizeof bytes);
}

class Intercom {
public:
    explicit Intercom(Gateway& gateway) : m_gateway(gateway) {}

    void StartTalk(int32_t station) {
        std::lock_guard lock(m_mutex);
        m_talk.clear();
        m_talkStation = station;
    }
    void AddTalk(const Frame& request) {
        PayloadReader in(request.payload);
        int32_t count = 0;
        if (!in.Int(&count) || count < 0 || static_cast<size_t>(count) > in.Left()) return;
        Bytes codes(static_cast<size_t>(count));
        in.Raw(codes.data(), codes.size());
        std::lock_guard lock(m_mutex);
        m_talk.insert(m_talk.end(), codes.begin(), codes.end());
    }
    void StopTalk() {
        std::lock_guard lock(m_mutex);
        m_echo = std::move(m_talk);
        m_talk.clear();
        m_echoDue = true;
    }
    // The pacer's next step starts or stops the station's audio.
    void Listen(int32_t station, bool on) {
        std::lock_guard lock(m_mutex);
        if (on)
            m_listenAsked = station;
        else
            m_listenAsked.reset();
    }
    void Ring() {
        std::lock_guard lock(m_mutex);
        m_ringDue = true;
    }

    void Step(uint32_t now) {
        std::lock_guard lock(m_mutex);
        if (m_echoDue && !m_echoAt) m_echoAt = now + kEchoDelayMs;
        if (m_echoAt && now >= *m_echoAt) PlayEcho();
        if (m_listenAsked != m_listening) {
            if (m_listening) m_gateway.Push(ZVM_INTERCOM_AUDIOSTOP, {});
            m_listening = m_listenAsked;
            if (m_listening) m_gateway.Push(ZVM_INTERCOM_AUDIOSTART, AudioStart(*m_listening));
        }
        if (m_listening && now - m_toneAt >= kToneStepMs) {
            m_toneAt = now;
            m_gateway.Push(ZVM_AUDIO_STREAMPCM, ToneChunk());
        }
        if (m_ringDue) {
            m_ringDue = false;
            m_callEndsAt = now + kCallLengthMs;
            m_gateway.Push(ZVM_INTERCOM_INCOMINGCALL, PayloadWriter().Int(kIntercomCaller));
        }
        if (m_callEndsAt && now >= *m_callEndsAt) {
            m_callEndsAt.reset();
            m_gateway.Push(ZVM_INTERCOM_ENDCALL, PayloadWriter().Int(kIntercomCaller));
        }
    }

private:
    void PlayEcho() {
        m_echoDue = false;
        m_echoAt.reset();
        if (m_echo.empty()) return;
        std::vector<Frame> frames{{kEverySink, ZVM_INTERCOM_AUDIOSTART, AudioStart(m_talkStation)}};
        for (size_t at = 0; at < m_echo.size(); at += kEchoChunk) {
            const size_t size = std::min(kEchoChunk, m_echo.size() - at);
            frames.push_back({kEverySink, ZVM_AUDIO_STREAMULAW,
                              PayloadWriter().Int(static_cast<int32_t>(size)).Raw(m_echo.data() + at, size)});
        }
        frames.push_back({kEverySink, ZVM_INTERCOM_AUDIOSTOP, {}});
        m_gateway.PushFrames(frames);
        m_echo.clear();
    }
    Bytes ToneChunk() {
        constexpr int kSamples = kSampleRate * static_cast<int>(kToneStepMs) / 1000;
        PayloadWriter out;
        out.Int(2 * kSamples);
        for (int i = 0; i < kSamples; ++i, ++m_tonePhase) {
            const double angle = 2 * std::numbers::pi * kToneHz * static_cast<double>(m_tonePhase) / kSampleRate;
            const auto sample = static_cast<int16_t>(kToneAmplitude * std::sin(angle));
            out.Short(static_cast<uint16_t>(sample));
        }
        return out;
    }

    Gateway& m_gateway;
    std::mutex m_mutex;
    Bytes m_talk;
    Bytes m_echo;
    int32_t m_talkStation = 0;
    bool m_echoDue = false;
    std::optional<uint32_t> m_echoAt;
    std::optional<int32_t> m_listenAsked;
    std::optional<int32_t> m_listening;
    uint32_t m_toneAt = 0;
    uint64_t m_tonePhase = 0;
    bool m_ringDue = false;
    std::optional<uint32_t> m_callEndsAt;
};

// The intercoms of the running gateways, for the cue that rings one.
std::mutex g_registryMutex;
std::map<const Gateway*, std::weak_ptr<Intercom>> g_intercoms;

}  // namespace

void ServeIntercom(Gateway& gateway, Pacer& pacer) {
    auto intercom = std::make_shared<Intercom>(gateway);
    {
        std::lock_guard lock(g_registryMutex);
        g_intercoms[&gateway] = intercom;
    }
    gateway.On(ZVM_INTERCOM_GETSTATIONQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadWriter out;
        out.Int(static_cast<int32_t>(std::size(kStations)));
        for (const Station& station : kStations) out.Int(station.id).String(station.name);
        return {{request.sender, ZVM_INTERCOM_GETSTATIONA, out}};
    });
    gateway.On(ZVM_INTERCOM_COMMAND, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t station = 0;
        if (!in.Int(&station)) return {};
        return {{request.sender, ZVM_INTERCOM_TALKSTATE, PayloadWriter().Int(station != kUnavailableStation)}};
    });
    gateway.On(ZVM_INTERCOM_STARTTALK, [intercom](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        uint8_t format[20];
        int32_t type = 0, station = 0;
        if (in.Raw(format, sizeof format) && in.Int(&type) && in.Int(&station)) intercom->StartTalk(station);
        return {};
    });
    gateway.On(ZVM_INTERCOM_AUDIODATA, [intercom](const Frame& request) -> std::vector<Frame> {
        intercom->AddTalk(request);
        return {};
    });
    gateway.On(ZVM_INTERCOM_STOPTALK, [intercom](const Frame&) -> std::vector<Frame> {
        intercom->StopTalk();
        return {};
    });
    for (const bool on : {true, false})
        gateway.On(on ? ZVM_INTERCOM_INCOMINGCALL : ZVM_INTERCOM_ENDCALL,
                   [intercom, on](const Frame& request) -> std::vector<Frame> {
                       PayloadReader in(request.payload);
                       int32_t type = 0, station = 0;
                       if (in.Int(&type) && in.Int(&station)) intercom->Listen(station, on);
                       return {};
                   });
    pacer.Add([weak = std::weak_ptr<Intercom>(intercom)](uint32_t now) {
        if (auto held = weak.lock()) held->Step(now);
    });
}

bool RingIntercom(Gateway& gateway) {
    std::lock_guard lock(g_registryMutex);
    const auto found = g_intercoms.find(&gateway);
    const std::shared_ptr<Intercom> intercom = found != g_intercoms.end() ? found->second.lock() : nullptr;
    if (!intercom) return false;
    intercom->Ring();
    return true;
}

}  // namespace samplegateway
