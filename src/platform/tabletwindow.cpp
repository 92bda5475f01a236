#include "platform/tabletwindow.h"

#include <algorithm>
#include <cstring>

#include "platform/keys.h"

namespace platform {

void HeadlessWindow::Present(const uint16_t* pixels, int width, int height, int stride) {
    m_frame.assign(static_cast<size_t>(std::max(m_width, 0)) * std::max(m_height, 0), 0);
    ++m_framesShown;
    if (!pixels || stride < width) return;
    const int columns = std::min(width, m_width);
    const int rows = std::min(height, m_height);
    for (int y = 0; y < rows; ++y)
        std::memcpy(&m_frame[static_cast<size_t>(y) * m_width], pixels + static_cast<ptrdiff_t>(y) * stride,
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
    if (m_events.empty()) return false;
    *event = m_events.front();
    m_events.pop_front();
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
