#include "sentinax/socketzv.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "gateway_wire.h"
#include "loopback.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace {

using testsupport::Bytes;
using testsupport::EncodeFrame;
using testsupport::EncodeHeader;

// A listener on loopback; the peer end of the socket under test once accepted.
class Peer {
public:
    Peer() : m_listener(testsupport::ListenOnLoopback(&m_port)) {}
    ~Peer() {
        if (m_fd >= 0) close(m_fd);
        close(m_listener);
    }
    uint16_t Port() const { return m_port; }
    void Accept() {
        if (m_fd >= 0) close(m_fd);
        m_fd = accept(m_listener, nullptr, nullptr);
    }
    int Fd() const { return m_fd; }
    void Write(const Bytes& bytes) const {
        ASSERT_EQ(send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    }
    void Close() {
        close(m_fd);
        m_fd = -1;
    }

private:
    uint16_t m_port = 0;
    int m_listener;
    int m_fd = -1;
};

const uint8_t kLoopback[4] = {127, 0, 0, 1};

// Calls Receive until it delivers; false once the connection closes or after the wait limit.
bool ReceiveWithin(CSocketZV& socket) {
    bool received = false;
    testsupport::WaitUntil([&] { return received || !socket.IsConnected(); },
                           [&] {
                               received = socket.Receive();
                               if (!received) socket.WaitForData(5);
                               return true;
                           });
    return received;
}

TEST(ElapsedTicks, SurvivesTheCounterWrap) {
    testsupport::VirtualClock clock;
    clock.Set(16);
    EXPECT_EQ(ElapsedTicks(4294967040u), 271u);
    clock.Set(5000);
    EXPECT_EQ(ElapsedTicks(1000), 4000u);
}

TEST(CSocketZVConnect, ReportsInvalidAddressesAndRefusals) {
    CSocketZV shortAddress("192.168.1", 80, 60000);
    EXPECT_FALSE(shortAddress.IsOk());
    EXPECT_EQ(shortAddress.GetError(), "Address invalid");

    testsupport::RefusingPort refusing;
    CSocketZV refused(kLoopback, testsupport::PortOf(refusing.Address()), 60000);
    EXPECT_FALSE(refused.IsOk());
    EXPECT_FALSE(refused.IsConnected());
    EXPECT_EQ(refused.GetError(), "Error #10061 in connect(): Connection refused.");
}

class CSocketZVTest : public ::testing::Test {
protected:
    CSocketZVTest() : socket("127.0.0.1", peer.Port(), 60000) { peer.Accept(); }

