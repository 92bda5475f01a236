// The idle screen on the virtual clock: when it starts, the display goes
// off and the machine suspends on mains and battery, what input does while
// it lasts, the settings that drive it, the slideshow and the connecting
// screen.
#include "vistrel/shell/idlescreen.h"

#include <gtest/gtest.h>

#include "core/messages/shellmessages.h"
#include "core/zvtime.h"
#include "fake_power.h"
#include "platform/keys.h"
#include "samplegateway/slides.h"
#include "shell_fixture.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "vistrel/shell/tabletsettings.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

using vistreltest::FakePower;

struct PowerSettings {
    int32_t saverAc = 300000, saverBattery = 300000, displayOffAc = 0, displayOffBattery = 300000;
    int32_t transition = 0, buttons = 0, interval = 10000, flags = 1;
};

std::unique_ptr<CZVMSG> SettingsMessage(const PowerSettings& s) {
    auto message = std::make_unique<CZVMSG>(0, ZVM_TABLET_GETPOWERSETTINGSA);
    for (int32_t value : {s.saverAc, s.saverBattery, s.displayOffAc, s.displayOffBattery, s.transition, 0, s.buttons,
                          s.interval, s.flags})
        message->WriteInt(value);
    return message;
}

TEST(TabletSettings, ReadsTheNineValuesAndTheVolumesFromTheFlags) {
    CTabletSettings settings;
    EXPECT_EQ(settings.GetClickVolume(), 50);
    EXPECT_EQ(settings.GetSaverStart(false), 270000u);
    struct Case {
        int32_t flags;
        int click, alert;
    } cases[] = {
        {0x1, 50, 50},     {0x800, 0, 50},  {0x1000 | 0x4000, 25, 50}, {0x2000, 75, 50},
        {0x4000, 100, 50}, {0x8000, 50, 0}, {0x10000 | 0x800, 0, 25},  {0x40000 | 0x20000, 50, 75},
    };
    for (const Case& c : cases) {
        PowerSettings values;
        values.flags = c.flags;
        ASSERT_EQ(settings.Read(SettingsMessage(values).get()), 1);
        EXPECT_EQ(settings.GetClickVolume(), c.click) << std::hex << c.flags;
        EXPECT_EQ(settings.GetAlertVolume(), c.alert) << std::hex << c.flags;
    }
    PowerSettings values{60000, 20000, 1000, 2000, 1, 1, 8000, 0x100};
    ASSERT_EQ(settings.Read(SettingsMessage(values).get()), 1);
    EXPECT_EQ(settings.IsLoaded(), 1);
    EXPECT_EQ(settings.GetSaverTimeout(true), 60000u);
    EXPECT_EQ(settings.GetDisplayOffTimeout(false), 2000u);
    EXPECT_EQ(settings.HasSlideTransition(), 1);
    EXPECT_EQ(settings.HasSlideButtons(), 1);
    EXPECT_EQ(settings.GetSlideInterval(), 8000u);
    // A battery time-out under the 30 s warning never starts the idle screen.
    EXPECT_GT(settings.GetSaverStart(false), 0x80000000u);

    CZVMSG shortAnswer(0, ZVM_TABLET_GETPOWERSETTINGSA);
    shortAnswer.WriteInt(1);
    EXPECT_EQ(settings.Read(&shortAnswer), 0);
    EXPECT_EQ(settings.GetSaverTimeout(true), 60000u);  // unchanged
    EXPECT_EQ(settings.Read(nullptr), 0);
}

class IdleScreen : public vistreltest::ShellTest {
protected:
    IdleScreen() {
        testsupport::ServeSampleInstallation(gateway);
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 320, 240), kWindowFullScreen, &native);
    }
    ~IdleScreen() override { g_nClockOffsetMinutes = 0; }
    CIdleScreen& Idle() { return window->GetIdleScreen(); }
    // Connected, with the answers to the connection's questions taken in.
    void ConnectAndSettle() {
        Connect();
        ASSERT_TRUE(SettleUntil([this] { return window->GetTabletSettings().IsLoaded(); }));
    }
    void Settings(const PowerSettings& values) { window->OnMessage(SettingsMessage(values).get()); }
    // The main loop's idle-screen step once a second for ms.
    void RunFor(uint32_t ms) {
        for (uint32_t done = 0; done < ms; done += 1000) {
            clock.Advance(1000);
            window->IdleScreenStep();
        }
    }
    void Touch(int x, int y) {
        platform::WindowEvent event;
        event.message = platform::kWmLButtonDown;
        event.x = x;
        event.y = y;
        window->OnWindowEvent(event);
        event.message = platform::kWmLButtonUp;
        window->OnWindowEvent(event);
    }
    void Key(int message, int key) {
        platform::WindowEvent event;
        event.message = message;
        event.code = key;
        window->OnWindowEvent(event);
    }
    int Sent(uint16_t id) { return static_cast<int>(gateway.RequestsOf(id).size()); }

    FakePower power;
};

