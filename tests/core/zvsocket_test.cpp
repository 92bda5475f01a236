#include "core/zvsocket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/messages/setupmessages.h"
#include "core/zvbytes.h"
#include "core/zvmsg.h"
#include "core/zvsock.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "platform/socket.h"
#include "support/fake_gateway.h"
#include "support/gateway_wire.h"
#include "support/loopback.h"
#include "support/search_responder.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace {

using testsupport::Bytes;
using testsupport::FakeGateway;
using testsupport::Frame;
using testsupport::PayloadWriter;

class TestOwner : public CSocketOwner {
public:
    void SetChanged() override { ++changed; }
    int IsRemoteMode() const override { return remote; }
    int DefaultClientType() const override { return 6; }
    std::string ClientId() const override { return "00-1A-2B-3C-4D-5E"; }
    int changed = 0;
    int remote = 0;
};

class Statuses : public CStatusSink {
public:
    void OnStatus(const std::string& text) override { lines.push_back(text); }
    int Continue() override { return ++asked < cancel_at ? 1 : 0; }
    std::vector<std::string> lines;
    int asked = 0;
    int cancel_at = 1 << 30;
};

// Every test gets a keep-alive port of its own and the default configuration back afterwards.
class SocketTest : public testing::Test {
protected:
    SocketTest() {
        ZVNetConfig config = m_saved;
        config.keepAlivePort = m_keepAlivePort.Port();
        SetNetConfig(config);
    }
    ~SocketTest() override { SetNetConfig(m_saved); }

    // Calls Receive until it answers `wanted` or 0 (or gives up after the wait limit).
    static int ReceiveUntil(CZVSocket& socket, int wanted) {
        int result = socket.Receive();
        testsupport::WaitUntil([&] { return result == wanted || result == 0; },
                               [&] {
                                   result = socket.Receive();
                                   return result != 1;
                               });
        return result;
    }

    // A socket connected to the gateway, preamble sent, no login.
    void ConnectPlain(CZVSocket& socket) {
        ASSERT_EQ(socket.Connect(m_gateway.Address(), 0, -1, 0, nullptr), 1);
        ASSERT_TRUE(m_gateway.WaitForClient());
    }

    testsupport::ReservedUdpPort m_keepAlivePort;
    ZVNetConfig m_saved = GetNetConfig();
    FakeGateway m_gateway;
    TestOwner m_owner;
};

// ---- connecting ----

struct LoginCase {
    ZVVariant variant;
    int client_type;
    int32_t revision;
    int32_t expected_type;
    const char* version;
    bool client_id;
};

class LocalLogin : public SocketTest, public testing::WithParamInterface<LoginCase> {};

TEST_P(LocalLogin, FollowsThePreambleByteForByte) {
    const LoginCase& c = GetParam();
    CZVSocket socket(c.variant, &m_owner);
    ASSERT_EQ(socket.Connect(m_gateway.Address(), 1, -1, c.client_type, nullptr), 1);
    Frame login;
    ASSERT_TRUE(m_gateway.WaitForRequest(testsupport::kLoginRequest, &login));
    EXPECT_TRUE(m_gateway.Errors().empty());  // the preamble came first, exactly
    EXPECT_EQ(login.sender, 0);
    PayloadWriter expected;
    expected.Int(c.revision).Int(c.expected_type).String(c.version).Int(16);
    const uint8_t zeros[16] = {};
    expected.Raw(zeros, 16).Int(2);
    if (c.client_id) expected.String("00-1A-2B-3C-4D-5E");
    EXPECT_EQ(login.payload, expected.Data());
    EXPECT_EQ(m_owner.changed, 1);
    EXPECT_EQ(socket.GetBytesSent(), 21 + 8 + expected.Data().size());
}

INSTANTIATE_TEST_SUITE_P(Variants, LocalLogin,
                         testing::Values(LoginCase{ZVVariant::Config, -1, 262, 0, "4.0 Build 1499.0 Rel", false},
                                         LoginCase{ZVVariant::Config, 3, 262, 3, "4.0 Build 1499.0 Rel", false},
                                         LoginCase{ZVVariant::Tablet, -1, 262, 6, "4.0 Build 1499.0 Rel", true},
                                         LoginCase{ZVVariant::Monitor, -1, 348, 0, "5.2 Build 738.0 Rel", false}));

