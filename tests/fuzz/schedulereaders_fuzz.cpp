// Feeds arbitrary payloads to the readers of the schedule pages: the pool's
// program list, the lighting schedules, their events and commands, and the
// light command picker's lists.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/messages/schedulemessages.h"
#include "vistrel/home/pool/poolprogram.h"
#include "vistrel/home/schedule/schedulereaders.h"

namespace {

std::unique_ptr<CZVMSG> Payload(uint16_t id, const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, id, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    std::vector<CPoolProgram> programs;
    ReadPoolPrograms(*Payload(ZVM_POOL_GETSCHEDULESA, data, size), &programs);
    std::vector<int32_t> masks;
    ReadScheduleMasks(*Payload(ZVM_SCHEDULE_GETSCHEDULESA, data, size), &masks);
    std::vector<CScheduleEventRecord> events;
    ReadScheduleEvents(*Payload(ZVM_SCHEDULE_GETEVENTSA, data, size), &events);
    std::vector<CScheduledCommandRecord> commands;
    ReadScheduledCommands(*Payload(ZVM_SCHEDULE_GETCOMMANDSA, data, size), &commands);
    std::vector<CLightItemRecord> items;
    ReadLightItems(*Payload(ZVM_LIGHTS_GETKEYPADLISTQ + 1, data, size), &items);
    return 0;
}
