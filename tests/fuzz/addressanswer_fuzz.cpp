// Arbitrary address server answers through the completeness check and the parser, both plain
// and the alternative address. A success must leave fields that the answer actually held.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/zvlogin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view answer(reinterpret_cast<const char*>(data), size);
    AddressAnswerComplete(answer);
    for (int alternative = 0; alternative < 2; ++alternative) {
        ZVSystemLocation location;
        if (ParseAddressAnswer(answer, "POOL1", alternative, &location, nullptr) &&
            (location.address.size() > size || location.port.size() > size || location.challenge.size() > size))
            __builtin_trap();
    }
    return 0;
}
