#include "core/zvlogin.h"

#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/zvserver.h"
#include "core/zvsock.h"
#include "fake_address_server.h"
#include "fake_gateway.h"
#include "fake_relay.h"
#include "loopback.h"
#include "support/gateway_session.h"
#include "support/virtual_clock.h"

namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::Not;
using testsupport::FakeAddressServer;
using testsupport::FakeGateway;
using testsupport::FakeRelay;
using testsupport::Frame;

// Records the progress lines; cancels from the first line that starts with `cancelAt`.
class RecordingStatus : public CStatusSink {
public:
    RecordingStatus() = default;
    explicit RecordingStatus(std::string cancelAt) : m_cancelAt(std::move(cancelAt)) {}
    void OnStatus(const std::string& text) override {
        lines.push_back(text);
        if (!m_cancelAt.empty() && text.rfind(m_cancelAt, 0) == 0) m_cancelled = true;
    }
    int Continue() override { return m_cancelled ? 0 : 1; }
    std::vector<std::string> lines;

private:
    std::string m_cancelAt;
    bool m_cancelled = false;
};

std::string Answer(const std::string& body) { return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body; }

TEST(SplitField, TakesFieldsAndRepeatsTheLast) {
    std::string text = "10.0.0.5|4500";
    std::string field;
    std::vector<std::string> fields;
    for (int i = 0; i < 4; ++i) {
        SplitField(field, '|', text);
        fields.push_back(field);
    }
    EXPECT_THAT(fields, ElementsAre("10.0.0.5", "4500", "4500", "4500"));
    text = "|x";
    SplitField(field, '|', text);
    EXPECT_EQ(field, "");
    EXPECT_EQ(text, "x");
}

TEST(ClientName, ByTypeAndProgram) {
    struct Case {
        ZVVariant variant;
        int type;
        const char* name;
    };
    const Case cases[] = {
        {ZVVariant::Tablet, -1, "Remote Vistrel 800x600"},
        {ZVVariant::Tablet, 0, "Remote Vistrel 800x600"},
        {ZVVariant::Tablet, 1, "Remote Vistrel 240x320"},
        {ZVVariant::Config, 3, "Configurator"},
        {ZVVariant::Tablet, 6, "Remote Vistrel 800x480"},
        {ZVVariant::Tablet, 8, "Remote Vistrel 240x240"},
        {ZVVariant::Tablet, 7, "Service"},
        {ZVVariant::Tablet, 11, "Service"},
        {ZVVariant::Monitor, 11, "iPhone"},
        {ZVVariant::Monitor, 12, "iPhone 3G"},
        {ZVVariant::Monitor, 15, "iPad"},
        {ZVVariant::Monitor, 16, "iPad 3G"},
        {ZVVariant::Monitor, 2, "Service"},
    };
    for (const Case& c : cases) EXPECT_STREQ(ZVClientName(c.variant, c.type), c.name) << c.type;
}

TEST(RemoteLoginArguments, OneWholeArgumentForEachCredential) {
    EXPECT_EQ(RemoteLoginArguments("Pool: 01-23", "pass word/x"),
              (std::vector<std::string>{"/R", "/USER:Pool: 01-23", "/PASS:pass word/x", "/TITLE:Marquel"}));
    EXPECT_EQ(RemoteLoginArguments("", ""), (std::vector<std::string>{"/R", "/USER:", "/PASS:", "/TITLE:Marquel"}));
}

TEST(AddressServerRequest, HeaderAndBodyBytes) {
    std::string body = AddressServerBody("POOL7");
    EXPECT_EQ(body, "USERNAME=POOL7");
    EXPECT_EQ(AddressServerHeader("service.example", body.size()),
              "POST /cgi-bin/getaddr.pl HTTP/1.0\r\nUser-Agent: Zavoro\r\nHost: service.example\r\n"
              "Content-Length: 14\r\nCache-Control: no-cache\r\n\r\n");
}

