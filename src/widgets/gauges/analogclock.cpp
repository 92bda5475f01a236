#include "widgets/gauges/analogclock.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "platform/clock.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"
#include "widgets/tabs/menucolumn.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kFaceDepth = 25;
// The second hand moves in steps of 1/6 s, one degree each.
constexpr int kMsPerSecondStep = 166;

double Radians(int degrees) { return degrees * std::numbers::pi / 180.0; }

// Milliseconds into the current minute.
uint32_t IntoMinute(const CZVTime& time) {
    return static_cast<uint32_t>(time.GetSecond() * 1000 + time.GetMilliseconds());
}

bool MenuPressed() {
    CMainWndBase* main = GetMainWnd();
    CMenuColumn* menu = main ? FindMenuColumn() : nullptr;
    return menu && menu->GetPressState();
}

// A raised shaded frame over the rectangle, rendered into the surface.
void RenderBump(CDibDC* surface, CZVRect rect, int border, int radius, COLORREF colour) {
    CShadeWnd bump(nullptr, rect, 0);
    bump.SetBevel(border);
    bump.SetColors(colour, 0);
    bump.SetDepth(kFaceDepth);
    bump.AddFrame(0, 0, 0, 0, border, radius, 0, 1, 0, 0);
    bump.RenderShapes(surface);
}

}  // namespace

ClockHandAngles HandAnglesAt(const CZVTime& time) {
    return ClockHandAngles{90 - time.GetMilliseconds() / kMsPerSecondStep - time.GetSecond() * 6,
                           90 - time.GetMinute() * 6, 90 - time.GetHour() * 30 - time.GetMinute() / 2};
}

CAnalogClock::CAnalogClock(CZVWindow* parent, CZVRect rect)
    : CZVWindow(parent, rect, 0), m_startTick(platform::GetTickCount()) {
    m_faceColor = parent ? parent->GetFaceColor() : 0;
    m_radius = 4;
    m_bevel = 4;
    m_fontSize = 12;
    // The second base is the start of the current minute, so that the
    // second hand is right from its first step.
    m_secondBase = m_startTick - IntoMinute(CZVTime());
}

CAnalogClock::~CAnalogClock() = default;

int CAnalogClock::HandX(double angle, int length) const {
    return static_cast<int>(std::cos(angle) * length + m_width / 2);
}

int CAnalogClock::HandY(double angle, int length) const {
    return static_cast<int>(m_height / 2 - std::sin(angle) * length);
}

int CAnalogClock::HandThickness(int kind) const {
    switch (kind) {
    case kSecondHand: return std::clamp(m_handWidth / 2, 1, 4);
    case kMinuteHand: return std::clamp(m_handWidth, 1, 6);
    default: return std::clamp(2 * m_handWidth, 1, 8);
    }
}

void CAnalogClock::BuildFace() {
    m_handWidth = (m_fontSize - 4) / 2;
    m_markLength = (m_fontSize - 4) * 3 / 2;
    m_face = std::make_unique<CDibDC>(m_width, m_height, ToRootX(0), ToRootY(0), 0);
    if (!m_face->GetBits()) {
        m_face.reset();
        return;
    }
    m_face->SetThemedFills(true);
    DrawBackgroundRect(m_face.get(), 0, 0, m_width, m_height, m_parent);
    const int texture = m_texture;
    m_texture = 1;
    RenderShadedFrame(this, m_faceColor, m_face.get(), kFaceDepth, false, true);
    m_texture = texture;

    const int cx = m_width / 2, cy = m_height / 2, r = GetDialRadius();
    const int hw = m_handWidth, border = std::min(GetBevel(), hw), radius = std::min(m_radius, hw);
    const int across = 2 * hw + 1, along = m_markLength + 1;
    for (const CZVRect& mark : {CZVRect(cx - hw, cy - r, across, along), CZVRect(cx - hw, cy + r - along, across, along),
                                CZVRect(cx - r, cy - hw, along, across), CZVRect(cx + r - along, cy - hw, along, across)})
        RenderBump(m_face.get(), mark, border, radius, m_faceColor);
    for (int degrees = 30; degrees < 360; degrees += 30)
        if (degrees % 90) DrawMark(m_face.get(), degrees);
}

void CAnalogClock::DrawMark(CDibDC* surface, int degrees) {
    const int distance = GetDialRadius() - m_markLength / 2;
    const int x = HandX(Radians(degrees), distance), y = HandY(Radians(degrees), distance);
    const int d = 2 * m_handWidth;
    if (d > 0) RenderBump(surface, CZVRect(x - d / 2, y - d / 2, d, d), std::max(d / 4, 1), d / 2, m_faceColor);
}

