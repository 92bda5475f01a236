// The time line view and its zoom bar on the virtual clock: the picture of
// a day, the marking of a stretch to zoom into, the zoom and scroll
// buttons, drags on the axis rows, the return to the page, and graphs too
// small or styles too odd to draw in.
#include "widgets/timeline/timeview.h"

#include <gtest/gtest.h>

#include "platform/keys.h"
#include "support/assert_counter.h"
#include "support/golden.h"
#include "support/widget_harness.h"
#include "widgets/button_fixture.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kLeft = 70;
constexpr int kTop = 30;

platform::LocalTime Local(int year, int month, int day, int hour, int minute) {
    platform::LocalTime time;
    time.year = static_cast<uint16_t>(year);
    time.month = static_cast<uint16_t>(month);
    time.day = static_cast<uint16_t>(day);
    time.hour = static_cast<uint16_t>(hour);
    time.minute = static_cast<uint16_t>(minute);
    return time;
}

CZVTime Now() { return CZVTime(); }

// A time line with one curve, one row of bars and a legend, all fixed
// relative to the window's end.
class CSampleLine : public CTimeView {
public:
    static constexpr int kRowsHeight = 40;

    CSampleLine(CZVWindow* parent, CZVRect rect, int left = kLeft, int right = 0)
        : CTimeView(parent, rect, nullptr, left, right, kTop) {
        const CZVTime end = GetTimeWindow()->GetEnd();
        for (int i = 0; i <= 48; ++i) m_points.push_back({PlusMinutes(end, -30 * (48 - i)), 80 + (i * 7) % 19});
        m_runs = {{PlusMinutes(end, -20 * 60), PlusMinutes(end, -14 * 60)}, {PlusMinutes(end, -5 * 60), end}};
        m_series = AddSeries(0x3050D0);
        AddLegendEntry(CZVRect(0, 0, 200, kTop - 4), 0, 0xD05030, "Water Temperature");
        SetValueRange(70, 100);
    }
    int ValueToY(int value) override {
        const int top = GetTop(), bottom = m_height - kBottomMargin - 1 - kRowsHeight;
        return bottom - (value - GetValueMin()) * (bottom - top) / (GetValueMax() - GetValueMin());
    }
    CZVString FormatValue(int value) override {
        CZVString text;
        text.Format("%d F", value);
        return text;
    }
    void DrawUnderlay(CZVDC* dc, int top, int bottom) override {
        DrawValueAxis(dc, top, bottom - kRowsHeight);
        DrawIntervalRow(dc, CZVRect(0, bottom - 30, GetLeft() + 1, 21), 0, 0x3050D0, m_runs, "Pump");
    }
    void DrawData(CZVDC* dc, int, int bottom) override {
        DrawSeries(dc, m_points, 0xD05030, 1, 2, 0, 0, 0);
        DrawIntervals(dc, m_runs, GetLeft(), bottom - 28, m_width - GetLeft(), 17, 0, 0x3050D0);
        DrawFrame(dc);
    }

    CValuePoints m_points;
    CTimeRanges m_runs;
    int m_series = -1;
    int m_timeRanges = 0;  // SetTimeRange calls

    void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) override {
        CTimeView::SetTimeRange(start, end, redraw);
        ++m_timeRanges;
    }
};

class TimeLineTest : public ::testing::Test {
protected:
    TimeLineTest() : harness(800, 400) {
        g_nClockOffsetMinutes = 0;  // the local clock, not a gateway's
        harness.Clock().SetLocalTime(Local(2026, 12, 5, 15, 37));
        harness.Root().SetColors(0xD8D0C8, 0xD8D0C8);
        // The built-in, unthemed style, as the sample gateway sends it: the zoom bar's buttons
        // draw the built-in arrows and signs, not the gateway's icons.
        CZVMSG plain(0, 0);
        plain.WriteInt(2);
        plain.ResetPosition();
        harness.Style().ParseSettings(&plain);
        harness.Style().SetStyle(25, 7, 10);
    }
    ~TimeLineTest() override {
        if (view) {
            harness.Root().RemoveChild(view);
            delete view;
        }
    }
    CSampleLine* Build(int left = kLeft, int right = 0) {
        view = new CSampleLine(&harness.Root(), CZVRect(0, 0, 800, 400), left, right);
        harness.Root().AddChild(view);
        view->Show(1, 0);
        harness.PaintAll();
        view->SetLoading(0);
        harness.PaintAll();
        return view;
    }
    CTimeWindow& Window() { return *view->GetTimeWindow(); }
    CZoomBar& Bar() { return *view->GetZoomBar(); }
    // Runs the bar's animation to its end on the virtual clock.
    void Animate() {
        for (int i = 0; i < 100 && Bar().IsDragging(); ++i) {
            harness.Clock().Advance(20);
            harness.Idle();
        }
    }
    // Whether the column shows the highlight somewhere below the labels.
    bool Highlighted(int x) {
        const uint16_t highlight = ToRgb565(view->GetHighlightColour());
        for (int y = kTop + 45; y < kTop + 150; ++y)
            if (harness.PixelAt(x, y) == highlight) return true;
        return false;
    }

