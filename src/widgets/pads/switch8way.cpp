#include "widgets/pads/switch8way.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "gfx/speed.h"
#include "platform/report.h"
#include "widgets/buttons/cornerbtn.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"

namespace {

constexpr const char* kSource = "switch8way";
constexpr int kSwitchStyleClass = 17;
constexpr int kPlainStyleClass = 100;
constexpr int kPartStyleClass = 18;
constexpr int kPartDepth = 25;
constexpr int kGlossRim = 0x2;
constexpr int kGlossWave = 0x4;

struct CornerPart {
    int kind;
    int slot;
    const char* icon;
    int offsetX, offsetY;
};

constexpr CornerPart kCorners[4] = {
    {5, kSwitchRewind, "TRANSPORT\\ICON32REW", -15, -25},
    {6, kSwitchFastForward, "TRANSPORT\\ICON32FFW", 15, -25},
    {4, kSwitchSkipBack, "TRANSPORT\\ICON32SKIPB", -15, 25},
    {7, kSwitchSkipForward, "TRANSPORT\\ICON32SKIPF", 15, 25},
};

struct ArrowPart {
    const char* icon;
    int offsetX, offsetY;
};

// Indexed by the clip direction: 0 down, 1 up, 2 right, 3 left.
constexpr ArrowPart kArrows[4] = {
    {"TRANSPORT\\ICON32DOWN", 0, 10},
    {"TRANSPORT\\ICON32UP", 0, -10},
    {"TRANSPORT\\ICON32RIGHT", 10, 0},
    {"TRANSPORT\\ICON32LEFT", -10, 0},
};
constexpr int kArrowSlot[4] = {kSwitchDown, kSwitchUp, kSwitchRight, kSwitchLeft};

bool IsLight(COLORREF c) { return ColorRed(c) + ColorGreen(c) + ColorBlue(c) > 400; }

// An RGB565 pixel with its channels halved, or doubled up to their maxima.
uint16_t ScalePixel(uint16_t p, bool halve) {
    int r = p >> 11, g = (p >> 5) & 63, b = p & 31;
    if (halve) {
        r /= 2, g /= 2, b /= 2;
    } else {
        r = std::min(r * 2, 31), g = std::min(g * 2, 63), b = std::min(b * 2, 31);
    }
    return static_cast<uint16_t>(r << 11 | g << 5 | b);
}

// Copies every non-zero pixel of the image onto the surface at (x, y).
void CopyOpaque(CDibDC* target, CDibDC* image, int x, int y) {
    if (!image) return;
    for (int row = 0; row < image->GetHeight(); ++row)
        for (int col = 0; col < image->GetRequestedWidth(); ++col) {
            const uint16_t p = *image->GetPixelAddress(col, row);
            if (p && x + col >= 0 && y + row >= 0 && x + col < target->GetRequestedWidth() && y + row < target->GetHeight())
                *target->GetPixelAddress(x + col, y + row) = p;
        }
}

// A round button's normal face, rendered off the tree.
void PaintRoundButton(CDibDC* target, CZVRect rect, COLORREF face, COLORREF back, int margin, int bevel, int radius) {
    CZV3DButton button(nullptr, CZVRect(0, 0, rect.w, rect.h), kNoCommand, kPartStyleClass);
    button.SetColors(face, back);
    button.SetShape(radius, bevel, margin);
    button.SetStyleBit(k3DSkinned, 1);
    button.SetShadeDepth(kPartDepth);
    CopyOpaque(target, button.GetNormalImage(), rect.x, rect.y);
}

// An arrow wedge of the pad: its faces are supplied, cut from the pad.
class CSwitch8WayButton : public CZV3DButton {
public:
    using CZV3DButton::CZV3DButton;
    void TakeFaces(CDibDC* normal, CDibDC* pressed) {
        SetNormalImage(normal, 0, 0, m_width, m_height);
        SetPressedImage(pressed, 0, 0, m_width, m_height);
    }
};

}  // namespace

