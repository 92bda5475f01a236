// The video pictures below the window: the MPEG-2 stream buffer, the tile
// geometry and decoding into a back buffer, the chunk header, the scaling
// tables, the half turn, and the decoder fed with noise and with the sample cameras' MPEG-2
// files.
#include <gtest/gtest.h>

#include <cstring>
#include <span>
#include <vector>

#include "av/framescaler.h"
#include "av/mpegdecoder.h"
#include "av/videostreambuffer.h"
#include "av/videotile.h"
#include "core/zvmsg.h"
#include "gfx/picture_files.h"
#include "samplegateway/cameravideo.h"
#include "support/assert_counter.h"
#include "virtual_clock.h"

namespace {

// A message whose payload is the ints followed by the bytes, read from the start.
std::unique_ptr<CZVMSG> Message(std::initializer_list<int32_t> ints, const std::vector<uint8_t>& bytes = {}) {
    auto message = std::make_unique<CZVMSG>(0, 0x1770);
    for (int32_t v : ints) message->WriteInt(v);
    if (!bytes.empty()) message->WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    message->ResetPosition();
    return message;
}

// A flat JPEG of one colour.
std::vector<uint8_t> FlatJpeg(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    pictures::JpegSpec spec;
    spec.width = w;
    spec.height = h;
    for (int i = 0; i < w * h; ++i) spec.samples.insert(spec.samples.end(), {r, g, b});
    return pictures::MakeJpeg(spec);
}

TEST(VideoStreamBuffer, HoldsUpToItsCapacityAndDropsFromTheFront) {
    testsupport::VirtualClock clock(5000);
    testsupport::AssertCounter asserts;
    CVideoStreamBuffer buffer;
    buffer.Reset();
    EXPECT_EQ(buffer.GetResetTick(), 5000u);
    std::vector<uint8_t> bytes(CVideoStreamBuffer::kCapacity - 1);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    ASSERT_EQ(buffer.Append(bytes.data(), static_cast<int>(bytes.size())), 1);
    const uint8_t two[2] = {1, 2};
    EXPECT_EQ(buffer.Append(two, 2), 0);  // one byte too many: nothing added
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(buffer.Append(two, 1), 1);
    EXPECT_EQ(buffer.GetFill(), CVideoStreamBuffer::kCapacity);

    buffer.SetPending(300);
    buffer.ConsumePending();
    EXPECT_EQ(buffer.GetFill(), CVideoStreamBuffer::kCapacity - 300);
    EXPECT_EQ(buffer.GetData()[0], static_cast<uint8_t>(300));
    EXPECT_EQ(buffer.GetConsumed(), 300);
    EXPECT_EQ(buffer.GetPending(), 0);

    buffer.Consume(CVideoStreamBuffer::kCapacity);  // beyond the fill: cut to it
    EXPECT_EQ(buffer.GetFill(), 0);
    EXPECT_EQ(asserts.Count(), 2);
    ASSERT_EQ(buffer.Append(two, 2), 1);
    buffer.Consume(-1);  // negative: empties
    EXPECT_EQ(buffer.GetFill(), 0);
    EXPECT_EQ(asserts.Count(), 3);
}

struct Placement {
    const char* name;
    CVideoTile tile;
    int placed;
    CZVRect rect;
    int scale;
};

TEST(VideoTile, PlacesTilesInsideTheBufferOnly) {
    auto tile = [](int scale, int x, int y, int w, int h, int flags) {
        CVideoTile t;
        t.scale = scale;
        t.x = x;
        t.y = y;
        t.w = w;
        t.h = h;
        t.flags = flags;
        return t;
    };
    const Placement cases[] = {
        {"plain", tile(1, 10, 20, 16, 8, 0), 1, CZVRect(10, 20, 16, 8), 1},
        {"scaled", tile(2, 5, 5, 8, 8, 0), 1, CZVRect(10, 10, 16, 16), 2},
        {"turned at the far corner", tile(2, 0, 0, 10, 10, 1), 1, CZVRect(300, 220, 20, 20), -2},
        {"ends on the edge", tile(1, 300, 220, 20, 20, 0), 1, CZVRect(300, 220, 20, 20), 1},
        {"one past the right", tile(1, 301, 0, 20, 20, 0), 0, CZVRect(), 0},
        {"one past the bottom", tile(1, 0, 221, 20, 20, 0), 0, CZVRect(), 0},
        {"negative", tile(1, -1, 0, 20, 20, 0), 0, CZVRect(), 0},
        {"scale 0", tile(0, 0, 0, 20, 20, 0), 0, CZVRect(), 0},
        {"negative scale", tile(-2, 0, 0, 20, 20, 0), 0, CZVRect(), 0},
        {"empty", tile(1, 0, 0, 0, 20, 0), 0, CZVRect(), 0},
        {"products beyond 32 bits", tile(65536, 65536, 0, 1, 1, 0), 0, CZVRect(), 0},
        {"sum wraps", tile(1, 0x7FFFFFF0, 0, 0x20, 1, 0), 0, CZVRect(), 0},
    };
    for (const Placement& c : cases) {
        SCOPED_TRACE(c.name);
        CZVRect rect;
        int scale = 0;
        ASSERT_EQ(PlaceVideoTile(c.tile, 320, 240, 320, 240, &rect, &scale), c.placed);
        if (!c.placed) continue;
        EXPECT_EQ(rect, c.rect);
        EXPECT_EQ(scale, c.scale);
    }
}

TEST(VideoTile, DecodesATurnedEnlargedTileIntoItsCornerOnly) {
    std::vector<uint16_t> buffer(320 * 240, 0x1234);
    const auto message = Message({2, 2, 77, 0, 0, 10, 10, 1}, FlatJpeg(10, 10, 255, 0, 0));
    CVideoTile tile;
    ASSERT_EQ(ReadVideoTile(message.get(), &tile), 1);
    EXPECT_EQ(tile.quality, 2);
    CZVRect rect;
    int scale = 0;
    ASSERT_EQ(PlaceVideoTile(tile, 320, 240, 320, 240, &rect, &scale), 1);
    ASSERT_EQ(DecodeVideoTile(tile, rect, scale, buffer.data(), 320, 240), 1);
    EXPECT_EQ(buffer[220 * 320 + 300] & 0xF800, 0xF800);  // red
    EXPECT_EQ(buffer[239 * 320 + 319] & 0xF800, 0xF800);
    EXPECT_EQ(buffer[219 * 320 + 300], 0x1234);
    EXPECT_EQ(buffer[220 * 320 + 299], 0x1234);
}

TEST(VideoTile, RefusesAJpegOtherThanItsDeclaredSize) {
    std::vector<uint16_t> buffer(64 * 64, 0x1234);
    // Declared 8 x 8 at (56, 56); the JPEG is 16 x 16 and would run past
    // the buffer's right and bottom edges.
    const auto message = Message({0, 1, 0, 56, 56, 8, 8, 0}, FlatJpeg(16, 16, 0, 255, 0));
    CVideoTile tile;
    ASSERT_EQ(ReadVideoTile(message.get(), &tile), 1);
    CZVRect rect;
    int scale = 0;
    ASSERT_EQ(PlaceVideoTile(tile, 64, 64, 64, 64, &rect, &scale), 1);
    EXPECT_EQ(DecodeVideoTile(tile, rect, scale, buffer.data(), 64, 64), 0);
    for (uint16_t pixel : buffer) ASSERT_EQ(pixel, 0x1234);
    // Smaller than declared is refused as well: the rest would keep stale pixels.
    const auto small = Message({0, 1, 0, 0, 0, 32, 32, 0}, FlatJpeg(16, 16, 0, 255, 0));
    ASSERT_EQ(ReadVideoTile(small.get(), &tile), 1);
    ASSERT_EQ(PlaceVideoTile(tile, 64, 64, 64, 64, &rect, &scale), 1);
    EXPECT_EQ(DecodeVideoTile(tile, rect, scale, buffer.data(), 64, 64), 0);
}

TEST(VideoTile, AMissingHeaderFieldDropsTheTile) {
    CVideoTile tile;
    EXPECT_EQ(ReadVideoTile(Message({0, 1, 0, 0, 0, 8, 8}).get(), &tile), 0);
}

TEST(MpegChunk, LengthIsCutToThePayloadAndANegativeOneDropsTheChunk) {
    CMpegChunk chunk;
    ASSERT_EQ(ReadMpegChunk(Message({1, 5000, 0x201}, std::vector<uint8_t>(100, 7)).get(), &chunk), 1);
    EXPECT_EQ(chunk.reset, 1);
    EXPECT_EQ(chunk.size, 100);
    EXPECT_EQ(chunk.flags >> 8, 2);
    EXPECT_EQ(chunk.flags & CMpegChunk::kFlagDropB, 1);
    ASSERT_EQ(ReadMpegChunk(Message({0, 3}).get(), &chunk), 1);  // missing flags read as 0
    EXPECT_EQ(chunk.flags, 0);
    EXPECT_EQ(chunk.size, 0);
    EXPECT_EQ(ReadMpegChunk(Message({0, -1, 0}, std::vector<uint8_t>(10, 7)).get(), &chunk), 0);
}

TEST(FrameScaler, SamplesNearestPixelsAndCopiesRepeatedRows) {
    // A 4 x 2 source into 8 x 5: columns 0 0 1 1 2 2 3 3, rows 0 0 0 1 1.
    const uint16_t src[] = {1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 0, 0};  // stride 6
    std::vector<uint16_t> dst(10 * 5, 0xFFFF);                    // stride 10
    CFrameScaler scaler;
    scaler.Scale(src, 4, 2, 6, dst.data(), 8, 5, 10);
    const uint16_t first[] = {1, 1, 2, 2, 3, 3, 4, 4};
    const uint16_t last[] = {5, 5, 6, 6, 7, 7, 8, 8};
    for (int j = 0; j < 5; ++j)
        EXPECT_EQ(std::memcmp(&dst[j * 10], j < 3 ? first : last, sizeof first), 0) << "row " << j;
    EXPECT_EQ(dst[8], 0xFFFF);  // beyond the width of the destination
    EXPECT_EQ(scaler.GetRowOffset(4), 6);
    EXPECT_EQ(scaler.GetColumn(7), 3);
    // Shrinking never samples past the source's last pixel.
    scaler.Scale(src, 4, 2, 6, dst.data(), 3, 1, 10);
    EXPECT_EQ(dst[0], 1);
    EXPECT_EQ(dst[2], 3);
}

TEST(FrameScaler, TurnHalfReversesThePicture) {
    const uint16_t src[] = {1, 2, 3, 9, 4, 5, 6, 9};
    std::vector<uint16_t> out;
    TurnHalf(src, 3, 2, 4, out);
    EXPECT_EQ(out, (std::vector<uint16_t>{6, 5, 4, 3, 2, 1}));
}

TEST(MpegDecoder, NothingButNoiseGivesNoPictureAndDrainsTheBuffer) {
    CVideoStreamBuffer buffer;
    buffer.Reset();
    std::vector<uint8_t> noise(20000);
    uint32_t state = 12345;
    for (uint8_t& b : noise) b = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
    ASSERT_EQ(buffer.Append(noise.data(), static_cast<int>(noise.size())), 1);
    CMpegDecoder decoder;
    CMpegPicture picture;
    EXPECT_EQ(decoder.Decode(buffer, false, false, &picture), 0);
    EXPECT_LT(buffer.GetFill(), CMpegDecoder::kFeedSize);
    EXPECT_EQ(picture.pixels, nullptr);
    // Below one feed nothing is asked of the decoder.
    const int fill = buffer.GetFill();
    EXPECT_EQ(decoder.Decode(buffer, false, false, &picture), 0);
    EXPECT_EQ(buffer.GetFill(), fill);
    decoder.Reset();
    EXPECT_EQ(decoder.GetDiscardCount(), CMpegDecoder::kDiscardAfterReset);
}

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::vector<uint16_t>> pictures;  // in the order shown
};

