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
// The outlines of the shaded corners by mode & 0x23: 0 the circle, 1 the
// circle one larger shrunk by a pixel, 2 and 0x20 the ring just outside the
// circle of radius - 1 (2) or radius (0x20); other modes leave the list.
void BuildCornerOutline(CPointList* list, int radius, int trim, int mode);

class CZVObList;

// A run for DrawShadedLines.
struct CShadedLine {
    int x = 0;
    int y = 0;
    int dx = 0;
    int dy = 0;
    int reverse = 0;
    int spread = 1;
};

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
    // Adds the 8-bit amounts to every pixel's channels, each capped at 255.
    virtual void AddRgb(int r, int g, int b);

    void FillRoundRect(COLORREF colour, int x, int y, int w, int h, int radius, int flags);
    void SetThemedFills(bool on) { m_themedFills = on; }

    // The row length (width raised to an even number).
    int GetWidth() const { return m_rowLength; }
    int GetRequestedWidth() const { return m_target.width; }
    int GetHeight() const { return m_target.height; }
    uint16_t* GetBits() { return m_target.pixels; }
    int GetParentRowLength() const { return m_target.stride; }
    uint16_t* GetPixelAddress(int x, int y);
    bool IsView() const { return m_parent != nullptr; }

    uint8_t* GetAlpha() { return m_alpha.empty() ? nullptr : m_alpha.data(); }
    uint8_t* GetAlphaAt(int x, int y);
    void FillAlpha(uint8_t value);
    void SetAlphaForColor(uint16_t key565, uint8_t value);
    void GrowAlphaEdge(uint8_t value);

    CDibDC* ScaleNearest(int w, int h);

    CSpanList* NewRegion();
    CSpanList* NewVerticalRegion();
    CSpanList* GetRegion() { return m_region.get(); }
    void ClearRegion() { m_region.reset(); }
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

    // Effects, in surface pixels (the origin does not apply). A level 0..8
    // mixes src in eighths (0 leaves this surface, 8 copies src); 9 and above
    // is the overlay mix, where a mid-grey source leaves this surface.
    // Runs are in this surface's coordinates; src is read at (x + ox, y + oy).
    void BlendSpans(CDibDC* src, int ox, int oy, const CSpanList* runs, int level);
    void BlendRect(CDibDC* src, int sx, int sy, int dx, int dy, int w, int h, int level);
    void BlendAll(CDibDC* src, int x, int y, int level);
    // Mixes src, placed at (x, y), only into the pixels equal to the key.
    void BlendExceptColor(CDibDC* src, int x, int y, int level, uint16_t key565);
    void OverlaySpans(CDibDC* src, int ox, int oy, const CSpanList* runs);
    void OverlayRect(CDibDC* src, int sx, int sy, int dx, int dy, int w, int h);
    // Halves every channel inside the rectangle.
    void Dim(CZVRect rect);
    // Adds other's channels, scaled by percent (ramping up over the first
    // rampIn columns and down over the last rampOut); surfaces of one size only.
    void AddBlend(CDibDC* other, int percent, int rampIn, int rampOut);
    void ReplaceColor(uint16_t from, uint16_t to);
    // 3 x 3 box blur of the inner pixels; a result equal to *key becomes 0.
    void Blur(const uint16_t* key);
    // Blurs where the mask is set and softens the pixels beside its border.
    void SmoothEdges(CDibDC* mask);
    // The style's glossy highlight or wave over the rounded rectangle of the
    // surface (inset, radius); with a key only the key's pixels change.
    void ApplyGloss(int radius, int edges, int inset, uint16_t key565, int offset);
    // A horizontal or vertical run fading between the pixels and a reference
    // colour: the given one, else each pixel's neighbour on the left-hand side
    // of the direction of travel.
    void DrawShadedLine(int x, int y, int dx, int dy, int reverse, const COLORREF* colour, int spread);
    // A list of CShadedLine records.
    void DrawShadedLines(CZVObList* lines, const COLORREF* colour);

protected:
    platform::Surface16* PixelTarget() override { return &m_target; }
    // Bilinear scaling in steps of 1/steps, with the alpha plane when alpha is set.
    void ScaleBilinear(CDibDC* out, int steps, bool alpha, bool spread);
    void EnsureAlpha();

    int m_rowLength = 0;
    std::unique_ptr<uint16_t[]> m_pixels;
    std::vector<uint8_t> m_alpha;
    int m_deviceX = 0;
    int m_deviceY = 0;
    CDibDC* m_parent = nullptr;
    std::unique_ptr<CSpanList> m_region;
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
    CDibView(CDibDC* surface, int x, int y, int w, int h) : m_surface(surface), m_x(x), m_y(y), m_w(w), m_h(h) {}
    virtual ~CDibView() = default;

    // The pixel at (x, y) in surface coordinates; null outside the rectangle.
    uint16_t* PixelAt(int x, int y);

private:
    CDibDC* m_surface;
    int m_x, m_y, m_w, m_h;
};
