#include "basinsetup/basinsetupdlg.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "core/messages/setupmessages.h"
#include "setup_session.h"

namespace {

using bstest::SetupSession;
using testsupport::SampleInstallation;

const std::vector<std::string> kSampleRows = {
    "Controller Type\tCorvanta Pool/Spa",
    "Controller Firmware\t 2.170",
    "Protocol Adapter Version\t4.1 Build 612.0 Rel",
    "Protocol Adapter Name\tBackyard Adapter",
    "Configurator Version\t4.0 Build 1499.0 Rel",
    "Slave 1       \tm5X",
};

struct VersionCase {
    const char* text;
    uint16_t major;
    uint16_t minor;
};

void PrintTo(const VersionCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class VersionText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionText, GivesMajorAndBuild) {
    uint16_t major = 99, minor = 99;
    ParseVersionText(GetParam().text, major, minor);
    EXPECT_EQ(major, GetParam().major);
    EXPECT_EQ(minor, GetParam().minor);
}

INSTANTIATE_TEST_SUITE_P(Texts, VersionText,
                         ::testing::Values(VersionCase{"4.0 Build 1499.0 Rel", 4, 1499},
                                           VersionCase{"3.1 Build 200", 3, 200},
                                           VersionCase{"Error", 0, 0},
                                           VersionCase{"", 0, 0},
                                           VersionCase{"Rel 5.2 Build 738.0", 5, 738},
                                           VersionCase{"4.0 build 70000", 4, 70000 % 65536},
                                           VersionCase{"1.2.3.4.5.6", 1, 3}),
                         [](const auto& info) { return "Text" + std::to_string(info.index); });

TEST(Countdown, MinutesAndPaddedSeconds) {
    EXPECT_EQ(FormatCountdown(300), "Auto-Start 5 min 00 sec");
    EXPECT_EQ(FormatCountdown(239), "Auto-Start 3 min 59 sec");
    EXPECT_EQ(FormatCountdown(0), "Auto-Start 0 min 00 sec");
}

struct StepCase {
    bool before4;
    int index;
    int result;
    int next;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.index << " -> " << c.next; }

class WizardTable : public ::testing::TestWithParam<StepCase> {};

TEST_P(WizardTable, GivesTheNextStep) {
    const StepCase& c = GetParam();
    EXPECT_EQ(NextWizardStep(c.index, c.result, c.before4), c.next);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, WizardTable,
    ::testing::Values(StepCase{false, 0, kStepNext, 1}, StepCase{false, 2, kStepNext, 3},
                      StepCase{false, 3, kStepNext, 4}, StepCase{false, 4, kStepNext, 5},
                      StepCase{false, 4, kStepBack, 3}, StepCase{false, 0, kStepBack, -1},
                      StepCase{false, 2, kStepCancel, -1}, StepCase{true, 2, kStepNext, 4},
                      StepCase{true, 4, kStepBack, 2}, StepCase{true, 4, kStepNext, 5},
                      StepCase{true, 0, kStepBack, -1}, StepCase{true, 1, kStepCancel, -1}),
    [](const auto& info) {
        const StepCase& c = info.param;
        return std::string(c.before4 ? "V3" : "V4") + "Step" + std::to_string(c.index) +
               (c.result == kStepNext ? "Next" : c.result == kStepBack ? "Back" : "Cancel");
    });

TEST(ViewerArguments, RemoteAndDirectForms) {
    sockaddr_in gateway{};
    gateway.sin_family = AF_INET;
    gateway.sin_addr.s_addr = inet_addr("192.168.1.20");
    gateway.sin_port = htons(80);
    EXPECT_EQ(BuildViewerArguments(false, "", "", gateway),
              (std::vector<std::string>{"/IP:192.168.1.20", "/TITLE:Marquel"}));
    gateway.sin_port = htons(8080);
    EXPECT_EQ(BuildViewerArguments(false, "", "", gateway),
              (std::vector<std::string>{"/IP:192.168.1.20", "/PORT:8080", "/TITLE:Marquel"}));
    // Credentials of any length go whole, one argument each.
    const std::string longName(100, 'n'), longPassword = "pass word/" + std::string(90, 'p');
    EXPECT_EQ(BuildViewerArguments(true, longName, longPassword, gateway),
              (std::vector<std::string>{"/R", "/USER:" + longName, "/PASS:" + longPassword, "/TITLE:Marquel"}));
}

TEST_F(SetupSession, ShowsTheVersionsOnceConnected) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    EXPECT_EQ(view.rows, kSampleRows);
    EXPECT_TRUE(view.enabled[IDC_CONFIGURE]);
    EXPECT_TRUE(view.enabled[IDC_START_VIEWER]);
    EXPECT_TRUE(view.enabled[IDC_VERSION_LIST]);
    EXPECT_TRUE(view.timerRunning);
    ASSERT_NE(dialog->Model(), nullptr);
    EXPECT_EQ(dialog->AdapterName(), "Backyard Adapter");
    EXPECT_FALSE(dialog->IsSearchPending());
}