TEST_F(IdleScreen, StatesOverTimeOnMainsAndBattery) {
    struct Step {
        uint32_t after;  // ms from the last touch
        int state;
    };
    struct Case {
        const char* name;
        PowerSettings settings;
        bool onAc;
        std::vector<Step> steps;
    } cases[] = {
        {"saver off on mains: only the display goes off",
         {0, 300000, 180000, 300000},
         true,
         {{170000, kIdleActive}, {181000, kIdleDisplayOff}}},
        {"mains: idle screen, then the display goes off",
         {60000, 300000, 180000, 300000},
         true,
         {{59000, kIdleActive}, {61000, kIdleScreen}, {181000, kIdleDisplayOff}}},
        {"battery: the countdown starts 30 s early",
         {60000, 60000, 0, 0},
         false,
         {{29000, kIdleActive}, {31000, kIdleScreen}}},
        {"battery under 30 s: never", {60000, 20000, 0, 0}, false, {{120000, kIdleActive}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        power.onAc = c.onAc;
        Settings(c.settings);
        clock.Advance(3000);  // the mains reading is fresh
        Idle().Exit();
        uint32_t elapsed = 0;
        for (const Step& step : c.steps) {
            RunFor(step.after - elapsed);
            elapsed = step.after;
            EXPECT_EQ(window->GetIdleState(), step.state) << step.after;
        }
    }
}

TEST_F(IdleScreen, WindowedTabletNeverStartsItByItself) {
    window.reset();
    window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 320, 240), 0, &native);
    Settings({1000, 40000, 1000, 1000});
    RunFor(100000);
    EXPECT_EQ(window->GetIdleState(), kIdleActive);
}

TEST_F(IdleScreen, BatteryBarGrowsThenTheMachineSuspendsOnce) {
    power.onAc = false;
    Settings({60000, 60000, 0, 0});
    clock.Advance(3000);
    Idle().Exit();
    RunFor(32000);
    ASSERT_EQ(window->GetIdleState(), kIdleScreen);
    EXPECT_LE(Idle().GetBatteryLevelShown(), 7);
    RunFor(13000);
    EXPECT_NEAR(Idle().GetBatteryLevelShown(), 50, 4);
    RunFor(14000);
    EXPECT_GT(Idle().GetBatteryLevelShown(), 90);
    EXPECT_EQ(power.suspends, 0);
    RunFor(2000);
    EXPECT_EQ(power.suspends, 1);
    EXPECT_EQ(window->GetIdleState(), kIdleActive);  // back after the resume
}

TEST_F(IdleScreen, MainsToBatteryWhileIdleEndsIt) {
    Settings({60000, 300000, 0, 0});
    clock.Advance(3000);
    Idle().Exit();
    RunFor(61000);
    ASSERT_EQ(window->GetIdleState(), kIdleScreen);
    power.onAc = false;
    RunFor(3000);
    EXPECT_EQ(window->GetIdleState(), kIdleActive);
}

TEST_F(IdleScreen, RepaintsSoonAfterTheStartAreIgnored) {
    platform::WindowEvent paint;
    paint.message = platform::kWmPaint;
    struct Case {
        bool displayOff;
        uint32_t after;
        int state;
    } cases[] = {{false, 9000, kIdleScreen},
                 {false, 11000, kIdleActive},
                 {true, 4000, kIdleDisplayOff},
                 {true, 6000, kIdleActive}};
    for (const Case& c : cases) {
        if (c.displayOff) {
            Settings({0, 300000, 1000, 300000});
            RunFor(1000);  // off at this step
            Settings({0, 300000, 0, 300000});
        } else {
            Idle().ShowIdleScreen();
        }
        const int expectedBefore = c.displayOff ? kIdleDisplayOff : kIdleScreen;
        ASSERT_EQ(window->GetIdleState(), expectedBefore);
        clock.Advance(c.after);
        window->OnWindowEvent(paint);
        EXPECT_EQ(window->GetIdleState(), c.state) << c.after;
        Idle().Exit();
    }
}

