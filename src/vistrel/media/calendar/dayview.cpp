#include "vistrel/media/calendar/dayview.h"

#include <algorithm>
#include <cstdlib>

#include "core/messages/mediamessages.h"
#include "gfx/speed.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr COLORREF kTransparent = 0;  // the pen's transparent key, RGB565 0
constexpr int kTitleFormat = 0x10;    // left-aligned, centred vertically
constexpr int kNoticeFormat = 0x12;   // centred both ways
constexpr int kNoticeFont = 20;

}  // namespace

CDayView::CDayView(CZVWindow* parent, CZVRect rect, CZVServer& server, const CZVTime& day)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      CSocketSink(server),
      m_day(day),
      m_askedAt(platform::GetTickCount()) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    CSetServer* style = CSetServer::Get();
    const COLORREF ink = style ? style->GetStyleColor(2, 1) : 0;
    m_textColor = IsBlack565(ink) ? kInkOnKey : ink;
    m_raisedLevel = 0;
    BuildHead();
    m_area = CZVRect(0, kHeadHeight, m_width, m_height - kHeadHeight);
    MakePen(m_textColor);
    server.RegisterSink(this);
    CZVMSG request(GetId(), ZVM_CALENDAR_GETDAYQ);
    request.WriteTime(m_day);
    server.Send(&request);
}

CDayView::~CDayView() {
    CZVServer* server = GetServer();
    if (!server) return;
    if (m_modified) {
        CZVMSG note(0, ZVM_CALENDAR_CLOSEDAY);
        note.WriteTime(m_day);
        m_strokes.Write(&note);
        server->Send(&note);
    }
    server->UnregisterSink(this);
}

CZVRect CDayView::SquareIn(int width, int height) {
    const int side = std::min(width, height);
    return CZVRect(width / 2 - side / 2, height / 2 - side / 2, side, side);
}

void CDayView::BuildHead() {
    CZVRect head(0, 0, m_width, kHeadHeight);
    Add3DButtonDefault(head.CutRight(kButtonWidth, kButtonGap), kDone, kButtonClass, "Done");
    Add3DButtonDefault(head.CutRight(kButtonWidth, kButtonGap), kClear, kButtonClass, "Clear");
    head.Deflate(kTitleInset, kTitleInset);
    CZVString title;
    title.Format("%s %d, %d", GetMonthName(m_day.GetMonth()).c_str(), m_day.GetDay(), m_day.GetYear());
    CZVLabel* label = AddLabel(head, title, -1);
    label->SetTextFormat(kTitleFormat);
    label->SetTextColor(m_textColor);
}

void CDayView::MakePen(COLORREF ink) {
    m_pen = std::make_unique<CDibDC>(kPenSize, kPenSize, 0, 0, 0);
    m_pen->FillRect(kTransparent, 0, 0, kPenSize, kPenSize, 0);
    m_pen->FillRoundRect(ink, 0, 0, kPenSize, kPenSize, kPenRadius, 0);
}

// ---- the stored space

ZVPoint CDayView::ToStored(int x, int y) const {
    ZVPoint p;
    if (m_area.w > 0) p.x = (x - m_area.x) * kSpan / m_area.w;
    if (m_area.h > 0) p.y = (y - m_area.y) * kSpan / m_area.h;
    return p;
}

ZVPoint CDayView::FromStored(int x, int y) const {
    // The gateway's points may lie beyond the space: they stay inside the area.
    x = std::clamp(x, 0, kSpan);
    y = std::clamp(y, 0, kSpan);
    return ZVPoint{x * m_area.w / kSpan + m_area.x, y * m_area.h / kSpan + m_area.y};
}

// Points travel as 16-bit unsigned values.
ZVPoint CDayView::PointOf(const CPLine& line, int index) const {
    return FromStored(static_cast<uint16_t>(line.GetX(index)), static_cast<uint16_t>(line.GetY(index)));
}

// ---- the note

void CDayView::OnMessage(CZVMSG* message) {
    if (message->GetId() == ZVM_CALENDAR_GETDAYA) TakeNote(message);
}

void CDayView::TakeNote(CZVMSG* message) {
    // The first answer is the note; anything later would replace what the
    // user has drawn since.
    if (m_loaded || m_readOnly) return;
    message->ResetPosition();
    m_strokes.Read(message);
    m_loaded = 1;
    if (m_shown && !CMainWndBase::InputBlockedFor(this)) RedrawBuffered();
}

int CDayView::OnIdle(int busy) {
    if (!m_loaded && !m_readOnly && platform::TicksSince(m_askedAt) >= kAnswerWait) {
        m_readOnly = 1;
        if (m_shown) RedrawBuffered();
    }
    return CZVWindow::OnIdle(busy);
}

