#pragma once
// CZV3DButton: the push button with a shaded, bevelled face. Its normal and
// pressed faces are rendered once into off-screen surfaces and blitted on
// every paint; buttons of one look share them through a look source or
// through the bitmap cache under a cache key. With skins on the skin is
// mixed into the faces and the corners turn transparent. It also serves as
// the glow of the window highlight.
#include <vector>

#include "widgets/buttons/zvbutton.h"

class CZVCheckButton;

// Style bits of the bevelled button.
enum : int {
    k3DSmoothFont = 0x1,
    k3DSkinned = 0x2,
    k3DBaseSurface = 0x8,
    k3DKeepUnskinned = 0x10,
    k3DGlow = 0x20,
    k3DRampIn = 0x40,
    k3DRampOut = 0x80,
};

class CZV3DButton : public CZVButton {
public:
    CZV3DButton(CZVWindow* parent, CZVRect rect, int clickId, int styleClass);
    ~CZV3DButton() override;

    // ---- window and button operations
    void OnFaceColorChanged(COLORREF colour) override;
    int IsOnBaseSurface() override;
    int HitTest(int x, int y) override;
    void Redraw(int withBackground) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void FlushImageCache() override;
    std::optional<CZVRect> GetOpaqueRect() override;
    CZVWindow* IsSameLook(CZVWindow* w) override;
    void HighlightStep(CZVDC* dc) override;
    void CaptureSnapshot(CZVDC* dc) override;
    void EndHighlight(CZVDC* dc) override;
    CZV3DButton* CreateHighlightGlow() override;
    void DrawHighlightShape(COLORREF colour, CDibDC* dib) override;
    COLORREF GetButtonColor() override { return m_faceColor; }

    // ---- added by the bevelled button
    virtual CZVCheckButton* AsCheckButton() { return nullptr; }
    virtual void CopyLookFrom(CZV3DButton* other);
    virtual COLORREF GetPressedColor();
    virtual void SetNormalImage(CDibDC* src, int x, int y, int w, int h);
    virtual CDibDC* GetNormalImage();
    virtual void SetPressedImage(CDibDC* src, int x, int y, int w, int h);
    virtual CDibDC* GetPressedImage();
    virtual CDibDC* GetNormalImageOrDefault();
    virtual CDibDC* GetPressedImageOrDefault();
    virtual void FreeImages();
    virtual void DrawFace(CZVDC* dc, int pressed, int reserved = 0);
    virtual void DrawCaption(CZVDC* dc, int pressed);
    virtual void RenderFace(int pressed);
    virtual void ApplySkin(CDibDC* face);

    // This button uses the template's faces until it needs its own. A
    // template that goes first lets its users go: they render their own.
    void SetLookSource(CZV3DButton* source);
    CZV3DButton* GetLookSource() const { return m_lookSource; }
    int GetStyleBits() const { return m_styleBits; }
    void SetStyleBits(int bits) { m_styleBits = bits; }
    void SetStyleBit(int bit, int on) { m_styleBits = on ? (m_styleBits | bit) : (m_styleBits & ~bit); }
    int GetShadeDepth() const { return m_shadeDepth; }
    void SetShadeDepth(int depth) { m_shadeDepth = depth; }
    int GetShapeKind() const { return m_shapeKind; }
    void SetShapeKind(int kind) { m_shapeKind = kind; }
    int IsSkinned() const { return (m_styleBits & k3DSkinned) != 0; }

protected:
    // With a cache key, the face of the state kept in the bitmap cache takes
    // the place of the button's own; 1 when there was one.
    int TakeCachedFace(int pressed);
    // A new surface of the button's size in the back colour with the face
    // of the button's shape in the colour (no skin yet); null without memory.
    CDibDC* RenderShape(COLORREF colour, int pressedArrow);
    // Skinned faces: the margin band and the corners outside the rounded
    // face become transparent.
    void ClearCorners(CDibDC* face);
    // Lays the skin over the whole face, in place.
    void SkinWholeFace(CDibDC* face, int flags);
    // Draws an image of the button's size at 0, 0: transparently when skinned.
    void DrawFaceImage(CZVDC* dc, CDibDC* image);
    // Puts a face image of this button's own in place of the state's face
    // (a shared pair is let go first); null just drops it.
    void ReplaceFaceImage(int pressed, CDibDC* image);
    // Face, icon and caption in the pressed or normal state, at once.
    void PaintState(int pressed);
    int IsArrowShape() const { return m_shapeKind >= 0 && m_shapeKind <= 3; }
    int IsSuppliedShape() const { return m_shapeKind >= 4 && m_shapeKind <= 7; }

    CDibDC* m_normalImage = nullptr;
    CDibDC* m_pressedImage = nullptr;
    CDibDC* m_unskinnedNormal = nullptr;
    CDibDC* m_unskinnedPressed = nullptr;
    int m_ownsImages = 1;
    CZV3DButton* m_lookSource = nullptr;
    int m_styleBits = k3DSmoothFont;
    int m_shadeDepth = -1;
    int m_shapeKind = -1;
    // The skin must be mixed into the face again (the skin changed).
    int m_normalStale = 0;
    int m_pressedStale = 0;

private:
    // Face image through the look source, the cache key and the stale mark.
    CDibDC* FaceImage(int pressed);
    // Leaves the look source's users.
    void DropLookSource();

    // The buttons whose look source this is, not owned.
    std::vector<CZV3DButton*> m_lookUsers;
};
