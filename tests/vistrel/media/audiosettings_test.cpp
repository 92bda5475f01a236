// The settings column of the audio zones page against the sample house: what
// each layout flag makes, the zone's subscription, the rocker's source
// commands and the level it brings back, and the "Settings" pop-up with the
// zone's gateway-defined layout.
#include "samplegateway/requestvalues.h"
#include "vistrel/media/audio/audiosettingswnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/zvquery.h"
#include "samplegateway/volumes.h"
#include "support/control_records.h"
#include "support/golden.h"
#include "vistrel/media/audio/amodewnd.h"
#include "vistrel/media/audio/auddata.h"
#include "vistrel/media/audio/audiocontrols.h"
#include "vistrel/media/audio/volumectl.h"
#include "vistrel/media/audio/volumewnd.h"
#include "vistrel/shell/customlayoutpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/overlay.h"

namespace {

using samplegateway::IntsOf;
using testsupport::Frame;
using Ints = std::vector<int32_t>;

constexpr int kFlagsLivingRoom =
    CAudioSettingsWnd::kRocker | CAudioSettingsWnd::kMuteButton | CAudioSettingsWnd::kSettingsLayout;

// Living Room's settings: a level control and a mode selector for its audio object 77.
testsupport::Bytes SettingsLayout() {
    testsupport::PayloadWriter out;
    out.Int(40).Int(1).String("Settings").Int(2);
    testsupport::ControlRecord level;
    level.type = kVolumeControlType;
    level.id = 77;
    level.text = "Bass";
    level.y = 500;
    level.width = 10000;
    level.height = 2000;
    testsupport::WriteControl(out, level);
    testsupport::ControlRecord modes = level;
    modes.type = kModeControlType;
    modes.text = "Mode";
    modes.y = 3000;
    modes.height = 4000;
    testsupport::WriteControl(out, modes);
    return testsupport::Bytes(out);
}

class AudioSettings : public vistreltest::ShellTest {
protected:
    AudioSettings() {
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
        RegisterAudioControls();
    }
    ~AudioSettings() override {
        if (column) {
            window->RemoveChild(column);
            delete column;
        }
    }
    void SetUp() override {
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        gateway.Answer(ZVM_LAYOUT_GETCUSTOMPAGESQ, SettingsLayout());
        Connect();
        ASSERT_TRUE(Settle());
        const CZVRect area = window->GetPageArea();
        column = new CAudioSettingsWnd(window.get(), CZVRect(area.x + area.w - 90, area.y + 10, 80, 400), server, 0);
        window->AddChild(column);
    }
    std::vector<Ints> Sent(uint16_t id) {
        std::vector<Ints> found;
        for (const Frame& frame : gateway.RequestsOf(id)) found.push_back(IntsOf(frame));
        return found;
    }
    void RoundTrip() {
        CZVQuery query(server);
        CZVMSG* answer = nullptr;
        ASSERT_TRUE(query.QueryAnswer1(&answer, ZVM_AUDIO_GETCONTROLQ, 0));
    }

