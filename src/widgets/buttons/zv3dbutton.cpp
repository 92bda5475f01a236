#include "widgets/buttons/zv3dbutton.h"

#include <algorithm>
#include <memory>

#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "gfx/shadepoly.h"
#include "gfx/skinservices.h"
#include "platform/report.h"
#include "widgets/buttons/arrowbutton.h"
#include "widgets/buttons/buttonface.h"
#include "widgets/style/setserver.h"

namespace {

constexpr const char* kSource = "zv3dbutton";
constexpr COLORREF kNearBlackText = 0x080408;

bool SkinsOn() { return (CSetServer::CurrentFlags() & kStyleSkins) != 0; }

// Light side of the gloss for the end-shape kinds 0..3.
constexpr int kArrowLightSide[4] = {6, 9, 3, 12};

}  // namespace

CZV3DButton::CZV3DButton(CZVWindow* parent, CZVRect rect, int clickId, int styleClass)
    : CZVButton(parent, rect, clickId, styleClass) {
    CZVRect clip;
    if (GetClipRect(this, &clip)) m_styleBits |= k3DKeepUnskinned;
    if (SkinsOn() && parent && parent->IsOnBaseSurface()) m_styleBits |= k3DSkinned;
    if (IsBlack565(m_textColor)) m_textColor = kNearBlackText;
}

CZV3DButton::~CZV3DButton() {
    DropLookSource();
    for (CZV3DButton* user : m_lookUsers) user->m_lookSource = nullptr;
    FreeImages();
}

// ---- window operations

void CZV3DButton::OnFaceColorChanged(COLORREF colour) {
    m_faceColor = colour;
    if (m_radius <= 0) {
        m_backColor = m_parent ? m_parent->GetFaceColor() : 0;
        m_shadeDepth = 50;
    } else {
        m_backColor = colour;
    }
}

int CZV3DButton::IsOnBaseSurface() { return (m_styleBits & k3DBaseSurface) ? 1 : CZVWindow::IsOnBaseSurface(); }

int CZV3DButton::HitTest(int x, int y) {
    if (!IsSkinned() || HasTouchMargin()) return CZVButton::HitTest(x, y);
    CDibDC* image = GetNormalImage();
    if (!image) return CZVWindow::HitTest(x, y);
    const int lx = x - ToRootX(0);
    const int ly = y - ToRootY(0);
    if (lx < 0 || ly < 0 || lx >= image->GetRequestedWidth() || ly >= image->GetHeight()) return 0;
    return *image->GetPixelAddress(lx, ly) != 0;
}

void CZV3DButton::Redraw(int withBackground) { CZVWindow::Redraw(IsSkinned() ? 0 : withBackground); }

void CZV3DButton::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    DrawFace(dc, 0);
    if ((m_lookFlags & kLookNoFace) || dc->IsPixelSurface()) DrawIcon(dc, m_faceColor);
    DrawCaption(dc, 0);
}

void CZV3DButton::PaintState(int pressed) {
    if (DeferIfBlocked()) return;
    CZVDC dc(this);
    DrawFace(&dc, pressed);
    DrawCaption(&dc, pressed);
}

int CZV3DButton::OnMouseMove(int x, int y, int) {
    if (!m_pressed) return 0;
    const int inside = HitTest(x, y) ? 1 : 0;
    if (inside != m_inside) {
        m_inside = inside;
        if (m_shown && !(m_lookFlags & (kLookNoFace | kLookNoTouchPaint))) PaintState(inside);
    }
    return 1;
}

int CZV3DButton::OnLButtonDown(int x, int y, int keys) {
    const int wasPressed = m_pressed;
    const int result = CZVButton::OnLButtonDown(x, y, keys);
    if (!wasPressed && m_pressed) {
        m_highlightCountdown = 0;
        if (m_shown && !(m_lookFlags & (kLookNoFace | kLookNoTouchPaint))) PaintState(1);
    }
    return result;
}

int CZV3DButton::OnLButtonUp(int x, int y, int keys) {
    if (m_pressed && m_enabled && m_shown && !(m_lookFlags & (kLookNoFace | kLookNoTouchPaint))) PaintState(0);
    return CZVButton::OnLButtonUp(x, y, keys);
}

