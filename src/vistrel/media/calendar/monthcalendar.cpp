#include "vistrel/media/calendar/monthcalendar.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/dibdc.h"
#include "gfx/speed.h"
#include "vistrel/media/calendar/dayview.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

constexpr const char* kDayNames[7] = {"Sun", "Mon", "Tue", "Wed", "Thr", "Fri", "Sat"};
constexpr const char* kPreviousIcon = "TRANSPORT\\ICON32LEFT";
constexpr const char* kNextIcon = "TRANSPORT\\ICON32RIGHT";
constexpr double kMarkedShade = 0.9;

COLORREF SelectionColor() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetSelectionColor() : kHighlightColor;
}

COLORREF SelectionTextColor(COLORREF otherwise) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetSelectionTextColor() : otherwise;
}

}  // namespace

CMonthLayout LayoutMonth(int year, int month) {
    using namespace std::chrono;
    const year_month ym{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)}};
    CMonthLayout layout;
    if (!ym.ok()) return layout;
    layout.days =
        static_cast<int>(static_cast<unsigned>(year_month_day_last{ym.year(), month_day_last{ym.month()}}.day()));
    layout.firstColumn = static_cast<int>(weekday{sys_days{ym / 1}}.c_encoding());
    layout.weeks = (layout.days + layout.firstColumn + 6) / 7;
    return layout;
}

CMonthCalendarCtl::CMonthCalendarCtl(CZVWindow* parent, CZVRect rect, CZVServer& server, int clickable)
    : CRRegion(parent, rect, kStyleClass), CSocketSink(server), m_clickable(clickable) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    m_month.SetNow(1);
    server.RegisterSink(this);
    RequestMonth();
}

CMonthCalendarCtl::~CMonthCalendarCtl() {
    m_dayButtons.RemoveAll();
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CMonthCalendarCtl::RequestMonth() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_CALENDAR_GETMONTHQ);
    request.WriteTime(m_month);
    server->Send(&request);
}

CZVRect CMonthCalendarCtl::GetCellRect(int day) const {
    if (day < 1 || day > kMaxDays) return CZVRect(0, 0, 0, 0);
    return m_cells[day - 1];
}

int CMonthCalendarCtl::IsToday(int day) const {
    if (!m_showingCurrent) return 0;
    CZVTime now;
    now.SetNow(1);
    return now.GetDay() == day;
}

COLORREF CMonthCalendarCtl::GetCellColor(int day) const {
    if (IsToday(day)) return SelectionColor();
    if (day >= 1 && day <= kMaxDays && (m_marked >> (day - 1) & 1)) return ScaleColor(kMarkedShade, SelectionColor());
    return m_faceColor;
}

// ---- building the month

void CMonthCalendarCtl::FollowToday() {
    if (!m_showingCurrent) return;
    CZVTime now;
    now.SetNow(1);
    if (now.GetDay() == m_month.GetDay() && now.GetMonth() == m_month.GetMonth() && now.GetYear() == m_month.GetYear())
        return;
    Drop();
    m_month = now;
    m_marked = 0;
    RequestMonth();
}

void CMonthCalendarCtl::Drop() {
    m_dayButtons.RemoveAll();
    DeleteChildren();
    std::fill(std::begin(m_cells), std::end(m_cells), CZVRect(0, 0, 0, 0));
    m_built = 0;
}

CZVRect CMonthCalendarCtl::RowRect(int row, int rows) const {
    CZVRect r = CZVRect(0, 0, m_width, m_height).Row(row, rows, 0);
    if (row == rows - 1) r.h = m_height - r.y;
    return r;
}

CZVRect CMonthCalendarCtl::ColumnRect(int column, CZVRect row) const {
    CZVRect r = row.Column(column, 7, 0);
    if (column == 6) r.w = row.x + row.w - r.x;
    return r;
}

void CMonthCalendarCtl::Build() {
    const CMonthLayout layout = LayoutMonth(m_month.GetYear(), m_month.GetMonth());
    BuildTitle(RowRect(0, layout.Rows()));
    BuildDayNames(RowRect(1, layout.Rows()));
    BuildDays(layout);
    m_built = 1;
}

