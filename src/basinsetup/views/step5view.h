#pragma once
// The window of wizard step 5.
#include <memory>

#include "basinsetup/step5dlg.h"
#include "basinsetup/views/dialogwindow.h"

class CStep5Window : public CDialogWindow {
public:
    CStep5Window(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CStep5Dlg& Logic() { return m_logic; }

private:
    CStep5Dlg m_logic;
};
