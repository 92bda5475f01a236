#include "widgets/lists/textlist.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "gfx/dibdc.h"
#include "widgets/style/setserver.h"

namespace {

constexpr int kTextListStyleClass = 11;
constexpr int kAccentStyleClass = 12;
constexpr int kTextInset = 5;
constexpr int kShadeBuildLevel = 10;
constexpr int kShadeBlendLevel = 6;

bool SkinsOn() { return (CSetServer::CurrentFlags() & kStyleSkins) != 0; }

COLORREF StyleColour(int styleClass, int index) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, index) : 0;
}

}  // namespace

// ---- CTextItem

CTextItem::CTextItem(int index, const char* text, int length, void* data) : CListItem(index, data) {
    if (text && length > 0) m_text.assign(text, strnlen(text, static_cast<size_t>(length)));
}

void CTextItem::SetText(CZVString text) { m_text = text.GetAnsi(); }

// ---- CTextList

CTextList::CTextList(CZVWindow* parent, CZVRect rect, int commandId)
    : CListWnd(parent, rect, kTextListStyleClass, commandId),
      m_accentTextColour(ScaleColor(1.5, m_textColor)),
      m_class12FaceColour(StyleColour(kAccentStyleClass, 0)),
      m_class12TextColour(StyleColour(kAccentStyleClass, 1)),
      m_selectedFillColour(0),
      m_rowTextColour(m_textColor),
      m_baseTextColour(m_textColor),
      m_rowFillColour(0) {
    m_backColor = StyleColour(kTextListStyleClass, 0);
    m_rowFillColour = m_backColor;
    m_selectedFillColour = ScaleColor(0.75, m_backColor);
    RequestLayout();
}

CTextItem* CTextList::AddString(CZVString text, void* data) {
    const char* chars = text.GetAnsi();
    auto row = std::make_unique<CTextItem>(GetCount(), chars, static_cast<int>(std::strlen(chars)), data);
    return static_cast<CTextItem*>(AppendItem(std::move(row)));
}

void CTextList::AddItem(std::unique_ptr<CTextItem> row) {
    if (row) AppendItem(std::move(row));
}

void CTextList::DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) {
    bottom = std::min(bottom, m_height);
    top = std::max(top, 0);
    if (top >= bottom) return;
    const COLORREF edge = m_parent ? m_parent->GetFaceColor() : m_faceColor;
    dc->PushClipBounds(0, top, m_width, bottom);
    if (SkinsOn() && fadeLevel < CListFade::kLevels && FillFromSkin(dc, m_backColor, 0, 0, m_width, m_height, -1))
        dc->DrawBevel(CZVRect(0, 0, m_width, m_height), GetBevel(), edge, false);
    else
        dc->FillBevelBoxStd(m_backColor, edge, false, 0, 0, m_width - 1, m_height - 1, GetBevel());
    dc->PopClip();
}

void CTextList::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    const int bevel = GetBevel();
    const int inner = m_width - 2 * bevel;
    const bool selected = IsSelected(row);
    COLORREF textColour = m_rowTextColour;
    if (selected) {
        if (!HasShadedSelection()) {
            dc->FillRect(m_selectedFillColour, bevel, top, inner, GetSelectedRowHeight(), 0);
        } else if (SkinsOn()) {
            CSetServer* style = CSetServer::Get();
            FillFromSkin(dc, style ? style->GetSelectionColor() : kHighlightColor, bevel, top, inner, bottom - top, -1);
            if (GetFadeLevel() == CListFade::kLevels && style) textColour = style->GetSelectionTextColor();
        }
        if (row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
    } else {
        if (m_rowFillColour != m_backColor) dc->FillRect(m_rowFillColour, bevel, top, inner, GetSelectedRowHeight(), 0);
        if (m_uniformRowHeight && row->m_showsRowButtons) {
            DrawItem(row, dc, top, bottom, 0);
            SelectTextFont(dc);
        }
    }
    dc->SetColor(textColour);
    dc->TextOutString(static_cast<CTextItem*>(row)->GetText(), bevel + kTextInset, (GetTextOffset() + top + bottom) / 2);
    if (selected && HasShadedSelection() && !SkinsOn()) ShadeSelectedRow(dc, row, top, bottom);
}

void CTextList::ShadeSelectedRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    CDibDC* shade = GetRowShade(m_selectedFillColour, kShadeBuildLevel, bottom - top);
    if (!shade) return;
    const int bevel = GetBevel();
    CDibDC work(shade->GetRequestedWidth(), shade->GetHeight(), 0, 0, 0);
    if (!work.GetBits()) return;
    dc->CaptureTo(&work, bevel, top);
    work.BlendExceptColor(shade, 0, 0, kShadeBlendLevel, ToRgb565(m_backColor));
    dc->BitBltAll(&work, bevel, top);
    if (row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
}
