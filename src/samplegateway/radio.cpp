#include "samplegateway/radio.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/audiozones.h"
#include "samplegateway/gateway.h"
#include "samplegateway/pacer.h"
#include "samplegateway/radiodirectory.h"

namespace samplegateway {
namespace {

// Stream bit rates through the quality table, best first; the stream arrives at half its rate.
constexpr std::array<int32_t, 7> kStreamRates = {192000, 128000, 112000, 64000, 32000, 16000, 8000};
constexpr int32_t kFrequency = 44100;
constexpr int32_t kLevel = 60;
constexpr uint32_t kStatusIntervalMs = 2000;

// The one stream of the house's internet radio: the station it plays and the step of its bit
// rate.
class RadioStream {
public:
    Bytes Status() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int32_t rate = kStreamRates[static_cast<size_t>(m_step) % kStreamRates.size()];
        return PayloadWriter()
            .Int(kRadioKindWord)
            .String(m_station)
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
    void Listen(std::string station) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_station = std::move(station);
    }
    void Step() {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_step;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_station = kRadioStation;
    int m_step = 0;
};

}  // namespace

void ServeRadio(Gateway& gateway, Pacer& pacer, std::shared_ptr<const RadioDirectory> directory,
                std::shared_ptr<const ZoneSources> zones) {
    auto stream = std::make_shared<RadioStream>();
    const ZoneSources::Plays playsRadio = PlaysType(kInternetRadioKind);
    gateway.AlsoOn(ZVM_AUDIO_GETSOURCESTATUSQ, [stream, zones, playsRadio](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone) || !playsRadio(zones->Of(zone))) return {};
        return {{request.sender, ZVM_AUDIO_GETSOURCESTATUSA, stream->Status()}};
    });
    // "Listen" on a station of the directory, {zone, list kind, genre row, 0, station row, 0,
    // source}: the stream plays it; the zones' handling before this one made the zone play the radio.
    gateway.AlsoOn(
        ZVM_AUDIO_LIBRARYCOMMANDEX, [stream, directory, zones, playsRadio](const Frame& request) -> std::vector<Frame> {
            PayloadReader in(request.payload);
            int32_t zone = 0, kind = 0, genre = 0, unused = 0, station = 0;
            if (!in.Int(&zone) || !in.Int(&kind) || !in.Int(&genre) || !in.Int(&unused) || !in.Int(&station)) return {};
            if (kind != kBrowseStations && kind != kBrowseFavouriteStations) return {};
            std::string name = directory->StationName(kind, genre, station);
            if (name.empty()) return {};
            stream->Listen(std::move(name));
            return zones->ToListeners(playsRadio, {{kEverySink, ZVM_AUDIO_SOURCESTATUSCHANGED, stream->Status()}});
        });
    // Every two seconds the stream's rate moves a step, and the new status goes to its listeners.
    auto next = std::make_shared<uint32_t>(0);
    auto started = std::make_shared<bool>(false);
    Gateway* to = &gateway;
    pacer.Add([to, stream, next, started, zones, playsRadio](uint32_t now_ms) {
        if (!*started) {
            *started = true;
            *next = now_ms + kStatusIntervalMs;
            return;
        }
        if (static_cast<int32_t>(now_ms - *next) < 0) return;
        *next = now_ms + kStatusIntervalMs;
        stream->Step();
        const std::vector<Frame> frames =
            zones->ToListeners(playsRadio, {{kEverySink, ZVM_AUDIO_SOURCESTATUSCHANGED, stream->Status()}});
        if (!frames.empty()) to->PushFrames(frames);
    });
}

}  // namespace samplegateway
