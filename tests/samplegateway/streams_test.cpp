// The sample house's streamed sounds and cameras, paced on the virtual clock: the
// announcements after a login, the chime as PCM and as mu-law chunks, the cameras' tiles,
// pictures and MPEG-2 chunks with their acknowledgement and buffer limits, the camera's tone,
// the late answers to camera moves and the album views' turn to the next picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "av/mulaw.h"
#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "gfx/jpegdecode.h"
#include "keeping_sink.h"
#include "samplegateway/audiostreams.h"
#include "samplegateway/cameras.h"
#include "samplegateway/cameravideo.h"
#include "samplegateway/pacer.h"
#include "samplegateway/pictureviews.h"
#include "support/gateway_session.h"

namespace {

using samplegateway::Bytes;
using samplegatewaytest::KeepingSink;
using samplegatewaytest::Received;

int32_t IntAt(const Bytes& payload, size_t offset) {
    int32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | payload[offset + static_cast<size_t>(i)];
    return value;
}

class SampleStreams : public testsupport::GatewaySession {
protected:
    SampleStreams() {
        samplegateway::ServeAudioStreams(gateway.Engine(), *pacer);
        samplegateway::ServeCameras(gateway.Engine(), *pacer);
        samplegateway::ServePictureViews(gateway.Engine(), *pacer);
    }
    // Runs the pacer at start + ms and takes in what it sent.
    void RunAt(uint32_t ms) {
        pacer->Run(start + ms);
        Drain();
    }
    // Takes in everything the gateway has sent or answered so far.
    void Drain() {
        ASSERT_TRUE(testsupport::PollAllUntil(server, [this] {
            return !gateway.Owes() && !testsupport::AnswersWaiting(server) && !testsupport::RequestsOnTheirWay(server);
        }));
    }
    void Send(uint16_t id, std::vector<int32_t> values, uint16_t sender) {
        CZVMSG message(sender, id);
        for (int32_t value : values) message.WriteInt(value);
        ASSERT_TRUE(server.Send(&message));
        ASSERT_TRUE(gateway.WaitForRequest(id));
        Drain();
    }

    std::shared_ptr<samplegateway::Pacer> pacer = std::make_shared<samplegateway::Pacer>();
    uint32_t start = 100000;
    KeepingSink main{server};
    KeepingSink window{server};
};

TEST_F(SampleStreams, SourcesAreAnnouncedFiveAndTenSecondsAfterTheLogin) {
    Connect();
    RunAt(0);  // the login is seen
    RunAt(4999);
    EXPECT_TRUE(main.Of(ZVM_AUDIO_PLAYSOURCE).empty());
    RunAt(5000);
    RunAt(9999);
    ASSERT_EQ(main.Of(ZVM_AUDIO_PLAYSOURCE).size(), 1u);
    EXPECT_EQ(IntAt(main.Of(ZVM_AUDIO_PLAYSOURCE)[0].payload, 0), samplegateway::kAnnouncedPcmSource);
    RunAt(10000);
    RunAt(60000);
    ASSERT_EQ(main.Of(ZVM_AUDIO_PLAYSOURCE).size(), 2u);
    EXPECT_EQ(IntAt(main.Of(ZVM_AUDIO_PLAYSOURCE)[1].payload, 0), samplegateway::kAnnouncedMuLawSource);
}

TEST_F(SampleStreams, EachSourcePlaysTheChimeInChunksEvery40MsThenEnds) {
    const std::vector<int16_t> chime = samplegateway::ChimeSamples();
    ASSERT_EQ(chime.size(), 22049u);  // two seconds
    struct Case {
        int32_t source;
        uint16_t chunk_id;
        size_t chunk_bytes;
    } cases[] = {{900, ZVM_AUDIO_STREAMPCM, 882}, {901, ZVM_AUDIO_STREAMULAW, 441}};
    Connect();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        main.received.clear();
        window.received.clear();
        RunAt(20000);
        Send(ZVM_AUDIO_OPENSTREAMQ, {c.source, window.GetId()}, main.GetId());
        ASSERT_EQ(main.Of(ZVM_AUDIO_OPENSTREAMA).size(), 1u);
        EXPECT_EQ(main.Of(ZVM_AUDIO_OPENSTREAMA)[0].payload, samplegateway::StreamFormat());
        RunAt(20000);  // the first chunk at once
        RunAt(20000 + 39);
        EXPECT_EQ(window.Of(c.chunk_id).size(), 1u);
        RunAt(20000 + 40);
        EXPECT_EQ(window.Of(c.chunk_id).size(), 2u);
        RunAt(22000);
        const std::vector<Received> chunks = window.Of(c.chunk_id);
        ASSERT_EQ(chunks.size(), 50u);
        std::vector<int16_t> samples;
        for (const Received& chunk : chunks) {
            const int32_t count = IntAt(chunk.payload, 0);
            ASSERT_LE(count, static_cast<int32_t>(c.chunk_bytes));
            if (&chunk != &chunks.back()) EXPECT_EQ(count, static_cast<int32_t>(c.chunk_bytes));
            for (int32_t i = 0; i < count; i += c.chunk_id == ZVM_AUDIO_STREAMPCM ? 2 : 1) {
                const uint8_t* at = &chunk.payload[4 + static_cast<size_t>(i)];
                samples.push_back(c.chunk_id == ZVM_AUDIO_STREAMPCM ? static_cast<int16_t>(at[0] | at[1] << 8)
                                                                    : DecodeMuLaw(at[0]));
            }
        }
        ASSERT_EQ(samples.size(), chime.size());
        for (size_t i = 0; i < chime.size(); ++i) {
            const int16_t wanted = c.chunk_id == ZVM_AUDIO_STREAMPCM ? chime[i] : DecodeMuLaw(EncodeMuLaw(chime[i]));
            ASSERT_EQ(samples[i], wanted) << i;
        }
        EXPECT_EQ(window.Of(ZVM_AUDIO_STREAMEND).size(), 1u);
        start += 10000;
    }
}

