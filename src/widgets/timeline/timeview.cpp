#include "widgets/timeline/timeview.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/dibdc.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/report.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "timeview";
constexpr int kFarLeft = -1500;  // columns a segment is clamped to, so that nothing overflows
constexpr int kFarRight = 2300;
constexpr COLORREF kWorkingGrey = 0x646464;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kWorkingFont = 28;
constexpr int kFormatCentred = 18;
constexpr int kFormatLeft = 17;
constexpr uint32_t kFramePace = 20;  // ms between the frames of a zoom animation
constexpr int kLegendBar = 6;

// Columns [from, to) of a surface recoloured: each `from` colour to its tint.
void Recolour(CZVDC* dc, int x1, int x2, int y1, int y2, const COLORREF (&pairs)[4]) {
    platform::Surface16* surface = dc->GetHDC();
    if (!surface || !surface->pixels) return;
    int ox = 0, oy = 0;
    dc->GetOrigin(&ox, &oy);
    const int left = std::max(x1 + ox, 0), right = std::min(x2 + ox, surface->width);
    const int top = std::max(std::min(y1, y2) + oy, 0), bottom = std::min(std::max(y1, y2) + oy + 1, surface->height);
    const uint16_t from0 = ToRgb565(pairs[0]), to0 = ToRgb565(pairs[1]);
    const uint16_t from1 = ToRgb565(pairs[2]), to1 = ToRgb565(pairs[3]);
    for (int row = top; row < bottom; ++row) {
        uint16_t* p = surface->pixels + static_cast<ptrdiff_t>(row) * surface->stride;
        for (int col = left; col < right; ++col) {
            if (p[col] == from0)
                p[col] = to0;
            else if (p[col] == from1)
                p[col] = to1;
        }
    }
}

}  // namespace

CTimeView::CTimeView(CZVWindow* parent, CZVRect rect, CTimeWindow* window, int left, int right, int top)
    : CZVWindow(parent, rect, 0), m_window(window), m_left(left), m_top(top), m_right(right) {
    m_opaque = 0;
    const COLORREF face = parent ? parent->GetFaceColor() : m_faceColor;
    m_faceColor = face;
    m_backColor = face;
    if (!m_window) {
        m_ownWindow = std::make_unique<CTimeWindow>();
        m_window = m_ownWindow.get();
    }
}

CTimeView::~CTimeView() = default;

// ---- mapping and state

CTimeScale CTimeView::GetScale() {
    return CTimeScale{m_window->GetEnd(), m_window->GetSpanMinutes(), GetGraphWidth(), m_width - m_right - 1};
}

int CTimeView::TimeToX(const CZVTime& time) { return ::TimeToX(GetScale(), time); }

CZVTime CTimeView::XToTime(int x) { return ::XToTime(GetScale(), x); }

void CTimeView::SetLoading(int on) {
    if (!on) m_dataArrived = 1;
    if (m_loading == on) return;
    m_loading = on;
    if (on && IsShown()) {
        CZVDC dc(this);
        DrawWorkingBox(&dc);
    }
}

int CTimeView::AddSeries(COLORREF colour) {
    for (int i = 0; i < m_seriesCount; ++i)
        if (m_seriesColours[i] == colour) return i;
    if (m_seriesCount >= kMaxSeries) return kMaxSeries;
    m_seriesColours[m_seriesCount] = colour;
    return m_seriesCount++;
}

COLORREF CTimeView::GetSeriesTint(int index, COLORREF base) {
    if (index < 0 || index >= m_seriesCount) return m_faceColor;
    return MixColors(base, m_seriesColours[index], 0.1);
}

int CTimeView::IsInGraph(int x, int y) {
    return x >= m_left && x <= m_width - m_right - 1 && y >= m_top && y <= m_height - m_bottom - 1;
}

int CTimeView::IsZoomBarAnimating() const { return m_zoomBar && m_zoomBar->IsDragging(); }

CZVTime CTimeView::GetMaxTime(int) const { return CZVTime(); }

CZVTime CTimeView::GetMinTime(int) const { return PlusMinutes(CZVTime(), -2000LL * 1440); }

std::optional<CZVRect> CTimeView::GetOpaqueRect() {
    return CZVRect(m_left, m_top, m_width - m_left - m_right, m_height - m_top - m_bottom - 1);
}

COLORREF CTimeView::GetStyleColour(int styleClass, int index) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, index) : 0;
}

