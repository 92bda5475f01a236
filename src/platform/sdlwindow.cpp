// The tablet's window on SDL2: a window surface that the RGB565 screen is
// blitted onto, and SDL's events turned into the window events of keys.h.
#include <SDL.h>

#include <cstdio>
#include <deque>

#include "platform/cp1252.h"
#include "platform/keys.h"
#include "platform/tabletwindow.h"

namespace platform {
namespace {

int VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    default: return 0;
    }
}

// The keys whose character SDL's text input never reports.
int ControlCharacterOf(int virtualKey) {
    switch (virtualKey) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: return virtualKey;
    default: return 0;
    }
}

int KeyStateOf(bool leftDown) {
    const SDL_Keymod mod = SDL_GetModState();
    int keys = leftDown ? MK_LBUTTON : 0;
    if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
    if (mod & KMOD_CTRL) keys |= MK_CONTROL;
    return keys;
}

// Decodes UTF-8 text into UTF-16; a malformed sequence becomes U+FFFD.
std::u16string Utf16Of(const char* text) {
    std::u16string out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        uint32_t c = *p++;
        int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (c >= 0x80 && c < 0xC0) more = -1;
        c &= more == 3 ? 0x07 : more == 2 ? 0x0F : more == 1 ? 0x1F : 0x7F;
        for (int i = 0; i < more; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) {
                more = -1;
                break;
            }
            c = (c << 6) | (*p & 0x3F);
        }
        if (more < 0 || c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

class SdlWindow : public TabletWindow {
public:
    ~SdlWindow() override {
        for (SDL_Cursor* cursor : m_cursors)
            if (cursor) SDL_FreeCursor(cursor);
        if (m_window) SDL_DestroyWindow(m_window);
        if (m_initialised) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool Open(const WindowOptions& options) {
        // One pointer: a touch must not arrive a second time as a mouse event.
        SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
        SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            std::fprintf(stderr, "The window cannot open: %s\n", SDL_GetError());
            return false;
        }
        m_initialised = true;
        Uint32 flags = options.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
        m_window = SDL_CreateWindow(options.title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                    options.width, options.height, flags);
        if (!m_window) {
            std::fprintf(stderr, "The window cannot open: %s\n", SDL_GetError());
            return false;
        }
        SDL_StartTextInput();
        return true;
    }

    int GetWidth() const override { return Size().first; }
    int GetHeight() const override { return Size().second; }

    void Present(const uint16_t* pixels, int width, int height, int stride) override {
        if (!pixels || width <= 0 || height <= 0 || stride < width) return;
        SDL_Surface* target = SDL_GetWindowSurface(m_window);
        SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(pixels), width, height, 16,
                                                                 stride * 2, SDL_PIXELFORMAT_RGB565);
        if (target && source) {
            SDL_BlitSurface(source, nullptr, target, nullptr);
            SDL_UpdateWindowSurface(m_window);
        }
        if (source) SDL_FreeSurface(source);
    }

    bool PollEvent(WindowEvent* event) override {
        SDL_Event raw;
        while (m_pending.empty() && SDL_PollEvent(&raw)) Translate(raw);
        if (m_pending.empty()) return false;
        *event = m_pending.front();
        m_pending.pop_front();
        return true;
    }

    bool TakePendingPress() override {
        SDL_Event raw;
        while (SDL_PollEvent(&raw)) Translate(raw);
        return TakePress(m_pending);
    }

    void SetCursor(CursorShape shape) override {
        if (shape == CursorShape::Hidden) {
            SDL_ShowCursor(SDL_DISABLE);
            return;
        }
        const int index = static_cast<int>(shape);
        if (!m_cursors[index]) {
            static constexpr SDL_SystemCursor kSystem[] = {SDL_SYSTEM_CURSOR_ARROW, SDL_SYSTEM_CURSOR_WAIT,
                                                           SDL_SYSTEM_CURSOR_HAND, SDL_SYSTEM_CURSOR_SIZEWE};
            m_cursors[index] = SDL_CreateSystemCursor(kSystem[index]);
        }
        if (m_cursors[index]) SDL_SetCursor(m_cursors[index]);
        SDL_ShowCursor(SDL_ENABLE);
    }

    void SetCapture(bool captured) override { SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE); }
    void Raise() override { SDL_RaiseWindow(m_window); }
    bool HasFocus() const override { return (SDL_GetWindowFlags(m_window) & SDL_WINDOW_INPUT_FOCUS) != 0; }
    void SetTitle(const std::string& title) override { SDL_SetWindowTitle(m_window, title.c_str()); }

