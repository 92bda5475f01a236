#pragma once
// Point and span containers of the shading code and the surfaces: outline
// points of circles, and runs of pixels that describe a region's shape.
#include <vector>

class CPointList {
public:
    CPointList() = default;
    virtual ~CPointList() = default;

    void Add(int x, int y);
    int GetCount() const { return static_cast<int>(x_.size()); }
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

    std::vector<int> x_;
    std::vector<int> y_;
};

class CSpanList {
public:
    // vertical: each span runs down a column instead of along a row.
    explicit CSpanList(bool vertical = false) : vertical_(vertical) {}
    CSpanList(const CSpanList& other) = default;
    CSpanList& operator=(const CSpanList& other) = default;
    virtual ~CSpanList() = default;

    bool IsVertical() const { return vertical_; }
    // Ignored when length <= 0.
    void Add(int x, int y, int length);
    void Offset(int dx, int dy);
    int GetCount() const { return static_cast<int>(x_.size()); }
    int GetX(int i) const { return x_[i]; }
    int GetY(int i) const { return y_[i]; }
    int GetLength(int i) const { return length_[i]; }

private:
    bool vertical_;
    std::vector<int> x_;
    std::vector<int> y_;
    std::vector<int> length_;
};
