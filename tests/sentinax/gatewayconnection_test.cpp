#include "sentinax/gatewayconnection.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/zvsock.h"
#include "fake_gateway.h"
#include "fake_relay.h"
#include "loopback.h"
#include "loopback_server.h"
#include "platform/socket.h"
#include "support/virtual_clock.h"

namespace {

using testsupport::FakeGateway;
using testsupport::Frame;
using testsupport::PayloadWriter;

class RecordingStatus : public CStatusSink {
public:
    void OnStatus(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

// Takes a connection and what is sent on it, and never answers.
class SilentServer : public testsupport::LoopbackServer {
public:
    SilentServer() { Start(); }
    ~SilentServer() override { Stop(); }

private:
    void Serve(int fd) override {
        uint8_t buffer[256];
        while (!Stopping()) {
            if (Readable(fd) && recv(fd, buffer, sizeof buffer, 0) <= 0) return;
        }
    }
};

FakeGateway::Options WithPassword() {
    FakeGateway::Options options;
    options.password = "secret";
    return options;
}

class GatewayConnectionTest : public ::testing::Test {
protected:
    GatewayConnectionTest() {
        gateway.Answer(0x1FB8, PayloadWriter().String("5.2 Build 738.0 Rel").Int(7));
        clock.HoldWhile([this] { return gateway.Owes(); });
        ZVNetConfig config;
        config.serviceHost = "127.0.0.1";
        config.relayPort = testsupport::PortOf(refusing.Address());
        SetNetConfig(config);
    }
    ~GatewayConnectionTest() override {
        clock.HoldWhile({});
        SetNetConfig({});
    }
    void UseRelayPort(uint16_t port) {
        ZVNetConfig config = GetNetConfig();
        config.relayPort = port;
        SetNetConfig(config);
    }

    testsupport::VirtualClock clock;
    testsupport::RefusingPort refusing;
    FakeGateway gateway{WithPassword()};
    RecordingStatus status;
};

TEST(RelayRequest, NameCutTo31CharactersAndPortLittleEndian) {
    const std::string request = CGatewayConnection::RelayRequest(std::string(40, 'N'), 80);
    ASSERT_EQ(request.size(), 38u);
    EXPECT_EQ(request.substr(0, 31), std::string(31, 'N'));
    EXPECT_EQ(request[31], '\0');
    EXPECT_EQ(request[32], 0x50);
    EXPECT_EQ(request[33], 0x00);
    EXPECT_EQ(request.substr(34), std::string(4, '\0'));
}

TEST_F(GatewayConnectionTest, LogsInDirectlyAndReadsTheVersion) {
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", gateway.Port(), &status);
    ASSERT_TRUE(connection.IsConnected());
    ASSERT_EQ(connection.LoginSequence("Brenvik: 01-23-45", "secret", 0, &status), 1) << connection.GetError();
    EXPECT_EQ(connection.GetVersionText(), "5.2 Build 738.0 Rel");
    EXPECT_EQ(connection.GetAdapterType(), 7);
    const std::vector<std::string> expected = {
        "Connecting to System at 127.0.0.1:" + std::to_string(gateway.Port()) + "...",
        "Connected to System, logging in...",
        "Connection to System OK.",
        "Getting Version Information...",
        "Remote System Version is: 5.2 Build 738.0 Rel.",
    };
    EXPECT_EQ(status.lines, expected);
    ASSERT_EQ(gateway.Logins().size(), 1u);
    const testsupport::LoginRecord login = gateway.Logins()[0];
    EXPECT_TRUE(login.accepted);
    EXPECT_EQ(login.revision, 348);
    EXPECT_EQ(login.client_type, 0);
    EXPECT_EQ(login.client_name, "Brenvik: 01-23-45");
    EXPECT_EQ(login.trailer, 2);
    EXPECT_TRUE(gateway.Errors().empty());  // the opening text came first

    const int handle = connection.TakeHandle();
    ASSERT_GE(handle, 0);
    platform::CloseSocket(handle);
}

TEST_F(GatewayConnectionTest, OtherMessagesWhileWaitingAreDropped) {
    gateway.On(0x000E, [](const Frame& request) {
        return std::vector<Frame>{{0x7FFF, 0x4000, PayloadWriter().Int(1)},
                                  {request.sender, 0x000F, PayloadWriter().String("Kx4mQ9tRz2LpW7vB")}};
    });
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", gateway.Port(), &status);
    EXPECT_EQ(connection.LoginSequence("A", "secret", 0, &status), 1) << connection.GetError();
}

// A line that cannot take the opening text is no connection: the gateway
// never heard the protocol start, so no login is tried on it.
TEST_F(GatewayConnectionTest, ALineThatCannotTakeTheOpeningIsNoConnection) {
    auto socket =
        std::make_unique<CSocketZV>(std::string("127.0.0.1"), gateway.Port(), CGatewayConnection::kSilenceLimit);
    ASSERT_TRUE(socket->IsOk());
    ASSERT_EQ(shutdown(socket->GetHandle(), SHUT_WR), 0);
    CGatewayConnection connection(std::move(socket), &status);
    EXPECT_EQ(connection.IsConnected(), 0);
    EXPECT_EQ(connection.GetError().rfind("Cannot connect. ", 0), 0u) << connection.GetError();
    EXPECT_FALSE(connection.LoginSequence("Backyard", "secret", 0, &status));
    EXPECT_TRUE(gateway.Logins().empty());
}

TEST_F(GatewayConnectionTest, RefusedAndBrokenLoginsAreToldApart) {
    {
        FakeGateway refusing_gateway(FakeGateway::Options{.reject_logins = true});
        clock.HoldWhile([&] { return refusing_gateway.Owes(); });
        CGatewayConnection connection("Zavoro Service", "127.0.0.1", refusing_gateway.Port(), &status);
        EXPECT_EQ(connection.LoginSequence("A", "x", 0, &status), 0);
        EXPECT_EQ(connection.GetError(), "Login rejected by Gateway");
        EXPECT_EQ(status.lines.back(), "ERROR: Login rejected by Gateway");
    }
    clock.HoldWhile([this] { return gateway.Owes(); });
    gateway.DropOn(0x001B);
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", gateway.Port(), &status);
    EXPECT_EQ(connection.LoginSequence("A", "secret", 0, &status), 0);
    EXPECT_EQ(connection.GetError(), "Communication to Gateway failed");
}

TEST_F(GatewayConnectionTest, FallsBackToTheRelay) {
    testsupport::FakeRelay relay(gateway.Address());
    UseRelayPort(relay.Port());
    const uint16_t closedPort = testsupport::PortOf(refusing.Address());
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", closedPort, &status);
    ASSERT_TRUE(connection.IsConnected()) << connection.GetError();
    ASSERT_EQ(connection.LoginSequence("A", "secret", 0, &status), 1) << connection.GetError();
    ASSERT_EQ(relay.Requests().size(), 1u);
    EXPECT_EQ(relay.Requests()[0].name, "Zavoro Service");
    EXPECT_EQ(relay.Requests()[0].port, closedPort);
    const std::vector<std::string> head(status.lines.begin(), status.lines.begin() + 5);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "Connecting to System at 127.0.0.1:" + std::to_string(closedPort) + "...",
                        "Direct connection failed.",
                        "Connecting to Relay Server at 127.0.0.1:" + std::to_string(relay.Port()) + "...",
                        "Connected to Relay Server.",
                        "Requesting Gateway connection...",
                    }));
}