int CTimeView::GetLabelFontSize() { return std::max(CSetServer::CurrentStyle(25, 7), 1); }

void CTimeView::SetTimeRange(const CZVTime&, const CZVTime&, int) {
    m_shownStart = 0;
    m_shownEnd = 0;
}

// ---- the loaded range

int CTimeView::HoldsRange(const CZVTime& start, const CZVTime& end) const {
    return start >= m_loadedStart && end <= m_loadedEnd;
}

void CTimeView::AskForRange(const CZVTime& start, const CZVTime& end) {
    m_loadedStart = start;
    m_loadedEnd = end;
    Request();
}

int CTimeView::LoadRange(const CZVTime& start, const CZVTime& end) {
    if (HoldsRange(start, end)) return 0;
    AskForRange(start, end);
    return 1;
}

void CTimeView::ShowRange(const CZVTime& start, const CZVTime& end, int redraw) {
    CTimeView::SetTimeRange(start, end, redraw);
    if (HoldsRange(start, end)) {
        if (!IsShown()) return;
        RepaintBuffered();
        CZVDC dc(this);
        CaptureGraph(&dc);
        if (IsLoading() && redraw) DrawWorkingBox(&dc);
        return;
    }
    AskForRange(start, end);
    if (redraw) SetLoading(1);
    SetLoadingFlag(1);
}

// ---- zoom bar

void CTimeView::CreateZoomBar(int redraw) {
    if (m_zoomBar) {
        if (redraw) EraseChildArea(m_zoomBar);
        RemoveChild(m_zoomBar);
        delete m_zoomBar;
    }
    m_zoomBar = new CZoomBar(
        this, CZVRect(0, m_height - m_bottom, m_width - m_right + (GetScrollBar() ? m_scrollBarWidth : 0), m_bottom),
        GetGraphLeft(), m_window);
    AddChild(m_zoomBar);
    if (redraw) m_zoomBar->Redraw(1);
}

// ---- painting

void CTimeView::MakeImages() {
    const int w = m_width - m_left - m_right, h = GraphHeight();
    if (w > 0 && h > 0) {
        m_graphImage = std::make_unique<CDibDC>(w, h, 0, 0, 1);
        m_highlightImage = std::make_unique<CDibDC>(w, h, 0, 0, 1);
    } else {
        m_graphImage.reset();
        m_highlightImage.reset();
    }
    m_startLabelSave = std::make_unique<CDibDC>(kLabelWidth, kLabelHeight, 0, 0, 1);
    m_endLabelSave = std::make_unique<CDibDC>(kLabelWidth, kLabelHeight, 0, 0, 1);
}

void CTimeView::OnPaint(CZVDC* dc) {
    if (!m_zoomBar) CreateZoomBar(0);
    if (m_firstPaint) MakeImages();
    const int bottom = m_height - m_bottom - 1;
    DrawTimeGrid(dc, m_top, bottom, 1, m_backColor);
    // A graph without width maps no time: there is nothing to draw data on.
    if (GetGraphWidth() >= 1) {
        DrawUnderlay(dc, m_top, bottom);
        DrawData(dc, m_top, bottom);
    }
    if (m_firstPaint) {
        // Data that came before the first paint is shown, not waited for.
        if (!m_dataArrived) {
            DrawWorkingBox(dc);
            m_loading = 1;
        }
        m_firstPaint = 0;
    }
    CZVWindow::OnPaint(dc);
}

void CTimeView::DrawTimeGrid(CZVDC* dc, int top, int bottom, int withLines, COLORREF colour) {
    const int right = m_width - m_right - 1;
    dc->FillRect(colour, m_left, top, m_width - m_left - m_right, bottom - top, 0);
    OnDrawTimeBand(dc, colour, m_left, right, top, bottom);
    if (!withLines) return;
    const COLORREF band = ScaleColor(1.1, colour);
    const int span = m_window->GetSpanMinutes();
    for (const CTimeRange& range : DayBands(m_window->GetEnd(), span)) {
        const int x1 = std::max(TimeToX(range.start), m_left);
        const int x2 = std::min(TimeToX(range.end), m_width - m_right);
        if (x2 < x1) continue;
        dc->FillRect(band, x1, top, x2 - x1, bottom - top, 0);
        OnDrawTimeBand(dc, band, x1, x2, top, bottom);
    }
    const COLORREF line = ScaleColor(0.8, m_backColor);
    for (const CZVTime& time : GridLines(m_window->GetEnd(), span)) {
        const int x = TimeToX(time);
        if (x > m_left && x <= right) dc->FillRect(line, x, top, 1, bottom - top, 0);
    }
}

