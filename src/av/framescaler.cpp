#include "av/framescaler.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

void CFrameScaler::Build(int sw, int sh, int srcStride, int bw, int bh) {
    m_columns.resize(static_cast<size_t>(bw));
    m_rows.resize(static_cast<size_t>(bh));
    for (int i = 0; i < bw; ++i)
        m_columns[static_cast<size_t>(i)] = static_cast<int>(std::min<int64_t>(int64_t{i} * sw / bw, sw - 1));
    for (int j = 0; j < bh; ++j)
        m_rows[static_cast<size_t>(j)] = static_cast<int>(std::min<int64_t>(int64_t{j} * sh / bh, sh - 1) * srcStride);
    m_sourceWidth = sw;
    m_sourceHeight = sh;
    m_sourceStride = srcStride;
    m_width = bw;
    m_height = bh;
}

void CFrameScaler::Scale(const uint16_t* src, int sw, int sh, int srcStride, uint16_t* dst, int bw, int bh,
                         int dstStride) {
    if (sw <= 0 || sh <= 0 || bw <= 0 || bh <= 0) return;
    if (sw != m_sourceWidth || sh != m_sourceHeight || srcStride != m_sourceStride || bw != m_width || bh != m_height)
        Build(sw, sh, srcStride, bw, bh);
    const size_t rowBytes = static_cast<size_t>(bw) * sizeof(uint16_t);
    for (int j = 0; j < bh; ++j) {
        uint16_t* row = dst + static_cast<ptrdiff_t>(j) * dstStride;
        if (j > 0 && m_rows[static_cast<size_t>(j)] == m_rows[static_cast<size_t>(j) - 1]) {
            std::memcpy(row, row - dstStride, rowBytes);
            continue;
        }
        const uint16_t* source = src + m_rows[static_cast<size_t>(j)];
        for (int i = 0; i < bw; ++i) row[i] = source[m_columns[static_cast<size_t>(i)]];
    }
}

void TurnHalf(const uint16_t* src, int w, int h, int stride, std::vector<uint16_t>& out) {
    out.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    size_t k = out.size();
    for (int y = 0; y < h; ++y) {
        const uint16_t* row = src + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < w; ++x) out[--k] = row[x];
    }
}
