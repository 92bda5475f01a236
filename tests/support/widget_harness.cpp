#include "support/widget_harness.h"

#include "platform/keys.h"

namespace testsupport {

void TestMainWnd::CloseOverlay() {
    if (!overlay) return;
    RemoveChild(overlay);
    delete overlay;
    overlay = nullptr;
    SendCommandToTree(10000);
}

int TestMainWnd::OnCommand(int id) {
    if (id == kNoCommand) return 0;
    commands.push_back(id);
    return 1;
}

WidgetHarness::WidgetHarness(int width, int height)
    : WidgetHarness(std::make_unique<CZVServer>(ZVVariant::Tablet), nullptr, width, height) {}

WidgetHarness::WidgetHarness(CZVServer& server, int width, int height)
    : WidgetHarness(nullptr, &server, width, height) {}

WidgetHarness::WidgetHarness(std::unique_ptr<CZVServer> own, CZVServer* given, int width, int height)
    : server_(std::move(own)),
      serverInUse_(given ? given : server_.get()),
      style_(std::make_unique<CSetServer>(*serverInUse_)),
      icons_(std::make_unique<CIconCache>(*serverInUse_)),
      services_(std::make_unique<CToolkitServices>(*serverInUse_, *style_)),
      screen_(std::make_unique<CDibDC>(width, height, 0, 0, 1)),
      previousShell_(InstallShellServices(this)),
      native_(width, height),
      root_(std::make_unique<TestMainWnd>(width, height, &native_)) {}

WidgetHarness::~WidgetHarness() {
    root_.reset();
    InstallShellServices(previousShell_);
    services_.reset();
    icons_.reset();
    style_.reset();
    server_.reset();
}

void WidgetHarness::PaintAll() {
    root_->Paint(screen_.get(), 1);
    native_.Present(screen_->GetBits(), screen_->GetRequestedWidth(), screen_->GetHeight(), screen_->GetWidth());
}

int WidgetHarness::PumpEvents() {
    int taken = 0;
    platform::WindowEvent event;
    while (native_.PollEvent(&event)) taken += root_->DispatchEvent(event);
    return taken;
}

void WidgetHarness::Press(int x, int y) {
    native_.QueueMouse(platform::kWmLButtonDown, x, y, platform::MK_LBUTTON);
    PumpEvents();
}

void WidgetHarness::Release(int x, int y) {
    native_.QueueMouse(platform::kWmLButtonUp, x, y, 0);
    PumpEvents();
}

Image565 WidgetHarness::Capture() { return ImageOf(*screen_); }

}  // namespace testsupport
