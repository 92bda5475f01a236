// Stands in for a program the monitor starts: appends its arguments, joined
// by tabs, as one line to the file named by ZV_ARGV_STUB_LOG, then ends, or,
// with ZV_ARGV_STUB_WAIT set, waits until it is ended.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i)
        line += std::string(i > 1 ? "\t" : "") + argv[i];
    line += "\n";
    if (const char* log = std::getenv("ZV_ARGV_STUB_LOG")) {
        const int fd = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd >= 0) {
            (void)!write(fd, line.data(), line.size());
            close(fd);
        }
    }
    if (std::getenv("ZV_ARGV_STUB_WAIT"))
        for (;;)
            pause();
    return 0;
}
