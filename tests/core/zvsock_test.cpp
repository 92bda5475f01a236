#include "core/zvsock.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/settings.h"
#include "support/fake_gateway.h"
#include "support/loopback.h"
#include "support/net_config_sandbox.h"

namespace {

// Waits (a few real seconds at most) until the socket has something to read.
bool AwaitReadable(int fd) {
    for (int i = 0; i < 5000; ++i)
        if (IsReadable(fd)) return true;
    return false;
}

TEST(SockAddr, MakesSplitsAndFormatsAddresses) {
    sockaddr_in address{};
    MakeSockAddr(&address, 192, 168, 1, 20, 4500);
    EXPECT_EQ(address.sin_family, AF_INET);
    EXPECT_EQ(ntohl(address.sin_addr.s_addr), 0xC0A80114u);
    EXPECT_EQ(ntohs(address.sin_port), 4500);
    EXPECT_EQ(FormatSockAddr(address), "192.168.1.20");
    int a, b, c, d, port;
    SplitSockAddr(address, &a, &b, &c, &d, &port);
    EXPECT_EQ((std::vector<int>{a, b, c, d, port}), (std::vector<int>{192, 168, 1, 20, 4500}));
}

TEST(IsDottedQuad, WantsThreeDotsEachAfterADigit) {
    EXPECT_TRUE(IsDottedQuad("10.0.0.5"));
    EXPECT_FALSE(IsDottedQuad("10.0.5"));
    EXPECT_FALSE(IsDottedQuad("gateway.example.com"));
    EXPECT_FALSE(IsDottedQuad(".1.2.3"));
    EXPECT_FALSE(IsDottedQuad(""));
}

struct ParseCase {
    const char* text;
    const char* key;
    bool with_port;
    bool ok;
    std::vector<int> bytes;
    int port;
};

class ParseDiscovery : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseDiscovery, ReadsTheAddressAfterTheKey) {
    const ParseCase& c = GetParam();
    uint8_t a = 0, b = 0, cc = 0, d = 0;
    int port = -1;
    EXPECT_EQ(ParseDiscoveryText(c.text, c.key, &a, &b, &cc, &d, c.with_port ? &port : nullptr), c.ok);
    if (c.ok) {
        EXPECT_EQ((std::vector<int>{a, b, cc, d}), c.bytes);
        EXPECT_EQ(port, c.port);
    } else {
        EXPECT_EQ((std::vector<int>{a, b, cc, d}), (std::vector<int>{0, 0, 0, 0}));  // untouched
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseDiscovery,
    testing::Values(ParseCase{"10.1.2.3", "", false, true, {10, 1, 2, 3}, -1},
                    ParseCase{"Server=10.1.2.3:7000\r\n", "Server=", true, true, {10, 1, 2, 3}, 7000},
                    ParseCase{"Server=10.1.2.3\r\n", "Server=", true, false, {}, 0},
                    ParseCase{"Other=10.1.2.3", "Server=", false, false, {}, 0},
                    ParseCase{"10.1.2", "", false, false, {}, 0}, ParseCase{"", "", false, false, {}, 0}));

TEST(ParseDiscovery, StoresOnlyThroughGivenPointers) {
    uint8_t b = 0, d = 0;
    EXPECT_TRUE(ParseDiscoveryText("1.2.3.4", "", nullptr, &b, nullptr, &d, nullptr));
    EXPECT_EQ(b, 2);
    EXPECT_EQ(d, 4);
}

TEST(LocalAddresses, CountAndIndexTheMachinesAddresses) {
    int count = GetLocalAddressCount();
    ASSERT_GE(count, 1);  // the loopback address at least
    uint32_t mask = 0, address = 0;
    EXPECT_TRUE(GetLocalAddress(count - 1, &mask, &address));
    EXPECT_FALSE(GetLocalAddress(count, &mask, &address));
    EXPECT_FALSE(GetLocalAddress(-1, &mask, &address));
    sockaddr_in first{};
    EXPECT_TRUE(GetFirstLocalAddress(&first));
}

class ServiceHost : public testing::Test {
protected:
    ~ServiceHost() override { SetNetConfig(m_saved); }
    void UseHost(const std::string& host) {
        ZVNetConfig config = m_saved;
        config.serviceHost = host;
        SetNetConfig(config);
    }
    ZVNetConfig m_saved = GetNetConfig();
};

TEST_F(ServiceHost, ConnectsToTheConfiguredHostAndSendsText) {
    testsupport::FakeGateway server;
    UseHost("127.0.0.1");
    int fd = ConnectServiceHost(server.Port());
    ASSERT_NE(fd, -1);
    EXPECT_EQ(SendText(fd, "CONNECTSERVERHOST\r\n\r\n"), 1);
    ASSERT_TRUE(server.WaitForClient());
    EXPECT_FALSE(IsReadable(fd));
    ASSERT_TRUE(server.Push(0x10, {}));
    ASSERT_TRUE(AwaitReadable(fd));
    int waiting = 0;
    EXPECT_TRUE(BytesAvailable(fd, &waiting));
    EXPECT_EQ(waiting, 8);
    CloseSocket(fd);
    EXPECT_TRUE(server.WaitForDisconnect());
    EXPECT_TRUE(server.Errors().empty());
}

TEST_F(ServiceHost, FailsWithoutAName) {
    UseHost("");
    EXPECT_EQ(ConnectServiceHost(80), -1);
    EXPECT_EQ(SendText(-1, "x"), 0);
    int waiting = 5;
    EXPECT_FALSE(BytesAvailable(-1, &waiting));
    EXPECT_EQ(waiting, 0);
}

TEST_F(ServiceHost, FailsWhenTheHostRefuses) {
    testsupport::RefusingPort refusing;
    UseHost("127.0.0.1");
    EXPECT_EQ(ConnectServiceHost(testsupport::PortOf(refusing.Address())), -1);
}

TEST(SockDatagrams, ReceiveExactWantsTheWholeSize) {
    int receiver = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in at = testsupport::Loopback(0);
    bind(receiver, reinterpret_cast<sockaddr*>(&at), sizeof at);
    socklen_t length = sizeof at;
    getsockname(receiver, reinterpret_cast<sockaddr*>(&at), &length);
    int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sendto(sender, "1234", 4, 0, reinterpret_cast<sockaddr*>(&at), sizeof at);
    sendto(sender, "12345678", 8, 0, reinterpret_cast<sockaddr*>(&at), sizeof at);
    char buffer[8];
    sockaddr_in from{};
    ASSERT_TRUE(AwaitReadable(receiver));
    EXPECT_FALSE(ReceiveExact(receiver, buffer, 8, &from));
    ASSERT_TRUE(AwaitReadable(receiver));
    EXPECT_TRUE(ReceiveExact(receiver, buffer, 8, &from));
    EXPECT_EQ(from.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(ReceiveFrom(receiver, buffer, 8, &from), -1);
    close(sender);
    close(receiver);
}

class NetSettings : public testing::Test {
protected:
    testsupport::NetConfigSandbox m_sandbox{"basinsetup"};
};

TEST_F(NetSettings, SettingsReplaceTheDefaultsThatTheyHoldValidly) {
    SetNetConfig(ZVNetConfig{});
    LoadNetConfig();
    EXPECT_EQ(GetNetConfig().serviceHost, "service.zavoro.com");
    EXPECT_EQ(GetNetConfig().addressServerPort, 80);
    EXPECT_EQ(GetNetConfig().relayPort, 7576);

    ASSERT_TRUE(platform::WriteSettingString("Network", "ServiceHost", "relay.example"));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "AddressServerPort", 8080));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "RelayPort", 70000));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "SearchPort", 0));
    ASSERT_TRUE(platform::WriteSettingInt("Network", "KeepAlivePort", 4530));
    ASSERT_TRUE(platform::WriteSettingString("Network", "BroadcastAddress", "192.168.1.255"));
    LoadNetConfig();
    const ZVNetConfig& config = GetNetConfig();
    EXPECT_EQ(config.serviceHost, "relay.example");
    EXPECT_EQ(config.addressServerPort, 8080);
    EXPECT_EQ(config.relayPort, 7576);
    EXPECT_EQ(config.searchPort, 444);
    EXPECT_EQ(config.keepAlivePort, 4530);
    EXPECT_EQ(config.gatewayPort, 80);
    EXPECT_EQ(config.broadcastAddress, inet_addr("192.168.1.255"));
}

}  // namespace
