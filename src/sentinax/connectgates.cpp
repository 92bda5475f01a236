#include "sentinax/connectgates.h"

#include "platform/clock.h"

namespace {

// How often a slot attempt looks for a slot given back meanwhile.
constexpr uint32_t kSlotLookMs = 10;

}  // namespace

bool CConnectGates::TakeFreeSlot() {
    std::lock_guard lock(m_mutex);
    if (m_freeSlots == 0) return false;
    --m_freeSlots;
    return true;
}

bool CConnectGates::TryTakeConnectSlot() {
    {
        std::lock_guard lock(m_mutex);
        if (m_lastSlotAttempt && platform::TicksSince(*m_lastSlotAttempt) < kSlotAttemptGapMs) return false;
        m_lastSlotAttempt = platform::GetTickCount();
    }
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        if (TakeFreeSlot()) return true;
        if (platform::TicksSince(start) >= kSlotWaitMs) return false;
        platform::Sleep(kSlotLookMs);
    }
}

void CConnectGates::ReleaseConnectSlot() {
    std::lock_guard lock(m_mutex);
    // A slot given back twice cannot raise the limit.
    if (m_freeSlots < kConnectSlots) ++m_freeSlots;
}

uint32_t CConnectGates::CurrentPause() const {
    return m_connectCounter < m_systemCount ? kFirstRoundPauseMs : kLaterPauseMs;
}

bool CConnectGates::PaceConnect() {
    std::lock_guard lock(m_mutex);
    const uint32_t pause = CurrentPause();
    if (m_lastConnectStart && platform::TicksSince(*m_lastConnectStart) <= pause) return false;
    if (m_connectCounter < m_systemCount) ++m_connectCounter;
    m_lastConnectStart = platform::GetTickCount();
    return true;
}

uint32_t CConnectGates::TimeToNextConnectStart() const {
    std::lock_guard lock(m_mutex);
    if (!m_lastConnectStart) return 0;
    // A start passes once more than the pause has gone by.
    const uint32_t elapsed = platform::TicksSince(*m_lastConnectStart);
    const uint32_t pause = CurrentPause();
    return elapsed > pause ? 0 : pause - elapsed + 1;
}

void CConnectGates::SetSystemCount(int count) {
    std::lock_guard lock(m_mutex);
    m_systemCount = count;
}

void CConnectGates::ResetConnectPacing() {
    std::lock_guard lock(m_mutex);
    m_connectCounter = 0;
}

int CConnectGates::GetFreeSlots() const {
    std::lock_guard lock(m_mutex);
    return m_freeSlots;
}
