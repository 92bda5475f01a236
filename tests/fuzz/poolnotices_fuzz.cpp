// Feeds arbitrary payloads to the pool page's readers of the run-time and
// sub-page notices.
#include <cstddef>
#include <cstdint>

#include "core/messages/coremessages.h"
#include "readerfuzz.h"
#include "vistrel/home/pool/poolreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CPoolRunTimeNotice notice;
    CPoolSubPageNotice update;
    return fuzzing::FeedReaders(data, size,
                                {
                                    {ZVM_POOL_RUNTIMECHANGED, [&](CZVMSG& m) { ReadRunTimeNotice(m, &notice); }},
                                    {ZVM_POOL_SUBPAGEUPDATE, [&](CZVMSG& m) { ReadSubPageNotice(m, &update); }},
                                });
}
