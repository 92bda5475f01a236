#pragma once
// POSIX sockets for the gateway protocol: IPv4, TCP and UDP, descriptors as ints (-1 for none).
// Every wait here is bounded and measured with the platform clock.
//
// Waiting and the test clock: a wait for a socket (WaitForSocket) is one poll() of the whole
// time on the system clock. While a test clock is installed the real poll lasts at most 1 ms
// and the clock's Sleep covers the rest, so time-outs measured in ticks pass at the test's pace
// (a 10 s connect limit costs about 200 ms of real time), while data that is already on its way
// still ends the wait at once. Tests that expect a peer to answer are therefore best run on the
// system clock: they end as soon as the answer arrives and only a fault makes them wait.
#include <netinet/in.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

constexpr int kNoSocket = -1;

int OpenTcpSocket();
int OpenUdpSocket();
// Shuts the socket down for receiving, then closes it; nothing for -1.
void CloseSocket(int fd);

bool SetNonBlocking(int fd, bool on);
bool SetNoDelay(int fd, bool on);
bool SetBroadcast(int fd, bool on);
// Lets several sockets bind the same UDP port; each of them gets the broadcasts sent to it.
bool SetReuseAddress(int fd, bool on);

// Waits until the socket is ready for the poll events (POLLIN, POLLOUT) or has an error
// pending, at most milliseconds (see above for the test clock). True when ready.
bool WaitForSocket(int fd, short events, uint32_t milliseconds);

enum class ConnectResult { kConnected, kFailed, kTimedOut, kCancelled };

// Connects a socket without blocking for longer than limit_ms. A connection stands only when
// the socket reports no error (SO_ERROR 0); a refused or unreachable peer ends the wait at
// once, with errno telling why. keep_going, when given, is asked after every round in which
// the connection is still pending; false cancels. The socket is left non-blocking.
ConnectResult ConnectWithin(int fd, const sockaddr_in& to, uint32_t limit_ms,
                            const std::function<bool()>& keep_going = {});

// Sends all bytes (MSG_NOSIGNAL), waiting for room whenever the socket takes only part of
// them, for at most limit_ms in all. False on an error or when the time runs out.
bool SendAll(int fd, const void* data, size_t size, uint32_t limit_ms);

// Bytes waiting to be read (FIONREAD); false when the call fails.
bool BytesWaiting(int fd, int* count);
// One recv without waiting: the bytes read, 0 when the peer has closed, -1 on an error or
// when nothing waits (errno EAGAIN).
ssize_t ReceiveSome(int fd, void* buffer, size_t size);
// True when the peer has closed its side and no byte is left to read.
bool PeerHasClosed(int fd);

// How a reply collected by ReceiveReply ended.
enum class ReplyResult { kComplete, kRejected, kPeerClosed, kTimedOut, kOverflow, kFailed, kCancelled };

struct ReplyLimits {
    size_t room;        // the most bytes the reply may hold
    uint32_t limit_ms;  // the whole wait
    uint32_t poll_ms;   // the pause between two looks
};

// Collects one reply on a connected socket into `reply` (emptied first): whatever has arrived
// is appended and shown to `check`, which answers 1 for a whole reply, 0 while more must come
// and -1 for bytes that cannot become one. The wait ends when the peer closes, a receive fails,
// more bytes wait than `room` has left (they stay unread), or limit_ms have passed;
// keep_going, when given, is asked before every look and false cancels.
ReplyResult ReceiveReply(int fd, std::string& reply, const ReplyLimits& limits,
                         const std::function<int(const std::string&)>& check,
                         const std::function<bool()>& keep_going = {});

ssize_t ReceiveDatagram(int fd, void* buffer, size_t size, sockaddr_in* from);
ssize_t SendDatagram(int fd, const void* data, size_t size, const sockaddr_in& to);
bool Bind(int fd, const sockaddr_in& address);
// The local address of a socket (getsockname).
bool LocalAddress(int fd, sockaddr_in* address);

// An IPv4 endpoint; address and port in network order.
sockaddr_in MakeAddress(uint32_t address_network_order, uint16_t port_host_order);
// The first IPv4 address of a host name; false when it does not resolve.
bool ResolveHost(const std::string& name, uint32_t* address_network_order);

struct InterfaceAddress {
    uint32_t address;  // network order
    uint32_t mask;     // network order
};
// The machine's IPv4 addresses, in the order the system lists them.
std::vector<InterfaceAddress> ListInterfaceAddresses();

}  // namespace platform
