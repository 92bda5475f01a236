#pragma once
// Little-endian integers in byte buffers, whatever the host's byte order.
#include <concepts>
#include <cstdint>
#include <type_traits>

template <std::integral T>
T LoadLE(const uint8_t* bytes) {
    std::make_unsigned_t<T> value = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<std::make_unsigned_t<T>>(bytes[i]) << (8 * i);
    return static_cast<T>(value);
}

template <std::integral T>
void StoreLE(uint8_t* bytes, T value) {
    auto bits = static_cast<std::make_unsigned_t<T>>(value);
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}
