#include "platform/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace platform {

ssize_t ReadFully(int fd, void* out, size_t count) {
    auto* bytes = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, bytes + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteFully(int fd, const void* bytes, size_t count) {
    const auto* next = static_cast<const uint8_t*>(bytes);
    while (count > 0) {
        const ssize_t put = ::write(fd, next, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        next += put;
        count -= static_cast<size_t>(put);
    }
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& temporary, std::optional<mode_t> mode,
                 const std::function<bool(int fd)>& write) {
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, mode ? *mode : 0666);
    if (fd < 0) return false;
    // A file left behind keeps its old bits unless they are set here, before any byte goes in.
    // It is synced through the descriptor that wrote it, before it takes the place of the old one.
    bool written = (!mode || ::fchmod(fd, *mode) == 0) && write(fd) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

bool ReplaceFile(const std::string& path, const std::string& temporary, std::optional<mode_t> mode,
                 std::string_view bytes) {
    return ReplaceFile(path, temporary, mode, [bytes](int fd) { return WriteFully(fd, bytes.data(), bytes.size()); });
}

bool CommitReplacement(const std::string& temporary, const std::string& path) {
    const int fd = ::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    if (synced && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

}  // namespace platform
