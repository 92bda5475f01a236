#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/basinsetup.h"
#include "core/zvmsg.h"
#include "core/zvsock.h"
#include "fake_address_server.h"
#include "fake_discovery.h"
#include "fake_gateway.h"
#include "fake_relay.h"
#include "loopback.h"
#include "platform/clock.h"
#include "platform/program.h"
#include "sample_installation.h"
#include "sentinax/alarmmail.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"
#include "sentinax/statuscode.h"
#include "sentinax/system.h"
#include "sentinax/systemrefresh.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

using testsupport::FakeGateway;
using testsupport::Frame;
using testsupport::PayloadWriter;

constexpr char kAdapter[] = "Backyard Adapter";
constexpr char kPassword[] = "secret";

class FakeColumns : public CSystemColumns {
public:
    int GetColumnCount() const override { return 1; }
    std::string GetLongTitle(int) const override { return "Status"; }
    std::string GetCellText(const CSystem&, int) const override { return "x"; }
};

class FakeQueue : public CMailQueue {
public:
    void Queue(std::unique_ptr<CEmailMessage> message) override { queued.push_back(std::move(message)); }
    std::string GetDefaultRecipient() const override { return "service@example.com"; }
    std::vector<std::unique_ptr<CEmailMessage>> queued;
};

testsupport::SampleInstallation Sample(const std::string& version) {
    testsupport::SampleInstallation sample;
    sample.adapterName = kAdapter;
    sample.adapterVersion = version;
    sample.monitorLayout = true;
    sample.layout4 = version.rfind("3.", 0) != 0;
    return sample;
}

FakeGateway::Options WithPassword() {
    FakeGateway::Options options;
    options.password = kPassword;
    return options;
}

// A chlorinator answer of an adapter from 4.396: installed, status flags,
// pool and spa output, salt / 50, error bits.
testsupport::Bytes Chlorinator(int32_t flags, int32_t salt, int32_t errors, int32_t installed = 1) {
    return PayloadWriter().Int(installed).Int(flags).Int(50).Int(20).Int(salt).Int(errors);
}

// A system reached through the discovery service, the fake gateway serving
// the sample installation (adapter 4.1 Build 612), on the test clock. The
// address server and the relay refuse unless a test starts them.
class RefreshTest : public ::testing::Test {
public:
    RefreshTest() {
        testsupport::ServeSampleInstallation(gateway, Sample("4.1 Build 612.0 Rel"));
        gateway.Answer(0x311C, Chlorinator(1, 60, 0));
        gateway.Answer(0x3126, PayloadWriter().Int(2).Int(1).String("Air Sensor").Int(0).String("Water Sensor"));
        clock.HoldWhile([this] { return gateway.Owes(); });
        discovery.Know({kAdapter, "127.0.0.1", gateway.Port()});
        testsupport::WriteFileText(platform::GetProgramFilePath(kOverrideFileName),
                                   "127.0.0.1:" + std::to_string(discovery.Port()));
        ZVNetConfig net;
        net.serviceHost = "127.0.0.1";
        net.addressServerPort = RefusedPort();
        net.relayPort = RefusedPort();
        SetNetConfig(net);
        SetRefreshInterval(600000);
        gates.SetSystemCount(1);
        system.adapterName = kAdapter;
        system.password = kPassword;
        system.lookupRequested = 1;
        context.gates = &gates;
        context.mailQueue = &mail;
        context.columns = &columns;
    }
    ~RefreshTest() override {
        clock.HoldWhile({});
        SetNetConfig({});
    }

    uint16_t RefusedPort() const { return testsupport::PortOf(refusing.Address()); }
    void UseRelay(uint16_t port) {
        ZVNetConfig net = GetNetConfig();
        net.relayPort = port;
        SetNetConfig(net);
    }
    // Adapters of version 4 are refreshed through the address server once
    // their version is known; one of version 5 keeps the own path.
    void UseAdapter5() {
        gateway.Answer(0x1FB8, PayloadWriter().String("5.0 Build 100.0 Rel").Int(2));
        gateway.Answer(0x3126, PayloadWriter().Int(1).Int(1).String("Air Sensor").Int(0).Int(0).Int(0).Int(0).Int(0));
    }
    int RefreshOnce() {
        CStatusSink status;
        return system.Refresh(context, status);
    }
    // One refresh of the system at a gateway of the test's own, reached at
    // its address; the clock is held while that gateway owes an answer.
    int RefreshAt(FakeGateway& other) {
        clock.HoldWhile([&other] { return other.Owes(); });
        system.cachedAddress = "127.0.0.1";
        system.cachedPort = other.Port();
        system.majorVersion = 0;
        clock.Advance(3001);
        const int result = RefreshOnce();
        clock.HoldWhile({});
        return result;
    }

    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    testsupport::VirtualClock clock{100000};
    testsupport::RefusingPort refusing;
    FakeGateway gateway{WithPassword()};
    testsupport::FakeDiscovery discovery;
    CConnectGates gates;
    FakeQueue mail;
    FakeColumns columns;
    CRefreshContext context;
    CSystem system;
};

