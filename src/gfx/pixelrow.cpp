#include "gfx/pixelrow.h"

namespace pixelrow {
namespace {

// The vectors of kLanes pixels, and the widening of their alpha bytes to
// 16-bit lanes in the form the compiler turns into the fewest instructions.
template <int kLanes>
struct Vectors;
template <>
struct Vectors<8> {
    using U16 = uint16_t __attribute__((vector_size(16)));
    using I16 = int16_t __attribute__((vector_size(16)));
    using U8 = uint8_t __attribute__((vector_size(8)));
    [[gnu::always_inline]] static void Widen(U8 bytes, U16& lanes) { lanes = __builtin_convertvector(bytes, U16); }
};
template <>
struct Vectors<16> {
    using U16 = uint16_t __attribute__((vector_size(32)));
    using I16 = int16_t __attribute__((vector_size(32)));
    using U8 = uint8_t __attribute__((vector_size(16)));
    [[gnu::always_inline]] static void Widen(U8 bytes, U16& lanes) {
        lanes = (U16)__builtin_shufflevector(bytes, U8{}, 0, 16, 1, 16, 2, 16, 3, 16, 4, 16, 5, 16, 6, 16, 7, 16, 8, 16, 9,
                                             16, 10, 16, 11, 16, 12, 16, 13, 16, 14, 16, 15, 16);
    }
};

template <int kLanes>
struct Lanes {
    using U16 = typename Vectors<kLanes>::U16;
    using I16 = typename Vectors<kLanes>::I16;
    using U8 = typename Vectors<kLanes>::U8;

    // BlendPixel for kLanes pixels. Each channel moves the destination by
    // floor((s - d) * weight / scale), which is the weighted mean minus d;
    // the moved channels stay inside their fields, so the three moves add
    // onto the destination without carries.
    [[gnu::always_inline]] static void Blend(uint16_t* dst, const uint16_t* src, const uint8_t* alpha) {
        U16 d, s;
        U8 a8;
        std::memcpy(&d, dst, sizeof d);
        std::memcpy(&s, src, sizeof s);
        std::memcpy(&a8, alpha, sizeof a8);
        U16 a, w5, w6;
        Vectors<kLanes>::Widen(a8, a);
        SourceWeights(a, w5, w6);
        // Red: the product's bits below the field are the fraction, masked off.
        U16 red = ((s >> 11) - (d >> 11)) * (w5 << 6) & kRedField;
        // Green: the difference at a scale of 8 keeps the product in 16 bits
        // (63 * 8 * 64 < 2^15); the mask drops the fraction.
        I16 green = ((I16)(s & kGreenField) - (I16)(d & kGreenField)) >> 2;
        green = (green * (I16)w6) >> 4 & ~kBlueField;
        I16 blue = ((I16)(s & kBlueField) - (I16)(d & kBlueField)) * (I16)w5 >> 5;
        U16 out = d + red + (U16)green + (U16)blue;
        std::memcpy(dst, &out, sizeof out);
    }

    // Runs of transparent pixels are skipped and opaque ones copied, as
    // icons and shadows are mostly one or the other.
    [[gnu::always_inline]] static void BlendRow(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
        int i = 0;
        for (; i + kLanes <= count; i += kLanes) {
            uint64_t any = 0, all = ~uint64_t{0};
            for (int k = 0; k < kLanes; k += 8) {
                uint64_t eight;
                std::memcpy(&eight, alpha + i + k, sizeof eight);
                any |= eight;
                all &= eight;
            }
            if (any == 0) continue;
            if (all == ~uint64_t{0})
                std::memcpy(dst + i, src + i, kLanes * sizeof *src);
            else
                Blend(dst + i, src + i, alpha + i);
        }
        for (; i < count; ++i) dst[i] = BlendPixel(dst[i], src[i], alpha[i]);
    }
};

// Eight lanes fill the vector registers every x86-64 processor has.
void BlendRow8(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    Lanes<8>::BlendRow(dst, src, alpha, count);
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) void BlendRow16(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    Lanes<16>::BlendRow(dst, src, alpha, count);
}
#endif

}  // namespace

BlendRowFn BlendRow(int lanes) {
    switch (lanes) {
    case 8:
        return BlendRow8;
#if defined(__x86_64__)
    case 16:
        return __builtin_cpu_supports("avx2") ? BlendRow16 : nullptr;
#endif
    }
    return nullptr;
}

void Blend(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    static const BlendRowFn widest = BlendRow(16) ? BlendRow(16) : BlendRow(8);
    widest(dst, src, alpha, count);
}

}  // namespace pixelrow
