#pragma once
// CIdleScreen: what the tablet does while nobody touches it. After the
// saver time-out it covers the screen with the gateway's logo and, on
// mains power, the slideshow; on battery it counts the last 30 seconds
// down with a level bar and suspends the machine; after the display-off
// time-out it blanks the display. A touch or a key ends it all. It keeps
// the last activity, the mains and battery readings, and the idle state
// (0 active, 1 idle screen, 2 display off).
#include <cstdint>
#include <memory>

#include "platform/power.h"
#include "platform/tabletwindow.h"
#include "vistrel/shell/slideshow.h"

class CMainWnd;
class CTabletSettings;
class CZVImage;
class CZVLevelBar;

class CIdleScreen {
public:
    static constexpr uint32_t kKeepAwakeInterval = 5000;  // ms
    static constexpr uint32_t kLateStart = 60000;         // ms an idle screen may start late
    static constexpr uint64_t kLowMemory = 15000000;      // bytes: caches go before it starts
    static constexpr uint32_t kPaintGraceIdle = 10000;    // ms of ignored repaints after the start
    static constexpr uint32_t kPaintGraceOff = 5000;
    static constexpr uint32_t kSuspendPause = 2000;  // ms after the suspend request
    static constexpr COLORREF kBackground = 0x808080;
    static constexpr int kIdlePageIndex = 14;  // reported as the selected page

    CIdleScreen(CMainWnd& owner, const CTabletSettings& settings);
    ~CIdleScreen();

    int GetState() const { return m_state; }
    uint32_t GetLastActivity() const { return m_lastActivity; }
    void NoteActivity();

    // The mains state, read again at most every 2 s and never while the
    // button is down.
    bool IsOnAcPower();
    int GetBatteryPercent() { return m_battery.GetPercent(); }
    // 0 in a window (not full screen); else the mains or battery value.
    uint32_t GetSaverTimeout();
    uint32_t GetSaverStart();
    // 0 in a window or with an unthemed style.
    uint32_t GetDisplayOffTimeout();

    // One step of the main loop; true when it did work.
    bool Step();
    void ShowIdleScreen();
    // Ends the idle screen or display-off state and redraws the window.
    void Exit();
    // Display off blanks the window; on turns display-off into active.
    void SetDisplayPower(bool on);
    // Ends the idle screen at its next step.
    void RequestLeave() { m_leaveRequested = true; }
    // Every 5 s from the idle pass: a change of power while idle wakes the display.
    void CheckPowerChange();

    // Input while the state is not active; the window's events go here first.
    void OnMouse(const platform::WindowEvent& event);
    // true when the key was taken here (and goes no further).
    bool OnKey(const platform::WindowEvent& event);
    // A full repaint soon after the idle start is ignored; a later one ends it.
    bool IgnoresRepaint();

    void SetButtonDown(bool down) { m_buttonDown = down; }
    CSlideShow& Slides() { return m_slides; }
    int GetBatteryLevelShown() const;
    // The gateway's logo is on the idle screen (it is drawn when it arrives, if after the start).
    bool IsLogoShown() const { return m_logoShown; }

private:
    bool ActiveStep();
    bool IdleStep();
    bool DisplayOffStep();
    void KeepAwake();
    void Enter();
    void DrawLogo();
    void DrawArrivedLogo();
    void ShowBatteryLevel(uint32_t elapsed);
    void Suspend();
    void Wake();
    bool IsThemed() const;
    bool IsForeground() const;

    CMainWnd& m_owner;
    const CTabletSettings& m_settings;
    CSlideShow m_slides;
    int m_state = 0;
    uint32_t m_entryTick;
    uint32_t m_lastActivity;
    uint32_t m_keepAwakeTick;
    bool m_leaveRequested = false;
    bool m_wasOnAc = false;
    bool m_suspended = false;
    bool m_buttonDown = false;
    bool m_lastAc = true;
    platform::AcGauge m_ac;
    platform::BatteryGauge m_battery;
    std::unique_ptr<CZVImage> m_logo;
    bool m_logoShown = false;
    std::unique_ptr<CZVLevelBar> m_batteryBar;
};
