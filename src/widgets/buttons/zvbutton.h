#pragma once
// CZVButton: the toolkit's push button. It takes the mouse capture while
// pressed, sends commands for press, release, click and double click,
// repeats its click while held, plays the style's sounds, places an optional
// icon beside or around its caption, and defers its repaints while the main
// window blocks input. Its face is a flat bevelled box.
#include <cstdint>
#include <memory>

#include "widgets/buttons/buttonicon.h"
#include "widgets/window/zvwindow.h"

class CSoundClip;

// Look-flag bits.
enum : int {
    kLookNoFace = 0x2,     // face and caption not drawn, no opaque rectangle
    kLookNoTouchPaint = 0x4,  // no repaint on touch, no flash after a release command
};

// A built-in icon of a kind in a colour, or a gateway icon by name (kind 22).
struct CZVIconSpec {
    int kind = -1;
    const COLORREF* colour = nullptr;
    CZVString name;
};

class CZVButton : public CZVWindow {
public:
    static constexpr int kNamedIconKind = 22;

    CZVButton(CZVWindow* parent, CZVRect rect, int clickId, int styleClass);
    ~CZVButton() override;

    // ---- window operations
    void GetInnerRect(CZVRect* out) override;
    // Touch margins widen the area; one pixel more on the right and bottom.
    int HitTest(int x, int y) override;
    void OnPaint(CZVDC* dc) override;
    int OnMouseMove(int, int, int) override { return 0; }
    int OnLButtonDown(int x, int y, int keys) override;
    int OnLButtonUp(int x, int y, int keys) override;
    void OnTimer() override;

    // ---- added by the button
    virtual COLORREF GetButtonColor() { return GetFaceColor(); }
    // While the main window blocks input for this button: marks the repaint
    // for the idle walk and answers 1.
    virtual int DeferIfBlocked();
    // 0 without an icon.
    virtual int DrawIcon(CZVDC* dc, COLORREF colour);
    // The window that draws the icon again once it has loaded.
    virtual CPaintWindow* GetIconOwner() { return this; }
    virtual void GetIconRect(CZVRect* out);
    virtual COLORREF GetPressedTextColor();
    virtual COLORREF GetDisabledTextColor();

    int GetCommandId() const { return m_clickId; }
    void SetPressIds(int pressId, int releaseId) {
        m_pressId = pressId;
        m_releaseId = releaseId;
    }
    void SetDoubleClickId(int id) { m_doubleClickId = id; }
    // An empty name removes the sound.
    void SetPressSound(CZVString name);
    void SetClickSound(CZVString name);
    void ClearSounds();
    CSoundClip* GetPressSound() const { return m_pressSound; }
    CSoundClip* GetClickSound() const { return m_clickSound; }
    void SetAutoRepeat(int on) { m_autoRepeat = on; }
    // Intervals of 0 become 1; the current interval starts at the initial one.
    void SetRepeatTiming(uint16_t initial, uint16_t final, uint16_t delay, uint16_t rampTime);
    int GetRepeatInterval() const { return m_currentInterval; }
    void EnsureIcon();
    // colour null: the face colour scaled by 0.75.
    void SetIconKind(int kind, const COLORREF* colour);
    // A layout of 0 or more replaces the icon layout.
    void SetIconName(CZVString name, int layout);
    void SetIcon(const CZVIconSpec& spec);
    void RefreshIcon();
    CButtonIcon* GetIcon() const { return m_icon.get(); }
    int GetIconLayout() const { return m_iconLayout; }
    void SetIconLayout(int layout) { m_iconLayout = static_cast<uint8_t>(layout); }
    // Moves the centred icon by percents of the button's width and height.
    void SetIconOffset(int x, int y) {
        m_iconOffsetX = static_cast<int16_t>(x);
        m_iconOffsetY = static_cast<int16_t>(y);
    }
    void DrawReleased(CZVDC* dc);
    void DrawPressed(CZVDC* dc);
    int IsPressed() const { return m_pressed; }
    void* GetItemData() const { return m_itemData; }
    void SetItemData(void* data) { m_itemData = data; }
    void SetTouchMargins(int left, int top, int right, int bottom);
    int GetLookFlags() const { return m_lookFlags; }
    void SetLookFlags(int flags) { m_lookFlags = flags; }
    void SetPaintPressedOnPress(int on) { m_paintPressedOnPress = on; }
    void SetCaptionHidden(int hidden) { m_captionHidden = hidden; }
    // Plays the style's press sound.
    static void PlayClickSound();

protected:
    // Ends a press without a command: capture, flag and timer go.
    void DropPress();
    // The caption in the state's colour (pressed, disabled or plain), cut
    // to the width with "..." when it is one line; nothing when hidden or
    // when the icon takes the whole face.
    void PaintCaption(CZVDC* dc, int pressed, int smooth);
    int HasTouchMargin() const { return m_marginTop > 0 || m_marginBottom > 0 || m_marginLeft > 0 || m_marginRight > 0; }

    int m_lookFlags = 0;
    int m_pressed = 0;
    int m_inside = 0;
    int m_paintPressedOnPress = 0;
    int m_pressId = kNoCommand;
    int m_releaseId = kNoCommand;
    int m_clickId;
    int m_doubleClickId = kNoCommand;
    int m_captionHidden = 0;
    int m_autoRepeat = 0;
    uint32_t m_lastRepeatTick = 0;
    uint32_t m_repeatStartTick = 0;
    uint16_t m_initialInterval = 500;
    uint16_t m_finalInterval = 500;
    uint16_t m_delay = 500;
    uint16_t m_rampTime = 0;
    uint16_t m_currentInterval = 500;
    CSoundClip* m_pressSound = nullptr;
    CSoundClip* m_clickSound = nullptr;
    uint32_t m_lastClickTick;
    uint32_t m_pressTick;
    void* m_itemData = nullptr;
    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    std::unique_ptr<CButtonIcon> m_icon;
    int16_t m_iconOffsetX = 0;
    int16_t m_iconOffsetY = 0;
    uint8_t m_iconLayout = 1;

private:
    // The caption as last fitted to the width; the caption itself is kept.
    CZVString m_shownCaption;
    // The repeat's interval and count for now; false while nothing is due.
    bool RepeatDue(int* count);
};
