#include "vistrel/shell/connectingscreen.h"

#include "platform/report.h"

void CConnectingScreen::Make(CDibDC& screen, bool displayOff) {
    if (m_surface) {
        ReportAssert(__FILE__, __LINE__, 1);
        return;
    }
    const int w = screen.GetRequestedWidth(), h = screen.GetHeight();
    m_surface = std::make_unique<CDibDC>(w, h, 0, 0, 0);
    if (!m_surface->GetBits()) {
        m_surface.reset();
        return;
    }
    if (displayOff) {
        m_surface->FillRect(0, 0, 0, w, h, 0);
        return;
    }
    m_surface->BitBltAll(&screen, 0, 0);
    m_surface->Dim(CZVRect(0, 0, w, h));
}

void CConnectingScreen::Draw(CDibDC& screen, bool displayOff) {
    if (!m_surface || displayOff) return;
    screen.SetOrigin(0, 0);
    screen.BitBltAll(m_surface.get(), 0, 0);
    screen.SetFont(30, 0, 1);
    screen.SetColor(0xFFFFFF);
    screen.DrawText(CZVString("Connecting, Please Wait..."),
                    CZVRect(0, 0, screen.GetRequestedWidth(), screen.GetHeight()), kTextCentre | kTextVCentre);
}
