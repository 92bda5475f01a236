#include "samplegateway/musicserver.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "samplegateway/audiozones.h"
#include "samplegateway/gateway.h"
#include "samplegateway/musiclibrary.h"
#include "samplegateway/pacer.h"
#include "samplegateway/slides.h"

namespace samplegateway {
namespace {

constexpr int32_t kStopped = 4001;
constexpr int32_t kPaused = 4000;
constexpr int32_t kPlaying = 4004;
constexpr int32_t kStartTrack = 2;
constexpr int32_t kStartPlayed = 60;
constexpr uint32_t kSecondMs = 1000;
constexpr int kMaxArtSide = 400;
constexpr size_t kRandomTracks = 12;
constexpr int32_t kReplaceAndPlay = 1;

enum : int32_t {
    kRandom = 5002,
    kRepeat = 5003,
    kSkipBack = 5005,
    kStop = 5006,
    kPause = 5007,
    kPlay = 5008,
    kSkipForward = 5009,
};

// Browse tree: node ids and entry flags.
enum : int32_t { kRootNode = 0, kMusicNode = 1, kPodcastsNode = 2, kSearchNode = 3 };
enum : int32_t { kCanOpen = 0x01, kPlayable = 0x02, kCanAdd = 0x04, kSearchable = 0x08, kCoverRow = 0x10 };
enum : int32_t { kOpen = 0, kPlayEntry = 1, kAddEntry = 2, kCover = 3 };
constexpr int32_t kTrackEntryFactor = 100;
constexpr int32_t kIndent = 1 << 16;

int32_t ReadInt(PayloadReader& in) {
    int32_t value = 0;
    in.Int(&value);
    return value;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class MusicServer {
public:
    explicit MusicServer(std::shared_ptr<const MusicLibrary> library)
        : m_library(std::move(library)),
          m_queue(m_library->QueueTracks()),
          m_albums(m_library->FirstAlbums(kMediaServerAlbums)) {}

    Bytes Status() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return StatusLocked();
    }
    Bytes Queue() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return QueueLocked();
    }
    std::vector<Frame> Command(int32_t code, int32_t argument) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int32_t before = m_current;
        switch (code) {
        case kRandom: m_random = argument != 0; break;
        case kRepeat: m_repeat = argument != 0; break;
        case kSkipBack: MoveTo(m_current - 1); break;
        case kSkipForward: MoveTo(m_current + 1); break;
        case kStop:
            m_state = kStopped;
            m_played = 0;
            break;
        case kPause:
            if (m_state == kPlaying) m_state = kPaused;
            break;
        case kPlay:
            if (!m_queue.empty()) m_state = kPlaying;
            break;
        default: return {};
        }
        return Changes(false, before);
    }
    std::vector<Frame> Delete(int32_t index) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (index < 0 || index >= static_cast<int32_t>(m_queue.size())) return {};
        const int32_t before = m_current;
        m_queue.erase(m_queue.begin() + index);
        if (index < m_current) --m_current;
        if (m_queue.empty()) Clear();
        m_current = std::min(m_current, static_cast<int32_t>(m_queue.size()) - 1);
        return Changes(true, before);
    }
    std::vector<Frame> ClearQueue() {
        std::lock_guard<std::mutex> lock(m_mutex);
        Clear();
        return Changes(true, -1);
    }
    std::vector<Frame> PlayIndex(int32_t index) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (index < 0 || index >= static_cast<int32_t>(m_queue.size())) return {};
        const int32_t before = m_current;
        MoveTo(index);
        m_state = kPlaying;
        return Changes(false, before);
    }
    // One second on: the track playing advances, and the next one follows at its end.
    std::vector<Frame> Tick() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_state != kPlaying || m_queue.empty()) return {};
        const int32_t before = m_current;
        if (++m_played >= m_queue[static_cast<size_t>(m_current)].seconds) {
            if (m_current + 1 < static_cast<int32_t>(m_queue.size()))
                MoveTo(m_current + 1);
            else if (m_repeat)
                MoveTo(0);
            else
                m_state = kStopped;
        }
        return Changes(false, before);
    }
    // With play the tracks replace the queue and the first starts; otherwise they are appended.
    std::vector<Frame> Enqueue(const std::vector<QueueTrack>& tracks, bool play) {
        std::lock_guard<std::mutex> lock(m_mutex);
        return EnqueueLocked(tracks, play);
    }
    std::string ArtName() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return "cover-" + std::to_string(m_current);
    }
    int32_t CurrentSeed() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_current + 7;
    }

    // ---- the media server's browse tree
    std::vector<Frame> Browse(uint16_t sink, int32_t node, int32_t entry, int32_t action, const std::string& text) {
        std::lock_guard<std::mutex> lock(m_mutex);
        switch (action) {
        case kOpen: return {{sink, ZVM_MESSAGES_GETNEWCOUNTA, Level(entry != 0 ? entry : node, text)}};
        case kPlayEntry:
        case kAddEntry: return Take(entry, action == kPlayEntry);
        case kCover: {
            const Bytes jpeg = Cover(entry, kCoverSide, kCoverSide);
            return {{sink, ZVM_MESSAGES_GETNEWCOUNTA,
                     PayloadWriter()
                         .Int(static_cast<int32_t>(jpeg.size()))
                         .Int(kCoverSide)
                         .Int(kCoverSide)
                         .Raw(jpeg.data(), jpeg.size())}};
        }
        default: return {};
        }
    }

