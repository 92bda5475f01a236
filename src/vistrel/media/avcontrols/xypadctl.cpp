#include "vistrel/media/avcontrols/xypadctl.h"

#include <algorithm>
#include <cstdint>

#include "core/messages/mediamessages.h"
#include "gfx/speed.h"
#include "widgets/style/setserver.h"
#include "widgets/window/gateway.h"

namespace {

// percent of size, kept within the reach of any drawing (a gateway's value may be anything).
int PercentOf(int size, int64_t percent) {
    constexpr int64_t kReach = 1 << 20;
    return static_cast<int>(std::clamp<int64_t>(size * percent / 100, -kReach, kReach));
}

constexpr int kPadColumns = 4;
constexpr int kBarColumns = 8;
constexpr int kPadRows = 4;
constexpr double kGridShade = 0.8;
constexpr double kDarkLine = 0.8;
constexpr double kLightLine = 1.25;

}  // namespace

CXYPadCtl::CXYPadCtl(CZVWindow* parent, int source, CZVRect rect, COLORREF marker, int bevelType, int type, int yMode)
    : CZVWindow(parent, rect, kStyleClass), CVideoCapsListener(source), m_type(type), m_yMode(yMode) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    SetTextColor(marker);
    SetBevelType(bevelType);
}

int64_t CXYPadCtl::ShownY() const {
    const int64_t y = m_y;
    switch (m_yMode) {
    case kLowerHalf: return 2 * y;
    case kUpperHalf: return 2 * y - 100;
    default: return y;
    }
}

int CXYPadCtl::SentY(int yp) const {
    switch (m_yMode) {
    case kLowerHalf: return yp / 2;
    case kUpperHalf: return yp / 2 + 50;
    default: return yp;
    }
}

void CXYPadCtl::OnPaint(CZVDC* dc) {
    const int w = m_width, h = m_height;
    const int inset = CSetServer::GetBevelInset(m_bevelType);
    int px = PercentOf(w - 2 * inset, m_x);
    const int py = PercentOf(h - 2 * inset, ShownY());
    if (m_bevelType != 0) dc->BevelBox(m_faceColor, !CSetServer::IsSunkenBevel(m_bevelType), 0, 0, w - 1, h - 1, inset);
    if (m_type == kBarType) {
        px = std::clamp(px, inset + 1, std::max(inset + 1, w - inset - 2));
        // Nothing is lit before the bar reaches past its left edge.
        if (px > inset + 1)
            dc->FillBevelBoxStd(m_textColor, m_textColor, false, inset + 1, inset + 1, px, h - inset - 2, 1);
        PaintGrid(dc, inset);
    } else {
        PaintGrid(dc, inset);
        PaintCrosshair(dc, inset, std::min(px, w - inset - 2), std::min(py, h - inset - 2));
    }
    CZVWindow::OnPaint(dc);
}

void CXYPadCtl::PaintGrid(CZVDC* dc, int inset) {
    const COLORREF grid = ScaleColor(kGridShade, m_faceColor);
    const int columns = m_type == kBarType ? kBarColumns : kPadColumns;
    for (int k = 1; k < columns; ++k) {
        const int x = k * m_width / columns;
        dc->Line(grid, x, inset + 1, x, m_height - inset - 1);
    }
    if (m_type == kBarType) return;
    for (int k = 1; k < kPadRows; ++k) {
        const int y = k * m_height / kPadRows;
        dc->Line(grid, inset + 1, y, m_width - inset - 2, y);
    }
}

void CXYPadCtl::PaintCrosshair(CZVDC* dc, int inset, int px, int py) {
    const int x = std::max(px, inset + 2), y = std::max(py, inset + 2);
    const struct {
        int offset;
        COLORREF colour;
    } lines[] = {{-1, ScaleColor(kDarkLine, m_textColor)}, {1, ScaleColor(kLightLine, m_textColor)}, {0, m_textColor}};
    for (const auto& line : lines) {
        dc->Line(line.colour, inset, y + line.offset, m_width - inset - 1, y + line.offset);
        dc->Line(line.colour, x + line.offset, inset, x + line.offset, m_height - inset - 1);
    }
}

int CXYPadCtl::OnLButtonDown(int x, int y, int keys) {
    const int dx = x - ToRootX(0), dy = y - ToRootY(0);
    if (dx < 0 || dx > m_width || dy < 0 || dy > m_height) return CZVWindow::OnLButtonDown(x, y, keys);
    const int inset = CSetServer::GetBevelInset(m_bevelType);
    const int usableW = m_width - 2 * inset, usableH = m_height - 2 * inset;
    // A pad no larger than its frame has no area to point into.
    if (usableW <= 0 || usableH <= 0) return 1;
    const int xp = std::clamp(dx * 100 / usableW, 0, 100);
    const int yp = std::clamp(dy * 100 / usableH, 0, 100);
    if (m_type == kBarType)
        SendToGateway(ZVM_AV_SETAXIS, {GetSourceKey(), xp});
    else
        SendToGateway(ZVM_AV_SETXY, {GetSourceKey(), xp, SentY(yp)});
    return 1;
}

void CXYPadCtl::OnVideoCaps(int a, int b, int c, int /*d*/) {
    m_x = m_type == kBarType ? c : a;
    m_y = b;
    RedrawBuffered();
}
