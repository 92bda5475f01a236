#include "sentinax/views/program.h"

#include <QApplication>

#include "sentinax/views/sentinaxwindow.h"

int RunSentinax(CMonitorServices& services, const std::function<void(CSentinaxDlgWindow&)>& started) {
    CSentinaxDlgWindow window(services);
    window.Start();
    window.show();
    if (started)
        started(window);
    QApplication::exec();
    return 0;
}
