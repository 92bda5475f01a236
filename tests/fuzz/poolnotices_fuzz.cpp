// Feeds arbitrary payloads to the pool page's readers of the run-time and
// sub-page notices.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/messages/coremessages.h"
#include "vistrel/home/pool/poolreaders.h"

namespace {

std::unique_ptr<CZVMSG> Payload(uint16_t id, const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, id, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    CPoolRunTimeNotice notice;
    ReadRunTimeNotice(*Payload(ZVM_POOL_RUNTIMECHANGED, data, size), &notice);
    CPoolSubPageNotice update;
    ReadSubPageNotice(*Payload(ZVM_POOL_SUBPAGEUPDATE, data, size), &update);
    return 0;
}