void CMonthCalendarCtl::BuildTitle(CZVRect row) {
    const int side = row.h;
    const int margin = row.h / 2;
    CZV3DButton* previous =
        AddIconButton(CZVRect(row.x + margin, row.y, side, side), kPreviousMonth, kButtonClass, kPreviousIcon, -1);
    CZV3DButton* next = AddIconButton(CZVRect(row.x + row.w - margin - side, row.y, side, side), kNextMonth,
                                      kButtonClass, kNextIcon, -1);
    previous->SetCornerRadius(m_radius);
    next->SetCornerRadius(m_radius);
    CZVString title;
    title.Format("%s %d", GetMonthName(m_month.GetMonth()).c_str(), m_month.GetYear());
    CZVLabel* label =
        AddLabel(CZVRect(row.x + margin + side, row.y, row.w - 2 * (margin + side), row.h), title, m_fontSize);
    label->SetTextColor(m_textColor);
}

void CMonthCalendarCtl::BuildDayNames(CZVRect row) {
    for (int c = 0; c < 7; ++c) AddLabel(ColumnRect(c, row), kDayNames[c], m_fontSize)->SetTextColor(m_textColor);
}

void CMonthCalendarCtl::BuildDays(const CMonthLayout& layout) {
    for (int day = 1; day <= layout.days; ++day) {
        const CZVRect cell = ColumnRect(layout.ColumnOf(day), RowRect(2 + layout.WeekOf(day), layout.Rows()));
        m_cells[day - 1] = cell;
        CZVString caption;
        caption.Format("%d", day);
        const COLORREF colour = IsToday(day) ? SelectionTextColor(m_textColor) : m_textColor;
        if (m_clickable) {
            CZV3DButton* button = Add3DButton(cell, kFirstDay + day - 1, kButtonClass, caption, nullptr);
            button->SetFontSize(m_fontSize);
            button->SetTextColor(colour);
            if (GetCellColor(day) != m_faceColor) button->SetFaceColor(GetCellColor(day));
            m_dayButtons.AddTail(button);
        } else {
            AddLabel(cell, caption, m_fontSize)->SetTextColor(colour);
        }
    }
}

// ---- painting

void CMonthCalendarCtl::Paint(CZVDC* dc, int withBackground) {
    FollowToday();
    if (!m_built) Build();
    CRRegion::Paint(dc, withBackground);
}

void CMonthCalendarCtl::OnPaint(CZVDC* dc) {
    CRRegion::OnPaint(dc);
    const CMonthLayout layout = LayoutMonth(m_month.GetYear(), m_month.GetMonth());
    DrawGrid(dc, layout);
    for (int day = 1; day <= layout.days; ++day)
        if (GetCellColor(day) != m_faceColor) DrawCell(dc, day);
}

// A separator line: its first half darker, its second half lighter than the
// panel's face, so that it reads as a groove.
void CMonthCalendarCtl::DrawSeparator(CZVDC* dc, CZVRect line, int horizontal) const {
    const COLORREF shade = ScaleColor(0.7, m_faceColor);
    const COLORREF light = ScaleColor(1.3, m_faceColor);
    if (horizontal) {
        const int half = (line.h + 1) / 2;
        dc->FillRect(shade, line.x, line.y, line.w, half, 0);
        dc->FillRect(light, line.x, line.y + half, line.w, line.h - half, 0);
    } else {
        const int half = (line.w + 1) / 2;
        dc->FillRect(shade, line.x, line.y, half, line.h, 0);
        dc->FillRect(light, line.x + half, line.y, line.w - half, line.h, 0);
    }
}

void CMonthCalendarCtl::DrawGrid(CZVDC* dc, const CMonthLayout& layout) const {
    const int width = std::min(GetBevel(), kMaxLineWidth);
    if (width <= 0) return;
    const int rows = layout.Rows();
    for (int row = 0; row < rows - 1; ++row) {
        const CZVRect r = RowRect(row, rows);
        DrawSeparator(dc, CZVRect(0, r.y + r.h - width / 2 - 1, m_width, width), 1);
    }
    for (int day = 1; day <= layout.days; ++day) {
        if (layout.ColumnOf(day) == 0) continue;
        const CZVRect cell = m_cells[day - 1];
        DrawSeparator(dc, CZVRect(cell.x - width / 2, cell.y, width, cell.h), 0);
    }
}

