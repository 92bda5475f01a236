#include "sentinax/systemstore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <variant>

#include "platform/fileio.h"
#include "platform/program.h"
#include "sentinax/replacefile.h"

namespace {

// History entries became type and value pairs in this record version.
constexpr int32_t kHistoryPairsVersion = 135;
constexpr int32_t kStringCountSize = 4;
constexpr int32_t kEntryPairSize = 8;

// One stored field: which member, in which form, and the first file or record
// version that holds it.
using FieldRef = std::variant<int32_t CSystemRecord::*, uint32_t CSystemRecord::*, std::string CSystemRecord::*,
                              std::vector<std::string> CSystemRecord::*>;

struct StoredField {
    FieldRef field;
    int32_t since;
};

const StoredField kSettingsFields[] = {
    {&CSystemRecord::name, 0},
    {&CSystemRecord::adapterName, 0},
    {&CSystemRecord::password, 0},
    {&CSystemRecord::notes, 131},
    {&CSystemRecord::emailList, 132},
    {&CSystemRecord::notifySystemErrors, 133},
    {&CSystemRecord::notifyPumpErrors, 133},
    {&CSystemRecord::notifyChlorinator, 133},
    {&CSystemRecord::notifyFreeze, 133},
    {&CSystemRecord::address, 141},
    {&CSystemRecord::city, 141},
    {&CSystemRecord::reservedText, 141},
    {&CSystemRecord::zip, 141},
    {&CSystemRecord::phone, 141},
    {&CSystemRecord::includeDefaultEmail, 144},
    {&CSystemRecord::notifyChemistry, 345},
    {&CSystemRecord::notifyHeatPump, 345},
    {&CSystemRecord::adapterVersion, 345},
    {&CSystemRecord::majorVersion, 345},
};

// The history record after its alarm entries.
const StoredField kHistoryFields[] = {
    {&CSystemRecord::equipmentFlags, 0},
    {&CSystemRecord::spaSideRemote, 0},
    {&CSystemRecord::poolPump, 0},
    {&CSystemRecord::poolSetPoint, 0},
    {&CSystemRecord::poolTemperature, 0},
    {&CSystemRecord::poolHeatMode, 0},
    {&CSystemRecord::poolHeatModeText, 0},
    {&CSystemRecord::poolChlorineOutput, 0},
    {&CSystemRecord::spaPump, 0},
    {&CSystemRecord::spaSetPoint, 0},
    {&CSystemRecord::spaTemperature, 0},
    {&CSystemRecord::spaHeatMode, 0},
    {&CSystemRecord::spaHeatModeText, 0},
    {&CSystemRecord::spaChlorineOutput, 0},
    {&CSystemRecord::chlorinatorPresent, 0},
    {&CSystemRecord::chlorinatorStatus, 0},
    {&CSystemRecord::chlorinatorErrors, 0},
    {&CSystemRecord::saltLevel, 0},
    {&CSystemRecord::lightsTotal, 0},
    {&CSystemRecord::lightsOn, 0},
    {&CSystemRecord::status, 0},
    {&CSystemRecord::poolHeatStatus, 141},
    {&CSystemRecord::spaHeatStatus, 141},
    {&CSystemRecord::phValue, 341},
    {&CSystemRecord::orpValue, 341},
    {&CSystemRecord::saturationIndex, 341},
    {&CSystemRecord::chemistryValue4, 341},
    {&CSystemRecord::acidTankLevel, 341},
    {&CSystemRecord::chlorineTankLevel, 341},
};

int64_t Remaining(CZVFile& file) {
    const int64_t position = file.GetPosition();
    return position < 0 ? 0 : file.GetLength() - position;
}

// A stored count of items of at least `itemSize` bytes each, refused when
// what is left of the file cannot hold them.
int ReadCount(CZVFile& file, int64_t itemSize, uint32_t& count) {
    int32_t value = 0;
    if (!file.ReadInt(value)) return 0;
    count = static_cast<uint32_t>(value);
    return int64_t{count} * itemSize <= Remaining(file);
}

int ReadStringList(CZVFile& file, std::vector<std::string>& list) {
    list.clear();
    uint32_t count = 0;
    if (!ReadCount(file, kStringCountSize, count)) return 0;
    for (uint32_t i = 0; i < count; ++i) {
        std::string text;
        if (!file.ReadString(&text)) return 0;
        list.push_back(std::move(text));
    }
    return 1;
}

int WriteStringList(CZVFile& file, const std::vector<std::string>& list) {
    if (!file.WriteInt(static_cast<int32_t>(list.size()))) return 0;
    for (const std::string& text : list) {
        if (!file.WriteString(text)) return 0;
    }
    return 1;
}

struct FieldReader {
    CSystemRecord& system;
    CZVFile& file;
    int operator()(int32_t CSystemRecord::*field) { return file.ReadInt(system.*field); }
    int operator()(uint32_t CSystemRecord::*field) {
        int32_t value = 0;
        if (!file.ReadInt(value)) return 0;
        system.*field = static_cast<uint32_t>(value);
        return 1;
    }
    int operator()(std::string CSystemRecord::*field) { return file.ReadString(&(system.*field)); }
    int operator()(std::vector<std::string> CSystemRecord::*field) { return ReadStringList(file, system.*field); }
};

struct FieldWriter {
    const CSystemRecord& system;
    CZVFile& file;
    int operator()(int32_t CSystemRecord::*field) { return file.WriteInt(system.*field); }
    int operator()(uint32_t CSystemRecord::*field) { return file.WriteInt(static_cast<int32_t>(system.*field)); }
    int operator()(std::string CSystemRecord::*field) { return file.WriteString(system.*field); }
    int operator()(std::vector<std::string> CSystemRecord::*field) { return WriteStringList(file, system.*field); }
};

template <size_t N>
int ReadFields(CSystemRecord& system, CZVFile& file, const StoredField (&fields)[N], int32_t version) {
    for (const StoredField& stored : fields) {
        if (version >= stored.since && !std::visit(FieldReader{system, file}, stored.field)) return 0;
    }
    return 1;
}

template <size_t N>
int WriteFields(const CSystemRecord& system, CZVFile& file, const StoredField (&fields)[N]) {
    for (const StoredField& stored : fields) {
        if (!std::visit(FieldWriter{system, file}, stored.field)) return 0;
    }
    return 1;
}

// A stamp that is a real date and less than `days` old. A stamp in the
// future is kept; one that is not a date is damage and goes.
bool IsYoungerThan(const CZVTime& stamp, const CZVTime& now, int64_t days) {
    platform::LocalTime record;
    stamp.GetSystemTime(record);
    uint64_t value = 0;
    if (!platform::LocalTimeToValue(record, value)) return false;
    const CZVTimeSpan age = now - stamp;
    return age.IsNegative() || age.GetTotalDays() < days;
}

}  // namespace

