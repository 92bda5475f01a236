// The GIF decoder on files written by the tests: pixels, padding to the
// stride, transparency, interlacing, several images, the LZW table limits,
// and damaged or hostile files.
#include "gfx/gifdecode.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "gfx/dibdc.h"
#include "picture_files.h"
#include "support/assert_counter.h"

namespace {

using pictures::Bytes;
using pictures::GifImage;
using pictures::MakeGif;
using pictures::Rgb;
using pictures::To565;

const std::vector<Rgb> kFour = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

Bytes Indices(int count, int colours, unsigned seed) {
    std::mt19937 random(seed);
    Bytes out(count);
    for (auto& index : out) index = static_cast<uint8_t>(random() % colours);
    return out;
}

GifImage Image(int width, int height, Bytes indices, int minCodeSize = 2) {
    GifImage image;
    image.width = width;
    image.height = height;
    image.indices = std::move(indices);
    image.minCodeSize = minCodeSize;
    return image;
}

std::unique_ptr<CDibDC> Decode(const Bytes& file, bool transparency) {
    return std::unique_ptr<CDibDC>(DecodeGif(file.data(), file.size(), transparency));
}

uint16_t PixelOf(CDibDC& dib, int x, int y) { return *dib.GetPixelAddress(x, y); }
uint8_t AlphaOf(CDibDC& dib, int x, int y) { return *dib.GetAlphaAt(x, y); }

TEST(GifDecode, PixelsComeFromThePaletteAndRowsArePaddedToFourPixels) {
    GifImage image = Image(13, 3, Indices(13 * 3, 4, 1));
    auto dib = Decode(MakeGif(kFour, {image}), false);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->GetRequestedWidth(), 16);
    EXPECT_EQ(dib->GetHeight(), 3);
    EXPECT_EQ(dib->GetAlpha(), nullptr);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 13; ++x)
            ASSERT_EQ(PixelOf(*dib, x, y), To565(kFour[image.indices[y * 13 + x]])) << x << "," << y;
        for (int x = 13; x < 16; ++x) EXPECT_EQ(PixelOf(*dib, x, y), To565(kFour[0]));  // entry 0
    }
}

TEST(GifDecode, TransparentIndexCutsOutPixelsAndThePadding) {
    GifImage image = Image(13, 2, Indices(13 * 2, 4, 2));
    image.transparent = 2;
    auto dib = Decode(MakeGif(kFour, {image}), true);
    ASSERT_TRUE(dib);
    ASSERT_NE(dib->GetAlpha(), nullptr);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 13; ++x) {
            const bool cut = image.indices[y * 13 + x] == 2;
            EXPECT_EQ(AlphaOf(*dib, x, y), cut ? 0 : 255);
            EXPECT_EQ(PixelOf(*dib, x, y), cut ? 0 : To565(kFour[image.indices[y * 13 + x]]));
        }
        for (int x = 13; x < 16; ++x) EXPECT_EQ(AlphaOf(*dib, x, y), 0);
    }
}

TEST(GifDecode, WithoutTransparencyAGlobalEntryKeepsItsColourAndALocalOneTurnsGreen) {
    GifImage global = Image(4, 1, {0, 1, 2, 3});
    global.transparent = 1;
    auto fromGlobal = Decode(MakeGif(kFour, {global}), false);
    ASSERT_TRUE(fromGlobal);
    EXPECT_EQ(PixelOf(*fromGlobal, 1, 0), To565(kFour[1]));

    GifImage local = global;
    local.localTable = {{10, 20, 30}, {200, 100, 50}, {1, 2, 3}, {4, 5, 6}};
    auto fromLocal = Decode(MakeGif(kFour, {local}), false);
    ASSERT_TRUE(fromLocal);
    EXPECT_EQ(PixelOf(*fromLocal, 0, 0), To565(local.localTable[0]));
    EXPECT_EQ(PixelOf(*fromLocal, 1, 0), 0x07E0);
}

TEST(GifDecode, WithoutAGlobalTableIndicesAreGreys) {
    auto dib = Decode(MakeGif({}, {Image(4, 1, {0, 8, 100, 255}, 8)}), false);
    ASSERT_TRUE(dib);
    EXPECT_EQ(PixelOf(*dib, 1, 0), To565({8, 8, 8}));
    EXPECT_EQ(PixelOf(*dib, 3, 0), To565({255, 255, 255}));
}