void CZV3DButton::FlushImageCache() {
    CZVWindow::FlushImageCache();
    if (!SkinsOn()) return;
    if (m_styleBits & k3DBaseSurface) {
        FreeImages();
        return;
    }
    m_normalStale = m_normalImage != nullptr;
    m_pressedStale = m_pressedImage != nullptr;
}

std::optional<CZVRect> CZV3DButton::GetOpaqueRect() {
    if (m_width * m_height >= 4000 && !IsSuppliedShape() && !IsSkinned() && !(m_lookFlags & kLookNoFace))
        return CZVRect(0, 0, m_width, m_height);
    return std::nullopt;
}

CZVWindow* CZV3DButton::IsSameLook(CZVWindow* w) {
    if (!w || w->GetWidth() != m_width || w->GetHeight() != m_height || w->GetFaceColor() != m_faceColor ||
        w->GetBackColor() != m_backColor || w->GetCornerRadius() != m_radius || w->GetSpacing() != m_spacing ||
        w->GetBevel() != GetBevel() || w->GetMargin() != GetMargin())
        return nullptr;
    return this;
}

// ---- highlight

void CZV3DButton::HighlightStep(CZVDC* dc) {
    if (m_highlightCountdown <= 0) {
        ReleaseHighlight();
        return;
    }
    DrawHighlightFrame(dc, IsSkinned());
}

void CZV3DButton::CaptureSnapshot(CZVDC* dc) {
    if (!IsSkinned() || m_styleClass == 2 || m_styleClass == 3 || m_styleClass == 6) {
        CZVWindow::CaptureSnapshot(dc);
        return;
    }
    ReleaseHighlight();
    if (m_width <= 0 || m_height <= 0) return;
    m_highlightSnapshot = new CDibDC(m_width, m_height, 0, 0, 1);
    m_highlightSnapshot->FillRect(0, 0, 0, m_width, m_height, 0);
    OnPaint(m_highlightSnapshot);
}

void CZV3DButton::EndHighlight(CZVDC* dc) {
    delete m_highlightGlow;
    m_highlightGlow = nullptr;
    if (!m_highlightSnapshot) return;
    DrawFaceImage(dc, m_highlightSnapshot);
    ReleaseHighlight();
}

CZV3DButton* CZV3DButton::CreateHighlightGlow() {
    CZV3DButton* glow = CZVWindow::CreateHighlightGlow();
    glow->m_shapeKind = m_shapeKind;
    return glow;
}

void CZV3DButton::DrawHighlightShape(COLORREF colour, CDibDC* dib) {
    CZVWindow::DrawHighlightShape(colour, dib);
    if (IsArrowShape()) SquareEndSide(dib, m_shapeKind, colour, GetMargin(), m_radius);
}

// ---- faces

void CZV3DButton::SetLookSource(CZV3DButton* source) {
    if (m_normalImage) ReportAssert(kSource, 104, 1);
    if (m_pressedImage) ReportAssert(kSource, 105, 1);
    DropLookSource();
    m_lookSource = source;
    if (!source) return;
    source->m_styleBits |= k3DKeepUnskinned;
    source->m_lookUsers.push_back(this);
}

void CZV3DButton::DropLookSource() {
    if (!m_lookSource) return;
    std::erase(m_lookSource->m_lookUsers, this);
    m_lookSource = nullptr;
}

void CZV3DButton::CopyLookFrom(CZV3DButton* other) {
    m_icon.reset();
    SetText(other->GetText(), nullptr, 0);
    m_iconLayout = other->m_iconLayout;
    if (other->m_icon) m_icon.reset(other->m_icon->Clone());
}

COLORREF CZV3DButton::GetPressedColor() { return CSetServer::GetPressedShade(m_faceColor); }

void CZV3DButton::SetNormalImage(CDibDC* src, int x, int y, int w, int h) {
    if (!m_ownsImages) {
        m_normalImage = m_pressedImage = m_unskinnedNormal = m_unskinnedPressed = nullptr;
        m_ownsImages = 1;
    }
    delete m_normalImage;
    m_normalImage = new CDibDC(w, h, 0, 0, 0);
    m_normalImage->BitBlt(0, 0, src, x, y, w, h);
}

