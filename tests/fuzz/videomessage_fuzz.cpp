// The picture messages of a video stream, of any bytes, into a small back
// buffer: the first byte chooses a tile, a whole picture or an MPEG-2 chunk
// (fed to the decoder until it wants more), the rest is the payload.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "av/framescaler.h"
#include "av/mpegdecoder.h"
#include "av/videotile.h"
#include "core/zvmsg.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

void Tile(CZVMSG& message, std::vector<uint16_t>& buffer) {
    CVideoTile tile;
    CZVRect rect;
    int scale = 0;
    if (ReadVideoTile(&message, &tile) && PlaceVideoTile(tile, kWidth, kHeight, kWidth, kHeight, &rect, &scale))
        DecodeVideoTile(tile, rect, scale, buffer.data(), kWidth, kHeight);
}

void Picture(CZVMSG& message, std::vector<uint16_t>& buffer) {
    const uint8_t* data = message.GetUnread();
    const size_t size = static_cast<size_t>(message.GetRemaining());
    int w = 0;
    int h = 0;
    if (!data || !ReadJpegSize(data, size, &w, &h) || !WithinPictureLimits(w, h)) return;
    std::vector<uint16_t> picture(static_cast<size_t>(w) * static_cast<size_t>(h));
    if (!DecodeJpeg(data, size, picture.data(), w, h, -1)) return;
    CFrameScaler scaler;
    scaler.Scale(picture.data(), w, h, w, buffer.data(), kWidth, kHeight, kWidth);
}

void Mpeg(CZVMSG& message, std::vector<uint16_t>& buffer) {
    static CMpegDecoder decoder;
    static CVideoStreamBuffer stream;
    CMpegChunk chunk;
    if (!ReadMpegChunk(&message, &chunk)) return;
    if (chunk.reset) {
        stream.Reset();
        decoder.Reset();
    }
    stream.Append(chunk.bytes, chunk.size);
    CMpegPicture picture;
    CFrameScaler scaler;
    while (decoder.Decode(stream, false, (chunk.flags & CMpegChunk::kFlagDropB) != 0, &picture))
        scaler.Scale(picture.pixels, picture.width, picture.height, picture.stride, buffer.data(), kWidth, kHeight,
                     kWidth);
    if (stream.GetFree() < CMpegDecoder::kFeedSize) stream.Reset();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 200000) return 0;
    CZVMSG message(0, 0);
    message.WriteBytes(data + 1, static_cast<int32_t>(size - 1));
    message.ResetPosition();
    std::vector<uint16_t> buffer(static_cast<size_t>(kWidth) * kHeight);
    switch (data[0] % 3) {
    case 0: Tile(message, buffer); break;
    case 1: Picture(message, buffer); break;
    default: Mpeg(message, buffer); break;
    }
    return 0;
}
