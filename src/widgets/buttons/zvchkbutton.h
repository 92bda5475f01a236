#pragma once
// CZVCheckButton: a bevelled button with a checked state, shown by a third
// face in the selection colour; the change between the looks may be
// animated, the button may blink, and owners can hold or lock it.
#include "widgets/buttons/zv3dbutton.h"

class CZVCheckButton : public CZV3DButton {
public:
    static constexpr int kLevels = 8;
    static constexpr int kAnimationMs = 250;
    static constexpr int kBlinkMs = 500;

    CZVCheckButton(CZVWindow* parent, CZVRect rect, int clickId, int styleClass);
    ~CZVCheckButton() override;

    // ---- overrides
    void OnFaceColorChanged(COLORREF colour) override;
    void Enable(int enable, int redraw) override;
    void OnPaint(CZVDC* dc) override;
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnTimer() override;
    int OnIdle(int busy) override;
    void FlushImageCache() override;
    COLORREF GetHighlightColor() override { return m_checked ? kHighlightColor : 0x6464FF; }
    COLORREF GetPressedTextColor() override;
    CZVCheckButton* AsCheckButton() override { return this; }
    void CopyLookFrom(CZV3DButton* other) override;
    void FreeImages() override;
    void DrawFace(CZVDC* dc, int pressed, int reserved = 0) override;

    // ---- added by the check button
    virtual CDibDC* GetCheckedImage();
    virtual CDibDC* GetCheckedImageOrDefault();
    virtual void RenderCheckedFace();

    int GetCheck() const { return m_checked; }
    void SetCheck(int checked, int reserved, int redraw);
    void SetBlink(int on);
    int IsBlinking() const { return m_blinking; }
    void SetHeld(int held) { m_held = held; }
    int IsHeld() const { return m_held; }
    void SetLocked(int locked) { m_locked = locked; }
    void SetBrightCheckedFace(int on) { m_brightChecked = on; }
    void SetStaysChecked(int on) { m_staysChecked = on; }
    COLORREF GetCheckedColor() const { return m_checkedColor; }
    // The face's colour while checked (a lamp's colour).
    void SetCheckedColor(COLORREF colour) { m_checkedColor = colour; }
    int GetAnimationLevel() const { return m_level; }
    int GetAnimationDirection() const { return m_direction; }

protected:
    // Takes the state with the change's animation already at its end.
    void SetCheckAtEnd(int checked) {
        m_checked = checked ? 1 : 0;
        m_direction = 0;
        m_level = m_checked ? kLevels - 1 : 0;
    }

private:
    void DeleteRenderings();
    // The whole button painted unchecked or checked, for the animation.
    CDibDC* Rendering(int checked);
    int AnimationStep();
    // Paints face and caption as they are now, into a surface or the screen.
    void PaintNow(CZVDC* dc);

    CDibDC* m_checkedImage = nullptr;
    CDibDC* m_unskinnedChecked = nullptr;
    int m_checked = 0;
    int m_held = 0;
    int m_locked = 0;
    int m_brightChecked = 0;
    int m_staysChecked = 0;
    int m_blinking = 0;
    int m_blinkPhase = 1;
    uint32_t m_animationTick;
    int m_direction = 0;
    int m_level = 0;
    CDibDC* m_uncheckedRendering = nullptr;
    CDibDC* m_checkedRendering = nullptr;
    COLORREF m_checkedColor;
    int m_checkedStale = 0;
};
