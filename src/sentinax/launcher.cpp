#include "sentinax/launcher.h"

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <utility>

#include "core/zvlogin.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/settings.h"
#include "sentinax/system.h"

namespace {

constexpr int32_t kRemoteAccessMajorVersion = 5;
constexpr uint32_t kEndPollMs = 50;
// The codes the "can't find" message shows for the three places the
// remote-access program is looked for: not among the installed products,
// no more entries to look at, not in the program folders. The setting is
// the only place that can name it here, so a missing setting shows all
// three.
constexpr int kNotFoundInProducts = 12;
constexpr int kNoMoreItems = 259;
constexpr int kNotFoundInFolders = 22;

// True when the child has ended (and is collected now).
bool HasEnded(pid_t pid) {
    int status = 0;
    const pid_t result = waitpid(pid, &status, WNOHANG);
    return result == pid || (result < 0 && errno == ECHILD);
}

}  // namespace

CProgramLauncher::CProgramLauncher(std::string basinSetup, std::string remoteAccess)
    : m_basinSetup(basinSetup.empty() ? kBasinSetupProgram : std::move(basinSetup)),
      m_remoteAccessPath(std::move(remoteAccess)) {
    if (m_remoteAccessPath.empty() && !platform::ReadSettingString("RemoteAccess", "Program", m_remoteAccessPath))
        m_remoteAccessPath = kRemoteAccessProgram;
}

CProgramLauncher::~CProgramLauncher() { Reap(); }

std::string CProgramLauncher::ConnectToSystem(const CSystem& system) {
    Reap();
    int32_t major = 0;
    {
        auto lock = system.Lock();
        major = system.majorVersion;
    }
    if (major < kRemoteAccessMajorVersion) return StartBasinSetup(system) ? std::string() : kBasinSetupStartError;
    if (StartRemoteAccess(system) == 0) return {};
    return "ERROR: Can't find Marquel Connect.\nMay not be installed.\n(" + std::to_string(kNotFoundInProducts) + "," +
           std::to_string(kNoMoreItems) + "," + std::to_string(kNotFoundInFolders) + ")";
}

bool CProgramLauncher::StartBasinSetup(const CSystem& system) {
    std::string password;
    {
        auto lock = system.Lock();
        password = system.password;
    }
    const pid_t pid = platform::StartProgram(m_basinSetup, RemoteLoginArguments(system.GetAdapterName(), password));
    if (pid < 0) return false;
    m_children.push_back(pid);
    return true;
}

int CProgramLauncher::StartRemoteAccess(const CSystem& system) {
    if (platform::FindProgram(m_remoteAccessPath).empty()) return 1;
    std::string password;
    {
        auto lock = system.Lock();
        password = system.password;
    }
    EndEarlierRemoteAccess();
    const pid_t pid =
        platform::StartProgram(m_remoteAccessPath, RemoteLoginArguments(system.GetAdapterSerial(), password));
    if (pid < 0) return 3;
    m_remoteAccess = pid;
    m_children.push_back(pid);
    return 0;
}

void CProgramLauncher::EndEarlierRemoteAccess() {
    if (m_remoteAccess < 0) return;
    const pid_t pid = std::exchange(m_remoteAccess, -1);
    if (HasEnded(pid)) {
        std::erase(m_children, pid);
        return;
    }
    // Ended at once, without asking it to close: the remote session it holds
    // belongs to the system that is being left.
    kill(pid, SIGKILL);
    const uint32_t start = platform::GetTickCount();
    while (!HasEnded(pid)) {
        if (platform::TicksSince(start) >= kEndWaitMs) return;  // Still collected by Reap once it has gone.
        platform::Sleep(kEndPollMs);
    }
    std::erase(m_children, pid);
}

void CProgramLauncher::Reap() {
    std::erase_if(m_children, [](pid_t pid) { return HasEnded(pid); });
}