TEST_F(SetupSession, ReactsOncePerChangeOfTheConnection) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    for (int pass = 0; pass < 50; ++pass)
        app->RunPass();
    // Both the loop and the manager report the connection; one reaction runs.
    EXPECT_EQ(RequestsWithId(ZVM_SYSCONFIG_GETVERSIONQ), 2);  // the check and the rows
    EXPECT_EQ(RequestsWithId(ZVM_POOL_GETCONFIGQ), 1);
    dialog->OnTimer();
    EXPECT_TRUE(view.enabled[IDC_SYNC_HOUSE]);

    gateway.Drop();
    ASSERT_TRUE(RunUntil([this] { return view.rows == std::vector<std::string>{kLookingRow}; }));
    EXPECT_EQ(view.countdown, "Disconnected");
    EXPECT_EQ(dialog->Model(), nullptr);
    EXPECT_FALSE(view.enabled[IDC_CONFIGURE]);
    EXPECT_FALSE(view.enabled[IDC_VERSION_LIST]);
    EXPECT_FALSE(view.enabled[IDC_SYNC_HOUSE]);  // nothing to send the house address to
    EXPECT_FALSE(view.timerRunning);

    // The manager connects again and the rows come back, once.
    ASSERT_TRUE(Connected());
    for (int pass = 0; pass < 50; ++pass)
        app->RunPass();
    EXPECT_EQ(RequestsWithId(ZVM_POOL_GETCONFIGQ), 2);
    EXPECT_EQ(view.rows, kSampleRows);
}

TEST_F(SetupSession, CountdownRunsAndStartsOverWhileSynchronizing) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    dialog->OnTimer();
    EXPECT_EQ(view.countdown, "Auto-Start 5 min 00 sec");
    clock.Advance(61500);
    dialog->OnTimer();
    EXPECT_EQ(view.countdown, "Auto-Start 3 min 59 sec");

    gateway.Answer(ZVM_POOL_GETSTATUSQ, testsupport::SampleStatus(2));
    dialog->OnTimer();
    EXPECT_EQ(view.rows, std::vector<std::string>{"Synchronizing..."});
    EXPECT_TRUE(view.enabled[IDC_SYNC_HOUSE]);
    EXPECT_FALSE(view.enabled[IDC_START_VIEWER]);

    clock.Advance(30000);  // held at its start while not ready
    gateway.Answer(ZVM_POOL_GETSTATUSQ, testsupport::SampleStatus(1));
    dialog->OnTimer();
    EXPECT_EQ(view.rows, kSampleRows);
    EXPECT_TRUE(view.enabled[IDC_START_VIEWER]);
    clock.Advance(1500);
    dialog->OnTimer();
    EXPECT_EQ(view.countdown, "Auto-Start 4 min 59 sec");

    clock.Advance(300000);
    dialog->OnTimer();
    ASSERT_EQ(viewer.started.size(), 1u);
    EXPECT_EQ(viewer.started[0], (std::vector<std::string>{"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port()),
                                                           "/TITLE:Marquel"}));
    EXPECT_TRUE(dialog->IsClosing());
    EXPECT_FALSE(view.timerRunning);
}

TEST_F(SetupSession, StatusFailureStartsTheCountdownOver) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    clock.Advance(100500);
    gateway.On(ZVM_POOL_GETSTATUSQ, [](const testsupport::Frame&) { return std::vector<testsupport::Frame>{}; });
    dialog->OnTimer();  // unanswered: the countdown starts again from now
    gateway.Answer(ZVM_POOL_GETSTATUSQ, testsupport::SampleStatus(1));
    clock.Advance(500);
    dialog->OnTimer();
    EXPECT_EQ(view.countdown, "Auto-Start 5 min 00 sec");
}

