#pragma once
// The picture messages of a video stream: a JPEG tile placed in the back
// buffer, a whole JPEG picture, and an MPEG-2 chunk. Every size and
// position is checked against the bytes present and the buffer before a
// pixel is written.
#include <cstdint>

#include "gfx/zvrect.h"

class CZVMSG;

struct CVideoTile {
    static constexpr int kHeaderSize = 32;
    static constexpr int32_t kFlagTurned = 0x1;

    int32_t quality = 0;
    int32_t scale = 0;
    int32_t frame = 0;
    int32_t x = 0;  // the four in units of scale pixels
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    int32_t flags = 0;
    const uint8_t* jpeg = nullptr;
    int jpegSize = 0;
};

// 0 when one of the eight integers is missing.
int ReadVideoTile(CZVMSG* message, CVideoTile* tile);

// Where the tile lands in a picture of pictureWidth x pictureHeight held in
// a bufferWidth x bufferHeight buffer: the rectangle in pixels and the
// scale to decode with (negative when turned). 0 when the tile does not lie
// wholly inside the buffer or its numbers make no sense.
int PlaceVideoTile(const CVideoTile& tile, int pictureWidth, int pictureHeight, int bufferWidth, int bufferHeight,
                   CZVRect* rect, int* scale);

// Decodes the tile's JPEG into its rectangle of the buffer. 0 unless the
// JPEG, enlarged, is exactly the rectangle's size and decodes.
int DecodeVideoTile(const CVideoTile& tile, const CZVRect& rect, int scale, uint16_t* buffer, int bufferWidth,
                    int bufferHeight);

struct CMpegChunk {
    static constexpr int kHeaderSize = 12;
    static constexpr int32_t kFlagDropB = 0x1;

    int32_t reset = 0;
    int32_t length = 0;
    int32_t flags = 0;
    const uint8_t* bytes = nullptr;
    int size = 0;  // the stream bytes present, never more than length
};

// Missing header fields read as 0. 0 when the chunk is to be dropped (a
// negative length).
int ReadMpegChunk(CZVMSG* message, CMpegChunk* chunk);
