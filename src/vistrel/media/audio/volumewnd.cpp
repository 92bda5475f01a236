#include "vistrel/media/audio/volumewnd.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"
#include "platform/clock.h"
#include "vistrel/media/video/pvideo.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kPartClass = 16;
constexpr int kMuteFontSize = 12;
constexpr int kMuteIconLayout = 17;
constexpr int kCompactIconLayout = 51;
constexpr int kKeepIconLayout = -1;
// The style value of the button class that gives the arrows' upper touch margin.
constexpr int kArrowTouchMarginValue = 7;
constexpr int kFitStart = 40;
constexpr uint32_t kRampDelayMs = 250;
constexpr uint32_t kRampBendMs = 2000;
constexpr int kRampAtBend = 45;

// The inside of the gauge lets this much of the highlight through.
constexpr uint8_t kCoverSkinnedWithMargin = 80;
constexpr uint8_t kCoverSkinned = 128;
constexpr uint8_t kCoverPlain = 225;
constexpr COLORREF kOuterMark = 0xFFFFFF;
constexpr COLORREF kInnerMark = 0x808080;

int SkinsOn() { return (CSetServer::CurrentFlags() & kStyleSkins) != 0; }

// under mixed towards over by a / 255, channel by channel.
uint16_t Blend565(uint16_t under, uint16_t over, int a) {
    const auto mix = [a](int u, int o) { return (u * (255 - a) + o * a) / 255; };
    const int r = mix(under >> 11, over >> 11);
    const int g = mix((under >> 5) & 0x3F, (over >> 5) & 0x3F);
    const int b = mix(under & 0x1F, over & 0x1F);
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

void FitAlone(CZVWindow* owner, CZVLabel* label) {
    CCaptionFitter fitter(owner);
    fitter.AddWindow(label);
    fitter.Apply(kFitStart);
}

}  // namespace

int VolumeRampStep(uint32_t t) {
    if (t < kRampDelayMs) return 0;
    if (t <= kRampBendMs) {
        // t x (0.00000875 t + 0.005), in whole numbers.
        const int64_t ms = t;
        return static_cast<int>(ms * (875 * ms + 500000) / 100000000);
    }
    return kRampAtBend + static_cast<int>((int64_t{t} - kRampBendMs) * 4 / 100);
}

// ---- the gauge

CVolumeBar::CVolumeBar(CZVWindow* parent, CZVRect rect, int styleClass, int firstId, int lastId, int vertical)
    : CRockerSwitch(parent, rect, styleClass, firstId, lastId, vertical, 2), m_isVertical(vertical == 1) {}

void CVolumeBar::SetLevel(int level, int redraw) {
    if (level == m_level) return;
    m_level = level;
    // The faces carry the gauge: they are drawn again with the new level.
    for (int i = 0; i < GetSegmentCount(); ++i) GetSegment(i)->FreeImages();
    if (redraw) RedrawBuffered();
}

void CVolumeBar::Paint(CZVDC* dc, int withBackground) {
    if (m_level < 0) return;
    CRockerSwitch::Paint(dc, withBackground);
}

void CVolumeBar::BuildMask() {
    const int w = m_width, h = m_height;
    if (w <= 0 || h <= 0) return;
    CZV3DButton* whole = CreateWholeButton();
    const int r = whole ? whole->GetCornerRadius() : GetCornerRadius();
    const int m = whole ? whole->GetMargin() : GetMargin();
    CDibDC shape(w, h, 0, 0, 0);
    if (!shape.GetBits()) return;
    shape.FillRect(0, 0, 0, w, h, 0);
    shape.FillRoundRect(kOuterMark, 0, 0, w, h, r, 0);
    shape.FillRoundRect(kInnerMark, m + 1, m + 1, w - 2 * m - 2, h - 2 * m - 2, std::max(r - m - 1, 0), 0);
    const uint8_t inside = SkinsOn() ? (m >= 1 ? kCoverSkinnedWithMargin : kCoverSkinned) : kCoverPlain;
    const uint16_t outer = ToRgb565(kOuterMark), inner = ToRgb565(kInnerMark);
    m_mask.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint16_t mark = *shape.GetPixelAddress(x, y);
            m_mask[static_cast<size_t>(y * w + x)] = mark == outer ? 255 : mark == inner ? inside : 0;
        }
}

int CVolumeBar::IsFilled(int x, int y) const {
    if (m_isVertical) return y >= m_height - m_height * m_level / 100;
    return x < m_width * m_level / 100;
}

