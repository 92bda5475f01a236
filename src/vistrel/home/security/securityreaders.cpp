#include "vistrel/home/security/securityreaders.h"

#include "core/msgreader.h"

namespace {

constexpr int32_t kStringBytes = 4;
constexpr int32_t kPackedTimeBytes = 6;
// Four bytes and a name.
constexpr int32_t kModeBytes = 4 + kStringBytes;
// Id, name and the ignored value.
constexpr int32_t kZoneBytes = 8 + kStringBytes;
// Name, five values and the two counts.
constexpr int32_t kRecordBytes = kStringBytes + 7 * 4;

int ReadMode(CZVMSG& message, CSecurityMode* mode) {
    uint8_t value = 0, shown = 0, withoutCode = 0, codeLength = 0;
    if (!CMsgReader(message).Byte(value).Byte(shown).Byte(withoutCode).Byte(codeLength).String(mode->name)) return 0;
    mode->value = value;
    mode->shown = shown;
    mode->armWithoutCode = withoutCode;
    mode->codeLength = codeLength;
    return 1;
}

int ReadNameList(CZVMSG& message, std::vector<CSecurityName>* names) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, 4 + kStringBytes, [&](int32_t) {
        CSecurityName name;
        if (!CMsgReader(message).Int(name.key).String(name.name)) return 0;
        names->push_back(std::move(name));
        return 1;
    });
}

}  // namespace

int ReadSecurityRecord(CZVMSG& message, CSecurityRecord* out) {
    int32_t modes = 0;
    if (!CMsgReader(message)
             .String(out->name)
             .Int(out->partitionId)
             .Int(out->area)
             .Int(out->spare)
             .Int(out->keypadAllowed)
             .Int(out->bypassAllowed)
             .Int(modes))
        return 0;
    const int modesRead = ReadRecords(message, modes, kModeBytes, [&](int32_t) {
        CSecurityMode mode;
        if (!ReadMode(message, &mode)) return 0;
        out->modes.push_back(std::move(mode));
        return 1;
    });
    int32_t zones = 0;
    if (!modesRead || !message.ReadInt(zones)) return 0;
    return ReadRecords(message, zones, kZoneBytes, [&](int32_t) {
        CSecurityZone zone;
        int32_t ignored = 0;
        if (!CMsgReader(message).Int(zone.zoneId).String(zone.name).Int(ignored)) return 0;
        zone.area = out->area;
        out->zones.push_back(std::move(zone));
        return 1;
    });
}

int ReadSecuritySummary(CZVMSG& message, CSecuritySummary* out) {
    int32_t count = 0;
    if (!CMsgReader(message).Int(out->historyAvailable).Int(count)) return 0;
    return ReadRecords(message, count, kRecordBytes, [&](int32_t) {
        CSecurityRecord record;
        const int whole = ReadSecurityRecord(message, &record);
        if (whole) out->partitions.push_back(std::move(record));
        return whole;
    });
}

int ReadSecurityStatus(CZVMSG& message, CSecurityStatus* out) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    const int linesRead = ReadRecords(message, count, kStringBytes, [&](int32_t) {
        std::string line;
        if (!message.ReadString(line)) return 0;
        out->lines.push_back(std::move(line));
        return 1;
    });
    if (!linesRead || !message.ReadInt(count)) return 0;
    const int zonesRead = ReadRecords(message, count, 8, [&](int32_t) {
        CSecurityZoneState zone;
        if (!CMsgReader(message).Int(zone.zoneId).Int(zone.state)) return 0;
        out->zones.push_back(zone);
        return 1;
    });
    return zonesRead && message.ReadInt(out->statusWord);
}

int ReadSecurityNames(CZVMSG& message, CSecurityNames* out) {
    return ReadNameList(message, &out->first) && ReadNameList(message, &out->zones);
}

int ReadSecurityHistory(CZVMSG& message, CSecurityHistory* out) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    const int statesRead = ReadRecords(message, count, kPackedTimeBytes + 2, [&](int32_t) {
        CSecurityState state;
        uint16_t word = 0;
        if (!message.ReadPackedTime(state.time) || !message.ReadShort(word)) return 0;
        state.statusWord = word;
        out->states.push_back(state);
        return 1;
    });
    if (!statesRead || !message.ReadInt(count)) return 0;
    const int eventsRead = ReadRecords(message, count, kPackedTimeBytes + 2 + kStringBytes, [&](int32_t) {
        CSecurityEvent event;
        uint16_t value = 0;
        if (!message.ReadPackedTime(event.time) || !message.ReadShort(value) || !message.ReadString(event.text))
            return 0;
        event.value = value;
        out->events.push_back(std::move(event));
        return 1;
    });
    if (!eventsRead || !message.ReadInt(count)) return 0;
    return ReadRecords(message, count, 8, [&](int32_t) {
        CSecurityZoneHistory zone;
        int32_t ranges = 0;
        if (!CMsgReader(message).Int(zone.zoneId).Int(ranges)) return 0;
        const int rangesRead = ReadRecords(message, ranges, 2 * kPackedTimeBytes, [&](int32_t) {
            CZVTime start, end;
            if (!message.ReadPackedTime(start) || !message.ReadPackedTime(end)) return 0;
            zone.ranges.emplace_back(start, end);
            return 1;
        });
        out->zones.push_back(std::move(zone));
        return rangesRead;
    });
}
