#include "sentinax/systemroster.h"

#include <algorithm>
#include <string>

#include "core/zvsock.h"
#include "platform/clock.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"

CSystemRoster::CSystemRoster(const CRefreshContext& shared, RefreshFunction refresh, RosterThreads threads)
    : m_context(shared),
      m_refresh(refresh ? std::move(refresh)
                        : [](CSystem& system, const CRefreshContext& context) { system.Update(context); }),
      m_threadMode(threads),
      m_lastDueCheck(platform::GetTickCount()),
      m_lastBatchLookup(m_lastDueCheck) {
    m_context.stop = &m_stopping;
    AddPollThread();
}

CSystemRoster::~CSystemRoster() { StopPollThreads(); }

int CSystemRoster::PollThreadTarget(int n) {
    n = std::max(n, 0);
    if (n <= 50) return n * 20 / 100 + 2;
    if (n <= 100) return n * 18 / 100;
    if (n <= 150) return n * 15 / 100;
    if (n <= 200) return n * 13 / 100;
    return 25;
}

uint32_t CSystemRoster::RefreshIntervalFor(int systemCount) {
    const uint32_t perSystems = static_cast<uint32_t>(std::max(systemCount, 0)) * kIntervalPerSystemMs;
    return std::max(perSystems, kMinIntervalMs);
}

std::vector<SystemPtr> CSystemRoster::GetSystems() const {
    CGuardLock guard(m_lock);
    return m_systems;
}

int CSystemRoster::GetSystemCount() const {
    CGuardLock guard(m_lock);
    return static_cast<int>(m_systems.size());
}

void CSystemRoster::AddSystem(SystemPtr system) {
    if (!system) return;
    CGuardLock guard(m_lock);
    m_systems.push_back(std::move(system));
}

void CSystemRoster::DeleteSystem(const CSystem* system) {
    CGuardLock guard(m_lock);
    UnqueueLocked(system);
    std::erase_if(m_systems, [system](const SystemPtr& entry) { return entry.get() == system; });
}

void CSystemRoster::ReplaceSystems(std::vector<SystemPtr> systems) {
    std::erase(systems, nullptr);
    CGuardLock guard(m_lock);
    m_dueQueue.clear();
    m_systems = std::move(systems);
}

void CSystemRoster::Begin() {
    const int count = GetSystemCount();
    if (m_context.gates) m_context.gates->SetSystemCount(count);
    const int target = PollThreadTarget(count);
    while (GetPollThreadCount() < target) AddPollThread();
    m_lastBatchLookup = platform::GetTickCount();
    StartBatchLookup();
}

void CSystemRoster::RunScheduledWork() {
    if (platform::TicksSince(m_lastBatchLookup) > kBatchLookupMs) {
        m_lastBatchLookup = platform::GetTickCount();
        StartBatchLookup();
    }
    if (platform::TicksSince(m_lastDueCheck) > kDueCheckMs) {
        m_lastDueCheck = platform::GetTickCount();
        QueueDueSystems();
    }
}

void CSystemRoster::AddPollThread() {
    if (m_stopping.load()) return;
    ++m_pollThreadCount;
    if (m_threadMode == RosterThreads::kRun) m_threads.push_back(std::make_unique<CPollThread>(*this));
}

int CSystemRoster::GetPollThreadCount() const { return m_pollThreadCount; }

void CSystemRoster::StopPollThreads() {
    // First, so that the lookup's end queues nothing after the queue is emptied.
    StopBatchLookup();
    {
        CGuardLock guard(m_lock);
        m_dueQueue.clear();
        m_stopping.store(true);
        for (const auto& thread : m_threads) thread->AskToStop();
    }
    // Without the lock: a thread may be waiting for it in TakeNextSystem.
    for (auto& thread : m_threads) thread->Stop();
    m_threads.clear();
    m_pollThreadCount = 0;
}

void CSystemRoster::QueueDueSystems() {
    CGuardLock guard(m_lock);
    for (const SystemPtr& system : m_systems) {
        if (system->IsDue() && std::find(m_dueQueue.begin(), m_dueQueue.end(), system) == m_dueQueue.end())
            m_dueQueue.push_back(system);
    }
}

