#pragma once
// CZVSlider: a level bar with a draggable thumb over a range of integers
// and optional icons at the ends of its track. Only a press on the thumb
// starts a drag; the track never makes the thumb jump.
#include <optional>

#include "widgets/gauges/levelbar.h"

class CZVIcon;

class CZVSlider : public CZVLevelBar {
public:
    enum : int { kSkinnedThumb = 0x1, kVertical = 0x2 };
    static constexpr int kMaxThumbLength = 80;

    // thumbRadius and margin below 0 come from the style.
    CZVSlider(CZVWindow* parent, CZVRect rect, int command, int minimum, int maximum, int thumbRadius, int margin,
              int sliderFlags);
    ~CZVSlider() override;

    void Enable(int enable, int redraw) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int x, int y, int keys) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void FlushImageCache() override;
    void SetLevel(int value, int redraw) override { SetPosition(value, redraw); }
    // Without a position the level reads as the minimum.
    int GetLevel() override { return GetPosition().value_or(m_minimum); }

    void SetPosition(int value, int redraw);
    // A new range; a position held is kept within it.
    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    // Empty until a position is set: no thumb is drawn then.
    std::optional<int> GetPosition() const;
    int GetTrackLength() const;
    void SetEndIcons(CZVString left, CZVString right);
    // The value that every release puts back; empty: none.
    void SetReturnPosition(std::optional<int> value) { m_returnPosition = value; }
    int IsDragging() const { return m_dragging; }
    // Offset of the thumb along the track.
    int GetThumbOffset() const;

private:
    int IsVertical() const { return (m_sliderFlags & kVertical) != 0; }
    int Along(int x, int y);
    void EndDrag();
    void DrawIcon(CZVIcon* icon, CZVDC* dc, CZVRect box);

    // Stored as maximum - value + minimum when vertical.
    std::optional<int> m_position;
    int m_pressCoordinate = 0;
    int m_pressPosition = 0;
    int m_dragging = 0;
    std::unique_ptr<CZV3DButton> m_track;
    std::unique_ptr<CZV3DButton> m_thumb;
    std::optional<int> m_returnPosition;
    int m_command;
    int m_minimum;
    int m_maximum;
    int m_sliderFlags;
    int m_trackMargin = 0;
    std::unique_ptr<CZVIcon> m_leftIcon;
    std::unique_ptr<CZVIcon> m_rightIcon;
    // The end icons have had their one wait; later paints draw them once
    // they are there, and their arrival paints the slider again.
    int m_iconsWaited = 0;
};
