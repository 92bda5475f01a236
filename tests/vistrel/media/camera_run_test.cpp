// The whole tablet against the sample house with the cameras' home page, on the null sound
// system: after a few steps of the gateway's pacer the two video windows show camera 1's tiles
// and camera 3's MPEG-2 pictures, and the source the gateway announces after the login plays
// its chime into the sound system, and a button touched plays its click there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/messages/mediamessages.h"
#include "samplegateway/audiostreams.h"
#include "samplegateway/media.h"
#include "support/golden.h"
#include "support/null_wave.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/media/video/videownd.h"
#include "vistrel/shell_fixture.h"

namespace {

constexpr int kPacerSteps = 12;
constexpr uint32_t kPacerStepMs = 100;
constexpr uint32_t kScreenTickMs = 17;

testsupport::SampleInstallation CameraHome() {
    testsupport::SampleInstallation sample;
    sample.cameraHome = true;
    return sample;
}

void FindVideoWindows(CZVWindow* window, std::vector<CVideoWnd*>* found) {
    if (auto* video = dynamic_cast<CVideoWnd*>(window)) found->push_back(video);
    ForEachChild(window->GetChildren(), [found](CZVWindow* child) { FindVideoWindows(child, found); });
}

// The first samples played are the wanted ones at one volume: each within rounding of the wanted
// one times the ratio of the loudest of each.
void ExpectPlayedAtAVolume(const std::vector<int16_t>& played, const std::vector<int16_t>& wanted) {
    ASSERT_GE(played.size(), wanted.size());
    const auto loudest = [&wanted](const std::vector<int16_t>& samples) {
        int most = 0;
        for (size_t i = 0; i < wanted.size(); ++i) most = std::max(most, std::abs(int{samples[i]}));
        return most;
    };
    const double gain = double(loudest(played)) / loudest(wanted);
    ASSERT_GT(gain, 0.0);
    for (size_t i = 0; i < wanted.size(); i += 7) EXPECT_NEAR(played[i], wanted[i] * gain, 2.0) << i;
}

class CameraRun : public vistreltest::SampleHouseRun {
protected:
    CameraRun() : SampleHouseRun(CameraHome()) {
        RegisterMediaPages();
        CreateVideoRegistries();
    }
    ~CameraRun() override { DestroyVideoRegistries(); }

    testsupport::NullWaveBackend backend;
};

TEST_F(CameraRun, TheCamerasHomePageShowsBothCamerasAfterAFewPacerSteps) {
    enum Step { kWaitForHome, kPace, kWaitForPictures, kDone } step = kWaitForHome;
    int paced = 0;
    testsupport::Image565 cameras;
    std::vector<CVideoWnd*> windows;
    vistreltest::SettledRun settled;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = vistreltest::AnswersIn(gateway, server);
        switch (step) {
        case kWaitForHome:
            windows.clear();
            if (window.IsHomePageShown() && window.GetCurrentPage())
                FindVideoWindows(window.GetCurrentPage(), &windows);
            if (windows.size() != 2 || !settled.Check(window, gateway, server)) break;
            step = kPace;
            break;
        case kPace:
            // Each step once everything sent before is in and acknowledged.
            if (!answered) break;
            clock.Advance(kPacerStepMs);
            RunPacer();
            if (++paced == kPacerSteps) step = kWaitForPictures;
            break;
        case kWaitForPictures: {
            const bool drained = std::all_of(windows.begin(), windows.end(), [](CVideoWnd* video) {
                return video->GetStreamBuffer().GetFill() < CMpegDecoder::kFeedSize;
            });
            // The decoder takes a picture a tick of the screen, as the clock moves.
            if (!drained) clock.Advance(kScreenTickMs);
            if (!drained || !settled.Check(window, gateway, server)) break;
            cameras = Picture(window, host);
            step = kDone;
            break;
        }
        case kDone: break;
        }
        return step == kDone || pass == 5000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_GE(RequestsOf(ZVM_VIDEO_FRAMEACK), 8u);   // camera 1's tiles came and were taken
    EXPECT_TRUE(GatewaySaw(ZVM_VIDEO_BUFFERLEVEL));  // camera 3's pictures were decoded
    EXPECT_TRUE(testsupport::MatchesGolden(cameras, "vistrel_camera_home"));
}

TEST_F(CameraRun, TheSourceAnnouncedAfterTheLoginPlaysItsChime) {
    const std::vector<int16_t> chime = samplegateway::ChimeSamples();
    bool paced = false;
    vistreltest::SettledRun settled;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        if (!paced) {
            if (!settled.Check(window, gateway, server)) return pass == 5000;
            // The login is seen, then the announcement comes five seconds later.
            RunPacer();
            clock.Advance(samplegateway::kAnnouncementDelayMs);
            RunPacer();
            paced = true;
            return false;
        }
        if (vistreltest::AnswersIn(gateway, server) && GatewaySaw(ZVM_AUDIO_OPENSTREAMQ)) {
            clock.Advance(samplegateway::kChunkMs);
            RunPacer();
        }
        return backend.PlayedSamples().size() >= chime.size() || pass == 5000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ExpectPlayedAtAVolume(backend.PlayedSamples(), chime);
}

TEST_F(CameraRun, AButtonTouchedPlaysItsClick) {
    const samplegateway::Bytes file = samplegateway::ClipFile("click1.wav");
    std::vector<int16_t> click;
    for (size_t i = 44; i + 1 < file.size(); i += 2) click.push_back(static_cast<int16_t>(file[i] | file[i + 1] << 8));
    bool touched = false;
    vistreltest::SettledRun settled;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        if (!touched) {
            if (!settled.Check(window, gateway, server)) return pass == 5000;
            backend.ClearPlayed();
            Touch(MenuEntry(window, "Home"));
            touched = true;
            return false;
        }
        // The sound system plays as the clock moves.
        if (vistreltest::AnswersIn(gateway, server)) clock.Advance(10);
        return backend.PlayedSamples().size() >= click.size() || pass == 5000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    EXPECT_TRUE(GatewaySaw(ZVM_SOUND_GETCLIPQ));
    ExpectPlayedAtAVolume(backend.PlayedSamples(), click);
}

}  // namespace
