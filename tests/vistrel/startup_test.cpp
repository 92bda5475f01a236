// The whole start-up against a fake gateway with the headless window on the
// virtual clock: connection, style, first paint, the main loop, another
// copy's knock and the teardown.
#include <gtest/gtest.h>

#include "core/messages/shellmessages.h"
#include "core/zvtime.h"
#include "platform/keys.h"
#include "shell_fixture.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "vistrel/shell/singleinstance.h"
#include "widgets/style/setserver.h"

namespace {

using testsupport::PayloadWriter;
using vistreltest::TestHost;

class TabletRun : public ::testing::Test {
protected:
    TabletRun() {
        gateway.Answer(ZVM_UI_GETSETTINGSQ, PayloadWriter().Int(2));
        // An empty home page: a gateway that never answers would have every idle pass wait out
        // the page's question again.
        gateway.Answer(ZVM_LAYOUT_GETSECTIONSQ, PayloadWriter().Int(0));
        gateway.Answer(ZVM_LAYOUT_GETCONTROLSQ, PayloadWriter().Int(0));
        // A query waits while the gateway is still answering, however slowly its thread runs.
        clock.HoldWhile([this] { return gateway.Owes(); });
    }
    ~TabletRun() override {
        clock.HoldWhile({});
        g_nClockOffsetMinutes = 0;
    }
    std::vector<std::string> Arguments() { return {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())}; }

    vistreltest::ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
};

TEST_F(TabletRun, StartsWithTheStyleShowsTheWindowRunsAndShutsDown) {
    int loadedAtFirstPass = -1;
    int clientType = -1;
    int framesAtFirstPass = 0;
    testsupport::Image565 first;
    TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int pass) {
        if (pass == 1) {
            loadedAtFirstPass = CSetServer::Get()->IsLoaded();
            framesAtFirstPass = host.native->GetFramesShown();
            first = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
            EXPECT_TRUE(server.IsConnected());
            clientType = server.DefaultClientType();
            EXPECT_EQ(GetTabletMainWnd(), &window);
        }
        return pass == 20;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    EXPECT_EQ(host.passes, 20);
    EXPECT_EQ(loadedAtFirstPass, 1);
    EXPECT_EQ(framesAtFirstPass, 1);  // the whole tree, shown once
    // A 1024 x 768 screen: an 800 x 600 window with a caption.
    EXPECT_EQ(host.openedWith.width, 800);
    EXPECT_EQ(host.openedWith.height, 600);
    EXPECT_FALSE(host.openedWith.fullScreen);
    EXPECT_EQ(host.openedWith.title, "Vistrel");
    EXPECT_TRUE(testsupport::MatchesGolden(first, "vistrel_started"));

    testsupport::Frame settings;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_GETSETTINGSQ, &settings));
    EXPECT_EQ(settings.payload, testsupport::Bytes(PayloadWriter().Int(0)));  // layout of 800 x 600
    // The loop's first poll told the main window of the connection.
    EXPECT_TRUE(gateway.WaitForRequest(ZVM_SYSCONFIG_GETCLOCKQ));
    EXPECT_EQ(clientType, 0);  // layout 0 of the 800 x 600 window

    EXPECT_TRUE(gateway.WaitForDisconnect());
    EXPECT_EQ(GetTabletMainWnd(), nullptr);
    EXPECT_EQ(GetMainWnd(), nullptr);
    EXPECT_EQ(CSetServer::Get(), nullptr);
}

TEST_F(TabletRun, ShowsTheGatewaysMenuBesideTheHomePage) {
    testsupport::ServeSampleInstallation(gateway);
    testsupport::Image565 shown;
    bool taken = false;
    vistreltest::SettledRun settled;
    TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int) {
        if (!settled.Check(window, gateway, server)) return false;
        window.PaintAll();
        shown = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
        taken = true;
        return true;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_TRUE(taken);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_menu"));
}

class StyledTabletRun : public TabletRun, public ::testing::WithParamInterface<samplegateway::Style> {};

TEST_P(StyledTabletRun, FirstFrameInTheGatewaysStyle) {
    testsupport::SampleInstallation sample;
    sample.style = GetParam();
    testsupport::ServeSampleInstallation(gateway, sample);
    testsupport::Image565 shown;
    int compact = -1;
    vistreltest::SettledRun settled;
    TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer& server, int) {
        if (!settled.Check(window, gateway, server)) return false;
        compact = CSetServer::Get()->IsCompactLayout();
        window.PaintAll();
        shown = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
        return true;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    const bool wantCompact = GetParam() == samplegateway::Style::kCompact;
    EXPECT_EQ(compact, wantCompact ? 1 : 0);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, wantCompact ? "vistrel_compact" : "vistrel_themed"));
}

INSTANTIATE_TEST_SUITE_P(Styles, StyledTabletRun,
                         ::testing::Values(samplegateway::Style::kThemed, samplegateway::Style::kCompact));

