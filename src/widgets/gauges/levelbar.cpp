#include "widgets/gauges/levelbar.h"

#include <algorithm>
#include <cmath>

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "widgets/style/setserver.h"

namespace {

// The caption is black on a light back colour, white on a dark one.
constexpr int kLightBackSum = 424;
constexpr int kPartStyleClass = 18;
constexpr int kPartShadeDepth = 75;

int IntSqrt(int v) {
    if (v <= 0) return 0;
    if (v < static_cast<int>(kSqrtTable.size())) return kSqrtTable[v];
    return static_cast<int>(std::sqrt(static_cast<double>(v)));
}

uint32_t Elapsed(uint32_t since) {  // wrap-aware
    uint32_t tick = since;
    return TicksSince(&tick);
}

}  // namespace

CZVLevelBar::CZVLevelBar(CZVWindow* parent, CZVRect rect, int lookFlags, int vertical)
    : CZVWindow(parent, rect, 0),
      m_fillColor(CSetServer::Get() ? CSetServer::Get()->GetSelectionColor() : 0x64FFFF),
      m_lookFlags(lookFlags),
      m_timerTick(platform::GetTickCount()),
      m_pressTick(m_timerTick),
      m_vertical(vertical) {
    if (parent) m_faceColor = m_backColor = parent->GetFaceColor();
    // 255: the parts keep their own shape.
    m_radius = 255;
    m_bevel = 255;
    if (CSetServer* style = CSetServer::Get()) m_textColor = style->GetStyleColor(11, 1);
}

CZVLevelBar::~CZVLevelBar() = default;

void CZVLevelBar::SetText(CZVString text, CZVDC* dc, int redraw) {
    m_captionChanged = !(text == m_text);
    CZVWindow::SetText(text, dc, redraw);
}

void CZVLevelBar::SetFillColor(COLORREF colour) {
    if (colour == m_fillColor) return;
    m_fill.reset();
    m_captionChanged = 1;
    m_fillColor = colour;
}

void CZVLevelBar::SetLevel(int level, int redraw) {
    level = std::clamp(level, 0, 100);
    if (m_animating) {
        m_target = level;
        m_rising = level > m_level;
        return;
    }
    if (level == m_level && !m_captionChanged) return;
    m_level = level;
    m_captionChanged = 0;
    if (redraw) RedrawBuffered();
}

int CZVLevelBar::GetLevel() { return m_animating ? m_target : m_level; }

void CZVLevelBar::SetCommandIds(int up, int down, int set, int repeatInterval) {
    m_upCommand = up;
    m_downCommand = down;
    m_setCommand = set;
    // The interval divides elapsed time: it is at least 1 ms.
    m_repeatInterval = std::max(repeatInterval, 1);
    m_target = 0;
}

void CZVLevelBar::SetSweep(int direction) {
    if (direction == -1) {
        m_sweepDirection = -1;
        KillTimer();
        return;
    }
    if (m_sweepDirection == -1) SetTimer(kSweepInterval);
    m_sweepDirection = direction;
}

void CZVLevelBar::SendToParent(int id, int count) {
    if (m_parent) m_parent->OnChildCommand(id, count);
}

int CZVLevelBar::TouchLevel(int x, int y) {
    ZVPoint p;
    ToLocal(&p, x, y);
    if (m_vertical) return m_height > 0 ? std::clamp((m_height - 1 - p.y) * 100 / m_height, 0, 100) : 0;
    return m_width > 0 ? std::clamp(p.x * 100 / m_width, 0, 100) : 0;
}

int CZVLevelBar::OnLButtonDown(int x, int y, int) {
    if (!HitTest(x, y)) return 0;
    if (m_upCommand == -1 || m_downCommand == -1) {
        if (m_clickCommand == -1) return 0;
        m_tracking = 1;
        RedrawBuffered();
        return 1;
    }
    m_target = TouchLevel(x, y);
    SetTimer(m_repeatInterval);
    m_timerTick = platform::GetTickCount();
    m_tracking = 1;
    m_rising = m_target > m_level;
    m_pressTick = m_timerTick;
    m_animating = 0;
    return 1;
}

