// The volume control: the ramp of a held arrow, gateway values that arrive
// while an arrow is held, the remote keys, the rocker form's forwarded
// presses, the Mute button and the text, the focus window, and the gauge.
#include "vistrel/media/audio/volumewnd.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/speed.h"
#include "support/golden.h"
#include "vistrel/media/video/pvideo.h"
#include "widgets/button_fixture.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/command_sink.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kCommand = 3000;

// A parent that also keeps the keys its child passes on.
class KeySink : public widgettest::CommandSink {
public:
    using CommandSink::CommandSink;
    void OnKeyDown(int code, int) override { keys.push_back(code); }
    std::vector<int> keys;
};

class VolumeTest : public widgettest::ButtonTest {
protected:
    CVolumeWnd* Make(int muteHeight = -1, int rocker = 0, int compact = 0, CZVRect rect = CZVRect(10, 10, 260, 90)) {
        auto* volume = new CVolumeWnd(sink, rect, 0, kCommand, 2, muteHeight, rocker, compact);
        sink->AddChild(volume);
        volume->Show(1, 1);
        return volume;
    }
    // The command ids that reached the parent.
    int Reports() const {
        int n = 0;
        for (int id : sink->commands) n += id == kCommand;
        return n;
    }
    // The arrow held t ms after its press, the timer stepped at that moment.
    void StepAt(CVolumeWnd* volume, uint32_t pressed, uint32_t t) {
        harness.Clock().Advance(pressed + t - harness.Clock().TickCount());
        volume->OnTimer();
    }
    static std::string LabelText(CVolumeWnd* volume) {
        return volume->GetBarPanel()->GetValueLabel()->GetText().GetAnsi();
    }

    KeySink* sink = new KeySink(&root, CZVRect(0, 0, 320, 240));
};

TEST(VolumeRamp, StepsFollowTheCurve) {
    const std::pair<uint32_t, int> cases[] = {{0, 0},     {249, 0},    {250, 1},      {500, 4},
                                              {1000, 13}, {1500, 27},  {2000, 45},    {2500, 65},
                                              {3000, 85}, {3375, 100}, {100000, 3965}};
    for (const auto& [t, s] : cases) EXPECT_EQ(VolumeRampStep(t), s) << t;
}

TEST_F(VolumeTest, HoldingUpRampsFromTheTapStepAndReportsEachChange) {
    CVolumeWnd* volume = Make();
    volume->SetValue(10, 0, 0);
    const uint32_t pressed = harness.Clock().TickCount();
    volume->OnCommand(CVolumeWnd::kUpPressed);
    EXPECT_EQ(volume->GetValue(), 11);
    EXPECT_EQ(Reports(), 1);
    EXPECT_EQ(g_videoThrottle, 1);
    EXPECT_EQ(volume->GetTimerInterval(), CVolumeWnd::kTimerMs);
    const std::pair<uint32_t, int> steps[] = {{249, 11},  {250, 12},   {500, 15},  {1000, 24},
                                              {2000, 56}, {3100, 100}, {4000, 100}};
    for (const auto& [t, value] : steps) {
        StepAt(volume, pressed, t);
        EXPECT_EQ(volume->GetValue(), value) << t;
    }
    EXPECT_EQ(Reports(), 6);  // the tap and five changes
    EXPECT_EQ(LabelText(volume), "Volume 100%");
    volume->OnCommand(CVolumeWnd::kUpReleased);
    EXPECT_EQ(g_videoThrottle, 0);
    EXPECT_EQ(volume->GetTimerInterval(), 0);
    EXPECT_EQ(Reports(), 6);
}

TEST_F(VolumeTest, HoldingDownAtZeroReportsOnce) {
    CVolumeWnd* volume = Make();
    const uint32_t pressed = harness.Clock().TickCount();
    volume->OnCommand(CVolumeWnd::kDownPressed);
    for (uint32_t t : {300u, 1000u, 3000u}) StepAt(volume, pressed, t);
    EXPECT_EQ(volume->GetValue(), 0);
    EXPECT_EQ(Reports(), 1);
    // Any key released ends the hold.
    volume->OnKeyUp('A', 0);
    EXPECT_EQ(volume->GetDirection(), -1);
    EXPECT_EQ(g_videoThrottle, 0);
}

