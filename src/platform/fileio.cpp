#include "platform/fileio.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace platform {

ssize_t ReadFully(int fd, void* out, size_t count) {
    auto* bytes = static_cast<uint8_t*>(out);
    size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, bytes + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteFully(int fd, const void* bytes, size_t count) {
    const auto* next = static_cast<const uint8_t*>(bytes);
    while (count > 0) {
        const ssize_t put = ::write(fd, next, count);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        next += put;
        count -= static_cast<size_t>(put);
    }
    return true;
}

}  // namespace platform
