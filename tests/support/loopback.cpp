#include "loopback.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {
namespace {

sockaddr_in BoundAddress(int fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return address;
}

int BindLoopback(int type) {
    int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in any = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any);
    return fd;
}

}  // namespace

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

uint16_t PortOf(const sockaddr_in& address) { return ntohs(address.sin_port); }

int ListenOnLoopback(uint16_t* port) {
    int fd = BindLoopback(SOCK_STREAM);
    listen(fd, 8);
    *port = PortOf(BoundAddress(fd));
    return fd;
}

ReservedUdpPort::ReservedUdpPort() : m_fd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    // Bound to every address without sharing, the socket is given a port that no socket uses;
    // then it lets sharing sockets in, and connected to itself it takes no one else's datagrams.
    sockaddr_in any = Loopback(0);
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    bind(m_fd, reinterpret_cast<sockaddr*>(&any), sizeof any);
    m_port = PortOf(BoundAddress(m_fd));
    Share(true);
    sockaddr_in self = Loopback(m_port);
    connect(m_fd, reinterpret_cast<sockaddr*>(&self), sizeof self);
}

ReservedUdpPort::~ReservedUdpPort() { close(m_fd); }

void ReservedUdpPort::Share(bool shared) {
    const int on = shared;
    setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
}

RefusingPort::RefusingPort() : m_fd(BindLoopback(SOCK_STREAM)), m_address(BoundAddress(m_fd)) {}

RefusingPort::~RefusingPort() { close(m_fd); }

StalledPort::StalledPort() : m_listener(BindLoopback(SOCK_STREAM)) {
    listen(m_listener, 0);
    m_address = BoundAddress(m_listener);
    // Fill the queue until a connection no longer completes: from then on the listener
    // drops every new handshake.
    for (int i = 0; i < 16; ++i) {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        m_fillers.push_back(fd);
        connect(fd, reinterpret_cast<sockaddr*>(&m_address), sizeof m_address);
        pollfd entry{fd, POLLOUT, 0};
        if (poll(&entry, 1, 100) == 0)
            break;
    }
}

StalledPort::~StalledPort() {
    for (int fd : m_fillers)
        close(fd);
    close(m_listener);
}

}  // namespace testsupport
