#include "widgets/tabs/tabbutton.h"

#include <algorithm>
#include <memory>

#include "gfx/bitmapcache.h"
#include "gfx/dibdc.h"
#include "gfx/skinservices.h"
#include "platform/report.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "tabbutton";
// The outline of a menu tab is shaded less deeply than a button's face.
constexpr int kEdgeDepth = 25;
// Style bits that a compact tab's highlight glow takes over.
constexpr int kGlowRampBits = k3DRampIn | k3DRampOut;

// Layout bits of the style object's flags that place a menu tab's icon.
constexpr int kLayoutBits = 0xF00;

int LayoutBits() { return CSetServer::Get() ? CSetServer::Get()->GetFlags() & kLayoutBits : 0; }
bool IsCompact() { return CSetServer::Get() && CSetServer::Get()->IsCompactLayout(); }

}  // namespace

CTabButton* CTabContainer::TabAt(const CZVObList& tabs, int index) {
    if (index < 0 || index >= tabs.GetCount()) return nullptr;
    return static_cast<CTabButton*>(tabs.GetAt(tabs.FindIndex(index)));
}

CTabButton::CTabButton(CTabContainer* parent, CZVRect rect, int id, int styleClass, int ownFace)
    : CZV3DButton(parent, rect, id, styleClass), m_ownFace(ownFace) {
    if (parent) SetBackColor(parent->GetBackColor());
    m_raisedLevel = 0;
    SetStyleBit(k3DSkinned, 0);
    m_shown = 1;
}

CTabButton::~CTabButton() = default;

bool CTabButton::IsInMainMenu() { return GetMainWnd() && GetMainWnd()->GetMainMenu() == m_parent; }

int CTabButton::IsSelected() { return Container() && Container()->GetSelectedTab() == this; }

COLORREF CTabButton::GetNormalColor() { return IsSelected() ? m_faceColor : GetPressedColor(); }

COLORREF CTabButton::GetPressedColor() {
    if ((m_styleClass == 2 || m_styleClass == 3) && CSetServer::Get() && CSetServer::Get()->GetTabPressColor())
        return CSetServer::Get()->GetTabPressColor();
    return CSetServer::GetPressedShade(m_faceColor);
}

int CTabButton::IsOnBaseSurface() { return m_parent ? m_parent->IsOnBaseSurface() : 1; }

void CTabButton::GetShapeRect(CZVRect* out) {
    const int s = std::min(m_width, m_height);
    const int cap = CSetServer::Get() ? CSetServer::Get()->GetTabIconCap() : 32;
    const bool inMenu = GetMainWnd() && GetMainWnd()->GetMainMenu() == m_parent;
    if (m_styleClass == 2 && (m_icon || inMenu)) {
        const int g = IsCompact() ? GetBevel() / 2 : (GetBevel() + m_radius) * 3 / 10;
        const int bits = LayoutBits();
        if (bits == 0x200 || bits == 0x800)
            *out = CZVRect(g, g, m_width - g, cap + 1);
        else if (bits == 0x400)
            *out = CZVRect(m_width / 2 - cap / 2, m_height / 2 - cap / 2, cap, cap);
        else
            *out = CZVRect(g, m_height / 2 - cap / 2, cap, cap);
        return;
    }
    if (m_styleClass == 2) {
        *out = CZVRect(0, 0, GetBevel() / 2, m_height);
        return;
    }
    const int g = (GetBevel() + m_radius) * 3 / 10;
    const int side = std::min({s - g, cap, m_width / 5});
    *out = CZVRect(g, m_height / 2 - side / 2, side, side);
}

void CTabButton::GetIconRect(CZVRect* out) {
    if (!m_icon) {
        *out = CZVRect(GetBevel(), GetBevel(), 0, 0);
        return;
    }
    GetShapeRect(out);
    if (m_captionHidden) {
        const int cap = CSetServer::Get() ? CSetServer::Get()->GetTabIconCap() : 32;
        const int side = std::min(std::min(m_width, m_height) - GetBevel(), cap * 125 / 100);
        *out = CZVRect(m_width / 2 - side / 2, m_height / 2 - side / 2, side, side);
    }
}

