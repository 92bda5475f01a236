#pragma once
// The windows of a feature circuit's macro and of the special lights.
#include <memory>

#include "basinsetup/macrosdlg.h"
#include "basinsetup/views/dialogwindow.h"

class CMacrosWindow : public CDialogWindow {
public:
    CMacrosWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model, CPoolCircuit& macro);
    CMacrosDlg& Logic() { return m_logic; }

private:
    CMacrosDlg m_logic;
};

class CLightsWindow : public CDialogWindow {
public:
    CLightsWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CLightsDlg& Logic() { return m_logic; }

private:
    CLightsDlg m_logic;
};
