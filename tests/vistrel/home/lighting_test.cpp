// The lighting controls and the lighting page against the sample house's
// lighting: the keypad's touch protocol, LEDs and editor, the switch value
// code and faces, the gateway buttons, the button grid, the scenes.
#include <gtest/gtest.h>

#include "core/messages/lightingmessages.h"
#include "core/messages/toolkitmessages.h"
#include "core/zvquery.h"
#include "platform/keys.h"
#include "pool_fixture.h"
#include "samplegateway/requestvalues.h"
#include "support/golden.h"
#include "vistrel/home/lighting/gatewaybuttons.h"
#include "vistrel/home/lighting/keypadctl.h"
#include "vistrel/home/lighting/lightingpage.h"
#include "vistrel/home/lighting/lightswitch.h"
#include "vistrel/home/lighting/scenebutton.h"
#include "vistrel/home/lighting/sceneconfig.h"
#include "vistrel/home/schedule/schedulecommands.h"
#include "vistrel/shell/gatewaypanel.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/gauges/slider.h"
#include "widgets/lists/columnlist.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/lists/textlist.h"
#include "widgets/tabs/tabbutton.h"

namespace {

using samplegateway::IntsOf;
using testsupport::Frame;
using Ints = std::vector<int32_t>;

// ---- tables without windows

TEST(SwitchValueCode, ValuesShowTheirLevelAndSegments) {
    const struct {
        int32_t value;
        int level;
        std::vector<int> segments;  // of five
    } cases[] = {
        {0, 100, {0, 0, 0, 0, 1}},   {1, 0, {1, 0, 0, 0, 0}},    {105, 100, {0, 0, 0, 0, 1}},
        {101, 100, {0, 0, 1, 0, 1}}, {175, 25, {0, 0, 0, 0, 1}}, {999, 0, {0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(SwitchLevel(c.value), c.level);
        EXPECT_EQ(SwitchSegments(c.value, 5), c.segments);
    }
    // With more than seven segments 105 sets the sixth from the off one.
    EXPECT_EQ(SwitchSegments(105, 8), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 1}));
}

TEST(SwitchValueCode, SegmentCountsAreBounded) {
    EXPECT_EQ(SwitchSegmentCount(142, 3), 5);
    EXPECT_EQ(SwitchSegmentCount(177, 1), 3);
    EXPECT_EQ(SwitchSegmentCount(142, 255), 2);
    EXPECT_EQ(SwitchSegmentCount(140, 9), 2);
    // Presets never reach the raise, lower and level codes.
    EXPECT_EQ(SwitchSegmentCount(142, 40), 2 + CLightSwitchCtl::kMaxPresets);
}

TEST(KeypadGeometry, KeepsTheOutlinesAspectAndScales) {
    const CZVRect area = KeypadTargetRect(CZVRect(0, 0, 200, 200), 100, 300, 1);
    EXPECT_EQ(area.w, 66);
    EXPECT_EQ(area.h, 200);
    EXPECT_EQ(area.x, 67);
    CKeypadRecord outline;
    outline.right = 100;
    outline.bottom = 300;
    CKeypadButtonRecord button;
    button.width = 100;
    button.height = 100;
    const CZVRect scaled = ScaleKeypadButton(button, outline, CZVRect(0, 0, area.w, area.h));
    EXPECT_EQ(scaled.w, 66);
    EXPECT_EQ(scaled.h, 66);
    EXPECT_EQ(KeypadTargetRect(CZVRect(0, 0, 200, 200), 100, 300, 0).w, 200);
}

TEST(ButtonGridShape, CellsNearThreeHundredByFifty) {
    const struct {
        int n, w, h, columns, rows, used;
    } cases[] = {
        {3, 600, 100, 2, 2, 100},  // 150 >= 100: the grid, the third entry atop column 2
        {3, 200, 400, 1, 3, 150},  // one column of 50-pixel rows
        {3, 2, 1, 1, 3, 1},        // too small for the search: one column, which ends
        {5, 0, 0, 1, 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.w);
        const CButtonGridShape shape = ButtonGridShape(c.n, c.w, c.h, c.h);
        EXPECT_EQ(shape.columns, c.columns);
        EXPECT_EQ(shape.rows, c.rows);
        EXPECT_EQ(shape.usedHeight, c.used);
    }
}

// ---- against the sample house

class LightingTest : public pooltest::PoolTest {
protected:
    void SetUp() override { ConnectToSampleHouse(); }
    ~LightingTest() override {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            window->RemoveChild(*it);
            delete *it;
        }
    }
    template <class W>
    W* Keep(W* w) {
        made.push_back(Adopt(w));
        return w;
    }
    CKeypadCtl* Keypad(int id, int framed = 1) {
        const CZVRect area = window->GetPageArea();
        return Keep(
            new CKeypadCtl(window.get(), CZVRect(area.x + 10, area.y + 10, 300, 450), 5, server, id, framed, 0, 0, 1));
    }
    // The ids of the lighting requests, in the order the gateway saw them.
    std::vector<uint16_t> TouchTrail() {
        std::vector<uint16_t> trail;
        for (const Frame& frame : gateway.Requests())
            if (frame.id == ZVM_LIGHTS_KEYPADCLICK || frame.id == ZVM_LIGHTS_KEYPADHOLD ||
                frame.id == ZVM_LIGHTS_KEYPADRELEASE || frame.id == ZVM_LIGHTS_KEYPADPRESS ||
                frame.id == ZVM_LIGHTS_GETKEYPADLEDSQ)
                trail.push_back(frame.id);
        return trail;
    }
    // Everything sent before this has reached the gateway and been answered.
    void RoundTrip() {
        CZVQuery query(server);
        CZVMSG* answer = nullptr;
        ASSERT_TRUE(query.QueryAnswer1(&answer, ZVM_LIGHTS_GETKEYPADQ, 10));
    }
    static int Checked(CZV3DButton* button) {
        CZVCheckButton* check = button->AsCheckButton();
        return check ? check->GetCheck() : -1;
    }
    void Deliver(CSocketSink* sink, uint16_t id, const Ints& values) {
        CZVMSG message(0, id);
        for (int32_t value : values) message.WriteInt(value);
        message.ResetPosition();
        sink->OnMessage(&message);
    }

