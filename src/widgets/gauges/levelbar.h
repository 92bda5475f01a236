#pragma once
// CZVLevelBar: a value 0..100 shown as a filled, rounded bar with an
// optional caption (volume, dimmer, battery, progress). A touch sets a
// target: a tap animates the bar there itself, a hold keeps asking the
// parent to step the value up or down until it meets the target. It can
// also sweep a short band back and forth as a busy indicator. The track
// and the fill are bevelled buttons that are never in the tree; their
// face images are combined off screen.
#include <memory>

#include "widgets/buttons/zv3dbutton.h"

class CZVLevelBar : public CZVWindow {
public:
    static constexpr int kAnimationStep = 4;       // levels a tick
    static constexpr int kAnimationInterval = 25;  // ms
    static constexpr uint32_t kTapTime = 250;      // ms
    static constexpr int kSweepInterval = 10;      // ms
    static constexpr int kSweepBand = 30;          // percent

    CZVLevelBar(CZVWindow* parent, CZVRect rect, int lookFlags, int vertical);
    ~CZVLevelBar() override;

    void SetText(CZVString text, CZVDC* dc, int redraw) override;
    void RedrawBuffered() override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnTimer() override;

    virtual void SetFillColor(COLORREF colour);
    // Clamped to 0..100.
    virtual void SetLevel(int level, int redraw);
    virtual int GetLevel();

    void SetCommandIds(int up, int down, int set, int repeatInterval);
    // -1 stops the sweep; 3 moves the band forwards, any other value backwards.
    void SetSweep(int direction);
    void StyleKnob(CZV3DButton* part, COLORREF colour);
    // The bar filled from `from` to `to` percent.
    void Draw(CZVDC* dc, int from, int to);

    void SetClickCommand(int id) { m_clickCommand = id; }
    void SetSquare(int square) { m_square = square; }
    void SetSweepPhase(int phase) { m_sweepPhase = phase; }
    int GetSweepPhase() const { return m_sweepPhase; }
    void SetContrastCaption(int on) { m_contrastCaption = on; }
    void SetCaptionSizeLimit(int size) { m_captionSizeLimit = size; }
    int IsAnimating() const { return m_animating; }
    int IsTracking() const { return m_tracking; }
    int GetTarget() const { return m_target; }
    // The caption's colour over the bar's back colour.
    COLORREF CaptionColor() const;

protected:
    // Target from a touch at root x (y for a vertical bar), 0..100.
    int TouchLevel(int x, int y);
    int IsTextured();
    void SendToParent(int id, int count);

    int m_level = -1;
    int m_captionSizeLimit = 16;
    COLORREF m_fillColor;
    int m_lookFlags;
    std::unique_ptr<CZV3DButton> m_barTrack;
    std::unique_ptr<CZV3DButton> m_fill;
    int m_rising = 0;
    uint32_t m_timerTick;
    int m_clickCommand = -1;
    int m_upCommand = -1;
    int m_downCommand = -1;
    int m_setCommand = -1;
    int m_repeatInterval = 25;
    int m_target = 0;
    uint32_t m_pressTick;
    int m_tracking = 0;
    int m_animating = 0;
    int m_square = 0;
    int m_sweepDirection = -1;
    int m_sweepPhase = 0;
    int m_contrastCaption = 1;
    int m_captionChanged = 0;
    int m_vertical;

private:
    CZV3DButton* MakePart(COLORREF colour, int fill);
    // The fill image trimmed to from..to along the bar, rounded at the ends.
    void TrimFill(CDibDC* fill, int s, int e, int length);
};
