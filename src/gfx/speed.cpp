#include "gfx/speed.h"

#include <cmath>

#include "platform/clock.h"
#include "platform/report.h"

namespace {

int g_liveSpeeds = 0;

int ClampChannel(double value) {
    if (!(value > 0)) return 0;
    return value >= 255 ? 255 : static_cast<int>(value);
}

}  // namespace

const std::array<uint8_t, 100>& SineTable() {
    static const std::array<uint8_t, 100> table = [] {
        // The step is held in single precision, the rest in extended.
        const long double step = 0.0628318f;
        std::array<uint8_t, 100> sine{};
        for (int i = 0; i < 100; ++i) sine[i] = static_cast<uint8_t>((std::sin(i * step) + 1.0L) * 50.0L);
        return sine;
    }();
    return table;
}

int ISqrt(int n) {
    if (n >= 0 && n < static_cast<int>(kSqrtTable.size())) return kSqrtTable[n];
    return speed_detail::BitwiseSqrt(n);
}

COLORREF ScaleColor(double factor, COLORREF c) {
    return MakeColor(ClampChannel(factor * ColorRed(c)), ClampChannel(factor * ColorGreen(c)),
                     ClampChannel(factor * ColorBlue(c)));
}

bool IsLightColor(COLORREF c) { return ColorRed(c) + ColorGreen(c) + ColorBlue(c) > 382; }

COLORREF MixColors(COLORREF a, COLORREF b, double t) {
    auto mix = [t](int from, int to) { return ClampChannel((1 - t) * from + t * to); };
    return MakeColor(mix(ColorRed(a), ColorRed(b)), mix(ColorGreen(a), ColorGreen(b)), mix(ColorBlue(a), ColorBlue(b)));
}

void CDither565::Reset() {
    for (uint16_t& entry : entries) entry = 0;
    position = 0;
    red = green = blue = 0;
}

uint16_t CDither565::Next(uint8_t r, uint8_t g, uint8_t b, int oddStart) {
    if (r != red || g != green || b != blue) {
        red = r;
        green = g;
        blue = b;
        entries[0] = kRedTo565[r] | kGreenTo565[g] | kBlueTo565[b];
        COLORREF level = ColorFrom565(entries[0]);
        int red8 = ColorRed(level), green8 = ColorGreen(level), blue8 = ColorBlue(level);
        int errRed = red8 - r, errGreen = green8 - g, errBlue = blue8 - b;
        // Each step moves a channel one level against its accumulated error.
        auto step = [](int& channel, int error, int levelSize) {
            if (error > 0 && channel > 0)
                channel -= levelSize;
            else if (error < 0 && channel < 255)
                channel += levelSize;
            channel = channel < 0 ? 0 : (channel > 255 ? 255 : channel);
        };
        for (int i = 1; i < 4; ++i) {
            step(red8, errRed, 8);
            step(green8, errGreen, 4);
            step(blue8, errBlue, 8);
            entries[i] = kRedTo565[red8] | kGreenTo565[green8] | kBlueTo565[blue8];
            level = ColorFrom565(entries[i]);
            errRed += ColorRed(level) - r;
            errGreen += ColorGreen(level) - g;
            errBlue += ColorBlue(level) - b;
        }
        position = oddStart ? 2 : 0;
    }
    const uint16_t pixel = entries[position];
    position = (position + 1) & 3;
    return pixel;
}

CSpeed::CSpeed() {
    if (g_liveSpeeds++ > 0) ReportAssert("speed", __LINE__, 1);
    m_frequency = static_cast<int64_t>(platform::kCounterFrequency);
    SineTable();  // built here, at start-up, rather than in the first frame
}

CSpeed::~CSpeed() { --g_liveSpeeds; }

void CSpeed::ReadCounter() { m_counter = static_cast<int64_t>(platform::GetCounter()); }
