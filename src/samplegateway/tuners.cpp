#include "samplegateway/tuners.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/audiozones.h"
#include "samplegateway/gateway.h"

namespace samplegateway {
namespace {

constexpr int32_t kBandOff = 3101;
constexpr int32_t kBandAM = 3102;
constexpr int32_t kBandFM = 3103;
constexpr int32_t kSeekDown = 5005;
constexpr int32_t kSeekUp = 5009;
constexpr int32_t kTune = 5013;
constexpr int32_t kSetBand = 5014;
constexpr int32_t kCompactFavorites = 0x10000;

int32_t TypeOf(int32_t kind) { return kind & 0xFFFF; }
bool IsChannelRadio(int32_t kind) { return TypeOf(kind) == 3101 || TypeOf(kind) == 3105; }
bool IsTuner(int32_t kind) {
    const int32_t type = TypeOf(kind);
    return type == 3100 || type == 3104 || type == 3106 || IsChannelRadio(kind);
}

// The stations a seek stops at, in the tuner's band units.
std::vector<int32_t> StationsOf(int32_t kind, int32_t band) {
    if (band == kBandAM) return {5400, 7100, 10300, 14500};
    if (TypeOf(kind) == 3104) return {8790, 9135, 9810, 10150, 10675};
    if (kind & 0x20000) return {88100, 91500, 98100, 98120, 101500};
    return {881, 915, 981, 1015, 1067};
}

struct Genre {
    int32_t id;
    std::string name;
    std::vector<std::pair<int32_t, std::string>> stations;  // channel, name
};

const std::vector<Genre>& Genres() {
    static const std::vector<Genre> genres{
        {1, "Rock", {{101, "Classic Rock"}, {102, "Alt Nation"}, {105, "Deep Tracks"}}},
        {2, "Jazz", {{201, "Real Jazz"}, {202, "Smooth Lounge"}}},
        {3, "News", {{7, "World News"}, {42, "Talk Radio"}, {300, "Weather Desk"}}},
        {4, "Classical", {{401, "Symphony Hall"}, {402, "Opera House"}}},
    };
    return genres;
}

std::string ChannelName(int32_t channel) {
    for (const Genre& genre : Genres())
        for (const auto& [number, name] : genre.stations)
            if (number == channel) return name;
    return "Channel " + std::to_string(channel);
}

struct Favorite {
    int32_t id;
    std::string name;
    int32_t band;
    int32_t value;  // frequency or channel
};

struct Tuner {
    int32_t kind = 0;
    int32_t band = kBandFM;
    int32_t value = 0;
    std::vector<Favorite> favorites;
};

class Tuners {
public:
    Tuners() {
        m_tuners[kLivingFmTuner] = {
            3100, kBandFM, 981, {{1, "Coast FM", kBandFM, 981}, {2, "News Talk", kBandAM, 7100}}};
        m_tuners[kLivingSatellite] = {3101, kBandFM, 101, {{1, "Classic Rock", kBandFM, 101}}};
        m_tuners[kPatioEuroTuner] = {3104, kBandFM, 9810, {{1, "Radio Uno", kBandFM, 9810}}};
        m_tuners[kPatioDigitalFm] = {kDigitalFmKind, kBandFM, 98120, {{1, "Metro HD2", kBandFM, 98120}}};
        m_tuners[kPatioCableRadio] = {
            kCableRadioKind, kBandFM, 201, {{1, "Real Jazz", kBandFM, 201}, {2, "Talk Radio", kBandFM, 42}}};
    }

    std::mutex mutex;

