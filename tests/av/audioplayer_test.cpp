#include "av/audioplayer.h"

#include <gtest/gtest.h>

#include "av/soundclip.h"
#include "core/messages/mediamessages.h"
#include "null_wave.h"
#include "virtual_clock.h"

namespace {

class AudioPlayer : public ::testing::Test {
protected:
    AudioPlayer() {
        const platform::WaveFormat format{.formatTag = 1,
                                          .channels = 1,
                                          .samplesPerSec = 8000,
                                          .avgBytesPerSec = 16000,
                                          .blockAlign = 2,
                                          .bitsPerSample = 16};
        EXPECT_EQ(player.CWavDevice::Play(&format, 100), 1);
    }
    void Deliver(uint16_t id, int32_t count, const std::vector<uint8_t>& bytes) {
        CZVMSG message(0, id);
        message.WriteInt(count);
        message.WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        message.ResetPosition();
        player.OnMessage(&message);
        backend.CompleteAll();
    }

    testsupport::VirtualClock clock;
    testsupport::NullWaveBackend backend;
    CZVServer server{ZVVariant::Tablet};
    CGatewayAudioPlayer player{server};
};

TEST_F(AudioPlayer, IsTheOnePlayerAndTheClipsDevice) {
    EXPECT_EQ(g_audioplayer, &player);
    EXPECT_EQ(CSoundClip::GetDevice(), &player);
    EXPECT_EQ(player.GetZone(), CGatewayAudioPlayer::kNoZone);
    EXPECT_EQ(player.GetVolume(), 50);
}

TEST_F(AudioPlayer, StreamMessagesReachTheDeviceAsExactSamples) {
    const struct {
        uint16_t id;
        int32_t count;
        std::vector<uint8_t> bytes;
        std::vector<int16_t> played;
    } cases[] = {
        // Payloads are whole 4-byte words.
        {ZVM_AUDIO_STREAMULAW, 3, {0xFF, 0x80, 0x00, 0x00}, {0, 32124, -32124}},
        {ZVM_AUDIO_STREAMPCM, 4, {0x10, 0x00, 0xF0, 0xFF}, {16, -16}},
        {ZVM_AUDIO_STREAMPCM, 1000, {0x02, 0x00, 0x03, 0x00}, {2, 3}},  // counts past the payload
        {ZVM_AUDIO_STREAMULAW, 50, {0xFF, 0xFF, 0x80, 0xFF}, {0, 0, 32124, 0}},
        {ZVM_AUDIO_STREAMPCM, -7, {0x02, 0x00, 0x00, 0x00}, {}},
    };
    for (const auto& c : cases) {
        backend.ClearPlayed();
        Deliver(c.id, c.count, c.bytes);
        EXPECT_EQ(backend.PlayedSamples(), c.played) << c.id << " " << c.count;
    }
}

TEST_F(AudioPlayer, TheEndOfAStreamStopsAcceptingUntilTheNextPlay) {
    CZVMSG end(0, ZVM_AUDIO_STREAMEND);
    player.OnMessage(&end);
    Deliver(ZVM_AUDIO_STREAMPCM, 2, {1, 0});
    EXPECT_TRUE(backend.PlayedSamples().empty());
    clock.Advance(CWavDevice::kEndCloseMs + 1);
    player.Poll();
    EXPECT_FALSE(player.IsOutputOpen());
}

}  // namespace
