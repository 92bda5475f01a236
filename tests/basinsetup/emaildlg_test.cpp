#include "basinsetup/emaildlg.h"

#include <gtest/gtest.h>

#include "setup_session.h"
#include "support/fake_email_server.h"
#include "support/gateway_wire.h"
#include "support/loopback.h"
#include "support/virtual_clock.h"

namespace {

using testsupport::Bytes;
using testsupport::FakeEmailLocator;
using testsupport::FakeEmailSettings;
using testsupport::PayloadWriter;

constexpr char kAdapter[] = "Backyard Adapter";
constexpr char kConnectError[] = "An Error occured while connecting to the email server";

class RecordingEmailView : public CEmailView {
public:
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetBusy(bool on) override { busy = on; }
    void StopTimer() override { timerStopped = true; }
    void PutSettings(const CEmailSettings& settings) override { shown = settings; }
    bool GetSettings(CEmailSettings& settings) override {
        std::vector<std::string> recipients = settings.recipients;
        settings = shown;
        settings.recipients = recipients;  // the list is the dialog's own
        return true;
    }
    void SetRecipients(const std::vector<std::string>& rows) override { shown.recipients = rows; }
    int SelectedRecipient() override { return selected; }
    void EnableAlertControls(bool on) override { alertsEnabled = on; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::optional<std::string> AskNewRecipient() override { return newRecipient; }
    void EndDialog(bool ok) override { ended.push_back(ok); }

    std::vector<std::string> statuses;
    bool busy = false;
    bool timerStopped = false;
    CEmailSettings shown;
    int selected = -1;
    std::optional<bool> alertsEnabled;
    std::vector<std::string> messages;
    std::optional<std::string> newRecipient;
    std::vector<bool> ended;
};

Bytes SomeAlerts() {
    return PayloadWriter()
        .Int(1).String("remote pw").Int(1).Int(0).Int(1).Int(0)
        .Int(2).String("owner@example.com").String("service@example.com")
        .String("12 Palm Row").String("Springfield").String("30301");
}

// The e-mail services on loopback, the test clock held while one of them
// still has to answer what the dialog sent.
class EmailSettings : public ::testing::Test {
protected:
    explicit EmailSettings(FakeEmailSettings::Options serverOptions = {})
        : settings(serverOptions), locator({.reply = FakeEmailLocator::ReplyFor(settings.Address())}) {
        HoldFor(locator, settings);
    }
    ~EmailSettings() override { clock.HoldWhile({}); }

    void HoldFor(const FakeEmailLocator& shownLocator, const FakeEmailSettings& server) {
        clock.HoldWhile([&] { return shownLocator.Owes() || server.Owes(); });
    }

    // Opens the dialog against the locator port and runs its first tick.
    std::unique_ptr<CEmailDlg> Open(uint16_t locatorPort) {
        auto dialog = std::make_unique<CEmailDlg>(view, kAdapter, locatorPort);
        dialog->OnInitDialog();
        dialog->OnTimer();
        return dialog;
    }

    bstest::LoopbackNet net;  // the service host is 127.0.0.1
    testsupport::VirtualClock clock;
    FakeEmailSettings settings;
    FakeEmailLocator locator;
    RecordingEmailView view;
};

TEST_F(EmailSettings, ReadsTheAdaptersSettingsFromTheServerTheLocatorNames) {
    settings.SetAlerts(kAdapter, SomeAlerts());
    auto dialog = Open(locator.Port());
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"Please Wait...", "Locating Email Server...",
                                                       "Getting Email Server Address", "Connecting to Email Server",
                                                       "Getting Email Configuration...", "Ready"}));
    EXPECT_TRUE(view.ended.empty());
    EXPECT_TRUE(view.messages.empty());
    EXPECT_TRUE(view.timerStopped);
    EXPECT_FALSE(view.busy);
    EXPECT_EQ(view.alertsEnabled, true);
    EXPECT_EQ(view.shown.password, "remote pw");
    EXPECT_EQ(std::vector<int32_t>(view.shown.alerts, view.shown.alerts + 4), (std::vector<int32_t>{1, 0, 1, 0}));
    EXPECT_EQ(view.shown.recipients, (std::vector<std::string>{"owner@example.com", "service@example.com"}));
    EXPECT_EQ(view.shown.address, "12 Palm Row");
    EXPECT_EQ(view.shown.city, "Springfield");
    EXPECT_EQ(view.shown.zip, "30301");

    ASSERT_EQ(locator.Requests().size(), 1u);
    EXPECT_EQ(locator.Requests()[0],
              "GET /cgi-bin/getms.pl HTTP/1.0\r\nUser-Agent: Zavoro\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_EQ(locator.Trailer(), "\r\n");
    const auto requests = settings.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].id, ZVM_EMAIL_GETALERTSQ);
    EXPECT_EQ(requests[0].sender, 0);
    EXPECT_EQ(requests[0].payload, Bytes(PayloadWriter().String(kAdapter)));
}