    // The tuner the zone plays, or null.
    Tuner* OfZone(const ZoneSources& zones, int32_t zone) {
        const ZoneSources::Playing playing = zones.Of(zone);
        if (!IsTuner(playing.kind)) return nullptr;
        const auto tuner = m_tuners.find(playing.source);
        return tuner == m_tuners.end() ? nullptr : &tuner->second;
    }
    // A test of the zones that play the tuner.
    ZoneSources::Plays Playing(const Tuner* tuner) {
        return [this, tuner](const ZoneSources::Playing& playing) {
            const auto found = m_tuners.find(playing.source);
            return IsTuner(playing.kind) && found != m_tuners.end() && &found->second == tuner;
        };
    }

private:
    std::map<int32_t, Tuner> m_tuners;
};

// The favourite value of the current station: its id (its row on compact lists), 0 for none.
int32_t FavoriteValue(const Tuner& tuner) {
    for (size_t i = 0; i < tuner.favorites.size(); ++i) {
        const Favorite& favorite = tuner.favorites[i];
        if (favorite.value != tuner.value || (!IsChannelRadio(tuner.kind) && favorite.band != tuner.band)) continue;
        return tuner.kind & kCompactFavorites ? static_cast<int32_t>(i) : favorite.id;
    }
    return tuner.kind & kCompactFavorites ? -1 : 0;
}

Bytes Status(const Tuner& tuner) {
    PayloadWriter out;
    if (IsChannelRadio(tuner.kind))
        return out.Int(0)
            .Int(tuner.value)
            .Int(FavoriteValue(tuner))
            .String("Sample Artist")
            .String("Sample Track")
            .String(ChannelName(tuner.value));
    out.Int(tuner.band).Int(tuner.value).Int(FavoriteValue(tuner));
    if (TypeOf(tuner.kind) == 3106) out.String("Sample Artist").String("Sample Track").String("Metro HD");
    return out;
}

Bytes FavoriteList(const Tuner& tuner) {
    PayloadWriter out;
    out.Int(static_cast<int32_t>(tuner.favorites.size()));
    for (const Favorite& favorite : tuner.favorites)
        out.Int(favorite.id).String(favorite.name).Int(favorite.value).Int(favorite.band);
    return out;
}

std::string StationName(const Tuner& tuner) {
    if (IsChannelRadio(tuner.kind)) return ChannelName(tuner.value);
    return (tuner.band == kBandAM ? "AM " : "FM ") + std::to_string(tuner.value);
}

void Seek(Tuner& tuner, int32_t code) {
    const std::vector<int32_t> stations = StationsOf(tuner.kind, tuner.band);
    if (code == kSeekUp) {
        const auto next = std::upper_bound(stations.begin(), stations.end(), tuner.value);
        tuner.value = next == stations.end() ? stations.front() : *next;
        return;
    }
    const auto next = std::lower_bound(stations.begin(), stations.end(), tuner.value);
    tuner.value = next == stations.begin() ? stations.back() : *(next - 1);
}

// The status and, when the favourites changed, their list, for the sinks that listen to a zone
// playing the tuner.
std::vector<Frame> Changed(Tuners& tuners, const ZoneSources& zones, const Tuner& tuner, bool favorites) {
    std::vector<Frame> frames;
    if (favorites) frames.push_back({kEverySink, ZVM_AUDIO_SOURCEINFOCHANGED, FavoriteList(tuner)});
    frames.push_back({kEverySink, ZVM_AUDIO_SOURCESTATUSCHANGED, Status(tuner)});
    return zones.ToListeners(tuners.Playing(&tuner), frames);
}

std::vector<Frame> WithAnswer(Frame answer, std::vector<Frame> pushed) {
    pushed.insert(pushed.begin(), std::move(answer));
    return pushed;
}

// The tuner the favourite with the id belongs to, of the zones that play tuners.
Favorite* FindFavorite(Tuners& tuners, const ZoneSources& zones, int32_t id, Tuner** owner) {
    const auto playsTuner = [](const ZoneSources::Playing& playing) { return IsTuner(playing.kind); };
    for (int32_t zone : zones.ZonesPlaying(playsTuner))
        if (Tuner* tuner = tuners.OfZone(zones, zone))
            for (Favorite& favorite : tuner->favorites)
                if (favorite.id == id) {
                    *owner = tuner;
                    return &favorite;
                }
    return nullptr;
}

}  // namespace

void ServeTuners(Gateway& gateway, std::shared_ptr<const ZoneSources> zones) {
    auto tuners = std::make_shared<Tuners>();
    gateway.AlsoOn(ZVM_AUDIO_GETSOURCESTATUSQ, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone)) return {};
        std::lock_guard lock(tuners->mutex);
        const Tuner* tuner = tuners->OfZone(*zones, zone);
        if (!tuner) return {};
        return {{request.sender, ZVM_AUDIO_GETSOURCESTATUSA, Status(*tuner)}};
    });
    gateway.AlsoOn(ZVM_AUDIO_SOURCECOMMAND, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, code = 0, argument = 0;
        if (!in.Int(&zone) || !in.Int(&code) || !in.Int(&argument)) return {};
        std::lock_guard lock(tuners->mutex);
        Tuner* tuner = tuners->OfZone(*zones, zone);
        if (!tuner) return {};
        switch (code) {
        case kSetBand:
            if (argument != kBandOff && argument != kBandAM && argument != kBandFM) return {};
            tuner->band = argument;
            tuner->value = StationsOf(tuner->kind, tuner->band).front();
            break;
        case kTune: tuner->value = argument; break;
        case kSeekUp:
        case kSeekDown: Seek(*tuner, code); break;
        default: return {};
        }
        return Changed(*tuners, *zones, *tuner, false);
    });
    gateway.On(ZVM_TUNER_GETFAVORITESQ, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t list = 0, kind = 0, zone = 0;
        if (!in.Int(&list) || !in.Int(&kind) || !in.Int(&zone)) return {};
        std::lock_guard lock(tuners->mutex);
        const Tuner* tuner = tuners->OfZone(*zones, zone);
        return {
            {request.sender, ZVM_TUNER_GETFAVORITESA, tuner ? FavoriteList(*tuner) : Bytes(PayloadWriter().Int(0))}};
    });
    gateway.On(ZVM_TUNER_ADDFAVORITEQ, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone)) return {};
        std::lock_guard lock(tuners->mutex);
        Tuner* tuner = tuners->OfZone(*zones, zone);
        if (!tuner) return {};
        const bool known = FavoriteValue(*tuner) > 0 || (tuner->kind & kCompactFavorites && FavoriteValue(*tuner) >= 0);
        if (!known) {
            int32_t id = 1;
            for (const Favorite& favorite : tuner->favorites) id = std::max(id, favorite.id + 1);
            tuner->favorites.push_back({id, StationName(*tuner), tuner->band, tuner->value});
        }
        return WithAnswer({request.sender, ZVM_TUNER_ADDFAVORITEA, {}}, Changed(*tuners, *zones, *tuner, true));
    });
    gateway.On(ZVM_TUNER_RENAMEFAVORITEQ, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t id = 0, list = 0, kind = 0;
        std::string name;
        if (!in.Int(&id) || !in.Int(&list) || !in.Int(&kind) || !in.String(&name)) return {};
        std::lock_guard lock(tuners->mutex);
        Tuner* tuner = nullptr;
        Favorite* favorite = FindFavorite(*tuners, *zones, id, &tuner);
        if (!favorite) return {};
        favorite->name = name;
        return WithAnswer({request.sender, ZVM_TUNER_RENAMEFAVORITEA, {}}, Changed(*tuners, *zones, *tuner, true));
    });
    gateway.On(ZVM_TUNER_DELETEFAVORITEQ, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t id = 0;
        if (!in.Int(&id)) return {};
        std::lock_guard lock(tuners->mutex);
        Tuner* tuner = nullptr;
        if (!FindFavorite(*tuners, *zones, id, &tuner)) return {};
        std::erase_if(tuner->favorites, [id](const Favorite& favorite) { return favorite.id == id; });
        return WithAnswer({request.sender, ZVM_TUNER_DELETEFAVORITEA, {}}, Changed(*tuners, *zones, *tuner, true));
    });
    // {zone, favourite id} (a row index on compact lists) tunes to the favourite.
    for (const auto& [question, answer] : {std::pair{ZVM_TUNER_TUNEFAVORITEQ, ZVM_TUNER_TUNEFAVORITEA},
                                           std::pair{ZVM_TUNER_TUNEFAVORITEEXQ, ZVM_TUNER_TUNEFAVORITEEXA}})
        gateway.On(question, [tuners, zones, answer = answer](const Frame& request) -> std::vector<Frame> {
            PayloadReader in(request.payload);
            int32_t zone = 0, which = 0;
            if (!in.Int(&zone) || !in.Int(&which)) return {};
            std::lock_guard lock(tuners->mutex);
            Tuner* tuner = tuners->OfZone(*zones, zone);
            if (!tuner) return {};
            for (size_t i = 0; i < tuner->favorites.size(); ++i) {
                const Favorite& favorite = tuner->favorites[i];
                const int32_t key = tuner->kind & kCompactFavorites ? static_cast<int32_t>(i) : favorite.id;
                if (key != which) continue;
                tuner->band = favorite.band;
                tuner->value = favorite.value;
                return WithAnswer({request.sender, answer, {}}, Changed(*tuners, *zones, *tuner, false));
            }
            return {{request.sender, answer, {}}};
        });
    gateway.On(ZVM_TUNER_GETGENRESQ, [](const Frame& request) {
        PayloadWriter out;
        out.Int(static_cast<int32_t>(Genres().size()));
        for (const Genre& genre : Genres()) out.Int(genre.id).String(genre.name);
        return std::vector<Frame>{{request.sender, ZVM_TUNER_GETGENRESA, out}};
    });
    gateway.On(ZVM_TUNER_GETSTATIONSQ, [](const Frame& request) {
        PayloadReader in(request.payload);
        int32_t id = 0;
        in.Int(&id);
        PayloadWriter out;
        const auto genre = std::find_if(Genres().begin(), Genres().end(), [id](const Genre& g) { return g.id == id; });
        if (genre == Genres().end()) return std::vector<Frame>{{request.sender, ZVM_TUNER_GETSTATIONSA, out.Int(0)}};
        out.Int(static_cast<int32_t>(genre->stations.size()));
        for (const auto& [channel, name] : genre->stations) out.Int(channel).String(name);
        return std::vector<Frame>{{request.sender, ZVM_TUNER_GETSTATIONSA, out}};
    });
    gateway.On(ZVM_TUNER_TUNESTATIONQ, [tuners, zones](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, channel = 0;
        if (!in.Int(&zone) || !in.Int(&channel)) return {};
        std::lock_guard lock(tuners->mutex);
        Tuner* tuner = tuners->OfZone(*zones, zone);
        if (!tuner) return {{request.sender, ZVM_TUNER_TUNESTATIONA, {}}};
        tuner->value = channel;
        return WithAnswer({request.sender, ZVM_TUNER_TUNESTATIONA, {}}, Changed(*tuners, *zones, *tuner, false));
    });
}

}  // namespace samplegateway
