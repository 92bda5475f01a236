// The web page: its bar for either flag, the logo's ring, the favourites
// fetched from the gateway into the program folder, the viewer program that
// the page starts, restarts and ends, Main going back, and the page opened
// from the menu of the whole tablet.
#include "vistrel/shell/webpage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "core/zvquery.h"
#include "platform/program.h"
#include "platform/settings.h"
#include "shell_fixture.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "support/wait.h"
#include "vistrel/shell/webviewer.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// Makes the viewer a script in the folder that writes its arguments to
// viewer.log, one line a start, and waits; returns the log's path.
std::string InstallRecordingViewer(const std::string& folder) {
    const std::string script = folder + "/viewer.sh";
    const std::string log = folder + "/viewer.log";
    std::ofstream(script) << "#!/bin/sh\necho \"$@\" >> " << log << "\nexec sleep 60\n";
    chmod(script.c_str(), 0755);
    EXPECT_TRUE(platform::WriteSettingString("WebViewer", "Command", script + " --kiosk"));
    return log;
}

// The gateway's favourites: the list, and each file's bytes by name.
void ServeFavorites(testsupport::FakeGateway& gateway, const std::vector<std::string>& names) {
    PayloadWriter list;
    list.Int(static_cast<int32_t>(names.size()));
    for (const std::string& name : names) list.String(name);
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ, list);
    gateway.On(ZVM_UPDATE_GETFAVORITEFILEQ, [](const Frame& request) -> std::vector<Frame> {
        samplegateway::PayloadReader in(request.payload);
        std::string name;
        if (!in.String(&name)) return {};
        const std::string content = "<file " + name + ">";
        return {{request.sender, ZVM_UPDATE_GETFAVORITEFILEA, testsupport::Bytes(content.begin(), content.end())}};
    });
}

int Requests(testsupport::FakeGateway& gateway, uint16_t id) { return static_cast<int>(gateway.RequestsOf(id).size()); }

class WebPageTest : public vistreltest::ShellTest {
protected:
    void SetUp() override {
        Connect();
        CloseWebViewerAtStart();
    }
    void TearDown() override { CloseWebViewer(); }

    void InstallRecordingViewer() { ::InstallRecordingViewer(environment.Folder()); }
    std::string ViewerLog() { return environment.Folder() + "/viewer.log"; }
    std::string ViewerStarts() {
        std::string log;
        testsupport::WaitUntil([&] { return !(log = ReadFile(ViewerLog())).empty(); });
        return log;
    }
    CWebPage* OpenPage(int noNavigation) {
        page = std::make_unique<CWebPage>(window.get(), CZVRect(0, 0, 320, 240), noNavigation);
        return page.get();
    }
    std::vector<CZV3DButton*> Buttons() {
        std::vector<CZV3DButton*> buttons;
        const CZVObList& children = page->GetChildren();
        for (ZVPOSITION pos = children.GetHeadPosition(); pos;)
            if (auto* button = dynamic_cast<CZV3DButton*>(static_cast<CZVWindow*>(children.GetNext(pos))))
                buttons.push_back(button);
        return buttons;
    }
    std::vector<int> ButtonIds() {
        std::vector<int> ids;
        for (CZV3DButton* button : Buttons()) ids.push_back(button->GetCommandId());
        return ids;
    }

    std::unique_ptr<CWebPage> page;
};

TEST_F(WebPageTest, TheBarHoldsSixColumnsOrFourWithoutNavigation) {
    OpenPage(0);
    EXPECT_EQ(ButtonIds(), (std::vector<int>{1000, 1024, 1025, 1026, 1027, 1028, 1029}));
    OpenPage(1);
    EXPECT_EQ(ButtonIds(), (std::vector<int>{1000, 1024, 1025, 1026, 1027}));
    // 320 wide: Main takes 40, the logo the last 48, four columns share the rest less 4 a side.
    const CZVRect back = page->GetRectIn(Buttons()[1]);
    EXPECT_EQ(back.x, 44);
    EXPECT_EQ(back.y, 4);
    EXPECT_EQ(back.h, 42);
    EXPECT_EQ(page->GetRectIn(page->GetLogo()), CZVRect(272, 2, 46, 48));
}

