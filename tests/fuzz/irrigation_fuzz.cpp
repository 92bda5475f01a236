// Feeds arbitrary payloads to the readers of the irrigation answers: the plant
// groups, the programs, a group's zones, the manual zones, the history, the
// status and the seasonal percentages.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/messages/irrigationmessages.h"
#include "readerfuzz.h"
#include "vistrel/home/irrigation/irrigationreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<CPlantGroup> groups;
    std::vector<CIrrigationProgramRecord> programs;
    std::vector<CIrrigationZone> zones;
    CManualZones manual;
    CIrrigationHistory history;
    CIrrigationStatus status;
    CSeasonalPercents percents{};
    // The program count comes from the first byte, so zones are read with several pair counts.
    const int pairs = size > 0 ? data[0] % 8 : 0;
    return fuzzing::FeedReaders(
        data, size,
        {
            {ZVM_IRRIGATION_GETGROUPSA, [&](CZVMSG& m) { ReadPlantGroups(m, &groups); }},
            {ZVM_IRRIGATION_GETSUMMARYA, [&](CZVMSG& m) { ReadIrrigationPrograms(m, &programs); }},
            {ZVM_IRRIGATION_GETGROUPA, [&](CZVMSG& m) { ReadIrrigationZones(m, pairs, &zones); }},
            {ZVM_IRRIGATION_GETMANUALZONESA, [&](CZVMSG& m) { ReadManualZones(m, &manual); }},
            {ZVM_IRRIGATION_GETHISTORYA, [&](CZVMSG& m) { ReadIrrigationHistory(m, &history); }},
            {ZVM_IRRIGATION_GETSTATUSA, [&](CZVMSG& m) { ReadIrrigationStatus(m, &status); }},
            {ZVM_IRRIGATION_GETSEASONALA, [&](CZVMSG& m) { ReadSeasonalPercents(m, &percents); }},
        });
}
