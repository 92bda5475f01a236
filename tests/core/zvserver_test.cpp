#include "core/zvserver.h"

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "core/zvquery.h"
#include "core/zvsock.h"
#include "assert_counter.h"
#include "loopback.h"
#include "platform/report.h"
#include "search_responder.h"
#include "support/gateway_session.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadReader;
using testsupport::PayloadWriter;
using testsupport::GatewaySession;
using testsupport::PollAllUntil;
using testsupport::RecordingSink;

constexpr uint16_t kRequest = 0x3000;
constexpr uint16_t kNotice = 0x4000;

// Sink ids ---------------------------------------------------------------------------------

TEST(SinkIds, WrapAfter7FFEToOneAndSkipIdsStillRegistered) {
    CZVServer server(ZVVariant::Tablet);
    CSocketSink first(server);
    EXPECT_EQ(first.GetId(), 2);
    ASSERT_TRUE(server.RegisterSink(&first));

    std::set<uint16_t> seen;
    uint16_t id = first.GetId();
    while (id != 0x7FFE) {
        id = server.NextQueryId();
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 0x7FFEu - 2);  // 3 .. 0x7FFE, once each
    EXPECT_EQ(server.NextQueryId(), 1);
    // 2 still belongs to the registered sink.
    EXPECT_EQ(server.NextQueryId(), 3);
    server.UnregisterSink(&first);
    while (server.NextQueryId() != 0x7FFE) {
    }
    EXPECT_EQ(server.NextQueryId(), 1);
    EXPECT_EQ(server.NextQueryId(), 2);
}

TEST(SinkIds, RenewAndSwap) {
    CZVServer server(ZVVariant::Monitor);
    CSocketSink a(server), b(server);
    EXPECT_EQ(a.GetId(), 2);
    EXPECT_EQ(b.GetId(), 3);
    a.SwapId(&b);
    EXPECT_EQ(a.GetId(), 3);
    EXPECT_EQ(b.GetId(), 2);
    a.SwapId(nullptr);
    EXPECT_EQ(a.GetId(), 3);
    a.RenewId();
    EXPECT_EQ(a.GetId(), 4);
}

// Registration -----------------------------------------------------------------------------

TEST(Registration, SecondRegistrationIsRefusedAndTheDestructorUnregisters) {
    testsupport::AssertCounter asserts;
    CZVServer server(ZVVariant::Tablet);
    EXPECT_EQ(server.GetSinkCount(), 1);  // the manager itself
    EXPECT_EQ(server.FindSink(0), &server);
    {
        CSocketSink sink(server);
        EXPECT_EQ(server.RegisterSink(&sink), 1);
        EXPECT_EQ(server.RegisterSink(&sink), 0);
        EXPECT_EQ(asserts.Count(), 1);
        EXPECT_EQ(asserts.LastSource(), "zvserver");
        EXPECT_EQ(server.GetSinkCount(), 2);
        EXPECT_EQ(server.FindSink(sink.GetId()), &sink);
    }
    EXPECT_EQ(server.GetSinkCount(), 1);
    EXPECT_EQ(server.RegisterSink(nullptr), 0);
}

TEST(Registration, SinksOutlivingTheManagerAreDetached) {
    auto server = std::make_unique<CZVServer>(ZVVariant::Monitor);
    CSocketSink registered(*server), unregistered(*server), neverRegistered(*server);
    server->RegisterSink(&registered);
    server->RegisterSink(&unregistered);
    server->UnregisterSink(&unregistered);
    server.reset();
    for (const CSocketSink* sink : {&registered, &unregistered, &neverRegistered})
        EXPECT_EQ(sink->GetServer(), nullptr);
}  // the sinks' destructors must not reach the deleted manager

TEST(Registration, AFinishedQueryOutlivesItsManager) {
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    gateway.Answer(kRequest, PayloadWriter().Int(7));
    auto server = std::make_unique<CZVServer>(ZVVariant::Tablet);
    ASSERT_TRUE(testsupport::ConnectToGateway(*server, gateway, clock));
    CZVQuery query(*server);
    query.SetTimeout(60000);
    int32_t value = 0;
    ASSERT_TRUE(query.QueryInt(value, kRequest));
    EXPECT_FALSE(server->IsRegistered(&query));  // it unregistered itself on the answer
    server.reset();
    EXPECT_EQ(query.GetServer(), nullptr);
    EXPECT_FALSE(query.QueryInt(value, kRequest));
}  // nor the query's

TEST(Registration, AnyBusy) {
    CZVServer server(ZVVariant::Tablet);
    CSocketSink sink(server);
    server.RegisterSink(&sink);
    EXPECT_FALSE(server.AnyBusy());
    sink.SetBusy(1);
    EXPECT_TRUE(server.AnyBusy());
}