// The file fed as the window feeds it (a reset, then chunks while they fit), decoded a picture a
// step; a feed of padding behind it lets the decoder read the file's end too.
Decoded DecodeAll(std::span<const uint8_t> file) {
    std::vector<uint8_t> stream(file.begin(), file.end());
    stream.resize(stream.size() + CMpegDecoder::kFeedSize, 0);
    CVideoStreamBuffer buffer;
    buffer.Reset();
    CMpegDecoder decoder;
    decoder.Reset();
    Decoded decoded;
    size_t fed = 0;
    for (int guard = 0; guard < 10000; ++guard) {
        while (fed < stream.size() && buffer.GetFree() >= CMpegDecoder::kFeedSize) {
            const int size = static_cast<int>(std::min<size_t>(CMpegDecoder::kFeedSize, stream.size() - fed));
            if (buffer.GetFill() == 0) buffer.Reset();
            buffer.Append(&stream[fed], size);
            fed += static_cast<size_t>(size);
        }
        if (buffer.GetFill() < CMpegDecoder::kFeedSize && fed == stream.size()) break;
        CMpegPicture picture;
        if (!decoder.Decode(buffer, false, false, &picture)) continue;
        decoded.width = picture.width;
        decoded.height = picture.height;
        std::vector<uint16_t>& rows = decoded.pictures.emplace_back();
        for (int y = 0; y < picture.height; ++y)
            rows.insert(rows.end(), picture.pixels + static_cast<ptrdiff_t>(y) * picture.stride,
                        picture.pixels + static_cast<ptrdiff_t>(y) * picture.stride + picture.width);
    }
    return decoded;
}