void CTabButton::GetInnerRect(CZVRect* out) {
    const int bevel = GetBevel();
    CZVRect icon;
    GetIconRect(&icon);
    if (m_styleClass != 2) {
        const int x = icon.x + icon.w - 1;
        *out = CZVRect(x, 0, m_width - bevel - x, m_height);
        return;
    }
    const bool inMenu = GetMainWnd() && GetMainWnd()->GetMainMenu() == m_parent;
    if (icon.w <= 0 && !m_icon) {
        if (!inMenu) {
            *out = CZVRect(bevel, 0, m_width - 2 * bevel, m_height);
            return;
        }
        GetShapeRect(&icon);  // the menu measures as if the tab had an icon
    }
    const int bits = LayoutBits();
    const int iconBottom = icon.y + icon.h;
    if (bits == 0x200 || bits == 0x800) {
        *out = CZVRect(icon.x, iconBottom - 1, icon.w, m_height - bevel - iconBottom + 2);
        return;
    }
    const int x = icon.x + icon.w - 1;
    const int w = m_ownFace && IsCompact() ? m_width - bevel / 2 - x + 1 : m_width - x;
    *out = CZVRect(x, bevel / 2, w, m_height - 2 * (bevel / 2) + 1);
}

void CTabButton::OnPaint(CZVDC* dc) {
    if (!m_shown) return;
    CZVWindow::OnPaint(dc);
    CMainWndBase* main = GetMainWnd();
    if (m_ownFace && main && main->IsBlendedDrawing() && !dynamic_cast<CDibDC*>(dc)) {
        // Drawn whole on a tab-sized surface, the face reaches the screen in one blit.
        CDibDC dib(m_width, m_height, ToRootX(0), ToRootY(0), 1);
        dib.SetOrigin(ToRootX(0), ToRootY(0));
        CSetServer* style = CSetServer::Get();
        CDibDC* skin = style && (style->GetFlags() & kStyleSkins) && Container() && Container()->GetStyleClass() == 2
                           ? style->GetSkinImage()
                           : nullptr;
        if (skin) dib.BitBlt(0, 0, skin, ToRootX(0), ToRootY(0), m_width, m_height);
        PaintFaceAndIcon(&dib);
        dc->SetOrigin(ToRootX(0), ToRootY(0));
        dc->BitBlt(0, 0, &dib, 0, 0, m_width, m_height);
        return;
    }
    PaintFaceAndIcon(dc);
}

void CTabButton::PaintFaceAndIcon(CZVDC* dc) {
    DrawFace(dc, 0);
    if (!m_ownFace) DrawCaption(dc, 0);
    // The compact face draws its icon itself.
    if (!(m_ownFace && IsCompact())) DrawIcon(dc, GetNormalColor());
}

void CTabButton::DrawFace(CZVDC* dc, int, int) {
    if (!m_shown || !m_ownFace) return;
    if (IsCompact()) {
        DrawCompactFace(dc);
        return;
    }
    CZV3DButton::DrawFace(dc, !IsSelected());
    DrawCaption(dc, 0);
}