SystemPtr CSystemRoster::TakeNextSystem() {
    CGuardLock guard(m_lock);
    for (auto entry = m_dueQueue.begin(); entry != m_dueQueue.end(); ++entry) {
        if (m_refreshing.count(entry->get())) continue;
        SystemPtr system = std::move(*entry);
        m_dueQueue.erase(entry);
        m_refreshing.insert(system.get());
        return system;
    }
    return nullptr;
}

void CSystemRoster::FinishRefresh(const CSystem* system) {
    CGuardLock guard(m_lock);
    m_refreshing.erase(system);
}

void CSystemRoster::RefreshSelected(const std::vector<const CSystem*>& rows) {
    CGuardLock guard(m_lock);
    for (const CSystem* row : rows) {
        SystemPtr system = FindLocked(row);
        if (!system) continue;
        UnqueueLocked(row);
        system->RequestLookup();
        m_dueQueue.push_front(std::move(system));
    }
}

void CSystemRoster::RefreshAll() {
    if (m_context.gates) m_context.gates->ResetConnectPacing();
    m_lastBatchLookup = platform::GetTickCount();
    for (const SystemPtr& system : GetSystems()) system->RequestRefresh();
    StartBatchLookup();
}

void CSystemRoster::StartBatchLookup() {
    if (m_threadMode == RosterThreads::kNone || m_stopping.load() || m_batchRunning.load()) return;
    // A finished lookup's thread is joined before the next one starts.
    if (m_batchThread.joinable()) m_batchThread.join();
    m_batchRunning.store(true);
    m_batchThread = std::thread([this] {
        RunBatchLookup();
        if (!m_batchStop.load()) QueueDueSystems();
        m_batchRunning.store(false);
    });
}

void CSystemRoster::StopBatchLookup() {
    m_batchStop.store(true);
    if (m_batchThread.joinable()) m_batchThread.join();
    m_batchStop.store(false);
}

void CSystemRoster::RunBatchLookup() {
    std::string host;
    uint16_t port = 0;
    GetDiscoveryServer(host, port);
    uint8_t address[4] = {};
    if (!IsDottedQuad(host) ||
        !ParseDiscoveryText(host, "", &address[0], &address[1], &address[2], &address[3], nullptr))
        return;
    std::vector<SystemPtr> collected;
    int total = 0;
    {
        CGuardLock guard(m_lock);
        total = static_cast<int>(m_systems.size());
        for (const SystemPtr& system : m_systems) {
            if (system->NeedsLookup()) collected.push_back(system);
        }
    }
    if (!collected.empty()) {
        std::vector<std::string> names;
        for (const SystemPtr& system : collected) names.push_back(system->GetAdapterName());
        CStopStatus status(&m_batchStop);
        CDiscoveryClient client(address, port, &status);
        std::vector<LookupResult> results;
        if (client.IsConnected() && client.LookupMany(names, results, &status)) {
            CGuardLock guard(m_lock);
            for (size_t i = 0; i < collected.size(); ++i) {
                // A system deleted while the service answered is left alone.
                if (!FindLocked(collected[i].get())) continue;
                const auto match = std::find_if(results.begin(), results.end(),
                                                [&](const LookupResult& result) { return result.name == names[i]; });
                collected[i]->ApplyBatchResult(match == results.end() ? nullptr : &*match);
            }
        }
    }
    SetRefreshInterval(RefreshIntervalFor(total));
}

std::vector<SystemPtr> CSystemRoster::GetDueQueue() const {
    CGuardLock guard(m_lock);
    return {m_dueQueue.begin(), m_dueQueue.end()};
}

SystemPtr CSystemRoster::FindLocked(const CSystem* system) const {
    const auto found = std::find_if(m_systems.begin(), m_systems.end(),
                                    [system](const SystemPtr& entry) { return entry.get() == system; });
    return found == m_systems.end() ? nullptr : *found;
}

void CSystemRoster::UnqueueLocked(const CSystem* system) {
    std::erase_if(m_dueQueue, [system](const SystemPtr& entry) { return entry.get() == system; });
}
