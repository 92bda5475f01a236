#include "widgets/timeline/timezoom.h"

#include <algorithm>
#include <cstdlib>

#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "widgets/style/setserver.h"
#include "widgets/timeline/timeview.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "timezoom";
constexpr int kSpans[] = {44640, 10080, 1440, 360, 60, 1};
constexpr int kZoomedInSpan = 5;  // zooming in ends here, never on one minute
constexpr int kButtonStyleClass = 17;
constexpr int kCellStyleClass = 25;
constexpr int kFormatLeft = 17;
constexpr int kFormatCentred = 18;
constexpr int kMinCellWidth = 50;
constexpr int kWideHourCell = 60;
constexpr int kMaxCells = 400;  // a bound for the walk, whatever the arithmetic gives

const char* CaptionOf(int kind) {
    static const char* const kNames[] = {"Month", "Week", "Day", "Day", "Hour", "Time"};
    return kind >= 0 && kind <= 5 ? kNames[kind] : "";
}

CZVTime WithHour(CZVTime time, int hour) {
    time.SetHour(hour);
    time.SetMinute(0);
    time.SetSecond(0);
    time.SetMilliseconds(0);
    return time;
}

}  // namespace

// ---- CTimeWindow

CTimeWindow::CTimeWindow() = default;

CTimeWindow::CTimeWindow(int kind, const CZVTime& end, int customSpan) { Set(kind, end, customSpan); }

CTimeWindow::CTimeWindow(const CTimeWindow& other)
    : m_kind(other.m_kind), m_end(other.m_end), m_customSpan(other.m_customSpan) {}

CTimeWindow& CTimeWindow::operator=(const CTimeWindow& other) {
    m_kind = other.m_kind;
    m_end = other.m_end;
    m_customSpan = other.m_customSpan;
    return *this;
}

int CTimeWindow::SpanOfKind(int kind) { return kind >= kMonth && kind <= kMinute ? kSpans[kind] : 0; }

int CTimeWindow::GetSpanMinutes() const {
    if (m_kind == kCustom) return m_customSpan;
    if (m_kind < kMonth || m_kind > kCustom) {
        ReportAssert(kSource, 162, 1);
        return 1;
    }
    return kSpans[m_kind];
}

void CTimeWindow::Set(int kind, const CZVTime& end, int customSpan) {
    if (kind == kCustom && customSpan <= 0) ReportAssert(kSource, 179, 1);
    m_kind = kind;
    m_end = end;
    m_customSpan = customSpan;
}

CZVTime CTimeWindow::GetStart() const { return PlusMinutes(m_end, -GetSpanMinutes()); }

CZVTime CTimeWindow::Centre() const { return PlusMinutes(m_end, -(GetSpanMinutes() / 2)); }

int CTimeWindow::GetNearestKind() const {
    if (m_kind != kCustom) return m_kind;
    const int span = m_customSpan;
    if (span > 30240) return kMonth;
    if (span > 7200) return kWeek;
    if (span > 1080) return kDay;
    if (span <= 180) return kHour;
    return kSixHours;
}

void CTimeWindow::StepFiner(const CZVTime& centre) {
    int kind = GetNearestKind();
    if (kind < kMinute) ++kind;
    int span = 0;
    if (kind == kMinute) {
        kind = kCustom;
        span = kZoomedInSpan;
    }
    Set(kind, m_end, span);
    m_end = PlusMinutes(centre, GetSpanMinutes() / 2);
}

void CTimeWindow::ZoomIn(const CZVTime& centre) { StepFiner(centre); }

void CTimeWindow::ZoomInStep() {
    if (!m_inStack.empty()) {
        *this = m_inStack.front();
        m_inStack.erase(m_inStack.begin());
        return;
    }
    StepFiner(Centre());
}

