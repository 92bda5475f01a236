#include "widgets/lists/alphascrollbar.h"

#include <algorithm>
#include <cstdint>

#include "gfx/dibdc.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kLargestFont = 30;
constexpr int kSmallestTextHeight = 12;
constexpr double kBrightFace = 1.2;
constexpr int kLetterFaceBits = k3DBaseSurface | k3DGlow;
constexpr int kLetterTextFormat = 17;
// Products of two values up to this stay within 32 bits; beyond it the
// mapping is worked out in floating point.
constexpr int kIntegerLimit = 0x3000;
constexpr int kTouchBand = 40;
constexpr int kLitTimerMs = 100;
constexpr uint32_t kGlideDelayMs = 300;
constexpr int kGlideRedrawSteps = 6;
constexpr int kBandBlendLevel = 4;

// a x b / c, truncated; c above 0.
int MulDiv(int a, int b, int c) {
    if (a <= kIntegerLimit && b <= kIntegerLimit) return a * b / c;
    return static_cast<int>(static_cast<double>(a) * b / c);
}

}  // namespace

CAlphaScrollBar::CAlphaScrollBar(CZVWindow* parent, CZVWindow* target, CZVRect rect)
    : CZVScrollBar(parent, target, rect) {
    SetBevel(std::min(GetBevel(), m_width / 3));
    const int a = GetArrowSize();
    m_letterArea = CZVRect(0, a, m_width, std::max(m_height - 2 * a, 0));
    m_pressTick = platform::GetTickCount();
    if (m_width <= 0 || m_letterArea.h <= 0) return;

    const int bevel = GetBevel();
    CCaptionFitter fitter(this);
    fitter.AddCaption(kAlphabet, CZVRect(0, 0, m_letterArea.h - 2 * bevel, m_letterArea.w));
    m_fontSize = fitter.FindFontSize(1, 1, kLargestFont);

    CZVDC dc(this);
    dc.SetFont(m_fontSize, 0, 0);
    const CTextSize strip = dc.GetTextExtent(kAlphabet, kLetters);
    for (int k = 0; k < kLetters; ++k) m_letterSizes[static_cast<size_t>(k)] = dc.GetTextExtent(kAlphabet + k, 1).cx;
    m_textHeight = std::max(std::min(strip.cy, m_letterArea.w - bevel), kSmallestTextHeight);
    m_stripStart = m_letterArea.h / 2 - strip.cx / 2;

    const CZVRect textRect(m_width / 2 - m_textHeight / 2, m_stripStart, m_textHeight, strip.cx);
    m_letters = std::make_unique<CDibDC>(m_width, m_letterArea.h, ToRootX(0), ToRootY(a), 1);
    m_brightLetters = std::make_unique<CDibDC>(m_width, m_letterArea.h, ToRootX(0), ToRootY(a), 1);
    DrawLetters(m_letters.get(), m_fontSize, m_barColor, m_textColor, kAlphabet, textRect);
    DrawLetters(m_brightLetters.get(), m_fontSize, ScaleColor(kBrightFace, m_barColor), m_textColor, kAlphabet,
                textRect);
    m_work = std::make_unique<CDibDC>(m_width, m_letterArea.h, ToRootX(0), ToRootY(a), 0);
}

CAlphaScrollBar::~CAlphaScrollBar() = default;

void CAlphaScrollBar::DrawLetters(CDibDC* image, int fontSize, COLORREF face, COLORREF textColour, CZVString text,
                                  CZVRect textRect) {
    if (!image->GetBits()) return;
    const int a = m_letterArea.y;
    image->SetOrigin(ToRootX(0), ToRootY(0));
    DrawBackgroundRect(image, 0, a, m_width, m_letterArea.h, GetParentOpaqueAncestor());
    image->SetOrigin(ToRootX(0), ToRootY(a));
    {
        CPlainGloss plain;
        CZV3DButton button(this, CZVRect(0, 0, m_width, m_letterArea.h), kNoCommand, m_styleClass);
        button.SetColors(face, m_backColor);
        button.SetBevel(GetBevel());
        button.SetMargin(0);
        button.SetStyleBits(kLetterFaceBits);
        if (CDibDC* faceImage = button.GetNormalImage())
            image->TransparentBlt(0, 0, faceImage, 0, 0, m_width, m_letterArea.h, 0);
    }
    image->SetColor(textColour);
    image->DrawVerticalText(text, fontSize, 0, textRect, 1, kLetterTextFormat);
}

// ---- mapping