    widgettest::PinnedFonts fonts;
    testsupport::WidgetHarness harness;
    CSampleLine* view = nullptr;
};

TEST_F(TimeLineTest, ADayWithACurveBarsAndLegend) {
    Build();
    EXPECT_EQ(Window().GetKind(), CTimeWindow::kDay);
    EXPECT_TRUE(testsupport::MatchesGolden(harness.Capture(), "timeline_day"));
}

TEST_F(TimeLineTest, FirstPaintShowsWorkingUntilDataIsThere) {
    view = new CSampleLine(&harness.Root(), CZVRect(0, 0, 800, 400));
    harness.Root().AddChild(view);
    view->Show(1, 0);
    EXPECT_FALSE(view->IsLoading());
    harness.PaintAll();
    EXPECT_TRUE(view->IsLoading());
    // The box's grey lies over the graph's middle.
    const uint16_t middle = harness.PixelAt(kLeft + (800 - kLeft) / 2, kTop + (400 - kTop - 100) / 2 - 25);
    EXPECT_NE(middle, ToRgb565(view->GetBackColor()));
}

TEST_F(TimeLineTest, SeriesColoursAreRegisteredOnceAndAtMostTwenty) {
    Build();
    EXPECT_EQ(view->AddSeries(0x3050D0), view->m_series);
    for (int i = 1; i < 20; ++i) EXPECT_EQ(view->AddSeries(0x010101 * i), i);
    EXPECT_EQ(view->AddSeries(0xABCDEF), 20);
    EXPECT_EQ(view->GetSeriesCount(), 20);
    EXPECT_EQ(view->GetSeriesTint(20, 0), view->GetFaceColor());
}

TEST_F(TimeLineTest, AFlatSegmentPinnedToTheAxisLimitIsNotDrawn) {
    Build();
    const CZVTime end = Window().GetEnd();
    for (int value : {100, 70, 99}) {
        CDibDC surface(800, 400, 0, 0, 1);
        surface.FillRect(0, 0, 0, 800, 400, 0);
        view->DrawSeries(&surface, {{PlusMinutes(end, -600), value}, {PlusMinutes(end, -60), value}}, 0xFFFFFF, 0, 2, 0,
                         0, 0);
        const int y = view->ValueToY(value);
        const bool drawn = *surface.GetPixelAddress(600, y) == 0xFFFF;
        EXPECT_EQ(drawn, value == 99) << value;
    }
}

TEST_F(TimeLineTest, AReleaseFourPixelsFromThePressZoomsNowhereFiveZoomsToTheStretch) {
    Build();
    const CTimeWindow before(Window());
    view->OnLButtonDown(300, 150, platform::MK_LBUTTON);
    view->OnMouseMove(304, 150, platform::MK_LBUTTON);
    view->OnLButtonUp(304, 150, 0);
    EXPECT_EQ(Window().GetKind(), before.GetKind());
    EXPECT_EQ(Window().GetEnd(), before.GetEnd());

    const CZVTime from = view->XToTime(300), to = view->XToTime(400);
    view->OnLButtonDown(300, 150, platform::MK_LBUTTON);
    view->OnMouseMove(400, 150, platform::MK_LBUTTON);
    view->OnLButtonUp(400, 150, 0);
    EXPECT_EQ(Window().GetKind(), CTimeWindow::kCustom);
    EXPECT_EQ(Window().GetEnd(), to);
    EXPECT_EQ(Window().GetSpanMinutes(), MinutesBetween(from, to));
    EXPECT_EQ(Window().GetZoomOutDepth(), 1);
    EXPECT_EQ(view->m_timeRanges, 1);
}

