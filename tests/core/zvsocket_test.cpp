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
        ZVNetConfig config = saved_;
        config.keepAlivePort = keepAlivePort_.Port();
        SetNetConfig(config);
    }
    ~SocketTest() override { SetNetConfig(saved_); }

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
        ASSERT_EQ(socket.Connect(gateway_.Address(), 0, -1, 0, nullptr), 1);
        ASSERT_TRUE(gateway_.WaitForClient());
    }

    testsupport::ReservedUdpPort keepAlivePort_;
    ZVNetConfig saved_ = GetNetConfig();
    FakeGateway gateway_;
    TestOwner owner_;
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
    CZVSocket socket(c.variant, &owner_);
    ASSERT_EQ(socket.Connect(gateway_.Address(), 1, -1, c.client_type, nullptr), 1);
    Frame login;
    ASSERT_TRUE(gateway_.WaitForRequest(testsupport::kLoginRequest, &login));
    EXPECT_TRUE(gateway_.Errors().empty());  // the preamble came first, exactly
    EXPECT_EQ(login.sender, 0);
    PayloadWriter expected;
    expected.Int(c.revision).Int(c.expected_type).String(c.version).Int(16);
    const uint8_t zeros[16] = {};
    expected.Raw(zeros, 16).Int(2);
    if (c.client_id) expected.String("00-1A-2B-3C-4D-5E");
    EXPECT_EQ(login.payload, expected.Data());
    EXPECT_EQ(owner_.changed, 1);
    EXPECT_EQ(socket.GetBytesSent(), 21 + 8 + expected.Data().size());
}

INSTANTIATE_TEST_SUITE_P(Variants, LocalLogin,
                         testing::Values(LoginCase{ZVVariant::Config, -1, 262, 0, "4.0 Build 1499.0 Rel", false},
                                         LoginCase{ZVVariant::Config, 3, 262, 3, "4.0 Build 1499.0 Rel", false},
                                         LoginCase{ZVVariant::Tablet, -1, 262, 6, "4.0 Build 1499.0 Rel", true},
                                         LoginCase{ZVVariant::Monitor, -1, 348, 0, "5.2 Build 738.0 Rel", false}));

TEST_F(SocketTest, APlainConnectSendsOnlyThePreambleAndLeavesTheOwnerAlone) {
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    EXPECT_TRUE(socket.IsConnected());
    EXPECT_EQ(socket.GetBytesSent(), 21u);
    EXPECT_EQ(owner_.changed, 0);
    EXPECT_EQ(socket.Receive(), 1);  // nothing waiting
    socket.Disconnect();
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_EQ(owner_.changed, 1);
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
    EXPECT_TRUE(gateway_.WaitForDisconnect());
    EXPECT_TRUE(gateway_.Errors().empty());
}

TEST_F(SocketTest, ARefusedConnectFailsWithoutWaitingForTheLimit) {
    testsupport::VirtualClock clock;
    testsupport::RefusingPort refusing;
    for (ZVVariant variant : {ZVVariant::Tablet, ZVVariant::Config, ZVVariant::Monitor}) {
        CZVSocket socket(variant, &owner_);
        clock.Advance(5000);
        EXPECT_EQ(socket.Connect(refusing.Address(), 1, -1, 0, nullptr), 0);
        EXPECT_FALSE(socket.IsConnected());
        // The failed attempt counts for the manager's once-a-second retry.
        EXPECT_LT(platform::TicksSince(socket.LastAttemptTick()), 1000u);
    }
    EXPECT_LT(clock.TotalSlept(), 1000u);
    EXPECT_EQ(owner_.changed, 0);
}

