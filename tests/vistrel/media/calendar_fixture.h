#pragma once
// The main window at 800 x 480 against the sample house, with the media controls registered and
// the tablet's clock at the house's date, for the calendar and weather controls.
#include <string>
#include <vector>

#include "samplegateway/times.h"
#include "samplegateway/wire.h"
#include "support/sample_installation.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell_fixture.h"

namespace mediatest {

class InfoPanelTest : public vistreltest::ShellTest {
protected:
    static constexpr int kCalendarPanel = 51;
    static constexpr int kWeatherPanel = 52;
    // The pages' style class, whose face the panel's controls take.
    static constexpr int kPageClass = 1;

    InfoPanelTest() {
        RegisterMediaPages();
        testsupport::ServeSampleInstallation(gateway);
        clock.SetLocalTime({.year = 2011, .month = 6, .day = 15, .hour = 14, .minute = 35, .second = 20});
        window.reset();
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 480), 0, &m_native);
    }
    ~InfoPanelTest() override { window.reset(); }
    void SetUp() override {
        Connect();
        ASSERT_TRUE(Settle());
    }

    // A gateway panel of the sample house right of the main menu.
    CZVWindow* Panel(int id, CZVRect rect = CZVRect(110, 0, 680, 400)) {
        auto* panel = new CGatewayPanel(window.get(), rect, kPageClass, id, 0);
        window->AddChild(panel);
        return panel;
    }
    // The first child of the panel of that class.
    template <class T>
    static T* ChildOf(CZVWindow* parent) {
        for (ZVPOSITION pos = parent->GetChildren().GetHeadPosition(); pos;)
            if (auto* found = dynamic_cast<T*>(static_cast<CZVWindow*>(parent->GetChildren().GetNext(pos))))
                return found;
        return nullptr;
    }
    // The payloads of the requests of that id the gateway received, once every request is in.
    std::vector<samplegateway::Bytes> Requests(uint16_t id) {
        EXPECT_TRUE(Settle());
        return gateway.PayloadsOf(id);
    }

    platform::HeadlessWindow m_native{800, 480};
};

}  // namespace mediatest
