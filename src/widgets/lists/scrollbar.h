#pragma once
// CZVScrollBar: the toolkit's vertical scroll bar. An arrow button at each
// end, a track and a thumb drawn from rendered bevelled faces; pressing the
// track pages, the thumb can be dragged. It belongs to a target window,
// which it tells of every new position (OnScroll) and of the start and end
// of scrolling (OnScrollFade), and it lives in the target's parent's list.
#include <cstdint>
#include <memory>

#include "widgets/window/zvwindow.h"

class CSetServer;
class CZV3DButton;

// Command ids of the arrows; the bar consumes them.
inline constexpr int kScrollUpId = 1000;
inline constexpr int kScrollDownId = 1001;
// Sent by a released arrow, thumb or track; the bar takes it.
inline constexpr int kScrollReleaseId = 1002;

class CZVScrollBar : public CZVWindow {
public:
    CZVScrollBar(CZVWindow* parent, CZVWindow* target, CZVRect rect);
    ~CZVScrollBar() override;

    // ---- window operations
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    int OnChildCommand(int id, int count) override;
    void OnTimer() override;

    // ---- added by the scroll bar
    // Moves the thumb without telling the target.
    virtual void SetPosition(int pos, int redraw);
    // Moves the thumb and tells the target.
    virtual void ScrollTo(int pos);

    // The visible length and the content length, in the target's pixels.
    void SetRange(int page, int total);
    int GetPosition() const { return m_position; }
    int GetPageLength() const { return m_page; }
    int GetTotal() const { return m_total; }
    void SetStep(int step) { m_step = step; }
    int GetStep() const { return m_step; }
    int GetArrowSize() const;
    int GetThumbTop() const { return m_thumbTop; }
    int GetThumbBottom() const { return m_thumbBottom; }
    int GetTrackLength() const { return m_trackLength; }
    int GetDragMode() const { return m_dragMode; }
    CZV3DButton* GetUpArrow() const { return m_upArrow; }
    CZV3DButton* GetDownArrow() const { return m_downArrow; }
    COLORREF GetBarColor() const { return m_barColor; }
    COLORREF GetTrackColor() const { return m_trackColor; }
    void Layout();
    void Draw(CZVDC* dc);
    void StyleArrowButton(CZV3DButton* button, int id);
    void StepPage();
    void StartPaging();
    // Local y between the up arrow and the thumb, or between the thumb and
    // the down arrow.
    int InUpperTrack(int x, int y) const;
    int InLowerTrack(int x, int y) const;

protected:
    enum DragMode { kNone = 0, kPageUp = 1, kPageDown = 2, kThumb = 3 };

    // Within 0..total - page.
    int Clamp(int pos) const;

    CZVWindow* m_target;
    int m_total = 1;
    int m_page = 1;
    int m_position = 0;
    int m_dragStartPosition = 0;
    int m_step = 1;
    int m_thumbTop = 0;
    int m_thumbBottom = 0;
    int m_trackLength = 1;
    COLORREF m_barColor;
    COLORREF m_trackColor;
    int m_pressY = 0;
    int m_lastDragY = 0;
    int m_dragMode = kNone;
    uint32_t m_pressTick;
    std::unique_ptr<CZV3DButton> m_trackButton;
    std::unique_ptr<CZV3DButton> m_thumbButton;
    CZV3DButton* m_upArrow = nullptr;
    CZV3DButton* m_downArrow = nullptr;

private:
    // Track and thumb faces for the current range, made on first use.
    void EnsureFaces();
    // The thumb's place for the position, once the thumb exists.
    void PlaceThumb();
    // An arrow at `rect`: the one already there moved, or a new one.
    CZV3DButton* PlaceArrow(CZV3DButton* arrow, CZVRect rect, const char* icon, int id);
};

// Clears the style's gloss bits for the life of the object: faces rendered
// meanwhile are plain.
class CPlainGloss {
public:
    CPlainGloss();
    ~CPlainGloss();
    CPlainGloss(const CPlainGloss&) = delete;
    CPlainGloss& operator=(const CPlainGloss&) = delete;

private:
    CSetServer* m_style;
    int m_flags;
};

// The factory behind CZVWindow::CreateScrollBar.
CZVWindow* MakeScrollBar(CZVWindow* parent, CZVWindow* target, CZVRect rect);
