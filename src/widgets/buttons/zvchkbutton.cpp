#include "widgets/buttons/zvchkbutton.h"

#include <algorithm>
#include <memory>

#include "gfx/dibdc.h"
#include "gfx/ticks.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "widgets/buttons/buttonface.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"

namespace {

constexpr COLORREF kNearBlackText = 0x080408;

}  // namespace

CZVCheckButton::CZVCheckButton(CZVWindow* parent, CZVRect rect, int clickId, int styleClass)
    : CZV3DButton(parent, rect, clickId, styleClass), m_animationTick(platform::GetTickCount()) {
    m_styleBits &= ~k3DSkinned;
    CSetServer* style = CSetServer::Get();
    m_checkedColor = style ? style->GetSelectionColor() : 0x64FFFF;
    if (IsBlack565(m_textColor)) m_textColor = kNearBlackText;
}

CZVCheckButton::~CZVCheckButton() {
    // The base destructor sees only its own FreeImages.
    FreeImages();
}

void CZVCheckButton::DeleteRenderings() {
    delete m_uncheckedRendering;
    delete m_checkedRendering;
    m_uncheckedRendering = m_checkedRendering = nullptr;
}

void CZVCheckButton::FreeImages() {
    CZV3DButton::FreeImages();
    delete m_checkedImage;
    delete m_unskinnedChecked;
    m_checkedImage = m_unskinnedChecked = nullptr;
    DeleteRenderings();
}

void CZVCheckButton::OnFaceColorChanged(COLORREF colour) {
    m_faceColor = colour;
    m_checkedColor = ScaleColor(1.5, colour);
    m_backColor = m_radius <= 0 && m_parent ? m_parent->GetFaceColor() : colour;
}

void CZVCheckButton::Enable(int enable, int redraw) {
    if (enable != m_enabled) DeleteRenderings();
    CZV3DButton::Enable(enable, redraw);
}

COLORREF CZVCheckButton::GetPressedTextColor() {
    CSetServer* style = CSetServer::Get();
    const COLORREF colour = ColorFrom565(ToRgb565(style ? style->GetSelectionTextColor() : 0));
    return IsBlack565(colour) ? ColorFrom565(0x0821) : colour;
}

void CZVCheckButton::CopyLookFrom(CZV3DButton* other) {
    CZV3DButton::CopyLookFrom(other);
    DeleteRenderings();
}

void CZVCheckButton::FlushImageCache() {
    if (!(CSetServer::CurrentFlags() & kStyleSkins)) {
        CZVWindow::FlushImageCache();
        return;
    }
    CZV3DButton::FlushImageCache();
    if (m_styleBits & k3DBaseSurface) {
        delete m_checkedImage;
        m_checkedImage = nullptr;
    } else {
        m_checkedStale = m_checkedImage != nullptr;
    }
}

// ---- faces

void CZVCheckButton::RenderCheckedFace() {
    if (m_lookSource && m_lookSource->AsCheckButton()) return;
    const COLORREF colour = m_brightChecked ? ScaleColor(1.25, m_faceColor) : m_checkedColor;
    delete m_checkedImage;
    m_checkedImage = RenderShape(colour, 0);
    if (!m_checkedImage) return;
    if (m_styleBits & k3DKeepUnskinned) {
        delete m_unskinnedChecked;
        m_unskinnedChecked = m_checkedImage->Clone();
    }
    ApplySkin(m_checkedImage);
    if (IsSkinned() && m_shapeKind == -1) ClearCorners(m_checkedImage);
}

CDibDC* CZVCheckButton::GetCheckedImage() {
    if (m_lookSource) {
        CZVCheckButton* source = m_lookSource->AsCheckButton();
        const bool ownCopy = m_texture || ((CSetServer::CurrentFlags() & kStyleSkins) && GetMargin() > 0);
        if (source && !ownCopy) return source->GetCheckedImage();
        if (source && !m_checkedImage) {
            if (CDibDC* from = source->GetCheckedImageOrDefault()) {
                m_checkedImage = from->Clone();
                ApplySkin(m_checkedImage);
            }
            return m_checkedImage;
        }
    }
    if (!m_checkedImage) {
        RenderCheckedFace();
    } else if (m_checkedStale) {
        if (m_unskinnedChecked) {
            m_checkedImage->BitBlt(0, 0, m_unskinnedChecked, 0, 0, m_width, m_height);
            ApplySkin(m_checkedImage);
        } else {
            RenderCheckedFace();
        }
    }
    m_checkedStale = 0;
    return m_checkedImage;
}

CDibDC* CZVCheckButton::GetCheckedImageOrDefault() {
    if (m_lookSource)
        if (CZVCheckButton* source = m_lookSource->AsCheckButton()) return source->GetCheckedImageOrDefault();
    if (!m_unskinnedChecked && !m_checkedImage) RenderCheckedFace();
    return m_unskinnedChecked ? m_unskinnedChecked : GetCheckedImage();
}

void CZVCheckButton::DrawFace(CZVDC* dc, int pressed, int reserved) {
    if (pressed || !m_checked) {
        CZV3DButton::DrawFace(dc, pressed, reserved);
        return;
    }
    if (m_lookFlags & kLookNoFace) return;
    CDibDC* image = GetCheckedImage();
    if (!image) {
        ReportAssert("zvchkbutton", 577, 1);
        return;
    }
    if (m_icon && !m_icon->IsRequestPending() && !dc->IsPixelSurface()) {
        std::unique_ptr<CDibDC> copy(image->Clone());
        DrawIcon(copy.get(), m_checkedColor);
        DrawFaceImage(dc, copy.get());
        return;
    }
    DrawFaceImage(dc, image);
}