TEST_F(RefreshTest, AWholeRefreshReadsTheSystem) {
    system.Update(context);
    EXPECT_EQ(system.status, kStatusConnected);
    EXPECT_EQ(system.statusText, "Not Connected");
    EXPECT_EQ(system.neverConnected, 0);
    EXPECT_EQ(system.firstPoll, 0);
    EXPECT_EQ(system.failureCount, 0);
    EXPECT_EQ(system.cachedAddress, "127.0.0.1");
    EXPECT_EQ(system.cachedPort, gateway.Port());
    EXPECT_EQ(system.adapterVersion, "4.1 Build 612");
    EXPECT_EQ(system.majorVersion, 4);
    EXPECT_EQ(system.modelName, "Corvanta m9+3");
    EXPECT_EQ(system.firmwareVersion, "2.170");
    EXPECT_EQ(system.airTemperature, 78);
    EXPECT_EQ(system.poolTemperature, 81);
    EXPECT_EQ(system.poolSetPoint, 82);
    EXPECT_EQ(system.spaTemperature, 99);
    EXPECT_EQ(system.spaSetPoint, 102);
    EXPECT_EQ(system.poolPump, 1);
    EXPECT_EQ(system.spaPump, 0);
    EXPECT_EQ(system.spaSideRemote, 1);
    EXPECT_EQ(system.chlorinatorPresent, 1);
    EXPECT_EQ(system.poolChlorineOutput, 50);
    EXPECT_EQ(system.spaChlorineOutput, 20);
    EXPECT_EQ(system.saltLevel, 60);
    EXPECT_EQ(system.chlorinatorModel, "Marivo");
    // The pool light (lights page) and the positioned light, both off.
    EXPECT_EQ(system.lightsTotal, 2);
    EXPECT_EQ(system.lightsOn, 0);
    // The location for the mail's map link, as the system information holds it.
    EXPECT_EQ(system.locationKnown, 1);
    EXPECT_EQ(system.latitude, 337490);
    EXPECT_EQ(system.longitude, 843880);
    EXPECT_EQ(system.CopyAlarms(), (std::vector<CSystemError>{{kAlarmSystem, 0}}));
    EXPECT_TRUE(system.CopyWarnings().empty());
    EXPECT_TRUE(mail.queued.empty());  // the first poll mails nothing

    // The own path logged in with the adapter name, after one lookup.
    ASSERT_EQ(gateway.Logins().size(), 1u);
    EXPECT_EQ(gateway.Logins()[0].client_name, kAdapter);
    EXPECT_TRUE(gateway.Logins()[0].accepted);
    EXPECT_EQ(discovery.Requests().size(), 1u);

    // One history record, read back as it was.
    CZVFile history(system.GetHistoryFileName(0), ZVVariant::Monitor);
    ASSERT_TRUE(history.Open(CZVFile::kRead));
    CSystem record;
    ASSERT_TRUE(record.LoadHistoryRecord(history));
    EXPECT_EQ(record.status, kStatusConnected);
    EXPECT_EQ(record.poolTemperature, 81);
    EXPECT_FALSE(record.LoadHistoryRecord(history));
}

// A refresh that found every lookup slot taken keeps its lookup request, so
// that the retry makes the lookup it waited for instead of skipping it.
TEST_F(RefreshTest, ARetryAfterBusySlotsStillLooksUp) {
    for (int i = 0; i < CConnectGates::kConnectSlots; ++i) {
        ASSERT_TRUE(gates.TryTakeConnectSlot());
        clock.Advance(CConnectGates::kSlotAttemptGapMs);
    }
    EXPECT_EQ(RefreshOnce(), kStatusRetry);
    EXPECT_EQ(system.lookupRequested, 1);
    EXPECT_TRUE(discovery.Requests().empty());
    for (int i = 0; i < CConnectGates::kConnectSlots; ++i) gates.ReleaseConnectSlot();
    clock.Advance(CConnectGates::kSlotAttemptGapMs);
    EXPECT_TRUE(IsConnectedStatus(RefreshOnce()));
    EXPECT_EQ(discovery.Requests().size(), 1u);
}

