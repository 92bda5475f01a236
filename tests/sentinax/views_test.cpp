// The real Qt windows, off screen.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>

#include "platform/settings.h"
#include "sentinax/configfile.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"
#include "sentinax/emailserver.h"
#include "sentinax/statuscode.h"
#include "sentinax/system.h"
#include "sentinax/views/dialogs.h"
#include "sentinax/views/program.h"
#include "sentinax/views/sentinaxwindow.h"
#include "sentinax/views/sortlistview.h"
#include "support/temp_dir.h"

// Fontconfig keeps caches for the life of the process, which Qt's fonts fill.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "sentinax_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

// A window that opens a modal dialog would wait for a person: past the
// deadline the watchdog fails the test and closes the modal dialogs, so a
// regression ends the test at once instead of hanging the test program.
class ModalWatchdog {
public:
    static constexpr int kDeadlineMs = 10000;

    ModalWatchdog() {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [] {
            ADD_FAILURE() << "A modal dialog was still open after " << kDeadlineMs << " ms";
            while (QWidget* modal = QApplication::activeModalWidget()) modal->hide();
        });
        m_timer.start(kDeadlineMs);
    }

private:
    QTimer m_timer;
};

class Views : public ::testing::Test {
protected:
    Views() { Application(); }
    ModalWatchdog watchdog;
    testsupport::TempDir dir;
    testsupport::ScopedEnv data{"ZAVORO_DATA_DIR", dir.Path().c_str()};
    CEmailServer email;
    CConnectGates gates;
};

// Three systems as a few refreshes left them.
void AddSampleSystems(CSentinaxDlg& dialog) {
    struct Sample {
        const char* name;
        const char* adapter;
        int status;
    } samples[] = {{"Hollis Residence", "Brenvik: 00-11-22", kStatusConnected},
                   {"Orchard Spa", "Brenvik: 00-11-23", kStatusCannotConnect},
                   {"Marsh Lane Pool", "Brenvik: 00-11-24", kStatusWorking}};
    for (const Sample& sample : samples) {
        auto system = std::make_shared<CSystem>();
        system->name = sample.name;
        system->adapterName = sample.adapter;
        system->adapterVersion = "5.2 Build 738";
        system->modelName = "Corvanta 8";
        system->firmwareVersion = "2.140";
        system->status = sample.status;
        system->failureCount = 3;
        system->neverConnected = sample.status != kStatusConnected;
        if (sample.status == kStatusConnected) {
            system->airTemperature = 71;
            system->poolPump = 1;
            system->poolSetPoint = 82;
            system->poolTemperature = 79;
            system->poolHeatModeText = "Heater";
            system->poolHeatStatus = 2;
            system->spaPump = 0;
            system->lightsOn = 1;
            system->lightsTotal = 4;
            system->equipmentFlags = 0x8010;
            system->phValue = 748;
            system->orpValue = 690;
            system->acidTankLevel = 4;
            system->chlorineTankLevel = 7;
            system->saturationIndex = -12;
            system->warnings.emplace_back(kAlarmFreeze, 0);
        }
        dialog.Roster().AddSystem(system);
    }
}

TEST_F(Views, MainWindowShowsTheSystemsAndIsGrabbed) {
    CSentinaxDlgWindow window(email, gates, [](CSystem&, const CRefreshContext&) {});
    window.Start();
    AddSampleSystems(window.Logic());
    window.setWindowState(Qt::WindowNoState);
    window.resize(1280, 420);
    window.show();
    QApplication::processEvents();
    // Refill and sort as after an added system.
    std::vector<CSystem*> rows;
    for (const SystemPtr& system : window.Logic().Roster().GetSystems()) rows.push_back(system.get());
    window.Logic().List().Fill(rows);
    window.Logic().List().SetSortDescending(false);
    window.Logic().List().Sort();
    window.ListWidget()->SelectRows({1});
    window.Logic().OnCommand(ID_VIEW_DEFAULT_WIDTHS);
    QApplication::processEvents();

    CSortListWidget* list = window.ListWidget();
    ASSERT_EQ(list->model()->rowCount(), 3);
    EXPECT_EQ(list->model()->index(0, 0).data().toString().toStdString(), "Hollis Residence");
    EXPECT_EQ(list->model()->index(1, 0).data().toString().toStdString(), "Marsh Lane Pool");
    EXPECT_EQ(list->model()->index(0, 26).data().toString().toStdString(), "Connected OK");
    EXPECT_EQ(list->model()->headerData(3, Qt::Horizontal).toString().toStdString(), "Model");
    EXPECT_TRUE(window.Command(ID_CUSTOMERS_EDIT)->isEnabled());
    EXPECT_TRUE(window.Command(ID_CUSTOMERS_CONNECT)->isEnabled());
    EXPECT_EQ(window.Command(ID_ABOUT)->text().toStdString(), "About Marquel Remote Control && Monitor...");
    // The program's own icon, drawn at the size asked for.
    ASSERT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull());
    // The header keeps the columns filling its width, or more where they need more.
    int total = 0;
    for (int i = 0; i < list->Header()->count(); ++i) total += list->Header()->sectionSize(i);
    EXPECT_GE(total, list->Header()->width() - 4);

    const QString path = QString(ZV_TEST_OUTPUT_DIR) + "/sentinax_main.png";
    ASSERT_TRUE(window.grab().save(path));
    window.close();
}

