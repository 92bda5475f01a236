#include "core/serverlink.h"

#include <gtest/gtest.h>

#include "core/basinsetup.h"
#include "core/zvquery.h"
#include "pool_fixtures.h"
#include "support/gateway_session.h"

namespace {

using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;
using testsupport::GatewaySession;
using testsupport::PollAllUntil;

constexpr uint16_t kRequest = 0x3000;

Bytes PayloadOf(const CZVMSG& message) {
    return Bytes(message.GetData(), message.GetData() + message.GetLength());
}

class ServerLink : public GatewaySession {
protected:
    void SetUp() override { Connect(); }
};

TEST_F(ServerLink, AskWaitsTheCallersTimeOut) {
    gateway.On(kRequest, [](const Frame&) { return std::vector<Frame>{}; });
    CServerLink link(server);
    CZVMSG request(0, kRequest);
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(link.Ask(request, 1234), nullptr);
    EXPECT_GT(clock.TickCount() - start, 1234u);
    EXPECT_LT(clock.TickCount() - start, 1234u + 100);
}

TEST_F(ServerLink, AskOutlivesTheQueryAndUsesTheCacheOnlyWhenAsked) {
    ASSERT_TRUE(QACacheInit(server));
    int answers = 0;
    gateway.On(kRequest, [&answers](const Frame& request) {
        return std::vector<Frame>{{request.sender, kRequest + 1, PayloadWriter().Int(++answers)}};
    });
    struct Case {
        int useCache;
        std::vector<int32_t> seen;
    };
    for (const Case& c : {Case{0, {1, 2}}, Case{1, {3, 3}}}) {
        CServerLink link(server, c.useCache);
        std::vector<int32_t> seen;
        for (int i = 0; i < 2; ++i) {
            CZVMSG request(0, kRequest);
            request.WriteInt(c.useCache);
            auto answer = link.Ask(request, kDefaultQueryTimeout);
            ASSERT_NE(answer, nullptr) << c.useCache;
            EXPECT_EQ(answer->GetId(), kRequest + 1);
            seen.push_back(IntsOf(*answer).at(0));
        }
        EXPECT_EQ(seen, c.seen) << c.useCache;
    }
    QACacheShutdown(server);
}

TEST_F(ServerLink, SendFailsWithoutAConnection) {
    CServerLink link(server);
    CZVMSG message(0, kRequest);
    EXPECT_EQ(link.Send(message), 1);
    server.Disconnect();
    EXPECT_EQ(link.Send(message), 0);
    EXPECT_EQ(link.Ask(message, kDefaultQueryTimeout), nullptr);
}

// The tablet's pool page as far as the connection goes: it builds its model,
// subscribes to the status and feeds every status message to the model.
class PoolPage : public CSocketSink {
public:
    PoolPage(CZVServer& server, CGatewayLink& link) : CSocketSink(server), pool(link, ZVVariant::Tablet, 0) {
        server.RegisterSink(this);
    }

    void Open() {
        CZVMSG subscribe(0, ZVM_POOL_SUBSCRIBE);
        subscribe.WriteInt(pool.GetControllerIndex());
        subscribe.WriteInt(GetId());
        pool.Link().Send(subscribe);
        CZVMSG status(GetId(), ZVM_POOL_GETSTATUSQ);
        status.WriteInt(pool.GetControllerIndex());
        pool.Link().Send(status);
    }

    void OnMessage(CZVMSG* message) override { statuses += pool.ReadStatus(*message); }

    CBasinSetup pool;
    int statuses = 0;
};

TEST_F(ServerLink, PoolCircuitSwitchedThroughTheManager) {
    ConfigFixture config;
    gateway.Answer(ZVM_POOL_GETCONFIGQ, PayloadOf(*ConfigAnswer(config, ZVVariant::Tablet)));
    StatusFixture status;
    gateway.Answer(ZVM_POOL_GETSTATUSQ, PayloadOf(*StatusMessage(status)));

    CServerLink link(server);
    PoolPage page(server, link);
    ASSERT_TRUE(page.pool.IsLoaded());
    EXPECT_EQ(page.pool.GetControllerName(), "Backyard");
    ASSERT_EQ(page.pool.GetCircuitCount(), 4);
    Frame frame;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_GETCONFIGQ, &frame));
    EXPECT_EQ(frame.payload, Bytes(PayloadWriter().Int(0).Int(0)));

    page.Open();
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_SUBSCRIBE, &frame));
    EXPECT_EQ(frame.sender, 0);
    EXPECT_EQ(frame.payload, Bytes(PayloadWriter().Int(0).Int(page.GetId())));
    ASSERT_TRUE(PollAllUntil(server, [&] { return page.statuses == 1; }));
    EXPECT_EQ(page.pool.GetAirTemp(), 80);
    CPoolCircuit* aux = page.pool.FindCircuitById(502);
    ASSERT_NE(aux, nullptr);
    EXPECT_EQ(aux->state, 1);

    // The gateway switches the circuit and tells the subscribed sink.
    StatusFixture switched;
    switched.air = 82;
    switched.bodies[0].temperature = 79;
    switched.circuits[1].state = 0;
    const uint16_t subscriber = page.GetId();
    gateway.On(ZVM_POOL_SETCIRCUIT, [&](const Frame&) {
        return std::vector<Frame>{{subscriber, ZVM_POOL_STATUSCHANGED, PayloadOf(*StatusMessage(switched))}};
    });
    page.pool.SetCircuitState(aux, 0);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_SETCIRCUIT, &frame));
    EXPECT_EQ(frame.sender, 0);
    EXPECT_EQ(frame.payload, Bytes(PayloadWriter().Int(0).Int(502).Int(0)));
    ASSERT_TRUE(PollAllUntil(server, [&] { return page.statuses == 2; }));
    EXPECT_EQ(page.pool.GetAirTemp(), 82);
    EXPECT_EQ(page.pool.GetBody(0)->temperature, 79);
    EXPECT_EQ(aux->state, 0);
    EXPECT_TRUE(gateway.Errors().empty());
}

}  // namespace