TEST(GifDecode, InterlacedRowsLandWhereTheyBelong) {
    for (int height : {1, 2, 3, 5, 8, 9, 17}) {
        GifImage plain = Image(5, height, Indices(5 * height, 4, height));
        GifImage interlaced = plain;
        interlaced.interlaced = true;
        auto expected = Decode(MakeGif(kFour, {plain}), false);
        auto actual = Decode(MakeGif(kFour, {interlaced}), false);
        ASSERT_TRUE(expected && actual) << height;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(PixelOf(*actual, x, y), PixelOf(*expected, x, y)) << "height " << height << " row " << y;
    }
}

TEST(GifDecode, TheLastImageWinsAndAFailedLastImageGivesNone) {
    GifImage first = Image(4, 1, {0, 0, 0, 0});
    GifImage second = Image(8, 2, Indices(16, 4, 3));
    auto dib = Decode(MakeGif(kFour, {first, second}), false);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->GetRequestedWidth(), 8);
    EXPECT_EQ(PixelOf(*dib, 7, 1), To565(kFour[second.indices[15]]));

    const Bytes badCodes = {0xFF, 0xFF, 0xFF};  // 7 at three bits: beyond the table
    second.rawCodes = &badCodes;
    EXPECT_FALSE(Decode(MakeGif(kFour, {first, second}), false));
}

TEST(GifDecode, AControlExtensionCountsForTheNextImageOnly) {
    GifImage first = Image(4, 1, {1, 1, 1, 1});
    first.transparent = 1;
    GifImage second = Image(4, 1, {0, 1, 2, 3});
    second.localTable = kFour;
    auto dib = Decode(MakeGif(kFour, {first, second}), true);
    ASSERT_TRUE(dib);
    EXPECT_EQ(AlphaOf(*dib, 1, 0), 255);
    EXPECT_EQ(PixelOf(*dib, 1, 0), To565(kFour[1]));
}

TEST(GifDecode, OnlyTheFirstTwoSignatureBytesCount) {
    Bytes file = MakeGif(kFour, {Image(4, 1, {0, 1, 2, 3})});
    file[2] = 'X';
    EXPECT_TRUE(Decode(file, false));
    const Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1};
    EXPECT_FALSE(Decode(jpeg, false));
}

// Round trips through the test's encoder at every code size, with the table
// filled and cleared many times over.
TEST(GifLzw, DecodesWhatTheEncoderWrote) {
    for (int bits = 1; bits <= 8; ++bits) {
        const int width = 97, height = 61;
        const Bytes indices = Indices(width * height, 1 << bits, 100 + bits);
        const Bytes codes = pictures::LzwEncode(indices, std::max(bits, 2));
        Bytes pixels(100 * height);
        ASSERT_TRUE(DecodeGifLzw(codes.data(), codes.size(), pixels.data(), std::max(bits, 2), 100, width, height,
                                 false))
            << bits;
        for (int y = 0; y < height; ++y)
            ASSERT_TRUE(std::equal(indices.begin() + y * width, indices.begin() + (y + 1) * width,
                                   pixels.begin() + y * 100))
                << "bits " << bits << " row " << y;
    }
}

TEST(GifLzw, AFullTableStaysInUseUntilTheEncoderClearsIt) {
    // An encoder may defer the clear code: once the table holds 4096 codes it
    // stays as it is and the codes go on at 12 bits. Such pictures are valid
    // and must decode whole however long the run without a clear lasts.
    int codes = 0;
    const Bytes some = Indices(6000, 256, 7);
    const Bytes medium = pictures::LzwEncode(some, 8, false, &codes);
    ASSERT_GT(codes, 4096);
    ASSERT_LT(codes, 8000);
    Bytes pixels(some.size());
    ASSERT_TRUE(DecodeGifLzw(medium.data(), medium.size(), pixels.data(), 8, 100, 100, 60, false));
    EXPECT_EQ(pixels, some);

    const Bytes many = Indices(30000, 256, 8);
    const Bytes endless = pictures::LzwEncode(many, 8, false, &codes);
    ASSERT_GT(codes, 8192);
    pixels.assign(many.size(), 0);
    ASSERT_TRUE(DecodeGifLzw(endless.data(), endless.size(), pixels.data(), 8, 300, 300, 100, false));
    EXPECT_EQ(pixels, many);
    pixels.assign(many.size(), 0);
    const Bytes cleared = pictures::LzwEncode(many, 8, true);
    EXPECT_TRUE(DecodeGifLzw(cleared.data(), cleared.size(), pixels.data(), 8, 300, 300, 100, false));
    EXPECT_EQ(pixels, many);
}

