#pragma once
// Pens and brushes of the colours in use, kept in 32 slots reused in
// rotation. Pens and brushes are values, so a slot that is reused never takes
// anything away from a drawing context that still holds them.
#include <array>
#include <cstdint>

#include "gfx/speed.h"

struct CZVPen {
    COLORREF colour = 0;
    uint16_t pixel = 0;  // RGB565 of the colour
    int width = 1;
};

struct CZVBrush {
    COLORREF colour = 0;
    uint16_t pixel = 0;
};

class CGdiCache {
public:
    static constexpr int kSlots = 32;

    CGdiCache();
    virtual ~CGdiCache();
    CGdiCache(const CGdiCache&) = delete;
    CGdiCache& operator=(const CGdiCache&) = delete;

    static CGdiCache* Get();

    void GetPenAndBrush(COLORREF colour, CZVPen* pen, CZVBrush* brush);
    // The slot that holds the colour, -1 when none does.
    int FindSlot(COLORREF colour) const;

    // The pen and brush of a colour, made without a cache.
    static void MakePenAndBrush(COLORREF colour, CZVPen* pen, CZVBrush* brush);

private:
    struct Slot {
        bool used = false;
        CZVPen pen;
        CZVBrush brush;
    };
    std::array<Slot, kSlots> m_slots{};
    int m_next = 0;
};