void CTimeView::DrawValueAxis(CZVDC* dc, int top, int bottom) {
    const int font = GetLabelFontSize();
    const int half = 5 * font / 8;
    const int step = ValueAxisStep(m_valueMin, m_valueMax, bottom - top, font);
    const COLORREF line = ScaleColor(0.8, m_backColor);
    dc->SetFont(font, 0, 0);
    for (int value = m_valueMin; value <= m_valueMax; value += step) {
        const int y = ValueToY(value);
        if (y - half < top || y + half > bottom) continue;
        dc->SetColor(GetStyleColour(25, 1));
        dc->DrawText(FormatValue(value), CZVRect(0, y - 10, m_left + 1, 21), kFormatCentred);
        dc->FillRect(line, m_left, y, m_width - m_right - m_left, 1, 0);
    }
}

void CTimeView::DrawFrame(CZVDC* dc) {
    const int right = m_width - m_right - 1, bottom = m_height - m_bottom - 2;
    const COLORREF dark = ScaleColor(0.75, m_faceColor), light = ScaleColor(1.25, m_faceColor);
    dc->FillRect(dark, m_left, m_top, right - m_left + 1, 1, 0);
    dc->FillRect(dark, m_left, m_top, 1, bottom - m_top + 1, 0);
    dc->FillRect(light, m_left, bottom, right - m_left + 1, 1, 0);
    dc->FillRect(light, right, m_top, 1, bottom - m_top + 1, 0);
}

void CTimeView::DrawSunkenFrame(CZVDC* dc, int x1, int y1, int x2, int y2) {
    const COLORREF dark = ScaleColor(0.75, m_faceColor), light = ScaleColor(1.25, m_faceColor);
    dc->FillRect(dark, x1, y1, x2 - x1 + 1, 1, 0);
    dc->FillRect(dark, x1, y1, 1, y2 - y1 + 1, 0);
    dc->FillRect(light, x1, y2, x2 - x1 + 1, 1, 0);
    dc->FillRect(light, x2, y1, 1, y2 - y1 + 1, 0);
}

void CTimeView::DrawWorkingBox(CZVDC* dc) {
    const int c = m_width - m_left - m_right + 1;
    const int gh = GraphHeight();
    const int w = std::min(std::max(c / 2, 100), c - 4);
    const int h = std::min(std::max((gh + 1) / 4, 60), gh - 3);
    if (w < 1 || h < 1) return;
    const int x = m_left + c / 2 - w / 2, y = m_top + (gh + 1) / 2 - h / 2;
    CDibDC under(w, h, 0, 0, 1);
    dc->CaptureRectTo(&under, x, y, 0, 0, w, h);
    CDibDC grey(w, h, 0, 0, 1);
    grey.FillRect(kWorkingGrey, 0, 0, w, h, 0);
    CSpanList shape;
    shape.AddRoundRect(w, h, 0, 8, 4);
    under.BlendSpans(&grey, 0, 0, &shape, 5);
    dc->BitBlt(x, y, &under, 0, 0, w, h);
    dc->SetFont(kWorkingFont, 0, 0);
    dc->SetColor(kWhite);
    dc->DrawText("Working...", CZVRect(x, y, w, h), kFormatCentred);
}

void CTimeView::RepaintBuffered() {
    if (!IsShown() || m_width < 1 || m_height < 1) return;
    const int gh = GraphHeight();
    if (gh < 1) return;
    CDibDC image(m_width, m_height, 0, 0, 1);
    image.FillRect(m_faceColor, m_left, m_top, m_width - m_left, gh, 0);
    DrawBackgroundRect(&image, 0, m_top, m_left, gh, nullptr);
    OnPaint(&image);
    CZVDC dc(this);
    dc.BitBlt(0, m_top, &image, 0, m_top, m_width, gh);
}

void CTimeView::RedrawGraph() {
    if (!IsShown()) return;
    CZVDC dc(this);
    if (m_loading) {
        DrawWorkingBox(&dc);
        return;
    }
    RepaintBuffered();
    CaptureGraph(&dc);
}

