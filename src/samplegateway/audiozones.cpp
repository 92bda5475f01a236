#include "samplegateway/audiozones.h"

#include <map>
#include <memory>
#include <mutex>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/musicserver.h"
#include "samplegateway/radio.h"

namespace samplegateway {
namespace {

constexpr int32_t kNoSource = -1;
constexpr int32_t kZoneOff = 5051;
constexpr int32_t kCustomLayoutKind = 3103;
constexpr int32_t kShowcasePageSet = 50;
constexpr int32_t kLibraryKind = 1;
constexpr int32_t kMusicServerKind = 3000;
constexpr int32_t kInternetRadioKind = 3001;

struct Playing {
    int32_t source = kNoSource;
    int32_t kind = 0;
};

class AudioZones {
public:
    Bytes State(int32_t zone) {
        std::lock_guard<std::mutex> lock(mutex_);
        const Playing playing = playing_[zone];
        PayloadWriter out;
        if (playing.source == kNoSource) return out.Int(kNoSource).Int(0).Int(0).Int(0).Int(0);
        const int32_t subId = playing.kind == kCustomLayoutKind ? kShowcasePageSet : 0;
        out.Int(playing.source).Int(playing.kind).Int(subId).Int(0);
        // The kind's high bits are features; its low 16 bits name the page.
        const int32_t type = playing.kind & 0xFFFF;
        if (type == kMusicServerKind || type == kInternetRadioKind) {
            // The music sources list their sub-sources: the radio directory and the media server.
            out.Int(static_cast<int32_t>(std::size(kMusicSubSources)));
            for (const SubSource& sub : kMusicSubSources) out.Int(sub.id).String(sub.name).Int(sub.kind);
            return out;
        }
        return out.Int(1).Int(playing.source).String("Library").Int(kLibraryKind);
    }
    void Play(int32_t zone, int32_t source, int32_t kind) {
        std::lock_guard<std::mutex> lock(mutex_);
        playing_[zone] = {source, kind};
    }
    // A music source's library plays the radio or music: the zone's source keeps its feature bits
    // and takes the type. False when the zone plays no music source.
    bool PlayType(int32_t zone, int32_t type) {
        std::lock_guard<std::mutex> lock(mutex_);
        Playing& playing = playing_[zone];
        const int32_t now = playing.kind & 0xFFFF;
        if (playing.source == kNoSource || (now != kMusicServerKind && now != kInternetRadioKind) || now == type)
            return false;
        playing.kind = (playing.kind & ~0xFFFF) | type;
        return true;
    }

private:
    std::mutex mutex_;
    // What the zones play at start: the Living Room its music server, the Patio its internet
    // radio (with a feature bit the radio pages do not use), the preview entry (zone 0) its music server; the Garage is
    // off.
    std::map<int32_t, Playing> playing_{{0, {41, 3000}}, {1, {11, 3000}}, {2, {22, kRadioKindWord}}};
};

}  // namespace

void ServeAudioZones(Gateway& gateway) {
    auto zones = std::make_shared<AudioZones>();
    gateway.On(ZVM_AUDIO_GETZONEQ, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone)) return {};
        return {{request.sender, ZVM_AUDIO_GETZONEA, zones->State(zone)}};
    });
    gateway.On(ZVM_AUDIO_ZONECOMMAND, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, source = 0, kind = 0;
        if (!in.Int(&zone) || !in.Int(&source) || !in.Int(&kind)) return {};
        zones->Play(zone, source, kind);
        return {{kEverySink, ZVM_AUDIO_ZONECHANGED, zones->State(zone)}};
    });
    gateway.AlsoOn(ZVM_AUDIO_SOURCECOMMAND, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, command = 0;
        if (!in.Int(&zone) || !in.Int(&command) || command != kZoneOff) return {};
        zones->Play(zone, kNoSource, 0);
        return {{kEverySink, ZVM_AUDIO_ZONECHANGED, zones->State(zone)}};
    });
    // Subscriptions only note the tablet's interest: every change goes to everyone.
    for (uint16_t noted :
         {ZVM_AUDIO_SUBSCRIBEZONE, ZVM_AUDIO_UNSUBSCRIBEZONE, ZVM_AUDIO_STARTUPDATES, ZVM_AUDIO_STOPUPDATES})
        gateway.On(noted, [](const Frame&) { return std::vector<Frame>{}; });
    // {zone, list kind, a, b, row, play, source}: "Listen" on a station makes the zone's music
    // source play the internet radio; a play from the library makes it the music server again.
    gateway.AlsoOn(ZVM_AUDIO_LIBRARYCOMMANDEX, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, kind = 0, a = 0, b = 0, row = 0, play = 0;
        if (!in.Int(&zone) || !in.Int(&kind) || !in.Int(&a) || !in.Int(&b) || !in.Int(&row) || !in.Int(&play))
            return {};
        const bool radio = kind == kBrowseStations || kind == kBrowseFavouriteStations;
        if (!radio && play != 1) return {};
        if (!zones->PlayType(zone, radio ? kInternetRadioKind : kMusicServerKind)) return {};
        return {{kEverySink, ZVM_AUDIO_ZONECHANGED, zones->State(zone)}};
    });
}

}  // namespace samplegateway