TEST_F(SetupSession, FailedViewerStartIsReportedAndTheProgramGoesOn) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    viewer.succeeds = false;
    dialog->StartViewer();
    EXPECT_EQ(view.messages, std::vector<std::string>{"Error Starting Vistrel"});
    EXPECT_FALSE(dialog->IsClosing());
    EXPECT_FALSE(app->Server().IsConnected());  // given up for the viewer; the manager reconnects
    ASSERT_TRUE(RunUntil([this] { return app->Server().IsConnected(); }));
}

TEST_F(SetupSession, WizardWalksEveryStepOfVersion4) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    view.stepResults = {kStepNext, kStepNext, kStepBack, kStepNext, kStepNext, kStepNext, kStepNext};
    dialog->OnConfigure();
    EXPECT_EQ(view.steps, (std::vector<int>{0, 1, 2, 1, 2, 3, 4}));
    EXPECT_FALSE(view.visible[IDC_COUNTDOWN]);
    EXPECT_FALSE(view.timerRunning);
}

TEST_F(SetupSession, CancelledWarningRunsNoWizardButStopsTheAutoStart) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    view.goOn = false;
    dialog->OnConfigure();
    EXPECT_TRUE(view.steps.empty());
    EXPECT_FALSE(view.timerRunning);
    gateway.Drop();
    ASSERT_TRUE(RunUntil([this] { return dialog->Model() == nullptr; }));
    ASSERT_TRUE(Connected());
    EXPECT_FALSE(view.timerRunning);  // not armed again by the new connection
}

TEST_F(SetupSession, StepKeepsItsModelWhenTheConnectionGoes) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    std::string seen;
    view.duringStep = [&](CBasinSetup& model) {
        gateway.Drop();
        RunUntil([this] { return dialog->Model() == nullptr; });
        seen = model.GetControllerName();  // still alive for the step
    };
    view.stepResults = {kStepCancel};
    dialog->OnConfigure();
    EXPECT_EQ(seen, "Corvanta Pool/Spa");
    EXPECT_EQ(dialog->Model(), nullptr);
}

TEST_F(SetupSession, HouseAddressIsSentOnContinue) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    dialog->OnSyncHouseAddress();
    testsupport::Frame request;
    ASSERT_TRUE(gateway.WaitForRequest(ZVM_POOL_SETHOUSEADDRESSQ, &request));
    EXPECT_EQ(request.payload, (testsupport::Bytes{0, 0, 0, 0}));
    EXPECT_EQ(view.messages, std::vector<std::string>{"House Address Change\n\nClick OK to synchronize."});
    view.goOn = false;
    dialog->OnSyncHouseAddress();
    EXPECT_EQ(RequestsWithId(ZVM_POOL_SETHOUSEADDRESSQ), 1);
}

class OldAdapter : public SetupSession {
protected:
    OldAdapter() : SetupSession(Sample()) {}
    static SampleInstallation Sample() {
        SampleInstallation sample;
        sample.adapterVersion = "3.1 Build 200";
        sample.layout4 = false;
        return sample;
    }
};

TEST_F(OldAdapter, NoViewerAndNoPumpStep) {
    Start(DirectArguments());
    ASSERT_TRUE(Connected());
    EXPECT_FALSE(view.enabled[IDC_START_VIEWER]);
    EXPECT_TRUE(view.enabled[IDC_CONFIGURE]);
    dialog->OnTimer();
    EXPECT_EQ(view.countdown, "Viewer Not Available (Version 3.0)");
    view.stepResults = {kStepNext, kStepNext, kStepNext, kStepBack, kStepNext, kStepNext};
    dialog->OnConfigure();
    EXPECT_EQ(view.steps, (std::vector<int>{0, 1, 2, 4, 2, 4}));
}

class RemoteStart : public SetupSession {};

TEST_F(RemoteStart, FailedRemoteConnectionEndsTheProgram) {
    app = std::make_unique<CBasinSetupApp>([this](const std::string& text) { appMessages.push_back(text); });
    EXPECT_FALSE(app->InitInstance({"/USER:nobody", "/PASS:secret"}));
    EXPECT_EQ(appMessages, std::vector<std::string>{"ERROR: Could not connect to protocol adapter"});
}

}  // namespace
