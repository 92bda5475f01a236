// The style object's pictures served by a fake gateway and laid over
// surfaces: skinned fills and their cached pieces, skin laying, themed
// fills, and one skinned panel with an icon against its reviewed picture.
#include "widgets/style/skins.h"

#include <gtest/gtest.h>

#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/pngdecode.h"
#include "gfx/zvimage.h"
#include "gfx/picture_files.h"
#include "support/assert_counter.h"
#include "support/gateway_session.h"
#include "support/golden.h"
#include "support/widget_harness.h"
#include "widgets/regions/shadewnd.h"

namespace {

using pictures::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

constexpr COLORREF kColour = MakeColor(40, 120, 200);

void Fill(CDibDC& surface, COLORREF colour) {
    surface.FillRect(colour, 0, 0, surface.GetRequestedWidth(), surface.GetHeight(), 0);
}

TEST(SkinPieceDirect, LevelsMixTheColourWithTheSkin) {
    CDibDC skin(8, 8, 0, 0, 0);
    Fill(skin, MakeColor(200, 40, 16));
    const uint16_t colour = ToRgb565(kColour), picture = ToRgb565(MakeColor(200, 40, 16));
    struct Case {
        const char* what;
        CDibDC* skin;
        int level, mix;
        uint16_t expected;
    } cases[] = {
        {"level 0 is the colour", &skin, 0, 0, colour},
        {"level 8 is the picture", &skin, 8, 0, picture},
        {"mix 8 fills plainly", &skin, 8, 8, colour},
        {"no picture fills plainly", nullptr, 8, 0, colour},
        // Half way: (5 * 128 + 25 * 128) / 256 = 15 and so on per channel.
        {"level 4 is half", &skin, 4, 0, static_cast<uint16_t>(((5 + 25) / 2) << 11 | ((30 + 10) / 2) << 5 | (25 + 2) / 2)},
    };
    for (const Case& c : cases) {
        CDibDC target(8, 8, 0, 0, 0);
    Fill(target, 0);
        DrawSkinPieceDirect(&target, c.skin, kColour, 2, 2, 4, 4, c.level, c.mix);
        EXPECT_EQ(*target.GetPixelAddress(3, 3), c.expected) << c.what;
        EXPECT_EQ(*target.GetPixelAddress(1, 1), 0) << c.what;
        EXPECT_EQ(*target.GetPixelAddress(6, 6), 0) << c.what;
    }
    // The overlay: a mid-grey picture leaves the colour.
    CDibDC grey(8, 8, 0, 0, 0);
    grey.FillSpan(15 << 11 | 31 << 5 | 15, 0, 7, 0);
    CDibDC target(8, 8, 0, 0, 0);
    Fill(target, 0);
    DrawSkinPieceDirect(&target, &grey, kColour, 0, 0, 8, 1, 12, 0);
    EXPECT_EQ(*target.GetPixelAddress(4, 0), colour);
}

Bytes Stripes(int w, int h) {
    pictures::PngSpec spec;
    spec.width = w;
    spec.height = h;
    for (int y = 0; y < h; ++y) {
        Bytes row;
        for (int x = 0; x < w; ++x) {
            const bool band = ((x + y) / 6) % 2;
            row.insert(row.end(), {static_cast<uint8_t>(band ? 180 : 120), static_cast<uint8_t>(90 + 3 * y),
                                   static_cast<uint8_t>(band ? 60 : 140), 255});
        }
        spec.rows.push_back(row);
    }
    return pictures::MakePng(spec);
}

// A style object with its pictures on a connection to a fake gateway that
// serves a striped skin, under a main window of 160 x 120.
class SkinnedStyle : public testsupport::GatewaySession {
protected:
    SkinnedStyle() {
        const Bytes file = Stripes(80, 60);
        gateway.On(ZVM_IMAGE_GETPLAINQ, [file](const Frame& request) {
            PayloadWriter p;
            p.Int(CZVImage::kTypePng).Int(80).Int(60).Int(static_cast<int>(file.size()));
            p.Raw(file.data(), file.size());
            return std::vector<Frame>{{request.sender, ZVM_IMAGE_GETPLAINA, p}};
        });
        style.SetFlags(0x81 | kStyleSkins);
    }
    // Settings that name the skin, at the skin level given.
    void Connect(int level = 1) {
        GatewaySession::Connect();
        PayloadWriter p;
        p.Int(1).Int(0).Int(CStyleTables::kValues).Int(CStyleTables::kColors);
        p.Int(0x81 | kStyleSkins).Int(32).String("").String("stripes.png").Int(level);
        const Bytes payload = p;
        CZVMSG answer(0, ZVM_UI_GETSETTINGSA, static_cast<int32_t>(payload.size()));
        std::copy(payload.begin(), payload.end(), answer.GetData());
        ASSERT_EQ(style.ParseSettings(&answer), 1);
    }

