// The audio controls of gateway pages against the sample house: the level
// control's sends while a button is held or the slider moves, the mode
// selector's grid and gateway modes, the speaker selector, and the factory
// rows that make them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "av/audioplayer.h"
#include "core/messages/mediamessages.h"
#include "core/zvquery.h"
#include "samplegateway/requestvalues.h"
#include "support/golden.h"
#include "support/null_wave.h"
#include "vistrel/media/audio/amodewnd.h"
#include "vistrel/media/audio/audiocontrols.h"
#include "vistrel/media/audio/speakerctl.h"
#include "vistrel/media/audio/volumectl.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/gauges/slider.h"

namespace {

using samplegateway::IntsOf;
using testsupport::Frame;
using Ints = std::vector<int32_t>;

constexpr int32_t kObject = 77;  // Living Room's audio object in the sample house

class AudioControls : public vistreltest::ShellTest {
protected:
    AudioControls() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
        CreateVideoRegistries();
        RegisterAudioControls();
    }
    ~AudioControls() override {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) {
            window->RemoveChild(*it);
            delete *it;
        }
        DestroyVideoRegistries();
    }
    void SetUp() override {
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        Connect();
        ASSERT_TRUE(Settle());
    }
    template <class W>
    W* Keep(W* w) {
        window->AddChild(w);
        w->Show(1, 1);
        m_made.push_back(w);
        return w;
    }
    // A rectangle in the page area, clear of the menu.
    CZVRect InPage(int y, int w, int h) {
        const CZVRect area = window->GetPageArea();
        return CZVRect(area.x + 20, area.y + y, w, h);
    }
    CVolumeCtl* Level(int w = 300, int h = 60) {
        return Keep(new CVolumeCtl(window.get(), InPage(20, w, h), server, 0, "Treble", 0, 0, 0, kObject));
    }
    std::vector<Ints> Sent(uint16_t id) {
        std::vector<Ints> found;
        for (const Frame& frame : gateway.RequestsOf(id)) found.push_back(IntsOf(frame));
        return found;
    }
    // Everything sent before this has reached the gateway and been answered.
    void RoundTrip() {
        CZVQuery query(server);
        CZVMSG* answer = nullptr;
        ASSERT_TRUE(query.QueryAnswer1(&answer, ZVM_AUDIO_GETCONTROLQ, 0));
    }
    void Deliver(CSocketSink* sink, uint16_t id, const Ints& values) {
        CZVMSG message(0, id);
        for (int32_t value : values) message.WriteInt(value);
        message.ResetPosition();
        sink->OnMessage(&message);
    }

    platform::HeadlessWindow screen{800, 600};

private:
    std::vector<CZVWindow*> m_made;
};

// ---- the level control

TEST_F(AudioControls, LevelButtonsAreAsTallAsTheControlUpToAQuarterOfItsWidth) {
    const struct { int w, h, button; } cases[] = {{300, 60, 60}, {200, 90, 50}, {600, 120, 80}};
    for (const auto& c : cases) {
        CVolumeCtl* level = Level(c.w, c.h);
        EXPECT_EQ(level->GetMinus()->GetWidth(), c.button) << c.w;
        EXPECT_EQ(level->GetPlus()->GetWidth(), c.button) << c.w;
        EXPECT_EQ(level->GetPlus()->GetRight(), c.w - 1) << c.w;
    }
}

TEST_F(AudioControls, LevelShowsTheGatewaysValueAndPicture) {
    CVolumeCtl* level = Level();
    ASSERT_TRUE(SettleUntil([&] { return level->GetSlider()->GetLevel() == 40; }));
    EXPECT_EQ(Sent(ZVM_AUDIO_GETCONTROLQ).front(), (Ints{kObject}));
    // Another object's answer, and a pair of another level index, move nothing.
    Deliver(level, ZVM_AUDIO_CONTROLCHANGED, {78, 1, 0, 90});
    Deliver(level, ZVM_AUDIO_CONTROLCHANGED, {kObject, 1, 5, 90});
    EXPECT_EQ(level->GetSlider()->GetLevel(), 40);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(level), "audio_level_control"));
}

