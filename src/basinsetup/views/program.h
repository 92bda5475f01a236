#pragma once
// The configuration program's run: connect, show the main dialog, and poll
// the gateway from Qt's event loop until the dialog closes.
#include <functional>
#include <string>
#include <vector>

class CBasinSetupDlgView;
class CBasinSetupDlg;

// Needs a QApplication. started, when given, is called once the main dialog
// shows. Returns the program's exit status.
int RunBasinSetup(const std::vector<std::string>& arguments,
                  const std::function<void(CBasinSetupDlgView&, CBasinSetupDlg&)>& started = {});
