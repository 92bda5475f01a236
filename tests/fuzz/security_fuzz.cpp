// Feeds arbitrary payloads to the readers of the security messages: the
// partition record (summary and single), the status, the name lists and the
// history.
#include <cstddef>
#include <cstdint>

#include "core/messages/securitymessages.h"
#include "readerfuzz.h"
#include "vistrel/home/security/securityreaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CSecuritySummary summary;
    CSecurityRecord record;
    CSecurityStatus status;
    CSecurityNames names;
    CSecurityHistory history;
    return fuzzing::FeedReaders(data, size,
                                {
                                    {ZVM_SECURITY_GETSUMMARYA, [&](CZVMSG& m) { ReadSecuritySummary(m, &summary); }},
                                    {ZVM_SECURITY_GETPARTITIONA, [&](CZVMSG& m) { ReadSecurityRecord(m, &record); }},
                                    {ZVM_SECURITY_GETSTATUSA, [&](CZVMSG& m) { ReadSecurityStatus(m, &status); }},
                                    {ZVM_SECURITY_GETLISTSA, [&](CZVMSG& m) { ReadSecurityNames(m, &names); }},
                                    {ZVM_SECURITY_GETHISTORYA, [&](CZVMSG& m) { ReadSecurityHistory(m, &history); }},
                                });
}