TEST_F(SocketTest, APlainConnectSendsOnlyThePreambleAndLeavesTheOwnerAlone) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    EXPECT_TRUE(socket.IsConnected());
    EXPECT_EQ(socket.GetBytesSent(), 21u);
    EXPECT_EQ(m_owner.changed, 0);
    EXPECT_EQ(socket.Receive(), 1);  // nothing waiting
    socket.Disconnect();
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_EQ(m_owner.changed, 1);
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
    EXPECT_TRUE(m_gateway.WaitForDisconnect());
    EXPECT_TRUE(m_gateway.Errors().empty());
}

TEST_F(SocketTest, ARefusedConnectFailsWithoutWaitingForTheLimit) {
    testsupport::VirtualClock clock;
    testsupport::RefusingPort refusing;
    for (ZVVariant variant : {ZVVariant::Tablet, ZVVariant::Config, ZVVariant::Monitor}) {
        CZVSocket socket(variant, &m_owner);
        clock.Advance(5000);
        EXPECT_EQ(socket.Connect(refusing.Address(), 1, -1, 0, nullptr), 0);
        EXPECT_FALSE(socket.IsConnected());
        // The failed attempt counts for the manager's once-a-second retry.
        EXPECT_LT(platform::TicksSince(socket.LastAttemptTick()), 1000u);
    }
    EXPECT_LT(clock.TotalSlept(), 1000u);
    EXPECT_EQ(m_owner.changed, 0);
}

TEST_F(SocketTest, AConnectThatNobodyAnswersEndsAfterTenSeconds) {
    testsupport::VirtualClock clock;
    testsupport::StalledPort stalled;
    CZVSocket socket(ZVVariant::Tablet, &m_owner);  // bounded like the others
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(socket.Connect(stalled.Address(), 0, -1, 0, nullptr), 0);
    EXPECT_GE(platform::GetTickCount() - start, 10000u);
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(SocketTest, AStatusSinkCancelsAPendingConnect) {
    testsupport::VirtualClock clock;
    testsupport::StalledPort stalled;
    Statuses status;
    status.cancel_at = 3;
    CZVSocket socket(ZVVariant::Config, &m_owner);
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(socket.Connect(stalled.Address(), 1, -1, 0, &status), 0);
    EXPECT_EQ(status.asked, 3);
    EXPECT_LT(platform::GetTickCount() - start, 1000u);
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(SocketTest, AttachAdoptsAHandleAndConnectSendsThePreambleOnIt) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to = m_gateway.Address();
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    CZVSocket adopted(ZVVariant::Config, &m_owner);
    ASSERT_EQ(adopted.Connect(sockaddr_in{}, 0, fd, 0, nullptr), 1);
    EXPECT_EQ(adopted.GetHandle(), fd);
    ASSERT_TRUE(m_gateway.WaitForClient());
    ASSERT_TRUE(m_gateway.Push(0x100, {}));
    EXPECT_EQ(ReceiveUntil(adopted, 3), 3);
    adopted.Consume(adopted.NextMessage(), 8);
    EXPECT_TRUE(m_gateway.Errors().empty());

    CZVSocket attached(ZVVariant::Config, &m_owner);
    EXPECT_EQ(attached.Attach(adopted.GetHandle()), 1);
    EXPECT_TRUE(attached.IsConnected());
    EXPECT_EQ(adopted.Attach(-1), 1);  // forgets the handle without closing it
    EXPECT_FALSE(adopted.IsConnected());
    ASSERT_TRUE(m_gateway.Push(0x101, {}));
    EXPECT_EQ(ReceiveUntil(attached, 3), 3);
    EXPECT_EQ(attached.NextMessage()[2], 0x01);
}

// ---- receiving ----

TEST_F(SocketTest, TwoFramesInOneReadAreHandedOutInTurnFromTheStartOfTheBuffer) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    ASSERT_TRUE(m_gateway.PushFrames({{7, 0x200, {1, 2, 3, 4, 5}}, {0x7FFF, 0x300, {9, 9, 9, 9}}}));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    uint8_t* first = socket.NextMessage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first[2], 0x00);
    EXPECT_EQ(first[3], 0x02);
    EXPECT_EQ(first[4], 5);
    socket.Consume(first, 13);
    EXPECT_TRUE(socket.HasData());
    EXPECT_EQ(socket.Receive(), 3);  // without reading again
    uint8_t* second = socket.NextMessage();
    EXPECT_EQ(second, first);  // the next header moved down to offset 0
    EXPECT_EQ(second[0], 0xFF);
    EXPECT_EQ(second[1], 0x7F);
    EXPECT_EQ(second[8], 9);
    socket.Consume(second, 12);
    EXPECT_FALSE(socket.HasData());
    EXPECT_EQ(socket.Receive(), 1);
    EXPECT_EQ(socket.GetBytesReceived(), 25u);
}