CSwitch8Way::CSwitch8Way(CZVWindow* parent, CZVRect rect, COLORREF textColour, COLORREF partColour, int ringBevel,
                         int extraGap, int fontSize, const int* commands, int flags)
    : CZVWindow(parent, rect, flags & kSwitchNoCorners ? kPlainStyleClass : kSwitchStyleClass),
      m_flags(flags),
      m_extraGap(extraGap),
      m_partFontSize(fontSize) {
    std::copy(commands, commands + kSwitchCommands, m_commands);
    CSetServer* style = CSetServer::Get();
    m_partColour = partColour ? partColour : (style ? style->GetStyleColor(kSwitchStyleClass, 0) : 0);
    m_ringBevel = ringBevel ? ringBevel : GetBevel();
    m_bevel = m_ringBevel;
    m_margin = 0;
    if (textColour) m_textColor = textColour;
    const COLORREF face = parent ? parent->GetFaceColor() : 0;
    m_faceColor = m_backColor = face;
}

void CSwitch8Way::Paint(CZVDC* dc, int withBackground) {
    if (!m_built) Build();
    CZVWindow::Paint(dc, withBackground);
}

ZVPoint CSwitch8Way::GrooveEnd(int r, int offset, int centreX, int centreY, int quadrant) {
    const int u = ISqrt(r * r / 2) + offset;
    const int v = ISqrt(std::max(r * r - u * u, 0));
    const int sx = quadrant == 1 || quadrant == 4 ? 1 : -1;
    const int sy = quadrant <= 2 ? -1 : 1;
    return ZVPoint{centreX + sx * u, centreY + sy * v};
}

void CSwitch8Way::ClipWedge(CDibDC* wedge, int clipStart, int direction) {
    const int w = wedge->GetRequestedWidth(), h = wedge->GetHeight();
    const bool rows = direction <= 1;
    const int lines = rows ? h : w;
    const int span = rows ? w : h;
    for (int k = 0; clipStart + k < lines; ++k) {
        const int line = direction == 1 || direction == 3 ? clipStart + k : lines - 1 - clipStart - k;
        if (line < 0) break;
        const int n = std::min(k + 1, span / 2);
        for (int i = 0; i < n; ++i)
            for (int at : {i, span - 1 - i})
                *(rows ? wedge->GetPixelAddress(at, line) : wedge->GetPixelAddress(line, at)) = 0;
    }
}

void CSwitch8Way::ClampGroove(CDibDC* pad, ZVPoint* inner, ZVPoint* outer) {
    const int w = pad->GetRequestedWidth(), h = pad->GetHeight();
    ZVPoint* ends[2] = {inner, outer};
    for (int i = 0; i < 2; ++i) {
        ZVPoint& p = *ends[i];
        const int line = 510 + 2 * i;
        if (p.x >= w) ReportAssert(kSource, line, 1);
        if (p.y >= h) ReportAssert(kSource, line + 1, 1);
        if (p.x < 0) ReportAssert(kSource, line + 4, 1);
        if (p.y < 0) ReportAssert(kSource, line + 5, 1);
        p.x = std::clamp(p.x, 0, w - 1);
        p.y = std::clamp(p.y, 0, h - 1);
    }
}

void CSwitch8Way::Build() {
    m_built = 1;
    const int w = m_width, h = m_height, b = std::min(w, h);
    int g = IsRoundLook() ? b / 30 : std::max(b / 15, 4);
    g += m_extraGap;
    const int q = g / 4;
    m_ringBevel = std::min(m_ringBevel, b / 8);
    const int s = m_ringBevel;
    int v = 0;
    if (!(m_flags & kSwitchNoCorners)) {
        AddCorners(s);
        v = 7 * g / 10 + 2 * s;
    }
    m_pad = CZVRect(w / 2 - b / 2 + v, h / 2 - b / 2 + v, b - 2 * v, b - 2 * v);
    if (m_pad.w <= 0) return;

    auto pad = std::make_unique<CDibDC>(m_pad.w, m_pad.h, 0, 0, 0);
    if (!pad->GetBits()) return;
    WithStyleFlags(kStyleOutlineCorners, 0, [&] { RenderPad(pad.get(), s); });
    DrawGrooves(pad.get(), q, s);
    const int d = IsRoundLook() ? (m_pad.w - 2 * (m_pad.w / 4)) / 2 : m_pad.w / 4;
    const int disc = m_pad.w - 2 * (d - 1);
    pad->FillRoundRect(0, (m_pad.w - disc) / 2, (m_pad.h - disc) / 2, disc, disc, disc / 2, 0);

    const int cx = m_pad.w / 2, cy = m_pad.h / 2;
    const int ro = m_pad.w / 2, ri = InnerRadius(m_pad.w, s);
    const ZVPoint outerLow = GrooveEnd(ro, -q, cx, cy, 2), outerHigh = GrooveEnd(ro, q, cx, cy, 2);
    const int yi = GrooveEnd(ri, -q, cx, cy, 2).y;
    const int xi = GrooveEnd(ri, q, cx, cy, 2).x;
    const int across = m_pad.w - 2 * outerLow.x, down = m_pad.h - 2 * outerHigh.y;
    MakeArrowButton(pad.get(), CZVRect(outerLow.x, 0, across, yi), outerLow.y, 1);
    MakeArrowButton(pad.get(), CZVRect(outerLow.x, m_pad.h - yi, across, yi), outerLow.y, 0);
    MakeArrowButton(pad.get(), CZVRect(0, outerHigh.y, xi + 1, down), outerHigh.x, 3);
    MakeArrowButton(pad.get(), CZVRect(m_pad.w - xi - 1, outerHigh.y, xi + 1, down), outerHigh.x, 2);
    AddCentre(g);
}

