#pragma once
// The numbers of the input that the tablet's window delivers: the message ids
// of input routing, the mouse key-state flags and the virtual-key codes that
// the widgets compare against. They keep the values the widget code was
// written for.
#include <cstdint>

namespace platform {

// Message ids of window events.
enum : int {
    kWmPaint = 0x000F,
    kWmClose = 0x0010,
    kWmKeyDown = 0x0100,
    kWmKeyUp = 0x0101,
    kWmChar = 0x0102,
    kWmMouseMove = 0x0200,
    kWmLButtonDown = 0x0201,
    kWmLButtonUp = 0x0202,
};

// Key state that comes with mouse events.
enum : int {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
};

// Virtual-key codes. Letters and digits are their upper-case characters.
enum : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
};

// Key-event data: the repeat count in the low 16 bits, the key's previous
// state and the transition in the top two bits.
enum : uint32_t {
    kKeyRepeatCountMask = 0xFFFF,
    kKeyWasDown = 1u << 30,
    kKeyReleased = 1u << 31,
};

}  // namespace platform
