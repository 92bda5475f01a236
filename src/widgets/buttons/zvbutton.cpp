#include "widgets/buttons/zvbutton.h"

#include <algorithm>

#include "av/soundclip.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "platform/tabletwindow.h"
#include "widgets/style/setserver.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "zvButton";
constexpr int kDoubleClickMs = 300;
constexpr int kSwallowMs = 100;
constexpr int kRepeatTimerMs = 10;
constexpr int kMaxRepeatCount = 100;

CSoundClip* SoundNamed(const CZVString& name) {
    CSetServer* style = CSetServer::Get();
    return !name.IsEmpty() && style ? style->GetSound(name) : nullptr;
}

void Play(CSoundClip* clip) {
    if (clip) clip->Play(0);
}

uint32_t Clamp(uint32_t value, uint32_t low, uint32_t high) { return std::min(std::max(value, low), high); }

}  // namespace

CZVButton::CZVButton(CZVWindow* parent, CZVRect rect, int clickId, int styleClass)
    : CZVWindow(parent, rect, styleClass),
      m_clickId(clickId),
      m_lastClickTick(platform::GetTickCount()),
      m_pressTick(m_lastClickTick) {
    CZVString pressName = "click1.wav";
    CZVString clickName = "click2.wav";
    if (CSetServer* style = CSetServer::Get()) {
        pressName = style->GetPressSound();
        clickName = style->GetClickSound();
    }
    SetPressSound(pressName);
    SetClickSound(clickName);
    m_repaintOnEnable = 1;
    m_raisedLevel = 1;
}

CZVButton::~CZVButton() {
    if (m_pressed) DropPress();
}

// ---- sounds and icon

void CZVButton::SetPressSound(CZVString name) { m_pressSound = SoundNamed(name); }

void CZVButton::SetClickSound(CZVString name) { m_clickSound = SoundNamed(name); }

void CZVButton::ClearSounds() {
    m_pressSound = nullptr;
    m_clickSound = nullptr;
}

void CZVButton::PlayClickSound() {
    if (CSetServer* style = CSetServer::Get()) Play(SoundNamed(style->GetPressSound()));
}

void CZVButton::SetRepeatTiming(uint16_t initial, uint16_t final, uint16_t delay, uint16_t rampTime) {
    m_initialInterval = initial ? initial : 1;
    m_finalInterval = final ? final : 1;
    m_delay = delay;
    m_rampTime = rampTime;
    m_currentInterval = m_initialInterval;
}

void CZVButton::EnsureIcon() {
    if (!m_icon) m_icon.reset(ButtonIcons().MakeStock(-1, 0));
}

void CZVButton::SetIconKind(int kind, const COLORREF* colour) {
    if (m_icon) ReportAssert(kSource, 224, 1);
    const COLORREF c = colour ? *colour : ScaleColor(0.75, m_faceColor);
    m_icon.reset(ButtonIcons().MakeStock(kind, c));
}

void CZVButton::SetIconName(CZVString name, int layout) {
    if (layout >= 0) m_iconLayout = static_cast<uint8_t>(layout);
    m_icon.reset();
    if (!name.IsEmpty()) m_icon.reset(ButtonIcons().MakeNamed(name));
}

void CZVButton::SetIcon(const CZVIconSpec& spec) {
    if (spec.kind == kNamedIconKind)
        SetIconName(spec.name, -1);
    else
        SetIconKind(spec.kind, spec.colour);
}

void CZVButton::RefreshIcon() {
    if (m_icon) m_icon->Refresh();
}

void CZVButton::SetTouchMargins(int left, int top, int right, int bottom) {
    m_marginLeft = left;
    m_marginTop = top;
    m_marginRight = right;
    m_marginBottom = bottom;
}

// ---- geometry

int CZVButton::HitTest(int x, int y) {
    const int left = ToRootX(0);
    const int top = ToRootY(0);
    return x >= left - m_marginLeft && x <= left + m_width + m_marginRight && y >= top - m_marginTop &&
           y <= top + m_height + m_marginBottom;
}

