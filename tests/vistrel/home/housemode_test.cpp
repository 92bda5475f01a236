// The house mode's names, buttons and line, and the remotes' status window,
// against the sample house: what they ask, what they show for the gateway's
// answers and notices, and a picture of them together.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages/shellmessages.h"
#include "pool_fixture.h"
#include "support/golden.h"
#include "vistrel/fake_power.h"
#include "vistrel/home/house/housecontrols.h"
#include "vistrel/home/house/housemodecontrols.h"
#include "vistrel/home/house/remotestatuswnd.h"
#include "vistrel/shell/housemodelist.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;

std::string Text(CZVString text) { return text.GetAnsi(); }

class HouseModeTest : public pooltest::PoolTest {
protected:
    // The sample house in its themed style, which asks the gateway for the mode names.
    void ServeAndConnect() {
        testsupport::SampleInstallation sample;
        sample.style = samplegateway::Style::kThemed;
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse(sample));
        Connect();
    }
    // The control as the factory builds it from a definition of the type.
    template <class Control>
    Control* Make(int type, CZVRect rect, const char* text = "") {
        CPageControlDesc desc;
        desc.type = type;
        desc.text = text;
        desc.SetAttribute(kAttrFontSize, 16);
        auto* control = dynamic_cast<Control*>(CreatePageControl(window.get(), window.get(), rect, desc, nullptr, 0));
        if (control) Adopt(control);
        return control;
    }
    template <class Condition>
    void Until(Condition condition) {
        ASSERT_TRUE(PollUntil(condition));
    }
    template <class Condition>
    void Notice(uint16_t id, const testsupport::Bytes& payload, Condition handled) {
        ASSERT_TRUE(gateway.Push(id, payload));
        Until(handled);
    }
    size_t RequestsOf(uint16_t id) const { return gateway.RequestsOf(id).size(); }
    static void MakeUnthemed() {
        CZVMSG kind(0, 0);
        kind.WriteInt(2);
        kind.ResetPosition();
        ASSERT_TRUE(CSetServer::Get()->ParseSettings(&kind));
        ASSERT_EQ(CSetServer::Get()->IsThemed(), 0);
    }
    void RemotesAnswer(CRemoteStatusWnd* status, const std::vector<std::string>& names, int32_t count) {
        PayloadWriter out;
        out.Int(count);
        for (const std::string& name : names) out.String("kind").String(name).String("state");
        Notice(ZVM_SYSCONFIG_GETREMOTESA, out, [&] { return status->GetRemotes().size() == names.size(); });
    }

    CHouseModeList list;
};

TEST_F(HouseModeTest, AnUnthemedStyleGivesHomeAwayAndVacationWithoutAsking) {
    ServeAndConnect();
    MakeUnthemed();
    const size_t asked = RequestsOf(ZVM_HOUSE_GETMODENAMESQ);
    ASSERT_EQ(list.Load(server), 1);
    ASSERT_EQ(list.GetCount(), 3);
    const char* names[] = {"Home", "Away", "Vacation"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Text(list.GetName(i)), names[i]);
        EXPECT_EQ(Text(list.GetIcon(i)), "I_LOGO");
    }
    EXPECT_EQ(RequestsOf(ZVM_HOUSE_GETMODENAMESQ), asked);
}

TEST_F(HouseModeTest, AThemedStyleTakesTheGatewaysNamesAndOutsideTheListGivesErrorAndNoIcon) {
    ServeAndConnect();
    ASSERT_EQ(list.Load(server), 1);
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(Text(list.GetName(3)), "Party");
    EXPECT_EQ(Text(list.GetName(4)), "Error");
    EXPECT_EQ(Text(list.GetName(-1)), "Error");
    EXPECT_EQ(Text(list.GetIcon(4)), "");
    EXPECT_FALSE(list.GetEntry(4).has_value());
    EXPECT_EQ(Text(list.GetEntry(1)->name), "Away");
}

TEST_F(HouseModeTest, WithoutAnAnswerTheListStaysEmptyAndTheLineSaysError) {
    Connect();  // a gateway that knows no house modes
    ASSERT_EQ(list.Load(server), 0);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(Text(list.GetName(0)), "Error");
}

