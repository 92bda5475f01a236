#include "gfx/pixelrow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr uint16_t kGuard = 0xA5A5;

// One row for every row loop the processor runs, checked pixel by pixel
// against BlendPixel; the pixel past the row must stay untouched.
void ExpectRowMatchesPixels(const std::vector<uint16_t>& under, const std::vector<uint16_t>& src,
                            const std::vector<uint8_t>& alpha, const char* what) {
    const int count = static_cast<int>(src.size());
    for (int lanes : {8, 16}) {
        pixelrow::BlendRowFn row = pixelrow::BlendRow(lanes);
        if (!row) continue;
        std::vector<uint16_t> dst(under);
        dst.push_back(kGuard);
        row(dst.data(), src.data(), alpha.data(), count);
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

}  // namespace