TEST_F(RefreshTest, ChangedAlarmsAreMailedAfterTheFirstPoll) {
    UseAdapter5();
    system.notifyChlorinator = 1;
    system.Update(context);
    ASSERT_EQ(system.status, kStatusConnected);
    EXPECT_TRUE(mail.queued.empty());
    // High salt, error bits 1 and 6 (the seventh bit counts from adapter 5),
    // and a chlorinator that stopped talking. The pumps' states are not read
    // here, and a pump not known to run raises no low-flow alarm.
    EXPECT_EQ(system.poolPump, -1);
    gateway.Answer(0x311C, Chlorinator(0, 84, 0x42));
    system.Update(context);
    ASSERT_EQ(system.status, kStatusConnected);
    EXPECT_EQ(system.CopyAlarms(),
              (std::vector<CSystemError>{
                  {kAlarmChlorinator, 1}, {kAlarmChlorinator, 6}, {kAlarmChlorinator, 10}, {kAlarmSystem, 0}}));
    EXPECT_EQ(mail.queued.size(), 1u);  // the default recipient
    // The second refresh went straight to the cached address.
    EXPECT_EQ(discovery.Requests().size(), 1u);
    system.Update(context);
    EXPECT_EQ(mail.queued.size(), 1u);  // nothing changed
}

// Freeze protection is about the air: a system without a chlorinator raises
// the freeze alarm, holds it two hours from when it was first seen, and
// mails it like the other alarms.
TEST_F(RefreshTest, FreezeAlarmStandsWithoutAChlorinator) {
    UseAdapter5();
    gateway.Answer(0x311C, PayloadWriter().Int(0).Int(0).Int(0).Int(0).Int(0).Int(0));
    const auto freezeRaised = [this] {
        const std::vector<CSystemError> alarms = system.CopyAlarms();
        return std::count(alarms.begin(), alarms.end(), CSystemError{kAlarmFreeze, 0}) == 1;
    };
    system.Update(context);
    ASSERT_EQ(system.status, kStatusConnected);
    EXPECT_FALSE(freezeRaised());
    testsupport::Bytes freezing = testsupport::SampleStatus(1);
    freezing[4] = 1;  // the freeze byte after the link state
    gateway.Answer(0x30EE, freezing);
    system.Update(context);
    EXPECT_TRUE(freezeRaised());
    EXPECT_EQ(mail.queued.size(), 1u);
    EXPECT_EQ(system.chlorinatorPresent, 0);

    gateway.Answer(0x30EE, testsupport::SampleStatus(1));
    clock.Advance(3600000);
    system.Update(context);
    EXPECT_TRUE(freezeRaised()) << "held after the freeze ended";
    EXPECT_EQ(mail.queued.size(), 1u);
    clock.Advance(3600000);
    system.Update(context);
    EXPECT_FALSE(freezeRaised());
    EXPECT_EQ(mail.queued.size(), 2u);  // the change is mailed too
}

// The freeze alarm stands two hours from when freeze protection was first
// seen, gone or not; while protection is on, the chlorinator's low-flow bit
// (bit 0) is no alarm, as the pump is held on purpose.
TEST_F(RefreshTest, FreezeHoldsItsAlarmTwoHoursAndSilencesTheFlowBit) {
    UseAdapter5();
    gateway.Answer(0x311C, Chlorinator(1, 60, 0x1));
    const auto raised = [this](CSystemError entry) {
        std::vector<CSystemError> all = system.CopyAlarms();
        const std::vector<CSystemError> warnings = system.CopyWarnings();
        all.insert(all.end(), warnings.begin(), warnings.end());
        return std::count(all.begin(), all.end(), entry) == 1;
    };
    testsupport::Bytes freezing = testsupport::SampleStatus(1);
    freezing[4] = 1;  // the freeze byte after the link state
    const struct {
        uint32_t advance;  // since the previous refresh
        bool freezeNow;
        bool freezeAlarm;
        bool flowAlarm;
    } steps[] = {
        {0, true, true, false},           // protection on
        {30 * 60000, false, true, true},  // gone, 30 minutes after it was seen
        {89 * 60000, false, true, true},  // a minute short of two hours
        {2 * 60000, false, false, true},  // past two hours
    };
    for (const auto& step : steps) {
        clock.Advance(step.advance);
        gateway.Answer(0x30EE, step.freezeNow ? freezing : testsupport::SampleStatus(1));
        system.Update(context);
        ASSERT_EQ(system.status, kStatusConnected);
        EXPECT_EQ(raised({kAlarmFreeze, 0}), step.freezeAlarm) << step.advance;
        EXPECT_EQ(raised({kAlarmChlorinator, 0}), step.flowAlarm) << step.advance;
    }
}

