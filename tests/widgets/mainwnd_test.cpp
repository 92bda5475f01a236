#include "widgets/window/mainwnd.h"

#include <gtest/gtest.h>

#include "platform/keys.h"
#include "recording_window.h"
#include "support/widget_harness.h"

namespace {

using widgettest::RecordingWindow;

class KeyWindow : public CZVWindow {
public:
    explicit KeyWindow(CZVWindow* parent) : CZVWindow(parent, CZVRect(0, 0, 10, 10), 0) { parent->AddChild(this); }
    void OnChar(int code, int) override { keys.push_back("char " + std::to_string(code)); }
    void OnKeyDown(int code, int) override { keys.push_back("down " + std::to_string(code)); }
    void OnKeyUp(int code, int) override { keys.push_back("up " + std::to_string(code)); }
    std::vector<std::string> keys;
};

class MainWndTest : public ::testing::Test {
protected:
    testsupport::WidgetHarness harness;
    testsupport::TestMainWnd& root = harness.Root();
};

TEST_F(MainWndTest, InputIsBlockedOutsideTheOverlayWhileModalOrSuspended) {
    auto* page = new CZVWindow(&root, CZVRect(0, 0, 10, 10), 0);
    root.AddChild(page);
    auto* overlay = new CZVWindow(&root, CZVRect(0, 0, 10, 10), 0);
    root.AddChildFirst(overlay);
    auto* inside = new CZVWindow(overlay, CZVRect(0, 0, 5, 5), 0);
    overlay->AddChild(inside);

    EXPECT_EQ(root.IsInputBlocked(page), 0);
    root.SetModal(1);
    EXPECT_EQ(root.IsInputBlocked(page), 1);
    root.SetModal(0);
    root.SetOverlayWindow(overlay);
    EXPECT_EQ(root.IsInputBlocked(inside), 0);
    EXPECT_EQ(root.IsInputBlocked(page), 1);
    EXPECT_EQ(root.IsInputBlocked(nullptr), 1);
    root.SetSuspended(1);
    EXPECT_EQ(root.IsInputBlocked(inside), 1);
}

TEST_F(MainWndTest, DeferredRepaintWaitsUntilInputIsNoLongerBlocked) {
    std::vector<std::string> log;
    auto* button = new RecordingWindow(&root, CZVRect(0, 0, 10, 10), "button", &log);
    button->SetDeferredRepaint(1);
    root.SetModal(1);
    harness.Idle();
    EXPECT_TRUE(log.empty());
    root.SetModal(0);
    EXPECT_EQ(harness.Idle(), 0);  // a repaint is no work
    EXPECT_EQ(log, (std::vector<std::string>{"paint button"}));
    EXPECT_EQ(button->HasDeferredRepaint(), 0);
}

TEST_F(MainWndTest, KeysGoToTheFocusWindowOnly) {
    auto* field = new KeyWindow(&root);
    harness.Native().QueueKey('A', 'a');
    EXPECT_EQ(harness.PumpEvents(), 0);  // no focus window yet
    root.SetFocusWindow(field);
    harness.Native().QueueKey(platform::VK_RETURN, '\r');
    EXPECT_EQ(harness.PumpEvents(), 3);
    EXPECT_EQ(field->keys, (std::vector<std::string>{"down 13", "char 13", "up 13"}));
}

TEST_F(MainWndTest, CursorIsRestoredToTheOneShownBeforeTheFirstPush) {
    root.PushCursor(platform::CursorShape::Wait);
    root.PushCursor(platform::CursorShape::Hand);
    EXPECT_EQ(harness.Native().GetCursor(), platform::CursorShape::Hand);
    root.PopCursor();
    EXPECT_EQ(harness.Native().GetCursor(), platform::CursorShape::Arrow);
}

TEST_F(MainWndTest, FlagsOfTheDisplaySettings) {
    root.SetDisplayFlags(kDisplayBlend | kDisplayNoBlend | kDisplayAlternateFont);
    EXPECT_EQ(root.IsBlendedDrawing(), 0);
    root.SetOffscreenPaint(1);  // painting off screen always blends
    EXPECT_EQ(root.IsBlendedDrawing(), 1);
    EXPECT_EQ(root.UseAlternateFont(), 1);
    EXPECT_EQ(root.IsDitherEnabled(), 1);
    EXPECT_EQ(root.GetRootHwnd(), &harness.Native());
}

}  // namespace