TEST_F(TimeLineTest, AShortStretchIsWidenedToFiveMinutes) {
    Build();
    Window().Set(CTimeWindow::kHour, Now(), 0);
    const CZVTime from = view->XToTime(300);
    view->OnLButtonDown(300, 150, platform::MK_LBUTTON);
    view->OnMouseMove(306, 150, platform::MK_LBUTTON);
    view->OnLButtonUp(306, 150, 0);
    EXPECT_EQ(Window().GetSpanMinutes(), 5);
    EXPECT_EQ(Window().GetEnd(), PlusMinutes(from, 5));
}

TEST_F(TimeLineTest, DraggingBackAcrossThePressLeavesExactlyTheNewStretchHighlighted) {
    Build();
    view->OnLButtonDown(300, 150, platform::MK_LBUTTON);
    view->OnMouseMove(400, 150, platform::MK_LBUTTON);
    EXPECT_TRUE(Highlighted(350));
    view->OnMouseMove(250, 150, platform::MK_LBUTTON);
    for (int x : {252, 270, 290, 298}) EXPECT_TRUE(Highlighted(x)) << x;
    for (int x : {240, 301, 330, 380, 399, 420}) EXPECT_FALSE(Highlighted(x)) << x;
    // A release puts the plain picture back.
    view->OnLButtonUp(300, 150, 0);
    for (int x : {270, 350}) EXPECT_FALSE(Highlighted(x)) << x;
}

// A view that marks the moving end of a stretch with a box, as a page
// that shows the value under the finger would.
class CMarkedLine : public CSampleLine {
public:
    static constexpr COLORREF kMark = 0x0000FF;
    static constexpr int kMarkTop = kTop + 60;
    using CSampleLine::CSampleLine;
    void DrawOverlay(CZVDC* dc, int x, int, std::vector<CZVRect>* restore, int, int) override {
        const CZVRect box(GetLeft() + x - 5, kMarkTop, 10, 10);
        dc->FillRect(kMark, box.x, box.y, box.w, box.h, 0);
        restore->push_back(box);
    }
};

TEST_F(TimeLineTest, WhatTheOverlayDrewIsPutBackAtTheNextStepAndOnRelease) {
    Build();
    harness.Root().RemoveChild(view);
    delete view;
    view = new CMarkedLine(&harness.Root(), CZVRect(0, 0, 800, 400));
    harness.Root().AddChild(view);
    view->Show(1, 0);
    harness.PaintAll();
    view->SetLoading(0);
    harness.PaintAll();
    const testsupport::Image565 plain = harness.Capture();
    const uint16_t mark = ToRgb565(CMarkedLine::kMark);
    const int y = CMarkedLine::kMarkTop + 5;

    view->OnLButtonDown(300, 150, platform::MK_LBUTTON);
    view->OnMouseMove(400, 150, platform::MK_LBUTTON);
    EXPECT_EQ(harness.PixelAt(400, y), mark) << "only the right end moved: the box follows it";
    view->OnMouseMove(450, 150, platform::MK_LBUTTON);
    EXPECT_EQ(harness.PixelAt(450, y), mark);
    EXPECT_NE(harness.PixelAt(400, y), mark) << "the old box is gone";
    EXPECT_TRUE(Highlighted(400)) << "and the stretch under it lit again";
    EXPECT_EQ(harness.PixelAt(400, y), ToRgb565(view->GetHighlightColour()));
    // Back across the press the box stands at the stretch's left end.
    view->OnMouseMove(250, 150, platform::MK_LBUTTON);
    EXPECT_EQ(harness.PixelAt(250, y), mark);
    EXPECT_EQ(harness.PixelAt(450, y), plain.pixels[y * 800 + 450]);

    view->OnMouseMove(302, 150, platform::MK_LBUTTON);
    view->OnLButtonUp(302, 150, 0);  // too short a stretch to zoom
    EXPECT_EQ(harness.Capture(), plain);
}

class SeriesFillTest : public TimeLineTest, public ::testing::WithParamInterface<int> {};