TEST_F(IdleScreen, ReturnOnTheHomePageStartsItAndTheKeepAwakeKeyGoesNowhere) {
    Connect();
    window->StartPages();
    ASSERT_TRUE(window->IsHomePageShown());
    struct Recorder : CZVWindow {
        Recorder() : CZVWindow(nullptr, CZVRect(0, 0, 1, 1), 0) {}
        void OnKeyUp(int key, int) override { keys.push_back(key); }
        std::vector<int> keys;
    } recorder;
    window->SetFocusWindow(&recorder);
    Key(platform::kWmKeyUp, 0xFC);
    EXPECT_TRUE(recorder.keys.empty());
    Key(platform::kWmKeyUp, 'A');
    EXPECT_EQ(recorder.keys, std::vector<int>{'A'});
    Key(platform::kWmKeyUp, platform::VK_RETURN);
    EXPECT_EQ(window->GetIdleState(), kIdleScreen);
    EXPECT_EQ(recorder.keys.size(), 1u);
    window->SetFocusWindow(nullptr);
}

TEST_F(IdleScreen, PauseButtonKeepsItATouchElsewhereEndsItWithAWake) {
    ConnectAndSettle();
    // The caption shows the gateway's clock.
    ASSERT_TRUE(PollUntil([] { return g_nClockOffsetMinutes != 0; }));
    Settings({60000, 300000, 0, 0, 0, 1, 8000, 1});
    Idle().ShowIdleScreen();
    const testsupport::Bytes jpeg = samplegateway::SlidePicture(0, 200, 120);
    CZVMSG picture(0, ZVM_PICTURES_PICTURE);
    picture.WriteInt(200);
    picture.WriteInt(120);
    picture.WriteBytes(jpeg.data(), static_cast<int32_t>(jpeg.size()));
    window->OnMessage(&picture);
    ASSERT_TRUE(Idle().Slides().HasButtons());
    EXPECT_TRUE(testsupport::MatchesGolden({320, 240, native.GetFrame()}, "vistrel_idle_slide"));

    // Pause is the last of the three buttons right of the date.
    Touch(318, 221);  // right of Next's touch margin
    EXPECT_TRUE(Idle().Slides().IsPaused());
    EXPECT_EQ(window->GetIdleState(), kIdleScreen);
    Touch(160, 50);
    EXPECT_EQ(window->GetIdleState(), kIdleActive);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_SCREENWAKE));
}

TEST_F(IdleScreen, PicturesTooLargeOrCutShortShowNothingAndATouchStopsTheDecoding) {
    Connect();
    Idle().ShowIdleScreen();
    const std::vector<uint16_t> logo = native.GetFrame();
    const testsupport::Bytes jpeg = samplegateway::SlidePicture(1, 200, 120);
    struct Case {
        int32_t width, height;
        size_t bytes;
    } cases[] = {{321, 120, jpeg.size()}, {200, 241, jpeg.size()}, {200, 120, 100}, {-5, 120, jpeg.size()}};
    for (const Case& c : cases) {
        CZVMSG picture(0, ZVM_PICTURES_PICTURE);
        picture.WriteInt(c.width);
        picture.WriteInt(c.height);
        picture.WriteBytes(jpeg.data(), static_cast<int32_t>(c.bytes));
        window->OnMessage(&picture);
        EXPECT_FALSE(Idle().Slides().HasButtons()) << c.width << "x" << c.height;
        EXPECT_EQ(native.GetFrame(), logo);
    }
    native.QueueMouse(platform::kWmLButtonDown, 10, 10, 1);
    CZVMSG picture(0, ZVM_PICTURES_PICTURE);
    picture.WriteInt(200);
    picture.WriteInt(120);
    picture.WriteBytes(jpeg.data(), static_cast<int32_t>(jpeg.size()));
    window->OnMessage(&picture);
    EXPECT_EQ(native.PendingEvents(), 0);
    window->IdleScreenStep();
    EXPECT_EQ(window->GetIdleState(), kIdleActive);
}