int CAlphaScrollBar::RowsBefore(int bucket) const {
    int rows = 0;
    for (int b = 0; b < bucket; ++b) rows += m_letterCounts[static_cast<size_t>(b)];
    return rows;
}

int CAlphaScrollBar::LetterStart(int letter) const {
    int start = 0;
    for (int k = 0; k < letter; ++k) start += m_letterSizes[static_cast<size_t>(k)];
    return start;
}

int CAlphaScrollBar::PositionToOffset(int pos) const {
    // Without rows the band rests at the top.
    if (m_itemTotal <= 0) return 0;
    pos = std::max(pos, 0);
    const int row = MulDiv(pos, m_itemTotal, std::max(m_total, 1));
    int rows = m_letterCounts[0];
    if (row < rows) return 0;
    int offset = 0;
    for (int k = 0; k < kLetters; ++k) {
        const int count = m_letterCounts[static_cast<size_t>(k) + 1];
        const int size = m_letterSizes[static_cast<size_t>(k)];
        if (count > 0 && row < rows + count) return offset + (row - rows) * size / count;
        rows += count;
        offset += size;
    }
    return offset;
}

int CAlphaScrollBar::OffsetToPosition(int offset) const {
    if (m_itemTotal <= 0) return 0;
    if (offset == GetBandMax()) return m_total - m_page;
    for (int k = 0; k < kLetters; ++k) {
        const int size = m_letterSizes[static_cast<size_t>(k)];
        const int start = LetterStart(k);
        if (size <= 0 || offset < start || offset >= start + size) continue;
        const unsigned into = static_cast<unsigned>(offset - start);
        const unsigned count = static_cast<unsigned>(m_letterCounts[static_cast<size_t>(k) + 1]);
        const int row = RowsBefore(k + 1) + static_cast<int>(into * count / static_cast<unsigned>(size));
        return MulDiv(row, m_total, m_itemTotal);
    }
    return m_total - m_page;
}

int CAlphaScrollBar::GetBandMax() const { return std::max(PositionToOffset(m_total - m_page), 0); }

int CAlphaScrollBar::BandLength() const { return PositionToOffset(m_position + m_page) - PositionToOffset(m_position); }

void CAlphaScrollBar::SetLetterCounts(const int counts[kBuckets]) {
    m_itemTotal = 0;
    for (int b = 0; b < kBuckets; ++b) {
        m_letterCounts[static_cast<size_t>(b)] = std::max(counts[b], 0);
        m_itemTotal += m_letterCounts[static_cast<size_t>(b)];
    }
    if (m_paintedOnce) {
        m_position = -1;
        ScrollTo(-1);
    }
}

// ---- position

void CAlphaScrollBar::PlaceBand() {
    m_bandOffset = PositionToOffset(m_position);
    m_bandLength = BandLength();
}

void CAlphaScrollBar::SetPosition(int pos, int redraw) {
    pos = Clamp(pos);
    if (pos == m_position) return;
    m_position = pos;
    if (!redraw || CMainWndBase::InputBlockedFor(this)) return;
    PlaceBand();
    CZVDC dc(this);
    DrawStrip(&dc);
}

void CAlphaScrollBar::ScrollTo(int pos) {
    pos = Clamp(pos);
    if (pos == m_position) return;
    m_position = pos;
    PlaceBand();
    {
        CZVDC dc(this);
        DrawStrip(&dc);
    }
    if (m_target) {
        CZVDC dc(m_target);
        m_target->OnScroll(&dc, m_position);
    }
}

// ---- drawing

void CAlphaScrollBar::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (m_dragMode == kNone) PlaceBand();
    DrawStrip(dc);
}

void CAlphaScrollBar::DrawStrip(CZVDC* dc) { ComposeStrip(dc, m_dragMode == kThumb); }