void CMonthCalendarCtl::DrawCell(CZVDC* dc, int day) const {
    const CZVRect cell = m_cells[day - 1];
    const int x = cell.x + 1;
    const int y = cell.y;  // one pixel inside, shifted up by one
    const int w = cell.w - 2;
    const int h = cell.h - 1;  // one pixel taller than the inset
    const COLORREF colour = GetCellColor(day);
    const bool bottom = cell.y + cell.h >= m_height;
    const bool corner = bottom && (cell.x == 0 || cell.x + cell.w >= m_width);
    if (corner && m_radius > 0) {
        // Rounded like the panel's corner, square on the other sides.
        dc->RoundRect(colour, x, y, w, h, m_radius);
        const int r = std::min(m_radius, std::min(w, h) / 2);
        dc->FillRect(colour, x, y, w, h - r, 0);
        if (cell.x == 0)
            dc->FillRect(colour, x + r, y, w - r, h, 0);
        else
            dc->FillRect(colour, x, y, w - r, h, 0);
    } else {
        dc->FillRect(colour, x, y, w, h, 0);
    }
}

// ---- input and answers

int CMonthCalendarCtl::OnCommand(int id) {
    if (id == kPreviousMonth || id == kNextMonth) {
        ChangeMonth(id == kPreviousMonth ? -1 : 1);
        return 1;
    }
    if (id >= kFirstDay && id < kFirstDay + kMaxDays) {
        OpenDay(id - kFirstDay + 1);
        return 1;
    }
    return CRRegion::OnCommand(id);
}

void CMonthCalendarCtl::ChangeMonth(int step) {
    int month = m_month.GetMonth() + step;
    int year = m_month.GetYear();
    if (month < 1) {
        month = 12;
        --year;
    } else if (month > 12) {
        month = 1;
        ++year;
    }
    m_month.SetDay(1);
    m_month.SetYear(year);
    m_month.SetMonth(month);
    CZVTime now;
    now.SetNow(1);
    m_showingCurrent = now.GetMonth() == month && now.GetYear() == year;
    if (m_showingCurrent) m_month.SetDay(now.GetDay());
    m_marked = 0;
    Drop();
    Build();
    if (m_shown && !CMainWndBase::InputBlockedFor(this)) {
        CDibDC incoming(m_width, m_height, ToRootX(0), ToRootY(0), 1);
        incoming.SetThemedFills(true);
        Paint(&incoming, 1);
        SlideHorizontal(step < 0 ? m_width : -m_width, kSlideTime, &incoming, 0, 0, 0, 0);
    }
    RequestMonth();
}

void CMonthCalendarCtl::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_CALENDAR_GETMONTHA) return;
    message->ResetPosition();
    CZVTime month;
    uint32_t mask = 0;
    if (!message->ReadTime(month) || !CMsgReader(*message).UInt(mask)) return;
    if (month.GetYear() != m_month.GetYear() || month.GetMonth() != m_month.GetMonth()) return;
    if (mask == m_marked) return;
    m_marked = mask;
    if (!m_built) return;
    // The day buttons wear their cells' colours: they are made again.
    Drop();
    Build();
    if (m_shown && !CMainWndBase::InputBlockedFor(this)) RedrawBuffered();
}

void CMonthCalendarCtl::OpenDay(int day) {
    CMainWndBase* main = GetMainWnd();
    CZVServer* server = GetServer();
    if (!main || !server) return;
    CZVTime date = m_month;
    if (!date.SetDay(day)) return;
    const CZVRect square = CDayView::SquareIn(main->GetWidth(), main->GetHeight());
    auto* view = new CDayView(main, square, *server, date);
    const CZVRect cell = GetCellRect(day);
    main->ShowOverlay(view, square, ToRootX(cell.x + cell.w / 2), ToRootY(cell.y + cell.h / 2), 1, 0);
}

// ---- the factory

CZVWindow* MakeMonthCalendar(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CMonthCalendarCtl(args.parent, args.rect, *server, args.parameter);
}

void RegisterCalendarControls() {
    static constexpr CControlMakerRow kControls[] = {{CMonthCalendarCtl::kType, MakeMonthCalendar, kSkipCommon}};
    RegisterControlMakers(kControls);
}
