#include "sentinax/system.h"

#include <atomic>
#include <cctype>
#include <cstdio>
#include <variant>

#include "platform/clock.h"
#include "platform/program.h"
#include "sentinax/replacefile.h"
#include "sentinax/statuscode.h"

namespace {

std::atomic<uint32_t> g_refreshInterval{600000};

constexpr uint32_t kLookupInterval = 240000;
// Adapters of major version 4 are never looked up by the batch.
constexpr int32_t kUnlookedVersion = 4;
// History entries became type and value pairs in this record version.
constexpr int32_t kHistoryPairsVersion = 135;
constexpr int32_t kStringCountSize = 4;
constexpr int32_t kEntryPairSize = 8;

// One stored field: which member, in which form, and the first file or record
// version that holds it.
using FieldRef = std::variant<int32_t CSystem::*, uint32_t CSystem::*, std::string CSystem::*,
                              std::vector<std::string> CSystem::*>;

struct StoredField {
    FieldRef field;
    int32_t since;
};

const StoredField kSettingsFields[] = {
    {&CSystem::name, 0},
    {&CSystem::adapterName, 0},
    {&CSystem::password, 0},
    {&CSystem::notes, 131},
    {&CSystem::emailList, 132},
    {&CSystem::notifySystemErrors, 133},
    {&CSystem::notifyPumpErrors, 133},
    {&CSystem::notifyChlorinator, 133},
    {&CSystem::notifyFreeze, 133},
    {&CSystem::address, 141},
    {&CSystem::city, 141},
    {&CSystem::reservedText, 141},
    {&CSystem::zip, 141},
    {&CSystem::phone, 141},
    {&CSystem::includeDefaultEmail, 144},
    {&CSystem::notifyChemistry, 345},
    {&CSystem::notifyHeatPump, 345},
    {&CSystem::adapterVersion, 345},
    {&CSystem::majorVersion, 345},
};

// The history record after its alarm entries.
const StoredField kHistoryFields[] = {
    {&CSystem::equipmentFlags, 0},
    {&CSystem::spaSideRemote, 0},
    {&CSystem::poolPump, 0},
    {&CSystem::poolSetPoint, 0},
    {&CSystem::poolTemperature, 0},
    {&CSystem::poolHeatMode, 0},
    {&CSystem::poolHeatModeText, 0},
    {&CSystem::poolChlorineOutput, 0},
    {&CSystem::spaPump, 0},
    {&CSystem::spaSetPoint, 0},
    {&CSystem::spaTemperature, 0},
    {&CSystem::spaHeatMode, 0},
    {&CSystem::spaHeatModeText, 0},
    {&CSystem::spaChlorineOutput, 0},
    {&CSystem::chlorinatorPresent, 0},
    {&CSystem::chlorinatorStatus, 0},
    {&CSystem::chlorinatorErrors, 0},
    {&CSystem::saltLevel, 0},
    {&CSystem::lightsTotal, 0},
    {&CSystem::lightsOn, 0},
    {&CSystem::status, 0},
    {&CSystem::poolHeatStatus, 141},
    {&CSystem::spaHeatStatus, 141},
    {&CSystem::phValue, 341},
    {&CSystem::orpValue, 341},
    {&CSystem::saturationIndex, 341},
    {&CSystem::chemistryValue4, 341},
    {&CSystem::acidTankLevel, 341},
    {&CSystem::chlorineTankLevel, 341},
};

int64_t Remaining(CZVFile& file) {
    const int64_t position = file.GetPosition();
    return position < 0 ? 0 : file.GetLength() - position;
}

// A stored count of items of at least `itemSize` bytes each, refused when
// what is left of the file cannot hold them.
int ReadCount(CZVFile& file, int64_t itemSize, uint32_t& count) {
    int32_t value = 0;
    if (!file.ReadInt(value))
        return 0;
    count = static_cast<uint32_t>(value);
    return int64_t{count} * itemSize <= Remaining(file);
}

int ReadStringList(CZVFile& file, std::vector<std::string>& list) {
    list.clear();
    uint32_t count = 0;
    if (!ReadCount(file, kStringCountSize, count))
        return 0;
    for (uint32_t i = 0; i < count; ++i) {
        std::string text;
        if (!file.ReadString(&text))
            return 0;
        list.push_back(std::move(text));
    }
    return 1;
}

int WriteStringList(CZVFile& file, const std::vector<std::string>& list) {
    if (!file.WriteInt(static_cast<int32_t>(list.size())))
        return 0;
    for (const std::string& text : list) {
        if (!file.WriteString(text))
            return 0;
    }
    return 1;
}

struct FieldReader {
    CSystem& system;
    CZVFile& file;
    int operator()(int32_t CSystem::*field) { return file.ReadInt(system.*field); }
    int operator()(uint32_t CSystem::*field) {
        int32_t value = 0;
        if (!file.ReadInt(value))
            return 0;
        system.*field = static_cast<uint32_t>(value);
        return 1;
    }
    int operator()(std::string CSystem::*field) { return file.ReadString(&(system.*field)); }
    int operator()(std::vector<std::string> CSystem::*field) {
        return ReadStringList(file, system.*field);
    }
};

struct FieldWriter {
    const CSystem& system;
    CZVFile& file;
    int operator()(int32_t CSystem::*field) { return file.WriteInt(system.*field); }
    int operator()(uint32_t CSystem::*field) {
        return file.WriteInt(static_cast<int32_t>(system.*field));
    }
    int operator()(std::string CSystem::*field) { return file.WriteString(system.*field); }
    int operator()(std::vector<std::string> CSystem::*field) {
        return WriteStringList(file, system.*field);
    }
};

template <size_t N>
int ReadFields(CSystem& system, CZVFile& file, const StoredField (&fields)[N], int32_t version) {
    for (const StoredField& stored : fields) {
        if (version >= stored.since && !std::visit(FieldReader{system, file}, stored.field))
            return 0;
    }
    return 1;
}

template <size_t N>
int WriteFields(const CSystem& system, CZVFile& file, const StoredField (&fields)[N]) {
    for (const StoredField& stored : fields) {
        if (!std::visit(FieldWriter{system, file}, stored.field))
            return 0;
    }
    return 1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A stamp that is a real date and less than the kept number of days old. A
// stamp in the future is kept; one that is not a date is damage and goes.
bool IsRecent(const CZVTime& stamp, const CZVTime& now) {
    platform::LocalTime record;
    stamp.GetSystemTime(record);
    uint64_t value = 0;
    if (!platform::LocalTimeToValue(record, value))
        return false;
    const CZVTimeSpan age = now - stamp;
    return age.IsNegative() || age.GetTotalDays() < kHistoryDays;
}

}  // namespace

void SetRefreshInterval(uint32_t milliseconds) { g_refreshInterval.store(milliseconds); }
uint32_t GetRefreshInterval() { return g_refreshInterval.load(); }

CSystem::CSystem()
    : lastRefreshTick(platform::GetTickCount()),
      lastLookupTick(lastRefreshTick),
      freezeStartTick(lastRefreshTick) {}

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
    if (adapterName.empty() || !(intervalPassed || refreshRequested))
        return false;
    lastRefreshTick = platform::GetTickCount();
    refreshRequested = 0;
    return true;
}