// Dispatch and broadcast -------------------------------------------------------------------

TEST(Dispatch, ReachesTheHolderOfTheIdOrNobody) {
    CZVServer server(ZVVariant::Tablet);
    std::vector<std::string> log;
    RecordingSink a(server, "a", &log), b(server, "b", &log);
    server.RegisterSink(&a);
    server.RegisterSink(&b);
    for (uint16_t sender : {uint16_t(3), uint16_t(0), uint16_t(99), uint16_t(0x8003), uint16_t(0xFFFF)}) {
        CZVMSG message(sender, 0x10);
        server.Dispatch(&message);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"b:16"}));
}

class BroadcastWalk : public ::testing::Test {
protected:
    BroadcastWalk() {
        for (int i = 0; i < 5; ++i) {
            sinks.push_back(std::make_unique<RecordingSink>(server, "s" + std::to_string(i), &log));
            server.RegisterSink(sinks.back().get());
        }
    }
    void Broadcast() {
        CZVMSG message(CZVServer::kEverySink, 7);
        server.Broadcast(&message);
    }

    CZVServer server{ZVVariant::Monitor};
    std::vector<std::string> log;
    std::vector<std::unique_ptr<RecordingSink>> sinks;
};

TEST_F(BroadcastWalk, ASinkThatUnregistersItselfDoesNotMakeTheWalkSkipItsSuccessor) {
    sinks[1]->onMessage = [&] { server.UnregisterSink(sinks[1].get()); };
    sinks[2]->onMessage = [&] { server.UnregisterSink(sinks[2].get()); };
    Broadcast();
    EXPECT_EQ(log, (std::vector<std::string>{"s0:7", "s1:7", "s2:7", "s3:7", "s4:7"}));
}

TEST_F(BroadcastWalk, SinksRegisteredDuringTheWalkAreReachedAndRemovedOnesAreNot) {
    RecordingSink late(server, "late", &log);
    RecordingSink last(server, "last", &log);
    sinks[0]->onMessage = [&] { sinks[3].reset(); };  // its destructor unregisters it
    sinks[1]->onMessage = [&] { server.RegisterSink(&late); };
    // Registered by the tail itself, when the walk has nothing left after it.
    late.onMessage = [&] { server.RegisterSink(&last); };
    Broadcast();
    EXPECT_EQ(log, (std::vector<std::string>{"s0:7", "s1:7", "s2:7", "s4:7", "late:7", "last:7"}));
}

TEST_F(BroadcastWalk, ConnectionChangesWalkTheSameWay) {
    server.NotifyConnect(1);
    EXPECT_EQ(log.size(), 5u);
    EXPECT_EQ(log.front(), "s0:up");
}

// Traffic through the fake gateway ---------------------------------------------------------

class Traffic : public GatewaySession {};

TEST_F(Traffic, MessagesForOtherSinksAreHeldBackDuringAQueryAndDeliveredInArrivalOrder) {
    RecordingSink seven(server, "a", &log), nine(server, "b", &log);
    server.RegisterSink(&seven);
    server.RegisterSink(&nine);
    Connect();
    log.clear();
    gateway.On(kRequest, [&](const Frame& request) {
        return std::vector<Frame>{{seven.GetId(), 0x50, {}},
                                  {testsupport::kEverySink, kNotice, {}},
                                  {nine.GetId(), 0x51, {}},
                                  {request.sender, kRequest + 1, PayloadWriter().Int(5)}};
    });
    CZVQuery query(server);
    int32_t value = 0;
    ASSERT_TRUE(query.QueryInt(value, kRequest));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(server.GetHeldBackCount(), 3);

    // A query of another sink does not receive them either.
    gateway.Answer(kRequest + 2, PayloadWriter().Int(6));
    CZVQuery other(server);
    ASSERT_TRUE(other.QueryInt(value, kRequest + 2));
    EXPECT_TRUE(log.empty());

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(server.PollAll(), CZVServer::kPollWork);
    EXPECT_EQ(log, (std::vector<std::string>{"a:80", "a:16384", "b:16384", "b:81"}));
    EXPECT_EQ(server.GetHeldBackCount(), 0);
}