TEST(MpegDecoder, TheCameraFilesShowEveryPictureButTheTwoAfterTheResetInTrueColours) {
    struct Case {
        std::span<const uint8_t> file;
        int width;
        int height;
    } cases[] = {{samplegateway::CameraVideo352x240(), 352, 240}, {samplegateway::CameraVideo176x144(), 176, 144}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const Decoded decoded = DecodeAll(c.file);
        EXPECT_EQ(decoded.width, c.width);
        EXPECT_EQ(decoded.height, c.height);
        EXPECT_EQ(decoded.pictures.size(), 60u - CMpegDecoder::kDiscardAfterReset);
        ASSERT_FALSE(decoded.pictures.empty());
        // The red, green and blue blocks at the top left, each 32 x 32 at 352 x 240, read back
        // within the rounding of RGB565 and of the coding.
        struct Block {
            int x;
            int y;
            int red;
            int green;
            int blue;
        } blocks[] = {{32, 32, 31, 0, 0}, {64, 32, 0, 63, 0}, {96, 32, 0, 0, 31}};
        for (const Block& b : blocks) {
            const int x = b.x * c.width / 352, y = b.y * c.height / 240;
            const uint16_t pixel = decoded.pictures.front()[static_cast<size_t>(y * c.width + x)];
            EXPECT_NEAR(pixel >> 11, b.red, 3) << b.x;
            EXPECT_NEAR((pixel >> 5) & 0x3F, b.green, 6) << b.x;
            EXPECT_NEAR(pixel & 0x1F, b.blue, 3) << b.x;
        }
    }
}

}  // namespace
