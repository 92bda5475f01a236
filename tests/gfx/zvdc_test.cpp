#include "gfx/zvdc.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "drawing_fixture.h"
#include "support/virtual_clock.h"

namespace {

constexpr COLORREF kWhite = MakeColor(255, 255, 255);
constexpr COLORREF kRed = MakeColor(255, 0, 0);
constexpr uint16_t kRed565 = 0xF800;

class Window : public CPaintWindow {
public:
    int ToRootX(int x) override { return x + rootX; }
    int ToRootY(int y) override { return y + rootY; }
    bool HasParent() override { return false; }
    CZVDC* GetEnclosingDC() override { return nullptr; }
    void ReleaseEnclosingDC(CZVDC*) override {}
    bool GetClipRect(CZVRect* rect) override {
        if (clip) *rect = *clip;
        return clip.has_value();
    }
    int rootX = 0;
    int rootY = 0;
    std::optional<CZVRect> clip;
};

class DrawingContext : public drawtest::DrawingTest {
protected:
    DrawingContext() {
        m_shell.screen = std::make_unique<CDibDC>(100, 60, 0, 0, 1);
        Clear(Screen(), 0);
    }
    CDibDC& Screen() { return *m_shell.screen; }
    Window m_window;
};

static_assert(std::has_virtual_destructor_v<CZVDC>);

TEST_F(DrawingContext, AWindowContextDrawsIntoTheScreenAtTheWindowsPosition) {
    m_window.rootX = 10;
    m_window.rootY = 20;
    m_window.clip = CZVRect(10, 20, 5, 5);  // root coordinates
    CZVDC dc(&m_window);
    dc.FillRect(kRed, 0, 0, 50, 50, 0);
    EXPECT_EQ(Inked(Screen(), 0), 25);
    EXPECT_EQ(Px(Screen(), 10, 20), kRed565);
    auto clip = dc.GetClipRect();
    ASSERT_TRUE(clip);
    EXPECT_EQ(*clip, CZVRect(0, 0, 5, 5));
}

TEST_F(DrawingContext, ClipsStackAndMeetTheFixedClip) {
    CZVDC dc(&m_window);
    dc.PushClipBounds(10, 10, 19, 19);
    dc.FillRect(kRed, 0, 0, 100, 100, 0);
    EXPECT_EQ(Inked(Screen(), 0), 100);
    EXPECT_EQ(dc.ClipRectToDC(CZVRect(15, 0, 100, 100)), CZVRect(15, 10, 5, 10));

    Clear(Screen(), 0);
    CZVRect fixed(0, 0, 3, 2);
    dc.SetClipRect(&fixed);
    dc.PushClip(nullptr);  // the fixed clip alone
    dc.FillRect(kRed, 0, 0, 100, 100, 0);
    EXPECT_EQ(Inked(Screen(), 0), 6);
    EXPECT_FALSE(dc.GetClipRect());
    dc.PopClip();
    dc.PopClip();
    {
        testsupport::AssertCounter asserts;
        dc.PopClip();
        EXPECT_EQ(asserts.LastSource(), "zvdc");
    }
}

TEST_F(DrawingContext, WindowRoundRectsOfSmallRadiusArePlainAndThemedFillsGoToTheStyle) {
    CZVDC dc(&m_window);
    dc.RoundRect(kRed, 0, 0, 4, 4, 2);
    EXPECT_EQ(Inked(Screen(), 0), 16);
    Clear(Screen(), 0);
    dc.RoundRect(kRed, 0, 0, 20, 20, 6);  // covers 0..20 inclusive with round corners
    EXPECT_EQ(Px(Screen(), 10, 20), kRed565);
    EXPECT_EQ(Px(Screen(), 20, 10), kRed565);
    EXPECT_EQ(Px(Screen(), 0, 0), 0);
}

TEST_F(DrawingContext, BevelsLightTheRaisedSide) {
    CZVDC dc(&m_window);
    COLORREF grey = MakeColor(100, 100, 100);
    dc.FillBevelBoxStd(grey, grey, true, 0, 0, 9, 9, 2);
    EXPECT_EQ(Px(Screen(), 0, 5), ToRgb565(ScaleColor(1.207, grey)));
    EXPECT_EQ(Px(Screen(), 1, 5), ToRgb565(ScaleColor(1.207, grey)));
    EXPECT_EQ(Px(Screen(), 9, 5), ToRgb565(ScaleColor(0.5, grey)));
    EXPECT_EQ(Px(Screen(), 5, 5), ToRgb565(grey));
    dc.DrawBevel(CZVRect(20, 0, 10, 10), 1, grey, false);
    EXPECT_EQ(Px(Screen(), 20, 5), ToRgb565(ScaleColor(0.5, grey)));
    EXPECT_EQ(Px(Screen(), 29, 5), ToRgb565(ScaleColor(1.207, grey)));
}

TEST_F(DrawingContext, BltFromDCClipsSourceAndDestinationTogether) {
    CDibDC src(10, 10, 0, 0, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) *src.GetPixelAddress(x, y) = static_cast<uint16_t>(y * 16 + x + 1);
    src.SetOrigin(2, 2);
    CZVDC dc(&m_window);
    dc.BltFromDC(20, 20, &src, -5, -4, 10, 10);  // source from (-3, -2): clipped
    EXPECT_EQ(Px(Screen(), 20, 20), 0);
    EXPECT_EQ(Px(Screen(), 23, 22), 1);
    EXPECT_EQ(Px(Screen(), 29, 29), 7 * 16 + 6 + 1);
    EXPECT_EQ(Inked(Screen(), 0), 7 * 8);
}

TEST_F(DrawingContext, CaptureAndScrollCopyTheContextsPixels) {
    CZVDC dc(&m_window);
    dc.FillRect(kRed, 10, 10, 5, 5, 0);
    CDibDC capture(10, 10, 0, 0, 0);
    Clear(capture, 0);
    dc.CaptureTo(&capture, 8, 8);
    EXPECT_EQ(Px(capture, 2, 2), kRed565);
    EXPECT_EQ(Px(capture, 1, 1), 0);
    EXPECT_EQ(Inked(capture, 0), 25);
    dc.ScrollArea(0, 0, 30, 30, 5, 0);
    EXPECT_EQ(Px(Screen(), 19, 10), kRed565);
    EXPECT_EQ(Px(Screen(), 20, 10), 0);
}

// ---- text

TEST_F(DrawingContext, TextWaitsForATargetAndIsDrawnWithTheValuesOfTheCall) {
    m_shell.screen.reset();  // no target while the text is queued
    auto dc = std::make_unique<CZVDC>();
    dc->SetOrigin(5, 5);
    dc->SetColor(kWhite);
    dc->SetFont(20, 0, 0);
    dc->DrawText("Deferred", CZVRect(0, 0, 90, 30), 0x11);
    dc->SetOrigin(40, 40);
    dc->SetColor(kRed);
    dc->SetFont(12, 0, 0);

    CDibDC expected(100, 60, 0, 0, 1);
    Clear(expected, 0);
    expected.SetOrigin(5, 5);
    expected.SetColor(kWhite);
    expected.SetFont(20, 0, 0);
    expected.DrawText("Deferred", CZVRect(0, 0, 90, 30), 0x11);

    m_shell.screen = std::make_unique<CDibDC>(100, 60, 0, 0, 1);
    Clear(Screen(), 0);
    dc.reset();
    EXPECT_GT(Inked(Screen(), 0), 50);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(Px(Screen(), x, y), Px(expected, x, y)) << x << "," << y;
}

TEST_F(DrawingContext, TextIsPlacedByItsFormat) {
    CZVDC dc(&m_window);
    dc.SetColor(kWhite);
    dc.SetFont(16, 0, 0);
    struct Case {
        int format;
        bool left, right, top, bottom, vcentre;
    };
    const Case cases[] = {
        {0x01, true, false, true, false, false},  {0x04, false, true, true, false, false},
        {0x0C, false, true, false, true, false},  {0x11, true, false, false, false, true},
        {0x12, false, false, false, false, true},
    };
    for (const Case& c : cases) {
        Clear(Screen(), 0);
        dc.DrawText("Mm", CZVRect(10, 10, 80, 40), c.format);
        Box ink = InkBox(Screen(), 0);
        ASSERT_GE(ink.right, 0) << c.format;
        EXPECT_GE(ink.left, 10);
        EXPECT_LE(ink.right, 89);
        EXPECT_GE(ink.top, 10);
        EXPECT_LE(ink.bottom, 49);
        if (c.left) {
            EXPECT_LT(ink.left, 13) << c.format;
        }
        if (c.right) {
            EXPECT_GT(ink.right, 86) << c.format;
        }
        if (!c.left && !c.right) {
            EXPECT_NEAR(ink.left - 10, 89 - ink.right, 2) << c.format;
        }
        if (c.top) {
            EXPECT_LT(ink.top, 16) << c.format;
        }
        if (c.bottom) {
            EXPECT_GT(ink.bottom, 44) << c.format;
        }
        if (c.vcentre) {
            EXPECT_NEAR(ink.top - 10, 49 - ink.bottom, 5) << c.format;
        }
    }
}

TEST_F(DrawingContext, MultiLineTextIsCentredByItsMeasure) {
    CZVDC dc(&m_window);
    dc.SetColor(kWhite);
    dc.SetFont(14, 0, 0);
    dc.DrawText("Line one\nLine two", CZVRect(0, 0, 100, 60), 0x12);
    Box ink = InkBox(Screen(), 0);
    EXPECT_NEAR(ink.top, 60 - 1 - ink.bottom, 6);
    EXPECT_GT(ink.bottom - ink.top, 20);  // two lines
    CTextSize size = dc.GetTextSize("Line one\nLine two");
    EXPECT_EQ(size.cy, 2 * 14 + 1);
    EXPECT_EQ(dc.GetTextSize("").cx, 0);
}

TEST_F(DrawingContext, TextOutPutsTheLineBottomAtY) {
    CZVDC dc(&m_window);
    dc.SetColor(kWhite);
    dc.SetFont(20, 0, 0);
    EXPECT_EQ(dc.GetLineOffset(), 23);
    dc.TextOut("Hx", 2, 5, 40);
    Box ink = InkBox(Screen(), 0);
    EXPECT_GE(ink.top, 40 - 23);
    EXPECT_LT(ink.bottom, 40);
    EXPECT_EQ(ToRgb565(kWhite), Px(Screen(), ink.left + 1, ink.top + 3));
}

TEST_F(DrawingContext, BlackTextIsNeverTheTransparentKey) {
    CDibDC dc(40, 20, 0, 0, 1);
    Clear(dc, 0xFFFF);
    dc.SetColor(MakeColor(0, 0, 0));
    dc.SetFont(16, 0, 0);
    dc.DrawText("HH", CZVRect(0, 0, 40, 20), 0x11);
    EXPECT_GT(Inked(dc, 0xFFFF), 10);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 40; ++x) ASSERT_NE(Px(dc, x, y), 0);
}

