// The month calendar and the day note: where the days of a month go, the arrows across a year,
// the month that follows the clock past midnight, the marked days, the square pad, the note
// stored on closing, the stored space, and the note that must load before the pen draws.
#include "vistrel/media/calendar/monthcalendar.h"

#include <gtest/gtest.h>

#include "calendar_fixture.h"
#include "core/messages/mediamessages.h"
#include "gfx/speed.h"
#include "platform/keys.h"
#include "samplegateway/calendar.h"
#include "support/golden.h"
#include "vistrel/media/calendar/dayview.h"
#include "widgets/style/setserver.h"

namespace {

using mediatest::InfoPanelTest;
using samplegateway::Bytes;
using samplegateway::PayloadReader;

TEST(MonthLayout, DaysFallIntoTheirWeekdayColumns) {
    struct Case {
        int year, month;
        int days, firstColumn, rows;
    };
    for (const Case& c : {Case{2011, 5, 31, 0, 7},     // 1 May 2011, a Sunday, starts in column 0
                          Case{2011, 10, 31, 6, 8},    // 1 October 2011, a Saturday: six weeks
                          Case{2015, 2, 28, 0, 6},     // four whole weeks
                          Case{2012, 2, 29, 3, 7},     // a leap February from a Wednesday
                          Case{2011, 6, 30, 3, 7}}) {  // the sample house's month
        const CMonthLayout layout = LayoutMonth(c.year, c.month);
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
        EXPECT_EQ(layout.days, c.days);
        EXPECT_EQ(layout.firstColumn, c.firstColumn);
        EXPECT_EQ(layout.Rows(), c.rows);
        EXPECT_EQ(layout.ColumnOf(1), c.firstColumn);
        EXPECT_EQ(layout.WeekOf(c.days), c.rows - 3);
    }
}

TEST(DayViewSquare, TheLargestSquareCentredInTheWindow) {
    EXPECT_EQ(CDayView::SquareIn(800, 480), CZVRect(160, 0, 480, 480));
    EXPECT_EQ(CDayView::SquareIn(480, 800), CZVRect(0, 160, 480, 480));
    EXPECT_EQ(CDayView::SquareIn(1024, 768), CZVRect(128, 0, 768, 768));
}

class Calendar : public InfoPanelTest {
protected:
    CMonthCalendarCtl* MakeCalendar() {
        CZVWindow* panel = Panel(kCalendarPanel);
        auto* calendar = ChildOf<CMonthCalendarCtl>(panel);
        EXPECT_NE(calendar, nullptr);
        return calendar;
    }
    // The time that the last month request asked for.
    CZVTime LastMonthAsked() {
        const std::vector<Bytes> asked = Requests(ZVM_CALENDAR_GETMONTHQ);
        if (asked.empty()) return CZVTime();
        PayloadReader in(asked.back());
        return samplegateway::ReadTime(in).value_or(CZVTime());
    }
    // The answer to a month request.
    static void Answer(CMonthCalendarCtl* calendar, int year, int month, uint32_t mask) {
        CZVMSG answer(0, ZVM_CALENDAR_GETMONTHA);
        CZVTime time;
        time.Set(year, month, 0, 1, 0, 0, 0, 0);
        time.Normalize();
        answer.WriteTime(time);
        answer.WriteInt(static_cast<int32_t>(mask));
        answer.ResetPosition();
        calendar->OnMessage(&answer);
    }
    static COLORREF Marked() { return ScaleColor(0.9, CSetServer::Get()->GetSelectionColor()); }
};

TEST_F(Calendar, ShowsTheHouseMonthWithItsNotesMarked) {
    CMonthCalendarCtl* calendar = MakeCalendar();
    ASSERT_TRUE(SettleUntil([&] { return calendar->GetMarkedDays() != 0; }));
    // The first paint builds the month and asks for the arrows' icons.
    PictureOf(calendar);
    ASSERT_TRUE(Settle());
    EXPECT_EQ(calendar->GetShownMonth().GetMonth(), 6);
    EXPECT_EQ(calendar->GetMarkedDays(), 1u << 2 | 1u << 13 | 1u << 14);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(calendar), "vistrel_calendar_month"));
    EXPECT_EQ(calendar->GetCellColor(15), CSetServer::Get()->GetSelectionColor());  // today
    EXPECT_EQ(calendar->GetCellColor(3), Marked());
    EXPECT_EQ(calendar->GetCellColor(4), calendar->GetFaceColor());
}