    CSetServer style{server};
    CStyleSkins skins{style};
    testsupport::TestMainWnd root{160, 120, nullptr};
};

TEST_F(SkinnedStyle, TheSkinComesAtScreenSizeAndReservedColoursAreCachedAsPieces) {
    Connect();
    CDibDC* picture = style.GetSkinImage();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->GetRequestedWidth(), 160);
    EXPECT_EQ(picture->GetHeight(), 120);
    auto* textures = dynamic_cast<CStyleTextures*>(style.GetArt());
    ASSERT_TRUE(textures);

    const COLORREF reserved = style.GetStyleColor(6, 0);
    CDibDC target(40, 30, 0, 0, 0);
    Fill(target, 0);
    target.SetOrigin(100, 50);  // as if the surface stood at (100, 50)
    EXPECT_EQ(style.DrawSkinPiece(&target, reserved, -100, -50, 20, 10, 3, 0), 1);
    EXPECT_EQ(textures->GetSkin().GetPieceCount(), 1);
    CDibDC expected(40, 30, 0, 0, 0);
    Fill(expected, 0);
    DrawSkinPieceDirect(&expected, picture, reserved, 0, 0, 20, 10, 3, 0);
    for (int x : {0, 7, 19}) EXPECT_EQ(*target.GetPixelAddress(x, 5), *expected.GetPixelAddress(x, 5)) << x;
    style.DrawSkinPiece(&target, reserved, -100, -50, 20, 10, 3, 0);
    EXPECT_EQ(textures->GetSkin().GetPieceCount(), 1);
    // Other colours, and direct fills, are drawn without a piece.
    style.DrawSkinPiece(&target, kColour, -100, -50, 20, 10, 3, 0);
    style.DrawSkinPiece(&target, reserved, -100, -50, 20, 10, 3, 1);
    EXPECT_EQ(textures->GetSkin().GetPieceCount(), 1);
    style.ReleaseSkins();
    EXPECT_EQ(textures->GetSkin().GetPieceCount(), 0);
}

TEST_F(SkinnedStyle, LayingTheSkinMixesItUnderTheImageAtItsScreenPosition) {
    Connect();
    CDibDC* picture = style.GetSkinImage();
    ASSERT_TRUE(picture);
    CDibDC image(10, 10, 0, 0, 0);
    Fill(image, kColour);
    CDibDC target(20, 20, 0, 0, 0);
    Fill(target, 0);
    // Level 1: the image shows through at 1/8 over the skin (8 - 1 = 7 eighths of it).
    Skins().DrawWithSkin(&target, &image, 30, 40, 5, 5, 10, 10, 2);
    CDibDC expected(10, 10, 0, 0, 0);
    Fill(expected, 0);
    expected.BitBlt(0, 0, picture, 30, 40, 10, 10);
    expected.BlendRect(&image, 0, 0, 0, 0, 10, 10, 7);
    EXPECT_EQ(*target.GetPixelAddress(9, 9), *expected.GetPixelAddress(4, 4));
    EXPECT_EQ(*target.GetPixelAddress(4, 4), 0);

    // In place along the image's region only.
    CDibDC shaped(10, 10, 0, 0, 0);
    Fill(shaped, kColour);
    shaped.NewRegion()->Add(0, 0, 5);
    Skins().DrawWithSkin(&shaped, &shaped, 0, 0, 0, 0, 10, 10, 1);
    EXPECT_NE(*shaped.GetPixelAddress(2, 0), ToRgb565(kColour));
    EXPECT_EQ(*shaped.GetPixelAddress(7, 0), ToRgb565(kColour));
    EXPECT_EQ(*shaped.GetPixelAddress(2, 1), ToRgb565(kColour));

    // Without skins the image is drawn as it is.
    style.SetFlags(0x81);
    CDibDC plain(20, 20, 0, 0, 0);
    Fill(plain, 0);
    Skins().DrawWithSkin(&plain, &image, 30, 40, 0, 0, 10, 10, 0);
    EXPECT_EQ(*plain.GetPixelAddress(3, 3), ToRgb565(kColour));
}

