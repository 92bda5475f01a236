#include "platform/socket.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "support/loopback.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace {

using testsupport::Loopback;

// Bytes that arrived at the socket and wait to be read.
int BytesUnread(int fd) {
    int count = 0;
    return ioctl(fd, FIONREAD, &count) == 0 ? count : -1;
}

// Bytes written to the socket that the peer's side has not taken yet.
int BytesUnsent(int fd) {
    int count = 0;
    return ioctl(fd, SIOCOUTQ, &count) == 0 ? count : -1;
}

// A listening socket on the loopback address that accepts one client when asked.
class Listener {
public:
    Listener() : m_fd(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in any = Loopback(0);
        bind(m_fd, reinterpret_cast<sockaddr*>(&any), sizeof any);
        listen(m_fd, 4);
        platform::LocalAddress(m_fd, &m_address);
    }
    ~Listener() {
        if (m_peer >= 0) close(m_peer);
        close(m_fd);
    }
    sockaddr_in address() const { return m_address; }
    int Accept() { return m_peer = accept(m_fd, nullptr, nullptr); }

private:
    int m_fd;
    int m_peer = -1;
    sockaddr_in m_address{};
};

struct Socket {
    int fd = platform::OpenTcpSocket();
    ~Socket() { platform::CloseSocket(fd); }
};

TEST(ConnectWithin, ConnectsToAListeningPort) {
    Listener listener;
    Socket client;
    EXPECT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
    EXPECT_GE(listener.Accept(), 0);
}

TEST(ConnectWithin, ARefusedConnectionFailsAtOnce) {
    testsupport::VirtualClock clock;
    testsupport::RefusingPort refusing;
    Socket client;
    EXPECT_EQ(platform::ConnectWithin(client.fd, refusing.Address(), 10000), platform::ConnectResult::kFailed);
    EXPECT_EQ(errno, ECONNREFUSED);
    EXPECT_LT(clock.TotalSlept(), 1000u);  // well before the limit
}

TEST(ConnectWithin, GivesUpAtTheLimitWhenNobodyAnswers) {
    testsupport::VirtualClock clock;
    testsupport::StalledPort stalled;
    Socket client;
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(platform::ConnectWithin(client.fd, stalled.Address(), 10000), platform::ConnectResult::kTimedOut);
    uint32_t waited = platform::GetTickCount() - start;
    EXPECT_GT(waited, 10000u);
    EXPECT_LT(waited, 10200u);
}

TEST(ConnectWithin, StopsWhenAskedTo) {
    testsupport::VirtualClock clock;
    testsupport::StalledPort stalled;
    Socket client;
    int rounds = 0;
    EXPECT_EQ(platform::ConnectWithin(client.fd, stalled.Address(), 10000, [&] { return ++rounds < 3; }),
              platform::ConnectResult::kCancelled);
    EXPECT_EQ(rounds, 3);
}

