// The remote login page: where its fields come from (the command line or
// the login file), what the login file keeps of each save choice and that
// only its owner may read it, the one automatic connect of a run, the
// connection's progress lines, and the Connect button's pause after a
// failed attempt.
#include "vistrel/shell/loginpage.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "core/zvfile.h"
#include "core/zvsock.h"
#include "shell_fixture.h"
#include "support/fake_address_server.h"
#include "support/golden.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/lists/textlist.h"
#include "widgets/text/zvedit.h"

namespace {

std::string TextOf(CZVWindow* window) { return window->GetText().GetAnsi(); }

std::vector<std::string> LinesOf(CTextList* list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list->GetCount(); ++i)
        lines.emplace_back(static_cast<CTextItem*>(list->GetItemAt(i))->GetText().GetAnsi());
    return lines;
}

class LoginPageTest : public vistreltest::ShellTest {
protected:
    // The page is laid out for a tablet's screen.
    LoginPageTest() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &m_screen);
        AllowLoginAutoConnect();
        server.SetRemoteMode(1);
    }
    ~LoginPageTest() override {
        clock.HoldWhile({});
        window.reset();
        SetNetConfig(m_savedNet);
        SetTitle("");
    }

    CLoginPage* Show() {
        window->DoCommand(kCommandLogin, 1);
        return dynamic_cast<CLoginPage*>(window->GetCurrentPage());
    }
    // The address server sends the tablet to the test's gateway, or, without one, answers
    // with an address that cannot be used.
    void ServeAddresses(bool reachable) {
        m_addresses = std::make_unique<testsupport::FakeAddressServer>(testsupport::FakeAddressServer::Options{
            .body = reachable ? "7|POOL1|x|127.0.0.1|" + std::to_string(gateway.Port()) + "|1.2.3.4|5|Chal"
                              : "1|POOL1|x|10.0.300.1|80|a|b|c"});
        ZVNetConfig config = m_savedNet;
        config.serviceHost = "127.0.0.1";
        config.addressServerPort = m_addresses->Port();
        config.relayPort = 1;  // nobody listens: a failed direct attempt fails at once
        SetNetConfig(config);
        testsupport::HoldClockWhileGatewayAnswers(clock, gateway, server,
                                                  [this] { return m_addresses && m_addresses->Owes(); });
    }
    static void WriteFile(const std::string& user, const std::string& password, int32_t choice) {
        CLoginFile file{user, password, choice};
        ASSERT_TRUE(file.Write(CLoginFile::GetPath()));
    }

    std::unique_ptr<testsupport::FakeAddressServer> m_addresses;

private:
    platform::HeadlessWindow m_screen{800, 600};
    const ZVNetConfig m_savedNet = GetNetConfig();
};

TEST_F(LoginPageTest, FieldsComeFromTheLoginFileWithItsSaveChoice) {
    struct Case {
        const char* what;
        bool file;
        CLoginFile content;
        std::string user, password;
        int choice;
    };
    const Case cases[] = {
        {"no file", false, {}, "", "", CLoginFile::kSaveBoth},
        {"user name only", true, {"POOL1", "", CLoginFile::kSaveUserName}, "POOL1", "", CLoginFile::kSaveUserName},
        {"both", true, {"POOL1", "secret", CLoginFile::kSaveBoth}, "POOL1", "secret", CLoginFile::kSaveBoth},
        {"choice out of range", true, {"POOL1", "secret", 7}, "", "", CLoginFile::kSaveBoth},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(CLoginFile::GetPath().c_str());
        if (c.file) ASSERT_TRUE(c.content.Write(CLoginFile::GetPath()));
        AllowLoginAutoConnect();
        CLoginPage* page = Show();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(TextOf(page->GetUserNameField()), c.user);
        EXPECT_EQ(TextOf(page->GetPasswordField()), c.password);
        ASSERT_NE(page->GetSaveChoice(), nullptr);
        EXPECT_EQ(page->GetSaveChoice()->GetSelection(), c.choice);
        // Without the product word in the title nothing connects by itself.
        window->PaintAll();
        window->OnIdle(0);
        EXPECT_TRUE(LinesOf(page->GetStatusList()).empty());
    }
}

