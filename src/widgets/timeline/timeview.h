#pragma once
// CTimeView: the scrolling, zoomable time line under every history graph.
// Time runs left to right across a graph framed by four margins, over day
// bands and grid lines; the zoom bar fills the bottom margin. A subclass
// loads its data for the window shown (SetTimeRange, LoadTimeRange) and
// draws it with the operations here; until it has data the graph shows
// "Working...". A subclass that asks the gateway for its data keeps the
// stretch last asked for here (the loaded range) and replaces Request. A
// finger dragged across the graph marks a stretch to zoom into, drawn from
// two kept pictures of the graph, plain and highlighted.
#include <memory>
#include <vector>

#include "widgets/timeline/timemath.h"
#include "widgets/timeline/timezoom.h"
#include "widgets/window/zvwindow.h"

class CDibDC;

class CTimeView : public CZVWindow, public ITimeLimits {
public:
    static constexpr int kBottomMargin = 100;  // the zoom bar's height
    static constexpr int kMaxSeries = 20;
    static constexpr int kLabelWidth = 75;
    static constexpr int kLabelHeight = 20;
    static constexpr int kMinSelection = 5;  // pixels, and minutes
    static constexpr uint32_t kZoomDuration = 500;

    // With a null window the view makes a day window ending now of its own.
    CTimeView(CZVWindow* parent, CZVRect rect, CTimeWindow* window, int left, int right, int top);
    ~CTimeView() override;

    // ---- for subclasses
    virtual int GetGraphLeft() { return m_left; }
    virtual void LoadTimeRange(const CZVTime&, const CZVTime&) {}
    virtual void SetTimeRange(const CZVTime& start, const CZVTime& end, int redraw);
    virtual int HandleZoomIn() { return 0; }
    virtual void ScrollGraph(int offset, int previousOffset, CZVDC* dc);
    virtual void RedrawGraph();
    virtual void CaptureGraph(CZVDC* dc);
    virtual COLORREF GetSeriesTint(int index, COLORREF base);
    virtual void OnDrawTimeBand(CZVDC*, COLORREF, int, int, int, int) {}
    CZVTime GetMaxTime(int spanMinutes) const override;
    CZVTime GetMinTime(int spanMinutes) const override;
    virtual void DrawUnderlay(CZVDC*, int, int) {}
    virtual void DrawValueAxis(CZVDC* dc, int top, int bottom);
    virtual CZVString FormatValue(int) { return CZVString(); }
    virtual void DrawData(CZVDC*, int, int) {}
    virtual void DrawFrame(CZVDC* dc);
    // Drawn during a drag, after the time labels, at column x of the stretch
    // (its right end when only that moved). Every rectangle the overlay
    // covers goes into `restore`: the next step of the drag puts the graph
    // back there before it draws again.
    virtual void DrawOverlay(CZVDC*, int /*x*/, int /*rightEdgeMoved*/, std::vector<CZVRect>* /*restore*/, int /*top*/,
                             int /*bottom*/) {}
    virtual int ValueToY(int value) { return value; }
    virtual void DrawZoomFrame(CZVDC* dc, const CTimeWindow& a, const CTimeWindow& b);
    // Background, day bands and (withLines) grid lines of the graph.
    virtual void DrawTimeGrid(CZVDC* dc, int top, int bottom, int withLines, COLORREF colour);

    // ---- window operations
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnCommand(int) override { return 1; }
    void OnResume() override;
    std::optional<CZVRect> GetOpaqueRect() override;

    // ---- mapping, state
    int TimeToX(const CZVTime& time);
    CZVTime XToTime(int x);
    CTimeScale GetScale();
    int GetGraphWidth() { return m_width - m_left - m_right - 1; }
    void SetLoading(int on);
    int IsLoading() const { return m_loading; }
    int AddSeries(COLORREF colour);
    int GetSeriesCount() const { return m_seriesCount; }
    int IsInGraph(int x, int y);
    int IsZoomBarAnimating() const;
    void CreateZoomBar(int redraw);
    void RepaintBuffered();
    void ZoomToRange(const CZVTime& start, const CZVTime& end);
    void AnimateWindowChange(const CTimeWindow& from, const CTimeWindow& to);
    CTimeWindow* GetTimeWindow() const { return m_window; }
    CZoomBar* GetZoomBar() const { return m_zoomBar; }
    int GetLeft() const { return m_left; }
    int GetTop() const { return m_top; }
    int GetRightMargin() const { return m_right; }
    int GetValueMin() const { return m_valueMin; }
    int GetValueMax() const { return m_valueMax; }
    void SetValueRange(int min, int max) {
        m_valueMin = min;
        m_valueMax = max;
    }
    // The stretch whose data was last asked for.
    const CZVTime& GetLoadedStart() const { return m_loadedStart; }
    const CZVTime& GetLoadedEnd() const { return m_loadedEnd; }
    int HoldsRange(const CZVTime& start, const CZVTime& end) const;

