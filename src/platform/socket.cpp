#include "platform/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "platform/clock.h"

namespace platform {
namespace {

// Pause between two rounds of a send that waits for room.
constexpr uint32_t kSendRoundMs = 10;
// Pause between two rounds of a pending connect.
constexpr uint32_t kConnectRoundMs = 50;

bool SetIntOption(int fd, int level, int name, int value) {
    return fd != kNoSocket && setsockopt(fd, level, name, &value, sizeof value) == 0;
}

int PendingError(int fd) {
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        return errno;
    return error;
}

}  // namespace

int OpenTcpSocket() { return socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); }

int OpenUdpSocket() { return socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0); }

void CloseSocket(int fd) {
    if (fd == kNoSocket)
        return;
    // The caller may still report why the socket failed.
    const int error = errno;
    shutdown(fd, SHUT_RD);
    close(fd);
    errno = error;
}

bool SetNonBlocking(int fd, bool on) {
    if (fd == kNoSocket)
        return false;
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0)
        return false;
    flags = on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK;
    return fcntl(fd, F_SETFL, flags) == 0;
}

bool SetNoDelay(int fd, bool on) { return SetIntOption(fd, IPPROTO_TCP, TCP_NODELAY, on ? 1 : 0); }

bool SetBroadcast(int fd, bool on) { return SetIntOption(fd, SOL_SOCKET, SO_BROADCAST, on ? 1 : 0); }

bool SetReuseAddress(int fd, bool on) { return SetIntOption(fd, SOL_SOCKET, SO_REUSEADDR, on ? 1 : 0); }

bool WaitForSocket(int fd, short events, uint32_t milliseconds) {
    if (fd == kNoSocket)
        return false;
    bool virtual_time = IsClockInstalled();
    int real_ms = static_cast<int>(std::min<uint32_t>(milliseconds, virtual_time ? 1 : 1u << 30));
    pollfd entry{fd, events, 0};
    int ready;
    do {
        ready = poll(&entry, 1, real_ms);
    } while (ready < 0 && errno == EINTR);
    if (ready > 0)
        return true;
    if (virtual_time && milliseconds > 0)
        Sleep(milliseconds);
    return false;
}

ConnectResult ConnectWithin(int fd, const sockaddr_in& to, uint32_t limit_ms,
                            const std::function<bool()>& keep_going) {
    if (!SetNonBlocking(fd, true))
        return ConnectResult::kFailed;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0)
        return ConnectResult::kConnected;
    if (errno != EINPROGRESS && errno != EINTR)
        return ConnectResult::kFailed;
    uint32_t start = GetTickCount();
    for (;;) {
        if (TicksSince(start) > limit_ms) {
            errno = ETIMEDOUT;
            return ConnectResult::kTimedOut;
        }
        // A socket becomes writable both when the connection stands and when it failed.
        if (WaitForSocket(fd, POLLOUT, kConnectRoundMs)) {
            int error = PendingError(fd);
            if (error == 0)
                return ConnectResult::kConnected;
            errno = error;
            return ConnectResult::kFailed;
        }
        if (keep_going && !keep_going()) {
            errno = ECANCELED;
            return ConnectResult::kCancelled;
        }
    }
}

bool SendAll(int fd, const void* data, size_t size, uint32_t limit_ms) {
    if (fd == kNoSocket)
        return false;
    const char* next = static_cast<const char*>(data);
    uint32_t start = GetTickCount();
    while (size > 0) {
        ssize_t sent = send(fd, next, size, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            next += sent;
            size -= static_cast<size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        if (TicksSince(start) > limit_ms)
            return false;
        WaitForSocket(fd, POLLOUT, kSendRoundMs);
    }
    return true;
}

bool BytesWaiting(int fd, int* count) {
    *count = 0;
    if (fd == kNoSocket)
        return false;
    int waiting = 0;
    if (ioctl(fd, FIONREAD, &waiting) != 0)
        return false;
    *count = std::max(waiting, 0);
    return true;
}

ssize_t ReceiveSome(int fd, void* buffer, size_t size) {
    ssize_t got;
    do {
        got = recv(fd, buffer, size, MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    return got;
}

bool PeerHasClosed(int fd) {
    char byte;
    ssize_t got;
    do {
        got = recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    return got == 0;
}

ReplyResult ReceiveReply(int fd, std::string& reply, const ReplyLimits& limits,
                         const std::function<int(const std::string&)>& check,
                         const std::function<bool()>& keep_going) {
    reply.clear();
    const uint32_t start = GetTickCount();
    for (;;) {
        if (keep_going && !keep_going())
            return ReplyResult::kCancelled;
        int waiting = 0;
        if (!BytesWaiting(fd, &waiting))
            return ReplyResult::kFailed;
        if (waiting > 0) {
            const size_t wanted = static_cast<size_t>(waiting);
            if (wanted > limits.room - reply.size())
                return ReplyResult::kOverflow;
            const size_t before = reply.size();
            reply.resize(before + wanted);
            const ssize_t got = ReceiveSome(fd, reply.data() + before, wanted);
            reply.resize(before + static_cast<size_t>(std::max<ssize_t>(got, 0)));
            if (got <= 0)
                return ReplyResult::kFailed;
            const int state = check(reply);
            if (state != 0)
                return state > 0 ? ReplyResult::kComplete : ReplyResult::kRejected;
        } else if (PeerHasClosed(fd)) {
            return ReplyResult::kPeerClosed;
        }
        if (TicksSince(start) >= limits.limit_ms)
            return ReplyResult::kTimedOut;
        Sleep(limits.poll_ms);
    }
}

ssize_t ReceiveDatagram(int fd, void* buffer, size_t size, sockaddr_in* from) {
    sockaddr_in sender{};
    socklen_t length = sizeof sender;
    ssize_t got = recvfrom(fd, buffer, size, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&sender), &length);
    if (got >= 0 && from)
        *from = sender;
    return got;
}

ssize_t SendDatagram(int fd, const void* data, size_t size, const sockaddr_in& to) {
    return sendto(fd, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

bool Bind(int fd, const sockaddr_in& address) {
    return bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

bool LocalAddress(int fd, sockaddr_in* address) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0 || local.sin_family != AF_INET)
        return false;
    *address = local;
    return true;
}

sockaddr_in MakeAddress(uint32_t address_network_order, uint16_t port_host_order) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = address_network_order;
    address.sin_port = htons(port_host_order);
    return address;
}

bool ResolveHost(const std::string& name, uint32_t* address_network_order) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (name.empty() || getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || !found)
        return false;
    *address_network_order = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

std::vector<InterfaceAddress> ListInterfaceAddresses() {
    std::vector<InterfaceAddress> addresses;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return addresses;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        uint32_t mask = entry->ifa_netmask ? reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr : 0;
        addresses.push_back({reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr, mask});
    }
    freeifaddrs(list);
    return addresses;
}

}  // namespace platform
