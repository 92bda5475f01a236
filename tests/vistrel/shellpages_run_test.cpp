// The whole tablet against the sample house: the remote login page of a
// tablet started with "/R" and no connection, which logs in through the
// address server and gives way to the home page; and the font page that the
// gateway asks for, whose "Done" keeps the first family and brings the home
// page back.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "core/messages/shellmessages.h"
#include "core/zvsock.h"
#include "gfx/fontserver.h"
#include "shell_fixture.h"
#include "support/fake_address_server.h"
#include "support/golden.h"
#include "vistrel/shell/fontpage.h"
#include "vistrel/shell/homepage.h"
#include "vistrel/shell/loginpage.h"

namespace {

CZVButton* ChildNamed(CZVWindow* parent, const std::string& caption) {
    for (ZVPOSITION pos = parent->GetChildren().GetHeadPosition(); pos;) {
        auto* child = static_cast<CZVWindow*>(parent->GetChildren().GetNext(pos));
        if (std::string(child->GetText().GetAnsi()) == caption) return dynamic_cast<CZVButton*>(child);
    }
    return nullptr;
}

class LoginRun : public vistreltest::SampleHouseRun {
protected:
    // The search for a gateway stays on loopback and finds nobody; the address server sends
    // the tablet to the sample gateway.
    LoginRun() {
        ZVNetConfig config = m_savedNet;
        config.broadcastAddress = htonl(INADDR_LOOPBACK);
        config.searchPort = gateway.Port();  // nobody answers on UDP there
        config.serviceHost = "127.0.0.1";
        config.addressServerPort = m_addresses.Port();
        config.relayPort = 1;
        SetNetConfig(config);
        clock.HoldWhile([this] { return gateway.Owes() || m_addresses.Owes(); });
    }
    ~LoginRun() override {
        clock.HoldWhile({});
        SetNetConfig(m_savedNet);
    }

private:
    const ZVNetConfig m_savedNet = GetNetConfig();
    testsupport::FakeAddressServer m_addresses{
        {.body = "7|POOL1|x|127.0.0.1|" + std::to_string(gateway.Port()) + "|1.2.3.4|5|Chal"}};
};

TEST_F(LoginRun, RemoteTabletLogsInFromItsLoginPageAndShowsTheHomePage) {
    ASSERT_TRUE((CLoginFile{"POOL1", "", CLoginFile::kSaveUserName}.Write(CLoginFile::GetPath())));
    enum Step { kWaitForLogin, kConnect, kWaitForHome, kDone } step = kWaitForLogin;
    testsupport::Image565 login;
    int shownAt = 0;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        auto* page = dynamic_cast<CLoginPage*>(window.GetCurrentPage());
        switch (step) {
        case kWaitForLogin:
            if (!page) break;
            if (!shownAt) shownAt = pass;
            if (pass < shownAt + 2) break;  // painted once, nothing owed
            login = Picture(window, host);
            step = kConnect;
            break;
        case kConnect:
            Touch(page->GetConnectButton());
            step = kWaitForHome;
            break;
        case kWaitForHome:
            clock.Advance(100);
            if (!server.IsConnected() || !window.IsHomePageShown()) break;
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 1000;
    });
    EXPECT_EQ(TabletMain({"/R"}, host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(testsupport::MatchesGolden(login, "vistrel_run_login"));
    // The choice kept the name and nothing of the password.
    const CLoginFile kept = CLoginFile::Read(CLoginFile::GetPath());
    EXPECT_EQ(kept.userName, "POOL1");
    EXPECT_EQ(kept.choice, CLoginFile::kSaveUserName);
}

using FontPageRun = vistreltest::SampleHouseRun;

TEST_F(FontPageRun, TheGatewayAsksForTheFontPageAndDoneKeepsTheFirstFamily) {
    enum Step { kWaitForHome, kWaitForFontPage, kWaitForHomeAgain, kDone } step = kWaitForHome;
    vistreltest::SettledRun settled;
    testsupport::Image565 shown;
    std::string first;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        switch (step) {
        case kWaitForHome:
            if (!settled.Check(window, gateway, server)) break;
            gateway.PushFrames({{CZVServer::kEverySink, ZVM_TABLET_SHOWFONTPAGE, {}}});
            step = kWaitForFontPage;
            break;
        case kWaitForFontPage: {
            auto* page = dynamic_cast<CFontPage*>(window.GetCurrentPage());
            if (!page) break;
            // The rows name the machine's own fonts: the picture keeps the title band and the button.
            const testsupport::Image565 frame = Picture(window, host);
            shown = {page->GetWidth(), 60, {}};
            for (int band : {0, page->GetHeight() - 30})
                for (int y = band; y < band + 30; ++y)
                    for (int x = 0; x < page->GetWidth(); ++x)
                        shown.pixels.push_back(
                            frame.pixels[static_cast<size_t>(page->ToRootY(y) * frame.width + page->ToRootX(x))]);
            first = CZVString(CFontServer::Get()->GetFamilies().front().name).GetAnsi();
            Touch(ChildNamed(page, "Done"));
            step = kWaitForHomeAgain;
            break;
        }
        case kWaitForHomeAgain:
            if (!dynamic_cast<CHomePage*>(window.GetCurrentPage())) break;
            EXPECT_EQ(std::string(CFontServer::Get()->GetFaceName().GetAnsi()), first);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 1000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_run_font_page"));
}

}  // namespace
