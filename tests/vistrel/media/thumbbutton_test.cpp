// See-through buttons over a picture: the face mixes the covered piece, lit by
// the button's grey face, with the face colour.
#include "vistrel/media/pictures/thumbbutton.h"

#include <gtest/gtest.h>

#include "gfx/dibdc.h"
#include "gfx/speed.h"
#include "support/golden.h"
#include "support/widget_harness.h"
#include "widgets/button_fixture.h"
#include "widgets/command_sink.h"
#include "widgets/pictures/dibwnd.h"

namespace {

// A picture of coloured diagonal bands, the kind a button lies over.
void PaintBands(CDibDC& surface) {
    static const COLORREF kBands[] = {MakeColor(40, 120, 200), MakeColor(240, 200, 40), MakeColor(60, 170, 80),
                                      MakeColor(230, 90, 70)};
    for (int y = 0; y < surface.GetHeight(); ++y)
        for (int x = 0; x < surface.GetRequestedWidth(); ++x)
            *surface.GetPixelAddress(x, y) = ToRgb565(kBands[((x + y) / 24) % 4]);
}

uint16_t Rgb(int r, int g, int b) { return ToRgb565(MakeColor(r, g, b)); }

TEST(ThumbTint, ThePictureIsLitByTheShadeAndMixedWithTheTint) {
    const uint16_t grey128 = Rgb(128, 128, 128);
    const struct {
        const char* what;
        uint16_t picture;
        uint16_t shade;
        COLORREF tint;
        uint16_t expected;
    } cases[] = {
        {"shade 128 passes the picture into the mix", Rgb(200, 100, 40), grey128, 0,
         Rgb(200 * 80 / 128, 100 * 80 / 128, 40 * 80 / 128)},
        {"the tint takes 3 parts in 8", Rgb(0, 0, 0), grey128, MakeColor(255, 128, 0),
         Rgb(255 * 48 / 128, 128 * 48 / 128, 0)},
        {"a light shade saturates at 255", Rgb(248, 252, 248), Rgb(248, 248, 248), 0,
         Rgb(255 * 80 / 128, 255 * 80 / 128, 255 * 80 / 128)},
        {"a dark shade stops at 0", Rgb(64, 64, 64), Rgb(8, 8, 8), MakeColor(128, 128, 128),
         Rgb(128 * 48 / 128, 128 * 48 / 128, 128 * 48 / 128)},
        {"outside the shape the picture stays", Rgb(10, 20, 30), 0, MakeColor(255, 255, 255), Rgb(10, 20, 30)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TintPixel(c.picture, c.shade, c.tint), c.expected);
    }
}

// The page shows the picture at (10, 10).
class PicturePage : public widgettest::CommandSink {
public:
    PicturePage(CZVWindow* parent, CDibDC* picture) : CommandSink(parent, CZVRect(0, 0, 320, 240)), m_picture(picture) {
        SetColors(0x404040, 0x404040);
    }
    void OnPaint(CZVDC* dc) override {
        FillFaceColor(dc, 0, 0, m_width, m_height);
        dc->BitBlt(10, 10, m_picture, 0, 0, m_picture->GetRequestedWidth(), m_picture->GetHeight());
    }

private:
    CDibDC* m_picture;
};

class ThumbButtons : public ::testing::Test {
protected:
    ThumbButtons() { PaintBands(picture); }

    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness;
    CDibDC picture{300, 200, 0, 0, 0};
    PicturePage* page = new PicturePage(&harness.Root(), &picture);
};

TEST_F(ThumbButtons, APieceOutsideThePictureShowsTheParentsFaceColour) {
    page->SetFaceColor(0x123456);
    CThumbButton button(page, CZVRect(0, 0, 40, 20), 7, 18, &picture, 280, 190);
    CDibDC* copy = button.GetPictureCopy();
    EXPECT_EQ(*copy->GetPixelAddress(5, 5), *picture.GetPixelAddress(285, 195));
    EXPECT_EQ(*copy->GetPixelAddress(25, 5), ToRgb565(0x123456));
    EXPECT_EQ(*copy->GetPixelAddress(5, 15), ToRgb565(0x123456));
}

TEST_F(ThumbButtons, TheToolkitsThumbButtonsSeeWhatTheScreenShowsBeneathThem) {
    InstallThumbButtons();
    harness.Screen().BitBlt(0, 0, &picture, 0, 0, 300, 200);
    std::unique_ptr<CZV3DButton> button(MakeThumbButton(page, CZVRect(30, 40, 60, 30), 5, 16));
    auto* thumb = dynamic_cast<CThumbButton*>(button.get());
    SetThumbButtonFactory(nullptr);
    ASSERT_NE(thumb, nullptr);
    EXPECT_EQ(*thumb->GetPictureCopy()->GetPixelAddress(10, 10), *picture.GetPixelAddress(40, 50));
}

// The viewer's bar of four: rounded at its outer ends, the picture seen
// through, tinted red; the pressed face is darker.
TEST_F(ThumbButtons, ABarOfFourOverAPictureLooksRight) {
    struct Look {
        const char* caption;
        int radius;
        int shape;
    };
    const Look looks[] = {{"Previous", 22, 2}, {"Back to\nGarden", 0, -1}, {"Full\nScreen", 0, -1}, {"Next", 22, 3}};
    const int w = 70;
    std::vector<CThumbButton*> buttons;
    for (int i = 0; i < 4; ++i) {
        const CZVRect rect(20 + i * w, 150, w, 45);
        auto* button = new CThumbButton(page, rect, 1001 + i, 18, &picture, rect.x - 10, rect.y - 10);
        button->SetFaceColor(0xFF6464);
        button->SetTextColor(0xFFFFFF);
        button->SetCornerRadius(looks[i].radius);
        button->SetShapeKind(looks[i].shape);
        button->SetText(looks[i].caption, nullptr, 0);
        page->AddChild(button);
        buttons.push_back(button);
    }
    harness.PaintAll();
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "thumb_button_bar"));
}

}  // namespace
