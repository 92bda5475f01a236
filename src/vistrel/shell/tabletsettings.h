#pragma once
// CTabletSettings: what the gateway tells the tablet of its power and
// drawing: the idle-screen and display-off time-outs on mains and on
// battery, the slideshow's options, the drawing flags and the two volumes.
#include <cstdint>

#include "core/zvmsg.h"
#include "core/zvserver.h"

// Drawing and sound flags of the settings (the drawing ones are the
// toolkit's display flags).
enum : int {
    kTabletNoLightingSchedules = 0x2,
    kTabletNoClimateScheduleTabs = 0x4,
};

class CTabletSettings {
public:
    static constexpr uint32_t kLoadTimeout = 15000;     // ms
    static constexpr uint32_t kBatteryWarning = 30000;  // ms of countdown before a battery suspend
    static constexpr int kDefaultVolume = 50;

    // Asks the gateway and waits for the answer at most kLoadTimeout; the
    // values stay as they were without one. 1 when read.
    int Load(CZVServer& server);
    // The answer's nine values; a short answer changes nothing. 1 when read.
    int Read(CZVMSG* message);

    int IsLoaded() const { return m_loaded; }
    uint32_t GetSaverTimeout(bool onAc) const { return onAc ? m_saverAc : m_saverBattery; }
    // When the idle screen starts: on battery kBatteryWarning before the
    // suspend; a battery time-out shorter than that never starts it.
    uint32_t GetSaverStart(bool onAc) const;
    uint32_t GetDisplayOffTimeout(bool onAc) const { return onAc ? m_displayOffAc : m_displayOffBattery; }
    int HasSlideTransition() const { return m_slideTransition != 0; }
    int HasSlideButtons() const { return m_slideButtons != 0; }
    uint32_t GetSlideInterval() const { return m_slideInterval; }
    int GetFlags() const { return m_flags; }
    // Touch sounds and the player's default volume, 0..100.
    int GetClickVolume() const;
    // Alerts, the intercom and the gateway's audio, 0..100.
    int GetAlertVolume() const;

private:
    uint32_t m_saverAc = 300000;
    uint32_t m_saverBattery = 300000;
    uint32_t m_displayOffAc = 0;
    uint32_t m_displayOffBattery = 300000;
    int32_t m_slideTransition = 0;
    int32_t m_slideButtons = 0;
    uint32_t m_slideInterval = 10000;
    int32_t m_flags = 1;
    int m_loaded = 0;
};
