// JPEG decoding into RGB565 buffers: colours within a tolerance, placement at
// an offset, enlargement, turning over, progress and cancelling, and files
// that are damaged or do not fit.
#include "gfx/jpegdecode.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "picture_files.h"

namespace {

using pictures::Bytes;
using pictures::Near565;
using pictures::Rgb;

constexpr int kTolerance = 12;
constexpr Rgb kQuadrants[4] = {{220, 30, 30}, {30, 200, 40}, {40, 40, 210}, {240, 240, 60}};
constexpr uint16_t kUntouched = 0xBEEF;

Bytes Quadrants(int w, int h, int hSample = 1, int vSample = 1) {
    pictures::JpegSpec spec = pictures::QuadrantJpeg(w, h, kQuadrants);
    spec.hSample = hSample;
    spec.vSample = vSample;
    return pictures::MakeJpeg(spec);
}

struct Buffer {
    Buffer(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, kUntouched) {}
    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool Untouched() const {
        return std::all_of(pixels.begin(), pixels.end(), [](uint16_t p) { return p == kUntouched; });
    }
    int width, height;
    std::vector<uint16_t> pixels;
};

// Checks the centre of each quadrant of the w x h picture placed at (x, y).
void ExpectQuadrants(const Buffer& b, int x, int y, int w, int h, bool turned = false) {
    const int cx[2] = {w / 4, 3 * w / 4}, cy[2] = {h / 4, 3 * h / 4};
    for (int q = 0; q < 4; ++q) {
        const int shown = turned ? 3 - q : q;
        EXPECT_TRUE(Near565(b.At(x + cx[q % 2], y + cy[q / 2]), kQuadrants[shown], kTolerance)) << "quadrant " << q;
    }
}

TEST(JpegHeader, GivesSizeAndComponents) {
    const Bytes colour = Quadrants(24, 16);
    int w = 0, h = 0, components = 0;
    ASSERT_EQ(ReadJpegHeader(colour.data(), colour.size(), &w, &h, &components), 1);
    EXPECT_EQ(w, 24);
    EXPECT_EQ(h, 16);
    EXPECT_EQ(components, 3);
    pictures::JpegSpec grey;
    grey.components = 1;
    grey.samples.assign(16 * 16, 128);
    const Bytes greyFile = pictures::MakeJpeg(grey);
    ASSERT_EQ(ReadJpegHeader(greyFile.data(), greyFile.size(), nullptr, nullptr, &components), 1);
    EXPECT_EQ(components, 1);

    w = 7;
    EXPECT_EQ(ReadJpegSize(colour.data(), 20, &w, &h), 0);
    EXPECT_EQ(w, 7);
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(ReadJpegSize(gif.data(), gif.size(), &w, &h), 0);
}

TEST(JpegDecode, ColoursLandAtTheOffsetAndNothingElseIsWritten) {
    const Bytes file = Quadrants(32, 16);
    Buffer b(40, 30);
    ASSERT_EQ(
        DecodeJpegToRgb565(file.data(), file.size(), b.pixels.data(), 1, 5, 9, b.width, b.height, nullptr, nullptr), 1);
    ExpectQuadrants(b, 5, 9, 32, 16);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (x < 5 || x >= 37 || y < 9 || y >= 25) {
                ASSERT_EQ(b.At(x, y), kUntouched) << x << "," << y;
            }
}

TEST(JpegDecode, GreyPicturesShowGrey) {
    pictures::JpegSpec grey;
    grey.width = grey.height = 16;
    grey.components = 1;
    grey.samples.assign(16 * 16, 100);
    const Bytes file = pictures::MakeJpeg(grey);
    Buffer b(16, 16);
    ASSERT_EQ(DecodeJpeg(file.data(), file.size(), b.pixels.data(), 16, 16, 1), 1);
    EXPECT_TRUE(Near565(b.At(8, 8), {100, 100, 100}, 8));
}

TEST(JpegDecode, ScaleTwoFillsAnExactBufferAndAOneNarrowerOneIsLeftAlone) {
    const Bytes file = Quadrants(32, 16);
    Buffer exact(64, 32);
    ASSERT_EQ(DecodeJpeg(file.data(), file.size(), exact.pixels.data(), 64, 32, 2), 1);
    ExpectQuadrants(exact, 0, 0, 64, 32);
    for (int y = 0; y < 32; y += 2)
        for (int x = 0; x < 64; x += 2) {
            const uint16_t p = exact.At(x, y);
            ASSERT_TRUE(exact.At(x + 1, y) == p && exact.At(x, y + 1) == p && exact.At(x + 1, y + 1) == p)
                << x << "," << y;
        }

    Buffer narrow(63, 32);
    EXPECT_EQ(DecodeJpeg(file.data(), file.size(), narrow.pixels.data(), 63, 32, 2), 0);
    EXPECT_TRUE(narrow.Untouched());
    Buffer low(64, 31);
    EXPECT_EQ(DecodeJpeg(file.data(), file.size(), low.pixels.data(), 64, 31, 2), 0);
    EXPECT_TRUE(low.Untouched());
}

TEST(JpegDecode, EnlargementAtAnOffsetKeepsToItsArea) {
    const Bytes file = Quadrants(16, 16);
    Buffer b(60, 60);
    ASSERT_EQ(DecodeJpegToRgb565(file.data(), file.size(), b.pixels.data(), 3, 4, 6, 60, 60, nullptr, nullptr), 1);
    ExpectQuadrants(b, 4, 6, 48, 48);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (x < 4 || x >= 52 || y < 6 || y >= 54) {
                ASSERT_EQ(b.At(x, y), kUntouched) << x << "," << y;
            }
}

// Turned over means turned by 180 degrees, whatever the chroma subsampling.
TEST(JpegDecode, NegativeScaleTurnsThePictureRound) {
    for (int sampling : {1, 2}) {
        const Bytes file = Quadrants(64, 32, sampling, sampling);
        Buffer b(64, 32);
        ASSERT_EQ(DecodeJpeg(file.data(), file.size(), b.pixels.data(), 64, 32, -1), 1) << sampling;
        ExpectQuadrants(b, 0, 0, 64, 32, true);
        Buffer big(128, 64);
        ASSERT_EQ(DecodeJpeg(file.data(), file.size(), big.pixels.data(), 128, 64, -2), 1) << sampling;
        ExpectQuadrants(big, 0, 0, 128, 64, true);
    }
}

// The progress told, so that a loading bar moves with the rows.
class CountingSink : public CProgressSink {
public:
    explicit CountingSink(int answer) : m_answer(answer) {}
    int OnProgress(int done, int total) override {
        steps.push_back({done, total});
        return m_answer;
    }
    std::vector<std::pair<int, int>> steps;

private:
    int m_answer;
};

std::vector<std::pair<int, int>> RowSteps(int rows, int total) {
    std::vector<std::pair<int, int>> steps;
    for (int done = 1; done <= rows; ++done) steps.push_back({done, total});
    return steps;
}

TEST(JpegDecode, ProgressCountsTheRowsAndACancelKeepsTheRowsDone) {
    const Bytes file = Quadrants(16, 12);
    CountingSink patient(1);
    Buffer whole(16, 12);
    ASSERT_EQ(DecodeJpegWithProgress(file.data(), file.size(), whole.pixels.data(), 16, 12, 0, 0, 0, &patient), 1);
    EXPECT_EQ(patient.steps, RowSteps(12, 12));

    // Enlarged, the enlarging rows count too.
    CountingSink enlarged(1);
    Buffer big(32, 24);
    auto tell = [](void* sink, int done, int total) {
        return static_cast<CProgressSink*>(sink)->OnProgress(done, total);
    };
    ASSERT_EQ(DecodeJpegToRgb565(file.data(), file.size(), big.pixels.data(), 2, 0, 0, 32, 24, tell, &enlarged), 1);
    EXPECT_EQ(enlarged.steps, RowSteps(24, 24));

    CountingSink cancel(0);
    Buffer part(16, 12);
    EXPECT_EQ(DecodeJpegWithProgress(file.data(), file.size(), part.pixels.data(), 16, 12, 0, 0, 0, &cancel), 0);
    EXPECT_EQ(cancel.steps, RowSteps(1, 12));
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(part.At(x, 0), whole.At(x, 0)) << x;
        EXPECT_EQ(part.At(x, 1), kUntouched) << x;
    }

