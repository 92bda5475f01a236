#pragma once
// The windows of wizard step 4 and of a pump's background filtering.
#include <memory>

#include "basinsetup/step4dlg.h"
#include "basinsetup/views/dialogwindow.h"

class CStep4Window : public CDialogWindow, public CStep4Sides {
public:
    CStep4Window(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CStep4Dlg& Logic() { return m_logic; }

    void RunFlows(std::shared_ptr<CBasinSetup> model, int pump) override;

private:
    CStep4Dlg m_logic;
};

class CFlowsWindow : public CDialogWindow {
public:
    CFlowsWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model, int pump);
    CFlowsDlg& Logic() { return m_logic; }

private:
    CFlowsDlg m_logic;
};
