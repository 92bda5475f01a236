#include "sentinax/configfile.h"

#include <filesystem>

#include "platform/program.h"
#include "sentinax/emailserver.h"
#include "sentinax/replacefile.h"

namespace {

constexpr int32_t kPlacementVersion = 130;
constexpr int32_t kEmailVersion = 132;
constexpr int32_t kReminderVersion = 144;
// Placement no screen shows, such as the far-off place of a minimised window.
constexpr int32_t kLowestEdge = -50;

bool ReadPlacement(CZVFile& file, CMonitorConfig& config) {
    int32_t count = 0;
    if (!file.ReadInt(config.left) || !file.ReadInt(config.top) || !file.ReadInt(config.width) ||
        !file.ReadInt(config.height) || !file.ReadInt(count))
        return false;
    config.placementRead = true;
    // The count is bounded by the file: the first missing width ends it.
    for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
        int32_t width = 0;
        if (!file.ReadInt(width))
            return false;
        config.columnWidths.push_back(width);
    }
    return true;
}

bool ReadBody(CZVFile& file, CMonitorConfig& config, CEmailServer& email) {
    int32_t version = 0;
    if (!file.ReadInt(version))
        return false;
    if (version >= kPlacementVersion && !ReadPlacement(file, config))
        return false;
    int32_t count = 0;
    if (!file.ReadInt(count))
        return false;
    for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
        // A record takes bytes from the file, which bounds the count; one of
        // a version that holds no fields at all marks a damaged file.
        const int64_t start = file.GetPosition();
        auto system = std::make_shared<CSystem>();
        if (!system->LoadSettings(file, version) || file.GetPosition() == start)
            return false;
        config.systems.push_back(std::move(system));
    }
    if (version >= kEmailVersion)
        email.LoadSettings(file, version);
    return version < kReminderVersion || file.ReadInt(config.backupReminder);
}

}  // namespace

bool CMonitorConfig::UseDefaultColumnWidths() const {
    return placementRead && (width < 1 || height < 1 || left < kLowestEdge || top < kLowestEdge);
}

std::string GetConfigPath() { return platform::GetProgramFilePath(kConfigFileName); }

bool LoadConfig(const std::string& path, CMonitorConfig& config, CEmailServer& email) {
    config.systems.clear();
    config.columnWidths.clear();
    config.placementRead = false;
    CZVFile file(path, ZVVariant::Monitor);
    if (!file.Open(CZVFile::kRead))
        return false;
    if (ReadBody(file, config, email))
        return true;
    std::error_code error;
    std::filesystem::copy_file(path, path + kDamagedConfigSuffix, std::filesystem::copy_options::overwrite_existing,
                               error);
    return false;
}

bool SaveConfig(const std::string& path, const CMonitorConfig& config, const CEmailServer& email) {
    if (path.empty())
        return false;
    return WriteFileReplacing(path, true, [&](CZVFile& file) {
        bool ok = file.WriteInt(kConfigVersion) && file.WriteInt(config.left) && file.WriteInt(config.top) &&
                  file.WriteInt(config.width) && file.WriteInt(config.height) &&
                  file.WriteInt(static_cast<int32_t>(config.columnWidths.size()));
        for (int32_t width : config.columnWidths)
            ok = ok && file.WriteInt(width);
        ok = ok && file.WriteInt(static_cast<int32_t>(config.systems.size()));
        for (const SystemPtr& system : config.systems)
            ok = ok && system->SaveSettings(file);
        return ok && email.SaveSettings(file) && file.WriteInt(config.backupReminder);
    });
}
