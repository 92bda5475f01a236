// Arbitrary house files through the reader, and every answer of a house that reads through
// its payload and a slice request made of the input's first bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "samplegateway/house.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    samplegateway::HouseError error;
    std::optional<samplegateway::House> house = samplegateway::House::Read(text, &error);
    if (!house) {
        Check(error.line >= 0 && !error.message.empty());
        return 0;
    }
    const samplegateway::Bytes request(data, data + std::min<size_t>(size, 12));
    for (uint16_t id : house->Ids()) {
        Check(house->Payload(id).size() <= samplegateway::House::kMaxPayload);
        for (const samplegateway::Frame& answer : house->Respond({1, id, request}))
            Check(answer.id == static_cast<uint16_t>(id + 1) && answer.payload.size() <= samplegateway::House::kMaxPayload);
    }
    return 0;
}