TEST_F(SkinnedStyle, SpansAndThemedFillsNeedAPicture) {
    Connect();
    CDibDC surface(10, 4, 0, 0, 0);
    Fill(surface, kColour);
    CSpanList runs;
    runs.Add(0, 0, 10);
    EXPECT_EQ(Skins().DrawSkinRect(&surface, 0, 0, &runs, 0), 1);
    EXPECT_NE(*surface.GetPixelAddress(5, 0), ToRgb565(kColour));
    EXPECT_EQ(*surface.GetPixelAddress(5, 1), ToRgb565(kColour));
    testsupport::AssertCounter asserts;
    EXPECT_EQ(Skins().DrawSkinRect(&surface, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(asserts.Count(), 1);
    // Themed fills take the skin only above level 8; no texture is set.
    EXPECT_FALSE(skins.FillSkinned(&surface, kColour, 0, 0, 4, 4));
}

TEST(SkinsWithoutAGateway, NothingIsLaidAndFillsArePlain) {
    testsupport::VirtualClock clock;
    CZVServer server(ZVVariant::Tablet);
    CSetServer style(server);
    CStyleSkins skins(style);
    style.SetFlags(0x81 | kStyleSkins);
    EXPECT_EQ(style.GetSkinImage(), nullptr);
    EXPECT_EQ(style.IsTextureReady(), 0);
    CDibDC target(10, 10, 0, 0, 0);
    Fill(target, 0);
    EXPECT_EQ(style.DrawSkinPiece(&target, kColour, 0, 0, 4, 4, -1, 0), 0);
    Skins().DrawSkinPiece(&target, kColour, 0, 0, 4, 4, -1, false);
    EXPECT_EQ(*target.GetPixelAddress(2, 2), ToRgb565(kColour));
    EXPECT_EQ(*target.GetPixelAddress(5, 5), 0);
}

TEST_F(SkinnedStyle, ASkinnedPanelWithAnIcon) {
    Connect(5);
    ASSERT_TRUE(style.GetSkinImage());
    root.SetBackColor(MakeColor(70, 120, 90));
    auto* panel = new CShadeWnd(&root, {12, 10, 136, 100}, 6);
    panel->SetColors(MakeColor(90, 110, 150), MakeColor(90, 110, 150));
    panel->SetBevel(5);
    panel->AddFrame(0, 0, 0, 0, 5, 12, 0, 1, 0, 0);
    root.AddChild(panel);
    CDibDC screen(160, 120, 0, 0, 0);
    screen.FillRect(0, 0, 0, 160, 120, 0);
    root.Paint(&screen, 1);

    // A bevelled, skinned face inside the panel, with a stock icon on it.
    CZVWindow button(panel, {28, 20, 80, 60}, 18);
    button.SetColors(MakeColor(230, 190, 80), MakeColor(90, 110, 150));
    CDibDC face(80, 60, 0, 0, 0);
    face.FillRect(0, 0, 0, 80, 60, 0);
    RenderShadedFrame(&button, button.GetFaceColor(), &face, -1, true, false);
    screen.TransparentBlt(40, 30, &face, 0, 0, 80, 60, 0);
    CZVIcon icon(server);
    icon.MakeStock(13, MakeColor(40, 40, 120));
    icon.Draw(nullptr, &screen, button.GetFaceColor(), {55, 40, 50, 40}, 0, nullptr);
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(screen), "skinned_panel_icon"));
}

}  // namespace
