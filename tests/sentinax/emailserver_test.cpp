#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <optional>
#include <thread>

#include "sentinax/base64coder.h"
#include "sentinax/emailserver.h"
#include "sentinax/smtpsession.h"
#include "support/loopback.h"
#include "support/loopback_server.h"
#include "support/smtp_server.h"
#include "support/temp_dir.h"
#include "support/virtual_clock.h"

namespace {

// Answers MX queries from the test's table.
class FakeResolver final : public CMxResolver {
public:
    FakeResolver(bool answers, std::vector<std::string> hosts, int error = 0)
        : m_answers(answers), m_hosts(std::move(hosts)), m_error(error) {}
    bool QueryMx(const std::string&, std::vector<std::string>& hosts, int& error) override {
        hosts = m_hosts;
        error = m_error;
        return m_answers;
    }

private:
    bool m_answers;
    std::vector<std::string> m_hosts;
    int m_error;
};

std::string LogText(const CEmailServer& server) {
    std::string text;
    for (const CLogEvent& event : server.CopyLog()) text += event.text + "\n";
    return text;
}

std::unique_ptr<CEmailMessage> Message(const std::string& recipient, std::vector<std::string> body = {}) {
    auto message = std::make_unique<CEmailMessage>(recipient);
    message->AddHeader("Subject: Brenvik System Alarm Notification");
    for (std::string& line : body) message->AddLine(std::move(line));
    return message;
}

TEST(Base64, EncodesWithFillCharacters) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"", ""},        {"f", "Zg=="},          {"fo", "Zm8="},
                 {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {"\xFF\xFE", "//4="}};
    for (const auto& c : cases) EXPECT_EQ(Base64Encode(c.in), c.out) << c.in;
}

TEST(Base64, DecodingRoundTripsEveryLengthAndByte) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(255 - i);
    for (size_t length = 0; length <= bytes.size(); ++length) {
        const std::string_view part(bytes.data(), length);
        const std::optional<std::string> decoded = Base64Decode(Base64Encode(part));
        ASSERT_TRUE(decoded) << length;
        EXPECT_EQ(*decoded, part) << length;
    }
}

