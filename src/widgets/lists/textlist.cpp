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

COLORREF StyleColour(int styleClass, int index) {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyleColor(styleClass, index) : 0;
}

}  // namespace

bool ListSkinsOn() { return (CSetServer::CurrentFlags() & kStyleSkins) != 0; }

bool FillSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h) {
    CSetServer* style = CSetServer::Get();
    return style && style->DrawSkinPiece(dc, colour, x, y, w, h, -1, 0);
}

void DrawListBackground(CListWnd* list, CZVDC* dc, int top, int bottom, int fadeLevel, bool clip) {
    const int width = list->GetWidth();
    const int height = list->GetHeight();
    bottom = std::min(bottom, height);
    top = std::max(top, 0);
    if (top >= bottom) return;
    CZVWindow* parent = list->GetParent();
    const COLORREF edge = parent ? parent->GetFaceColor() : list->GetFaceColor();
    const COLORREF back = list->GetBackColor();
    if (clip) dc->PushClipBounds(0, top, width, bottom);
    if (ListSkinsOn() && fadeLevel < CListFade::kLevels && FillSkinPiece(dc, back, 0, 0, width, height))
        dc->DrawBevel(CZVRect(0, 0, width, height), list->GetBevel(), edge, false);
    else
        dc->FillBevelBoxStd(back, edge, false, 0, 0, width - 1, height - 1, list->GetBevel());
    if (clip) dc->PopClip();
}

void ShadeListRow(CListWnd* list, CZVDC* dc, CDibDC* shade, int top) {
    if (!shade) return;
    CDibDC work(shade->GetRequestedWidth(), shade->GetHeight(), 0, 0, 0);
    if (!work.GetBits()) return;
    const int bevel = list->GetBevel();
    dc->CaptureTo(&work, bevel, top);
    work.BlendExceptColor(shade, 0, 0, kShadeBlendLevel, ToRgb565(list->GetBackColor()));
    dc->BitBltAll(&work, bevel, top);
}

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

void CTextList::SetRowColours(COLORREF rowFill, COLORREF selectedFill, COLORREF selectedText) {
    m_rowFillColour = rowFill;
    m_selectedFillColour = selectedFill;
    m_selectedTextColour = selectedText;
}

void CTextList::DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) {
    DrawListBackground(this, dc, top, bottom, fadeLevel, true);
}

void CTextList::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    const int bevel = GetBevel();
    const int inner = m_width - 2 * bevel;
    const bool selected = IsSelected(row);
    COLORREF textColour = selected && m_selectedTextColour ? *m_selectedTextColour : m_rowTextColour;
    if (selected) {
        if (!HasShadedSelection()) {
            dc->FillRect(m_selectedFillColour, bevel, top, inner, GetSelectedRowHeight(), 0);
        } else if (ListSkinsOn()) {
            CSetServer* style = CSetServer::Get();
            FillSkinPiece(dc, style ? style->GetSelectionColor() : kHighlightColor, bevel, top, inner, bottom - top);
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
    dc->TextOutString(static_cast<CTextItem*>(row)->GetText(), bevel + kTextInset,
                      (GetTextOffset() + top + bottom) / 2);
    if (!selected || !HasShadedSelection() || ListSkinsOn()) return;
    ShadeListRow(this, dc, GetRowShade(m_selectedFillColour, kShadeBuildLevel, bottom - top), top);
    if (row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
}
