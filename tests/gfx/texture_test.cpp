// Textures fetched from a fake gateway: the luminance map and its
// stretching, the modulation of colours and surfaces, the skinned pieces and
// what happens when the picture does not come.
#include "gfx/texture.h"

#include <gtest/gtest.h>

#include "gfx/dibdc.h"
#include "gfx/zvimage.h"
#include "picture_files.h"
#include "support/assert_counter.h"
#include "support/gateway_session.h"

namespace {

using pictures::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

// A PNG whose pixels come from colour(x, y) as {r, g, b}.
template <typename Colour> Bytes Png(int w, int h, Colour colour) {
    pictures::PngSpec spec;
    spec.width = w;
    spec.height = h;
    for (int y = 0; y < h; ++y) {
        Bytes row;
        for (int x = 0; x < w; ++x) {
            const pictures::Rgb c = colour(x, y);
            row.insert(row.end(), {c.r, c.g, c.b, 255});
        }
        spec.rows.push_back(row);
    }
    return pictures::MakePng(spec);
}

Bytes PlainAnswer(int w, int h, const Bytes& file) {
    PayloadWriter payload;
    payload.Int(CZVImage::kTypePng).Int(w).Int(h).Int(static_cast<int>(file.size()));
    payload.Raw(file.data(), file.size());
    return payload;
}

class Textures : public testsupport::GatewaySession {
protected:
    // The gateway answers every plain picture request with this file.
    void Serve(int w, int h, Bytes file) {
        gateway.On(ZVM_IMAGE_GETPLAINQ, [w, h, file](const Frame& request) {
            return std::vector<Frame>{{request.sender, ZVM_IMAGE_GETPLAINA, PlainAnswer(w, h, file)}};
        });
    }
};

const auto kGrey = [](int, int) { return pictures::Rgb{120, 120, 120}; };

TEST_F(Textures, AUniformPictureGivesANeutralMapStretchedToTheScreen) {
    Serve(40, 30, Png(40, 30, kGrey));
    Connect();
    CTexture texture(server, CTexture::kLuminance);
    texture.SetScreenSize(80, 60);
    texture.SetImage("stone.png");
    Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETPLAINQ, &request));
    EXPECT_EQ(request.payload, Bytes(PayloadWriter().String("stone.png")));
    ASSERT_EQ(texture.Prepare(), 1);
    EXPECT_EQ(texture.GetImage(), nullptr);  // the map replaces the picture
    ASSERT_EQ(texture.GetMapWidth(), 80);
    ASSERT_EQ(texture.GetMapHeight(), 60);
    const uint8_t* map = texture.GetMap();
    EXPECT_TRUE(std::all_of(map, map + 80 * 60, [](uint8_t t) { return t == CTexture::kNeutral; }));
    EXPECT_EQ(texture.Prepare(), 1);
}

TEST_F(Textures, APictureLargerThanTheScreenKeepsItsSize) {
    Serve(48, 40, Png(48, 40, kGrey));
    Connect();
    CTexture texture(server, CTexture::kLuminance);
    texture.SetScreenSize(40, 30);
    texture.SetImage("big.png");
    ASSERT_EQ(texture.Prepare(), 1);
    EXPECT_EQ(texture.GetMapWidth(), 48);
    EXPECT_EQ(texture.GetMapHeight(), 40);
}

// Black reads as 0x0080 (brightness 5), white as 249; the mean 127 moves to 175.
TEST_F(Textures, TheMapCentresTheBrightnessOnTheNeutralValue) {
    Serve(4, 2, Png(4, 2, [](int x, int) { return x < 2 ? pictures::Rgb{0, 0, 0} : pictures::Rgb{255, 255, 255}; }));
    Connect();
    CTexture texture(server, CTexture::kLuminance);
    texture.SetImage("two.png");
    ASSERT_EQ(texture.Prepare(), 1);
    const uint8_t* map = texture.GetMap();
    EXPECT_EQ(map[0], 53);
    EXPECT_EQ(map[3], 255);
    EXPECT_EQ(map[4], 53);
}

TEST(TextureModulation, ChannelsMoveByTheMapAndStayWithinTenAndFull) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CTexture texture(server, CTexture::kLuminance);
    struct Case {
        uint16_t pixel;
        uint8_t t;
        uint16_t expected;
    } cases[] = {
        {0x8410, 175, 0x8410},  // neutral
        {0x0000, 175, 0x0841},  // channels below 10 are raised to 10
        {0xFFFF, 255, 0xFFFF},
        {0x0000, 0, 0x0841},
        {0x8410, 207, 0xA514},  // +32 on each channel
    };
    for (const Case& c : cases) EXPECT_EQ(texture.Modulate(c.pixel, c.t), c.expected) << c.pixel << " " << int(c.t);
}

