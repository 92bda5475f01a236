// The main window against a fake gateway: what it asks on connect, the
// messages it handles, the loss of the connection, and its layout tables.
#include "vistrel/shell/mainwnd.h"

#include <gtest/gtest.h>

#include "av/soundclip.h"
#include "core/messages/shellmessages.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "platform/keys.h"
#include "shell_fixture.h"
#include "vistrel/shell/mainmenu.h"
#include "vistrel/shell/updatepage.h"
#include "widgets/buttons/buttonicon.h"
#include "widgets/style/setserver.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

TEST(LayoutTables, LayoutTypeOfTheWindowSize) {
    struct Case {
        int width, height, layout;
    } cases[] = {
        {240, 240, 4},
        {240, 320, 1},
        {320, 240, 3},
        {320, 320, 5},
        {800, 480, 2},
        {800, 600, 0},
        {640, 480, 2},
        {1024, 768, 0},
        {1280, 800, 2},
        {1920, 1080, 2},
        {1000, 700, 2},  // 0.7 lies exactly between:
                         // the tie gives 2
        {240, 700, 0},   // a narrow, tall window falls through to the ratio
    };
    for (const Case& c : cases) EXPECT_EQ(LayoutTypeOf(c.width, c.height), c.layout) << c.width << "x" << c.height;
}

TEST(LayoutTables, ClientTypeOfTheLayout) {
    const int expected[] = {0, 1, 6, 7, 8, 10, 0};
    for (int layout = 0; layout <= 6; ++layout) EXPECT_EQ(ClientTypeOf(layout), expected[layout]) << layout;
    EXPECT_EQ(ClientTypeOf(-1), 0);
}

TEST(LayoutTables, RemoteKeys) {
    struct Case {
        int code, key;
    } cases[] = {{0, platform::VK_UP},
                 {1, platform::VK_DOWN},
                 {2, platform::VK_LEFT},
                 {3, platform::VK_RIGHT},
                 {4, platform::VK_RETURN},
                 {100, 'P'},
                 {101, 'A'},
                 {102, platform::VK_PRIOR},
                 {103, platform::VK_NEXT},
                 {104, platform::VK_ESCAPE},
                 {110, '0'},
                 {119, '9'},
                 {122, 'M'},
                 {0x41, 0x41}};
    for (const Case& c : cases) EXPECT_EQ(RemoteKeyToVirtualKey(c.code), c.key) << c.code;
}

class MainWndMessages : public vistreltest::ShellTest {
protected:
    void SetUp() override {
        Connect();
        ASSERT_TRUE(QACacheInit(server));
        ASSERT_TRUE(PollUntil([this] { return gateway.WaitForRequest(ZVM_TABLET_IDLE, nullptr, 0); }));
    }
    void TearDown() override {
        QACacheShutdown(server);
        g_nClockOffsetMinutes = 0;
    }
    // One answer in the cache, as a cached query would have left it.
    void FillCache() {
        QACacheInsert(server, std::make_unique<CZVMSG>(0, 0x1234), std::make_unique<CZVMSG>(0, 0x1235));
        ASSERT_EQ(server.GetAnswerCache()->GetCount(), 1);
    }
    int CachedAnswers() { return server.GetAnswerCache()->GetCount(); }
    void Push(uint16_t id, const testsupport::Bytes& payload) { ASSERT_TRUE(gateway.Push(id, payload)); }
    // Pushes a message, then a marker, and polls until the marker came.
    void Deliver(uint16_t id, const testsupport::Bytes& payload) {
        Push(id, payload);
        const int before = window->GetNewMessageCount();
        Push(ZVM_MESSAGES_GETNEWCOUNTA, PayloadWriter().Int(before + 1));
        ASSERT_TRUE(PollUntil([&] { return window->GetNewMessageCount() == before + 1; }));
    }
};