TEST_F(GatewayConnectionTest, ARelayThatNeverAnswersRejectsAfterThirtySeconds) {
    SilentServer relay;
    UseRelayPort(relay.Port());
    const uint32_t start = clock.TickCount();
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", testsupport::PortOf(refusing.Address()), &status);
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_GT(clock.TickCount() - start, 30000u);
    EXPECT_LT(clock.TickCount() - start, 31000u);
    EXPECT_EQ(connection.GetError(), "Cannot connect. \n");
    EXPECT_EQ(connection.LoginSequence("A", "secret", 0, &status), 0);
    EXPECT_EQ(status.lines.back(), "ERROR: Cannot connect. \n");
}

TEST_F(GatewayConnectionTest, NoWayInKeepsTheSocketsText) {
    const uint16_t closedPort = testsupport::PortOf(refusing.Address());
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", closedPort, &status);
    EXPECT_FALSE(connection.IsConnected());
    EXPECT_EQ(connection.GetError(), "Cannot connect. Error #10061 in connect(): Connection refused.\n");
}

TEST_F(GatewayConnectionTest, AChattyGatewayThatNeverAnswersIsGivenUp) {
    gateway.On(0x000E, [](const Frame&) { return std::vector<Frame>{}; });
    CGatewayConnection connection("Zavoro Service", "127.0.0.1", gateway.Port(), &status);
    ASSERT_TRUE(gateway.WaitForClient());
    clock.HoldWhile({});
    // A notification every virtual second keeps the line from going silent.
    std::atomic<bool> done{false};
    std::thread chatter([&] {
        while (!done && gateway.Push(0x4000, {}))
            clock.Advance(1000), std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    const uint32_t start = clock.TickCount();
    std::string challenge;
    EXPECT_EQ(connection.GetChallenge(challenge), 0);
    done = true;
    chatter.join();
    EXPECT_EQ(connection.GetError(), "Communication to Gateway failed");
    EXPECT_GT(clock.TickCount() - start, 60000u);
}

}  // namespace