void CZVButton::GetIconRect(CZVRect* out) {
    const int limit = GetMainWnd() && GetMainWnd()->GetLayoutType() == 2 ? 6 : 10;
    int a = GetMargin() + GetBevel();
    if (a < limit) a = std::min(std::max(a, std::min(m_width, m_height) / 10), limit);
    const CZVRect f(a, a, m_width - 2 * a, m_height - 2 * a);
    const int fs = m_fontSize;
    const int bottom = f.y + f.h - 1;
    auto sideWidth = [fs](int layout) {
        switch (layout) {
        case 2: case 3: return fs + 1;
        case 4: case 5: return 2 * fs + 1;
        case 6: case 8: return 4 * fs + 1;
        default: return 3 * fs / 2 + 1;  // 49, 50
        }
    };
    auto centredRows = [&](int s, CZVRect* r) {
        s = std::min(s, m_height - GetBevel());
        r->y = m_height / 2 - s / 2;
        r->h = std::min(s, bottom - r->y + 1);
    };
    auto lines = [&](int n, int below) {
        const int g = fs + 1;
        const int y0 = f.y + g * below + f.h / 2 - g * n / 2;
        const int top = std::max(y0, f.y);
        return CZVRect(f.x, top, f.w, std::min(bottom + 1, y0 + g * (n - 1)) - top);
    };
    const int layout = m_iconLayout;
    switch (layout) {
    case 1: {
        const int w = std::min(2 * fs, ((m_width + 1) & ~1) - 3 * a / 2);
        const int h = std::min(fs, m_height - 3 * a / 2);
        *out = CZVRect(m_width / 2 - w / 2 + m_iconOffsetX * m_width / 100,
                       m_height / 2 - h / 2 + m_iconOffsetY * m_height / 100, w, h);
        return;
    }
    case 2: case 4: case 6: case 50: {
        const int s = sideWidth(layout);
        *out = CZVRect(f.x + f.w - (s + 1), 0, s + 1, 0);
        centredRows(s, out);
        return;
    }
    case 3: case 5: case 8: case 49: {
        const int s = sideWidth(layout);
        *out = CZVRect(f.x, 0, std::min(f.w, s), 0);
        centredRows(s, out);
        return;
    }
    case 7: *out = CZVRect(f.x + f.w - f.h, f.y, f.h, f.h); return;
    case 9: *out = CZVRect(f.x, f.y, f.h, f.h); return;
    case 16: *out = CZVRect(f.x, f.y + fs + 1, f.w, f.h - fs - 1); return;
    case 17: *out = CZVRect(f.x, f.y, f.w, f.h - fs - 1); return;
    case 20: *out = f.TopPart(f.h / 2); return;
    case 21: *out = f.BottomPart(f.h / 2); return;
    case 22: *out = f.LeftPart(f.w / 2); return;
    case 23: *out = f.RightPart(f.w / 2); return;
    case 24: *out = f.TopPart(f.h / 3); return;
    case 25: *out = f.BottomPart(f.h / 3); return;
    case 32: *out = f.LeftPart(f.w / 3); return;
    case 33: *out = f.RightPart(f.w / 3); return;
    case 34: {
        const int side = std::min(m_height, m_width) * 75 / 100;
        *out = CZVRect(m_width / 2 - side / 2 + m_iconOffsetX * m_width / 100,
                       m_height / 2 - side / 2 + m_iconOffsetY * m_height / 100, side, side);
        return;
    }
    case 35: case 36: case 37: case 38: *out = lines(layout - 33, 0); return;
    case 39: case 40: case 41: *out = lines(layout - 37, 1); return;
    case 48: *out = lines(5, 1); return;
    default: *out = f; return;
    }
}

