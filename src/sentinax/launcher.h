#pragma once
// "Connect to System Now": opens a live connection to one customer system in
// another program. Systems before gateway version 5 go to BasinSetup, which
// signs in remotely with the system's adapter name and password; newer ones
// go to the vendor's remote-access program, whose path is the setting
// "RemoteAccess"/"Program" (a bare name is looked up beside this program,
// then on PATH). The monitor ends the remote-access program it started
// before it starts the next one; BasinSetup instances are left alone.
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

class CSystem;

inline constexpr char kBasinSetupProgram[] = "basinsetup";
inline constexpr char kRemoteAccessProgram[] = "brenvik_start";
inline constexpr char kBasinSetupStartError[] = "Error Starting BASINSETUP.EXE";

class CProgramLauncher {
public:
    // How long an earlier remote-access program is given to end.
    static constexpr uint32_t kEndWaitMs = 5000;

    // The program names or paths; empty: the defaults (the remote-access
    // program's from the settings).
    explicit CProgramLauncher(std::string basinSetup = {}, std::string remoteAccess = {});
    // Leaves a running remote-access program running.
    ~CProgramLauncher();
    CProgramLauncher(const CProgramLauncher&) = delete;
    CProgramLauncher& operator=(const CProgramLauncher&) = delete;

    // The command; the text of the message box to show, empty when the
    // program was started.
    std::string ConnectToSystem(const CSystem& system);

    bool StartBasinSetup(const CSystem& system);
    // 0 started, 1 not found, 3 found but not started.
    int StartRemoteAccess(const CSystem& system);
    // Ends the remote-access program started last when it still runs.
    void EndEarlierRemoteAccess();

    pid_t GetRemoteAccessProcess() const { return m_remoteAccess; }

private:
    // Collects the children that have ended.
    void Reap();

    std::string m_basinSetup;
    std::string m_remoteAccessPath;
    pid_t m_remoteAccess = -1;
    std::vector<pid_t> m_children;
};