TEST_F(TabletRun, TabletScreenGivesFullScreenAndLogsInWithTheClientTypeOfItsLayout) {
    int clientType = -1;
    TestHost host(environment.Folder(), 800, 480, [&](CMainWnd&, CZVServer& server, int pass) {
        clientType = server.DefaultClientType();
        return pass == 2;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    EXPECT_TRUE(host.openedWith.fullScreen);
    EXPECT_EQ(host.openedWith.width, 800);
    EXPECT_EQ(host.openedWith.height, 480);
    EXPECT_EQ(clientType, 6);
    const std::vector<testsupport::LoginRecord> logins = gateway.Logins();
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_TRUE(logins[0].well_formed);
    EXPECT_EQ(logins[0].client_type, 6) << "the direct login announces the layout's client type";
}

TEST_F(TabletRun, ExitCommandEndsTheLoopThroughTheIdlePass) {
    TestHost host(environment.Folder(), 1024, 768, [](CMainWnd& window, CZVServer&, int pass) {
        if (pass == 3) window.DoCommand(kCommandExit, 0);
        EXPECT_LE(pass, 3);  // the same pass's idle step ends the loop
        return false;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    EXPECT_EQ(host.passes, 3);
}

TEST_F(TabletRun, AnotherCopyKnocksAndTheFirstRaisesItsWindow) {
    int raisedBefore = -1;
    TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd&, CZVServer&, int pass) {
        if (pass == 2) {
            raisedBefore = host.native->GetRaiseCount();  // the connection raised it once
            // A second copy's start-up with another window of its own.
            TestHost second(environment.Folder(), 1024, 768, [](CMainWnd&, CZVServer&, int) { return true; });
            EXPECT_EQ(TabletMain({}, second), 0);
            EXPECT_EQ(second.native, nullptr);
        }
        if (pass == 4) {
            EXPECT_EQ(host.native->GetRaiseCount(), raisedBefore + 1);
        }
        return pass == 4;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    // The lock went with the first copy.
    CSingleInstance next(environment.Folder());
    EXPECT_TRUE(next.Claim());
}

TEST(SingleInstance, OneHolderAndKnocksOnItsDoor) {
    testsupport::TempDir dir;
    auto first = std::make_unique<CSingleInstance>(dir.Path());
    ASSERT_TRUE(first->Claim());
    EXPECT_EQ(first->TakeRaiseRequests(), 0);
    CSingleInstance second(dir.Path());
    EXPECT_FALSE(second.Claim());
    EXPECT_FALSE(second.Claim());
    EXPECT_EQ(first->TakeRaiseRequests(), 2);
    first.reset();
    EXPECT_FALSE(AskToRaise(dir.File("VistrelMutex.door")));  // nobody listens any more
    CSingleInstance third(dir.Path());
    EXPECT_TRUE(third.Claim());
}

class MessageLoop : public vistreltest::ShellTest {
protected:
    TestHost host{environment.Folder(), 320, 240, [](CMainWnd&, CZVServer&, int) { return false; }};
    CMessageLoop loop{server, native, host};
};

TEST_F(MessageLoop, OnePollPerQuietPassThenARest) {
    Connect();
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(loop.RunPass(*window));  // the connect's requests and answers settle
    const uint64_t polls = loop.GetPollCount();
    const uint64_t slept = clock.TotalSlept();
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(loop.RunPass(*window));
    EXPECT_EQ(loop.GetPollCount() - polls, 10u);
    EXPECT_EQ(clock.TotalSlept() - slept, 10u * CMessageLoop::kRestTime);
}

TEST_F(MessageLoop, BurstIsTakenInOnePass) {
    Connect();
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(loop.RunPass(*window));
    // Three notices in one write; the socket holds them all before the pass.
    std::vector<testsupport::Frame> frames;
    for (int mode = 1; mode <= 3; ++mode)
        frames.push_back({CZVServer::kEverySink, ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(mode).Int(0)});
    ASSERT_TRUE(gateway.PushFrames(frames));
    ASSERT_TRUE(
        testsupport::PollAllUntil(server, [&] { return server.GetSocket()->HasData() || window->GetHouseMode() > 0; }));
    const uint64_t polls = loop.GetPollCount();
    ASSERT_TRUE(loop.RunPass(*window));
    EXPECT_EQ(window->GetHouseMode(), 3);
    EXPECT_GE(loop.GetPollCount() - polls, 3u);
}

TEST_F(MessageLoop, EachPassTakesOneWindowEvent) {
    for (int i = 0; i < 3; ++i) native.QueueMouse(platform::kWmMouseMove, 10 + i, 10, 0);
    for (int left : {2, 1, 0}) {
        ASSERT_TRUE(loop.RunPass(*window));
        EXPECT_EQ(native.PendingEvents(), left);
    }
}

TEST_F(MessageLoop, CloseEndsTheLoop) {
    platform::WindowEvent close;
    close.message = platform::kWmClose;
    native.Queue(close);
    EXPECT_FALSE(loop.RunPass(*window));
    EXPECT_EQ(window->IsDestroyRequested(), 1);
}

}  // namespace
