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
        m_previousSkins = InstallSkinServices(&m_style);
        m_previousShell = InstallShellServices(&m_shell);
    }
    ~EffectsTest() override {
        InstallShellServices(m_previousShell);
        InstallSkinServices(m_previousSkins);
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

    FakeStyle m_style;
    FakeDitherShell m_shell;

private:
    CSkinServices* m_previousSkins = nullptr;
    CShellServices* m_previousShell = nullptr;
};

}  // namespace fxtest