void CZV3DButton::SetPressedImage(CDibDC* src, int x, int y, int w, int h) {
    if (!m_ownsImages) {
        m_normalImage = m_pressedImage = m_unskinnedNormal = m_unskinnedPressed = nullptr;
        m_ownsImages = 1;
    }
    delete m_pressedImage;
    m_pressedImage = new CDibDC(w, h, 0, 0, 0);
    m_pressedImage->BitBlt(0, 0, src, x, y, w, h);
}

CDibDC* CZV3DButton::GetNormalImage() { return FaceImage(0); }

CDibDC* CZV3DButton::GetPressedImage() { return FaceImage(1); }

CDibDC* CZV3DButton::FaceImage(int pressed) {
    CDibDC*& image = pressed ? m_pressedImage : m_normalImage;
    if (m_lookSource) {
        const bool ownCopy = m_texture || (!pressed && SkinsOn() && GetMargin() > 0);
        if (!ownCopy) return pressed ? m_lookSource->GetPressedImage() : m_lookSource->GetNormalImage();
        CDibDC* from = pressed ? m_lookSource->GetPressedImageOrDefault() : m_lookSource->GetNormalImageOrDefault();
        DropLookSource();
        if (from) {
            if (m_ownsImages) delete image;
            image = from->Clone();
            ApplySkin(image);
            return image;
        }
    }
    CBitmapCache* cache = CBitmapCache::Instance();
    if (m_cacheKey && cache && image && !m_ownsImages &&
        !cache->FindWindowBitmap(reinterpret_cast<uintptr_t>(m_cacheKey) + pressed))
        image = nullptr;
    if (!image) RenderFace(pressed);
    int& stale = pressed ? m_pressedStale : m_normalStale;
    if (image && stale) {
        if (pressed) {
            ApplySkin(image);
        } else if (m_unskinnedNormal) {
            image->BitBlt(0, 0, m_unskinnedNormal, 0, 0, m_width, m_height);
            ApplySkin(image);
        } else {
            if (m_ownsImages) delete image;
            image = nullptr;
            RenderFace(0);
        }
    }
    stale = 0;
    return image;
}

CDibDC* CZV3DButton::GetNormalImageOrDefault() {
    if (m_lookSource) return m_lookSource->GetNormalImageOrDefault();
    if (!m_unskinnedNormal && !m_normalImage) GetNormalImage();
    return m_unskinnedNormal ? m_unskinnedNormal : GetNormalImage();
}

CDibDC* CZV3DButton::GetPressedImageOrDefault() {
    if (m_lookSource) return m_lookSource->GetPressedImageOrDefault();
    if (!m_unskinnedPressed && !m_pressedImage) GetPressedImage();
    return m_unskinnedPressed ? m_unskinnedPressed : GetPressedImage();
}

void CZV3DButton::FreeImages() {
    if (m_ownsImages) {
        delete m_normalImage;
        delete m_pressedImage;
        delete m_unskinnedNormal;
        delete m_unskinnedPressed;
    }
    m_normalImage = m_pressedImage = m_unskinnedNormal = m_unskinnedPressed = nullptr;
    m_ownsImages = 1;
}

void CZV3DButton::ReplaceFaceImage(int pressed, CDibDC* image) {
    if (!m_ownsImages) {
        m_normalImage = m_pressedImage = m_unskinnedNormal = m_unskinnedPressed = nullptr;
        m_ownsImages = 1;
    }
    CDibDC*& slot = pressed ? m_pressedImage : m_normalImage;
    delete slot;
    slot = image;
}

