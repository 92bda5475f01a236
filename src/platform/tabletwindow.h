#pragma once
// The tablet's one native window: it shows the RGB565 screen surface and
// delivers input as the window events of keys.h. The left mouse button and a
// touch (the first finger only) are one and the same: down, move and up.
// Two backends with one interface: SDL for the program, and a headless one
// into which tests queue events and from which they read the frames shown.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct WindowEvent {
    int message = 0;  // kWm... of keys.h
    int x = 0;        // mouse: client coordinates
    int y = 0;
    int keys = 0;        // mouse: MK_... key state
    int code = 0;        // kWmChar: a Windows-1252 character; kWmKeyDown/Up: a virtual key
    uint32_t flags = 0;  // key data (keys.h)
};

// SizeWE: the horizontal resize arrows, shown while a divider is dragged.
enum class CursorShape { Arrow, Wait, Hand, SizeWE, Hidden };

struct WindowOptions {
    std::string title = "Vistrel";
    bool fullScreen = false;
    int width = 800;  // client size when not full screen
    int height = 600;
};

class TabletWindow {
public:
    virtual ~TabletWindow() = default;

    // The client area, which the screen surface should match.
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    // Shows a whole surface: width x height pixels, rows stride pixels apart.
    // A surface of another size is shown from the top-left corner, clipped.
    virtual void Present(const uint16_t* pixels, int width, int height, int stride) = 0;
    // Takes the next event without waiting; false when none is pending.
    virtual bool PollEvent(WindowEvent* event) = 0;
    // Removes the first pending left-button press and answers true; every
    // other pending event stays queued in its order. False when none is pending.
    virtual bool TakePendingPress() = 0;
    virtual void SetCursor(CursorShape shape) = 0;
    // While captured, a drag keeps reporting moves and the release even
    // outside the window.
    virtual void SetCapture(bool captured) = 0;
    // Brings the window to the front (a second copy of the program asked).
    virtual void Raise() = 0;
    // The window has the input focus: it is the one the user works with.
    virtual bool HasFocus() const = 0;
    // The title bar's text, in UTF-8.
    virtual void SetTitle(const std::string& title) = 0;
};

// Removes the first left-button press from a queue of events; the backends' common step.
bool TakePress(std::deque<WindowEvent>& events);

// The window on SDL's video driver; null, with the reason on standard error,
// when SDL cannot open one.
std::unique_ptr<TabletWindow> OpenSdlWindow(const WindowOptions& options);

class HeadlessWindow : public TabletWindow {
public:
    HeadlessWindow(int width, int height) : m_width(width), m_height(height) {}

    int GetWidth() const override { return m_width; }
    int GetHeight() const override { return m_height; }
    void Present(const uint16_t* pixels, int width, int height, int stride) override;
    bool PollEvent(WindowEvent* event) override;
    bool TakePendingPress() override { return TakePress(m_events); }
    void SetCursor(CursorShape shape) override { m_cursor = shape; }
    void SetCapture(bool captured) override { m_captured = captured; }
    void Raise() override { ++m_raised; }
    bool HasFocus() const override { return m_focus; }
    void SetTitle(const std::string& title) override { m_title = title; }

    // Another window took the focus (false) or gave it back.
    void SetFocus(bool focus) { m_focus = focus; }
    const std::string& GetTitle() const { return m_title; }
    void Queue(const WindowEvent& event) { m_events.push_back(event); }
    void QueueMouse(int message, int x, int y, int keys);
    // A key press as the SDL backend delivers it: key down, the character
    // when it has one, key up.
    void QueueKey(int virtualKey, int character);
    int PendingEvents() const { return static_cast<int>(m_events.size()); }

    // The last frame shown, width x height pixels, top row first (zero
    // where the surface did not reach).
    const std::vector<uint16_t>& GetFrame() const { return m_frame; }
    int GetFramesShown() const { return m_framesShown; }
    CursorShape GetCursor() const { return m_cursor; }
    bool IsCaptured() const { return m_captured; }
    int GetRaiseCount() const { return m_raised; }

private:
    int m_width;
    int m_height;
    std::deque<WindowEvent> m_events;
    std::vector<uint16_t> m_frame;
    int m_framesShown = 0;
    CursorShape m_cursor = CursorShape::Arrow;
    bool m_captured = false;
    int m_raised = 0;
    bool m_focus = true;
    std::string m_title;
};

}  // namespace platform