    Buffer noSink(16, 12);
    EXPECT_EQ(DecodeJpegWithProgress(file.data(), file.size(), noSink.pixels.data(), 16, 12, 0, 0, 0, nullptr), 1);
}

// A picture of noise, so that every pixel differs from its neighbours.
pictures::JpegSpec NoiseJpeg(int components, int hSample, int vSample) {
    pictures::JpegSpec spec;
    spec.width = 21;
    spec.height = 19;
    spec.components = components;
    spec.hSample = hSample;
    spec.vSample = vSample;
    std::mt19937 random(static_cast<unsigned>(components * 100 + hSample * 10 + vSample));
    spec.samples.resize(static_cast<size_t>(spec.width) * spec.height * components);
    for (auto& sample : spec.samples) sample = static_cast<uint8_t>(random());
    return spec;
}

// Pictures are centred, so they start on any pixel: whatever the sampling,
// every pixel of the picture's rectangle is written and equals the picture
// decoded at the buffer's left edge.
TEST(JpegDecode, EveryPixelIsWrittenAtAnyOffset) {
    struct Sampling {
        const char* name;
        int components, hSample, vSample;
        bool rgbCoded;
    } samplings[] = {
        {"4:4:4", 3, 1, 1, false},    {"4:2:2", 3, 2, 1, false},    {"4:2:0", 3, 2, 2, false},
        {"4:4:0", 3, 1, 2, false},    {"4:1:0", 3, 4, 2, false},    {"grey", 1, 1, 1, false},
        {"grey 2x2", 1, 2, 2, false}, {"RGB-coded", 3, 1, 1, true},
    };
    for (const Sampling& sampling : samplings) {
        pictures::JpegSpec spec = NoiseJpeg(sampling.components, sampling.hSample, sampling.vSample);
        spec.rgbCoded = sampling.rgbCoded;
        const Bytes file = pictures::MakeJpeg(spec);
        const int w = spec.width, h = spec.height;
        for (int scale : {1, -1}) {
            Buffer reference(w, h);
            ASSERT_EQ(DecodeJpeg(file.data(), file.size(), reference.pixels.data(), w, h, scale), 1) << sampling.name;
            for (int dx : {0, 1}) {
                SCOPED_TRACE(testing::Message() << sampling.name << " scale " << scale << " x " << dx);
                Buffer b(w + 2, h + 1);
                ASSERT_EQ(DecodeJpegToRgb565(file.data(), file.size(), b.pixels.data(), scale, dx, 1, b.width, b.height,
                                             nullptr, nullptr),
                          1);
                for (int y = 0; y < b.height; ++y)
                    for (int x = 0; x < b.width; ++x) {
                        const bool inside = x >= dx && x < dx + w && y >= 1;
                        ASSERT_EQ(b.At(x, y), inside ? reference.At(x - dx, y - 1) : kUntouched) << x << "," << y;
                    }
            }
        }
    }
}