// "4.2.520.0" is cut at its last dot and read as major 4, build 520.
TEST_F(RefreshTest, AVersionOfThreeNumbersGivesMajorAndBuild) {
    FakeGateway fresh(WithPassword());
    testsupport::ServeSampleInstallation(fresh, Sample("4.2.520.0"));
    fresh.Answer(0x311C, Chlorinator(1, 60, 0));
    fresh.Answer(0x3126, PayloadWriter().Int(0));
    clock.HoldWhile([&fresh] { return fresh.Owes(); });
    system.cachedAddress = "127.0.0.1";
    system.cachedPort = fresh.Port();
    EXPECT_EQ(RefreshOnce(), kStatusConnected);
    clock.HoldWhile({});
    EXPECT_EQ(system.adapterVersion, "4.2.520");
    EXPECT_EQ(system.majorVersion, 4);
    EXPECT_EQ(system.spaChlorineOutput, 20);  // read from 4.396 on
}

// A pump state of 255 (or -1, a circuit the status did not name) was not
// read: it is no running pump, so a chlorinator
// that does not talk raises no false low-flow alarm (and mail) on a system
// without a pool circuit.
TEST_F(RefreshTest, ASilentChlorinatorWhileThePoolPumpRunsIsLowFlow) {
    system.notifyChlorinator = 1;
    gateway.Answer(0x311C, Chlorinator(0, 60, 0));
    EXPECT_EQ(RefreshOnce(), kStatusConnected);
    EXPECT_EQ(system.poolPump, 1);
    EXPECT_EQ(system.CopyAlarms(), (std::vector<CSystemError>{{kAlarmChlorinator, 7}, {kAlarmSystem, 0}}));
}

TEST(PumpState, OnlyReadNonZeroStatesRun) {
    const std::pair<int32_t, bool> cases[] = {{-1, false}, {0, false},  {1, true},
                                              {2, true},   {254, true}, {kNotRead, false}};
    for (const auto& [state, running] : cases) EXPECT_EQ(IsPumpRunning(state), running) << state;
}

TEST(LightsCount, CountsTheCircuitsOfTheLightsPages) {
    struct Row {
        uint8_t function;
        uint8_t showWith;
        int32_t state;
    } rows[] = {
        {7, 4, 1},   // a light on the lights page, on
        {9, 3, 0},   // a positioned light, off
        {16, 3, 1},  // a positioned light, on
        {3, 2, 1},   // function 3 on the water features page: no light
        {4, 0, 1},   // function 4 on the pool page: no light
        {0, 4, 0},   // a generic circuit the lights page shows
        {12, 5, 1},  // a light not shown anywhere
    };
    std::vector<CPoolCircuit> circuits;
    for (const Row& row : rows) {
        CPoolCircuit circuit(nullptr, 0);
        circuit.function = row.function;
        circuit.interface = row.showWith;
        circuit.state = row.state;
        circuits.push_back(circuit);
    }
    std::vector<const CPoolCircuit*> pointers;
    for (const CPoolCircuit& circuit : circuits) pointers.push_back(&circuit);
    const CLightsCount lights = CountLights(pointers);
    EXPECT_EQ(lights.total, 4);
    EXPECT_EQ(lights.on, 2);
}

TEST_F(RefreshTest, SaltAlarmStartsAt4200Ppm) {
    UseAdapter5();
    for (int32_t salt : {83, 84}) {
        gateway.Answer(0x311C, Chlorinator(1, salt, 0));
        system.Update(context);
        const std::vector<CSystemError> warnings = system.CopyWarnings();
        EXPECT_EQ(warnings.size(), salt == 84 ? 1u : 0u) << salt;
    }
}

TEST_F(RefreshTest, ReachesTheGatewayThroughTheRelay) {
    testsupport::FakeRelay relay(gateway.Address());
    UseRelay(relay.Port());
    discovery.Know({"Other", "x", 0});
    testsupport::FakeDiscovery* service = &discovery;
    service->On(testsupport::kDiscoveryLookup, [this](const Frame&) {
        testsupport::DiscoveryRecord record{kAdapter, "127.0.0.1", RefusedPort()};
        return testsupport::FakeDiscovery::Reply{testsupport::EncodeFrame(
            {0, testsupport::kDiscoveryLookupAnswer, testsupport::DiscoveryLookupPayload(&record)})};
    });
    system.Update(context);
    EXPECT_EQ(system.status, kStatusConnected);
    ASSERT_EQ(relay.Requests().size(), 1u);
    EXPECT_EQ(relay.Requests()[0].name, "Zavoro Service");
    EXPECT_EQ(relay.Requests()[0].port, RefusedPort());
}

