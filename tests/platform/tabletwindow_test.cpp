#include "platform/tabletwindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/keys.h"

namespace platform {
namespace {

std::vector<WindowEvent> Drain(TabletWindow& window) {
    std::vector<WindowEvent> events;
    WindowEvent event;
    while (window.PollEvent(&event)) events.push_back(event);
    return events;
}

TEST(HeadlessWindow, DeliversQueuedEventsInOrderAndKeepsTheLastFrame) {
    HeadlessWindow window(4, 2);
    window.QueueMouse(kWmLButtonDown, 1, 1, MK_LBUTTON);
    window.QueueKey(VK_RETURN, '\r');
    auto events = Drain(window);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].message, kWmLButtonDown);
    EXPECT_EQ(events[0].keys, MK_LBUTTON);
    EXPECT_EQ(events[1].message, kWmKeyDown);
    EXPECT_EQ(events[2].message, kWmChar);
    EXPECT_EQ(events[2].code, '\r');
    EXPECT_EQ(events[3].message, kWmKeyUp);
    EXPECT_TRUE(events[3].flags & kKeyReleased);

    // A 3-wide surface with a stride of 5 lands in the top-left corner.
    const uint16_t pixels[] = {1, 2, 3, 99, 99, 4, 5, 6, 99, 99};
    window.Present(pixels, 3, 2, 5);
    EXPECT_EQ(window.GetFrame(), (std::vector<uint16_t>{1, 2, 3, 0, 4, 5, 6, 0}));
    EXPECT_EQ(window.GetFramesShown(), 1);
}

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Never a real display, even when the preset's environment is missing.
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        WindowOptions options;
        options.width = 320;
        options.height = 240;
        m_window = OpenSdlWindow(options);
        ASSERT_NE(m_window, nullptr);
        Drain(*m_window);  // the window's own start-up events
    }

    static void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

    static SDL_Event Finger(Uint32 type, SDL_FingerID id, float x, float y) {
        SDL_Event event{};
        event.type = type;
        event.tfinger.fingerId = id;
        event.tfinger.x = x;
        event.tfinger.y = y;
        return event;
    }

    std::unique_ptr<TabletWindow> m_window;
};

TEST_F(SdlWindowTest, OpensAtTheGivenSizeAndShowsSurfaces) {
    EXPECT_EQ(m_window->GetWidth(), 320);
    EXPECT_EQ(m_window->GetHeight(), 240);
    std::vector<uint16_t> screen(320 * 240, 0xF800);
    m_window->Present(screen.data(), 320, 240, 320);
    m_window->Present(screen.data(), 100, 50, 320);
    m_window->Present(nullptr, 320, 240, 320);  // nothing to show: ignored
    m_window->SetCursor(CursorShape::Wait);
    m_window->SetCursor(CursorShape::Hidden);
    m_window->SetCapture(true);
    m_window->SetCapture(false);
}

TEST_F(SdlWindowTest, MouseAndTouchBecomeLeftButtonEvents) {
    SDL_Event down{};
    down.type = SDL_MOUSEBUTTONDOWN;
    down.button.button = SDL_BUTTON_LEFT;
    down.button.x = 10;
    down.button.y = 20;
    Push(down);
    SDL_Event right = down;
    right.button.button = SDL_BUTTON_RIGHT;
    Push(right);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 11;
    motion.motion.y = 21;
    motion.motion.state = SDL_BUTTON_LMASK;
    Push(motion);
    SDL_Event synthetic = motion;
    synthetic.motion.which = SDL_TOUCH_MOUSEID;
    Push(synthetic);
    Push(Finger(SDL_FINGERDOWN, 7, 0.5f, 0.25f));
    Push(Finger(SDL_FINGERDOWN, 8, 0.1f, 0.1f));  // a second finger is ignored
    Push(Finger(SDL_FINGERMOTION, 8, 0.2f, 0.2f));
    Push(Finger(SDL_FINGERMOTION, 7, 0.75f, 0.5f));
    Push(Finger(SDL_FINGERUP, 7, 0.75f, 0.5f));

    auto events = Drain(*m_window);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].message, kWmLButtonDown);
    EXPECT_EQ(events[0].x, 10);
    EXPECT_EQ(events[0].y, 20);
    EXPECT_TRUE(events[0].keys & MK_LBUTTON);
    EXPECT_EQ(events[1].message, kWmMouseMove);
    EXPECT_TRUE(events[1].keys & MK_LBUTTON);
    EXPECT_EQ(events[2].message, kWmLButtonDown);
    EXPECT_EQ(events[2].x, 160);
    EXPECT_EQ(events[2].y, 60);
    EXPECT_EQ(events[3].message, kWmMouseMove);
    EXPECT_EQ(events[3].x, 240);
    EXPECT_EQ(events[3].y, 120);
    EXPECT_EQ(events[4].message, kWmLButtonUp);
    EXPECT_FALSE(events[4].keys & MK_LBUTTON);
}

TEST_F(SdlWindowTest, KeysGiveVirtualKeysAndWindows1252Characters) {
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_BACKSPACE;
    Push(key);
    key.key.keysym.sym = SDLK_a;
    Push(key);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, "a\xE2\x82\xAC\xE4\xB8\x80", sizeof text.text.text);  // a, euro sign, a CJK sign
    Push(text);
    key.type = SDL_KEYUP;
    Push(key);
    key.key.keysym.sym = SDLK_CAPSLOCK;  // no virtual key of ours
    Push(key);

    auto events = Drain(*m_window);
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].message, kWmKeyDown);
    EXPECT_EQ(events[0].code, VK_BACK);
    EXPECT_EQ(events[1].message, kWmChar);  // backspace has no text input of its own
    EXPECT_EQ(events[1].code, VK_BACK);
    EXPECT_EQ(events[2].code, 'A');
    EXPECT_EQ(events[3].message, kWmChar);
    EXPECT_EQ(events[3].code, 'a');
    EXPECT_EQ(events[4].code, 0x80);  // the euro sign's Windows-1252 byte
    EXPECT_EQ(events[5].message, kWmKeyUp);
    EXPECT_EQ(events[5].code, 'A');
}

TEST_F(SdlWindowTest, QuitAsksToClose) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    auto events = Drain(*m_window);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].message, kWmClose);
}

}  // namespace
}  // namespace platform