private:
    struct Entry {
        int32_t id;
        int32_t flags;
        std::string text;
    };
    struct Header {
        int32_t node;
        std::string caption;
    };

    Bytes StatusLocked() const {
        const int seconds = m_queue.empty() ? 0 : m_queue[static_cast<size_t>(m_current)].seconds;
        const int32_t progress = m_state == kPlaying && seconds > 0 ? m_played * 100 / seconds : 0;
        return PayloadWriter()
            .Int(kMusicServerKind)
            .Int(m_repeat)
            .Int(m_random)
            .Int(m_state)
            .Int(m_queue.empty() ? -1 : m_current)
            .Int(progress);
    }
    Bytes QueueLocked() const {
        PayloadWriter out;
        out.Int(static_cast<int32_t>(m_queue.size()));
        for (const QueueTrack& track : m_queue)
            out.String(track.artist).String(track.album).Int(0).String(track.title).Int(track.seconds).Int(0);
        return out;
    }
    void MoveTo(int32_t index) {
        if (m_queue.empty()) return;
        m_current = std::clamp(index, 0, static_cast<int32_t>(m_queue.size()) - 1);
        m_played = 0;
    }
    void Clear() {
        m_queue.clear();
        m_current = 0;
        m_played = 0;
        m_state = kStopped;
    }
    // The pushes after a change: the queue when it changed, the status, and the album art's
    // notice when another track became current.
    std::vector<Frame> Changes(bool queueChanged, int32_t before) const {
        std::vector<Frame> frames;
        if (queueChanged) frames.push_back({kEverySink, ZVM_AUDIO_PLAYLISTCHANGED, QueueLocked()});
        frames.push_back({kEverySink, ZVM_AUDIO_SOURCESTATUSCHANGED, StatusLocked()});
        if (before != m_current) frames.push_back({kEverySink, ZVM_AUDIO_ALBUMARTCHANGED, {}});
        return frames;
    }

    const AlbumEntry* FindAlbum(int32_t id) const {
        for (const AlbumEntry& album : m_albums)
            if (album.id == id) return &album;
        return nullptr;
    }
    // An album, or a track row of one (album id x 100 + track).
    std::vector<Frame> Take(int32_t entry, bool play) {
        const AlbumEntry* album = FindAlbum(entry);
        int32_t first = 0;
        if (!album && (album = FindAlbum(entry / kTrackEntryFactor))) first = entry % kTrackEntryFactor;
        if (!album) return {};
        std::vector<QueueTrack> tracks = m_library->AlbumTracks(album->id);
        if (first > 0 && first < static_cast<int32_t>(tracks.size())) tracks = {tracks[static_cast<size_t>(first)]};
        return EnqueueLocked(tracks, play);
    }
    std::vector<Frame> EnqueueLocked(const std::vector<QueueTrack>& tracks, bool play) {
        if (tracks.empty()) return {};
        const int32_t before = m_current;
        if (play) {
            m_queue = tracks;
            m_current = 0;
            m_played = 0;
            m_state = kPlaying;
        } else {
            m_queue.insert(m_queue.end(), tracks.begin(), tracks.end());
        }
        return Changes(true, play ? -1 : before);
    }
    Bytes Level(int32_t node, const std::string& text) const {
        std::vector<Header> header{{kRootNode, "Media Server"}};
        std::vector<Entry> entries;
        const AlbumEntry* album = FindAlbum(node);
        if (node == kRootNode) {
            entries = {{kMusicNode, kCanOpen, "Music"},
                       {kPodcastsNode, kCanOpen, "Podcasts"},
                       {kSearchNode, kSearchable, "Search Albums"}};
        } else if (node == kMusicNode) {
            header.push_back({kMusicNode, "Music"});
            for (const AlbumEntry& each : m_albums) {
                entries.push_back({each.id, kCanOpen | kPlayable | kCoverRow, each.title + " - " + each.artist});
                const std::vector<QueueTrack> tracks = m_library->AlbumTracks(each.id);
                for (int32_t k = 1; k <= 2; ++k)
                    entries.push_back(
                        {each.id * kTrackEntryFactor + k, kPlayable | kIndent, tracks[static_cast<size_t>(k)].title});
            }
        } else if (node == kPodcastsNode) {
            header.push_back({kPodcastsNode, "Podcasts"});
            entries = {{0, 0,
                        "No podcasts are subscribed yet. Subscribe to podcasts on the media server's own pages; "
                        "their episodes are listed here as soon as they have been downloaded."}};
        } else if (node == kSearchNode) {
            header.push_back({kSearchNode, "Search"});
            for (const AlbumEntry& each : m_albums)
                if (Lower(each.title).find(Lower(text)) != std::string::npos)
                    entries.push_back({each.id, kCanOpen | kPlayable | kCoverRow, each.title + " - " + each.artist});
        } else if (album) {
            header.push_back({kMusicNode, "Music"});
            header.push_back({album->id, album->title});
            int32_t k = 0;
            for (const QueueTrack& track : m_library->AlbumTracks(album->id))
                entries.push_back({album->id * kTrackEntryFactor + k++, kPlayable, track.title});
        } else {
            return PayloadWriter().Int(1);
        }
        PayloadWriter out;
        out.Int(0).Int(static_cast<int32_t>(header.size()));
        for (const Header& h : header) out.Int(h.node).String(h.caption);
        out.Int(static_cast<int32_t>(entries.size()));
        for (const Entry& e : entries) out.Int(e.id).Int(e.flags).String(e.text);
        return out;
    }

    mutable std::mutex m_mutex;
    std::shared_ptr<const MusicLibrary> m_library;
    std::vector<QueueTrack> m_queue;
    std::vector<AlbumEntry> m_albums;
    int32_t m_current = kStartTrack;
    int32_t m_played = kStartPlayed;
    int32_t m_state = kPlaying;
    int32_t m_repeat = 0;
    int32_t m_random = 0;
};

}  // namespace