void CTimeView::CaptureGraph(CZVDC* dc) {
    if (!m_graphImage) return;
    // Margins fitted since the first paint change the graph's size.
    if (m_graphImage->GetRequestedWidth() != m_width - m_left - m_right || m_graphImage->GetHeight() != GraphHeight())
        MakeImages();
    if (!m_graphImage) return;
    const int w = m_graphImage->GetRequestedWidth(), h = m_graphImage->GetHeight();
    dc->CaptureRectTo(m_graphImage.get(), m_left, m_top, 0, 0, w, h);
    m_highlightImage->BitBlt(0, 0, m_graphImage.get(), 0, 0, w, h);
    const uint16_t highlight = ToRgb565(GetHighlightColour());
    const COLORREF back = m_backColor, band = GetBandColour();
    for (COLORREF colour : {back, band}) m_highlightImage->ReplaceColor(ToRgb565(colour), highlight);
    for (int i = 0; i < m_seriesCount; ++i)
        for (COLORREF colour : {back, band})
            m_highlightImage->ReplaceColor(ToRgb565(GetSeriesTint(i, colour)), highlight);
    m_highlightStale = 0;
}

// ---- drawing for subclasses

void CTimeView::DrawSeries(CZVDC* dc, const CValuePoints& points, COLORREF colour, int thick, int fillMode, int fillTop,
                           int fillBottom, int yOffset) {
    if (points.empty()) return;
    const COLORREF tints[4] = {m_backColor, MixColors(m_backColor, colour, 0.1), GetBandColour(),
                               MixColors(GetBandColour(), colour, 0.1)};
    const CZVTime start = m_window->GetStart(), end = m_window->GetEnd();
    const int right = m_width - m_right - 1;
    int x0 = std::min(TimeToX(points[0].time), right);
    int y0 = ValueToY(points[0].value) + yOffset;
    int lastFill = -1;
    for (size_t i = 1; i < points.size(); ++i) {
        const CValuePoint& point = points[i];
        int x = std::min(TimeToX(point.time), kFarRight);
        const int y = ValueToY(point.value) + yOffset;
        x0 = std::max(x0, kFarLeft);
        if (point.time >= start && points[i - 1].time <= end) {
            const bool pinned = y0 == y && (point.value == m_valueMin || point.value == m_valueMax);
            if (!pinned) {
                dc->Line(colour, x0, y0, x, y);
                if (thick) {
                    if (std::abs(x - x0) > std::abs(y - y0))
                        dc->Line(colour, x0, y0 + 1, x, y + 1);
                    else
                        dc->Line(colour, x0 + 1, y0, x + 1, y);
                }
            }
            if (fillMode != 2 && std::max(lastFill + 1, x0) < x) {
                const int a = std::max(m_left, x0), b = std::min(right, x);
                if (fillMode == 0)
                    Recolour(dc, a, b, fillTop, y0, tints);
                else
                    Recolour(dc, a, b, y0, fillBottom, tints);
                lastFill = b;
            }
        }
        x0 = x;
        y0 = y;
    }
}

void CTimeView::DrawIntervals(CZVDC* dc, const CTimeRanges& ranges, int x, int y, int w, int h, int styleClass,
                              COLORREF colour) {
    if (styleClass) colour = GetStyleColour(styleClass, 0);
    int previous = 0;
    for (const CTimeRange& range : ranges) {
        // Ranges far outside are cut at the row's ends, so that no width overflows.
        const int x1 = std::clamp(TimeToX(range.start), x - 1, x + w + 1);
        const int x2 = std::clamp(TimeToX(range.end), x - 1, x + w + 1);
        if (x2 > previous) dc->FillRect(colour, x1, y, std::max(1, x2 - x1), h, 0);
        previous = x2;
    }
}

int CTimeView::PercentOfWindow(const CTimeRanges& ranges) {
    return SumOverlapMinutes(ranges, m_window->GetStart(), m_window->GetEnd()) * 100 /
           std::max(m_window->GetSpanMinutes(), 1);
}