TEST_F(LoginPageTest, TheFileKeepsWhatTheChoiceSaysAndOnlyItsOwnerMayReadIt) {
    const std::string path = CLoginFile::GetPath();
    // A file that an earlier run left readable by others is narrowed before it is written.
    std::ofstream(path) << "old";
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    for (int32_t choice : {CLoginFile::kSaveNothing, CLoginFile::kSaveUserName, CLoginFile::kSaveBoth}) {
        SCOPED_TRACE(choice);
        ASSERT_TRUE((CLoginFile{"POOL1", "secret", choice}.Write(path)));
        struct stat status {};
        ASSERT_EQ(stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u);
        CZVFile file(path, ZVVariant::Tablet);
        ASSERT_TRUE(file.Open(CZVFile::kRead));
        std::string user, password;
        int32_t stored = -1;
        ASSERT_TRUE(file.ReadString(&user) && file.ReadString(&password) && file.ReadInt(stored));
        EXPECT_EQ(user, choice == CLoginFile::kSaveNothing ? "" : "POOL1");
        EXPECT_EQ(password, choice == CLoginFile::kSaveBoth ? "secret" : "");
        EXPECT_EQ(stored, choice);
        EXPECT_EQ(file.GetLength(), 4 + static_cast<int64_t>(user.size()) + 4 + password.size() + 4);
    }
}

TEST_F(LoginPageTest, ConnectWritesTheChoiceShowsTheProgressAndComesBackAfterAFailure) {
    ServeAddresses(false);
    WriteFile("POOL1", "secret", CLoginFile::kSaveBoth);
    CLoginPage* page = Show();
    ASSERT_NE(page, nullptr);
    page->GetSaveChoice()->Select(CLoginFile::kSaveNothing, 0);
    window->PaintAll();
    vistreltest::TouchMiddle(clock, page->GetConnectButton());
    const std::vector<std::string> lines = LinesOf(page->GetStatusList());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Connecting to Address Server...");
    EXPECT_EQ(page->GetStatusList()->GetSelectedIndex(), static_cast<int>(lines.size()) - 1);
    EXPECT_FALSE(server.IsConnected());
    const CLoginFile kept = CLoginFile::Read(CLoginFile::GetPath());
    EXPECT_EQ(kept.userName, "");
    EXPECT_EQ(kept.password, "");
    EXPECT_EQ(kept.choice, CLoginFile::kSaveNothing);
    // The button waits five seconds, and the main loop goes on meanwhile.
    EXPECT_FALSE(page->GetConnectButton()->IsEnabled());
    clock.Advance(CLoginPage::kRetryPause - 1);
    window->OnIdle(0);
    EXPECT_FALSE(page->GetConnectButton()->IsEnabled());
    clock.Advance(1);
    window->OnIdle(0);
    EXPECT_TRUE(page->GetConnectButton()->IsEnabled());
}

TEST_F(LoginPageTest, StartedByTheConfigurationProgramItConnectsByItselfOncePerRun) {
    ServeAddresses(true);
    server.SetUserName("POOL1");
    server.SetLocalPassword("secret");
    SetTitle("Marquel Remote");
    CLoginPage* page = Show();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetSaveChoice(), nullptr);
    EXPECT_EQ(TextOf(page->GetUserNameField()), "POOL1");
    window->PaintAll();
    window->OnIdle(0);
    EXPECT_TRUE(server.IsConnected());
    const std::vector<std::string> lines = LinesOf(page->GetStatusList());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "Connecting...");
    EXPECT_EQ(lines.back(), "Connection to system OK");
    ASSERT_FALSE(gateway.Logins().empty());
    EXPECT_TRUE(gateway.Logins().back().accepted);

    // A second login page of the run (command 2003) waits for the user.
    CLoginPage* second = Show();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(server.IsConnected());
    window->PaintAll();
    window->OnIdle(0);
    EXPECT_FALSE(server.IsConnected());
    EXPECT_TRUE(LinesOf(second->GetStatusList()).empty());
}

TEST_F(LoginPageTest, Picture) {
    WriteFile("POOL1", "secret", CLoginFile::kSaveUserName);
    CLoginPage* page = Show();
    ASSERT_NE(page, nullptr);
    page->AddStatusLine("Connecting to Address Server...");
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "vistrel_login_page"));
}

}  // namespace