int CZVLevelBar::OnMouseMove(int x, int y, int) {
    if (!m_tracking || !HitTest(x, y)) return 0;
    m_target = TouchLevel(x, y);
    m_rising = m_target > m_level;
    return 1;
}

int CZVLevelBar::OnLButtonUp(int x, int y, int) {
    if (!m_tracking) return 0;
    m_tracking = 0;
    KillTimer();
    RedrawBuffered();
    if (m_setCommand != -1) {
        if (Elapsed(m_pressTick) < kTapTime) {
            SetTimer(kAnimationInterval);
            m_animating = 1;
            SendToParent(m_setCommand, 1);
            return 1;
        }
        SendToParent(m_setCommand, 1);
    }
    if (!HitTest(x, y)) return 0;
    if (m_clickCommand != -1) SendToParent(m_clickCommand, 1);
    return 1;
}

void CZVLevelBar::OnTimer() {
    const int periods = std::max(static_cast<int>(Elapsed(m_timerTick) / static_cast<uint32_t>(m_repeatInterval)), 1);
    m_timerTick = platform::GetTickCount();
    if (m_sweepDirection != -1) {
        if (m_width > 0 && m_height > 0) {
            CDibDC surface(m_width, m_height, 0, 0, m_text.IsEmpty() ? 0 : 1);
            Draw(&surface, m_sweepPhase, std::min(m_sweepPhase + kSweepBand, 99));
            CZVDC dc(this);
            dc.BitBlt(0, 0, &surface, 0, 0, m_width, m_height);
        }
        m_sweepPhase += m_sweepDirection == 3 ? 10 : -10;
        if (m_sweepPhase >= 100) m_sweepPhase = -kSweepBand;
        else if (m_sweepPhase <= -kSweepBand) m_sweepPhase = 90;
        return;
    }
    if (m_animating) {
        m_level += std::clamp(m_target - m_level, -kAnimationStep, kAnimationStep);
        RedrawBuffered();
        if (m_level == m_target) {
            m_animating = 0;
            KillTimer();
        }
        return;
    }
    if (m_level < m_target && m_rising)
        SendToParent(m_upCommand, periods);
    else if (m_level > m_target && !m_rising)
        SendToParent(m_downCommand, periods);
}

void CZVLevelBar::RedrawBuffered() {
    if (!m_shown || m_width <= 0 || m_height <= 0) return;
    CDibDC surface(m_width, m_height, ToRootX(0), ToRootY(0), m_text.IsEmpty() ? 0 : 1);
    surface.SetOrigin(ToRootX(0), ToRootY(0));
    DrawBackgroundRect(&surface, 0, 0, m_width, m_height, GetParentOpaqueAncestor());
    OnPaint(&surface);
    CZVDC dc(this);
    dc.BitBlt(0, 0, &surface, 0, 0, m_width, m_height);
}

void CZVLevelBar::OnPaint(CZVDC* dc) {
    Draw(dc, 0, std::max(m_level, 0));
    m_paintedOnce = 1;
}

void CZVLevelBar::StyleKnob(CZV3DButton* part, COLORREF colour) {
    part->SetFaceColor(colour);
    part->SetBackColor(m_backColor);
    int radius = std::min(part->GetWidth(), part->GetHeight()) / 2 - 1;
    int bevel = radius / 2;
    if (m_radius != 255) radius = m_radius;
    if (m_bevel != 255) bevel = m_bevel;
    part->SetCornerRadius(m_square ? 0 : radius);
    part->SetBevel(bevel);
    part->SetMargin(0);
    part->ClampShape();
    part->SetStyleBit(k3DGlow, 1);
    part->SetShadeDepth(kPartShadeDepth);
}

int CZVLevelBar::IsTextured() {
    CSetServer* style = CSetServer::Get();
    const int skins = style && (style->GetFlags() & kStyleSkins);
    const int onBase = m_parent && m_parent->IsOnBaseSurface();
    return (m_texture || (onBase && skins)) && (m_lookFlags & 1);
}

