#include "widgets/window/overlay.h"

#include <algorithm>
#include <string>

#include "gfx/shadecorner.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kMinShadow = 4;
constexpr int kTitleFontSize = 40;
constexpr COLORREF kShadowGrey = 0x808080;

int ShadowWidth() {
    CSetServer* style = CSetServer::Get();
    return std::max(style ? style->GetStyle(2, kStyleBevel) : 0, kMinShadow);
}

// Moves the panel so that the anchor line lies at least m inside it.
int ShiftToAnchor(int anchor, int start, int length, int m) {
    if (anchor < start + m) return anchor - (start + m);
    if (anchor > start + length - m - 1) return anchor - (start + length - m - 1);
    return 0;
}

}  // namespace

COverlay::COverlay(CMainWndBase* main, CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow,
                   int slide)
    : m_main(main),
      m_window(window),
      m_panel(panel),
      m_start(0, 0, 0, 0),
      m_ownsWindow(ownsWindow),
      m_startTick(platform::GetTickCount()),
      m_shadow(ShadowWidth()) {
    const int mainW = main ? main->GetWidth() : 0;
    const int mainH = main ? main->GetHeight() : 0;
    m_anchorX = std::max(std::min(anchorX, mainW - m_shadow - 1), m_shadow);
    m_anchorY = std::max(std::min(anchorY, mainH - m_shadow - 1), m_shadow);
    if (!slide) return;
    if (m_panel.w >= mainW) {
        m_start = CZVRect(0, m_anchorY, mainW, 1);
        const int dy = ShiftToAnchor(m_anchorY, m_panel.y, m_panel.h, m_shadow);
        m_panel.y += dy;
        if (m_window)
            m_window->SetRect(
                CZVRect(m_window->GetX(), m_window->GetY() + dy, m_window->GetWidth(), m_window->GetHeight()));
    } else {
        m_start = CZVRect(m_anchorX, 0, 1, mainH);
        const int dx = ShiftToAnchor(m_anchorX, m_panel.x, m_panel.w, m_shadow);
        m_panel.x += dx;
        if (m_window)
            m_window->SetRect(
                CZVRect(m_window->GetX() + dx, m_window->GetY(), m_window->GetWidth(), m_window->GetHeight()));
    }
}

COverlay::~COverlay() { FreePictures(); }

void COverlay::FreePictures() {
    m_background.reset();
    for (int i = 0; i < 2; ++i) {
        m_under[i].reset();
        m_dim[i].reset();
    }
}

void COverlay::GetStripRect(CZVRect* out, int index) {
    const int right = m_panel.x + m_panel.w - 1;
    const int bottom = m_panel.y + m_panel.h - 1;
    if (IsHorizontal()) {
        const int mainRight = m_main->GetWidth() - 1;
        *out =
            index == 0 ? CZVRect(0, 0, m_panel.x + 1, m_panel.h) : CZVRect(right, 0, mainRight + 1 - right, m_panel.h);
    } else if (IsVertical()) {
        const int mainBottom = m_main->GetHeight() - 1;
        *out =
            index == 0 ? CZVRect(0, 0, m_panel.w, m_panel.y) : CZVRect(0, bottom, m_panel.w, mainBottom + 1 - bottom);
    } else {
        *out = CZVRect(0, 0, 0, 0);
    }
}

CDibDC* COverlay::GetSideImage(int index, int dim) {
    if (index < 0 || index > 1) return nullptr;
    return dim ? m_dim[index].get() : m_under[index].get();
}

void COverlay::SetSideImage(int index, int dim, CDibDC* surface) {
    if (index < 0 || index > 1) {
        delete surface;
        return;
    }
    std::unique_ptr<CDibDC>& slot = dim ? m_dim[index] : m_under[index];
    if (slot) ReportAssert("overlay", __LINE__, 1);
    slot.reset(surface);
}

void COverlay::DrawAnchorShadow(CZVDC* dc, CZVRect strip, int side) {
    if (strip.w <= 0 || strip.h <= 0) return;
    CSetServer* style = CSetServer::Get();
    const int flags = style ? style->GetFlags() : 0;
    if (style) style->SetFlags(flags | kStyleCurve2500);
    CDibDC edge(strip.w, strip.h, 0, 0, 0);
    CShadeEdge shape(side, 0, 0, strip.w, strip.h);
    shape.Render(kShadowGrey, kShadowGrey, m_shadow, 1, &edge);
    if (style) style->SetFlags(flags);
    CDibDC under(strip.w, strip.h, 0, 0, 0);
    dc->CaptureTo(&under, strip.x, strip.y);
    under.OverlayRect(&edge, 0, 0, 0, 0, strip.w, strip.h);
    dc->BitBltAll(&under, strip.x, strip.y);
}