TEST_F(SocketTest, AConnectThatNobodyAnswersEndsAfterTenSeconds) {
    testsupport::VirtualClock clock;
    testsupport::StalledPort stalled;
    CZVSocket socket(ZVVariant::Tablet, &owner_);  // bounded like the others
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
    CZVSocket socket(ZVVariant::Config, &owner_);
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(socket.Connect(stalled.Address(), 1, -1, 0, &status), 0);
    EXPECT_EQ(status.asked, 3);
    EXPECT_LT(platform::GetTickCount() - start, 1000u);
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(SocketTest, AttachAdoptsAHandleAndConnectSendsThePreambleOnIt) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to = gateway_.Address();
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    CZVSocket adopted(ZVVariant::Config, &owner_);
    ASSERT_EQ(adopted.Connect(sockaddr_in{}, 0, fd, 0, nullptr), 1);
    EXPECT_EQ(adopted.GetHandle(), fd);
    ASSERT_TRUE(gateway_.WaitForClient());
    ASSERT_TRUE(gateway_.Push(0x100, {}));
    EXPECT_EQ(ReceiveUntil(adopted, 3), 3);
    adopted.Consume(adopted.NextMessage(), 8);
    EXPECT_TRUE(gateway_.Errors().empty());

    CZVSocket attached(ZVVariant::Config, &owner_);
    EXPECT_EQ(attached.Attach(adopted.GetHandle()), 1);
    EXPECT_TRUE(attached.IsConnected());
    EXPECT_EQ(adopted.Attach(-1), 1);  // forgets the handle without closing it
    EXPECT_FALSE(adopted.IsConnected());
    ASSERT_TRUE(gateway_.Push(0x101, {}));
    EXPECT_EQ(ReceiveUntil(attached, 3), 3);
    EXPECT_EQ(attached.NextMessage()[2], 0x01);
}

// ---- receiving ----

TEST_F(SocketTest, TwoFramesInOneReadAreHandedOutInTurnFromTheStartOfTheBuffer) {
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    ASSERT_TRUE(gateway_.PushFrames({{7, 0x200, {1, 2, 3, 4, 5}}, {0x7FFF, 0x300, {9, 9, 9, 9}}}));
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
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    Bytes frame = testsupport::EncodeFrame({3, 0x400, Bytes(20, 0xAB)});
    for (size_t cut : {size_t{3}, size_t{8}, size_t{19}}) {
        ASSERT_TRUE(gateway_.PushBytes(Bytes(frame.begin(), frame.begin() + cut)));
        ASSERT_EQ(ReceiveUntil(socket, 2), 2);
        EXPECT_EQ(socket.Receive(), 1);  // a part is not a message
        EXPECT_EQ(socket.NextMessage(), nullptr);
        ASSERT_TRUE(gateway_.PushBytes(Bytes(frame.begin() + cut, frame.end())));
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
    CZVSocket socket(c.variant, &owner_);
    ConnectPlain(socket);
    Bytes header = testsupport::EncodeHeader(0x7FFF, 0x500, c.payload);
    if (!c.accepted) {
        ASSERT_TRUE(gateway_.PushBytes(header));
        EXPECT_EQ(ReceiveUntil(socket, 3), 0);
        EXPECT_FALSE(socket.IsConnected());
        return;
    }
    Bytes frame = header;
    frame.resize(header.size() + static_cast<size_t>(c.payload), 0x5A);
    ASSERT_TRUE(gateway_.PushBytes(frame));
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
    CZVSocket socket(ZVVariant::Config, &owner_);
    socket.SetTracker(&tracker);
    ConnectPlain(socket);
    Bytes frame = testsupport::EncodeFrame({4, 0x600, Bytes(10, 1)});
    ASSERT_TRUE(gateway_.PushBytes(Bytes(frame.begin(), frame.begin() + 12)));
    ASSERT_EQ(ReceiveUntil(socket, 2), 2);
    socket.Receive();
    ASSERT_TRUE(gateway_.PushBytes(Bytes(frame.begin() + 12, frame.end())));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    ASSERT_GE(tracker.seen.size(), 2u);
    EXPECT_EQ(tracker.seen.front(), (std::array<int32_t, 4>{0x600, 4, 4, 10}));
    EXPECT_EQ(tracker.seen.back(), (std::array<int32_t, 4>{0x600, 4, 10, 10}));
}

TEST_F(SocketTest, AnOrderlyCloseByTheGatewayDisconnects) {
    CZVSocket socket(ZVVariant::Config, &owner_);
    ASSERT_EQ(socket.Connect(gateway_.Address(), 1, -1, 0, nullptr), 1);
    ASSERT_TRUE(gateway_.WaitForRequest(testsupport::kLoginRequest));
    EXPECT_EQ(ReceiveUntil(socket, 3), 3);  // the gateway's answer to the login
    socket.Consume(socket.NextMessage(), 8);
    gateway_.Drop();
    EXPECT_EQ(ReceiveUntil(socket, 3), 0);
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
    EXPECT_EQ(owner_.changed, 2);  // connected, then gone
}

TEST_F(SocketTest, FramesThatArrivedBeforeTheCloseAreStillHandedOut) {
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    ASSERT_TRUE(gateway_.Push(0x700, {1, 2, 3, 4}));
    gateway_.Drop();
    EXPECT_EQ(ReceiveUntil(socket, 3), 3);
    socket.Consume(socket.NextMessage(), 12);
    EXPECT_EQ(ReceiveUntil(socket, 3), 0);
}

TEST_F(SocketTest, AFrameBeingHandledSurvivesADisconnect) {
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    ASSERT_TRUE(gateway_.Push(0x800, {10, 20, 30, 40}));
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
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    ASSERT_TRUE(gateway_.Push(0x800, {10, 20, 30, 40}));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    uint8_t* frame = socket.NextMessage();
    // While the frame is handled, the connection drops and a new one is made.
    socket.Disconnect();
    ASSERT_TRUE(gateway_.WaitForDisconnect());
    ConnectPlain(socket);
    socket.Consume(frame, 12);
    EXPECT_TRUE(socket.IsConnected());
    EXPECT_EQ(socket.GetDisconnectCount(), 1);
    ASSERT_TRUE(gateway_.Push(0x801, {}));
    ASSERT_EQ(ReceiveUntil(socket, 3), 3);
    EXPECT_EQ(socket.NextMessage()[2], 0x01);
}

TEST_F(SocketTest, TheMonitorWaitsForDataWithinItsPoll) {
    CZVSocket socket(ZVVariant::Monitor, &owner_);
    ConnectPlain(socket);
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        gateway_.Push(0x900, {});
    });
    EXPECT_EQ(socket.Receive(5000), 2);
    late.join();
    EXPECT_EQ(socket.Receive(5000), 3);
}