TEST_F(RefreshTest, WithoutALookupTheAddressServerPathServes) {
    testsupport::FakeAddressServer addresses(
        {.body = "1|" + std::string(kAdapter) + "|u|127.0.0.1|" + std::to_string(gateway.Port()) + "|127.0.0.1|1|C"});
    clock.HoldWhile([&] { return gateway.Owes() || addresses.Owes(); });
    ZVNetConfig net = GetNetConfig();
    net.addressServerPort = addresses.Port();
    SetNetConfig(net);
    system.lookupRequested = 0;
    system.majorVersion = 5;
    system.Update(context);
    clock.HoldWhile([this] { return gateway.Owes(); });
    EXPECT_EQ(system.status, kStatusConnected);
    EXPECT_EQ(discovery.Connections(), 0);
    EXPECT_EQ(addresses.Requests().size(), 1u);
    EXPECT_EQ(system.majorVersion, 4);
}

TEST_F(RefreshTest, ConnectionFailuresEndWithTheirCodes) {
    struct Case {
        const char* what;
        std::function<void(RefreshTest&)> arrange;
        int status;
        bool addressKept;  // the address server's path, tried after the own one, forgets it
    };
    const Case cases[] = {
        {"unknown to the service",
         [](RefreshTest& t) {
             t.discovery.On(testsupport::kDiscoveryLookup, [](const Frame&) {
                 return testsupport::FakeDiscovery::Reply{testsupport::EncodeFrame(
                     {0, testsupport::kDiscoveryLookupAnswer, testsupport::DiscoveryLookupPayload(nullptr)})};
             });
         },
         kStatusNotPosting, false},
        {"public port closed",
         [](RefreshTest& t) {
             t.discovery.On(testsupport::kDiscoveryLookup, [&t](const Frame&) {
                 testsupport::DiscoveryRecord record{kAdapter, "127.0.0.1", t.gateway.Port(), false};
                 return testsupport::FakeDiscovery::Reply{testsupport::EncodeFrame(
                     {0, testsupport::kDiscoveryLookupAnswer, testsupport::DiscoveryLookupPayload(&record)})};
             });
         },
         kStatusRelayNotFound, false},
        {"no way in",
         [](RefreshTest& t) {
             t.system.cachedAddress = "127.0.0.1";
             t.system.cachedPort = t.RefusedPort();
         },
         kStatusCannotConnect, false},
        {"login refused", [](RefreshTest& t) { t.system.password = "wrong"; }, kStatusLoginRefused, true},
        {"gateway silent during login", [](RefreshTest& t) { t.gateway.DropOn(0x001B); }, kStatusLoginFailed, false},
    };
    for (const Case& c : cases) {
        RefreshTest& t = *this;
        t.system.adapterName = kAdapter;
        t.system.password = kPassword;
        t.system.cachedAddress.clear();
        t.system.lookupRequested = 1;
        t.system.connectStatus = 0;
        t.discovery.On(testsupport::kDiscoveryLookup, [&t](const Frame&) {
            testsupport::DiscoveryRecord record{kAdapter, "127.0.0.1", t.gateway.Port()};
            return testsupport::FakeDiscovery::Reply{testsupport::EncodeFrame(
                {0, testsupport::kDiscoveryLookupAnswer, testsupport::DiscoveryLookupPayload(&record)})};
        });
        c.arrange(t);
        clock.Advance(3001);  // past the pacing
        EXPECT_EQ(RefreshOnce(), c.status) << c.what;
        EXPECT_EQ(!system.cachedAddress.empty(), c.addressKept) << c.what;
    }
}

TEST_F(RefreshTest, GatesThatSayNoAreWaitedFor) {
    gates.SetSystemCount(0);
    ASSERT_TRUE(gates.PaceConnect());  // a connection started just now elsewhere
    const uint32_t start = clock.TickCount();
    system.Update(context);
    EXPECT_EQ(system.status, kStatusConnected);
    EXPECT_GE(clock.TickCount() - start, CConnectGates::kLaterPauseMs);
}

TEST_F(RefreshTest, AWrongSystemIsLookedUpAgainTwiceSoon) {
    gateway.Answer(0x1F7A, PayloadWriter().Int(1).Int(0).String("Someone Else"));
    for (int round = 1; round <= 3; ++round) {
        system.lookupRequested = 1;
        clock.Advance(3001);
        system.Update(context);
        EXPECT_EQ(system.status, kStatusSystemMismatch);
        EXPECT_TRUE(system.cachedAddress.empty());
        EXPECT_EQ(system.failureCount, round);
        const uint32_t now = clock.TickCount();
        if (round < 3) {
            EXPECT_EQ(system.lookupRequested, 1);
            EXPECT_EQ(system.lastRefreshTick, now - (600000 - 5000));
        } else {
            EXPECT_EQ(system.lookupRequested, 0);
            EXPECT_EQ(system.lastRefreshTick, now);
        }
    }
}