TEST_F(MainWndMessages, ConnectAsksForSettingsMenuClockAndSystemInformation) {
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SYSCONFIG_GETSYSTEMINFOQ));
    std::vector<uint16_t> asked;
    for (const Frame& frame : gateway.Requests())
        if (frame.sender == window->GetId()) asked.push_back(frame.id);
    // The house mode, asked before the connection stood, is not among them.
    EXPECT_EQ(asked, (std::vector<uint16_t>{ZVM_TABLET_GETPOWERSETTINGSQ, ZVM_SYSCONFIG_GETMENUQ,
                                            ZVM_SYSCONFIG_GETCLOCKQ, ZVM_TABLET_IDLE, ZVM_SYSCONFIG_GETSYSTEMINFOQ}));
    // Between them the menu subscribes to its entries' icons and texts on this connection.
    const std::vector<Frame> requests = gateway.Requests();
    const auto idle =
        std::find_if(requests.begin(), requests.end(), [](const Frame& f) { return f.id == ZVM_TABLET_IDLE; });
    ASSERT_NE(idle, requests.end());
    ASSERT_NE(idle + 1, requests.end());
    EXPECT_EQ(idle[1].id, ZVM_UI_SUBSCRIBEMENUSTATUS);
    EXPECT_EQ(idle[1].sender, window->GetMenu()->GetId());
}

TEST_F(MainWndMessages, FlushCachesClearsTheAnswerCacheAndAsksForTheHouseModeAgain) {
    FillCache();
    Deliver(ZVM_TABLET_FLUSHCACHE, {});
    EXPECT_EQ(CachedAnswers(), 0);
    EXPECT_TRUE(gateway.WaitForRequest(ZVM_HOUSE_GETMODEQ));
}

TEST_F(MainWndMessages, ClockAnswerSetsTheOffsetInWholeMinutes) {
    // The virtual clock's local time: Friday 1 January 2010, 0:00.
    struct Case {
        uint16_t fields[8];
        int32_t offset;
    } cases[] = {
        {{2010, 1, 4, 1, 1, 30, 59, 0}, 90},     // ahead: 90 minutes and some seconds
        {{2009, 12, 3, 31, 23, 30, 0, 0}, -30},  // behind, across the year
        {{2010, 2, 0, 30, 0, 0, 0, 0}, -30},     // no such date: the offset stays
    };
    for (const Case& c : cases) {
        PayloadWriter payload;
        for (uint16_t field : c.fields) payload.Short(field);
        payload.Int(0);
        ASSERT_TRUE(gateway.Push(ZVM_SYSCONFIG_GETCLOCKA, payload, window->GetId()));
        Deliver(ZVM_MESSAGES_GETNEWCOUNTA, {});
        EXPECT_EQ(g_nClockOffsetMinutes.load(), c.offset) << c.fields[0];
    }
    Deliver(ZVM_SYSCONFIG_GETCLOCKA, PayloadWriter().Short(2011));  // cut short: nothing changes
    EXPECT_EQ(g_nClockOffsetMinutes.load(), -30);
}

TEST_F(MainWndMessages, ConnectionLossClearsTheAnswerCache) {
    FillCache();
    gateway.Drop();
    ASSERT_TRUE(PollUntil([this] { return !server.IsConnected(); }));
    ASSERT_TRUE(PollUntil([this] { return CachedAnswers() == 0; }));
    EXPECT_EQ(window->IsExitRequested(), 0);
    SetPageVariable(5, 0);
}

TEST_F(MainWndMessages, ConnectionLossInRemoteModeEndsTheProgram) {
    FillCache();
    server.SetRemoteMode(1);
    gateway.Drop();
    ASSERT_TRUE(PollUntil([this] { return window->IsExitRequested() != 0; }));
    EXPECT_EQ(CachedAnswers(), 1);
    window->OnIdle(0);
    EXPECT_EQ(window->IsDestroyRequested(), 1);
}

TEST_F(MainWndMessages, PageVariableAndWebUrl) {
    Deliver(ZVM_UI_SETPAGEVARIABLE, PayloadWriter().Int(2).Int(4));
    EXPECT_EQ(GetPageVariable(2), 4);
    EXPECT_EQ(window->GetPendingCommand(), kCommandClimate);

    window->SetPendingCommand(0);
    Deliver(ZVM_UI_SETPAGEVARIABLE, PayloadWriter().Int(6));  // the value is missing: nothing at all
    EXPECT_EQ(window->GetPendingCommand(), 0);
    Deliver(ZVM_UI_SETPAGEVARIABLE, PayloadWriter().Int(12).Int(0).String("http://pool/cam"));  // no flag
    EXPECT_EQ(window->GetPendingCommand(), 0);

    Deliver(ZVM_UI_SETPAGEVARIABLE, PayloadWriter().Int(12).Int(0).String("http://pool/cam").Int(1));
    EXPECT_EQ(window->GetPendingCommand(), kCommandWeb);
    SetPageVariable(2, 0);
}

