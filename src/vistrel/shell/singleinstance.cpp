#include "vistrel/shell/singleinstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/clock.h"
#include "platform/program.h"

namespace {

constexpr uint32_t kLockRetry = 10;  // ms between attempts
const char kKnock = 'R';

bool MakeAddress(const std::string& path, sockaddr_un* address) {
    std::memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof(address->sun_path)) return false;
    std::memcpy(address->sun_path, path.c_str(), path.size());
    return true;
}

}  // namespace

std::string NamedLockDirectory() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return runtime;
    const std::string fallback = "/tmp/zavoro-" + std::to_string(getuid());
    platform::MakeDirectories(fallback);
    return fallback;
}

CNamedLock::CNamedLock(const std::string& name, const std::string& directory) : m_path(directory + "/" + name) {}

CNamedLock::~CNamedLock() {
    if (m_fd != -1) close(m_fd);  // closing releases the lock
}

bool CNamedLock::Acquire(uint32_t waitMs) {
    if (m_fd != -1) return true;
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const uint32_t start = platform::GetTickCount();
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (platform::TicksSince(start) >= waitMs) break;
        platform::Sleep(kLockRetry);
    }
    close(fd);
    return false;
}

void CNamedLock::Release() {
    if (m_fd == -1) return;
    close(m_fd);
    m_fd = -1;
}

bool CNamedLock::IsHeldElsewhere() const {
    if (m_fd != -1) return false;
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);  // gives back a lock the probe got
    return held;
}

CRaiseListener::~CRaiseListener() { Close(); }

void CRaiseListener::Close() {
    if (m_fd == -1) return;
    close(m_fd);
    unlink(m_path.c_str());
    m_fd = -1;
}

bool CRaiseListener::Open(const std::string& path) {
    sockaddr_un address;
    if (m_fd != -1 || !MakeAddress(path, &address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // Only the lock's holder gets here, so a socket file left at the path
    // is a crashed copy's.
    unlink(path.c_str());
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(fd, 4) != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

int CRaiseListener::TakeRequests() {
    int taken = 0;
    while (m_fd != -1) {
        const int client = accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) break;
        close(client);
        ++taken;
    }
    return taken;
}

bool AskToRaise(const std::string& path) {
    sockaddr_un address;
    if (!MakeAddress(path, &address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool knocked = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                         send(fd, &kKnock, 1, MSG_NOSIGNAL) == 1;
    close(fd);
    return knocked;
}

CSingleInstance::CSingleInstance(const std::string& directory)
    : m_lock("VistrelMutex", directory), m_doorPath(directory + "/VistrelMutex.door") {}

bool CSingleInstance::Claim() {
    if (!m_lock.Acquire(kLockWait)) {
        AskToRaise(m_doorPath);
        return false;
    }
    m_listener.Open(m_doorPath);
    return true;
}

void CSingleInstance::Release() {
    m_listener.Close();
    m_lock.Release();
}
