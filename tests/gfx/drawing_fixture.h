#pragma once
// Shared set-up of the drawing tests: a pinned font file, the font server
// and GDI cache, settings in a temporary folder, and shell services whose
// screen is an off-screen surface.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/fontserver.h"
#include "gfx/gdicache.h"
#include "gfx/shellservices.h"
#include "platform/font.h"
#include "platform/program.h"
#include "support/assert_counter.h"
#include "support/temp_dir.h"
#include "support/test_font.h"

namespace drawtest {

enum class Event { Move, Press, Release, Key };

class FakeShell : public CShellServices {
public:
    CDibDC* GetScreen() override { return screen.get(); }
    bool IsBoldText() override { return bold; }
    bool UseAlternateFont() override { return alternateFont; }
    uint64_t GetAvailableMemory() override { return memory; }
    void SendStatus() override { ++statusReports; }
    bool TakePendingPress() override {
        ++inputChecks;
        if (pressAfterChecks > 0 && inputChecks == pressAfterChecks) events.push_back(Event::Press);
        for (auto it = events.begin(); it != events.end(); ++it)
            if (*it == Event::Press) {
                events.erase(it);
                return true;
            }
        return false;
    }

    std::unique_ptr<CDibDC> screen;
    bool bold = false;
    bool alternateFont = false;
    uint64_t memory = UINT64_MAX;
    int statusReports = 0;
    int inputChecks = 0;
    int pressAfterChecks = 0;  // a press arrives at this input check (0: never)
    std::deque<Event> events;
};

class DrawingTest : public testing::Test {
protected:
    DrawingTest() {
        platform::SetProgramName("vistrel");
        platform::PinFontFile(testsupport::kTestFontFile);
        m_previousShell = InstallShellServices(&m_shell);
        m_fonts = std::make_unique<CFontServer>();
        m_fonts->EnumerateFonts();
    }
    ~DrawingTest() override {
        m_fonts.reset();
        InstallShellServices(m_previousShell);
        platform::PinFontFile("");
        platform::SetProgramName(m_previousName);
    }

    static uint16_t Px(CDibDC& dc, int x, int y) { return *dc.GetPixelAddress(x, y); }
    static void Clear(CDibDC& dc, uint16_t pixel) {
        for (int y = 0; y < dc.GetHeight(); ++y)
            for (int x = 0; x < dc.GetWidth(); ++x) *dc.GetPixelAddress(x, y) = pixel;
    }
    // Pixels of the area that differ from the background.
    static int Inked(CDibDC& dc, uint16_t background) {
        int count = 0;
        for (int y = 0; y < dc.GetHeight(); ++y)
            for (int x = 0; x < dc.GetRequestedWidth(); ++x) count += Px(dc, x, y) != background;
        return count;
    }
    struct Box {
        int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive
    };
    static Box InkBox(CDibDC& dc, uint16_t background) {
        Box box;
        for (int y = 0; y < dc.GetHeight(); ++y)
            for (int x = 0; x < dc.GetRequestedWidth(); ++x)
                if (Px(dc, x, y) != background) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    }

    std::string m_previousName = platform::GetProgramName();
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_config{"ZAVORO_CONFIG_DIR", m_dir.Path().c_str()};
    FakeShell m_shell;
    CShellServices* m_previousShell = nullptr;
    std::unique_ptr<CFontServer> m_fonts;
    CGdiCache m_gdi;
};

}  // namespace drawtest
