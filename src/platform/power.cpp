#include "platform/power.h"

#include <SDL.h>
#include <sys/wait.h>

#include "platform/clock.h"
#include "platform/process.h"
#include "platform/report.h"

namespace platform {
namespace {

// SDL's readings, SDL's screen-saver inhibition and logind's suspend.
class SystemPower : public PowerSource {
public:
    bool IsOnAc() override {
        const SDL_PowerState state = SDL_GetPowerInfo(nullptr, nullptr);
        return state != SDL_POWERSTATE_ON_BATTERY;
    }
    int ReadBatteryPercent() override { return platform::ReadBatteryPercent(); }
    void KeepAwake() override { SDL_DisableScreenSaver(); }
    bool Suspend() override {
        const pid_t child = StartProgram("systemctl", {"suspend"});
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0)
            return true;
        ReportTrace("Suspend failed");
        return false;
    }
};

SystemPower g_systemPower;
PowerSource* g_power = &g_systemPower;

}  // namespace

int ReadBatteryPercent() {
    int percent = -1;
    const SDL_PowerState state = SDL_GetPowerInfo(nullptr, &percent);
    if (state == SDL_POWERSTATE_UNKNOWN || state == SDL_POWERSTATE_NO_BATTERY || percent < 0) return 100;
    return percent > 100 ? 100 : percent;
}

PowerSource& GetPowerSource() { return *g_power; }

PowerSource* InstallPowerSource(PowerSource* source) {
    PowerSource* previous = g_power;
    g_power = source ? source : &g_systemPower;
    return previous == &g_systemPower ? nullptr : previous;
}

int BatteryGauge::GetPercent() {
    if (!m_read || TicksSince(m_tick) >= kCacheTime) {
        m_percent = GetPowerSource().ReadBatteryPercent();
        m_tick = GetTickCount();
        m_read = true;
    }
    return m_percent;
}

bool AcGauge::IsOnAc(bool buttonDown) {
    if (buttonDown || (m_read && TicksSince(m_tick) < kCacheTime)) return m_onAc;
    m_onAc = GetPowerSource().IsOnAc();
    m_tick = GetTickCount();
    m_read = true;
    return m_onAc;
}

}  // namespace platform
