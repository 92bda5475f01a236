// Feeds arbitrary payloads to the readers of the irrigation answers: the plant
// groups, the programs, a group's zones, the manual zones, the history, the
// status and the seasonal percentages.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "vistrel/home/irrigation/irrigationreaders.h"

namespace {

std::unique_ptr<CZVMSG> Payload(const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, 0, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    std::vector<CPlantGroup> groups;
    ReadPlantGroups(*Payload(data, size), &groups);
    std::vector<CIrrigationProgramRecord> programs;
    ReadIrrigationPrograms(*Payload(data, size), &programs);
    // The program count comes from the first byte, so zones are read with several pair counts.
    std::vector<CIrrigationZone> zones;
    ReadIrrigationZones(*Payload(data, size), size > 0 ? data[0] % 8 : 0, &zones);
    CManualZones manual;
    ReadManualZones(*Payload(data, size), &manual);
    CIrrigationHistory history;
    ReadIrrigationHistory(*Payload(data, size), &history);
    CIrrigationStatus status;
    ReadIrrigationStatus(*Payload(data, size), &status);
    CSeasonalPercents percents{};
    ReadSeasonalPercents(*Payload(data, size), &percents);
    return 0;
}
