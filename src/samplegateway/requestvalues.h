#pragma once
// The whole values at the start of a payload, as most requests to the sample gateway carry them.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "samplegateway/wire.h"

namespace samplegateway {

// Every whole value of the frame's payload, in order.
inline std::vector<int32_t> IntsOf(const Frame& frame) {
    std::vector<int32_t> values;
    PayloadReader in(frame.payload);
    for (int32_t value = 0; in.Int(&value);) values.push_back(value);
    return values;
}

// The frame's first N values; nothing when its payload is short.
template <size_t N>
std::optional<std::array<int32_t, N>> LeadingInts(const Frame& frame) {
    PayloadReader in(frame.payload);
    std::array<int32_t, N> values{};
    for (int32_t& value : values)
        if (!in.Int(&value)) return std::nullopt;
    return values;
}

}  // namespace samplegateway
