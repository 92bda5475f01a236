#pragma once
// The inner loops of fills, copies and blends over one row of RGB565 pixels,
// several pixels a step in vector registers where the compiler has them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>

namespace pixelrow {

using V16 = uint16_t __attribute__((vector_size(16)));
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

// The RGB565 fields.
constexpr uint16_t kRedField = 0xF800;
constexpr uint16_t kGreenField = 0x07E0;
constexpr uint16_t kBlueField = 0x001F;

// The source's weights for an alpha byte: w5 out of 32 for red and blue, w6
// out of 64 for green. They reach the full scale at 255: opaque pixels are
// copied, transparent ones leave the destination, and a colour blended with
// itself stays. Written for scalars and vectors alike.
template <class T>
inline void SourceWeights(const T& alpha, T& w5, T& w6) {
    w5 = (alpha + 1) >> 3;
    w6 = (alpha + 1) >> 2;
}

// One channel of `bits` bits: the weighted mean, rounded down.
constexpr unsigned MixChannel(unsigned d, unsigned s, unsigned weight, int bits) {
    return (d * ((1u << bits) - weight) + s * weight) >> bits;
}

// Mixes a source pixel into the destination, w5 out of 32 for red and blue
// and w6 out of 64 for green; the reference of the row loops below.
inline uint16_t MixPixel(uint16_t d, uint16_t s, unsigned w5, unsigned w6) {
    unsigned r = MixChannel(d >> 11, s >> 11, w5, 5);
    unsigned g = MixChannel((d & kGreenField) >> 5, (s & kGreenField) >> 5, w6, 6);
    unsigned b = MixChannel(d & kBlueField, s & kBlueField, w5, 5);
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

// Blends one source pixel over the destination by its alpha byte.
inline uint16_t BlendPixel(uint16_t d, uint16_t s, unsigned a) {
    unsigned w5, w6;
    SourceWeights(a, w5, w6);
    return MixPixel(d, s, w5, w6);
}

// A mix in eighths: level (1..8) eighths of the source.
inline uint16_t MixEighths(uint16_t d, uint16_t s, int level) {
    return MixPixel(d, s, static_cast<unsigned>(level) * 4, static_cast<unsigned>(level) * 8);
}

// Changes each 8-bit channel (the field's bits at the top) by delta, limited
// to floor..255; the row loop takes a floor of 0 or 8.
inline uint16_t BrightenPixel(uint16_t p, int delta, int floor) {
    auto lift = [delta, floor](int channel8) { return std::clamp(channel8 + delta, floor, 255); };
    const int r = lift((p >> 8) & 0xF8) >> 3;
    const int g = lift((p >> 3) & 0xFC) >> 2;
    const int b = lift((p & 0x1F) << 3) >> 3;
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

// The row loops, each taking `lanes` pixels a step. All give exactly the
// results of the pixel functions above.
struct RowLoops {
    // Blends a row of source pixels over the destination, each by its alpha byte.
    void (*blend)(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count);
    // Mixes a row of source pixels into the destination by level eighths (1..8).
    void (*mix)(uint16_t* dst, const uint16_t* src, int count, int level);
    // Brightens the pixels by their values (value - 100 each), those that are
    // the key, or with key 0 those that are not 0.
    void (*brighten)(uint16_t* pixels, const uint8_t* values, int count, int floor, uint16_t key);
    // Gives each pixel the blender table's pixel for the low four bits of
    // its level byte (toward black below 8, toward white above). Works through whole
    // steps up to the first step holding a byte with the top bit set (or too
    // short), and returns the pixels done.
    int (*level)(uint16_t* pixels, const uint8_t* levels, int count);
};

// The row loops of `lanes` (8 or 16) pixels a step, or null where the
// processor cannot run them.
const RowLoops* RowLoopsFor(int lanes);

// The widest row loops the processor has.
const RowLoops& Widest();

// Blends a row of source pixels over the destination, each by its alpha
// byte, in the widest vector registers the processor has.
inline void Blend(uint16_t* dst, const uint16_t* src, const uint8_t* alpha, int count) {
    Widest().blend(dst, src, alpha, count);
}

}  // namespace pixelrow
