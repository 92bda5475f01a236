#pragma once
// The shapes of the bevelled, lit panels: each is rendered once into a small
// RGB565 surface and then drawn wherever it is needed. Corners are quarter
// discs, edges straight bevel strips; their colours come from CShadeColor.
#include <memory>
#include <vector>

#include "gfx/speed.h"
#include "gfx/zvrect.h"

class CDibDC;
class CZVDC;

// Draw modes.
enum : int { kShadePlain = 0, kShadeTextured = 1, kShadeSkinned = 2 };

class CShadeShape {
public:
    enum Kind : int { kRect = 0, kCorner = 1, kEdge = 2, kBase = 3 };

    explicit CShadeShape(int kind = kBase) : kind(kind) {}
    virtual ~CShadeShape() = default;
    CShadeShape(const CShadeShape&) = default;
    CShadeShape& operator=(const CShadeShape&) = delete;

    // Prepares the shape's picture; with a target it is also drawn there.
    virtual void Render(COLORREF /*face*/, COLORREF /*back*/, int /*rimWidth*/, int /*raised*/, CDibDC* /*target*/) {}
    // clips: rectangles to leave out (rectangles only), or null.
    virtual void Draw(CZVDC* /*dc*/, int /*mode*/, const std::vector<CZVRect>* /*clips*/,
                      const COLORREF* /*fillColour*/) {}
    // Mirrors the shape inside an area of width x height.
    virtual void Mirror(bool /*flipX*/, bool /*flipY*/, int /*width*/, int /*height*/) {}
    // Between the raised and the sunken look.
    virtual void Toggle(bool /*flipSwapped*/) { swapped = !swapped; }
    virtual void Offset(int /*dx*/, int /*dy*/) {}

    int swapped = 0;  // face and back exchanged
    int innerOutline = 0;
    int outerOutline = 0;
    int kind;
};

// A shape drawn at a place of its own, which an offset moves: the corners and the edges.
class CPlacedShade : public CShadeShape {
public:
    void Offset(int dx, int dy) override {
        m_x += dx;
        m_y += dy;
    }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }

protected:
    CPlacedShade(int kind, int x, int y) : CShadeShape(kind), m_x(x), m_y(y) {}

    int m_x;
    int m_y;
};

class CShadeCorner : public CPlacedShade {
public:
    // Types 0 bottom-left, 1 top-left, 2 top-right, 3 bottom-right; plus 4
    // for the sunken variant. The picture is size x size.
    CShadeCorner(int type, int size, int x, int y, int circleFlags);
    ~CShadeCorner() override;

    void Render(COLORREF face, COLORREF back, int rimWidth, int raised, CDibDC* target) override;
    void Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* clips, const COLORREF* fillColour) override;
    void Mirror(bool flipX, bool flipY, int width, int height) override;
    void Toggle(bool flipSwapped) override;

    // The same look: type, colours, rim, size and outer fill.
    bool Matches(const CShadeCorner& other) const;
    // A copy with a picture of its own and no users.
    std::unique_ptr<CShadeCorner> Clone() const;

    int GetType() const { return m_type; }
    int GetSize() const { return m_size; }
    const CDibDC* GetSurface() const { return m_surface.get(); }
    CDibDC* GetSurface() { return m_surface.get(); }
    // True while the picture is a cached corner's.
    bool IsShared() const { return m_cached != nullptr; }

    // How many corners draw with this (cached) corner's picture.
    int GetUsers() const { return m_users; }
    void AddUser() { ++m_users; }
    void RemoveUser() { --m_users; }

    bool noOuterFill = false;  // sunken types leave the square outside the disc transparent
    bool noInnerFill = false;  // the disc inside the rim stays transparent

private:
    void Paint(CDibDC* surface, std::vector<uint8_t>& marks) const;
    void Light(CDibDC* surface, const std::vector<uint8_t>& marks) const;
    void DrawOutlines(CDibDC* surface) const;
    void LetGoOfCache();

    std::shared_ptr<CDibDC> m_surface;
    int m_type;
    int m_circleFlags;
    int m_size;
    int m_rim = 0;
    COLORREF m_face = 0;
    COLORREF m_back = 0;
    int m_raised = 1;
    CShadeCorner* m_cached = nullptr;  // the cache's corner whose picture this one shares
    int m_users = 0;
};

class CShadeEdge : public CPlacedShade {
public:
    // Sides 0 top, 1 left, 2 bottom, 3 right.
    CShadeEdge(int side, int x, int y, int width, int height);
    ~CShadeEdge() override;

    void Render(COLORREF face, COLORREF back, int rimWidth, int raised, CDibDC* target) override;
    void Draw(CZVDC* dc, int mode, const std::vector<CZVRect>* clips, const COLORREF* fillColour) override;
    void Mirror(bool flipX, bool flipY, int width, int height) override;
    void Toggle(bool flipSwapped) override;

    // Cut flags 1, 2, 4, 8 and a cut length shape the strip's ends.
    void SetCuts(int flags, int length) {
        m_cutFlags = flags;
        m_cutLength = length;
    }
    int GetSide() const { return m_side; }
    int GetCutFlags() const { return m_cutFlags; }
    int GetCutLength() const { return m_cutLength; }
    CDibDC* GetSurface() { return m_surface.get(); }

private:
    bool IsVertical() const { return m_side == 1 || m_side == 3; }
    bool HasCuts() const { return m_cutFlags != 0 || m_cutLength > 0; }
    void PaintLine(int i, uint16_t colour);
    void ClearTriangle(int bit, int k);

    std::unique_ptr<CDibDC> m_surface;
    int m_side;
    int m_width;
    int m_height;
    int m_rim = 0;
    int m_cutFlags = 0;
    int m_cutLength = 0;
    bool m_skinned = false;
};
