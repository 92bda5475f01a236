#include "sentinax/connectgates.h"

#include "platform/clock.h"

namespace {

// How often a slot attempt looks for a slot given back meanwhile.
constexpr uint32_t kSlotLookMs = 10;

}  // namespace

bool CConnectGates::TakeFreeSlot() {
    std::lock_guard lock(mutex_);
    if (freeSlots_ == 0)
        return false;
    --freeSlots_;
    return true;
}

bool CConnectGates::TryTakeConnectSlot() {
    {
        std::lock_guard lock(mutex_);
        if (lastSlotAttempt_ && platform::TicksSince(*lastSlotAttempt_) < kSlotAttemptGapMs)
            return false;
        lastSlotAttempt_ = platform::GetTickCount();
    }
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        if (TakeFreeSlot())
            return true;
        if (platform::TicksSince(start) >= kSlotWaitMs)
            return false;
        platform::Sleep(kSlotLookMs);
    }
}

void CConnectGates::ReleaseConnectSlot() {
    std::lock_guard lock(mutex_);
    // A slot given back twice cannot raise the limit.
    if (freeSlots_ < kConnectSlots)
        ++freeSlots_;
}

bool CConnectGates::PaceConnect() {
    std::lock_guard lock(mutex_);
    const uint32_t pause = connectCounter_ < systemCount_ ? kFirstRoundPauseMs : kLaterPauseMs;
    if (lastConnectStart_ && platform::TicksSince(*lastConnectStart_) <= pause)
        return false;
    if (connectCounter_ < systemCount_)
        ++connectCounter_;
    lastConnectStart_ = platform::GetTickCount();
    return true;
}

void CConnectGates::SetSystemCount(int count) {
    std::lock_guard lock(mutex_);
    systemCount_ = count;
}

void CConnectGates::ResetConnectPacing() {
    std::lock_guard lock(mutex_);
    connectCounter_ = 0;
}

int CConnectGates::GetFreeSlots() const {
    std::lock_guard lock(mutex_);
    return freeSlots_;
}
