#include "support/widget_harness.h"

#include "core/zvtime.h"
#include "platform/keys.h"
#include "widgets/text/zvlabel.h"

namespace testsupport {

void ForgetProgramWideValues() {
    g_nClockOffsetMinutes = 0;
    g_bSmoothLabels = 0;
}

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
    : m_server(std::move(own)),
      m_serverInUse(given ? given : m_server.get()),
      m_style(std::make_unique<CSetServer>(*m_serverInUse)),
      m_icons(std::make_unique<CIconCache>(*m_serverInUse)),
      m_services(std::make_unique<CToolkitServices>(*m_serverInUse, *m_style)),
      m_screen(std::make_unique<CDibDC>(width, height, 0, 0, 1)),
      m_previousShell(InstallShellServices(this)),
      m_native(width, height),
      m_root(std::make_unique<TestMainWnd>(width, height, &m_native)) {}

WidgetHarness::~WidgetHarness() {
    m_root.reset();
    InstallShellServices(m_previousShell);
    m_services.reset();
    m_icons.reset();
    m_style.reset();
    m_server.reset();
    ForgetProgramWideValues();
}

void WidgetHarness::PaintAll() {
    m_root->Paint(m_screen.get(), 1);
    m_native.Present(m_screen->GetBits(), m_screen->GetRequestedWidth(), m_screen->GetHeight(), m_screen->GetWidth());
}

int WidgetHarness::PumpEvents() {
    int taken = 0;
    platform::WindowEvent event;
    while (m_native.PollEvent(&event)) taken += m_root->DispatchEvent(event);
    return taken;
}

void WidgetHarness::Press(int x, int y) {
    m_native.QueueMouse(platform::kWmLButtonDown, x, y, platform::MK_LBUTTON);
    PumpEvents();
}

void WidgetHarness::Release(int x, int y) {
    m_native.QueueMouse(platform::kWmLButtonUp, x, y, 0);
    PumpEvents();
}

void WidgetHarness::Move(int x, int y, int keys) {
    m_native.QueueMouse(platform::kWmMouseMove, x, y, keys);
    PumpEvents();
}

void WidgetHarness::RunFor(int ms, int step) {
    for (int t = 0; t < ms; t += step) {
        m_clock.Advance(static_cast<uint32_t>(step));
        Idle();
    }
}

Image565 WidgetHarness::Capture() { return ImageOf(*m_screen); }

}  // namespace testsupport
