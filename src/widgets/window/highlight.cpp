// The touch highlight of CZVWindow: a glow of the window's shape that is
// added over a snapshot of its screen pixels and fades out in the idle walk,
// or a single flash where the style does not animate.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "gfx/dibdc.h"
#include "platform/clock.h"
#include "widgets/style/setserver.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/window/zvwindow.h"

namespace {

constexpr int kFlashLevel = 5;  // eighths of the flash shape over the window
constexpr int kMaxGlowBevel = 30;

}  // namespace

int IsNearColor(COLORREF a, COLORREF b) {
    return std::abs(ColorRed(a) - ColorRed(b)) + std::abs(ColorGreen(a) - ColorGreen(b)) +
               std::abs(ColorBlue(a) - ColorBlue(b)) <
           256;
}

void CZVWindow::DrawHighlightFrame(CZVDC* dc, bool transparent) {
    if (!m_highlightSnapshot || !m_highlightGlow) return;
    CDibDC* glowFace = m_highlightGlow->GetNormalImage();
    if (!glowFace) return;
    std::unique_ptr<CDibDC> frame(m_highlightSnapshot->Clone());
    const int bits = m_highlightGlow->GetStyleBits();
    const int rampIn = (bits & k3DRampIn) ? GetBevel() : 0;
    const int rampOut = (bits & k3DRampOut) ? GetBevel() : 0;
    frame->AddBlend(glowFace, m_highlightCountdown, rampIn, rampOut);
    if (transparent)
        dc->TransparentBlt(0, 0, frame.get(), 0, 0, m_width, m_height, 0);
    else
        dc->BitBlt(0, 0, frame.get(), 0, 0, m_width, m_height);
}

void CZVWindow::HighlightStep(CZVDC* dc) {
    if (m_highlightCountdown <= 0) {
        ReleaseHighlight();
        return;
    }
    DrawHighlightFrame(dc, false);
}

void CZVWindow::StartHighlight() {
    if (m_width <= 0 || m_height <= 0) return;
    if (!m_highlightSnapshot) {
        CZVDC dc(this);
        CaptureSnapshot(&dc);
    }
    if (CSetServer::CurrentFlags() & kStyleAnimate) {
        delete m_highlightGlow;
        m_highlightGlow = CreateHighlightGlow();
        m_highlightCountdown = 100;
        OnIdle(0);
        m_highlightTick = platform::GetTickCount();
        return;
    }
    CZVDC dc(this);
    CDibDC shape(m_width, m_height, 0, 0, 0);
    CDibDC flash(m_width, m_height, 0, 0, 0);
    dc.CaptureTo(&shape, 0, 0);
    dc.CaptureTo(&flash, 0, 0);
    DrawHighlightShape(IsNearColor(m_faceColor, kHighlightColor) ? kHighlightOnBlue : kHighlightColor, &shape);
    flash.BlendAll(&shape, 0, 0, kFlashLevel);
    dc.BitBlt(0, 0, &flash, 0, 0, m_width, m_height);
}

void CZVWindow::CaptureSnapshot(CZVDC* dc) {
    ReleaseHighlight();
    if (m_width <= 0 || m_height <= 0) return;
    m_highlightSnapshot = new CDibDC(m_width, m_height, 0, 0, 0);
    dc->CaptureTo(m_highlightSnapshot, 0, 0);
}

void CZVWindow::EndHighlight(CZVDC* dc) {
    delete m_highlightGlow;
    m_highlightGlow = nullptr;
    if (!m_highlightSnapshot) return;
    dc->BitBlt(0, 0, m_highlightSnapshot, 0, 0, m_width, m_height);
    ReleaseHighlight();
}

void CZVWindow::RecaptureSnapshot(CZVDC* dc) {
    if (m_highlightSnapshot) dc->CaptureTo(m_highlightSnapshot, 0, 0);
}

void CZVWindow::ReleaseHighlight() {
    delete m_highlightGlow;
    m_highlightGlow = nullptr;
    delete m_highlightSnapshot;
    m_highlightSnapshot = nullptr;
}

int CZVWindow::StopHighlight() {
    if (!m_shown) return 0;
    if (m_highlightSnapshot) {
        CZVDC dc(this);
        EndHighlight(&dc);
    } else {
        delete m_highlightGlow;
        m_highlightGlow = nullptr;
        Redraw(1);
    }
    m_highlightCountdown = -1;
    return 1;
}

CZV3DButton* CZVWindow::CreateHighlightGlow() {
    auto* glow = new CZV3DButton(this, CZVRect(0, 0, m_width, m_height), -1, 18);
    glow->SetStyleBit(k3DGlow, 1);
    glow->SetShape(GetMargin() + m_radius, std::min(std::min(m_width, m_height) / 2, kMaxGlowBevel), 0);
    glow->SetShadeDepth(0);
    glow->SetColors(GetHighlightColor(), 0);
    return glow;
}

void CZVWindow::DrawHighlightShape(COLORREF colour, CDibDC* dib) {
    const int m = GetMargin();
    dib->RoundRect(colour, m, m, m_width - 2 * m, m_height - 2 * m, m_radius);
}
