#include "virtual_clock.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace testsupport {

VirtualClock::VirtualClock(uint32_t start) : now_(start), previous_(platform::InstallClock(this)) {
    SetLocalTime({.year = 2010, .month = 1, .day = 1});
}

VirtualClock::~VirtualClock() { platform::InstallClock(previous_); }

void VirtualClock::HoldWhile(std::function<bool()> condition) {
    std::lock_guard lock(holdMutex_);
    hold_ = std::move(condition);
}

void VirtualClock::Sleep(uint32_t milliseconds) {
    {
        std::lock_guard lock(holdMutex_);
        if (hold_) {
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (hold_() && std::chrono::steady_clock::now() < limit)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    now_.fetch_add(milliseconds);
    slept_.fetch_add(milliseconds);
    std::this_thread::yield();
}

void VirtualClock::SetLocalTime(const platform::LocalTime& time) {
    uint64_t value = 0;
    if (!platform::LocalTimeToValue(time, value))
        std::abort();  // a broken test, not a case to run on
    std::lock_guard lock(localMutex_);
    localBase_ = value;
    localBaseTicks_ = now_.load();
}

platform::LocalTime VirtualClock::Now() {
    uint64_t value = 0;
    {
        std::lock_guard lock(localMutex_);
        value = localBase_ + uint64_t{static_cast<uint32_t>(now_.load() - localBaseTicks_)} * 10'000;
    }
    platform::LocalTime time;
    platform::ValueToLocalTime(value, time);
    return time;
}

}  // namespace testsupport
