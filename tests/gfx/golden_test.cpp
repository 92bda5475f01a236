// The look of a panel of text and shapes, compared with a reviewed picture.
#include <gtest/gtest.h>

#include "drawing_fixture.h"
#include "support/golden.h"

namespace {

void PaintPanel(CDibDC& dc) {
    const COLORREF back = MakeColor(32, 48, 80);
    const COLORREF face = MakeColor(70, 110, 170);
    const COLORREF white = MakeColor(255, 255, 255);
    dc.FillRect(back, 0, 0, 240, 160, 0);
    dc.FillBevelBoxStd(face, face, true, 4, 4, 235, 155, 2);
    dc.FillGlassRect(MakeColor(40, 120, 200), CZVRect(10, 10, 220, 28), 1.0f);
    dc.SetColor(white);
    dc.SetFont(18, 0, 0);
    dc.DrawText("Pool Temperature", CZVRect(10, 10, 220, 28), 0x12);

    dc.FillRoundRect(MakeColor(230, 230, 230), 12, 46, 100, 40, 10, 0);
    dc.SetColor(MakeColor(0, 0, 0));
    dc.SetFont(14, 0, 0);
    dc.DrawText("Heater\nOn", CZVRect(12, 46, 100, 40), 0x12);

    dc.FillRoundRect(MakeColor(200, 60, 40), 120, 46, 108, 40, 20, 1);
    dc.SetColor(white);
    dc.SetFont(13, 0, 0);
    dc.DrawText(dc.EllipsizeText("Filter pump schedule", 96), CZVRect(126, 46, 96, 40), 0x11);

    int lines = 3;
    CZVString wrapped = dc.WrapTextCopy("Spa jets stay on for twenty minutes after the last touch", 150, 10, &lines);
    dc.SetColor(MakeColor(255, 240, 160));
    dc.SetFont(12, 0, 0);
    dc.DrawText(wrapped, CZVRect(12, 94, 150, 56), 0x01);

    dc.FrameRect(white, 170, 94, 28, 56);
    dc.Line(MakeColor(255, 200, 0), 170, 94, 197, 149);
    dc.SetColor(white);
    dc.DrawVerticalText("SPA", 14, MakeColor(0, 0, 0), CZVRect(204, 94, 24, 56), 1, 0x12);
}

class Golden : public drawtest::DrawingTest {};

TEST_F(Golden, PanelOfTextAndShapes) {
    CDibDC panel(240, 160, 0, 0, 0);
    PaintPanel(panel);
    CDibDC shown(240, 160, 0, 0, 0);
    shown.BitBltAll(&panel, 0, 0);  // draws the queued text
    EXPECT_TRUE(testsupport::MatchesGolden(testsupport::ImageOf(shown), "panel"));
}

}  // namespace