void CTimeWindow::ZoomOut(const ITimeLimits& limits) {
    if (!m_outStack.empty()) {
        *this = m_outStack.front();
        m_outStack.erase(m_outStack.begin());
        return;
    }
    if (m_kind == kCustom) Set(GetNearestKind(), m_end, m_customSpan);
    if (m_kind <= kMonth) return;
    const CZVTime centre = Centre();
    Set(m_kind - 1, m_end, m_customSpan);
    const int span = GetSpanMinutes();
    m_end = PlusMinutes(centre, span / 2);
    const CZVTime latest = limits.GetMaxTime(span);
    if (m_end > latest) m_end = latest;
}

void CTimeWindow::ClearStacks() {
    m_inStack.clear();
    m_outStack.clear();
}

// ---- CZoomButton

CZoomButton::CZoomButton(CZVWindow* parent, CZoomBar* bar, CZVRect rect, CZVString text, const CZVTime& targetEnd,
                         int kind, int span)
    : CZV3DButton(parent, rect, kNoCommand, kCellStyleClass),
      m_targetEnd(targetEnd),
      m_bar(bar),
      m_kind(kind),
      m_span(span) {
    SetText(text, nullptr, 0);
}

void CZoomButton::DrawFace(CZVDC* dc, int pressed, int) {
    dc->FillBevelBoxStd(m_faceColor, m_faceColor, !pressed, 0, 0, m_width - 1, m_height - 1, 1);
}

int CZoomButton::OnCommand(int) {
    if (m_kind == CTimeWindow::kMinute) m_targetEnd = PlusMinutes(m_targetEnd, 1);
    if (m_kind == CTimeWindow::kCustom && m_span < kZoomedInSpan) return 1;
    m_bar->SetTimeWindow(m_targetEnd, m_kind, m_span, 1);
    return 1;
}

// ---- CTimeAxis

CTimeAxis::CTimeAxis(CZoomBar* bar, CTimeView* view, CZVRect rect, int kind, const CTimeWindow& window)
    : CZVWindow(bar, rect, 0), m_view(view), m_kind(kind) {
    SetColors(bar->GetFaceColor(), bar->GetFaceColor());
    BuildCells(bar, window);
}

int CTimeAxis::CellUnits(int kind, int spanMinutes, int width) {
    if (kind == CTimeWindow::kHour) {
        const int hours = spanMinutes / 60;
        if (hours < 1) return 1;
        for (int l : {1, 2, 4, 6, 12})
            if (l * width / hours >= kMinCellWidth) return l;
        return 12;
    }
    if (kind == CTimeWindow::kMinute) {
        // Without a step that reaches the width, cells of an hour.
        for (int l : {1, 2, 5, 10, 15, 30, 60})
            if (spanMinutes > 0 && l * width / spanMinutes >= kMinCellWidth) return l;
        return 60;
    }
    return 1;
}

int CTimeAxis::AddCell(CZoomBar* bar, const CZVTime& start, const CZVTime& end, CZVString text, int format, int kind,
                       int span, const CZVTime& targetEnd) {
    int x1 = m_view->TimeToX(start) - m_x;
    int x2 = m_view->TimeToX(end) - m_x;
    if (x2 < 0) return -1;
    x2 = std::min(x2, m_width - 1);
    x1 = std::max(x1, 0);
    if (x1 >= x2) return 0;
    CZVRect rect(x1, 0, x2 - x1 + 1, m_height);
    if (x1 > 0) rect = CZVRect(x1 + 1, 0, x2 - x1, m_height);
    auto* cell = new CZoomButton(this, bar, rect, text, targetEnd, kind, span);
    cell->SetColors(m_faceColor, m_faceColor);
    cell->SetFontSize(CTimeView::GetLabelFontSize());
    cell->SetTextFormat(format);
    AddChild(cell);
    return 1;
}

