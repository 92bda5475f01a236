// The program's ping schedule, its connections and the remote password, with
// the password window.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QTimer>

#include "basinsetup/pingschedule.h"
#include "basinsetup/setpassdlg.h"
#include "basinsetup/views/dialogs.h"
#include "core/messages/setupmessages.h"
#include "core/zvcode.h"
#include "core/zvquery.h"
#include "platform/cp1252.h"
#include "qt_application.h"
#include "setup_session.h"

namespace {

using bstest::SetupSession;

TEST(PingSchedule, FiveSecondsAfterAnAnswerTenWithout) {
    testsupport::VirtualClock clock;
    CPingSchedule ping;
    clock.Advance(5000);
    EXPECT_FALSE(ping.Step());
    clock.Advance(1);
    EXPECT_TRUE(ping.Step());
    EXPECT_TRUE(ping.IsOutstanding());
    // Unanswered: given up after 5 s, and the next goes 5 s after that.
    clock.Advance(5001);
    EXPECT_FALSE(ping.Step());
    EXPECT_FALSE(ping.IsOutstanding());
    clock.Advance(5000);
    EXPECT_FALSE(ping.Step());
    clock.Advance(1);
    EXPECT_TRUE(ping.Step());
    // Answered 2 s later: the next one 5 s after the answer.
    clock.Advance(2000);
    ping.OnAnswer();
    EXPECT_FALSE(ping.IsOutstanding());
    clock.Advance(5000);
    EXPECT_FALSE(ping.Step());
    clock.Advance(1);
    EXPECT_TRUE(ping.Step());
}

TEST(PingSchedule, SurvivesTheWrapOfTheTickCounter) {
    testsupport::VirtualClock clock(0xFFFFF000u);
    CPingSchedule ping;
    clock.Advance(6000);  // past the wrap
    EXPECT_TRUE(ping.Step());
}

TEST_F(SetupSession, PingsTheGatewayAndTakesItsAnswer) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    clock.Advance(5001);
    testsupport::Frame ping;
    ASSERT_TRUE(RunUntil([this] { return app->Ping().IsOutstanding(); }));
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SESSION_PINGQ, &ping));
    EXPECT_EQ(ping.sender, CBasinSetupApp::kSinkId);
    EXPECT_TRUE(ping.payload.empty());
    ASSERT_TRUE(RunUntil([this] { return !app->Ping().IsOutstanding(); }));
}

TEST_F(SetupSession, SilentGatewayIsPingedEveryTenSecondsAndKept) {
    gateway.On(ZVM_SESSION_PINGQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    for (int second = 0; second < 31; ++second) {
        clock.Advance(1000);
        app->RunPass();
    }
    // At about 5, 15 and 25 s.
    for (int ping = 0; ping < 3; ++ping) EXPECT_TRUE(gateway.WaitForRequest(ZVM_SESSION_PINGQ));
    EXPECT_FALSE(gateway.WaitForRequest(ZVM_SESSION_PINGQ, nullptr, 100));
    EXPECT_TRUE(app->Server().IsConnected());
}

TEST_F(SetupSession, WithoutSwitchesTheProgramSearchesAndStillShowsItsDialog) {
    Start({});
    EXPECT_FALSE(app->Server().IsConnected());
    EXPECT_TRUE(dialog->IsSearchPending());
    EXPECT_EQ(view.rows, std::vector<std::string>{kLookingRow});
}

TEST_F(SetupSession, SampleControllerTellsItsClock) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    CZVQuery query(app->Server());
    CZVMSG request(0, 0x1FAE, 0, 1, app->Server().GetVariant());
    CZVMSG* answer = nullptr;
    ASSERT_TRUE(query.Query(&answer, &request));
    EXPECT_EQ(answer->GetId(), 0x1FAF);
    std::vector<uint16_t> fields(8);
    for (uint16_t& field : fields) ASSERT_TRUE(answer->ReadShort(field));
    // 15 June 2011, 14:35:20.000, a Wednesday: the day of week counted from Monday = 0.
    EXPECT_EQ(fields, (std::vector<uint16_t>{2011, 6, 2, 15, 14, 35, 20, 0}));
    int32_t daylightSaving = 0;
    ASSERT_TRUE(answer->ReadInt(daylightSaving));
    EXPECT_EQ(daylightSaving, 1);
}