void CVolumeBar::DecorateSegment(CRockerSwitchButton* segment, CDibDC* face, int) {
    if (m_level < 0 || !face || !face->GetBits()) return;
    if (m_mask.size() != static_cast<size_t>(m_width) * static_cast<size_t>(std::max(m_height, 0))) BuildMask();
    if (m_mask.empty()) return;
    const uint16_t highlight = ToRgb565(kHighlightColor);
    const int w = std::min(segment->GetWidth(), face->GetRequestedWidth());
    const int h = std::min(segment->GetHeight(), face->GetHeight());
    for (int y = 0; y < h; ++y) {
        const int by = segment->GetY() + y;
        if (by < 0 || by >= m_height) continue;
        uint16_t* row = face->GetPixelAddress(0, y);
        for (int x = 0; x < w; ++x) {
            const int bx = segment->GetX() + x;
            if (bx < 0 || bx >= m_width || !IsFilled(bx, by)) continue;
            const uint8_t cover = m_mask[static_cast<size_t>(by * m_width + bx)];
            if (cover) row[x] = Blend565(row[x], highlight, cover);
        }
    }
}

// ---- the bar form's panel

CVolumeBarPanel::CVolumeBarPanel(CZVWindow* parent, CZVRect rect, int styleClass, int compact)
    : CZVWindow(parent, rect, styleClass) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
    CZVRect rest;
    GetClientRect(&rest);
    const int f = GetFontSize();
    if (compact) {
        auto* title = new CZVLabel(this, rest.CutTop(f, 0), "Volume", styleClass);
        AddChild(title);
        FitAlone(this, title);
    }
    m_valueLabel = new CZVLabel(this, rest.CutTop(f * 10 / 6, 0), compact ? "100%" : "Volume 100%", styleClass);
    AddChild(m_valueLabel);
    FitAlone(this, m_valueLabel);
    if (SkinsOn()) m_valueLabel->SetTexture(1);
    m_bar = new CVolumeBar(this, rest, styleClass, -1, -1, compact ? 1 : 0);
    AddChild(m_bar);
}

void CVolumeBarPanel::SetLevel(int value, int muted, int redraw) {
    CZVString text;
    if (muted)
        text = "Mute";
    else
        text.Format(m_bar->IsVertical() ? "%d%%" : "Volume %d%%", value);
    if (CMainWndBase::InputBlockedFor(this)) redraw = 0;
    if (!(m_valueLabel->GetText() == text)) {
        m_valueLabel->SetText(text, nullptr, 0);
        if (redraw) m_valueLabel->RedrawBuffered();
    }
    m_bar->SetLevel(value, redraw);
}

// ---- the control

CVolumeWnd::CVolumeWnd(CZVWindow* parent, CZVRect rect, int styleClass, int commandId, int gap, int muteHeight,
                       int rockerForm, int compact)
    : CZVWindow(parent, rect, styleClass), m_commandId(commandId), m_rockerForm(rockerForm), m_compact(compact) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect rest;
    GetClientRect(&rest);
    if (muteHeight > 0) {
        m_mute = new CZVCheckButton(this, rest.CutBottom(muteHeight, gap), kMuteClicked, kPartClass);
        m_mute->SetFontSize(kMuteFontSize);
        m_mute->SetStyleBit(k3DBaseSurface, 1);
        m_mute->SetText("Mute", nullptr, 0);
        if (m_compact) m_mute->SetIconName("TRANSPORT\\MUSIC_CLOSE_32", kMuteIconLayout);
        AddChild(m_mute);
    }
    if (m_rockerForm) {
        m_rocker = new CRockerSwitch(this, rest, kPartClass, -1, -1, m_compact ? 1 : 0, 2);
        AddChild(m_rocker);
    } else {
        m_barPanel = new CVolumeBarPanel(this, rest, kPartClass, m_compact);
        m_rocker = m_barPanel->GetBar();
        AddChild(m_barPanel);
    }
    if (IsOnBaseSurface()) m_rocker->SetBaseSurfaceLook(1);
    CRockerSwitchButton* down = m_rocker->GetSegment(0);
    CRockerSwitchButton* up = m_rocker->GetSegment(m_rocker->GetSegmentCount() - 1);
    down->SetStyleBit(k3DBaseSurface, 1);
    up->SetStyleBit(k3DBaseSurface, 1);
    down->SetPressIds(kDownPressed, kDownReleased);
    up->SetPressIds(kUpPressed, kUpReleased);
    if (m_compact) {
        up->SetIconName("TRANSPORT\\ICON32_UP_ARROW_GREEN", kCompactIconLayout);
        down->SetIconName("TRANSPORT\\ICON32_DOWN_ARROW_GREEN", kCompactIconLayout);
    } else {
        const int margin = CSetServer::CurrentStyle(kPartClass, kArrowTouchMarginValue);
        for (CRockerSwitchButton* arrow : {up, down}) arrow->SetTouchMargins(0, margin, 0, 0);
        up->SetIconName("TRANSPORT\\ICON32_RIGHT_ARROW_GREEN", kKeepIconLayout);
        down->SetIconName("TRANSPORT\\ICON32_LEFT_ARROW_GREEN", kKeepIconLayout);
    }
    SetValue(0, 0, 0);
    if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(this);
}