// Some writers leave out the end-of-image marker; the picture is whole
// without it and must show as it would with it.
TEST(JpegDecode, APictureLackingOnlyItsEndMarkerDecodesWhole) {
    for (bool progressive : {false, true}) {
        pictures::JpegSpec spec = NoiseJpeg(3, 2, 2);
        spec.progressive = progressive;
        const Bytes file = pictures::MakeJpeg(spec);
        Buffer whole(spec.width, spec.height), cut(spec.width, spec.height);
        ASSERT_EQ(DecodeJpeg(file.data(), file.size(), whole.pixels.data(), whole.width, whole.height, 1), 1);
        EXPECT_EQ(DecodeJpeg(file.data(), file.size() - 2, cut.pixels.data(), cut.width, cut.height, 1), 1)
            << progressive;
        EXPECT_EQ(cut.pixels, whole.pixels) << progressive;
    }
}

TEST(JpegDecode, DamagedOrUnplaceableInputFails) {
    const Bytes file = Quadrants(16, 16);
    pictures::JpegSpec progressiveSpec = pictures::QuadrantJpeg(16, 16, kQuadrants);
    progressiveSpec.progressive = true;
    const Bytes progressive = pictures::MakeJpeg(progressiveSpec);
    Buffer b(16, 16);
    ASSERT_EQ(DecodeJpeg(progressive.data(), progressive.size(), b.pixels.data(), 16, 16, 1), 1);
    // A file cut anywhere before its end marker ends early: the missing
    // part is reported, not shown as a whole picture.
    for (const Bytes* whole : {&file, &progressive})
        for (size_t cut = 0; cut + 2 < whole->size(); ++cut)
            EXPECT_EQ(DecodeJpeg(whole->data(), cut, b.pixels.data(), 16, 16, 1), 0) << cut;
    const Bytes noise(300, 0x5A);
    EXPECT_EQ(DecodeJpeg(noise.data(), noise.size(), b.pixels.data(), 16, 16, 1), 0);
    struct Placement {
        int scale, dx, dy;
    } refused[] = {{0, 0, 0}, {1, -1, 0}, {1, 0, -1}, {1, 1, 0}, {-1, 0, 1}};
    for (const Placement& p : refused) {
        Buffer untouched(16, 16);
        EXPECT_EQ(DecodeJpegToRgb565(file.data(), file.size(), untouched.pixels.data(), p.scale, p.dx, p.dy, 16, 16,
                                     nullptr, nullptr),
                  0);
        EXPECT_TRUE(untouched.Untouched());
    }
    EXPECT_EQ(DecodeJpeg(file.data(), file.size(), nullptr, 16, 16, 1), 0);
}

}  // namespace