// Held for a second from 95, plus sends at most once every 100 ms and ends on 100.
TEST_F(AudioControls, AHeldButtonSendsAtMostEveryTenthOfASecondAndTheLastLevel) {
    CVolumeCtl* level = Level();
    ASSERT_TRUE(SettleUntil([&] { return level->GetSlider()->GetLevel() == 40; }));
    Deliver(level, ZVM_AUDIO_GETCONTROLA, {kObject, 1, 0, 95});
    clock.Advance(1000);
    std::vector<uint32_t> sentAt;
    for (uint32_t t = 0; t <= 1000; t += 20) {
        // What goes out goes in the step, at this tick; the round trip may move the clock on.
        const uint32_t now = clock.TickCount();
        level->OnChildCommand(CVolumeCtl::kPlusId, 1);
        level->OnIdle(0);
        RoundTrip();
        if (Sent(ZVM_AUDIO_SETCONTROL).size() > sentAt.size()) sentAt.push_back(now);
        clock.Advance(20);
    }
    ASSERT_FALSE(sentAt.empty());
    for (size_t i = 1; i < sentAt.size(); ++i) EXPECT_GT(sentAt[i] - sentAt[i - 1], CVolumeCtl::kSendGapMs);
    EXPECT_EQ(level->GetSlider()->GetLevel(), 100);
    // The last change goes out once, 250 ms after it.
    const size_t held = sentAt.size();
    clock.Advance(CVolumeCtl::kSettleMs + 1);
    level->OnIdle(0);
    level->OnIdle(0);
    RoundTrip();
    const std::vector<Ints> sent = Sent(ZVM_AUDIO_SETCONTROL);
    ASSERT_LE(sent.size(), held + 1);
    EXPECT_EQ(sent.back(), (Ints{kObject, 0, 100}));
}

TEST_F(AudioControls, ADraggedSliderSendsOnce250MsAfterItsLastMove) {
    CVolumeCtl* level = Level();
    ASSERT_TRUE(SettleUntil([&] { return level->GetSlider()->GetLevel() == 40; }));
    for (int value : {50, 60, 70}) {
        level->GetSlider()->SetPosition(value, 0);
        level->OnChildCommand(CVolumeCtl::kSliderId, 1);
        clock.Advance(100);
        level->OnIdle(0);
    }
    // An answer while the control is dirty does not move the slider.
    Deliver(level, ZVM_AUDIO_CONTROLCHANGED, {kObject, 1, 0, 10});
    EXPECT_EQ(level->GetSlider()->GetLevel(), 70);
    clock.Advance(150);
    level->OnIdle(0);
    RoundTrip();
    EXPECT_TRUE(Sent(ZVM_AUDIO_SETCONTROL).empty());
    clock.Advance(1);
    level->OnIdle(0);
    RoundTrip();
    EXPECT_EQ(Sent(ZVM_AUDIO_SETCONTROL), (std::vector<Ints>{{kObject, 0, 70}}));
    EXPECT_FALSE(level->IsDirty());
}

// ---- the mode selector

TEST(ModeGrid, ButtonsStayNearTenToOne) {
    const struct {
        int n, w, h;
        CModeGrid grid;
    } cases[] = {
        {3, 300, 100, {1, 3}},                           // 900: one column
        {4, 300, 100, {2, 2}},                           // 1200: two columns of two
        {5, 1000, 100, {3, 2}}, {2, 3000, 100, {2, 1}},  // never more columns than modes
        {0, 300, 100, {0, 0}},  {3, 300, 0, {3, 1}},     // no height: one row
    };
    for (const auto& c : cases) {
        const CModeGrid grid = ModeGridOf(c.n, c.w, c.h);
        EXPECT_EQ(grid.columns, c.grid.columns) << c.n << " " << c.w;
        EXPECT_EQ(grid.rows, c.grid.rows) << c.n << " " << c.w;
    }
}

TEST_F(AudioControls, ModesComeFromTheGatewayAndAChoiceIsSentAndShown) {
    auto* modes = Keep(new CAModeWnd(window.get(), InPage(20, 300, 120), server, 0, "Mode", 0, 0, 0, kObject));
    ASSERT_TRUE(SettleUntil([&] { return modes->GetModeCount() == 3 && modes->GetSelectedMode() == 0; }));
    EXPECT_EQ(Sent(ZVM_AUDIO_GETMODESQ).front(), (Ints{kObject, 0}));
    const char* names[] = {"Stereo", "Mono", "Party"};
    for (int k = 0; k < 3; ++k) {
        EXPECT_STREQ(modes->GetModeButton(k)->GetText().GetAnsi(), names[k]);
        EXPECT_EQ(modes->GetModeButton(k)->GetCommandId(), CAModeWnd::kFirstCommand + k);
        // One column: every button at the left.
        EXPECT_EQ(modes->GetModeButton(k)->GetX(), 0);
    }
    EXPECT_EQ(modes->GetModeButton(1)->GetLookSource(), modes->GetModeButton(0));
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(modes), "audio_mode_selector"));
    modes->OnChildCommand(CAModeWnd::kFirstCommand + 2, 1);
    EXPECT_EQ(modes->GetSelectedMode(), 2);
    RoundTrip();
    EXPECT_EQ(Sent(ZVM_AUDIO_SETCONTROL), (std::vector<Ints>{{kObject, 2, 2}}));
    // The gateway tells every sink; the choice stays.
    ASSERT_TRUE(SettleUntil([] { return true; }));
    EXPECT_EQ(modes->GetSelectedMode(), 2);
}