TEST_F(MainWndMessages, OnlyTheIndexesOfPagesSelectAPage) {
    struct Case {
        int32_t index;
        int command;  // 0: ignored
    } cases[] = {{13, kCommandDvr}, {14, 0}, {-2997, 0}, {0x7FFF, 0}, {5, kCommandHome + 5}};
    for (const Case& c : cases) {
        window->SetPendingCommand(0);
        Deliver(ZVM_UI_SETPAGEVARIABLE, PayloadWriter().Int(c.index).Int(1));
        EXPECT_EQ(window->GetPendingCommand(), c.command) << c.index;
    }
    EXPECT_EQ(window->IsExitRequested(), 0);
}

TEST_F(MainWndMessages, OnlyTheIndexesOfPagesShowAPageWhileIdle) {
    Deliver(ZVM_TABLET_SHOWPAGE, PayloadWriter().Int(13).Int(0));  // active: ignored
    EXPECT_NE(window->GetCurrentCommand(), kCommandDvr);
    window->SetDisplayPower(0);
    for (int32_t index : {12, 14, -2997, 0x7FFF}) {
        Deliver(ZVM_TABLET_SHOWPAGE, PayloadWriter().Int(index).Int(0));
        EXPECT_NE(window->GetCurrentCommand(), kCommandHome + index) << index;
    }
    EXPECT_EQ(window->IsExitRequested(), 0);
    Deliver(ZVM_TABLET_SHOWPAGE, PayloadWriter().Int(13).Int(0));
    EXPECT_EQ(window->GetCurrentCommand(), kCommandDvr);
    EXPECT_EQ(window->GetIdleState(), kIdleDisplayOff);  // the page waits underneath
}

TEST_F(MainWndMessages, HouseModeSystemNameAndUpdateNotice) {
    Deliver(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(3).Int(0));
    EXPECT_EQ(window->GetHouseMode(), 3);
    Deliver(ZVM_SYSCONFIG_GETSYSTEMINFOA, PayloadWriter().Int(1).Int(2).String("Backyard"));
    EXPECT_EQ(window->GetWindowTitle(), "Backyard: Zavoro Viewer");
    EXPECT_EQ(native.GetTitle(), "Backyard: Zavoro Viewer");
    Deliver(ZVM_SYSCONFIG_PREPAREUPDATE, {});
    EXPECT_EQ(window->IsUpdateForced(), 1);
}

// Records the names of the gateway icons that buttons ask for.
class NamedIconRecorder : public CButtonIconSource {
public:
    NamedIconRecorder() : m_inner(ButtonIcons()), m_previous(InstallButtonIconSource(this)) {}
    ~NamedIconRecorder() override { InstallButtonIconSource(m_previous); }
    NamedIconRecorder(const NamedIconRecorder&) = delete;
    NamedIconRecorder& operator=(const NamedIconRecorder&) = delete;
    CButtonIcon* MakeStock(int kind, COLORREF colour) override { return m_inner.MakeStock(kind, colour); }
    CButtonIcon* MakeNamed(const CZVString& name) override {
        names.push_back(CZVString(name).GetAnsi());
        return m_inner.MakeNamed(name);
    }
    std::vector<std::string> names;

private:
    CButtonIconSource& m_inner;
    CButtonIconSource* m_previous;
};

testsupport::Bytes MenuOf(const std::vector<std::pair<int, std::string>>& entries) {
    PayloadWriter menu;
    menu.Int(0).Int(static_cast<int32_t>(entries.size()));
    for (const auto& [type, caption] : entries) menu.Int(type).String(caption);
    return menu;
}

std::string CaptionOf(CMainMenu* menu, int id) {
    CTabButton* entry = menu->FindEntry(id);
    return entry ? entry->GetText().GetAnsi() : "";
}

TEST_F(MainWndMessages, AMenuNoticeRebuildsTheColumnOnlyForANewNumberOfEntries) {
    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf({{0, "Home"}, {5, "Lighting"}}));
    ASSERT_EQ(window->IsMenuLoadFailed(), 0);
    CTabButton* lighting = window->GetMenu()->FindEntry(5005);
    ASSERT_NE(lighting, nullptr);

    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf({{0, "Home"}, {2, "Climate"}}));
    EXPECT_EQ(window->GetMenu()->FindEntry(5005), lighting);
    EXPECT_EQ(window->GetMenu()->FindEntry(5002), nullptr);

    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf({{0, "Home"}, {2, "Climate"}, {5, "Lighting"}}));
    EXPECT_EQ(CaptionOf(window->GetMenu(), 5002), "Climate");
}

