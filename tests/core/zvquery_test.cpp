#include "core/zvquery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "support/gateway_session.h"

namespace {

using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;
using testsupport::GatewaySession;
using testsupport::PollAllUntil;
using testsupport::RecordingSink;

constexpr uint16_t kRequest = 0x3000;

class Queries : public GatewaySession {
protected:
    void SetUp() override { Connect(); }

    // Answers kRequest with the given id and payload.
    void AnswerWith(uint16_t id, Bytes payload) {
        gateway.On(kRequest, [id, payload](const Frame& request) {
            return std::vector<Frame>{{request.sender, id, payload}};
        });
    }
};

TEST_F(Queries, AnswerArrives) {
    AnswerWith(kRequest + 1, PayloadWriter().Int(42).String("x"));
    CZVQuery query(server);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, kRequest);
    request.WriteInt(9);
    ASSERT_TRUE(query.Query(&answer, &request));
    int32_t value = 0;
    ASSERT_TRUE(answer->ReadInt(value));
    EXPECT_EQ(value, 42);
    EXPECT_FALSE(server.IsRegistered(&query));

    Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(kRequest, &sent));
    EXPECT_EQ(sent.sender, query.GetId());
    EXPECT_EQ(sent.payload, Bytes(PayloadWriter().Int(9)));
}

TEST_F(Queries, NullAnswerPointerSucceeds) {
    AnswerWith(kRequest + 1, {});
    CZVQuery query(server);
    CZVMSG request(0, kRequest);
    EXPECT_TRUE(query.Query(nullptr, &request));
}

TEST_F(Queries, TypedHelpersSendTheirValuesInOrderAndReadTheFirstValue) {
    AnswerWith(kRequest + 1, PayloadWriter().String("seven"));
    struct Case {
        std::function<int(CZVQuery&)> call;
        Bytes payload;
    };
    int32_t value = 0;
    std::string text;
    CZVMSG* answer = nullptr;
    const std::vector<Case> cases = {
        {[&](CZVQuery& q) { return q.Command0(kRequest); }, {}},
        {[&](CZVQuery& q) { return q.Command1(kRequest, 1); }, PayloadWriter().Int(1)},
        {[&](CZVQuery& q) { return q.Command2(kRequest, 1, 2); }, PayloadWriter().Int(1).Int(2)},
        {[&](CZVQuery& q) { return q.CommandString(kRequest, "s"); }, PayloadWriter().String("s")},
        {[&](CZVQuery& q) { return q.QueryAnswer1(&answer, kRequest, 1); }, PayloadWriter().Int(1)},
        {[&](CZVQuery& q) { return q.QueryAnswer2(&answer, kRequest, 1, 2); }, PayloadWriter().Int(1).Int(2)},
        {[&](CZVQuery& q) { return q.QueryAnswerString(&answer, kRequest, 1, 2, "s"); },
         PayloadWriter().Int(1).Int(2).String("s")},
        {[&](CZVQuery& q) { return q.QueryInt(value, kRequest); }, {}},
        {[&](CZVQuery& q) { return q.QueryInt1(value, kRequest, 1); }, PayloadWriter().Int(1)},
        {[&](CZVQuery& q) { return q.QueryInt2(value, kRequest, 1, 2); }, PayloadWriter().Int(1).Int(2)},
        {[&](CZVQuery& q) { return q.QueryInt3(value, kRequest, 1, 2, 3); }, PayloadWriter().Int(1).Int(2).Int(3)},
        {[&](CZVQuery& q) { return q.QueryInt4(value, kRequest, 1, 2, 3, 4); },
         PayloadWriter().Int(1).Int(2).Int(3).Int(4)},
        {[&](CZVQuery& q) { return q.QueryIntString(value, kRequest, "s"); }, PayloadWriter().String("s")},
        {[&](CZVQuery& q) { return q.QueryIntString1(value, kRequest, 1, "s"); }, PayloadWriter().Int(1).String("s")},
        {[&](CZVQuery& q) { return q.QueryIntString2(value, kRequest, 1, 2, "s"); },
         PayloadWriter().Int(1).Int(2).String("s")},
        {[&](CZVQuery& q) { return q.QueryString(text, kRequest); }, {}},
        {[&](CZVQuery& q) { return q.QueryString1(text, kRequest, 1); }, PayloadWriter().Int(1)},
        {[&](CZVQuery& q) { return q.QueryString2(text, kRequest, 1, 2); }, PayloadWriter().Int(1).Int(2)},
        {[&](CZVQuery& q) { return q.QueryString3(text, kRequest, 1, 2, 3); }, PayloadWriter().Int(1).Int(2).Int(3)},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        CZVQuery query(server);
        EXPECT_EQ(cases[i].call(query), 1) << "case " << i;
        Frame sent;
        ASSERT_TRUE(gateway.WaitForRequest(kRequest, &sent)) << "case " << i;
        EXPECT_EQ(sent.payload, cases[i].payload) << "case " << i;
    }
    EXPECT_EQ(text, "seven");
    AnswerWith(kRequest + 1, PayloadWriter().Int(42));
    CZVQuery query(server);
    EXPECT_TRUE(query.QueryInt2(value, kRequest, 1, 2));
    EXPECT_EQ(value, 42);
}

