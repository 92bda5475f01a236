#include "basinsetup/views/program.h"

#include <QApplication>
#include <QTimer>

#include "basinsetup/basinsetupapp.h"
#include "basinsetup/basinsetupdlg.h"
#include "basinsetup/views/basinsetupview.h"
#include "basinsetup/views/dialogs.h"

namespace {

// While nothing arrives the gateway is polled every 10 ms; after a handled
// message the next poll follows at once. Modal dialogs keep it running.
constexpr int kIdlePollMs = 10;

}  // namespace

int RunBasinSetup(const std::vector<std::string>& arguments,
                  const std::function<void(CBasinSetupDlgView&, CBasinSetupDlg&)>& started) {
    CBasinSetupApp app([](const std::string& text) { ShowTopmostMessage(nullptr, text); });
    if (!app.InitInstance(arguments))
        return 0;
    const CCommandLine& line = app.CommandLine();
    CBasinSetupDlg::Options options;
    options.userName = line.userName;
    options.password = line.password;
    options.remote = line.remote;
    options.noInheritedSocket = !app.UsesInheritedSocket();
    options.gatewayPort = line.basePort;

    CBasinSetupDlgView view;
    CSpawnViewerStarter viewer;
    CBasinSetupDlg dialog(app.Server(), app.Link(), view, viewer, options);
    view.Attach(&dialog);
    app.SetDialog(&dialog);
    dialog.OnInitDialog();
    view.show();
    if (started)
        started(view, dialog);

    QTimer poll;
    poll.setSingleShot(true);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const bool worked = app.RunPass();
        if (dialog.IsClosing()) {
            QApplication::exit(0);  // quit() would ask the dialog to close first
            return;
        }
        poll.start(worked ? 0 : kIdlePollMs);
    });
    poll.start(0);
    QApplication::exec();
    app.SetDialog(nullptr);
    view.Attach(nullptr);
    return 0;
}
