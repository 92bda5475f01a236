#include "samplegateway/tvchannels.h"

#include <atomic>
#include <memory>
#include <span>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/wire.h"

namespace samplegateway {
namespace {

struct Favorite {
    int32_t id;
    int32_t channel;
    const char* icon;
    const char* name;
};

// Icons the sample house's icon answers draw.
constexpr Favorite kNews[] = {
    {1, 4, "MAIN\\INTERNET", "News 4"}, {2, 9, "I_HVACOFF", "Weather 9"}, {3, 24, "MAIN\\PHOTOS", "Business 24"}};
constexpr Favorite kSports[] = {{11, 31, "MAIN\\POOL", "Soccer 31"},
                                {12, 32, "TRANSPORT\\ICON32PLAY", "Tennis 32"},
                                {13, 45, "I_LOGO", "Racing 45"},
                                {14, 46, "MAIN\\LIGHT_OFF", "Golf 46"},
                                {15, 52, "TRANSPORT\\ICON32_PLUS_GREEN", "Sailing 52"}};

struct Group {
    int32_t id;
    const char* name;
    std::span<const Favorite> favorites;
};

const Group kGroups[] = {{100, "News", kNews}, {200, "Sports", kSports}};

const Favorite* FindFavorite(int32_t id) {
    for (const Group& group : kGroups)
        for (const Favorite& favorite : group.favorites)
            if (favorite.id == id) return &favorite;
    return nullptr;
}

}  // namespace

void ServeTvChannels(Gateway& gateway) {
    auto channel = std::make_shared<std::atomic<int32_t>>(kTvStartChannel);
    gateway.On(ZVM_TV_GETCHANNELQ, [channel](const Frame& request) -> std::vector<Frame> {
        return {{request.sender, ZVM_TV_GETCHANNELA, PayloadWriter().Int(kTvSource).Int(*channel)}};
    });
    gateway.On(ZVM_TV_CHANNELCOMMAND, [channel](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t source = 0, numbered = 0, number = 0;
        if (in.Int(&source) && in.Int(&numbered) && in.Int(&number) && source == kTvSource) *channel = number;
        return {};
    });
    gateway.On(ZVM_TV_FAVORITESCOMMAND, [channel](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t source = 0, id = 0;
        if (!in.Int(&source) || !in.Int(&id) || source != kTvSource) return {};
        if (const Favorite* favorite = FindFavorite(id)) *channel = favorite->channel;
        return {};
    });
    gateway.On(ZVM_TV_GETCHANNELGROUPSQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadWriter out;
        out.Int(static_cast<int32_t>(std::size(kGroups)));
        for (const Group& group : kGroups) out.Int(group.id).String(group.name);
        return {{request.sender, ZVM_TV_GETCHANNELGROUPSA, out}};
    });
    gateway.On(ZVM_TV_GETFAVORITESQ, [](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t groupId = 0;
        in.Int(&groupId);
        PayloadWriter out;
        for (const Group& group : kGroups) {
            if (group.id != groupId) continue;
            out.Int(static_cast<int32_t>(group.favorites.size()));
            for (const Favorite& favorite : group.favorites)
                out.Int(favorite.id).String(favorite.icon).String(favorite.name);
            return {{request.sender, ZVM_TV_GETFAVORITESA, out}};
        }
        return {{request.sender, ZVM_TV_GETFAVORITESA, PayloadWriter().Int(0)}};
    });
}

}  // namespace samplegateway