void CSwitch8Way::AddCorners(int s) {
    const int w = m_width, h = m_height, b = std::min(w, h);
    const int cw = w >= h ? 2 * w / 5 : w / 2 - s / 2;
    const int ch = w >= h ? h / 2 - s / 2 : 2 * h / 5;
    for (const CornerPart& part : kCorners) {
        const bool right = part.kind == 6 || part.kind == 7, bottom = part.kind == 4 || part.kind == 7;
        const CZVRect rect(right ? w - cw : 0, bottom ? h - ch : 0, cw, ch);
        auto* corner = new CCornerButton(this, rect, m_commands[part.slot], m_styleClass, part.kind, b / 2 - s, w / 2,
                                         h / 2);
        corner->SetFaceColor(m_partColour);
        corner->SetBevel(GetPartBevel());
        corner->SetMargin(GetPartMargin());
        corner->SetFontSize(m_partFontSize);
        corner->SetIconName(part.icon, -1);
        corner->SetIconOffset(part.offsetX, part.offsetY);
        AddChild(corner);
    }
}

int CSwitch8Way::InnerRadius(int padWidth, int s) const {
    const int a = padWidth / 4 - s;
    return IsRoundLook() ? padWidth / 4 : (padWidth - 2 * a) / 2 - s;
}

void CSwitch8Way::RenderPad(CDibDC* pad, int s) {
    const int pw = pad->GetRequestedWidth();
    pad->FillRect(0, 0, 0, pw, pad->GetHeight(), 0);
    if (IsRoundLook()) {
        WithStyleFlags(0, kGlossRim | kGlossWave, [&] {
            PaintRoundButton(pad, CZVRect(0, 0, pw, pw), m_partColour, m_faceColor, s, 0, pw / 2);
        });
        const int r = pw / 4 + s;
        PaintRoundButton(pad, CZVRect(pw / 2 - r, pw / 2 - r, 2 * r, 2 * r), m_faceColor, m_partColour, 0, s, r);
        return;
    }
    CShadeWnd shade(nullptr, CZVRect(0, 0, pw, pw), 0);
    shade.SetBevel(s);
    shade.SetColors(m_partColour, 0);
    shade.SetDepth(kPartDepth);
    const int a = pw / 4 - s;
    shade.AddFrame(0, 0, 0, 0, s, pw / 2, 0, 0, 0, 0);
    shade.AddFrame(a, a, a, a, s, (pw - 2 * a) / 2 - s, 1, 0, CShadeWnd::kHollowCorners, 0);
    shade.RenderShapes(pad);
}

void CSwitch8Way::DrawGrooves(CDibDC* pad, int q, int s) {
    const int cx = m_pad.w / 2, cy = m_pad.h / 2;
    const int ro = m_pad.w / 2, ri = InnerRadius(m_pad.w, s);
    for (int offset : {q, -q})
        for (int k = 1; k <= 4; ++k)
            DrawGroove(pad, GrooveEnd(ri, offset, cx, cy, k), GrooveEnd(ro, offset, cx, cy, k), k % 4 + 1,
                       offset < 0, s);
}

