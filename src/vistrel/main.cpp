// vistrel: the touch-panel user interface.
#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "core/zvsock.h"
#include "platform/process.h"
#include "platform/program.h"
#include "platform/termination.h"
#include "vistrel/home/homepages.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell/singleinstance.h"
#include "vistrel/shell/tabletmain.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;
void Stop(int) { g_stop = 1; }

class SdlHost : public CTabletHost {
public:
    SdlHost() {
        SDL_DisplayMode mode;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
                m_width = mode.w;
                m_height = mode.h;
            }
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        }
        // Without audio the wave device is absent and every sound is silent.
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) std::fprintf(stderr, "No sound: %s\n", SDL_GetError());
    }
    int GetScreenWidth() override { return m_width; }
    int GetScreenHeight() override { return m_height; }
    std::unique_ptr<platform::TabletWindow> OpenWindow(const platform::WindowOptions& options) override {
        return platform::OpenSdlWindow(options);
    }
    std::string GetCommandFilePath() override {
        const std::string dir = platform::GetExecutableDirectory();
        return dir.empty() ? std::string() : dir + "/vistrel.cmd";
    }
    std::string GetLockDirectory() override { return NamedLockDirectory(); }
    bool ShouldStop() override { return g_stop != 0; }

private:
    // Without a display the window opens at the tablet's own size.
    int m_width = 800;
    int m_height = 600;
};

}  // namespace

int main(int argc, char** argv) {
    platform::SetProgramName("vistrel");
    platform::ExitOnFault();
    std::signal(SIGINT, Stop);
    std::signal(SIGTERM, Stop);
    LoadNetConfig();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    RegisterHomePages();
    RegisterMediaPages();
    CreateVideoRegistries();
    SdlHost host;
    const int result = TabletMain(arguments, host);
    DestroyVideoRegistries();
    return result;
}
