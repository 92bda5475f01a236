#include "gfx/zvrect.h"

#include <algorithm>

void CZVRect::ToBounds(int* left, int* top, int* right, int* bottom) const {
    *left = x;
    *top = y;
    *right = x + w - 1;
    *bottom = y + h - 1;
}

void CZVRect::Deflate(int dx, int dy) {
    x += dx;
    y += dy;
    w -= 2 * dx;
    h -= 2 * dy;
}

void CZVRect::Offset(int dx, int dy) {
    x += dx;
    y += dy;
}

void CZVRect::Mirror(bool flipX, bool flipY, int width, int height) {
    if (flipX)
        x = width - w - x;
    if (flipY)
        y = height - h - y;
}

CZVRect CZVRect::LeftPart(int width) const { return {x, y, width, h}; }

CZVRect CZVRect::RightPart(int width) const { return {x + w - width, y, width, h}; }

CZVRect CZVRect::TopPart(int height) const { return {x, y, w, height}; }

CZVRect CZVRect::BottomPart(int height) const { return {x, y + h - height, w, height}; }

CZVRect CZVRect::Column(int index, int count, int gap) const {
    if (count < 1)
        return {x, y, 0, h};
    const int cell = (w + gap) / count;
    return {x + index * cell, y, cell - gap, h};
}

CZVRect CZVRect::Row(int index, int count, int gap) const {
    if (count < 1)
        return {x, y, w, 0};
    const int cell = (h + gap) / count;
    return {x, y + index * cell, w, cell - gap};
}

CZVRect CZVRect::CutLeft(int width, int gap) {
    CZVRect part{x, y, width - gap, h};
    x += width;
    w -= width;
    return part;
}

CZVRect CZVRect::CutRight(int width, int gap) {
    CZVRect part{x + w - width + gap, y, width - gap, h};
    w -= width;
    return part;
}

CZVRect CZVRect::CutTop(int height, int gap) {
    CZVRect part{x, y, w, height - gap};
    y += height;
    h -= height;
    return part;
}

CZVRect CZVRect::CutBottom(int height, int gap) {
    CZVRect part{x, y + h - height + gap, w, height - gap};
    h -= height;
    return part;
}

bool CZVRect::Contains(int px, int py) const {
    return px >= x && px <= x + w - 1 && py >= y && py <= y + h - 1;
}

void CZVRect::Intersect(CZVRect* out, CZVRect other) const {
    const int right = x + w - 1;
    const int bottom = y + h - 1;
    if (other.x > right) {
        other.w = 0;
        other.x = right;
    }
    if (other.y > bottom) {
        other.h = 0;
        other.y = bottom;
    }
    if (other.x < x) {
        other.w -= x - other.x;
        other.x = x;
    }
    if (other.y < y) {
        other.h -= y - other.y;
        other.y = y;
    }
    *out = {other.x, other.y, std::min(other.w, x + w - other.x), std::min(other.h, y + h - other.y)};
}