Bytes Cover(int32_t seed, int w, int h) {
    Bytes rgb;
    rgb.reserve(static_cast<size_t>(w * h * 3));
    const int r = 60 + seed * 53 % 160, g = 60 + seed * 97 % 160, b = 60 + seed * 31 % 160;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool frame = x < 2 || y < 2 || x >= w - 2 || y >= h - 2;
            const int shade = (x + y) * 80 / std::max(1, w + h);
            rgb.push_back(static_cast<uint8_t>(frame ? 240 : std::min(255, r + shade)));
            rgb.push_back(static_cast<uint8_t>(frame ? 240 : std::min(255, g + shade)));
            rgb.push_back(static_cast<uint8_t>(frame ? 240 : std::min(255, b + shade)));
        }
    return EncodeJpeg(w, h, rgb);
}

void ServeMusicServer(Gateway& gateway, Pacer& pacer, std::shared_ptr<const MusicLibrary> library,
                      std::shared_ptr<const ZoneSources> zones) {
    auto music = std::make_shared<MusicServer>(library);
    const ZoneSources::Plays playsMusic = PlaysType(kMusicServerKind);
    // Its changes reach the sinks that listen to a zone playing it.
    auto toListeners = [zones, playsMusic](const std::vector<Frame>& frames) {
        return zones->ToListeners(playsMusic, frames);
    };
    auto ownsZone = [zones, playsMusic](const Frame& request) {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        return in.Int(&zone) && playsMusic(zones->Of(zone));
    };
    auto nextTick = std::make_shared<uint32_t>(0);
    pacer.Add([music, nextTick, toListeners, &gateway](uint32_t now_ms) {
        if (*nextTick == 0) *nextTick = now_ms + kSecondMs;
        for (; now_ms >= *nextTick; *nextTick += kSecondMs) {
            const std::vector<Frame> frames = toListeners(music->Tick());
            if (!frames.empty()) gateway.PushFrames(frames);
        }
    });
    gateway.On(ZVM_AUDIO_GETQUEUEQ, [music](const Frame& request) {
        return std::vector<Frame>{{request.sender, ZVM_AUDIO_GETQUEUEA, music->Queue()}};
    });
    gateway.AlsoOn(ZVM_AUDIO_GETSOURCESTATUSQ, [music, ownsZone](const Frame& request) -> std::vector<Frame> {
        if (!ownsZone(request)) return {};
        return {{request.sender, ZVM_AUDIO_GETSOURCESTATUSA, music->Status()}};
    });
    gateway.AlsoOn(ZVM_AUDIO_SOURCECOMMAND, [music, ownsZone, toListeners](const Frame& request) -> std::vector<Frame> {
        if (!ownsZone(request)) return {};
        PayloadReader in(request.payload);
        ReadInt(in);
        const int32_t code = ReadInt(in), argument = ReadInt(in);
        return toListeners(music->Command(code, argument));
    });
    gateway.On(ZVM_AUDIO_DELETEQUEUEITEM, [music, toListeners](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        return toListeners(music->Delete(ReadInt(in)));
    });
    gateway.On(ZVM_AUDIO_CLEARQUEUE, [music, toListeners](const Frame&) { return toListeners(music->ClearQueue()); });
    gateway.On(ZVM_AUDIO_PLAYQUEUEITEM, [music, toListeners](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        return toListeners(music->PlayIndex(ReadInt(in)));
    });
    // {zone, width, height, name} -> the name of the picture, then the picture at that size.
    gateway.On(ZVM_AUDIO_GETALBUMARTQ, [music](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        const int w = std::clamp(ReadInt(in), 1, kMaxArtSide), h = std::clamp(ReadInt(in), 1, kMaxArtSide);
        const Bytes jpeg = Cover(music->CurrentSeed(), w, h);
        return std::vector<Frame>{
            {request.sender, ZVM_AUDIO_GETALBUMARTA, PayloadWriter().String(music->ArtName())},
            {request.sender, ZVM_PICTURES_PICTURE, PayloadWriter().Int(w).Int(h).Raw(jpeg.data(), jpeg.size())}};
    });
    // {source, node, entry, action[, text]}: a level of the tree, a play or add, or a cover.
    gateway.On(ZVM_AUDIO_GETCOVERARTQ, [music, toListeners](const Frame& request) {
        PayloadReader in(request.payload);
        const int32_t source = ReadInt(in), node = ReadInt(in), entry = ReadInt(in), action = ReadInt(in);
        std::string text;
        in.String(&text);
        if (source != kMediaServerId)
            return std::vector<Frame>{{request.sender, ZVM_MESSAGES_GETNEWCOUNTA, PayloadWriter().Int(1)}};
        return toListeners(music->Browse(request.sender, node, entry, action, text));
    });
    // {zone, kind, a, b, position, play, source}: the tracks under the row of a library browse.
    gateway.On(ZVM_AUDIO_LIBRARYCOMMANDEX, [music, library, toListeners](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        const int32_t kind = ReadInt(in), a = ReadInt(in), b = ReadInt(in), position = ReadInt(in);
        const int32_t play = ReadInt(in);
        return toListeners(
            music->Enqueue(library->AsQueue(library->TracksFor(kind, a, b, position)), play == kReplaceAndPlay));
    });
    // {zone, track, album, artist, play}: one track.
    gateway.On(ZVM_AUDIO_LIBRARYCOMMAND, [music, library, toListeners](const Frame& request) {
        PayloadReader in(request.payload);
        ReadInt(in);
        const LibraryRow track = library->TrackById(ReadInt(in));
        ReadInt(in);
        ReadInt(in);
        const int32_t play = ReadInt(in);
        return toListeners(music->Enqueue(library->AsQueue({track}), play == kReplaceAndPlay));
    });
    // {zone}: tracks of the genres switched on, played at random.
    gateway.On(ZVM_AUDIO_PLAYRANDOM, [music, library, toListeners](const Frame&) {
        return toListeners(music->Enqueue(library->AsQueue(library->RandomTracks(kRandomTracks)), true));
    });
}

}  // namespace samplegateway
