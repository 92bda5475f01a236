#pragma once
// The controls of audio/video sources and media devices on a page of the
// tablet's main window, connected to the sample house: what they send, with
// which sender, and what reaches the page.
#include <gtest/gtest.h>

#include <vector>

#include "samplegateway/wire.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell_fixture.h"
#include "widgets/command_sink.h"

namespace devicetest {

// The page under the controls, filled with its face colour.
class DevicePage : public widgettest::CommandSink {
public:
    using CommandSink::CommandSink;
    void OnPaint(CZVDC* dc) override {
        FillFaceColor(dc, 0, 0, m_width, m_height);
        CommandSink::OnPaint(dc);
    }
};

class DeviceControlTest : public vistreltest::ShellTest {
protected:
    static constexpr COLORREF kPageFace = 0x705030;

    DeviceControlTest() {
        pacer = testsupport::ServeSampleInstallation(gateway);
        CreateVideoRegistries();
        RegisterMediaPages();
    }
    ~DeviceControlTest() override {
        window.reset();
        DestroyVideoRegistries();
    }
    void SetUp() override {
        Connect();
        ASSERT_TRUE(Settle());
        page = new DevicePage(window.get(), CZVRect(0, 0, 320, 240));
        page->SetFaceColor(kPageFace);
    }
    template <class Control>
    Control* Place(Control* control) {
        page->AddChild(control);
        return control;
    }
    // Every request of that id the gateway received, once all are in.
    std::vector<testsupport::Frame> Sent(uint16_t id) {
        EXPECT_TRUE(Settle());
        return gateway.RequestsOf(id);
    }
    // The ints of the last request of that id; empty when none came.
    std::vector<int32_t> Last(uint16_t id) {
        const std::vector<testsupport::Frame> frames = Sent(id);
        return frames.empty() ? std::vector<int32_t>{} : IntsOf(frames.back());
    }
    void Press(CZVWindow* control, int dx, int dy) {
        clock.Advance(1000);
        control->OnLButtonDown(control->ToRootX(dx), control->ToRootY(dy), 0);
        control->OnLButtonUp(control->ToRootX(dx), control->ToRootY(dy), 0);
    }
    // A tap in the middle of a button of a control.
    void Tap(CZVWindow* button) { Press(button, button->GetWidth() / 2, button->GetHeight() / 2); }
    // Commands that reached the page from its controls.
    size_t CommandsAtThePage() const { return page->childCommands.size() + page->commands.size(); }
    // Runs what the gateway sends as time passes up to the clock's time.
    void RunPacer() { pacer->Run(clock.TickCount()); }

    widgettest::CommandSink* page = nullptr;
    std::shared_ptr<samplegateway::Pacer> pacer;
};

}  // namespace devicetest
