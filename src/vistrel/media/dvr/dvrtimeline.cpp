#include "vistrel/media/dvr/dvrtimeline.h"

#include <algorithm>
#include <cmath>

#include "core/messages/mediamessages.h"
#include "vistrel/media/dvr/dvrpage.h"
#include "widgets/style/setserver.h"
#include "widgets/timeline/timemath.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kTopMargin = 2;
constexpr int kRightMargin = 2;
// The marker's core, drawn at full strength across this many columns.
constexpr int kMarkerCore = 1;
constexpr int kBackgroundFlag = 0x40000;

// The time was read whole and names a real date.
bool IsValidTime(CZVTime time) { return time.Normalize() != 0; }

}  // namespace

CDvrTimeline::CDvrTimeline(CZVWindow* parent, CZVRect rect, CDvrPage* page)
    : CTimeView(parent, rect, nullptr, kGraphLeft, kRightMargin, kTopMargin), m_page(page) {
    SetBottomMargin(std::min(GetBottomMargin(), rect.h * 3 / 4));
    m_faceColor = CSetServer::CurrentStyleColor(6, 0);
    m_backColor = parent ? parent->GetFaceColor() : m_backColor;
    m_earliest = m_playPosition;
    m_earliest.AddDays(-1);
}

// ---- the clips

void CDvrTimeline::Reload() { RequestClips(XToTime(-m_width), XToTime(2 * m_width)); }

void CDvrTimeline::RequestClips(const CZVTime& from, const CZVTime& to) {
    m_requestedFrom = from;
    m_requestedTo = to;
    m_requestPending = 1;
    CZVServer* server = m_page->GetServer();
    if (!server) return;
    CZVMSG message(static_cast<uint16_t>(m_page->GetId()), ZVM_DVR_GETCLIPSQ);
    message.WriteInt(m_page->GetDvrSource());
    message.WriteInt(GetGraphWidth());
    message.WriteInt(GetTimeWindow()->GetSpanMinutes());
    message.WriteTime(from);
    message.WriteTime(to);
    server->Send(&message);
}

void CDvrTimeline::OnClips(CZVMSG& message) {
    m_requestPending = 0;
    CZVTime earliest, kept, mapStart;
    if (!message.ReadTime(earliest) || !message.ReadTime(kept) || !message.ReadTime(mapStart)) return;
    if (!IsValidTime(earliest) || !IsValidTime(mapStart)) return;
    m_earliest = earliest;
    m_kept = kept;
    m_mapStart = mapStart;
    m_cellSpan = std::max(GetTimeWindow()->GetSpanMinutes(), 1);
    m_clips.Read(message);
    SetLoading(0);
    CTimeWindow* window = GetTimeWindow();
    if (window->GetEnd() < GetMinTime(window->GetSpanMinutes())) {
        if (!GetZoomBar()) CreateZoomBar(0);
        GetZoomBar()->SetTimeWindow(GetMinTime(window->GetSpanMinutes()), window->GetKind(), window->GetCustomSpan(),
                                    IsShown());
    }
    if (IsShown() && !CMainWndBase::InputBlockedFor(this)) RepaintBuffered();
}

int CDvrTimeline::OnIdle(int busy) {
    if (!m_requestPending && (XToTime(0) < m_requestedFrom || XToTime(m_width) > m_requestedTo)) Reload();
    return CTimeView::OnIdle(busy);
}

CZVTime CDvrTimeline::GetMaxTime(int spanMinutes) const { return PlusMinutes(CZVTime(), spanMinutes / 2); }

CZVTime CDvrTimeline::GetMinTime(int spanMinutes) const {
    const CZVTime fromEarliest = PlusMinutes(m_earliest, spanMinutes / 2);
    const CZVTime latest = GetMaxTime(spanMinutes);
    return fromEarliest < latest ? fromEarliest : latest;
}

void CDvrTimeline::LoadTimeRange(const CZVTime&, const CZVTime&) {
    if (GetTimeWindow()->GetSpanMinutes() != m_cellSpan) Reload();
}

void CDvrTimeline::SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw) {
    CTimeView::SetTimeRange(start, end, redraw);
    m_page->SetSpeedRange(1);
    if (GetTimeWindow()->GetSpanMinutes() == m_cellSpan) {
        if (IsShown()) RepaintBuffered();
        return;
    }
    Reload();
    SetLoading(1);
}

int CDvrTimeline::HandleZoomIn() {
    GetTimeWindow()->ZoomIn(m_playPosition);
    return 1;
}

// ---- drawing

COLORREF CDvrTimeline::GetBackgroundColour() const {
    if (CSetServer::CurrentFlags() & kBackgroundFlag) return ScaleColor(0.8, CSetServer::CurrentStyleColor(6, 0));
    return m_backColor;
}

COLORREF CDvrTimeline::CellColour(int value) const {
    switch (value) {
    case 1: return ScaleColor(0.5, CSetServer::CurrentStyleColor(25, 0));
    case 2:
    case 3: return CSetServer::CurrentStyleColor(25, 0);
    case 5: return ScaleColor(0.5, CSetServer::CurrentStyleColor(27, 0));
    case 6:
    case 7: return CSetServer::CurrentStyleColor(27, 0);
    default: return GetBackgroundColour();
    }
}

void CDvrTimeline::DrawData(CZVDC* dc, int top, int bottom) { DrawClips(dc, top, bottom, 1); }