TEST_P(SeriesFillTest, TheTintFillsAboveTheCurveInModeZeroAndBelowItInModeOne) {
    const int mode = GetParam();
    Build();
    const CZVTime end = Window().GetEnd();
    const COLORREF back = view->GetBackColor(), band = view->GetBandColour(), colour = 0x3050D0;
    CDibDC surface(800, 400, 0, 0, 1);
    surface.FillRect(back, 0, 0, 800, 400, 0);
    surface.FillRect(band, 600, 0, 100, 400, 0);
    const int y = view->ValueToY(85);
    view->DrawSeries(&surface, {{PlusMinutes(end, -600), 85}, {PlusMinutes(end, -60), 85}}, colour, 0, mode, kTop, 300,
                     0);
    const auto at = [&](int x, int row) { return *surface.GetPixelAddress(x, row); };
    const uint16_t tint = ToRgb565(MixColors(back, colour, 0.1));
    const uint16_t bandTint = ToRgb565(MixColors(band, colour, 0.1));
    const int filled = mode == 0 ? y - 20 : y + 20, open = mode == 0 ? y + 20 : y - 20;
    EXPECT_EQ(at(550, filled), tint);
    EXPECT_EQ(at(650, filled), bandTint) << "the day band keeps its shade under the tint";
    EXPECT_EQ(at(550, open), ToRgb565(back));
    EXPECT_EQ(at(650, open), ToRgb565(band));
    EXPECT_EQ(at(300, filled), ToRgb565(back)) << "nothing before the first point";
    EXPECT_EQ(at(550, mode == 0 ? kTop - 5 : 305), ToRgb565(back)) << "nothing past the fill's limit";
}

INSTANTIATE_TEST_SUITE_P(Modes, SeriesFillTest, ::testing::Values(0, 1));

TEST_F(TimeLineTest, ResumingReanchorsToNowAtTheNearestKind) {
    Build();
    struct Case {
        int span, shown;
    } cases[] = {{180, 60}, {181, 360}};
    for (const Case& c : cases) {
        Window().Set(CTimeWindow::kCustom, PlusMinutes(Now(), -500), c.span);
        const CZVTime now = Now();
        view->OnResume();
        EXPECT_EQ(Window().GetSpanMinutes(), c.shown) << c.span;
        EXPECT_EQ(Window().GetEnd(), now);
    }
}

TEST_F(TimeLineTest, ZoomingInFromAnHourStopsAtFiveMinutesAndRetracesOnTheWayOut) {
    Build();
    Window().Set(CTimeWindow::kHour, Now(), 0);
    Bar().Refresh();
    Bar().OnChildCommand(CZoomBar::kZoomInId, 0);
    EXPECT_EQ(Window().GetKind(), CTimeWindow::kCustom);
    EXPECT_EQ(Window().GetSpanMinutes(), 5);
    EXPECT_FALSE(Bar().GetZoomInButton()->IsEnabled());

    Window().Set(CTimeWindow::kDay, PlusMinutes(Now(), -300), 0);
    Bar().Refresh();
    const CTimeWindow first(Window());
    Bar().OnChildCommand(CZoomBar::kZoomInId, 0);
    Bar().OnChildCommand(CZoomBar::kZoomInId, 0);
    EXPECT_EQ(Window().GetKind(), CTimeWindow::kHour);
    Bar().OnChildCommand(CZoomBar::kZoomOutId, 0);
    Bar().OnChildCommand(CZoomBar::kZoomOutId, 0);
    EXPECT_EQ(Window().GetKind(), first.GetKind());
    EXPECT_EQ(Window().GetEnd(), first.GetEnd());
    EXPECT_TRUE(Bar().GetZoomInButton()->IsEnabled());
}

TEST_F(TimeLineTest, ButtonsDoNothingWhileLoading) {
    Build();
    view->SetLoading(1);
    const CTimeWindow before(Window());
    for (int id : {CZoomBar::kZoomInId, CZoomBar::kZoomOutId, CZoomBar::kBackId, CZoomBar::kForwardId})
        Bar().OnChildCommand(id, 0);
    EXPECT_EQ(Window().GetKind(), before.GetKind());
    EXPECT_EQ(Window().GetEnd(), before.GetEnd());
    EXPECT_FALSE(Bar().IsDragging());
}

