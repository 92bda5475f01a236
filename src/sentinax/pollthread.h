#pragma once
// One background thread that takes due systems from the roster's queue and
// refreshes them, one at a time, at the lowest scheduling priority. It is
// never killed: asked to stop, it ends at its next wait (the pause between
// queue polls, or the next wait of the refresh it is running).
#include <atomic>
#include <cstdint>
#include <thread>

class CSystemRoster;

class CPollThread {
public:
    // The pause between two looks at the queue.
    static constexpr uint32_t kPollPauseMs = 250;

    // Starts the thread at once.
    explicit CPollThread(CSystemRoster& owner);
    // Stop().
    ~CPollThread();
    CPollThread(const CPollThread&) = delete;
    CPollThread& operator=(const CPollThread&) = delete;

    // Sets the stop flag without waiting.
    void AskToStop() { m_stop.store(true); }
    // Asks the thread to stop and waits until it has ended.
    void Stop();

private:
    void Run();

    CSystemRoster& m_owner;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
