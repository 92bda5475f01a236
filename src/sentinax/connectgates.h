#pragma once
// The two gates every poll thread passes on its way to a gateway; they keep
// the load on the vendor's services bounded. At most three discovery
// lookups run at once, at most one slot attempt is made per 500 ms, and
// connection starts are spaced 900 ms apart for the first round of systems,
// 3000 ms after that. The application holds one; every thread may call it.
#include <cstdint>
#include <mutex>
#include <optional>

class CConnectGates {
public:
    static constexpr int kConnectSlots = 3;
    static constexpr uint32_t kSlotAttemptGapMs = 500;
    static constexpr uint32_t kSlotWaitMs = 200;
    static constexpr uint32_t kFirstRoundPauseMs = 900;
    static constexpr uint32_t kLaterPauseMs = 3000;

    // False at once within kSlotAttemptGapMs of the last attempt; otherwise
    // waits up to kSlotWaitMs for one of the slots.
    bool TryTakeConnectSlot();
    void ReleaseConnectSlot();
    // True, counting the start, when the pause since the last connection
    // start has passed.
    bool PaceConnect();
    // How long until PaceConnect would let a start through: 0 when it would
    // now.
    uint32_t TimeToNextConnectStart() const;
    // The number of systems at start: the length of the first round.
    void SetSystemCount(int count);
    // A new first round ("Refresh All Status Now").
    void ResetConnectPacing();

    int GetFreeSlots() const;

private:
    bool TakeFreeSlot();
    uint32_t CurrentPause() const;

    mutable std::mutex m_mutex;
    int m_freeSlots = kConnectSlots;
    // None until the first attempt or start, which always pass.
    std::optional<uint32_t> m_lastSlotAttempt;
    std::optional<uint32_t> m_lastConnectStart;
    int m_systemCount = 0;
    int m_connectCounter = 0;
};