TEST(Base64, DecodingPassesOverWhiteSpaceAndRefusesWhatIsNoBase64) {
    const struct {
        const char* text;
        std::optional<std::string> bytes;
    } cases[] = {
        {"Zm9v\r\nYmFy", "foobar"},
        {" Zg = = \t", "f"},
        {"Zm8", "fo"},  // the fill left out
        {"Zg", "f"},
        {"\xDAm8=", "fo"},           // 'Z' with its high bit set
        {"Zm9vY", std::nullopt},     // a lone character in the last group
        {"Zm=8", std::nullopt},      // fill inside a group
        {"Zg==Zg==", std::nullopt},  // fill before the end
        {"Zm9v=", std::nullopt},     // fill after a whole group
        {"Zg===", std::nullopt},
        {"Zm9-", std::nullopt},  // the URL alphabet is another one
        {"Zm9v\x01", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(Base64Decode(c.text), c.bytes) << c.text;
}

TEST(SmtpReply, CodeIsTheLeadingThreeDigits) {
    const struct {
        const char* line;
        int code;
        bool final;
    } cases[] = {{"250 OK", 250, true}, {"250-SIZE 100", 250, false}, {"354", 354, true}, {"550 not 250", 550, true},
                 {"25", -1, true},      {"x250 OK", -1, true},        {"", -1, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(SmtpReplyCode(c.line), c.code) << c.line;
        EXPECT_EQ(IsFinalReplyLine(c.line), c.final) << c.line;
    }
}

TEST(SmtpReply, LineReaderEndsAtCrLfAndRefusesOverlongLines) {
    CSmtpLineReader reader;
    for (char c : std::string("220 hi\n\r")) EXPECT_EQ(reader.Add(c), CSmtpLineReader::kMore);
    EXPECT_EQ(reader.Add('\n'), CSmtpLineReader::kLine);
    EXPECT_EQ(reader.Line(), "220 hi\n");
    CSmtpLineReader::Result last = CSmtpLineReader::kMore;
    for (size_t i = 0; i < CSmtpLineReader::kMaxLineBytes && last == CSmtpLineReader::kMore; ++i)
        last = reader.Add('x');
    EXPECT_EQ(last, CSmtpLineReader::kOverflow);
}

TEST(SmtpData, LineBreaksSplitAndLeadingDotsDouble) {
    EXPECT_EQ(DataLines({"a\r\n.\r\nMAIL FROM:<x>", ".dot", "b\nc\rd", ""}),
              (std::vector<std::string>{"a", "..", "MAIL FROM:<x>", "..dot", "b", "c", "d", ""}));
}

TEST(EmailLog, KeepsTheNewest501AndCountsWhatIsNew) {
    CEmailServer server(std::make_unique<FakeResolver>(false, std::vector<std::string>{}));
    for (int i = 0; i < 600; ++i) server.AddLogLine(std::to_string(i));
    const auto log = server.CopyLog();
    ASSERT_EQ(log.size(), 501u);
    EXPECT_EQ(log.front().text, "99");
    EXPECT_EQ(log.back().text, "599");
    const auto taken = server.TakeNewLogEntries();
    ASSERT_EQ(taken.size(), 501u) << "600 are new, 501 still held";
    EXPECT_EQ(taken.front().text, "99");
    EXPECT_TRUE(server.TakeNewLogEntries().empty());
    server.AddLogLine("next");
    const auto next = server.TakeNewLogEntries();
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].text, "next");
}

// The log window takes new entries while the sender thread logs: every entry
// reaches it once, in order, however the two interleave.
TEST(EmailLog, EntriesLoggedWhileTakingAreNeitherMissedNorRepeated) {
    CEmailServer server(std::make_unique<FakeResolver>(false, std::vector<std::string>{}));
    constexpr int kLines = 400;  // below the log's limit: none is trimmed
    std::atomic<bool> written{false};
    std::thread writer([&] {
        for (int i = 0; i < kLines; ++i) server.AddLogLine(std::to_string(i));
        written.store(true);
    });
    std::vector<std::string> seen;
    auto take = [&] {
        for (const CLogEvent& event : server.TakeNewLogEntries()) seen.push_back(event.text);
    };
    while (!written.load()) take();
    writer.join();
    take();
    ASSERT_EQ(seen.size(), static_cast<size_t>(kLines));
    for (int i = 0; i < kLines; ++i) EXPECT_EQ(seen[i], std::to_string(i));
}

TEST(EmailQueue, RecipientWithoutAtSignIsDroppedSilently) {
    CEmailServer server(std::make_unique<FakeResolver>(false, std::vector<std::string>{}));
    server.Queue(Message("nobody"));
    server.Queue(Message(""));
    EXPECT_FALSE(server.SendEmail());
    EXPECT_FALSE(server.SendEmail());
    EXPECT_EQ(server.GetQueueLength(), 0u);
    EXPECT_TRUE(server.CopyLog().empty());
}

// A mail server that answers each command with the reply the test gives for
// its first word, on the system clock.
class ScriptedSmtp : public testsupport::LoopbackServer {
public:
    explicit ScriptedSmtp(std::map<std::string, std::string> replies) : m_replies(std::move(replies)) { Start(); }
    ~ScriptedSmtp() override { Stop(); }

private:
    void Serve(int fd) override {
        const std::string greeting = Reply("greeting", "220 ready\r\n");
        WriteAll(fd, greeting.data(), greeting.size());
        std::string line;
        bool data = false;
        char c = 0;
        while (!Stopping() && ReadExact(fd, &c, 1, 5000)) {
            line += c;
            if (line.size() < 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) continue;
            line.resize(line.size() - 2);
            std::string reply;
            if (data) {
                data = line != ".";
                reply = data ? "" : Reply(".", "250 OK\r\n");
            } else {
                const std::string word = line.substr(0, line.find_first_of(" :"));
                data = word == "DATA";
                reply = Reply(word, "250 OK\r\n");
            }
            WriteAll(fd, reply.data(), reply.size());
            line.clear();
        }
    }

    std::string Reply(const std::string& word, const std::string& otherwise) const {
        const auto found = m_replies.find(word);
        return found == m_replies.end() ? otherwise : found->second;
    }

    std::map<std::string, std::string> m_replies;
};

class ScriptedSmtpTest : public ::testing::Test {
protected:
    static void Configure(CEmailServer& client) {
        client.SetSmtpServer("127.0.0.1");
        client.SetSenderAddress("from@example.com");
    }
    static bool Send(CEmailServer& client, const std::map<std::string, std::string>& replies) {
        ScriptedSmtp smtp(replies);
        client.SetPort(smtp.Port());
        client.Queue(Message("to@example.com"));
        return client.SendEmail();
    }
    bool Send(const std::map<std::string, std::string>& replies) { return Send(server, replies); }
    static std::unique_ptr<CEmailServer> NoMxClient() {
        auto client =
            std::make_unique<CEmailServer>(std::make_unique<FakeResolver>(false, std::vector<std::string>{}, 4));
        Configure(*client);
        return client;
    }

    CEmailServer server{std::make_unique<FakeResolver>(false, std::vector<std::string>{}, 4)};

    void SetUp() override { Configure(server); }
};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

TEST_F(ScriptedSmtpTest, ServerWithoutMxRecordsIsReachedThroughItsOwnAddress) {
    EXPECT_TRUE(Send({{"DATA", "354 go\r\n"}, {"EHLO", "220-wrong code first\r\n250 but the last line counts\r\n"}}))
        << LogText(server);
    const std::string log = LogText(server);
    EXPECT_NE(log.find("WARNING: DNS MX Lookup Failed for 127.0.0.1, error: 4\n"), std::string::npos);
    EXPECT_NE(log.find("Mail Sent OK"), std::string::npos);
    EXPECT_EQ(log.find("SendEmail()"), std::string::npos) << "the fallback path logs neither";
    EXPECT_EQ(log.find("AUTH"), std::string::npos) << "no password, no sign-in offered";
}

TEST_F(ScriptedSmtpTest, ErrorCodeThatMentions250IsAFailure) {
    EXPECT_FALSE(Send({{"DATA", "354 go\r\n"}, {"MAIL", "550 sender 250 refused\r\n"}}));
    EXPECT_NE(LogText(server).find("Send Mail Failed"), std::string::npos);
}

TEST_F(ScriptedSmtpTest, MessageRefusedAfterItsDataIsNotReportedSent) {
    EXPECT_FALSE(Send({{"DATA", "354 go\r\n"}, {".", "554 rejected as spam\r\n"}}));
    const std::string log = LogText(server);
    EXPECT_EQ(log.find("Mail Sent OK"), std::string::npos);
    EXPECT_NE(log.find("Send Mail Failed"), std::string::npos);
}

// A refused sign-in ends the attempt at once: without the checks the account
// name and password would go out as commands and the mail count as sent.
// Whatever the server says, the log shows neither the account name's nor the
// password's encoding, nor the password.
TEST_F(ScriptedSmtpTest, SignInRepliesAreCheckedAndNeverLogged) {
    const std::string name = Base64Encode("from@example.com");
    const std::string password = Base64Encode("pa55");
    struct Case {
        std::map<std::string, std::string> replies;
        bool sent;
        size_t hiddenLinesSent;  // the account name, then the password
    } cases[] = {
        {{{"AUTH", "334 VXNlcm5hbWU6\r\n"}, {name, "334 UGFzc3dvcmQ6\r\n"}, {password, "235 ok\r\n"}}, true, 2},
        {{{"AUTH", "504 unknown mechanism\r\n"}}, false, 0},
        {{{"AUTH", "334 VXNlcm5hbWU6\r\n"}, {name, "535 no such account\r\n"}}, false, 1},
        {{{"AUTH", "334 VXNlcm5hbWU6\r\n"}, {name, "334 UGFzc3dvcmQ6\r\n"}, {password, "535 wrong\r\n"}}, false, 2},
        // A server that echoes what it was sent.
        {{{"AUTH", "334 VXNlcm5hbWU6\r\n"},
          {name, "334 got " + name + "\r\n"},
          {password, "235 pa55 " + password + " accepted\r\n"}},
         true,
         2},
    };
    for (Case& c : cases) {
        const std::unique_ptr<CEmailServer> client = NoMxClient();
        client->SetPassword("pa55");
        c.replies["EHLO"] = "250-test.invalid\r\n250 AUTH LOGIN\r\n";
        c.replies["DATA"] = "354 go\r\n";
        EXPECT_EQ(Send(*client, c.replies), c.sent);
        const std::string log = LogText(*client);
        EXPECT_EQ(log.find("SENDING: MAIL FROM") != std::string::npos, c.sent) << log;
        EXPECT_EQ(log.find("Mail Sent OK") != std::string::npos, c.sent) << log;
        EXPECT_EQ(Count(log, "SENDING: ********\n"), c.hiddenLinesSent) << log;
        for (const std::string& secret : {name, password, std::string("pa55")})
            EXPECT_EQ(log.find(secret), std::string::npos) << secret << " in\n" << log;
    }
}

// A mail that no server took waits and is tried again after 1, 5 and 15
// minutes, so that a passing fault of the mail server loses no alarm; after
// the fourth failure it is logged as failed.
TEST_F(ScriptedSmtpTest, FailedMailIsRetriedWithGrowingPauses) {
    testsupport::VirtualClock clock;
    testsupport::RefusingPort refusing;
    server.SetPort(testsupport::PortOf(refusing.Address()));
    server.Queue(Message("to@example.com"));
    for (size_t i = 0; i < std::size(CEmailServer::kRetryDelaysMs); ++i) {
        EXPECT_FALSE(server.SendEmail());
        EXPECT_EQ(server.GetQueueLength(), 1u);
        clock.Advance(CEmailServer::kRetryDelaysMs[i] - 1);
        EXPECT_FALSE(server.SendEmail()) << "not due yet";
        EXPECT_EQ(Count(LogText(server), "Sending Mail to"), i + 1);
        clock.Advance(1);
    }
    EXPECT_FALSE(server.SendEmail());
    EXPECT_EQ(server.GetQueueLength(), 0u);
    EXPECT_NE(LogText(server).find("ERROR: Mail to to@example.com failed 4 times; not sent"), std::string::npos);

    // A server that is back in time takes the mail.
    server.Queue(Message("to@example.com"));
    EXPECT_FALSE(server.SendEmail());
    clock.Advance(CEmailServer::kRetryDelaysMs[0]);
    ScriptedSmtp smtp({{"DATA", "354 go\r\n"}});
    server.SetPort(smtp.Port());
    EXPECT_TRUE(server.SendEmail()) << LogText(server);
    EXPECT_EQ(server.GetQueueLength(), 0u);
}

TEST(MailDate, IsTheUtcTimeInTheMailFormat) {
    EXPECT_EQ(MailDateHeader(0), "Date: Thu, 01 Jan 1970 00:00:00 +0000");
    EXPECT_EQ(MailDateHeader(1262401445), "Date: Sat, 02 Jan 2010 03:04:05 +0000");
}

TEST_F(ScriptedSmtpTest, OverlongReplyLineFailsTheExchange) {
    EXPECT_FALSE(Send({{"greeting", "220 " + std::string(2000, 'x') + "\r\n"}}));
}

// Against aiosmtpd, on the system clock.
class RealSmtpTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::SmtpServer::FindPython().empty())
            GTEST_SKIP() << "python3-aiosmtpd is not installed; .ci/run installs it";
    }

    std::unique_ptr<CEmailServer> Client(uint16_t port, std::unique_ptr<CMxResolver> resolver) {
        auto client = std::make_unique<CEmailServer>(std::move(resolver));
        client->SetSmtpServer("127.0.0.1");
        client->SetSenderAddress("monitor@example.com");
        client->SetPort(port);
        return client;
    }

    testsupport::TempDir dir;
};