TEST_F(SocketTest, AFrameSplitAcrossReadsIsReadyOnlyWhenWhole) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    Bytes frame = testsupport::EncodeFrame({3, 0x400, Bytes(20, 0xAB)});
    for (size_t cut : {size_t{3}, size_t{8}, size_t{19}}) {
        ASSERT_TRUE(m_gateway.PushBytes(Bytes(frame.begin(), frame.begin() + cut)));
        ASSERT_EQ(ReceiveUntil(socket, 2), 2);
        EXPECT_EQ(socket.Receive(), 1);  // a part is not a message
        EXPECT_EQ(socket.NextMessage(), nullptr);
        ASSERT_TRUE(m_gateway.PushBytes(Bytes(frame.begin() + cut, frame.end())));
        ASSERT_EQ(ReceiveUntil(socket, 3), 3);
        uint8_t* message = socket.NextMessage();
        ASSERT_NE(message, nullptr);
        EXPECT_EQ(Bytes(message, message + frame.size()), frame);
        socket.Consume(message, static_cast<int32_t>(frame.size()));
    }
}

struct LimitCase {
    ZVVariant variant;
    int32_t payload;
    bool accepted;
};

class FrameLimit : public SocketTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(FrameLimit, AFrameAsLargeAsTheBufferClosesTheConnection) {
    const LimitCase& c = GetParam();
    CZVSocket socket(c.variant, &m_owner);
    ConnectPlain(socket);
    Bytes header = testsupport::EncodeHeader(0x7FFF, 0x500, c.payload);
    if (!c.accepted) {
        ASSERT_TRUE(m_gateway.PushBytes(header));
        EXPECT_EQ(ReceiveUntil(socket, 3), 0);
        EXPECT_FALSE(socket.IsConnected());
        return;
    }
    Bytes frame = header;
    frame.resize(header.size() + static_cast<size_t>(c.payload), 0x5A);
    ASSERT_TRUE(m_gateway.PushBytes(frame));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    uint8_t* message = socket.NextMessage();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message[8 + c.payload - 1], 0x5A);
    EXPECT_EQ(socket.BufferSize(), c.payload + 9);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, FrameLimit,
    testing::Values(LimitCase{ZVVariant::Config, 499991, true}, LimitCase{ZVVariant::Config, 499992, false},
                    LimitCase{ZVVariant::Monitor, 499991, true}, LimitCase{ZVVariant::Monitor, 499992, false},
                    LimitCase{ZVVariant::Tablet, 999991, true}, LimitCase{ZVVariant::Tablet, 999992, false},
                    LimitCase{ZVVariant::Config, -1, false}, LimitCase{ZVVariant::Tablet, INT32_MAX, false}));

TEST_F(SocketTest, TheTrackerSeesEveryHeaderWithThePayloadSoFar) {
    struct Tracker : CMessageTracker {
        void OnTraffic(uint16_t id, uint16_t sender, int32_t received, int32_t length) override {
            seen.push_back({id, sender, received, length});
        }
        std::vector<std::array<int32_t, 4>> seen;
    } tracker;
    CZVSocket socket(ZVVariant::Config, &m_owner);
    socket.SetTracker(&tracker);
    ConnectPlain(socket);
    Bytes frame = testsupport::EncodeFrame({4, 0x600, Bytes(10, 1)});
    ASSERT_TRUE(m_gateway.PushBytes(Bytes(frame.begin(), frame.begin() + 12)));
    ASSERT_EQ(ReceiveUntil(socket, 2), 2);
    socket.Receive();
    ASSERT_TRUE(m_gateway.PushBytes(Bytes(frame.begin() + 12, frame.end())));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    ASSERT_GE(tracker.seen.size(), 2u);
    EXPECT_EQ(tracker.seen.front(), (std::array<int32_t, 4>{0x600, 4, 4, 10}));
    EXPECT_EQ(tracker.seen.back(), (std::array<int32_t, 4>{0x600, 4, 10, 10}));
}

TEST_F(SocketTest, AnOrderlyCloseByTheGatewayDisconnects) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ASSERT_EQ(socket.Connect(m_gateway.Address(), 1, -1, 0, nullptr), 1);
    ASSERT_TRUE(m_gateway.WaitForRequest(testsupport::kLoginRequest));
    EXPECT_EQ(ReceiveUntil(socket, 3), 3);  // the gateway's answer to the login
    socket.Consume(socket.NextMessage(), 8);
    m_gateway.Drop();
    EXPECT_EQ(ReceiveUntil(socket, 3), 0);
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
    EXPECT_EQ(m_owner.changed, 2);  // connected, then gone
}

