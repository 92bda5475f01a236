#include "widgets/lists/scrollbar.h"

#include <algorithm>
#include <cstdlib>

#include "gfx/dibdc.h"
#include "gfx/skinservices.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"
#include "widgets/buttons/zv3dbutton.h"

namespace {

constexpr int kMinThumb = 40;
constexpr int kPagingTimerMs = 100;
constexpr uint32_t kPagingDelayMs = 250;
constexpr int kDragThreshold = 2;
constexpr int kArrowShadeDepth = 75;

}  // namespace

CPlainGloss::CPlainGloss() : m_style(CSetServer::Get()), m_flags(m_style ? m_style->GetFlags() : 0) {
    if (m_style) m_style->SetFlags(m_flags & ~kStyleGloss);
}

CPlainGloss::~CPlainGloss() {
    if (m_style) m_style->SetFlags(m_flags);
}

CZVWindow* MakeScrollBar(CZVWindow* parent, CZVWindow* target, CZVRect rect) {
    return new CZVScrollBar(parent, target, rect);
}

CZVScrollBar::CZVScrollBar(CZVWindow* parent, CZVWindow* target, CZVRect rect)
    : CZVWindow(parent, rect, 13),
      m_target(target),
      m_barColor(m_faceColor),
      m_trackColor(MixColors(parent ? parent->GetFaceColor() : 0, m_faceColor, 0.25)),
      m_pressTick(platform::GetTickCount()) {
    m_radius = std::min(m_radius, m_width / 2);
    m_radius = std::min(m_radius, m_height / 3);
    Layout();
}

// The arrows go with the children.
CZVScrollBar::~CZVScrollBar() {
    m_trackButton.reset();
    m_thumbButton.reset();
}

int CZVScrollBar::GetArrowSize() const { return std::min(m_width, m_height / 3); }

int CZVScrollBar::Clamp(int pos) const {
    pos = std::max(pos, 0);
    return std::min(pos, m_total - m_page);
}

void CZVScrollBar::SetRange(int page, int total) {
    m_page = page;
    m_total = total;
    m_position = std::min(m_position, total - page);
    Layout();
}

void CZVScrollBar::Layout() {
    m_trackButton.reset();
    m_thumbButton.reset();
    const int a = GetArrowSize();
    // An arrow that exists is moved, never rebuilt: the range changes while
    // a finger holds an arrow (the target lays itself out as it scrolls),
    // and the held button must outlive its own press.
    m_upArrow = PlaceArrow(m_upArrow, CZVRect(0, 0, m_width, a), "TRANSPORT\\ICON32UP", kScrollUpId);
    m_downArrow = PlaceArrow(m_downArrow, CZVRect(0, m_height - a, m_width, a), "TRANSPORT\\ICON32DOWN", kScrollDownId);
}

CZV3DButton* CZVScrollBar::PlaceArrow(CZV3DButton* arrow, CZVRect rect, const char* icon, int id) {
    if (arrow) {
        if (arrow->GetWidth() != rect.w || arrow->GetHeight() != rect.h) arrow->FreeImages();
        arrow->SetRect(rect);
    } else {
        arrow = AddIconButton(rect, id, m_styleClass, icon, 1);
    }
    StyleArrowButton(arrow, id);
    return arrow;
}

void CZVScrollBar::StyleArrowButton(CZV3DButton* button, int id) {
    button->SetFaceColor(m_barColor);
    button->SetBackColor(m_parent ? m_parent->GetFaceColor() : 0);
    button->SetAutoRepeat(1);
    // The arrow steps on its press; its release ends in the bar.
    button->SetPressIds(id, kScrollReleaseId);
    button->SetRepeatTiming(50, 10, 250, 500);
    button->SetFontSize(button->GetWidth() / 2);
    button->SetIconLayout(1);
    button->SetBevel(std::min(button->GetBevel(), button->GetWidth() / 4));
    button->SetMargin(0);
    button->SetShadeDepth(kArrowShadeDepth);
}

// ---- drawing

void CZVScrollBar::EnsureFaces() {
    const int a = GetArrowSize();
    const int total = std::max(m_total, 1);
    if (!m_thumbButton) {
        m_trackLength = m_height - 2 * a;
        int thumb = static_cast<int>(m_trackLength * (static_cast<double>(m_page) / total));
        if (thumb < kMinThumb) {
            m_trackLength += thumb - kMinThumb;
            thumb = kMinThumb;
        }
        m_thumbButton = std::make_unique<CZV3DButton>(this, CZVRect(0, 0, m_width, thumb), kNoCommand, m_styleClass);
        StyleArrowButton(m_thumbButton.get(), kNoCommand);
        m_thumbButton->SetColors(m_barColor, 0);
        m_thumbButton->SetStyleBit(k3DGlow, 1);
        if (m_trackButton && m_trackButton->GetCornerRadius() != m_thumbButton->GetCornerRadius())
            m_trackButton.reset();
    }
    if (!m_trackButton) {
        m_trackButton = std::make_unique<CZV3DButton>(this, CZVRect(0, 0, m_width, m_height - 2 * a), kNoCommand,
                                                       m_styleClass);
        StyleArrowButton(m_trackButton.get(), kNoCommand);
        m_trackButton->SetCornerRadius(m_thumbButton->GetCornerRadius());
        m_trackButton->SetColors(m_trackColor, m_parent ? m_parent->GetFaceColor() : 0);
    }
    PlaceThumb();
}

