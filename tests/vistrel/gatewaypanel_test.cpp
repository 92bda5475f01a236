// Gateway panels and gateway check buttons against a fake gateway.
#include "vistrel/shell/gatewaypanel.h"

#include <gtest/gtest.h>

#include "../widgets/command_sink.h"
#include "av/soundclip.h"
#include "control_records.h"
#include "core/messages/shellmessages.h"
#include "sample_installation.h"
#include "shell_fixture.h"
#include "vistrel/shell/pagecontrol.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::ControlRecord;
using testsupport::PayloadWriter;

class GatewayPanelTest : public vistreltest::ShellTest {
protected:
    void SetUp() override {
        Connect();
        testsupport::ServeSampleInstallation(gateway);
    }
    int Asked(uint16_t id) { return static_cast<int>(gateway.RequestsOf(id).size()); }
    // A check button made by the factory, as a page makes it.
    CGatewayCheckButton* Button(int type, int object, int readOnly) {
        CPageControlDesc desc;
        desc.type = type;
        desc.id = object;
        desc.SetAttribute(kAttrParameter, readOnly);
        auto* button = dynamic_cast<CGatewayCheckButton*>(
            CreatePageControl(window.get(), window.get(), CZVRect(100, 100, 80, 40), desc, nullptr, 0));
        if (button) window->AddChild(button);
        clock.Advance(200);  // buttons take no touch at once
        return button;
    }
    void Tap(CZVWindow* w, int x, int y) {
        w->OnLButtonDown(x, y, 1);
        w->OnLButtonUp(x, y, 0);
    }
};

TEST_F(GatewayPanelTest, APanelScalesEachValueToItsOwnSize) {
    ControlRecord label;
    label.x = 2500;
    label.width = 5000;
    label.y = 1000;
    label.height = 2000;
    gateway.Answer(ZVM_LAYOUT_GETPANELQ, testsupport::ControlList({label}));
    CGatewayPanel panel(window.get(), CZVRect(0, 0, 400, 200), 6, 9, 3);
    ASSERT_EQ(panel.GetChildren().GetCount(), 1);
    auto* control = static_cast<CZVWindow*>(panel.GetChildren().GetHead());
    EXPECT_EQ(control->GetX(), 100);
    EXPECT_EQ(control->GetWidth(), 200);
    EXPECT_EQ(control->GetY(), 20);
    EXPECT_EQ(control->GetHeight(), 40);
    testsupport::Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_LAYOUT_GETPANELQ, &request));
    EXPECT_EQ(request.payload, testsupport::Bytes(PayloadWriter().Int(9).Int(3).Int(window->GetLayoutType())));
}

TEST_F(GatewayPanelTest, TheEmptyPanelIdAsksNothing) {
    CGatewayPanel panel(window.get(), CZVRect(0, 0, 400, 200), 6, CGatewayPanel::kNoPanel, 0);
    EXPECT_TRUE(panel.GetChildren().IsEmpty());
    EXPECT_EQ(Asked(ZVM_LAYOUT_GETPANELQ), 0);
}

TEST_F(GatewayPanelTest, TheSampleLightingPanelHoldsItsCheckButtons) {
    CGatewayPanel panel(window.get(), CZVRect(0, 0, 300, 100), 6, 1, 0);
    EXPECT_EQ(panel.GetChildren().GetCount(), 3);
}

TEST_F(GatewayPanelTest, AReadOnlyCheckButtonFollowsTheGatewayOnly) {
    CGatewayCheckButton* button = Button(123, 201, 1);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_GETCHECKSTATEQ));
    ASSERT_TRUE(gateway.Push(ZVM_UI_GETCHECKSTATEA, PayloadWriter().Int(201).Int(1)));
    ASSERT_TRUE(PollUntil([&] { return button->GetCheck() == 1; }));
    Tap(button, 120, 120);
    EXPECT_EQ(button->GetCheck(), 1);
    EXPECT_EQ(Asked(ZVM_UI_SETCHECKSTATE), 0);
    ASSERT_TRUE(gateway.Push(ZVM_UI_SETCHECKSTATE, PayloadWriter().Int(201).Int(0)));
    ASSERT_TRUE(PollUntil([&] { return button->GetCheck() == 0; }));
    // A device notice is not this button's kind of state; another object is
    // not its own. Its neighbour's change shows that both have arrived.
    CGatewayCheckButton* neighbour = Button(123, 202, 0);
    ASSERT_TRUE(gateway.Push(ZVM_DEVICE_STATECHANGED, PayloadWriter().Int(201).Int(1)));
    ASSERT_TRUE(gateway.Push(ZVM_UI_SETCHECKSTATE, PayloadWriter().Int(202).Int(1)));
    ASSERT_TRUE(PollUntil([&] { return neighbour->GetCheck() == 1; }));
    EXPECT_EQ(button->GetCheck(), 0);
}

