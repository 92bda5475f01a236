#pragma once
// CListFade: the fade of a skinned list between its resting look (level 0)
// and the plain look that scrolls fast (kLevels). A fade runs over half a
// second; without the gradual-fade style a fade-in jumps to the plain look.
// It keeps one background picture per level, so that a repaint during the
// fade copies rather than draws.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CDibDC;

class CListFade {
public:
    static constexpr int kLevels = 8;

    CListFade();
    ~CListFade();
    CListFade(const CListFade&) = delete;
    CListFade& operator=(const CListFade&) = delete;

    // Starts fading towards the plain look (non-zero) or back to rest.
    void Start(int fadeIn);
    // Moves the level on with the time; non-zero when it differs from the
    // level last drawn.
    int Step();
    int Level() const { return m_level; }
    int IsFadingIn() const { return m_direction > 0; }
    // Below kLevels: the look is still (partly) skinned.
    int IsSkinned() const { return m_level < kLevels; }
    int DrawnIsSkinned() const { return m_drawnLevel < kLevels; }
    void MarkDrawn() { m_drawnLevel = m_level; }

    // The background of the current level at the size, drawn by `draw` the
    // first time (and again after the width changed).
    CDibDC* Background(int width, int height, int rootX, int rootY, const std::function<void(CDibDC*)>& draw);
    void DropBackgrounds();

private:
    uint32_t m_tick;
    int m_startLevel = 0;
    int m_level = 0;
    int m_drawnLevel = 0;
    int m_direction = 0;
    std::array<std::unique_ptr<CDibDC>, kLevels> m_backgrounds;
};
