#include "widgets/gauges/slider.h"

#include <algorithm>
#include <string>

#include "gfx/dibdc.h"
#include "gfx/icon.h"
#include "gfx/skinservices.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kPartStyleClass = 18;

}  // namespace

CZVSlider::CZVSlider(CZVWindow* parent, CZVRect rect, int command, int minimum, int maximum, int thumbRadius,
                     int margin, int sliderFlags)
    : CZVLevelBar(parent, rect, 1, 0),
      m_command(command),
      m_minimum(minimum),
      m_maximum(std::max(maximum, minimum)),
      m_sliderFlags(sliderFlags) {
    m_opaque = 0;
    CZVRect client;
    GetClientRect(&client);
    m_track = std::make_unique<CZV3DButton>(this, client, -1, kPartStyleClass);
    m_trackMargin = margin >= 0 ? margin : std::max(m_track->GetBevel(), m_track->GetMargin());
    const CZVWindow* opaque = GetOpaqueAncestor();
    const COLORREF trackColour = opaque ? const_cast<CZVWindow*>(opaque)->GetFaceColor() : m_faceColor;
    m_track->SetFaceColor(trackColour);
    m_track->SetBackColor(trackColour);
    m_track->SetStyleBit(k3DBaseSurface, 1);
    if (thumbRadius >= 0) m_track->SetCornerRadius(thumbRadius);
    m_track->SetMargin(m_trackMargin);
    m_track->SetBevel(0);

    const int along = IsVertical() ? m_height : m_width;
    const int across = IsVertical() ? m_width : m_height;
    const int thickness = across - 2 * m_trackMargin;
    const int length = std::max(std::min((along - 2 * m_trackMargin) / 4, kMaxThumbLength), thickness);
    const CZVRect thumb = IsVertical() ? CZVRect(0, 0, thickness, length) : CZVRect(0, 0, length, thickness);
    m_thumb = std::make_unique<CZV3DButton>(this, thumb, -1, kPartStyleClass);
    m_thumb->SetBevel(m_trackMargin);
    m_thumb->SetMargin(0);
    m_thumb->SetBackColor(0);
    m_thumb->SetStyleBit(k3DGlow, 1);
    if (thumbRadius >= 0) m_thumb->SetCornerRadius(thumbRadius);
}

CZVSlider::~CZVSlider() = default;

int CZVSlider::GetTrackLength() const {
    if (!m_track || !m_thumb) return IsVertical() ? m_height : m_width;
    return IsVertical() ? m_height - 2 * m_trackMargin - m_thumb->GetHeight()
                        : m_width - 2 * m_trackMargin - m_thumb->GetWidth();
}

int CZVSlider::GetThumbOffset() const {
    const int range = m_maximum - m_minimum;
    if (range <= 0) return m_trackMargin;
    return m_trackMargin + static_cast<int>(int64_t{m_position.value_or(m_minimum) - m_minimum} *
                                            std::max(GetTrackLength(), 0) / range);
}

void CZVSlider::SetPosition(int value, int redraw) {
    if (m_dragging) return;
    value = std::clamp(value, m_minimum, m_maximum);
    const int stored = IsVertical() ? m_maximum - value + m_minimum : value;
    if (stored == m_position) return;
    m_position = stored;
    if (redraw) RedrawBuffered();
}

void CZVSlider::SetRange(int minimum, int maximum) {
    const std::optional<int> value = GetPosition();
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    if (!value) return;
    const int kept = std::clamp(*value, m_minimum, m_maximum);
    m_position = IsVertical() ? m_maximum - kept + m_minimum : kept;
}

std::optional<int> CZVSlider::GetPosition() const {
    if (!m_position || !IsVertical()) return m_position;
    return m_maximum - *m_position + m_minimum;
}

int CZVSlider::Along(int x, int y) {
    ZVPoint p;
    ToLocal(&p, x, y);
    return IsVertical() ? p.y : p.x;
}

int CZVSlider::OnLButtonDown(int x, int y, int) {
    if (!HitTest(x, y) || !m_enabled) return 0;
    const int c = Along(x, y);
    const int offset = GetThumbOffset();
    const int extent = IsVertical() ? m_thumb->GetHeight() : m_thumb->GetWidth();
    if (!m_position || c < offset || c > offset + extent) return 0;
    m_pressCoordinate = c;
    m_pressPosition = *m_position;
    m_dragging = 1;
    RedrawBuffered();
    return 1;
}

