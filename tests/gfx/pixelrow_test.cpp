#include "gfx/pixelrow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/blender.h"

namespace {

constexpr uint16_t kGuard = 0xA5A5;

// One row for every row loop the processor runs, checked pixel by pixel
// against BlendPixel; the pixel past the row must stay untouched.
void ExpectRowMatchesPixels(const std::vector<uint16_t>& under, const std::vector<uint16_t>& src,
                            const std::vector<uint8_t>& alpha, const char* what) {
    const int count = static_cast<int>(src.size());
    for (int lanes : {8, 16}) {
        const pixelrow::RowLoops* loops = pixelrow::RowLoopsFor(lanes);
        if (!loops) continue;
        std::vector<uint16_t> dst(under);
        dst.push_back(kGuard);
        loops->blend(dst.data(), src.data(), alpha.data(), count);
        int wrong = 0;
        for (int i = 0; i < count && wrong < 5; ++i) {
            uint16_t expected = pixelrow::BlendPixel(under[i], src[i], alpha[i]);
            if (dst[i] != expected) {
                ++wrong;
                ADD_FAILURE() << what << ", " << lanes << " lanes, pixel " << i << ": src " << src[i] << " over "
                              << under[i] << " by " << int(alpha[i]) << " gives " << dst[i] << ", not " << expected;
            }
        }
        EXPECT_EQ(dst[count], kGuard) << what << ", " << lanes << " lanes";
    }
}

TEST(PixelRow, BlendsLikeThePixelFormulaForEveryAlphaAndChannelPair) {
    // 4096 pixels hold every pair of 6-bit green values and every pair of
    // 5-bit red and blue values; each row gives every pixel another alpha,
    // mixed within each step, and its odd length leaves a tail.
    constexpr int kPairs = 4096;
    constexpr int kCount = kPairs + 13;
    std::vector<uint16_t> src(kCount), under(kCount);
    for (int i = 0; i < kCount; ++i) {
        int k = i % kPairs, lo = k & 63, hi = k >> 6;
        src[i] = static_cast<uint16_t>((lo & 31) << 11 | lo << 5 | (hi & 31));
        under[i] = static_cast<uint16_t>((hi & 31) << 11 | hi << 5 | (lo & 31));
    }
    std::vector<uint8_t> alpha(kCount);
    for (int shift = 0; shift < 256; ++shift) {
        for (int i = 0; i < kCount; ++i) alpha[i] = static_cast<uint8_t>(i * 7 + shift);
        ExpectRowMatchesPixels(under, src, alpha, "mixed alpha");
        if (HasFailure()) return;
    }
}

TEST(PixelRow, RunsOfClearAndOpaquePixelsBlendLikeTheRest) {
    // Runs of one alpha across and within steps, and rows shorter than a step.
    struct Run {
        int alpha;  // -1: a different alpha for each pixel
        int length;
    };
    const struct {
        const char* what;
        std::vector<Run> runs;
    } rows[] = {
        {"clear", {{0, 67}}},
        {"opaque", {{255, 67}}},
        {"clear then opaque", {{0, 16}, {255, 16}, {0, 9}, {255, 23}, {0, 3}}},
        {"runs broken by one pixel", {{0, 15}, {1, 1}, {255, 15}, {254, 1}, {0, 16}, {-1, 5}}},
        {"mixed then runs", {{-1, 21}, {255, 40}, {-1, 2}, {0, 40}}},
        {"short", {{-1, 7}}},
        {"one", {{128, 1}}},
        {"empty", {}},
    };
    for (const auto& row : rows) {
        std::vector<uint8_t> alpha;
        for (const Run& run : row.runs)
            for (int i = 0; i < run.length; ++i)
                alpha.push_back(static_cast<uint8_t>(run.alpha >= 0 ? run.alpha : 37 * alpha.size() + 11));
        std::vector<uint16_t> src(alpha.size()), under(alpha.size());
        for (size_t i = 0; i < alpha.size(); ++i) {
            src[i] = static_cast<uint16_t>(0xF81F ^ (i * 2654435761u >> 7));
            under[i] = static_cast<uint16_t>(0x07E0 ^ (i * 40503u));
        }
        ExpectRowMatchesPixels(under, src, alpha, row.what);
    }
}

// Every pair of 6-bit values in green and of 5-bit values in red and blue,
// and an odd length past the last step so the tail runs.
struct PairRows {
    static constexpr int kPairs = 4096;
    static constexpr int kCount = kPairs + 13;
    std::vector<uint16_t> src = std::vector<uint16_t>(kCount), under = std::vector<uint16_t>(kCount);
    PairRows() {
        for (int i = 0; i < kCount; ++i) {
            int k = i % kPairs, lo = k & 63, hi = k >> 6;
            src[i] = static_cast<uint16_t>((lo & 31) << 11 | lo << 5 | (hi & 31));
            under[i] = static_cast<uint16_t>((hi & 31) << 11 | hi << 5 | (lo & 31));
        }
    }
};

TEST(PixelRow, MixesInEighthsLikeTheFieldFormula) {
    const PairRows rows;
    for (int level = 1; level <= 8; ++level) {
        for (int i = 0; i < PairRows::kPairs; ++i) {
            const uint16_t s = rows.src[i], d = rows.under[i];
            auto mix = [level](int sf, int df) { return (sf * level + df * (8 - level)) / 8; };
            const int expected = mix(s >> 11, d >> 11) << 11 | mix((s >> 5) & 63, (d >> 5) & 63) << 5 | mix(s & 31, d & 31);
            ASSERT_EQ(pixelrow::MixEighths(d, s, level), expected) << "level " << level << " src " << s << " dst " << d;
        }
        for (int lanes : {8, 16}) {
            const pixelrow::RowLoops* loops = pixelrow::RowLoopsFor(lanes);
            if (!loops) continue;
            std::vector<uint16_t> dst(rows.under);
            dst.push_back(kGuard);
            loops->mix(dst.data(), rows.src.data(), PairRows::kCount, level);
            for (int i = 0; i < PairRows::kCount; ++i)
                ASSERT_EQ(dst[i], pixelrow::MixEighths(rows.under[i], rows.src[i], level))
                    << lanes << " lanes, level " << level << ", pixel " << i;
            EXPECT_EQ(dst.back(), kGuard);
        }
    }
}

TEST(PixelRow, BrightensLikeThePixelFormulaForEveryValueAndField) {
    // Each run of 256 pixels has every value over one set of field values,
    // and the runs go through every value of each field; a few pixels are
    // black, and a few are the key.
    constexpr uint16_t kKey = 0x7BEF;
    constexpr int kCount = 64 * 256 + 11;
    std::vector<uint16_t> pixels(kCount);
    std::vector<uint8_t> values(kCount);
    for (int i = 0; i < kCount; ++i) {
        const int k = (i / 256) & 63;
        pixels[i] = static_cast<uint16_t>((k & 31) << 11 | k << 5 | ((k * 7 + 3) & 31));
        if (i % 37 == 5) pixels[i] = 0;
        if (i % 29 == 3) pixels[i] = kKey;
        values[i] = static_cast<uint8_t>(i % 256);
    }
    // Runs of one value as well, as the loops keep a step's deltas.
    for (int i = 4096; i < 8192; ++i) values[i] = static_cast<uint8_t>(i / 100);
    const struct {
        int floor;
        uint16_t key;
    } cases[] = {{8, 0}, {0, 0}, {0, kKey}, {8, kKey}};
    for (const auto& c : cases) {
        for (int lanes : {8, 16}) {
            const pixelrow::RowLoops* loops = pixelrow::RowLoopsFor(lanes);
            if (!loops) continue;
            std::vector<uint16_t> out(pixels);
            out.push_back(kGuard);
            loops->brighten(out.data(), values.data(), kCount, c.floor, c.key);
            for (int i = 0; i < kCount; ++i) {
                const bool changes = c.key ? pixels[i] == c.key : pixels[i] != 0;
                const uint16_t expected = changes ? pixelrow::BrightenPixel(pixels[i], values[i] - 100, c.floor) : pixels[i];
                ASSERT_EQ(out[i], expected) << lanes << " lanes, floor " << c.floor << ", key " << c.key << ", pixel "
                                            << pixels[i] << " by " << int(values[i]);
            }
            EXPECT_EQ(out.back(), kGuard);
        }
    }
}

TEST(PixelRow, LevelsGiveTheBlenderTableForEveryLevelAndPixel) {
    const CBlender table(0, 0);
    constexpr int kCount = 65536 + 9;
    std::vector<uint16_t> pixels(kCount);
    for (int i = 0; i < kCount; ++i) pixels[i] = static_cast<uint16_t>(i);
    std::vector<uint8_t> levels(kCount);
    for (int lanes : {8, 16}) {
        const pixelrow::RowLoops* loops = pixelrow::RowLoopsFor(lanes);
        if (!loops) continue;
        // One level a row, then every level in every step; the high bits
        // below the skip bit are ignored.
        for (int level = 0; level <= CBlender::kLevels; ++level) {
            for (int i = 0; i < kCount; ++i)
                levels[i] = static_cast<uint8_t>(level < CBlender::kLevels ? level : (i * 5 + i / 64) % 128);
            std::vector<uint16_t> out(pixels);
            const int done = loops->level(out.data(), levels.data(), kCount);
            ASSERT_EQ(done, kCount / lanes * lanes);
            for (int i = 0; i < done; ++i)
                ASSERT_EQ(out[i], table.Lookup(levels[i], pixels[i]))
                    << lanes << " lanes, level " << int(levels[i]) << ", pixel " << pixels[i];
            for (int i = done; i < kCount; ++i) ASSERT_EQ(out[i], pixels[i]);
        }
        // A skip code stops the loop at the start of its step.
        std::fill(levels.begin(), levels.end(), 3);
        levels[3 * lanes + 2] = CBlender::kSkip | 4;
        std::vector<uint16_t> out(pixels);
        EXPECT_EQ(loops->level(out.data(), levels.data(), kCount), 3 * lanes);
        EXPECT_EQ(out[3 * lanes], pixels[3 * lanes]);
    }
}

}  // namespace
