#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {
namespace {

std::atomic<Clock*> g_installed{nullptr};

uint32_t SystemTickCount() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

}  // namespace

uint32_t GetTickCount() {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    return clock ? clock->TickCount() : SystemTickCount();
}

void Sleep(uint32_t milliseconds) {
    Clock* clock = g_installed.load(std::memory_order_acquire);
    if (clock)
        clock->Sleep(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint32_t TicksSince(uint32_t stamp) {
    uint32_t now = GetTickCount();
    return now >= stamp ? now - stamp : now - stamp - 1;
}

bool IsClockInstalled() { return g_installed.load(std::memory_order_acquire) != nullptr; }

Clock* InstallClock(Clock* clock) {
    return g_installed.exchange(clock, std::memory_order_acq_rel);
}

}  // namespace platform
