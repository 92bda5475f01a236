#pragma once
// PNG pictures held in memory, decoded through libpng into a surface with an
// alpha plane. Every colour type and depth comes out as 8-bit RGBA.
#include <cstddef>
#include <cstdint>

class CAlphaDibDC;

struct CPngMemorySource {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t position = 0;
};

// Copies at most n bytes, at most what is left, and advances; the count copied.
size_t ReadPngMemory(uint8_t* destination, size_t n, CPngMemorySource* source);
// A new surface with the picture's alpha; null for anything that is not a
// whole PNG within the picture limits.
CAlphaDibDC* DecodePng(const uint8_t* data, size_t size);