void CZVScrollBar::PlaceThumb() {
    if (!m_thumbButton) return;
    const double total = std::max(m_total, 1);
    m_thumbTop = static_cast<int>(m_trackLength / total * m_position) + GetArrowSize();
    m_thumbBottom = m_thumbTop + m_thumbButton->GetHeight();
}

void CZVScrollBar::Draw(CZVDC* dc) {
    CPlainGloss plain;
    EnsureFaces();
    const int a = GetArrowSize();
    CDibDC* track = m_trackButton->GetNormalImage();
    CDibDC* thumb = m_dragMode == kThumb ? m_thumbButton->GetPressedImage() : m_thumbButton->GetNormalImage();
    if (!track || !thumb) return;
    if (m_trackButton->IsSkinned() && m_trackButton->IsOnBaseSurface()) {
        std::unique_ptr<CDibDC> copy(track->Clone());
        if (!copy) return;
        copy->TransparentBlt(0, m_thumbTop - a, thumb, 0, 0, thumb->GetRequestedWidth(), thumb->GetHeight(), 0);
        Skins().DrawImage(dc, copy.get(), 0, a, copy->GetRequestedWidth(), copy->GetHeight(), 0);
        return;
    }
    dc->BitBltAll(track, 0, a);
    Skins().DrawImage(dc, thumb, 0, m_thumbTop, thumb->GetRequestedWidth(), thumb->GetHeight(), 0);
}

void CZVScrollBar::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    Draw(dc);
}

// ---- position

void CZVScrollBar::SetPosition(int pos, int redraw) {
    pos = Clamp(pos);
    if (pos == m_position) {
        if (!m_paintedOnce && redraw && !CMainWndBase::InputBlockedFor(this)) RedrawBuffered();
        return;
    }
    m_position = pos;
    PlaceThumb();
    if (redraw && !CMainWndBase::InputBlockedFor(this)) RedrawBuffered();
}

void CZVScrollBar::ScrollTo(int pos) {
    pos = Clamp(pos);
    if (pos == m_position) return;
    m_position = pos;
    PlaceThumb();
    RedrawBuffered();
    if (m_target) {
        CZVDC dc(m_target);
        m_target->OnScroll(&dc, m_position);
    }
}

int CZVScrollBar::OnChildCommand(int id, int count) {
    const int steps = count & 0xFFFF;
    if (id == kScrollUpId) {
        ScrollTo(m_position - steps * m_step);
        return 1;
    }
    if (id == kScrollDownId) {
        ScrollTo(m_position + steps * m_step);
        return 1;
    }
    return id == kScrollReleaseId;
}

// ---- touch

int CZVScrollBar::InUpperTrack(int, int y) const { return GetArrowSize() < y && y < m_thumbTop; }

int CZVScrollBar::InLowerTrack(int, int y) const { return m_thumbBottom < y && y < m_height - GetArrowSize(); }

int CZVScrollBar::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown || !HitTest(x, y)) return 0;
    const int a = GetArrowSize();
    ZVPoint p;
    ToLocal(&p, x, y);
    if (p.y < a || p.y > m_height - a) return CZVWindow::OnLButtonDown(x, y, keys);
    CZVDC dc(this);
    EnsureFaces();
    if (m_thumbTop < p.y && p.y < m_thumbBottom) {
        m_dragMode = kThumb;
        Draw(&dc);
        m_dragStartPosition = m_position;
    } else if (InUpperTrack(p.x, p.y)) {
        m_dragMode = kPageUp;
    } else if (InLowerTrack(p.x, p.y)) {
        m_dragMode = kPageDown;
    }
    if (m_dragMode != kNone && m_target) m_target->OnScrollFade(1);
    m_pressY = p.y;
    m_lastDragY = p.y;
    if (m_dragMode == kPageUp || m_dragMode == kPageDown) StartPaging();
    return 1;
}

void CZVScrollBar::StartPaging() {
    m_pressTick = platform::GetTickCount();
    SetTimer(kPagingTimerMs);
    StepPage();
}

void CZVScrollBar::StepPage() {
    int delta = 0;
    if (m_dragMode == kPageUp && m_thumbTop >= m_pressY)
        delta = m_step - m_page;
    else if (m_dragMode == kPageDown && m_pressY >= m_thumbBottom)
        delta = m_page - m_step;
    else
        KillTimer();
    if (delta) ScrollTo(m_position + delta);
}

void CZVScrollBar::OnTimer() {
    if (TicksSince(&m_pressTick) >= kPagingDelayMs) StepPage();
}

int CZVScrollBar::OnMouseMove(int x, int y, int keys) {
    if (m_dragMode != kThumb) return 0;
    if (keys == 0) {
        if (m_target) m_target->OnScrollFade(0);
        OnLButtonUp(x, y, keys);
        return 1;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    if (std::abs(p.y - m_lastDragY) < kDragThreshold) return 0;
    m_lastDragY = p.y;
    const int track = std::max(m_trackLength, 1);
    ScrollTo(static_cast<int>(static_cast<double>(m_total) / track * (p.y - m_pressY)) + m_dragStartPosition);
    return 1;
}

int CZVScrollBar::OnLButtonUp(int x, int y, int keys) {
    KillTimer();
    if (m_dragMode == kNone) return CZVWindow::OnLButtonUp(x, y, keys);
    if (m_target) m_target->OnScrollFade(0);
    if (m_dragMode == kThumb) {
        m_dragMode = kNone;
        CZVDC dc(this);
        Draw(&dc);
    }
    m_dragMode = kNone;
    return 1;
}
