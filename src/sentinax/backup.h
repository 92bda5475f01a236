#pragma once
// The backup archive: "CONFIG.DAT" and, when asked, the history files of the
// program folder packed into one file. Layout: u32 version (348), u32 entry
// count, each entry's name (CZVFile string) and u32 size, then the files'
// bytes in entry order. The dialogs around these (reminder, options, file
// choice, messages) belong to the main dialog.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int32_t kArchiveVersion = 348;
inline constexpr char kBackupSuccessText[] = "System Backup Successful";
inline constexpr char kRestoreSuccessText[] = "System Restore Successful";
// Shown for a failed backup and a failed restore alike.
inline constexpr char kBackupErrorText[] = "ERROR: An error occurred during the backup";
inline constexpr char kRestoreWarningText[] =
    "WARNING: This operation will overwrite all existing settings and history\nContinue?";

struct CArchiveEntry {
    std::string name;
    uint32_t size = 0;
};

// The plain files of the folder that a backup takes, by name: "CONFIG.DAT"
// in any case, and with `withHistory` every name ending in ".LOG" in any
// case. Hidden files are passed over. False when a file is too large for
// the archive (4 GiB or more) or the folder cannot be listed.
bool ListBackupFiles(const std::string& folder, bool withHistory, std::vector<CArchiveEntry>& entries);

// Writes the archive; an existing file of that name is replaced only by a
// complete archive. False on any failure, leaving no new file behind.
bool CreateBackup(const std::string& folder, const std::string& archivePath, bool withHistory);

// Unpacks the archive into the folder. Nothing is written unless the whole
// archive reads well: every entry a plain file name (no folder part, not
// hidden, no name twice) and every body whole. Only the configuration and
// the history (".LOG") files are restored; other entries are passed over.
// Each file is then replaced whole; the configuration file lands as
// "CONFIG.DAT" whatever its case in the archive. Files the archive does not
// hold stay. The caller holds the history writes of its systems while it
// restores, and reloads the configuration afterwards.
bool RestoreBackup(const std::string& archivePath, const std::string& folder);
