#pragma once
// A widget tree for the button tests: the harness with its clock moved past
// the moment the buttons are made, and the sounds' play counts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "av/soundclip.h"
#include "gfx/fontserver.h"
#include "gfx/gdicache.h"
#include "platform/font.h"
#include "platform/program.h"
#include "support/temp_dir.h"
#include "support/test_font.h"
#include "support/widget_harness.h"
#include "widgets/buttons/zvbutton.h"

namespace widgettest {

// Captions need the font server; the font file is pinned so that text
// keeps its measures.
class PinnedFonts {
public:
    PinnedFonts() {
        platform::SetProgramName("vistrel");
        platform::PinFontFile(testsupport::kTestFontFile);
        m_fonts = std::make_unique<CFontServer>();
        m_fonts->EnumerateFonts();
    }
    ~PinnedFonts() {
        m_fonts.reset();
        platform::PinFontFile("");
        platform::SetProgramName(m_previousName);
    }
    PinnedFonts(const PinnedFonts&) = delete;
    PinnedFonts& operator=(const PinnedFonts&) = delete;

private:
    std::string m_previousName = platform::GetProgramName();
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_config{"ZAVORO_CONFIG_DIR", m_dir.Path().c_str()};
    std::unique_ptr<CFontServer> m_fonts;
    CGdiCache m_gdi;
};

class ButtonTest : public ::testing::Test {
protected:
    PinnedFonts fonts;
    testsupport::WidgetHarness harness;
    testsupport::TestMainWnd& root = harness.Root();

    // Lets time pass with an idle pass every 10 ms, as the main loop does.
    static int Plays(CSoundClip* clip) { return clip ? clip->GetPlayRequests() : -1; }
    void SetStyleFlag(int flag, bool on) {
        const int flags = harness.Style().GetFlags();
        harness.Style().SetFlags(on ? flags | flag : flags & ~flag);
    }
};

}  // namespace widgettest