TEST(GifLzw, CodeStreamsThatCannotBeDecodedFail) {
    pictures::BitWriter beyond;  // a code two past the next free one
    beyond.Put(4, 3);
    beyond.Put(1, 3);
    beyond.Put(7, 3);
    pictures::BitWriter unknownFirst;  // a table code right after a clear
    unknownFirst.Put(4, 3);
    unknownFirst.Put(6, 3);
    pictures::BitWriter shortStream;  // ends before the pixels and the end code
    shortStream.Put(4, 3);
    shortStream.Put(1, 3);
    struct Case {
        const char* name;
        Bytes codes;
        int minCodeSize;
    } cases[] = {
        {"code beyond the table", beyond.Data(), 2},
        {"table code after clear", unknownFirst.Data(), 2},
        {"stream ends early", shortStream.Data(), 2},
        {"empty stream", {}, 2},
        {"code size 0", pictures::LzwEncode({0, 0, 0, 0}, 2), 0},
        {"code size 9", pictures::LzwEncode({0, 0, 0, 0}, 2), 9},
        {"code size 200", pictures::LzwEncode({0, 0, 0, 0}, 2), 200},
    };
    for (const Case& c : cases) {
        Bytes pixels(4 * 4, 0xEE);
        EXPECT_FALSE(DecodeGifLzw(c.codes.data(), c.codes.size(), pixels.data(), c.minCodeSize, 4, 4, 4, false))
            << c.name;
    }
    Bytes pixels(4);
    const Bytes codes = pictures::LzwEncode({0, 1, 2, 3}, 2);
    EXPECT_FALSE(DecodeGifLzw(codes.data(), codes.size(), pixels.data(), 2, 4, 0, 1, false));
}

TEST(GifLzw, AnEarlyEndCodeSucceedsAndExtraPixelsAreDropped) {
    const Bytes codes = pictures::LzwEncode({3, 2}, 2);
    Bytes pixels(8, 0);
    ASSERT_TRUE(DecodeGifLzw(codes.data(), codes.size(), pixels.data(), 2, 4, 4, 2, false));
    EXPECT_EQ(pixels, (Bytes{3, 2, 0, 0, 0, 0, 0, 0}));

    const Bytes tooMany = pictures::LzwEncode(Bytes(50, 1), 2);
    Bytes four(4 + 4, 0xEE);  // the image is 2 x 2 in rows of 4; the rest must stay
    ASSERT_TRUE(DecodeGifLzw(tooMany.data(), tooMany.size(), four.data(), 2, 4, 2, 2, false));
    EXPECT_EQ(four, (Bytes{1, 1, 0xEE, 0xEE, 1, 1, 0xEE, 0xEE}));
}

TEST(GifDecode, EveryTruncationFailsCleanly) {
    GifImage image = Image(9, 7, Indices(63, 4, 9));
    image.transparent = 3;
    const Bytes file = MakeGif(kFour, {image});
    // Cutting off the trailer alone still leaves a whole image.
    for (size_t cut = 0; cut + 1 < file.size(); ++cut) {
        const Bytes part(file.begin(), file.begin() + cut);
        EXPECT_FALSE(Decode(part, true)) << cut;
    }
}

TEST(GifDecode, HostileSizesAndIndicesAreBounded) {
    testsupport::AssertCounter asserts;
    // A 65535 x 65535 image is refused before its buffer is allocated.
    GifImage huge = Image(65535, 65535, {0, 0, 0, 0});
    EXPECT_FALSE(Decode(MakeGif(kFour, {huge}), false));
    EXPECT_GE(asserts.Count(), 2);

    // Codes of eight bits into a two-entry palette read past no table.
    GifImage wide = Image(4, 1, {0, 1, 200, 255}, 8);
    wide.localTable = {{255, 0, 0}, {0, 0, 255}};
    wide.transparent = 250;
    auto dib = Decode(MakeGif(kFour, {wide}), true);
    ASSERT_TRUE(dib);
    EXPECT_EQ(PixelOf(*dib, 1, 0), To565({0, 0, 255}));
    EXPECT_EQ(AlphaOf(*dib, 2, 0), 255);
}

TEST(GifDecode, ZeroWidthIsReportedAndGivesNoImage) {
    testsupport::AssertCounter asserts;
    EXPECT_FALSE(Decode(MakeGif(kFour, {Image(0, 1, {})}), false));
    EXPECT_EQ(asserts.Count(), 1);
}

}  // namespace
