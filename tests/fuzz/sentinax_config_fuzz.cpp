// Reads any bytes as the monitor's configuration file and as a backup archive.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "sentinax/backup.h"
#include "sentinax/configfile.h"
#include "sentinax/emailserver.h"

namespace {

class NoDns final : public CMxResolver {
public:
    bool QueryMx(const std::string&, std::vector<std::string>&, int&) override { return false; }
};

const std::string& Folder() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/sentinax_config_fuzz.XXXXXX";
        const char* made = mkdtemp(pattern);
        return std::string(made ? made : "/tmp");
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = Folder() + "/input";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    CMonitorConfig config;
    CEmailServer email{std::make_unique<NoDns>()};
    LoadConfig(path, config, email);
    const std::string out = Folder() + "/restored";
    std::filesystem::create_directory(out);
    RestoreBackup(path, out);
    std::error_code error;
    std::filesystem::remove_all(out, error);
    return 0;
}
