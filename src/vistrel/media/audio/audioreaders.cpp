#include "vistrel/media/audio/audioreaders.h"

#include "core/msgreader.h"

namespace {

constexpr int32_t kPairBytes = 8;
constexpr int32_t kMinNameBytes = 1;

}  // namespace

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
