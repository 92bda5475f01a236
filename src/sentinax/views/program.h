#pragma once
// The monitor's run: the main window over the given services until it closes.
#include <functional>

class CMonitorServices;
class CSentinaxDlgWindow;

// Needs a QApplication. started, when given, is called once the main window
// shows. Returns the program's exit status.
int RunSentinax(CMonitorServices& services, const std::function<void(CSentinaxDlgWindow&)>& started = {});