// --- Settings record ---

int ReadSettingsRecord(CZVFile& file, int32_t fileVersion, CSystemRecord& record) {
    return ReadFields(record, file, kSettingsFields, fileVersion);
}

int WriteSettingsRecord(CZVFile& file, const CSystemRecord& record) {
    return WriteFields(record, file, kSettingsFields);
}

// --- History record ---

int ReadHistoryRecord(CZVFile& file, CSystemRecord& record) {
    record.alarms.clear();
    record.warnings.clear();
    int32_t version = 0;
    if (!file.ReadInt(version) || !file.ReadTime(&record.reportTime) || !file.ReadInt(record.airTemperature)) return 0;
    const bool pairs = version >= kHistoryPairsVersion;
    uint32_t count = 0;
    if (!ReadCount(file, pairs ? kEntryPairSize : kStringCountSize, count)) return 0;
    for (uint32_t i = 0; i < count; ++i) {
        int32_t type = 0;
        int32_t value = 0;
        if (!pairs) {
            // Entries of old records were texts; they are not kept.
            if (!file.ReadString(nullptr)) return 0;
            continue;
        }
        if (!file.ReadInt(type) || !file.ReadInt(value)) return 0;
        record.alarms.emplace_back(type, value);
    }
    return ReadFields(record, file, kHistoryFields, version);
}

int WriteHistoryRecord(CZVFile& file, const CSystemRecord& record, const CZVTime& stamp) {
    if (!file.WriteInt(kHistoryRecordVersion) || !file.WriteTime(stamp) || !file.WriteInt(record.airTemperature) ||
        !file.WriteInt(static_cast<int32_t>(record.alarms.size() + record.warnings.size())))
        return 0;
    for (const auto* list : {&record.alarms, &record.warnings}) {
        for (const CSystemError& entry : *list) {
            if (!file.WriteInt(entry.alarmType) || !file.WriteInt(entry.alarmValue)) return 0;
        }
    }
    return WriteFields(record, file, kHistoryFields);
}

// --- History file ---

std::string HistoryFileBase(const std::string& adapterName) {
    std::string base = adapterName;
    for (char& c : base) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return base;
}