    std::vector<CZVWindow*> made;
};

TEST_F(LightingTest, KeypadIsBuiltFromTheDescriptionAndRegisters) {
    CKeypadCtl* keypad = Keypad(10);
    ASSERT_EQ(keypad->GetButtonCount(), 6);
    EXPECT_STREQ(keypad->GetButton(1)->GetText().GetAnsi(), "Entertain");
    // "Raise" and "Lower" show the arrows and no text; scenes have LEDs, the arrows none.
    EXPECT_STREQ(keypad->GetButton(4)->GetText().GetAnsi(), "");
    EXPECT_NE(keypad->GetButton(4)->GetIcon(), nullptr);
    EXPECT_NE(keypad->GetButton(5)->GetIcon(), nullptr);
    EXPECT_NE(keypad->GetButton(0)->AsCheckButton(), nullptr);
    EXPECT_EQ(keypad->GetButton(4)->AsCheckButton(), nullptr);
    // Equal scene buttons share one face.
    EXPECT_EQ(keypad->GetButton(1)->GetLookSource(), keypad->GetButton(0));
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_LIGHTS_REGISTERKEYPADQ));
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_REGISTERKEYPADQ)[0]), (Ints{10, keypad->GetId()}));
    EXPECT_EQ(gateway.RequestsOf(ZVM_LIGHTS_REGISTERKEYPADQ)[0].sender, 0);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(keypad), "lighting_keypad"));
}

