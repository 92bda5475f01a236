#include "gfx/fontserver.h"

#include <gtest/gtest.h>

#include "drawing_fixture.h"
#include "gfx/gdicache.h"
#include "gfx/zvregistry.h"

namespace {

using FontServer = drawtest::DrawingTest;

TEST_F(FontServer, PlainHeightsAreClampedToElevenThroughThirtyNine) {
    FontHandle eleven = fonts_->GetFont(11);
    ASSERT_TRUE(eleven);
    EXPECT_EQ(fonts_->GetFont(10), eleven);
    EXPECT_EQ(fonts_->GetFont(-5), eleven);
    EXPECT_EQ(eleven->Height(), 11);
    EXPECT_EQ(fonts_->GetFont(100), fonts_->GetFont(39));
    EXPECT_EQ(fonts_->GetFont(100)->Height(), 39);
    EXPECT_FALSE(fonts_->GetFont(20)->Smooth());
}

TEST_F(FontServer, OneSmoothFontAtATime) {
    EXPECT_EQ(fonts_->GetSmoothFont(9), fonts_->GetFont(11));
    FontHandle first = fonts_->GetSmoothFont(20);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->Smooth());
    EXPECT_EQ(fonts_->GetSmoothFont(20), first);
    FontHandle other = fonts_->GetSmoothFont(21);
    FontHandle again = fonts_->GetSmoothFont(20);
    EXPECT_NE(other, first);
    EXPECT_NE(again, first);
    // The replaced font stays usable for whoever still holds it.
    EXPECT_EQ(first->Height(), 20);
    EXPECT_GT(first->Advance(u"still here"), 0);

    shell_.alternateFont = true;
    EXPECT_EQ(fonts_->GetSmoothFont(20), fonts_->GetFont(20));
}

TEST_F(FontServer, BoldTextIsReadWhenAFontIsMade) {
    int regular = fonts_->GetFont(20)->Advance(u"Bold text");
    shell_.bold = true;
    EXPECT_EQ(fonts_->GetFont(20)->Advance(u"Bold text"), regular);  // cached
    fonts_->FlushFonts();
    EXPECT_GT(fonts_->GetFont(20)->Advance(u"Bold text"), regular);
}

TEST_F(FontServer, FacesMatchWithoutRegardToCaseOrThroughTheirSubstitute) {
    EXPECT_STREQ(fonts_->GetFaceName().GetAnsi(), "Arial");
    EXPECT_TRUE(fonts_->HasFace());  // Arial is installed as Liberation Sans
    EXPECT_EQ(fonts_->GetLogFont().face, "Liberation Sans");
    fonts_->SetFaceName("liberation SANS", false);
    EXPECT_TRUE(fonts_->HasFace());
    EXPECT_EQ(fonts_->GetLogFont().weight, 400);
    fonts_->SetFaceName("No Such Face", false);
    EXPECT_FALSE(fonts_->HasFace());
    EXPECT_TRUE(fonts_->GetFont(16));  // the first family stands in
}

TEST_F(FontServer, TheFaceIsKeptInTheSettingsOnlyWhenAskedTo) {
    FontHandle held = fonts_->GetFont(16);
    fonts_->SetFaceName("DejaVu Sans", false);
    EXPECT_NE(fonts_->GetFont(16), held);  // flushed, while the held one lives on
    EXPECT_EQ(held->Height(), 16);
    EXPECT_STREQ(CFontServer().GetFaceName().GetAnsi(), "Arial");

    fonts_->SetFaceName("DejaVu Sans", true);
    CZVString stored;
    ASSERT_EQ(CZVRegistry("UserInterface").ReadString("DefaultFont", &stored), 1);
    EXPECT_STREQ(stored.GetAnsi(), "DejaVu Sans");
    EXPECT_STREQ(CFontServer().GetFaceName().GetAnsi(), "DejaVu Sans");
}

TEST(GdiCache, ColoursRotateThroughThirtyTwoSlots) {
    CGdiCache cache;
    EXPECT_EQ(CGdiCache::Get(), &cache);
    CZVPen pen;
    CZVBrush brush;
    for (int i = 0; i < 33; ++i) cache.GetPenAndBrush(MakeColor(i, 0, 0), &pen, &brush);
    EXPECT_EQ(cache.FindSlot(MakeColor(32, 0, 0)), 0);
    EXPECT_EQ(cache.FindSlot(MakeColor(0, 0, 0)), -1);
    cache.GetPenAndBrush(MakeColor(0, 0, 0), &pen, &brush);
    EXPECT_EQ(cache.FindSlot(MakeColor(0, 0, 0)), 1);
    // A colour in use keeps its slot.
    cache.GetPenAndBrush(MakeColor(5, 0, 0), &pen, &brush);
    EXPECT_EQ(cache.FindSlot(MakeColor(5, 0, 0)), 5);

    cache.GetPenAndBrush(MakeColor(255, 255, 255), &pen, &brush);
    EXPECT_EQ(pen.pixel, 0xFFFF);
    EXPECT_EQ(brush.colour, MakeColor(255, 255, 255));
    EXPECT_EQ(pen.width, 1);
}

}  // namespace
