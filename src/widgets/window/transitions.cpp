// The blocking transitions of CZVWindow: slides that move a band of the
// window's screen pixels and draw only the stripe that opens, and the morph
// that moves the edges of a rectangle. Each runs on the tick clock and holds
// the main thread until it is done.
#include <algorithm>
#include <cstdlib>

#include "gfx/dibdc.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/zvwindow.h"

namespace {

// While set, buttons keep drawing blended (the no-blend setting is ignored).
class OffscreenPaint {
public:
    OffscreenPaint() : m_main(GetMainWnd()) {
        if (m_main) m_main->SetOffscreenPaint(1);
    }
    ~OffscreenPaint() {
        if (m_main) m_main->SetOffscreenPaint(0);
    }
    OffscreenPaint(const OffscreenPaint&) = delete;
    OffscreenPaint& operator=(const OffscreenPaint&) = delete;

private:
    CMainWndBase* m_main;
};

// The distance covered after t of duration ms (64-bit so that long slides
// cannot overflow). Easing 0 speeds up, then slows down; 1 only speeds up;
// 2 only slows down.
int64_t EasedPosition(int64_t distance, int64_t duration, int64_t t, int easing) {
    t = std::min(t, duration);
    int64_t k = distance * 400000 / (duration * duration);
    if (easing != 0) k /= 2;
    const int64_t rest = duration - t;
    if (easing == 1) return std::min(distance, t * t * k / 200000);
    if (easing == 2 || t >= duration / 2) return t >= duration ? distance : distance - rest * rest * k / 200000;
    return t * t * k / 200000;
}

int Progress(int64_t duration, int64_t t) {
    if (t >= duration) return 1000;
    return static_cast<int>(std::min<int64_t>(1000, EasedPosition(1000, duration, t, 0)));
}

// The band a slide moves: the window less its insets, the side insets held
// inside the window.
CZVRect SlideBand(int width, int height, int* leftInset, int* rightInset, int topInset, int bottomInset) {
    *leftInset = std::clamp(*leftInset, 0, width);
    *rightInset = std::clamp(*rightInset, 0, width);
    return CZVRect(*leftInset, topInset, width - *leftInset - *rightInset, height - topInset - bottomInset);
}

// Moves a slide of distance pixels along on the tick clock: each step gets
// how far to move now and how far it had moved before.
template <typename Step>
void RunSlide(int distance, unsigned duration, int easing, Step step) {
    const uint32_t start = platform::GetTickCount();
    int moved = 0;
    while (moved < distance) {
        const int64_t t = TicksSince(&start);
        const int position = static_cast<int>(EasedPosition(distance, duration, t, easing));
        const int now = std::clamp(position - moved, 0, distance - moved);
        if (now == 0) {
            platform::Sleep(1);
            continue;
        }
        step(now, moved);
        moved += now;
    }
}

}  // namespace

void CZVWindow::ShiftBand(CZVDC* dc, CZVRect band, int dx, int dy) {
    dc->ScrollArea(band.x, band.y, band.w, band.h, dx, dy);
}

void CZVWindow::SlideHorizontal(int distance, unsigned duration, CDibDC* incoming, int leftInset, int rightInset,
                                int topInset, int bottomInset) {
    if (distance == 0 || duration == 0) return;
    const CZVRect band = SlideBand(m_width, m_height, &leftInset, &rightInset, topInset, bottomInset);
    const int d = std::abs(distance);
    OffscreenPaint offscreen;
    CZVDC dc(this);
    RunSlide(d, duration, 0, [&](int step, int moved) {
        if (distance > 0) {
            ShiftBand(&dc, band, step, 0);
            if (incoming)
                dc.BitBlt(band.x, band.y, incoming, incoming->GetRequestedWidth() - step - moved - rightInset, topInset,
                          step, band.h);
        } else {
            ShiftBand(&dc, band, -step, 0);
            if (incoming)
                dc.BitBlt(m_width - step - rightInset, band.y, incoming, leftInset + moved, topInset, step, band.h);
        }
    });
}