TEST_F(SampleStreams, AStoppedStreamSendsNothingMore) {
    Connect();
    Send(ZVM_AUDIO_OPENSTREAMQ, {900, window.GetId()}, main.GetId());
    RunAt(0);
    RunAt(100);
    const size_t sent = window.Of(ZVM_AUDIO_STREAMPCM).size();
    EXPECT_EQ(sent, 3u);  // at 0, 40 and 80 ms
    Send(ZVM_AUDIO_STOPSTREAM, {}, main.GetId());
    RunAt(5000);
    EXPECT_EQ(window.Of(ZVM_AUDIO_STREAMPCM).size(), sent);
    EXPECT_TRUE(window.Of(ZVM_AUDIO_STREAMEND).empty());
}

TEST_F(SampleStreams, TiledCameraSendsFourTilesAPictureAndWaitsForAcknowledgements) {
    Connect();
    RunAt(0);
    Send(ZVM_VIDEO_STARTSTREAMQ, {samplegateway::kTiledCamera, window.GetId(), 320, 240, 7}, window.GetId());
    ASSERT_EQ(window.Of(ZVM_VIDEO_STARTSTREAMA).size(), 1u);
    EXPECT_EQ(IntAt(window.Of(ZVM_VIDEO_STARTSTREAMA)[0].payload, 0), samplegateway::kZoomRectCapability);
    RunAt(0);
    const std::vector<Received> tiles = window.Of(ZVM_VIDEO_TILE);
    ASSERT_EQ(tiles.size(), 4u);
    int area = 0;
    for (const Received& tile : tiles) {
        // quality, scale, frame, x, y, w, h, flags, then the JPEG of the tile's size.
        EXPECT_EQ(IntAt(tile.payload, 0), 1);
        EXPECT_EQ(IntAt(tile.payload, 4), 1);
        const int w = IntAt(tile.payload, 20), h = IntAt(tile.payload, 24);
        int jw = 0, jh = 0;
        ASSERT_TRUE(ReadJpegSize(&tile.payload[32], tile.payload.size() - 32, &jw, &jh));
        EXPECT_EQ(jw, w);
        EXPECT_EQ(jh, h);
        area += w * h;
    }
    EXPECT_EQ(area, 320 * 240);
    RunAt(100);
    RunAt(250);  // two pictures wait for their acknowledgement: the third is left out
    EXPECT_EQ(window.Of(ZVM_VIDEO_TILE).size(), 8u);
    for (int i = 0; i < 4; ++i) Send(ZVM_VIDEO_FRAMEACK, {1000}, window.GetId());
    RunAt(300);
    EXPECT_EQ(window.Of(ZVM_VIDEO_TILE).size(), 12u);
    Send(ZVM_VIDEO_STOPSTREAMQ, {samplegateway::kTiledCamera, window.GetId()}, window.GetId());
    EXPECT_EQ(window.Of(ZVM_VIDEO_STOPSTREAMA).size(), 1u);
    for (int i = 0; i < 8; ++i) Send(ZVM_VIDEO_FRAMEACK, {1000}, window.GetId());
    RunAt(1000);
    EXPECT_EQ(window.Of(ZVM_VIDEO_TILE).size(), 12u);
}

TEST_F(SampleStreams, PictureCameraSendsTenPicturesASecondEveryTenthTurned) {
    Connect();
    RunAt(0);
    Send(ZVM_VIDEO_STARTSTREAMQ, {samplegateway::kJpegCamera, window.GetId(), 176, 144, 7}, window.GetId());
    for (uint32_t ms = 0; ms < 1000; ms += 100) {
        RunAt(ms);
        Send(ZVM_VIDEO_FRAMEACK, {1000}, window.GetId());
    }
    ASSERT_EQ(window.Of(ZVM_VIDEO_FRAME).size(), 9u);
    ASSERT_EQ(window.Of(ZVM_VIDEO_FRAMEFLIPPED).size(), 1u);
    int w = 0, h = 0;
    const Bytes turned = window.Of(ZVM_VIDEO_FRAMEFLIPPED)[0].payload;
    ASSERT_TRUE(ReadJpegSize(turned.data(), turned.size(), &w, &h));
    EXPECT_EQ(w, 176);
    EXPECT_EQ(h, 144);
}

