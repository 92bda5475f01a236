// Stands for the new program in the self-update tests. It takes the
// tablet's single-instance lock, then writes its process id, its arguments
// and the password handed on descriptor 3 (when "/PASSFD:3" asks for it)
// into $ZV_FAKE_TABLET_LOG, and waits to be ended. With $ZV_FAKE_TABLET_EXIT
// set it writes the same and exits at once, without the lock: a program
// that does not come up.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "vistrel/shell/singleinstance.h"

namespace {

std::string ReadHandedPassword() {
    std::string password;
    char buffer[256];
    ssize_t got;
    while ((got = read(3, buffer, sizeof buffer)) > 0) password.append(buffer, static_cast<size_t>(got));
    return password;
}

// Written under another name and renamed, so the test never reads half of it.
void WriteLog(const char* path, const std::string& text) {
    const std::string part = std::string(path) + ".part";
    std::ofstream(part) << text;
    std::rename(part.c_str(), path);
}

}  // namespace

int main(int argc, char** argv) {
    const char* log = std::getenv("ZV_FAKE_TABLET_LOG");
    if (!log) return 2;
    std::string arguments;
    bool passwordHanded = false;
    for (int i = 1; i < argc; ++i) {
        arguments += (i > 1 ? " " : "") + std::string(argv[i]);
        passwordHanded |= std::string(argv[i]) == "/PASSFD:3";
    }
    const std::string text = std::to_string(getpid()) + "\n" + arguments + "\n" +
                             (passwordHanded ? ReadHandedPassword() : std::string()) + "\n";
    if (std::getenv("ZV_FAKE_TABLET_EXIT")) {
        WriteLog(log, text);
        return 0;
    }
    CSingleInstance instance;
    if (!instance.Claim()) {
        WriteLog(log, "lock refused\n");
        return 1;
    }
    WriteLog(log, text);
    for (int second = 0; second < 60; ++second) sleep(1);  // ended by the test long before
    return 0;
}
