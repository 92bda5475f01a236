#pragma once
// "CONFIG.DAT" in the program folder: the main window's place and column
// widths, the customer systems' settings records, the outgoing mail account
// and the backup reminder switch. Written whole under a temporary name and
// renamed into place, so that a failed save leaves the last good file.
#include <cstdint>
#include <string>
#include <vector>

#include "sentinax/systemroster.h"

class CEmailServer;

inline constexpr char kConfigFileName[] = "CONFIG.DAT";
// The version this program writes.
inline constexpr int32_t kConfigVersion = 348;
// A file that could not be read whole is copied here before the program
// writes its configuration again, so that what it held is not lost.
inline constexpr char kDamagedConfigSuffix[] = ".BAD";

struct CMonitorConfig {
    // Read from the file (version 130 on) or set by the dialog before saving.
    bool placementRead = false;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    // In the list's column order. The dialog applies them only when the list
    // has exactly as many columns and UseDefaultColumnWidths() is false.
    std::vector<int32_t> columnWidths;
    std::vector<SystemPtr> systems;
    // 1: remind the user before a backup.
    int32_t backupReminder = 1;

    // The window opens maximised: no placement in the file, or one no screen
    // shows (minimised when it was saved, or damaged).
    bool OpenMaximised() const { return !placementRead || UseDefaultColumnWidths(); }
    bool UseDefaultColumnWidths() const;
};

// The file in the program folder; empty when the folder cannot be made.
std::string GetConfigPath();

// Reads the file into `config` (its systems replaced; the systems read
// before a damaged record stay) and the mail account into `email`. False
// when the file is missing or could not be read whole; a file that broke
// off is then also copied aside (kDamagedConfigSuffix).
bool LoadConfig(const std::string& path, CMonitorConfig& config, CEmailServer& email);
// Writes version 348. False, with the old file untouched, on any failure.
bool SaveConfig(const std::string& path, const CMonitorConfig& config, const CEmailServer& email);
