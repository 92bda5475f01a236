#pragma once
// CSystem: one customer system of the monitor, the face the rest of the
// program calls. Its record of fields (CSystemRecord) is guarded by its
// lock; its stored forms live in systemstore.h, its refresh over the network
// in systemrefresh.cpp and its alarm mail in alarmmail.cpp, each working on
// the record through the operations below.
//
// Threads: one poll thread refreshes a system at a time and alone writes its
// readings and alarm lists; the batch lookup writes the lookup fields; the
// user interface reads. Text fields, alarm lists and lookup fields change
// only under Lock(); a reader on another thread takes a Snapshot() (or a
// Copy function) to see them whole. The member functions take the lock
// themselves, so a caller never holds it around them.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/statussink.h"
#include "core/zvfile.h"
#include "core/zvtime.h"
#include "sentinax/lookupresult.h"
#include "sentinax/systemerror.h"
#include "sentinax/systemrecord.h"
#include "sentinax/systemstore.h"

class CConnectGates;
class CEmailMessage;
class CMailQueue;
class CPoolCircuit;
class CSystemColumns;
class CZVServer;

// What a refresh shares with the rest of the program.
struct CRefreshContext {
    CConnectGates* gates = nullptr;
    // Where alarm mails go; none are sent without both.
    CMailQueue* mailQueue = nullptr;
    const CSystemColumns* columns = nullptr;
    // Set when the program asks its poll threads to end: the refresh gives
    // up at its next wait.
    const std::atomic<bool>* stop = nullptr;
};

// Shows no progress; a set stop flag cancels the waits.
class CStopStatus : public CStatusSink {
public:
    explicit CStopStatus(const std::atomic<bool>* stop) : m_stop(stop) {}
    int Continue() override { return m_stop && m_stop->load() ? 0 : 1; }

private:
    const std::atomic<bool>* m_stop;
};

// The show-with values of the circuits the tablet's two lights pages show
// (positioned lights, lights).
inline constexpr uint8_t kShowWithPositionedLights = 3;
inline constexpr uint8_t kShowWithLights = 4;

struct CLightsCount {
    int32_t total = 0;
    int32_t on = 0;
};
// The circuits the lights pages show, whatever kind of light each is, and
// how many of them are on.
CLightsCount CountLights(const std::vector<const CPoolCircuit*>& circuits);
// An adapter name without its brand: "Brenvik: 01-23-45" gives "01-23-45";
// a name without the brand is given whole.
std::string AdapterSerialOf(const std::string& adapterName);

// The refresh interval shared by every system, in milliseconds (10 minutes
// at start).
void SetRefreshInterval(uint32_t milliseconds);
uint32_t GetRefreshInterval();

class CSystem : public CStatusSink, public CSystemRecord {
public:
    CSystem();
    ~CSystem() override = default;
    CSystem(const CSystem&) = delete;
    CSystem& operator=(const CSystem&) = delete;

    std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(m_lock); }
    // Held while the history file is read or rewritten: the poll thread's
    // append and the history window's rewrite never overlap.
    std::unique_lock<std::mutex> LockHistory() const { return std::unique_lock<std::mutex>(m_historyLock); }
    // True while someone holds the history (a write, the history window, a
    // restore): the caller's history work would wait now.
    bool IsHistoryHeld() const { return !std::unique_lock<std::mutex>(m_historyLock, std::try_to_lock).owns_lock(); }

    // The record as it stands, taken whole under the lock: what the window
    // shows reads a snapshot, never the live fields.
    CSystemRecord Snapshot() const;

    void RequestRefresh();
    void RequestLookup();
    // True, with the schedule stamped, when the refresh interval has passed
    // or a refresh was asked for, and the system has an adapter name.
    bool IsDue();
    // True, with the lookup stamped, when the system should go into the next
    // batch lookup.
    bool NeedsLookup();
    // `result` is null when the batch answer did not name this system.
    void ApplyBatchResult(const LookupResult* result);

    void SetEmailList(const std::vector<std::string>& list);
    // Each sets statusChanged when the value changes.
    void SetStatus(int32_t code);
    void SetStatusText(const std::string& text);

    // The adapter name for display: "Brenvik: 01-23-45" shows as "01-23-45".
    std::string GetAdapterSerial() const;
    std::string GetAdapterName() const;

    void ClearAlarms();
    // Into `alarms` when the category is mailed, else into `warnings`.
    void AddAlarm(int32_t type, int32_t value);
    std::vector<CSystemError> CopyAlarms() const;
    std::vector<CSystemError> CopyWarnings() const;

    // The stored forms (systemstore.h), under the lock.
    int LoadSettings(CZVFile& file, int32_t fileVersion);
    int SaveSettings(CZVFile& file);

    int LoadHistoryRecord(CZVFile& file);
    int SaveHistoryRecord(CZVFile& file, int stampNow);

    std::string GetHistoryFileName(int temporary) const;
    // Adds the current state stamped now to the history: at its end while
    // the file is as this system's last write left it, else by rewriting it
    // without records of 90 days or more. On failure the history is left as
    // it was.
    int AppendHistory();

    // One complete update on a poll thread: refreshes (again while a gate
    // says no), mails changed alarms, appends the history record and
    // schedules the next update.
    void Update(const CRefreshContext& context);
    // One attempt through a server of its own; the status code it ends with.
    // `status` gets the progress lines of the connection and may cancel its
    // waits.
    int Refresh(const CRefreshContext& context, CStatusSink& status);
    // One attempt through `server`, which an attempt that ends with the retry
    // status leaves unused for the next one.
    int Refresh(CZVServer& server, const CRefreshContext& context, CStatusSink& status);
    // The monitor's own connection path: discovery lookup when needed, then
    // straight or through the relay, and the login. On success the server's
    // socket carries the logged-in connection.
    bool Connect(CZVServer& server, const CRefreshContext& context, CStatusSink& status);
    // The controller model text from the pool configuration's type and
    // expansion bytes.
    void SetModelName(int controllerType, int expansion);

    // The report lines of an alarm mail (recipient and subject already in
    // `message`); `columns` gives the system list's columns.
    void ComposeAlarmMail(CEmailMessage& message, const CSystemColumns& columns) const;
    // Queues one alarm mail per recipient, then the default recipient's.
    void SendAlarmNotifications(CMailQueue& queue, const CSystemColumns& columns) const;

private:
    // The flag of CSystem that says whether alarms of `type` are mailed;
    // null for a type without one.
    const int32_t* NotifyFlag(int32_t type) const;

    mutable std::mutex m_lock;
    mutable std::mutex m_historyLock;
    // Guarded by m_historyLock.
    HistoryFileState m_historyFile;
};
