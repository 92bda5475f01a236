#pragma once
// The tablet's shell under test: its own settings folder, the pinned font,
// a fake gateway, and either a main window over a headless native window
// (ShellTest) or the whole start-up (TabletRun) on the virtual clock.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/zvtime.h"
#include "fake_gateway.h"
#include "gfx/icon.h"
#include "platform/font.h"
#include "platform/program.h"
#include "samplegateway/poolequipment.h"
#include "support/gateway_session.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "support/temp_dir.h"
#include "support/test_font.h"
#include "support/virtual_clock.h"
#include "support/widget_harness.h"
#include "vistrel/shell/mainmenu.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/window/toolkit.h"

namespace vistreltest {

// Settings, data and font of a test, so that nothing of the user's counts.
class ShellEnvironment {
public:
    ShellEnvironment() {
        platform::SetProgramName("vistrel");
        platform::PinFontFile(testsupport::kTestFontFile);
    }
    ~ShellEnvironment() {
        platform::PinFontFile("");
        platform::SetProgramName(m_previousName);
    }
    const std::string& Folder() const { return m_dir.Path(); }

private:
    std::string m_previousName = platform::GetProgramName();
    testsupport::TempDir m_dir;
    testsupport::ScopedEnv m_config{"ZAVORO_CONFIG_DIR", m_dir.Path().c_str()};
    testsupport::ScopedEnv m_data{"ZAVORO_DATA_DIR", m_dir.Path().c_str()};
};

// Every answer asked for is in and handled: no request on its way, none owed, none waiting
// on the socket, no picture or icon on its way.
inline bool NothingOnItsWay(testsupport::FakeGateway& gateway, CZVServer& server) {
    return !CIconCache::Instance()->IsLoading() && !testsupport::RequestsOnTheirWay(server) && !gateway.Owes() &&
           !testsupport::AnswersWaiting(server);
}
// The same for a whole run, once the gateway's clock has also set the time the tablet shows
// (so a picture never depends on which answer came first).
inline bool AnswersIn(testsupport::FakeGateway& gateway, CZVServer& server) {
    return g_nClockOffsetMinutes != 0 && NothingOnItsWay(gateway, server);
}

// Tells, pass after pass of a whole run, when the run has settled: the home page shown and every
// answer in for two passes in a row, so that what an idle pass builds has asked and been answered
// before a picture is taken.
class SettledRun {
public:
    bool Check(CMainWnd& window, testsupport::FakeGateway& gateway, CZVServer& server) {
        m_quietPasses = window.IsHomePageShown() && AnswersIn(gateway, server) ? m_quietPasses + 1 : 0;
        return m_quietPasses >= 2;
    }

private:
    int m_quietPasses = 0;
};

// A main window over a headless window, its toolkit and a connection
// manager that a test connects to the fake gateway.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() { testsupport::HoldClockWhileGatewayAnswers(clock, gateway, server); }
    ~ShellTest() override {
        window.reset();
        clock.HoldWhile({});
        testsupport::ForgetProgramWideValues();
    }

    void Connect() { ASSERT_TRUE(testsupport::ConnectToGateway(server, gateway, clock)); }
    template <class Condition>
    bool PollUntil(Condition condition) {
        return testsupport::PollAllUntil(server, condition);
    }
    // Polls until the condition holds and everything asked for meanwhile (answers, pictures,
    // icons) has come and been handled, so a picture never depends on which answer came first.
    // The window's idle pass runs between polls, as the main loop runs it, so that what it does
    // with the answers (a style taken, a menu rebuilt, a request sent) is done too: settled once
    // a poll and an idle pass found nothing to do and nothing is on its way.
    template <class Condition>
    bool SettleUntil(Condition condition) {
        bool worked = true;
        return testsupport::WaitUntil([&] { return !worked && condition() && NothingOnItsWay(gateway, server); },
                                      [&] {
                                          const bool polled = server.PollAll() == CZVServer::kPollWork;
                                          const bool idled = window && window->OnIdle(0) != 0;
                                          worked = polled || idled;
                                          return worked;
                                      });
    }
    // The window as the screen shows it, alone.
    testsupport::Image565 PictureOf(CZVWindow* w) {
        window->PaintAll();
        const testsupport::Image565 screen = testsupport::ImageOf(*window->GetScreen());
        const int left = w->ToRootX(0), top = w->ToRootY(0);
        testsupport::Image565 shown{w->GetWidth(), w->GetHeight(), {}};
        for (int y = 0; y < shown.height; ++y)
            for (int x = 0; x < shown.width; ++x)
                shown.pixels.push_back(screen.pixels[static_cast<size_t>((top + y) * screen.width + left + x)]);
        return shown;
    }
    bool Settle() {
        return SettleUntil([] { return true; });
    }

    ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    CZVServer server{ZVVariant::Tablet};
    CToolkit toolkit{server};
    platform::HeadlessWindow native{320, 240};
    std::unique_ptr<CMainWnd> window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 320, 240), 0, &native);
};

