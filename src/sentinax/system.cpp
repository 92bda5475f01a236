#include "sentinax/system.h"

#include <atomic>
#include <cctype>
#include <cstdio>

#include "platform/clock.h"
#include "platform/program.h"
#include "sentinax/statuscode.h"
#include "sentinax/systemstore.h"

namespace {

std::atomic<uint32_t> g_refreshInterval{600000};

constexpr uint32_t kLookupInterval = 240000;
// Adapters of major version 4 are never looked up by the batch.
constexpr int32_t kUnlookedVersion = 4;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

void SetRefreshInterval(uint32_t milliseconds) { g_refreshInterval.store(milliseconds); }
uint32_t GetRefreshInterval() { return g_refreshInterval.load(); }

CSystem::CSystem() { lastRefreshTick = lastLookupTick = freezeStartTick = platform::GetTickCount(); }

CSystemRecord CSystem::Snapshot() const {
    auto lock = Lock();
    return *this;
}

void CSystem::RequestRefresh() {
    auto lock = Lock();
    refreshRequested = 1;
}

void CSystem::RequestLookup() {
    auto lock = Lock();
    lookupRequested = 1;
}

bool CSystem::IsDue() {
    auto lock = Lock();
    const bool intervalPassed = platform::TicksSince(lastRefreshTick) > GetRefreshInterval();
    if (adapterName.empty() || !(intervalPassed || refreshRequested)) return false;
    lastRefreshTick = platform::GetTickCount();
    refreshRequested = 0;
    return true;
}

bool CSystem::NeedsLookup() {
    auto lock = Lock();
    if (!cachedAddress.empty() || adapterName.empty() || majorVersion == kUnlookedVersion) return false;
    if (platform::TicksSince(lastLookupTick) <= kLookupInterval && !refreshRequested && !lookupRequested) return false;
    lastLookupTick = platform::GetTickCount();
    return true;
}

void CSystem::ApplyBatchResult(const LookupResult* result) {
    auto lock = Lock();
    if (!result) {
        connectStatus = kStatusNotPosting;
    } else {
        if (result->address != cachedAddress) refreshRequested = 1;
        cachedAddress = result->address;
        cachedPort = result->port;
        if (!result->posting)
            connectStatus = kStatusNotPosting;
        else if (result->port == 0 || result->address.empty())
            connectStatus = kStatusRelayNotFound;
        else
            connectStatus = 0;
    }
    lastLookupTick = platform::GetTickCount();
}

void CSystem::SetEmailList(const std::vector<std::string>& list) {
    auto lock = Lock();
    emailList = list;
}

void CSystem::SetStatus(int32_t code) {
    auto lock = Lock();
    if (status != code) statusChanged = 1;
    status = code;
}

void CSystem::SetStatusText(const std::string& text) {
    auto lock = Lock();
    if (statusText != text) statusChanged = 1;
    statusText = text;
}

std::string AdapterSerialOf(const std::string& adapterName) {
    static constexpr char kBrand[] = "BRENVIK";
    constexpr size_t kBrandLength = sizeof(kBrand) - 1;
    if (adapterName.size() < kBrandLength) return adapterName;
    for (size_t i = 0; i < kBrandLength; ++i) {
        if (std::toupper(static_cast<unsigned char>(adapterName[i])) != kBrand[i]) return adapterName;
    }
    // The serial starts after the brand and one separator.
    size_t start = kBrandLength + 1;
    while (start < adapterName.size() && (adapterName[start] == ':' || IsBlank(adapterName[start]))) ++start;
    return start < adapterName.size() ? adapterName.substr(start) : std::string();
}

std::string CSystem::GetAdapterSerial() const { return AdapterSerialOf(GetAdapterName()); }

std::string CSystem::GetAdapterName() const {
    auto lock = Lock();
    return adapterName;
}

void CSystem::ClearAlarms() {
    auto lock = Lock();
    alarms.clear();
    warnings.clear();
}

const int32_t* CSystem::NotifyFlag(int32_t type) const {
    switch (type) {
    case kAlarmSystem: return &notifySystemErrors;
    case kAlarmChlorinator: return &notifyChlorinator;
    case kAlarmFreeze: return &notifyFreeze;
    case kAlarmChemistry: return &notifyChemistry;
    case kAlarmHeatPump: return &notifyHeatPump;
    default: break;
    }
    return type >= kAlarmFirstPump && type <= kAlarmLastPump ? &notifyPumpErrors : nullptr;
}

void CSystem::AddAlarm(int32_t type, int32_t value) {
    auto lock = Lock();
    const int32_t* flag = NotifyFlag(type);
    (flag && *flag ? alarms : warnings).emplace_back(type, value);
}

std::vector<CSystemError> CSystem::CopyAlarms() const {
    auto lock = Lock();
    return alarms;
}

std::vector<CSystemError> CSystem::CopyWarnings() const {
    auto lock = Lock();
    return warnings;
}

// --- Stored forms ---

int CSystem::LoadSettings(CZVFile& file, int32_t fileVersion) {
    auto lock = Lock();
    emailList.clear();
    return ReadSettingsRecord(file, fileVersion, *this);
}

int CSystem::SaveSettings(CZVFile& file) {
    auto lock = Lock();
    return WriteSettingsRecord(file, *this);
}

int CSystem::LoadHistoryRecord(CZVFile& file) {
    auto lock = Lock();
    return ReadHistoryRecord(file, *this);
}

int CSystem::SaveHistoryRecord(CZVFile& file, int stampNow) {
    auto lock = Lock();
    return WriteHistoryRecord(file, *this, stampNow ? CZVTime() : reportTime);
}

std::string CSystem::GetHistoryFileName(int temporary) const {
    return HistoryFilePath(GetAdapterName(), temporary != 0);
}

int CSystem::AppendHistory() {
    auto historyLock = LockHistory();
    return AddHistoryRecord(GetAdapterName(), Snapshot(), m_historyFile);
}
