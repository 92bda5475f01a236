#include "gfx/pixelrow.h"

// The lane helpers below are always inlined into the row loops, so their
// vector arguments never cross a call whatever the registers.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace pixelrow {
namespace {

// The vectors of kLanes pixels, and the widening of bytes to 16-bit lanes in
// the form the compiler turns into the fewest instructions.
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

    [[gnu::always_inline]] static U16 Load(const uint16_t* p) {
        U16 v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    [[gnu::always_inline]] static void Store(uint16_t* p, U16 v) { std::memcpy(p, &v, sizeof v); }
    [[gnu::always_inline]] static U16 LoadBytes(const uint8_t* p) {
        U8 bytes;
        std::memcpy(&bytes, p, sizeof bytes);
        U16 lanes;
        Vectors<kLanes>::Widen(bytes, lanes);
        return lanes;
    }
    // The OR and the AND of the step's bytes, eight at a time.
    [[gnu::always_inline]] static void ByteSummary(const uint8_t* p, uint64_t& any, uint64_t& all) {
        any = 0, all = ~uint64_t{0};
        for (int k = 0; k < kLanes; k += 8) {
            uint64_t eight;
            std::memcpy(&eight, p + k, sizeof eight);
            any |= eight;
            all &= eight;
        }
    }

    // MixPixel for kLanes pixels. Each channel moves the destination by
    // floor((s - d) * weight / scale), which is the weighted mean minus d;
    // the moved channels stay inside their fields, so the three moves add
    // onto the destination without carries.
    [[gnu::always_inline]] static U16 Mix(U16 d, U16 s, U16 w5, U16 w6) {
        // Red: the product's bits below the field are the fraction, masked off.
        U16 red = ((s >> 11) - (d >> 11)) * (w5 << 6) & kRedField;
        // Green: the difference at a scale of 8 keeps the product in 16 bits
        // (63 * 8 * 64 < 2^15); the mask drops the fraction.
        I16 green = ((I16)(s & kGreenField) - (I16)(d & kGreenField)) >> 2;
        green = (green * (I16)w6) >> 4 & ~kBlueField;
        I16 blue = ((I16)(s & kBlueField) - (I16)(d & kBlueField)) * (I16)w5 >> 5;
        return d + red + (U16)green + (U16)blue;
    }

    // Runs of transparent pixels are skipped and opaque ones copied, as
    // icons and shadows are mostly one or the other.
    [[gnu::always_inline]] static void BlendRow(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
        int i = 0;
        for (; i + kLanes <= count; i += kLanes) {
            uint64_t any, all;
            ByteSummary(alpha + i, any, all);
            if (any == 0) continue;
            if (all == ~uint64_t{0}) {
                std::memcpy(dst + i, src + i, kLanes * sizeof *src);
                continue;
            }
            U16 w5, w6;
            SourceWeights(LoadBytes(alpha + i), w5, w6);
            Store(dst + i, Mix(Load(dst + i), Load(src + i), w5, w6));
        }
        for (; i < count; ++i) dst[i] = BlendPixel(dst[i], src[i], alpha[i]);
    }

    [[gnu::always_inline]] static void MixRow(uint16_t* dst, const uint16_t* src, int count, int level) {
        const U16 w5 = U16{} + static_cast<uint16_t>(level * 4), w6 = U16{} + static_cast<uint16_t>(level * 8);
        int i = 0;
        for (; i + kLanes <= count; i += kLanes) Store(dst + i, Mix(Load(dst + i), Load(src + i), w5, w6));
        for (; i < count; ++i) dst[i] = MixEighths(dst[i], src[i], level);
    }

    [[gnu::always_inline]] static U16 Limit(U16 field, I16 delta, I16 low, I16 high) {
        I16 c = (I16)field + delta;
        c = c < low ? low : c;
        return (U16)(c > high ? high : c);
    }

    // BrightenPixel for kLanes pixels. As the floor and the channels' low
    // bits are whole steps of their fields, each field moves by its share of
    // delta (delta / 8 for red and blue, delta / 4 for green, rounded down)
    // and is limited to floor / 8 (or / 4) up to the field's top.
    [[gnu::always_inline]] static void BrightenRow(uint16_t* p, const uint8_t* values, int count, int floor, uint16_t key) {
        const I16 low5 = I16{} + static_cast<int16_t>(floor >> 3), low6 = I16{} + static_cast<int16_t>(floor >> 2);
        const I16 high5 = I16{} + 31, high6 = I16{} + 63;
        const U16 keys = U16{} + key;
        // Without a key the pixels that are not 0 change: the lanes equal to
        // the key (0) flipped.
        const U16 flip = key ? U16{} : ~U16{};
        // The values mostly run along rows, so a step with the previous
        // step's values keeps its deltas.
        I16 delta5{}, delta6{};
        uint8_t previous[kLanes];
        int i = 0;
        for (; i + kLanes <= count; i += kLanes) {
            if (i == 0 || std::memcmp(previous, values + i, sizeof previous) != 0) {
                std::memcpy(previous, values + i, sizeof previous);
                const I16 delta = (I16)LoadBytes(values + i) - 100;
                delta5 = delta >> 3, delta6 = delta >> 2;
            }
            const U16 v = Load(p + i);
            const U16 lit = Limit(v >> 11, delta5, low5, high5) << 11 |
                            Limit((v >> 5) & 0x3F, delta6, low6, high6) << 5 |
                            Limit(v & kBlueField, delta5, low5, high5);
            Store(p + i, ((U16)(v == keys) ^ flip) ? lit : v);
        }
        for (; i < count; ++i)
            if (key ? p[i] == key : p[i] != 0) p[i] = BrightenPixel(p[i], values[i] - 100, floor);
    }

    // Per field, with a = min(level + 1, 16 - level) and the lift toward
    // white t = max(level - 8, 0) x 255 at the 8-bit scale:
    // red and blue (field x a + t / 8) / 8, green (field x 4a + t) / 32.
    // Each stays inside its field (green: 252 (8 - t') + 255 t' < 2048).
    // Levels mostly come in areas, so a step with the previous step's levels
    // keeps its factors.
    [[gnu::always_inline]] static int LevelRow(uint16_t* pixels, const uint8_t* levels, int count) {
        uint64_t previous[kLanes / 8];
        std::memset(previous, 0xFF, sizeof previous);  // no step has these
        U16 a{}, a4{}, lift{}, lift8{};
        int i = 0;
        for (; i + kLanes <= count; i += kLanes) {
            uint64_t words[kLanes / 8], any = 0;
            bool same = true;
            for (int k = 0; k < kLanes / 8; ++k) {
                std::memcpy(&words[k], levels + i + 8 * k, sizeof words[k]);
                any |= words[k];
                same = same && words[k] == previous[k];
            }
            if (any & 0x8080808080808080u) break;
            if (!same) {
                std::memcpy(previous, words, sizeof previous);
                const U16 level = LoadBytes(levels + i) & 0x0F;
                const I16 rising = (I16)(level + 1), falling = (I16)(16 - level), above = (I16)level - 8;
                a = (U16)(rising < falling ? rising : falling);
                a4 = a << 2;
                lift = (U16)(above < 0 ? I16{} : above) * 255;
                lift8 = lift >> 3;
            }
            const U16 p = Load(pixels + i);
            // Shifts rather than masks where they do: fewer constants to hold.
            const U16 red = ((p >> 11) * a + lift8) >> 3 << 11;
            const U16 green = (((p & kGreenField) >> 5) * a4 + lift) & kGreenField;
            const U16 blue = ((p & kBlueField) * a + lift8) >> 3;
            Store(pixels + i, red | green | blue);
        }
        return i;
    }
};

// Eight lanes fill the vector registers every x86-64 processor has.
void BlendRow8(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    Lanes<8>::BlendRow(dst, src, alpha, count);
}
void MixRow8(uint16_t* dst, const uint16_t* src, int count, int level) { Lanes<8>::MixRow(dst, src, count, level); }
void BrightenRow8(uint16_t* p, const uint8_t* values, int count, int floor, uint16_t key) {
    Lanes<8>::BrightenRow(p, values, count, floor, key);
}
int LevelRow8(uint16_t* pixels, const uint8_t* levels, int count) { return Lanes<8>::LevelRow(pixels, levels, count); }
const RowLoops kRowLoops8{BlendRow8, MixRow8, BrightenRow8, LevelRow8};

#if defined(__x86_64__)
__attribute__((target("avx2"))) void BlendRow16(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    Lanes<16>::BlendRow(dst, src, alpha, count);
}
__attribute__((target("avx2"))) void MixRow16(uint16_t* dst, const uint16_t* src, int count, int level) {
    Lanes<16>::MixRow(dst, src, count, level);
}
__attribute__((target("avx2"))) void BrightenRow16(uint16_t* p, const uint8_t* values, int count, int floor,
                                                   uint16_t key) {
    Lanes<16>::BrightenRow(p, values, count, floor, key);
}
__attribute__((target("avx2"))) int LevelRow16(uint16_t* pixels, const uint8_t* levels, int count) {
    return Lanes<16>::LevelRow(pixels, levels, count);
}
const RowLoops kRowLoops16{BlendRow16, MixRow16, BrightenRow16, LevelRow16};
#endif

}  // namespace

const RowLoops* RowLoopsFor(int lanes) {
    switch (lanes) {
    case 8:
        return &kRowLoops8;
#if defined(__x86_64__)
    case 16:
        return __builtin_cpu_supports("avx2") ? &kRowLoops16 : nullptr;
#endif
    }
    return nullptr;
}

const RowLoops& Widest() {
    static const RowLoops* widest = RowLoopsFor(16) ? RowLoopsFor(16) : RowLoopsFor(8);
    return *widest;
}

}  // namespace pixelrow