TEST_F(LightingTest, KeypadCaptionsThatBeginWithRaiseOrLowerShowArrows) {
    samplegateway::PayloadWriter out;
    out.Int(0).Int(100).Int(0).Int(100).Int(2);
    for (const char* caption : {"raise the lights", "Lower"})
        out.Int(0).String(caption).Int(5).Int(0).Int(0).Int(50).Int(50).Int(0).Int(1).Int(2).Int(3).Int(0).Int(0).Int(
            0);
    gateway.Answer(ZVM_LIGHTS_GETKEYPADQ, out);
    CKeypadCtl* keypad = Keypad(77);
    ASSERT_EQ(keypad->GetButtonCount(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_STREQ(keypad->GetButton(i)->GetText().GetAnsi(), "");
        EXPECT_NE(keypad->GetButton(i)->GetIcon(), nullptr);
    }
}

TEST_F(LightingTest, AZeroSizeOutlineBuildsNoButtons) {
    samplegateway::PayloadWriter out;
    out.Int(5).Int(5).Int(0).Int(100).Int(1);
    out.Int(0).String("All On").Int(7).Int(0).Int(0).Int(50).Int(50).Int(0).Int(1).Int(2).Int(3).Int(0).Int(0).Int(0);
    gateway.Answer(ZVM_LIGHTS_GETKEYPADQ, out);
    EXPECT_EQ(Keypad(78)->GetButtonCount(), 0);
}

TEST_F(LightingTest, MomentaryButtonsClickOrHoldAndRelease) {
    CKeypadCtl* keypad = Keypad(10);
    const int raise = 4;
    // Released within 50 ms: a click only.
    keypad->OnCommand(CKeypadCtl::kPressBase + raise);
    clock.Advance(30);
    keypad->OnIdle(0);
    keypad->OnCommand(CKeypadCtl::kReleaseBase + raise);
    // Held 400 ms: the hold at 50 ms, then the release.
    keypad->OnCommand(CKeypadCtl::kPressBase + raise);
    clock.Advance(49);
    keypad->OnIdle(0);
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_LIGHTS_KEYPADHOLD).empty());
    clock.Advance(1);
    keypad->OnIdle(0);
    clock.Advance(350);
    keypad->OnIdle(0);
    keypad->OnCommand(CKeypadCtl::kReleaseBase + raise);
    RoundTrip();
    const std::vector<uint16_t> expected{
        ZVM_LIGHTS_GETKEYPADLEDSQ, ZVM_LIGHTS_KEYPADCLICK,   ZVM_LIGHTS_GETKEYPADLEDSQ, ZVM_LIGHTS_KEYPADHOLD,
        ZVM_LIGHTS_GETKEYPADLEDSQ, ZVM_LIGHTS_KEYPADRELEASE, ZVM_LIGHTS_GETKEYPADLEDSQ};
    EXPECT_EQ(TouchTrail(), expected);
    for (uint16_t id : {ZVM_LIGHTS_KEYPADCLICK, ZVM_LIGHTS_KEYPADHOLD, ZVM_LIGHTS_KEYPADRELEASE}) {
        EXPECT_EQ(IntsOf(gateway.RequestsOf(id)[0]), (Ints{10, raise}));
        EXPECT_EQ(gateway.RequestsOf(id)[0].sender, keypad->GetId());
    }
}

TEST_F(LightingTest, LedsAreTakenOnlyForEveryButton) {
    CKeypadCtl* keypad = Keypad(10);
    Deliver(keypad, ZVM_LIGHTS_KEYPADLEDSCHANGED, {5, 1, 1, 1, 1, 1});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Checked(keypad->GetButton(i)), 0);
    Deliver(keypad, ZVM_LIGHTS_KEYPADLEDSCHANGED, {6, 0, 1, 0, 0, 1, 1});
    EXPECT_EQ(Checked(keypad->GetButton(1)), 1);
    EXPECT_EQ(Checked(keypad->GetButton(0)), 0);
    // A click lights the pressed scene through the gateway's push.
    keypad->OnCommand(CKeypadCtl::kClickBase + 2);
    ASSERT_TRUE(PollUntil([&] { return Checked(keypad->GetButton(2)) == 1 && !Checked(keypad->GetButton(1)); }));
}