TEST_F(MainWndMessages, TheDefaultMenuGivesWayToTheGatewaysMenuOfTheSameSize) {
    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf({}));
    ASSERT_EQ(window->IsMenuLoadFailed(), 1);
    const int defaultEntries = window->GetMenu()->GetTabCount();
    std::vector<std::pair<int, std::string>> entries{{0, "Home"}, {5, "Lighting"}, {2, "Climate"}};
    entries.resize(static_cast<size_t>(defaultEntries));
    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf(entries));
    EXPECT_EQ(window->IsMenuLoadFailed(), 0);
    EXPECT_EQ(CaptionOf(window->GetMenu(), 5000), "Home");
}

TEST_F(MainWndMessages, TheHomeEntryWearsTheHouseModesIconAlsoAfterARebuild) {
    gateway.Answer(ZVM_HOUSE_GETMODENAMESQ,
                   PayloadWriter().Int(2).String("Home").String("I_HOME").String("Away").String("I_AWAY"));
    Deliver(ZVM_TABLET_FLUSHCACHE, {});  // reloads the house modes
    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf({{0, "Home"}}));
    const std::string icon = "I_AWAY";
    NamedIconRecorder icons;
    Deliver(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(1).Int(0));
    EXPECT_EQ(std::count(icons.names.begin(), icons.names.end(), icon), 1);
    Deliver(ZVM_SYSCONFIG_GETMENUA, MenuOf({{0, "Home"}, {5, "Lighting"}}));
    EXPECT_EQ(std::count(icons.names.begin(), icons.names.end(), icon), 2);
}

TEST_F(MainWndMessages, AlertSoundRepeatsAtItsIntervalUntilTheConnectionChanges) {
    Deliver(ZVM_SECURITY_PLAYSOUND, PayloadWriter().String("alarm.wav").Int(2).Int(3000));
    EXPECT_EQ(window->GetAlertPlays(), 0);  // the first play is not counted
    window->OnIdle(0);
    EXPECT_EQ(window->GetAlertPlays(), 0);
    clock.Advance(3001);
    window->OnIdle(0);
    EXPECT_EQ(window->GetAlertPlays(), 1);
    clock.Advance(3001);
    window->OnIdle(0);
    clock.Advance(3001);
    window->OnIdle(0);
    EXPECT_EQ(window->GetAlertPlays(), 2);
    CSoundClip* clip = CSetServer::Get()->GetSound("alarm.wav");
    EXPECT_EQ(clip->GetPlayRequests(), 3);

    Deliver(ZVM_SECURITY_PLAYSOUND, PayloadWriter().String("alarm.wav").Int(2).Int(3000));
    window->OnConnect(1);
    clock.Advance(3001);
    window->OnIdle(0);
    EXPECT_EQ(window->GetAlertPlays(), 0);
}

TEST_F(MainWndMessages, DisplayPowerBlanksTheWindowAndBlocksInputUntilATouch) {
    window->PaintAll();
    const int shown = native.GetFramesShown();
    Deliver(ZVM_TABLET_SETDISPLAYPOWER, PayloadWriter().Int(0));
    EXPECT_EQ(window->GetIdleState(), kIdleDisplayOff);
    EXPECT_EQ(window->IsInputBlocked(nullptr), 1);
    EXPECT_EQ(native.GetFrame()[0], 0);
    window->Present();  // nothing shows while the display is off
    EXPECT_EQ(native.GetFramesShown(), shown + 1);

    platform::WindowEvent touch;
    touch.message = platform::kWmLButtonDown;
    window->OnWindowEvent(touch);
    EXPECT_EQ(window->GetIdleState(), kIdleActive);
    EXPECT_EQ(window->IsInputBlocked(nullptr), 0);
    EXPECT_EQ(native.GetFramesShown(), shown + 2);
}

}  // namespace

// ---- the shell's answers to the drawing engine

TEST_F(MainWndMessages, StatusReportCarriesMemoryAndBatteryWhenConnectedAndThemed) {
    ASSERT_EQ(CSetServer::Get()->IsThemed(), 1);
    window->SendStatus();
    Frame sent;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SESSION_CLIENTSTATUS, &sent));
    EXPECT_EQ(sent.sender, 0);
    testsupport::PayloadReader reader(sent.payload);
    int32_t memory = 0, battery = 0, last = 0;
    ASSERT_TRUE(reader.Int(&memory) && reader.Int(&battery) && reader.Int(&last));
    EXPECT_GT(memory, 0);
    EXPECT_GE(battery, 0);
    EXPECT_LE(battery, 100);
    EXPECT_EQ(last, -1);
    EXPECT_EQ(reader.Left(), 0u);
}

