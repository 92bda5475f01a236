// Poll threads refresh systems against real (fake) gateways while the main
// thread does what the window does with them: fills the system list, sorts
// it by every sortable column and reads every cell's text and colours. Run
// under the thread checker (the tsan preset), it finds any access to a
// system that is not under the system's lock.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fake_gateway.h"
#include "platform/program.h"
#include "sample_installation.h"
#include "sentinax/connectgates.h"
#include "sentinax/statuscode.h"
#include "sentinax/system.h"
#include "sentinax/systemlist.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

using testsupport::FakeGateway;
using testsupport::PayloadWriter;

constexpr char kPassword[] = "secret";
constexpr int kSystems = 6;
constexpr int kPollThreads = 3;
constexpr int kRounds = 4;
// The list is sorted at least this often, however fast the refreshes end.
constexpr int kMinimumPasses = 20;

std::string AdapterName(int index) { return "Brenvik: 00-00-0" + std::to_string(index); }

// One gateway per system, each an adapter of 5.2 (the systems keep their own
// connection path) with a chlorinator whose salt differs from the others'.
std::unique_ptr<FakeGateway> GatewayOf(int index) {
    FakeGateway::Options options;
    options.password = kPassword;
    auto gateway = std::make_unique<FakeGateway>(options);
    testsupport::SampleInstallation sample;
    sample.adapterName = AdapterName(index);
    sample.adapterVersion = "5.2 Build 738.0 Rel";
    sample.monitorLayout = true;
    sample.layout4 = true;
    testsupport::ServeSampleInstallation(*gateway, sample);
    gateway->Answer(0x311C, PayloadWriter().Int(1).Int(1).Int(50).Int(20).Int(50 + 7 * index).Int(0));
    gateway->Answer(0x3126, PayloadWriter().Int(0).Int(0).Int(0).Int(0).Int(0).Int(0));
    return gateway;
}

class RefreshRaceTest : public ::testing::Test {
protected:
    RefreshRaceTest() {
        for (int i = 0; i < kSystems; ++i) {
            gateways.push_back(GatewayOf(i));
            auto system = std::make_shared<CSystem>();
            system->name = "Customer " + std::to_string((i * 5) % kSystems);
            system->adapterName = AdapterName(i);
            system->password = kPassword;
            system->cachedAddress = "127.0.0.1";
            system->cachedPort = gateways.back()->Port();
            systems.push_back(system);
        }
        clock.HoldWhile([this] {
            for (const auto& gateway : gateways)
                if (gateway->Owes()) return true;
            return false;
        });
        gates.SetSystemCount(kSystems);
        context.gates = &gates;
    }
    ~RefreshRaceTest() override { clock.HoldWhile({}); }

    // Each poll thread refreshes its share of the systems, round after round.
    void RunPollThread(int thread) {
        for (int round = 0; round < kRounds; ++round)
            for (int i = thread; i < kSystems; i += kPollThreads) systems[static_cast<size_t>(i)]->Update(context);
        ++finished;
    }

    // What the window does on an idle turn: sorts and paints every row.
    void SortAndRead(CSystemList& list) {
        for (int column = 0; column < list.GetColumnCount(); ++column) {
            if (!list.IsSortableColumn(column)) continue;
            list.SetSortColumn(column);
            list.SetSortDescending(!list.IsSortDescending());
            list.Sort();
        }
        for (int row = 0; row < list.GetRowCount(); ++row) {
            const CSystem* system = list.GetRowData(row);
            for (int column = 0; column < list.GetColumnCount(); ++column) {
                painted += list.GetCellText(system, column).size();
                painted += list.GetCellBackColor(system, column) & 1;
                painted += list.GetCellTextColor(system, column) & 1;
            }
            painted += system->CopyAlarms().size() + system->CopyWarnings().size();
        }
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    testsupport::VirtualClock clock{100000};
    std::vector<std::unique_ptr<FakeGateway>> gateways;
    std::vector<std::shared_ptr<CSystem>> systems;
    CConnectGates gates;
    CRefreshContext context;
    std::atomic<int> finished{0};
    size_t painted = 0;
};

TEST_F(RefreshRaceTest, TheListSortsAndReadsWhileThePollThreadsWrite) {
    CSystemList list(nullptr, false);
    std::vector<CSystem*> rows;
    for (const std::shared_ptr<CSystem>& system : systems) rows.push_back(system.get());
    list.Fill(rows);

    std::vector<std::thread> pollThreads;
    for (int t = 0; t < kPollThreads; ++t) pollThreads.emplace_back([this, t] { RunPollThread(t); });
    for (int pass = 0; pass < kMinimumPasses || finished.load() < kPollThreads; ++pass) SortAndRead(list);
    for (std::thread& thread : pollThreads) thread.join();

    for (const std::shared_ptr<CSystem>& system : systems) {
        EXPECT_EQ(system->status, kStatusConnected) << system->adapterName;
        EXPECT_EQ(system->majorVersion, 5) << system->adapterName;
    }
    // Once the writers are done, every column sorts into its order.
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        if (!list.IsSortableColumn(column)) continue;
        list.SetSortColumn(column);
        list.Sort();
        for (int row = 1; row < list.GetRowCount(); ++row) {
            EXPECT_LE(list.CompareSortKeys(list.GetSortKey(list.GetRowData(row - 1), column),
                                           list.GetSortKey(list.GetRowData(row), column)),
                      0)
                << "column " << column << " row " << row;
        }
    }
    EXPECT_GT(painted, 0u);
}

}  // namespace
