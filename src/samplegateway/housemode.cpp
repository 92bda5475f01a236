#include "samplegateway/housemode.h"

#include <atomic>
#include <memory>

#include "core/messages/shellmessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {

void ServeHouseMode(Gateway& gateway) {
    auto mode = std::make_shared<std::atomic<int32_t>>(0);
    gateway.On(ZVM_HOUSE_GETMODEQ, [mode](const Frame& request) -> std::vector<Frame> {
        return {{request.sender, ZVM_HOUSE_GETMODEA, PayloadWriter().Int(*mode).Int(0)}};
    });
    gateway.On(ZVM_HOUSE_SETMODE, [mode](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t wanted = 0;
        if (!in.Int(&wanted)) return {};
        *mode = wanted;
        return {{kEverySink, ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(wanted).Int(0)}};
    });
}

}  // namespace samplegateway