TEST_F(Queries, TypedHelpersLeaveTheOutputAloneWhenTheValueCannotBeRead) {
    AnswerWith(kRequest + 1, {});
    CZVQuery query(server);
    int32_t value = 5;
    std::string text = "kept";
    EXPECT_FALSE(query.QueryInt(value, kRequest));
    EXPECT_FALSE(query.QueryString(text, kRequest));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(text, "kept");
}

TEST_F(Queries, AGatewayThreadThatRunsLateIsStillWaitedFor) {
    // What a loaded machine does to the fake gateway's thread; the time-out is
    // on the test's clock and must not run out meanwhile.
    gateway.On(kRequest, [](const Frame& request) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return std::vector<Frame>{{request.sender, kRequest + 1, PayloadWriter().Int(5)}};
    });
    CZVQuery query(server);
    int32_t value = 0;
    EXPECT_TRUE(query.QueryInt(value, kRequest));
    EXPECT_EQ(value, 5);
}

TEST_F(Queries, TimesOutOnTheClock) {
    gateway.On(kRequest, [](const Frame&) { return std::vector<Frame>{}; });
    CZVQuery query(server);
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(query.Command0(kRequest));
    EXPECT_GT(clock.TickCount() - start, CZVQuery::kDefaultTimeout);
    EXPECT_LT(clock.TickCount() - start, CZVQuery::kDefaultTimeout + 100);
    EXPECT_FALSE(server.IsRegistered(&query));
    EXPECT_TRUE(server.IsConnected());
}

TEST_F(Queries, AnyOtherAnswerForItsSinkFailsAtOnce) {
    for (uint16_t id : {uint16_t(0x000D), uint16_t(kRequest + 2)}) {
        AnswerWith(id, {});
        CZVQuery query(server);
        const uint32_t start = clock.TickCount();
        EXPECT_FALSE(query.Command0(kRequest)) << id;
        EXPECT_LT(clock.TickCount() - start, 1000u) << id;
    }
}

TEST_F(Queries, ConnectionLossDuringTheWaitFails) {
    gateway.DropOn(kRequest);
    CZVQuery query(server);
    const uint32_t start = clock.TickCount();
    EXPECT_FALSE(query.Command0(kRequest));
    EXPECT_LT(clock.TickCount() - start, 1000u);
    EXPECT_FALSE(server.IsConnected());
}

TEST_F(Queries, NothingIsSentWithoutAConnection) {
    server.Disconnect();
    CZVQuery query(server);
    EXPECT_FALSE(query.Command0(kRequest));
    EXPECT_EQ(server.GetSinkCount(), 1);
}

TEST_F(Queries, AStatusSinkCancels) {
    class Cancel : public CStatusSink {
        int Continue() override { return 0; }
    } cancel;
    gateway.On(kRequest, [](const Frame&) { return std::vector<Frame>{}; });
    CZVQuery query(server);
    CZVMSG request(0, kRequest);
    ASSERT_TRUE(query.Send(&request));
    EXPECT_FALSE(query.Wait(nullptr, &cancel));
    EXPECT_FALSE(server.IsRegistered(&query));
}

TEST_F(Queries, ALateAnswerIsDropped) {
    RecordingSink sink(server, "s", &log);
    server.RegisterSink(&sink);
    gateway.On(kRequest, [](const Frame&) { return std::vector<Frame>{}; });
    CZVQuery query(server);
    EXPECT_FALSE(query.Command0(kRequest));
    const uint64_t before = server.GetSocket()->GetBytesReceived();
    ASSERT_TRUE(gateway.Push(kRequest + 1, {}, query.GetId()));
    ASSERT_TRUE(PollAllUntil(server, [&] { return server.GetSocket()->GetBytesReceived() > before; }));
    server.PollAll();
    EXPECT_TRUE(log.empty());
}

