#pragma once
// A clock for tests: time moves only when the test advances it or when the
// code under test sleeps. Installed for the lifetime of the object.
#include <atomic>
#include <cstdint>

#include "platform/clock.h"

namespace testsupport {

class VirtualClock : public platform::Clock {
public:
    explicit VirtualClock(uint32_t start = 1000);
    ~VirtualClock() override;
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    uint32_t TickCount() override { return now_.load(); }
    // Advances the clock; the caller's thread yields once so that a peer on
    // another thread (a fake server) gets to run.
    void Sleep(uint32_t milliseconds) override;

    void Advance(uint32_t milliseconds) { now_.fetch_add(milliseconds); }
    void Set(uint32_t ticks) { now_.store(ticks); }
    uint64_t TotalSlept() const { return slept_.load(); }

private:
    std::atomic<uint32_t> now_;
    std::atomic<uint64_t> slept_{0};
    platform::Clock* previous_;
};

}  // namespace testsupport
