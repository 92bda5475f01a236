#pragma once
// CConnectingScreen: while no gateway answers, the screen as it was, dimmed
// to half brightness, with "Connecting, Please Wait..." over it. While it
// exists it stands in for the main window's paint.
#include <memory>

#include "gfx/dibdc.h"

class CConnectingScreen {
public:
    bool Exists() const { return m_surface != nullptr; }
    // From the screen as it is, or black while the display is off.
    void Make(CDibDC& screen, bool displayOff);
    // Into the screen; nothing while the display is off.
    void Draw(CDibDC& screen, bool displayOff);
    void Free() { m_surface.reset(); }

private:
    std::unique_ptr<CDibDC> m_surface;
};
