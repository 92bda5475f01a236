#pragma once
// A rectangle of the tablet's layout: right edge x + w - 1 and bottom edge
// y + h - 1 are inclusive. A width or height of 0 or less is empty; the
// operations make such rectangles without complaint and callers test for them.
#include <cstdint>

struct CZVRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;

    CZVRect() = default;
    CZVRect(int32_t left, int32_t top, int32_t width, int32_t height)
        : x(left), y(top), w(width), h(height) {}
    bool operator==(const CZVRect&) const = default;

    void ToBounds(int* left, int* top, int* right, int* bottom) const;

    void Deflate(int dx, int dy);
    void Inflate(int dx, int dy) { Deflate(-dx, -dy); }
    void Offset(int dx, int dy);
    // x and y, relative to `window`, become root-window coordinates. The
    // window type is the toolkit's: it offers ToRootX(int) and ToRootY(int).
    template <typename Window>
    void MakeAbsolute(const Window* window) {
        x = window->ToRootX(x);
        y = window->ToRootY(y);
    }
    // Mirrors the rectangle inside an area of width x height.
    void Mirror(bool flipX, bool flipY, int width, int height);

    // Parts of this rectangle, which stays as it is.
    CZVRect LeftPart(int width) const;
    CZVRect RightPart(int width) const;
    CZVRect TopPart(int height) const;
    CZVRect BottomPart(int height) const;
    // Cell `index` of `count` cells with `gap` after each (the index is not
    // limited). A count below 1 gives an empty cell at the origin.
    CZVRect Column(int index, int count, int gap) const;
    CZVRect Row(int index, int count, int gap) const;

    // Cut a part off this rectangle, which shrinks by width (or height); the
    // gap is taken from the part's side that faces the rest.
    CZVRect CutLeft(int width, int gap);
    CZVRect CutRight(int width, int gap);
    CZVRect CutTop(int height, int gap);
    CZVRect CutBottom(int height, int gap);

    bool Contains(int px, int py) const;
    // out = other clipped to this rectangle; a width or height of 0 or less
    // means no overlap.
    void Intersect(CZVRect* out, CZVRect other) const;
};