// ---- sending ----

TEST_F(SocketTest, ASendLargerThanTheSocketTakesIsCompleted) {
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    gateway_.PauseReading(true);
    std::thread resume([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gateway_.PauseReading(false);
    });
    const int kFrames = 24;
    for (int i = 0; i < kFrames; ++i) {
        Bytes frame = testsupport::EncodeFrame({1, static_cast<uint16_t>(0x1000 + i), Bytes(400000, uint8_t(i))});
        ASSERT_EQ(socket.SendRaw(static_cast<int32_t>(frame.size()), frame.data()), 1) << "frame " << i;
    }
    resume.join();
    for (int i = 0; i < kFrames; ++i) {
        Frame received;
        ASSERT_TRUE(gateway_.WaitForRequest(static_cast<uint16_t>(0x1000 + i), &received));
        EXPECT_EQ(received.payload, Bytes(400000, uint8_t(i)));
    }
    EXPECT_TRUE(socket.IsConnected());
}

TEST_F(SocketTest, ASendThatNeverGetsRoomDisconnects) {
    testsupport::VirtualClock clock;
    CZVSocket socket(ZVVariant::Config, &owner_);
    ConnectPlain(socket);
    gateway_.PauseReading(true);
    Bytes lots(64 << 20);
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(socket.SendRaw(static_cast<int32_t>(lots.size()), lots.data()), 0);
    EXPECT_GT(platform::GetTickCount() - start, 5000u);
    EXPECT_FALSE(socket.IsConnected());
    EXPECT_EQ(socket.SendRaw(4, "abcd"), 0);
    gateway_.PauseReading(false);
}

// ---- readiness, pump and the monitor's keep-alive ----