TEST_F(RefreshTest, ReadingFailuresEndWithTheirCodes) {
    struct Case {
        const char* what;
        uint16_t request;
        testsupport::Bytes answer;  // empty: left unanswered
        std::string version;
        int status;
    };
    const Case cases[] = {
        {"no configuration", 0x30F4, {}, "4.1 Build 612.0 Rel", kStatusNoConfiguration},
        {"no status", 0x30EE, {}, "4.1 Build 612.0 Rel", kStatusNoStatus},
        {"no chlorinator", 0x311C, {}, "4.1 Build 612.0 Rel", kStatusNoChlorinator},
        {"no errors", 0x3126, {}, "4.1 Build 612.0 Rel", kStatusNoWarnings},
        {"cut error list", 0x3126, PayloadWriter().Int(100000).Int(1), "4.1 Build 612.0 Rel", kStatusNoWarnings},
        {"version of neither form", 0, {}, "4.396.0", kStatusNotConnected},
        {"adapter 3 has no pump step", 0, {}, "3.1 Build 200.0 Rel", kStatusNoWarnings},
    };
    for (const Case& c : cases) {
        FakeGateway fresh(WithPassword());
        testsupport::ServeSampleInstallation(fresh, Sample(c.version));
        fresh.Answer(0x311C, Chlorinator(1, 60, 0));
        fresh.Answer(0x3126, PayloadWriter().Int(0));
        if (c.request && c.answer.empty())
            fresh.On(c.request, [](const Frame&) { return std::vector<Frame>{}; });
        else if (c.request)
            fresh.Answer(c.request, c.answer);
        clock.HoldWhile([&fresh] { return fresh.Owes(); });
        system.cachedAddress = "127.0.0.1";
        system.cachedPort = fresh.Port();
        system.majorVersion = 0;
        clock.Advance(3001);
        EXPECT_EQ(RefreshOnce(), c.status) << c.what;
        clock.HoldWhile({});
    }
}

// Closing the program sets the poll threads' stop flag: a query the gateway
// leaves unanswered gives up at once instead of waiting out its time-out.
TEST_F(RefreshTest, AStopBreaksTheWaitForAnAnswer) {
    class StopOnceAsked : public CStatusSink {
    public:
        explicit StopOnceAsked(FakeGateway& gateway) : m_gateway(gateway) {}
        int Continue() override { return m_gateway.RequestsOf(0x30EE).empty(); }

    private:
        FakeGateway& m_gateway;
    };
    gateway.On(0x30EE, [](const Frame&) { return std::vector<Frame>{}; });
    StopOnceAsked stop(gateway);
    const uint32_t start = platform::GetTickCount();
    EXPECT_EQ(system.Refresh(context, stop), kStatusNoStatus);
    EXPECT_LT(platform::TicksSince(start), kDefaultQueryTimeout);
}

TEST_F(RefreshTest, NewerAdaptersReadTheirErrorTables) {
    FakeGateway fresh(WithPassword());
    testsupport::ServeSampleInstallation(fresh, Sample("5.2 Build 738.0 Rel"));
    fresh.Answer(0x311C, PayloadWriter().Int(0).Int(0).Int(0).Int(0).Int(0).Int(0));
    // System errors, 2 pumps x 2 entries, an unused list, chemistry, heat pump.
    fresh.Answer(0x3126, PayloadWriter()
                             .Int(2)
                             .Int(0)
                             .Int(1)
                             .String("e")
                             .Int(2)
                             .Int(2)
                             .Int(1)
                             .String("p")
                             .Int(0)
                             .Int(0)
                             .Int(1)
                             .String("q")
                             .Int(1)
                             .Int(1)
                             .String("u")
                             .Int(1)
                             .Int(1)
                             .String("c")
                             .Int(2)
                             .Int(0)
                             .Int(1)
                             .String("h"));
    clock.HoldWhile([&fresh] { return fresh.Owes(); });
    system.cachedAddress = "127.0.0.1";
    system.cachedPort = fresh.Port();
    system.notifyChemistry = 1;
    system.notifyHeatPump = 1;
    EXPECT_EQ(RefreshOnce(), kStatusConnected);
    clock.HoldWhile({});
    EXPECT_EQ(system.adapterVersion, "5.2 Build 738");
    EXPECT_EQ(system.majorVersion, 5);
    EXPECT_EQ(system.CopyAlarms(), (std::vector<CSystemError>{{kAlarmSystem, 1}, {3, 0}, {4, 1}, {11, 0}, {12, 1}}));
    EXPECT_EQ(system.chlorinatorModel, "");
}

