#pragma once
// The stretch of time a history graph shows (CTimeWindow) and the bar under
// the graph that moves and zooms it (CZoomBar): two rows of date and time
// cells (CTimeAxis of CZoomButton cells) to drag, and the buttons back,
// zoom out, zoom in and forward.
#include <cstdint>
#include <vector>

#include "core/zvtime.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/zvwindow.h"

class CTimeView;

// The earliest and the latest end a window of a span may have.
class ITimeLimits {
public:
    virtual ~ITimeLimits() = default;
    virtual CZVTime GetMaxTime(int spanMinutes) const = 0;
    virtual CZVTime GetMinTime(int spanMinutes) const = 0;
};

class CTimeWindow {
public:
    enum Kind : int { kMonth = 0, kWeek, kDay, kSixHours, kHour, kMinute, kCustom };

    // A day ending now.
    CTimeWindow();
    CTimeWindow(int kind, const CZVTime& end, int customSpan);
    // A copy takes kind, end and span, never the zoom stacks.
    CTimeWindow(const CTimeWindow& other);
    CTimeWindow& operator=(const CTimeWindow& other);
    ~CTimeWindow() = default;

    // The span of the kind; a kind outside 0..6 is reported and spans 1.
    int GetSpanMinutes() const;
    // A custom kind without a positive span is reported and stored anyway.
    void Set(int kind, const CZVTime& end, int customSpan);
    int GetKind() const { return m_kind; }
    int GetCustomSpan() const { return m_customSpan; }
    CZVTime GetStart() const;
    CZVTime GetEnd() const { return m_end; }
    void CopyFrom(const CTimeWindow& other) { *this = other; }
    // The standard kind nearest to a custom span; other kinds are their own.
    int GetNearestKind() const;

    // One kind finer around the centre; never the one-minute kind.
    void ZoomIn(const CZVTime& centre);
    // Back to the window zoomed out of, else one kind finer around the centre.
    void ZoomInStep();
    // Back to the window zoomed in from, else one kind coarser around the
    // centre, ending no later than the limits allow.
    void ZoomOut(const ITimeLimits& limits);
    void PushZoomIn() { m_inStack.insert(m_inStack.begin(), CTimeWindow(*this)); }
    void PushZoomOut() { m_outStack.insert(m_outStack.begin(), CTimeWindow(*this)); }
    void ClearStacks();
    int GetZoomInDepth() const { return static_cast<int>(m_inStack.size()); }
    int GetZoomOutDepth() const { return static_cast<int>(m_outStack.size()); }

    static int SpanOfKind(int kind);

private:
    // One kind finer, the window kept centred on `centre`.
    void StepFiner(const CZVTime& centre);
    CZVTime Centre() const;

    int m_kind = kDay;
    CZVTime m_end;
    int m_customSpan = 0;
    std::vector<CTimeWindow> m_inStack;   // newest first
    std::vector<CTimeWindow> m_outStack;  // newest first
};

class CZoomBar;

// One cell of a time axis, or a row's caption: the window it stands for.
class CZoomButton : public CZV3DButton {
public:
    CZoomButton(CZVWindow* parent, CZoomBar* bar, CZVRect rect, CZVString text, const CZVTime& targetEnd, int kind,
                int span);
    void DrawFace(CZVDC* dc, int pressed, int reserved = 0) override;
    int OnCommand(int id) override;

    const CZVTime& GetTargetEnd() const { return m_targetEnd; }
    int GetKind() const { return m_kind; }
    int GetSpan() const { return m_span; }

private:
    CZVTime m_targetEnd;
    CZoomBar* m_bar;
    int m_kind;
    int m_span;
};

// One row of cells of one unit, walked back from the window's end.
class CTimeAxis : public CZVWindow {
public:
    CTimeAxis(CZoomBar* bar, CTimeView* view, CZVRect rect, int kind, const CTimeWindow& window);
    int GetKind() const { return m_kind; }
    // Hours (kind 4) or minutes (kind 5) per cell, so that a cell is at least
    // 50 pixels wide on an axis of `width`; 1 for the other kinds.
    static int CellUnits(int kind, int spanMinutes, int width);

private:
    void BuildCells(CZoomBar* bar, const CTimeWindow& window);
    // Adds the cell between the times; 0 when it lies wholly outside.
    int AddCell(CZoomBar* bar, const CZVTime& start, const CZVTime& end, CZVString text, int format, int kind, int span,
                const CZVTime& targetEnd);

    CTimeView* m_view;
    int m_kind;
};

class CZoomBar : public CZVWindow {
public:
    enum : int { kBackId = 1041, kForwardId = 1042, kZoomInId = 1043, kZoomOutId = 1044 };
    enum State : int { kIdle = 0, kDragging = 2, kCentring = 3, kScrolling = 4 };
    static constexpr uint32_t kScrollDuration = 250;  // ms
    static constexpr uint32_t kCentreDuration = 500;  // ms
    static constexpr int kDragThreshold = 9;          // pixels a finger moves before dragging

    CZoomBar(CTimeView* view, CZVRect rect, int graphLeft, CTimeWindow* window);
    ~CZoomBar() override;

    void SetTimeWindow(const CZVTime& end, int kind, int span, int redraw);
    void Refresh();
    void UpdateZoomButtons();
    void StartDrag(const CZVTime& centre);
    int IsDragging() const { return m_state == kCentring || m_state == kScrolling; }
    void DragTo(int offset);
    void BuildAxes();

    int OnLButtonDown(int x, int y, int keys) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnChildCommand(int id, int extra) override;
    int OnIdle(int busy) override;

    int GetState() const { return m_state; }
    CTimeAxis* GetAxis() const { return m_axis; }
    CTimeAxis* GetFineAxis() const { return m_fineAxis; }
    CZVWindow* GetZoomInButton() const { return m_zoomInButton; }
    CZVWindow* GetZoomOutButton() const { return m_zoomOutButton; }

    // The scroll animation's offset t ms into an animation of `duration`
    // that ends at `target` pixels.
    static int EasedOffset(int target, uint32_t t, uint32_t duration);

private:
    void BuildButtons();
    void Zoom(int in);
    void Scroll(int forward);
    // Puts the window's end where the animation was to take it and ends it.
    void EndMovement();
    void RemoveAxes();

    CTimeView* m_view;
    CTimeWindow* m_window;
    int m_moved = 0;
    CZVTime m_dragBaseEnd;
    int m_targetOffset = 0;
    int m_pressX = 0;
    int m_state = kIdle;
    int m_graphLeft;
    int m_offset = 0;
    uint32_t m_animationStart = 0;
    int64_t m_scrollMinutes = 0;  // where the running animation takes the window's end
    CTimeAxis* m_axis = nullptr;
    CTimeAxis* m_fineAxis = nullptr;
    CZoomButton* m_caption0 = nullptr;
    CZoomButton* m_caption1 = nullptr;
    CZVWindow* m_zoomInButton = nullptr;
    CZVWindow* m_zoomOutButton = nullptr;
};
