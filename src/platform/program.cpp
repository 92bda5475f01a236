#include "platform/program.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>

namespace platform {
namespace {

std::mutex g_nameMutex;
std::string g_name;

std::string ExecutableName() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "zavoro";
    std::string text(path, static_cast<size_t>(length));
    return text.substr(text.rfind('/') + 1);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string HomeDirectory() {
    std::string home = Environment("HOME");
    if (!home.empty())
        return home;
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_dir)
        return found->pw_dir;
    return "";
}

}  // namespace

bool SetProgramName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find_first_of(std::string("/\0", 2)) != std::string::npos)
        return false;
    std::lock_guard lock(g_nameMutex);
    g_name = name;
    return true;
}

std::string GetProgramName() {
    std::lock_guard lock(g_nameMutex);
    if (g_name.empty())
        g_name = ExecutableName();
    return g_name;
}

std::string XdgDirectory(const char* variable, const char* homeFallback) {
    std::string base = Environment(variable);
    if (!base.empty() && base[0] == '/')
        return base;
    std::string home = HomeDirectory();
    return home.empty() ? "" : home + "/" + homeFallback;
}

bool MakeDirectories(const std::string& path) {
    if (path.empty())
        return false;
    for (size_t slash = path.find('/', 1); ; slash = path.find('/', slash + 1)) {
        std::string prefix = path.substr(0, slash);
        if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string GetProgramFolder() {
    std::string base = Environment("ZAVORO_DATA_DIR");
    if (base.empty()) {
        base = XdgDirectory("XDG_DATA_HOME", ".local/share");
        if (base.empty())
            return "";
        base += "/zavoro";
    }
    std::string folder = base + "/" + GetProgramName();
    return MakeDirectories(folder) ? folder : "";
}

std::string GetProgramFilePath(const std::string& fileName) {
    std::string folder = GetProgramFolder();
    return folder.empty() ? "" : folder + "/" + fileName;
}

int OpenPrivateFile(const std::string& path, int flags) {
    // Open without truncating first, so that an existing wider file is
    // narrowed before it is emptied or written.
    int fd = open(path.c_str(), (flags & ~O_TRUNC) | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    if (fchmod(fd, 0600) != 0 || ((flags & O_TRUNC) && ftruncate(fd, 0) != 0)) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace platform
