#pragma once
// Brightness changes in place over live video: a table that darkens or
// lightens any RGB565 pixel by one of 16 levels, and a per-pixel level map
// that says where and how much.
#include <cstddef>
#include <cstdint>
#include <vector>

class CDibDC;

class CBlender {
public:
    // Map bytes: 8 leaves the pixel, 0..15 apply that level (below 8 darker,
    // above 8 toward white), 0x80 | n skips this pixel and the n following.
    static constexpr uint8_t kNeutral = 8;
    static constexpr uint8_t kSkip = 0x80;
    static constexpr int kLevels = 16;

    // A level map of width x height bytes, all neutral.
    CBlender(int width, int height);
    virtual ~CBlender() = default;

    // The table's pixel for a level (0..15).
    uint16_t Lookup(int level, uint16_t pixel) const { return m_table[(level & 0x0F) << 16 | pixel]; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    uint8_t* GetMapRow(int y) { return &m_map[static_cast<size_t>(y) * m_width]; }

    // Levels from a mask picture: a non-zero pixel p gives level (p >> 1) &
    // 0x0F (the top of its blue field) at the map's (dx, dy) + offset; a
    // zero pixel leaves the map. The rows touched are packed.
    void SetMask(CDibDC* mask, int dx, int dy, int sx, int sy, int w, int h);
    // Rewrites the long neutral runs of a map row as skip codes.
    void PackRow(int y);
    // Changes dst's pixels in the rectangle through the table where the map
    // (at the same position) says so.
    void Apply(CDibDC* dst, int x, int y, int w, int h);

private:
    std::vector<uint16_t> m_table;
    std::vector<uint8_t> m_map;
    int m_width = 0;
    int m_height = 0;
};