TEST_F(DrawingContext, FitCharsBreaksAtABlankWithinTheLookback) {
    CZVDC dc(&m_window);
    dc.SetFont(16, 0, 0);
    int eight = dc.GetTextExtent("hello wo", 8).cx;
    EXPECT_EQ(dc.FitChars("hello world", eight, 10), 6);
    EXPECT_EQ(dc.FitChars("hello world", eight, 1), 8);
    EXPECT_EQ(dc.FitChars("hello world", 1, 10), 1);  // never an empty line
    int all = dc.GetTextExtent("hello world", 11).cx;
    EXPECT_EQ(dc.FitChars("hello world", all, 10), 11);  // an exact fit is all of it
    testsupport::AssertCounter asserts;
    EXPECT_EQ(dc.FitChars("", 100, 10), 0);
    EXPECT_EQ(asserts.Count(), 1);
}

TEST_F(DrawingContext, WrapTextKeepsEveryCharacterAndHonoursTheLineLimit) {
    CZVDC dc(&m_window);
    dc.SetFont(16, 0, 0);
    CZVString text("The pool pump runs until noon today");
    int width = dc.GetTextExtent("The pool pu", 11).cx;
    int lines = 0;
    CZVString all = dc.WrapTextCopy(text, width, 10, &lines);
    EXPECT_STREQ(all.GetAnsi(), "The pool \npump runs \nuntil noon \ntoday");
    EXPECT_EQ(lines, 4);
    lines = 2;
    EXPECT_STREQ(dc.WrapTextCopy(text, width, 10, &lines).GetAnsi(), "The pool \npump runs ");
    EXPECT_EQ(lines, 2);
    lines = 0;
    EXPECT_STREQ(dc.WrapTextCopy("abc", 1, 10, &lines).GetAnsi(), "a\nb\nc");
    EXPECT_EQ(lines, 3);
}