TEST_F(LightingTest, EditorReplacesRowsAndSavesOrCancels) {
    CKeypadCtl* keypad = Keypad(10);
    CZV3DButton* dinner = keypad->GetButton(2);
    clock.Advance(1000);  // a touch right after the making is swallowed
    dinner->OnLButtonDown(dinner->ToRootX(5), dinner->ToRootY(5), 0);
    keypad->OnKeyDown(platform::VK_RIGHT, 0);
    ASSERT_NE(keypad->GetEditor(), nullptr);
    EXPECT_EQ(keypad->GetButtonCount(), 0);
    ASSERT_TRUE(PollUntil([&] { return keypad->GetEditor()->GetCount() == 2; }));
    // A row with the same a and b replaces the earlier one, at the end.
    samplegateway::PayloadWriter row;
    row.Int(1).Int(4).Int(7).String("Main Panel").String("Ceiling Lights").String("Off");
    gateway.Push(ZVM_LIGHTS_KEYPADENTRYCHANGED, row, keypad->GetId());
    ASSERT_TRUE(PollUntil([&] { return keypad->GetEditorEntries().back().c == 7; }));
    ASSERT_EQ(keypad->GetEditor()->GetCount(), 2);
    EXPECT_STREQ(keypad->GetEditor()->GetRow(1)->GetText(2).GetAnsi(), "Off");
    keypad->OnCommand(CKeypadCtl::kSaveId);
    EXPECT_EQ(keypad->GetEditor(), nullptr);
    EXPECT_EQ(keypad->GetButtonCount(), 6);
    ASSERT_EQ(gateway.RequestsOf(ZVM_LIGHTS_SETKEYPADENTRIESQ).size(), 1u);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_SETKEYPADENTRIESQ)[0]), (Ints{10, 2, 2, 1, 5, 40, 1, 4, 7}));
    EXPECT_EQ(gateway.RequestsOf(ZVM_LIGHTS_GETKEYPADENTRIESQ).size(), 1u);
    // Cancel closes without saving.
    dinner = keypad->GetButton(2);
    clock.Advance(1000);
    dinner->OnLButtonDown(dinner->ToRootX(5), dinner->ToRootY(5), 0);
    keypad->OnKeyDown(platform::VK_RIGHT, 0);
    ASSERT_NE(keypad->GetEditor(), nullptr);
    keypad->OnCommand(CKeypadCtl::kCancelId);
    EXPECT_EQ(keypad->GetEditor(), nullptr);
    EXPECT_EQ(gateway.RequestsOf(ZVM_LIGHTS_SETKEYPADENTRIESQ).size(), 1u);
    EXPECT_EQ(gateway.RequestsOf(ZVM_LIGHTS_GETKEYPADENTRIESQ).size(), 2u);
}

TEST_F(LightingTest, SwitchSendsTheValueOfEachCommand) {
    auto* sw = Keep(new CLightSwitchCtl(window.get(), CZVRect(10, 10, 400, 60), server, 142, 21, 3, "Deck", 0));
    ASSERT_EQ(sw->GetSegmentCount(), 5);
    const char* captions[] = {"", "A", "B", "C", ""};
    for (int i = 0; i < 5; ++i) EXPECT_STREQ(sw->GetSegment(i)->GetText().GetAnsi(), captions[i]);
    // The value 101 from the house shows preset "B" and the last segment.
    ASSERT_TRUE(PollUntil([&] { return sw->GetValue() == 101; }));
    EXPECT_EQ(sw->GetSegment(2)->GetCheck(), 1);
    EXPECT_EQ(sw->GetSegment(4)->GetCheck(), 1);
    for (int i = 0; i < 5; ++i) sw->GetSegment(i)->OnCommand(sw->GetSegment(i)->GetCommandId());
    // "On" while the switch is on goes to full. The house pushes each value it stores; the
    // last push leaves the switch at full.
    ASSERT_TRUE(
        PollUntil([&] { return gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH).size() == 5 && sw->GetValue() == 250; }));
    std::vector<Ints> sent;
    for (const Frame& f : gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH)) sent.push_back(IntsOf(f));
    EXPECT_EQ(sent, (std::vector<Ints>{{21, 1}, {21, 100}, {21, 101}, {21, 102}, {21, 250}}));
    Deliver(sw, ZVM_LIGHTS_SWITCHCHANGED, {21, 1});
    sw->OnChildCommand(CLightSwitchCtl::kOnId, 1);
    Deliver(sw, ZVM_LIGHTS_SWITCHCHANGED, {99, 175});  // another switch's
    EXPECT_EQ(sw->GetValue(), 1);
    RoundTrip();
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH).back()), (Ints{21, 0}));
}