TEST_F(SocketTest, FramesThatArrivedBeforeTheCloseAreStillHandedOut) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    ASSERT_TRUE(m_gateway.Push(0x700, {1, 2, 3, 4}));
    m_gateway.Drop();
    EXPECT_EQ(ReceiveUntil(socket, 3), 3);
    socket.Consume(socket.NextMessage(), 12);
    EXPECT_EQ(ReceiveUntil(socket, 3), 0);
}

TEST_F(SocketTest, AFrameBeingHandledSurvivesADisconnect) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    ASSERT_TRUE(m_gateway.Push(0x800, {10, 20, 30, 40}));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    uint8_t* frame = socket.NextMessage();
    socket.Disconnect();      // as when a sink's send fails while the frame is dispatched
    EXPECT_EQ(frame[8], 10);  // still readable
    EXPECT_EQ(frame[11], 40);
    socket.Consume(frame, 12);  // a consume after the disconnect changes nothing
    EXPECT_FALSE(socket.HasData());
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
}

TEST_F(SocketTest, AFrameFromBeforeAReconnectLeavesTheNewConnectionAlone) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    ASSERT_TRUE(m_gateway.Push(0x800, {10, 20, 30, 40}));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    uint8_t* frame = socket.NextMessage();
    // While the frame is handled, the connection drops and a new one is made.
    socket.Disconnect();
    ASSERT_TRUE(m_gateway.WaitForDisconnect());
    ConnectPlain(socket);
    socket.Consume(frame, 12);
    EXPECT_TRUE(socket.IsConnected());
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
    ASSERT_TRUE(m_gateway.Push(0x801, {}));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    EXPECT_EQ(socket.NextMessage()[2], 0x01);
}

TEST_F(SocketTest, TheMonitorWaitsForDataWithinItsPoll) {
    CZVSocket socket(ZVVariant::Monitor, &m_owner);
    ConnectPlain(socket);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_gateway.Push(0x900, {});
    });
    EXPECT_EQ(socket.Receive(5000), 2);
    late.join();
    EXPECT_EQ(socket.Receive(5000), 3);
}

// ---- sending ----

TEST_F(SocketTest, ASendLargerThanTheSocketTakesIsCompleted) {
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    m_gateway.PauseReading(true);
    std::thread resume([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        m_gateway.PauseReading(false);
    });
    const int kFrames = 24;
    for (int i = 0; i < kFrames; ++i) {
        Bytes frame = testsupport::EncodeFrame({1, static_cast<uint16_t>(0x1000 + i), Bytes(400000, uint8_t(i))});
        ASSERT_EQ(socket.SendRaw(static_cast<int32_t>(frame.size()), frame.data()), 1) << "frame " << i;
    }
    resume.join();
    for (int i = 0; i < kFrames; ++i) {
        Frame received;
        ASSERT_TRUE(m_gateway.WaitForRequest(static_cast<uint16_t>(0x1000 + i), &received));
        EXPECT_EQ(received.payload, Bytes(400000, uint8_t(i)));
    }
    EXPECT_TRUE(socket.IsConnected());
}

TEST_F(SocketTest, ASendThatNeverGetsRoomDisconnects) {
    testsupport::VirtualClock clock;
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ConnectPlain(socket);
    m_gateway.PauseReading(true);
    Bytes lots(64 << 20);
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(socket.SendRaw(static_cast<int32_t>(lots.size()), lots.data()), 0);
    EXPECT_GT(platform::GetTickCount() - start, 5000u);
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_EQ(socket.SendRaw(4, "abcd"), 0);
    m_gateway.PauseReading(false);
}

// ---- readiness, pump and the monitor's keep-alive ----

// A monitor socket connected (preamble only) to a loopback listener, with the accepted end in
// m_peer, on the test clock.
class LoopbackPair : public SocketTest {
protected:
    void SetUp() override {
        uint16_t port = 0;
        m_listener = testsupport::ListenOnLoopback(&port);
        ASSERT_GE(m_listener, 0);
        ASSERT_EQ(m_socket.Connect(testsupport::Loopback(port), 0, -1, 0, nullptr), 1);
        m_peer = accept(m_listener, nullptr, nullptr);
        ASSERT_GE(m_peer, 0);
        char preamble[21];
        ASSERT_EQ(recv(m_peer, preamble, sizeof preamble, MSG_WAITALL), 21);
    }
    void TearDown() override {
        close(m_peer);
        close(m_listener);
    }
    void PeerSends(const char* bytes) {
        ASSERT_EQ(send(m_peer, bytes, std::strlen(bytes), 0), static_cast<ssize_t>(std::strlen(bytes)));
        ASSERT_TRUE(testsupport::WaitUntil([this] { return IsReadableNow(m_socket.GetHandle()); }));
    }
    // Whether KeepAlive sent a ping (one bare frame header).
    bool Pinged(const std::function<int()>& keepAlive, int* result) {
        const uint64_t before = m_socket.GetBytesSent();
        *result = keepAlive();
        return m_socket.GetBytesSent() - before == static_cast<uint64_t>(CZVMSG::kHeaderSize);
    }

