#include "widgets/lists/listflick.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/ticks.h"
#include "platform/clock.h"

namespace {

constexpr size_t kMaxSamples = 50;
constexpr uint32_t kFlickWindowMs = 250;
// The slowing, in pixels per second per second times ten.
constexpr int64_t kDeceleration = 25;

}  // namespace

void CListFlick::Press(int y, uint32_t now) {
    m_velocity = 0;
    m_pressY = y;
    m_moves.clear();
    m_moves.push_back(Sample{0, 0});
    m_pressTick = m_startTick = now;
}

void CListFlick::Move(int y) {
    m_moves.push_back(Sample{y - m_pressY, TicksSince(&m_pressTick)});
    while (m_moves.size() > kMaxSamples) m_moves.pop_front();
}

int CListFlick::Release(int y, int position) {
    m_velocity = ComputeVelocity(y);
    m_startTick = platform::GetTickCount();
    m_startPos = position;
    return m_velocity;
}

int CListFlick::ComputeVelocity(int y) {
    const int64_t elapsed = TicksSince(&m_pressTick);
    const int64_t d = y - m_pressY;
    int64_t velocity = 0;
    bool first = true;
    // Back from the release, as long as the stroke kept its direction.
    while (!m_moves.empty()) {
        const Sample sample = m_moves.back();
        m_moves.pop_back();
        const int64_t age = elapsed - sample.ms;
        if (age > kFlickWindowMs) break;
        if (age <= 0) continue;
        const int64_t v = (d - sample.displacement) * 1000 / age;
        if (first) {
            velocity = v;
            first = false;
        } else if ((v > 0 && velocity > 0) || (v < 0 && velocity < 0)) {
            velocity = v;
        } else {
            break;
        }
    }
    m_moves.clear();
    return static_cast<int>(std::clamp<int64_t>(velocity, -1000000, 1000000));
}

CListFlick::Step CListFlick::Advance() {
    const int64_t v = m_velocity;
    const int64_t stop = std::abs(v) * 100 / kDeceleration;
    const int64_t t = std::min<int64_t>(TicksSince(&m_startTick), stop);
    const int64_t travel = v * t / 1000 + (v > 0 ? -kDeceleration : kDeceleration) * t * t / 200000;
    const bool ended = t >= stop;
    if (ended) m_velocity = 0;
    return Step{static_cast<int>(m_startPos - travel), ended};
}