void CZVWindow::SlideVertical(int distance, unsigned duration, CDibDC* incoming, int leftInset, int rightInset,
                              int topInset, int bottomInset, CSlideCallback* callback, int callbackArgument,
                              int easing) {
    if (distance == 0 || duration == 0) return;
    const CZVRect band = SlideBand(m_width, m_height, &leftInset, &rightInset, topInset, bottomInset);
    const int d = std::abs(distance);
    OffscreenPaint offscreen;
    CZVDC dc(this);
    RunSlide(d, duration, easing, [&](int step, int moved) {
        if (distance > 0) {
            ShiftBand(&dc, band, 0, step);
            if (incoming)
                dc.BitBlt(band.x, band.y, incoming, leftInset, incoming->GetHeight() - step - moved, band.w, step);
        } else {
            ShiftBand(&dc, band, 0, -step);
            if (incoming) dc.BitBlt(band.x, m_height - step - bottomInset, incoming, leftInset, moved, band.w, step);
        }
        if (callback) {
            callback->OnSlideStep(&dc, moved + step, d, callbackArgument);
            dc.SetOrigin(ToRootX(0), ToRootY(0));
        }
    });
}

int CZVWindow::ScrollContents(CZVDC* dc, CDibDC* image, CZVRect band, int progress, int amountX, int amountY,
                              int previousOffset, int side) {
    if (progress > 1000) {
        ReportAssert("zvwindow", 2766, 1);
        progress = 1000;
    }
    const bool horizontal = amountX != 0;
    const int amount = horizontal ? amountX : amountY;
    const int offset = amount * progress / 1000;
    const int delta = offset - previousOffset;
    if (delta == 0) return offset;
    const int start = horizontal ? band.x : band.y;
    const int end = start + (horizontal ? band.w : band.h);
    // The pixels between the border and the edge move with the edge; the
    // stripe that opens (behind the edge, or at the border when the edge
    // moves away from it) shows the image at the same place.
    int areaFrom, areaTo, stripeFrom, stripeTo;
    if (side == 0) {
        const int edge = end + previousOffset;
        areaFrom = start;
        areaTo = std::max(edge, edge + delta);
        stripeFrom = delta < 0 ? edge + delta : start;
        stripeTo = delta < 0 ? edge : start + delta;
    } else {
        const int edge = start + previousOffset;
        areaFrom = std::min(edge, edge + delta);
        areaTo = end;
        stripeFrom = delta > 0 ? edge : end + delta;
        stripeTo = delta > 0 ? edge + delta : end;
    }
    const int limit = horizontal ? m_width : m_height;
    areaFrom = std::clamp(areaFrom, 0, limit);
    areaTo = std::clamp(areaTo, 0, limit);
    stripeFrom = std::clamp(stripeFrom, 0, limit);
    stripeTo = std::clamp(stripeTo, 0, limit);
    if (horizontal) {
        dc->ScrollArea(areaFrom, band.y, areaTo - areaFrom, band.h, delta, 0);
        if (image) dc->BitBlt(stripeFrom, band.y, image, stripeFrom, band.y, stripeTo - stripeFrom, band.h);
    } else {
        dc->ScrollArea(band.x, areaFrom, band.w, areaTo - areaFrom, 0, delta);
        if (image) dc->BitBlt(band.x, stripeFrom, image, band.x, stripeFrom, band.w, stripeTo - stripeFrom);
    }
    return offset;
}

void CZVWindow::MorphTransition(int duration, CZVRect from, CZVRect to, CDibDC* image, int reverse) {
    if (duration <= 0) return;
    const bool horizontal = from.h == to.h;
    int first = horizontal ? to.x - from.x : to.y - from.y;
    int second = horizontal ? (to.x + to.w) - (from.x + from.w) : (to.y + to.h) - (from.y + from.h);
    if (reverse) {
        first = -first;
        second = -second;
    }
    // The bands between each moving edge and its border, where the edges start.
    const CZVRect at = reverse ? to : from;
    const CZVRect firstBand = horizontal ? CZVRect(0, 0, at.x, m_height) : CZVRect(0, 0, m_width, at.y);
    const CZVRect secondBand = horizontal ? CZVRect(at.x + at.w, 0, m_width - at.x - at.w, m_height)
                                          : CZVRect(0, at.y + at.h, m_width, m_height - at.y - at.h);
    OffscreenPaint offscreen;
    CZVDC dc(this);
    const uint32_t start = platform::GetTickCount();
    int firstOffset = 0;
    int secondOffset = 0;
    for (;;) {
        const int progress = Progress(duration, TicksSince(&start));
        const int a = ScrollContents(&dc, image, firstBand, progress, horizontal ? first : 0, horizontal ? 0 : first,
                                     firstOffset, 0);
        const int b = ScrollContents(&dc, image, secondBand, progress, horizontal ? second : 0, horizontal ? 0 : second,
                                     secondOffset, 1);
        const bool movedNothing = a == firstOffset && b == secondOffset;
        firstOffset = a;
        secondOffset = b;
        if (progress >= 1000) break;
        if (movedNothing) platform::Sleep(1);
    }
}
