#include "vistrel/media/audio/audioreaders.h"

#include <algorithm>

#include "core/msgreader.h"

namespace {

constexpr int32_t kPairBytes = 8;
constexpr int32_t kMinNameBytes = 1;
// Wire sizes of the zone list's records with every string empty.
constexpr int32_t kMinZoneSize = 24;
constexpr int32_t kMinGroupSize = 8;
constexpr int32_t kMinSourceSize = 16;
constexpr int32_t kMinIconSize = 8;

bool ReadZone(CZVMSG& message, std::unique_ptr<CAudioZone>* out) {
    int32_t id = 0, kind = 0, layout = 0, extra = 0, groups = 0;
    std::string name;
    if (!CMsgReader(message).Int(id).String(name).Int(kind).Int(layout).Int(extra).Int(groups)) return false;
    auto zone = std::make_unique<CAudioZone>(id, CZVString(name.c_str()), kind, layout, extra);
    const int ok = ReadRecords(message, groups, kMinGroupSize, [&](int) {
        std::string group;
        int32_t sources = 0;
        if (!CMsgReader(message).String(group).Int(sources)) return false;
        return ReadRecords(message, sources, kMinSourceSize, [&](int) {
                   int32_t sourceId = 0, sourceKind = 0;
                   std::string sourceName, icon;
                   if (!CMsgReader(message).Int(sourceId).Int(sourceKind).String(sourceName).String(icon)) return false;
                   zone->AddSource(sourceId, sourceKind, CZVString(sourceName.c_str()), CZVString(icon.c_str()));
                   return true;
               }) != 0;
    });
    if (!ok) return false;
    *out = std::move(zone);
    return true;
}

}  // namespace

bool ReadZoneList(CZVMSG& message, int32_t maxZones, int32_t* preview,
                  std::vector<std::unique_ptr<CAudioZone>>* zones) {
    message.ResetPosition();
    zones->clear();
    int32_t sent = 0;
    if (!CMsgReader(message).Int(*preview).Int(sent)) return false;
    bool cut = false;
    const int32_t count = std::min(BoundCount(sent, message, kMinZoneSize, &cut), maxZones);
    for (int32_t i = 0; i < count; ++i) {
        std::unique_ptr<CAudioZone> zone;
        if (!ReadZone(message, &zone)) return false;
        zones->push_back(std::move(zone));
    }
    return !cut;
}

int ReadZoneState(CZVMSG& message, CZoneState* state) {
    message.ResetPosition();
    if (!CMsgReader(message).Int(state->source).Int(state->kind).Int(state->subId).Int(state->detail)) return 0;
    state->path = CAudDataList(&message);
    return 1;
}

std::vector<CZoneIcon> ReadZoneIcons(CZVMSG& message) {
    message.ResetPosition();
    std::vector<CZoneIcon> icons;
    int32_t count = 0;
    if (!message.ReadInt(count)) return icons;
    ReadRecords(message, count, kMinIconSize, [&](int32_t) {
        CZoneIcon entry;
        if (!CMsgReader(message).Int(entry.zoneId).String(entry.icon)) return false;
        icons.push_back(std::move(entry));
        return true;
    });
    return icons;
}

int ReadZoneSettings(CZVMSG& message, int32_t* level, int32_t* muted) {
    message.ResetPosition();
    int32_t l = 0, m = 0;
    if (!CMsgReader(message).Int(l).Int(m)) return 0;
    *level = l;
    *muted = m;
    return 1;
}

int ReadControlValue(CZVMSG& message, int32_t objectId, int32_t levelIndex, int32_t* value) {
    message.ResetPosition();
    int32_t object = 0, count = 0;
    if (!CMsgReader(message).Int(object) || object != objectId || !CMsgReader(message).Int(count)) return 0;
    int found = 0;
    ReadRecords(message, count, kPairBytes, [&](int32_t) {
        int32_t index = 0, pairValue = 0;
        if (!CMsgReader(message).Int(index).Int(pairValue)) return false;
        if (index != levelIndex) return true;
        *value = pairValue;
        found = 1;
        return false;
    });
    return found;
}

int ReadModeNames(CZVMSG& message, int32_t objectId, int32_t group, std::vector<std::string>* names) {
    message.ResetPosition();
    names->clear();
    int32_t object = 0, answerGroup = 0, count = 0;
    if (!CMsgReader(message).Int(object).Int(answerGroup) || object != objectId || answerGroup != group) return 0;
    if (!CMsgReader(message).Int(count)) return 1;
    ReadRecords(message, count, kMinNameBytes, [&](int32_t) {
        std::string name;
        if (!CMsgReader(message).String(name)) return false;
        names->push_back(name);
        return true;
    });
    return 1;
}