int CZVSlider::OnMouseMove(int x, int y, int keys) {
    if (!m_dragging) return 0;
    if (!(keys & 0x1)) {
        OnLButtonUp(x, y, keys);
        return 1;
    }
    const int track = GetTrackLength();
    if (track <= 0) return 1;
    const int64_t moved = int64_t{Along(x, y) - m_pressCoordinate} * (m_maximum - m_minimum) / track;
    const int position = static_cast<int>(std::clamp<int64_t>(moved + m_pressPosition, m_minimum, m_maximum));
    if (position != m_position) {
        m_position = position;
        if (m_parent) m_parent->OnCommand(m_command);
        RedrawBuffered();
    }
    return 1;
}

int CZVSlider::OnLButtonUp(int, int, int) {
    if (!m_dragging) return 0;
    m_dragging = 0;
    if (m_returnPosition) SetPosition(*m_returnPosition, 1);
    RedrawBuffered();
    if (m_parent) m_parent->OnCommand(m_command);
    return 1;
}

void CZVSlider::Enable(int enable, int redraw) {
    if (enable == m_enabled) return;
    m_enabled = enable;
    if (!redraw) return;
    if (m_dragging && m_returnPosition) {
        m_dragging = 0;
        SetPosition(*m_returnPosition, 0);
    }
    CZVDC dc(this);
    OnPaint(&dc);
}

void CZVSlider::FlushImageCache() {
    m_track->FreeImages();
    CZVLevelBar::FlushImageCache();
}

void CZVSlider::SetEndIcons(CZVString left, CZVString right) {
    m_leftIcon.reset(CopyOfCachedIcon(left));
    m_rightIcon.reset(CopyOfCachedIcon(right));
    m_iconsWaited = 0;
}

void CZVSlider::DrawIcon(CZVIcon* icon, CZVDC* dc, CZVRect box) {
    if (!icon) return;
    if (!m_iconsWaited) icon->WaitLoaded();
    icon->Draw(this, dc, m_track->GetFaceColor(), box, m_enabled ? 0 : static_cast<int>(CZVIcon::kDisabled), nullptr);
}

void CZVSlider::OnPaint(CZVDC* dc) {
    m_paintedOnce = 1;
    if (CDibDC* track = m_track->GetNormalImage())
        dc->TransparentBlt(0, 0, track, 0, 0, track->GetRequestedWidth(), track->GetHeight(), 0);
    if (m_position && m_enabled) {
        CDibDC* thumb = m_thumb->GetNormalImage();
        const int offset = GetThumbOffset();
        const int x = IsVertical() ? m_trackMargin : offset;
        const int y = IsVertical() ? offset : m_trackMargin;
        if (thumb && (m_sliderFlags & kSkinnedThumb)) {
            if (!thumb->GetRegion())
                thumb->NewRegion()->AddRoundRect(thumb->GetRequestedWidth(), thumb->GetHeight(), 0,
                                                 m_thumb->GetCornerRadius(), -1);
            Skins().DrawWithSkin(dc, thumb, ToRootX(x), ToRootY(y), x, y, thumb->GetRequestedWidth(),
                                 thumb->GetHeight(), 1);
        } else if (thumb) {
            dc->TransparentBlt(x, y, thumb, 0, 0, thumb->GetRequestedWidth(), thumb->GetHeight(), 0);
        }
    }
    if (IsVertical()) return;
    CZVRect area;
    m_track->GetInnerRect(&area);
    dc->SetFont(m_fontSize, 0, 1);
    dc->SetColor(m_textColor);
    CZVString caption = m_text;
    const std::string text = caption.GetAnsi();
    const size_t tab = text.find('\t');
    if (tab == std::string::npos || tab == 0) {
        dc->DrawText(m_text, area, m_textFormat);
    } else {
        dc->DrawText(CZVString(text.substr(0, tab).c_str()), area, 17);
        dc->DrawText(CZVString(text.substr(tab + 1).c_str()), area, 20);
    }
    const int size = std::min(m_fontSize, m_height / 2 - 1);
    if (size <= 0) return;
    const int top = m_height / 2 - size / 2;
    DrawIcon(m_leftIcon.get(), dc, CZVRect(m_height / 2 - size / 2, top, size, size));
    DrawIcon(m_rightIcon.get(), dc, CZVRect(m_width - m_height / 2 - size / 2, top, size, size));
    m_iconsWaited = 1;
}