void CSwitch8Way::DrawGroove(CDibDC* pad, ZVPoint inner, ZVPoint outer, int quadrant, int second, int s) {
    ClampGroove(pad, &inner, &outer);
    const int n = ISqrt(2 * s * s) + 1;
    const int t = std::min(std::abs(inner.x - outer.x), std::abs(inner.y - outer.y));
    const int dx = inner.x < outer.x ? -1 : 1, dy = inner.y < outer.y ? -1 : 1;
    if (IsRoundLook()) quadrant = (quadrant + 1) % 4 + 1;
    if (second) quadrant = (quadrant + 1) % 4 + 1;
    CShadeColor shade;
    shade.Set(ToRgb565(IsRoundLook() ? m_faceColor : m_partColour), IsRoundLook() ? 0 : 1, n, 0);
    const int w = pad->GetRequestedWidth(), h = pad->GetHeight();
    for (int line = 0; line < n; ++line) {
        const uint16_t colour = shade.Shade(quadrant, line + 1, line + 1, 0);
        const int shift = line - n / 2;
        for (int i = 0; i <= t; ++i) {
            const int x = outer.x + dx * i + shift, y = outer.y + dy * i;
            if (x >= 0 && y >= 0 && x < w && y < h) *pad->GetPixelAddress(x, y) = colour;
        }
    }
}

void CSwitch8Way::MakeArrowButton(CDibDC* pad, CZVRect wedge, int clipStart, int direction) {
    if (wedge.w <= 0 || wedge.h <= 0) return;
    CDibDC normal(wedge.w, wedge.h, 0, 0, 0);
    if (!normal.GetBits()) return;
    normal.BitBlt(0, 0, pad, wedge.x, wedge.y, wedge.w, wedge.h);
    ClipWedge(&normal, clipStart, direction);
    const bool light = IsLight(m_partColour);
    std::unique_ptr<CDibDC> pressed(normal.Clone());
    if (!pressed) return;
    const uint16_t part = ToRgb565(m_partColour);
    const uint16_t scaledPart = ToRgb565(ScaleColor(light ? 0.5 : 2.0, m_partColour));
    for (int y = 0; y < wedge.h; ++y)
        for (int x = 0; x < wedge.w; ++x) {
            uint16_t& p = *pressed->GetPixelAddress(x, y);
            if (IsRoundLook())
                p = p == part ? scaledPart : p;
            else if (p)
                p = ScalePixel(p, light);
        }
    if (!IsRoundLook()) WithStyleFlags(0, kGlossWave, [&] { normal.ApplyGloss(0, 0, 0, 0, 0); });

    const ArrowPart& arrow = kArrows[direction];
    auto* button = new CSwitch8WayButton(this, CZVRect(wedge.x + m_pad.x, wedge.y + m_pad.y, wedge.w, wedge.h),
                                         m_commands[kArrowSlot[direction]], kPartStyleClass);
    button->SetFaceColor(m_partColour);
    button->SetStyleBit(k3DSkinned, 1);
    button->SetFontSize(m_partFontSize);
    button->TakeFaces(&normal, pressed.get());
    button->SetIconName(arrow.icon, -1);
    button->SetIconOffset(arrow.offsetX, arrow.offsetY);
    AddChild(button);
}

void CSwitch8Way::AddCentre(int g) {
    const int c = m_pad.w / 4 - 7 * g / 10;
    if (c <= 0) return;
    const CZVRect rect(m_pad.x + m_pad.w / 2 - c, m_pad.y + m_pad.h / 2 - c, 2 * c, 2 * c);
    auto* centre = new CZV3DButton(this, rect, m_commands[kSwitchCentre], kPartStyleClass);
    centre->SetColors(m_partColour, IsRoundLook() ? m_faceColor : 0);
    centre->SetShape(c, GetPartBevel(), GetPartMargin());
    centre->SetStyleBit(k3DSkinned, 1);
    centre->SetShadeDepth(kPartDepth);
    centre->SetFontSize(m_partFontSize);
    centre->SetText(m_commands[kSwitchCentre] == kEnterKeyCode ? "Enter" : "Select", nullptr, 0);
    AddChild(centre);
    // The caption fits the round face's middle, narrower than its box.
    CZVRect inner;
    centre->GetInnerRect(&inner);
    inner.Deflate(inner.w / 8, 0);
    CCaptionFitter fitter(this);
    fitter.AddCaption(centre->GetText(), inner);
    centre->SetFontSize(fitter.FindFontSize(1, 1, m_partFontSize));
}
