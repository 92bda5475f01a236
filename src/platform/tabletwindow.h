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
    int keys = 0;      // mouse: MK_... key state
    int code = 0;      // kWmChar: a Windows-1252 character; kWmKeyDown/Up: a virtual key
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
    virtual void SetCursor(CursorShape shape) = 0;
    // While captured, a drag keeps reporting moves and the release even
    // outside the window.
    virtual void SetCapture(bool captured) = 0;
    // Brings the window to the front (a second copy of the program asked).
    virtual void Raise() = 0;
};

// The window on SDL's video driver; null, with the reason on standard error,
// when SDL cannot open one.
std::unique_ptr<TabletWindow> OpenSdlWindow(const WindowOptions& options);

class HeadlessWindow : public TabletWindow {
public:
    HeadlessWindow(int width, int height) : width_(width), height_(height) {}

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void Present(const uint16_t* pixels, int width, int height, int stride) override;
    bool PollEvent(WindowEvent* event) override;
    void SetCursor(CursorShape shape) override { cursor_ = shape; }
    void SetCapture(bool captured) override { captured_ = captured; }
    void Raise() override { ++raised_; }

    void Queue(const WindowEvent& event) { events_.push_back(event); }
    void QueueMouse(int message, int x, int y, int keys);
    // A key press as the SDL backend delivers it: key down, the character
    // when it has one, key up.
    void QueueKey(int virtualKey, int character);
    int PendingEvents() const { return static_cast<int>(events_.size()); }

    // The last frame shown, width_ x height_ pixels, top row first (zero
    // where the surface did not reach).
    const std::vector<uint16_t>& GetFrame() const { return frame_; }
    int GetFramesShown() const { return framesShown_; }
    CursorShape GetCursor() const { return cursor_; }
    bool IsCaptured() const { return captured_; }
    int GetRaiseCount() const { return raised_; }

private:
    int width_;
    int height_;
    std::deque<WindowEvent> events_;
    std::vector<uint16_t> frame_;
    int framesShown_ = 0;
    CursorShape cursor_ = CursorShape::Arrow;
    bool captured_ = false;
    int raised_ = 0;
};

}  // namespace platform