void CTimeView::DrawIntervalRow(CZVDC* dc, CZVRect rect, int styleClass, COLORREF colour, const CTimeRanges& ranges,
                                CZVString name) {
    COLORREF text = GetStyleColour(25, 1);
    if (styleClass) {
        colour = GetStyleColour(styleClass, 0);
        text = GetStyleColour(styleClass, 1);
    }
    const int percent = PercentOfWindow(ranges);
    dc->FillBevelBoxStd(MixColors(colour, m_faceColor, 0.8), m_faceColor, true, rect.x, rect.y, rect.x + rect.w - 2,
                        rect.y + rect.h - 2, 1);
    const CZVRect inner(rect.x + 2, rect.y + 2, rect.w - 4, rect.h - 4);
    dc->SetFont(GetLabelFontSize(), 0, 0);
    dc->SetColor(text);
    const int column = std::max(28, dc->GetTextSize("100%").cx + 2);
    CZVString shown;
    shown.Format("%d%%", percent);
    dc->DrawText(shown, CZVRect(inner.x + inner.w - column, inner.y, column, inner.h), kFormatLeft);
    dc->DrawText(dc->EllipsizeText(name, inner.w - column), CZVRect(inner.x, inner.y, inner.w - column, inner.h),
                 kFormatLeft);
    DrawSunkenFrame(dc, m_left + 1, rect.y, m_width - m_right - 1, rect.y + rect.h - 2);
}

void CTimeView::AddLegendEntry(CZVRect rect, int styleClass, COLORREF colour, CZVString text) {
    COLORREF textColour = GetStyleColour(25, 1);
    if (styleClass) {
        colour = GetStyleColour(styleClass, 0);
        textColour = GetStyleColour(styleClass, 1);
    }
    auto* bar = new CZVLabel(this, CZVRect(rect.x, rect.y + rect.h - kLegendBar, rect.w, kLegendBar), "", 0);
    bar->SetColors(colour, m_faceColor);
    bar->SetFlag(kLabelFramed, 1);
    bar->SetBevelType(1);
    AddChild(bar);
    auto* label = new CZVLabel(this, CZVRect(rect.x, rect.y, rect.w, rect.h - kLegendBar), text, 0);
    label->SetColors(MixColors(colour, m_faceColor, 0.8), m_faceColor);
    label->SetTextColor(textColour);
    label->SetFlag(kLabelFramed, 1);
    label->SetBevelType(1);
    label->SetFontSize(GetLabelFontSize());
    label->SetTextFormat(kFormatCentred);
    AddChild(label);
}

void CTimeView::FitLeftMargin(const std::vector<CZVString>& names, int withPercent) {
    CZVDC dc;
    dc.SetFont(GetLabelFontSize(), 0, 0);
    m_left = 10;
    for (CZVString text : names) {
        if (withPercent) text.Format("%s 100%%", CZVString(text).GetAnsi());
        m_left = std::max(m_left, dc.GetTextSize(text).cx + 4);
    }
}

// ---- zooming

void CTimeView::ZoomToRange(const CZVTime& start, const CZVTime& end) {
    const CTimeWindow from(*m_window);
    m_window->ClearStacks();
    m_window->PushZoomOut();
    m_window->Set(CTimeWindow::kCustom, end, static_cast<int>(MinutesBetween(start, end)));
    if (m_zoomBar) m_zoomBar->Refresh();
    AnimateWindowChange(from, CTimeWindow(*m_window));
    SetTimeRange(m_window->GetStart(), m_window->GetEnd(), 1);
}

void CTimeView::AnimateWindowChange(const CTimeWindow& from, const CTimeWindow& to) {
    const int fromSpan = from.GetSpanMinutes(), toSpan = to.GetSpanMinutes();
    const int64_t moved = MinutesBetween(from.GetEnd(), to.GetEnd());
    const int w = m_width - m_left - m_right, h = GraphHeight();
    if (IsShown() && w > 0 && h > 0) {
        CZVDC dc(this);
        CDibDC frame(m_width, m_height, 0, 0, 1);
        const uint32_t started = platform::GetTickCount();
        for (int64_t u = 0;;) {
            u = std::min<int64_t>(1000, platform::TicksSince(started) * 1000LL / kZoomDuration);
            m_window->Set(CTimeWindow::kCustom, PlusMinutes(from.GetEnd(), u * moved / 1000),
                          static_cast<int>(fromSpan + (toSpan - fromSpan) * u / 1000));
            DrawZoomFrame(&frame, from, to);
            dc.BitBlt(m_left, m_top, &frame, m_left, m_top, w, h);
            if (u >= 1000) break;
            platform::Sleep(kFramePace);
        }
    }
    m_window->Set(to.GetKind(), to.GetEnd(), to.GetCustomSpan());
}