void CAnalogClock::OnPaint(CZVDC* dc) {
    m_paintedOnce = 1;
    if (!m_face) BuildFace();
    if (m_face) dc->BitBlt(0, 0, m_face.get(), 0, 0, m_width, m_height);
}

void CAnalogClock::OnShow(int show) {
    if (show) return;
    m_work.reset();
    m_hands.reset();
}

bool CAnalogClock::MayStep() {
    if (!m_shown || !IsGatewayConnected() || MenuPressed()) return false;
    CMainWndBase* main = GetMainWnd();
    if (main && main->IsInputBlocked(nullptr)) return false;
    return platform::TicksSince(m_startTick) >= kSettleMs;
}

int CAnalogClock::OnIdle(int busy) {
    const int answer = CZVWindow::OnIdle(busy);
    if (MayStep()) Step();
    return answer;
}

void CAnalogClock::Step() {
    if (!m_face) return;
    if (!m_work) m_work = std::make_unique<CDibDC>(m_width, m_height, 0, 0, 0);
    if (!m_hands) m_hands = std::make_unique<CDibDC>(m_width, m_height, 0, 0, 0);
    if (!m_work->GetBits() || !m_hands->GetBits()) {
        m_work.reset();
        m_hands.reset();
        return;
    }
    CZVTime now;
    const uint32_t ms = platform::TicksSince(m_secondBase);
    if (static_cast<uint32_t>(now.GetSecond()) < ms / 1000) {
        m_secondBase = platform::GetTickCount() - IntoMinute(now);  // a new minute began
    } else {
        now.SetSecond(static_cast<int>(ms / 1000));
        now.SetMilliseconds(static_cast<int>(ms % 1000));
    }
    const ClockHandAngles angles = HandAnglesAt(now);
    const int length = GetDialRadius() - m_markLength / 2;
    const double secondAngle = Radians(angles.second);
    const ZVPoint end{HandX(secondAngle, length - m_markLength), HandY(secondAngle, length - m_markLength)};
    if (end.x == m_lastEnd.x && end.y == m_lastEnd.y) return;

    m_work->BitBlt(0, 0, m_face.get(), 0, 0, m_width, m_height);
    m_hands->FillRect(0, 0, 0, m_width, m_height, 0);
    DrawHand(secondAngle, end.x, end.y, kSecondHand);
    DrawHandAt(angles.minute, length * 8 / 10, kMinuteHand);
    DrawHandAt(angles.hour, length / 2, kHourHand);
    m_hands->MakeRegionExcludingColor(0);
    m_hands->SmoothEdges(m_hands.get());
    m_work->OverlaySpans(m_hands.get(), 0, 0, m_hands->GetRegion());
    CZVDC dc(this);
    dc.BitBlt(0, 0, m_work.get(), 0, 0, m_width, m_height);
    m_lastEnd = end;
}

void CAnalogClock::DrawHandAt(int degrees, int length, int kind) {
    const double angle = Radians(degrees);
    DrawHand(angle, HandX(angle, length), HandY(angle, length), kind);
}

void CAnalogClock::DrawHand(double angle, int endX, int endY, int kind) {
    const int d = HandThickness(kind);
    const CSetServer* style = CSetServer::Get();
    const COLORREF colour = style ? style->GetSelectionColor() : kHighlightColor;
    const uint16_t pixel = std::max<uint16_t>(ToRgb565(colour), 1);
    const int cx = m_width / 2, cy = m_height / 2;
    m_hands->FillRoundRect(colour, endX - d / 2, endY - d / 2, d, d, d / 2, 0);
    m_hands->FillRoundRect(colour, cx - d / 2, cy - d / 2, d, d, d / 2, 0);
    const int dx = endX - cx, dy = endY - cy;
    const bool horizontal = std::abs(dx) > std::abs(dy);
    const double across = horizontal ? std::abs(std::cos(angle)) : std::abs(std::sin(angle));
    const int n = across > 0 ? static_cast<int>(d / across) : d;
    const int longer = std::max(std::abs(dx), std::abs(dy)), shorter = horizontal ? dy : dx;
    for (int i = 0; i < n; ++i) {
        const int shift = i - n / 2;
        for (int k = 0; k <= longer; ++k) {
            const int along = (horizontal ? (dx < 0 ? -k : k) : (dy < 0 ? -k : k));
            const int side = longer ? k * shorter / longer + shift : shift;
            const int x = cx + (horizontal ? along : side), y = cy + (horizontal ? side : along);
            if (x >= 0 && y >= 0 && x < m_width && y < m_height) *m_hands->GetPixelAddress(x, y) = pixel;
        }
    }
}
