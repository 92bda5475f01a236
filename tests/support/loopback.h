#pragma once
// Loopback endpoints for network tests: free ports, a port that refuses connections and
// one where a connection stays pending.
#include <netinet/in.h>

#include <cstdint>
#include <vector>

namespace testsupport {

// 127.0.0.1 at the port (host order).
sockaddr_in Loopback(uint16_t port);
uint16_t PortOf(const sockaddr_in& address);

// A TCP socket listening on 127.0.0.1 at an ephemeral port, which lands in *port.
int ListenOnLoopback(uint16_t* port);

// A UDP port held while the object lives, so that no other socket is given it meanwhile.
// A socket that shares its port (SO_REUSEADDR), as the keep-alive listener does, may still
// bind it and gets every datagram sent to it: the holding socket hears only itself.
class ReservedUdpPort {
public:
    ReservedUdpPort();
    ~ReservedUdpPort();
    ReservedUdpPort(const ReservedUdpPort&) = delete;
    ReservedUdpPort& operator=(const ReservedUdpPort&) = delete;
    uint16_t Port() const { return m_port; }
    // Whether sharing sockets may bind the port (they may from the start). Unshared, the port
    // is taken as if another program held it alone.
    void Share(bool shared);

private:
    int m_fd;
    uint16_t m_port = 0;
};

// A TCP port that is bound but not listening: every connection to it is refused.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    sockaddr_in Address() const { return m_address; }

private:
    int m_fd;
    sockaddr_in m_address{};
};

// A listening TCP port whose queue is full and never accepted: a new connection to it
// stays pending until the client gives up.
class StalledPort {
public:
    StalledPort();
    ~StalledPort();
    StalledPort(const StalledPort&) = delete;
    StalledPort& operator=(const StalledPort&) = delete;
    sockaddr_in Address() const { return m_address; }

private:
    int m_listener;
    std::vector<int> m_fillers;
    sockaddr_in m_address{};
};

}  // namespace testsupport
