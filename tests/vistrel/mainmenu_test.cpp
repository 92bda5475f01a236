// The main menu against the sample gateway: the entries of its answer, the
// answers it refuses, the pages its entries open, the icon and text pushes
// and the long press that shuts the program down.
#include "vistrel/shell/mainmenu.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/messages/shellmessages.h"
#include "gfx/dibdc.h"
#include "shell_fixture.h"
#include "support/golden.h"
#include "support/sample_installation.h"
#include "vistrel/shell/pbase.h"
#include "widgets/style/setserver.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

std::unique_ptr<CZVMSG> MenuMessage(const PayloadWriter& payload) {
    auto message = std::make_unique<CZVMSG>(0, ZVM_SYSCONFIG_GETMENUA);
    for (uint8_t byte : testsupport::Bytes(payload)) message->WriteByte(byte);
    return message;
}

std::string TextOf(CZVWindow* window) { return window->GetText().GetAnsi(); }

TEST(MenuAnswer, ReadsWholeAnswersAndRefusesTheRest) {
    struct Case {
        const char* what;
        PayloadWriter payload;
        CMenuAnswer::Result result;
    } cases[] = {
        {"two entries", PayloadWriter().Int(0).Int(2).Int(0).String("Home").Int(14).String("Exit"), CMenuAnswer::kRead},
        {"no entries", PayloadWriter().Int(0).Int(0), CMenuAnswer::kEmpty},
        {"negative count", PayloadWriter().Int(0).Int(-5), CMenuAnswer::kEmpty},
        {"no count", PayloadWriter().Int(0), CMenuAnswer::kEmpty},
        {"101 entries", PayloadWriter().Int(0).Int(101), CMenuAnswer::kTooMany},
        {"huge count, nothing behind it", PayloadWriter().Int(0).Int(0x7FFFFFFF), CMenuAnswer::kTooMany},
        {"count beyond the entries", PayloadWriter().Int(0).Int(3).Int(0).String("Home"), CMenuAnswer::kBroken},
        {"caption cut short", PayloadWriter().Int(0).Int(1).Int(0).Int(40), CMenuAnswer::kBroken},
        {"type 15", PayloadWriter().Int(0).Int(1).Int(15).String("x"), CMenuAnswer::kBroken},
        {"negative type", PayloadWriter().Int(0).Int(1).Int(-1).String("x"), CMenuAnswer::kBroken},
    };
    for (Case& c : cases) {
        auto message = MenuMessage(c.payload);
        CMenuAnswer answer;
        EXPECT_EQ(answer.Read(message.get()), c.result) << c.what;
        if (c.result != CMenuAnswer::kRead) {
            EXPECT_TRUE(answer.types.empty()) << c.what;
        }
    }
    CMenuAnswer none;
    EXPECT_EQ(none.Read(nullptr), CMenuAnswer::kEmpty);
}

class MainMenuTest : public vistreltest::ShellTest {
protected:
    void ServeMenu(std::vector<std::pair<int32_t, std::string>> entries) {
        testsupport::SampleInstallation sample;
        sample.menu = std::move(entries);
        testsupport::ServeSampleInstallation(gateway, sample);
    }
    // A main window made anew with these window flags, connected.
    void Reopen(int windowFlags) {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 320, 240), windowFlags, &native);
    }
    // Connects and waits for the menu the main window asks for on connect.
    void ConnectWithMenu(int entries) {
        Connect();
        ASSERT_TRUE(PollUntil([&] { return Menu()->GetTabCount() == entries; }));
    }
    CMainMenu* Menu() { return window->GetMenu(); }
    std::vector<int> Commands() {
        std::vector<int> ids;
        for (int i = 0; i < Menu()->GetTabCount(); ++i)
            ids.push_back(static_cast<CTabButton*>(Menu()->GetTab(i))->GetCommandId());
        return ids;
    }
    void Touch(CZVWindow* target) {
        const int x = target->ToRootX(target->GetWidth() / 2), y = target->ToRootY(target->GetHeight() / 2);
        clock.Advance(1000);  // not a double touch
        window->OnLButtonDown(x, y, 1);
        window->OnLButtonUp(x, y, 0);
    }
    // The page-shown reports the gateway received, as {page, tab} pairs.
    std::vector<std::pair<int32_t, int32_t>> PagesShown() {
        std::vector<std::pair<int32_t, int32_t>> shown;
        for (const Frame& frame : gateway.RequestsOf(ZVM_UI_PAGESELECTED)) {
            testsupport::PayloadReader reader(frame.payload);
            int32_t page = 0, tab = 0;
            if (reader.Int(&page) && reader.Int(&tab)) shown.emplace_back(page, tab);
        }
        return shown;
    }
    static int Style(int styleClass, int index) { return CSetServer::Get()->GetStyle(styleClass, index); }
};

