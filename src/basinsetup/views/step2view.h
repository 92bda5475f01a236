#pragma once
// The windows of wizard step 2 and of its custom names.
#include <memory>

#include "basinsetup/step2dlg.h"
#include "basinsetup/views/dialogwindow.h"

class CStep2Window : public CDialogWindow, public CStep2Sides {
public:
    CStep2Window(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CStep2Dlg& Logic() { return m_logic; }

    void RunCustomNames(std::shared_ptr<CBasinSetup> model) override;
    void RunMacros(std::shared_ptr<CBasinSetup> model, CPoolCircuit& circuit) override;
    void RunSpecialLights(std::shared_ptr<CBasinSetup> model) override;

private:
    CStep2Dlg m_logic;
};

class CCustomNamesWindow : public CDialogWindow {
public:
    CCustomNamesWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CCustomNamesDlg& Logic() { return m_logic; }

private:
    CCustomNamesDlg m_logic;
};