// The answer cache ------------------------------------------------------------------------

class Cache : public Queries {
protected:
    void SetUp() override {
        Queries::SetUp();
        ASSERT_TRUE(QACacheInit(server));
        gateway.On(kRequest, [this](const Frame& request) {
            return std::vector<Frame>{{request.sender, kRequest + 1, PayloadWriter().Int(++answers)}};
        });
    }
    void TearDown() override { QACacheShutdown(server); }

    // Queries through the cache; the answer is read from its start.
    int32_t Ask(int32_t argument, CZVMSG** kept = nullptr, CZVQuery* query = nullptr) {
        CZVQuery local(server, 1);
        CZVQuery& q = query ? *query : local;
        CZVMSG request(0, kRequest);
        request.WriteInt(argument);
        CZVMSG* answer = nullptr;
        if (!q.Query(&answer, &request))
            return -1;
        if (kept)
            *kept = answer;
        int32_t value = -1;
        answer->ReadInt(value);
        answer->ResetPosition();
        return value;
    }
    uint64_t BytesSent() const { return server.GetSocket()->GetBytesSent(); }

    int answers = 0;
};

TEST_F(Cache, ARepeatedRequestIsAnsweredWithoutTraffic) {
    EXPECT_EQ(Ask(1), 1);
    const uint64_t sent = BytesSent();
    EXPECT_EQ(Ask(1), 1);
    EXPECT_EQ(Ask(1), 1);
    EXPECT_EQ(BytesSent(), sent);
    EXPECT_EQ(Ask(2), 2);  // another request
    EXPECT_GT(BytesSent(), sent);
}

TEST_F(Cache, AnswersHandedOutAreCopiesThatOutliveTheCache) {
    CZVQuery missed(server, 1), hit(server, 1);
    CZVMSG* fromGateway = nullptr;
    CZVMSG* fromCache = nullptr;
    EXPECT_EQ(Ask(1, &fromGateway, &missed), 1);
    EXPECT_EQ(Ask(1, &fromCache, &hit), 1);
    QACacheShutdown(server);
    int32_t value = 0;
    EXPECT_TRUE(fromGateway->ReadInt(value) && value == 1);
    EXPECT_TRUE(fromCache->ReadInt(value) && value == 1);
}

TEST_F(Cache, EntriesExpireAfterAnHour) {
    EXPECT_EQ(Ask(1), 1);
    clock.Advance(CQACacheList::kLifetime);
    EXPECT_EQ(Ask(1), 1);
    clock.Advance(1);
    EXPECT_EQ(Ask(1), 2);
    EXPECT_EQ(Ask(1), 2);
}

TEST_F(Cache, OnlyQueriesThatAskForItAndOnlyTheirOwnManagersCache) {
    CZVServer other(ZVVariant::Tablet);
    EXPECT_EQ(Ask(1), 1);
    CZVQuery plain(server);
    int32_t value = 0;
    ASSERT_TRUE(plain.QueryInt1(value, kRequest, 1));
    EXPECT_EQ(value, 2);
    EXPECT_EQ(other.GetAnswerCache(), nullptr);
    EXPECT_EQ(QACacheInit(server), 0);  // one cache per manager
    QACacheClear(server);
    EXPECT_EQ(Ask(1), 3);
}

TEST(CacheList, HoldsAtMost101EntriesAndDropsTheOldest) {
    testsupport::VirtualClock clock;
    CQACacheList cache;
    auto message = [](int32_t value) {
        auto m = std::make_unique<CZVMSG>(0, kRequest);
        m->WriteInt(value);
        return m;
    };
    for (int i = 0; i < 101; ++i)
        cache.Insert(message(i), message(i));
    EXPECT_EQ(cache.GetCount(), 101);
    cache.Insert(message(101), message(101));
    EXPECT_EQ(cache.GetCount(), 101);
    EXPECT_EQ(cache.Lookup(*message(0)), nullptr);
    ASSERT_NE(cache.Lookup(*message(1)), nullptr);
    ASSERT_NE(cache.Lookup(*message(101)), nullptr);
    // Sender ids do not count.
    auto stamped = message(50);
    stamped->SetSenderId(77);
    EXPECT_NE(cache.Lookup(*stamped), nullptr);
}

}  // namespace