TEST_F(LightingTest, OneMiddleSegmentShowsTheText) {
    auto* sw = Keep(new CLightSwitchCtl(window.get(), CZVRect(10, 10, 300, 60), server, 142, 21, 1, "Deck", 0));
    ASSERT_EQ(sw->GetSegmentCount(), 3);
    EXPECT_STREQ(sw->GetSegment(1)->GetText().GetAnsi(), "Deck");
    EXPECT_EQ(sw->GetSegment(1)->GetCommandId(), 100);
}

TEST_F(LightingTest, SliderSendsAtOnceOrAfterTheLastMove) {
    auto* sw = Keep(new CLightSwitchCtl(window.get(), CZVRect(10, 10, 400, 60), server, 141, 20, 1, "Path", 0));
    auto* slider = dynamic_cast<CZVSlider*>(sw->GetLevelControl());
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(PollUntil([&] { return sw->GetValue() == 175; }));
    EXPECT_EQ(slider->GetLevel(), 25);
    slider->SetPosition(40, 0);
    sw->OnCommand(CLightSwitchCtl::kSliderId);
    clock.Advance(250);
    sw->OnIdle(0);
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH).empty());
    clock.Advance(1);
    sw->OnIdle(0);
    RoundTrip();
    ASSERT_EQ(gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH).size(), 1u);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH)[0]), (Ints{20, 190}));
    Deliver(sw, ZVM_LIGHTS_SWITCHVALUE, {CLightSwitchCtl::kSendAtOnce});
    sw->OnCommand(CLightSwitchCtl::kSliderId);
    RoundTrip();
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_SETSWITCH).back()), (Ints{20, 291}));
}

TEST_F(LightingTest, EveryFaceOfTheSwitches) {
    const struct {
        int type, parameter;
    } faces[] = {{140, 0}, {141, 0}, {141, 1}, {142, 3}, {177, 1}, {143, 0}, {144, 0}, {145, 0}, {178, 0}};
    auto* harness = Keep(new CZVWindow(window.get(), window->GetPageArea(), 5));
    harness->SetFaceColor(0x705030);
    int y = 10;
    for (const auto& f : faces) {
        auto* sw = new CLightSwitchCtl(harness, CZVRect(10, y, 460, 56), server, f.type, 20 + f.type % 2, f.parameter,
                                       "Lamp", 0);
        harness->AddChild(sw);
        y += 64;
    }
    auto* upright = new CLightSwitchCtl(harness, CZVRect(500, 10, 80, 500), server, 141, 20, 2, "Up", 0);
    harness->AddChild(upright);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(harness), "light_switches"));
}

TEST_F(LightingTest, OnOffButtonSendsOnWhilePressed) {
    auto* button = Keep(new COnOffButton(window.get(), CZVRect(10, 10, 100, 50), 12, 150, "Fan", 0, 0, 0, 0, ""));
    clock.Advance(1000);
    button->OnLButtonDown(button->ToRootX(5), button->ToRootY(5), 0);
    button->OnLButtonUp(button->ToRootX(5), button->ToRootY(5), 0);
    RoundTrip();
    const auto sent = gateway.RequestsOf(ZVM_UI_SETONOFF);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(IntsOf(sent[0]), (Ints{0, 12, 1}));
    EXPECT_EQ(IntsOf(sent[1]), (Ints{0, 12, 0}));
}

