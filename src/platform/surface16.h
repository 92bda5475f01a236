#pragma once
// A view of 16-bit pixel rows that the drawing code writes into: the tablet's
// RGB565 surfaces and the screen shown by the window layer.
#include <cstdint>

namespace platform {

struct Surface16 {
    uint16_t* pixels = nullptr;
    int stride = 0;  // pixels from one row to the next
    int width = 0;
    int height = 0;
};

// A clip box with exclusive right and bottom edges.
struct ClipBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

}  // namespace platform