    testsupport::VirtualClock m_clock;
    CZVSocket m_socket{ZVVariant::Monitor, &m_owner};
    int m_listener = -1;
    int m_peer = -1;
};

TEST_F(LoopbackPair, ReadinessFollowsTheLine) {
    const int fd = m_socket.GetHandle();
    EXPECT_FALSE(IsReadableNow(fd));
    EXPECT_TRUE(IsWritableNow(fd));
    const uint32_t start = m_clock.TickCount();
    EXPECT_FALSE(IsReadable(fd, 50));
    EXPECT_EQ(m_clock.TickCount() - start, 50u);  // waited its time on the test clock
    EXPECT_TRUE(IsWritable(fd, 50));
    PeerSends("x");
    EXPECT_TRUE(IsReadableNow(fd));
    for (const auto& ask : {IsReadableNow, IsWritableNow}) EXPECT_FALSE(ask(-1));
    EXPECT_FALSE(IsReadable(-1, 1000));
    EXPECT_FALSE(IsWritable(-1, 1000));
    EXPECT_EQ(m_clock.TickCount() - start, 50u);  // a handle of -1 is not waited on
}

TEST_F(LoopbackPair, APingGoesOutWhenTheLineWasQuietBothWays) {
    const struct {
        uint32_t sinceReceive, sinceSend;
        bool ping;
    } cases[] = {{6000, 3000, true}, {6000, 1000, false}, {4000, 3000, false}};
    for (const auto& c : cases) {
        PeerSends("x");
        ASSERT_EQ(m_socket.Receive(), 2);
        m_clock.Advance(c.sinceReceive - c.sinceSend);
        ASSERT_EQ(m_socket.SendRaw(1, "y"), 1);
        m_clock.Advance(c.sinceSend);
        int result = -1;
        EXPECT_EQ(Pinged([this] { return m_socket.KeepAlive(); }, &result), c.ping) << c.sinceSend;
        EXPECT_EQ(result, 0);
        if (c.ping) {
            EXPECT_EQ(m_socket.LastSendTick(), m_clock.TickCount());
        }
    }
    // "y", the ping's bare header, "y", "y".
    char sent[3 + CZVMSG::kHeaderSize];
    ASSERT_EQ(recv(m_peer, sent, sizeof sent, MSG_WAITALL), static_cast<ssize_t>(sizeof sent));
    EXPECT_EQ(LoadLE<uint16_t>(reinterpret_cast<uint8_t*>(sent) + 1 + 2), ZVM_SESSION_PINGQ);
}

TEST_F(LoopbackPair, ASilentLineIsDeadAfterItsLimitUnlessDataWaits) {
    const struct {
        const char* what;
        int remote;
        bool dataWaits;
        int dead;
    } cases[] = {
        {"through the relay", 1, false, 0},
        {"on the local network", 0, false, 1},
        {"with data waiting", 0, true, 0},
    };
    for (const auto& c : cases) {
        m_owner.remote = c.remote;
        if (c.dataWaits) PeerSends("z");
        m_clock.Advance(15000);
        // Keep the ping quiet: something went out just now.
        ASSERT_EQ(m_socket.SendRaw(1, "y"), 1);
        EXPECT_EQ(m_socket.KeepAlive(), c.dead) << c.what;
        if (!c.dead) {
            EXPECT_EQ(platform::TicksSince(m_socket.LastReceiveTick()), c.dataWaits ? 0u : 15000u) << c.what;
        }
        while (m_socket.Receive() == 2) {
        }
        // The next case starts from a line that just spoke.
        PeerSends("w");
        ASSERT_EQ(m_socket.Receive(), 2);
    }
}

TEST_F(LoopbackPair, APingThatCannotGoOutEndsTheLine) {
    ASSERT_EQ(shutdown(m_socket.GetHandle(), SHUT_WR), 0);
    m_clock.Advance(6000);
    EXPECT_EQ(m_socket.KeepAlive(), 1);
    EXPECT_FALSE(m_socket.IsConnected());
    EXPECT_EQ(m_socket.FlushPending(), 0);
}