void CTabButton::DrawCompactFace(CZVDC* dc) {
    if (m_width <= 0 || m_height <= 0) return;
    CDibDC face(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    face.SetOrigin(ToRootX(0), ToRootY(0));
    if (IsSelected()) {
        CSetServer* style = CSetServer::Get();
        COLORREF colour = m_faceColor;
        if (style) colour = IsInMainMenu() ? style->GetStyleColor(6, 0) : style->GetSelectionColor();
        if (!FillFromSkin(&face, colour, 0, 0, m_width, m_height, -1))
            face.FillRect(colour, 0, 0, m_width, m_height, 0);
        DrawCompactEdges(&face, colour);
    } else {
        DrawBackgroundRect(&face, 0, 0, m_width, m_height, GetParentOpaqueAncestor());
        if (m_positionKind == kTabCompactFirst) {
            const COLORREF line = m_parent ? m_parent->GetFaceColor() : m_faceColor;
            const EdgeKey key{line, m_width, m_height};
            if (!m_edgePieces[kEdgeFirstLine] || !(m_lineKey == key)) {
                m_edgePieces[kEdgeFirstLine] = MakeEdgePiece(0, CZVRect(0, 0, m_width, 2), line, 0);
                m_lineKey = key;
            }
            if (m_edgePieces[kEdgeFirstLine]) m_edgePieces[kEdgeFirstLine]->Draw(&face, kShadePlain, nullptr, nullptr);
        }
    }
    DrawCaption(&face, 0);
    if (m_icon) {
        const int countdown = m_highlightCountdown;
        m_highlightCountdown = 0;  // the glow runs on the screen, not in the face
        DrawIcon(&face, GetNormalColor());
        m_highlightCountdown = countdown;
    }
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    dc->BitBlt(0, 0, &face, 0, 0, m_width, m_height);
}

void CTabButton::DrawCompactEdges(CDibDC* face, COLORREF colour) {
    const int b = GetBevel();
    const EdgeKey key{colour, m_width, m_height};
    if (!m_edgePieces[kEdgeLeft] || !(m_edgeKey == key)) {
        m_edgePieces[kEdgeLeft] = MakeEdgePiece(1, CZVRect(0, 0, b, m_height), colour, 0);
        m_edgePieces[kEdgeRight] = MakeEdgePiece(3, CZVRect(m_width - b, 0, b, m_height), colour, 0);
        m_edgePieces[kEdgeTop] = MakeEdgePiece(0, CZVRect(0, 0, m_width, 2), colour, 0);
        m_edgePieces[kEdgeBottom] = MakeEdgePiece(2, CZVRect(0, m_height - 2, m_width, 2), colour, 0);
        m_edgeKey = key;
    }
    for (int i = kEdgeLeft; i <= kEdgeBottom; ++i)
        if (m_edgePieces[i]) m_edgePieces[i]->Draw(face, kShadePlain, nullptr, nullptr);
}

void CTabButton::DrawCaption(CZVDC* dc, int pressed) {
    if (m_captionHidden || !m_shown) return;
    int format = 17;
    const int bits = m_styleClass == 2 ? LayoutBits() : 0;
    if (bits == 0x400) return;
    if (bits == 0x800) format = 18;
    CZVRect inner;
    GetInnerRect(&inner);
    COLORREF colour = m_textColor;
    const bool inMenu = GetMainWnd() && GetMainWnd()->GetMainMenu() == m_parent;
    if (m_ownFace && IsSelected() && !inMenu && CSetServer::Get()) colour = CSetServer::Get()->GetSelectionTextColor();
    if (pressed) colour = CSetServer::GetPressedShade(colour);
    // The caption's own colour, whatever the device context drew before it.
    dc->SetColor(colour);
    if (bits == 0x100 || bits == 0x200) {
        dc->DrawVerticalText(m_text, m_fontSize, 0, inner, 0, 18);
        return;
    }
    dc->SelectFont(m_fontSize, 0, 1);
    CZVString text = m_text;
    if (!m_ownFace && m_styleClass != 2) {
        format = 18;
        if (CountLines(text) == 1) text = dc->EllipsizeText(text, inner.w);
        if (Container() && Container()->GetLayoutMode() == 1) {
            const int shift = std::max(0, std::min({GetBevel(), inner.h - dc->GetTextSize(text).cy, 4}));
            inner.y += shift;
            inner.h -= shift;
        }
    }
    dc->DrawText(text, inner, format);
}

int CTabButton::DrawIcon(CZVDC* dc, COLORREF colour) {
    if (!m_shown || !m_icon) return 0;
    if (m_highlightCountdown > 0 && m_highlightSnapshot) {
        HighlightStep(dc);
        return 1;
    }
    CZVRect rect;
    GetIconRect(&rect);
    const int bits = m_styleClass == 2 ? LayoutBits() : 0;
    if (bits != 0x400 && bits != 0x800) rect.Deflate(GetBevel() / 2, GetBevel() / 2);
    m_icon->Draw(this, dc, rect, colour, 0);
    return 1;
}

int CTabButton::OnLButtonDown(int x, int y, int keys) {
    if (!m_shown || !CZVButton::OnLButtonDown(x, y, keys)) return 0;
    if (m_pressed) {
        CZVDC dc(this);
        DrawCaption(&dc, 1);
    }
    return 1;
}

int CTabButton::TrackPress(CZVDC* dc, int x, int y, int) {
    if (!m_pressed) return 0;
    const int inside = HitTest(x, y) ? 1 : 0;
    if (inside != m_inside) {
        m_inside = inside;
        DrawCaption(dc, inside);
    }
    return 1;
}

int CTabButton::OnMouseMove(int x, int y, int keys) {
    if (!m_pressed) return 0;
    CZVDC dc(this);
    return TrackPress(&dc, x, y, keys);
}

int CTabButton::OnLButtonUp(int x, int y, int keys) {
    if (!m_shown || !m_pressed) return 0;
    {
        CZVDC dc(this);
        DrawCaption(&dc, 0);
    }
    return CZVButton::OnLButtonUp(x, y, keys) ? 1 : 0;
}

int CTabButton::FitFontSize(int start, CZVString line) {
    if (start <= 8) return start;
    CZVRect inner;
    GetInnerRect(&inner);
    const bool vertical = m_styleClass == 2 && (LayoutBits() == 0x100 || LayoutBits() == 0x200);
    const int maxW = vertical ? inner.h : inner.w;
    const int maxH = vertical ? inner.w : inner.h;
    CZVDC dc(this);
    for (int size = start; size >= 9; --size) {
        dc.SelectFont(size, 0, 1);
        const CTextSize t = dc.GetTextSize(line);
        if (t.cx < maxW && t.cy < maxH) return size;
    }
    return 8;
}

int CTabButton::ApplyCaptionFont(int start) {
    int size = start;
    const int lines = m_text.IsEmpty() ? 0 : CountLines(m_text);
    for (int i = 0; i < lines; ++i) {
        CZVString line;
        GetTextLine(&line, i, m_text);
        size = FitFontSize(size, line);
    }
    return size;
}

// ---- faces of the menu tabs

void CTabButton::BuildEdgePieces(CShadeWnd* builder) {
    if (GetMargin() != 0) ReportAssert(kSource, 1101, 1);
    if (m_radius == 0) ReportAssert(kSource, 1102, 1);
    if (!m_ownFace) {
        ReportAssert(kSource, 1137, 1);
        return;
    }
    const int b = GetBevel();
    const int r = m_radius;
    const int grow = std::max(b - r, 0);  // a bevel wider than the corner reaches past it
    const int W = m_width, H = m_height;
    builder->SetDepth(kEdgeDepth);
    builder->AddRect(b, b, W - 1, H - b - 1);
    builder->AddRect(r, 0, W - 1, b - 1);
    builder->AddRect(0, r, b - 1, H - r - 1);
    if (r > 0) {
        builder->AddCorner(1, {0, 0, r, r}, 0);
        builder->AddCorner(0, {0, H - r, r, r}, 0);
    }
    if (CShadeEdge* e = builder->AddEdgeBounds(0, r, 0, W - 1, b - 1); e && grow) e->SetCuts(0, grow);
    if (CShadeEdge* e = builder->AddEdgeBounds(2, r, H - b, W - 1, H - 1); e && grow) e->SetCuts(0, grow);
    if (CShadeEdge* e = builder->AddEdgeBounds(1, 0, r, b - 1, H - r - 1); e && grow) e->SetCuts(0, grow);
}

void CTabButton::RenderFace(int pressed) {
    if (m_lookSource || m_width <= 0 || m_height <= 0) return;
    CDibDC*& image = pressed ? m_pressedImage : m_normalImage;
    // Only a tab with a cache key shares its faces through the cache; keyless
    // tabs keep their own, so that two of them never overwrite each other's.
    CBitmapCache* cache = m_cacheKey ? CBitmapCache::Instance() : nullptr;
    const uintptr_t key = reinterpret_cast<uintptr_t>(m_cacheKey) + pressed;
    if (TakeCachedFace(pressed)) return;
    const bool skins = (CSetServer::CurrentFlags() & kStyleSkins) != 0;
    auto made = std::make_unique<CDibDC>(m_width, m_height, 0, 0, 1);
    if (!skins) made->FillRect(0, 0, 0, m_width, m_height, m_backColor);
    CShadeWnd builder(nullptr, CZVRect(0, 0, m_width, m_height), 0);
    BuildEdgePieces(&builder);
    builder.SetBevel(GetBevel());
    builder.SetColors(pressed ? GetPressedColor() : m_faceColor, m_parent ? m_parent->GetBackColor() : m_backColor);
    builder.RenderShapes(made.get());
    if (skins) SkinWholeFace(made.get(), 0);
    if (cache && m_ownsImages)
        FreeImages();  // from here on both faces are the cache's
    else if (m_ownsImages)
        delete image;
    image = made.release();
    if (cache) {
        cache->AddWindowBitmap(image, key);
        m_ownsImages = 0;
    }
}

// ---- drawing

void CTabButton::RedrawBuffered() {
    if (m_styleClass != 2) {
        ReportAssert(kSource, 183, 1);
        CZVWindow::RedrawBuffered();
        return;
    }
    const int w = m_width - GetBevel() - GetSpacing();
    if (!m_shown || w <= 0 || m_height <= 0) return;
    CDibDC dib(w, m_height, ToRootX(0), ToRootY(0), 1);
    dib.SetOrigin(ToRootX(0), ToRootY(0));
    Paint(&dib, 1);
    CZVDC dc(this);
    dc.BitBlt(0, 0, &dib, 0, 0, w, m_height);
}

std::array<uint8_t, 3> CTabButton::IconHighlightTint(int countdown) {
    const int c = std::clamp(countdown, 0, 100);
    return {static_cast<uint8_t>(c * 150 / 100), static_cast<uint8_t>(c * 150 / 100),
            static_cast<uint8_t>(c * 255 / 100)};
}

void CTabButton::HighlightStep(CZVDC* dc) {
    if (m_styleClass != 2) {
        CZVWindow::HighlightStep(dc);
        return;
    }
    if (IsCompact()) {
        CZV3DButton::HighlightStep(dc);
        return;
    }
    if (m_highlightCountdown <= 0 || !m_icon || !m_highlightSnapshot) {
        CZVWindow::HighlightStep(dc);
        return;
    }
    // Only the icon glows: the face under it is drawn afresh, the icon tinted over it.
    CDibDC dib(m_width, m_height, ToRootX(0), ToRootY(0), 1);
    dib.SetOrigin(ToRootX(0), ToRootY(0));
    DrawBackgroundRect(&dib, 0, 0, m_width, m_height, GetParentOpaqueAncestor());
    DrawFace(&dib, !IsSelected());
    CZVRect rect;
    GetIconRect(&rect);
    if (LayoutBits() != 0x400 && LayoutBits() != 0x800) rect.Deflate(GetBevel() / 2, GetBevel() / 2);
    const std::array<uint8_t, 3> tint = IconHighlightTint(m_highlightCountdown);
    m_icon->DrawTinted(this, &dib, rect, GetNormalColor(), tint.data());
    dc->BitBlt(rect.x, rect.y, &dib, rect.x, rect.y, rect.w, rect.h);
}

CZV3DButton* CTabButton::CreateHighlightGlow() {
    CZV3DButton* glow = CZV3DButton::CreateHighlightGlow();
    if (!IsCompact()) return glow;
    glow->SetStyleBits((glow->GetStyleBits() & ~kGlowRampBits) | (m_styleBits & kGlowRampBits));
    glow->SetShape(0, GetBevel(), 0);
    return glow;
}
