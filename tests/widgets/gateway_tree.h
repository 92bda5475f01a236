#pragma once
// A widget tree whose connection manager talks to a fake gateway on
// loopback, for widgets that fetch pictures and icons.
#include <gtest/gtest.h>

#include "button_fixture.h"
#include "support/gateway_session.h"
#include "support/widget_harness.h"

namespace widgettest {

class GatewayTree : public ::testing::Test {
protected:
    GatewayTree() { testsupport::HoldClockWhileGatewayAnswers(harness.Clock(), gateway, server); }
    ~GatewayTree() override { harness.Clock().HoldWhile({}); }

    void Connect() { ASSERT_TRUE(testsupport::ConnectToGateway(server, gateway, harness.Clock())); }
    // The next request with this id that the gateway received.
    testsupport::Frame NextRequest(uint16_t id) {
        testsupport::Frame frame;
        EXPECT_TRUE(gateway.WaitForRequest(id, &frame));
        return frame;
    }
    // Sends a message to the sink and polls until the condition holds.
    template <class Condition>
    void Deliver(uint16_t sinkId, uint16_t id, const testsupport::Bytes& payload, Condition condition) {
        ASSERT_TRUE(gateway.Push(id, payload, sinkId));
        ASSERT_TRUE(testsupport::PollAllUntil(server, condition));
    }

    PinnedFonts fonts;
    testsupport::FakeGateway gateway;
    CZVServer server{ZVVariant::Tablet};
    testsupport::WidgetHarness harness{server, 320, 240};
    testsupport::TestMainWnd& root = harness.Root();
};

}  // namespace widgettest
