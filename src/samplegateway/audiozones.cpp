#include "samplegateway/audiozones.h"

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/musicserver.h"
#include "samplegateway/radio.h"

namespace samplegateway {
namespace {

constexpr int32_t kZoneOff = 5051;
constexpr int32_t kCustomLayoutKind = 3103;
constexpr int32_t kShowcasePageSet = 50;
constexpr int32_t kLibraryKind = 1;

Bytes State(const ZoneSources& zones, int32_t zone) {
    const ZoneSources::Playing playing = zones.Of(zone);
    PayloadWriter out;
    if (playing.source == ZoneSources::kNoSource) return out.Int(ZoneSources::kNoSource).Int(0).Int(0).Int(0).Int(0);
    const int32_t subId = playing.kind == kCustomLayoutKind ? kShowcasePageSet : 0;
    out.Int(playing.source).Int(playing.kind).Int(subId).Int(0);
    if (PlaysType(kMusicServerKind)(playing) || PlaysType(kInternetRadioKind)(playing)) {
        // The music sources list their sub-sources: the radio directory and the media server.
        out.Int(static_cast<int32_t>(std::size(kMusicSubSources)));
        for (const SubSource& sub : kMusicSubSources) out.Int(sub.id).String(sub.name).Int(sub.kind);
        return out;
    }
    return out.Int(1).Int(playing.source).String("Library").Int(kLibraryKind);
}

}  // namespace

// What the zones play at start: the Living Room its music server, the Patio its internet radio
// (with a feature bit the radio pages do not use), the preview entry (zone 0) its music server;
// the Garage is off.
ZoneSources::ZoneSources()
    : m_playing{{0, {41, kMusicServerKind}}, {1, {11, kMusicServerKind}}, {2, {22, kRadioKindWord}}} {}

ZoneSources::Playing ZoneSources::Of(int32_t zone) const {
    std::lock_guard lock(m_mutex);
    const auto playing = m_playing.find(zone);
    return playing == m_playing.end() ? Playing{} : playing->second;
}

void ZoneSources::Play(int32_t zone, int32_t source, int32_t kind) {
    std::lock_guard lock(m_mutex);
    m_playing[zone] = {source, kind};
}

bool ZoneSources::PlayType(int32_t zone, int32_t type) {
    std::lock_guard lock(m_mutex);
    const auto found = m_playing.find(zone);
    if (found == m_playing.end()) return false;
    Playing& playing = found->second;
    const int32_t now = playing.kind & 0xFFFF;
    if (playing.source == kNoSource || (now != kMusicServerKind && now != kInternetRadioKind) || now == type)
        return false;
    playing.kind = (playing.kind & ~0xFFFF) | type;
    return true;
}

void ZoneSources::Subscribe(uint16_t sink, int32_t zone) {
    std::lock_guard lock(m_mutex);
    m_listeners.insert({sink, zone});
}

void ZoneSources::Unsubscribe(uint16_t sink, int32_t zone) {
    std::lock_guard lock(m_mutex);
    m_listeners.erase({sink, zone});
}

std::vector<int32_t> ZoneSources::ZonesPlaying(const Plays& plays) const {
    std::lock_guard lock(m_mutex);
    std::vector<int32_t> zones;
    for (const auto& [zone, playing] : m_playing)
        if (plays(playing)) zones.push_back(zone);
    return zones;
}

std::vector<Frame> ZoneSources::ToListeners(const Plays& plays, const std::vector<Frame>& frames) const {
    std::set<uint16_t> sinks;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [sink, zone] : m_listeners) {
            const auto playing = m_playing.find(zone);
            if (playing != m_playing.end() && plays(playing->second)) sinks.insert(sink);
        }
    }
    std::vector<Frame> addressed;
    for (const Frame& frame : frames) {
        if (frame.sender != kEverySink) {
            addressed.push_back(frame);
            continue;
        }
        for (uint16_t sink : sinks) addressed.push_back({sink, frame.id, frame.payload});
    }
    return addressed;
}

ZoneSources::Plays PlaysType(int32_t type) {
    return [type](const ZoneSources::Playing& playing) {
        return playing.source != ZoneSources::kNoSource && (playing.kind & 0xFFFF) == type;
    };
}

void ServeAudioZones(Gateway& gateway, std::shared_ptr<ZoneSources> zones) {
    gateway.On(ZVM_AUDIO_GETZONEQ, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone)) return {};
        return {{request.sender, ZVM_AUDIO_GETZONEA, State(*zones, zone)}};
    });
    gateway.On(ZVM_AUDIO_ZONECOMMAND, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, source = 0, kind = 0;
        if (!in.Int(&zone) || !in.Int(&source) || !in.Int(&kind)) return {};
        zones->Play(zone, source, kind);
        return {{kEverySink, ZVM_AUDIO_ZONECHANGED, State(*zones, zone)}};
    });
    gateway.AlsoOn(ZVM_AUDIO_SOURCECOMMAND, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, command = 0;
        if (!in.Int(&zone) || !in.Int(&command) || command != kZoneOff) return {};
        zones->Play(zone, ZoneSources::kNoSource, 0);
        return {{kEverySink, ZVM_AUDIO_ZONECHANGED, State(*zones, zone)}};
    });
    // {zone, sink}: the sink hears the changes of the zone's source until it leaves.
    gateway.On(ZVM_AUDIO_SUBSCRIBEZONE, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (in.Int(&zone)) zones->Subscribe(request.sender, zone);
        return {};
    });
    gateway.On(ZVM_AUDIO_UNSUBSCRIBEZONE, [zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (in.Int(&zone)) zones->Unsubscribe(request.sender, zone);
        return {};
    });
    // The other notices only note the tablet's interest.
    for (uint16_t noted : {ZVM_AUDIO_STARTUPDATES, ZVM_AUDIO_STOPUPDATES})
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
        return {{kEverySink, ZVM_AUDIO_ZONECHANGED, State(*zones, zone)}};
    });
}

}  // namespace samplegateway
