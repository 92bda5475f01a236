#include "sentinax/views/program.h"

#include <QApplication>
#include <QSocketNotifier>

#include "platform/termination.h"
#include "sentinax/connectgates.h"
#include "sentinax/discoveryclient.h"
#include "sentinax/emailserver.h"
#include "sentinax/views/sentinaxwindow.h"

int RunSentinax(const std::function<void(CSentinaxDlgWindow&)>& started) {
    LoadDiscoveryConfig();
    CEmailServer email;
    email.LoadPortSetting();
    CConnectGates gates;
    CSentinaxDlgWindow window(email, gates);
    window.Start();
    window.show();
    // An interrupt or SIGTERM ends the program as closing its windows does: open dialogs
    // are dismissed, the poll threads stop and the configuration is saved.
    platform::TerminationSignals termination;
    QSocketNotifier notifier(termination.GetDescriptor(), QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&termination] {
        if (!termination.Take()) return;
        QApplication::closeAllWindows();
        QApplication::quit();
    });
    if (started) started(window);
    QApplication::exec();
    return 0;
}
