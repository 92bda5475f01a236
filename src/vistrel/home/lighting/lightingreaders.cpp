#include "vistrel/home/lighting/lightingreaders.h"

#include "core/msgreader.h"

namespace {

constexpr int32_t kIntBytes = 4;
constexpr int32_t kStringBytes = 4;
constexpr int32_t kColourBytes = 12;
constexpr int32_t kKeypadButtonBytes = 7 * kIntBytes + kStringBytes + 2 * kColourBytes;

// Reads the count, then each record through readOne, bounded by the payload.
template <typename Record, typename ReadOne>
int ReadCounted(CZVMSG& message, int32_t minBytes, std::vector<Record>* out, ReadOne&& readOne) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, minBytes, [&](int32_t) {
        Record record;
        if (!readOne(record)) return false;
        out->push_back(std::move(record));
        return true;
    });
}

}  // namespace

int ReadKeypad(CZVMSG& message, CKeypadRecord* out) {
    *out = CKeypadRecord();
    if (!CMsgReader(message).Int(out->left).Int(out->right).Int(out->top).Int(out->bottom)) return 0;
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    ReadRecords(message, count, kKeypadButtonBytes, [&](int32_t) {
        CKeypadButtonRecord b;
        if (!CMsgReader(message)
                 .Int(b.tag)
                 .String(b.caption)
                 .Int(b.kind)
                 .Int(b.x)
                 .Int(b.y)
                 .Int(b.width)
                 .Int(b.height)
                 .Int(b.corner)
                 .Color(b.face)
                 .Color(b.colour))
            return false;
        out->buttons.push_back(std::move(b));
        return true;
    });
    return 1;
}

int ReadKeypadLeds(CZVMSG& message, std::vector<int32_t>* out) {
    return ReadCounted(message, kIntBytes, out, [&](int32_t& state) { return message.ReadInt(state) != 0; });
}

int ReadKeypadEntry(CZVMSG& message, CKeypadEntryRecord* out) {
    return CMsgReader(message)
                   .Int(out->a)
                   .Int(out->b)
                   .Int(out->c)
                   .String(out->texts[0])
                   .String(out->texts[1])
                   .String(out->texts[2])
               ? 1
               : 0;
}

int ReadTwoValues(CZVMSG& message, int32_t* first, int32_t* second) {
    message.ResetPosition();
    return CMsgReader(message).Int(*first).Int(*second) ? 1 : 0;
}

int ReadLightingAreas(CZVMSG& message, std::vector<CLightingAreaRecord>* out) {
    return ReadCounted(message, 2 * kIntBytes + kStringBytes, out, [&](CLightingAreaRecord& area) {
        return static_cast<bool>(CMsgReader(message).Int(area.id).String(area.name).Int(area.flags));
    });
}

int ReadGridEntries(CZVMSG& message, std::vector<CGridEntryRecord>* out) {
    return ReadCounted(message, 2 * kIntBytes + kStringBytes, out, [&](CGridEntryRecord& entry) {
        return static_cast<bool>(CMsgReader(message).Int(entry.id).String(entry.text).Int(entry.type));
    });
}

int ReadSceneDevices(CZVMSG& message, std::vector<CSceneDeviceRecord>* out) {
    return ReadCounted(message, 2 * kIntBytes + kStringBytes, out, [&](CSceneDeviceRecord& device) {
        return static_cast<bool>(CMsgReader(message).String(device.name).Int(device.value).Int(device.flags));
    });
}