TEST_F(Traffic, ASinkMayQueryFromInsideItsOnMessage) {
    RecordingSink sink(server, "s", &log);
    server.RegisterSink(&sink);
    Connect();
    log.clear();
    gateway.Answer(kRequest, PayloadWriter().Int(8));
    int32_t value = 0;
    sink.onMessage = [&] {
        if (log.size() == 1) {
            CZVQuery query(server);
            EXPECT_TRUE(query.QueryInt(value, kRequest));
        }
    };
    // Both notifications arrive together; the second waits in the buffer behind the
    // frame being handled while the query reads its answer.
    ASSERT_TRUE(gateway.PushFrames({{testsupport::kEverySink, kNotice, {}}, {testsupport::kEverySink, kNotice + 1, {}}}));
    ASSERT_TRUE(PollAllUntil(server, [&] { return log.size() == 2; }));
    EXPECT_EQ(value, 8);
    EXPECT_EQ(log, (std::vector<std::string>{"s:16384", "s:16385"}));
}

TEST_F(Traffic, SinksHearOfConnectionChangesOnlyFromPollAll) {
    RecordingSink sink(server, "s", &log);
    server.RegisterSink(&sink);
    Connect();
    EXPECT_EQ(log, (std::vector<std::string>{"s:up"}));

    gateway.DropOn(kRequest);
    CZVQuery query(server);
    EXPECT_FALSE(query.Command0(kRequest));
    EXPECT_FALSE(server.IsConnected());
    // The query's own polls neither tell the sinks nor reconnect.
    clock.Advance(5000);
    EXPECT_EQ(server.Poll(nullptr, query.GetId()), CZVServer::kPollDown);
    EXPECT_EQ(log, (std::vector<std::string>{"s:up"}));
    EXPECT_EQ(gateway.Connections(), 1);

    server.PollAll();
    EXPECT_EQ(log, (std::vector<std::string>{"s:up", "s:down", "s:up"}));
}

TEST_F(Traffic, ReconnectsAtMostOncePerSecond) {
    Connect();
    gateway.Drop();
    ASSERT_TRUE(PollAllUntil(server, [&] { return !server.IsConnected(); }));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
    clock.Advance(999);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
    EXPECT_FALSE(server.IsConnected());
    clock.Advance(1);
    server.PollAll();
    EXPECT_TRUE(server.IsConnected());
    EXPECT_TRUE(gateway.WaitForClient());
}

