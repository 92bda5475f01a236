#include "vistrel/home/irrigation/irrigationreaders.h"

#include <algorithm>
#include <climits>

#include "core/msgreader.h"
#include "vistrel/home/historyreaders.h"

namespace {

constexpr int32_t kStringBytes = 4;
constexpr int32_t kTimeBytes = 16;

}  // namespace

int32_t CIrrigationZone::GetBaseTime(int program) const {
    return program >= 0 && program < static_cast<int>(runTimes.size()) ? runTimes[static_cast<size_t>(program)].seconds
                                                                       : 0;
}

void CIrrigationZone::SetBaseTime(int program, int32_t seconds) {
    if (program >= 0 && program < static_cast<int>(runTimes.size()))
        runTimes[static_cast<size_t>(program)].seconds = seconds;
}

int ReadPlantGroups(CZVMSG& message, std::vector<CPlantGroup>* out) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kStringBytes + 8, [&](int32_t) {
        CPlantGroup group;
        if (!CMsgReader(message).String(group.name).Int(group.id).Int(group.rule)) return 0;
        out->push_back(std::move(group));
        return 1;
    });
}

int ReadIrrigationPrograms(CZVMSG& message, std::vector<CIrrigationProgramRecord>* out) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kStringBytes + 12, [&](int32_t) {
        CIrrigationProgramRecord program;
        if (!CMsgReader(message).Int(program.id).String(program.name).Int(program.timeType).Int(program.timeValue))
            return 0;
        out->push_back(std::move(program));
        return 1;
    });
}

int ReadIrrigationZones(CZVMSG& message, int programs, std::vector<CIrrigationZone>* out) {
    int32_t count = 0;
    if (!message.ReadInt(count) || programs < 0) return 0;
    const int64_t pairBytes = 8 * static_cast<int64_t>(programs);
    const int32_t minBytes = static_cast<int32_t>(std::min<int64_t>(4 + kStringBytes + pairBytes, INT32_MAX));
    return ReadRecords(message, count, minBytes, [&](int32_t) {
        CIrrigationZone zone;
        if (!CMsgReader(message).Int(zone.id).String(zone.name)) return 0;
        out->push_back(zone);
        CIrrigationZone& kept = out->back();
        for (int p = 0; p < programs; ++p) {
            CZoneTimePair pair;
            if (!CMsgReader(message).Int(pair.programId).Int(pair.seconds)) return 0;
            kept.runTimes.push_back(pair);
        }
        return 1;
    });
}

int ReadIrrigationStatus(CZVMSG& message, CIrrigationStatus* out) {
    return CMsgReader(message)
                   .Int(out->mode)
                   .Int(out->spare)
                   .Int(out->secondsRemaining)
                   .Int(out->rain)
                   .String(out->zone)
               ? 1
               : 0;
}

int ReadManualZones(CZVMSG& message, CManualZones* out) {
    int32_t count = 0;
    if (!CMsgReader(message).Int(out->mode).Int(count)) return 0;
    return ReadRecords(message, count, kStringBytes + 12, [&](int32_t) {
        CManualZone zone;
        if (!CMsgReader(message).Int(zone.id).String(zone.name).Int(zone.secondsToRun).Int(zone.runTime)) return 0;
        out->zones.push_back(std::move(zone));
        return 1;
    });
}

int ReadSeasonalPercents(CZVMSG& message, CSeasonalPercents* out) {
    CSeasonalPercents read{};
    CMsgReader reader(message);
    for (uint8_t& percent : read) reader.Byte(percent);
    if (!reader) return 0;
    *out = read;
    return 1;
}

int ReadIrrigationHistory(CZVMSG& message, CIrrigationHistory* out) {
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    const int modes = ReadRecords(message, count, kStringBytes + 4, [&](int32_t) {
        CModeTimeline timeline;
        int32_t intervals = 0;
        if (!CMsgReader(message).String(timeline.name).Int(intervals)) return 0;
        out->modes.push_back(std::move(timeline));
        CModeTimeline& kept = out->modes.back();
        return ReadRecords(message, intervals, 2 * kTimeBytes + 4, [&](int32_t) {
            CModeInterval interval;
            if (!message.ReadTime(interval.start) || !message.ReadTime(interval.end) || !message.ReadInt(interval.mode))
                return 0;
            kept.intervals.push_back(interval);
            return 1;
        });
    });
    if (!modes || !message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kStringBytes + 4, [&](int32_t) {
        CZoneTimeline timeline;
        if (!message.ReadString(timeline.name)) return 0;
        out->zones.push_back(std::move(timeline));
        return ReadTimeRanges(message, &out->zones.back().ranges);
    });
}
