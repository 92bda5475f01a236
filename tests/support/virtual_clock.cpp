#include "virtual_clock.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace testsupport {

VirtualClock::VirtualClock(uint32_t start) : m_now(start), m_previous(platform::InstallClock(this)) {
    SetLocalTime({.year = 2010, .month = 1, .day = 1});
}

VirtualClock::~VirtualClock() { platform::InstallClock(m_previous); }

void VirtualClock::HoldWhile(std::function<bool()> condition) {
    std::lock_guard lock(m_holdMutex);
    m_hold = std::move(condition);
}

void VirtualClock::Sleep(uint32_t milliseconds) {
    {
        std::lock_guard lock(m_holdMutex);
        if (m_hold) {
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (m_hold() && std::chrono::steady_clock::now() < limit)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }
    m_now.fetch_add(milliseconds);
    m_slept.fetch_add(milliseconds);
    std::this_thread::yield();
}

void VirtualClock::SetLocalTime(const platform::LocalTime& time) {
    uint64_t value = 0;
    if (!platform::LocalTimeToValue(time, value))
        std::abort();  // a broken test, not a case to run on
    std::lock_guard lock(m_localMutex);
    m_localBase = value;
    m_localBaseTicks = m_now.load();
}

platform::LocalTime VirtualClock::Now() {
    uint64_t value = 0;
    {
        std::lock_guard lock(m_localMutex);
        value = m_localBase + uint64_t{static_cast<uint32_t>(m_now.load() - m_localBaseTicks)} * 10'000;
    }
    platform::LocalTime time;
    platform::ValueToLocalTime(value, time);
    return time;
}

}  // namespace testsupport
