#include "sentinax/systemroster.h"

#include <algorithm>
#include <string>

#include "core/zvsock.h"
#include "platform/clock.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"

CSystemRoster::CSystemRoster(const CRefreshContext& shared, RefreshFunction refresh, RosterThreads threads)
    : context_(shared),
      refresh_(refresh ? std::move(refresh) : [](CSystem& system, const CRefreshContext& context) {
          system.Update(context);
      }),
      threadMode_(threads),
      lastDueCheck_(platform::GetTickCount()),
      lastBatchLookup_(lastDueCheck_) {
    context_.stop = &stopping_;
    AddPollThread();
}

CSystemRoster::~CSystemRoster() { StopPollThreads(); }

int CSystemRoster::PollThreadTarget(int n) {
    n = std::max(n, 0);
    if (n <= 50)
        return n * 20 / 100 + 2;
    if (n <= 100)
        return n * 18 / 100;
    if (n <= 150)
        return n * 15 / 100;
    if (n <= 200)
        return n * 13 / 100;
    return 25;
}

uint32_t CSystemRoster::RefreshIntervalFor(int systemCount) {
    const uint32_t perSystems = static_cast<uint32_t>(std::max(systemCount, 0)) * kIntervalPerSystemMs;
    return std::max(perSystems, kMinIntervalMs);
}

std::vector<SystemPtr> CSystemRoster::GetSystems() const {
    CGuardLock guard(lock_);
    return systems_;
}

int CSystemRoster::GetSystemCount() const {
    CGuardLock guard(lock_);
    return static_cast<int>(systems_.size());
}

void CSystemRoster::AddSystem(SystemPtr system) {
    if (!system)
        return;
    CGuardLock guard(lock_);
    systems_.push_back(std::move(system));
}

void CSystemRoster::DeleteSystem(const CSystem* system) {
    CGuardLock guard(lock_);
    UnqueueLocked(system);
    std::erase_if(systems_, [system](const SystemPtr& entry) { return entry.get() == system; });
}

void CSystemRoster::ReplaceSystems(std::vector<SystemPtr> systems) {
    std::erase(systems, nullptr);
    CGuardLock guard(lock_);
    dueQueue_.clear();
    systems_ = std::move(systems);
}

void CSystemRoster::Begin() {
    const int count = GetSystemCount();
    if (context_.gates)
        context_.gates->SetSystemCount(count);
    const int target = PollThreadTarget(count);
    while (GetPollThreadCount() < target)
        AddPollThread();
    lastBatchLookup_ = platform::GetTickCount();
    StartBatchLookup();
}

void CSystemRoster::RunScheduledWork() {
    if (platform::TicksSince(lastBatchLookup_) > kBatchLookupMs) {
        lastBatchLookup_ = platform::GetTickCount();
        StartBatchLookup();
    }
    if (platform::TicksSince(lastDueCheck_) > kDueCheckMs) {
        lastDueCheck_ = platform::GetTickCount();
        QueueDueSystems();
    }
}

void CSystemRoster::AddPollThread() {
    if (stopping_.load())
        return;
    ++pollThreadCount_;
    if (threadMode_ == RosterThreads::kRun)
        threads_.push_back(std::make_unique<CPollThread>(*this));
}

int CSystemRoster::GetPollThreadCount() const { return pollThreadCount_; }

void CSystemRoster::StopPollThreads() {
    // First, so that the lookup's end queues nothing after the queue is emptied.
    StopBatchLookup();
    {
        CGuardLock guard(lock_);
        dueQueue_.clear();
        stopping_.store(true);
        for (const auto& thread : threads_)
            thread->AskToStop();
    }
    // Without the lock: a thread may be waiting for it in TakeNextSystem.
    for (auto& thread : threads_)
        thread->Stop();
    threads_.clear();
    pollThreadCount_ = 0;
}

void CSystemRoster::QueueDueSystems() {
    CGuardLock guard(lock_);
    for (const SystemPtr& system : systems_) {
        if (system->IsDue() && std::find(dueQueue_.begin(), dueQueue_.end(), system) == dueQueue_.end())
            dueQueue_.push_back(system);
    }
}