CDibDC* CZV3DButton::RenderShape(COLORREF colour, int pressedArrow) {
    auto face = std::make_unique<CDibDC>(m_width, m_height, 0, 0, 0);
    if (!face->GetBits()) return nullptr;
    face->FillRect(m_backColor, 0, 0, m_width, m_height, 0);
    if (IsArrowShape()) {
        COLORREF c = colour;
        if (pressedArrow) {
            const int sum = ColorRed(m_faceColor) + ColorGreen(m_faceColor) + ColorBlue(m_faceColor);
            c = ScaleColor(sum > 400 ? 0.5 : 2.0, m_faceColor);
        }
        ButtonFaces().RenderEndShape(this, m_shapeKind, c, face.get());
        face->ApplyGloss(EndShapeRadius(m_shapeKind, m_width, m_height, m_radius), kArrowLightSide[m_shapeKind], 0, 0,
                         0);
    } else if (!IsSuppliedShape()) {
        ButtonFaces().RenderShadedFrame(this, colour, face.get(), m_shadeDepth);
        face->ApplyGloss(m_radius, -1, GetMargin(), 0, 0);
    }
    return face.release();
}

void CZV3DButton::ClearCorners(CDibDC* face) {
    const int margin = GetMargin();
    int r = margin + m_radius - 1;
    if (GetBevel() > 0 && margin == 0 && (CSetServer::CurrentFlags() & ~0x7F)) --r;
    const int w = face->GetRequestedWidth();
    const int h = face->GetHeight();
    auto clear = [face, w, h](int x1, int x2, int y) {
        if (y < 0 || y >= h) return;
        for (int x = std::max(x1, 0); x <= std::min(x2, w - 1); ++x) *face->GetPixelAddress(x, y) = 0;
    };
    for (int y = 0; y < h; ++y) {
        if (y < margin || y >= h - margin) {
            clear(0, w - 1, y);
            continue;
        }
        clear(0, margin - 1, y);
        clear(w - margin, w - 1, y);
    }
    if (r <= 0) return;
    // End shapes keep the corners of their square side.
    const bool keepLeft = m_shapeKind == 3;
    const bool keepRight = m_shapeKind == 2;
    const bool keepTop = m_shapeKind == 1;
    const bool keepBottom = m_shapeKind == 0;
    for (int i = 0; i < r; ++i) {
        // Row i from the top of the quarter circle: pixels left of its edge go.
        const int dy = r - i;
        int inside = 0;
        while ((r - inside) * (r - inside) + dy * dy > r * r) ++inside;
        const int top = margin + i;
        const int bottom = h - margin - 1 - i;
        const int left1 = margin, left2 = margin + inside - 1;
        const int right1 = w - margin - inside, right2 = w - margin - 1;
        if (!keepTop) {
            if (!keepLeft) clear(left1, left2, top);
            if (!keepRight) clear(right1, right2, top);
        }
        if (!keepBottom) {
            if (!keepLeft) clear(left1, left2, bottom);
            if (!keepRight) clear(right1, right2, bottom);
        }
    }
}

int CZV3DButton::TakeCachedFace(int pressed) {
    CBitmapCache* cache = m_cacheKey ? CBitmapCache::Instance() : nullptr;
    CDibDC* found = cache ? cache->FindWindowBitmap(reinterpret_cast<uintptr_t>(m_cacheKey) + pressed) : nullptr;
    if (!found) return 0;
    if (m_ownsImages) FreeImages();
    (pressed ? m_pressedImage : m_normalImage) = found;
    m_ownsImages = 0;
    return 1;
}

void CZV3DButton::RenderFace(int pressed) {
    if (m_lookSource) return;
    CDibDC*& image = pressed ? m_pressedImage : m_normalImage;
    CBitmapCache* cache = m_cacheKey ? CBitmapCache::Instance() : nullptr;
    const uintptr_t key = reinterpret_cast<uintptr_t>(m_cacheKey) + pressed;
    if (TakeCachedFace(pressed)) return;
    CDibDC* made = nullptr;
    if (pressed && SkinsOn()) {
        if (CDibDC* normal = GetNormalImage()) {
            made = normal->Clone();
            std::unique_ptr<CZV3DButton> glow(CreateHighlightGlow());
            if (CDibDC* shine = glow->GetNormalImage()) made->AddBlend(shine, 100, 0, 0);
        }
    } else {
        const COLORREF colour = pressed ? GetPressedColor() : m_faceColor;
        if (!IsSuppliedShape()) ClampShape();
        made = RenderShape(colour, pressed);
        if (!made) {
            ReportAssert(kSource, 808, 1);
            return;
        }
        if (!IsSuppliedShape()) {
            ApplySkin(made);
            if (IsSkinned()) ClearCorners(made);
        }
    }
    if (m_ownsImages) delete image;
    image = made;
    if (cache && made) {
        cache->AddWindowBitmap(made, key);
        m_ownsImages = 0;
    }
}