// A monitor socket connected (preamble only) to a loopback listener, with the accepted end in
// peer_, on the test clock.
class LoopbackPair : public SocketTest {
protected:
    void SetUp() override {
        uint16_t port = 0;
        listener_ = testsupport::ListenOnLoopback(&port);
        ASSERT_GE(listener_, 0);
        ASSERT_EQ(socket_.Connect(testsupport::Loopback(port), 0, -1, 0, nullptr), 1);
        peer_ = accept(listener_, nullptr, nullptr);
        ASSERT_GE(peer_, 0);
        char preamble[21];
        ASSERT_EQ(recv(peer_, preamble, sizeof preamble, MSG_WAITALL), 21);
    }
    void TearDown() override {
        close(peer_);
        close(listener_);
    }
    void PeerSends(const char* bytes) {
        ASSERT_EQ(send(peer_, bytes, std::strlen(bytes), 0), static_cast<ssize_t>(std::strlen(bytes)));
        ASSERT_TRUE(testsupport::WaitUntil([this] { return IsReadableNow(socket_.GetHandle()); }));
    }
    // Whether KeepAlive sent a ping (one bare frame header).
    bool Pinged(const std::function<int()>& keepAlive, int* result) {
        const uint64_t before = socket_.GetBytesSent();
        *result = keepAlive();
        return socket_.GetBytesSent() - before == static_cast<uint64_t>(CZVMSG::kHeaderSize);
    }

    testsupport::VirtualClock clock_;
    CZVSocket socket_{ZVVariant::Monitor, &owner_};
    int listener_ = -1;
    int peer_ = -1;
};

TEST_F(LoopbackPair, ReadinessFollowsTheLine) {
    const int fd = socket_.GetHandle();
    EXPECT_FALSE(IsReadableNow(fd));
    EXPECT_TRUE(IsWritableNow(fd));
    const uint32_t start = clock_.TickCount();
    EXPECT_FALSE(IsReadable(fd, 50));
    EXPECT_EQ(clock_.TickCount() - start, 50u);  // waited its time on the test clock
    EXPECT_TRUE(IsWritable(fd, 50));
    PeerSends("x");
    EXPECT_TRUE(IsReadableNow(fd));
    for (const auto& ask : {IsReadableNow, IsWritableNow}) EXPECT_FALSE(ask(-1));
    EXPECT_FALSE(IsReadable(-1, 1000));
    EXPECT_FALSE(IsWritable(-1, 1000));
    EXPECT_EQ(clock_.TickCount() - start, 50u);  // a handle of -1 is not waited on
}

TEST_F(LoopbackPair, APingGoesOutWhenTheLineWasQuietBothWays) {
    const struct {
        uint32_t sinceReceive, sinceSend;
        bool ping;
    } cases[] = {{6000, 3000, true}, {6000, 1000, false}, {4000, 3000, false}};
    for (const auto& c : cases) {
        PeerSends("x");
        ASSERT_EQ(socket_.Receive(), 2);
        clock_.Advance(c.sinceReceive - c.sinceSend);
        ASSERT_EQ(socket_.SendRaw(1, "y"), 1);
        clock_.Advance(c.sinceSend);
        int result = -1;
        EXPECT_EQ(Pinged([this] { return socket_.KeepAlive(); }, &result), c.ping) << c.sinceSend;
        EXPECT_EQ(result, 0);
        if (c.ping) {
            EXPECT_EQ(socket_.LastSendTick(), clock_.TickCount());
        }
    }
    // "y", the ping's bare header, "y", "y".
    char sent[3 + CZVMSG::kHeaderSize];
    ASSERT_EQ(recv(peer_, sent, sizeof sent, MSG_WAITALL), static_cast<ssize_t>(sizeof sent));
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
        owner_.remote = c.remote;
        if (c.dataWaits) PeerSends("z");
        clock_.Advance(15000);
        // Keep the ping quiet: something went out just now.
        ASSERT_EQ(socket_.SendRaw(1, "y"), 1);
        EXPECT_EQ(socket_.KeepAlive(), c.dead) << c.what;
        if (!c.dead) {
            EXPECT_EQ(platform::TicksSince(socket_.LastReceiveTick()), c.dataWaits ? 0u : 15000u) << c.what;
        }
        while (socket_.Receive() == 2) {
        }
        // The next case starts from a line that just spoke.
        PeerSends("w");
        ASSERT_EQ(socket_.Receive(), 2);
    }
}