void CZVButton::GetInnerRect(CZVRect* out) {
    const int m = GetMargin();
    const int bevel = GetBevel();
    int b = bevel / 2;
    if (m) b = std::min(bevel + m / 2, m + (m_height - 2 * m) / 16);
    const int c = b + (bevel < 2 ? 2 : 0);
    *out = CZVRect(c, b, m_width - 2 * c, m_height - 2 * b);
    if (!m_icon) return;
    CZVRect icon;
    GetIconRect(&icon);
    const int right = out->x + out->w;
    const int bottom = out->y + out->h;
    switch (m_iconLayout) {
    case 2: case 4: case 6: case 7: case 23: case 33: case 50: out->w = icon.x - c + 1; break;
    case 3: case 5: case 8: case 9: case 22: case 32: case 49:
        out->x = icon.x + icon.w - 1;
        out->w = right - out->x;
        break;
    case 16: case 21: case 25: case 39: case 40: case 41: case 48: out->h = icon.y - b + 1; break;
    case 17: case 20: case 24: case 35: case 36: case 37: case 38:
        out->y = icon.y + icon.h - 1;
        out->h = bottom - out->y;
        break;
    case 51: {
        const int g = std::clamp(bevel / 2, 1, 4);
        *out = CZVRect(m + g, m + g, 0, 0);
        break;
    }
    default: break;
    }
}

// ---- painting

COLORREF CZVButton::GetPressedTextColor() { return CSetServer::GetPressedShade(m_textColor); }

COLORREF CZVButton::GetDisabledTextColor() { return MixColors(m_faceColor, m_textColor, 0.4); }

int CZVButton::DeferIfBlocked() {
    CMainWndBase* main = GetMainWnd();
    if (!main || !main->IsInputBlocked(this)) return 0;
    m_deferredRepaint = 1;
    return 1;
}

int CZVButton::DrawIcon(CZVDC* dc, COLORREF colour) {
    if (!m_icon) return 0;
    CZVRect rect;
    GetIconRect(&rect);
    m_icon->Draw(GetIconOwner(), dc, rect, colour, !m_enabled);
    return 1;
}

void CZVButton::DrawReleased(CZVDC* dc) {
    dc->BevelBox(m_faceColor, GetBevel() >= GetMargin(), 0, 0, m_width - 1, m_height - 1,
                 std::max(GetBevel(), GetMargin()));
    DrawIcon(dc, m_faceColor);
}

void CZVButton::DrawPressed(CZVDC* dc) {
    const COLORREF shade = CSetServer::GetPressedShade(m_faceColor);
    dc->BevelBox(shade, true, 0, 0, m_width - 1, m_height - 1, GetBevel());
    DrawIcon(dc, shade);
}

void CZVButton::PaintCaption(CZVDC* dc, int pressed, int smooth) {
    if (m_captionHidden || (m_icon && (m_iconLayout == 1 || m_iconLayout == 51))) return;
    if (m_text.IsEmpty()) return;
    const COLORREF colour = pressed ? GetPressedTextColor() : !m_enabled ? GetDisabledTextColor() : m_textColor;
    dc->SetFont(m_fontSize, 0, smooth);
    dc->SetColor(colour);
    CZVRect inner;
    GetInnerRect(&inner);
    const bool multiLine = m_text.Find('\n') >= 0;
    // A line break sets the multi-line bit, which otherwise asks for
    // vertical text; a caption with lines is never turned.
    const bool vertical = (m_flags & 0x8) || ((m_flags & 0x10) && !multiLine);
    if (m_textChanged || m_shownCaption.IsEmpty()) {
        m_shownCaption = multiLine ? m_text : dc->EllipsizeText(m_text, vertical ? inner.h : inner.w);
        m_textChanged = 0;
    }
    if (vertical)
        dc->DrawVerticalText(m_shownCaption, m_fontSize, 0, inner, (m_flags & 0x8) ? 1 : 0, 18);
    else
        dc->DrawText(m_shownCaption, inner, m_textFormat);
}

void CZVButton::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (m_pressed)
        DrawPressed(dc);
    else
        DrawReleased(dc);
    PaintCaption(dc, m_pressed, 0);
}

// ---- touch