TEST(AddressAnswerComplete, NeedsTheHeadAndTheAnnouncedBody) {
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n";
    EXPECT_FALSE(AddressAnswerComplete("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n"));
    EXPECT_FALSE(AddressAnswerComplete(head));
    EXPECT_FALSE(AddressAnswerComplete(head + "1|X|"));
    EXPECT_TRUE(AddressAnswerComplete(head + "1|X|y"));
    EXPECT_TRUE(AddressAnswerComplete("HTTP/1.0 200 OK\r\ncontent-length:0\r\n\r\n"));
    // Without a length only the server's close ends the answer.
    EXPECT_FALSE(AddressAnswerComplete("HTTP/1.0 200 OK\r\n\r\n1|X|y"));
    EXPECT_FALSE(AddressAnswerComplete("HTTP/1.0 200 OK\r\nContent-Length: x\r\n\r\n1|X|y"));
}

TEST(ParseAddressAnswer, TakesAddressPortAndChallenge) {
    const std::string body = "17|POOL1|u|10.0.0.5|4500|192.168.1.2|80|Chal";
    ZVSystemLocation location;
    ASSERT_EQ(ParseAddressAnswer(Answer(body), "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.address, "10.0.0.5");
    EXPECT_EQ(location.port, "4500");
    EXPECT_EQ(location.challenge, "Chal");
    ASSERT_EQ(ParseAddressAnswer(Answer(body + "\r\nmore\r\n"), "POOL1", 1, &location, nullptr), 1);
    EXPECT_EQ(location.address, "192.168.1.2");
    EXPECT_EQ(location.port, "80");
    EXPECT_EQ(location.challenge, "Chal");
}

TEST(ParseAddressAnswer, ANumberAbove1000DropsTheChallenge) {
    ZVSystemLocation location;
    ASSERT_EQ(ParseAddressAnswer(Answer("1234|POOL1|u|10.0.0.5|4500|a|b|Chal"), "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.address, "10.0.0.5");
    EXPECT_EQ(location.port, "4500");
    EXPECT_EQ(location.challenge, "");
    ASSERT_EQ(
        ParseAddressAnswer(Answer("99999999999999999999|POOL1|u|1.2.3.4|5|a|b|C"), "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.challenge, "");
}

TEST(ParseAddressAnswer, MissingFieldsRepeatTheLast) {
    ZVSystemLocation location;
    ASSERT_EQ(ParseAddressAnswer(Answer("\n5|POOL1|u|10.1.2.3\n"), "POOL1", 1, &location, nullptr), 1);
    EXPECT_EQ(location.address, "10.1.2.3");
    EXPECT_EQ(location.port, "10.1.2.3");
    EXPECT_EQ(location.challenge, "10.1.2.3");
}

TEST(ParseAddressAnswer, TheAnnouncedLengthEndsTheBody) {
    ZVSystemLocation location;
    const std::string answer = "HTTP/1.0 200 OK\r\nContent-Length: 29\r\n\r\n1|POOL1|u|10.0.0.5|4500|a|b|CJUNK";
    ASSERT_EQ(ParseAddressAnswer(answer, "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.challenge, "C");
}

TEST(ParseAddressAnswer, ReportsEachFailure) {
    struct Case {
        std::string answer;
        std::vector<std::string> lines;
    };
    const std::string longRefusal = "HTTP/1.0 404 Not Found\r\nServer: somewhere far away\r\n\r\n";
    const Case cases[] = {
        {longRefusal, {"Error, Returned:", longRefusal.substr(0, 40)}},
        {"HTTP/1.0 500", {"Error, Returned:", "HTTP/1.0 500"}},
        {"", {"Error, Returned:", ""}},
        // "200 OK" only in the body is no success.
        {"HTTP/1.0 403 Forbidden\r\n\r\n200 OK|POOL1",
         {"Error, Returned:", "HTTP/1.0 403 Forbidden\r\n\r\n200 OK|POOL1"}},
        {"HTTP/1.0 200 OK\r\nContent-Length: 4\r\n", {"Error: Cant find data"}},
        {"HTTP/1.0 200 OK\r\n\r\n", {"Error: Cant find data"}},
        {"HTTP/1.0 200 OK\r\n\r\n\r\n1|POOL1|u|1.2.3.4|5", {"Error: Cant find data"}},
        {Answer("1|POOL2|u|10.0.0.5|4500|a|b|C"), {"Public Port Closed"}},
        {Answer("1|pool1|u|10.0.0.5|4500|a|b|C"), {"Public Port Closed"}},
    };
    for (const Case& c : cases) {
        RecordingStatus status;
        ZVSystemLocation location{"kept", "kept", "kept"};
        EXPECT_EQ(ParseAddressAnswer(c.answer, "POOL1", 0, &location, &status), 0) << c.answer;
        EXPECT_EQ(status.lines, c.lines) << c.answer;
        EXPECT_EQ(location.address, "kept");
        EXPECT_EQ(ParseAddressAnswer(c.answer, "POOL1", 0, &location, nullptr), 0);
    }
}

// Logging in over the network ---------------------------------------------------------------
// These run on the system clock: every wait ends as soon as the fake peer answers.

constexpr char kPassword[] = "Pool-Secret";
constexpr char kSystem[] = "POOL1";

// The progress of a direct remote login, after the address server's answer.
std::vector<std::string> DirectLines(uint16_t port, const std::string& challenge) {
    const std::string where = "127.0.0.1:" + std::to_string(port);
    return {"Connecting to Address Server...",
            "Connected to Address Server OK",
            "Waiting from response from Address Server...",
            "Found system at: " + where + " Challenge: " + challenge,
            "Found system OK",
            "Connecting to System at (" + where + ")",
            "Connected to system, logging in...",
            "Getting Challenge String",
            "Connection to system OK"};
}

const std::vector<std::string> kRelayLines = {"Connecting to Relay Server...",
                                              "Connected to RelayServer, Getting Challenge",
                                              "Waiting for response from relay server...",
                                              "Connected to system, logging in...",
                                              "Getting Challenge String",
                                              "Connection to system OK"};

class Login : public testing::Test {
protected:
    Login() { gatewayOptions.password = kPassword; }
    ~Login() override { SetNetConfig(m_saved); }

    // The address server as configured, the relay in front of the gateway.
    void Start(FakeAddressServer::Options addressOptions) {
        StartGateway();
        relay = std::make_unique<FakeRelay>(gateway->Address());
        addressServer = std::make_unique<FakeAddressServer>(std::move(addressOptions));
        ZVNetConfig config = m_saved;
        config.serviceHost = "127.0.0.1";
        config.addressServerPort = addressServer->Port();
        config.relayPort = relay->Port();
        SetNetConfig(config);
    }
    void StartGateway() {
        if (!gateway) gateway = std::make_unique<FakeGateway>(gatewayOptions);
    }
    // A body that sends the client to the gateway, for the system named.
    std::string DirectBody(const std::string& name = kSystem) {
        StartGateway();
        return "7|" + name + "|x|127.0.0.1|" + std::to_string(gateway->Port()) + "|1.2.3.4|5|AddrChal";
    }
    void StartDirect() { Start({.body = DirectBody()}); }

    FakeGateway::Options gatewayOptions;
    std::unique_ptr<FakeGateway> gateway;
    std::unique_ptr<FakeRelay> relay;
    std::unique_ptr<FakeAddressServer> addressServer;
    CZVServer server{ZVVariant::Config};

private:
    const ZVNetConfig m_saved = GetNetConfig();
};

TEST_F(Login, LocalLoginAcceptedWithTheLocalPassword) {
    FakeGateway local(gatewayOptions);
    CZVServer tablet(ZVVariant::Tablet);
    tablet.SetLocalPassword(kPassword);
    tablet.SetClientId("00-11-22-33-44-55");
    ASSERT_EQ(tablet.ConnectLocal(htonl(INADDR_LOOPBACK), local.Port(), 6), 1);
    EXPECT_TRUE(tablet.IsConnected());
    EXPECT_EQ(tablet.GetReconnect(), 1);
    EXPECT_EQ(testsupport::PortOf(tablet.GetGatewayAddress()), local.Port());
    ASSERT_EQ(local.Logins().size(), 1u);
    const testsupport::LoginRecord login = local.Logins()[0];
    EXPECT_TRUE(login.accepted);
    EXPECT_TRUE(login.after_challenge);
    EXPECT_EQ(login.revision, 262);
    EXPECT_EQ(login.client_type, 6);
    EXPECT_EQ(login.client_name, "Local Config");
    EXPECT_EQ(login.trailer, 2);
    EXPECT_EQ(login.client_id, "00-11-22-33-44-55");
    // The sinks hear of the new connection from the next poll for everybody.
    std::vector<std::string> log;
    testsupport::RecordingSink sink(tablet, "s", &log);
    tablet.RegisterSink(&sink);
    tablet.PollAll();
    EXPECT_THAT(log, Contains("s:up"));
}

TEST_F(Login, RefusedLocalLoginClosesTheConnection) {
    FakeGateway local(gatewayOptions);
    server.SetLocalPassword("wrong");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.ConnectLocal(htonl(INADDR_LOOPBACK), local.Port(), 3), 0);
    // The refusal ends the wait at once, long before the login's 10 s.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(server.GetLoginRefused(), 1);
    EXPECT_TRUE(local.WaitForDisconnect());
    ASSERT_EQ(local.Logins().size(), 1u);
    EXPECT_FALSE(local.Logins()[0].accepted);
    // The monitor's login says who it is in its own way.
    FakeGateway other(gatewayOptions);
    CZVServer monitor(ZVVariant::Monitor);
    monitor.SetLocalPassword(kPassword);
    ASSERT_EQ(monitor.ConnectLocal(htonl(INADDR_LOOPBACK), other.Port(), 3), 1);
    EXPECT_EQ(other.Logins()[0].revision, 348);
    EXPECT_FALSE(other.Logins()[0].client_id.has_value());
}

TEST_F(Login, RemoteLoginGoesDirectlyWhereTheAddressServerSays) {
    StartDirect();
    RecordingStatus status;
    ASSERT_EQ(server.ConnectRemote(kSystem, kPassword, &status, 7), 1);
    EXPECT_TRUE(server.IsConnected());
    EXPECT_EQ(status.lines, DirectLines(gateway->Port(), "AddrChal"));
    EXPECT_EQ(relay->Connections(), 0);
    ASSERT_EQ(gateway->Logins().size(), 1u);
    EXPECT_TRUE(gateway->Logins()[0].accepted);
    EXPECT_EQ(gateway->Logins()[0].client_type, 7);
    EXPECT_EQ(gateway->Logins()[0].client_name, "Service");
    EXPECT_EQ(server.IsThroughRelay(), 0);

    ASSERT_EQ(addressServer->Requests().size(), 1u);
    const testsupport::AddressRequest request = addressServer->Requests()[0];
    EXPECT_EQ(request.body, "USERNAME=POOL1");
    EXPECT_EQ(request.head.substr(0, request.head.find("\r\n")), "POST /cgi-bin/getaddr.pl HTTP/1.0");
    EXPECT_EQ(FakeAddressServer::Header(request.head, "Host"), "127.0.0.1");
    EXPECT_EQ(FakeAddressServer::Header(request.head, "Content-Length"), "14");
}

TEST_F(Login, ABodyArrivingAfterTheHeadIsNotLost) {
    struct Case {
        const char* what;
        bool contentLength;
    };
    for (const Case c : {Case{"announced length", true}, Case{"until the server closes", false}}) {
        SCOPED_TRACE(c.what);
        gateway.reset();
        Start({.body = DirectBody(), .content_length = c.contentLength, .separate_body = true});
        RecordingStatus status;
        ASSERT_EQ(server.ConnectRemote(kSystem, kPassword, &status, 3), 1);
        EXPECT_EQ(status.lines, DirectLines(gateway->Port(), "AddrChal"));
        EXPECT_EQ(relay->Connections(), 0);
        EXPECT_EQ(gateway->Logins()[0].client_name, "Configurator");
    }
}

TEST_F(Login, AnotherSystemsNameFallsBackToTheRelay) {
    Start({.body = DirectBody("POOL2")});
    RecordingStatus status;
    ASSERT_EQ(server.ConnectRemote(kSystem, kPassword, &status, -1), 1);
    std::vector<std::string> expected = {"Connecting to Address Server...", "Connected to Address Server OK",
                                         "Waiting from response from Address Server...", "Public Port Closed", "Done"};
    expected.insert(expected.end(), kRelayLines.begin(), kRelayLines.end());
    EXPECT_EQ(status.lines, expected);
    ASSERT_EQ(relay->Requests().size(), 1u);
    EXPECT_EQ(relay->Requests()[0].name, kSystem);
    EXPECT_EQ(relay->Requests()[0].port, 443);
    EXPECT_EQ(relay->Requests()[0].raw.size(), 38u);
    EXPECT_EQ(relay->Requests()[0].raw[36], 0);
    ASSERT_EQ(gateway->Logins().size(), 1u);
    EXPECT_EQ(gateway->Logins()[0].client_type, 0);
    EXPECT_EQ(gateway->Logins()[0].client_name, "Remote Vistrel 800x600");
    EXPECT_EQ(server.IsThroughRelay(), 1);
}

TEST_F(Login, NoAddressServerAndANullStatusSinkStillReachTheRelay) {
    StartGateway();
    relay = std::make_unique<FakeRelay>(gateway->Address());
    testsupport::RefusingPort nobody;
    ZVNetConfig config = GetNetConfig();
    config.serviceHost = "127.0.0.1";
    config.addressServerPort = testsupport::PortOf(nobody.Address());
    config.relayPort = relay->Port();
    SetNetConfig(config);
    ASSERT_EQ(server.ConnectRemote(std::string(40, 'N'), kPassword, nullptr, 1), 1);
    // The relay gets the name cut to 31 characters.
    EXPECT_EQ(relay->Requests()[0].name, std::string(31, 'N'));
    EXPECT_EQ(gateway->Logins()[0].client_name, "Remote Vistrel 240x320");
}

TEST_F(Login, AnAnswerTheAddressServerCannotGiveIsReported) {
    struct Case {
        const char* what;
        FakeAddressServer::Options options;
        std::vector<std::string> tail;
    };
    const std::string tooLong = "HTTP/1.0 200 OK\r\n\r\n" + std::string(2500, 'A');
    const Case cases[] = {
        {"too long", {.raw = tooLong}, {"Error: Overflow", "Done"}},
        {"refused",
         {.body = "1|POOL1", .status_line = "HTTP/1.0 404 Not Found"},
         {"Error, Returned:", "HTTP/1.0 404 Not Found\r\nContent-Type: te", "Done"}},
        {"not an address", {.body = "1|POOL1|x|10.0.300.1|80|a|b|c"}, {"Done"}},
        {"no port", {.body = "1|POOL1|x|10.0.0.1|0|a|b|c"}, {"Done"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        addressServer.reset();
        Start(c.options);
        RecordingStatus status;
        sockaddr_in address{};
        std::string challenge = "kept";
        EXPECT_EQ(CZVServer::FindSystem(&status, kSystem, 0, &address, &challenge), 0);
        EXPECT_EQ(challenge, "kept");
        EXPECT_EQ(address.sin_addr.s_addr, 0u);
        ASSERT_GE(status.lines.size(), 3u + c.tail.size());
        EXPECT_EQ(
            std::vector<std::string>(status.lines.end() - static_cast<ptrdiff_t>(c.tail.size()), status.lines.end()),
            c.tail);
    }
}

TEST_F(Login, AnAddressServerThatNeverFinishesTimesOut) {
    Start({.raw = "HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\n1|POOL1", .stall = true});
    testsupport::VirtualClock clock;
    const uint32_t start = clock.TickCount();
    RecordingStatus status;
    sockaddr_in address{};
    std::string challenge;
    EXPECT_EQ(CZVServer::FindSystem(&status, kSystem, 0, &address, &challenge), 0);
    EXPECT_GE(clock.TickCount() - start, 30000u);
    EXPECT_EQ(std::count_if(status.lines.begin(), status.lines.end(),
                            [](const std::string& line) { return line.rfind("TimeOut Got ", 0) == 0; }),
              1);
    EXPECT_EQ(status.lines.back(), "Done");
}

TEST_F(Login, ARelayThatClosesWithoutAnsweringEndsTheLogin) {
    StartGateway();
    relay = std::make_unique<FakeRelay>(gateway->Address(), FakeRelay::Options{.refuse = true});
    testsupport::RefusingPort nobody;
    ZVNetConfig config = GetNetConfig();
    config.serviceHost = "127.0.0.1";
    config.addressServerPort = testsupport::PortOf(nobody.Address());
    config.relayPort = relay->Port();
    SetNetConfig(config);
    RecordingStatus status;
    EXPECT_EQ(server.ConnectRemote(kSystem, kPassword, &status, 3), 0);
    EXPECT_EQ(status.lines,
              (std::vector<std::string>{"Connecting to Address Server...", "ERROR: Cannot connect to Address Server",
                                        "Connecting to Relay Server...", "Connected to RelayServer, Getting Challenge",
                                        "Waiting for response from relay server...",
                                        "ERROR: Could not connect to system via Relay Server"}));
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(gateway->Connections(), 0);
}

TEST_F(Login, TheAlternativeAddressOnRequest) {
    Start({.body = "1|POOL1|x|10.0.0.1|4500|127.0.0.2|4600|Chal"});
    sockaddr_in address{};
    std::string challenge;
    ASSERT_EQ(CZVServer::FindSystem(nullptr, kSystem, 1, &address, &challenge), 1);
    EXPECT_EQ(address.sin_addr.s_addr, inet_addr("127.0.0.2"));
    EXPECT_EQ(testsupport::PortOf(address), 4600);
    EXPECT_EQ(challenge, "Chal");
}

TEST_F(Login, OnlyTheFirst16CharactersOfThePasswordCount) {
    gatewayOptions.password = "ABCDEFGHIJKLMNOPQRST";
    StartDirect();
    ASSERT_EQ(server.ConnectRemote(kSystem, "ABCDEFGHIJKLMNOPxxxx", nullptr, 3), 1);
    EXPECT_TRUE(gateway->Logins()[0].accepted);
}

TEST_F(Login, ACancelDuringTheDirectConnectStopsBeforeTheRelay) {
    testsupport::StalledPort stalled;
    Start({.body = "7|POOL1|x|127.0.0.1|" + std::to_string(testsupport::PortOf(stalled.Address())) + "|a|b|c"});
    RecordingStatus status("Connecting to System at");
    EXPECT_EQ(server.ConnectRemote(kSystem, kPassword, &status, 3), 0);
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(status.lines.back().rfind("ERROR: Cannot connect to system at public address (", 0), 0u);
    EXPECT_THAT(status.lines, Not(Contains("Connecting to Relay Server...")));
    EXPECT_EQ(relay->Connections(), 0);
}

TEST_F(Login, AWrongPasswordIsRefusedDirectlyAndThroughTheRelay) {
    StartDirect();
    RecordingStatus status;
    EXPECT_EQ(server.ConnectRemote(kSystem, "wrong", &status, 3), 0);
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(server.GetLoginRefused(), 1);
    EXPECT_EQ(relay->Requests().size(), 1u);
    ASSERT_EQ(gateway->Logins().size(), 2u);
    EXPECT_FALSE(gateway->Logins()[1].accepted);
    EXPECT_EQ(std::count(status.lines.begin(), status.lines.end(), "Connection Actively Refused by Gateway"), 2);
    EXPECT_TRUE(gateway->WaitForDisconnect());
}

TEST_F(Login, AConnectionThroughTheRelayReconnectsThroughTheRelay) {
    Start({.body = DirectBody("POOL2")});
    server.SetRemoteMode(1);
    ASSERT_EQ(server.ConnectRemote(kSystem, kPassword, nullptr, 8), 1);
    gateway->Drop();
    ASSERT_TRUE(
        testsupport::PollAllUntil(server, [&] { return gateway->Logins().size() == 2 && server.IsConnected(); }));
    EXPECT_EQ(relay->Requests().size(), 2u);
    EXPECT_TRUE(gateway->Logins()[1].accepted);
    EXPECT_EQ(gateway->Logins()[1].client_name, "Remote Vistrel 240x240");
}

TEST_F(Login, AFailedReloginAfterAReconnectLeavesTheConnectionDown) {
    StartDirect();
    server.SetRemoteMode(1);
    ASSERT_EQ(server.ConnectRemote(kSystem, kPassword, nullptr, 3), 1);
    std::vector<std::string> log;
    testsupport::RecordingSink sink(server, "s", &log);
    server.RegisterSink(&sink);
    server.PollAll();
    EXPECT_THAT(log, ElementsAre("s:up"));

    gateway->On(testsupport::kLoginRequest, [](const Frame& request) {
        return std::vector<Frame>{{request.sender, testsupport::kLoginRejected, {}}};
    });
    gateway->Drop();
    ASSERT_TRUE(
        testsupport::PollAllUntil(server, [&] { return gateway->Connections() == 2 && !gateway->Connected(); }));
    EXPECT_FALSE(server.IsConnected());
    EXPECT_EQ(server.GetLoginRefused(), 1);
    for (int i = 0; i < 5; ++i) server.PollAll();
    EXPECT_EQ(std::count(log.begin(), log.end(), "s:up"), 1);
}

}  // namespace
