// The remote monitor at a service company's scale: 1,000 and 10,000 systems.
//
// Figures, each at both counts, and the ratio of the large count to the small one:
// - load and save of CONFIG.DAT; the load as the program makes it at start, in a fresh
//   process of its own (the fastest of five), where no memory freed by the earlier figures
//   is there to be reused;
// - the sort of the system list by each sortable column, in processor time;
// - memory per system: the resident size that loading adds there, divided by the count;
// - CPU time per refresh against in-process fake gateways, with 1, 4 and 16 threads, and
//   the refreshes per second. The aim holds the refreshing threads' own CPU time; the
//   process's whole time, the fake gateways' side included, is printed beside it.
// Aims: 10,000 systems cost at most 12 times 1,000 (sorting at most 15 times); a refresh
// costs under 2 ms of CPU; the throughput grows with the threads until the connection
// pacing limits it (one connection start per 900 ms), and the bench says which limit held.
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fake_gateway.h"
#include "samplegateway/house.h"
#include "sentinax/configfile.h"
#include "sentinax/connectgates.h"
#include "sentinax/emailserver.h"
#include "sentinax/statuscode.h"
#include "sentinax/system.h"
#include "sentinax/systemlist.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSmall = 1000;
constexpr int kLarge = 10000;
constexpr double kGrowthAim = 12.0;
constexpr double kSortGrowthAim = 15.0;
constexpr double kRefreshCpuAimMs = 2.0;
constexpr char kPassword[] = "secret";
// Each sort is timed this many times, from a fresh shuffle, and the fastest counts: one
// run of a millisecond is at the mercy of the machine's other work. A sort is timed by
// the processor time of the thread that sorts: on a busy machine the wall clock also
// counts the time the thread waited for a processor, which a sort of ten times the rows
// meets far more often than one short enough to finish within its time slice.
constexpr int kSortRuns = 9;
// The same for the loads of CONFIG.DAT, each in a fresh process.
constexpr int kLoadRuns = 5;

