#include "gfx/blender.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/pixelrow.h"
#include "gfx/speed.h"
#include "platform/report.h"

namespace {

constexpr const char* kSource = "blender";
// Neutral runs up to this long stay as 8s: skipping them gains nothing.
constexpr int kShortestSkip = 17;
constexpr int kLongestRun = 127;

bool IsNeutral(uint8_t b) { return b == CBlender::kNeutral || b >= CBlender::kSkip; }

// Each field's pixel bits at a level, computed at 8-bit scale.
int LevelRed(int level, int red5) {
    return level < 8 ? kRedTo565[red5 * (level + 1)] : kRedTo565[red5 * (16 - level) + 255 * (level - 8) / 8];
}
int LevelGreen(int level, int green6) {
    const int green8 = green6 << 2;
    return level < 8 ? kGreenTo565[green8 * (level + 1) / 8]
                     : kGreenTo565[(255 * (level - 8) + green8 * (16 - level)) / 8];
}
int LevelBlue(int level, int blue5) { return LevelRed(level, blue5) >> 11; }

}  // namespace

CBlender::CBlender(int width, int height) : m_table(static_cast<size_t>(kLevels) << 16) {
    for (int level = 0; level < kLevels; ++level) {
        int red[32], green[64], blue[32];
        for (int v = 0; v < 32; ++v) {
            red[v] = LevelRed(level, v);
            blue[v] = LevelBlue(level, v);
        }
        for (int v = 0; v < 64; ++v) green[v] = LevelGreen(level, v);
        uint16_t* out = &m_table[static_cast<size_t>(level) << 16];
        for (int p = 0; p <= 0xFFFF; ++p) out[p] = static_cast<uint16_t>(red[p >> 11] | green[(p >> 5) & 0x3F] | blue[p & 0x1F]);
    }
    if (width > 0 && height > 0) {
        m_width = width;
        m_height = height;
        m_map.assign(static_cast<size_t>(width) * height, kNeutral);
    }
}

void CBlender::SetMask(CDibDC* mask, int dx, int dy, int sx, int sy, int w, int h) {
    if (!mask || dx < 0 || dy < 0 || sx < 0 || sy < 0) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    const int clippedW = std::min({w, mask->GetRequestedWidth() - sx, m_width - dx});
    const int clippedH = std::min({h, mask->GetHeight() - sy, m_height - dy});
    if (clippedW != w || clippedH != h) ReportAssert(kSource, __LINE__, 1);
    for (int row = 0; row < clippedH; ++row) {
        const uint16_t* from = mask->GetPixelAddress(sx, sy + row);
        uint8_t* to = GetMapRow(dy + row) + dx;
        for (int col = 0; col < clippedW; ++col)
            if (from[col]) to[col] = static_cast<uint8_t>((from[col] >> 1) & 0x0F);
        PackRow(dy + row);
    }
}

void CBlender::PackRow(int y) {
    if (y < 0 || y >= m_height) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    uint8_t* row = GetMapRow(y);
    for (int x = 0; x < m_width;) {
        if (!IsNeutral(row[x])) {
            ++x;
            continue;
        }
        int length = 0;
        while (length < kLongestRun && x + length < m_width && IsNeutral(row[x + length])) ++length;
        if (x + length == m_width) --length;
        if (length < kShortestSkip) {
            row[x++] = kNeutral;
            continue;
        }
        for (int k = 0; k < length; ++k) row[x + k] = static_cast<uint8_t>(kSkip | (length - 1 - k));
        x += length;
    }
}

void CBlender::Apply(CDibDC* dst, int x, int y, int w, int h) {
    if (!dst || x < 0 || y < 0) {
        ReportAssert(kSource, __LINE__, 1);
        return;
    }
    w = std::min({w, dst->GetRequestedWidth() - x, m_width - x});
    h = std::min({h, dst->GetHeight() - y, m_height - y});
    const auto level = pixelrow::Widest().level;
    for (int row = 0; row < h; ++row) {
        const uint8_t* levels = GetMapRow(y + row) + x;
        uint16_t* pixels = dst->GetPixelAddress(x, y + row);
        // A skip code never carries past the rectangle's right edge. Whole
        // steps of levels go through the row loop, which works out the
        // table's results in lanes; the pixels it leaves go through the table.
        for (int col = 0; col < w;) {
            const uint8_t b = levels[col];
            if (b >= kSkip) {
                col += (b & 0x7F) + 1;
                continue;
            }
            const int done = level(pixels + col, levels + col, w - col);
            if (done > 0) {
                col += done;
                continue;
            }
            if (b != kNeutral) pixels[col] = Lookup(b, pixels[col]);
            ++col;
        }
    }
}
