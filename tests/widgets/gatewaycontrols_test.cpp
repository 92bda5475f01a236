// The gateway-bound controls against the fake gateway: what each touch
// sends, and what each answer or notice changes.
#include <gtest/gtest.h>

#include <vector>

#include "command_sink.h"
#include "core/messages/toolkitmessages.h"
#include "gateway_tree.h"
#include "sample_installation.h"
#include "widgets/buttons/togglebutton.h"
#include "widgets/buttons/zonecommand.h"
#include "widgets/pads/keypads.h"
#include "widgets/text/valuelabel.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kZone = 3;

class GatewayControls : public widgettest::GatewayTree {
protected:
    GatewayControls() {
        previousZone = SetAudioZoneSource([] { return kZone; });
    }
    ~GatewayControls() override { SetAudioZoneSource(previousZone); }

    void SetUp() override {
        Connect();
        harness.Clock().Advance(1000);
    }
    template <class Control>
    Control* Add(Control* control, CZVWindow* parent = nullptr) {
        (parent ? parent : &root)->AddChild(control);
        return control;
    }
    void Tap(CZVWindow* w) {
        const int x = w->ToRootX(w->GetWidth() / 2), y = w->ToRootY(w->GetHeight() / 2);
        harness.Clock().Advance(1000);
        harness.Press(x, y);
        harness.Release(x, y);
    }
    // A click as the button machinery gives it: the button's own command.
    static void Click(CZVButton* button) { button->OnCommand(button->GetCommandId()); }
    std::vector<int32_t> Next(uint16_t id) { return IntsOf(NextRequest(id)); }

    AudioZoneSource previousZone;
};

TEST_F(GatewayControls, ACommandButtonSendsItsCodeWithTheZoneAndNothingReachesItsParent) {
    auto* sink = new widgettest::CommandSink(&root, CZVRect(0, 0, 320, 240));
    auto* button = Add(new CZoneCommandButton(sink, CZVRect(10, 10, 80, 40), 17, 0, "Go", 0, 0, 0, "", 4100), sink);
    harness.PaintAll();
    Tap(button);
    EXPECT_EQ(Next(ZVM_UI_COMMANDBUTTON), (std::vector<int32_t>{4100, kZone}));
    auto* corner = Add(
        new CZoneCommandCornerButton(sink, CZVRect(100, 10, 120, 97), 17, 0, "Ch+", 0, 0, 0, "", 4101, 5, 94, 150, 100),
        sink);
    Click(corner);
    EXPECT_EQ(Next(ZVM_UI_COMMANDBUTTON), (std::vector<int32_t>{4101, kZone}));
    EXPECT_TRUE(sink->commands.empty());
    EXPECT_TRUE(sink->childCommands.empty());
    EXPECT_EQ(button->GetText().Compare("Go"), 0);
}

TEST_F(GatewayControls, SwitchButtonsSendTheZoneAndValueOrTheirTwoValues) {
    auto* single = Add(new CZoneSwitchCtl(&root, CZVRect(0, 0, 60, 30), kZoneSwitchType, 5, "Zone", 0, 0, 0xFFFFFF));
    auto* pair = Add(new CZoneSwitchCtl(&root, CZVRect(0, 40, 60, 30), kZoneSwitchPairType, 3, "Pair", 0, 7, 0));
    Click(single);
    EXPECT_EQ(Next(ZVM_MEDIA_SWITCHPRESS), (std::vector<int32_t>{kZone, 5}));
    for (int i = 0; i < 2; ++i) {
        Click(pair);
        EXPECT_EQ(Next(ZVM_MEDIA_SWITCHPRESSEX), (std::vector<int32_t>{3, 7}));
    }
    EXPECT_TRUE(root.commands.empty());
}

TEST_F(GatewayControls, NumericKeysSendTheirKeyCodes) {
    auto* pad = Add(new CNumericKeypadWnd(&root, CZVRect(0, 0, 240, 200), 42, 0x3, 0, 0, 0, 0, 16));
    const struct { int id, code; } keys[] = {{11000, 1874}, {11007, 1881}, {11009, 1883}, {11010, 1845}, {11011, 1868}};
    for (const auto& key : keys) {
        CZVButton* button = nullptr;
        for (ZVPOSITION p = pad->GetChildren().GetHeadPosition(); p;) {
            auto* child = static_cast<CZVButton*>(pad->GetChildren().GetNext(p));
            if (child->GetCommandId() == key.id) button = child;
        }
        ASSERT_NE(button, nullptr) << key.id;
        Click(button);
        EXPECT_EQ(Next(ZVM_UI_KEYPADKEY), (std::vector<int32_t>{42, key.code, kZone})) << key.id;
    }
    pad->OnCommand(12000);
    EXPECT_TRUE(root.commands.empty());
}

