#pragma once
// A clock for tests: time moves only when the test advances it or when the
// code under test sleeps. Installed for the lifetime of the object. Its local
// time starts at a fixed date and moves with the ticks.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/clock.h"

namespace testsupport {

class VirtualClock : public platform::Clock {
public:
    explicit VirtualClock(uint32_t start = 1000);
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    uint32_t TickCount() override { return m_now.load(); }
    // Advances the clock; the caller's thread yields once so that a peer on
    // another thread (a fake server) gets to run. While the hold condition
    // is true, it first waits for real (a few seconds at most), so that a
    // peer that is still answering is not timed out by the test's pace.
    void Sleep(uint32_t milliseconds) override;
    // The hold condition; an empty one (the default) never holds.
    void HoldWhile(std::function<bool()> condition);
    // The local time set last (by default Friday 1 January 2010, 0:00), plus
    // the ticks that passed since.
    platform::LocalTime Now() override;
    bool DaylightTime() override { return m_daylight.load(); }

    void Advance(uint32_t milliseconds) { m_now.fetch_add(milliseconds); }
    void Set(uint32_t ticks) { m_now.store(ticks); }
    uint64_t TotalSlept() const { return m_slept.load(); }
    // The time must be a valid date; the day of week is recomputed.
    void SetLocalTime(const platform::LocalTime& time);
    void SetDaylightTime(bool daylight) { m_daylight.store(daylight); }

private:
    std::atomic<uint32_t> m_now;
    std::atomic<uint64_t> m_slept{0};
    std::atomic<bool> m_daylight{false};
    std::mutex m_holdMutex;
    std::function<bool()> m_hold;
    std::mutex m_localMutex;
    uint64_t m_localBase = 0;  // on the 100-ns calendar scale
    uint32_t m_localBaseTicks = 0;
    platform::Clock* m_previous;
};

}  // namespace testsupport
