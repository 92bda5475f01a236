#pragma once
// CShadeWnd: a window whose surface is made of shade shapes (rounded
// bevelled frames, shaded bands and flat fills), assembled once, rendered on
// first paint and then painted in shape order. Rounded panels, tab strips,
// list rows and the 3D buttons' faces are built with it.
#include <memory>
#include <vector>

#include "gfx/shadecorner.h"
#include "gfx/shaderect.h"
#include "widgets/buttons/buttonface.h"
#include "widgets/window/zvwindow.h"

class CShadeWnd : public CZVWindow {
public:
    // Frame flags of AddFrame.
    enum : int {
        kNoTopEdge = 0x1,
        kNoTopLeft = 0x10,
        kNoTopRight = 0x20,
        kNoBottomLeft = 0x40,
        kNoBottomRight = 0x80,
        kHollowCorners = 0x100,
    };

    CShadeWnd(CZVWindow* parent, CZVRect rect, int styleClass);
    ~CShadeWnd() override;

    void Paint(CZVDC* dc, int withBackground) override;
    void OnPaint(CZVDC* dc) override;
    std::optional<CZVRect> GetOpaqueRect() override;
    // Renders every shape straight into the target, moved by the window's position.
    virtual void RenderShapes(CDibDC* target);

    void AddShape(CShadeShape* shape);
    CShadeRect* AddRect(int x1, int y1, int x2, int y2);
    CShadeEdge* AddEdge(int side, int x, int y, int w, int h);
    CShadeEdge* AddEdgeBounds(int side, int x1, int y1, int x2, int y2);
    CShadeEdge* AddEdgeSize(int side, int x, int y, int w, int h) { return AddEdge(side, x, y, w, h); }
    CShadeCorner* AddCorner(int type, CZVRect rect, int circleFlags);
    void AddFrame(int left, int top, int right, int bottom, int width, int radius, int inverted, int fill, int flags,
                  int circleFlags);
    void MirrorShapes(bool flipX, bool flipY);
    void SetPressed(bool keepSwapped);
    void ToggleRectShapes();
    void SetOutlines(int inner, int outer);
    void PaintShapes(CZVDC* dc, CZVWindow* textureSource, CZVWindow* self);

    int GetShapeCount() const { return static_cast<int>(m_shapes.size()); }
    CShadeShape* GetShape(int i) const { return m_shapes[i].get(); }
    int IsPrepared() const { return m_prepared; }
    int IsPressed() const { return m_pressed; }
    void SetDepth(int depth) { m_depth = depth; }
    int GetDepth() const { return m_depth; }
    void SetSwap(int swap) { m_swap = swap; }
    void SetPlainRects(int plain) { m_plainRects = plain; }
    void SetFillBack(int fill) { m_fillBack = fill; }
    void SetOpaqueRect(CZVRect rect) { m_opaqueRect = rect; }

private:
    // Renders every shape not yet rendered with the window's colours.
    void PrepareShapes(CDibDC* target);

    int m_prepared = 0;
    std::vector<std::unique_ptr<CShadeShape>> m_shapes;
    int m_depth = 75;
    int m_pressed = 0;
    int m_swap = 0;
    int m_plainRects = 0;
    int m_fillBack = 0;
    CZVRect m_opaqueRect;
};

// One shade edge (sides 0 top, 1 left, 2 bottom, 3 right) rendered once in
// a colour at the outlines' depth of 25, kept to be drawn wherever it is
// needed (kShadePlain); null for an empty rectangle.
std::unique_ptr<CShadeEdge> MakeEdgePiece(int side, CZVRect rect, COLORREF colour, int cuts);
// Lays a mid-grey shade edge over the target with the overlay mix: it lights
// and shades what lies there without colouring it.
void OverlayGreyEdge(CDibDC* target, int side, CZVRect rect);

// The inner face of a bevel `inset` wide still reaches the corner's square.
int CornerFits(int radius, int inset);

// A button's margin ring and bevelled face, rendered into the target.
// depth below 0 means 25; the shading depth is 25 afterwards.
void RenderShadedFrame(CZVWindow* window, COLORREF face, CDibDC* target, int depth, bool skinned, bool plain);

// The bevelled buttons' faces drawn by the shading engine: the margin ring
// and the bevelled face of RenderShadedFrame, unskinned (the button mixes
// its skin in itself), and the end shapes of the bevelled buttons.
class CShadedFaceRenderer : public CButtonFaceRenderer {
public:
    void RenderShadedFrame(CZVWindow* window, COLORREF face, CDibDC* surface, int depth) override;
    void RenderEndShape(CZVWindow* window, int kind, COLORREF face, CDibDC* surface) override;
};
