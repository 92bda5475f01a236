#pragma once
// The pixel format and the colour tables of the drawing engine. Pixels are
// RGB565 (red in bits 15-11, green 10-5, blue 4-0); colours cross every
// interface as COLORREF, 0x00BBGGRR with red in the low byte. The pixel 0 is
// the transparent key of every surface, mask and decoded picture.
#include <array>
#include <cstdint>

using COLORREF = uint32_t;

constexpr COLORREF MakeColor(int red, int green, int blue) {
    return static_cast<COLORREF>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}
constexpr int ColorRed(COLORREF c) { return c & 0xFF; }
constexpr int ColorGreen(COLORREF c) { return (c >> 8) & 0xFF; }
constexpr int ColorBlue(COLORREF c) { return (c >> 16) & 0xFF; }

constexpr uint16_t kTransparent565 = 0;

namespace speed_detail {

template <typename Entry, int Size, typename Fill>
constexpr std::array<Entry, Size> MakeTable(Fill fill) {
    std::array<Entry, Size> table{};
    for (int i = 0; i < Size; ++i) table[i] = static_cast<Entry>(fill(i));
    return table;
}

// Sixteen steps of the bitwise method; comparisons are signed, so a
// negative n gives 0.
constexpr int BitwiseSqrt(int n) {
    int root = 0;
    int v = n;
    for (int bit = 1 << 30; bit != 0; bit >>= 2) {
        if (v >= root + bit) {
            v -= root + bit;
            root = root / 2 + bit;
        } else {
            root /= 2;
        }
    }
    return root;
}

}  // namespace speed_detail

// Channel (0..255) to its bits of an RGB565 pixel: truncation, no rounding.
// Inner loops index these directly; ToRgb565 is the function form.
inline constexpr auto kRedTo565 = speed_detail::MakeTable<uint16_t, 256>([](int i) { return (i & 0xF8) << 8; });
inline constexpr auto kGreenTo565 = speed_detail::MakeTable<uint16_t, 256>([](int i) { return (i & 0xFC) << 3; });
inline constexpr auto kBlueTo565 = speed_detail::MakeTable<uint16_t, 256>([](int i) { return i >> 3; });

// Integer square roots of 0..2,499: the squared radii of the corner and edge
// shading.
inline constexpr auto kSqrtTable =
    speed_detail::MakeTable<uint8_t, 2500>([](int i) { return speed_detail::BitwiseSqrt(i); });

// One period of a sine over 100 entries, valued 0..99 (entry 0 is 50).
const std::array<uint8_t, 100>& SineTable();

inline uint16_t ToRgb565(COLORREF c) {
    return kRedTo565[ColorRed(c)] | kGreenTo565[ColorGreen(c)] | kBlueTo565[ColorBlue(c)];
}
// The pixel's bits at the top of each channel, the low bits 0 (white
// 0xFFFF gives 248, 252, 248).
constexpr COLORREF ColorFrom565(uint16_t pixel) {
    return MakeColor((pixel >> 8) & 0xF8, (pixel >> 3) & 0xFC, (pixel & 0x1F) << 3);
}
// True when the colour would be the transparent key; such a colour cannot be
// drawn opaque where the key applies.
inline bool IsBlack565(COLORREF c) { return ToRgb565(c) == kTransparent565; }

int ISqrt(int n);

// Each channel times factor, truncated toward zero and limited to 0..255.
COLORREF ScaleColor(double factor, COLORREF c);
// True when red + green + blue > 382.
bool IsLightColor(COLORREF c);
// Each channel (1 - t) x a + t x b, truncated toward zero (t in 0..1).
COLORREF MixColors(COLORREF a, COLORREF b, double t);

// A four-step ordered dither: for a colour between two RGB565 levels it
// hands out a cycle of pixels whose average is the colour. Reset before use.
struct CDither565 {
    uint16_t entries[4];
    uint8_t position;
    uint8_t red;
    uint8_t green;
    uint8_t blue;

    void Reset();
    // The next pixel for the colour. A new colour builds a new cycle, which
    // starts half-way (entry 2) when oddStart is non-zero, so that alternate
    // rows can start apart; the same colour continues the cycle.
    uint16_t Next(uint8_t r, uint8_t g, uint8_t b, int oddStart);
};

// Made once at start-up and kept until shutdown. Besides the tables it holds
// the video window's frame counter, read from the platform clock.
class CSpeed {
public:
    CSpeed();
    virtual ~CSpeed();
    CSpeed(const CSpeed&) = delete;
    CSpeed& operator=(const CSpeed&) = delete;

    void ReadCounter();
    int64_t GetCounter() const { return m_counter; }
    // Counter ticks per second.
    int64_t GetFrequency() const { return m_frequency; }

private:
    int64_t m_frequency;
    int64_t m_counter = 0;
};
