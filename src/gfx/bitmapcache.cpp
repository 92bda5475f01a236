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
    if (picture) bitmaps_.push_back({key, std::unique_ptr<CDibDC>(picture)});
}

CDibDC* CBitmapCache::FindWindowBitmap(uintptr_t key) const {
    for (const auto& entry : bitmaps_)
        if (entry.key == key) return entry.picture.get();
    return nullptr;
}

CShadeCorner* CBitmapCache::FindShape(const CShadeCorner* shape) const {
    if (!shape) return nullptr;
    for (const auto& cached : shapes_)
        if (cached->Matches(*shape)) return cached.get();
    return nullptr;
}

int64_t CBitmapCache::PictureBytes(const CShadeCorner& shape) {
    const CDibDC* picture = shape.GetSurface();
    return picture ? int64_t{picture->GetWidth()} * picture->GetHeight() * 2 : 0;
}

void CBitmapCache::AddShape(const CShadeCorner* shape) {
    if (!shape) return;
    shapes_.push_back(shape->Clone());
    shapeBytes_ += PictureBytes(*shapes_.back());
    while (shapeBytes_ > kShapeBudget) {
        auto unused = std::find_if(shapes_.begin(), shapes_.end(), [](const auto& s) { return s->GetUsers() <= 0; });
        if (unused == shapes_.end()) return;
        shapeBytes_ -= PictureBytes(**unused);
        shapes_.erase(unused);
    }
}

bool CBitmapCache::ReleaseShape(CShadeCorner* cached) {
    for (const auto& s : shapes_)
        if (s.get() == cached) {
            s->RemoveUser();
            return true;
        }
    return false;
}

void CBitmapCache::Clear(bool alsoShapes) {
    bitmaps_.clear();
    if (!alsoShapes) return;
    shapes_.clear();
    shapeBytes_ = 0;
}