TEST_F(MainMenuTest, WithoutAnAnswerTheMenuLeadsHomeAndCountsAsFailed) {
    ASSERT_NE(Menu(), nullptr);
    EXPECT_EQ(Commands(), std::vector<int>{5000});
    EXPECT_EQ(TextOf(Menu()->GetTab(0)), "Zavoro");
    EXPECT_EQ(window->IsMenuLoadFailed(), 1);
    EXPECT_EQ(window->GetPageArea().x, Style(2, 0));
}

TEST_F(MainMenuTest, AMenuTheGatewayLeavesUnansweredIsAskedAgainAfterAMinute) {
    Connect();
    const auto asked = [&] { return gateway.RequestsOf(ZVM_SYSCONFIG_GETMENUQ).size(); };
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_SYSCONFIG_GETMENUQ));  // on connect, not answered
    clock.Advance(CMainWnd::kStyleRetryInterval + 1);
    window->OnIdle(0);  // the retry of a failed menu, left unanswered too
    EXPECT_EQ(asked(), 2u);
    clock.Advance(CMainWnd::kStyleRetryInterval + 1);
    window->OnIdle(0);
    EXPECT_EQ(asked(), 2u);
    clock.Advance(CMainWnd::kUnansweredRetryInterval);
    window->OnIdle(0);
    EXPECT_EQ(asked(), 3u);
    EXPECT_EQ(window->IsMenuLoadFailed(), 1);
}

TEST_F(MainMenuTest, ConnectBuildsTheSampleGatewaysMenu) {
    testsupport::ServeSampleInstallation(gateway);
    ConnectWithMenu(14);
    EXPECT_EQ(Commands(),
              (std::vector<int>{5000, 5010, 5005, 5001, 5002, 5003, 5004, 5008, 5006, 5007, 5011, 5009, 5013, 5012}));
    EXPECT_EQ(TextOf(Menu()->GetTab(1)), "Pool & Spa");
    EXPECT_EQ(window->IsMenuLoadFailed(), 0);
    // The web entry comes last: the entries fill the column.
    EXPECT_EQ(Menu()->FillsColumn(), 1);
    CZVWindow* last = Menu()->GetTab(13);
    EXPECT_EQ(last->GetY() + last->GetHeight(), 240);
    // The first paint subscribes the menu to its entries' icons.
    window->PaintAll();
    EXPECT_EQ(Menu()->IsSubscriptionPending(), 0);
    EXPECT_TRUE(PollUntil([&] {
        const std::vector<Frame> requests = gateway.RequestsOf(ZVM_UI_SUBSCRIBEMENUSTATUS);
        return std::any_of(requests.begin(), requests.end(),
                           [&](const Frame& f) { return f.sender == Menu()->GetId(); });
    }));
}

