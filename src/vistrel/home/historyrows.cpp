#include "vistrel/home/historyrows.h"

#include <algorithm>

#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "widgets/lists/scrollbar.h"

namespace {

constexpr int kFormatLeft = 17;
constexpr int kLabelInset = 2;

}  // namespace

bool StretchColumns(int x1, int x2, int left, int right, CStretchColumns* out) {
    if (x1 >= right || x2 <= left || x2 < x1) return false;
    out->x = std::max(x1, left);
    out->width = std::max(1, std::min(x2, right) - out->x);
    return true;
}

CRowHistoryView::CRowHistoryView(CZVWindow* parent, CZVRect rect, CTimeWindow* window, int left)
    : CTimeView(parent, rect, window, left, 0, 0) {}

CRowHistoryView::~CRowHistoryView() = default;

// ---- scrolling rows

void CRowHistoryView::ScrollRows(int rowsHeight, int step) {
    const int graphHeight = GraphHeight();
    const int imageHeight = (rowsHeight + 3) / 4 * 4;
    if (!m_scrollBar) {
        SetRightMargin(kScrollBarWidth);
        CreateZoomBar(1);
        m_scrollBar =
            new CZVScrollBar(this, this, CZVRect(m_width - kScrollBarWidth, GetTop(), kScrollBarWidth, graphHeight));
        AddChild(m_scrollBar);
        m_scrollOffset = 0;
    }
    if (!m_scrollImage || m_scrollImage->GetHeight() != imageHeight)
        m_scrollImage = std::make_unique<CDibDC>(m_width - kScrollBarWidth, imageHeight, 0, 0, 1);
    m_scrollBar->SetStep(step);
    m_scrollBar->SetRange(graphHeight - 1, imageHeight);
    m_scrollOffset = std::max(m_scrollBar->GetPosition(), 0);
    if (IsShown()) m_scrollBar->Redraw(1);
}

void CRowHistoryView::StopScrolling() {
    m_scrollImage.reset();
    m_scrollOffset = 0;
    if (!m_scrollBar) return;
    RemoveChild(m_scrollBar);
    delete m_scrollBar;
    m_scrollBar = nullptr;
    SetRightMargin(0);
    CreateZoomBar(1);
}

void CRowHistoryView::RenderScrollImage() {
    CDibDC* image = m_scrollImage.get();
    const int height = image->GetHeight();
    image->FillRect(m_faceColor, 0, 0, image->GetRequestedWidth(), height, 0);
    DrawTimeGrid(image, 0, height, 1, m_backColor);
    DrawRows(image, 0, height);
}

void CRowHistoryView::PutScrollImage(CZVDC* dc) {
    dc->BitBlt(0, GetTop(), m_scrollImage.get(), 0, m_scrollOffset, m_width - GetRightMargin() - 1, GraphHeight() - 1);
}

void CRowHistoryView::OnScroll(CZVDC* dc, int position) {
    m_scrollOffset = position;
    if (!m_scrollImage) return;
    PutScrollImage(dc);
    DrawGraphFrame(dc);
    MarkHighlightStale();
}

// ---- drawing

void CRowHistoryView::OnPaint(CZVDC* dc) {
    CTimeView::OnPaint(dc);
    DrawGraphFrame(dc);
}

void CRowHistoryView::DrawGraphFrame(CZVDC* dc) {
    DrawSunkenFrame(dc, 0, GetTop(), m_width - GetRightMargin() - 1, m_height - kBottomMargin - 2);
}

void CRowHistoryView::DrawData(CZVDC* dc, int top, int bottom) {
    if (m_scrollImage) {
        RenderScrollImage();
        PutScrollImage(dc);
        return;
    }
    DrawRows(dc, top, bottom);
}

void CRowHistoryView::DrawLabelCell(CZVDC* dc, int top, int height, COLORREF fill, COLORREF text,
                                    const CZVString& name) {
    const int left = GetLeft();
    dc->FillRect(fill, 0, top, left + 1, height, 0);
    dc->SetFont(GetLabelFontSize(), 0, 0);
    dc->SetColor(text);
    dc->DrawText(dc->EllipsizeText(name, left - kLabelInset), CZVRect(kLabelInset, top, left - kLabelInset, height),
                 kFormatLeft);
}

void CRowHistoryView::FillStretches(CZVDC* dc, const CTimeRanges& ranges, int top, int height, COLORREF colour) {
    for (const CTimeRange& range : ranges) {
        CStretchColumns columns;
        if (range.start < range.end &&
            StretchColumns(TimeToX(range.start), TimeToX(range.end), GetLeft(), GraphRight(), &columns))
            dc->FillRect(colour, columns.x, top, columns.width, height, 0);
    }
}

void CRowHistoryView::AskForLoadedStretch(CSocketSink& asker, uint16_t requestId, int32_t subject) {
    CZVServer* server = asker.GetServer();
    if (!server) return;
    CZVMSG message(asker.GetId(), requestId);
    message.WriteInt(subject);
    message.WriteTime(GetLoadedStart());
    message.WriteTime(GetLoadedEnd());
    server->Send(&message);
}
