#pragma once
// What the monitor's windows drive without owning its workings: the poll
// threads with their due queue, the configuration file, the outgoing mail
// server and the program launcher. The windows see them only through these
// interfaces.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/zvtime.h"
#include "sentinax/alarmmail.h"

class CSystem;
class CSystemList;

using SystemPtrs = std::vector<std::unique_ptr<CSystem>>;

// The outgoing mail account.
struct CEmailAccount {
    std::string smtpServer;
    std::string sender;
    std::string password;
    std::string defaultRecipient;
};

// One line of the mail server's log.
struct CEmailLogEntry {
    CZVTime time;
    std::string text;
};

class CEmailService : public CMailQueue {
public:
    virtual CEmailAccount GetAccount() const = 0;
    virtual void SetAccount(const CEmailAccount& account) = 0;
    // Under the server's lock: the entries logged since the last call, as far
    // as the log still holds them, oldest first; the count of new entries
    // goes back to 0.
    virtual std::vector<CEmailLogEntry> TakeNewLogEntries() = 0;
    // Starts the sender thread when mail waits and none runs.
    virtual void StartSender() = 0;
};

class CMonitorServices {
public:
    virtual ~CMonitorServices() = default;

    // Guards the systems list and the due queue.
    virtual std::mutex& SystemsLock() = 0;

    // Poll threads. StartPolling sizes the threads for the number of systems
    // at start; `wake` is called, from any thread, when a refresh has
    // changed what the windows show.
    virtual void StartPolling(SystemPtrs& systems, int systemCount, std::function<void()> wake) = 0;
    virtual void RunBatchLookup() = 0;
    virtual void QueueDueSystems() = 0;
    // The systems go to the head of the due queue with a fresh lookup.
    virtual void RefreshSelected(const std::vector<CSystem*>& systems) = 0;
    virtual void RefreshAll() = 0;
    // Takes the system out of the due queue and returns once no poll thread
    // refreshes it, so that it may be deleted.
    virtual void ReleaseSystem(CSystem& system) = 0;
    virtual void StopPolling() = 0;

    // Configuration file. LoadConfig answers false when the file is missing
    // or unreadable; the systems read so far stay.
    virtual bool LoadConfig(SystemPtrs& systems, int& backupReminder) = 0;
    virtual void SaveConfig(const SystemPtrs& systems, int backupReminder) = 0;
    virtual void Backup(const SystemPtrs& systems, int& backupReminder) = 0;
    // True when the restore replaced the systems.
    virtual bool Restore(SystemPtrs& systems, int& backupReminder) = 0;
    // The history list's rows, in display order, as CSV.
    virtual void ExportHistoryCsv(const CSystemList& list) = 0;

    // Starts the configuration program (or the remote-access program) on
    // the system.
    virtual void ConnectToSystem(CSystem& system) = 0;

    virtual CEmailService& Email() = 0;
};
