// Feeds arbitrary payloads to the readers of the pool equipment's answers:
// the chlorinator, the error list and a pump.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/messages/coremessages.h"
#include "readerfuzz.h"
#include "vistrel/home/pool/equipreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CChlorinatorStatus chlorinator;
    std::vector<CPoolErrorEntry> errors;
    CPumpStatus pump;
    return fuzzing::FeedReaders(
        data, size,
        {
            {ZVM_POOL_GETCHLORINATORA, [&](CZVMSG& m) { ReadChlorinatorStatus(m, &chlorinator); }},
            {ZVM_POOL_GETERRORSA, [&](CZVMSG& m) { ReadPoolErrors(m, &errors); }},
            {ZVM_POOL_GETPUMPA, [&](CZVMSG& m) { ReadPumpStatus(m, &pump); }},
        });
}
