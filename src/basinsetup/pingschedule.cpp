#include "basinsetup/pingschedule.h"

#include "platform/clock.h"

CPingSchedule::CPingSchedule() : m_last(platform::GetTickCount()) {}

bool CPingSchedule::Step() {
    if (platform::TicksSince(m_last) <= kInterval) return false;
    m_last = platform::GetTickCount();
    m_outstanding = !m_outstanding;  // give up the unanswered one, or send the next
    return m_outstanding;
}

void CPingSchedule::OnAnswer() {
    m_outstanding = false;
    m_last = platform::GetTickCount();
}
