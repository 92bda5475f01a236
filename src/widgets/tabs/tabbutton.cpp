#include "widgets/tabs/tabbutton.h"

#include <algorithm>

#include "platform/report.h"
#include "widgets/window/mainwnd.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

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
    DrawFace(dc, 0);
    if (!m_ownFace) DrawCaption(dc, 0);
    DrawIcon(dc, GetNormalColor());
}

void CTabButton::DrawFace(CZVDC* dc, int, int) {
    if (!m_shown || !m_ownFace) return;
    CZV3DButton::DrawFace(dc, !IsSelected());
    DrawCaption(dc, 0);
}

void CTabButton::DrawCaption(CZVDC* dc, int pressed) {
    if (m_captionHidden || !m_shown) return;
    int format = 17;
    const int bits = m_styleClass == 2 ? LayoutBits() : 0;
    if (bits == 0x400) return;
    if (bits == 0x800) format = 18;
    CZVRect inner;
    GetInnerRect(&inner);
    if (bits == 0x100 || bits == 0x200) {
        dc->DrawVerticalText(m_text, m_fontSize, 0, inner, 0, 18);
        return;
    }
    COLORREF colour = m_textColor;
    const bool inMenu = GetMainWnd() && GetMainWnd()->GetMainMenu() == m_parent;
    if (m_ownFace && IsSelected() && !inMenu && CSetServer::Get()) colour = CSetServer::Get()->GetSelectionTextColor();
    if (pressed) colour = CSetServer::GetPressedShade(colour);
    dc->SelectFont(m_fontSize, 0, 1);
    dc->SetColor(colour);
    CZVString text = m_text;
    if (!m_ownFace && m_styleClass != 2) {
        format = 18;
        if (CountLines(text) == 1) text = dc->EllipsizeText(text, inner.w);
        if (Container() && Container()->GetLayoutMode() == 1) {
            const int shift =
                std::max(0, std::min({GetBevel(), inner.h - dc->GetTextSize(text).cy, 4}));
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
