#include "gfx/bitmapcache.h"

#include <algorithm>

#include "gfx/dibdc.h"
#include "gfx/shadecorner.h"

namespace {

CBitmapCache* g_instance = nullptr;

}  // namespace

CBitmapCache::CBitmapCache() {
    if (!g_instance) g_instance = this;
}

CBitmapCache::~CBitmapCache() {
    Clear(true);
    if (g_instance == this) g_instance = nullptr;
}

CBitmapCache* CBitmapCache::Instance() { return g_instance; }

void CBitmapCache::AddWindowBitmap(CDibDC* picture, uintptr_t key) {
    if (picture) m_bitmaps.push_back({key, std::unique_ptr<CDibDC>(picture)});
}

CDibDC* CBitmapCache::FindWindowBitmap(uintptr_t key) const {
    for (const auto& entry : m_bitmaps)
        if (entry.key == key) return entry.picture.get();
    return nullptr;
}

CShadeCorner* CBitmapCache::FindShape(const CShadeCorner* shape) const {
    if (!shape) return nullptr;
    for (const auto& cached : m_shapes)
        if (cached->Matches(*shape)) return cached.get();
    return nullptr;
}

int64_t CBitmapCache::PictureBytes(const CShadeCorner& shape) {
    const CDibDC* picture = shape.GetSurface();
    return picture ? int64_t{picture->GetWidth()} * picture->GetHeight() * 2 : 0;
}

void CBitmapCache::AddShape(const CShadeCorner* shape) {
    if (!shape) return;
    m_shapes.push_back(shape->Clone());
    m_shapeBytes += PictureBytes(*m_shapes.back());
    while (m_shapeBytes > kShapeBudget) {
        auto unused = std::find_if(m_shapes.begin(), m_shapes.end(), [](const auto& s) { return s->GetUsers() <= 0; });
        if (unused == m_shapes.end()) return;
        m_shapeBytes -= PictureBytes(**unused);
        m_shapes.erase(unused);
    }
}

bool CBitmapCache::ReleaseShape(CShadeCorner* cached) {
    for (const auto& s : m_shapes)
        if (s.get() == cached) {
            s->RemoveUser();
            return true;
        }
    return false;
}

void CBitmapCache::Clear(bool alsoShapes) {
    m_bitmaps.clear();
    if (!alsoShapes) return;
    m_shapes.clear();
    m_shapeBytes = 0;
}
