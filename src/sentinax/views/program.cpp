#include "sentinax/views/program.h"

#include <QApplication>

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
    if (started)
        started(window);
    QApplication::exec();
    return 0;
}