TEST_F(MainMenuTest, EntriesShareTheHeightAndTheFirstTakesTheRemainder) {
    Reopen(kWindowExitEntry);
    ServeMenu({{0, "Home"}, {10, "Pool"}, {5, "Lights"}});
    ConnectWithMenu(4);
    EXPECT_EQ(Commands(), (std::vector<int>{5000, 5010, 5005, 5014}));
    EXPECT_EQ(TextOf(Menu()->GetTab(3)), "Exit");
    // The gateway's last entry, lighting, leaves a tail below the exit entry.
    EXPECT_EQ(Menu()->FillsColumn(), 0);
    const int available = 240 + Style(3, 5) - Style(3, 1);
    const int height = available / 4;
    EXPECT_EQ(Menu()->GetTab(0)->GetHeight(), available - 3 * height);
    EXPECT_EQ(Menu()->GetTab(1)->GetHeight(), height);
    EXPECT_EQ(Menu()->GetTab(3)->GetY() + Menu()->GetTab(3)->GetHeight(), available);

    ServeMenu({{0, "Home"}, {10, "Pool"}, {5, "Lights"}, {2, "Climate"}, {6, "Audio"}, {8, "Garden"}, {12, "Web"}});
    Reopen(0);  // connected: the new window asks at once
    EXPECT_EQ(window->IsMenuLoadFailed(), 0);
    EXPECT_EQ(Menu()->FillsColumn(), 1);  // the web entry last fills the column
    const int each = 240 / 7;
    EXPECT_EQ(Menu()->GetTab(0)->GetHeight(), 240 - 6 * each);
    EXPECT_EQ(Menu()->GetTab(6)->GetY() + Menu()->GetTab(6)->GetHeight(), 240);
}

TEST_F(MainMenuTest, RefusedAnswersGiveTheDefaultMenuAndTooManyEntriesAnEmptyColumn) {
    Connect();
    auto empty = MenuMessage(PayloadWriter().Int(0).Int(0));
    EXPECT_FALSE(window->LoadMainMenu(empty.get()));
    EXPECT_EQ(Commands(), std::vector<int>{5000});
    auto tooMany = MenuMessage(PayloadWriter().Int(0).Int(101));
    EXPECT_TRUE(window->LoadMainMenu(tooMany.get()));
    EXPECT_TRUE(Commands().empty());
    auto outside = MenuMessage(PayloadWriter().Int(0).Int(2).Int(0).String("Home").Int(-3).String("Odd"));
    EXPECT_FALSE(window->LoadMainMenu(outside.get()));
    EXPECT_EQ(Commands(), std::vector<int>{5000});
}

TEST_F(MainMenuTest, CheckMenuComparesTheShownEntriesWithTheGateway) {
    testsupport::ServeSampleInstallation(gateway);
    ConnectWithMenu(14);
    EXPECT_TRUE(Menu()->CheckMenu());
    ServeMenu({{0, "Home"}, {10, "Pool"}});
    EXPECT_FALSE(Menu()->CheckMenu());
}

TEST_F(MainMenuTest, TouchedEntriesOpenTheirPagesAndTheCacheKeepsThem) {
    testsupport::ServeSampleInstallation(gateway);
    ConnectWithMenu(14);
    window->StartPages();
    auto* home = dynamic_cast<CPageBase*>(window->GetCurrentPage());
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->GetPageId(), 5000);

    Touch(Menu()->FindEntry(5005));
    auto* lighting = dynamic_cast<CPageBase*>(window->GetCurrentPage());
    ASSERT_NE(lighting, nullptr);
    EXPECT_EQ(lighting->GetPageId(), 5005);
    EXPECT_EQ(window->GetCurrentCommand(), 5005);
    EXPECT_EQ(Menu()->GetSelectedTab(), Menu()->FindEntry(5005));
    EXPECT_EQ(lighting->GetX(), Menu()->GetWidth());
    EXPECT_FALSE(home->IsShown());

    Touch(Menu()->FindEntry(5010));  // the pool page is not cached
    EXPECT_EQ(window->GetCurrentCommand(), 5010);
    Touch(Menu()->FindEntry(5005));
    EXPECT_EQ(window->GetCurrentPage(), lighting);  // the same page, from the cache

    // The home page reports itself once as it is built and again as it is shown.
    ASSERT_TRUE(PollUntil([this] { return PagesShown().size() >= 5; }));
    EXPECT_EQ(PagesShown(), (std::vector<std::pair<int32_t, int32_t>>{{0, -1}, {0, -1}, {5, -1}, {10, -1}, {5, -1}}));
}

