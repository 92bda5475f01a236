// PNG decoding from memory: every colour type and depth as 8-bit RGBA, the
// alpha plane, interlacing, and files that are cut short or too large.
#include "gfx/pngdecode.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <memory>

#include "gfx/dibdc.h"
#include "picture_files.h"

namespace {

using pictures::Bytes;
using pictures::PngSpec;
using pictures::Rgb;

struct Rgba {
    uint8_t r, g, b, a;
};

std::unique_ptr<CAlphaDibDC> Decode(const Bytes& file) {
    return std::unique_ptr<CAlphaDibDC>(DecodePng(file.data(), file.size()));
}

// A picture of w x h whose expected RGBA comes from `colour`; `row` writes the
// file's samples of one row.
struct Case {
    const char* name;
    PngSpec spec;
    std::function<Rgba(int x, int y)> colour;
};

PngSpec Spec(int w, int h, int type, int depth, bool interlaced,
             const std::function<void(Bytes& row, int x, int y)>& put) {
    PngSpec spec;
    spec.width = w;
    spec.height = h;
    spec.colourType = type;
    spec.bitDepth = depth;
    spec.interlaced = interlaced;
    for (int y = 0; y < h; ++y) {
        Bytes row;
        for (int x = 0; x < w; ++x) put(row, x, y);
        spec.rows.push_back(row);
    }
    return spec;
}

// Packs samples of fewer than 8 bits, leftmost in the high bits.
PngSpec PackedGrey(int w, int h, int depth, const std::function<int(int x, int y)>& level) {
    PngSpec spec = Spec(w, h, PNG_COLOR_TYPE_GRAY, depth, false, [](Bytes&, int, int) {});
    const int perByte = 8 / depth;
    for (int y = 0; y < h; ++y) {
        Bytes row((w + perByte - 1) / perByte, 0);
        for (int x = 0; x < w; ++x)
            row[x / perByte] |= static_cast<uint8_t>(level(x, y) << (8 - depth * (x % perByte + 1)));
        spec.rows[y] = row;
    }
    return spec;
}

uint8_t Wave(int x, int y) { return static_cast<uint8_t>(x * 37 + y * 11); }

void Check(const Case& c) {
    auto dib = Decode(pictures::MakePng(c.spec));
    ASSERT_TRUE(dib) << c.name;
    ASSERT_EQ(dib->GetRequestedWidth(), c.spec.width) << c.name;
    ASSERT_EQ(dib->GetHeight(), c.spec.height) << c.name;
    for (int y = 0; y < c.spec.height; ++y)
        for (int x = 0; x < c.spec.width; ++x) {
            Rgba want = c.colour(x, y);
            ASSERT_EQ(*dib->GetPixelAddress(x, y), pictures::To565({want.r, want.g, want.b}))
                << c.name << " at " << x << "," << y;
            ASSERT_EQ(*dib->GetAlphaAt(x, y), want.a) << c.name << " at " << x << "," << y;
        }
}

TEST(PngDecode, EveryColourTypeComesOutAsRgbaWithItsAlpha) {
    const int w = 13, h = 9;
    std::vector<Case> cases = {
        {"rgba 8", Spec(w, h, PNG_COLOR_TYPE_RGBA, 8, false,
                        [](Bytes& r, int x, int y) { r.insert(r.end(), {Wave(x, y), 40, 200, Wave(y, x)}); }),
         [](int x, int y) { return Rgba{Wave(x, y), 40, 200, Wave(y, x)}; }},
        {"rgb 8", Spec(w, h, PNG_COLOR_TYPE_RGB, 8, false,
                       [](Bytes& r, int x, int y) { r.insert(r.end(), {10, Wave(x, y), 250}); }),
         [](int x, int y) { return Rgba{10, Wave(x, y), 250, 255}; }},
        {"rgb 16", Spec(w, h, PNG_COLOR_TYPE_RGB, 16, false,
                        [](Bytes& r, int x, int y) { r.insert(r.end(), {Wave(x, y), 0x80, 7, 0, 200, 0xFF}); }),
         [](int x, int y) { return Rgba{Wave(x, y), 7, 200, 255}; }},
        {"grey 8", Spec(w, h, PNG_COLOR_TYPE_GRAY, 8, false, [](Bytes& r, int x, int y) { r.push_back(Wave(x, y)); }),
         [](int x, int y) { return Rgba{Wave(x, y), Wave(x, y), Wave(x, y), 255}; }},
        {"grey alpha 8", Spec(w, h, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false,
                              [](Bytes& r, int x, int y) { r.insert(r.end(), {Wave(x, y), static_cast<uint8_t>(x * 19)}); }),
         [](int x, int y) { return Rgba{Wave(x, y), Wave(x, y), Wave(x, y), static_cast<uint8_t>(x * 19)}; }},
        {"grey 1", PackedGrey(w, h, 1, [](int x, int y) { return (x + y) & 1; }),
         [](int x, int y) {
             uint8_t v = (x + y) & 1 ? 255 : 0;
             return Rgba{v, v, v, 255};
         }},
        {"grey 4", PackedGrey(w, h, 4, [](int x, int y) { return (x + y) & 15; }),
         [](int x, int y) {
             uint8_t v = static_cast<uint8_t>(((x + y) & 15) * 17);
             return Rgba{v, v, v, 255};
         }},
        {"rgb 8 interlaced", Spec(w, h, PNG_COLOR_TYPE_RGB, 8, true,
                                  [](Bytes& r, int x, int y) { r.insert(r.end(), {Wave(x, y), Wave(y, x), 99}); }),
         [](int x, int y) { return Rgba{Wave(x, y), Wave(y, x), 99, 255}; }},
    };
    PngSpec palette = Spec(w, h, PNG_COLOR_TYPE_PALETTE, 8, false,
                           [](Bytes& r, int x, int y) { r.push_back(static_cast<uint8_t>((x + 2 * y) % 3)); });
    palette.palette = {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}};
    palette.transparency = {255, 0};  // entry 1 clear, entry 2 opaque by default
    cases.push_back({"palette with tRNS", palette, [](int x, int y) {
                         switch ((x + 2 * y) % 3) {
                         case 0: return Rgba{255, 0, 0, 255};
                         case 1: return Rgba{0, 128, 0, 0};
                         default: return Rgba{0, 0, 255, 255};
                         }
                     }});
    for (const Case& c : cases) Check(c);
}