void CTimeView::DrawZoomFrame(CZVDC* dc, const CTimeWindow& a, const CTimeWindow& b) {
    const int bottom = m_height - m_bottom - 1;
    DrawTimeGrid(dc, m_top, bottom, 1, m_backColor);
    const CTimeWindow& narrow = a.GetSpanMinutes() < b.GetSpanMinutes() ? a : b;
    const int x1 = std::max(TimeToX(narrow.GetStart()), kFarLeft);
    const int x2 = std::min(TimeToX(narrow.GetEnd()), kFarRight);
    dc->FrameRect(kHighlightColor, x1, m_top, x2 - x1 + 1, bottom - m_top + 1);
}

void CTimeView::OnResume() {
    CZVWindow::OnResume();
    const int kind = m_window->GetNearestKind();
    m_window->Set(kind, CZVTime(), m_window->GetCustomSpan());
    ZoomToRange(m_window->GetStart(), m_window->GetEnd());
}

// ---- scrolling

void CTimeView::ScrollGraph(int offset, int previousOffset, CZVDC* dc) {
    if (!m_graphImage) return;
    CMainWndBase* main = GetMainWnd();
    if (main) main->SetOffscreenPaint(1);
    const int w = m_graphImage->GetRequestedWidth(), h = m_graphImage->GetHeight();
    const int d = offset - previousOffset;
    if (std::abs(d) >= w) {
        ReportAssert(kSource, 503, 1);
        FillBackColor(dc, m_left, m_top, w, h);
    } else {
        dc->ScrollArea(m_left, m_top, w, h, d, 0);
        const int stripFrom = d < 0 ? w + d : 0;
        const int stripTo = d < 0 ? w : d;
        FillBackColor(dc, m_left + stripFrom, m_top, stripTo - stripFrom, h);
        // The image's columns that the strip shows at the new offset.
        const int from = std::max(stripFrom, offset), to = std::min(stripTo, w + offset);
        if (to > from) dc->BitBlt(m_left + from, m_top, m_graphImage.get(), from - offset, 0, to - from, h);
    }
    if (main) main->SetOffscreenPaint(0);
}

// ---- marking a stretch

int CTimeView::OnLButtonDown(int x, int y, int keys) {
    if (m_selecting) return 0;
    ZVPoint p;
    ToLocal(&p, x, y);
    if (!IsInGraph(p.x, p.y) || !m_graphImage) return CZVWindow::OnLButtonDown(x, y, keys);
    m_selecting = 1;
    m_selStart = m_selEnd = p.x - m_left;
    m_shownStart = m_shownEnd = 0;
    m_restoreList.clear();
    CZVDC dc(this);
    if (m_highlightStale) CaptureGraph(&dc);
    DrawSelection(&dc);
    return 1;
}

int CTimeView::OnMouseMove(int x, int y, int keys) {
    if (!m_selecting) return CZVWindow::OnMouseMove(x, y, keys);
    if (!(keys & platform::MK_LBUTTON)) {
        m_selecting = 0;
        Redraw(1);
        return 1;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.x < m_left || p.x > m_width - m_right) return 1;
    if (std::abs(p.x - m_left - m_selEnd) < 2) return 0;
    m_selEnd = p.x - m_left;
    CZVDC dc(this);
    DrawSelection(&dc);
    return 1;
}

int CTimeView::OnLButtonUp(int x, int y, int keys) {
    if (!m_selecting) return CZVWindow::OnLButtonUp(x, y, keys);
    m_selecting = 0;
    {
        CZVDC dc(this);
        RestoreSelectionStrips(&dc);
        if (m_graphImage) PutStrip(&dc, m_graphImage.get(), 0, m_graphImage->GetRequestedWidth());
    }
    const int a = std::min(m_selStart, m_selEnd), b = std::max(m_selStart, m_selEnd);
    if (b - a < kMinSelection) return 1;
    const CZVTime start = XToTime(a + m_left);
    CZVTime end = XToTime(b + m_left);
    if (MinutesBetween(start, end) < kMinSelection) end = PlusMinutes(start, kMinSelection);
    ZoomToRange(start, end);
    return CZVWindow::OnLButtonUp(x, y, keys);
}

void CTimeView::PutStrip(CZVDC* dc, CDibDC* image, int from, int to) {
    if (!image || to <= from) return;
    dc->BitBlt(m_left + from, m_top, image, from, 0, to - from, image->GetHeight());
}