TEST_F(HouseModeTest, TheFactoryBuildsEachTypesControl) {
    ServeAndConnect();
    struct Case {
        int type, mode;
    } cases[] = {{101, 0}, {102, 1}, {103, 2}, {133, 3}, {139, 9}};
    int x = 0;
    for (const Case& c : cases) {
        auto* button = Make<CHouseModeButton>(c.type, CZVRect(x += 60, 0, 50, 40));
        ASSERT_NE(button, nullptr) << c.type;
        EXPECT_EQ(button->GetMode(), c.mode) << c.type;
    }
    EXPECT_EQ(HouseModeOfType(104), -1);
    EXPECT_EQ(HouseModeOfType(140), -1);
    EXPECT_NE(Make<CHouseModeWnd>(104, CZVRect(0, 50, 300, 30)), nullptr);
    EXPECT_NE(Make<CRemoteStatusWnd>(187, CZVRect(0, 90, 300, 30)), nullptr);
}

TEST_F(HouseModeTest, ButtonsFollowTheNoticeAndAPressSetsTheModeAgainAndStaysChecked) {
    ServeAndConnect();
    auto* home = Make<CHouseModeButton>(101, CZVRect(10, 10, 100, 50), "Home");
    auto* away = Make<CHouseModeButton>(102, CZVRect(120, 10, 100, 50), "Away");
    auto* vacation = Make<CHouseModeButton>(103, CZVRect(230, 10, 100, 50), "Vacation");
    Until([&] { return home->GetCheck() == 1; });  // the sample house starts at Home

    Notice(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(2).Int(1), [&] { return vacation->GetCheck() == 1; });
    EXPECT_EQ(vacation->IsBlinking(), 1);
    EXPECT_EQ(home->GetCheck(), 0);
    EXPECT_EQ(home->IsBlinking(), 0);

    Notice(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(1).Int(0), [&] { return away->GetCheck() == 1; });
    EXPECT_EQ(vacation->IsBlinking(), 0);
    EXPECT_EQ(vacation->GetCheck(), 0);
    clock.Advance(1000);  // a touch, not a bounce of the last one
    const int x = away->ToRootX(50), y = away->ToRootY(25);
    away->OnLButtonDown(x, y, 0);
    away->OnLButtonUp(x, y, 0);
    EXPECT_EQ(away->GetCheck(), 1) << "a pressed mode button stays checked";
    Frame set;
    Until([&] { return gateway.WaitForRequest(ZVM_HOUSE_SETMODE, &set, 0); });
    EXPECT_EQ(set.sender, 0);
    testsupport::PayloadReader reader(set.payload);
    int32_t mode = -1;
    ASSERT_TRUE(reader.Int(&mode));
    EXPECT_EQ(mode, 1);
    const size_t asked = RequestsOf(ZVM_HOUSE_SETMODE);
    Until([&] { return RequestsOf(ZVM_HOUSE_SETMODE) == asked; });
    EXPECT_EQ(away->GetCheck(), 1);
    EXPECT_EQ(home->GetCheck(), 0);
}

TEST_F(HouseModeTest, TheLineNamesTheModeFromTheMainWindowsList) {
    ServeAndConnect();
    // The main window loads the gateway's names.
    Notice(ZVM_TABLET_FLUSHCACHE, {}, [&] { return window->GetHouseModes().GetCount() == 4; });
    auto* line = Make<CHouseModeWnd>(104, CZVRect(0, 0, 300, 30));
    auto reads = [&](const char* text) { return [line, text] { return Text(line->GetText()) == text; }; };
    Until(reads("House is in Home Mode"));
    Notice(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(3).Int(0), reads("House is in Party Mode"));
    Notice(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(7).Int(0), reads("House is in Error Mode"));
}

TEST_F(HouseModeTest, OnBatteryTheChargeComesBeforeTheRemotes) {
    vistreltest::FakePower power;
    power.onAc = false;
    power.batteryPercent = 80;
    clock.Advance(61000);  // past the gauges' earlier readings
    ServeAndConnect();
    auto* status = Make<CRemoteStatusWnd>(187, CZVRect(0, 0, 300, 30));
    RemotesAnswer(status, {"Spa Side"}, 1);
    EXPECT_EQ(status->GetLines(), (std::vector<std::string>{"Battery: 80 %", "Remote 1/1: Spa Side"}));
}

