#pragma once
// CListRowButton: one of the small bevelled buttons at the right end of a
// touch list's selected row. One set serves every row; each is rendered up
// and down when it is made, and afterwards only blitted. A gateway icon that
// is still loading is rendered again once it has arrived: its arrival
// repaints the list.
#include <memory>

#include "gfx/speed.h"
#include "gfx/zvrect.h"
#include "gfx/zvstring.h"

class CDibDC;
class CListWnd;
class CZVDC;
class CZV3DButton;

// How a row button's face is made.
struct CRowButtonLook {
    CZVString caption;
    // A gateway icon by name, or a built-in icon of a kind (above 0).
    CZVString iconName;
    int iconKind = 0;
    int iconLayout = 1;
    // Built-in icons only; null: the face brightened.
    const COLORREF* iconColour = nullptr;
};

class CListRowButton {
public:
    // rect: x is measured leftwards from the row's right edge (negative), y
    // from the row's top.
    CListRowButton(CListWnd* list, CZVRect rect, int commandId, int autoRepeat, const CRowButtonLook& look);
    ~CListRowButton();
    CListRowButton(const CListRowButton&) = delete;
    CListRowButton& operator=(const CListRowButton&) = delete;

    // The button's place in a row with that rectangle.
    CZVRect GetRectInRow(CZVRect row) const;
    // Blits an image at rect, inside the list's rows.
    void Draw(CListWnd* list, CZVDC* dc, CZVRect rect, CDibDC* image);
    void DrawNormal(CListWnd* list, CZVDC* dc, CZVRect rect);
    void DrawPressed(CListWnd* list, CZVDC* dc, CZVRect rect);

    const CZVRect& GetRect() const { return m_rect; }
    int GetCommandId() const { return m_commandId; }
    int IsAutoRepeat() const { return m_autoRepeat; }
    int IsPressed() const { return m_pressed; }
    void SetPressed(int pressed) { m_pressed = pressed; }
    CDibDC* GetNormalImage() const { return m_normalImage.get(); }
    CDibDC* GetPressedImage() const { return m_pressedImage.get(); }

private:
    // Both faces, painted by the face button.
    void RenderFaces();
    // Renders the faces again once the awaited icon is there.
    void RenderIfIconArrived();
    // A face of the button's size in that colour.
    std::unique_ptr<CDibDC> Render(COLORREF face);

    CZVRect m_rect;
    COLORREF m_upFace = 0;
    COLORREF m_downFace = 0;
    // The parentless button that paints the faces; kept while its gateway
    // icon is awaited.
    std::unique_ptr<CZV3DButton> m_faceButton;
    std::unique_ptr<CDibDC> m_normalImage;
    std::unique_ptr<CDibDC> m_pressedImage;
    int m_pressed = 0;
    int m_autoRepeat;
    int m_commandId;
};
