#pragma once
// Bounds on the pictures the decoders accept. Gateway pictures are made for a
// screen of at most 800 x 600; anything far beyond that is a damaged or
// hostile file, refused before its buffers are allocated.
#include <cstdint>

inline constexpr int kMaxPictureSide = 8192;
inline constexpr int64_t kMaxPicturePixels = int64_t{4096} * 4096;

inline bool WithinPictureLimits(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}
