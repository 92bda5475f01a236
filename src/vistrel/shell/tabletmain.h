#pragma once
// The tablet program's life: one copy per user, the command line and
// command file, the connection, the drawing singletons, the main window and
// its main loop, and the teardown in reverse order. And the process-wide
// values of the start-up that the rest of the program reads.
#include <atomic>
#include <cstdint>
#include <memory>

#include <string>
#include <vector>

#include "core/zvserver.h"
#include "platform/process.h"
#include "platform/tabletwindow.h"
#include "vistrel/shell/cmdline.h"

class CMainWnd;
class CSingleInstance;

// The title of "/TITLE:", empty without one.
const std::string& GetTitle();
void SetTitle(const std::string& title);
// The title holds "Marquel": the tablet was started by the configuration
// or the monitor program.
bool HasMarquelTitle();
// The program's own file version, and as the gateway's version check words it ("4.0.1499.0").
inline constexpr int kProgramVersion[4] = {4, 0, 1499, 0};
std::string ProgramVersionText();

// Whether this program is the one the gateway offers.
enum class VersionCheck : int { kCurrent = 1, kUpdate = 2, kUnknown = 3 };
// kCurrent when the configuration or monitor program started the tablet or the gateway's
// style is not themed; kUnknown when not connected or the gateway left the query unanswered.
VersionCheck CheckProgramVersion(CZVServer& server, int layoutType);

// small when the main window exists and is lower than threshold, else large.
int PickByScreenHeight(int threshold, int small, int large);

// What the start-up needs of its surroundings; the program's main() gives
// SDL's, a test a headless window and its own folders.
class CTabletHost {
public:
    virtual ~CTabletHost() = default;
    virtual int GetScreenWidth() = 0;
    virtual int GetScreenHeight() = 0;
    // The native window, or null when none can be opened.
    virtual std::unique_ptr<platform::TabletWindow> OpenWindow(const platform::WindowOptions& options) = 0;
    // The command file beside the program.
    virtual std::string GetCommandFilePath() = 0;
    // Where the single-instance lock lives.
    virtual std::string GetLockDirectory() = 0;
    // The program file that a self-update replaces.
    virtual std::string GetProgramFilePath() { return platform::GetExecutablePath(); }
    // The main window was made (a test looks at it); called once.
    virtual void OnMainWindow(CMainWnd& /*window*/, CZVServer& /*server*/) {}
    // Asked every pass of the main loop: true ends the program as the
    // window's close does (a signal arrived, a test is done).
    virtual bool ShouldStop() { return false; }
};

// The main loop over the main window until it is destroyed: each pass
// dispatches at most one pending window event, runs one idle-screen step, lets the
// server dispatch gateway messages for at most 50 ms, runs the idle step
// and sleeps 10 ms when nothing happened.
class CMessageLoop {
public:
    static constexpr uint32_t kPollBudget = 50;  // ms
    static constexpr uint32_t kRestTime = 10;    // ms
    // A redraw made outside a full paint is shown at least this often.
    static constexpr uint32_t kPresentInterval = 100;

    CMessageLoop(CZVServer& server, platform::TabletWindow& native, CTabletHost& host);

    // Runs until the window is to be destroyed or the host says stop.
    void Run(CMainWnd& window, CSingleInstance* instance);
    // One pass; false when the loop is to end.
    bool RunPass(CMainWnd& window);
    // PollAll calls made so far, and passes.
    uint64_t GetPollCount() const { return m_polls; }
    uint64_t GetPassCount() const { return m_passes; }

private:
    // Gateway messages for at most kPollBudget; true when the last poll
    // handled one (or the budget ran out).
    bool PumpServer();

    CZVServer& m_server;
    platform::TabletWindow& m_native;
    CTabletHost& m_host;
    uint32_t m_lastPresent;
    CSingleInstance* m_instance = nullptr;
    uint64_t m_polls = 0;
    uint64_t m_passes = 0;
};

// The whole life of the program; 0 when it ends normally or another copy
// runs.
int TabletMain(const std::vector<std::string>& arguments, CTabletHost& host);