TEST_F(RealSmtpTest, SignsInWithAuthLoginAndDeliversThroughTheExchanger) {
    testsupport::SmtpServer smtp(ZV_SMTP_SERVER_SCRIPT, dir.File("mail.txt"));
    ASSERT_NE(smtp.Port(), 0);
    auto client = Client(smtp.Port(), std::make_unique<FakeResolver>(true, std::vector<std::string>{"127.0.0.1"}));
    client->SetPassword("s3cret");
    client->Queue(Message("owner@example.com", {"Air: 64", ".starts with a dot", "Notes: a\r\nb"}));
    ASSERT_TRUE(client->SendEmail()) << LogText(*client);
    const std::string record = smtp.Record();
    EXPECT_NE(record.find("AUTH monitor@example.com s3cret\n"), std::string::npos) << record;
    EXPECT_NE(record.find("FROM monitor@example.com\nTO owner@example.com\n"), std::string::npos) << record;
    // The headers end with an empty line, so the body's "Air: 64" arrives as
    // body, whole, and not as a header field.
    const size_t date = record.find("From: monitor@example.com\r\nTo: owner@example.com\r\nDate: ");
    ASSERT_NE(date, std::string::npos) << record;
    EXPECT_NE(record.find(" +0000\r\nSubject: Brenvik System Alarm Notification\r\n\r\nAir: 64\r\n"
                          ".starts with a dot\r\nNotes: a\r\nb\r\n\r\n",
                          date),
              std::string::npos)
        << record;
    const std::string log = LogText(*client);
    EXPECT_NE(log.find("Looking up host: 127.0.0.1\n"), std::string::npos);
    // Neither the account name's nor the password's encoding shows in the log.
    EXPECT_NE(log.find("SENDING: AUTH LOGIN\n"), std::string::npos);
    EXPECT_EQ(log.find(Base64Encode("monitor@example.com")), std::string::npos) << log;
    EXPECT_EQ(log.find(Base64Encode("s3cret")), std::string::npos) << "the password stays out of the log";
    EXPECT_NE(log.find("Mail Sent OK\nSendEmail() Success\n"), std::string::npos) << log;
}

