#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/program.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"
#include "sentinax/statuscode.h"
#include "sentinax/systemroster.h"
#include "support/fake_discovery.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace {

SystemPtr MakeSystem(const std::string& adapter) {
    auto system = std::make_shared<CSystem>();
    system->adapterName = adapter;
    return system;
}

class RosterFolder : public ::testing::Test {
protected:
    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    CConnectGates gates;
};

class RosterTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The discovery service named by host name: no batch lookup, no DNS.
        testsupport::WriteFileText(platform::GetProgramFilePath(kOverrideFileName), "discovery.invalid:500");
    }

    testsupport::VirtualClock clock;
    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    CConnectGates gates;
};

TEST(PollThreadTarget, FollowsTheNumberOfSystemsInSteps) {
    const struct {
        int systems, threads;
    } cases[] = {{0, 2},   {1, 2},    {50, 12},  {51, 9},   {100, 18}, {101, 15},
                 {150, 22}, {151, 19}, {200, 26}, {201, 25}, {5000, 25}, {-3, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(CSystemRoster::PollThreadTarget(c.systems), c.threads) << c.systems;
}

TEST(RefreshInterval, EightSecondsPerSystemAndAtLeastFiveMinutes) {
    const struct {
        int systems;
        uint32_t ms;
    } cases[] = {{0, 300000}, {10, 300000}, {37, 300000}, {38, 304000}, {100, 800000}};
    for (const auto& c : cases)
        EXPECT_EQ(CSystemRoster::RefreshIntervalFor(c.systems), c.ms) << c.systems;
}

// A roster whose threads are stopped: the test alone takes from its queue.
class DueQueueTest : public RosterTest {
protected:
    void SetUp() override {
        RosterTest::SetUp();
        roster.StopPollThreads();
        for (const char* name : {"A", "B", "C"}) {
            systems.push_back(MakeSystem(name));
            roster.AddSystem(systems.back());
        }
    }

    std::vector<const CSystem*> Queue() const {
        std::vector<const CSystem*> queue;
        for (const SystemPtr& system : roster.GetDueQueue())
            queue.push_back(system.get());
        return queue;
    }

    CSystemRoster roster{CRefreshContext{.gates = &gates}, [](CSystem&, const CRefreshContext&) {}};
    std::vector<SystemPtr> systems;
};

TEST_F(DueQueueTest, DueSystemsQueueOnceInListOrder) {
    const auto a = systems[0].get(), b = systems[1].get(), c = systems[2].get();
    roster.QueueDueSystems();
    EXPECT_EQ(Queue(), (std::vector<const CSystem*>{a, b, c}));
    systems[0]->RequestRefresh();
    roster.QueueDueSystems();
    EXPECT_EQ(Queue(), (std::vector<const CSystem*>{a, b, c})) << "a queued system is not queued twice";
    EXPECT_EQ(roster.TakeNextSystem().get(), a);
    roster.FinishRefresh(a);
}

TEST_F(DueQueueTest, RefreshNowPutsTheSelectionAtTheHeadLastRowFirst) {
    const auto a = systems[0].get(), b = systems[1].get(), c = systems[2].get();
    roster.QueueDueSystems();
    roster.RefreshSelected({b, c});
    EXPECT_EQ(Queue(), (std::vector<const CSystem*>{c, b, a}));
    EXPECT_EQ(systems[1]->lookupRequested, 1);
    roster.RefreshSelected({a});
    EXPECT_EQ(Queue(), (std::vector<const CSystem*>{a, c, b}));
}

TEST_F(DueQueueTest, SystemWithoutAdapterNameAndDeletedSystemAreNeverTaken) {
    auto unnamed = MakeSystem("");
    roster.AddSystem(unnamed);
    roster.QueueDueSystems();
    EXPECT_EQ(Queue().size(), 3u);
    roster.DeleteSystem(systems[0].get());
    EXPECT_EQ(roster.TakeNextSystem(), systems[1]);
    EXPECT_EQ(roster.TakeNextSystem(), systems[2]);
    EXPECT_EQ(roster.TakeNextSystem(), nullptr);
    EXPECT_EQ(roster.GetSystemCount(), 3);
}

TEST_F(DueQueueTest, SystemBeingRefreshedWaitsForItsFirstRefreshToEnd) {
    const auto a = systems[0].get();
    roster.QueueDueSystems();
    ASSERT_EQ(roster.TakeNextSystem().get(), a);
    roster.RefreshSelected({a});
    EXPECT_EQ(roster.TakeNextSystem(), systems[1]) << "a second thread must not start on A";
    roster.FinishRefresh(a);
    EXPECT_EQ(roster.TakeNextSystem().get(), a);
}

TEST_F(RosterTest, ThreadsScaleWithTheSystemsAndRefreshEachDueSystemOnce) {
    std::mutex mutex;
    std::vector<const CSystem*> refreshed;
    CSystemRoster roster(CRefreshContext{.gates = &gates}, [&](CSystem& system, const CRefreshContext&) {
        std::lock_guard<std::mutex> guard(mutex);
        refreshed.push_back(&system);
    });
    EXPECT_EQ(roster.GetPollThreadCount(), 1);
    std::vector<SystemPtr> systems;
    for (int i = 0; i < 60; ++i)
        systems.push_back(MakeSystem("S" + std::to_string(i)));
    roster.ReplaceSystems(systems);
    const uint32_t interval = GetRefreshInterval();
    roster.Begin();
    EXPECT_EQ(roster.GetPollThreadCount(), 10);
    EXPECT_EQ(GetRefreshInterval(), interval) << "no batch lookup without a dotted discovery address";
    ASSERT_TRUE(testsupport::WaitUntil([&] {
        std::lock_guard<std::mutex> guard(mutex);
        return refreshed.size() == systems.size();
    }));
    roster.StopPollThreads();
    std::sort(refreshed.begin(), refreshed.end());
    EXPECT_EQ(std::unique(refreshed.begin(), refreshed.end()), refreshed.end());
    EXPECT_EQ(roster.GetPollThreadCount(), 0);
}

TEST_F(RosterTest, StoppingEndsALongRefreshAtItsNextWait) {
    std::atomic<int> running{0};
    CSystemRoster roster(CRefreshContext{.gates = &gates}, [&](CSystem&, const CRefreshContext& context) {
        ++running;
        while (!context.stop->load())
            platform::Sleep(100);
    });
    for (int i = 0; i < 3; ++i)
        roster.AddSystem(MakeSystem("S" + std::to_string(i)));
    roster.Begin();
    ASSERT_TRUE(testsupport::WaitUntil([&] { return running.load() == 2; }));
    const auto start = std::chrono::steady_clock::now();
    roster.StopPollThreads();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_TRUE(roster.GetDueQueue().empty());
}

// On the system clock: the fake service answers at once.
TEST_F(RosterFolder, BatchLookupStoresEachSystemsAddressAndSetsTheInterval) {
    testsupport::FakeDiscovery discovery;
    discovery.Know({.name = "Brenvik: 01-23-45", .address = "10.1.2.3", .port = 4500});
    testsupport::WriteFileText(platform::GetProgramFilePath(kOverrideFileName),
                               "127.0.0.1:" + std::to_string(discovery.Port()));
    CSystemRoster roster(CRefreshContext{.gates = &gates}, [](CSystem&, const CRefreshContext&) {});
    roster.StopPollThreads();
    auto known = MakeSystem("Brenvik: 01-23-45"), unknown = MakeSystem("Brenvik: 99-99-99");
    roster.ReplaceSystems({known, unknown});
    SetRefreshInterval(600000);
    roster.RunBatchLookup();
    EXPECT_EQ(known->cachedAddress, "10.1.2.3");
    EXPECT_EQ(known->cachedPort, 4500);
    EXPECT_EQ(unknown->connectStatus, kStatusNotPosting);
    EXPECT_EQ(GetRefreshInterval(), 300000u);
    ASSERT_EQ(discovery.Requests().size(), 1u);
}

std::string CachedAddress(const CSystem& system) {
    auto lock = system.Lock();
    return system.cachedAddress;
}

// A discovery service that answers the batch lookup only when the test lets
// it: the idle turn that starts the lookup returns while the service is
// still silent, and the answer lands later.
TEST_F(RosterTest, SlowBatchLookupDoesNotHoldTheIdleTurn) {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false, answered = false;
    testsupport::FakeDiscovery discovery;
    discovery.On(testsupport::kDiscoveryLookupMany, [&](const testsupport::Frame&) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(5), [&] { return released; });
        answered = true;
        const testsupport::DiscoveryRecord record{.name = "Brenvik: 01-23-45", .address = "10.1.2.3", .port = 4500};
        return testsupport::FakeDiscovery::Reply{testsupport::EncodeFrame(
            {0, testsupport::kDiscoveryLookupManyAnswer, testsupport::DiscoveryBatchPayload({record})})};
    });
    testsupport::WriteFileText(platform::GetProgramFilePath(kOverrideFileName),
                               "127.0.0.1:" + std::to_string(discovery.Port()));
    // The poll thread's pauses must not run the client's silence limit out.
    clock.HoldWhile([&] {
        std::lock_guard<std::mutex> guard(mutex);
        return !answered;
    });
    CSystemRoster roster(CRefreshContext{.gates = &gates}, [](CSystem&, const CRefreshContext&) {});
    auto system = MakeSystem("Brenvik: 01-23-45");
    roster.AddSystem(system);
    clock.Advance(CSystemRoster::kBatchLookupMs + 1);
    roster.RunScheduledWork();
    {
        std::lock_guard<std::mutex> guard(mutex);
        EXPECT_FALSE(answered) << "the idle turn waited for the discovery service";
        released = true;
    }
    changed.notify_all();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return CachedAddress(*system) == "10.1.2.3"; }));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !roster.IsBatchLookupRunning(); }));
}

// Closing the program while the service is silent ends the lookup at its
// next wait. On the system clock: the silence limit is far off.
TEST_F(RosterFolder, StoppingEndsASilentBatchLookup) {
    std::atomic<bool> asked{false};
    testsupport::FakeDiscovery discovery;
    discovery.On(testsupport::kDiscoveryLookupMany, [&](const testsupport::Frame&) {
        asked.store(true);
        return testsupport::FakeDiscovery::Reply{};
    });
    testsupport::WriteFileText(platform::GetProgramFilePath(kOverrideFileName),
                               "127.0.0.1:" + std::to_string(discovery.Port()));
    CSystemRoster roster(CRefreshContext{.gates = &gates}, [](CSystem&, const CRefreshContext&) {});
    roster.AddSystem(MakeSystem("Brenvik: 01-23-45"));
    roster.StartBatchLookup();
    ASSERT_TRUE(testsupport::WaitUntil([&] { return asked.load(); }));
    const auto start = std::chrono::steady_clock::now();
    roster.StopPollThreads();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(roster.IsBatchLookupRunning());
    EXPECT_TRUE(roster.GetDueQueue().empty());
}

}  // namespace
