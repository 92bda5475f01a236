#pragma once
// Shared set-up of the effect and shading tests: style flags and the dither
// switch that the effects ask for, and small pixel helpers.
#include <gtest/gtest.h>

#include <cstdint>

#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "gfx/shellservices.h"
#include "gfx/skinservices.h"

namespace fxtest {

// Field values of an RGB565 pixel.
constexpr uint16_t Fields(int r5, int g6, int b5) { return static_cast<uint16_t>(r5 << 11 | g6 << 5 | b5); }

class FakeStyle : public CSkinServices {
public:
    uint32_t GetStyleFlags() override { return flags; }
    uint32_t flags = 0;
};

class FakeDitherShell : public CShellServices {
public:
    bool IsDitherEnabled() override { return dither; }
    bool dither = false;
};

class EffectsTest : public testing::Test {
protected:
    EffectsTest() {
        previousSkins_ = InstallSkinServices(&style_);
        previousShell_ = InstallShellServices(&shell_);
    }
    ~EffectsTest() override {
        InstallShellServices(previousShell_);
        InstallSkinServices(previousSkins_);
        SetShadeDepth(75);
        SetShadeCurve(10000);
    }

    static uint16_t Px(CDibDC& dc, int x, int y) { return *dc.GetPixelAddress(x, y); }
    static void Fill(CDibDC& dc, uint16_t pixel) {
        for (int y = 0; y < dc.GetHeight(); ++y)
            for (int x = 0; x < dc.GetWidth(); ++x) *dc.GetPixelAddress(x, y) = pixel;
    }
    static int Count(CDibDC& dc, uint16_t pixel) {
        int n = 0;
        for (int y = 0; y < dc.GetHeight(); ++y)
            for (int x = 0; x < dc.GetRequestedWidth(); ++x) n += Px(dc, x, y) == pixel;
        return n;
    }

    FakeStyle style_;
    FakeDitherShell shell_;

private:
    CSkinServices* previousSkins_ = nullptr;
    CShellServices* previousShell_ = nullptr;
};

}  // namespace fxtest