void CTimeAxis::BuildCells(CZoomBar* bar, const CTimeWindow& window) {
    const int span = window.GetSpanMinutes();
    const int days = span / 1440;
    const int units = CellUnits(m_kind, span, m_width);
    const CZVTime windowStart = window.GetStart();
    CZVTime end = window.GetEnd();
    CZVTime start;
    for (int cell = 0; cell < kMaxCells; ++cell) {
        CZVString text;
        int format = kFormatCentred;
        int kind = m_kind;
        int cellSpan = 0;
        CZVTime target;
        CZVTime cellEnd = end;
        switch (m_kind) {
        case CTimeWindow::kMonth:
            if (cell == 0) {
                start = WithHour(end, 0);
                start.SetDay(1);
            } else {
                CZVTime earlier = start;
                if (start.GetMonth() == 1) {
                    earlier.SetYear(start.GetYear() - 1);
                    earlier.SetMonth(12);
                } else {
                    earlier.SetMonth(start.GetMonth() - 1);
                }
                start = earlier;
            }
            text.Format("%s %d", start.GetMonthName().c_str(), start.GetYear());
            target = PlusMinutes(start, CTimeWindow::SpanOfKind(m_kind));
            break;
        case CTimeWindow::kWeek: {
            start = PlusMinutes(Midnight(end), -7 * 1440);
            if (days < 15) {
                const CZVTime& named = start > windowStart ? start : windowStart;
                text.Format("%s %d/%d - %s %d/%d", named.GetDayName().c_str(), start.GetMonth(), start.GetDay(),
                            end.GetDayName().c_str(), end.GetMonth(), end.GetDay());
            } else {
                text.Format("%d/%d-%d/%d", start.GetMonth(), start.GetDay(), end.GetMonth(), end.GetDay());
            }
            target = PlusMinutes(start, CTimeWindow::SpanOfKind(m_kind));
            break;
        }
        case CTimeWindow::kDay:
        case CTimeWindow::kSixHours: {
            CZVTime lastSecond = WithHour(end, 23);
            lastSecond.SetMinute(59);
            lastSecond.SetSecond(59);
            start = PlusMinutes(lastSecond, -1440);
            if (days <= 2)
                text.Format("%s %d/%d", end.GetDayName().c_str(), end.GetMonth(), end.GetDay());
            else
                text.Format("%s\n%d/%d", end.GetDayNameShort().c_str(), end.GetMonth(), end.GetDay());
            target = PlusMinutes(start, CTimeWindow::SpanOfKind(m_kind));
            break;
        }
        case CTimeWindow::kHour: {
            format = kFormatLeft;
            int hour = end.GetHour();
            if (cell == 0 && units > 1) hour -= hour % 2;
            start = WithHour(end, hour);
            if (cell > 0) start = PlusMinutes(start, -60 * units);
            const int width = m_view->TimeToX(end) - m_view->TimeToX(start);
            if (width > kWideHourCell) {
                text.Format("%d/%d %d %s", start.GetMonth(), start.GetDay(), start.GetHour12(),
                            start.GetAmPm().c_str());
                format = kFormatCentred;
            } else {
                text.Format("%d %s", start.GetHour12(), start.GetAmPm().c_str());
            }
            target = PlusMinutes(start, 60);
            break;
        }
        case CTimeWindow::kMinute:
            format = kFormatLeft;
            start = end;
            start.SetMinute(end.GetMinute() - end.GetMinute() % units);
            start.SetSecond(0);
            start.SetMilliseconds(0);
            if (cell > 0) start = PlusMinutes(start, -units);
            cellEnd = PlusSeconds(PlusMinutes(start, units), -1);
            text = start.FormatTime().c_str();
            kind = CTimeWindow::kCustom;
            cellSpan = units;
            target = PlusMinutes(start, units);
            break;
        default: return;
        }
        const int added = AddCell(bar, start, cellEnd, text, format, kind, cellSpan, target);
        if (added < 0) return;
        if (!added && m_view->TimeToX(start) - m_x <= 0) return;
        end = m_kind == CTimeWindow::kHour ? PlusSeconds(start, 1) : start;
    }
}

// ---- CZoomBar

CZoomBar::CZoomBar(CTimeView* view, CZVRect rect, int graphLeft, CTimeWindow* window)
    : CZVWindow(view, rect, 0), m_view(view), m_window(window), m_graphLeft(graphLeft) {
    SetColors(view->GetFaceColor(), view->GetFaceColor());
    BuildButtons();
    BuildAxes();
    UpdateZoomButtons();
}