double SecondsOf(const std::function<void()>& work, int repeats = 1) {
    const auto start = Clock::now();
    for (int i = 0; i < repeats; ++i) work();
    return std::chrono::duration<double>(Clock::now() - start).count() / repeats;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double ThreadCpuSecondsOf(const std::function<void()>& work) {
    const double start = ThreadCpuSeconds();
    work();
    return ThreadCpuSeconds() - start;
}

long ResidentBytes() {
    long pages = 0, resident = 0;
    std::ifstream statm("/proc/self/statm");
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

constexpr char kFreshLoadOption[] = "--load-in-a-fresh-process";

// A load of CONFIG.DAT as the program makes it at start, in a process that has done
// nothing else: its time, and what it adds to the resident size. No memory freed by
// earlier figures is there to be reused, at either count.
struct FreshLoad {
    double seconds = 0;
    double residentBytes = 0;
};

FreshLoad LoadHere(const std::string& path) {
    CEmailServer email;
    const long before = ResidentBytes();
    CMonitorConfig loaded;
    FreshLoad load;
    load.seconds = SecondsOf([&] { LoadConfig(path, loaded, email); });
    load.residentBytes = static_cast<double>(ResidentBytes() - before);
    return load;
}

// Runs LoadHere in a fresh copy of this program and reads its answer.
FreshLoad LoadInFreshProcess(const std::string& path) {
    FreshLoad load;
    char self[4096] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return load;
    const std::string command = std::string("'") + self + "' " + kFreshLoadOption + " '" + path + "'";
    FILE* child = popen(command.c_str(), "r");
    if (!child) return load;
    if (std::fscanf(child, "%lf %lf", &load.seconds, &load.residentBytes) != 2) load = {};
    pclose(child);
    return load;
}

// Systems with varied, reproducible values in every sortable field.
std::vector<SystemPtr> MakeSystems(int count) {
    std::vector<SystemPtr> systems;
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000; };
    for (int i = 0; i < count; ++i) {
        auto system = std::make_shared<CSystem>();
        system->name = "Customer " + std::to_string(next()) + " " + std::to_string(i);
        system->adapterName = "Brenvik: " + std::to_string(i);
        system->address = std::to_string(next()) + " Main Street";
        system->city = "Town " + std::to_string(next() % 50);
        system->zip = std::to_string(10000 + next());
        system->phone = "555-" + std::to_string(next());
        system->status = static_cast<int>(next() % 19) + 1;
        system->poolTemperature = static_cast<int32_t>(next() % 100);
        system->spaTemperature = static_cast<int32_t>(next() % 110);
        system->airTemperature = static_cast<int32_t>(next() % 120);
        system->saltLevel = static_cast<int32_t>(next() % 90);
        system->modelName = next() % 2 ? "Corvanta m9+3" : "Orlenza Pool/Spa";
        system->adapterVersion = "5.2 Build " + std::to_string(next());
        systems.push_back(std::move(system));
    }
    return systems;
}

std::string Folder() {
    char pattern[] = "/tmp/monitor_bench.XXXXXX";
    const char* made = mkdtemp(pattern);
    return made ? made : "/tmp";
}

struct Scale {
    double load = 0, save = 0, memoryPerSystem = 0;
    std::vector<std::pair<std::string, double>> sorts;
};

Scale Measure(int count, const std::string& folder) {
    Scale scale;
    CEmailServer email;
    const std::string path = folder + "/CONFIG-" + std::to_string(count) + ".DAT";
    {
        CMonitorConfig config;
        config.systems = MakeSystems(count);
        scale.save = SecondsOf([&] { SaveConfig(path, config, email); }, 3);
    }
    for (int run = 0; run < kLoadRuns; ++run) {
        const FreshLoad load = LoadInFreshProcess(path);
        scale.load = run == 0 ? load.seconds : std::min(scale.load, load.seconds);
        const double perSystem = load.residentBytes / count;
        scale.memoryPerSystem = run == 0 ? perSystem : std::min(scale.memoryPerSystem, perSystem);
    }
    CMonitorConfig loaded;
    LoadConfig(path, loaded, email);

    CSystemList list(nullptr, false);
    std::vector<CSystem*> rows;
    for (const SystemPtr& system : loaded.systems) rows.push_back(system.get());
    std::mt19937 shuffle(count);
    for (int column = 0; column < list.GetColumnCount(); ++column) {
        if (!list.IsSortableColumn(column)) continue;
        list.SetSortColumn(column);
        double fastest = 0;
        for (int run = 0; run < kSortRuns; ++run) {
            std::shuffle(rows.begin(), rows.end(), shuffle);
            list.Fill(rows);
            list.SetSortDescending(run % 2 != 0);
            const double seconds = ThreadCpuSecondsOf([&] { list.Sort(); });
            fastest = run == 0 ? seconds : std::min(fastest, seconds);
        }
        scale.sorts.emplace_back(CSystemList::GetColumnName(list.GetKindOfColumn(column)), fastest);
    }
    return scale;
}

void Report(const char* what, double small, double large, double aim, const char* unit = "ms") {
    const double ratio = small > 0 ? large / small : 0;
    std::printf("%-34s %10.3f %s  %10.3f %s  ratio %6.2f (aim <= %.0f) %s\n", what, small * 1000, unit, large * 1000,
                unit, ratio, aim, ratio <= aim ? "ok" : "MISSED");
}

// One fake gateway per thread, each serving the sample installation with an adapter of 5.2
// under a name of its own. Each thread refreshes one system again and again, as a poll thread
// of the program, which lives as long as the program, comes back to its systems. Its first
// refresh, which also starts the thread's memory and writes the system's history whole, is
// reported on its own; the figures are those of the refreshes after it.
struct RefreshRun {
    double firstCpuMs = 0;              // a thread's first refresh
    double cpuPerRefreshMs = 0;         // the refreshing threads' own
    double processCpuPerRefreshMs = 0;  // the fake gateways' side included
    double perSecond = 0;
};

std::string BenchAdapterName(int thread) { return "Brenvik: bench " + std::to_string(thread); }

RefreshRun RunRefreshes(int threads, int perThread) {
    testsupport::FakeGateway::Options options;
    options.password = kPassword;
    std::string error;
    std::optional<samplegateway::House> loaded = samplegateway::House::Load(ZV_SAMPLE_HOUSE, &error);
    if (!loaded) {
        std::printf("no sample house: %s\n", error.c_str());
        return {};
    }
    std::vector<std::unique_ptr<testsupport::FakeGateway>> gateways;
    for (int i = 0; i < threads; ++i) {
        samplegateway::House house = *loaded;
        if (!house.Set("adapter_name", BenchAdapterName(i)) ||
            !house.Set("adapter_version", std::string("5.2 Build 738.0 Rel")) ||
            !house.SetSwitch("monitor_layout", true) || !house.SetSwitch("layout4", true))
            std::printf("the sample house lacks a value the bench sets\n");
        gateways.push_back(std::make_unique<testsupport::FakeGateway>(options));
        samplegateway::Serve(gateways.back()->Engine(), house);
        gateways.back()->Answer(0x311C, testsupport::PayloadWriter().Int(0).Int(0).Int(0).Int(0).Int(0).Int(0));
        gateways.back()->Answer(0x3126, testsupport::PayloadWriter().Int(0).Int(0).Int(0).Int(0).Int(0).Int(0));
    }
    CConnectGates gates;
    // Every start of the run, the first refreshes too, falls in the first round of the pacing.
    gates.SetSystemCount(threads * (perThread + 1));
    CRefreshContext context;
    context.gates = &gates;
    std::atomic<int> connected{0};
    std::vector<double> firstCpu(static_cast<size_t>(threads));
    std::vector<double> threadCpu(static_cast<size_t>(threads));
    std::barrier started(threads + 1);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            const double first = ThreadCpuSeconds();
            CSystem system;
            system.adapterName = BenchAdapterName(t);
            system.password = kPassword;
            system.majorVersion = 5;
            system.cachedAddress = "127.0.0.1";
            system.cachedPort = gateways[static_cast<size_t>(t)]->Port();
            system.Update(context);
            firstCpu[static_cast<size_t>(t)] = ThreadCpuSeconds() - first;
            started.arrive_and_wait();
            const double start = ThreadCpuSeconds();
            for (int i = 0; i < perThread; ++i) {
                system.Update(context);
                if (IsConnectedStatus(system.status)) ++connected;
            }
            threadCpu[static_cast<size_t>(t)] = ThreadCpuSeconds() - start;
        });
    }
    started.arrive_and_wait();
    const double cpuBefore = CpuSeconds();
    const double seconds = SecondsOf([&] {
        for (std::thread& worker : workers) worker.join();
    });
    const int refreshes = threads * perThread;
    RefreshRun run;
    run.firstCpuMs = std::accumulate(firstCpu.begin(), firstCpu.end(), 0.0) * 1000 / threads;
    run.processCpuPerRefreshMs = (CpuSeconds() - cpuBefore) * 1000 / refreshes;
    run.cpuPerRefreshMs = std::accumulate(threadCpu.begin(), threadCpu.end(), 0.0) * 1000 / refreshes;
    run.perSecond = refreshes / seconds;
    if (connected != refreshes) std::printf("  (%d of %d refreshes failed)\n", refreshes - connected.load(), refreshes);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kFreshLoadOption) {
        const FreshLoad load = LoadHere(argv[2]);
        std::printf("%.9f %.0f\n", load.seconds, load.residentBytes);
        return 0;
    }
    const std::string folder = Folder();
    setenv("ZAVORO_DATA_DIR", folder.c_str(), 1);

    const Scale small = Measure(kSmall, folder);
    const Scale large = Measure(kLarge, folder);
    std::printf("%-34s %13s  %13s\n", "figure", "1,000", "10,000");
    Report("save CONFIG.DAT", small.save, large.save, kGrowthAim);
    Report("load CONFIG.DAT", small.load, large.load, kGrowthAim);
    Report("resident memory per system", small.memoryPerSystem / 1000, large.memoryPerSystem / 1000, kGrowthAim, "B ");
    for (size_t i = 0; i < small.sorts.size() && i < large.sorts.size(); ++i)
        Report(("sort: " + small.sorts[i].first).c_str(), small.sorts[i].second, large.sorts[i].second, kSortGrowthAim);

    // The pacing lets one connection start through per pause; more threads only wait.
    const double pacedPerSecond = 1000.0 / CConnectGates::kFirstRoundPauseMs;
    std::printf("\n%-10s %16s %16s %22s %16s\n", "threads", "first refresh", "CPU per refresh",
                "with the fake gateways", "refreshes/s");
    double previous = 0;
    for (const int threads : {1, 4, 16}) {
        const RefreshRun run = RunRefreshes(threads, threads == 1 ? 8 : 2);
        const bool paced = run.perSecond >= pacedPerSecond * 0.8;
        std::printf("%-10d %13.3f ms %13.3f ms %19.3f ms %16.2f  limit: %s; CPU aim (< %.0f ms) %s\n", threads,
                    run.firstCpuMs, run.cpuPerRefreshMs, run.processCpuPerRefreshMs, run.perSecond,
                    paced ? "the connection pacing" : "the refresh itself", kRefreshCpuAimMs,
                    run.cpuPerRefreshMs < kRefreshCpuAimMs ? "ok" : "MISSED");
        if (previous > 0 && run.perSecond < previous * 0.8 && !paced)
            std::printf("           throughput fell with more threads\n");
        previous = run.perSecond;
    }
    std::filesystem::remove_all(folder);
    return 0;
}
