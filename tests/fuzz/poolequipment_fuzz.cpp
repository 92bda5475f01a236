// Feeds arbitrary payloads to the readers of the pool equipment's answers:
// the chlorinator, the error list and a pump.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/messages/coremessages.h"
#include "vistrel/home/pool/equipreaders.h"

namespace {

std::unique_ptr<CZVMSG> Payload(uint16_t id, const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, id, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    CChlorinatorStatus chlorinator;
    ReadChlorinatorStatus(*Payload(ZVM_POOL_GETCHLORINATORA, data, size), &chlorinator);
    std::vector<CPoolErrorEntry> errors;
    ReadPoolErrors(*Payload(ZVM_POOL_GETERRORSA, data, size), &errors);
    CPumpStatus pump;
    ReadPumpStatus(*Payload(ZVM_POOL_GETPUMPA, data, size), &pump);
    return 0;
}