CZoomBar::~CZoomBar() = default;

void CZoomBar::BuildButtons() {
    CZVRect client;
    GetClientRect(&client);
    const CZVRect row = client.Row(2, 3, 0);
    const int quarter = row.w / 4;
    struct Button {
        int id;
        CZVRect rect;
        const char* icon;
        int kind;
        const char* text;
    } buttons[] = {
        {kBackId, CZVRect(row.x, row.y, quarter, row.h), "TRANSPORT\\ICON32_LEFT_ARROW_GREEN", 5, ""},
        {kZoomOutId, CZVRect(row.x + quarter, row.y, row.w - 3 * quarter, row.h), "TRANSPORT\\ICON32_MINUS_GREEN", 20,
         "Zoom Out"},
        {kZoomInId, CZVRect(row.x + row.w - 2 * quarter, row.y, quarter, row.h), "TRANSPORT\\ICON32_PLUS_GREEN", 19,
         "Zoom In"},
        {kForwardId, CZVRect(row.x + row.w - quarter, row.y, quarter, row.h), "TRANSPORT\\ICON32_RIGHT_ARROW_GREEN", 4,
         ""},
    };
    CSetServer* style = CSetServer::Get();
    const int themed = style && style->IsThemed();
    for (const Button& b : buttons) {
        CZV3DButton* button =
            themed ? AddIconButton(b.rect, b.id, kButtonStyleClass, b.icon, -1)
                   : AddImageButton(b.rect, b.id, kButtonStyleClass, b.kind, style ? style->GetStyleColor(7, 0) : 0);
        button->SetShape(0, 1, 0);
        if (*b.text) button->SetText(b.text, nullptr, 0);
        if (b.id == kZoomInId) m_zoomInButton = button;
        if (b.id == kZoomOutId) m_zoomOutButton = button;
    }
}

void CZoomBar::RemoveAxes() {
    CZVWindow* parts[] = {m_axis, m_fineAxis, m_caption0, m_caption1};
    for (CZVWindow* part : parts) {
        if (!part) continue;
        RemoveChild(part);
        delete part;
    }
    m_axis = m_fineAxis = nullptr;
    m_caption0 = m_caption1 = nullptr;
}

void CZoomBar::BuildAxes() {
    RemoveAxes();
    CZVRect client;
    GetClientRect(&client);
    const int captionWidth = std::max(m_graphLeft - 2, 0);
    const int kind = m_window->GetNearestKind();
    const int fineKind = kind == CTimeWindow::kDay ? CTimeWindow::kHour : kind + 1;
    const CTimeWindow shown(*m_window);
    for (int row = 0; row < 2; ++row) {
        const CZVRect band = client.Row(row, 3, 0);
        const int rowKind = row == 1 ? kind : fineKind;
        auto* caption = new CZoomButton(this, this, CZVRect(band.x, band.y, captionWidth, band.h), CaptionOf(rowKind),
                                        CZVTime(), 0, 0);
        caption->SetColors(m_faceColor, m_faceColor);
        caption->SetFontSize(CTimeView::GetLabelFontSize());
        caption->SetTextFormat(kFormatCentred);
        AddChild(caption);
        (row == 1 ? m_caption1 : m_caption0) = caption;
        if (rowKind > CTimeWindow::kMinute) continue;
        auto* axis = new CTimeAxis(this, m_view, CZVRect(band.x + captionWidth, band.y, band.w - captionWidth, band.h),
                                   rowKind, shown);
        AddChild(axis);
        (row == 1 ? m_axis : m_fineAxis) = axis;
    }
}

void CZoomBar::SetTimeWindow(const CZVTime& end, int kind, int span, int redraw) {
    const int current = m_window->GetSpanMinutes();
    CZVTime clamped = end;
    const CZVTime earliest = m_view->GetMinTime(current), latest = m_view->GetMaxTime(current);
    if (clamped < earliest) clamped = earliest;
    if (clamped > latest) clamped = latest;
    m_window->Set(kind, clamped, span);
    BuildAxes();
    if (IsShown()) RedrawBuffered();
    m_view->SetTimeRange(m_window->GetStart(), m_window->GetEnd(), redraw);
}

