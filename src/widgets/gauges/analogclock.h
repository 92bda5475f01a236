#pragma once
// CAnalogClock: a round clock face with twelve marks and hour, minute and
// second hands (page factory type 181). The face is rendered once; the
// hands are drawn by the idle walk off screen, in the style's highlight
// colour, and shown with one blit whenever the second hand's end pixel
// moves (the second hand steps by 1/6 s).
#include <cstdint>
#include <memory>

#include "core/zvtime.h"
#include "widgets/window/zvwindow.h"

class CDibDC;

// Hand kinds.
enum : int {
    kSecondHand,
    kMinuteHand,
    kHourHand,
};

// The hands' angles in degrees, anticlockwise from 3 o'clock.
struct ClockHandAngles {
    int second;
    int minute;
    int hour;
};
ClockHandAngles HandAnglesAt(const CZVTime& time);

class CAnalogClock : public CZVWindow {
public:
    static constexpr uint32_t kSettleMs = 20;

    CAnalogClock(CZVWindow* parent, CZVRect rect);
    ~CAnalogClock() override;

    void OnPaint(CZVDC* dc) override;
    int OnIdle(int busy) override;
    void OnShow(int show) override;

    int GetDialRadius() const { return std::min(m_width, m_height) / 2 - GetBevel(); }
    int HandX(double angle, int length) const;
    int HandY(double angle, int length) const;
    // The hand's thickness, from the hand width.
    int HandThickness(int kind) const;
    int GetHandWidth() const { return m_handWidth; }
    int GetMarkLength() const { return m_markLength; }
    // The second hand's end as last drawn ({0, 0} before the first).
    ZVPoint GetSecondHandEnd() const { return m_lastEnd; }

private:
    void BuildFace();
    void DrawMark(CDibDC* surface, int degrees);
    void DrawHand(double angle, int endX, int endY, int kind);
    void DrawHandAt(int degrees, int length, int kind);
    // The step may run now (shown, connected, input free, settled).
    bool MayStep();
    void Step();

    std::unique_ptr<CDibDC> m_face;
    uint32_t m_startTick;
    ZVPoint m_lastEnd;
    std::unique_ptr<CDibDC> m_work;
    std::unique_ptr<CDibDC> m_hands;
    int m_handWidth = 4;
    int m_markLength = 12;
    uint32_t m_secondBase;
};