TEST_F(GatewayControls, RemoteKeypadsBuildTheirLookAndSendTheGatewayKeys) {
    const struct {
        int type, variant;
        int corners, round;
        const char* caption;
        int centreCode;
    } cases[] = {{153, 0, 0, 0, "Enter", 1868}, {156, 0, 4, 0, "Enter", 1868},  {157, 0, 4, 1, "Enter", 1868},
                 {158, 0, 0, 1, "Enter", 1868}, {158, 1, 0, 1, "Select", 1899}, {156, 1, 4, 0, "Select", 1899}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " variant " << c.variant);
        auto* pad = Add(
            new CRemoteKeypadWnd(&root, CZVRect(10, 10, 300, 200), 9, 0, 0x808080, 6, 0, 14, "", c.variant, c.type));
        harness.PaintAll();
        CSwitch8Way* pads = pad->GetSwitch();
        ASSERT_TRUE(pads->IsBuilt());
        EXPECT_EQ(pads->IsRoundLook(), c.round);
        int corners = 0;
        std::vector<CZVButton*> parts;
        for (ZVPOSITION p = pads->GetChildren().GetHeadPosition(); p;) {
            auto* part = static_cast<CZVButton*>(pads->GetChildren().GetNext(p));
            corners += dynamic_cast<CCornerButton*>(part) != nullptr;
            parts.push_back(part);
        }
        EXPECT_EQ(corners, c.corners);
        ASSERT_EQ(parts.size(), static_cast<size_t>(c.corners + 5));
        CZVButton* centre = parts.back();
        EXPECT_EQ(centre->GetText().Compare(c.caption), 0);
        Tap(centre);
        EXPECT_EQ(Next(ZVM_UI_KEYPADKEY), (std::vector<int32_t>{9, c.centreCode, kZone}));
        const std::vector<int> arrows = {1864, 1865, 1866, 1867};
        for (int i = 0; i < 4; ++i) {
            Click(parts[c.corners + i]);
            EXPECT_EQ(Next(ZVM_UI_KEYPADKEY), (std::vector<int32_t>{9, arrows[i], kZone}));
        }
        if (c.corners) {
            Click(parts[0]);
            EXPECT_EQ(Next(ZVM_UI_KEYPADKEY), (std::vector<int32_t>{9, 1857, kZone}));
        }
        root.DeleteChildren();
    }
    EXPECT_TRUE(root.commands.empty());
}

TEST_F(GatewayControls, AKeypadWithoutRingBevelTakesTheKeyMarginAndTheRoundLook) {
    harness.Style().SetStyle(17, kStyleBevel, 0);
    harness.Style().SetStyle(17, kStyleMargin, 5);
    auto* pad = Add(new CRemoteKeypadWnd(&root, CZVRect(0, 0, 200, 200), 9, 0, 0, 0, 0, 14, "", 0, 156));
    EXPECT_TRUE(pad->GetSwitch()->IsRoundLook());
    harness.PaintAll();
    EXPECT_EQ(pad->GetSwitch()->GetPartMargin(), 5);
}

class ToggleButtonTest : public GatewayControls {
protected:
    CToggleButton* MakeToggle() {
        auto* toggle = Add(new CToggleButton(&root, CZVRect(20, 20, 100, 50), 0, "Fountain", 14, 0, 0, 77));
        const testsupport::Frame ask = NextRequest(ZVM_UI_GETTOGGLEQ);
        EXPECT_EQ(ask.sender, toggle->GetId());
        EXPECT_EQ(IntsOf(ask), (std::vector<int32_t>{77}));
        harness.PaintAll();
        return toggle;
    }
};