void CZoomBar::Refresh() {
    BuildAxes();
    if (IsShown()) RedrawBuffered();
    UpdateZoomButtons();
}

void CZoomBar::UpdateZoomButtons() {
    if (m_zoomInButton) m_zoomInButton->Enable(m_window->GetSpanMinutes() > kZoomedInSpan, IsShown());
    if (m_zoomOutButton) m_zoomOutButton->Enable(m_window->GetNearestKind() > CTimeWindow::kMonth, IsShown());
}

void CZoomBar::StartDrag(const CZVTime& centre) {
    const int span = std::max(m_window->GetSpanMinutes(), 1);
    m_dragBaseEnd = m_window->GetEnd();
    m_state = kCentring;
    m_offset = 0;
    const int64_t minutes = MinutesBetween(PlusMinutes(m_window->GetEnd(), -(span / 2)), centre);
    m_targetOffset = static_cast<int>(-(m_view->GetGraphWidth() * minutes / span));
    m_scrollMinutes = minutes;
    m_animationStart = platform::GetTickCount();
}

int CZoomBar::EasedOffset(int target, uint32_t t, uint32_t duration) {
    const int64_t e = std::abs(target);
    const int64_t d = duration;
    const int64_t rest = d - static_cast<int64_t>(t);
    const int64_t p = e - rest * rest * (e * 200000 / (d * d)) / 200000;
    return static_cast<int>(target < 0 ? -p : p);
}

void CZoomBar::DragTo(int offset) {
    const int span = std::max(m_window->GetSpanMinutes(), 1);
    const int gw = m_view->GetGraphWidth();
    // A graph without width has no pixels to move time by.
    if (gw < 1) return;
    CZVTime end = span <= 60 ? PlusSeconds(m_dragBaseEnd, -static_cast<int64_t>(offset) * span * 60 / gw)
                             : PlusMinutes(m_dragBaseEnd, -static_cast<int64_t>(offset) * span / gw);
    const CZVTime latest = m_view->GetMaxTime(span), earliest = m_view->GetMinTime(span);
    if (end > latest) {
        end = latest;
        offset = static_cast<int>(-(MinutesBetween(m_dragBaseEnd, latest) * gw / span));
    } else if (end < earliest) {
        end = earliest;
        offset = static_cast<int>(MinutesBetween(earliest, m_dragBaseEnd) * gw / span);
    }
    m_window->Set(m_window->GetKind(), end, m_window->GetCustomSpan());
    BuildAxes();
    if (m_fineAxis && IsShown()) {
        RedrawBuffered();
        CZVDC dc(m_view);
        m_view->ScrollGraph(offset, m_offset, &dc);
    }
    m_offset = offset;
}

int CZoomBar::OnLButtonDown(int x, int y, int keys) {
    ZVPoint p;
    ToLocal(&p, x, y);
    if (m_state != kIdle || m_view->IsLoading() || p.x < 0 || p.x >= m_width || p.y >= m_height) return 0;
    if (p.y >= 2 * m_height / 3 || p.y < 0) return CZVWindow::OnLButtonDown(x, y, keys);
    m_offset = 0;
    m_state = kDragging;
    m_dragBaseEnd = m_window->GetEnd();
    m_pressX = p.x;
    m_moved = 0;
    m_window->ClearStacks();
    return 1;
}

int CZoomBar::OnMouseMove(int x, int y, int keys) {
    if (m_state != kDragging) return CZVWindow::OnMouseMove(x, y, keys);
    if (!(keys & platform::MK_LBUTTON)) return OnLButtonUp(x, y, keys);
    ZVPoint p;
    ToLocal(&p, x, y);
    const int dx = p.x - m_pressX;
    if (m_moved || std::abs(dx) > kDragThreshold) {
        DragTo(dx);
        m_moved = 1;
    }
    return 1;
}