TEST_F(EmailSettings, AlertsSwitchedOnTravelWholeAndReadBack) {
    auto dialog = Open(locator.Port());
    ASSERT_TRUE(view.ended.empty());
    EXPECT_EQ(view.alertsEnabled, false);  // nothing kept: alerts off
    EXPECT_TRUE(view.shown.recipients.empty());

    view.shown.enabled = 1;
    dialog->EnableAlertControls();
    EXPECT_EQ(view.alertsEnabled, true);
    view.shown.password = "secret";
    view.shown.alerts[3] = 1;
    view.shown.city = "Lakeside";
    for (const char* address : {"a@example.com", "b@example.com", "c@example.com"}) {
        view.newRecipient = address;
        dialog->OnAddRecipient();
    }
    view.newRecipient.reset();
    dialog->OnAddRecipient();  // cancelled
    view.selected = 1;
    dialog->OnRemoveRecipient();
    view.selected = 7;
    dialog->OnRemoveRecipient();  // no such row
    EXPECT_EQ(view.shown.recipients, (std::vector<std::string>{"a@example.com", "c@example.com"}));
    dialog->OnOK();
    EXPECT_EQ(view.ended, std::vector<bool>{true});
    EXPECT_TRUE(view.messages.empty());
    const Bytes fields = PayloadWriter()
                             .Int(1).String("secret").Int(0).Int(0).Int(0).Int(1)
                             .Int(2).String("a@example.com").String("c@example.com")
                             .String("").String("Lakeside").String("");
    ASSERT_EQ(settings.Requests().size(), 2u);
    EXPECT_EQ(settings.Requests()[1].id, ZVM_EMAIL_SETALERTSQ);
    Bytes expected = PayloadWriter().String(kAdapter);
    expected.insert(expected.end(), fields.begin(), fields.end());
    EXPECT_EQ(settings.Requests()[1].payload, expected);
    dialog.reset();

    RecordingEmailView again;
    CEmailDlg reopened(again, kAdapter, locator.Port());
    reopened.OnTimer();
    EXPECT_EQ(again.shown.recipients, (std::vector<std::string>{"a@example.com", "c@example.com"}));
    EXPECT_EQ(again.shown.password, "secret");
    EXPECT_EQ(again.shown.city, "Lakeside");
}

TEST_F(EmailSettings, AlertsOffSendOnlyTheName) {
    settings.SetAlerts(kAdapter, SomeAlerts());
    auto dialog = Open(locator.Port());
    view.shown.enabled = 0;
    dialog->OnOK();
    ASSERT_EQ(settings.Requests().size(), 2u);
    EXPECT_EQ(settings.Requests()[1].payload, Bytes(PayloadWriter().String(kAdapter).Int(0)));
}

TEST_F(EmailSettings, OnlyTheFirstTickReads) {
    auto dialog = Open(locator.Port());
    dialog->OnTimer();
    EXPECT_EQ(locator.Requests().size(), 1u);
    EXPECT_EQ(settings.Requests().size(), 1u);
}

TEST_F(EmailSettings, RefusedLocatorIsAnError) {
    testsupport::RefusingPort refusing;
    const uint32_t start = clock.TickCount();
    auto dialog = Open(testsupport::PortOf(refusing.Address()));
    EXPECT_EQ(view.messages, std::vector<std::string>{kConnectError});
    EXPECT_EQ(view.ended, std::vector<bool>{false});
    EXPECT_FALSE(view.busy);
    EXPECT_LT(clock.TickCount() - start, 1000u);
    EXPECT_TRUE(settings.Requests().empty());
}