TEST_F(LoopbackPair, APingThatCannotGoOutEndsTheLine) {
    ASSERT_EQ(shutdown(socket_.GetHandle(), SHUT_WR), 0);
    clock_.Advance(6000);
    EXPECT_EQ(socket_.KeepAlive(), 1);
    EXPECT_FALSE(socket_.IsConnected());
    EXPECT_EQ(socket_.FlushPending(), 0);
}

TEST_F(LoopbackPair, PumpTakesWhatWaitsAndNeedsALiveLine) {
    EXPECT_EQ(socket_.FlushPending(), 1);
    PeerSends("abc");
    clock_.Advance(100);
    const uint32_t start = clock_.TickCount();
    EXPECT_TRUE(socket_.Pump());
    EXPECT_EQ(socket_.GetBytesReceived(), 3u);
    EXPECT_TRUE(socket_.HasData());
    EXPECT_EQ(socket_.LastReceiveTick(), start);
    EXPECT_EQ(socket_.LastSendTick(), start + 25);  // after its pause

    close(peer_);
    peer_ = -1;
    ASSERT_TRUE(testsupport::WaitUntil([this] { return IsReadableNow(socket_.GetHandle()); }));
    EXPECT_FALSE(socket_.Pump());
    EXPECT_FALSE(socket_.IsConnected());
}

// ---- keep-alive ----

class KeepAlive : public SocketTest {
protected:
    void SetUp() override { ASSERT_EQ(socket_.Connect(gateway_.Address(), 1, -1, 0, nullptr), 1); }
    // A datagram on loopback may take a moment to land: waits for one (a few real seconds at
    // most) before reading what came.
    static void ReadArrived(CZVSocket& socket) {
        pollfd entry{socket.GetKeepAliveHandle(), POLLIN, 0};
        EXPECT_EQ(poll(&entry, 1, 5000), 1);
        socket.ReadKeepAlive();
    }
    void ReadArrived() { ReadArrived(socket_); }

    testsupport::VirtualClock clock_;
    CZVSocket socket_{ZVVariant::Config, &owner_};
    testsupport::KeepAliveSender sender_{GetNetConfig().keepAlivePort};
};

TEST_F(KeepAlive, WithoutAnyDatagramTheConnectionIsNeverDropped) {
    clock_.Advance(600000);
    socket_.ReadKeepAlive();
    EXPECT_EQ(socket_.CheckKeepAlive(), 0);
}

TEST_F(KeepAlive, FiresFiveSecondsAfterTheLastDatagram) {
    ASSERT_TRUE(sender_.Send());
    ReadArrived();
    EXPECT_EQ(socket_.MsSinceKeepAlive(), 0u);
    clock_.Advance(4000);
    ASSERT_TRUE(sender_.Send());
    ReadArrived();
    clock_.Advance(5000);
    EXPECT_EQ(socket_.CheckKeepAlive(), 0);
    clock_.Advance(1);
    EXPECT_EQ(socket_.CheckKeepAlive(), 1);
    owner_.remote = 1;
    EXPECT_EQ(socket_.CheckKeepAlive(), 0);
}

TEST_F(KeepAlive, DatagramsOfAnotherShapeDoNotCount) {
    ASSERT_TRUE(sender_.Send());
    ReadArrived();
    clock_.Advance(4000);
    Bytes wrong_type = PayloadWriter().Int(4);
    wrong_type.resize(24);
    ASSERT_TRUE(sender_.SendRaw(wrong_type));
    ASSERT_TRUE(sender_.SendRaw(PayloadWriter().Int(3)));  // too short
    ReadArrived();
    ReadArrived();
    EXPECT_EQ(socket_.MsSinceKeepAlive(), 4000u);
}

TEST_F(KeepAlive, TheListenerClosesWithTheConnection) {
    ASSERT_TRUE(sender_.Send());
    ReadArrived();
    socket_.Disconnect();
    clock_.Advance(60000);
    EXPECT_EQ(socket_.CheckKeepAlive(), 0);
}

