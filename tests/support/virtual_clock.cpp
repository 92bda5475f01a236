#include "virtual_clock.h"

#include <thread>

namespace testsupport {

VirtualClock::VirtualClock(uint32_t start) : now_(start), previous_(platform::InstallClock(this)) {}

VirtualClock::~VirtualClock() { platform::InstallClock(previous_); }

void VirtualClock::Sleep(uint32_t milliseconds) {
    now_.fetch_add(milliseconds);
    slept_.fetch_add(milliseconds);
    std::this_thread::yield();
}

}  // namespace testsupport