TEST_F(SetupSession, InheritedDescriptorThatIsNoSocketIsIgnored) {
    Start({"/SOCKET:0"});  // standard input: not a socket
    EXPECT_FALSE(app->UsesInheritedSocket());
    EXPECT_TRUE(view.visible.empty());  // start button, hint and countdown stay
}

// Remote password against the gateway's challenge.
class RemotePassword : public SetupSession, public CSetPassView {
protected:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<testsupport::Bytes> SentResponses() { return gateway.PayloadsOf(ZVM_SYSCONFIG_SETPASSWORDQ); }

    static testsupport::Bytes Expected(int32_t slot, const std::string& password) {
        // The cipher itself is checked against the published AES vectors.
        const auto block = EncryptPasswordBlock(password, "Kx4mQ9tRz2LpW7vB");
        testsupport::Bytes payload = {static_cast<uint8_t>(slot), 0, 0, 0};
        payload.insert(payload.end(), block.begin(), block.end());
        return payload;
    }

    std::vector<std::string> messages;
};

TEST_F(RemotePassword, SendsTheEncryptedChallengeForBothSlots) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    CSetPassDlg dialog(app->Link(), *this);
    EXPECT_EQ(dialog.OnOK("twenty-characters-pw", "twenty-characters-pw"), CSetPassDlg::kClosedOk);
    EXPECT_EQ(messages, std::vector<std::string>{"New Password has been set."});
    // Only the first 16 characters count.
    EXPECT_EQ(SentResponses(),
              (std::vector<testsupport::Bytes>{Expected(0, "twenty-character"), Expected(1, "twenty-character")}));
}

TEST_F(RemotePassword, MismatchAndEmptyPasswordSendNothing) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    CSetPassDlg dialog(app->Link(), *this);
    EXPECT_EQ(dialog.OnOK("Secret", "secret"), CSetPassDlg::kClosedCancel);
    EXPECT_EQ(dialog.OnOK("", ""), CSetPassDlg::kStayOpen);
    EXPECT_EQ(messages, (std::vector<std::string>{"Passwords Do Not Match", "Empty Password is not allowed"}));
    EXPECT_TRUE(SentResponses().empty());
}

TEST_F(RemotePassword, UnansweredFirstSlotStopsBeforeTheSecond) {
    gateway.On(ZVM_SYSCONFIG_SETPASSWORDQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    CSetPassDlg dialog(app->Link(), *this);
    EXPECT_EQ(dialog.OnOK("pool", "pool"), CSetPassDlg::kClosedOk);
    EXPECT_EQ(messages, std::vector<std::string>{"Error Setting New Password"});
    EXPECT_EQ(SentResponses(), std::vector<testsupport::Bytes>{Expected(0, "pool")});
}

// The window hands the password over in Windows-1252, the conversion that the
// tablet uses too, so a "€" is byte 0x80 in both programs.
TEST_F(RemotePassword, WindowSendsThePasswordInWindows1252) {
    bstest::TestApplication();
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    CSetPassDlgView window(app->Link());
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) edit->setText(QString::fromUtf8("pool€"));
    QTimer::singleShot(0, [] {
        if (QWidget* message = QApplication::activeModalWidget()) message->close();
    });
    window.accept();
    ASSERT_EQ(platform::Utf16ToCp1252(u"pool€"), "pool\x80");
    EXPECT_EQ(SentResponses(), (std::vector<testsupport::Bytes>{Expected(0, "pool\x80"), Expected(1, "pool\x80")}));
}

}  // namespace
