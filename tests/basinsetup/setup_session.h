#pragma once
// The configuration program's logic against the sample installation on a
// loopback fake gateway, on the virtual clock, with a view and a viewer
// starter that record what reaches them.
#include <gtest/gtest.h>
#include <netinet/in.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "basinsetup/basinsetupapp.h"
#include "basinsetup/basinsetupdlg.h"
#include "basinsetup/searchgateway.h"
#include "core/zvsock.h"
#include "support/fake_gateway.h"
#include "support/gateway_session.h"
#include "support/loopback.h"
#include "support/sample_installation.h"
#include "support/virtual_clock.h"
#include "support/wait.h"

namespace bstest {

class RecordingView : public CBasinSetupView {
public:
    void ShowRows(const std::vector<std::string>& shown) override { rows = shown; }
    void EnableControl(int id, bool on) override { enabled[id] = on; }
    void ShowControl(int id, bool shown) override { visible[id] = shown; }
    void SetCountdownText(const std::string& text) override { countdown = text; }
    void StartTimer(uint32_t) override { timerRunning = true; }
    void StopTimer() override { timerRunning = false; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool RunConfigWarning() override { return goOn; }
    bool RunHouseCode() override { return goOn; }
    int RunWizardStepDialog(int index, std::shared_ptr<CBasinSetup> model, const std::string&) override {
        steps.push_back(index);
        if (duringStep) duringStep(*model);
        if (stepResults.empty()) return kStepCancel;
        int result = stepResults.front();
        stepResults.erase(stepResults.begin());
        return result;
    }
    std::unique_ptr<CSearchProgress> OpenSearchProgress() override { return nullptr; }

    std::vector<std::string> rows;
    std::map<int, bool> enabled;
    std::map<int, bool> visible;
    std::string countdown;
    bool timerRunning = false;
    std::vector<std::string> messages;
    bool goOn = true;
    std::vector<int> steps;
    std::vector<int> stepResults;
    std::function<void(CBasinSetup&)> duringStep;
};

class RecordingViewer : public CViewerStarter {
public:
    bool Start(const std::vector<std::string>& arguments) override {
        started.push_back(arguments);
        return succeeds;
    }
    bool succeeds = true;
    std::vector<std::vector<std::string>> started;
};

// Keeps every network step of the test on loopback.
class LoopbackNet {
public:
    LoopbackNet() {
        ZVNetConfig config = m_saved;
        config.broadcastAddress = htonl(INADDR_LOOPBACK);
        config.searchPort = m_searchPort.Port();
        config.serviceHost = "127.0.0.1";
        SetNetConfig(config);
    }
    ~LoopbackNet() { SetNetConfig(m_saved); }

private:
    testsupport::ReservedUdpPort m_searchPort;
    const ZVNetConfig m_saved = GetNetConfig();
};

class SetupSession : public ::testing::Test {
protected:
    explicit SetupSession(const testsupport::SampleInstallation& sample = {}) {
        testsupport::ServeSampleInstallation(gateway, sample);
    }

    std::vector<std::string> DirectArguments() const {
        return {"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())};
    }

    void Start(const std::vector<std::string>& arguments, CBasinSetupDlg::Options options = {}) {
        app = std::make_unique<CBasinSetupApp>([this](const std::string& text) { appMessages.push_back(text); });
        ASSERT_TRUE(app->InitInstance(arguments));
        // A query waits for the gateway's answer however slowly the gateway's thread runs.
        testsupport::HoldClockWhileGatewayAnswers(clock, gateway, app->Server());
        options.noInheritedSocket = !app->UsesInheritedSocket();
        dialog = std::make_unique<CBasinSetupDlg>(app->Server(), app->Link(), view, viewer, options);
        app->SetDialog(dialog.get());
        dialog->OnInitDialog();
    }

    // Runs the program's loop until the condition holds; false after the wait limit.
    bool RunUntil(const std::function<bool()>& condition) {
        return testsupport::WaitUntil(condition, [this] {
            if (app->RunPass()) return true;
            clock.Advance(10);
            return false;
        });
    }

    int RequestsWithId(uint16_t id) const { return static_cast<int>(gateway.RequestsOf(id).size()); }

    bool Connected() {
        return RunUntil([this] { return view.rows.size() > 1; });
    }

    void TearDown() override {
        clock.HoldWhile({});
        if (app) app->SetDialog(nullptr);
        dialog.reset();
        app.reset();
    }

    LoopbackNet net;
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
    RecordingView view;
    RecordingViewer viewer;
    std::vector<std::string> appMessages;
    std::unique_ptr<CBasinSetupApp> app;
    std::unique_ptr<CBasinSetupDlg> dialog;
};

}  // namespace bstest