int CZoomBar::OnLButtonUp(int x, int y, int keys) {
    if (m_state == kDragging) {
        if (m_moved) m_view->SetTimeRange(m_window->GetStart(), m_window->GetEnd(), 1);
        m_state = kIdle;
    }
    return CZVWindow::OnLButtonUp(x, y, keys);
}

int CZoomBar::OnChildCommand(int id, int extra) {
    if (m_view->IsLoading()) return CZVWindow::OnChildCommand(id, extra);
    switch (id) {
    case kZoomInId: Zoom(1); break;
    case kZoomOutId: Zoom(0); break;
    case kBackId: Scroll(0); break;
    case kForwardId: Scroll(1); break;
    default: break;
    }
    return 1;
}

void CZoomBar::Zoom(int in) {
    if (in)
        m_window->PushZoomOut();
    else
        m_window->PushZoomIn();
    const CTimeWindow old(*m_window);
    if (!in)
        m_window->ZoomOut(*m_view);
    else if (!m_view->HandleZoomIn())
        m_window->ZoomInStep();
    m_view->LoadTimeRange(m_window->GetStart(), m_window->GetEnd());
    m_view->AnimateWindowChange(old, CTimeWindow(*m_window));
    BuildAxes();
    if (IsShown()) RedrawBuffered();
    m_view->SetTimeRange(m_window->GetStart(), m_window->GetEnd(), in ? 0 : 1);
    UpdateZoomButtons();
}

void CZoomBar::Scroll(int forward) {
    if (m_state != kIdle) return;
    m_window->ClearStacks();
    const int span = std::max(m_window->GetSpanMinutes(), 1);
    int64_t minutes = forward ? span : -span;
    if (forward) {
        minutes = std::min(minutes, MinutesBetween(m_window->GetEnd(), m_view->GetMaxTime(span)));
    } else {
        minutes = -std::min(-minutes, MinutesBetween(m_view->GetMinTime(span), m_window->GetEnd()));
    }
    m_view->SetTimeRange(PlusMinutes(m_window->GetStart(), minutes), PlusMinutes(m_window->GetEnd(), minutes), 0);
    m_dragBaseEnd = m_window->GetEnd();
    m_state = kScrolling;
    const int gw = m_width > 0 ? m_view->GetGraphWidth() + 1 : 0;
    m_targetOffset = forward ? static_cast<int>(-(minutes * gw / span)) : gw;
    m_scrollMinutes = minutes;
    m_offset = 0;
    m_animationStart = platform::GetTickCount();
}

int CZoomBar::OnIdle(int busy) {
    if (!IsDragging()) return CZVWindow::OnIdle(busy);
    if (CMainWndBase::InputBlockedFor(this)) return 0;
    const uint32_t duration = m_state == kScrolling ? kScrollDuration : kCentreDuration;
    const uint32_t t = platform::TicksSince(m_animationStart);
    if (t <= duration) {
        const int p = EasedOffset(m_targetOffset, t, duration);
        if (p == m_offset) return 0;
        DragTo(p);
        return 1;
    }
    DragTo(m_targetOffset);
    EndMovement();
    return 1;
}

void CZoomBar::EndMovement() {
    // Whole pixels round the movement: the window ends exactly where the
    // data was asked for.
    const int span = std::max(m_window->GetSpanMinutes(), 1);
    CZVTime end = PlusMinutes(m_dragBaseEnd, m_scrollMinutes);
    const CZVTime latest = m_view->GetMaxTime(span), earliest = m_view->GetMinTime(span);
    if (end > latest) end = latest;
    if (end < earliest) end = earliest;
    m_window->Set(m_window->GetKind(), end, m_window->GetCustomSpan());
    BuildAxes();
    if (IsShown()) RedrawBuffered();
    const int scrolled = m_state == kScrolling;
    m_state = kIdle;
    if (scrolled) m_view->RedrawGraph();
}
