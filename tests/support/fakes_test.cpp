// The fakes are the oracle of every network test, so they get tests of their own: a plain
// POSIX client talks to them byte by byte.
#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "core/zvcode.h"
#include "fake_gateway.h"
#include "loopback.h"
#include "search_responder.h"
#include "wait.h"

namespace testsupport {
namespace {

// A blocking client with a receive time-out, so that a missing answer fails the test.
class Client {
public:
    explicit Client(const sockaddr_in& to) : m_fd(socket(AF_INET, SOCK_STREAM, 0)) {
        timeval limit{5, 0};
        setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        m_connected = connect(m_fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0;
    }
    ~Client() { close(m_fd); }
    bool connected() const { return m_connected; }

    void Send(const Bytes& bytes) {
        ASSERT_EQ(send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    void SendPreamble() { Send(Bytes(kPreamble, kPreamble + sizeof kPreamble - 1)); }
    void SendFrame(uint16_t sender, uint16_t id, const Bytes& payload = {}) {
        Send(EncodeFrame({sender, id, payload}));
    }

    // The next frame, or one with id 0xFFFF when none came or the stream broke.
    Frame Next() {
        Frame frame;
        while (!m_decoder.Next(&frame)) {
            uint8_t buffer[4096];
            ssize_t got = recv(m_fd, buffer, sizeof buffer, 0);
            if (got <= 0 || m_decoder.Broken()) return {0, 0xFFFF, {}};
            m_decoder.Feed(buffer, static_cast<size_t>(got));
        }
        return frame;
    }
    // Bytes of one read, to see how the gateway cut its writes.
    ssize_t ReadOnce(size_t size) {
        Bytes buffer(size);
        return recv(m_fd, buffer.data(), size, 0);
    }
    bool PeerClosed() {
        uint8_t byte;
        return recv(m_fd, &byte, 1, 0) == 0;
    }

private:
    int m_fd;
    bool m_connected = false;
    FrameDecoder m_decoder;
};

Bytes Login(std::string_view name, const std::array<uint8_t, 16>& response, std::optional<std::string> client_id = {}) {
    PayloadWriter writer;
    writer.Int(262).Int(3).String(name).Int(16).Raw(response.data(), 16).Int(2);
    if (client_id) writer.String(*client_id);
    return writer;
}

TEST(PayloadWriter, PadsStringsAndRawBlocksToFour) {
    Bytes abc = PayloadWriter().String("abc");
    EXPECT_EQ(abc, (Bytes{3, 0, 0, 0, 'a', 'b', 'c', 0}));
    Bytes four = PayloadWriter().String("abcd");
    EXPECT_EQ(four.size(), 8u);
    uint8_t five[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(Bytes(PayloadWriter().Raw(five, 5)), (Bytes{1, 2, 3, 4, 5, 0, 0, 0}));
    EXPECT_EQ(Bytes(PayloadWriter().Short(0x1234).Byte(7)), (Bytes{0x34, 0x12, 7}));
}

TEST(FrameDecoder, SplitsAStreamAndRefusesBadLengths) {
    Bytes stream = Join({EncodeFrame({1, 2, {9, 9, 9, 9, 9}}), EncodeFrame({0x7FFF, 4, {}})});
    FrameDecoder decoder;
    Frame frame;
    decoder.Feed(stream.data(), 10);
    EXPECT_FALSE(decoder.Next(&frame));
    decoder.Feed(stream.data() + 10, stream.size() - 10);
    ASSERT_TRUE(decoder.Next(&frame));
    EXPECT_EQ(frame.sender, 1);
    EXPECT_EQ(frame.id, 2);
    EXPECT_EQ(frame.payload.size(), 5u);
    ASSERT_TRUE(decoder.Next(&frame));
    EXPECT_EQ(frame.sender, 0x7FFF);
    EXPECT_FALSE(decoder.Next(&frame));

    Bytes bad = EncodeHeader(1, 2, -1);
    decoder.Feed(bad.data(), bad.size());
    EXPECT_FALSE(decoder.Next(&frame));
    EXPECT_TRUE(decoder.Broken());
}

struct LoginCase {
    const char* what;
    std::optional<std::string> password;
    bool reject_all;
    bool ask_challenge;
    std::string answer_with;  // the password the client uses; empty: 16 zero bytes
    uint16_t expected_answer;
};

class FakeGatewayLogin : public testing::TestWithParam<LoginCase> {};

TEST_P(FakeGatewayLogin, AnswersTheLoginAsConfigured) {
    const LoginCase& c = GetParam();
    FakeGateway::Options options;
    options.password = c.password;
    options.reject_logins = c.reject_all;
    FakeGateway gateway(options);
    Client client(gateway.Address());
    ASSERT_TRUE(client.connected());
    client.SendPreamble();
    if (c.ask_challenge) {
        client.SendFrame(9, kGetChallengeRequest);
        Frame challenge = client.Next();
        EXPECT_EQ(challenge.sender, 9);
        EXPECT_EQ(challenge.id, kGetChallengeAnswer);
        std::string text;
        EXPECT_TRUE(PayloadReader(challenge.payload).String(&text));
        EXPECT_EQ(text, options.challenge);
    }
    std::array<uint8_t, 16> response{};
    if (!c.answer_with.empty()) response = EncryptPasswordBlock(c.answer_with, options.challenge);
    client.SendFrame(12, kLoginRequest, Login("Local Config", response, "00-11-22-33-44-55"));
    Frame answer = client.Next();
    EXPECT_EQ(answer.sender, 12);
    EXPECT_EQ(answer.id, c.expected_answer);

    ASSERT_EQ(gateway.Logins().size(), 1u);
    LoginRecord login = gateway.Logins()[0];
    EXPECT_TRUE(login.well_formed);
    EXPECT_EQ(login.revision, 262);
    EXPECT_EQ(login.client_type, 3);
    EXPECT_EQ(login.client_name, "Local Config");
    EXPECT_EQ(login.trailer, 2);
    EXPECT_EQ(login.client_id, "00-11-22-33-44-55");
    EXPECT_EQ(login.after_challenge, c.ask_challenge);
    EXPECT_TRUE(gateway.Errors().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FakeGatewayLogin,
    testing::Values(LoginCase{"no password: any login", std::nullopt, false, true, "whatever", kLoginAnswer},
                    LoginCase{"right password", "secret", false, true, "secret", kLoginAnswer},
                    LoginCase{"wrong password", "secret", false, true, "Secret", kLoginRejected},
                    LoginCase{"local login needs none", "secret", false, false, "", kLoginAnswer},
                    LoginCase{"refusing gateway", std::nullopt, true, true, "secret", kLoginRejected}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name;
    });

TEST(FakeGateway, EndsAConnectionWithoutThePreamble) {
    FakeGateway gateway;
    Client client(gateway.Address());
    client.Send(Bytes(21, 'X'));
    EXPECT_TRUE(client.PeerClosed());
    EXPECT_TRUE(gateway.WaitForDisconnect());
    EXPECT_EQ(gateway.Errors(), std::vector<std::string>{"bad preamble"});
}

TEST(FakeGateway, AnswersFromItsScriptAndPushesNotifications) {
    FakeGateway gateway;
    gateway.Answer(0x3000, PayloadWriter().Int(42));
    gateway.On(0x3100, [](const Frame& request) {
        return std::vector<Frame>{{request.sender, 0x3101, {}}, {kEverySink, 0x3200, {}}};
    });
    Client client(gateway.Address());
    client.SendPreamble();
    client.SendFrame(5, 0x3000);
    Frame answer = client.Next();
    EXPECT_EQ(answer.sender, 5);
    EXPECT_EQ(answer.id, 0x3001);
    EXPECT_EQ(answer.payload, (Bytes{42, 0, 0, 0}));

    client.SendFrame(6, 0x3100);
    EXPECT_EQ(client.Next().id, 0x3101);
    EXPECT_EQ(client.Next().sender, kEverySink);

    client.SendFrame(7, 0x5555);  // not in the script: no answer
    Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(0x5555, &request));
    EXPECT_EQ(request.sender, 7);
    EXPECT_FALSE(gateway.WaitForRequest(0x5555, nullptr, 20));  // taken already

    ASSERT_TRUE(gateway.Push(0x4000, PayloadWriter().String("hi")));
    Frame pushed = client.Next();
    EXPECT_EQ(pushed.sender, kEverySink);
    EXPECT_EQ(pushed.id, 0x4000);
    EXPECT_EQ(gateway.Requests().size(), 3u);
}

// The requests of one id, picked from all received in order, with their payloads.
TEST(FakeGateway, PicksTheRequestsOfOneIdInOrder) {
    FakeGateway gateway;
    Client client(gateway.Address());
    client.SendPreamble();
    client.SendFrame(1, 0x3000, PayloadWriter().Int(1));
    client.SendFrame(2, 0x3100);
    client.SendFrame(3, 0x3000, PayloadWriter().Int(2));
    ASSERT_TRUE(gateway.WaitForRequest(0x3000));
    ASSERT_TRUE(gateway.WaitForRequest(0x3000));
    const std::vector<Frame> picked = gateway.RequestsOf(0x3000);
    ASSERT_EQ(picked.size(), 2u);
    EXPECT_EQ(picked[0].sender, 1);
    EXPECT_EQ(picked[1].sender, 3);
    EXPECT_EQ(gateway.PayloadsOf(0x3000), (std::vector<Bytes>{PayloadWriter().Int(1), PayloadWriter().Int(2)}));
    EXPECT_EQ(gateway.RequestsOf(0x3100).size(), 1u);
    EXPECT_TRUE(gateway.RequestsOf(0x3001).empty());
}

// A request that two modules serve by its fields: both handlers see it, and the answers of
// both go out, the first handler's first.
TEST(FakeGateway, AnAddedHandlerAnswersAfterTheOneBefore) {
    FakeGateway gateway;
    gateway.On(0x3100, [](const Frame& request) { return std::vector<Frame>{{request.sender, 0x3101, {}}}; });
    gateway.Engine().AlsoOn(0x3100, [](const Frame& request) {
        return std::vector<Frame>{{request.sender, 0x3102, {}}};
    });
    gateway.Engine().AlsoOn(0x3300, [](const Frame&) { return std::vector<Frame>{{kEverySink, 0x3301, {}}}; });
    Client client(gateway.Address());
    client.SendPreamble();
    client.SendFrame(5, 0x3100);
    EXPECT_EQ(client.Next().id, 0x3101);
    EXPECT_EQ(client.Next().id, 0x3102);
    client.SendFrame(5, 0x3300);  // nothing before it: the added handler alone
    EXPECT_EQ(client.Next().id, 0x3301);
}

TEST(FakeGateway, CoalescesAndSplitsOnRequest) {
    FakeGateway gateway;
    Client client(gateway.Address());
    client.SendPreamble();
    ASSERT_TRUE(gateway.WaitForClient());
    ASSERT_TRUE(gateway.PushFrames({{1, 2, Bytes(4)}, {1, 3, Bytes(4)}}));
    EXPECT_EQ(client.ReadOnce(100), 24);  // both frames in one read

    gateway.SplitAnswers(5);
    gateway.Answer(0x10, Bytes(12));
    client.SendFrame(1, 0x10);
    Frame answer = client.Next();  // the pieces make up the frame again
    EXPECT_EQ(answer.sender, 1);
    EXPECT_EQ(answer.id, 0x11);
    EXPECT_EQ(answer.payload, Bytes(12));
}

TEST(FakeGateway, DropsOnCueAndAcceptsTheNextClient) {
    FakeGateway gateway;
    gateway.DropOn(0x2222);
    {
        Client client(gateway.Address());
        client.SendPreamble();
        client.SendFrame(1, 0x2222);
        EXPECT_TRUE(client.PeerClosed());
    }
    ASSERT_TRUE(gateway.WaitForDisconnect());
    Client second(gateway.Address());
    second.SendPreamble();
    ASSERT_TRUE(gateway.WaitForClient());
    gateway.Drop();
    EXPECT_TRUE(second.PeerClosed());
    EXPECT_EQ(gateway.Connections(), 2);
    EXPECT_FALSE(gateway.Push(1, {}));
}

TEST(SearchResponder, AnswersEachRequestWithItsReplies) {
    SearchResponder responder;
    responder.AddReply({{2, "10.1.2.3", 0x1234, 6, 0, std::string(28, 'N')}, {7, "1.2.3.4", 1, 1, 0, "x"}});
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    timeval limit{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in to = Loopback(responder.Port());
    Bytes request = PayloadWriter().Int(1).Int(0);
    sendto(fd, request.data(), 3, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);  // malformed
    sendto(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    uint8_t reply[600];
    ASSERT_EQ(recv(fd, reply, sizeof reply, 0), 80);
    EXPECT_EQ(reply[0], 2);
    EXPECT_EQ(Bytes(reply + 4, reply + 8), (Bytes{10, 1, 2, 3}));
    EXPECT_EQ(reply[8], 0x34);  // port little-endian
    EXPECT_EQ(reply[9], 0x12);
    EXPECT_EQ(reply[10], 6);
    EXPECT_EQ(reply[39], 'N');  // all 28 name bytes, as given
    EXPECT_EQ(reply[40], 7);
    EXPECT_EQ(responder.Requests(), 1);
    EXPECT_EQ(responder.Errors().size(), 1u);
    close(fd);
}

TEST(KeepAliveSender, SendsTwentyFourBytesStartingWithThree) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in at = Loopback(0);
    bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at);
    socklen_t length = sizeof at;
    getsockname(fd, reinterpret_cast<sockaddr*>(&at), &length);
    KeepAliveSender sender(PortOf(at));
    ASSERT_TRUE(sender.Send());
    uint8_t datagram[64];
    ASSERT_EQ(recv(fd, datagram, sizeof datagram, 0), 24);
    EXPECT_EQ(Bytes(datagram, datagram + 4), (Bytes{3, 0, 0, 0}));
    close(fd);
}

// A UDP socket bound to every address at the port, sharing it or not; -1 when the bind fails.
int BindUdp(uint16_t port, bool share) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const int on = share;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in any = Loopback(port);
    any.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&any), sizeof any) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

TEST(LoopbackPorts, AReservedUdpPortIsKeptFromOthersAndSharedWithTheTest) {
    ReservedUdpPort reserved;
    ASSERT_NE(reserved.Port(), 0);
    EXPECT_EQ(BindUdp(reserved.Port(), false), -1);
    const int shared = BindUdp(reserved.Port(), true);
    ASSERT_NE(shared, -1);
    KeepAliveSender sender(reserved.Port());
    ASSERT_TRUE(sender.Send());
    pollfd entry{shared, POLLIN, 0};
    ASSERT_EQ(poll(&entry, 1, 5000), 1);
    uint8_t datagram[64];
    EXPECT_EQ(recv(shared, datagram, sizeof datagram, 0), 24);
    close(shared);

    reserved.Share(false);
    EXPECT_EQ(BindUdp(reserved.Port(), true), -1);
}

TEST(LoopbackPorts, RefuseOrStallConnections) {
    RefusingPort refusing;
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to = refusing.Address();
    EXPECT_NE(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    EXPECT_EQ(errno, ECONNREFUSED);
    close(fd);

    StalledPort stalled;
    fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    to = stalled.Address();
    connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to);
    pollfd entry{fd, POLLOUT, 0};
    EXPECT_EQ(poll(&entry, 1, 50), 0);
    close(fd);
}

TEST(WaitUntil, RunsTheStepUntilTheConditionHoldsAndGivesUpAtTheLimit) {
    int steps = 0;
    EXPECT_TRUE(WaitUntil([&] { return steps == 3; }, [&] { return ++steps > 0; }));
    EXPECT_EQ(steps, 3);
    EXPECT_FALSE(WaitUntil([] { return false; }, {}, std::chrono::milliseconds(20)));
}

}  // namespace
}  // namespace testsupport
