// Full-screen (800 x 600) operations of the drawing engine beside memset and
// memcpy of the same bytes, and the drawing of one caption. Prints the ratios
// it aims at: fill and opaque copy within 1.25x, keyed and alpha copies under
// 4x memcpy, blends, gloss and the blender under 3x, a 20-character caption
// under 20 microseconds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gfx/blender.h"
#include "gfx/dibdc.h"
#include "gfx/fontserver.h"
#include "gfx/gdicache.h"
#include "gfx/shellservices.h"
#include "gfx/skinservices.h"
#include "ratio_collector.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;
constexpr size_t kBytes = size_t{kW} * kH * 2;

void Pattern(CDibDC& dc) {
    for (int y = 0; y < dc.GetHeight(); ++y)
        for (int x = 0; x < dc.GetWidth(); ++x)
            *dc.GetPixelAddress(x, y) = static_cast<uint16_t>((x * 7 + y * 13) % 5 == 0 ? 0 : x * 31 + y);
}

void Memset(benchmark::State& state) {
    std::vector<uint16_t> buffer(kBytes / 2);
    for (auto _ : state) {
        std::memset(buffer.data(), 0x5A, kBytes);
        benchmark::ClobberMemory();
    }
}

void Memcpy(benchmark::State& state) {
    std::vector<uint16_t> from(kBytes / 2, 1), to(kBytes / 2);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kBytes);
        benchmark::ClobberMemory();
    }
}

void FillRect(benchmark::State& state) {
    CDibDC dc(kW, kH, 0, 0, 0);
    int i = 0;
    for (auto _ : state) {
        dc.FillRect(MakeColor(i++ & 0xFF, 80, 160), 0, 0, kW, kH, 0);
        benchmark::ClobberMemory();
    }
}

void BitBlt(benchmark::State& state) {
    CDibDC src(kW, kH, 0, 0, 0), dst(kW, kH, 0, 0, 0);
    Pattern(src);
    for (auto _ : state) {
        dst.BitBlt(0, 0, &src, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
}

void TransparentBlt(benchmark::State& state) {
    CDibDC src(kW, kH, 0, 0, 0), dst(kW, kH, 0, 0, 0);
    Pattern(src);
    for (auto _ : state) {
        dst.TransparentBlt(0, 0, &src, 0, 0, kW, kH, 0);
        benchmark::ClobberMemory();
    }
}

void AlphaBlt(benchmark::State& state) {
    CAlphaDibDC src(kW, kH, 0, 0);
    CDibDC dst(kW, kH, 0, 0, 0);
    Pattern(src);
    Pattern(dst);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) *src.GetAlphaAt(x, y) = static_cast<uint8_t>(x + y);
    for (auto _ : state) {
        dst.AlphaBlt(&src, 0, 0, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
}

void ScaleNearest(benchmark::State& state) {
    CDibDC src(kW / 2, kH / 2, 0, 0, 0);
    Pattern(src);
    for (auto _ : state) {
        std::unique_ptr<CDibDC> out(src.Scale(kW, kH, 0));
        benchmark::DoNotOptimize(out->GetBits());
    }
}

void Caption(benchmark::State& state) {
    CFontServer fonts;
    fonts.EnumerateFonts();
    CGdiCache gdi;
    CDibDC dc(300, 40, 0, 0, 1);
    dc.SetColor(MakeColor(255, 255, 255));
    dc.SetFont(18, 0, 0);
    CZVString text("Pool Temperature 28C");           // 20 characters
    dc.DrawText(text, CZVRect(0, 0, 300, 40), 0x12);  // glyphs cached once
    for (auto _ : state) {
        dc.DrawText(text, CZVRect(0, 0, 300, 40), 0x12);
        benchmark::ClobberMemory();
    }
}

void BlendAll(benchmark::State& state) {
    CDibDC src(kW, kH, 0, 0, 0), dst(kW, kH, 0, 0, 0);
    Pattern(src);
    Pattern(dst);
    for (auto _ : state) {
        dst.BlendAll(&src, 0, 0, 3);
        benchmark::ClobberMemory();
    }
}

class GlossStyle : public CSkinServices {
public:
    uint32_t GetStyleFlags() override { return 4; }
};
class DitherShell : public CShellServices {
public:
    explicit DitherShell(bool on) : m_on(on) {}
    bool IsDitherEnabled() override { return m_on; }

private:
    bool m_on;
};

// The glossy highlight over the whole screen (arg 1: dithered).
void Gloss(benchmark::State& state) {
    GlossStyle style;
    DitherShell shell(state.range(0) != 0);
    CSkinServices* previousSkins = InstallSkinServices(&style);
    CShellServices* previousShell = InstallShellServices(&shell);
    CDibDC dc(kW, kH, 0, 0, 0);
    Pattern(dc);
    for (auto _ : state) {
        dc.ApplyGloss(10, 15, 0, 0, 0);
        benchmark::ClobberMemory();
    }
    InstallShellServices(previousShell);
    InstallSkinServices(previousSkins);
}

// The blender over a whole video frame: arg 0 every pixel levelled, arg 1
// a control strip levelled and the rest skipped.
void BlenderApply(benchmark::State& state) {
    CBlender blender(kW, kH);
    const int levelledRows = state.range(0) == 0 ? kH : kH / 5;
    for (int y = 0; y < levelledRows; ++y) std::memset(blender.GetMapRow(kH - 1 - y), 3, kW);
    for (int y = 0; y < kH; ++y) blender.PackRow(y);
    CDibDC dc(kW, kH, 0, 0, 0);
    Pattern(dc);
    for (auto _ : state) {
        blender.Apply(&dc, 0, 0, kW, kH);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(Memset);
BENCHMARK(Memcpy);
BENCHMARK(FillRect);
BENCHMARK(BitBlt);
BENCHMARK(TransparentBlt);
BENCHMARK(AlphaBlt);
BENCHMARK(ScaleNearest);
BENCHMARK(Caption);
BENCHMARK(BlendAll);
BENCHMARK(Gloss)->Arg(0)->Arg(1);
BENCHMARK(BlenderApply)->Arg(0)->Arg(1);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    auto& t = collector.times;
    auto ratio = [&](const char* name, const char* base, double aim) {
        if (!t.count(name) || !t.count(base)) return;
        double r = t[name] / t[base];
        if (aim > 0)
            std::printf("%-16s %6.2fx %-7s (aim %.2fx)%s\n", name, r, base, aim, r <= aim ? "" : "  MISSED");
        else
            std::printf("%-16s %6.2fx %s\n", name, r, base);
    };
    std::printf("\n");
    ratio("FillRect", "Memset", 1.25);
    ratio("BitBlt", "Memcpy", 1.25);
    ratio("TransparentBlt", "Memcpy", 4.0);
    ratio("AlphaBlt", "Memcpy", 4.0);
    ratio("ScaleNearest", "Memcpy", 0);
    ratio("BlendAll", "Memcpy", 3.0);
    ratio("Gloss/0", "Memcpy", 3.0);
    ratio("Gloss/1", "Memcpy", 0);
    ratio("BlenderApply/0", "Memcpy", 3.0);
    ratio("BlenderApply/1", "Memcpy", 3.0);
    if (t.count("Caption"))
        std::printf("%-16s %6.2f us      (aim 20 us)%s\n", "Caption", t["Caption"] / 1000,
                    t["Caption"] <= 20000 ? "" : "  MISSED");
    return 0;
}