// The host of a whole run of the start-up: a headless window, and a
// callback asked on every pass of the main loop with the window and the
// pass count; it answers true to end the run.
class TestHost : public CTabletHost {
public:
    using Step = std::function<bool(CMainWnd& window, CZVServer& server, int pass)>;

    TestHost(const std::string& folder, int screenWidth, int screenHeight, Step step)
        : m_folder(folder), m_width(screenWidth), m_height(screenHeight), m_step(std::move(step)) {}

    int GetScreenWidth() override { return m_width; }
    int GetScreenHeight() override { return m_height; }
    std::unique_ptr<platform::TabletWindow> OpenWindow(const platform::WindowOptions& options) override {
        openedWith = options;
        auto window = std::make_unique<platform::HeadlessWindow>(options.width, options.height);
        native = window.get();
        return window;
    }
    std::string GetCommandFilePath() override { return m_folder + "/vistrel.cmd"; }
    std::string GetLockDirectory() override { return m_folder; }
    // Never the test program itself: an update replaces a file of the test's folder.
    std::string GetProgramFilePath() override { return m_folder + "/vistrel"; }
    void OnMainWindow(CMainWnd& window, CZVServer& server) override {
        m_window = &window;
        m_server = &server;
    }
    bool ShouldStop() override { return m_window && m_step(*m_window, *m_server, ++passes); }

    platform::HeadlessWindow* native = nullptr;  // valid during the run
    platform::WindowOptions openedWith;
    int passes = 0;

private:
    std::string m_folder;
    int m_width;
    int m_height;
    Step m_step;
    CMainWnd* m_window = nullptr;
    CZVServer* m_server = nullptr;
};

// A touch in the middle of the button, a second after the one before (never a double touch).
inline void TouchMiddle(testsupport::VirtualClock& clock, CZVButton* button) {
    clock.Advance(1000);
    const int x = button->ToRootX(button->GetWidth() / 2);
    const int y = button->ToRootY(button->GetHeight() / 2);
    button->OnLButtonDown(x, y, 0);
    button->OnLButtonUp(x, y, 0);
}

// A whole run of the tablet against the sample house on the virtual clock: the gateway, the
// settings folder, and what the steps of a run use to find and touch what a user would.
class SampleHouseRun : public ::testing::Test {
protected:
    // The installation's values over the house's; as the sample gateway program runs it, with its
    // pool equipment unless they say otherwise.
    explicit SampleHouseRun(testsupport::SampleInstallation sample = {}) {
        if (!sample.equipment) sample.equipment = samplegateway::kSampleEquipment;
        m_pacer = testsupport::ServeSampleInstallation(gateway, sample);
        clock.HoldWhile([this] { return gateway.Owes(); });
    }
    ~SampleHouseRun() override {
        clock.HoldWhile({});
        testsupport::ForgetProgramWideValues();
    }