// Adapters before 5 ask each pump whose equipment bit (0x10 << slot) is set
// for its alarm bits: bits 1 to 9 are the pump's alarms 0 to 8, bit 15 its
// lost communication (9); the others mean nothing.
TEST_F(RefreshTest, PumpAlarmBitsOfEachFittedPump) {
    struct Case {
        int32_t bits;
        std::vector<int32_t> alarms;
    };
    const Case cases[] = {
        {0x0000, {}},
        {0x0001, {}},
        {0x0002, {0}},
        {0x0200, {8}},
        {0x7C00, {}},
        {0x8000, {9}},
        {0x83FE, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    constexpr int32_t kPumpsOneAndThree = 0x02 | 0x10 | 0x40;  // with the heat pump
    system.notifyPumpErrors = 1;
    for (const Case& c : cases) {
        FakeGateway fresh(WithPassword());
        samplegateway::House house = testsupport::SampleHouse(Sample("4.1 Build 612.0 Rel"));
        ASSERT_TRUE(house.Set("equipment", int64_t{kPumpsOneAndThree}));
        samplegateway::Serve(fresh.Engine(), house);
        fresh.Answer(0x311C, Chlorinator(1, 60, 0));
        fresh.Answer(0x3126, PayloadWriter().Int(0));
        std::vector<int32_t> slotsAsked;
        fresh.On(0x3128, [&slotsAsked, bits = c.bits](const Frame& request) {
            testsupport::PayloadReader reader(request.payload);
            int32_t controller = -1, slot = -1;
            reader.Int(&controller) && reader.Int(&slot);
            slotsAsked.push_back(slot);
            // Running, watts, RPM, alarm bits, GPM, filter.
            const testsupport::Bytes answer = PayloadWriter().Int(1).Int(900).Int(2000).Int(bits).Int(40).Int(10);
            return std::vector<Frame>{{request.sender, 0x3129, answer}};
        });
        EXPECT_EQ(RefreshAt(fresh), kStatusConnected) << c.bits;
        EXPECT_EQ(slotsAsked, (std::vector<int32_t>{0, 2})) << c.bits;
        std::vector<CSystemError> expected;
        for (const int32_t pump : {0, 2})
            for (const int32_t alarm : c.alarms) expected.emplace_back(kAlarmFirstPump + pump, alarm);
        EXPECT_EQ(system.CopyAlarms(), expected) << c.bits;
    }
}

TEST_F(RefreshTest, AnUnansweredPumpEndsTheRefresh) {
    FakeGateway fresh(WithPassword());
    samplegateway::House house = testsupport::SampleHouse(Sample("4.1 Build 612.0 Rel"));
    ASSERT_TRUE(house.Set("equipment", int64_t{0x20}));
    samplegateway::Serve(fresh.Engine(), house);
    fresh.Answer(0x311C, Chlorinator(1, 60, 0));
    fresh.Answer(0x3126, PayloadWriter().Int(0));
    fresh.On(0x3128, [](const Frame&) { return std::vector<Frame>{}; });
    EXPECT_EQ(RefreshAt(fresh), kStatusNoWarnings);
}

// Byte table 10 of the configuration holding text at positions 6 to 21, in
// a table of the given size (a shorter table cuts the text).
std::vector<uint8_t> ChlorinatorTable(const std::string& text, size_t size = 22) {
    std::vector<uint8_t> table(size);
    for (size_t i = 0; i < text.size() && 6 + i < size; ++i) table[6 + i] = static_cast<uint8_t>(text[i]);
    return table;
}

// The extended configuration as the monitor reads it from 4.0 on: type and
// expansion, then twelve byte tables, of which 1 (the firmware) and 11 (the
// chlorinator's, byte table 10) hold bytes.
testsupport::Bytes ExtendedConfiguration(const std::vector<uint8_t>& chlorinatorTable) {
    const uint8_t firmware[] = {2, 0xAA};
    PayloadWriter out;
    out.Int(2).Int(0x40).Int(2).Raw(firmware, sizeof firmware);
    for (int table = 2; table <= 10; ++table) out.Int(0);
    out.Int(static_cast<int32_t>(chlorinatorTable.size()));
    if (!chlorinatorTable.empty()) out.Raw(chlorinatorTable.data(), chlorinatorTable.size());
    return out.Int(0);
}

// From adapter 4.520 on the chlorinator's model is read from the
// configuration; before, a fitted chlorinator keeps the model it had.
TEST_F(RefreshTest, ChlorinatorModelFromAdapter4520On) {
    struct Case {
        const char* version;
        int32_t installed;
        std::vector<uint8_t> table;
        const char* model;
    };
    const Case cases[] = {
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable("MARIVO--40"), "Marivo MV40"},
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable("marivo--20   "), "Marivo MV20"},
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable("Marivo--60"), "Marivo MV60"},
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable("Salto Cell 3  "), "Salto Cell 3"},
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable(""), "Marivo"},
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable("ABCDEFGHIJKLMNOPQR", 24), "ABCDEFGHIJKLMNOP"},
        {"4.1 Build 612.0 Rel", 1, ChlorinatorTable("Marivo--40", 9), "Mar"},
        {"4.1 Build 612.0 Rel", 1, {}, "Marivo"},
        {"4.1 Build 612.0 Rel", 0, ChlorinatorTable("marivo--40"), ""},
        {"4.2.520.0", 1, ChlorinatorTable("marivo--40"), "Marivo MV40"},
        {"4.1 Build 519.0 Rel", 1, ChlorinatorTable("marivo--40"), "Earlier"},
        {"4.1 Build 519.0 Rel", 0, ChlorinatorTable("marivo--40"), ""},
    };
    for (const Case& c : cases) {
        FakeGateway fresh(WithPassword());
        testsupport::ServeSampleInstallation(fresh, Sample(c.version));
        fresh.Answer(0x3116, ExtendedConfiguration(c.table));
        fresh.Answer(0x311C, Chlorinator(1, 60, 0, c.installed));
        fresh.Answer(0x3126, PayloadWriter().Int(0));
        system.chlorinatorModel = "Earlier";
        EXPECT_EQ(RefreshAt(fresh), kStatusConnected) << c.version << " " << c.model;
        EXPECT_EQ(system.chlorinatorModel, c.model) << c.version;
    }
}