CZV3DButton* CZVLevelBar::MakePart(COLORREF colour, int fill) {
    CZVRect client;
    GetClientRect(&client);
    auto* part = new CZV3DButton(this, client, -1, kPartStyleClass);
    StyleKnob(part, colour);
    if (fill) {
        // The fill's gloss runs along the bar.
        if (m_vertical)
            WithStyleFlags(0, kStyleGloss, [part] { part->GetNormalImage(); });
        else
            WithStyleFlags(0x4, 0, [part] { part->GetNormalImage(); });
    } else if (m_vertical) {
        WithStyleFlags(0, kStyleGloss, [part] { part->GetNormalImage(); });
    }
    return part;
}

void CZVLevelBar::TrimFill(CDibDC* fill, int s, int e, int length) {
    const int w = fill->GetRequestedWidth();
    const int h = fill->GetHeight();
    const int c = std::max(std::min({m_fill->GetCornerRadius(), w / 2, h / 2}), 0);
    const int across = m_vertical ? w : h;
    for (int i = 0; i < across; ++i) {
        const int d = std::max({0, c - i, i - (across - c)});
        const int k = IntSqrt(c * c - d * d);
        const int keepFrom = s - k - c;
        const int keepTo = e + k - c;
        for (int along = 0; along < length; ++along) {
            if (along >= keepFrom && along < keepTo) continue;
            uint16_t* p = m_vertical ? fill->GetPixelAddress(i, h - 1 - along) : fill->GetPixelAddress(along, i);
            if (p) *p = 0;
        }
    }
}

void CZVLevelBar::Draw(CZVDC* dc, int from, int to) {
    if (!dc || m_width <= 0 || m_height <= 0) return;
    const int textured = IsTextured();
    if (!m_barTrack) m_barTrack.reset(MakePart(m_faceColor, 0));
    if (!m_fill) m_fill.reset(MakePart(m_fillColor, 1));
    CDibDC* track = m_tracking ? m_barTrack->GetPressedImage() : m_barTrack->GetNormalImage();
    CDibDC* fillFace = m_tracking ? m_fill->GetPressedImage() : m_fill->GetNormalImage();
    if (!track || !fillFace) return;
    std::unique_ptr<CDibDC> work(track->Clone());
    std::unique_ptr<CDibDC> fill(fillFace->Clone());
    if (!work || !fill) return;
    fill->ReplaceColor(ToRgb565(m_backColor), 0);
    const int length = m_vertical ? m_barTrack->GetHeight() : m_barTrack->GetWidth();
    const int e = std::clamp(to * length / 100, 0, length);
    const int s = std::max(std::min(from * length / 100, e), 0);
    const int w = work->GetRequestedWidth();
    const int h = work->GetHeight();
    if (e > 0) {
        if (m_square) {
            if (m_vertical)
                work->BitBlt(0, h - e, fill.get(), 0, h - e, w, e);
            else
                work->BitBlt(0, 0, fill.get(), 0, 0, e, h);
        } else {
            if (e < length) TrimFill(fill.get(), s, e, length);
            work->TransparentBlt(0, 0, fill.get(), 0, 0, w, h, 0);
        }
    }
    if (textured)
        Skins().DrawImage(dc, work.get(), 0, 0, w, h, ToRgb565(m_barTrack->GetBackColor()));
    else
        dc->BitBlt(0, 0, work.get(), 0, 0, w, h);
    if (m_text.IsEmpty() || m_height <= 10) return;
    const int size = std::min(m_vertical ? m_width - 2 * m_barTrack->GetBevel() : m_height - 4, m_captionSizeLimit);
    dc->SetFont(size, 0, 1);
    dc->SetColor(m_contrastCaption ? CaptionColor() : m_textColor);
    dc->DrawText(m_text, CZVRect(0, 0, m_width, m_height), 18);
}

COLORREF CZVLevelBar::CaptionColor() const {
    const int sum = ColorRed(m_backColor) + ColorGreen(m_backColor) + ColorBlue(m_backColor);
    return sum > kLightBackSum ? 0 : 0xFFFFFF;
}
