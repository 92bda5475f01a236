#pragma once
// The stored forms of a system's record: its settings record in the
// configuration file, and its history file of one record per refresh. The
// functions read and write a record the caller holds; CSystem guards its
// own around them.
#include <cstdint>
#include <string>

#include "core/zvfile.h"
#include "core/zvtime.h"
#include "sentinax/systemrecord.h"

// The history record the writer produces.
inline constexpr int32_t kHistoryRecordVersion = 348;
// History older than this many whole days is dropped when the file is rewritten.
inline constexpr int64_t kHistoryDays = 90;

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
// Rewrites the history without records of kHistoryDays or more, then adds
// `current` stamped now. On failure the history is left as it was.
int RewriteHistory(const std::string& adapterName, const CSystemRecord& current);