void CDvrTimeline::DrawClips(CZVDC* dc, int top, int bottom, int withMarker) {
    const int left = GetLeft(), right = m_width - GetRightMargin() - 1;
    const int rows = bottom - top - 1;
    if (rows <= 0 || right < left) return;
    const COLORREF background = GetBackgroundColour();
    dc->FillRect(background, left, top + 1, right - left + 1, rows, 0);
    const int startX = TimeToX(m_mapStart);
    const int span = GetTimeWindow()->GetSpanMinutes();
    int runStart = left;
    COLORREF runColour = background;
    for (int x = left; x <= right + 1; ++x) {
        COLORREF colour = background;
        if (x <= right) {
            const int64_t cell = static_cast<int64_t>(x - startX) * span / m_cellSpan;
            if (cell >= 0 && cell < m_clips.GetCellCount()) colour = CellColour(m_clips.Get(static_cast<int>(cell)));
        }
        if (colour == runColour && x <= right) continue;
        if (runColour != background) dc->FillRect(runColour, runStart, top + 1, x - runStart, rows, 0);
        runStart = x;
        runColour = colour;
    }
    if (withMarker) DrawMarker(dc, top, bottom);
}

// Opaque in the middle row, fading to clear at the top and bottom; across, a core of full
// strength at the play position and a glow that falls off steeply beside it.
CAlphaDibDC* CDvrTimeline::MarkerImage(COLORREF colour) {
    const int w = MarkerWidth(), h = MarkerHeight();
    if (w <= 0 || h <= 0) return nullptr;
    if (m_markerImage && m_markerColour == colour && m_markerImageWidth == w && m_markerImageHeight == h)
        return m_markerImage.get();
    m_markerImage = std::make_unique<CAlphaDibDC>(w, h, 0, 0);
    m_markerColour = colour;
    m_markerImageWidth = w;
    m_markerImageHeight = h;
    m_markerImage->FillRect(colour, 0, 0, w, h, 0);
    const double middle = (h - 1) / 2.0, half = w / 2.0;
    for (int y = 0; y < h; ++y) {
        const double row = 1.0 - std::abs(y - middle) / (middle + 1.0);
        for (int x = 0; x < w; ++x) {
            const double dx = std::abs(x + 0.5 - half);
            const double fall = std::max(0.0, 1.0 - dx / half);
            const double across = dx <= kMarkerCore ? 1.0 : fall * fall * fall * fall;
            *m_markerImage->GetAlphaAt(x, y) = static_cast<uint8_t>(255.0 * row * across + 0.5);
        }
    }
    return m_markerImage.get();
}

void CDvrTimeline::DrawMarker(CZVDC* dc, int top, int bottom) {
    const int x = MarkerX();
    const int left = GetLeft(), right = m_width - GetRightMargin() - 1;
    if (x < left || x > right) return;
    CAlphaDibDC* image = MarkerImage(m_markerKind == 2 || m_markerKind == 3 ? 0x0000C8 : 0x000000);
    if (!image) return;
    // Centred on the play position and in the band, cut to the graph.
    const int w = m_markerImageWidth, h = std::min(m_markerImageHeight, bottom - top - 1);
    const int y = top + 1 + (bottom - top - 1 - h) / 2;
    const int from = std::max(x - w / 2, left), to = std::min(x - w / 2 + w, right + 1);
    if (to <= from || h <= 0) return;
    image->AlphaBltTo(dc, from, y, from - (x - w / 2), (m_markerImageHeight - h) / 2, to - from, h);
}

void CDvrTimeline::SetPlayPosition(const CZVTime& time, int kind) {
    const int oldX = MarkerX();
    const int oldKind = m_markerKind;
    m_markerKind = kind;
    if (!m_dragging && IsValidTime(time)) {
        m_playPosition = time;
        const int x = MarkerX();
        const int nearEdge = x < GetLeft() + kEdgeFollow || x > m_width - GetRightMargin() - kEdgeFollow;
        if (nearEdge && GetZoomBar() && !IsZoomBarAnimating()) GetZoomBar()->StartDrag(time);
    }
    if ((MarkerX() != oldX || kind != oldKind) && IsShown() && IsPaintedOnce()) RepaintBuffered();
}

// ---- dragging the marker

int CDvrTimeline::OnLButtonDown(int x, int y, int keys) {
    ZVPoint p;
    ToLocal(&p, x, y);
    if (!IsInGraph(p.x, p.y)) return CTimeView::OnLButtonDown(x, y, keys);
    const int reach = m_height - GetBottomMargin() - 3;
    const int fromMarker = p.x - MarkerX();
    m_grabOffset = std::abs(fromMarker) < reach ? fromMarker : 0;
    m_dragging = 1;
    m_page->DoCommand(CDvrPage::kStopId, 1);
    return OnMouseMove(x, y, keys | 1);
}

int CDvrTimeline::OnMouseMove(int x, int y, int keys) {
    if (!m_dragging) return CTimeView::OnMouseMove(x, y, keys);
    if (!(keys & 1)) {
        m_dragging = 0;
        if (IsShown()) RepaintBuffered();
        return 1;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    m_playPosition = XToTime(p.x - m_grabOffset);
    if (IsShown()) RepaintBuffered();
    m_page->OnSeek(m_playPosition);
    return 1;
}

int CDvrTimeline::OnLButtonUp(int x, int y, int keys) {
    if (m_dragging) {
        m_dragging = 0;
        if (IsShown()) RepaintBuffered();
        return 1;
    }
    return CTimeView::OnLButtonUp(x, y, keys);
}
