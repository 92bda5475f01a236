#pragma once
// What the drawing engine asks of the tablet's shell (main window flags, the
// screen surface, the input queue). The shell installs its own object; until
// then the defaults answer as if no main window existed.
#include <cstdint>

#include "gfx/speed.h"

class CDibDC;
class CZVDC;

class CShellServices {
public:
    virtual ~CShellServices() = default;

    // The one screen-sized surface that the window layer shows; window drawing
    // contexts paint into it. Null while there is no main window.
    virtual CDibDC* GetScreen() { return nullptr; }
    // Plain fonts in place of smoothed ones (display settings flag 0x8).
    virtual bool UseAlternateFont() { return false; }
    // The style object's bold-text flag (0x200000).
    virtual bool IsBoldText() { return false; }
    // Offers a themed fill to the style object; true when it painted a skin.
    virtual bool FillSkinned(CZVDC* /*dc*/, COLORREF /*colour*/, int /*x*/, int /*y*/, int /*w*/, int /*h*/) {
        return false;
    }
    // Gloss passes its results through the RGB565 dither cycle (display
    // settings flag 0x20 clear).
    virtual bool IsDitherEnabled() { return true; }
    virtual uint64_t GetAvailableMemory() { return UINT64_MAX; }
    // Sends the client status report to the gateway when connected.
    virtual void SendStatus() {}
    // Removes a pending touch press from the main window's input queue and
    // answers true; leaves every other pending event queued.
    virtual bool TakePendingPress() { return false; }
    // Volumes in percent of touch sounds and of alert sounds, gateway audio
    // and the intercom, from the tablet's settings.
    virtual int GetClickVolume() { return kDefaultSoundVolume; }
    virtual int GetAlertVolume() { return kDefaultSoundVolume; }

    static constexpr int kDefaultSoundVolume = 50;
};

// The installed services, or the defaults.
CShellServices& Shell();
// Installs the shell's object (null restores the defaults); returns the previous one.
CShellServices* InstallShellServices(CShellServices* services);
