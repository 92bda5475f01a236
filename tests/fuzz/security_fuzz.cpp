// Feeds arbitrary payloads to the readers of the security messages: the
// partition record (summary and single), the status, the name lists and the
// history.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "vistrel/home/security/securityreaders.h"

namespace {

std::unique_ptr<CZVMSG> Payload(const uint8_t* data, size_t size) {
    auto message = std::make_unique<CZVMSG>(0, 0, static_cast<int32_t>(size));
    if (size > 0 && message->GetData()) std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 100000) return 0;
    CSecuritySummary summary;
    ReadSecuritySummary(*Payload(data, size), &summary);
    CSecurityRecord record;
    ReadSecurityRecord(*Payload(data, size), &record);
    CSecurityStatus status;
    ReadSecurityStatus(*Payload(data, size), &status);
    CSecurityNames names;
    ReadSecurityNames(*Payload(data, size), &names);
    CSecurityHistory history;
    ReadSecurityHistory(*Payload(data, size), &history);
    return 0;
}
