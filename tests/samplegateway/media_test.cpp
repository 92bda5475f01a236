// The sample house's clips: each name gets a WAV file that the tablet's
// clip parser takes as 16-bit mono at 11025 samples a second, with the
// sound that the name calls for.
#include "samplegateway/media.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "av/soundclip.h"
#include "core/zvserver.h"

namespace {

struct ClipCase {
    const char* name;
    int minMs;
    int maxMs;
};

TEST(SampleClips, EveryNameGivesAPlayableFileOfItsSound) {
    CZVServer server(ZVVariant::Tablet);
    const ClipCase cases[] = {
        {"click1.wav", 5, 20},     {"CLICK2.WAV", 5, 20},        {"bleep10.wav", 5, 20},
        {"connect.wav", 250, 320}, {"disconnect.wav", 250, 320}, {"chime.wav", 100, 200},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(c.name);
        const samplegateway::Bytes file = samplegateway::ClipFile(c.name);
        ASSERT_GE(file.size(), 44u);
        EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
        CSoundClip clip(server, c.name);
        clip.TakeFile(file.data(), static_cast<int32_t>(file.size()));
        ASSERT_TRUE(clip.IsPlayable());
        EXPECT_EQ(clip.GetFormat().samplesPerSec, 11025u);
        EXPECT_EQ(clip.GetFormat().channels, 1);
        EXPECT_EQ(clip.GetFormat().bitsPerSample, 16);
        EXPECT_EQ(clip.GetDataLength(), static_cast<int32_t>(file.size()) - 44);
        const int ms = clip.GetDataLength() / 2 * 1000 / 11025;
        EXPECT_GE(ms, c.minMs);
        EXPECT_LE(ms, c.maxMs);
    }
    // The two connection sounds are different tunes.
    EXPECT_NE(samplegateway::ClipFile("connect.wav"), samplegateway::ClipFile("disconnect.wav"));
}

}  // namespace