void CZV3DButton::ApplySkin(CDibDC* face) {
    if (!face || (m_styleBits & k3DGlow)) return;
    const bool skins = SkinsOn();
    const bool parentOnBase = m_parent && m_parent->IsOnBaseSurface();
    if (!m_texture && !(skins && parentOnBase)) return;
    const int margin = GetMargin();
    const int x = ToRootX(0), y = ToRootY(0);
    const bool parentRaised = m_parent && !m_parent->IsOnBaseSurface();
    const int levelFlag = parentRaised ? 8 : 0;
    const bool wholeFace = (m_styleBits & k3DBaseSurface) != 0;
    CSetServer* style = CSetServer::Get();
    if (margin > 0 || m_radius > 0) {
        if ((m_styleBits & k3DKeepUnskinned) && m_ownsImages) {
            CDibDC*& copy = face == m_pressedImage ? m_unskinnedPressed : m_unskinnedNormal;
            delete copy;
            copy = face->Clone();
        }
        if (!wholeFace || !skins) {
            CSpanList spans;
            spans.AddRoundRect(m_width, m_height, margin, m_radius, m_shapeKind);
            CDibDC* skin = style ? style->GetSkinImage() : nullptr;
            if (parentOnBase && skins && skin)
                face->BlendSpans(skin, x, y, &spans, parentRaised ? 2 : style->GetSkinLevel());
            else
                Skins().DrawSkinRect(face, x, y, &spans, levelFlag);
        } else if (parentRaised && style && style->IsTextureReady()) {
            Skins().DrawSkinImage(face, face, x, y, nullptr, levelFlag);
        } else {
            SkinWholeFace(face, levelFlag | 2);
        }
        return;
    }
    if (wholeFace && skins) SkinWholeFace(face, levelFlag);
}

void CZV3DButton::SkinWholeFace(CDibDC* face, int flags) {
    std::unique_ptr<CDibDC> copy(face->Clone());
    Skins().DrawWithSkin(face, copy.get(), ToRootX(0), ToRootY(0), 0, 0, m_width, m_height, flags);
}

void CZV3DButton::DrawFaceImage(CZVDC* dc, CDibDC* image) {
    if (IsSkinned())
        Skins().DrawImage(dc, image, 0, 0, m_width, m_height, 0);
    else
        dc->BitBlt(0, 0, image, 0, 0, m_width, m_height);
}

void CZV3DButton::DrawFace(CZVDC* dc, int pressed, int) {
    if (m_lookFlags & kLookNoFace) return;
    const int edge = 2 * (GetBevel() + GetMargin());
    if (m_width < edge || m_height < edge) {
        ClampShape();
        if (m_width < 2 * (GetBevel() + GetMargin()) || m_height < 2 * (GetBevel() + GetMargin())) {
            dc->FillRect(m_faceColor, 0, 0, m_width, m_height, 0);
            return;
        }
    }
    CDibDC* image = pressed ? GetPressedImage() : GetNormalImage();
    if (!image) {
        ReportAssert(kSource, 659, 1);
        return;
    }
    if (m_icon && !m_icon->IsRequestPending() && !dc->IsPixelSurface()) {
        std::unique_ptr<CDibDC> copy(image->Clone());
        DrawIcon(copy.get(), pressed ? GetPressedColor() : m_faceColor);
        DrawFaceImage(dc, copy.get());
        return;
    }
    DrawFaceImage(dc, image);
}

void CZV3DButton::DrawCaption(CZVDC* dc, int pressed) { PaintCaption(dc, pressed, m_styleBits & k3DSmoothFont); }
