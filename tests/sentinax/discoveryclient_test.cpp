#include "sentinax/discoveryclient.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/zvmsg.h"
#include "fake_discovery.h"
#include "loopback.h"
#include "platform/program.h"
#include "sentinax/hostlookup.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

using testsupport::DiscoveryRecord;
using testsupport::EncodeFrame;
using testsupport::FakeDiscovery;
using testsupport::Frame;
using testsupport::PayloadWriter;

const uint8_t kLoopback[4] = {127, 0, 0, 1};
constexpr char kName[] = "Brenvik: 01-23-45";

// Records the progress lines.
class RecordingStatus : public CStatusSink {
public:
    void OnStatus(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

class DiscoveryTest : public ::testing::Test {
protected:
    DiscoveryTest() { discovery.Know({kName, "203.0.113.7", 4500}); }

    // Answers every lookup with one frame.
    void AnswerLookupsWith(uint16_t id, testsupport::Bytes payload, bool close = false) {
        discovery.On(testsupport::kDiscoveryLookup, [=](const Frame&) {
            return FakeDiscovery::Reply{EncodeFrame({0, id, payload}), close};
        });
    }

    testsupport::VirtualClock clock;
    FakeDiscovery discovery;
    // The service serves one connection at a time: tests that open their
    // own use no other.
    CDiscoveryClient& client() {
        if (!m_client) m_client.emplace(kLoopback, discovery.Port());
        return *m_client;
    }

private:
    std::optional<CDiscoveryClient> m_client;
};

TEST_F(DiscoveryTest, LookupTakesAddressPortFlagsAndStamp) {
    ASSERT_TRUE(client().IsConnected());
    RecordingStatus status;
    ASSERT_EQ(client().RequestRemoteConnection(kName, kRequesterName, &status), 1) << client().GetError();
    EXPECT_EQ(client().GetAddressText(), "203.0.113.7");
    EXPECT_EQ(client().port, 4500);
    EXPECT_EQ(client().publicPortOpen, 1);
    EXPECT_EQ(client().relayMode, 0);
    EXPECT_EQ(client().recordTime.GetYear(), 2010);
    EXPECT_EQ(client().recordTime.GetSecond(), 5);
    EXPECT_EQ(status.lines,
              (std::vector<std::string>{"Sending GATEWAY remote connection request...", "Remote connection authorized.",
                                        "Found system at 203.0.113.7:4500."}));
    const std::vector<Frame> requests = discovery.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].id, 0x4653);
    EXPECT_EQ(requests[0].payload, PayloadWriter().String(kName).String("Zavoro Service").Data());
}

TEST_F(DiscoveryTest, AnOlderAnswerHasNoStampAndClosedPortsAreOnlyReported) {
    DiscoveryRecord record{kName, "203.0.113.7", 4500, false, true};
    AnswerLookupsWith(0x4654, testsupport::DiscoveryLookupPayload(&record, false));
    RecordingStatus status;
    ASSERT_EQ(client().RequestRemoteConnection(kName, kRequesterName, &status), 1);
    EXPECT_EQ(client().recordTime.GetYear(), 0);
    EXPECT_EQ(client().recordTime.GetMonth(), 0);
    EXPECT_EQ(client().publicPortOpen, 0);
    EXPECT_EQ(status.lines.at(3), "Public port closed.");
    EXPECT_EQ(status.lines.at(4), "Relay mode is ON.");
}

TEST_F(DiscoveryTest, FailedLookupsSayWhy) {
    struct Case {
        const char* what;
        uint16_t id;
        testsupport::Bytes payload;
        bool close;
        std::string error;
    };
    const DiscoveryRecord record{kName, "1.2.3.4", 80};
    testsupport::Bytes notFound = testsupport::DiscoveryLookupPayload(&record);
    notFound[0] = 0;
    const Case cases[] = {
        {"not found", 0x4654, notFound, false, "Gateway not found"},
        {"service error", 0x4650, PayloadWriter().String("Database down"), false, "Database down"},
        {"other id", 0x4655, {}, false, "Unrecognized response (18005)"},
        {"cut short", 0x4654, PayloadWriter().Byte(1).Byte(0).Int(500), false, "Unrecognized response (18004)"},
        {"closed", 0, {}, true, "Communication to Discovery Service failed"},
    };
    for (const Case& c : cases) {
        CDiscoveryClient fresh(kLoopback, discovery.Port());
        if (c.close)
            discovery.On(testsupport::kDiscoveryLookup, [](const Frame&) { return FakeDiscovery::Reply{{}, true}; });
        else
            AnswerLookupsWith(c.id, c.payload);
        EXPECT_EQ(fresh.Lookup(kName, kRequesterName), 0) << c.what;
        EXPECT_EQ(fresh.GetError(), c.error) << c.what;
    }
}

TEST_F(DiscoveryTest, ASilentServiceIsGivenUpAfterTheSilenceLimit) {
    discovery.On(testsupport::kDiscoveryLookup, [](const Frame&) { return FakeDiscovery::Reply{}; });
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(client().Lookup(kName, kRequesterName), 0);
    EXPECT_EQ(client().GetError(), "Communication to Discovery Service failed");
    EXPECT_GT(clock.TickCount() - start, 60000u);
    EXPECT_LT(clock.TickCount() - start, 61000u);
    EXPECT_EQ(client().Lookup(kName, kRequesterName), 0);
    EXPECT_EQ(client().GetError().rfind("Not connected to Discovery Service. ", 0), 0u);
}

