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
        if (m_slots[i].used && m_slots[i].pen.colour == colour) return i;
    return -1;
}

void CGdiCache::GetPenAndBrush(COLORREF colour, CZVPen* pen, CZVBrush* brush) {
    int slot = FindSlot(colour);
    if (slot < 0) {
        slot = m_next;
        Slot& s = m_slots[slot];
        MakePenAndBrush(colour, &s.pen, &s.brush);
        s.used = true;
        m_next = (m_next + 1) % kSlots;
    }
    if (pen) *pen = m_slots[slot].pen;
    if (brush) *brush = m_slots[slot].brush;
}
