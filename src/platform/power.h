#pragma once
// The machine's power: mains or battery, the battery's charge, keeping the
// desktop's own screen saver away, and suspending. The program reads them
// through one power source, the system's unless a test installed another.
#include <cstdint>

namespace platform {

// The battery's charge in per cent as SDL reports it; 100 without a battery
// or without a reading.
int ReadBatteryPercent();

class PowerSource {
public:
    virtual ~PowerSource() = default;
    // false only when the machine is known to run on its battery.
    virtual bool IsOnAc() = 0;
    virtual int ReadBatteryPercent() = 0;
    // Keeps the desktop from blanking or locking the display by itself.
    virtual void KeepAwake() = 0;
    // Asks the system to suspend; false (and a trace) when it could not.
    virtual bool Suspend() = 0;
};

// The power source in use.
PowerSource& GetPowerSource();
// Makes source the one in use (null: the system's again); returns the one before.
PowerSource* InstallPowerSource(PowerSource* source);

// The battery's charge, read again at most once a minute.
class BatteryGauge {
public:
    static constexpr uint32_t kCacheTime = 60000;  // ms

    int GetPercent();

private:
    bool m_read = false;
    uint32_t m_tick = 0;
    int m_percent = 100;
};

// Whether the machine runs on mains power, read again at most every two
// seconds and never while the caller's button is down (a reading can take a
// while, and a drag must not stutter).
class AcGauge {
public:
    static constexpr uint32_t kCacheTime = 2000;  // ms

    bool IsOnAc(bool buttonDown);

private:
    bool m_read = false;
    uint32_t m_tick = 0;
    bool m_onAc = true;
};

}  // namespace platform
