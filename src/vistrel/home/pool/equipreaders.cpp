#include "vistrel/home/pool/equipreaders.h"

#include "core/msgreader.h"

namespace {

constexpr int32_t kErrorEntryBytes = 8;  // flag and the string's length

}  // namespace

int ReadChlorinatorStatus(CZVMSG& message, CChlorinatorStatus* out) {
    CChlorinatorStatus read;
    if (!CMsgReader(message)
             .Int(read.installed)
             .Int(read.communicationsOk)
             .Int(read.poolOutput)
             .Int(read.spaOutput)
             .Int(read.saltLevel)
             .Int(read.alarms)
             .Int(read.superHours))
        return 0;
    *out = read;
    return 1;
}

int ReadPoolErrors(CZVMSG& message, std::vector<CPoolErrorEntry>* out) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    std::vector<CPoolErrorEntry> read;
    const int complete = ReadRecords(message, count, kErrorEntryBytes, [&](int32_t) {
        CPoolErrorEntry entry;
        if (!CMsgReader(message).Int(entry.flag).String(entry.text)) return 0;
        read.push_back(std::move(entry));
        return 1;
    });
    if (!complete) return 0;
    *out = std::move(read);
    return 1;
}

int ReadPumpStatus(CZVMSG& message, CPumpStatus* out) {
    CPumpStatus read;
    CMsgReader in(message);
    in.Int(read.running).Int(read.watts).Int(read.rpm).Int(read.alarms).Int(read.gpm).Int(read.filter);
    for (CPumpPreset& preset : read.presets) in.Int(preset.deviceId).Int(preset.value);
    if (!in) return 0;
    *out = read;
    return 1;
}
