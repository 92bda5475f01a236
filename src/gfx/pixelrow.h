#pragma once
// The inner loops of fills and copies over one row of RGB565 pixels, eight
// pixels a step in vector registers where the compiler has them.
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace pixelrow {

using V16 = uint16_t __attribute__((vector_size(16)));
using V8x16 = uint8_t __attribute__((vector_size(8)));
constexpr int kStep = 8;

inline V16 Load(const uint16_t* p) {
    V16 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void Store(uint16_t* p, V16 v) {
    std::memcpy(p, &v, sizeof v);
}

inline void Fill(uint16_t* row, int count, uint16_t pixel) {
    if (count >= 64 && sizeof(wchar_t) == 4) {
        // Pairs of pixels through the C library's tuned 32-bit fill.
        if (reinterpret_cast<uintptr_t>(row) & 2) {
            *row++ = pixel;
            --count;
        }
        uint32_t pair = pixel | static_cast<uint32_t>(pixel) << 16;
        std::wmemset(reinterpret_cast<wchar_t*>(row), static_cast<wchar_t>(pair), static_cast<size_t>(count / 2));
        if (count & 1) row[count - 1] = pixel;
        return;
    }
    for (int i = 0; i < count; ++i) row[i] = pixel;
}

// Copies the pixels that are not the key; the rows must not overlap.
inline void CopyKeyed(uint16_t* dst, const uint16_t* src, int count, uint16_t key) {
    V16 k = V16{} + key;
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        V16 s = Load(src + i);
        V16 d = Load(dst + i);
        V16 keep = reinterpret_cast<V16>(s == k);
        Store(dst + i, (s & ~keep) | (d & keep));
    }
    for (; i < count; ++i)
        if (src[i] != key) dst[i] = src[i];
}

// Blends the source over the destination by one alpha byte per pixel. The
// weights reach the full scale at 255: opaque pixels are copied, transparent
// ones leave the destination, and a colour blended with itself stays.
inline uint16_t BlendPixel(uint16_t d, uint16_t s, unsigned a) {
    unsigned g6 = (a + 1) >> 2, rb5 = (a + 1) >> 3;
    unsigned r = (((d >> 11) * (32 - rb5) + (s >> 11) * rb5) >> 5) << 11;
    unsigned g = ((((d >> 5) & 0x3F) * (64 - g6) + ((s >> 5) & 0x3F) * g6) >> 6) << 5;
    unsigned b = ((d & 0x1F) * (32 - rb5) + (s & 0x1F) * rb5) >> 5;
    return static_cast<uint16_t>(r | g | b);
}

inline void Blend(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    int i = 0;
    for (; i + kStep <= count; i += kStep) {
        V8x16 a8;
        std::memcpy(&a8, alpha + i, sizeof a8);
        V16 a = __builtin_convertvector(a8, V16) + 1;
        V16 g6 = a >> 2, rb5 = a >> 3;
        V16 s = Load(src + i), d = Load(dst + i);
        V16 r = (((d >> 11) * (32 - rb5) + (s >> 11) * rb5) >> 5) << 11;
        V16 g = ((((d >> 5) & 0x3F) * (64 - g6) + ((s >> 5) & 0x3F) * g6) >> 6) << 5;
        V16 b = ((d & 0x1F) * (32 - rb5) + (s & 0x1F) * rb5) >> 5;
        Store(dst + i, r | g | b);
    }
    for (; i < count; ++i) dst[i] = BlendPixel(dst[i], src[i], alpha[i]);
}

}  // namespace pixelrow