TEST_F(IdleScreen, NoSlideWithinAMinuteDropsTheConnection) {
    Connect();
    Settings({60000, 300000, 0, 0, 0, 0, 8000, 1});
    Idle().ShowIdleScreen();
    ASSERT_TRUE(Idle().Slides().Request(+1));
    RunFor(59000);
    EXPECT_TRUE(server.IsConnected());
    RunFor(2000);
    EXPECT_FALSE(server.IsConnected());
}

TEST_F(IdleScreen, IdleScreenAndConnectingScreenLook) {
    ConnectAndSettle();
    Idle().ShowIdleScreen();
    // The logo is drawn when its picture arrives, whether before the idle screen shows or after.
    ASSERT_TRUE(PollUntil([this] {
        window->IdleScreenStep();
        return Idle().IsLogoShown();
    }));
    EXPECT_TRUE(testsupport::MatchesGolden({320, 240, native.GetFrame()}, "vistrel_idle_logo"));
    Idle().Exit();
    server.GetSocket()->Disconnect();
    window->OnConnect(0);
    ASSERT_TRUE(window->HasConnectingScreen());
    EXPECT_TRUE(testsupport::MatchesGolden({320, 240, native.GetFrame()}, "vistrel_connecting"));
    // Touches and keys do nothing while it is up.
    Touch(10, 10);
    Key(platform::kWmKeyDown, 'A');
    EXPECT_TRUE(window->HasConnectingScreen());
    window->OnConnect(1);
    EXPECT_FALSE(window->HasConnectingScreen());
}

}  // namespace

namespace {

// The whole tablet, full screen on a tablet's 800 x 600 screen, against the
// sample house with the themed style.
class IdleScreenRun : public ::testing::Test {
protected:
    IdleScreenRun() {
        testsupport::SampleInstallation sample;
        sample.style = samplegateway::Style::kThemed;
        testsupport::ServeSampleInstallation(gateway, sample);
        clock.HoldWhile([this] { return gateway.Owes(); });
    }
    ~IdleScreenRun() override {
        clock.HoldWhile({});
        g_nClockOffsetMinutes = 0;
    }
    std::vector<std::string> Arguments() { return {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())}; }
    // Rows of the frame shown; the date, the slideshow's buttons and the home page's clock follow
    // the clock, and are left out.
    static testsupport::Image565 Band(const platform::HeadlessWindow& native, int top, int rows) {
        const auto first = native.GetFrame().begin() + native.GetWidth() * top;
        return {native.GetWidth(), rows, std::vector<uint16_t>(first, first + native.GetWidth() * rows)};
    }

    vistreltest::ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    FakePower power;
};

TEST_F(IdleScreenRun, AMinuteWithoutATouchShowsASlideAndALostGatewayTheConnectingScreen) {
    enum Step { kWaitForSettings, kWaitForSlide, kWake, kDrop, kWaitForConnecting, kDone } step = kWaitForSettings;
    testsupport::Image565 slide, connecting;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer&, int pass) {
        switch (step) {
        case kWaitForSettings:
            if (window.GetTabletSettings().GetSaverTimeout(true) == 60000) step = kWaitForSlide;
            break;
        case kWaitForSlide:
            clock.Advance(1000);
            if (window.GetIdleState() == kIdleScreen && window.GetIdleScreen().Slides().HasButtons()) {
                slide = Band(*host.native, 0, host.native->GetHeight() - 40);
                step = kWake;
            }
            break;
        case kWake:
            host.native->QueueMouse(platform::kWmLButtonDown, 400, 100, 1);
            host.native->QueueMouse(platform::kWmLButtonUp, 400, 100, 0);
            step = kDrop;
            break;
        case kDrop:
            if (window.GetIdleState() != kIdleActive) break;
            gateway.Drop();
            step = kWaitForConnecting;
            break;
        case kWaitForConnecting:
            if (!window.HasConnectingScreen()) break;
            connecting = Band(*host.native, 260, 100);  // the text over the dimmed buttons
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 600;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(host.openedWith.fullScreen);
    EXPECT_TRUE(testsupport::MatchesGolden(slide, "vistrel_run_slide"));
    EXPECT_TRUE(testsupport::MatchesGolden(connecting, "vistrel_run_connecting"));
}

}  // namespace