TEST_F(WebPageTest, TheLogosRingRunsRoundItsRadius) {
    OpenPage(0);
    CWebLogoWnd* logo = page->GetLogo();
    EXPECT_EQ(logo->GetRadius(), 17);
    ASSERT_GT(logo->GetPointCount(), 0);
    EXPECT_EQ(logo->GetPointCount() % 4, 0);
    EXPECT_EQ(static_cast<int>(logo->GetColours().size()), logo->GetPointCount() / 8);
    EXPECT_EQ(logo->GetColours().front(), ToRgb565(CWebLogoWnd::kBusyColour));
    logo->AnimateStep();  // before the first paint there is no busy face: nothing happens
}

TEST_F(WebPageTest, FavouritesAreFetchedOnceAndOnlyTheMissingFiles) {
    ServeFavorites(gateway, {"favorites.html", "favorites2.html", "ICONS\\home.png"});
    ASSERT_TRUE(FetchFavorites(server));
    const std::string folder = GetFavoritesFolder();
    EXPECT_EQ(ReadFile(folder + "/favorites.html"), "<file favorites.html>");
    EXPECT_EQ(ReadFile(folder + "/ICONS/home.png"), "<file ICONS\\home.png>");
    EXPECT_TRUE(Exists(folder + "/IMAGES"));
    EXPECT_EQ(Requests(gateway, ZVM_UPDATE_GETFAVORITEFILEQ), 3);

    ASSERT_TRUE(FetchFavorites(server));  // fetched: the gateway is not asked again
    EXPECT_EQ(Requests(gateway, ZVM_UPDATE_GETFAVORITESQ), 1);
}

TEST_F(WebPageTest, NamesThatLeaveTheFolderAreRefusedAndAskedAgainNextTime) {
    const std::vector<std::string> refused = {"..\\outside.html", "ICONS\\..\\..\\x", "\\etc\\x", "a\\\\b", ""};
    for (const std::string& name : refused) EXPECT_EQ(GetFavoritePath(name), "") << name;
    EXPECT_EQ(GetFavoritePath("IMAGES\\pool.jpg"), GetFavoritesFolder() + "/IMAGES/pool.jpg");

    ServeFavorites(gateway, {"..\\outside.html", "favorites.html"});
    EXPECT_FALSE(FetchFavorites(server));
    EXPECT_FALSE(Exists(platform::GetProgramFolder() + "/outside.html"));
    EXPECT_TRUE(Exists(GetFavoritesFolder() + "/favorites.html"));
    EXPECT_FALSE(FetchFavorites(server));  // the list is asked for again, the file kept is not
    EXPECT_EQ(Requests(gateway, ZVM_UPDATE_GETFAVORITESQ), 2);
    EXPECT_EQ(Requests(gateway, ZVM_UPDATE_GETFAVORITEFILEQ), 1);
}

TEST_F(WebPageTest, AnEmptyListOrACountBeyondTheNames) {
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ, PayloadWriter().Int(0));
    EXPECT_TRUE(FetchFavorites(server));
    CloseWebViewerAtStart();
}

TEST_F(WebPageTest, TheStartPageFollowsTheWindowsHeight) {
    EXPECT_EQ(GetFavoritesStartPage(600), "");  // nothing fetched yet
    ServeFavorites(gateway, {"favorites.html", "favorites2.html"});
    ASSERT_TRUE(FetchFavorites(server));
    EXPECT_EQ(GetFavoritesStartPage(480), "file://" + GetFavoritesFolder() + "/favorites2.html");
    EXPECT_EQ(GetFavoritesStartPage(481), "file://" + GetFavoritesFolder() + "/favorites.html");
}

TEST_F(WebPageTest, TheViewerStartsOnTheUrlAndRestartsOnlyWhenTheFlagChanges) {
    InstallRecordingViewer();
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ, PayloadWriter().Int(0));
    OpenPage(0)->OpenWebViewer("http://pool.example/cam", 0);
    EXPECT_EQ(ViewerStarts(), "--kiosk http://pool.example/cam\n");
    ASSERT_TRUE(IsWebViewerRunning());

    page->OpenWebViewer("", 0);  // the same flag: the running viewer stays
    EXPECT_EQ(ViewerStarts(), "--kiosk http://pool.example/cam\n");

    page->OpenWebViewer("http://pool.example/other", 1);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return ReadFile(ViewerLog()).find("other") != std::string::npos; }));
    CloseWebViewer();
    EXPECT_FALSE(IsWebViewerRunning());
}

