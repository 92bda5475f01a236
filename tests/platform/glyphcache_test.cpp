#include "platform/glyphcache.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

using platform::Glyph;
using platform::GlyphCache;
using platform::GlyphStyle;

// A glyph of side x side pixels, its coverage all of one value.
Glyph Square(int side, uint8_t coverage = 200) {
    Glyph glyph;
    glyph.advance = side + 1;
    glyph.width = side;
    glyph.rows = side;
    glyph.coverage.assign(static_cast<size_t>(side) * side, coverage);
    return glyph;
}

TEST(GlyphCache, EachStyleHasOneNumber) {
    GlyphCache cache;
    const GlyphStyle plain{"/fonts/sans.ttf", 20, 400, false, false};
    GlyphStyle smooth = plain;
    smooth.smooth = true;
    GlyphStyle taller = plain;
    taller.height = 21;
    const int id = cache.StyleId(plain);
    EXPECT_EQ(cache.StyleId(plain), id);
    EXPECT_NE(cache.StyleId(smooth), id);
    EXPECT_NE(cache.StyleId(taller), id);
    EXPECT_NE(cache.StyleId(taller), cache.StyleId(smooth));
}

TEST(GlyphCache, KeepsGlyphsPerStyleAndCharacter) {
    GlyphCache cache;
    EXPECT_EQ(cache.Find(0, u'A'), nullptr);
    auto kept = cache.Insert(0, u'A', Square(5, 10));
    ASSERT_TRUE(kept);
    EXPECT_EQ(cache.Find(0, u'A'), kept);
    EXPECT_EQ(cache.Find(1, u'A'), nullptr);
    EXPECT_EQ(cache.Find(0, u'B'), nullptr);
    // A second render of the same glyph yields the one already kept.
    EXPECT_EQ(cache.Insert(0, u'A', Square(5, 99)), kept);
    EXPECT_EQ(kept->coverage.front(), 10);
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_EQ(cache.Bytes(), GlyphCache::BytesOf(*kept));
}

TEST(GlyphCache, StaysWithinItsBudgetDroppingTheLeastRecentlyUsed) {
    const size_t each = GlyphCache::BytesOf(Square(10));
    GlyphCache cache(3 * each);
    cache.Insert(0, u'a', Square(10));
    cache.Insert(0, u'b', Square(10));
    cache.Insert(0, u'c', Square(10));
    ASSERT_TRUE(cache.Find(0, u'a'));  // 'b' is now the least recently used
    cache.Insert(0, u'd', Square(10));
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_LE(cache.Bytes(), 3 * each);
    EXPECT_EQ(cache.Find(0, u'b'), nullptr);
    EXPECT_TRUE(cache.Find(0, u'a'));
    EXPECT_TRUE(cache.Find(0, u'c'));
    EXPECT_TRUE(cache.Find(0, u'd'));
}

TEST(GlyphCache, AnEvictedGlyphStaysValidForWhoeverHoldsIt) {
    GlyphCache cache(GlyphCache::BytesOf(Square(4)));
    auto held = cache.Insert(0, u'x', Square(4, 77));
    cache.Insert(0, u'y', Square(4));
    EXPECT_EQ(cache.Find(0, u'x'), nullptr);
    EXPECT_EQ(held->coverage.size(), 16u);
    EXPECT_EQ(held->coverage.back(), 77);
}

TEST(GlyphCache, AGlyphOverTheWholeBudgetIsStillHandedOut) {
    GlyphCache cache(10);
    auto big = cache.Insert(0, u'W', Square(30));
    ASSERT_TRUE(big);
    EXPECT_EQ(cache.Count(), 1u);
    cache.Insert(0, u'M', Square(30));
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_EQ(cache.Find(0, u'W'), nullptr);
}

TEST(GlyphCache, ThreadsShareItSafely) {
    const size_t each = GlyphCache::BytesOf(Square(3));
    GlyphCache cache(40 * each);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&cache, t] {
            const int style = cache.StyleId(GlyphStyle{"/fonts/sans.ttf", 10 + t % 2, 400, false, true});
            for (int round = 0; round < 200; ++round)
                for (char16_t c = u'a'; c <= u'z'; ++c)
                    if (!cache.Find(style, c)) cache.Insert(style, c, Square(3, static_cast<uint8_t>(c)));
        });
    for (auto& thread : threads) thread.join();
    EXPECT_LE(cache.Count(), 40u);
    EXPECT_LE(cache.Bytes(), 40 * each);
}

}  // namespace