void COverlay::Render() {
    if (!m_main || !m_window) return;
    FreePictures();
    const int mainW = m_main->GetWidth();
    const int mainH = m_main->GetHeight();
    m_background = std::make_unique<CDibDC>(mainW, mainH, 0, 0, 1);
    CZVDC dc(m_main);
    const int m = m_shadow;
    if (IsHorizontal()) {
        DrawAnchorShadow(&dc, CZVRect(m_anchorX, 0, m, mainH), 1);
        DrawAnchorShadow(&dc, CZVRect(m_anchorX - m, 0, m, mainH), 3);
    } else if (IsVertical()) {
        DrawAnchorShadow(&dc, CZVRect(0, m_anchorY - m, mainW, m), 2);
        DrawAnchorShadow(&dc, CZVRect(0, m_anchorY, mainW, m), 0);
    }
    if (m_panel.w > 0 && m_panel.h > 0) {
        CDibDC picture(m_panel.w, m_panel.h, m_panel.x, m_panel.y, 1);
        picture.SetThemedFills(true);
        picture.SetOrigin(m_panel.x, m_panel.y);
        m_window->DrawBackgroundRect(&picture, 0, 0, m_panel.w, m_panel.h, m_main);
        m_window->Paint(&picture, 0);
        if (IsHorizontal() || IsVertical()) m_main->MorphTransition(kMorphTime, m_start, m_panel, &picture, 0);
    }
    const uint32_t before = platform::GetTickCount();
    m_main->PaintWithoutOverlay(m_background.get());
    ReportTrace("Gen " + std::to_string(platform::GetTickCount() - before));
    for (int i = 0; i < 2; ++i) {
        CZVRect strip;
        GetStripRect(&strip, i);
        if (strip.w <= 0 || strip.h <= 0) continue;
        auto* under = new CDibDC(strip.w, strip.h, strip.x, strip.y, 1);
        dc.CaptureTo(under, strip.x, strip.y);
        SetSideImage(i, 0, under);
    }
    m_frame = 0;
}

int COverlay::Step(int busy) {
    if (busy) return 1;
    if (m_frame < 0 || m_frame >= kDimFrames) return 0;
    if (m_frame == 0) {
        bool made = false;
        for (int i = 0; i < 2; ++i) {
            if (m_dim[i] || !m_under[i]) continue;
            m_dim[i].reset(m_under[i]->Clone());
            if (!m_dim[i]) continue;
            m_dim[i]->Dim(CZVRect(0, 0, m_dim[i]->GetRequestedWidth(), m_dim[i]->GetHeight()));
            made = true;
        }
        if (made) m_startTick = platform::GetTickCount();
    }
    uint32_t tick = m_startTick;
    const int d = static_cast<int>(std::min<uint32_t>(TicksSince(&tick) * kDimFrames / kDimTime, kDimFrames - 1));
    if (d == m_frame) return 0;
    m_main->SetOffscreenPaint(1);
    CZVDC dc(m_main);
    for (int i = 0; i < 2; ++i) {
        if (!m_dim[i] || !m_under[i]) continue;
        CZVRect strip;
        GetStripRect(&strip, i);
        std::unique_ptr<CDibDC> mix(m_dim[i]->Clone());
        if (!mix) continue;
        mix->BlendAll(m_under[i].get(), 0, 0, kDimFrames - d);
        dc.BitBltAll(mix.get(), strip.x, strip.y);
    }
    m_main->SetOffscreenPaint(0);
    m_frame = d;
    return 1;
}

void COverlay::Paint(CZVDC* dc) {
    for (int i = 0; i < 2; ++i) {
        CDibDC* image = m_dim[i] ? m_dim[i].get() : m_under[i].get();
        if (!image) continue;
        CZVRect strip;
        GetStripRect(&strip, i);
        dc->BitBltAll(image, strip.x, strip.y);
    }
    if (m_window) m_window->Paint(dc, 1);
}

