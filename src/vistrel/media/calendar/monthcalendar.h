#pragma once
// CMonthCalendarCtl: the month view that gateway pages place (type 180): a
// title with the month and year between two arrows, the day names, and a
// grid of days in which today and the days that have a handwritten note are
// coloured. The month shown follows the gateway's clock: it moves on by
// itself at midnight of the month's last day. When the page makes the days
// buttons, touching one opens that day's note (CDayView).
#include <cstdint>

#include "core/zvoblist.h"
#include "core/zvserver.h"
#include "core/zvtime.h"
#include "widgets/regions/rregion.h"

struct CPageControlArgs;

// Where the days of a month go: its length, the column of its 1st (Sunday
// is column 0) and the week rows it needs.
struct CMonthLayout {
    int days = 0;
    int firstColumn = 0;
    int weeks = 0;
    // The control's rows: the title, the day names, then the weeks.
    int Rows() const { return weeks + 2; }
    // Week row (from 0) and column of day d.
    int WeekOf(int day) const { return (firstColumn + day - 1) / 7; }
    int ColumnOf(int day) const { return (firstColumn + day - 1) % 7; }
};
CMonthLayout LayoutMonth(int year, int month);

class CMonthCalendarCtl : public CRRegion, public CSocketSink {
public:
    static constexpr int kType = 180;
    static constexpr int kStyleClass = 6;
    static constexpr int kButtonClass = 16;
    static constexpr int kPreviousMonth = 1000;
    static constexpr int kNextMonth = 1001;
    static constexpr int kFirstDay = 1100;       // + day - 1
    static constexpr unsigned kSlideTime = 250;  // ms
    static constexpr int kMaxLineWidth = 4;
    static constexpr int kMaxDays = 31;

    CMonthCalendarCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int clickable);
    ~CMonthCalendarCtl() override;

    void Paint(CZVDC* dc, int withBackground) override;
    void OnPaint(CZVDC* dc) override;
    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;

    const CZVTime& GetShownMonth() const { return m_month; }
    uint32_t GetMarkedDays() const { return m_marked; }
    int IsShowingCurrentMonth() const { return m_showingCurrent; }
    int IsBuilt() const { return m_built; }
    // Window coordinates of day d's cell (1..31); empty outside the month.
    CZVRect GetCellRect(int day) const;
    // The colour a day's cell is drawn in; the panel's face when the day is
    // neither today nor marked.
    COLORREF GetCellColor(int day) const;

private:
    void RequestMonth();
    // Rebuilds the month when the day moved on while the current month shows.
    void FollowToday();
    void Build();
    void Drop();
    void BuildTitle(CZVRect row);
    void BuildDayNames(CZVRect row);
    void BuildDays(const CMonthLayout& layout);
    // The row-th of the control's rows; the last one reaches the bottom.
    CZVRect RowRect(int row, int rows) const;
    // Column c of 7 of the row; the last one reaches the right edge.
    CZVRect ColumnRect(int column, CZVRect row) const;
    void DrawSeparator(CZVDC* dc, CZVRect line, int horizontal) const;
    void DrawGrid(CZVDC* dc, const CMonthLayout& layout) const;
    void DrawCell(CZVDC* dc, int day) const;
    int IsToday(int day) const;
    void ChangeMonth(int step);
    void OpenDay(int day);

    CZVObList m_dayButtons;  // the children that are day buttons, in day order
    CZVTime m_month;
    CZVRect m_cells[kMaxDays];
    uint32_t m_marked = 0;
    int m_showingCurrent = 1;
    int m_clickable;
    int m_built = 0;
};

// The page control factory's maker for type 180 and its registration.
CZVWindow* MakeMonthCalendar(CPageControlArgs& args);
void RegisterCalendarControls();