TEST(Reconnect, AFailedAttemptIsNotRepeatedWithinTheSecond) {
    testsupport::VirtualClock clock;
    // Bound but not yet listening: connections are refused until listen().
    const int port = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = testsupport::Loopback(0);
    socklen_t size = sizeof address;
    ASSERT_EQ(bind(port, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(getsockname(port, reinterpret_cast<sockaddr*>(&address), &size), 0);

    CZVServer server(ZVVariant::Config);
    server.SetGatewayAddress(address);
    server.SetReconnect(1);
    clock.Advance(CZVServer::kReconnectInterval);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
    EXPECT_EQ(server.GetSocket()->LastAttemptTick(), clock.TickCount());

    ASSERT_EQ(listen(port, 4), 0);
    clock.Advance(CZVServer::kReconnectInterval - 1);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
    EXPECT_FALSE(server.IsConnected());
    clock.Advance(1);
    server.PollAll();
    EXPECT_TRUE(server.IsConnected());
    server.Disconnect();
    close(port);
}

TEST_F(Traffic, AfterDisconnectNothingReconnects) {
    Connect();
    server.Disconnect();
    clock.Advance(5000);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
    EXPECT_FALSE(server.IsConnected());

    // Without an address nothing is searched either.
    CZVServer fresh(ZVVariant::Tablet);
    clock.Advance(5000);
    EXPECT_EQ(fresh.PollAll(), CZVServer::kPollIdle);
    EXPECT_EQ(fresh.PollAll(), CZVServer::kPollIdle);
}

TEST_F(Traffic, RediscoverSearchesByNameAndReconnects) {
    testsupport::SearchResponder responder;
    responder.AddReply({{.address = "127.0.0.1", .port = gateway.Port(), .kind = 1, .name = "Pool"}});
    ZVNetConfig config = GetNetConfig();
    config.searchPort = responder.Port();
    config.broadcastAddress = htonl(INADDR_LOOPBACK);
    SetNetConfig(config);

    Connect();
    server.SetName("Pool");
    EXPECT_EQ(server.Rediscover(), 1);
    EXPECT_TRUE(server.IsConnected());
    EXPECT_EQ(server.GetReconnect(), 1);
    EXPECT_TRUE(gateway.WaitForRequest(testsupport::kLoginRequest));
    EXPECT_EQ(gateway.Connections(), 2);
}

class ManagerKeepAlive : public GatewaySession {
protected:
    void SetUp() override {
        ZVNetConfig config = GetNetConfig();
        config.keepAlivePort = keepAlivePort.Port();
        SetNetConfig(config);
        Connect();
        sender = std::make_unique<testsupport::KeepAliveSender>(config.keepAlivePort);
    }
    // One datagram, read by the manager's polls.
    void Beat() {
        clock.Advance(10);
        ASSERT_TRUE(sender->Send());
        ASSERT_TRUE(PollAllUntil(server, [&] { return server.GetSocket()->MsSinceKeepAlive() == 0; }));
    }

    testsupport::ReservedUdpPort keepAlivePort;
    std::unique_ptr<testsupport::KeepAliveSender> sender;
};

TEST_F(ManagerKeepAlive, SilenceAfterTheFirstDatagramDropsTheConnection) {
    Beat();
    clock.Advance(5000);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollIdle);
    clock.Advance(1);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
    EXPECT_FALSE(server.IsConnected());
}

TEST_F(ManagerKeepAlive, RecentTrafficOnTheConnectionKeepsItUp) {
    Beat();
    clock.Advance(4000);
    const uint64_t before = server.GetSocket()->GetBytesReceived();
    ASSERT_TRUE(gateway.Push(kNotice, {}));
    ASSERT_TRUE(PollAllUntil(server, [&] { return server.GetSocket()->GetBytesReceived() > before; }));
    clock.Advance(2000);
    EXPECT_TRUE(server.PollAll() != CZVServer::kPollDown && server.IsConnected());
    clock.Advance(1);
    EXPECT_EQ(server.PollAll(), CZVServer::kPollDown);
}

TEST_F(ManagerKeepAlive, NeverDroppedWithoutAFirstDatagramOrWithTheCheckOff) {
    clock.Advance(60000);
    EXPECT_NE(server.PollAll(), CZVServer::kPollDown);
    Beat();
    server.SetKeepAlive(0);
    clock.Advance(60000);
    EXPECT_NE(server.PollAll(), CZVServer::kPollDown);
    EXPECT_TRUE(server.IsConnected());
}

// Reports to the gateway -------------------------------------------------------------------

TEST_F(Traffic, FailedChecksAndTracesGoToTheGatewayWhileARelayLives) {
    Connect();
    {
        CZVReportRelay relay(server);
        ASSERT_TRUE(relay.IsInstalled());
        EXPECT_FALSE(CZVReportRelay(server).IsInstalled());
        ReportAssert("src/core/zvthing.cpp", 12, 1);
        ReportTrace("Gen 3");
        Frame frame;
        std::string text;
        ASSERT_TRUE(gateway.WaitForRequest(ZVM_DEBUG_ASSERT, &frame));
        EXPECT_EQ(frame.sender, 0);
        ASSERT_TRUE(PayloadReader(frame.payload).String(&text));
        EXPECT_EQ(text, "zvthing.cpp(line 12: 4.0 Build 1499.0 Rel)");
        ASSERT_TRUE(gateway.WaitForRequest(ZVM_DEBUG_TRACE, &frame));
        ASSERT_TRUE(PayloadReader(frame.payload).String(&text));
        EXPECT_EQ(text, "Gen 3");
    }
    CZVReportRelay next(server);
    EXPECT_TRUE(next.IsInstalled());
}

// Several managers at once -----------------------------------------------------------------

TEST(SeveralManagers, TwoThreadsTalkToTwoGatewaysAtOnce) {
    testsupport::VirtualClock clock;
    constexpr int kRounds = 50;
    auto run = [&clock](testsupport::FakeGateway& gateway, int32_t base, bool* ok) {
        CZVServer server(ZVVariant::Monitor);
        std::vector<std::string> log;
        RecordingSink sink(server, "s", &log);
        server.RegisterSink(&sink);
        *ok = sink.GetId() == 2 && testsupport::ConnectToGateway(server, gateway, clock);
        for (int i = 0; i < kRounds && *ok; ++i) {
            CZVQuery query(server);
            query.SetTimeout(60000);
            int32_t value = 0;
            // Each manager counts its own sink ids.
            *ok = query.GetId() == 3 + i && query.QueryInt1(value, kRequest, i) && value == base + i;
        }
    };
    auto echo = [](int32_t base) {
        return [base](const Frame& request) {
            int32_t i = 0;
            PayloadReader(request.payload).Int(&i);
            return std::vector<Frame>{{request.sender, kRequest + 1, PayloadWriter().Int(base + i)}};
        };
    };
    testsupport::FakeGateway first, second;
    first.On(kRequest, echo(1000));
    second.On(kRequest, echo(2000));
    bool firstOk = false, secondOk = false;
    std::thread a(run, std::ref(first), 1000, &firstOk);
    std::thread b(run, std::ref(second), 2000, &secondOk);
    a.join();
    b.join();
    EXPECT_TRUE(firstOk);
    EXPECT_TRUE(secondOk);
}

}  // namespace
