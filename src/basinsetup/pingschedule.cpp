#include "basinsetup/pingschedule.h"

#include "platform/clock.h"

CPingSchedule::CPingSchedule() : last_(platform::GetTickCount()) {}

bool CPingSchedule::Step() {
    if (platform::TicksSince(last_) <= kInterval)
        return false;
    last_ = platform::GetTickCount();
    outstanding_ = !outstanding_;  // give up the unanswered one, or send the next
    return outstanding_;
}

void CPingSchedule::OnAnswer() {
    outstanding_ = false;
    last_ = platform::GetTickCount();
}
