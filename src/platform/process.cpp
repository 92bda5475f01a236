#include "platform/process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/clock.h"

extern char** environ;

namespace platform {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool IsSocket(int fd) {
    struct stat info{};
    return fd >= 0 && fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
}

void CloseOnExec(int fd) {
    int flags = fcntl(fd, F_GETFD);
    if (flags != -1)
        fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
}

}  // namespace

std::string GetExecutableDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    std::string text(path, static_cast<size_t>(length));
    size_t slash = text.rfind('/');
    return slash == std::string::npos ? std::string() : text.substr(0, slash);
}

std::string FindProgram(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    std::string beside = GetExecutableDirectory();
    if (!beside.empty() && IsExecutableFile(beside + "/" + name))
        return beside + "/" + name;
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos)
            end = list.size();
        std::string folder = list.substr(start, end - start);
        if (folder.empty())
            folder = ".";
        if (IsExecutableFile(folder + "/" + name))
            return folder + "/" + name;
        start = end + 1;
    }
    return {};
}

pid_t StartProgram(const std::string& name, const std::vector<std::string>& arguments) {
    std::string file = FindProgram(name);
    if (file.empty())
        return -1;
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(file.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return -1;
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, file.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : pid;
}

int AdoptInheritedSocket(long descriptor) {
    if (descriptor < 0 || descriptor > INT_MAX || !IsSocket(static_cast<int>(descriptor)))
        return -1;
    CloseOnExec(static_cast<int>(descriptor));
    return static_cast<int>(descriptor);
}

int ReceiveHandedSocket(const std::string& path, uint32_t limitMs) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    int channel = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (channel < 0)
        return -1;
    int received = -1;
    if (connect(channel, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        pollfd wait{channel, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(limitMs > INT_MAX ? INT_MAX : limitMs)) == 1) {
            char byte = 0;
            iovec data{&byte, 1};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
            msghdr message{};
            message.msg_iov = &data;
            message.msg_iovlen = 1;
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            if (recvmsg(channel, &message, MSG_CMSG_CLOEXEC) > 0 && !(message.msg_flags & MSG_CTRUNC)) {
                cmsghdr* header = CMSG_FIRSTHDR(&message);
                if (header && header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_RIGHTS &&
                    header->cmsg_len == CMSG_LEN(sizeof(int)))
                    std::memcpy(&received, CMSG_DATA(header), sizeof(int));
            }
        }
    }
    close(channel);
    if (received >= 0 && !IsSocket(received)) {
        close(received);
        received = -1;
    }
    return received;
}

}  // namespace platform
