#pragma once
// Point and span containers of the shading code and the surfaces: outline
// points of circles, and runs of pixels that describe a region's shape.
#include <cstdint>
#include <vector>

class CPointList {
public:
    CPointList() = default;
    virtual ~CPointList() = default;

    void Add(int x, int y);
    int GetCount() const { return static_cast<int>(m_x.size()); }
    int GetX(int i) const;
    int GetY(int i) const;
    void SetX(int i, int v);
    void SetY(int i, int v);
    void RemoveAt(int i);
    void RemoveLast();
    void Clear();
    // Drops each point equal to the point kept before it.
    void RemoveDuplicates();

private:
    bool InRange(int i, int line) const;

    std::vector<int> m_x;
    std::vector<int> m_y;
};

class CSpanList {
public:
    // vertical: each span runs down a column instead of along a row.
    explicit CSpanList(bool vertical = false) : m_vertical(vertical) {}
    CSpanList(const CSpanList& other) = default;
    CSpanList& operator=(const CSpanList& other) = default;
    virtual ~CSpanList() = default;

    bool IsVertical() const { return m_vertical; }
    // Ignored when length <= 0.
    void Add(int x, int y, int length);
    void Offset(int dx, int dy);
    // Appends the spans of a filled rounded rectangle inset by `inset` inside
    // a w x h area, one span a row (horizontal lists only). Type 0 rounds the
    // two top corners, 1 the bottom, 2 the left, 3 the right, any other all four.
    void AddRoundRect(int w, int h, int inset, int radius, int type);
    int GetCount() const { return static_cast<int>(m_x.size()); }
    int GetX(int i) const { return m_x[i]; }
    int GetY(int i) const { return m_y[i]; }
    int GetLength(int i) const { return m_length[i]; }

private:
    bool m_vertical;
    std::vector<int> m_x;
    std::vector<int> m_y;
    std::vector<int> m_length;
};

// The lighting of the bevelled shapes: a base colour brightened or darkened
// by the height of a rounded rim profile and the slope of that profile
// against a light from the top left.
class CShadeColor {
public:
    // offset: distance from the profile's centre to the rim's inner radius
    // plus one; width: the rim's width; inverted: the sunken look.
    void Set(uint16_t colour565, int offset, int width, int inverted);
    // Quadrant 1 top-right, 2 top-left, 3 bottom-left, 4 bottom-right; (a, b)
    // the pixel's offset from the profile's centre, y downwards. Kind 0 rim,
    // 1 dark crest line, 2 flat. Never gives the transparent 0.
    uint16_t Shade(int quadrant, int a, int b, int kind) const;

private:
    uint16_t m_colour = 0;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    int m_offset = 0;
    int m_inverted = 0;
    int64_t m_widthSquared = 0;
};

// The floor of the lit height (75 while shaded windows paint, 25 for button frames).
void SetShadeDepth(int depth);
int GetShadeDepth();
// The divisor of the highlight (2500, 5000 or 10000 by the style's flags);
// values below 1 count as 1.
void SetShadeCurve(int curve);
int GetShadeCurve();