TEST_F(LoopbackPair, PumpTakesWhatWaitsAndNeedsALiveLine) {
    EXPECT_EQ(m_socket.FlushPending(), 1);
    PeerSends("abc");
    m_clock.Advance(100);
    const uint32_t start = m_clock.TickCount();
    EXPECT_TRUE(m_socket.Pump());
    EXPECT_EQ(m_socket.GetBytesReceived(), 3u);
    EXPECT_TRUE(m_socket.HasData());
    EXPECT_EQ(m_socket.LastReceiveTick(), start);
    EXPECT_EQ(m_socket.LastSendTick(), start + 25);  // after its pause

    close(m_peer);
    m_peer = -1;
    ASSERT_TRUE(testsupport::WaitUntil([this] { return IsReadableNow(m_socket.GetHandle()); }));
    EXPECT_FALSE(m_socket.Pump());
    EXPECT_FALSE(m_socket.IsConnected());
}

// ---- keep-alive ----

class KeepAlive : public SocketTest {
protected:
    void SetUp() override { ASSERT_EQ(m_socket.Connect(m_gateway.Address(), 1, -1, 0, nullptr), 1); }
    // A datagram on loopback may take a moment to land: waits for one (a few real seconds at
    // most) before reading what came.
    static void ReadArrived(CZVSocket& socket) {
        pollfd entry{socket.GetKeepAliveHandle(), POLLIN, 0};
        EXPECT_EQ(poll(&entry, 1, 5000), 1);
        socket.ReadKeepAlive();
    }
    void ReadArrived() { ReadArrived(m_socket); }

    testsupport::VirtualClock m_clock;
    CZVSocket m_socket{ZVVariant::Config, &m_owner};
    testsupport::KeepAliveSender m_sender{GetNetConfig().keepAlivePort};
};

TEST_F(KeepAlive, WithoutAnyDatagramTheConnectionIsNeverDropped) {
    m_clock.Advance(600000);
    m_socket.ReadKeepAlive();
    EXPECT_EQ(m_socket.CheckKeepAlive(), 0);
}

TEST_F(KeepAlive, FiresFiveSecondsAfterTheLastDatagram) {
    ASSERT_TRUE(m_sender.Send());
    ReadArrived();
    EXPECT_EQ(m_socket.MsSinceKeepAlive(), 0u);
    m_clock.Advance(4000);
    ASSERT_TRUE(m_sender.Send());
    ReadArrived();
    m_clock.Advance(5000);
    EXPECT_EQ(m_socket.CheckKeepAlive(), 0);
    m_clock.Advance(1);
    EXPECT_EQ(m_socket.CheckKeepAlive(), 1);
    m_owner.remote = 1;
    EXPECT_EQ(m_socket.CheckKeepAlive(), 0);
}

TEST_F(KeepAlive, DatagramsOfAnotherShapeDoNotCount) {
    ASSERT_TRUE(m_sender.Send());
    ReadArrived();
    m_clock.Advance(4000);
    Bytes wrong_type = PayloadWriter().Int(4);
    wrong_type.resize(24);
    ASSERT_TRUE(m_sender.SendRaw(wrong_type));
    ASSERT_TRUE(m_sender.SendRaw(PayloadWriter().Int(3)));  // too short
    ReadArrived();
    ReadArrived();
    EXPECT_EQ(m_socket.MsSinceKeepAlive(), 4000u);
}

TEST_F(KeepAlive, TheListenerClosesWithTheConnection) {
    ASSERT_TRUE(m_sender.Send());
    ReadArrived();
    m_socket.Disconnect();
    m_clock.Advance(60000);
    EXPECT_EQ(m_socket.CheckKeepAlive(), 0);
}

TEST_F(KeepAlive, ArriveSentToTheMachineOrAsABroadcast) {
    for (const char* address : {"127.0.0.1", "127.255.255.255"}) {
        m_clock.Advance(100);
        testsupport::KeepAliveSender sender(GetNetConfig().keepAlivePort, address);
        ASSERT_TRUE(sender.Send()) << address;
        ReadArrived();
        EXPECT_EQ(m_socket.MsSinceKeepAlive(), 0u) << address;
    }
}