CVolumeWnd::~CVolumeWnd() {
    // A control that goes while an arrow is held lets the video run at full speed again.
    if (m_direction != -1) SetVideoThrottle(0);
    ReleaseFocus();
}

void CVolumeWnd::ReleaseFocus() {
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
}

int CVolumeWnd::IsMuted() const { return m_mute && m_mute->GetCheck() ? 1 : 0; }

void CVolumeWnd::SetForwardCommands(int upPressed, int upReleased, int downPressed, int downReleased) {
    m_forward[0] = upPressed;
    m_forward[1] = upReleased;
    m_forward[2] = downPressed;
    m_forward[3] = downReleased;
}

void CVolumeWnd::SetValue(int value, int muted, int redraw) {
    value = std::clamp(value, 0, 100);
    if (m_direction == kUpPressed || m_direction == kDownPressed) {
        m_pending = value;
        m_pendingMuted = muted;
        return;
    }
    redraw = redraw && IsShown();
    m_value = value;
    if (m_barPanel) m_barPanel->SetLevel(value, muted, redraw);
    if (m_mute) m_mute->SetCheck(muted ? 1 : 0, 0, redraw);
}

void CVolumeWnd::Report() {
    if (m_parent) m_parent->OnCommand(m_commandId);
}

void CVolumeWnd::Press(int id) {
    SetValue(std::clamp(m_value + (id == kUpPressed ? 1 : -1), 0, 100), 0, 1);
    Report();
    m_pending = -1;
    m_direction = id;
    m_restart = 1;
    m_pressTick = platform::GetTickCount();
    SetVideoThrottle(1);
    SetTimer(kTimerMs);
}

void CVolumeWnd::Release() {
    const int wasHeld = m_direction != -1;
    m_direction = -1;
    m_restart = 1;
    if (wasHeld) SetVideoThrottle(0);
    KillTimer();
    if (m_pending >= 0) SetValue(m_pending, m_pendingMuted, 1);
    m_pending = -1;
}

int CVolumeWnd::OnCommand(int id) {
    switch (id) {
    case kUpPressed:
    case kDownPressed: Press(id); break;
    case kUpReleased:
    case kDownReleased: Release(); break;
    case kMuteClicked: Report(); break;
    default: break;
    }
    if (m_rockerForm && id >= kUpPressed && id <= kDownReleased) {
        const int forward = m_forward[id - kUpPressed];
        if (forward && m_parent) m_parent->OnCommand(forward);
    }
    return 1;
}

void CVolumeWnd::OnTimer() {
    const uint32_t t = platform::TicksSince(m_pressTick);
    if (t < kRampDelayMs) return;
    if (m_restart) {
        m_rampStart = m_value;
        m_restart = 0;
    }
    const int step = VolumeRampStep(t);
    int value = m_value;
    if (m_direction == kUpPressed)
        value = std::min(100, m_rampStart + step);
    else if (m_direction == kDownPressed)
        value = std::max(0, m_rampStart - step);
    else
        return;
    if (value == m_value) return;
    m_value = value;
    if (!m_barPanel) return;
    m_barPanel->SetLevel(m_value, IsMuted(), IsShown());
    Report();
}

void CVolumeWnd::OnKeyDown(int code, int flags) {
    if (code != kRemoteVolumeUp && code != kRemoteVolumeDown) {
        if (m_parent) m_parent->OnKeyDown(code, flags);
        return;
    }
    const int value = std::clamp(m_value + (code == kRemoteVolumeUp ? kRemoteStep : -kRemoteStep), 0, 100);
    if (value == m_value) return;
    m_value = value;
    if (m_barPanel) m_barPanel->SetLevel(m_value, 0, IsShown());
    Report();
    if (m_parent) m_parent->OnKeyDown(code, flags);
}

void CVolumeWnd::OnKeyUp(int, int) {
    if (m_direction == kDownPressed) OnCommand(kDownReleased);
    if (m_direction == kUpPressed) OnCommand(kUpReleased);
}

void CVolumeWnd::OnShow(int shown) {
    if (shown) {
        if (CMainWndBase* main = GetMainWnd()) main->SetFocusWindow(this);
    } else {
        ReleaseFocus();
    }
}