TEST(DiscoveryConnect, AServiceThatCannotBeReachedSaysSo) {
    testsupport::RefusingPort refusing;
    CDiscoveryClient refused(kLoopback, testsupport::PortOf(refusing.Address()));
    EXPECT_FALSE(refused.IsConnected());
    EXPECT_EQ(refused.GetError(),
              "Cannot connect to Discovery Service. Error #10061 in connect(): Connection refused.\n");
}

TEST_F(DiscoveryTest, BatchLookupFillsOneEntryPerAnsweredSystem) {
    discovery.Know({"Second", "198.51.100.2", 0, true, false, false});
    discovery.Know({kName, "203.0.113.9", 4600});  // named twice
    std::vector<LookupResult> results;
    RecordingStatus status;
    ASSERT_EQ(client().LookupMany({kName, "Second", "Unknown"}, results, &status), 1) << client().GetError();
    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[0].name, kName);
    EXPECT_EQ(results[0].address, "203.0.113.7");
    EXPECT_EQ(results[0].port, 4500);
    EXPECT_EQ(results[0].posting, 1);
    EXPECT_EQ(results[1].address, "203.0.113.9");
    EXPECT_EQ(results[2].name, "Second");
    EXPECT_EQ(results[2].posting, 0);
    EXPECT_EQ(status.lines, std::vector<std::string>{"Sending GATEWAY remote connections request..."});
    const Frame request = discovery.Requests().at(0);
    EXPECT_EQ(request.id, 0x466F);
    EXPECT_EQ(request.payload, PayloadWriter().Int(3).Int(3).String(kName).String("Second").String("Unknown").Data());
}

TEST_F(DiscoveryTest, BatchAnswersNeverFillMoreEntriesThanWereAsked) {
    discovery.Know({kName, "203.0.113.9", 4600});
    std::vector<LookupResult> results;
    ASSERT_EQ(client().LookupMany({kName}, results, nullptr), 1);
    EXPECT_EQ(results.size(), 1u);
}

TEST_F(DiscoveryTest, ABatchAnswerThatAnnouncesMoreThanItHoldsFails) {
    discovery.On(testsupport::kDiscoveryLookupMany, [](const Frame&) {
        return FakeDiscovery::Reply{EncodeFrame({0, 0x4670, PayloadWriter().Int(0).Int(1000000)})};
    });
    std::vector<LookupResult> results;
    EXPECT_EQ(client().LookupMany({kName, "B"}, results, nullptr), 0);
    EXPECT_TRUE(results.empty());
    EXPECT_EQ(client().GetError(), "Unrecognized response (18032)");
}

class ServerAddressTest : public ::testing::Test {
protected:
    // The loopback service the whole test program uses, put back after.
    const CDiscoveryConfig saved = GetDiscoveryConfig();
    ServerAddressTest() {
        CDiscoveryConfig config = saved;
        config.host = "";  // never resolves, and asks no name server
        config.fallbackAddress = "192.0.2.5";
        config.port = 500;
        SetDiscoveryConfig(config);
    }
    ~ServerAddressTest() override { SetDiscoveryConfig(saved); }

    std::pair<std::string, uint16_t> Server() {
        std::string host;
        uint16_t port = 0;
        EXPECT_TRUE(GetDiscoveryServer(host, port));
        return {host, port};
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
};

TEST_F(ServerAddressTest, TheOverrideFileNamesHostAndPort) {
    const std::string file = platform::GetProgramFilePath(kOverrideFileName);
    struct Case {
        std::string text;
        std::string host;
        uint16_t port;
    };
    const Case cases[] = {
        {"10.1.2.3:7000", "10.1.2.3", 7000},
        {"10.1.2.3:7000\n", "10.1.2.3", 7000},
        {"[::1]:7001", "[::1]", 7001},
        // Only the first 31 bytes count: the last ':' within them splits.
        {"10.1.2.3:7002xxxxxxxxxxxxxxxxxx:9", "10.1.2.3", 7002},
        {"10.1.2.3", "192.0.2.5", 500},        // no ':'
        {"10.1.2.3:0", "192.0.2.5", 500},      // port 0
        {"10.1.2.3:70000", "192.0.2.5", 500},  // no port
    };
    for (const Case& c : cases) {
        testsupport::WriteFileText(file, c.text);
        EXPECT_EQ(Server(), std::make_pair(c.host, c.port)) << c.text;
    }
}

TEST_F(ServerAddressTest, AResolvedHostNameUsesTheServicePort) {
    CDiscoveryConfig config = GetDiscoveryConfig();
    config.host = "127.0.0.1";
    config.port = 5001;
    SetDiscoveryConfig(config);
    EXPECT_EQ(Server(), std::make_pair(std::string("127.0.0.1"), uint16_t{5001}));
    const CServerAddress address;
    EXPECT_TRUE(address.IsResolved());
}

TEST_F(ServerAddressTest, WithoutFileOrNameTheFallbackServes) {
    EXPECT_EQ(Server(), std::make_pair(std::string("192.0.2.5"), uint16_t{500}));
    EXPECT_EQ(CServerAddress().GetHost(), "");
}

// The test program's guard (loopback_environment.cpp) turns a lookup of the
// product's service name into a failure instead of a question to a name server.
TEST_F(ServerAddressTest, ALookupOfARealHostNameFailsTheTest) {
    SetDiscoveryConfig(CDiscoveryConfig{});
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(CServerAddress().IsResolved()), "discovery.zavoro.com");
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(LookUpHost("mail.example.com", nullptr)), "mail.example.com");
}

}  // namespace