TEST_F(WebPageTest, WithoutAStartPageOrACommandNothingStarts) {
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ, PayloadWriter().Int(0));
    InstallRecordingViewer();
    OpenPage(0)->OpenWebViewer("", 0);
    EXPECT_FALSE(IsWebViewerRunning());
    ASSERT_TRUE(platform::WriteSettingString("WebViewer", "Command", environment.Folder() + "/missing"));
    EXPECT_FALSE(EnsureWebViewerFile());
    page->OpenWebViewer("http://pool.example/", 0);
    EXPECT_FALSE(IsWebViewerRunning());
}

TEST_F(WebPageTest, MainGoesBackFromTheNextIdlePassAndLeavesTheViewerRunning) {
    InstallRecordingViewer();
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ, PayloadWriter().Int(0));
    window->DoCommand(kCommandDvr, 1);
    window->JumpToWebUrl("http://pool.example/", 0);
    window->OnIdle(0);
    EXPECT_EQ(window->GetCurrentCommand(), kCommandDvr);
    auto* web = dynamic_cast<CWebPage*>(window->GetCurrentPage());
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(window->IsMenuHidden(), 1);
    ViewerStarts();

    web->OnCommand(CWebPage::kMain);  // the button's own handler: the page stays for now
    EXPECT_EQ(window->GetCurrentPage(), web);
    window->OnIdle(0);
    // Back on the command's page, whichever class a library registered for it.
    ASSERT_NE(window->GetCurrentPage(), nullptr);
    EXPECT_NE(window->GetCurrentPage(), web);
    EXPECT_EQ(window->GetCurrentCommand(), kCommandDvr);
    EXPECT_EQ(window->IsMenuHidden(), 0);
    EXPECT_TRUE(IsWebViewerRunning());
}

TEST_F(WebPageTest, AJumpWhileThePageIsShownRestartsTheViewerOnTheNewUrl) {
    InstallRecordingViewer();
    gateway.Answer(ZVM_UPDATE_GETFAVORITESQ, PayloadWriter().Int(0));
    window->JumpToWebUrl("http://pool.example/one", 0);
    window->OnIdle(0);
    CZVWindow* web = window->GetCurrentPage();
    ViewerStarts();
    window->JumpToWebUrl("http://pool.example/two", 0);
    window->OnIdle(0);
    EXPECT_EQ(window->GetCurrentPage(), web);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return ReadFile(ViewerLog()).find("two") != std::string::npos; }));
}

TEST(WebTabletRun, TheWebEntryShowsTheBarOverTheWholeWindow) {
    vistreltest::ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    clock.HoldWhile([&] { return gateway.Owes(); });
    testsupport::SampleInstallation sample;
    sample.menu = testsupport::MenuEntries{{0, "Home"}, {12, "Web"}};
    testsupport::ServeSampleInstallation(gateway, sample);
    const std::string log = InstallRecordingViewer(environment.Folder());
    testsupport::Image565 shown;
    int menuHidden = -1;
    int commandAfterMain = -1;
    vistreltest::TestHost host(environment.Folder(), 1024, 768, [&](CMainWnd& window, CZVServer&, int pass) {
        if (pass == 1) window.OnCommand(kCommandWeb);
        if (pass == 2) {
            menuHidden = window.IsMenuHidden();
            window.PaintAll();
            shown = {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
            window.GetCurrentPage()->OnCommand(CWebPage::kMain);
        }
        if (pass == 3) commandAfterMain = window.IsMenuHidden() ? -1 : window.GetCurrentCommand();
        return pass == 3;
    });
    EXPECT_EQ(TabletMain({"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())}, host), 0);
    clock.HoldWhile({});
    EXPECT_EQ(menuHidden, 1);
    EXPECT_EQ(commandAfterMain, kCommandHome);
    // The sample house's favourites came, and the viewer was shown the start page of a 600 high window.
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !ReadFile(log).empty(); }));
    EXPECT_EQ(ReadFile(log), "--kiosk file://" + GetFavoritesFolder() + "/favorites.html\n");
    EXPECT_TRUE(Exists(GetFavoritesFolder() + "/ICONS/home.png"));
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "vistrel_web"));
}

}  // namespace
