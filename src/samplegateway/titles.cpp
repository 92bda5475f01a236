#include "samplegateway/titles.h"

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <vector>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/musicserver.h"

namespace samplegateway {
namespace {

constexpr int32_t kPlaying = 1002;
constexpr int32_t kPlayCommand = 1849;
constexpr int kMaxThumbnailSide = 640;

struct Disc {
    const char* name;
    std::vector<const char*> titles;
};

const std::array<Disc, 3> kDiscs = {{
    {"Movies",
     {"The Long Harbour", "Night Train", "Paper Moons", "Glass Garden", "Red Canyon", "Winter Tide", "Lanterns",
      "Saltwater"}},
    {"Concerts", {"Live at the Pier", "Open Air 1998", "Unplugged", "Strings at Dusk", "Summer Stage"}},
    {"Kids", {"Little Fox", "The Kite", "Moon Boat"}},
}};

// The title id of position `index` of a disc: the ids run on across the discs.
int32_t TitleId(size_t disc, size_t index) {
    int32_t id = kFirstTitleId;
    for (size_t d = 0; d < disc; ++d) id += static_cast<int32_t>(kDiscs[d].titles.size());
    return id + static_cast<int32_t>(index);
}

bool OnDisc(size_t disc, int32_t title) {
    return title >= TitleId(disc, 0) && title < TitleId(disc, kDiscs[disc].titles.size());
}

// What the changer plays, and who listens; touched only on the gateway's thread.
struct Changer {
    int32_t state = kPlaying;
    std::array<int32_t, 3> current = {TitleId(0, 2), TitleId(1, 0), TitleId(2, 1)};
    std::set<uint16_t> subscribers;

    Bytes State() const {
        PayloadWriter out;
        out.Int(kTitlesObject).Int(state).Int(static_cast<int32_t>(current.size()));
        for (int32_t title : current) out.Int(title);
        return out;
    }
};

// The object of a request, or false for another device.
bool ForChanger(PayloadReader& in) {
    int32_t object = 0;
    return in.Int(&object) && object == kTitlesObject;
}

}  // namespace

void ServeTitles(Gateway& gateway) {
    auto changer = std::make_shared<Changer>();
    gateway.On(ZVM_MEDIA_GETTITLESTATEQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        if (!ForChanger(in)) return {};
        PayloadWriter out;
        out.Int(kTitlesObject).Int(static_cast<int32_t>(kDiscs.size()));
        for (const Disc& disc : kDiscs) out.String(disc.name);
        return {{request.sender, ZVM_MEDIA_GETTITLESTATEA, out}};
    });
    gateway.On(ZVM_MEDIA_GETTITLESQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t group = 0;
        if (!ForChanger(in) || !in.Int(&group) || group < 0 || group >= static_cast<int32_t>(kDiscs.size())) return {};
        const Disc& disc = kDiscs[static_cast<size_t>(group)];
        PayloadWriter out;
        out.Int(kTitlesObject).Int(static_cast<int32_t>(disc.titles.size()));
        for (size_t i = 0; i < disc.titles.size(); ++i)
            out.Int(TitleId(static_cast<size_t>(group), i)).Int(0).String(disc.titles[i]);
        return {{request.sender, ZVM_MEDIA_GETTITLESA, out}};
    });
    gateway.On(ZVM_MEDIA_GETTITLELISTQ, [changer](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        if (!ForChanger(in)) return {};
        return {{request.sender, ZVM_MEDIA_GETTITLELISTA, changer->State()}};
    });
    gateway.On(ZVM_MEDIA_SUBSCRIBETITLES, [changer](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0;
        if (ForChanger(in) && in.Int(&sink)) changer->subscribers.insert(static_cast<uint16_t>(sink));
        return {};
    });
    gateway.On(ZVM_MEDIA_UNSUBSCRIBETITLES, [changer](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0;
        if (ForChanger(in) && in.Int(&sink)) changer->subscribers.erase(static_cast<uint16_t>(sink));
        return {};
    });
    // {object, 1849, title | disc << 16}: the disc plays the title; every subscriber hears the new
    // state. The discs and their titles stay as they were, so no notice of changed titles is sent:
    // it would make every titles window ask for its discs again and go back to the first.
    gateway.On(ZVM_MEDIA_TITLESCOMMAND, [changer](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t command = 0, packed = 0;
        if (!ForChanger(in) || !in.Int(&command) || !in.Int(&packed) || command != kPlayCommand) return {};
        const size_t disc = static_cast<uint32_t>(packed) >> 16;
        const int32_t title = packed & 0xFFFF;
        if (disc >= kDiscs.size() || !OnDisc(disc, title) || changer->current[disc] == title) return {};
        changer->current[disc] = title;
        changer->state = kPlaying;
        std::vector<Frame> pushes;
        for (uint16_t sink : changer->subscribers) {
            pushes.push_back({sink, ZVM_MEDIA_GETTITLELISTA, changer->State()});
        }
        return pushes;
    });
    // {sink, width, height, object, title, group} -> the title's picture at that size.
    gateway.On(ZVM_AUDIO_GETTITLETHUMBQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t sink = 0, w = 0, h = 0, object = 0, title = 0;
        if (!in.Int(&sink) || !in.Int(&w) || !in.Int(&h) || !in.Int(&object) || !in.Int(&title)) return {};
        if (object != kTitlesObject) return {};
        w = std::clamp(w, 1, kMaxThumbnailSide);
        h = std::clamp(h, 1, kMaxThumbnailSide);
        const Bytes jpeg = Cover(title, w, h);
        return {{request.sender, ZVM_PICTURES_PICTURE, PayloadWriter().Int(w).Int(h).Raw(jpeg.data(), jpeg.size())}};
    });
}

}  // namespace samplegateway