TEST_F(KeepAlive, EveryListenerOnTheMachineGetsTheBroadcast) {
    CZVSocket other(ZVVariant::Tablet, &m_owner);
    ASSERT_EQ(other.OpenKeepAliveListener(), 1);
    m_clock.Advance(100);
    ASSERT_TRUE(testsupport::KeepAliveSender(GetNetConfig().keepAlivePort, "127.255.255.255").Send());
    ReadArrived(m_socket);
    ReadArrived(other);
    EXPECT_EQ(m_socket.MsSinceKeepAlive(), 0u);
    EXPECT_EQ(other.MsSinceKeepAlive(), 0u);
}

TEST_F(SocketTest, AListenerThatCannotOpenIsReportedOncePerOutage) {
    std::vector<std::string> traces;
    ASSERT_TRUE(platform::InstallReportHook([&traces](platform::ReportKind kind, const std::string& text) {
        if (kind == platform::ReportKind::Trace) traces.push_back(text);
    }));
    CZVSocket socket(ZVVariant::Config, &m_owner);
    m_keepAlivePort.Share(false);  // held by a program that does not share it
    EXPECT_EQ(socket.OpenKeepAliveListener(), 0);
    EXPECT_EQ(socket.OpenKeepAliveListener(), 0);
    EXPECT_EQ(traces.size(), 1u);
    EXPECT_THAT(traces, testing::Contains(testing::AllOf(testing::HasSubstr("keep-alive"),
                                                         testing::HasSubstr(std::to_string(m_keepAlivePort.Port())))));
    m_keepAlivePort.Share(true);
    EXPECT_EQ(socket.OpenKeepAliveListener(), 1);
    socket.CloseKeepAliveListener();
    m_keepAlivePort.Share(false);
    EXPECT_EQ(socket.OpenKeepAliveListener(), 0);
    EXPECT_EQ(traces.size(), 2u);
    platform::RemoveReportHook();
}

// ---- search ----

class Search : public SocketTest {
protected:
    Search() {
        ZVNetConfig config = GetNetConfig();
        config.broadcastAddress = htonl(INADDR_LOOPBACK);
        config.searchPort = m_responder.Port();
        SetNetConfig(config);
    }
    static testsupport::GatewayRecord Record(const char* address, uint8_t kind, uint8_t sub_kind, std::string name) {
        return {2, address, 4500, kind, sub_kind, std::move(name)};
    }
    testsupport::SearchResponder m_responder;
    Statuses m_status;
    sockaddr_in m_found{};
};

struct KindCase {
    ZVVariant variant;
    uint8_t kind;
    uint8_t sub_kind;
    bool accepted;
};

class SearchKinds : public Search, public testing::WithParamInterface<KindCase> {};

TEST_P(SearchKinds, AcceptOnlyTheVariantsKinds) {
    const KindCase& c = GetParam();
    // One datagram: the record under test first, then one that every variant accepts.
    m_responder.AddReply({Record("10.0.0.1", c.kind, c.sub_kind, "Pool"), Record("10.0.0.2", 1, 0, "Pool")});
    ASSERT_EQ(Discover("Pool", &m_status, &m_found, c.variant), 1);
    EXPECT_EQ(FormatSockAddr(m_found), c.accepted ? "10.0.0.1" : "10.0.0.2");
    EXPECT_EQ(ntohs(m_found.sin_port), 4500);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, SearchKinds,
    testing::Values(KindCase{ZVVariant::Config, 1, 0, true}, KindCase{ZVVariant::Config, 6, 0, true},
                    KindCase{ZVVariant::Config, 7, 0, true}, KindCase{ZVVariant::Config, 2, 12, true},
                    KindCase{ZVVariant::Config, 2, 11, false}, KindCase{ZVVariant::Config, 4, 0, false},
                    KindCase{ZVVariant::Config, 3, 0, false}, KindCase{ZVVariant::Monitor, 2, 11, false},
                    KindCase{ZVVariant::Tablet, 2, 11, true}, KindCase{ZVVariant::Tablet, 4, 0, true},
                    KindCase{ZVVariant::Tablet, 3, 0, false}, KindCase{ZVVariant::Tablet, 5, 0, false}));

