#include "platform/tabletwindow.h"

#include <algorithm>
#include <cstring>

#include "platform/keys.h"

namespace platform {

void HeadlessWindow::Present(const uint16_t* pixels, int width, int height, int stride) {
    frame_.assign(static_cast<size_t>(std::max(width_, 0)) * std::max(height_, 0), 0);
    ++framesShown_;
    if (!pixels || stride < width) return;
    const int columns = std::min(width, width_);
    const int rows = std::min(height, height_);
    for (int y = 0; y < rows; ++y)
        std::memcpy(&frame_[static_cast<size_t>(y) * width_], pixels + static_cast<ptrdiff_t>(y) * stride,
                    static_cast<size_t>(std::max(columns, 0)) * sizeof(uint16_t));
}

bool TakePress(std::deque<WindowEvent>& events) {
    const auto press =
        std::find_if(events.begin(), events.end(), [](const WindowEvent& e) { return e.message == kWmLButtonDown; });
    if (press == events.end()) return false;
    events.erase(press);
    return true;
}

bool HeadlessWindow::PollEvent(WindowEvent* event) {
    if (events_.empty()) return false;
    *event = events_.front();
    events_.pop_front();
    return true;
}

void HeadlessWindow::QueueMouse(int message, int x, int y, int keys) {
    WindowEvent event;
    event.message = message;
    event.x = x;
    event.y = y;
    event.keys = keys;
    Queue(event);
}

void HeadlessWindow::QueueKey(int virtualKey, int character) {
    WindowEvent event;
    event.message = kWmKeyDown;
    event.code = virtualKey;
    event.flags = 1;
    Queue(event);
    if (character) {
        event.message = kWmChar;
        event.code = character;
        Queue(event);
    }
    event.message = kWmKeyUp;
    event.code = virtualKey;
    event.flags = 1 | kKeyWasDown | kKeyReleased;
    Queue(event);
}

}  // namespace platform