TEST_F(TimeLineTest, ScrollingForwardTenMinutesBeforeNowMovesTenMinutes) {
    Build();
    const CZVTime end = PlusMinutes(Now(), -10);
    Window().Set(CTimeWindow::kDay, end, 0);
    Bar().OnChildCommand(CZoomBar::kForwardId, 0);
    EXPECT_TRUE(Bar().IsDragging());
    Animate();
    EXPECT_FALSE(Bar().IsDragging());
    EXPECT_EQ(Window().GetEnd(), PlusMinutes(end, 10));
    EXPECT_EQ(Window().GetKind(), CTimeWindow::kDay);
}

TEST_F(TimeLineTest, ScrollingBackMovesAWholeSpan) {
    Build();
    const CZVTime end = Window().GetEnd();
    Bar().OnChildCommand(CZoomBar::kBackId, 0);
    Animate();
    EXPECT_EQ(Window().GetEnd(), PlusMinutes(end, -1440));
}

TEST_F(TimeLineTest, AxisPressesMovingNineOrFewerPixelsChangeNothing) {
    Build();
    const CZVTime end = Window().GetEnd();
    const int y = 400 - 100 + 10;  // the bar's top row
    Bar().OnLButtonDown(400, y, platform::MK_LBUTTON);
    Bar().OnMouseMove(391, y, platform::MK_LBUTTON);
    Bar().OnLButtonUp(391, y, 0);
    EXPECT_EQ(Window().GetEnd(), end);
    EXPECT_EQ(view->m_timeRanges, 0);
    // Dragging further to the right moves time back, and the release loads it.
    Bar().OnLButtonDown(400, y, platform::MK_LBUTTON);
    Bar().OnMouseMove(500, y, platform::MK_LBUTTON);
    Bar().OnLButtonUp(500, y, 0);
    EXPECT_LT(Window().GetEnd(), end);
    EXPECT_EQ(view->m_timeRanges, 1);
}

TEST_F(TimeLineTest, ADayShowsDaysUnderHourCellsAtLeastFiftyPixelsWide) {
    Build();
    CTimeAxis* hours = Bar().GetFineAxis();
    ASSERT_NE(hours, nullptr);
    EXPECT_EQ(hours->GetKind(), CTimeWindow::kHour);
    EXPECT_EQ(Bar().GetAxis()->GetKind(), CTimeWindow::kDay);
    int inner = 0;
    ForEachChild(hours->GetChildren(), [&](CZVWindow* cell) {
        if (cell->GetX() <= 1 || cell->GetRight() >= hours->GetWidth() - 1) return;
        EXPECT_GE(cell->GetWidth(), 50);
        ++inner;
    });
    EXPECT_GE(inner, 5);
}

TEST_F(TimeLineTest, AGraphWithoutWidthAndALabelFontOfZeroDrawWithoutFailing) {
    harness.Style().SetStyle(25, 7, 0);
    Build(400, 399);  // gw = 800 - 400 - 399 - 1 = 0
    EXPECT_EQ(view->GetGraphWidth(), 0);
    EXPECT_EQ(view->XToTime(400), Window().GetEnd());
    view->OnLButtonDown(400, 150, platform::MK_LBUTTON);
    view->OnLButtonUp(400, 150, 0);
    Bar().OnLButtonDown(300, 310, platform::MK_LBUTTON);
    Bar().OnMouseMove(200, 310, platform::MK_LBUTTON);
    Bar().OnLButtonUp(200, 310, 0);
    harness.PaintAll();
    EXPECT_EQ(CTimeView::GetLabelFontSize(), 1);
}

TEST_F(TimeLineTest, AScrollOfAWholeGraphWidthIsReported) {
    Build();
    testsupport::AssertCounter asserts;
    CZVDC dc(view);
    view->ScrollGraph(800 - kLeft, 0, &dc);
    EXPECT_EQ(asserts.LastSource(), "timeview");
    EXPECT_EQ(asserts.LastLine(), 503);
}

TEST_F(TimeLineTest, AWeekZoomBar) {
    Build();
    Window().Set(CTimeWindow::kWeek, Now(), 0);
    Bar().Refresh();
    view->SetLoading(0);
    harness.PaintAll();
    testsupport::Image565 shot = harness.Capture();
    testsupport::Image565 bar;
    bar.width = 800;
    bar.height = 100;
    bar.pixels.assign(shot.pixels.begin() + 300 * 800, shot.pixels.end());
    EXPECT_TRUE(testsupport::MatchesGolden(bar, "zoombar_week"));
}

}  // namespace