TEST_F(Search, WalksSeveralRecordsAndReportsEachAcceptedOne) {
    testsupport::GatewayRecord not_an_answer = Record("10.0.0.9", 1, 0, "Pool");
    not_an_answer.type = 5;
    m_responder.AddReply({not_an_answer, Record("10.0.0.3", 1, 0, "Spa"), Record("10.0.0.4", 6, 0, "Pool")});
    ASSERT_EQ(Discover("Pool", &m_status, &m_found, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(m_found), "10.0.0.4");
    EXPECT_THAT(m_status.lines,
                testing::ElementsAre("Waiting for ping response.", "Ping From 10.0.0.3", "Ping From 10.0.0.4"));
}

TEST_F(Search, AnEmptyNameTakesTheFirstAcceptedGateway) {
    m_responder.AddReply({Record("10.0.0.3", 3, 0, "Other"), Record("10.0.0.5", 7, 0, "Spa")});
    m_responder.AddReply({Record("10.0.0.6", 1, 0, "Pool")});
    ASSERT_EQ(Discover("", &m_status, &m_found, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(m_found), "10.0.0.5");
}

TEST_F(Search, NamesCountUpToTwentySevenCharacters) {
    std::string name27(27, 'n');
    m_responder.AddReply({Record("10.0.0.7", 1, 0, name27 + "X")});  // 28 bytes, no terminator
    ASSERT_EQ(Discover(name27, &m_status, &m_found, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(m_found), "10.0.0.7");
}

TEST_F(Search, TheMonitorComparesNamesWithoutCaseAndSaysWhatItSkips) {
    m_responder.AddReply({Record("10.0.0.3", 1, 0, "Spa"), Record("10.0.0.8", 1, 0, "POOL")});
    ASSERT_EQ(Discover("Pool", &m_status, &m_found, ZVVariant::Monitor), 1);
    EXPECT_EQ(FormatSockAddr(m_found), "10.0.0.8");
    EXPECT_THAT(m_status.lines, testing::ElementsAre("Waiting for ping response.", "Ping From 10.0.0.3 Spa",
                                                     "Wrong System, Looking For: Pool", "Ping From 10.0.0.8 POOL"));
}

TEST_F(Search, EndsAfterASecondWithoutAMatch) {
    testsupport::VirtualClock clock;
    m_responder.AddReply({Record("10.0.0.8", 1, 0, "POOL")});  // the others compare with case
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(Discover("Pool", &m_status, &m_found, ZVVariant::Config), 0);
    EXPECT_GT(platform::GetTickCount() - start, 1000u);
    EXPECT_LT(platform::GetTickCount() - start, 1100u);
    EXPECT_EQ(m_responder.Requests(), 1);
    EXPECT_TRUE(m_responder.Errors().empty());
}

TEST_F(Search, ShortDatagramsDoNotHoldUpTheAnswersBehindThem) {
    m_responder.AddRawReply(Bytes{2, 0, 0});
    m_responder.AddReply({Record("10.0.0.4", 1, 0, "Pool")});
    ASSERT_EQ(Discover("Pool", &m_status, &m_found, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(m_found), "10.0.0.4");
}

TEST_F(Search, FailsWhenTheRequestCannotBeSent) {
    ZVNetConfig config = GetNetConfig();
    config.searchPort = 0;  // nothing can be sent there
    SetNetConfig(config);
    EXPECT_EQ(Discover("Pool", &m_status, &m_found, ZVVariant::Config), 0);
    EXPECT_THAT(m_status.lines, testing::ElementsAre("Error sending ping packet"));
}

TEST_F(Search, TheMonitorBroadcastsAtMostEveryHalfSecond) {
    m_responder.AddReply({Record("10.0.0.4", 1, 0, "Pool")});
    CZVSearch search(ZVVariant::Monitor);
    ASSERT_EQ(search.Run("Pool", &m_status, &m_found), 1);
    {
        testsupport::VirtualClock clock(platform::GetTickCount());
        EXPECT_EQ(search.Run("Pool", &m_status, &m_found), 0);  // no new request, so no answer
        EXPECT_EQ(m_responder.Requests(), 1);
        clock.Advance(500);
        ASSERT_EQ(search.Run("Pool", &m_status, &m_found), 1);
        EXPECT_EQ(m_responder.Requests(), 2);
    }
}

TEST_F(Search, DiscoverAndConnectLogsInToTheGatewayFound) {
    m_responder.AddReply({{2, "127.0.0.1", m_gateway.Port(), 1, 0, "Pool"}});
    CZVSocket socket(ZVVariant::Config, &m_owner);
    ASSERT_EQ(socket.DiscoverAndConnect("Pool", &m_status), 1);
    EXPECT_TRUE(m_gateway.WaitForRequest(testsupport::kLoginRequest));
    EXPECT_EQ(m_owner.changed, 1);
}

TEST_F(Search, DiscoverAndConnectMakesNoSearchInRemoteMode) {
    m_owner.remote = 1;
    CZVSocket socket(ZVVariant::Config, &m_owner);
    EXPECT_EQ(socket.DiscoverAndConnect("Pool", &m_status), 0);
    EXPECT_EQ(m_responder.Requests(), 0);
    EXPECT_FALSE(socket.IsConnected());
}

}  // namespace