TEST_F(SampleStreams, MpegCameraLoopsTheFileInChunksAndPausesWhileTheBufferIsFull) {
    const std::span<const uint8_t> file = samplegateway::CameraVideo352x240();
    Connect();
    RunAt(0);
    Send(ZVM_VIDEO_STARTSTREAMQ, {samplegateway::kMpegCamera, window.GetId(), 352, 240, 7}, window.GetId());
    EXPECT_EQ(IntAt(window.Of(ZVM_VIDEO_STARTSTREAMA)[0].payload, 0), 0);
    RunAt(0);
    // The whole file and a little more in two seconds and a half, at the file's own rate.
    RunAt(2500);
    const std::vector<Received> chunks = window.Of(ZVM_VIDEO_MPEGDATA);
    const size_t perLoop = (file.size() + samplegateway::kMpegChunkSize - 1) / samplegateway::kMpegChunkSize;
    ASSERT_GT(chunks.size(), perLoop);
    ASSERT_LT(chunks.size(), perLoop * 3 / 2);
    Bytes loop;
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(IntAt(chunks[i].payload, 0), i == 0 ? 1 : 0);  // the first chunk resets
        const int32_t length = IntAt(chunks[i].payload, 4);
        EXPECT_LE(length, samplegateway::kMpegChunkSize);
        if (i < perLoop)
            loop.insert(loop.end(), chunks[i].payload.begin() + 12, chunks[i].payload.begin() + 12 + length);
    }
    EXPECT_EQ(loop, Bytes(file.begin(), file.end()));
    Send(ZVM_VIDEO_BUFFERLEVEL, {samplegateway::kMpegPauseLevel + 1}, window.GetId());
    RunAt(5000);
    EXPECT_EQ(window.Of(ZVM_VIDEO_MPEGDATA).size(), chunks.size());
    Send(ZVM_VIDEO_BUFFERLEVEL, {samplegateway::kMpegPauseLevel}, window.GetId());
    RunAt(5500);
    EXPECT_GT(window.Of(ZVM_VIDEO_MPEGDATA).size(), chunks.size());
}

TEST_F(SampleStreams, CameraSoundIsAToneUntilStoppedAndMovesAreAnsweredLate) {
    Connect();
    RunAt(0);
    Send(ZVM_VIDEO_STARTAUDIOQ, {samplegateway::kTiledCamera, main.GetId()}, window.GetId());
    ASSERT_EQ(window.Of(ZVM_VIDEO_STARTAUDIOA).size(), 1u);
    EXPECT_EQ(window.Of(ZVM_VIDEO_STARTAUDIOA)[0].payload, samplegateway::StreamFormat());
    RunAt(0);
    RunAt(3000);  // past the tone's second: it loops
    EXPECT_EQ(main.Of(ZVM_AUDIO_STREAMPCM).size(), 76u);
    Send(ZVM_VIDEO_STOPAUDIO, {samplegateway::kTiledCamera, main.GetId()}, window.GetId());
    RunAt(4000);
    EXPECT_EQ(main.Of(ZVM_AUDIO_STREAMPCM).size(), 76u);

    Send(ZVM_VIDEO_CAMERALEFTQ, {samplegateway::kTiledCamera}, window.GetId());
    RunAt(4000);  // seen
    RunAt(4299);
    EXPECT_TRUE(window.Of(ZVM_VIDEO_CAMERALEFTA).empty());
    RunAt(4300);
    EXPECT_EQ(window.Of(ZVM_VIDEO_CAMERALEFTA).size(), 1u);
}

TEST_F(SampleStreams, AnAlbumViewIsToldOfItsNextPictureEveryTenSeconds) {
    Connect();
    const uint16_t view = window.GetId();
    auto ask = [&] {
        Send(ZVM_PICTURES_GETALBUMPICTUREQ, {view, 2, 64, 48}, view);
        return window.Of(ZVM_PICTURES_PICTURE).back().payload;
    };
    const Bytes first = ask();
    RunAt(0);
    RunAt(9999);
    EXPECT_TRUE(window.Of(ZVM_PICTURES_NEXTPICTURE).empty());
    EXPECT_EQ(ask(), first);
    RunAt(10000);
    EXPECT_EQ(window.Of(ZVM_PICTURES_NEXTPICTURE).size(), 1u);
    const Bytes second = ask();
    EXPECT_NE(second, first);
    RunAt(20000);
    EXPECT_EQ(window.Of(ZVM_PICTURES_NEXTPICTURE).size(), 2u);
    EXPECT_NE(ask(), second);
}

}  // namespace
