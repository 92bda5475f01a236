#include "sentinax/connectgates.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <thread>
#include <vector>

#include "support/virtual_clock.h"

namespace {

class ConnectGatesTest : public ::testing::Test {
protected:
    testsupport::VirtualClock clock;
    CConnectGates gates;
};

TEST_F(ConnectGatesTest, SlotAttemptsAreSpacedEvenWithFreeSlots) {
    EXPECT_TRUE(gates.TryTakeConnectSlot());
    clock.Advance(300);
    EXPECT_FALSE(gates.TryTakeConnectSlot());  // refused at once, the attempt time stays
    clock.Advance(199);
    EXPECT_FALSE(gates.TryTakeConnectSlot());
    clock.Advance(1);
    EXPECT_TRUE(gates.TryTakeConnectSlot());
    EXPECT_EQ(gates.GetFreeSlots(), 1);
}

TEST_F(ConnectGatesTest, AFourthLookupWaitsTwoHundredMillisecondsThenGivesUp) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(gates.TryTakeConnectSlot());
        clock.Advance(500);
    }
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(gates.TryTakeConnectSlot());
    EXPECT_GE(clock.TickCount() - start, CConnectGates::kSlotWaitMs);
    EXPECT_LT(clock.TickCount() - start, CConnectGates::kSlotWaitMs + 50);
    gates.ReleaseConnectSlot();
    clock.Advance(500);
    EXPECT_TRUE(gates.TryTakeConnectSlot());
}

TEST_F(ConnectGatesTest, ASlotGivenBackWhileWaitingIsTaken) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(gates.TryTakeConnectSlot());
        clock.Advance(500);
    }
    std::atomic<bool> released{false};
    // The waiting thread's clock stands still until the slot is back.
    clock.HoldWhile([&] { return !released.load(); });
    bool taken = false;
    std::thread waiter([&] { taken = gates.TryTakeConnectSlot(); });
    gates.ReleaseConnectSlot();
    released = true;
    waiter.join();
    clock.HoldWhile({});
    EXPECT_TRUE(taken);
    EXPECT_EQ(gates.GetFreeSlots(), 0);
}

TEST_F(ConnectGatesTest, ReleasingTooOftenCannotRaiseTheLimit) {
    gates.ReleaseConnectSlot();
    EXPECT_EQ(gates.GetFreeSlots(), CConnectGates::kConnectSlots);
}

TEST_F(ConnectGatesTest, PacingIs900MsForTheFirstRoundThen3000) {
    gates.SetSystemCount(2);
    EXPECT_TRUE(gates.PaceConnect());
    clock.Advance(500);
    EXPECT_FALSE(gates.PaceConnect());
    clock.Advance(401);
    EXPECT_TRUE(gates.PaceConnect());  // the second of two systems
    clock.Advance(901);
    EXPECT_FALSE(gates.PaceConnect());  // the round is over
    clock.Advance(2100);
    EXPECT_TRUE(gates.PaceConnect());
    gates.ResetConnectPacing();  // "Refresh All Status Now"
    clock.Advance(901);
    EXPECT_TRUE(gates.PaceConnect());
}

TEST_F(ConnectGatesTest, TheTimeToTheNextStartIsWhenPacingLetsItThrough) {
    gates.SetSystemCount(2);
    EXPECT_EQ(gates.TimeToNextConnectStart(), 0u);  // nothing started yet
    ASSERT_TRUE(gates.PaceConnect());
    clock.Advance(300);
    EXPECT_EQ(gates.TimeToNextConnectStart(), 601u);
    clock.Advance(600);
    EXPECT_FALSE(gates.PaceConnect());
    clock.Advance(1);
    EXPECT_EQ(gates.TimeToNextConnectStart(), 0u);
    ASSERT_TRUE(gates.PaceConnect());  // the second of two systems ends the round
    EXPECT_EQ(gates.TimeToNextConnectStart(), CConnectGates::kLaterPauseMs + 1);
}

TEST_F(ConnectGatesTest, OnlyOneOfManyThreadsPassesThePacing) {
    constexpr int kThreads = 8;
    std::latch start(kThreads);
    std::atomic<int> passed{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            if (gates.PaceConnect()) ++passed;
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(passed.load(), 1);
}

TEST_F(ConnectGatesTest, OnlyOneOfManyThreadsMakesASlotAttempt) {
    constexpr int kThreads = 8;
    std::latch start(kThreads);
    std::atomic<int> taken{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            if (gates.TryTakeConnectSlot()) ++taken;
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(taken.load(), 1);
    EXPECT_EQ(gates.GetFreeSlots(), 2);
}

}  // namespace