// The older error list: before adapter 4 each entry is a text and counts as
// set; from 4 a flag goes before each text; from 5 a clear flag has no text.
TEST(OldErrorList, EntriesByAdapterMajor) {
    using Wire = std::vector<std::variant<int32_t, std::string>>;
    struct Case {
        int major;
        Wire wire;
        bool whole;
        std::vector<int32_t> raised;
    };
    const Case cases[] = {
        {3, {2, "Air Sensor", "Water Sensor"}, true, {0, 1}},
        {4, {3, 0, "Air Sensor", 1, "Water Sensor", 0, "Solar Sensor"}, true, {1}},
        {5, {3, 1, "Air Sensor", 0, 1, "Solar Sensor"}, true, {0, 2}},
        {5, {2, 0, 0}, true, {}},
        {5, {2, 1, "Air Sensor"}, false, {0}},
        {4, {2, 1}, false, {}},
        {4, {100000, 1, "Air Sensor"}, false, {}},
        {4, {-1}, false, {}},
    };
    for (const Case& c : cases) {
        CZVMSG answer(0, 0x3127, 0, 1, ZVVariant::Monitor);
        for (const auto& item : c.wire) {
            if (const int32_t* value = std::get_if<int32_t>(&item))
                answer.WriteInt(*value);
            else
                answer.WriteString(std::get<std::string>(item));
        }
        answer.ResetPosition();
        std::vector<int32_t> raised;
        EXPECT_EQ(ReadOldErrorEntries(answer, c.major, [&raised](int32_t k) { raised.push_back(k); }), c.whole)
            << c.major << " " << c.wire.size();
        EXPECT_EQ(raised, c.raised) << c.major << " " << c.wire.size();
    }
}

TEST(SetModelName, ByTypeAndExpansion) {
    struct Case {
        int type, expansion;
        const char* name;
    };
    const Case cases[] = {
        {0, 0, "Corvanta m5"}, {7, 0, "Corvanta m5X"}, {10, 1, "Orlenza Pool/Spa"},    {10, 3, "Orlenza Solar"},
        {11, 9, "Orlenza"},    {13, 6, "Brisela R4S"}, {13, 10, "Brisela2 4-circuit"}, {14, 7, "Brisela1 4P"},
        {8, 0, "Unknown"},     {-1, 0, "Unknown"}};
    CSystem system;
    for (const Case& c : cases) {
        system.SetModelName(c.type, c.expansion);
        EXPECT_EQ(system.modelName, c.name) << c.type << "/" << c.expansion;
    }
}

}  // namespace