    std::vector<std::string> Arguments() const { return {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())}; }
    void Touch(CZVButton* button) { TouchMiddle(clock, button); }
    // The tab of a tab row or column whose caption reads `caption`, or null.
    template <class Tabs>
    static CZVButton* TabNamed(Tabs* tabs, const std::string& caption) {
        for (int i = 0; tabs && i < tabs->GetTabCount(); ++i) {
            auto* tab = static_cast<CZVButton*>(tabs->GetTab(i));
            if (std::string(tab->GetText().GetAnsi()) == caption) return tab;
        }
        return nullptr;
    }
    // The main menu's entry whose caption reads `caption`, or null.
    static CZVButton* MenuEntry(CMainWnd& window, const std::string& caption) {
        return TabNamed(window.GetMenu(), caption);
    }
    // Every answer is in, the gateway's clock among them unless the tablet's was set to it, and
    // the main menu's entry `caption` shows with no fade of a touch on it left: what a picture
    // shows of the menu never depends on how fast the answers came.
    bool AnsweredAndStill(CMainWnd& window, CZVServer& server, const std::string& caption) {
        const bool answered = m_clockSetToTheGateways ? NothingOnItsWay(gateway, server) : AnswersIn(gateway, server);
        const CZVButton* entry = MenuEntry(window, caption);
        return answered && entry && entry->GetHighlightCountdown() < 0;
    }
    // The first step into a page, one call a pass: touches the main menu's entry `caption` once
    // AnsweredAndStill; true on the pass that touched it.
    bool TouchEntryWhenAnswered(CMainWnd& window, CZVServer& server, const std::string& caption) {
        if (!AnsweredAndStill(window, server, caption)) return false;
        Touch(MenuEntry(window, caption));
        return true;
    }
    // How far StepToTab got.
    enum class TabStep { kOnItsWay, kTouched, kNoTab };
    // The steps from the main menu to a tab of the entry's page, one call a pass: the entry
    // `entry` is touched once it shows; then, as soon as the caller gives the page's `tabs` (once
    // the page is shown and ready), the tab whose caption reads `caption`. kTouched once the tab
    // was touched, kNoTab when the page has no such tab.
    template <class Tabs>
    TabStep StepToTab(CMainWnd& window, const std::string& entry, Tabs* tabs, const std::string& caption) {
        if (tabs && m_entryTouched) {
            CZVButton* tab = TabNamed(tabs, caption);
            if (!tab) return TabStep::kNoTab;
            Touch(tab);
            return TabStep::kTouched;
        }
        if (CZVButton* button = m_entryTouched ? nullptr : MenuEntry(window, entry)) {
            Touch(button);
            m_entryTouched = true;
        }
        return TabStep::kOnItsWay;
    }
    // How many requests of the message the gateway has received.
    size_t RequestsOf(uint16_t id) const { return gateway.RequestsOf(id).size(); }
    bool GatewaySaw(uint16_t id) const { return RequestsOf(id) > 0; }
    // The whole window as it shows once every touch's fade has ended: how many idle passes a fade
    // has had by now depends on how fast the answers came, the settled look does not.
    static testsupport::Image565 Picture(CMainWnd& window, const TestHost& host) {
        EndFades(window);
        window.PaintAll();
        return {host.native->GetWidth(), host.native->GetHeight(), host.native->GetFrame()};
    }

    static void EndFades(CZVWindow& window) {
        window.StopHighlight();
        ForEachChild(window.GetChildren(), [](CZVWindow* child) { EndFades(*child); });
    }

    // Sets the tablet's clock to the sample gateway's time, so that the two agree and what depends
    // on the date (a month, a day of the history) is the same on every run.
    void SetClockToTheGateways() {
        clock.SetLocalTime({.year = 2011, .month = 6, .day = 15, .hour = 14, .minute = 35, .second = 20});
        m_clockSetToTheGateways = true;
    }
    // Runs what the gateway sends as time passes (streams, late answers) up to the clock's time.
    void RunPacer() { m_pacer->Run(clock.TickCount()); }

    ShellEnvironment environment;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;

private:
    bool m_entryTouched = false;
    // With the clocks alike, taking the gateway's leaves the tablet's offset at 0: no answer to wait for.
    bool m_clockSetToTheGateways = false;
    std::shared_ptr<samplegateway::Pacer> m_pacer;
};

}  // namespace vistreltest
