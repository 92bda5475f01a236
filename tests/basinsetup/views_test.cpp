// The real Qt views, off screen, over the sample installation.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "basinsetup/views/basinsetupview.h"
#include "basinsetup/views/dialogs.h"
#include "basinsetup/views/program.h"
#include "qt_application.h"
#include "setup_session.h"
#include "virtual_clock.h"

// Fontconfig keeps caches for the life of the process, which Qt's fonts fill.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

QApplication& Application() { return bstest::TestApplication(); }

class SetupViews : public ::testing::Test {
protected:
    SetupViews() {
        testsupport::ServeSampleInstallation(gateway);
        clock.HoldWhile([this] { return gateway.Owes(); });
    }
    bstest::LoopbackNet net;
    // The auto-start countdown reads the clock: on the virtual one it shows
    // the full five minutes however slowly the machine runs the test.
    testsupport::VirtualClock clock;
    testsupport::FakeGateway gateway;
};

TEST_F(SetupViews, MainDialogListsTheSampleAndClosesOnEscape) {
    Application();
    int rows = 0;
    bool startEnabled = false;
    std::string countdown;
    RunBasinSetup({"/IP:127.0.0.1", "/PORT:" + std::to_string(gateway.Port())},
                  [&](CBasinSetupDlgView& view, CBasinSetupDlg& dialog) {
                      auto* check = new QTimer(&view);
                      QObject::connect(check, &QTimer::timeout, [&, check] {
                          if (dialog.Rows().size() < 2) return;
                          check->stop();
                          dialog.OnTimer();
                          rows = view.VersionList()->topLevelItemCount();
                          startEnabled = view.Control(IDC_START_VIEWER)->isEnabled();
                          countdown = static_cast<QLabel*>(view.Control(IDC_COUNTDOWN))->text().toStdString();
                          view.grab().save(QString(ZV_TEST_OUTPUT_DIR) + "/basinsetup_main.png");
                          view.reject();  // Escape
                      });
                      check->start(10);
                  });
    EXPECT_EQ(rows, 6);
    EXPECT_TRUE(startEnabled);
    EXPECT_EQ(countdown, "Auto-Start 5 min 00 sec");
}

TEST_F(SetupViews, WizardStepEndsWithBackNextOrFinish) {
    Application();
    for (auto [button, expected] : {std::pair{"<< Back", -1}, {"Next >>", 1}, {"Finish", 0}}) {
        CWizardStepDlg step(nullptr, 3, nullptr, "");
        EXPECT_EQ(step.windowTitle().toStdString(), "Pumps (Step 4 of 5)");
        for (QPushButton* candidate : step.findChildren<QPushButton*>())
            if (candidate->text() == button) QTimer::singleShot(0, candidate, &QPushButton::click);
        EXPECT_EQ(step.exec(), expected) << button;
    }
}

// A dialog that nobody closes fails its test at the deadline instead of
// hanging the test program.
TEST(LoopDeadline, EndsAnUnclosedDialogWithAFailure) {
    EXPECT_NONFATAL_FAILURE(
        {
            bstest::TestApplication(50);
            QDialog forgotten;
            forgotten.exec();
        },
        "deadline");
}

}  // namespace