// At the platform's default font in an 800-pixel window, every title and value
// shows whole; the columns that do not fit are scrolled to.
TEST_F(Views, EveryTitleAndValueIsReadableInANarrowWindow) {
    CSentinaxDlgWindow window(email, gates, [](CSystem&, const CRefreshContext&) {});
    window.Start();
    AddSampleSystems(window.Logic());
    window.setWindowState(Qt::WindowNoState);
    window.resize(800, 420);
    window.show();
    QApplication::processEvents();
    std::vector<CSystem*> rows;
    for (const SystemPtr& system : window.Logic().Roster().GetSystems()) rows.push_back(system.get());
    window.Logic().List().Fill(rows);
    window.Logic().OnCommand(ID_VIEW_DEFAULT_WIDTHS);
    QApplication::processEvents();

    CSortListWidget* list = window.ListWidget();
    CSystemList& logic = window.Logic().List();
    const QFontMetrics cells(list->font());
    const auto measure = [&](const std::string& text) { return cells.horizontalAdvance(QString::fromStdString(text)); };
    for (int column = 0; column < list->Header()->count(); ++column) {
        const int width = list->Header()->sectionSize(column);
        for (CSystem* system : rows) {
            const std::string text = logic.GetCellText(system, column);
            EXPECT_EQ(FitCellText(text, width, measure), text) << "column " << column;
        }
        EXPECT_GE(width, logic.GetReadableWidths()[static_cast<size_t>(column)]) << "column " << column;
    }
    EXPECT_TRUE(list->horizontalScrollBar()->isVisible());
    EXPECT_GT(list->horizontalScrollBar()->maximum(), 0);

    const QString path = QString(ZV_TEST_OUTPUT_DIR) + "/sentinax_main_800.png";
    ASSERT_TRUE(window.grab().save(path));
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    QApplication::processEvents();
    ASSERT_TRUE(window.grab().save(QString(ZV_TEST_OUTPUT_DIR) + "/sentinax_main_800_scrolled.png"));
    window.close();
}

TEST_F(Views, HeaderSortsFromItsMenuCommands) {
    CSentinaxDlgWindow window(email, gates, [](CSystem&, const CRefreshContext&) {});
    window.Start();
    AddSampleSystems(window.Logic());
    std::vector<CSystem*> rows;
    for (const SystemPtr& system : window.Logic().Roster().GetSystems()) rows.push_back(system.get());
    window.Logic().List().Fill(rows);
    window.ListWidget()->Header()->RunCommand(CZVHeaderView::ID_SORT_DESCENDING, 0);
    EXPECT_EQ(window.ListWidget()->model()->index(0, 0).data().toString().toStdString(), "Orchard Spa");
    window.ListWidget()->Header()->RunCommand(CZVHeaderView::ID_SORT_ASCENDING, 26);
    EXPECT_EQ(window.ListWidget()->model()->index(0, 26).data().toString().toStdString(), "Cannot Connect");
    window.close();
}

// The "Discovery" section of the settings names the service the program
// asks, from its start.
TEST_F(Views, TheProgramReadsItsDiscoverySettingsAtStart) {
    const CDiscoveryConfig saved = GetDiscoveryConfig();
    testsupport::ScopedEnv config("ZAVORO_CONFIG_DIR", dir.Path().c_str());
    ASSERT_TRUE(platform::WriteSettingString("Discovery", "Host", "127.0.0.2"));
    ASSERT_TRUE(platform::WriteSettingInt("Discovery", "Port", 4321));
    CDiscoveryConfig seen;
    RunSentinax([&seen](CSentinaxDlgWindow&) {
        seen = GetDiscoveryConfig();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    SetDiscoveryConfig(saved);
    EXPECT_EQ(seen.host, "127.0.0.2");
    EXPECT_EQ(seen.port, 4321);
}

// An interrupt or SIGTERM closes the program as its window's close does: open dialogs go, the
// run ends and the configuration is saved.
TEST_F(Views, ATerminationSignalClosesTheProgramAndSavesItsConfiguration) {
    testsupport::ScopedEnv config("ZAVORO_CONFIG_DIR", dir.Path().c_str());
    for (int signal : {SIGTERM, SIGINT}) {
        const std::string saved = GetConfigPath();
        unlink(saved.c_str());
        bool dialogClosed = false;
        RunSentinax([&](CSentinaxDlgWindow& window) {
            auto* dialog = new CAboutDlgWindow(&window);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            QObject::connect(dialog, &QObject::destroyed, [&dialogClosed] { dialogClosed = true; });
            dialog->show();
            raise(signal);
        });
        EXPECT_TRUE(dialogClosed) << signal;
        EXPECT_EQ(access(saved.c_str(), F_OK), 0) << signal;
    }
}

TEST_F(Views, AboutBoxShowsTheVersion) {
    CAboutDlgWindow about(nullptr);
    EXPECT_EQ(about.windowTitle().toStdString(), "About Sentinax");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text().toStdString(), "5.2 Build 738.0 Rel");
}

TEST_F(Views, CustomerInformationRoundTrip) {
    CSystem system;
    system.adapterName = "Brenvik: 00-11-22";
    system.emailList = {"b@example.com", "a@example.com"};
    CSystemList columns(nullptr, false);
    CSystemDlgWindow dialog(nullptr, system, email, columns, [] {});
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.Control(1003))->text().toStdString(), "00-11-22");
    EXPECT_EQ(static_cast<QListWidget*>(dialog.Control(1009))->item(0)->text().toStdString(), "a@example.com");
    static_cast<QLineEdit*>(dialog.Control(1002))->setText("Caf\u00e9 Pool");
    static_cast<QLineEdit*>(dialog.Control(1003))->setText("445566");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(system.name, "Caf\xE9 Pool");
    EXPECT_EQ(system.adapterName, "Brenvik: 44-55-66");
    EXPECT_EQ(system.emailList, (std::vector<std::string>{"a@example.com", "b@example.com"}));
}

}  // namespace