TEST_F(ToggleButtonTest, AReleaseInsideFlipsAndSendsAtOnceOneOutsideChangesNothing) {
    CToggleButton* toggle = MakeToggle();
    harness.Press(60, 40);
    harness.Release(300, 200);
    EXPECT_EQ(toggle->GetCheck(), 0);
    EXPECT_FALSE(harness.Native().IsCaptured());
    for (int expected : {1, 0}) {
        Tap(toggle);
        EXPECT_EQ(toggle->GetCheck(), expected);
        EXPECT_FALSE(harness.Native().IsCaptured());
        const testsupport::Frame sent = NextRequest(ZVM_UI_SETTOGGLESTATE);
        EXPECT_EQ(sent.sender, toggle->GetId());
        // The first one sent is this one: the release outside sent nothing.
        EXPECT_EQ(IntsOf(sent), (std::vector<int32_t>{77, kZone, expected}));
    }
    EXPECT_TRUE(root.commands.empty());
}

TEST_F(ToggleButtonTest, ItFollowsTheNoticesForItsOwnObject) {
    CToggleButton* toggle = MakeToggle();
    const struct {
        uint16_t id;
        int object, state, expected;
    } notices[] = {{ZVM_UI_GETTOGGLEA, 77, 1, 1},
                   {ZVM_UI_SETTOGGLESTATE, 78, 0, 1},
                   {ZVM_UI_SETTOGGLESTATE, 77, 0, 0},
                   {ZVM_UI_GETTOGGLEA, 12, 1, 0},
                   {ZVM_UI_SETTOGGLESTATE, 77, 1, 1}};
    // A sink registered after the toggle has seen a notice once the toggle has.
    std::vector<std::string> log;
    testsupport::RecordingSink probe(server, "probe", &log);
    server.RegisterSink(&probe);
    for (const auto& n : notices) {
        const size_t before = log.size();
        Deliver(testsupport::kEverySink, n.id, testsupport::PayloadWriter().Int(n.object).Int(n.state),
                [&] { return log.size() > before; });
        EXPECT_EQ(toggle->GetCheck(), n.expected) << n.object << " " << n.state;
    }
}

TEST_F(GatewayControls, AValueLabelShowsTheValueOfItsOwnItem) {
    auto* outdoor = Add(new CValueLabel(&root, CZVRect(0, 0, 80, 20), 12));
    auto* other = Add(new CValueLabel(&root, CZVRect(0, 30, 80, 20), 13));
    EXPECT_EQ(IntsOf(NextRequest(ZVM_DEVICE_GETVALUEQ)), (std::vector<int32_t>{12}));
    EXPECT_EQ(IntsOf(NextRequest(ZVM_DEVICE_GETVALUEQ)), (std::vector<int32_t>{13}));
    harness.PaintAll();
    Deliver(testsupport::kEverySink, ZVM_DEVICE_GETVALUEA, testsupport::PayloadWriter().Int(12).Int(-5),
            [&] { return !outdoor->GetText().IsEmpty(); });
    EXPECT_STREQ(outdoor->GetText().GetAnsi(), "-5");
    Deliver(testsupport::kEverySink, ZVM_DEVICE_GETVALUEA, testsupport::PayloadWriter().Int(13).Int(7),
            [&] { return !other->GetText().IsEmpty(); });
    EXPECT_STREQ(other->GetText().GetAnsi(), "7");
    EXPECT_STREQ(outdoor->GetText().GetAnsi(), "-5");
}

class SampleGatewayControls : public GatewayControls {
protected:
    void SetUp() override {
        testsupport::ServeSampleInstallation(gateway);
        GatewayControls::SetUp();
    }
};

TEST_F(SampleGatewayControls, TheSampleGatewayAnswersTogglesAndValues) {
    auto* outdoor = Add(new CValueLabel(&root, CZVRect(0, 0, 80, 20), 12));
    auto* toggle = Add(new CToggleButton(&root, CZVRect(20, 40, 100, 50), 0, "Fountain", 14, 0, 0, 77));
    auto* twin = Add(new CToggleButton(&root, CZVRect(140, 40, 100, 50), 0, "Fountain", 14, 0, 0, 77));
    harness.PaintAll();
    ASSERT_TRUE(testsupport::PollAllUntil(server, [&] { return !outdoor->GetText().IsEmpty(); }));
    EXPECT_STREQ(outdoor->GetText().GetAnsi(), "68");
    Tap(toggle);
    // The other panel's button follows the state the gateway tells every sink.
    ASSERT_TRUE(testsupport::PollAllUntil(server, [&] { return twin->GetCheck() == 1; }));
    EXPECT_EQ(toggle->GetCheck(), 1);
}

}  // namespace