void CAlphaScrollBar::ComposeStrip(CZVDC* dc, bool bright) {
    if (!m_shown || !m_work || !m_work->GetBits()) return;
    CDibDC* letters = bright ? m_brightLetters.get() : m_letters.get();
    if (!letters || !letters->GetBits()) return;
    const int height = m_work->GetHeight();
    m_work->BitBlt(0, 0, letters, 0, 0, m_width, height);
    const int top = std::clamp(m_bandOffset + m_stripStart, 0, height - 1);
    const int bottom = std::clamp(m_bandOffset + m_stripStart + m_bandLength, top + 1, height);
    const int across = std::min(m_textHeight, m_width);
    CDibDC band(across, bottom - top, 0, 0, 0);
    if (band.GetBits()) {
        CSetServer* style = CSetServer::Get();
        band.FillRect(style ? style->GetSelectionColor() : kHighlightColor, 0, 0, across, bottom - top, 0);
        m_work->BlendAll(&band, m_width / 2 - across / 2, top, kBandBlendLevel);
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    dc->BitBlt(0, m_letterArea.y, m_work.get(), 0, 0, m_width, height);
}

// ---- touch

int CAlphaScrollBar::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown || !HitTest(x, y)) return 0;
    ZVPoint p;
    ToLocal(&p, x, y);
    const int areaTop = m_letterArea.y;
    const int areaBottom = m_letterArea.y + m_letterArea.h;
    if (p.y <= m_width || p.y >= m_height - m_width || p.y < areaTop || p.y >= areaBottom)
        return CZVWindow::OnLButtonDown(x, y, keys);
    const int l = m_bandOffset + m_stripStart + areaTop;
    const int m = l + m_bandLength;
    int from = l, to = m;
    if (m_bandLength < kTouchBand) {
        const int c = (l + m) / 2;
        from = std::max(c - kTouchBand / 2, areaTop);
        to = std::min(c + kTouchBand / 2, areaBottom);
    }
    m_pressY = p.y;
    CZVDC dc(this);
    if (from <= p.y && p.y <= to) {
        m_dragMode = kThumb;
        m_dragStartOffset = m_bandOffset;
        DrawStrip(&dc);
        return 1;
    }
    // The letters between the finger's end of the strip and the band light up.
    m_dragMode = p.y < from ? kPageUp : kPageDown;
    if (m_dragMode == kPageUp)
        dc.PushClipBounds(0, areaTop, m_width - 1, l + m_bandLength);
    else
        dc.PushClipBounds(0, l, m_width - 1, areaBottom - 1);
    ComposeStrip(&dc, true);
    dc.PopClip();
    SetTimer(kLitTimerMs);
    m_pressTick = platform::GetTickCount();
    return 1;
}

void CAlphaScrollBar::OnTimer() {
    if (m_dragMode != kPageUp && m_dragMode != kPageDown) {
        CZVScrollBar::OnTimer();
        return;
    }
    if (TicksSince(&m_pressTick) < kGlideDelayMs) return;
    GlideToFinger();
}

void CAlphaScrollBar::GlideToFinger() {
    KillTimer();
    const int target = m_pressY - m_stripStart - m_letterArea.y;
    const int direction = target < m_bandOffset + m_bandLength / 2 ? -1 : 1;
    const int bandMax = GetBandMax();
    CZVDC dc(this);
    for (int steps = 1;; ++steps) {
        const int centre = m_bandOffset + m_bandLength / 2;
        if (direction < 0 ? centre <= target || m_bandOffset <= 0 : centre >= target || m_bandOffset >= bandMax) break;
        m_bandOffset += direction;
        m_position = Clamp(OffsetToPosition(m_bandOffset));
        m_bandLength = BandLength();
        if (steps % kGlideRedrawSteps == 0) DrawStrip(&dc);
    }
    if (m_target) {
        CZVDC targetDc(m_target);
        m_target->OnScroll(&targetDc, m_position);
    }
    m_dragStartOffset = m_bandOffset;
    m_dragMode = kThumb;
    DrawStrip(&dc);
}

int CAlphaScrollBar::OnMouseMove(int x, int y, int keys) {
    if (m_dragMode != kThumb) return 0;
    if (keys == 0) {
        OnLButtonUp(x, y, keys);
        return 1;
    }
    ZVPoint p;
    ToLocal(&p, x, y);
    m_bandOffset = std::clamp(m_dragStartOffset + (p.y - m_pressY), 0, GetBandMax());
    m_position = Clamp(OffsetToPosition(m_bandOffset));
    m_bandLength = BandLength();
    {
        CZVDC dc(this);
        DrawStrip(&dc);
    }
    if (m_target) {
        CZVDC dc(m_target);
        m_target->OnScroll(&dc, m_position);
    }
    return 1;
}

int CAlphaScrollBar::OnLButtonUp(int x, int y, int keys) {
    KillTimer();
    const int mode = m_dragMode;
    m_dragMode = kNone;
    switch (mode) {
    case kNone: return CZVWindow::OnLButtonUp(x, y, keys);
    case kPageUp: ScrollTo(std::max(0, m_position - (m_page - m_step))); break;
    case kPageDown: ScrollTo(std::min(m_total - m_page, m_position + m_page - m_step)); break;
    default: break;
    }
    // The lit letters and the bright band go back to rest.
    CZVDC dc(this);
    DrawStrip(&dc);
    return 1;
}
