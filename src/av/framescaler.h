#pragma once
// Nearest-neighbour scaling of video pictures into a back buffer through
// index tables that are built once per source size, and the half turn of a
// picture that arrives upside down.
#include <cstddef>
#include <cstdint>
#include <vector>

class CFrameScaler {
public:
    // Scales the sw x sh picture (rows of srcStride pixels) over the whole
    // bw x bh destination (rows of dstStride pixels). A destination row that
    // samples the same source row as the one above is copied whole.
    void Scale(const uint16_t* src, int sw, int sh, int srcStride, uint16_t* dst, int bw, int bh, int dstStride);
    // The tables are built again on the next Scale.
    void Invalidate() { m_sourceWidth = m_sourceHeight = 0; }
    // The source offset of destination row j and column i of the tables.
    int GetRowOffset(int j) const { return m_rows[static_cast<size_t>(j)]; }
    int GetColumn(int i) const { return m_columns[static_cast<size_t>(i)]; }

private:
    void Build(int sw, int sh, int srcStride, int bw, int bh);

    std::vector<int> m_rows;
    std::vector<int> m_columns;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    int m_sourceStride = 0;
    int m_width = 0;
    int m_height = 0;
};

// The w x h picture (rows of stride pixels) turned by half a turn: the last
// pixel first, as w x h pixels without padding.
void TurnHalf(const uint16_t* src, int w, int h, int stride, std::vector<uint16_t>& out);
