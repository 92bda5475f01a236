#include "sentinax/replacefile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/program.h"

std::string TemporaryNameFor(const std::string& path) { return path + ".new"; }

bool WriteFileReplacing(const std::string& path, const std::string& temporary, bool secret,
                        const std::function<bool(CZVFile&)>& write) {
    if (secret) {
        const int fd = platform::OpenPrivateFile(temporary, O_WRONLY | O_CREAT | O_TRUNC);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    bool written = false;
    {
        CZVFile file(temporary, ZVVariant::Monitor);
        written = file.Open(CZVFile::kCreate) && write(file);
        written = file.Close() && written;
    }
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    return CommitTemporary(temporary, path);
}

bool WriteFileReplacing(const std::string& path, bool secret, const std::function<bool(CZVFile&)>& write) {
    return WriteFileReplacing(path, TemporaryNameFor(path), secret, write);
}

bool CommitTemporary(const std::string& temporary, const std::string& path) {
    const int fd = ::open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (synced && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}