TEST_F(Textures, ApplyFillAndSpansReadTheMapAtScreenPositions) {
    // Left half dark, right half light.
    Serve(8, 4, Png(8, 4, [](int x, int) { return x < 4 ? pictures::Rgb{0, 0, 0} : pictures::Rgb{255, 255, 255}; }));
    Connect();
    CTexture texture(server, CTexture::kLuminance);
    texture.SetImage("half.png");
    ASSERT_EQ(texture.Prepare(), 1);
    const uint16_t grey = ToRgb565(MakeColor(128, 128, 128));
    const uint16_t dark = texture.Modulate(grey, 53), light = texture.Modulate(grey, 255);
    ASSERT_NE(dark, light);

    CDibDC src(4, 2, 0, 0, 0);
    src.FillRect(MakeColor(128, 128, 128), 0, 0, 4, 2, 0);
    CDibDC dst(4, 2, 0, 0, 0);
    dst.FillRect(0, 0, 0, 4, 2, 0);
    texture.Apply(&src, &dst, 2, 0, nullptr);
    EXPECT_EQ(*dst.GetPixelAddress(0, 0), dark);
    EXPECT_EQ(*dst.GetPixelAddress(1, 1), dark);
    EXPECT_EQ(*dst.GetPixelAddress(2, 0), light);
    // A clip left of the surface keeps the map aligned with the clip's corner.
    dst.FillRect(0, 0, 0, 4, 2, 0);
    CZVRect clip(-2, 0, 4, 2);
    texture.Apply(&src, &dst, 2, 0, &clip);
    EXPECT_EQ(*dst.GetPixelAddress(0, 0), light);
    EXPECT_EQ(*dst.GetPixelAddress(2, 0), 0);  // outside the clip

    CDibDC surface(8, 4, 0, 0, 0);
    surface.FillRect(0, 0, 0, 8, 4, 0);
    surface.SetOrigin(1, 1);
    texture.FillRect(&surface, 1, 0, 4, 2, MakeColor(128, 128, 128));
    EXPECT_EQ(*surface.GetPixelAddress(0, 1), 0);
    EXPECT_EQ(*surface.GetPixelAddress(2, 1), dark);
    EXPECT_EQ(*surface.GetPixelAddress(5, 2), light);
    EXPECT_EQ(*surface.GetPixelAddress(6, 2), 0);

    CDibDC spans(8, 4, 0, 0, 0);
    spans.FillRect(MakeColor(128, 128, 128), 0, 0, 8, 4, 0);
    CSpanList runs(true);
    runs.Add(1, 0, 100);   // down column 1, cut to the surface
    runs.Add(-1, 0, 2);    // outside: skipped
    texture.ApplySpans(&spans, 4, 0, &runs);
    EXPECT_EQ(*spans.GetPixelAddress(1, 3), light);
    EXPECT_EQ(*spans.GetPixelAddress(0, 0), grey);
    EXPECT_EQ(*spans.GetPixelAddress(2, 0), grey);
}

TEST_F(Textures, APictureThatDoesNotComeBlocksOnceAndArrivesLater) {
    gateway.On(ZVM_IMAGE_GETPLAINQ, [](const Frame&) { return std::vector<Frame>{}; });
    Connect();
    CTexture texture(server, CTexture::kLuminance);
    texture.SetImage("slow.png");
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETPLAINQ));
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(texture.Prepare(), 0);
    EXPECT_GE(clock.TickCount() - start, 2 * CZVImage::kFetchTimeout);
    EXPECT_LT(clock.TickCount() - start, 2 * CZVImage::kFetchTimeout + 200);
    // Later paints do not wait again.
    const uint32_t later = clock.TickCount();
    EXPECT_EQ(texture.Prepare(), 0);
    EXPECT_EQ(clock.TickCount(), later);
    // The answer still reaches the picture through the main loop.
    ASSERT_TRUE(gateway.Push(ZVM_IMAGE_GETPLAINA, PlainAnswer(4, 4, Png(4, 4, kGrey)), texture.GetImage()->GetId()));
    CZVImage* image = texture.GetImage();
    ASSERT_TRUE(testsupport::PollAllUntil(server, [image] { return image->GetWidth() > 0; }));
    EXPECT_EQ(texture.Prepare(), 1);
}

TEST_F(Textures, ARefusedOrUnnamedPictureLeavesTheTextureUnusable) {
    gateway.On(ZVM_IMAGE_GETPLAINQ,
               [](const Frame& request) { return std::vector<Frame>{{request.sender, ZVM_SESSION_ERROR, {}}}; });
    Connect();
    CTexture texture(server, CTexture::kSkin);
    texture.SetImage("missing.png");
    EXPECT_EQ(texture.Prepare(), 0);
    EXPECT_EQ(texture.GetScreenImage(), nullptr);

    const size_t asked = gateway.Requests().size();
    texture.SetImage("");
    EXPECT_EQ(texture.GetImage(), nullptr);
    EXPECT_EQ(texture.Prepare(), 0);
    EXPECT_EQ(gateway.Requests().size(), asked);
}

TEST_F(Textures, TheSkinIsKeptAtScreenSizeWithItsPieces) {
    Serve(20, 10, Png(20, 10, kGrey));
    Connect();
    CTexture skin(server, CTexture::kSkin);
    skin.SetScreenSize(40, 30);
    skin.SetImage("wood.png");
    ASSERT_EQ(skin.Prepare(), 1);
    CDibDC* picture = skin.GetScreenImage();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->GetRequestedWidth(), 40);
    EXPECT_EQ(picture->GetHeight(), 30);
    EXPECT_EQ(skin.GetMap(), nullptr);

    auto* first = new CDibDC(2, 2, 0, 0, 0);
    EXPECT_EQ(skin.AddPiece(7, 3, first), 1);
    testsupport::AssertCounter asserts;
    EXPECT_EQ(skin.AddPiece(7, 3, new CDibDC(2, 2, 0, 0, 0)), 0);
    EXPECT_EQ(asserts.Count(), 1);
    EXPECT_EQ(skin.FindPiece(7, 3), first);
    EXPECT_EQ(skin.FindPiece(3, 7), nullptr);
    EXPECT_EQ(skin.GetPieceCount(), 1);
    // A new name starts over.
    skin.SetImage("marble.png");
    EXPECT_EQ(skin.GetPieceCount(), 0);
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_IMAGE_GETPLAINQ));
}

}  // namespace