    static COLORREF GetStyleColour(int styleClass, int index);
    // The label font of the style; a size below 1 counts as 1.
    static int GetLabelFontSize();
    static int GetLargeFontSize() { return GetLabelFontSize() + 2; }
    // Lighter shade of the back colour for the day bands.
    COLORREF GetBandColour() { return ScaleColor(1.1, m_backColor); }
    COLORREF GetHighlightColour() { return MixColors(m_backColor, 0x640000, 0.5); }

    // ---- drawing for subclasses, in window coordinates
    void DrawSeries(CZVDC* dc, const CValuePoints& points, COLORREF colour, int thick, int fillMode, int fillTop,
                    int fillBottom, int yOffset);
    void DrawIntervals(CZVDC* dc, const CTimeRanges& ranges, int x, int y, int w, int h, int styleClass,
                       COLORREF colour);
    void DrawIntervalRow(CZVDC* dc, CZVRect rect, int styleClass, COLORREF colour, const CTimeRanges& ranges,
                         CZVString name);
    void AddLegendEntry(CZVRect rect, int styleClass, COLORREF colour, CZVString text);
    void FitLeftMargin(const std::vector<CZVString>& names, int withPercent);
    void DrawSunkenFrame(CZVDC* dc, int x1, int y1, int x2, int y2);
    void DrawWorkingBox(CZVDC* dc);

    // The share of the window that the ranges cover, in percent.
    int PercentOfWindow(const CTimeRanges& ranges);

protected:
    // The zoom bar's height; set before the first paint.
    void SetBottomMargin(int bottom) { m_bottom = bottom; }
    int GetBottomMargin() const { return m_bottom; }
    // Marks the view as waiting for data without showing "Working...".
    void SetLoadingFlag(int on) { m_loading = on; }
    // A margin taken by a child of the subclass (a scroll bar); the kept
    // pictures of the graph follow at the next capture.
    void SetRightMargin(int right) { m_right = right; }
    // The graph on screen has changed: the next stretch marked captures it again.
    void MarkHighlightStale() { m_highlightStale = 1; }

    // ---- the loaded range, for a subclass that asks the gateway for its data
    // Asks for the data of the loaded range.
    virtual void Request() {}
    // Takes the stretch as the loaded range and asks for it.
    void AskForRange(const CZVTime& start, const CZVTime& end);
    // LoadTimeRange's step: asks for a stretch outside the loaded range; 1 when it did.
    int LoadRange(const CZVTime& start, const CZVTime& end);
    // SetTimeRange's step: a stretch inside the loaded range is drawn again
    // from the data held (with "Working..." over it while an answer is still
    // owed and redraw is asked); any other is asked for and the view waits
    // for it, showing "Working..." when redraw is asked.
    void ShowRange(const CZVTime& start, const CZVTime& end, int redraw);

private:
    int GraphHeight() const { return m_height - m_top - m_bottom; }
    void MakeImages();
    void DrawSelection(CZVDC* dc);
    // Columns [from, to) of the graph, relative to its left edge, from the image.
    void PutStrip(CZVDC* dc, CDibDC* image, int from, int to);
    void RestoreSelectionStrips(CZVDC* dc);
    // Puts the graph back under what the overlay drew: the marked stretch lit, the rest plain.
    void RestoreOverlay(CZVDC* dc);

    CTimeWindow* m_window;
    std::unique_ptr<CTimeWindow> m_ownWindow;
    CZoomBar* m_zoomBar = nullptr;
    int m_loading = 0;
    int m_selecting = 0;
    int m_selStart = 0;
    int m_selEnd = 0;
    int m_left;
    int m_top;
    int m_right;
    int m_bottom = kBottomMargin;
    int m_firstPaint = 1;
    int m_dataArrived = 0;  // a subclass has reported data
    std::unique_ptr<CDibDC> m_graphImage;
    std::unique_ptr<CDibDC> m_highlightImage;
    int m_highlightStale = 1;
    std::unique_ptr<CDibDC> m_startLabelSave;
    std::unique_ptr<CDibDC> m_endLabelSave;
    CZVRect m_startLabelRect;
    CZVRect m_endLabelRect;
    std::vector<CZVRect> m_restoreList;
    int m_shownStart = 0;
    int m_shownEnd = 0;
    int m_seriesCount = 0;
    COLORREF m_seriesColours[kMaxSeries] = {};
    int m_valueMin = 0;
    int m_valueMax = 100;
    CZVTime m_loadedStart;
    CZVTime m_loadedEnd;
};
