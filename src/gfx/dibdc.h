#pragma once
// Off-screen RGB565 pictures: a drawing context whose target is its own rows
// of pixels (or, for a view, a rectangle of another surface's pixels), with an
// optional alpha plane and a span region that effects use as a shape.
#include <cstdint>
#include <memory>

#include "gfx/shadepoly.h"
#include "gfx/zvdc.h"

class CAlphaDibDC;

// Quarter-circle outline of the radius; with trim one point per row (the outermost).
void BuildCircleOutline(CPointList* list, int radius, int trim);
// Moves every point one pixel inward along its larger coordinate, then drops duplicates.
void ShrinkOutline(CPointList* list);

class CDibDC : public CZVDC {
public:
    CDibDC(int width, int height, int deviceX, int deviceY, int withHDC);
    // A view onto a rectangle of the parent, clipped to it; dx, dy tell how
    // far its top-left moved by the clipping.
    CDibDC(CDibDC* parent, int x, int y, int w, int h, int* dx, int* dy);
    CDibDC(CDibDC* parent, CZVRect rect, int* dx, int* dy);
    ~CDibDC() override;

    void GetDeviceOrigin(int* x, int* y) override;
    void SetOrigin(int x, int y) override;
    void SetFont(int size, int reserved, int smooth) override;
    void DrawText(CZVString text, CZVRect rect, int format) override;
    platform::Surface16* GetHDC() override;
    void RoundRect(COLORREF colour, int x, int y, int w, int h, int radius) override;

    virtual CDibDC* Clone();
    virtual CDibDC* Flip(int horizontal, int vertical);
    virtual CDibDC* Scale(int w, int h, int smooth);
    virtual void AlphaBlt(CAlphaDibDC* src, int x, int y, int sx, int sy, int w, int h);
    virtual void DrawTransparentTo(CZVDC* dst, int x, int y, int w, int h, uint16_t key565);

    void FillRoundRect(COLORREF colour, int x, int y, int w, int h, int radius, int flags);
    void SetThemedFills(bool on) { themedFills_ = on; }

    // The row length (width raised to an even number).
    int GetWidth() const { return rowLength_; }
    int GetRequestedWidth() const { return target_.width; }
    int GetHeight() const { return target_.height; }
    uint16_t* GetBits() { return target_.pixels; }
    int GetParentRowLength() const { return target_.stride; }
    uint16_t* GetPixelAddress(int x, int y);
    bool IsView() const { return parent_ != nullptr; }

    uint8_t* GetAlpha() { return alpha_.empty() ? nullptr : alpha_.data(); }
    uint8_t* GetAlphaAt(int x, int y);
    void FillAlpha(uint8_t value);
    void SetAlphaForColor(uint16_t key565, uint8_t value);
    void GrowAlphaEdge(uint8_t value);

    CDibDC* ScaleNearest(int w, int h);

    CSpanList* NewRegion();
    CSpanList* NewVerticalRegion();
    CSpanList* GetRegion() { return region_.get(); }
    void ClearRegion() { region_.reset(); }
    void MakeRegionExcluding(uint16_t key1, uint16_t key2);
    void MakeRegionExcludingColor(uint16_t key) { MakeRegionExcluding(key, key); }

    // Fills x1..x2 of row y (surface coordinates), clipped to the surface.
    void FillSpan(uint16_t colour565, int x1, int x2, int y);
    void GetSurfaceClip(CZVRect* clip);
    bool IntersectsRect(int x, int y, int w, int h) const;
    // Clips a copy of w x h from src (sx, sy) to (x, y) here against both
    // surfaces; false when nothing remains.
    bool ClipBlit(int& x, int& y, int& w, int& h, int& sx, int& sy, CDibDC* src);

    void FillGlassGradient(COLORREF colour, float strength);

protected:
    platform::Surface16* PixelTarget() override { return &target_; }
    // Bilinear scaling in steps of 1/steps, with the alpha plane when alpha is set.
    void ScaleBilinear(CDibDC* out, int steps, bool alpha, bool spread);
    void EnsureAlpha();

    int rowLength_ = 0;
    std::unique_ptr<uint16_t[]> pixels_;
    std::vector<uint8_t> alpha_;
    int deviceX_ = 0;
    int deviceY_ = 0;
    CDibDC* parent_ = nullptr;
    std::unique_ptr<CSpanList> region_;
};

class CAlphaDibDC : public CDibDC {
public:
    CAlphaDibDC(int width, int height, int deviceX, int deviceY);

    CDibDC* Clone() override;
    CDibDC* Scale(int w, int h, int smooth) override;
    void DrawTransparentTo(CZVDC* dst, int x, int y, int w, int h, uint16_t key565) override;
    virtual void AlphaBltTo(CZVDC* dst, int x, int y, int sx, int sy, int w, int h);

    // Transparent pixels take their opaque neighbours' colour when scaled.
    bool spreadColours = false;
};

// A read/write window onto a rectangle of a surface.
class CDibView {
public:
    CDibView(CDibDC* surface, int x, int y, int w, int h) : surface_(surface), x_(x), y_(y), w_(w), h_(h) {}
    virtual ~CDibView() = default;

    // The pixel at (x, y) in surface coordinates; null outside the rectangle.
    uint16_t* PixelAt(int x, int y);

private:
    CDibDC* surface_;
    int x_, y_, w_, h_;
};
