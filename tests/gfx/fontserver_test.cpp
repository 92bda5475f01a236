#include "gfx/fontserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "drawing_fixture.h"
#include "gfx/gdicache.h"
#include "gfx/zvregistry.h"
#include "platform/glyphcache.h"

namespace {

using FontServer = drawtest::DrawingTest;

TEST_F(FontServer, PlainHeightsAreClampedToElevenThroughThirtyNine) {
    FontHandle eleven = m_fonts->GetFont(11);
    ASSERT_TRUE(eleven);
    EXPECT_EQ(m_fonts->GetFont(10), eleven);
    EXPECT_EQ(m_fonts->GetFont(-5), eleven);
    EXPECT_EQ(eleven->Height(), 11);
    EXPECT_EQ(m_fonts->GetFont(100), m_fonts->GetFont(39));
    EXPECT_EQ(m_fonts->GetFont(100)->Height(), 39);
    EXPECT_FALSE(m_fonts->GetFont(20)->Smooth());
}

TEST_F(FontServer, OneSmoothFontAtATime) {
    EXPECT_EQ(m_fonts->GetSmoothFont(9), m_fonts->GetFont(11));
    FontHandle first = m_fonts->GetSmoothFont(20);
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->Smooth());
    EXPECT_EQ(m_fonts->GetSmoothFont(20), first);
    FontHandle other = m_fonts->GetSmoothFont(21);
    FontHandle again = m_fonts->GetSmoothFont(20);
    EXPECT_NE(other, first);
    EXPECT_NE(again, first);
    // The replaced font stays usable for whoever still holds it.
    EXPECT_EQ(first->Height(), 20);
    EXPECT_GT(first->Advance(u"still here"), 0);

    m_shell.alternateFont = true;
    EXPECT_EQ(m_fonts->GetSmoothFont(20), m_fonts->GetFont(20));
}

TEST_F(FontServer, BoldTextIsReadWhenAFontIsMade) {
    int regular = m_fonts->GetFont(20)->Advance(u"Bold text");
    m_shell.bold = true;
    EXPECT_EQ(m_fonts->GetFont(20)->Advance(u"Bold text"), regular);  // cached
    m_fonts->FlushFonts();
    EXPECT_GT(m_fonts->GetFont(20)->Advance(u"Bold text"), regular);
}

TEST_F(FontServer, FacesMatchWithoutRegardToCaseOrThroughTheirSubstitute) {
    EXPECT_STREQ(m_fonts->GetFaceName().GetAnsi(), "Arial");
    EXPECT_TRUE(m_fonts->HasFace());  // Arial is installed as Liberation Sans
    EXPECT_EQ(m_fonts->GetLogFont().face, "Liberation Sans");
    m_fonts->SetFaceName("liberation SANS", false);
    EXPECT_TRUE(m_fonts->HasFace());
    EXPECT_EQ(m_fonts->GetLogFont().weight, 400);
    m_fonts->SetFaceName("No Such Face", false);
    EXPECT_FALSE(m_fonts->HasFace());
    EXPECT_TRUE(m_fonts->GetFont(16));  // the first family stands in
}

TEST_F(FontServer, TheFaceIsKeptInTheSettingsOnlyWhenAskedTo) {
    FontHandle held = m_fonts->GetFont(16);
    m_fonts->SetFaceName("DejaVu Sans", false);
    EXPECT_NE(m_fonts->GetFont(16), held);  // flushed, while the held one lives on
    EXPECT_EQ(held->Height(), 16);
    EXPECT_STREQ(CFontServer().GetFaceName().GetAnsi(), "Arial");

    m_fonts->SetFaceName("DejaVu Sans", true);
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

// Text drawn by a font through the process's glyph cache.
std::vector<uint16_t> DrawnText(const platform::Font& font, std::u16string_view text) {
    constexpr int kW = 240, kH = 40;
    std::vector<uint16_t> pixels(kW * kH, 0xFFFF);
    const platform::Surface16 surface{pixels.data(), kW, kW, kH};
    font.Draw(text, 2, 2, 0x0010, surface, platform::ClipBox{0, 0, kW, kH});
    return pixels;
}

TEST_F(FontServer, ASmoothFontMadeAgainDrawsTheSamePixelsFromTheGlyphCache) {
    // A smooth size no other test draws, so that the first drawing renders its glyphs.
    const std::u16string text = u"Glyphs {&} 42";
    platform::GlyphCache& cache = platform::GlyphCache::Shared();
    const size_t before = cache.Count();
    const std::vector<uint16_t> rendered = DrawnText(*m_fonts->GetSmoothFont(37), text);
    const size_t after = cache.Count();
    EXPECT_GT(after, before);
    EXPECT_NE(std::count(rendered.begin(), rendered.end(), 0x0010), 0);

    FontHandle other = m_fonts->GetSmoothFont(38);
    FontHandle again = m_fonts->GetSmoothFont(37);
    EXPECT_EQ(DrawnText(*again, text), rendered);
    EXPECT_EQ(cache.Count(), after);  // nothing rendered again
    EXPECT_NE(DrawnText(*other, text), rendered);
}