// ---- painting

void CZVCheckButton::PaintNow(CZVDC* dc) {
    DrawFace(dc, m_held);
    DrawCaption(dc, m_checked);
    if (dc->IsPixelSurface()) DrawIcon(dc, m_checked ? m_checkedColor : m_faceColor);
}

void CZVCheckButton::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    CMainWndBase* main = GetMainWnd();
    if (main && main->IsBlendedDrawing() && !dc->IsPixelSurface() && m_width > 0 && m_height > 0) {
        CDibDC layer(m_width, m_height, 0, 0, 1);
        layer.FillRect(0, 0, 0, m_width, m_height, 0);
        PaintNow(&layer);
        dc->TransparentBlt(0, 0, &layer, 0, 0, m_width, m_height, 0);
        return;
    }
    PaintNow(dc);
}

// ---- checking

void CZVCheckButton::SetCheck(int checked, int, int redraw) {
    const bool animate = (CSetServer::CurrentFlags() & kStyleAnimate) && !((CSetServer::CurrentFlags() & kStyleClickFlash) && m_highlightGlow);
    const int was = m_checked;
    m_checked = checked ? 1 : 0;
    if (redraw && CMainWndBase::InputBlockedFor(this)) {
        m_deferredRepaint = 1;
        redraw = 0;
    }
    if (!m_shown || !redraw) {
        m_direction = 0;
        m_level = m_checked ? kLevels : 0;
        return;
    }
    if (was == m_checked) return;
    if (animate) {
        m_direction = m_checked ? 1 : -1;
        m_animationTick = platform::GetTickCount();
        return;
    }
    CZVDC dc(this);
    OnPaint(&dc);
    if (CSetServer::CurrentFlags() & kStyleClickFlash) RecaptureSnapshot(&dc);
    m_level = m_checked ? kLevels : 0;
}

CDibDC* CZVCheckButton::Rendering(int checked) {
    CDibDC*& rendering = checked ? m_checkedRendering : m_uncheckedRendering;
    if (rendering) return rendering;
    rendering = new CDibDC(m_width, m_height, 0, 0, 1);
    rendering->FillRect(IsSkinned() ? 0 : m_backColor, 0, 0, m_width, m_height, 0);
    const int keep = m_checked;
    m_checked = checked;
    OnPaint(rendering);
    m_checked = keep;
    return rendering;
}

int CZVCheckButton::AnimationStep() {
    if (!m_shown || !m_direction || m_width <= 0 || m_height <= 0) return 0;
    if ((m_direction > 0 && m_level > kLevels - 1) || (m_direction < 0 && m_level < 1)) {
        m_direction = 0;
        return 0;
    }
    if (CMainWndBase::InputBlockedFor(this)) return 0;
    const int e = static_cast<int>(std::min<uint32_t>(TicksSince(&m_animationTick), kAnimationMs));
    int target = kLevels * e / kAnimationMs;
    if (m_direction < 0) target = kLevels - target;
    target = std::clamp(target, 0, kLevels);
    if (target == m_level) return 0;
    m_level = target;
    CDibDC* unchecked = Rendering(0);
    CDibDC* checked = Rendering(1);
    CZVDC dc(this);
    if (m_level == 0 || m_level == kLevels) {
        dc.TransparentBlt(0, 0, m_level ? checked : unchecked, 0, 0, m_width, m_height, 0);
    } else {
        std::unique_ptr<CDibDC> mix(unchecked->Clone());
        mix->BlendAll(checked, 0, 0, m_level);
        dc.TransparentBlt(0, 0, mix.get(), 0, 0, m_width, m_height, 0);
    }
    return 1;
}

int CZVCheckButton::OnIdle(int busy) {
    const int result = CZV3DButton::OnIdle(busy);
    if (result == -1) return result;
    return AnimationStep() ? 1 : result;
}

// ---- touch

int CZVCheckButton::OnLButtonDown(int x, int y, int keys) {
    if (m_held || m_locked) return 0;
    return CZV3DButton::OnLButtonDown(x, y, keys);
}

int CZVCheckButton::OnLButtonUp(int x, int y, int keys) {
    if (m_held || !m_pressed) {
        // Held while the finger was down: the press ends without a command,
        // and the capture goes with it.
        if (m_pressed) DropPress();
        return 0;
    }
    if (!m_enabled || !HitTest(x, y)) return CZV3DButton::OnLButtonUp(x, y, keys);
    if (!(m_staysChecked && m_checked)) {
        ReleaseHighlight();
        m_checked = !m_checked;
    }
    m_level = m_checked ? kLevels - 1 : 0;
    if (!m_checked) return CZV3DButton::OnLButtonUp(x, y, keys);
    if (!DeferIfBlocked()) {
        CZVDC dc(this);
        m_pressed = 0;  // painted released: the checked face
        OnPaint(&dc);
        m_pressed = 1;
    }
    return CZVButton::OnLButtonUp(x, y, keys);
}

// ---- blink

void CZVCheckButton::SetBlink(int on) {
    on = on ? 1 : 0;
    if (on == m_blinking) return;
    m_blinking = on;
    if (on) {
        m_blinkPhase = 1;
        SetTimer(kBlinkMs);
    } else {
        KillTimer();
    }
}

void CZVCheckButton::OnTimer() {
    if (!m_blinking) {
        CZV3DButton::OnTimer();
        return;
    }
    if (m_highlightCountdown > 0 || CMainWndBase::InputBlockedFor(nullptr)) return;
    SetCheck(m_blinkPhase, 0, 1);
    m_blinkPhase = !m_blinkPhase;
}