namespace {

std::string HistoryFilePathIn(const std::string& folder, const std::string& adapterName, bool temporary) {
    if (folder.empty()) return std::string();
    return folder + "/" + HistoryFileBase(adapterName) + (temporary ? ".TMP" : ".LOG");
}

}  // namespace

std::string HistoryFilePath(const std::string& adapterName, bool temporary) {
    return HistoryFilePathIn(platform::GetProgramFolder(), adapterName, temporary);
}

namespace {

// Notes the file as the last write left it.
void Remember(const struct stat& status, const CZVTime& oldest, HistoryFileState& state) {
    state.known = true;
    state.device = status.st_dev;
    state.inode = status.st_ino;
    state.size = status.st_size;
    state.changed = status.st_ctim;
    state.oldest = oldest;
}

// True when the open file is the one the last write left, of the size and
// last change it left: nobody else has replaced, cut or added to it since.
bool IsAsLeft(int fd, const HistoryFileState& state) {
    struct stat status {};
    return state.known && ::fstat(fd, &status) == 0 && status.st_dev == state.device && status.st_ino == state.inode &&
           status.st_size == state.size && status.st_ctim.tv_sec == state.changed.tv_sec &&
           status.st_ctim.tv_nsec == state.changed.tv_nsec;
}

enum class Appended { kDone, kFailed, kNeedsRewrite };

// Adds the record at the end of the file in one write; a write that fails
// half-way is cut off again.
Appended AppendRecord(const std::string& logName, const CSystemRecord& current, const CZVTime& now,
                      HistoryFileState& state) {
    if (!state.known || !IsYoungerThan(state.oldest, now, kHistoryDays + kHistoryGraceDays))
        return Appended::kNeedsRewrite;
    const int fd = ::open(logName.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return Appended::kNeedsRewrite;
    if (!IsAsLeft(fd, state)) {
        ::close(fd);
        return Appended::kNeedsRewrite;
    }
    CMemoryFile record(ZVVariant::Monitor);
    bool written = WriteHistoryRecord(record, current, now) &&
                   platform::WriteFully(fd, record.GetData(), static_cast<size_t>(record.GetDataLength()));
    // A record cut short is taken off again; should even that fail, the
    // rewrite that follows a failure drops it.
    const bool whole = written || ::ftruncate(fd, state.size) == 0;
    struct stat status {};
    const bool noted = whole && ::fstat(fd, &status) == 0;
    written = ::close(fd) == 0 && written;
    // After a failure the next record rewrites the history.
    state.known = false;
    if (written && noted) Remember(status, std::min(state.oldest, now), state);
    return written ? Appended::kDone : Appended::kFailed;
}

// Writes the history without records of kHistoryDays or more, then `current`
// stamped now, beside the old file, which stays in place for every reader
// until the new one takes its name.
int RewriteHistory(const std::string& logName, const std::string& tmpName, const CSystemRecord& current,
                   const CZVTime& now, HistoryFileState& state) {
    state.known = false;
    CZVFile old(logName, ZVVariant::Monitor);
    if (old.Exists() && !old.Open(CZVFile::kRead)) return 0;
    CZVTime oldest = now;
    const bool written = WriteFileReplacing(logName, tmpName, false, [&](CZVFile& log) {
        while (old.IsOpen()) {
            CSystemRecord record;
            if (!ReadHistoryRecord(old, record)) break;
            if (!IsYoungerThan(record.reportTime, now, kHistoryDays)) continue;
            if (!WriteHistoryRecord(log, record, record.reportTime)) return false;
            oldest = std::min(oldest, record.reportTime);
        }
        return WriteHistoryRecord(log, current, now) != 0;
    });
    struct stat status {};
    if (written && ::stat(logName.c_str(), &status) == 0) Remember(status, oldest, state);
    return written;
}

}  // namespace

int AddHistoryRecord(const std::string& adapterName, const CSystemRecord& current, HistoryFileState& state) {
    // The folder is looked up (and made when missing) once for both names.
    const std::string folder = platform::GetProgramFolder();
    const std::string logName = HistoryFilePathIn(folder, adapterName, false);
    if (logName.empty()) return 0;
    const CZVTime now;
    switch (AppendRecord(logName, current, now, state)) {
    case Appended::kDone: return 1;
    case Appended::kFailed: return 0;
    case Appended::kNeedsRewrite: break;
    }
    return RewriteHistory(logName, HistoryFilePathIn(folder, adapterName, true), current, now, state);
}