TEST_F(RealSmtpTest, RefusedSignInEndsTheAttemptWithTheReplyInTheLog) {
    testsupport::SmtpServer smtp(ZV_SMTP_SERVER_SCRIPT, dir.File("mail.txt"));
    ASSERT_NE(smtp.Port(), 0);
    auto client = Client(smtp.Port(), std::make_unique<FakeResolver>(false, std::vector<std::string>{}, 1));
    client->SetPassword("refused");
    client->Queue(Message("owner@example.com"));
    EXPECT_FALSE(client->SendEmail());
    const std::string log = LogText(*client);
    EXPECT_NE(log.find("RECV: 535"), std::string::npos) << log;
    EXPECT_EQ(log.find("MAIL FROM"), std::string::npos) << log;
    EXPECT_EQ(log.find("Mail Sent OK"), std::string::npos) << log;
    EXPECT_EQ(smtp.Record(), "");
}

TEST_F(RealSmtpTest, OfferedSignInIsUsedEvenWithoutAPassword) {
    testsupport::SmtpServer smtp(ZV_SMTP_SERVER_SCRIPT, dir.File("mail.txt"));
    ASSERT_NE(smtp.Port(), 0);
    auto client = Client(smtp.Port(), std::make_unique<FakeResolver>(false, std::vector<std::string>{}, 1));
    client->Queue(Message("owner@example.com"));
    ASSERT_TRUE(client->SendEmail()) << LogText(*client);
    EXPECT_NE(LogText(*client).find("SENDING: AUTH LOGIN\n"), std::string::npos);
}