TEST_F(KeepAlive, ArriveSentToTheMachineOrAsABroadcast) {
    for (const char* address : {"127.0.0.1", "127.255.255.255"}) {
        clock_.Advance(100);
        testsupport::KeepAliveSender sender(GetNetConfig().keepAlivePort, address);
        ASSERT_TRUE(sender.Send()) << address;
        ReadArrived();
        EXPECT_EQ(socket_.MsSinceKeepAlive(), 0u) << address;
    }
}

TEST_F(KeepAlive, EveryListenerOnTheMachineGetsTheBroadcast) {
    CZVSocket other(ZVVariant::Tablet, &owner_);
    ASSERT_EQ(other.OpenKeepAliveListener(), 1);
    clock_.Advance(100);
    ASSERT_TRUE(testsupport::KeepAliveSender(GetNetConfig().keepAlivePort, "127.255.255.255").Send());
    ReadArrived(socket_);
    ReadArrived(other);
    EXPECT_EQ(socket_.MsSinceKeepAlive(), 0u);
    EXPECT_EQ(other.MsSinceKeepAlive(), 0u);
}

TEST_F(SocketTest, AListenerThatCannotOpenIsReportedOncePerOutage) {
    std::vector<std::string> traces;
    ASSERT_TRUE(platform::InstallReportHook([&traces](platform::ReportKind kind, const std::string& text) {
        if (kind == platform::ReportKind::Trace) traces.push_back(text);
    }));
    CZVSocket socket(ZVVariant::Config, &owner_);
    keepAlivePort_.Share(false);  // held by a program that does not share it
    EXPECT_EQ(socket.OpenKeepAliveListener(), 0);
    EXPECT_EQ(socket.OpenKeepAliveListener(), 0);
    EXPECT_EQ(traces.size(), 1u);
    EXPECT_THAT(traces, testing::Contains(testing::AllOf(testing::HasSubstr("keep-alive"),
                                                         testing::HasSubstr(std::to_string(keepAlivePort_.Port())))));
    keepAlivePort_.Share(true);
    EXPECT_EQ(socket.OpenKeepAliveListener(), 1);
    socket.CloseKeepAliveListener();
    keepAlivePort_.Share(false);
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
        config.searchPort = responder_.Port();
        SetNetConfig(config);
    }
    static testsupport::GatewayRecord Record(const char* address, uint8_t kind, uint8_t sub_kind, std::string name) {
        return {2, address, 4500, kind, sub_kind, std::move(name)};
    }
    testsupport::SearchResponder responder_;
    Statuses status_;
    sockaddr_in found_{};
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
    responder_.AddReply({Record("10.0.0.1", c.kind, c.sub_kind, "Pool"), Record("10.0.0.2", 1, 0, "Pool")});
    ASSERT_EQ(Discover("Pool", &status_, &found_, c.variant), 1);
    EXPECT_EQ(FormatSockAddr(found_), c.accepted ? "10.0.0.1" : "10.0.0.2");
    EXPECT_EQ(ntohs(found_.sin_port), 4500);
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
    responder_.AddReply({not_an_answer, Record("10.0.0.3", 1, 0, "Spa"), Record("10.0.0.4", 6, 0, "Pool")});
    ASSERT_EQ(Discover("Pool", &status_, &found_, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(found_), "10.0.0.4");
    EXPECT_THAT(status_.lines,
                testing::ElementsAre("Waiting for ping response.", "Ping From 10.0.0.3", "Ping From 10.0.0.4"));
}

