// The style object against a fake gateway: the settings request and the
// notices that the settings changed.
#include <gtest/gtest.h>

#include "fake_gateway.h"
#include "support/gateway_session.h"
#include "support/widget_harness.h"
#include "widgets/style/setserver.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

class SettingsFromGateway : public ::testing::Test {
protected:
    void Connect() { ASSERT_TRUE(testsupport::ConnectToGateway(server, gateway, harness.Clock())); }

    testsupport::FakeGateway gateway;
    testsupport::WidgetHarness harness{320, 240};
    CZVServer& server = harness.Server();
    CSetServer& style = harness.Style();
};

TEST_F(SettingsFromGateway, LoadSendsTheLayoutTypeAndTakesTheAnswer) {
    gateway.Answer(ZVM_UI_GETSETTINGSQ, PayloadWriter().Int(2));
    Connect();
    ASSERT_EQ(style.Load(0, 0), 1);
    Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_GETSETTINGSQ, &sent));
    EXPECT_EQ(sent.payload, testsupport::Bytes(PayloadWriter().Int(3)));  // 320 x 240
    EXPECT_EQ(style.IsThemed(), 0);
    EXPECT_EQ(style.IsLoaded(), 1);
}

TEST_F(SettingsFromGateway, ChangedNoticeReloadsAndFlushesOnce) {
    gateway.Answer(ZVM_UI_GETSETTINGSQ, PayloadWriter().Int(2));
    Connect();
    ASSERT_TRUE(gateway.Push(ZVM_UI_SETTINGSCHANGED, {}));
    ASSERT_TRUE(testsupport::PollAllUntil(server, [this] { return harness.Root().cacheFlushes > 0; }));
    EXPECT_EQ(style.IsLoaded(), 1);
    EXPECT_EQ(style.GetFlags(), 0x21100);
}

TEST_F(SettingsFromGateway, NoAnswerLeavesTheStyleUnloaded) {
    gateway.On(ZVM_UI_GETSETTINGSQ, [](const Frame&) { return std::vector<Frame>{}; });
    Connect();
    EXPECT_EQ(style.Load(0, 0), 0);
    EXPECT_EQ(style.IsLoaded(), 0);
    EXPECT_EQ(style.GetFlags(), 0x81);
}

}  // namespace
