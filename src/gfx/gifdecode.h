#pragma once
// The tablet's own GIF decoder: the last image of a file in memory, as
// palette indices and an RGB565 palette, and from there as a surface.
#include <cstddef>
#include <cstdint>
#include <memory>

class CDibDC;

class CGifFrame {
public:
    virtual ~CGifFrame() = default;

    // Frees earlier buffers; the palette always has room for any byte index
    // (entries past 2^bits stay 0), the pixels are stride x height zeros.
    // False when the size is outside the picture limits.
    bool Allocate(int width, int height, int bits);
    // A CAlphaDibDC (transparency) or a CDibDC of width x height; null when
    // its pixels cannot be had.
    CDibDC* ToDib(bool transparency) const;

    int width = 0;
    int height = 0;
    int bits = 0;
    int stride = 0;
    int transparentIndex = -1;
    std::unique_ptr<uint8_t[]> pixels;
    std::unique_ptr<uint16_t[]> palette;  // 256 entries

    static constexpr int kPaletteEntries = 256;
};

// The last image of the file; null when there is none or it does not decode.
CGifFrame* ParseGif(const uint8_t* data, size_t size, bool transparency);
// Decodes size bytes of LZW codes into pixels[row * stride + column]. False
// for a bad code, a table or string overflow, or codes that run out before
// the end code or the last pixel.
bool DecodeGifLzw(const uint8_t* codes, size_t size, uint8_t* pixels, int minCodeSize, int stride, int width,
                  int height, bool interlaced);
// ParseGif, then CGifFrame::ToDib with the same choice.
CDibDC* DecodeGif(const uint8_t* data, size_t size, bool transparency);
