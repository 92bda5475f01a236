#pragma once
#include "widgets/window/zvwindow.h"

class CShadeWnd;

// A small level indicator: a shaded shape that turns from the face colour to
// green from the left as its level goes from 0 to 100, with its caption in a
// band at the bottom.
class CBevelPanel : public CZVWindow {
public:
    CBevelPanel(CZVWindow* parent, CZVRect rect, int bandHeight);
    ~CBevelPanel() override;

    void SetState(int level, int redraw);
    int GetLevel() const { return m_level; }
    void OnPaint(CZVDC* dc) override;

private:
    void EnsureShapes();
    CShadeWnd* BuildShape(COLORREF face);
    // The empty shape right of the level's boundary line, the full one left of it.
    void ComposeLevel(CDibDC* empty, CDibDC* full, CDibDC* out);

    int m_bandHeight;
    int m_level = 0;
    CShadeWnd* m_emptyShape = nullptr;
    CShadeWnd* m_fullShape = nullptr;
};
