#include "platform/power.h"

#include <SDL.h>

#include "platform/clock.h"

namespace platform {

int ReadBatteryPercent() {
    int percent = -1;
    const SDL_PowerState state = SDL_GetPowerInfo(nullptr, &percent);
    if (state == SDL_POWERSTATE_UNKNOWN || state == SDL_POWERSTATE_NO_BATTERY || percent < 0) return 100;
    return percent > 100 ? 100 : percent;
}

int BatteryGauge::GetPercent() {
    if (!m_read || TicksSince(m_tick) >= kCacheTime) {
        m_percent = ReadBatteryPercent();
        m_tick = GetTickCount();
        m_read = true;
    }
    return m_percent;
}

}  // namespace platform