TEST_F(Calendar, AMaskMarksItsDaysAndAnotherMonthsAnswerChangesNothing) {
    CMonthCalendarCtl* calendar = MakeCalendar();
    ASSERT_TRUE(Settle());
    Answer(calendar, 2011, 6, 0x00000005);
    EXPECT_EQ(calendar->GetMarkedDays(), 5u);
    EXPECT_EQ(calendar->GetCellColor(1), Marked());
    EXPECT_EQ(calendar->GetCellColor(2), calendar->GetFaceColor());
    EXPECT_EQ(calendar->GetCellColor(3), Marked());
    Answer(calendar, 2011, 7, 0xFFFF);
    Answer(calendar, 2012, 6, 0xFFFF);
    EXPECT_EQ(calendar->GetMarkedDays(), 5u);
}

TEST_F(Calendar, BackFromJanuaryIsDecemberOfTheYearBefore) {
    CMonthCalendarCtl* calendar = MakeCalendar();
    ASSERT_TRUE(Settle());
    PictureOf(calendar);
    const int year = calendar->GetShownMonth().GetYear();
    for (int i = 0; i < 12 && calendar->GetShownMonth().GetMonth() != 1; ++i)
        calendar->OnCommand(CMonthCalendarCtl::kPreviousMonth);
    ASSERT_EQ(calendar->GetShownMonth().GetMonth(), 1);
    calendar->OnCommand(CMonthCalendarCtl::kPreviousMonth);
    EXPECT_EQ(calendar->GetShownMonth().GetMonth(), 12);
    EXPECT_EQ(calendar->GetShownMonth().GetYear(), year - 1);
    EXPECT_FALSE(calendar->IsShowingCurrentMonth());
    const CZVTime asked = LastMonthAsked();
    EXPECT_EQ(asked.GetYear(), year - 1);
    EXPECT_EQ(asked.GetMonth(), 12);
    EXPECT_EQ(asked.GetDay(), 1);
    // Forward again: the next year's January, then back to the current month.
    calendar->OnCommand(CMonthCalendarCtl::kNextMonth);
    EXPECT_EQ(calendar->GetShownMonth().GetYear(), year);
    EXPECT_EQ(calendar->GetShownMonth().GetMonth(), 1);
}

TEST_F(Calendar, TheFirstPaintAfterMidnightOfTheMonthsLastDayShowsTheNextMonth) {
    clock.SetLocalTime({.year = 2011, .month = 6, .day = 30, .hour = 23, .minute = 59, .second = 50});
    CZVTime now;
    now.SetNow(1);
    CMonthCalendarCtl* calendar = MakeCalendar();
    ASSERT_TRUE(Settle());
    PictureOf(calendar);
    ASSERT_EQ(calendar->GetShownMonth().GetMonth(), now.GetMonth());
    const size_t asked = Requests(ZVM_CALENDAR_GETMONTHQ).size();
    clock.Advance(20000);
    CZVTime later;
    later.SetNow(1);
    PictureOf(calendar);
    EXPECT_EQ(calendar->GetShownMonth().GetMonth(), later.GetMonth());
    EXPECT_EQ(calendar->GetShownMonth().GetDay(), later.GetDay());
    ASSERT_EQ(Requests(ZVM_CALENDAR_GETMONTHQ).size(), asked + 1);
    EXPECT_EQ(LastMonthAsked().GetMonth(), later.GetMonth());
}

class DayView : public InfoPanelTest {
protected:
    CDayView* Open(int day, int answered = 1) {
        if (!answered)
            gateway.On(ZVM_CALENDAR_GETDAYQ,
                       [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
        CZVTime date;
        date.Set(2011, 6, 0, day, 0, 0, 0, 0);
        date.Normalize();
        auto* view = new CDayView(window.get(), CDayView::SquareIn(800, 480), server, date);
        window->ShowOverlay(view, view->GetRectIn(window.get()), 400, 240, 1, 0);
        if (answered) EXPECT_TRUE(SettleUntil([&] { return view->IsLoaded(); }));
        return view;
    }
    void Close() {
        window->CloseOverlay();
        EXPECT_TRUE(Settle());
    }
    // A stroke in the view's coordinates, as a finger draws it.
    static void Draw(CDayView* view, std::initializer_list<ZVPoint> points) {
        const ZVPoint* last = nullptr;
        for (const ZVPoint& p : points) {
            const int x = view->ToRootX(p.x), y = view->ToRootY(p.y);
            if (!last)
                view->OnLButtonDown(x, y, platform::MK_LBUTTON);
            else
                view->OnMouseMove(x, y, platform::MK_LBUTTON);
            last = &p;
        }
        view->OnLButtonUp(view->ToRootX(last->x), view->ToRootY(last->y), 0);
    }
    std::vector<Bytes> Stored() { return Requests(ZVM_CALENDAR_CLOSEDAY); }
};

TEST_F(DayView, ShowsTheStoredNote) {
    CDayView* view = Open(3);
    ASSERT_EQ(view->GetStrokes().GetCount(), 2);
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(view), "vistrel_calendar_day"));
    Close();
    EXPECT_TRUE(Stored().empty());
}

