#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "platform/clock.h"

extern char** environ;

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool IsSocket(int fd) {
    struct stat info {};
    return fd >= 0 && fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

void CloseOnExec(int fd) {
    int flags = fcntl(fd, F_GETFD);
    if (flags != -1) fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
}

bool UnixAddress(const std::string& path, sockaddr_un& address) {
    if (path.empty() || path.size() >= sizeof address.sun_path || path.find('\0') != std::string::npos) return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

// Sleeps on the program's clock between looks, so that the wait follows it.
bool WaitReadable(int fd, uint32_t limitMs) {
    const uint32_t start = GetTickCount();
    for (;;) {
        pollfd wait{fd, POLLIN, 0};
        if (poll(&wait, 1, 0) == 1) return true;
        const uint32_t waited = TicksSince(start);
        if (waited >= limitMs) return false;
        Sleep(std::min<uint32_t>(10, limitMs - waited));
    }
}

// Every descriptor that came with one message: the parent is to send one,
// but whatever else arrives is ours to close.
std::vector<int> ReceiveDescriptors(int channel) {
    constexpr size_t kRoom = 4;
    char byte = 0;
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(kRoom * sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    std::vector<int> received;
    if (recvmsg(channel, &message, MSG_CMSG_CLOEXEC | MSG_DONTWAIT) < 0) return received;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS || header->cmsg_len < CMSG_LEN(0))
            continue;
        const size_t count = (header->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int fd = -1;
            std::memcpy(&fd, CMSG_DATA(header) + i * sizeof(int), sizeof(int));
            received.push_back(fd);
        }
    }
    // Those that found no room were closed on the way; a partial set counts as none.
    if (message.msg_flags & MSG_CTRUNC) {
        for (int fd : received) close(fd);
        received.clear();
    }
    return received;
}

}  // namespace

std::string GetExecutablePath() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    return std::string(path, static_cast<size_t>(length));
}

std::string GetExecutableDirectory() {
    const std::string text = GetExecutablePath();
    size_t slash = text.rfind('/');
    return slash == std::string::npos ? std::string() : text.substr(0, slash);
}

std::string FindProgram(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    std::string beside = GetExecutableDirectory();
    if (!beside.empty() && IsExecutableFile(beside + "/" + name)) return beside + "/" + name;
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        std::string folder = list.substr(start, end - start);
        if (folder.empty()) folder = ".";
        if (IsExecutableFile(folder + "/" + name)) return folder + "/" + name;
        start = end + 1;
    }
    return {};
}

namespace {

// Spawns the program; the child keeps the standard three descriptors and,
// when input >= 0, that one as kChildInputDescriptor.
pid_t Spawn(const std::string& name, const std::vector<std::string>& arguments, int input) {
    std::string file = FindProgram(name);
    if (file.empty()) return -1;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(file.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    if (input >= 0) posix_spawn_file_actions_adddup2(&actions, input, kChildInputDescriptor);
    posix_spawn_file_actions_addclosefrom_np(&actions, input >= 0 ? kChildInputDescriptor + 1 : 3);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, file.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

}  // namespace

pid_t StartProgram(const std::string& name, const std::vector<std::string>& arguments) {
    return Spawn(name, arguments, -1);
}

pid_t StartProgram(const std::string& name, const std::vector<std::string>& arguments, const std::string& input) {
    if (input.size() > PIPE_BUF) return -1;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return -1;
    // Written before the child starts: it fits the pipe, so nothing blocks.
    const bool written = write(ends[1], input.data(), input.size()) == static_cast<ssize_t>(input.size());
    close(ends[1]);
    const pid_t pid = written ? Spawn(name, arguments, ends[0]) : -1;
    close(ends[0]);
    return pid;
}

bool ChildProcess::Start(const std::string& name, const std::vector<std::string>& arguments) {
    End(kEndLimitMs);
    m_pid = StartProgram(name, arguments);
    return m_pid > 0;
}

bool ChildProcess::Reaped(int options) {
    if (m_pid <= 0) return true;
    int status = 0;
    pid_t result;
    do {
        result = waitpid(m_pid, &status, options);
    } while (result < 0 && errno == EINTR);
    if (result == 0) return false;  // still running
    m_pid = -1;                     // reaped, or not ours to wait for any more
    return true;
}

bool ChildProcess::IsRunning() { return !Reaped(WNOHANG); }

void ChildProcess::End(uint32_t limitMs) {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    for (uint32_t waited = 0; !Reaped(WNOHANG); waited += 100) {
        if (waited >= limitMs) {
            kill(m_pid, SIGKILL);
            Reaped(0);
            return;
        }
        Sleep(100);
    }
}

int AdoptInheritedSocket(long descriptor) {
    if (descriptor < 0 || descriptor > INT_MAX || !IsSocket(static_cast<int>(descriptor))) return -1;
    CloseOnExec(static_cast<int>(descriptor));
    return static_cast<int>(descriptor);
}

int ListenForHandOver(const std::string& path) {
    sockaddr_un address{};
    if (!UnixAddress(path, address)) return -1;
    int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener < 0) return -1;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 1) != 0) {
        close(listener);
        return -1;
    }
    return listener;
}

bool HandOverSocket(int listener, int descriptor, uint32_t limitMs) {
    // The wait is on the listener itself, a short slice at a time: the child
    // may be sleeping on the same clock while it waits for us.
    const uint32_t start = GetTickCount();
    int channel = -1;
    do {
        pollfd wait{listener, POLLIN, 0};
        if (poll(&wait, 1, 10) == 1) channel = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
    } while (channel < 0 && TicksSince(start) < limitMs);
    if (channel < 0) return false;
    char byte = 0;
    iovec data{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &descriptor, sizeof(int));
    const bool sent = sendmsg(channel, &message, MSG_NOSIGNAL | MSG_DONTWAIT) == 1;
    close(channel);
    return sent;
}

int ReceiveHandedSocket(const std::string& path, uint32_t limitMs) {
    sockaddr_un address{};
    if (!UnixAddress(path, address)) return -1;
    int channel = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (channel < 0) return -1;
    std::vector<int> received;
    if (connect(channel, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && WaitReadable(channel, limitMs))
        received = ReceiveDescriptors(channel);
    close(channel);
    if (received.size() == 1 && IsSocket(received[0])) return received[0];
    for (int fd : received) close(fd);
    return -1;
}

}  // namespace platform