TEST_F(Search, AnEmptyNameTakesTheFirstAcceptedGateway) {
    responder_.AddReply({Record("10.0.0.3", 3, 0, "Other"), Record("10.0.0.5", 7, 0, "Spa")});
    responder_.AddReply({Record("10.0.0.6", 1, 0, "Pool")});
    ASSERT_EQ(Discover("", &status_, &found_, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(found_), "10.0.0.5");
}

TEST_F(Search, NamesCountUpToTwentySevenCharacters) {
    std::string name27(27, 'n');
    responder_.AddReply({Record("10.0.0.7", 1, 0, name27 + "X")});  // 28 bytes, no terminator
    ASSERT_EQ(Discover(name27, &status_, &found_, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(found_), "10.0.0.7");
}

TEST_F(Search, TheMonitorComparesNamesWithoutCaseAndSaysWhatItSkips) {
    responder_.AddReply({Record("10.0.0.3", 1, 0, "Spa"), Record("10.0.0.8", 1, 0, "POOL")});
    ASSERT_EQ(Discover("Pool", &status_, &found_, ZVVariant::Monitor), 1);
    EXPECT_EQ(FormatSockAddr(found_), "10.0.0.8");
    EXPECT_THAT(status_.lines, testing::ElementsAre("Waiting for ping response.", "Ping From 10.0.0.3 Spa",
                                                    "Wrong System, Looking For: Pool", "Ping From 10.0.0.8 POOL"));
}

TEST_F(Search, EndsAfterASecondWithoutAMatch) {
    testsupport::VirtualClock clock;
    responder_.AddReply({Record("10.0.0.8", 1, 0, "POOL")});  // the others compare with case
    uint32_t start = platform::GetTickCount();
    EXPECT_EQ(Discover("Pool", &status_, &found_, ZVVariant::Config), 0);
    EXPECT_GT(platform::GetTickCount() - start, 1000u);
    EXPECT_LT(platform::GetTickCount() - start, 1100u);
    EXPECT_EQ(responder_.Requests(), 1);
    EXPECT_TRUE(responder_.Errors().empty());
}

TEST_F(Search, ShortDatagramsDoNotHoldUpTheAnswersBehindThem) {
    responder_.AddRawReply(Bytes{2, 0, 0});
    responder_.AddReply({Record("10.0.0.4", 1, 0, "Pool")});
    ASSERT_EQ(Discover("Pool", &status_, &found_, ZVVariant::Config), 1);
    EXPECT_EQ(FormatSockAddr(found_), "10.0.0.4");
}

TEST_F(Search, FailsWhenTheRequestCannotBeSent) {
    ZVNetConfig config = GetNetConfig();
    config.searchPort = 0;  // nothing can be sent there
    SetNetConfig(config);
    EXPECT_EQ(Discover("Pool", &status_, &found_, ZVVariant::Config), 0);
    EXPECT_THAT(status_.lines, testing::ElementsAre("Error sending ping packet"));
}

TEST_F(Search, TheMonitorBroadcastsAtMostEveryHalfSecond) {
    responder_.AddReply({Record("10.0.0.4", 1, 0, "Pool")});
    CZVSearch search(ZVVariant::Monitor);
    ASSERT_EQ(search.Run("Pool", &status_, &found_), 1);
    {
        testsupport::VirtualClock clock(platform::GetTickCount());
        EXPECT_EQ(search.Run("Pool", &status_, &found_), 0);  // no new request, so no answer
        EXPECT_EQ(responder_.Requests(), 1);
        clock.Advance(500);
        ASSERT_EQ(search.Run("Pool", &status_, &found_), 1);
        EXPECT_EQ(responder_.Requests(), 2);
    }
}

TEST_F(Search, DiscoverAndConnectLogsInToTheGatewayFound) {
    responder_.AddReply({{2, "127.0.0.1", gateway_.Port(), 1, 0, "Pool"}});
    CZVSocket socket(ZVVariant::Config, &owner_);
    ASSERT_EQ(socket.DiscoverAndConnect("Pool", &status_), 1);
    EXPECT_TRUE(gateway_.WaitForRequest(testsupport::kLoginRequest));
    EXPECT_EQ(owner_.changed, 1);
}

TEST_F(Search, DiscoverAndConnectMakesNoSearchInRemoteMode) {
    owner_.remote = 1;
    CZVSocket socket(ZVVariant::Config, &owner_);
    EXPECT_EQ(socket.DiscoverAndConnect("Pool", &status_), 0);
    EXPECT_EQ(responder_.Requests(), 0);
    EXPECT_FALSE(socket.IsConnected());
}

}  // namespace
