#pragma once
// The sample house's music server (source 3000): its play queue and play state, changed by the
// tablet's transport commands (0x115D) and queue edits (0x10E2, 0x10E4, 0x10EA) and pushed to
// everyone as they change (0x0FA2 status, 0x0FA3 queue, 0x0FA6 on a new track); while a track
// plays its progress advances each second. The album art of the track playing is a picture made
// at the size asked (0x1003). Its sub-sources are the radio directory and a media server whose
// browse tree (0x0FD4, answered as 0x13BD) lists 20 albums with covers, podcasts and a search.
// The music library's play commands (0x10DE, 0x10DC) and its random play (0x1102) fill the same
// queue: a play replaces it and starts its first track, an add appends to it.
#include <cstdint>
#include <memory>

#include "samplegateway/wire.h"

namespace samplegateway {

class Gateway;
class MusicLibrary;
class Pacer;
class ZoneSources;

// The music server's kind word.
inline constexpr int32_t kMusicServerKind = 3000;

// The sub-sources of the music server's zone state: {id, name, kind}.
struct SubSource {
    int32_t id;
    const char* name;
    int32_t kind;
};
inline constexpr SubSource kMusicSubSources[] = {{70, "Internet Radio", 1004}, {71, "Media Server", 5}};
inline constexpr int32_t kMediaServerId = 71;
// The albums the media server lists, and the size of their covers.
inline constexpr int kMediaServerAlbums = 20;
inline constexpr int kCoverSide = 46;

// The library is the one whose browses and playlists the tablet sees. It answers and acts only for
// the zones that play it, and pushes to the sinks that listen to them.
void ServeMusicServer(Gateway& gateway, Pacer& pacer, std::shared_ptr<const MusicLibrary> library,
                      std::shared_ptr<const ZoneSources> zones);
// A JPEG picture of w x h in colours of the seed: a diagonal blend with a frame (the covers of
// the music and the thumbnails of the Showcase's titles).
Bytes Cover(int32_t seed, int w, int h);

}  // namespace samplegateway
