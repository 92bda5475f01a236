#pragma once
// The monitor's run: the mail server, the connection gates and the main
// window until it closes.
#include <functional>

class CSentinaxDlgWindow;

// Needs a QApplication. started, when given, is called once the main window
// shows. Returns the program's exit status.
int RunSentinax(const std::function<void(CSentinaxDlgWindow&)>& started = {});