TEST_F(DrawingContext, EllipsisOnlyWhenTheTextDoesNotFit) {
    CZVDC dc(&m_window);
    dc.SetFont(16, 0, 0);
    int exact = dc.GetTextExtent("Temperature", 11).cx;
    EXPECT_STREQ(dc.EllipsizeText("Temperature", exact).GetAnsi(), "Temperature");
    CZVString cut = dc.EllipsizeText("Temperature", exact - 1);
    std::string shortened = cut.GetAnsi();
    ASSERT_GE(shortened.size(), 3u);
    EXPECT_EQ(shortened.substr(shortened.size() - 3), "...");
    EXPECT_LE(dc.GetTextExtent(shortened.c_str(), static_cast<int>(shortened.size())).cx, exact - 1);
    EXPECT_EQ(shortened.substr(0, shortened.size() - 3), std::string("Temperature").substr(0, shortened.size() - 3));
    EXPECT_STREQ(dc.EllipsizeText("Temperature", 2).GetAnsi(), "...");

    char buffer[32] = "Temperature";
    int length = 11;
    dc.EllipsizeBuffer(buffer, &length, exact - 1);
    EXPECT_EQ(std::string(buffer, length), shortened);
    char small[8] = "abc";
    length = 3;
    dc.EllipsizeBuffer(small, &length, 1);
    EXPECT_STREQ(small, "abc");
}