TEST(SendAll, CompletesASendLargerThanTheSocketTakesAtOnce) {
    Listener listener;
    Socket client;
    ASSERT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
    int peer = listener.Accept();
    std::vector<uint8_t> data(16 << 20);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    std::vector<uint8_t> received;
    std::thread reader([&] {
        // Reading starts once the sender has more than the connection takes at once.
        EXPECT_TRUE(testsupport::WaitUntil([&] { return BytesUnsent(client.fd) > 0; }));
        uint8_t buffer[65536];
        while (received.size() < data.size()) {
            ssize_t got = recv(peer, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            received.insert(received.end(), buffer, buffer + got);
        }
    });
    EXPECT_TRUE(platform::SendAll(client.fd, data.data(), data.size(), testsupport::kWaitLimitMs));
    // Whether the send completed or not, the reader ends at the end of the stream.
    shutdown(client.fd, SHUT_WR);
    reader.join();
    EXPECT_TRUE(received == data);
}

TEST(SendAll, FailsWhenThePeerNeverReads) {
    testsupport::VirtualClock clock;
    Listener listener;
    Socket client;
    ASSERT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
    listener.Accept();
    std::vector<uint8_t> data(64 << 20);
    uint32_t start = platform::GetTickCount();
    EXPECT_FALSE(platform::SendAll(client.fd, data.data(), data.size(), 5000));
    EXPECT_GT(platform::GetTickCount() - start, 5000u);
}

TEST(SendAll, FailsOnAClosedConnectionWithoutASignal) {
    Listener listener;
    Socket client;
    ASSERT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
    close(listener.Accept());
    uint8_t byte = 1;
    bool sent = true;
    for (int i = 0; i < 100 && sent; ++i)  // the first sends may still be taken
        sent = platform::SendAll(client.fd, &byte, 1, 100);
    EXPECT_FALSE(sent);
}

TEST(PeerHasClosed, TellsAnOrderlyCloseFromSilence) {
    Listener listener;
    Socket client;
    ASSERT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
    int peer = listener.Accept();
    EXPECT_FALSE(platform::PeerHasClosed(client.fd));
    send(peer, "ab", 2, 0);
    ASSERT_TRUE(platform::WaitForSocket(client.fd, POLLIN, 5000));
    EXPECT_FALSE(platform::PeerHasClosed(client.fd));  // data waits: not closed yet
    int waiting = 0;
    EXPECT_TRUE(platform::BytesWaiting(client.fd, &waiting));
    EXPECT_EQ(waiting, 2);
    char buffer[8];
    EXPECT_EQ(platform::ReceiveSome(client.fd, buffer, sizeof buffer), 2);
    shutdown(peer, SHUT_WR);
    ASSERT_TRUE(platform::WaitForSocket(client.fd, POLLIN, 5000));
    EXPECT_TRUE(platform::PeerHasClosed(client.fd));
}

// A connected pair: the client under test and the peer that answers it.
struct ReplyPair {
    static constexpr uint32_t kLimitMs = 30000;
    static constexpr uint32_t kPollMs = 25;

    ReplyPair() {
        EXPECT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
        peer = listener.Accept();
    }
    void Send(const std::string& bytes) const {
        EXPECT_EQ(send(peer, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
    }
    platform::ReplyResult Receive(size_t room, const std::function<bool()>& keep_going = {}) {
        return platform::ReceiveReply(client.fd, reply, {room, kLimitMs, kPollMs}, CheckLine, keep_going);
    }
    // A line is a whole reply; a '!' makes one impossible.
    static int CheckLine(const std::string& bytes) {
        if (bytes.find('!') != std::string::npos) return -1;
        return !bytes.empty() && bytes.back() == '\n' ? 1 : 0;
    }

    Listener listener;
    Socket client;
    int peer = -1;
    std::string reply = "left from before";
};

TEST(ReceiveReply, EndsAsTheBytesAndThePeerSay) {
    struct Case {
        const char* what;
        std::string sent;
        bool close;
        size_t room;
        platform::ReplyResult result;
        std::string reply;
    };
    const Case cases[] = {
        {"whole", "ab\n", false, 16, platform::ReplyResult::kComplete, "ab\n"},
        {"exactly the room", "abc\n", false, 4, platform::ReplyResult::kComplete, "abc\n"},
        {"impossible", "a!b", false, 16, platform::ReplyResult::kRejected, "a!b"},
        {"closed before whole", "ab", true, 16, platform::ReplyResult::kPeerClosed, "ab"},
        {"closed at once", "", true, 16, platform::ReplyResult::kPeerClosed, ""},
        {"more than the room", "abcdef\n", false, 4, platform::ReplyResult::kOverflow, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReplyPair pair;
        if (!c.sent.empty()) pair.Send(c.sent);
        if (c.close) shutdown(pair.peer, SHUT_WR);
        ASSERT_TRUE(platform::WaitForSocket(pair.client.fd, POLLIN, 5000));
        EXPECT_EQ(pair.Receive(c.room), c.result);
        EXPECT_EQ(pair.reply, c.reply);
    }
}

TEST(ReceiveReply, GathersAReplyThatArrivesInPieces) {
    ReplyPair pair;
    pair.Send("ab");
    std::thread later([&pair] {
        // The rest goes once the receiver has taken the first piece.
        EXPECT_TRUE(testsupport::WaitUntil([&pair] { return BytesUnread(pair.client.fd) == 0; }));
        pair.Send("c\n");
    });
    EXPECT_EQ(pair.Receive(16), platform::ReplyResult::kComplete);
    later.join();
    EXPECT_EQ(pair.reply, "abc\n");
}

TEST(ReceiveReply, ASilentPeerTimesOutAtTheLimit) {
    testsupport::VirtualClock clock;
    ReplyPair pair;
    pair.Send("part");
    const uint32_t start = platform::GetTickCount();
    EXPECT_EQ(pair.Receive(16), platform::ReplyResult::kTimedOut);
    EXPECT_GE(platform::GetTickCount() - start, ReplyPair::kLimitMs);
    EXPECT_LE(platform::GetTickCount() - start, ReplyPair::kLimitMs + ReplyPair::kPollMs);
    EXPECT_EQ(pair.reply, "part");
}

TEST(ReceiveReply, StopsWhenAskedTo) {
    testsupport::VirtualClock clock;
    ReplyPair pair;
    pair.Send("ab");
    int looks = 0;
    EXPECT_EQ(pair.Receive(16, [&] { return ++looks < 3; }), platform::ReplyResult::kCancelled);
    EXPECT_EQ(looks, 3);
    EXPECT_EQ(pair.reply, "ab");
}

TEST(WaitForSocket, OnATestClockWaitsInTicks) {
    testsupport::VirtualClock clock;
    Listener listener;
    Socket client;
    ASSERT_EQ(platform::ConnectWithin(client.fd, listener.address(), 10000), platform::ConnectResult::kConnected);
    uint32_t start = platform::GetTickCount();
    EXPECT_FALSE(platform::WaitForSocket(client.fd, POLLIN, 60000));
    EXPECT_EQ(platform::GetTickCount() - start, 60000u);
}

TEST(SocketDatagrams, TravelBetweenTwoSockets) {
    int receiver = platform::OpenUdpSocket();
    int sender = platform::OpenUdpSocket();
    ASSERT_TRUE(platform::Bind(receiver, Loopback(0)));
    sockaddr_in at{};
    ASSERT_TRUE(platform::LocalAddress(receiver, &at));
    EXPECT_TRUE(platform::SetBroadcast(sender, true));
    EXPECT_EQ(platform::SendDatagram(sender, "12345678", 8, at), 8);
    ASSERT_TRUE(platform::WaitForSocket(receiver, POLLIN, 5000));
    char buffer[16];
    sockaddr_in from{};
    EXPECT_EQ(platform::ReceiveDatagram(receiver, buffer, sizeof buffer, &from), 8);
    EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(platform::ReceiveDatagram(receiver, buffer, sizeof buffer, &from), -1);  // nothing more
    platform::CloseSocket(receiver);
    platform::CloseSocket(sender);
}

TEST(Addresses, ListTheLoopbackInterfaceAndResolveLocalNames) {
    bool loopback = false;
    for (const auto& entry : platform::ListInterfaceAddresses())
        loopback |= entry.address == htonl(INADDR_LOOPBACK) && entry.mask == htonl(0xFF000000);
    EXPECT_TRUE(loopback);
    uint32_t address = 0;
    EXPECT_TRUE(platform::ResolveHost("127.0.0.1", &address));
    EXPECT_EQ(address, htonl(INADDR_LOOPBACK));
    EXPECT_FALSE(platform::ResolveHost("", &address));
    sockaddr_in made = platform::MakeAddress(htonl(0x0A000001), 4500);
    EXPECT_EQ(ntohs(made.sin_port), 4500);
    EXPECT_EQ(made.sin_family, AF_INET);
}

TEST(PlatformTicksSince, CountsOneLessAcrossTheWrap) {
    testsupport::VirtualClock clock(0xFFFFFFF0u);
    uint32_t stamp = platform::GetTickCount();
    clock.Advance(10);
    EXPECT_EQ(platform::TicksSince(stamp), 10u);
    clock.Advance(0x20);
    EXPECT_EQ(platform::TicksSince(stamp), 0x29u);
}

}  // namespace
