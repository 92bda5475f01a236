// Feeds arbitrary payloads to the pool model's readers: the configuration
// answer, the extended configuration answer and the status.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/basinsetup.h"

namespace {

class SilentLink : public CGatewayLink {
public:
    int Send(CZVMSG&) override { return 1; }
    std::unique_ptr<CZVMSG> Ask(CZVMSG&, uint32_t) override { return nullptr; }
};

constexpr ZVVariant kVariants[] = {ZVVariant::Tablet, ZVVariant::Config, ZVVariant::Monitor};
constexpr uint16_t kVersions[][2] = {{3, 0}, {3, 378}, {4, 0}, {4, 519}, {5, 1}};

std::unique_ptr<CZVMSG> Payload(ZVVariant variant, uint16_t id, const uint8_t* data, size_t size)
{
    auto message = std::make_unique<CZVMSG>(0, id, static_cast<int32_t>(size), 1, variant);
    if (size > 0 && message->GetData())
        std::memcpy(message->GetData(), data, size);
    return message;
}

}  // namespace

// First byte: program and gateway version; the rest is one payload read
// by every reader in turn, on the same model.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > 100000)
        return 0;
    const ZVVariant variant = kVariants[data[0] % 3];
    const auto& version = kVersions[(data[0] / 3) % 5];
    SilentLink link;
    CBasinSetup pool(link, variant, 0, version[0], version[1]);
    ++data;
    --size;
    pool.ReadConfig(*Payload(variant, ZVM_POOL_GETCONFIGA, data, size));
    pool.ReadExtConfig(*Payload(variant, ZVM_POOL_GETEXTCONFIGQ + 1, data, size));
    pool.ReadStatus(*Payload(variant, ZVM_POOL_GETSTATUSA, data, size));
    pool.ResolveCircuitNames();
    for (int i = 0; i < pool.GetCircuitCount(); ++i) {
        pool.IsCircuitAllowed(pool.GetCircuit(i));
        pool.GetTriggerName(static_cast<uint8_t>(i));
    }
    return 0;
}
