#include "av/soundclip.h"

#include <gtest/gtest.h>

#include <cstring>

#include "av_fixture.h"
#include "core/messages/mediamessages.h"

namespace {

// A WAV file: RIFF header, a 16-byte fmt chunk, then `chunks` as given.
std::vector<uint8_t> WavFile(const platform::WaveFormat& format, const std::vector<uint8_t>& chunks) {
    std::vector<uint8_t> file{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0};
    uint8_t fmt[platform::WaveFormat::kWireSize];
    format.ToBytes(fmt);
    file.insert(file.end(), fmt, fmt + 16);
    file.insert(file.end(), chunks.begin(), chunks.end());
    return file;
}

std::vector<uint8_t> Chunk(const char* tag, uint32_t size, size_t present) {
    std::vector<uint8_t> chunk(tag, tag + 4);
    for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<uint8_t>(size >> (8 * i)));
    for (size_t i = 0; i < present; ++i) chunk.push_back(static_cast<uint8_t>(i));
    return chunk;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class SoundClipTest : public WaveFixture {
protected:
    CZVServer server{ZVVariant::Tablet};
    CWavDevice device;
    CSoundClip clip{server, "click1.wav"};

    void SetUp() override { CSoundClip::SetDevice(&device); }
    void TearDown() override { CSoundClip::SetDevice(nullptr); }
};

TEST_F(SoundClipTest, ParsesTheDataChunkWithinTheFile) {
    const std::vector<uint8_t> fact{'f', 'a', 'c', 't', 4, 0, 0, 0, 9, 9, 9, 9};
    const struct { const char* name; std::vector<uint8_t> file; int32_t length; } cases[] = {
        {"data at 36", WavFile(format, Chunk("data", 1000, 1000)), 1000},
        {"size past the end", WavFile(format, Chunk("data", 1000, 900)), 900},
        {"fact then data", WavFile(format, Concat(fact, Chunk("data", 6, 6))), 6},
        {"tag at 47", WavFile(format, Concat(std::vector<uint8_t>(11, 0), Chunk("data", 4, 4))), 4},
        {"tag past 47", WavFile(format, Concat(std::vector<uint8_t>(12, 0), Chunk("data", 4, 4))), 0},
        {"size 0", WavFile(format, Chunk("data", 0, 8)), 0},
        {"43 bytes", WavFile(format, Chunk("data", 4, 0)), 0},
        {"fact chunk cut short", WavFile(format, Concat(fact, std::vector<uint8_t>{'d', 'a', 't', 'a', 6})), 0},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> file = c.file;
        if (std::strcmp(c.name, "43 bytes") == 0) file.resize(43);
        clip.TakeFile(file.data(), static_cast<int32_t>(file.size()));
        EXPECT_EQ(clip.IsPlayable(), c.length > 0) << c.name;
        EXPECT_EQ(clip.GetDataLength(), c.length) << c.name;
    }
    EXPECT_EQ(clip.GetFormat().samplesPerSec, 11025u);
    EXPECT_EQ(clip.GetFormat().extraSize, 0);
}

TEST_F(SoundClipTest, PlaysItsSamplesAtTheClickVolumeAndCountsRequests) {
    EXPECT_EQ(clip.Play(0), 0);  // no answer yet
    const auto samples = Samples16({2000, -2000, 400});
    const auto file = WavFile(format, Concat(Chunk("data", 6, 0), samples));
    CZVMSG answer(clip.GetId(), ZVM_SOUND_GETCLIPA);
    answer.WriteBytes(file.data(), static_cast<int32_t>(file.size()));
    clip.OnMessage(&answer);
    EXPECT_FALSE(server.IsRegistered(&clip));
    ASSERT_EQ(clip.Play(0), 1);
    backend.CompleteAll();
    const std::vector<int16_t> expected{1000, -1000, 200};
    EXPECT_EQ(backend.PlayedSamples(), expected);
    EXPECT_EQ(clip.GetPlayRequests(), 2);
    // The device closes once the clip has played out.
    clock.Advance(2001);
    device.Poll();
    EXPECT_FALSE(device.IsOutputOpen());
    CSoundClip::SetDevice(nullptr);
    EXPECT_EQ(clip.Play(1), 0);
}

}  // namespace
