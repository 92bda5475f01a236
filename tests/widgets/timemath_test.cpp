// The arithmetic of the history time lines: columns and times, day bands,
// grid lines, the value axis, value ranges, and the time window's kinds,
// zoom steps and stacks.
#include "widgets/timeline/timemath.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/assert_counter.h"
#include "widgets/timeline/timezoom.h"

namespace {

CZVTime At(int year, int month, int day, int hour, int minute) {
    CZVTime time;
    time.Set(year, month, 0, day, hour, minute, 0, 0);
    time.Normalize();
    return time;
}

std::string Text(const CZVTime& t) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%d/%d %02d:%02d", t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute());
    return buffer;
}

std::vector<std::string> Texts(const std::vector<CZVTime>& times) {
    std::vector<std::string> out;
    for (const CZVTime& t : times) out.push_back(Text(t));
    return out;
}

std::vector<std::string> Texts(const CTimeRanges& ranges) {
    std::vector<std::string> out;
    for (const CTimeRange& r : ranges) out.push_back(Text(r.start) + "-" + Text(r.end));
    return out;
}

TEST(TimeScale, ColumnsAndTimesRoundTripWithinOnePixel) {
    const CZVTime end = At(2026, 12, 5, 15, 37);
    // Spans with at least a second (up to a day) or a minute (above) per pixel.
    for (int span : {60, 360, 1440, 1441, 10080, 44640}) {
        const CTimeScale scale{end, span, 699, 769};
        for (int x = 70; x <= 769; x += 7) {
            const int back = TimeToX(scale, XToTime(scale, x));
            EXPECT_LE(std::abs(back - x), 1) << "span " << span << " x " << x;
        }
        EXPECT_EQ(TimeToX(scale, end), 769);
        EXPECT_EQ(TimeToX(scale, PlusMinutes(end, -span)), 70);
        // Times outside the window lie outside the graph, unclamped.
        EXPECT_GT(TimeToX(scale, PlusMinutes(end, span)), 769 + 600) << span;
    }
}

TEST(TimeScale, AGraphWithoutWidthMapsEveryColumnToTheEnd) {
    const CZVTime end = At(2026, 12, 5, 15, 37);
    for (int width : {0, -5}) {
        const CTimeScale scale{end, 1440, width, 10};
        EXPECT_EQ(XToTime(scale, 3), end);
        EXPECT_EQ(TimeToX(scale, PlusMinutes(end, -100)), 10);
    }
}