TEST_F(GatewayPanelTest, ATouchSetsTheStateAndTheGatewayEchoesIt) {
    CGatewayCheckButton* button = Button(123, 202, 0);
    ASSERT_NE(button, nullptr);
    Tap(button, 120, 120);
    EXPECT_EQ(button->GetCheck(), 1);
    testsupport::Frame set;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_UI_SETCHECKSTATE, &set));
    EXPECT_EQ(set.payload, testsupport::Bytes(PayloadWriter().Int(202).Int(1)));
    EXPECT_EQ(set.sender, button->GetId());
}

TEST_F(GatewayPanelTest, ADeviceButtonReleasedOutsideSendsNothing) {
    CGatewayCheckButton* button = Button(173, 203, 0);
    ASSERT_NE(button, nullptr);
    button->OnLButtonDown(120, 120, 1);
    EXPECT_EQ(button->OnLButtonUp(300, 300, 0), 1);
    EXPECT_EQ(button->GetCheck(), 0);
    Tap(button, 120, 120);
    testsupport::Frame set;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_DEVICE_SETSTATE, &set));
    EXPECT_EQ(set.payload, testsupport::Bytes(PayloadWriter().Int(203).Int(1)));
    EXPECT_EQ(Asked(ZVM_DEVICE_SETSTATE), 1);
    EXPECT_EQ(set.sender, 0);
}

TEST_F(GatewayPanelTest, AShownDeviceStateCannotBeTouched) {
    CGatewayCheckButton* button = Button(175, 204, 0);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(gateway.WaitForRequest(ZVM_DEVICE_GETSTATEEXQ));
    Tap(button, 120, 120);
    EXPECT_EQ(button->GetCheck(), 0);
    ASSERT_TRUE(gateway.Push(ZVM_DEVICE_STATECHANGEDEX, PayloadWriter().Int(204).Int(1)));
    ASSERT_TRUE(PollUntil([&] { return button->GetCheck() == 1; }));
}

TEST_F(GatewayPanelTest, AnEntryPanelHasATitleBandOverItsKeypad) {
    widgettest::CommandSink parent(window.get(), CZVRect(0, 0, 300, 240));
    parent.SetFaceColor(MakeColor(10, 20, 30));
    auto* panel = new CEntryPanel(&parent, CZVRect(0, 0, 240, 220), 6, 40, 4, 60);
    parent.AddChild(panel);
    EXPECT_EQ(panel->GetFaceColor(), MakeColor(10, 20, 30));

    const CZVObList& children = panel->GetChildren();
    ASSERT_EQ(children.GetCount(), 13);
    auto* band = static_cast<CZVWindow*>(children.GetHead());
    EXPECT_EQ(band->GetStyleClass(), CEntryPanel::kTitleClass);
    EXPECT_EQ(band->GetWidth(), 240);
    EXPECT_EQ(band->GetHeight(), 40);
    ASSERT_NE(panel->GetTitle(), nullptr);
    EXPECT_EQ(panel->GetTitle()->GetParent(), band);
    EXPECT_EQ(panel->GetTitle()->GetFontSize(), 60);

    std::vector<int> ids;
    for (ZVPOSITION pos = children.GetHeadPosition(); pos;) {
        auto* key = dynamic_cast<CZV3DButton*>(static_cast<CZVWindow*>(children.GetNext(pos)));
        if (!key) continue;
        ids.push_back(key->GetCommandId());
        EXPECT_EQ(key->GetStyleClass(), CEntryPanel::kKeyClass);
        EXPECT_GE(key->GetY(), 40);
        EXPECT_LE(key->GetFontSize(), 40);  // the keypad caps it
        ASSERT_NE(key->GetPressSound(), nullptr);
        EXPECT_STREQ(CZVString(key->GetPressSound()->GetName()).GetAnsi(), "bleep10.wav");
    }
    EXPECT_EQ(ids,
              (std::vector<int>{11001, 11002, 11003, 11004, 11005, 11006, 11007, 11008, 11009, 11010, 11000, 11011}));

    parent.Show(1, 1);
    clock.Advance(200);
    CZVWindow* enter = static_cast<CZVWindow*>(children.GetTail());
    const int x = enter->GetX() + enter->GetWidth() / 2;
    const int y = enter->GetY() + enter->GetHeight() / 2;
    Tap(enter, x, y);
    EXPECT_EQ(parent.childCommands, (std::vector<std::pair<int, int>>{{11011, 1}}));
}

TEST_F(GatewayPanelTest, AnEntryPanelTitleBreaksLinesAtBackslashN) {
    CEntryPanel panel(window.get(), CZVRect(0, 0, 200, 200), 6, 50, 2, 20);
    panel.SetTitle("Station\\nNumber", 0);
    EXPECT_STREQ(panel.GetTitle()->GetText().GetAnsi(), "Station\nNumber");
}

}  // namespace