TEST_F(DrawingContext, VerticalTextIsTurnedAQuarter) {
    CZVDC dc(&m_window);
    dc.SetColor(kWhite);
    dc.DrawVerticalText("HELLO", 16, MakeColor(0, 0, 0), CZVRect(10, 2, 20, 56), 1, 0x12);
    Box ink = InkBox(Screen(), 0);
    ASSERT_GE(ink.right, 0);
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 29);
}

// ---- zoom transition

class ZoomTransition : public DrawingContext {
protected:
    ZoomTransition() {
        Clear(Screen(), 0x1111);
        Clear(m_image, 0xF800);
        m_shell.events = {drawtest::Event::Move, drawtest::Event::Key};
    }
    CDibDC m_image{40, 30, 0, 0, 0};
    testsupport::VirtualClock m_clock;
};

TEST_F(ZoomTransition, EndsOnTheNewPictureAndLeavesOtherInputQueued) {
    CZVDC dc(&m_window);
    EXPECT_EQ(dc.PlayZoomTransition(&m_image, 10, 5), 1);
    for (int y = 5; y < 35; ++y)
        for (int x = 10; x < 50; ++x) ASSERT_EQ(Px(Screen(), x, y), 0xF800);
    EXPECT_EQ(Px(Screen(), 9, 5), 0x1111);
    EXPECT_EQ(m_shell.statusReports, 1);
    EXPECT_EQ(m_shell.events, (std::deque<drawtest::Event>{drawtest::Event::Move, drawtest::Event::Key}));
    EXPECT_GE(m_clock.TotalSlept(), 70u);  // frames 10 ms apart
}

TEST_F(ZoomTransition, ATouchEndsItAndOnlyTheTouchIsTaken) {
    for (int check : {1, 4, 11}) {
        m_shell.inputChecks = 0;
        m_shell.pressAfterChecks = check;
        m_shell.events = {drawtest::Event::Move, drawtest::Event::Key, drawtest::Event::Release};
        CZVDC dc(&m_window);
        EXPECT_EQ(dc.PlayZoomTransition(&m_image, 0, 0), 0) << check;
        EXPECT_EQ(m_shell.events,
                  (std::deque<drawtest::Event>{drawtest::Event::Move, drawtest::Event::Key, drawtest::Event::Release}));
    }
}

TEST_F(ZoomTransition, DrawsLiveWhenMemoryIsShort) {
    m_shell.memory = 100;
    CZVDC dc(&m_window);
    EXPECT_EQ(dc.PlayZoomTransition(&m_image, 0, 0), 1);
    EXPECT_EQ(Px(Screen(), 39, 29), 0xF800);
    EXPECT_EQ(m_clock.TotalSlept(), 0u);
}

}  // namespace