// A mode index that names no button clears them all.
TEST_F(AudioControls, AModeOutsideTheListClearsEveryButton) {
    auto* modes = Keep(new CAModeWnd(window.get(), InPage(20, 300, 120), server, 0, "Mode", 0, 0, 0, kObject));
    ASSERT_TRUE(SettleUntil([&] { return modes->GetModeCount() == 3 && modes->GetSelectedMode() == 0; }));
    for (int32_t index : {3, -1, 1000}) {
        Deliver(modes, ZVM_AUDIO_CONTROLCHANGED, {kObject, 1, 2, 1});
        EXPECT_EQ(modes->GetSelectedMode(), 1);
        Deliver(modes, ZVM_AUDIO_CONTROLCHANGED, {kObject, 1, 2, index});
        EXPECT_EQ(modes->GetSelectedMode(), -1) << index;
    }
    // Another group's list or another object's index changes nothing.
    Deliver(modes, ZVM_AUDIO_CONTROLCHANGED, {kObject, 1, 3, 1});
    Deliver(modes, ZVM_AUDIO_CONTROLCHANGED, {78, 1, 2, 1});
    EXPECT_EQ(modes->GetSelectedMode(), -1);
}

TEST_F(AudioControls, ASecondModeListReplacesTheButtons) {
    auto* modes = Keep(new CAModeWnd(window.get(), InPage(20, 300, 100), server, 0, "Mode", 0, 0, 0, kObject));
    ASSERT_TRUE(SettleUntil([&] { return modes->GetModeCount() == 3; }));
    CZVMSG message(0, ZVM_AUDIO_GETMODESA);
    message.WriteInt(kObject);
    message.WriteInt(0);
    message.WriteInt(4);
    for (const char* name : {"A", "B", "C", "D"}) message.WriteString(name);
    message.ResetPosition();
    modes->OnMessage(&message);
    ASSERT_EQ(modes->GetModeCount(), 4);
    EXPECT_EQ(modes->GetChildren().GetCount(), 4);
    // 4 modes at ratio 300: two columns, the first holding modes 0 and 1.
    EXPECT_EQ(modes->GetModeButton(1)->GetX(), 0);
    EXPECT_GT(modes->GetModeButton(2)->GetX(), 0);
    EXPECT_EQ(modes->GetModeButton(2)->GetY(), 0);
}

// ---- the speaker selector

TEST_F(AudioControls, SpeakerPositionsSetTheOutputAndSilenceOtherSources) {
    testsupport::NullWaveBackend backend;
    CGatewayAudioPlayer player{server};
    auto* first = Keep(new CSpeakerCtl(window.get(), 1, InPage(20, 240, 60)));
    auto* second = Keep(new CSpeakerCtl(window.get(), 2, InPage(100, 240, 60)));
    EXPECT_EQ(first->GetButton(0)->GetCheck(), 1);
    EXPECT_EQ(first->GetButton(3)->GetLookSource(), first->GetButton(0));
    second->OnCommand(CSpeakerCtl::kFirstCommand + 3);
    EXPECT_EQ(player.GetVolume(), 100);
    first->OnCommand(CSpeakerCtl::kFirstCommand + 2);
    EXPECT_EQ(player.GetVolume(), 67);
    for (int i = 0; i < CSpeakerCtl::kPositions; ++i) {
        EXPECT_EQ(first->GetButton(i)->GetCheck(), i == 2 ? 1 : 0) << i;
        EXPECT_EQ(second->GetButton(i)->GetCheck(), i == 0 ? 1 : 0) << i;
    }
    first->OnCommand(CSpeakerCtl::kFirstCommand);
    EXPECT_EQ(player.GetVolume(), 67);
    EXPECT_EQ(first->GetButton(0)->GetCheck(), 1);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(first), "audio_speaker_selector"));
}

// ---- the factory

TEST_F(AudioControls, TheFactoryMakesTheAudioControls) {
    const struct {
        int type;
        bool (*is)(CZVWindow*);
    } cases[] = {
        {kSpeakerControlType, [](CZVWindow* w) { return dynamic_cast<CSpeakerCtl*>(w) != nullptr; }},
        {kVolumeControlType, [](CZVWindow* w) { return dynamic_cast<CVolumeCtl*>(w) != nullptr; }},
        {kModeControlType, [](CZVWindow* w) { return dynamic_cast<CAModeWnd*>(w) != nullptr; }},
    };
    for (const auto& c : cases) {
        CPageControlDesc desc;
        desc.type = c.type;
        desc.id = kObject;
        CZVWindow* made = CreatePageControl(window.get(), window.get(), CZVRect(20, 20, 300, 80), desc, nullptr, 0);
        ASSERT_NE(made, nullptr) << c.type;
        EXPECT_TRUE(c.is(made)) << c.type;
        delete made;
    }
}

}  // namespace
