#include "widgets/tabs/menucolumn.h"

#include "widgets/window/mainwnd.h"

CMenuColumn* FindMenuColumn() {
    CMainWndBase* main = GetMainWnd();
    return main ? dynamic_cast<CMenuColumn*>(main->GetMainMenu()) : nullptr;
}
