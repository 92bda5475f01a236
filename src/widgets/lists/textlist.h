#pragma once
// CTextList: the list of one line of text per row that most pages show.
// Rows sit on the list's bevelled background (or its skin); the selected row
// is filled flat, skinned, or glass shaded, and carries the row buttons.
#include <optional>
#include <string>

#include "widgets/lists/listwnd.h"

// The list's whole bevelled background (its skin below the plain fade
// level), clipped to the band top..bottom when clip is set.
void DrawListBackground(CListWnd* list, CZVDC* dc, int top, int bottom, int fadeLevel, bool clip);
// Paints a piece of the style's skin; false when there is none.
bool FillSkinPiece(CZVDC* dc, COLORREF colour, int x, int y, int w, int h);
// Blends the glass shade into the row at top where its pixels show the
// list's back colour, leaving the text as drawn.
void ShadeListRow(CListWnd* list, CZVDC* dc, CDibDC* shade, int top);
bool ListSkinsOn();

// A row with one line of 8-bit text.
class CTextItem : public CListItem {
public:
    // At most length characters of text; none for a null text or a length
    // below 1.
    CTextItem(int index, const char* text, int length, void* data);

    virtual void SetText(CZVString text);
    virtual CZVString GetText() const { return CZVString(m_text.c_str()); }

private:
    std::string m_text;
};

class CTextList : public CListWnd {
public:
    CTextList(CZVWindow* parent, CZVRect rect, int commandId);

    // A new row at the end with the text and data.
    virtual CTextItem* AddString(CZVString text, void* data);
    // Appends a prepared row; the list owns it.
    void AddItem(std::unique_ptr<CTextItem> row);

    void DrawRowBackground(CZVDC* dc, int top, int bottom, int fadeLevel) override;
    void DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) override;

    COLORREF GetSelectedFillColor() const { return m_selectedFillColour; }
    // Fills every row with rowFill, the selected one with selectedFill, and
    // writes the selected row's text in selectedText.
    void SetRowColours(COLORREF rowFill, COLORREF selectedFill, COLORREF selectedText);

protected:
    COLORREF m_accentTextColour;
    COLORREF m_class12FaceColour;
    COLORREF m_class12TextColour;
    // Flat selection fill and the key of the glass shade.
    COLORREF m_selectedFillColour;
    COLORREF m_rowTextColour;
    COLORREF m_baseTextColour;
    // Unselected rows are filled with it when it differs from the back colour.
    COLORREF m_rowFillColour;
    // The selected row's text, when it differs from the other rows'.
    std::optional<COLORREF> m_selectedTextColour;
};
