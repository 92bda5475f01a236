#pragma once
// JPEG pictures held in memory, decoded through libjpeg straight into a
// caller's RGB565 buffer: at an offset, enlarged by an integer factor by
// pixel replication, optionally turned over.
#include <cstddef>
#include <cstdint>

struct jpeg_decompress_struct;

// Told how far a lengthy decode got; answers 0 to cancel it.
class CProgressSink {
public:
    virtual ~CProgressSink() = default;
    virtual int OnProgress(int /*done*/, int /*total*/) { return 1; }
};

// Called with its context after each row, with the rows done out of the
// total (decoded rows, then enlarged ones); 0 cancels.
using JpegProgressFn = int (*)(void* context, int done, int total);

// 1 with the picture's size (and component count when asked), else 0.
int ReadJpegHeader(const uint8_t* data, size_t size, int* width, int* height, int* components);
int ReadJpegSize(const uint8_t* data, size_t size, int* width, int* height);
// Decodes into the bufferWidth x bufferHeight buffer with the picture's
// top-left at (dx, dy). |scale| is the enlargement; a negative scale turns the
// picture over (by 180 degrees). A picture that lacks only its end marker
// decodes whole. 0 when the data does not decode or ends early (the rows it
// holds are decoded), when the enlarged picture does not fit at the offset (nothing is
// written then), or when the progress function cancels (the rows decoded so
// far stay).
int DecodeJpegToRgb565(const uint8_t* data, size_t size, uint16_t* buffer, int scale, int dx, int dy,
                       int bufferWidth, int bufferHeight, JpegProgressFn progress, void* context);
int DecodeJpeg(const uint8_t* data, size_t size, uint16_t* buffer, int bufferWidth, int bufferHeight, int scale);
int DecodeJpegWithProgress(const uint8_t* data, size_t size, uint16_t* buffer, int bufferWidth, int bufferHeight,
                           int dx, int dy, int unused, CProgressSink* sink);
// Makes the block the decompressor's whole input.
void SetJpegMemorySource(jpeg_decompress_struct* decompressor, const uint8_t* data, size_t size);