TEST_F(MainWndMessages, NoStatusReportUnthemedOrOffline) {
    constexpr uint16_t kMarker = 0x1234;
    const auto sendMarker = [this] {
        CZVMSG marker(0, kMarker);
        server.Send(&marker);
    };
    CZVMSG unthemed(0, 0);
    unthemed.WriteInt(2);
    unthemed.ResetPosition();
    ASSERT_EQ(CSetServer::Get()->ParseSettings(&unthemed), 1);
    window->SendStatus();
    sendMarker();
    ASSERT_TRUE(gateway.WaitForRequest(kMarker));
    EXPECT_TRUE(gateway.RequestsOf(ZVM_SESSION_CLIENTSTATUS).empty());

    server.Disconnect();
    window->SendStatus();  // offline: nothing to send to, and nothing breaks
    EXPECT_EQ(server.IsConnected(), 0);
}

TEST_F(MainWndMessages, ZoomTransitionTakesOnlyAPendingPressFromTheWindow) {
    CDibDC picture(40, 30, 0, 0, 0);
    native.QueueKey('A', 'a');
    native.QueueMouse(platform::kWmLButtonDown, 5, 5, 1);
    native.QueueMouse(platform::kWmLButtonUp, 5, 5, 0);
    CZVDC dc(window.get());
    EXPECT_EQ(dc.PlayZoomTransition(&picture, 0, 0), 0);

    std::vector<int> left;
    platform::WindowEvent event;
    while (native.PollEvent(&event)) left.push_back(event.message);
    EXPECT_EQ(left,
              (std::vector<int>{platform::kWmKeyDown, platform::kWmChar, platform::kWmKeyUp, platform::kWmLButtonUp}));

    native.QueueKey('B', 'b');
    EXPECT_EQ(dc.PlayZoomTransition(&picture, 0, 0), 1);  // no press: it plays to the end
    EXPECT_EQ(native.PendingEvents(), 3);
}

