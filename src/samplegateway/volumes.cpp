#include "samplegateway/volumes.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "core/messages/mediamessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {

namespace {

// The rocker's codes: up and down pressed, then up and down released.
constexpr int32_t kUpPressed = 5015;
constexpr int32_t kDownPressed = 5016;
constexpr int32_t kDownReleased = 5018;

struct ZoneVolume {
    int32_t level = kStartZoneLevel;
    int32_t muted = 0;
};

struct Volumes {
    std::mutex mutex;
    std::map<int32_t, ZoneVolume> zones;
    // object id -> level index -> value
    std::map<int32_t, std::map<int32_t, int32_t>> objects{{77, {{0, 40}, {2, 0}}}};
};

Frame Settings(uint16_t to, uint16_t id, const ZoneVolume& volume) {
    return {to, id, PayloadWriter().Int(volume.level).Int(volume.muted)};
}

}  // namespace

void ServeVolumes(Gateway& gateway) {
    auto volumes = std::make_shared<Volumes>();
    gateway.On(ZVM_AUDIO_GETSETTINGSQ, [volumes](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0;
        if (!in.Int(&zone)) return {};
        std::lock_guard lock(volumes->mutex);
        return {Settings(request.sender, ZVM_AUDIO_GETSETTINGSA, volumes->zones[zone])};
    });
    gateway.On(ZVM_AUDIO_SETSETTING, [volumes](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, level = 0, muted = 0;
        if (!in.Int(&zone) || !in.Int(&level) || !in.Int(&muted)) return {};
        std::lock_guard lock(volumes->mutex);
        ZoneVolume& volume = volumes->zones[zone];
        volume = {std::clamp(level, 0, 100), muted ? 1 : 0};
        return {Settings(request.sender, ZVM_AUDIO_SETTINGSCHANGED, volume)};
    });
    gateway.On(ZVM_AUDIO_SOURCECOMMAND, [volumes](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t zone = 0, code = 0;
        if (!in.Int(&zone) || !in.Int(&code) || code < kUpPressed || code > kDownReleased) return {};
        std::lock_guard lock(volumes->mutex);
        ZoneVolume& volume = volumes->zones[zone];
        if (code == kUpPressed || code == kDownPressed)
            volume.level = std::clamp(volume.level + (code == kUpPressed ? kRockerStep : -kRockerStep), 0, 100);
        return {Settings(request.sender, ZVM_AUDIO_SETTINGSCHANGED, volume)};
    });
    gateway.On(ZVM_AUDIO_GETCONTROLQ, [volumes](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t object = 0;
        if (!in.Int(&object)) return {};
        std::lock_guard lock(volumes->mutex);
        const std::map<int32_t, int32_t>& levels = volumes->objects[object];
        PayloadWriter out;
        out.Int(object).Int(static_cast<int32_t>(levels.size()));
        for (const auto& [index, value] : levels) out.Int(index).Int(value);
        return {{request.sender, ZVM_AUDIO_GETCONTROLA, out}};
    });
    gateway.On(ZVM_AUDIO_SETCONTROL, [volumes](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t object = 0, index = 0, value = 0;
        if (!in.Int(&object) || !in.Int(&index) || !in.Int(&value)) return {};
        std::lock_guard lock(volumes->mutex);
        volumes->objects[object][index] = value;
        return {{kEverySink, ZVM_AUDIO_CONTROLCHANGED, PayloadWriter().Int(object).Int(1).Int(index).Int(value)}};
    });
}

}  // namespace samplegateway
