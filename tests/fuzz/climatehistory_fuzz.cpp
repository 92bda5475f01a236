// Feeds arbitrary payloads to the readers of a climate zone's history answer
// (from a plain and from a themed gateway), of its summary texts and of the
// notice that a zone's programs changed.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/messages/climatemessages.h"
#include "vistrel/home/climate/hvachistory.h"
#include "vistrel/home/climate/hvacschedule.h"

namespace {

std::unique_ptr<CZVMSG> Message(uint16_t id, const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, id, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    for (int themed : {0, 1}) {
        CClimateHistory history;
        ReadClimateHistory(*Message(ZVM_HVAC_HISTORYDATA, data, size), themed, &history);
    }
    CClimateSummary summary;
    ReadClimateSummary(*Message(ZVM_HVAC_HISTORYLABELS, data, size), &summary);
    int32_t zone = 0;
    ReadScheduleChanged(*Message(ZVM_HVAC_SCHEDULECHANGED, data, size), &zone);
    return 0;
}