void COverlay::Close(int animate) {
    if (animate && m_background && m_main) {
        CZVDC dc(m_main);
        for (int i = 0; i < 2; ++i) {
            if (!m_under[i]) continue;
            CZVRect strip;
            GetStripRect(&strip, i);
            dc.BitBltAll(m_under[i].get(), strip.x, strip.y);
        }
        if (IsHorizontal() || IsVertical()) {
            m_main->MorphTransition(kMorphTime, m_panel, m_start, m_background.get(), 1);
            const int m = m_shadow;
            const CZVRect shadow = IsHorizontal() ? CZVRect(m_start.x - m, m_start.y, 2 * m, m_start.h)
                                                  : CZVRect(m_start.x, m_start.y - m, m_start.w, 2 * m);
            dc.BitBlt(shadow.x, shadow.y, m_background.get(), shadow.x, shadow.y, shadow.w, shadow.h);
        }
    }
    FreePictures();
    if (m_window && m_ownsWindow) {
        CZVWindow* window = m_window;
        m_window = nullptr;
        if (m_main)
            m_main->DeleteLater(window);
        else
            delete window;
    }
}

// ---- the main window's overlay

std::unique_ptr<COverlay> COverlayHost::Detach() {
    std::unique_ptr<COverlay> overlay = std::move(m_overlay);
    if (overlay && overlay->GetWindow()) m_main.RemoveChild(overlay->GetWindow());
    return overlay;
}

void COverlayHost::Drop() {
    // An owned window goes with its overlay rather than being lost.
    if (std::unique_ptr<COverlay> overlay = Detach()) overlay->Close(0);
}

void COverlayHost::Forget(CZVWindow* window) {
    if (!m_overlay || m_overlay->GetWindow() != window) return;
    Detach()->ForgetWindow();
}

void COverlayHost::Set(CZVWindow* window) {
    if (m_overlay && window) ReportAssert("mainwnd", __LINE__, 1);
    Drop();
    if (!window) return;
    const CZVRect rect(window->ToRootX(0), window->ToRootY(0), window->GetWidth(), window->GetHeight());
    m_overlay = std::make_unique<COverlay>(&m_main, window, rect, 0, 0, 0, 0);
    m_main.AddChildFirst(window);
}

void COverlayHost::Show(CZVWindow* window, CZVRect panel, int anchorX, int anchorY, int ownsWindow, int slide) {
    Drop();
    if (!window) return;
    m_overlay = std::make_unique<COverlay>(&m_main, window, panel, anchorX, anchorY, ownsWindow, slide);
    m_main.AddChildFirst(window);
    m_overlay->Render();
}

int COverlayHost::Close() {
    std::unique_ptr<COverlay> overlay = Detach();
    if (!overlay) return 0;
    overlay->Close(1);
    overlay.reset();
    m_main.SendCommandToTree(kCommandOverlayClosedId);
    return 1;
}

void COverlayHost::PaintWithout(CDibDC* surface) {
    CZVWindow* window = GetWindow();
    if (window) m_main.RemoveChild(window);
    m_main.Paint(surface, 1);
    if (window) m_main.AddChildFirst(window);
}

// ---- the pop-up panel

CPopupWnd::CPopupWnd(CZVWindow* parent, CZVRect rect, int styleClass) : CZVWindow(parent, rect, styleClass) {
    CSetServer* style = CSetServer::Get();
    m_textColor = style ? style->GetStyleColor(2, 1) : m_textColor;
    if (parent) m_faceColor = m_backColor = parent->GetFaceColor();
}

void CPopupWnd::GetClientRect(CZVRect* out) {
    *out = CZVRect(kMargin, kMargin + kTitleHeight + kMargin, m_width - 2 * kMargin,
                   m_height - 2 * kMargin - kTitleHeight - kMargin);
}

int CPopupWnd::OnLButtonDown(int x, int y, int keys) {
    if (HitTest(x, y)) {
        CZVWindow::OnLButtonDown(x, y, keys);
        return 1;
    }
    if (CMainWndBase* main = GetMainWnd()) main->CloseOverlay();
    return 1;
}

int CPopupWnd::OnCommand(int id) {
    if (id == kCommandPopupDone)
        if (CMainWndBase* main = GetMainWnd()) main->CloseOverlay();
    return 1;
}

void CPopupWnd::AddTitleBar(CZVString caption, int buttonWidth) {
    CZVRect r(0, 0, m_width, m_height);
    r.Deflate(kMargin, kMargin);
    CZVRect band = r.CutTop(kTitleHeight, 0);
    CZV3DButton* done = Add3DButtonDefault(band.CutRight(buttonWidth < 1 ? kDefaultButtonWidth : buttonWidth, 0),
                                           kCommandPopupDone, 18, "Done");
    done->SetStyleBit(k3DBaseSurface, 1);
    auto* label = new CZVLabel(this, band, caption, 0);
    AddChild(label);
    label->SetTextColor(m_textColor);
    CCaptionFitter fitter(this);
    fitter.AddWindow(label);
    fitter.Apply(kTitleFontSize);
}
