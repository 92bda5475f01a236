#pragma once
// CLampMeter: a row of round lamps in four colour groups, lit from the left
// up to a value (the intercom panel, the internet radio and the pump pages).
#include <array>
#include <memory>

#include "widgets/window/zvwindow.h"

class CZV3DButton;

class CLampMeter : public CZVWindow {
public:
    static constexpr int kGroups = 4;

    // The two further values are kept for the owner; the drawing does not use them.
    CLampMeter(CZVWindow* parent, CZVRect rect, int count0, int count1, int count2, int count3, int further1,
               int further2);
    ~CLampMeter() override;

    void OnPaint(CZVDC* dc) override;

    int GetCount(int group) const { return group >= 0 && group < kGroups ? m_counts[group] : 0; }
    // New colours; the lamps are made again in them.
    void SetGroupColors(COLORREF c0, COLORREF c1, COLORREF c2, COLORREF c3);
    // The number of lit lamps; with redraw the meter is drawn at once while shown.
    void SetValue(int lit, int redraw);
    int GetValue() const { return m_value; }
    // The further values given at construction (index 0 or 1).
    int GetFurtherValue(int index) const { return index ? m_further2 : m_further1; }
    // Lamps every step pixels, each step - 1 wide; nothing when there are none.
    void DrawLamps(CZVDC* dc);

private:
    CZV3DButton* Lamp(int group, int lit, int width);

    std::array<int, kGroups> m_counts;
    int m_further1;
    int m_further2;
    int m_value = 0;
    std::array<COLORREF, kGroups> m_colours = {200, 0xC8C8, 0xC800, 0xC80000};
    std::array<std::unique_ptr<CZV3DButton>, kGroups> m_lit;
    std::array<std::unique_ptr<CZV3DButton>, kGroups> m_unlit;
};