private:
    std::pair<int, int> Size() const {
        int w = 0, h = 0;
        SDL_GetWindowSize(m_window, &w, &h);
        return {w, h};
    }

    void Mouse(int message, int x, int y, bool leftDown) {
        WindowEvent event;
        event.message = message;
        event.x = x;
        event.y = y;
        event.keys = KeyStateOf(leftDown);
        m_pending.push_back(event);
    }

    void Key(int message, int code, uint32_t flags) {
        WindowEvent event;
        event.message = message;
        event.code = code;
        event.flags = flags;
        m_pending.push_back(event);
    }

    void Touch(const SDL_TouchFingerEvent& finger, int message) {
        if (message == kWmLButtonDown) {
            if (m_fingerDown) return;
            m_fingerDown = true;
            m_finger = finger.fingerId;
        } else if (!m_fingerDown || finger.fingerId != m_finger) {
            return;
        }
        if (message == kWmLButtonUp) m_fingerDown = false;
        const auto [w, h] = Size();
        Mouse(message, static_cast<int>(finger.x * w), static_cast<int>(finger.y * h), message != kWmLButtonUp);
    }

    void Translate(const SDL_Event& raw) {
        switch (raw.type) {
        case SDL_QUIT: Key(kWmClose, 0, 0); break;
        case SDL_WINDOWEVENT:
            if (raw.window.event == SDL_WINDOWEVENT_EXPOSED || raw.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                Key(kWmPaint, 0, 0);
            break;
        case SDL_MOUSEMOTION:
            if (raw.motion.which != SDL_TOUCH_MOUSEID)
                Mouse(kWmMouseMove, raw.motion.x, raw.motion.y, (raw.motion.state & SDL_BUTTON_LMASK) != 0);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (raw.button.which != SDL_TOUCH_MOUSEID && raw.button.button == SDL_BUTTON_LEFT) {
                const bool down = raw.type == SDL_MOUSEBUTTONDOWN;
                Mouse(down ? kWmLButtonDown : kWmLButtonUp, raw.button.x, raw.button.y, down);
            }
            break;
        case SDL_FINGERDOWN: Touch(raw.tfinger, kWmLButtonDown); break;
        case SDL_FINGERMOTION: Touch(raw.tfinger, kWmMouseMove); break;
        case SDL_FINGERUP: Touch(raw.tfinger, kWmLButtonUp); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int vk = VirtualKeyOf(raw.key.keysym.sym);
            if (!vk) break;
            if (raw.type == SDL_KEYUP) {
                Key(kWmKeyUp, vk, 1 | kKeyWasDown | kKeyReleased);
                break;
            }
            const uint32_t flags = 1 | (raw.key.repeat ? static_cast<uint32_t>(kKeyWasDown) : 0u);
            Key(kWmKeyDown, vk, flags);
            if (int control = ControlCharacterOf(vk)) Key(kWmChar, control, flags);
            break;
        }
        case SDL_TEXTINPUT:
            for (char16_t unit : Utf16Of(raw.text.text)) {
                uint8_t byte = 0;
                if (Utf16CharToCp1252(unit, &byte)) Key(kWmChar, byte, 1);
            }
            break;
        default: break;
        }
    }

    bool m_initialised = false;
    SDL_Window* m_window = nullptr;
    SDL_Cursor* m_cursors[4] = {};
    std::deque<WindowEvent> m_pending;
    bool m_fingerDown = false;
    SDL_FingerID m_finger = 0;
};

}  // namespace

std::unique_ptr<TabletWindow> OpenSdlWindow(const WindowOptions& options) {
    auto window = std::make_unique<SdlWindow>();
    if (!window->Open(options)) return nullptr;
    return window;
}

}  // namespace platform
