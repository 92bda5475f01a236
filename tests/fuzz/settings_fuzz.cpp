// Settings files may be edited by hand: any content must read and update
// without a crash, and an update must keep the value it wrote.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/program.h"
#include "platform/settings.h"

namespace {

// A directory of its own for the run, removed when the fuzzer exits.
struct Directory {
    Directory() {
        char pattern[] = "/tmp/zavoro-fuzz-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        path = pattern;
        setenv("ZAVORO_CONFIG_DIR", pattern, 1);
        platform::SetProgramName("fuzz");
    }
    ~Directory() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

std::string SetUp() {
    static Directory directory;
    return platform::GetSettingsFilePath();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = SetUp();
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size))
        std::abort();
    close(fd);

    std::string text;
    int32_t number = 0;
    platform::ReadSettingString("S", "N", text);
    platform::ReadSettingInt("S", "N", number);
    platform::ReadSettingInt("ProgramDefaults", "BasePort", number);
    if (size % 2 == 1) {
        if (platform::WriteSettingString("S", "N", "value") &&
            (!platform::ReadSettingString("S", "N", text) || text != "value"))
            std::abort();
    }
    return 0;
}