TEST_F(HouseModeTest, ABrokenRemotesAnswerKeepsWhatWasReadAndTheLines) {
    ServeAndConnect();
    auto* status = Make<CRemoteStatusWnd>(187, CZVRect(0, 0, 300, 30));
    Until([&] { return status->GetLines().size() == 2; });
    EXPECT_EQ(status->GetLines(), (std::vector<std::string>{"Remote 1/2: Spa Side", "Remote 2/2: Kitchen Handheld"}));
    RemotesAnswer(status, {"Patio"}, 3);
    EXPECT_EQ(status->GetRemotes()[0].name, "Patio");
    EXPECT_EQ(status->GetLines().size(), 2u) << "the lines stay as they were";
    // A change notice asks again.
    Notice(ZVM_SYSCONFIG_REMOTESCHANGED, {}, [&] { return status->GetRemotes().size() == 2; });
}

TEST_F(HouseModeTest, ASingleLineAlreadyShownIsNotScrolledAgain) {
    ServeAndConnect();
    auto* status = Make<CRemoteStatusWnd>(187, CZVRect(0, 0, 300, 30));
    Until([&] { return status->GetRemotes().size() == 2; });
    // The connection's version check ends the first idle pass; the line's steps run in the next.
    while (window->IsUpdatePending()) window->OnIdle(0);
    RemotesAnswer(status, {"Spa Side"}, 1);
    window->PaintAll();
    clock.Advance(1600);
    window->OnIdle(0);
    ASSERT_EQ(status->IsScrolling(), 1) << "the line slides in over the fresh background";
    clock.Advance(150);
    window->OnIdle(0);
    ASSERT_EQ(status->GetShownText(), "Remote 1/1: Spa Side");
    clock.Advance(1600);
    window->OnIdle(0);
    EXPECT_EQ(status->IsScrolling(), 0);
    EXPECT_EQ(status->GetShownText(), "Remote 1/1: Spa Side");
}

TEST_F(HouseModeTest, PictureOfTheButtonsTheLineAndTheRemotes) {
    ServeAndConnect();
    Notice(ZVM_TABLET_FLUSHCACHE, {}, [&] { return window->GetHouseModes().GetCount() == 4; });
    auto* panel = Adopt(new CRRegion(window.get(), CZVRect(150, 100, 430, 180), 8));
    panel->SetFaceColor(0x6E4628);
    const char* names[] = {"Home", "Away", "Vacation", "Party"};
    const int types[] = {101, 102, 103, 133};
    CZVWindow* party = nullptr;
    for (int i = 0; i < 4; ++i) {
        CPageControlDesc desc;
        desc.type = types[i];
        desc.text = names[i];
        desc.SetAttribute(kAttrFontSize, 16);
        party = CreatePageControl(window.get(), panel, CZVRect(12 + i * 102, 12, 96, 60), desc, nullptr, 0);
        panel->AddChild(party);
    }
    for (int type : {104, 187}) {
        CPageControlDesc desc;
        desc.type = type;
        desc.SetAttribute(kAttrFontSize, 16);
        panel->AddChild(
            CreatePageControl(window.get(), panel, CZVRect(12, type == 104 ? 90 : 130, 400, 30), desc, nullptr, 0));
    }
    Until(
        [&] { return RequestsOf(ZVM_SYSCONFIG_GETREMOTESQ) > 0 && !gateway.Owes() && !server.GetSocket()->HasData(); });
    Notice(ZVM_HOUSE_MODECHANGED, PayloadWriter().Int(3).Int(0),
           [&] { return static_cast<CHouseModeButton*>(party)->GetCheck() == 1; });
    while (window->IsUpdatePending()) window->OnIdle(0);  // the version check's pass
    window->PaintAll();
    clock.Advance(1600);
    window->OnIdle(0);
    clock.Advance(150);
    window->OnIdle(0);
    // The panel alone: the menu's icons arrive in their own time.
    const testsupport::Image565 screen = testsupport::ImageOf(*window->GetScreen());
    testsupport::Image565 shown{panel->GetWidth(), panel->GetHeight(), {}};
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            shown.pixels.push_back(
                screen.pixels[static_cast<size_t>((panel->ToRootY(y)) * screen.width + panel->ToRootX(x))]);
    EXPECT_TRUE(testsupport::MatchesGolden(shown, "house_mode_controls"));
}

}  // namespace