SystemPtr CSystemRoster::TakeNextSystem() {
    CGuardLock guard(lock_);
    for (auto entry = dueQueue_.begin(); entry != dueQueue_.end(); ++entry) {
        if (refreshing_.count(entry->get()))
            continue;
        SystemPtr system = std::move(*entry);
        dueQueue_.erase(entry);
        refreshing_.insert(system.get());
        return system;
    }
    return nullptr;
}

void CSystemRoster::FinishRefresh(const CSystem* system) {
    CGuardLock guard(lock_);
    refreshing_.erase(system);
}

void CSystemRoster::RefreshSelected(const std::vector<const CSystem*>& rows) {
    CGuardLock guard(lock_);
    for (const CSystem* row : rows) {
        SystemPtr system = FindLocked(row);
        if (!system)
            continue;
        UnqueueLocked(row);
        system->RequestLookup();
        dueQueue_.push_front(std::move(system));
    }
}

void CSystemRoster::RefreshAll() {
    if (context_.gates)
        context_.gates->ResetConnectPacing();
    lastBatchLookup_ = platform::GetTickCount();
    for (const SystemPtr& system : GetSystems())
        system->RequestRefresh();
    StartBatchLookup();
}

void CSystemRoster::StartBatchLookup() {
    if (threadMode_ == RosterThreads::kNone || stopping_.load() || batchRunning_.load())
        return;
    // A finished lookup's thread is joined before the next one starts.
    if (batchThread_.joinable())
        batchThread_.join();
    batchRunning_.store(true);
    batchThread_ = std::thread([this] {
        RunBatchLookup();
        if (!batchStop_.load())
            QueueDueSystems();
        batchRunning_.store(false);
    });
}

void CSystemRoster::StopBatchLookup() {
    batchStop_.store(true);
    if (batchThread_.joinable())
        batchThread_.join();
    batchStop_.store(false);
}

void CSystemRoster::RunBatchLookup() {
    std::string host;
    uint16_t port = 0;
    GetDiscoveryServer(host, port);
    uint8_t address[4] = {};
    if (!IsDottedQuad(host) || !ParseDiscoveryText(host, "", &address[0], &address[1], &address[2], &address[3], nullptr))
        return;
    std::vector<SystemPtr> collected;
    int total = 0;
    {
        CGuardLock guard(lock_);
        total = static_cast<int>(systems_.size());
        for (const SystemPtr& system : systems_) {
            if (system->NeedsLookup())
                collected.push_back(system);
        }
    }
    if (!collected.empty()) {
        std::vector<std::string> names;
        for (const SystemPtr& system : collected)
            names.push_back(system->GetAdapterName());
        CStopStatus status(&batchStop_);
        CDiscoveryClient client(address, port, &status);
        std::vector<LookupResult> results;
        if (client.IsConnected() && client.LookupMany(names, results, &status)) {
            CGuardLock guard(lock_);
            for (size_t i = 0; i < collected.size(); ++i) {
                // A system deleted while the service answered is left alone.
                if (!FindLocked(collected[i].get()))
                    continue;
                const auto match = std::find_if(results.begin(), results.end(),
                                                [&](const LookupResult& result) { return result.name == names[i]; });
                collected[i]->ApplyBatchResult(match == results.end() ? nullptr : &*match);
            }
        }
    }
    SetRefreshInterval(RefreshIntervalFor(total));
}

std::vector<SystemPtr> CSystemRoster::GetDueQueue() const {
    CGuardLock guard(lock_);
    return {dueQueue_.begin(), dueQueue_.end()};
}

SystemPtr CSystemRoster::FindLocked(const CSystem* system) const {
    const auto found =
        std::find_if(systems_.begin(), systems_.end(), [system](const SystemPtr& entry) { return entry.get() == system; });
    return found == systems_.end() ? nullptr : *found;
}

void CSystemRoster::UnqueueLocked(const CSystem* system) {
    std::erase_if(dueQueue_, [system](const SystemPtr& entry) { return entry.get() == system; });
}