    platform::HeadlessWindow screen{800, 600};
    CAudioZone livingRoom{1, "Living Room", 1, 40, 1};
    CAudioSettingsWnd* column = nullptr;
};

TEST_F(AudioSettings, WithoutAZoneOrForKindFourTheColumnStaysEmpty) {
    const struct {
        const CAudioZone* zone;
        int flags;
    } cases[] = {{nullptr, CAudioSettingsWnd::kNoZone},
                 {&livingRoom, CAudioSettingsWnd::kNoColumn},
                 {&livingRoom, CAudioSettingsWnd::kNoColumn | CAudioSettingsWnd::kSettingsLayout}};
    for (const auto& c : cases) {
        column->UpdateZone(c.zone, nullptr, c.flags, 1);
        EXPECT_EQ(column->GetChildren().GetCount(), 0) << c.flags;
        EXPECT_EQ(column->GetVolume(), nullptr);
    }
    RoundTrip();
    // Only the subscriptions went out: none for no zone, then one for zone 1 each time.
    EXPECT_EQ(Sent(ZVM_AUDIO_SUBSCRIBEZONE), (std::vector<Ints>{{1, column->GetId(), 0}, {1, column->GetId(), 0}}));
    EXPECT_EQ(Sent(ZVM_AUDIO_GETSETTINGSQ), (std::vector<Ints>{{1}, {1}}));
    EXPECT_EQ(Sent(ZVM_AUDIO_UNSUBSCRIBEZONE), (std::vector<Ints>{{1, column->GetId()}}));
    EXPECT_TRUE(Sent(ZVM_AUDIO_SETSETTING).empty());
    EXPECT_TRUE(Sent(ZVM_AUDIO_SOURCECOMMAND).empty());
}

// The rocker's presses go to the gateway, which ramps the level itself; the level it tells while
// the arrow is held shows at the release.
TEST_F(AudioSettings, TheRockerSendsSourceCommandsAndShowsTheGatewaysLevel) {
    column->UpdateZone(&livingRoom, nullptr, CAudioSettingsWnd::kRocker | CAudioSettingsWnd::kMuteButton, 1);
    CVolumeWnd* volume = column->GetVolume();
    ASSERT_NE(volume, nullptr);
    ASSERT_NE(volume->GetMuteButton(), nullptr);
    EXPECT_EQ(volume->GetBarPanel(), nullptr);
    ASSERT_TRUE(SettleUntil([&] { return volume->GetValue() == samplegateway::kStartZoneLevel; }));
    volume->OnCommand(CVolumeWnd::kUpPressed);
    RoundTrip();
    ASSERT_TRUE(Settle());
    EXPECT_EQ(volume->GetValue(), samplegateway::kStartZoneLevel + 1);
    volume->OnCommand(CVolumeWnd::kUpReleased);
    // The tap set 31, and the press moved it on by the gateway's step.
    EXPECT_EQ(volume->GetValue(), samplegateway::kStartZoneLevel + 1 + samplegateway::kRockerStep);
    RoundTrip();
    std::vector<Ints> commands = Sent(ZVM_AUDIO_SOURCECOMMAND);
    EXPECT_EQ(commands, (std::vector<Ints>{{1, 5015, 0, 0}, {1, 5017, 0, 0}}));
    // The tap's level went out too, with the mute state.
    EXPECT_EQ(Sent(ZVM_AUDIO_SETSETTING).front(), (Ints{1, samplegateway::kStartZoneLevel + 1, 0}));
    volume->OnCommand(CVolumeWnd::kDownPressed);
    volume->OnCommand(CVolumeWnd::kDownReleased);
    RoundTrip();
    commands = Sent(ZVM_AUDIO_SOURCECOMMAND);
    EXPECT_EQ(commands.back(), (Ints{1, 5018, 0, 0}));
    EXPECT_EQ(commands[commands.size() - 2], (Ints{1, 5016, 0, 0}));
}

TEST_F(AudioSettings, MuteGoesOutWithTheLevel) {
    column->UpdateZone(&livingRoom, nullptr, CAudioSettingsWnd::kMuteButton, 1);
    CVolumeWnd* volume = column->GetVolume();
    ASSERT_TRUE(SettleUntil([&] { return volume->GetValue() == samplegateway::kStartZoneLevel; }));
    CZVCheckButton* mute = volume->GetMuteButton();
    clock.Advance(1000);
    mute->OnLButtonDown(mute->ToRootX(5), mute->ToRootY(5), 0);
    mute->OnLButtonUp(mute->ToRootX(5), mute->ToRootY(5), 0);
    ASSERT_TRUE(SettleUntil([&] { return !Sent(ZVM_AUDIO_SETSETTING).empty(); }));
    EXPECT_EQ(Sent(ZVM_AUDIO_SETSETTING).front(), (Ints{1, samplegateway::kStartZoneLevel, 1}));
    ASSERT_TRUE(Settle());
    EXPECT_EQ(volume->IsMuted(), 1);
    EXPECT_STREQ(volume->GetBarPanel()->GetValueLabel()->GetText().GetAnsi(), "Mute");
}

TEST_F(AudioSettings, LivingRoomsColumnAndItsSettingsPopup) {
    column->UpdateZone(&livingRoom, nullptr, kFlagsLivingRoom, 1);
    ASSERT_NE(column->GetSettingsButton(), nullptr);
    EXPECT_STREQ(column->GetSettingsButton()->GetText().GetAnsi(), "Settings");
    ASSERT_TRUE(SettleUntil([&] { return column->GetVolume()->GetValue() == samplegateway::kStartZoneLevel; }));
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(column), "audio_settings_column"));

    ASSERT_NE(column->GetPopup(), nullptr);
    EXPECT_FALSE(column->GetPopup()->IsShown());
    ASSERT_NE(column->GetSettingsPage(), nullptr);
    EXPECT_EQ(column->GetSettingsPage()->GetPageCount(), 1);
    column->OnCommand(CAudioSettingsWnd::kSettingsId);
    EXPECT_TRUE(column->IsPopupShown());
    EXPECT_EQ(window->GetOverlayWindow(), column->GetPopup());
    std::vector<CAModeWnd*> modes;
    std::vector<CVolumeCtl*> levels;
    const auto find = [&](auto&& self, CZVWindow* w) -> void {
        if (auto* m = dynamic_cast<CAModeWnd*>(w)) modes.push_back(m);
        if (auto* l = dynamic_cast<CVolumeCtl*>(w)) levels.push_back(l);
        ForEachChild(w->GetChildren(), [&](CZVWindow* child) { self(self, child); });
    };
    find(find, column->GetPopup());
    ASSERT_EQ(modes.size(), 1u);
    ASSERT_EQ(levels.size(), 1u);
    ASSERT_TRUE(SettleUntil([&] { return modes[0]->GetModeCount() == 3 && levels[0]->GetSlider(); }));
    for (int i = 0; i < 10; ++i) {  // the overlay's darkening steps
        clock.Advance(50);
        window->OnIdle(0);
    }
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(window.get()), "audio_settings_popup"));

    // "Done" closes it.
    column->GetPopup()->OnCommand(kCommandPopupDone);
    EXPECT_FALSE(column->IsPopupShown());
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_FALSE(column->GetPopup()->IsShown());
    // A new zone drops the pop-up while it is open.
    column->OnCommand(CAudioSettingsWnd::kSettingsId);
    column->UpdateZone(nullptr, nullptr, CAudioSettingsWnd::kNoZone, 1);
    EXPECT_EQ(window->GetOverlayWindow(), nullptr);
    EXPECT_EQ(column->GetPopup(), nullptr);
}

TEST_F(AudioSettings, AnotherWindowsOverlayStaysOpen) {
    column->UpdateZone(&livingRoom, nullptr, kFlagsLivingRoom, 1);
    column->OnCommand(CAudioSettingsWnd::kSettingsId);
    auto* other = new CPopupWnd(window.get(), CZVRect(100, 100, 300, 300), 5);
    window->ShowOverlay(other, CZVRect(100, 100, 300, 300), 150, 150, 1, 0);
    column->ClosePopup();
    EXPECT_EQ(window->GetOverlayWindow(), other);
    window->CloseOverlay();
}

}  // namespace