// A gateway value that comes while an arrow is held waits for the release and is then shown with
// its own mute flag, a level of 0 included.
TEST_F(VolumeTest, AGatewayValueWhileHeldIsAppliedAtTheReleaseWithItsMuteFlag) {
    const struct { int value, muted; } cases[] = {{60, 0}, {0, 0}, {45, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        CVolumeWnd* volume = Make(30);
        volume->SetValue(20, 0, 1);
        volume->OnCommand(CVolumeWnd::kUpPressed);
        volume->SetValue(c.value, c.muted, 1);
        EXPECT_EQ(volume->GetValue(), 21);
        volume->OnCommand(CVolumeWnd::kUpReleased);
        EXPECT_EQ(volume->GetValue(), c.value);
        EXPECT_EQ(volume->IsMuted(), c.muted);
        EXPECT_EQ(LabelText(volume), c.muted ? std::string("Mute") : "Volume " + std::to_string(c.value) + "%");
        // Released once, nothing is left waiting.
        volume->OnCommand(CVolumeWnd::kDownPressed);
        volume->OnCommand(CVolumeWnd::kDownReleased);
        EXPECT_EQ(volume->GetValue(), std::max(c.value - 1, 0));
        sink->RemoveChild(volume);
        delete volume;
    }
}

TEST_F(VolumeTest, RemoteKeysMoveByFiveAndAreSwallowedAtTheEnd) {
    CVolumeWnd* volume = Make(30);
    volume->SetValue(98, 1, 1);
    volume->OnKeyDown(CVolumeWnd::kRemoteVolumeUp, 0);
    EXPECT_EQ(volume->GetValue(), 100);
    EXPECT_EQ(Reports(), 1);
    // The value text shows, the Mute button stays on.
    EXPECT_EQ(LabelText(volume), "Volume 100%");
    EXPECT_EQ(volume->IsMuted(), 1);
    volume->OnKeyDown(CVolumeWnd::kRemoteVolumeUp, 0);
    EXPECT_EQ(Reports(), 1);
    volume->OnKeyDown(CVolumeWnd::kRemoteVolumeDown, 0);
    volume->OnKeyDown('P', 0);
    EXPECT_EQ(volume->GetValue(), 95);
    EXPECT_EQ(sink->keys, (std::vector<int>{CVolumeWnd::kRemoteVolumeUp, CVolumeWnd::kRemoteVolumeDown, 'P'}));
}

TEST_F(VolumeTest, AnArrowPressClearsMute) {
    CVolumeWnd* volume = Make(30);
    volume->SetValue(40, 1, 1);
    EXPECT_EQ(LabelText(volume), "Mute");
    EXPECT_EQ(volume->GetBarPanel()->GetBar()->GetLevel(), 40);
    volume->OnCommand(CVolumeWnd::kDownPressed);
    volume->OnCommand(CVolumeWnd::kDownReleased);
    EXPECT_EQ(volume->IsMuted(), 0);
    EXPECT_EQ(LabelText(volume), "Volume 39%");
    // The Mute button reports the command id.
    volume->OnCommand(CVolumeWnd::kMuteClicked);
    EXPECT_EQ(Reports(), 2);
}

TEST_F(VolumeTest, TheRockerFormForwardsPressesAndReleases) {
    CVolumeWnd* volume = Make(-1, 1, 1, CZVRect(10, 10, 80, 200));
    volume->SetForwardCommands(8000, 8001, 8002, 8003);
    EXPECT_EQ(volume->GetBarPanel(), nullptr);
    volume->OnCommand(CVolumeWnd::kUpPressed);
    EXPECT_EQ(sink->commands, (std::vector<int>{kCommand, 8000}));
    // Held, the value changes silently.
    const uint32_t pressed = harness.Clock().TickCount();
    StepAt(volume, pressed, 1000);
    EXPECT_EQ(volume->GetValue(), 14);
    volume->OnCommand(CVolumeWnd::kUpReleased);
    EXPECT_EQ(sink->commands, (std::vector<int>{kCommand, 8000, 8001}));
    volume->OnCommand(CVolumeWnd::kDownPressed);
    volume->OnCommand(CVolumeWnd::kDownReleased);
    EXPECT_EQ(sink->commands, (std::vector<int>{kCommand, 8000, 8001, kCommand, 8002, 8003}));
    // Through the rocker's own segments.
    CRockerSwitchButton* up = volume->GetRocker()->GetSegment(1);
    harness.Clock().Advance(1000);
    harness.Tap(up->ToRootX(up->GetWidth() / 2), up->ToRootY(up->GetHeight() / 2));
    EXPECT_EQ(sink->commands.back(), 8001);
    EXPECT_EQ(volume->GetValue(), 14);
}

// A control hidden or going clears the focus window only while it holds it.
TEST_F(VolumeTest, OnlyTheFocusHolderLetsGoOfTheFocus) {
    CVolumeWnd* first = Make();
    EXPECT_EQ(root.GetFocusWindow(), first);
    CVolumeWnd* second = Make();
    EXPECT_EQ(root.GetFocusWindow(), second);
    first->Show(0, 1);
    EXPECT_EQ(root.GetFocusWindow(), second);
    sink->RemoveChild(first);
    delete first;
    EXPECT_EQ(root.GetFocusWindow(), second);
    second->Show(0, 1);
    EXPECT_EQ(root.GetFocusWindow(), nullptr);
    second->Show(1, 1);
    EXPECT_EQ(root.GetFocusWindow(), second);
}

TEST_F(VolumeTest, ACompactBarShowsTheValueAlone) {
    CVolumeWnd* volume = Make(-1, 0, 1, CZVRect(10, 10, 80, 200));
    volume->SetValue(130, 0, 1);
    EXPECT_EQ(volume->GetValue(), 100);
    EXPECT_EQ(LabelText(volume), "100%");
}

TEST_F(VolumeTest, TheBarAtNoneHalfAndFullAndMuted) {
    const struct { int value, muted; } rows[] = {{0, 0}, {50, 0}, {100, 0}, {50, 1}};
    for (CZVWindow* w : {static_cast<CZVWindow*>(&root), static_cast<CZVWindow*>(sink)})
        w->SetColors(MakeColor(200, 200, 190), MakeColor(200, 200, 190));
    int y = 4;
    for (const auto& row : rows) {
        CVolumeWnd* volume = Make(row.muted ? 24 : -1, 0, 0, CZVRect(4, y, 300, row.muted ? 70 : 46));
        volume->SetValue(row.value, row.muted, 1);
        y += volume->GetHeight() + 4;
    }
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "volume_bar"));
}

}  // namespace