TEST_F(LightingTest, ButtonGridMakesItsEntriesColumnByColumn) {
    auto* grid = Keep(new CButtonGridCtl(window.get(), CZVRect(0, 0, 600, 100), 5, server, 1, 16));
    ASSERT_TRUE(PollUntil([&] { return grid->GetChildren().GetCount() == 3; }));
    std::vector<CZVWindow*> cells;
    for (ZVPOSITION pos = grid->GetChildren().GetHeadPosition(); pos;)
        cells.push_back(static_cast<CZVWindow*>(grid->GetChildren().GetNext(pos)));
    EXPECT_EQ(cells[1]->GetX(), cells[0]->GetX());
    EXPECT_GT(cells[1]->GetY(), cells[0]->GetY());
    EXPECT_GT(cells[2]->GetX(), cells[0]->GetX());
    EXPECT_EQ(cells[2]->GetY(), cells[0]->GetY());
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_GETBUTTONGRIDQ)[0]), (Ints{1}));
    // A grid entry is a gateway button.
    auto* entry = dynamic_cast<CGatewayButton*>(cells[0]);
    ASSERT_NE(entry, nullptr);
    entry->OnCommand(61);
    RoundTrip();
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_UI_BUTTONPRESS).back()), (Ints{0, 61}));
}

// ---- the lighting page

class LightingPageTest : public LightingTest {
protected:
    ~LightingPageTest() override { SetPageVariable(CLightingPage::kTabVariable, 0); }
    void ServeAreas(const std::vector<std::pair<int32_t, int32_t>>& areas) {
        samplegateway::PayloadWriter out;
        out.Int(static_cast<int32_t>(areas.size()));
        for (const auto& [id, flags] : areas) out.Int(id).String("Area").Int(flags);
        gateway.Answer(ZVM_LIGHTS_GETAREASQ, out);
    }
    CLightingPage* Page() { return Keep(new CLightingPage(window.get(), window->GetPageArea(), server)); }
    static CTabContainer* TabsOf(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }
};

TEST_F(LightingPageTest, TheRememberedTabIsHeldToTheAreas) {
    SetPageVariable(CLightingPage::kTabVariable, 7);
    CLightingPage* page = Page();
    EXPECT_EQ(GetPageVariable(CLightingPage::kTabVariable), 2);
    EXPECT_EQ(page->GetCurrentCommand(), CLightingPage::kFirstTab + 2);
    // The Landscape area is a gateway panel of the area.
    EXPECT_NE(dynamic_cast<CGatewayPanel*>(page->GetContent()), nullptr);
    EXPECT_EQ(TabsOf(page->GetTabControl())->GetSelectedIndex(), 2);
}

TEST_F(LightingPageTest, PanelFlagPicksAPanelElseAKeypad) {
    ServeAreas({{10, 0x01}, {12, 0x41}});
    CLightingPage* page = Page();
    auto* keypad = dynamic_cast<CKeypadCtl*>(page->GetContent());
    ASSERT_NE(keypad, nullptr);
    EXPECT_EQ(keypad->GetKeypadId(), 10);
    TabsOf(page->GetTabControl())->Select(1, 0);
    page->OnCommand(CLightingPage::kFirstTab + 1);
    EXPECT_NE(dynamic_cast<CGatewayPanel*>(page->GetContent()), nullptr);
}