TEST_F(EmailSettings, SilentLocatorGivesUpAfterThirtySeconds) {
    FakeEmailLocator silent({.silent = true});
    HoldFor(silent, settings);
    const uint32_t start = clock.TickCount();
    auto dialog = Open(silent.Port());
    EXPECT_EQ(view.messages, std::vector<std::string>{kConnectError});
    EXPECT_EQ(view.ended, std::vector<bool>{false});
    EXPECT_GE(clock.TickCount() - start, CEmailDlg::kReplyLimitMs);
    EXPECT_LT(clock.TickCount() - start, CEmailDlg::kReplyLimitMs + 1000);
    EXPECT_EQ(silent.Requests().size(), 1u);
}

struct LocatorReply {
    const char* name;
    std::string reply;
};

void PrintTo(const LocatorReply& c, std::ostream* os) { *os << c.name; }

class MalformedLocator : public EmailSettings, public ::testing::WithParamInterface<LocatorReply> {};

// The locator closes after each of these: the dialog does not wait for the
// rest, and never reaches a settings server.
TEST_P(MalformedLocator, IsAnErrorAtOnce) {
    FakeEmailLocator odd({.reply = GetParam().reply});
    HoldFor(odd, settings);
    const uint32_t start = clock.TickCount();
    auto dialog = Open(odd.Port());
    EXPECT_EQ(view.messages, std::vector<std::string>{kConnectError});
    EXPECT_EQ(view.ended, std::vector<bool>{false});
    EXPECT_LT(clock.TickCount() - start, 1000u);
    EXPECT_TRUE(settings.Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MalformedLocator,
    ::testing::Values(LocatorReply{"Nothing", ""},
                      LocatorReply{"NoBody", "HTTP/1.0 200 OK\r\n\r\n"},
                      LocatorReply{"NoPort", "HTTP/1.0 200 OK\r\n\r\n127.0.0.1\r\n\r\n"},
                      LocatorReply{"NoEmptyLineAfterThePort", "HTTP/1.0 200 OK\r\n\r\n127.0.0.1:80\r\n"},
                      LocatorReply{"AddressOutOfRange", "HTTP/1.0 200 OK\r\n\r\n127.0.0.300:80\r\n\r\n"},
                      LocatorReply{"PortZero", "HTTP/1.0 200 OK\r\n\r\n127.0.0.1:0\r\n\r\n"},
                      LocatorReply{"PortTooLarge", "HTTP/1.0 200 OK\r\n\r\n127.0.0.1:70000\r\n\r\n"},
                      LocatorReply{"Overlong", "HTTP/1.0 200 OK\r\nX: " + std::string(2000, 'x') +
                                                   "\r\n\r\n127.0.0.1:80\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LocatorReplies, CompleteOnlyWithAddressPortAndEmptyLine) {
    uint32_t address = 0;
    uint16_t port = 0;
    const std::string good = "HTTP/1.0 200 OK\r\nA: b\r\n\r\n10.1.2.3:4500\r\n\r\n";
    EXPECT_EQ(IsLocatorReplyComplete(good), 1);
    ASSERT_EQ(ParseLocatorReply(good, address, port), 1);
    EXPECT_EQ(FormatDottedQuad(address), "10.1.2.3");
    EXPECT_EQ(port, 4500);
    EXPECT_EQ(IsLocatorReplyComplete("HTTP/1.0 200 OK\r\n\r\n10.1.2.3:4500\r\n"), 0);
    EXPECT_EQ(IsLocatorReplyComplete("HTTP/1.0 200 OK\r\n\r\n10.1.2.3\r\n\r\n"), 0);
    EXPECT_EQ(IsLocatorReplyComplete("HTTP/1.0 200 OK 10.1.2.3:4500\r\n\r\n"), 0);
}

class SilentSettingsServer : public EmailSettings {
protected:
    SilentSettingsServer() : EmailSettings({.silent = true}) {}
};

TEST_F(SilentSettingsServer, GivesUpAfterThirtySeconds) {
    const uint32_t start = clock.TickCount();
    auto dialog = Open(locator.Port());
    EXPECT_EQ(view.messages, std::vector<std::string>{kConnectError});
    EXPECT_EQ(view.ended, std::vector<bool>{false});
    EXPECT_GE(clock.TickCount() - start, CEmailDlg::kReplyLimitMs);
    EXPECT_EQ(settings.Requests().size(), 1u);
}

struct SettingsAnswer {
    const char* name;
    Bytes answer;
};

void PrintTo(const SettingsAnswer& c, std::ostream* os) { *os << c.name; }

class BadSettingsAnswer : public ::testing::WithParamInterface<SettingsAnswer>, public EmailSettings {
protected:
    BadSettingsAnswer() : EmailSettings({.rawAnswer = GetParam().answer}) {}
};

TEST_P(BadSettingsAnswer, IsAnErrorWithoutWaiting) {
    const uint32_t start = clock.TickCount();
    auto dialog = Open(locator.Port());
    EXPECT_EQ(view.messages, std::vector<std::string>{kConnectError});
    EXPECT_EQ(view.ended, std::vector<bool>{false});
    EXPECT_LT(clock.TickCount() - start, 1000u);
}

Bytes Frame(uint16_t id, const Bytes& payload) { return testsupport::EncodeFrame({0, id, payload}); }

INSTANTIATE_TEST_SUITE_P(
    Answers, BadSettingsAnswer,
    ::testing::Values(
        SettingsAnswer{"EnabledOnly", Frame(ZVM_EMAIL_GETALERTSA, PayloadWriter().Int(1))},
        SettingsAnswer{"RecipientsMissing",
                       Frame(ZVM_EMAIL_GETALERTSA,
                             PayloadWriter().Int(1).String("pw").Int(1).Int(1).Int(1).Int(1).Int(3).String("a@b"))},
        SettingsAnswer{"RecipientCountNegative",
                       Frame(ZVM_EMAIL_GETALERTSA, PayloadWriter().Int(1).String("pw").Int(1).Int(1).Int(1).Int(1)
                                                       .Int(-1).String("").String("").String(""))},
        SettingsAnswer{"Empty", Frame(ZVM_EMAIL_GETALERTSA, {})},
        // Only the answer's id carries the settings; another frame's payload is no settings.
        SettingsAnswer{"AnotherId", Frame(ZVM_EMAIL_SETALERTSA, PayloadWriter().Int(0))},
        SettingsAnswer{"LongerThanTheBuffer", testsupport::EncodeHeader(0, ZVM_EMAIL_GETALERTSA, 5000)},
        SettingsAnswer{"NegativeLength", testsupport::EncodeHeader(0, ZVM_EMAIL_GETALERTSA, -8)}),
    [](const auto& info) { return std::string(info.param.name); });

// Framing alone: the dialog judges the id of the whole frame.
TEST(SettingsAnswers, AFrameIsWholeWhateverItsId) {
    std::string bytes;
    for (uint8_t b : Frame(0x1234, PayloadWriter().Int(0)))
        bytes.push_back(static_cast<char>(b));
    EXPECT_EQ(IsSettingsFrameComplete(bytes.substr(0, 7)), 0);
    EXPECT_EQ(IsSettingsFrameComplete(bytes.substr(0, 11)), 0);
    EXPECT_EQ(IsSettingsFrameComplete(bytes), 1);
    EXPECT_EQ(IsSettingsFrameComplete(bytes + "more"), 1);
}

class UnansweredWrite : public EmailSettings {
protected:
    UnansweredWrite() : EmailSettings({.answerWrites = false}) {}
};

// The dialog stays open after a failed write, so the user's edits are not
// lost and "Done" can be tried again.
TEST_F(UnansweredWrite, IsReportedAndTheDialogStaysOpen) {
    auto dialog = Open(locator.Port());
    ASSERT_TRUE(view.ended.empty());
    view.shown.city = "Lakeside";
    const uint32_t start = clock.TickCount();
    dialog->OnOK();
    EXPECT_GE(clock.TickCount() - start, CEmailDlg::kReplyLimitMs);
    EXPECT_EQ(settings.Requests().size(), 2u);
    EXPECT_EQ(view.messages, std::vector<std::string>{"ERROR: Could not change settings on email server"});
    EXPECT_TRUE(view.ended.empty());
    EXPECT_EQ(view.shown.city, "Lakeside");
    EXPECT_FALSE(view.busy);
}

}  // namespace