int CZVButton::OnLButtonDown(int x, int y, int keys) {
    if (!m_enabled) return CZVWindow::OnLButtonDown(x, y, keys);
    if (m_pressed || !m_shown || !HitTest(x, y)) return 0;
    if (TicksSince(&m_lastClickTick) < kSwallowMs && m_doubleClickId == kNoCommand) return 1;
    Play(m_pressSound);
    if (m_paintPressedOnPress && !DeferIfBlocked()) {
        CZVDC dc(this);
        DrawPressed(&dc);
        PaintCaption(&dc, 1, 0);
    }
    if (m_pressId != kNoCommand) OnCommand(m_pressId);
    if (platform::TabletWindow* native = GetRootHwnd()) native->SetCapture(true);
    m_pressed = 1;
    m_inside = 1;
    const uint32_t now = platform::GetTickCount();
    if (m_autoRepeat) {
        SetTimer(kRepeatTimerMs);
        m_currentInterval = m_initialInterval;
        m_lastRepeatTick = now;
        m_repeatStartTick = now;
    }
    m_pressTick = now;
    return 1;
}

void CZVButton::DropPress() {
    if (GetMainWnd())
        if (platform::TabletWindow* native = GetRootHwnd()) native->SetCapture(false);
    m_pressed = 0;
    m_inside = 0;
    KillTimer();
}

int CZVButton::OnLButtonUp(int x, int y, int keys) {
    if (!m_enabled) {
        // Disabled while held: the press ends here rather than keeping the
        // capture for good.
        if (m_pressed) {
            DropPress();
            return 1;
        }
        return CZVWindow::OnLButtonUp(x, y, keys);
    }
    if (!m_pressed) return 0;
    DropPress();
    if (m_paintPressedOnPress && m_shown && !DeferIfBlocked()) {
        CZVDC dc(this);
        DrawReleased(&dc);
        PaintCaption(&dc, 0, 0);
    }
    const bool flash = (CSetServer::CurrentFlags() & kStyleClickFlash) != 0;
    const bool inside = HitTest(x, y) != 0;
    if (m_releaseId != kNoCommand) {
        if (inside && flash && !(m_lookFlags & kLookNoTouchPaint)) StartHighlight();
        OnCommand(m_releaseId);
        return 1;
    }
    if (!inside) return 0;
    Play(m_clickSound);
    const bool doubleClick = m_doubleClickId != kNoCommand && TicksSince(&m_lastClickTick) < kDoubleClickMs;
    const int id = doubleClick ? m_doubleClickId : m_clickId;
    m_lastClickTick = platform::GetTickCount();
    if (m_autoRepeat && TicksSince(&m_repeatStartTick) >= m_delay) return 1;
    if (flash && m_styleClass != 3 && m_styleClass != 6) StartHighlight();
    OnCommand(id);
    return 1;
}

// ---- auto repeat

bool CZVButton::RepeatDue(int* count) {
    *count = 1;
    const uint32_t sinceLast = TicksSince(&m_lastRepeatTick);
    if (m_rampTime) {
        const uint32_t e = TicksSince(&m_repeatStartTick);
        if (e < m_delay) {
            m_currentInterval = m_initialInterval;
            return false;
        }
        if (e >= static_cast<uint32_t>(m_delay) + m_rampTime) {
            m_currentInterval = m_finalInterval;
            *count = static_cast<int>(Clamp(sinceLast / m_finalInterval, 1, kMaxRepeatCount));
        } else {
            // Interpolated in signed arithmetic and kept between the two
            // intervals, so that a ramp may slow down as well as speed up.
            const int64_t t = e - m_delay;
            const int64_t span = static_cast<int64_t>(m_finalInterval) - m_initialInterval;
            const int64_t interval = m_initialInterval + span * t / m_rampTime;
            m_currentInterval = static_cast<uint16_t>(std::clamp<int64_t>(
                interval, std::min(m_initialInterval, m_finalInterval), std::max(m_initialInterval, m_finalInterval)));
            if (t > static_cast<int64_t>(m_finalInterval) + m_delay)
                *count = static_cast<int>(Clamp(sinceLast / m_currentInterval, 1, kMaxRepeatCount));
        }
    }
    return sinceLast >= m_currentInterval;
}

void CZVButton::OnTimer() {
    if (!m_pressed || !m_autoRepeat) return;
    if (!m_enabled) {
        DropPress();
        return;
    }
    int count = 1;
    if (!RepeatDue(&count)) return;
    m_lastRepeatTick = platform::GetTickCount();
    if (m_parent && !m_parent->OnChildCommand(m_clickId, count)) m_parent->OnCommand(m_clickId);
}
