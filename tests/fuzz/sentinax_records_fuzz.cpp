// Feeds arbitrary bytes to the monitor's record readers: as a settings record
// of every file version, as a history file read record by record, and as a
// history file that is rewritten with a new record added.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "sentinax/system.h"

namespace {

constexpr int32_t kSettingsVersions[] = {130, 131, 132, 133, 141, 144, 345};
// Each record read consumes at least its header, so this is never reached by
// a reader that moves on; it stops one that does not.
constexpr int kRecordLimit = 100000;

// The input lives in a memory file that CZVFile opens by name.
const std::string& InputName() {
    static const std::string name = [] {
        const int fd = memfd_create("records", 0);
        if (fd < 0)
            std::abort();
        return "/proc/self/fd/" + std::to_string(fd);
    }();
    return name;
}

void Store(const uint8_t* data, size_t size) {
    const int fd = std::stoi(InputName().substr(sizeof("/proc/self/fd/") - 1));
    if (ftruncate(fd, 0) != 0 || (size > 0 && pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();
}

const std::string& DataFolder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/sentinax_fuzz_XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        setenv("ZAVORO_DATA_DIR", pattern, 1);
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(getenv("ZAVORO_DATA_DIR"), error);
        });
        return std::string(pattern);
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 200000)
        return 0;
    Store(data, size);
    for (int32_t version : kSettingsVersions) {
        CSystem system;
        CZVFile file(InputName(), ZVVariant::Monitor);
        if (file.Open(CZVFile::kRead))
            system.LoadSettings(file, version);
    }
    {
        CZVFile file(InputName(), ZVVariant::Monitor);
        if (file.Open(CZVFile::kRead)) {
            CSystem system;
            for (int i = 0; i < kRecordLimit && system.LoadHistoryRecord(file); ++i) {
                for (const CSystemError& entry : system.alarms)
                    entry.GetDescription();
            }
        }
    }
    DataFolder();
    CSystem system;
    system.adapterName = "Brenvik: 00-00-00";
    CZVFile log(system.GetHistoryFileName(0), ZVVariant::Monitor);
    if (log.Open(CZVFile::kCreate) && log.Write(data, static_cast<int32_t>(size)) && log.Close())
        system.AppendHistory();
    return 0;
}
