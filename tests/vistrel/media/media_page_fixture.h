#pragma once
// The Video and DVR pages under test: an 800 x 600 main window connected to a fake gateway
// that serves the sample house, with the video registries made, and pages deleted before the
// window goes.
#include <memory>
#include <vector>

#include "sample_installation.h"
#include "samplegateway/pacer.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/video/pvideo.h"
#include "vistrel/shell_fixture.h"

namespace mediatest {

class MediaPageTest : public vistreltest::ShellTest {
protected:
    MediaPageTest() {
        window.reset();  // first: the new window takes over the toolkit services
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
        CreateVideoRegistries();
        RegisterMediaPages();
    }
    ~MediaPageTest() override {
        for (auto it = m_kept.rbegin(); it != m_kept.rend(); ++it) Drop(*it);
        window.reset();
        DestroyVideoRegistries();
    }

    void ConnectToSampleHouse() {
        pacer = testsupport::ServeSampleInstallation(gateway);
        Connect();
        ASSERT_TRUE(Settle());
    }
    // Adds the page on the page area and deletes it when the test ends.
    template <class W>
    W* Keep(W* w) {
        window->AddChild(w);
        w->Show(1, 0);
        m_kept.push_back(w);
        return w;
    }
    // Takes a kept window out and deletes it now.
    void Drop(CZVWindow* w) {
        std::erase(m_kept, w);
        window->RemoveChild(w);
        delete w;
    }
    size_t CountOf(uint16_t id) { return gateway.RequestsOf(id).size(); }

    platform::HeadlessWindow screen{800, 600};
    std::shared_ptr<samplegateway::Pacer> pacer;

private:
    std::vector<CZVWindow*> m_kept;
};

}  // namespace mediatest