TEST_F(MainMenuTest, GatewayPushesChangeIconsAndTextsOfExistingEntries) {
    testsupport::ServeSampleInstallation(gateway);
    ConnectWithMenu(14);
    // The exit entry's type: this window has no exit entry.
    ASSERT_TRUE(gateway.Push(ZVM_UI_MENUTEXTCHANGED, PayloadWriter().Int(14).String("3 new")));
    ASSERT_TRUE(gateway.Push(ZVM_UI_MENUICONCHANGED, PayloadWriter().Int(99).String("MAIN\\POOL")));
    ASSERT_TRUE(gateway.Push(ZVM_UI_MENUTEXTCHANGED, PayloadWriter().Int(10).String("Heating")));
    ASSERT_TRUE(PollUntil([this] { return Menu()->GetEntryText(10) == "Heating"; }));
    EXPECT_EQ(Menu()->GetEntryText(14), "");
    EXPECT_EQ(Menu()->GetEntryText(99), "");
}

TEST_F(MainMenuTest, HoldingTheFirstEntryFiveSecondsShutsDown) {
    CTabButton* first = Menu()->FindEntry(5000);
    const int x = first->ToRootX(5), y = first->ToRootY(5);
    clock.Advance(1000);
    window->OnLButtonDown(x, y, 1);
    for (int i = 0; i < 49; ++i) {
        clock.Advance(100);
        window->OnIdle(0);
    }
    EXPECT_EQ(Menu()->GetPressState(), 2);
    EXPECT_EQ(window->IsExitRequested(), 0);  // 4.9 s
    for (int i = 0; i < 11; ++i) {
        clock.Advance(100);
        window->OnIdle(0);
    }
    EXPECT_EQ(window->IsExitRequested(), 1);
}

TEST_F(MainMenuTest, ReleasingEarlyKeepsTheProgramRunning) {
    CTabButton* first = Menu()->FindEntry(5000);
    const int x = first->ToRootX(5), y = first->ToRootY(5);
    clock.Advance(1000);
    window->OnLButtonDown(x, y, 1);
    clock.Advance(3000);
    window->OnIdle(0);
    window->OnLButtonUp(x, y, 0);
    for (int i = 0; i < 10; ++i) {
        clock.Advance(1000);
        window->OnIdle(0);
    }
    EXPECT_EQ(window->IsExitRequested(), 0);
}

}  // namespace

TEST_F(MainMenuTest, TheToolkitFindsTheMenuAndItsShadedTail) {
    ServeMenu({{0, "Home"}, {10, "Pool"}, {5, "Lights"}});
    ConnectWithMenu(3);
    ASSERT_EQ(FindMenuColumn(), static_cast<CMenuColumn*>(Menu()));
    EXPECT_EQ(FindMenuColumn()->FillsColumn(), 0);
    EXPECT_EQ(FindMenuColumn()->IsLastEntrySelected(), 0);
    Menu()->Select(2, 0);
    EXPECT_EQ(FindMenuColumn()->IsLastEntrySelected(), 1);
    Menu()->Select(0, 0);

    window->PaintAll();
    CZVDC dc(Menu());
    Menu()->DrawTail(&dc, 1);
    CDibDC& screen = *window->GetScreen();
    const int w = Menu()->GetWidth();
    testsupport::Image565 tail{w, 240, {}};
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < w; ++x) tail.pixels.push_back(*screen.GetPixelAddress(x, y));
    EXPECT_TRUE(testsupport::MatchesGolden(tail, "menu_shaded_tail"));
}

namespace {

TEST_F(MainMenuTest, AStyleReloadWhoseMenuLacksTheShownPageShowsTheSelectedEntrysPage) {
    ServeMenu({{0, "Home"}, {10, "Pool"}, {5, "Lights"}});
    ConnectWithMenu(3);
    window->StartPages();
    window->DoCommand(kCommandHome + 5, 1);
    ASSERT_EQ(window->GetCurrentCommand(), kCommandHome + 5);
    ServeMenu({{0, "Home"}, {10, "Pool"}});
    window->ReloadStyle();
    EXPECT_EQ(Commands(), (std::vector<int>{5000, 5010}));
    EXPECT_EQ(window->GetCurrentCommand(), kCommandHome);
    ASSERT_NE(window->GetCurrentPage(), nullptr);
    EXPECT_EQ(window->GetCurrentPage()->GetParent(), window.get());
    // A page the new menu keeps stays shown.
    window->DoCommand(kCommandPoolControl, 1);
    window->ReloadStyle();
    EXPECT_EQ(window->GetCurrentCommand(), kCommandPoolControl);
}

}  // namespace