namespace {

// A window that says when it is gone.
class Watched : public CZVWindow {
public:
    Watched(CZVWindow* parent, bool* gone) : CZVWindow(parent, CZVRect(20, 20, 100, 80), 0), m_gone(gone) {}
    ~Watched() override { *m_gone = true; }

private:
    bool* m_gone;
};

using DeferredDeletion = vistreltest::ShellTest;

TEST_F(DeferredDeletion, AClosedOverlayDeletesItsWindowInTheNextIdlePass) {
    bool gone = false;
    auto* panel = new Watched(window.get(), &gone);
    window->ShowOverlay(panel, CZVRect(20, 20, 100, 80), 0, 0, 1, 0);
    ASSERT_EQ(window->GetOverlayWindow(), panel);
    window->CloseOverlay();
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_FALSE(gone);  // code running on the panel may still use it
    EXPECT_FALSE(window->GetChildren().Contains(panel));
    window->OnIdle(0);
    EXPECT_TRUE(gone);
}

TEST_F(DeferredDeletion, AnyWindowGoesInTheNextIdlePassAndAnOverlayWindowThatDiesEndsTheOverlay) {
    bool gone = false;
    auto* page = new Watched(window.get(), &gone);
    window->AddChild(page);
    window->DeleteLater(page);
    EXPECT_FALSE(window->GetChildren().Contains(page));
    EXPECT_FALSE(gone);
    window->OnIdle(0);
    EXPECT_TRUE(gone);

    bool panelGone = false;
    auto* panel = new Watched(window.get(), &panelGone);
    window->ShowOverlay(panel, CZVRect(20, 20, 100, 80), 0, 0, 0, 0);
    delete panel;
    EXPECT_TRUE(panelGone);
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_EQ(window->IsInputBlocked(window.get()), 0);
    window->CloseOverlay();  // nothing left to close
}

// A window that takes a press inside it and then the release, wherever it is, as a button does.
class Pressable : public CZVWindow {
public:
    Pressable(CZVWindow* parent, CZVRect rect, std::string name, std::vector<std::string>* log)
        : CZVWindow(parent, rect, 0), m_name(std::move(name)), m_log(log) {}
    int OnLButtonDown(int x, int y, int) override {
        if (!HitTest(x, y)) return 0;
        m_pressed = true;
        m_log->push_back(m_name + ":down");
        return 1;
    }
    int OnLButtonUp(int, int, int) override {
        if (!m_pressed) return 0;
        m_pressed = false;
        m_log->push_back(m_name + ":up");
        return 1;
    }

private:
    std::string m_name;
    std::vector<std::string>* m_log;
    bool m_pressed = false;
};

using OverlayInput = vistreltest::ShellTest;

TEST_F(OverlayInput, AReleaseGoesWhereThePressWent) {
    std::vector<std::string> log;
    auto* button = new Pressable(window.get(), CZVRect(200, 150, 60, 40), "page", &log);
    window->AddChild(button);
    auto* panel = new Pressable(window.get(), CZVRect(20, 20, 100, 80), "overlay", &log);
    window->ShowOverlay(panel, CZVRect(20, 20, 100, 80), 0, 0, 1, 0);
    ASSERT_EQ(window->GetOverlayWindow(), panel);
    const auto touch = [&](int x, int y) {
        platform::WindowEvent event;
        event.x = x;
        event.y = y;
        event.message = platform::kWmLButtonDown;
        window->OnWindowEvent(event);
        event.message = platform::kWmLButtonUp;
        window->OnWindowEvent(event);
    };
    touch(220, 160);  // outside the overlay, on the page
    touch(40, 40);    // on the overlay
    EXPECT_EQ(log, (std::vector<std::string>{"page:down", "page:up", "overlay:down", "overlay:up"}));
    window->CloseOverlay();
}

// The idle pass checks the program's version while connected: the same version ends the
// check, another opens the update page, and a query left unanswered is asked again only
// after a minute.
class ProgramVersionCheck : public MainWndMessages {
protected:
    int VersionQueries() { return static_cast<int>(gateway.RequestsOf(ZVM_SYSCONFIG_CHECKVERSIONQ).size()); }
};

TEST_F(ProgramVersionCheck, SameVersionEndsTheCheckAnotherOpensTheUpdatePage) {
    ASSERT_EQ(window->IsUpdatePending(), 1);
    ASSERT_EQ(CSetServer::Get()->IsThemed(), 1);
    Deliver(ZVM_SYSCONFIG_GETMENUA, PayloadWriter().Int(0).Int(1).Int(0).String("Home"));
    gateway.Answer(ZVM_SYSCONFIG_CHECKVERSIONQ, PayloadWriter().String(ProgramVersionText()));
    window->OnIdle(0);
    EXPECT_EQ(window->IsUpdatePending(), 0);
    EXPECT_EQ(dynamic_cast<CUpdatePage*>(window->GetCurrentPage()), nullptr);
    Frame asked;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SYSCONFIG_CHECKVERSIONQ, &asked));
    testsupport::PayloadReader reader(asked.payload);
    int32_t layout = 0, kind = 0;
    ASSERT_TRUE(reader.Int(&layout) && reader.Int(&kind));
    EXPECT_EQ(layout, window->GetLayoutType());
    EXPECT_EQ(kind, 2);

    window->OnConnect(1);  // a new connection checks again
    gateway.Answer(ZVM_SYSCONFIG_CHECKVERSIONQ, PayloadWriter().String("4.0.1500.0"));
    window->OnIdle(0);
    EXPECT_EQ(window->IsUpdatePending(), 0);
    EXPECT_NE(dynamic_cast<CUpdatePage*>(window->GetCurrentPage()), nullptr);
}

TEST_F(ProgramVersionCheck, AnUnansweredCheckIsAskedAgainAfterAMinute) {
    // A menu in place, so that no retry of the menu's queries takes time of its own.
    Deliver(ZVM_SYSCONFIG_GETMENUA, PayloadWriter().Int(0).Int(1).Int(0).String("Home"));
    ASSERT_EQ(window->IsMenuLoadFailed(), 0);
    window->OnIdle(0);  // the sample engine has no answer for the check
    EXPECT_EQ(VersionQueries(), 1);
    EXPECT_EQ(window->IsUpdatePending(), 1);
    clock.Advance(CMainWnd::kUnansweredRetryInterval - 10000);
    window->OnIdle(0);
    EXPECT_EQ(VersionQueries(), 1);
    clock.Advance(10000);
    window->OnIdle(0);
    EXPECT_EQ(VersionQueries(), 2);
}

}  // namespace
