#pragma once
// When the configuration program pings its gateway: 5 s after the answer to
// the previous ping, and again 5 s after an unanswered one was given up, so
// 10 s apart while the gateway stays silent. A missing answer never drops
// the connection. Times come from the platform clock.
#include <cstdint>

class CPingSchedule {
public:
    static constexpr uint32_t kInterval = 5000;

    CPingSchedule();

    // One pass of the program's loop while connected: true when a ping is due
    // now; it then counts as sent and outstanding.
    bool Step();
    // The gateway answered the ping.
    void OnAnswer();
    bool IsOutstanding() const { return m_outstanding; }

private:
    uint32_t m_last;
    bool m_outstanding = false;
};
