#include "gfx/gdicache.h"

namespace {

CGdiCache* g_instance = nullptr;

}  // namespace

CGdiCache::CGdiCache() {
    g_instance = this;
}

CGdiCache::~CGdiCache() {
    if (g_instance == this) g_instance = nullptr;
}

CGdiCache* CGdiCache::Get() {
    return g_instance;
}

void CGdiCache::MakePenAndBrush(COLORREF colour, CZVPen* pen, CZVBrush* brush) {
    uint16_t pixel = ToRgb565(colour);
    if (pen) *pen = CZVPen{colour, pixel, 1};
    if (brush) *brush = CZVBrush{colour, pixel};
}

int CGdiCache::FindSlot(COLORREF colour) const {
    for (int i = 0; i < kSlots; ++i)
        if (slots_[i].used && slots_[i].pen.colour == colour) return i;
    return -1;
}

void CGdiCache::GetPenAndBrush(COLORREF colour, CZVPen* pen, CZVBrush* brush) {
    int slot = FindSlot(colour);
    if (slot < 0) {
        slot = next_;
        Slot& s = slots_[slot];
        MakePenAndBrush(colour, &s.pen, &s.brush);
        s.used = true;
        next_ = (next_ + 1) % kSlots;
    }
    if (pen) *pen = slots_[slot].pen;
    if (brush) *brush = slots_[slot].brush;
}
