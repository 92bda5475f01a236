// Feeds arbitrary bytes to the readers of the discovery service's answers:
// as the payload of a lookup answer and of a batch answer for a few systems.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/zvmsg.h"
#include "sentinax/discoveryclient.h"

namespace {

// Systems a batch lookup asked for.
constexpr size_t kSent = 4;

// The bytes as the payload of a frame with the id.
std::vector<uint8_t> Frame(uint16_t id, const uint8_t* data, size_t size) {
    std::vector<uint8_t> frame(CZVMSG::kHeaderSize + size);
    const uint32_t length = static_cast<uint32_t>(size);
    frame[2] = static_cast<uint8_t>(id);
    frame[3] = static_cast<uint8_t>(id >> 8);
    std::memcpy(frame.data() + 4, &length, sizeof length);
    if (size)
        std::memcpy(frame.data() + CZVMSG::kHeaderSize, data, size);
    return frame;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A client that could not connect still reads answers.
    static const uint8_t kNowhere[4] = {0, 0, 0, 0};
    static CDiscoveryClient client(kNowhere, 0);

    std::vector<uint8_t> lookup = Frame(ZVM_DISCOVERY_LOOKUPA, data, size);
    CZVMSG single(std::span<uint8_t>(lookup), ZVVariant::Monitor);
    client.ReadLookupAnswer(single);

    std::vector<uint8_t> batch = Frame(ZVM_DISCOVERY_LOOKUPMANYA, data, size);
    CZVMSG many(std::span<uint8_t>(batch), ZVVariant::Monitor);
    std::vector<LookupResult> results;
    if (client.ReadLookupManyAnswer(many, kSent, results) && results.size() > kSent)
        __builtin_trap();
    return 0;
}
