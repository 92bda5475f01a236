#pragma once
// CSlideShow: the pictures that the gateway serves to the idle screen, one
// after another, each with the date and time under it and, when the
// settings ask for them, Previous, Next and Pause buttons. The buttons are
// drawn into the slide and hit-tested here; they are never in the window tree.
#include <cstdint>
#include <memory>

#include "core/zvmsg.h"
#include "gfx/dibdc.h"

class CMainWnd;
class CTabletSettings;

// The picture message's size {i32 width, i32 height}: true when it is read
// and fits within maxWidth x maxHeight; the JPEG bytes follow it.
bool ReadSlideSize(CZVMSG* message, int maxWidth, int maxHeight, int* width, int* height);
class CZV3DButton;

// The slideshow's commands, issued by its buttons and keys.
enum : int { kSlidePrevious = 2000, kSlideNext = 2001, kSlidePause = 2002 };

class CSlideShow {
public:
    static constexpr uint32_t kStartDelay = 60000;    // ms after a touch before slides show
    static constexpr uint32_t kArrivalLimit = 60000;  // ms a requested slide may take
    static constexpr uint32_t kExitWait = 10000;      // ms the idle screen's end waits for one
    static constexpr int kBarHeight = 30;             // the progress bars at the bottom
    static constexpr int kButtonHeight = 28;

    CSlideShow(CMainWnd& owner, const CTabletSettings& settings);
    ~CSlideShow();

    // The idle screen starts: nothing awaited, and no slide before kStartDelay.
    void Start();
    // Asks for the next (+1) or previous (-1) slide and the new-message
    // count; false when it cannot be sent.
    bool Request(int direction);
    // A picture {i32 width, i32 height, JPEG bytes} for the idle screen.
    void Show(CZVMSG* message);
    // The gateway has no picture to give: the next is asked for.
    void OnPictureEnd() { Request(+1); }
    // A picture came while no idle screen shows it: no longer waited for.
    void OnPictureArrived();
    // 2000, 2001, 2002.
    void DoCommand(int id);
    // While the idle screen lasts, one step: a slide when it is due. false
    // when a slide stayed away too long (the caller drops the connection).
    bool Step();
    // The idle screen ends: the buttons go, and a slide on its way is waited
    // for (at most kExitWait) with "Please Wait..." on the screen.
    void Stop();

    // A touch on the idle screen; true when a button took it.
    bool OnLButtonDown(int x, int y);
    bool OnLButtonUp(int x, int y);
    // Keys on the idle screen on mains power: Left, Right and Return.
    void OnKeyDown(int key);
    // true when the key was the slideshow's.
    bool OnKeyUp(int key);

    bool IsWaiting() const { return m_waiting; }
    bool IsPaused() const { return m_paused; }
    bool HasButtons() const { return m_date != nullptr; }
    // A touch ended the decoding or the transition: the idle screen is to end.
    bool TakeLeaveRequest();

private:
    void DeleteButtons();
    void MakeButtons(CDibDC& surface, int dateWidth);
    CZV3DButton* MakeButton(CZVRect rect, int id, COLORREF face, const char* text);
    void DrawButton(CZV3DButton* button, int pressed);
    void DrawWorking(const char* text);
    void Present();

    CMainWnd& m_owner;
    const CTabletSettings& m_settings;
    bool m_waiting = false;
    bool m_paused = false;
    bool m_shown = true;  // cleared by Previous and Next: their slide comes without the transition
    bool m_leave = false;
    uint32_t m_requestTick;
    uint32_t m_lastSlide;
    uint32_t m_lastTouch;
    std::unique_ptr<CZV3DButton> m_date;
    std::unique_ptr<CZV3DButton> m_previous;
    std::unique_ptr<CZV3DButton> m_next;
    std::unique_ptr<CZV3DButton> m_pause;
};
