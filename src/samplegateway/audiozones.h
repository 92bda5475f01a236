#pragma once
// The sample house's audio zones: what each zone plays, switched by the tablet's source choice
// (0x0FF0) or turned off (0x115D, 5051), reported as the zone state (0x0FEF to a request,
// 0x0FA4 to everyone) with the source's kind word and its path list (a music source's
// sub-sources, else one library entry). The zone list, the zones' icons and the custom page sets
// are answers of the house file. "Listen" on a station of the radio directory makes a zone's music
// source play the internet radio; a play from its library makes it the music server again.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;

// What each zone plays and which sinks listen to which zone (0x0FF6 subscribes, 0x0FF8 leaves):
// a source's module answers only for the zones that play it, and pushes its changes only to the
// sinks that listen to those zones, so a zone's page never reads another source's status.
class ZoneSources {
public:
    static constexpr int32_t kNoSource = -1;
    struct Playing {
        int32_t source = kNoSource;
        int32_t kind = 0;
    };
    using Plays = std::function<bool(const Playing&)>;

    ZoneSources();
    Playing Of(int32_t zone) const;
    void Play(int32_t zone, int32_t source, int32_t kind);
    // A music source's library plays the radio or music: the zone's source keeps its feature bits
    // and takes the type. False when the zone plays no music source or already plays the type.
    bool PlayType(int32_t zone, int32_t type);
    void Subscribe(uint16_t sink, int32_t zone);
    void Unsubscribe(uint16_t sink, int32_t zone);
    // The zones whose source passes the test.
    std::vector<int32_t> ZonesPlaying(const Plays& plays) const;
    // The frames, each one meant for every sink sent instead to every sink that listens to a
    // zone whose source passes the test; frames for one sink stay as they are.
    std::vector<Frame> ToListeners(const Plays& plays, const std::vector<Frame>& frames) const;

private:
    mutable std::mutex m_mutex;
    std::map<int32_t, Playing> m_playing;
    std::set<std::pair<uint16_t, int32_t>> m_listeners;  // sink, zone
};

// A test of the kind word's low 16 bits, which name the source's page.
ZoneSources::Plays PlaysType(int32_t type);

// Served after the music server, whose handling of the library commands comes before the zones'.
void ServeAudioZones(Gateway& gateway, std::shared_ptr<ZoneSources> zones);

}  // namespace samplegateway
