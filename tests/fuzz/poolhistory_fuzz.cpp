// Feeds arbitrary payloads to the reader of the pool's history answer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/messages/coremessages.h"
#include "vistrel/home/pool/poolreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    auto message = std::make_unique<CZVMSG>(0, ZVM_POOL_HISTORYDATA, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    CPoolHistory history;
    ReadPoolHistory(*message, &history);
    return 0;
}