TEST_F(LightingPageTest, SchedulesDeselectTheAreasUntilThePageShowsAgain) {
    CLightingPage* page = Page();
    CTabContainer* side = TabsOf(page->GetSideList());
    ASSERT_NE(side, nullptr);
    EXPECT_EQ(side->GetSelectedTab(), nullptr);
    side->Select(0, 0);
    page->OnCommand(CLightingPage::kSchedulesId);
    EXPECT_NE(dynamic_cast<CScheduleCommandsView*>(page->GetContent()), nullptr);
    EXPECT_EQ(TabsOf(page->GetTabControl())->GetSelectedTab(), nullptr);
    EXPECT_EQ(page->GetCurrentCommand(), CLightingPage::kSchedulesId);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(page), "lighting_schedules"));
    page->OnShow(1);
    EXPECT_NE(TabsOf(page->GetTabControl())->GetSelectedTab(), nullptr);
    EXPECT_NE(dynamic_cast<CKeypadCtl*>(page->GetContent()), nullptr);
    EXPECT_EQ(side->GetSelectedTab(), nullptr);
}

TEST_F(LightingPageTest, NoAreasRememberTheFirstTab) {
    ServeAreas({});
    SetPageVariable(CLightingPage::kTabVariable, 3);
    CLightingPage* page = Page();
    EXPECT_EQ(GetPageVariable(CLightingPage::kTabVariable), 0);
    EXPECT_TRUE(page->IsRebuildRequested());
    EXPECT_EQ(page->GetContent(), nullptr);
    EXPECT_EQ(page->GetCurrentCommand(), CLightingPage::kFirstTab);
}

// ---- scenes

class SceneTest : public LightingTest {
protected:
    CSceneButton* Button(int type, int id) {
        return Keep(new CSceneButton(window.get(), CZVRect(20, 20, 160, 80), server, "Evening", 0, 0, 0, type, id));
    }
    // Holds the button down for ms, stepping the idle every 5 ms; the flashes seen.
    int Hold(CSceneButton* button, uint32_t ms) {
        clock.Advance(1000);
        button->OnLButtonDown(button->ToRootX(5), button->ToRootY(5), 0);
        int flips = 0;
        for (uint32_t t = 0; t < ms; t += 5) {
            clock.Advance(5);
            const int before = button->GetFlashState();
            button->OnIdle(0);
            if (button->GetFlashState() != before) ++flips;
        }
        return flips;
    }
    void Release(CSceneButton* button) { button->OnLButtonUp(button->ToRootX(5), button->ToRootY(5), 0); }
};

TEST_F(SceneTest, AHeldSceneFlashesThenClicksOrOpensItsConfiguration) {
    CSceneButton* button = Button(CSceneButton::kSceneType, 30);
    const int flashes = Hold(button, 1200);
    // From 1000 ms on, one flash in more than 24 ms: at 1000, 1025, ... 1200 at most.
    EXPECT_GT(flashes, 4);
    EXPECT_LE(flashes, 9);
    Release(button);
    RoundTrip();
    ASSERT_EQ(gateway.RequestsOf(ZVM_SCENES_ACTIVATE).size(), 1u);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_SCENES_ACTIVATE)[0]), (Ints{30}));
    ASSERT_TRUE(PollUntil([&] { return button->GetCheck() == 1; }));
    Hold(button, 1600);
    EXPECT_NE(dynamic_cast<CSceneConfigPage*>(window->GetOverlayWindow()), nullptr);
    Release(button);
    RoundTrip();
    EXPECT_EQ(gateway.RequestsOf(ZVM_SCENES_ACTIVATE).size(), 1u);
    window->CloseOverlay();
}

TEST_F(SceneTest, StatesOfOtherScenesChangeNothing) {
    CSceneButton* button = Button(CSceneButton::kSceneType, 30);
    RoundTrip();
    Deliver(button, ZVM_LIGHTS_SCENECHANGED, {31, 1});
    EXPECT_EQ(button->GetCheck(), 0);
    Deliver(button, ZVM_LIGHTS_SCENECHANGED, {30, 1});
    EXPECT_EQ(button->GetCheck(), 1);
}