TEST(DayBands, EverySecondDayCountedFromTheEndsParity) {
    struct Case {
        CZVTime end;
        int span;
        std::vector<std::string> bands;
    } cases[] = {
        // A week ending on the odd 5th: the 5th up to the end, the 3rd, the
        // 1st, then on into November from the 1st.
        {At(2026, 12, 5, 15, 37),
         10080,
         {"12/5 00:00-12/5 15:37", "12/3 00:00-12/4 00:00", "12/1 00:00-12/2 00:00", "11/29 00:00-11/30 00:00"}},
        {At(2026, 12, 5, 15, 37), 1440, {"12/5 00:00-12/5 15:37"}},
        // Ending on the even 6th: its band lies right of the graph, the 5th
        // shows where it is inside the window.
        {At(2026, 12, 6, 15, 37), 1440, {"12/7 00:00-12/7 15:37", "12/5 00:00-12/6 00:00"}},
        // Within one day: no bands.
        {At(2026, 12, 5, 15, 37), 360, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(Texts(DayBands(c.end, c.span)), c.bands) << Text(c.end) << " " << c.span;
}

TEST(GridLines, StepsByTheSpan) {
    struct Case {
        CZVTime end;
        int span;
        std::vector<std::string> lines;
    } cases[] = {
        {At(2026, 12, 5, 15, 37),
         1440,
         {"12/5 15:00", "12/5 11:00", "12/5 07:00", "12/5 03:00", "12/4 23:00", "12/4 19:00"}},
        {At(2026, 12, 5, 10, 47),
         60,
         {"12/5 10:50", "12/5 10:40", "12/5 10:30", "12/5 10:20", "12/5 10:10", "12/5 10:00", "12/5 09:50"}},
        {At(2026, 12, 5, 10, 47),
         240,
         {"12/5 11:00", "12/5 10:30", "12/5 10:00", "12/5 09:30", "12/5 09:00", "12/5 08:30", "12/5 08:00",
          "12/5 07:30", "12/5 07:00"}},
        {At(2026, 12, 5, 15, 37),
         360,
         {"12/5 15:00", "12/5 14:00", "12/5 13:00", "12/5 12:00", "12/5 11:00", "12/5 10:00"}},
        {At(2026, 12, 5, 15, 37),
         10080,
         {"12/5 00:00", "12/4 00:00", "12/3 00:00", "12/2 00:00", "12/1 00:00", "11/30 00:00", "11/29 00:00"}},
        {At(2026, 12, 31, 8, 0), 44640, {"12/31 00:00", "12/24 00:00", "12/17 00:00", "12/10 00:00", "12/3 00:00"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Texts(GridLines(c.end, c.span)), c.lines) << Text(c.end) << " " << c.span;
}

TEST(ValueAxis, StepIsTheFirstThatLeavesRoomForTheLabels) {
    struct Case {
        int min, max, height, font, step;
    } cases[] = {
        {70, 100, 200, 12, 5}, {70, 110, 60, 12, 10}, {70, 110, 30, 12, 20}, {0, 1000, 10, 12, 20},  // none fits
        {70, 110, 30, 0, 5},  // a font size of 0 counts as 1
        {70, 110, 30, -4, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueAxisStep(c.min, c.max, c.height, c.font), c.step) << c.height << " px, font " << c.font;
}

TEST(ValueRange, RoundsToTens) {
    struct Case {
        int value, down, up;
    } cases[] = {{90, 90, 100}, {79, 70, 80}, {-5, -10, 0}, {0, 0, 10}, {-10, -20, -10}, {199, 190, 200}};
    for (const Case& c : cases) {
        EXPECT_EQ(RoundDownTen(c.value), c.down) << c.value;
        EXPECT_EQ(RoundUpTen(c.value), c.up) << c.value;
    }
}

TEST(ValueRange, ExtendsOnlyByPlausibleValuesAndClamps) {
    const CZVTime t = At(2026, 12, 5, 12, 0);
    CValuePoints points = {{t, 78}, {t, 96}, {t, 250}, {t, -40}, {t, 85}};
    int min = 0, max = 0;
    EXPECT_EQ(ExtendValueRange(0, &min, &max, points), 1);
    EXPECT_EQ(min, 78);
    EXPECT_EQ(max, 96);
    // Already found: only widened.
    CValuePoints cooler = {{t, 60}};
    EXPECT_EQ(ExtendValueRange(1, &min, &max, cooler), 1);
    EXPECT_EQ(min, 60);
    int untouchedMin = 5, untouchedMax = 6;
    EXPECT_EQ(ExtendValueRange(0, &untouchedMin, &untouchedMax, {{t, 300}}), 0);
    EXPECT_EQ(untouchedMin, 5);
    ClampValues(70, 100, &points);
    std::vector<int> values;
    for (const CValuePoint& p : points) values.push_back(p.value);
    EXPECT_EQ(values, (std::vector<int>{78, 96, 100, 70, 85}));
}

TEST(SumOverlapMinutes, CountsOnlyWhatLiesInsideTheWindow) {
    const CTimeRanges ranges = {
        {At(2026, 12, 5, 11, 0), At(2026, 12, 5, 12, 30)},   // 30 inside
        {At(2026, 12, 5, 13, 0), At(2026, 12, 5, 13, 30)},   // wholly inside
        {At(2026, 12, 5, 15, 0), At(2026, 12, 5, 16, 0)},    // after
        {At(2026, 12, 5, 10, 0), At(2026, 12, 5, 11, 0)},    // before
        {At(2026, 12, 5, 13, 50), At(2026, 12, 5, 13, 40)},  // backwards
    };
    EXPECT_EQ(SumOverlapMinutes(ranges, At(2026, 12, 5, 12, 0), At(2026, 12, 5, 14, 0)), 60);
    EXPECT_EQ(SumOverlapMinutes({}, At(2026, 12, 5, 12, 0), At(2026, 12, 5, 14, 0)), 0);
}

TEST(RangeAtColumn, TheFirstRangeWhoseColumnsEncloseTheColumn) {
    // Two hours over 120 columns, from column 10: a column a minute.
    const CTimeScale scale{At(2026, 12, 5, 14, 0), 120, 120, 130};
    const CTimeRanges ranges = {
        {At(2026, 12, 5, 12, 10), At(2026, 12, 5, 12, 20)},  // columns 20..30
        {At(2026, 12, 5, 12, 15), At(2026, 12, 5, 12, 50)},  // 25..60
    };
    struct Case {
        int column;
        int range;  // -1: none
    };
    for (const Case& c :
         {Case{19, -1}, Case{20, 0}, Case{27, 0}, Case{30, 0}, Case{31, 1}, Case{60, 1}, Case{61, -1}}) {
        const CTimeRange* found = RangeAtColumn(scale, ranges, c.column);
        EXPECT_EQ(found ? static_cast<int>(found - ranges.data()) : -1, c.range) << c.column;
    }
    EXPECT_EQ(RangeAtColumn(scale, {}, 20), nullptr);
}

// ---- the time window

class FixedLimits : public ITimeLimits {
public:
    explicit FixedLimits(CZVTime max) : m_max(max) {}
    CZVTime GetMaxTime(int) const override { return m_max; }
    CZVTime GetMinTime(int) const override { return PlusMinutes(m_max, -2000 * 1440); }

private:
    CZVTime m_max;
};

TEST(TimeWindow, KindsSpanTheirMinutesAndBadOnesAreReported) {
    const int spans[] = {44640, 10080, 1440, 360, 60, 1};
    for (int kind = 0; kind < 6; ++kind)
        EXPECT_EQ(CTimeWindow(kind, CZVTime(), 0).GetSpanMinutes(), spans[kind]) << kind;
    EXPECT_EQ(CTimeWindow(6, CZVTime(), 75).GetSpanMinutes(), 75);
    testsupport::AssertCounter asserts;
    EXPECT_EQ(CTimeWindow(7, CZVTime(), 0).GetSpanMinutes(), 1);
    EXPECT_EQ(asserts.LastSource(), "timezoom");
    EXPECT_EQ(asserts.LastLine(), 162);
    CTimeWindow custom(6, CZVTime(), 0);
    EXPECT_EQ(asserts.LastLine(), 179);
    EXPECT_EQ(custom.GetKind(), 6);
}

TEST(TimeWindow, NearestKindOfCustomSpans) {
    struct Case {
        int span, kind;
    } cases[] = {{30241, 0}, {30240, 1}, {7201, 1}, {7200, 2}, {1081, 2}, {1080, 3}, {181, 3}, {180, 4}, {5, 4}};
    for (const Case& c : cases) EXPECT_EQ(CTimeWindow(6, CZVTime(), c.span).GetNearestKind(), c.kind) << c.span;
    EXPECT_EQ(CTimeWindow(1, CZVTime(), 0).GetNearestKind(), 1);
}

TEST(TimeWindow, ZoomingInFromAnHourEndsOnFiveMinutesAndOutGoesToSixHours) {
    const CZVTime end = At(2026, 12, 5, 15, 0);
    CTimeWindow window(CTimeWindow::kHour, end, 0);
    window.ZoomInStep();
    EXPECT_EQ(window.GetKind(), CTimeWindow::kCustom);
    EXPECT_EQ(window.GetSpanMinutes(), 5);
    EXPECT_EQ(Text(window.GetEnd()), "12/5 14:32");  // centred on 14:30
    window.ZoomOut(FixedLimits(At(2026, 12, 6, 0, 0)));
    EXPECT_EQ(window.GetKind(), CTimeWindow::kSixHours);
    // Centred on the middle of the hour it is nearest to.
    EXPECT_EQ(Text(window.GetEnd()), "12/5 17:02");
}

TEST(TimeWindow, ZoomingOutEndsNoLaterThanTheLimit) {
    CTimeWindow window(CTimeWindow::kHour, At(2026, 12, 5, 15, 0), 0);
    window.ZoomOut(FixedLimits(At(2026, 12, 5, 16, 0)));
    EXPECT_EQ(window.GetKind(), CTimeWindow::kSixHours);
    EXPECT_EQ(Text(window.GetEnd()), "12/5 16:00");
    CTimeWindow month(CTimeWindow::kMonth, At(2026, 12, 5, 15, 0), 0);
    month.ZoomOut(FixedLimits(At(2026, 12, 5, 16, 0)));
    EXPECT_EQ(month.GetKind(), CTimeWindow::kMonth);
    EXPECT_EQ(Text(month.GetEnd()), "12/5 15:00");
}

TEST(TimeWindow, InInOutOutRetracesItsStepsAndCopiesLeaveTheStacks) {
    const FixedLimits limits(At(2027, 1, 1, 0, 0));
    CTimeWindow window(CTimeWindow::kCustom, At(2026, 12, 5, 15, 37), 2000);
    for (int i = 0; i < 2; ++i) {
        window.PushZoomOut();
        window.ZoomInStep();
    }
    EXPECT_EQ(window.GetKind(), CTimeWindow::kHour);
    const CTimeWindow copy(window);
    EXPECT_EQ(copy.GetZoomOutDepth(), 0);
    EXPECT_EQ(window.GetZoomOutDepth(), 2);
    for (int i = 0; i < 2; ++i) {
        window.PushZoomIn();
        window.ZoomOut(limits);
    }
    EXPECT_EQ(window.GetKind(), CTimeWindow::kCustom);
    EXPECT_EQ(window.GetSpanMinutes(), 2000);
    EXPECT_EQ(Text(window.GetEnd()), "12/5 15:37");
    // And in again retraces the way back down.
    window.ZoomInStep();
    EXPECT_EQ(window.GetKind(), CTimeWindow::kSixHours);
}

TEST(TimeAxisCells, UnitsMakeCellsAtLeastFiftyPixelsWide) {
    struct Case {
        int kind, span, width, units;
    } cases[] = {
        {4, 1440, 700, 2}, {4, 1440, 300, 4}, {4, 1440, 100, 12}, {4, 360, 700, 1},
        {4, 30, 700, 1},   {5, 60, 700, 5},   {5, 5, 700, 1},     {5, 1440, 100, 60},  // no step reaches 50 px: an hour
        {2, 1440, 700, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CTimeAxis::CellUnits(c.kind, c.span, c.width), c.units) << c.kind << " " << c.span << " " << c.width;
}

TEST(ZoomBarAnimation, EasesFromZeroToTheTarget) {
    for (int target : {-120, 350}) {
        EXPECT_EQ(CZoomBar::EasedOffset(target, 0, 250), 0);
        EXPECT_EQ(CZoomBar::EasedOffset(target, 250, 250), target);
        int previous = 0;
        for (uint32_t t = 0; t <= 250; t += 10) {
            const int p = CZoomBar::EasedOffset(target, t, 250);
            EXPECT_GE(std::abs(p), std::abs(previous));
            previous = p;
        }
    }
}

}  // namespace
