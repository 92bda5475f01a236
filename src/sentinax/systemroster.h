#pragma once
// CSystemRoster: the monitor's configured systems, the queue of systems due
// for a refresh and the poll threads that serve it. The main dialog owns one
// and lets it schedule: RunScheduledWork() on every idle turn queues due
// systems every 10 s and starts the batch discovery lookup every 10 minutes.
//
// Threads: one lock guards the systems list and the due queue; every member
// takes it itself, so a caller never holds it. The poll threads call
// TakeNextSystem(); the batch lookup runs on a worker thread of its own, so
// that a slow discovery service never holds the window, and stores its
// results under the lock; everything else is for the main thread. A system that a
// poll thread is refreshing is never handed to a second thread: a request
// that queues it again waits in the queue until the first refresh has ended.
// Systems are shared pointers; a system deleted during its refresh is freed
// when that refresh ends.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "core/threadsafety.h"
#include "sentinax/pollthread.h"
#include "sentinax/system.h"

using SystemPtr = std::shared_ptr<CSystem>;

// Whether a roster runs its poll threads and its batch lookup in the
// background. With kNone it keeps the same schedule and counts, but nothing
// runs behind the caller: tests of the window's logic read the systems with
// no other thread writing them.
enum class RosterThreads { kRun, kNone };

class CSystemRoster {
public:
    // What a poll thread runs on a system it took; CSystem::Update by default.
    using RefreshFunction = std::function<void(CSystem&, const CRefreshContext&)>;

    static constexpr int kMinPollThreads = 2;
    static constexpr uint32_t kDueCheckMs = 10000;
    static constexpr uint32_t kBatchLookupMs = 600000;
    // The refresh interval: 8 s per system, at least 300 s.
    static constexpr uint32_t kIntervalPerSystemMs = 8000;
    static constexpr uint32_t kMinIntervalMs = 300000;

    // `shared` gives the gates, the mail queue and the columns every refresh
    // uses; its stop flag is replaced by the roster's own. Starts one poll
    // thread.
    explicit CSystemRoster(const CRefreshContext& shared, RefreshFunction refresh = {},
                           RosterThreads threads = RosterThreads::kRun);
    // StopPollThreads().
    ~CSystemRoster();
    CSystemRoster(const CSystemRoster&) = delete;
    CSystemRoster& operator=(const CSystemRoster&) = delete;

    // The number of poll threads for a number of systems (2 to 26).
    static int PollThreadTarget(int systemCount);
    // The refresh interval for a number of systems, in milliseconds.
    static uint32_t RefreshIntervalFor(int systemCount);

    // The systems, in configuration order.
    std::vector<SystemPtr> GetSystems() const;
    int GetSystemCount() const;
    void AddSystem(SystemPtr system);
    // Takes the system out of the list and the queue.
    void DeleteSystem(const CSystem* system);
    // The whole list at once (configuration loaded or restored); the queue is
    // emptied.
    void ReplaceSystems(std::vector<SystemPtr> systems);

    // At start, once the configuration is read: tells the gates the number
    // of systems, brings the poll threads to their number for it and starts
    // the batch lookup, which queues the due systems when it ends.
    void Begin();
    // One idle turn of the main thread.
    void RunScheduledWork();

    void AddPollThread();
    int GetPollThreadCount() const;
    // Asks every thread to stop (the refreshes and the batch lookup give up
    // at their next wait), empties the queue, then waits for each thread to
    // end.
    void StopPollThreads();

    // Appends every due system that is not queued yet.
    void QueueDueSystems();
    // The head of the queue that no other thread is refreshing; none when
    // there is no such system. The caller reports the end of the refresh.
    SystemPtr TakeNextSystem();
    void FinishRefresh(const CSystem* system);
    // "Refresh Status Now": each system, in the given (row) order, goes to
    // the head of the queue with a fresh lookup, so the last comes first.
    void RefreshSelected(const std::vector<const CSystem*>& rows);
    // "Refresh All Status Now": every system is asked for a refresh and
    // queued once the batch lookup has ended.
    void RefreshAll();
    // Runs RunBatchLookup, then QueueDueSystems, on the worker thread, and
    // returns at once (without threads, does nothing). While a lookup is still running no second one starts:
    // the running one queues the due systems when it ends.
    void StartBatchLookup();
    bool IsBatchLookupRunning() const { return m_batchRunning.load(); }
    // One discovery lookup for every system that needs its address renewed;
    // sets the refresh interval from the number of systems. Nothing at all
    // when the discovery service is not named by a dotted address. Blocks
    // while the service answers; the worker thread runs it.
    void RunBatchLookup();

    // The queue, head first.
    std::vector<SystemPtr> GetDueQueue() const;

    // For the poll threads.
    const CRefreshContext& GetRefreshContext() const { return m_context; }
    void RunRefresh(CSystem& system) { m_refresh(system, m_context); }

private:
    SystemPtr FindLocked(const CSystem* system) const ZV_REQUIRES(m_lock);
    void UnqueueLocked(const CSystem* system) ZV_REQUIRES(m_lock);
    // Asks a running batch lookup to give up and waits for its thread.
    void StopBatchLookup();

    CRefreshContext m_context;
    RefreshFunction m_refresh;
    const RosterThreads m_threadMode;
    std::atomic<bool> m_stopping{false};

    mutable CGuardMutex m_lock;
    std::vector<SystemPtr> m_systems ZV_GUARDED_BY(m_lock);
    std::deque<SystemPtr> m_dueQueue ZV_GUARDED_BY(m_lock);
    std::set<const CSystem*> m_refreshing ZV_GUARDED_BY(m_lock);

    // Only the main thread changes the thread list and its count (which
    // counts the poll threads a roster without threads would run).
    std::vector<std::unique_ptr<CPollThread>> m_threads;
    int m_pollThreadCount = 0;
    uint32_t m_lastDueCheck;
    uint32_t m_lastBatchLookup;

    // Only the main thread starts and joins the batch lookup's thread.
    std::atomic<bool> m_batchRunning{false};
    std::atomic<bool> m_batchStop{false};
    std::thread m_batchThread;
};