void CTimeView::RestoreSelectionStrips(CZVDC* dc) {
    if (m_shownStart == 0 && m_shownEnd == 0) return;
    dc->BitBlt(m_startLabelRect.x, m_startLabelRect.y, m_startLabelSave.get(), 0, 0, kLabelWidth, kLabelHeight);
    dc->BitBlt(m_endLabelRect.x, m_endLabelRect.y, m_endLabelSave.get(), 0, 0, kLabelWidth, kLabelHeight);
    RestoreOverlay(dc);
}

void CTimeView::RestoreOverlay(CZVDC* dc) {
    const int a = std::min(m_selStart, m_selEnd), b = std::max(m_selStart, m_selEnd);
    const CZVRect graph(m_left, m_top, m_graphImage ? m_graphImage->GetRequestedWidth() : 0,
                        m_graphImage ? m_graphImage->GetHeight() : 0);
    for (const CZVRect& rect : m_restoreList) {
        // Graph columns, relative to its left edge, clipped to the graph.
        const int x1 = std::max(rect.x, graph.x) - m_left, x2 = std::min(rect.x + rect.w, graph.x + graph.w) - m_left;
        const int y1 = std::max(rect.y, graph.y), y2 = std::min(rect.y + rect.h, graph.y + graph.h);
        if (x2 <= x1 || y2 <= y1) continue;
        const auto put = [&](CDibDC* image, int from, int to) {
            if (image && to > from) dc->BitBlt(m_left + from, y1, image, from, y1 - m_top, to - from, y2 - y1);
        };
        put(m_graphImage.get(), x1, std::min(x2, a));
        put(m_highlightImage.get(), std::max(x1, a), std::min(x2, b));
        put(m_graphImage.get(), std::max(x1, b), x2);
    }
    m_restoreList.clear();
}

void CTimeView::DrawSelection(CZVDC* dc) {
    const int a = std::min(m_selStart, m_selEnd);
    int b = std::max(m_selStart, m_selEnd);
    if (b == a) b = a + 1;
    if (a == m_shownStart && b == m_shownEnd) return;
    CDibDC* plain = m_graphImage.get();
    CDibDC* lit = m_highlightImage.get();
    const int wasShown = m_shownStart != 0 || m_shownEnd != 0;
    RestoreSelectionStrips(dc);
    if (!wasShown) {
        PutStrip(dc, lit, a, b);
    } else if (a == m_shownStart) {
        if (b > m_shownEnd)
            PutStrip(dc, lit, m_shownEnd, b);
        else
            PutStrip(dc, plain, b, m_shownEnd);
    } else if (b == m_shownEnd) {
        if (a > m_shownStart)
            PutStrip(dc, plain, m_shownStart, a);
        else
            PutStrip(dc, lit, a, m_shownStart);
    } else {
        PutStrip(dc, plain, std::min(a, m_shownStart), std::max(b, m_shownEnd));
        PutStrip(dc, lit, a, b);
    }
    const int gw = GetGraphWidth();
    m_startLabelRect = CZVRect(m_left + (a - kLabelWidth < 0 ? a : a - kLabelWidth), m_top, kLabelWidth, kLabelHeight);
    m_endLabelRect = CZVRect(m_left + (b + kLabelWidth > gw ? b - kLabelWidth : b), m_top, kLabelWidth, kLabelHeight);
    if (m_endLabelRect.x < m_startLabelRect.x + kLabelWidth) m_endLabelRect.y += kLabelHeight;
    dc->CaptureRectTo(m_startLabelSave.get(), m_startLabelRect.x, m_startLabelRect.y, 0, 0, kLabelWidth, kLabelHeight);
    dc->CaptureRectTo(m_endLabelSave.get(), m_endLabelRect.x, m_endLabelRect.y, 0, 0, kLabelWidth, kLabelHeight);
    dc->SetFont(GetLabelFontSize(), 0, 0);
    dc->SetColor(GetStyleColour(25, 1));
    const std::pair<CZVRect, int> labels[] = {{m_startLabelRect, a}, {m_endLabelRect, b}};
    for (const auto& [rect, column] : labels) {
        dc->PushClip(&rect);
        dc->DrawText(XToTime(column + m_left).FormatTime().c_str(), rect, kFormatCentred);
        dc->PopClip();
    }
    const int rightOnly = a == m_shownStart && wasShown;
    DrawOverlay(dc, rightOnly ? b : a, rightOnly, &m_restoreList, m_top, m_height - m_bottom - 1);
    m_shownStart = a;
    m_shownEnd = b;
}