TEST_F(RealSmtpTest, PasswordForAServerThatOffersNoSignInStillDelivers) {
    testsupport::SmtpServer smtp(ZV_SMTP_SERVER_SCRIPT, dir.File("mail.txt"), false);
    ASSERT_NE(smtp.Port(), 0);
    auto client = Client(smtp.Port(), std::make_unique<FakeResolver>(false, std::vector<std::string>{}, 1));
    client->SetPassword("s3cret");
    client->Queue(Message("owner@example.com"));
    EXPECT_TRUE(client->SendEmail()) << LogText(*client);
    EXPECT_NE(smtp.Record().find("TO owner@example.com"), std::string::npos);
}

TEST_F(RealSmtpTest, RefusedRecipientFailsEveryPathAndSendsNothing) {
    testsupport::SmtpServer smtp(ZV_SMTP_SERVER_SCRIPT, dir.File("mail.txt"));
    ASSERT_NE(smtp.Port(), 0);
    auto client = Client(smtp.Port(), std::make_unique<FakeResolver>(true, std::vector<std::string>{"127.0.0.1"}));
    client->Queue(Message("refused@example.com"));
    EXPECT_FALSE(client->SendEmail());
    const std::string log = LogText(*client);
    EXPECT_NE(log.find("RECV: 550"), std::string::npos) << log;
    EXPECT_NE(log.find("WARNING: NSLookup Success However no MX Servers found\n"), std::string::npos);
    EXPECT_NE(log.find("SendEmail() Failed"), std::string::npos);
    EXPECT_EQ(smtp.Record(), "");
}

TEST_F(RealSmtpTest, QueueOfThreeNeedsThreeSenderThreadsOneAfterTheOther) {
    testsupport::SmtpServer smtp(ZV_SMTP_SERVER_SCRIPT, dir.File("mail.txt"));
    ASSERT_NE(smtp.Port(), 0);
    auto client = Client(smtp.Port(), std::make_unique<FakeResolver>(false, std::vector<std::string>{}, 1));
    for (const char* to : {"a@example.com", "b@example.com", "c@example.com"}) client->Queue(Message(to));
    for (size_t turn = 1; turn <= 3; ++turn) {
        client->StartSender();
        EXPECT_TRUE(client->IsSenderBusy());
        client->StartSender();  // busy: starts nothing
        client->WaitForSender();
        EXPECT_FALSE(client->IsSenderBusy());
        EXPECT_EQ(client->GetQueueLength(), 3 - turn);
    }
    const std::string record = smtp.Record();
    EXPECT_LT(record.find("TO a@"), record.find("TO b@"));
    EXPECT_LT(record.find("TO b@"), record.find("TO c@"));
}

}  // namespace
