// Arbitrary payloads as the gateway's answer to the settings request.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/zvserver.h"
#include "widgets/style/setserver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CZVServer server(ZVVariant::Tablet);
    CSetServer style(server);
    CZVMSG reply(0, ZVM_UI_GETSETTINGSA);
    if (size && !reply.WriteBytes(data, static_cast<int32_t>(size))) return 0;
    reply.ResetPosition();
    const CStyleTables before = style.GetTables();
    if (!style.ParseSettings(&reply)) {
        // A refused answer changes nothing.
        if (std::memcmp(&before, &style.GetTables(), sizeof before) != 0 || style.IsLoaded()) __builtin_trap();
    }
    return 0;
}