void CDayView::ClearNote() {
    if (!m_loaded) return;
    m_modified = 1;
    m_drawing = 0;
    m_strokes.RemoveAll();
    RedrawBuffered();
}

int CDayView::OnCommand(int id) {
    if (id == kClear) {
        ClearNote();
        return 1;
    }
    if (id == kDone) {
        if (CMainWndBase* main = GetMainWnd()) main->CloseOverlay();
        return 1;
    }
    return CZVWindow::OnCommand(id);
}

// ---- drawing

void CDayView::Stamp(CZVDC* dc, ZVPoint p) const {
    dc->TransparentBlt(p.x - kPenSize / 2, p.y - kPenSize / 2, m_pen.get(), 0, 0, kPenSize, kPenSize, 0);
}

void CDayView::DrawSegment(CZVDC* dc, ZVPoint a, ZVPoint b) const {
    const int dx = b.x - a.x;
    const int dy = b.y - a.y;
    const int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps == 0) {
        Stamp(dc, a);
        return;
    }
    for (int i = 0; i <= steps; ++i) Stamp(dc, ZVPoint{a.x + dx * i / steps, a.y + dy * i / steps});
}

void CDayView::DrawStroke(CZVDC* dc, const CPLine& line) const {
    for (int i = 1; i < line.GetCount(); ++i) DrawSegment(dc, PointOf(line, i - 1), PointOf(line, i));
}

void CDayView::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    dc->PushClip(&m_area);
    for (int i = 0; i < m_strokes.GetCount(); ++i)
        if (const CPLine* line = m_strokes.GetAt(i)) DrawStroke(dc, *line);
    dc->PopClip();
    if (m_readOnly) {
        dc->SetFont(kNoticeFont, 0, 1);
        dc->SetColor(m_textColor);
        dc->DrawText(kNotLoaded, m_area, kNoticeFormat);
    }
}

// ---- touch

ZVPoint CDayView::Local(int x, int y) {
    ZVPoint p;
    ToLocal(&p, x, y);
    return p;
}

int CDayView::InArea(ZVPoint p) const {
    return p.x >= m_area.x && p.y >= m_area.y && p.x < m_area.x + m_area.w && p.y < m_area.y + m_area.h;
}

void CDayView::StartStroke(ZVPoint p) {
    CPLine* line = m_strokes.AddNew();
    if (!line) return;
    m_drawing = 1;
    m_modified = 1;
    const ZVPoint stored = ToStored(p.x, p.y);
    line->AddPoint(static_cast<int16_t>(stored.x), static_cast<int16_t>(stored.y));
    CZVDC dc(this);
    Stamp(&dc, FromStored(stored.x, stored.y));
}

void CDayView::AddPoint(ZVPoint p) {
    CPLine* line = m_strokes.GetCount() ? m_strokes.GetAt(m_strokes.GetCount() - 1) : nullptr;
    if (!line || line->GetCount() == 0) {
        ReportAssert("dayview", __LINE__, 1);
        return;
    }
    const ZVPoint stored = ToStored(p.x, p.y);
    const int last = line->GetCount() - 1;
    const ZVPoint from = PointOf(*line, last);
    if (!line->AddPoint(static_cast<int16_t>(stored.x), static_cast<int16_t>(stored.y))) return;
    CZVDC dc(this);
    DrawSegment(&dc, from, FromStored(stored.x, stored.y));
}

int CDayView::OnLButtonDown(int x, int y, int keys) {
    if (!HitTest(x, y)) {
        if (CMainWndBase* main = GetMainWnd()) main->CloseOverlay();
        return 1;
    }
    const ZVPoint p = Local(x, y);
    if (InArea(p)) {
        if (m_loaded) StartStroke(p);
        return 1;
    }
    CZVWindow::OnLButtonDown(x, y, keys);
    return 1;
}

int CDayView::OnMouseMove(int x, int y, int keys) {
    if (!m_shown || !m_loaded) return CZVWindow::OnMouseMove(x, y, keys);
    const ZVPoint p = Local(x, y);
    const bool held = (keys & platform::MK_LBUTTON) != 0;
    if (!held || !InArea(p)) {
        EndStroke();
        return CZVWindow::OnMouseMove(x, y, keys);
    }
    if (m_drawing)
        AddPoint(p);
    else
        StartStroke(p);
    return 1;
}

int CDayView::OnLButtonUp(int x, int y, int keys) {
    if (!m_drawing) return CZVWindow::OnLButtonUp(x, y, keys);
    const ZVPoint p = Local(x, y);
    if (InArea(p)) AddPoint(p);
    EndStroke();
    return 1;
}
