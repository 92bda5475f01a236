#pragma once
// The machine's battery as SDL's power information reports it.
#include <cstdint>

namespace platform {

// The battery's charge in per cent; 100 without a battery or without a reading.
int ReadBatteryPercent();

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

}  // namespace platform
