#include "platform/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "support/test_font.h"

namespace {

std::shared_ptr<const platform::Font> Sans(int height, bool smooth = false, int weight = 400) {
    platform::FontRequest request;
    request.face = "Arial";
    request.height = height;
    request.smooth = smooth;
    request.weight = weight;
    return platform::Font::CreateFromFile(testsupport::kTestFontFile, request);
}

struct Canvas {
    Canvas(int w, int h, uint16_t fill = 0) : pixels(static_cast<size_t>(w) * h, fill) {
        surface = {pixels.data(), w, w, h};
    }
    std::vector<uint16_t> pixels;
    platform::Surface16 surface;
    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * surface.stride + x]; }
};

TEST(Font, CellHeightIsAscentPlusDescentForEveryHeight) {
    for (int height : {11, 16, 20, 39}) {
        auto font = Sans(height);
        ASSERT_TRUE(font);
        EXPECT_EQ(font->Height(), height);
        EXPECT_GT(font->Ascent(), font->Descent());
        EXPECT_GT(font->Descent(), 0);
    }
}

TEST(Font, AdvanceIsTheSumOfTheCharacters) {
    auto font = Sans(20);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->Advance(u""), 0);
    EXPECT_LT(font->CharAdvance(u'i'), font->CharAdvance(u'W'));
    EXPECT_EQ(font->Advance(u"Wi W"), font->CharAdvance(u'W') * 2 + font->CharAdvance(u'i') +
                                          font->CharAdvance(u' '));
    EXPECT_GT(Sans(20, false, 700)->Advance(u"Hello"), font->Advance(u"Hello"));
}

TEST(Font, PlainGlyphsUseOnlyTheColourAndStayInsideTheClip) {
    auto font = Sans(20);
    Canvas canvas(60, 30, 0x1234);
    font->Draw(u"HH", 2, 2, 0xFFFF, canvas.surface, {0, 0, 12, 30});
    int inked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x) {
            uint16_t p = canvas.At(x, y);
            ASSERT_TRUE(p == 0x1234 || p == 0xFFFF);
            if (p == 0xFFFF) {
                ++inked;
                EXPECT_LT(x, 12);
                EXPECT_GE(y, 2);
                EXPECT_LT(y, 2 + font->Ascent());
            }
        }
    EXPECT_GT(inked, 20);
}

TEST(Font, SmoothGlyphsBlendTheirEdges) {
    auto font = Sans(20, true);
    Canvas canvas(40, 30);
    font->Draw(u"O", 2, 2, 0xFFFF, canvas.surface, {0, 0, 40, 30});
    bool partial = std::any_of(canvas.pixels.begin(), canvas.pixels.end(),
                               [](uint16_t p) { return p != 0 && p != 0xFFFF; });
    EXPECT_TRUE(partial);
}

TEST(Font, TextOffTheSurfaceIsClippedSafely) {
    // The text on a surface that holds all of it, and on small ones that show a part each:
    // every small one holds exactly its part of the whole.
    auto font = Sans(30);
    Canvas whole(60, 60);
    font->Draw(u"Wg", 20, 20, 0xFFFF, whole.surface, {0, 0, 60, 60});
    for (auto [x, y] : {std::pair{-15, -12}, {5, 5}, {-3, 4}}) {
        Canvas part(10, 10);
        font->Draw(u"Wg", x, y, 0xFFFF, part.surface, {-100, -100, 100, 100});
        for (int py = 0; py < 10; ++py)
            for (int px = 0; px < 10; ++px)
                ASSERT_EQ(part.At(px, py), whole.At(px - x + 20, py - y + 20)) << "at " << x << "," << y;
    }
}

TEST(Font, FacesResolveThroughFontconfig) {
    EXPECT_EQ(platform::ResolveFontFamily("Arial"), "Liberation Sans");
    EXPECT_EQ(platform::ResolveFontFamily("liberation sans"), "Liberation Sans");
    EXPECT_EQ(platform::ResolveFontFamily("No Such Face 123"), "");
    auto families = platform::ListFontFamilies();
    auto it = std::find_if(families.begin(), families.end(),
                           [](const platform::FontFamily& f) { return f.name == "Liberation Sans"; });
    ASSERT_NE(it, families.end());
    EXPECT_GE(it->styles.size(), 2u);
    EXPECT_TRUE(platform::Font::Create({"Arial", 16, 400, false, false}));
}

TEST(Font, APinnedFileServesEveryFace) {
    platform::PinFontFile(testsupport::kTestFontFile);
    auto pinned = platform::Font::Create({"Any Face", 20, 400, false, false});
    platform::PinFontFile("");
    ASSERT_TRUE(pinned);
    EXPECT_EQ(pinned->Advance(u"Hello"), Sans(20)->Advance(u"Hello"));
}

}  // namespace
