#pragma once
// CRowHistoryView: a time line whose data are rows of bars, each headed by
// a label cell in the left margin (the security and irrigation histories).
// Rows that do not fit the graph are drawn into an image of their own, which
// a scroll bar at the right moves through.
#include <memory>

#include "widgets/timeline/timeview.h"

class CSocketSink;
class CZVScrollBar;

// The columns a stretch covers on a graph whose bars run from `left` to
// `right` (exclusive): none when the stretch does not end after it starts,
// or lies wholly left or right of the graph; else at least one column.
struct CStretchColumns {
    int x = 0;
    int width = 0;
};
bool StretchColumns(int x1, int x2, int left, int right, CStretchColumns* out);

class CRowHistoryView : public CTimeView {
public:
    static constexpr int kScrollBarWidth = 32;

    CRowHistoryView(CZVWindow* parent, CZVRect rect, CTimeWindow* window, int left);
    ~CRowHistoryView() override;

    // The rows in place, or the part of the scroll image the bar shows.
    void DrawData(CZVDC* dc, int top, int bottom) override;
    void OnPaint(CZVDC* dc) override;
    void OnScroll(CZVDC* dc, int position) override;

    CZVScrollBar* GetRowScrollBar() const { return m_scrollBar; }
    const CDibDC* GetScrollImage() const { return m_scrollImage.get(); }
    int GetScrollOffset() const { return m_scrollOffset; }

protected:
    // Every row, from top down to bottom.
    virtual void DrawRows(CZVDC* dc, int top, int bottom) = 0;
    // Asks the gateway for the history of `subject` over the loaded stretch:
    // {i32 subject, start time, end time}, answered to the asking sink (the view itself).
    void AskForLoadedStretch(CSocketSink& asker, uint16_t requestId, int32_t subject);

    int GraphHeight() const { return m_height - GetTop() - kBottomMargin; }
    // The column right of the last one bars may cover.
    int GraphRight() const { return m_width - GetRightMargin(); }
    // All rows in an image `rowsHeight` high (rounded up to four), which
    // a scroll bar moves through in steps of `step`.
    void ScrollRows(int rowsHeight, int step);
    // Back to rows drawn in place: no image, no bar.
    void StopScrolling();
    // The row's label: a cell of the margin filled, the name shortened to fit.
    void DrawLabelCell(CZVDC* dc, int top, int height, COLORREF fill, COLORREF text, const CZVString& name);
    // Bars over the row for each stretch that shows on the graph.
    void FillStretches(CZVDC* dc, const CTimeRanges& ranges, int top, int height, COLORREF colour);

private:
    void RenderScrollImage();
    void PutScrollImage(CZVDC* dc);
    void DrawGraphFrame(CZVDC* dc);

    std::unique_ptr<CDibDC> m_scrollImage;
    int m_scrollOffset = 0;
    CZVScrollBar* m_scrollBar = nullptr;
};