TEST(PngDecode, DamagedFilesGiveNoSurface) {
    const Bytes good = pictures::MakePng(Spec(20, 20, PNG_COLOR_TYPE_RGB, 8, false, [](Bytes& r, int x, int y) {
        r.insert(r.end(), {Wave(x, y), Wave(y, x), 1});
    }));
    ASSERT_TRUE(Decode(good));
    for (size_t cut = 0; cut < good.size(); cut += 3) {
        // The image end marker and the last chunk's checksum are not read.
        if (cut + 16 >= good.size()) break;
        EXPECT_FALSE(Decode(Bytes(good.begin(), good.begin() + cut))) << cut;
    }
    Bytes badSignature = good;
    badSignature[1] = 'X';
    EXPECT_FALSE(Decode(badSignature));
    EXPECT_EQ(DecodePng(nullptr, 100), nullptr);
}

TEST(PngDecode, PicturesBeyondTheSizeLimitAreRefusedBeforeDecoding) {
    PngSpec small = Spec(1, 1, PNG_COLOR_TYPE_RGB, 8, false, [](Bytes& r, int, int) { r.insert(r.end(), {1, 2, 3}); });
    const Bytes file = pictures::MakePng(small);
    // The one-pixel file with the header's size changed and its checksum made valid again.
    auto withSize = [&file](uint32_t w, uint32_t h) {
        Bytes out = file;
        for (int i = 0; i < 4; ++i) {
            out[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
            out[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
        }
        const uint32_t crc = static_cast<uint32_t>(crc32(0, out.data() + 12, 17));
        for (int i = 0; i < 4; ++i) out[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        return out;
    };
    EXPECT_TRUE(Decode(withSize(1, 1)));
    EXPECT_FALSE(Decode(withSize(100000, 100000)));
    EXPECT_FALSE(Decode(withSize(5000, 5000)));
}

TEST(PngMemory, ReadsNoFurtherThanTheData) {
    const uint8_t data[5] = {1, 2, 3, 4, 5};
    CPngMemorySource source{data, sizeof data, 0};
    uint8_t out[8] = {};
    EXPECT_EQ(ReadPngMemory(out, 3, &source), 3u);
    EXPECT_EQ(ReadPngMemory(out, 8, &source), 2u);
    EXPECT_EQ(out[1], 5);
    EXPECT_EQ(ReadPngMemory(out, 8, &source), 0u);
}

}  // namespace