TEST_F(DayView, ClearThenDoneStoresAnEmptyNote) {
    CDayView* view = Open(14);
    view->OnCommand(CDayView::kClear);
    EXPECT_EQ(view->GetStrokes().GetCount(), 0);
    view->OnCommand(CDayView::kDone);
    ASSERT_TRUE(Settle());
    const std::vector<Bytes> stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    PayloadReader in(stored[0]);
    const std::optional<CZVTime> day = samplegateway::ReadTime(in);
    ASSERT_TRUE(day);
    EXPECT_EQ(day->GetDay(), 14);
    int32_t lines = -1;
    ASSERT_TRUE(in.Int(&lines));
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(in.Left(), 0u);
}

TEST_F(DayView, ADrawnStrokeIsStoredInTheSharedSpace) {
    CDayView* view = Open(20);
    const CZVRect area = view->GetDrawingArea();
    Draw(view, {{area.x, area.y}, {area.x + area.w / 2, area.y + area.h / 2}, {area.x + area.w - 1, area.y}});
    ASSERT_EQ(view->GetStrokes().GetCount(), 1);
    const CPLine* line = view->GetStrokes().GetAt(0);
    // The release repeats the last point.
    ASSERT_EQ(line->GetCount(), 4);
    EXPECT_EQ(line->GetX(0), 0);
    EXPECT_EQ(line->GetY(0), 0);
    EXPECT_EQ(line->GetX(1), 1000);
    EXPECT_EQ(line->GetY(1), 1000);
    EXPECT_EQ(line->GetX(2), (area.w - 1) * 2000 / area.w);
    Close();
    EXPECT_EQ(Stored().size(), 1u);
}

TEST_F(DayView, PointsGoToTheStoredSpaceAndBack) {
    CDayView* view = Open(20);
    const CZVRect area = view->GetDrawingArea();
    struct Case {
        int stored;
        int x, y;  // window
    };
    for (const Case& c : {Case{0, area.x, area.y}, Case{1000, area.x + area.w / 2, area.y + area.h / 2},
                          Case{2000, area.x + area.w, area.y + area.h},
                          // Beyond the space: at the area's edge, never outside it.
                          Case{2500, area.x + area.w, area.y + area.h}, Case{65535, area.x + area.w, area.y + area.h},
                          Case{-5, area.x, area.y}}) {
        const ZVPoint p = view->FromStored(c.stored, c.stored);
        EXPECT_EQ(p.x, c.x) << c.stored;
        EXPECT_EQ(p.y, c.y) << c.stored;
    }
    for (int stored : {0, 250, 999, 1500, 1999}) {
        const ZVPoint p = view->FromStored(stored, stored);
        const ZVPoint back = view->ToStored(p.x, p.y);
        EXPECT_NEAR(back.x, stored, 2000 / area.w + 1);
        EXPECT_NEAR(back.y, stored, 2000 / area.h + 1);
    }
}

TEST_F(DayView, ALateAnswerNeverReplacesWhatWasDrawn) {
    CDayView* view = Open(15);
    const CZVRect area = view->GetDrawingArea();
    Draw(view, {{area.x + 10, area.y + 10}, {area.x + 50, area.y + 60}});
    const int drawn = view->GetStrokes().GetCount();
    CZVMSG late(0, ZVM_CALENDAR_GETDAYA);
    late.WriteInt(0);
    late.ResetPosition();
    view->OnMessage(&late);
    EXPECT_EQ(view->GetStrokes().GetCount(), drawn);
}

TEST_F(DayView, ThePenWaitsForTheNoteAndANoteThatNeverComesIsLeftAlone) {
    CDayView* view = Open(3, 0);
    const CZVRect area = view->GetDrawingArea();
    Draw(view, {{area.x + 10, area.y + 10}, {area.x + 50, area.y + 60}});
    EXPECT_EQ(view->GetStrokes().GetCount(), 0);
    EXPECT_FALSE(view->IsModified());
    clock.Advance(CDayView::kAnswerWait);
    view->OnIdle(0);
    EXPECT_TRUE(view->IsReadOnly());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(view), "vistrel_calendar_day_unloaded"));
    view->OnCommand(CDayView::kClear);
    Draw(view, {{area.x + 10, area.y + 10}, {area.x + 50, area.y + 60}});
    EXPECT_FALSE(view->IsModified());
    Close();
    EXPECT_TRUE(Stored().empty());
}

}  // namespace