TEST_F(SceneTest, AKeypadItemPressesItsBoundButtonAndNeverFlashes) {
    CSceneButton* unbound = Button(CSceneButton::kKeypadItemType, 40);
    // Before its binding has come the item presses nothing and asks again.
    unbound->OnCommand(CSceneButton::kClickId);
    RoundTrip();
    EXPECT_TRUE(gateway.RequestsOf(ZVM_LIGHTS_KEYPADPRESS).empty());
    ASSERT_TRUE(PollUntil([&] { return unbound->GetKeypadId() == 10; }));
    EXPECT_GE(gateway.RequestsOf(ZVM_LIGHTS_GETBUTTONBINDINGQ).size(), 2u);
    EXPECT_EQ(Hold(unbound, 2000), 0);
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    Release(unbound);
    RoundTrip();
    ASSERT_EQ(gateway.RequestsOf(ZVM_LIGHTS_KEYPADPRESS).size(), 1u);
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_LIGHTS_KEYPADPRESS)[0]), (Ints{10, 1}));
    Deliver(unbound, ZVM_LIGHTS_KEYPADLEDSCHANGED, {6, 0, 1, 0, 0, 0, 0});
    EXPECT_EQ(unbound->GetCheck(), 1);
    Deliver(unbound, ZVM_LIGHTS_KEYPADLEDSCHANGED, {1, 0});
    EXPECT_EQ(unbound->GetCheck(), 1);
}

TEST_F(SceneTest, DeviceRowsSendLevelsAndRemovals) {
    auto* config = Keep(new CSceneConfigPage(window.get(), CZVRect(100, 0, 600, 600), server, 30));
    ASSERT_TRUE(PollUntil(
        [&] { return config->GetRows()->GetChildren().GetCount() == 3 && config->GetAllDevices()->GetCount() == 2; }));
    std::vector<CSceneDeviceRow*> rows;
    for (ZVPOSITION pos = config->GetRows()->GetChildren().GetHeadPosition(); pos;)
        if (auto* row =
                dynamic_cast<CSceneDeviceRow*>(static_cast<CZVWindow*>(config->GetRows()->GetChildren().GetNext(pos))))
            rows.push_back(row);
    ASSERT_EQ(rows.size(), 3u);
    ASSERT_NE(rows[0]->GetSlider(), nullptr);
    ASSERT_NE(rows[1]->GetRadio(), nullptr);
    ASSERT_NE(rows[2]->GetSlider(), nullptr);
    EXPECT_EQ(rows[1]->GetRadio()->GetSelection(), 0);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(config), "scene_config"));
    rows[0]->GetSlider()->SetPosition(0, 0);
    rows[0]->OnCommand(CSceneDeviceRow::kLevelId);
    EXPECT_STREQ(rows[0]->GetSlider()->GetText().GetAnsi(), "Off");
    rows[0]->GetSlider()->SetPosition(40, 0);
    rows[0]->OnCommand(CSceneDeviceRow::kLevelId);
    EXPECT_STREQ(rows[0]->GetSlider()->GetText().GetAnsi(), "40 %");
    rows[1]->GetRadio()->Select(1, 0);
    rows[1]->OnCommand(CSceneDeviceRow::kOnOffId);
    RoundTrip();
    std::vector<Ints> levels;
    for (const Frame& f : gateway.RequestsOf(ZVM_SCENES_SETDEVICELEVEL)) levels.push_back(IntsOf(f));
    EXPECT_EQ(levels, (std::vector<Ints>{{30, 0, 1}, {30, 0, 190}, {30, 1, 0}}));
    const size_t asked = gateway.RequestsOf(ZVM_SCENES_GETDEVICESQ).size();
    rows[1]->OnCommand(CSceneDeviceRow::kRemoveId);
    RoundTrip();
    EXPECT_EQ(IntsOf(gateway.RequestsOf(ZVM_SCENES_CLEAR)[0]), (Ints{30, 1}));
    ASSERT_TRUE(PollUntil([&] { return config->GetRows()->GetChildren().GetCount() == 2; }));
    EXPECT_EQ(gateway.RequestsOf(ZVM_SCENES_GETDEVICESQ).size(), asked + 1);
}

}  // namespace
