#pragma once
// The pool pages under test: an 800 x 600 main window connected to a fake
// gateway that serves the sample house, and pool models of any
// configuration over a scripted link.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/pool_fixtures.h"
#include "sample_installation.h"
#include "vistrel/home/homepages.h"
#include "vistrel/home/pool/poolcontrols.h"
#include "vistrel/shell_fixture.h"

namespace pooltest {

class PoolTest : public vistreltest::ShellTest {
protected:
    PoolTest() {
        window.reset();  // first: the new window takes over the toolkit services
        window = std::make_unique<CMainWnd>(server, CZVRect(0, 0, 800, 600), 0, &screen);
        RegisterHomePages();
    }
    ~PoolTest() override {
        for (CZVWindow* w : m_kept) {
            window->RemoveChild(w);
            delete w;
        }
        window.reset();
    }

    // Serves the sample house, then connects: what is asked on connecting comes from the house.
    // It waits for what the window asks on connecting (its menu, the gateway's clock) to come back.
    void ConnectToSampleHouse() {
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
        Connect();
        ASSERT_TRUE(Settle());
    }

    // A model of the configuration, with the status applied.
    std::unique_ptr<CBasinSetup> Model(const ConfigFixture& config, const StatusFixture* status = nullptr) {
        link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(config, ZVVariant::Tablet));
        auto model = std::make_unique<CBasinSetup>(link, ZVVariant::Tablet, 0);
        if (status) model->ReadStatus(*StatusMessage(*status, true, false, ZVM_POOL_STATUSCHANGED));
        return model;
    }
    // The ints of every message of that id the model sent.
    std::vector<std::vector<int32_t>> Sent(uint16_t id) {
        std::vector<std::vector<int32_t>> found;
        for (auto& message : link.sent)
            if (message->GetId() == id) found.push_back(IntsOf(*message));
        return found;
    }
    // Keeps the window on the screen's size.
    template <class W>
    W* Adopt(W* child) {
        window->AddChild(child);
        child->Show(1, 0);
        return child;
    }
    // Adopts the window and deletes it when the test ends.
    template <class W>
    W* Keep(W* w) {
        m_kept.push_back(Adopt(w));
        return w;
    }

    platform::HeadlessWindow screen{800, 600};
    FakeLink link;

private:
    std::vector<CZVWindow*> m_kept;
};

// A circuit of the tablet's configuration.
inline CircuitFixture Circuit(int32_t id, const std::string& name, uint8_t function, uint8_t group) {
    return {id, name, 0, function, group, 0, 0, 0, 0, static_cast<uint8_t>(id % 250), 720};
}

// The controls of a class on the page, found at any depth.
template <class Control>
void FindControls(CZVWindow* window, std::vector<Control*>* found) {
    if (auto* control = dynamic_cast<Control*>(window)) found->push_back(control);
    for (ZVPOSITION pos = window->GetChildren().GetHeadPosition(); pos;)
        FindControls(static_cast<CZVWindow*>(window->GetChildren().GetNext(pos)), found);
}

// The sample house's home page holds two pool controls; true once both show its status.
inline bool PoolControlsShowTheSampleStatus(CZVWindow* page) {
    std::vector<CPoolStatusControl*> controls;
    if (page) FindControls(page, &controls);
    return controls.size() == 2 && std::all_of(controls.begin(), controls.end(),
                                               [](CPoolStatusControl* c) { return c->GetModel().GetAirTemp() == 78; });
}

}  // namespace pooltest
