// Feeds arbitrary payloads to the readers of the schedule pages: the pool's
// program list, the lighting schedules, their events and commands, and the
// light command picker's lists.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/messages/schedulemessages.h"
#include "readerfuzz.h"
#include "vistrel/home/pool/poolprogram.h"
#include "vistrel/home/schedule/schedulereaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<CPoolProgram> programs;
    std::vector<int32_t> masks;
    std::vector<CScheduleEventRecord> events;
    std::vector<CScheduledCommandRecord> commands;
    std::vector<CLightItemRecord> items;
    return fuzzing::FeedReaders(
        data, size,
        {
            {ZVM_POOL_GETSCHEDULESA, [&](CZVMSG& m) { ReadPoolPrograms(m, &programs); }},
            {ZVM_SCHEDULE_GETSCHEDULESA, [&](CZVMSG& m) { ReadScheduleMasks(m, &masks); }},
            {ZVM_SCHEDULE_GETEVENTSA, [&](CZVMSG& m) { ReadScheduleEvents(m, &events); }},
            {ZVM_SCHEDULE_GETCOMMANDSA, [&](CZVMSG& m) { ReadScheduledCommands(m, &commands); }},
            {ZVM_LIGHTS_GETKEYPADLISTQ + 1, [&](CZVMSG& m) { ReadLightItems(m, &items); }},
        });
}