bool CSystem::NeedsLookup() {
    auto lock = Lock();
    if (!cachedAddress.empty() || adapterName.empty() || majorVersion == kUnlookedVersion)
        return false;
    if (platform::TicksSince(lastLookupTick) <= kLookupInterval && !refreshRequested &&
        !lookupRequested)
        return false;
    lastLookupTick = platform::GetTickCount();
    return true;
}

void CSystem::ApplyBatchResult(const LookupResult* result) {
    auto lock = Lock();
    if (!result) {
        connectStatus = kStatusNotPosting;
    } else {
        if (result->address != cachedAddress)
            refreshRequested = 1;
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
    if (status != code)
        statusChanged = 1;
    status = code;
}

void CSystem::SetStatusText(const std::string& text) {
    auto lock = Lock();
    if (statusText != text)
        statusChanged = 1;
    statusText = text;
}

std::string AdapterSerialOf(const std::string& adapterName) {
    static constexpr char kBrand[] = "BRENVIK";
    constexpr size_t kBrandLength = sizeof(kBrand) - 1;
    if (adapterName.size() < kBrandLength)
        return adapterName;
    for (size_t i = 0; i < kBrandLength; ++i) {
        if (std::toupper(static_cast<unsigned char>(adapterName[i])) != kBrand[i])
            return adapterName;
    }
    // The serial starts after the brand and one separator.
    size_t start = kBrandLength + 1;
    while (start < adapterName.size() && (adapterName[start] == ':' || IsBlank(adapterName[start])))
        ++start;
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

// --- Settings record ---

int CSystem::LoadSettings(CZVFile& file, int32_t fileVersion) {
    auto lock = Lock();
    emailList.clear();
    return ReadFields(*this, file, kSettingsFields, fileVersion);
}

int CSystem::SaveSettings(CZVFile& file) {
    auto lock = Lock();
    return WriteFields(*this, file, kSettingsFields);
}

// --- History record ---

int CSystem::LoadHistoryRecord(CZVFile& file) {
    auto lock = Lock();
    alarms.clear();
    warnings.clear();
    int32_t version = 0;
    return file.ReadInt(version) && ReadHistoryFields(file, version);
}

int CSystem::ReadHistoryFields(CZVFile& file, int32_t version) {
    if (!file.ReadTime(&reportTime) || !file.ReadInt(airTemperature))
        return 0;
    const bool pairs = version >= kHistoryPairsVersion;
    uint32_t count = 0;
    if (!ReadCount(file, pairs ? kEntryPairSize : kStringCountSize, count))
        return 0;
    for (uint32_t i = 0; i < count; ++i) {
        int32_t type = 0;
        int32_t value = 0;
        if (!pairs) {
            // Entries of old records were texts; they are not kept.
            if (!file.ReadString(nullptr))
                return 0;
            continue;
        }
        if (!file.ReadInt(type) || !file.ReadInt(value))
            return 0;
        alarms.emplace_back(type, value);
    }
    return ReadFields(*this, file, kHistoryFields, version);
}

int CSystem::SaveHistoryRecord(CZVFile& file, int stampNow) {
    auto lock = Lock();
    return WriteHistoryFields(file, stampNow ? CZVTime() : reportTime);
}

int CSystem::WriteHistoryFields(CZVFile& file, const CZVTime& stamp) const {
    if (!file.WriteInt(kHistoryRecordVersion) || !file.WriteTime(stamp) ||
        !file.WriteInt(airTemperature) ||
        !file.WriteInt(static_cast<int32_t>(alarms.size() + warnings.size())))
        return 0;
    for (const auto* list : {&alarms, &warnings}) {
        for (const CSystemError& entry : *list) {
            if (!file.WriteInt(entry.alarmType) || !file.WriteInt(entry.alarmValue))
                return 0;
        }
    }
    return WriteFields(*this, file, kHistoryFields);
}

// --- History file ---

std::string HistoryFileBase(const std::string& adapterName) {
    std::string base = adapterName;
    for (char& c : base) {
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return base;
}

std::string CSystem::GetHistoryFileName(int temporary) const {
    const std::string folder = platform::GetProgramFolder();
    if (folder.empty())
        return std::string();
    return folder + "/" + HistoryFileBase(GetAdapterName()) + (temporary ? ".TMP" : ".LOG");
}

int CSystem::AppendHistory() {
    const std::string logName = GetHistoryFileName(0);
    if (logName.empty())
        return 0;
    auto historyLock = LockHistory();
    // The new history is written whole beside the old one, which stays in
    // place for every reader until the new one takes its name.
    CZVFile old(logName, ZVVariant::Monitor);
    if (old.Exists() && !old.Open(CZVFile::kRead))
        return 0;
    return WriteFileReplacing(logName, GetHistoryFileName(1), false, [&](CZVFile& log) {
        const CZVTime now;
        while (old.IsOpen()) {
            CSystem record;
            if (!record.LoadHistoryRecord(old))
                break;
            if (IsRecent(record.reportTime, now) && !record.SaveHistoryRecord(log, 0))
                return false;
        }
        return SaveHistoryRecord(log, 1) != 0;
    });
}
