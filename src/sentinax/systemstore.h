#pragma once
// The stored forms of a system's record: its settings record in the
// configuration file, and its history file of one record per refresh. The
// functions read and write a record the caller holds; CSystem guards its
// own around them.
#include <sys/types.h>

#include <ctime>

#include <cstdint>
#include <string>

#include "core/zvfile.h"
#include "core/zvtime.h"
#include "sentinax/systemrecord.h"

// The history record the writer produces.
inline constexpr int32_t kHistoryRecordVersion = 348;
// History older than this many whole days is dropped when the file is rewritten.
inline constexpr int64_t kHistoryDays = 90;
// Between rewrites a history may keep records up to this many days longer,
// so that a full history is rewritten about once a day, not at every refresh.
inline constexpr int64_t kHistoryGraceDays = 1;

// The settings record. The reader takes the fields the file's version holds;
// both stop at the first failed read or write.
int ReadSettingsRecord(CZVFile& file, int32_t fileVersion, CSystemRecord& record);
int WriteSettingsRecord(CZVFile& file, const CSystemRecord& record);

// One history record, read in the layout of its own version (the alarm
// lists are replaced). A failed read leaves the record partly filled and
// answers 0.
int ReadHistoryRecord(CZVFile& file, CSystemRecord& record);
int WriteHistoryRecord(CZVFile& file, const CSystemRecord& record, const CZVTime& stamp);

// The base of a system's history file name: the adapter name with every
// character but letters and digits made '_'. Two systems whose bases are
// equal would share one history file.
std::string HistoryFileBase(const std::string& adapterName);
// The history file in the program folder ("LOG", or "TMP" while it is
// rewritten); empty when the folder cannot be made.
std::string HistoryFilePath(const std::string& adapterName, bool temporary);
// What this program's last write left in a history file: the file itself,
// its size and the time of its last change, and the stamp of its oldest
// record. Unknown until the program has rewritten the file once.
struct HistoryFileState {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
    int64_t size = 0;
    timespec changed{};
    CZVTime oldest;
};

// Adds `current`, stamped now, to the history. While the file is as `state`
// says the last write left it and no record is kHistoryDays plus the grace
// days old, the record is appended: the records already there are never
// touched, so no failure can lose them. Otherwise the history is rewritten
// without records of kHistoryDays or more and replaces the old file only
// once it is whole on disk. On failure the history is left as it was.
int AddHistoryRecord(const std::string& adapterName, const CSystemRecord& current, HistoryFileState& state);
