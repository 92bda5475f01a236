#pragma once
// CListFlick: the momentum of a list scrolled by the finger. It samples the
// finger's way from the press, takes the speed of the last steady stroke at
// release, and then moves the position on, slowing evenly until it stops.
#include <cstdint>
#include <deque>

class CListFlick {
public:
    // Where the flick has brought the list; ended: it came to rest.
    struct Step {
        int position;
        bool ended;
    };

    // A press at window y starts a new stroke and catches a running flick.
    void Press(int y, uint32_t now);
    // The finger at window y during the stroke.
    void Move(int y);
    // The finger left at window y with the list at `position`; the speed in
    // pixels per second, 0 when the list stays where it is.
    int Release(int y, int position);
    // The position for now; the flick ends itself when it has run out.
    Step Advance();
    void Stop() { m_velocity = 0; }
    int Velocity() const { return m_velocity; }

private:
    struct Sample {
        int displacement;
        uint32_t ms;
    };

    int ComputeVelocity(int y);

    std::deque<Sample> m_moves;
    uint32_t m_pressTick = 0;
    int m_pressY = 0;
    int m_velocity = 0;
    uint32_t m_startTick = 0;
    int m_startPos = 0;
};
