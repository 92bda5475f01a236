#pragma once
// The one QApplication of the test program, made on first use, and the
// deadline of each test's event loops.
#include <gtest/gtest.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace bstest {

// How long the event loops of one test may run in all.
inline constexpr int kLoopDeadlineMs = 30000;

// A dialog or loop that nobody ends fails its test at the deadline instead
// of hanging the program. Past the deadline the watchdog hides the modal
// windows, which ends their exec(), and with none left ends the
// application's loop; it goes on doing so until the test ends. Each test's
// deadline starts when the test asks for the application.
class LoopWatchdog : public ::testing::EmptyTestEventListener {
public:
    static constexpr int kRetryMs = 100;

    LoopWatchdog() {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (!m_expired) ADD_FAILURE() << "event loop still running at the test's deadline";
            m_expired = true;
            EndLoops();
            m_timer.start(kRetryMs);
        });
    }
    void Arm(int deadlineMs) {
        m_expired = false;
        m_timer.start(deadlineMs);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { m_timer.stop(); }

private:
    static void EndLoops() {
        bool hidden = false;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isModal() && window->isVisible()) {
                window->hide();
                hidden = true;
            }
        }
        // With no modal window left the loop is the application's own.
        if (!hidden) QCoreApplication::exit(1);
    }

    QTimer m_timer;
    bool m_expired = false;
};

inline LoopWatchdog& Watchdog() {
    static LoopWatchdog* watchdog = [] {
        auto* made = new LoopWatchdog;
        ::testing::UnitTest::GetInstance()->listeners().Append(made);  // owned by the listener list
        return made;
    }();
    return *watchdog;
}

inline QApplication& TestApplication(int deadlineMs = kLoopDeadlineMs) {
    static int argc = 1;
    static char name[] = "basinsetup_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    Watchdog().Arm(deadlineMs);
    return *application;
}

}  // namespace bstest
