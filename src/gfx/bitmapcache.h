#pragma once
// Rendered pictures kept for reuse: button faces under a caller's key, and
// the shaded corners, whose pictures are held within a byte budget.
#include <cstdint>
#include <memory>
#include <vector>

class CDibDC;
class CShadeCorner;

class CBitmapCache {
public:
    // Corner pictures above this many bytes evict corners that no shape uses.
    static constexpr int64_t kShapeBudget = 500000;

    // The first cache made becomes the program's one (Instance).
    CBitmapCache();
    virtual ~CBitmapCache();
    CBitmapCache(const CBitmapCache&) = delete;
    CBitmapCache& operator=(const CBitmapCache&) = delete;

    // The program's cache, null while there is none.
    static CBitmapCache* Instance();

    // The cache owns the picture from now on.
    void AddWindowBitmap(CDibDC* picture, uintptr_t key);
    // The picture of the first entry with the key, or null.
    CDibDC* FindWindowBitmap(uintptr_t key) const;

    // The first cached corner that matches the shape's look, or null.
    CShadeCorner* FindShape(const CShadeCorner* shape) const;
    // Keeps a copy of the rendered corner, then evicts the oldest unused
    // corners while the pictures exceed the budget.
    void AddShape(const CShadeCorner* shape);
    // A corner that shared a cached one lets go of it; false (and nothing
    // done) when the cached corner is no longer there.
    bool ReleaseShape(CShadeCorner* cached);
    int64_t GetShapeBytes() const { return m_shapeBytes; }
    int GetShapeCount() const { return static_cast<int>(m_shapes.size()); }

    // Empties the bitmap entries, and with alsoShapes the corners.
    void Clear(bool alsoShapes);

private:
    struct Entry {
        uintptr_t key;
        std::unique_ptr<CDibDC> picture;
    };
    static int64_t PictureBytes(const CShadeCorner& shape);

    std::vector<Entry> m_bitmaps;
    std::vector<std::unique_ptr<CShadeCorner>> m_shapes;  // oldest first
    int64_t m_shapeBytes = 0;
};
