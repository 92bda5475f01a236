#pragma once
// Self-update: the page that fetches the program the gateway offers, puts
// it in place of the running program file and starts it. The machine is
// never left without a program that runs: nothing moves before the
// download is complete and is a program of this machine, the swap is one
// rename that is undone on failure, and the running copy exits only once
// the new one holds the single-instance lock.
#include <cstdint>
#include <string>

#include "core/downloader.h"
#include "vistrel/shell/pbase.h"

class CSingleInstance;
class CZVLevelBar;

// The files of an update, named by extension beside the program file.
struct CProgramPaths {
    std::string program;
    std::string download;  // <program>.new
    std::string old;       // <program>.old, kept until the next start
};
CProgramPaths GetProgramPaths(const std::string& programFile);
// The start-up removes what an earlier update left, once it holds the
// single-instance lock (so a second copy never takes away the file that a
// failed restart falls back on).
void DeleteOldProgramFile(const std::string& programFile);
// The candidate is an executable of the running program's kind: ELF, same
// class, byte order and machine.
bool IsProgramOfThisMachine(const std::string& candidate, const std::string& running);

// What the update needs of the running program; the start-up sets it for
// the run and clears it after.
struct CUpdateContext {
    std::string programFile;
    CSingleInstance* instance = nullptr;
    uint16_t defaultPort = 80;  // the port a restart need not name
};
void SetUpdateContext(const CUpdateContext* context);

class CUpdatePage : public CPageBase, public CDownloadTracker {
public:
    static constexpr uint32_t kStartWait = 10000;    // ms for the new copy to take the lock
    static constexpr uint32_t kFailurePause = 5000;  // ms the error stays before reconnecting
    static constexpr int kTitleFont = 30;
    static constexpr int kLogFont = 18;
    static constexpr int kFirstLogLine = 52;

    CUpdatePage(CZVWindow* parent, CZVRect rect);

    // The update runs once, from the first idle pass after the page was shown.
    int OnIdle(int work) override;
    void Log(const std::string& text);
    void OnProgress(int32_t received, int32_t total) override;
    // 1 when the new program runs.
    int SelfUpdate();
    // The update ran (and failed, when the program still runs).
    int HasRun() const { return !m_updatePending; }

private:
    int Download(const CProgramPaths& paths);
    int Swap(const CProgramPaths& paths);
    std::vector<std::string> RestartArguments(std::string* password) const;
    int StartNewCopy(const CProgramPaths& paths);
    void Finish(int updated);

    int m_logY = kFirstLogLine;
    CZVLevelBar* m_progress = nullptr;
    int m_updatePending = 1;
};
