// The general settings step and the e-mail settings as real Qt views, off
// screen, over the sample installation and the fake e-mail services.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "basinsetup/views/basinsetupview.h"
#include "basinsetup/views/emailview.h"
#include "basinsetup/views/step1view.h"
#include "qt_application.h"
#include "step1_session.h"
#include "support/fake_email_server.h"

namespace {

QApplication& Application() { return bstest::TestApplication(); }

QString TextOf(QWidget* widget) { return static_cast<QLabel*>(widget)->text(); }

void Grab(QWidget& widget, const char* file) {
    widget.show();
    QApplication::processEvents();
    EXPECT_TRUE(widget.grab().save(QString(ZV_TEST_OUTPUT_DIR) + "/" + file));
    widget.hide();
}

class Step1Views : public bstest::Step1Session {};

TEST_F(Step1Views, ShowsTheSampleAndLooksUpTypedZipCodes) {
    Application();
    ASSERT_TRUE(Connect());
    CStep1DlgView step(nullptr, app->Server(), model, "Backyard Adapter", zipFile);
    step.Open();
    auto ticked = [&] { return TextOf(step.Control(IDC_STEP1_POOL_VALUE)) == "81 F"; };
    ASSERT_TRUE(TickUntil(step.Logic(), ticked));
    EXPECT_EQ(step.windowTitle().toStdString(), "General Settings (Step 1 of 5)");
    EXPECT_EQ(TextOf(step.Control(IDC_STEP1_AIR_VALUE)).toStdString(), "78 F");
    EXPECT_EQ(TextOf(step.Control(IDC_STEP1_POOL_LABEL)).toStdString(), "Water");
    EXPECT_TRUE(step.Control(IDC_STEP1_SPA_LABEL)->isHidden());
    auto* hour = static_cast<QComboBox*>(step.Control(IDC_STEP1_HOUR));
    auto* zone = static_cast<QComboBox*>(step.Control(IDC_STEP1_TIME_ZONE));
    auto* home = static_cast<QComboBox*>(step.Control(IDC_STEP1_HOME_PAGE));
    EXPECT_EQ(hour->currentText().toStdString(), "2 PM");
    EXPECT_EQ(zone->currentText().toStdString(), "GMT -5");
    EXPECT_EQ(home->currentText().toStdString(), "Pool Summary");
    EXPECT_TRUE(static_cast<QCheckBox*>(step.Control(IDC_STEP1_PRIORITY))->isChecked());

    static_cast<QLineEdit*>(step.Control(IDC_STEP1_ZIP))->setText("94110");
    EXPECT_EQ(static_cast<QLineEdit*>(step.Control(IDC_STEP1_LATITUDE))->text().toStdString(), "37.7500");
    EXPECT_EQ(static_cast<QLineEdit*>(step.Control(IDC_STEP1_LONGITUDE))->text().toStdString(), "122.2500");
    EXPECT_EQ(zone->currentText().toStdString(), "GMT -8");
    Grab(step, "basinsetup_step1.png");
}

TEST_F(Step1Views, WizardFrameRunsTheStepAndItsNextWrites) {
    Application();
    ASSERT_TRUE(Connect());
    CBasinSetupDlgView frame;
    frame.Attach(dialog.get());
    QTimer::singleShot(0, [] {
        QWidget* step = QApplication::activeModalWidget();
        ASSERT_NE(step, nullptr);
        for (QPushButton* button : step->findChildren<QPushButton*>())
            if (button->text() == "Next >>") button->click();
    });
    EXPECT_EQ(frame.RunWizardStepDialog(0, model, "Backyard Adapter"), kStepNext);
    frame.Attach(nullptr);
    EXPECT_EQ(gateway.RequestsOf(ZVM_SYSCONFIG_SETSYSTEMINFOQ).size(), 1u);
    EXPECT_EQ(gateway.RequestsOf(ZVM_LAYOUT_SETHOMEPAGEQ).size(), 1u);
}

TEST(EmailViews, ShowsTheSettingsReadFromTheServer) {
    Application();
    bstest::LoopbackNet net;
    testsupport::VirtualClock clock;
    testsupport::FakeEmailSettings settings;
    testsupport::FakeEmailLocator locator({.reply = testsupport::FakeEmailLocator::ReplyFor(settings.Address())});
    clock.HoldWhile([&] { return locator.Owes() || settings.Owes(); });
    settings.SetAlerts("Backyard Adapter", testsupport::PayloadWriter()
                                               .Int(1)
                                               .String("remote pw")
                                               .Int(1)
                                               .Int(1)
                                               .Int(0)
                                               .Int(1)
                                               .Int(2)
                                               .String("owner@example.com")
                                               .String("service@example.com")
                                               .String("12 Palm Row")
                                               .String("Springfield")
                                               .String("30301"));
    {
        CEmailDlgView email("Backyard Adapter", locator.Port());
        email.Logic().OnTimer();
        auto* recipients = email.findChild<QListWidget*>();
        ASSERT_NE(recipients, nullptr);
        EXPECT_EQ(recipients->count(), 2);
        EXPECT_TRUE(recipients->isEnabled());
        int ready = 0;
        for (QLabel* label : email.findChildren<QLabel*>()) ready += label->text() == "Ready";
        EXPECT_EQ(ready, 1);
        recipients->setCurrentRow(0);
        Grab(email, "basinsetup_email.png");

        // With alerts off only the switch travels: the fields that go with
        // alerts on cannot be edited then.
        const QList<QLineEdit*> edits = email.findChildren<QLineEdit*>();
        ASSERT_EQ(edits.size(), 4);  // password, address, city, ZIP
        for (QLineEdit* edit : edits) EXPECT_TRUE(edit->isEnabled());
        for (QCheckBox* box : email.findChildren<QCheckBox*>())
            if (box->text().startsWith("Enable Email")) box->click();
        for (QLineEdit* edit : edits) EXPECT_FALSE(edit->isEnabled());
        EXPECT_FALSE(recipients->isEnabled());
    }
    clock.HoldWhile({});
}

}  // namespace