    testsupport::VirtualClock clock;
    Peer peer;
    CSocketZV socket;
};

TEST_F(CSocketZVTest, DeliversFramesOneAtATime) {
    ASSERT_TRUE(socket.IsOk());
    EXPECT_EQ(socket.GetPeerText(), "127.0.0.1:" + std::to_string(peer.Port()));
    const Bytes first = EncodeFrame({1, 0x1234, {1, 2, 3, 4}});
    const Bytes second = EncodeFrame({2, 0x5678, {}});
    peer.Write(testsupport::Join({first, second}));
    ASSERT_TRUE(ReceiveWithin(socket));
    EXPECT_EQ(Bytes(socket.GetMessage().begin(), socket.GetMessage().end()), first);
    peer.Close();  // the second frame is already here
    EXPECT_EQ(socket.Receive(), 1);
    EXPECT_EQ(Bytes(socket.GetMessage().begin(), socket.GetMessage().end()), second);
}

TEST_F(CSocketZVTest, AFrameInTwoPartsIsDeliveredWhateverTheGap) {
    const Bytes frame = EncodeFrame({0, 7, Bytes(40, 9)});
    peer.Write(Bytes(frame.begin(), frame.begin() + 20));
    ASSERT_TRUE(socket.WaitForData(1000));
    EXPECT_EQ(socket.Receive(), 0);
    EXPECT_TRUE(socket.IsConnected());
    clock.Advance(300);
    peer.Write(Bytes(frame.begin() + 20, frame.end()));
    ASSERT_TRUE(ReceiveWithin(socket));
    EXPECT_EQ(socket.GetMessage().size(), frame.size());
}

TEST_F(CSocketZVTest, TheLargestFrameIsDeliveredALargerOneCloses) {
    const Bytes largest = EncodeFrame({0, 1, Bytes(CSocketZV::kMaxPayload, 0x5A)});
    std::thread writer([&] { peer.Write(largest); });
    const bool received = ReceiveWithin(socket);
    writer.join();
    ASSERT_TRUE(received);
    EXPECT_EQ(socket.GetMessage().size(), largest.size());

    peer.Write(EncodeHeader(0, 1, CSocketZV::kMaxPayload + 1));
    EXPECT_FALSE(ReceiveWithin(socket));
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(CSocketZVTest, ANegativeLengthCloses) {
    peer.Write(EncodeHeader(0, 1, -8));
    EXPECT_FALSE(ReceiveWithin(socket));
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(CSocketZVTest, SilenceBeyondTheLimitCloses) {
    clock.Advance(60000);
    EXPECT_EQ(socket.Receive(), 0);
    EXPECT_TRUE(socket.IsConnected());
    clock.Advance(1);
    EXPECT_EQ(socket.Receive(), 0);
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(CSocketZVTest, APeerThatClosesIsNoticed) {
    peer.Close();
    EXPECT_FALSE(ReceiveWithin(socket));
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(CSocketZVTest, RawBytesAreTakenAsTheyCome) {
    EXPECT_EQ(socket.ReceiveRaw(0), 0);
    peer.Write({1, 2, 3, 4, 5});
    ASSERT_TRUE(socket.WaitForData(1000));
    EXPECT_EQ(socket.ReceiveRaw(8), 0);  // not that many yet
    EXPECT_EQ(socket.ReceiveRaw(2), 1);
    EXPECT_EQ(Bytes(socket.GetMessage().begin(), socket.GetMessage().end()), (Bytes{1, 2}));
    EXPECT_EQ(socket.ReceiveRaw(0), 1);
    EXPECT_EQ(Bytes(socket.GetMessage().begin(), socket.GetMessage().end()), (Bytes{3, 4, 5}));
}

// Sends until the network holds bytes back, then fills the held output to its limit. Each
// send first flushes a piece of what is held, which the network may take as its buffers
// drain, so the filling goes on until the held output stands at the limit.
void FillOutput(CSocketZV& socket) {
    const Bytes chunk(1000, 0x11);
    while (socket.GetPendingOutput() == 0) ASSERT_TRUE(socket.Send(static_cast<int32_t>(chunk.size()), chunk.data()));
    const Bytes fill(CSocketZV::kOutputSize, 0x22);
    while (socket.GetPendingOutput() < CSocketZV::kOutputSize)
        ASSERT_TRUE(socket.Send(static_cast<int32_t>(CSocketZV::kOutputSize - socket.GetPendingOutput()), fill.data()));
    ASSERT_EQ(socket.GetPendingOutput(), CSocketZV::kOutputSize);
}

TEST_F(CSocketZVTest, OutputBeyondTheHeldLimitCloses) {
    FillOutput(socket);
    // The send's flush frees at most one piece, whatever the network takes, so one byte
    // more than a piece cannot fit.
    const Bytes beyond(CSocketZV::kFlushPiece + 1, 0x33);
    EXPECT_FALSE(socket.Send(static_cast<int32_t>(beyond.size()), beyond.data()));
    EXPECT_FALSE(socket.IsConnected());
}

TEST_F(CSocketZVTest, HeldOutputDrainsInPiecesAndKeepsItsOrder) {
    FillOutput(socket);
    uint8_t lastSeen = 0;
    const auto readPeer = [&] {
        uint8_t buffer[65536];
        for (ssize_t got; (got = recv(peer.Fd(), buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) lastSeen = buffer[got - 1];
    };
    bool lastSent = false;
    const uint8_t last = 0x33;
    EXPECT_TRUE(testsupport::WaitUntil([&] { return socket.GetPendingOutput() == 0; },
                                       [&] {
                                           const size_t before = socket.GetPendingOutput();
                                           readPeer();
                                           socket.FlushOutput();
                                           EXPECT_LE(before - socket.GetPendingOutput(), CSocketZV::kFlushPiece);
                                           // A send while output is held goes behind it.
                                           if (!lastSent && socket.GetPendingOutput() > 0 &&
                                               socket.GetPendingOutput() < CSocketZV::kOutputSize) {
                                               EXPECT_TRUE(socket.Send(1, &last));
                                               lastSent = true;
                                           }
                                           return true;
                                       }));
    EXPECT_TRUE(lastSent);
    // Sent is not yet arrived: the peer waits for the last byte, bounded.
    EXPECT_TRUE(testsupport::WaitUntil([&] { return lastSeen == last; },
                                       [&] {
                                           pollfd readable{peer.Fd(), POLLIN, 0};
                                           poll(&readable, 1, 10);
                                           readPeer();
                                           return true;
                                       }));
}

TEST_F(CSocketZVTest, AHandedOnHandleStaysOpen) {
    int handle = -1;
    {
        CSocketZV handed("127.0.0.1", peer.Port(), 60000);
        peer.Accept();
        handle = handed.TakeHandle();
        EXPECT_FALSE(handed.IsConnected());
    }
    ASSERT_GE(handle, 0);
    EXPECT_EQ(send(handle, "x", 1, MSG_NOSIGNAL), 1);
    close(handle);
}

}  // namespace
