#pragma once
// The windows of wizard step 4 and of a pump's background filtering.
#include <memory>

#include "basinsetup/step4dlg.h"
#include "basinsetup/views/dialogwindow.h"

class CStep4Window : public CDialogWindow, public CStep4Sides {
public:
    CStep4Window(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CStep4Dlg& Logic() { return logic_; }

    void RunFlows(std::shared_ptr<CBasinSetup> model, int pump) override;

private:
    CStep4Dlg logic_;
};

class CFlowsWindow : public CDialogWindow {
public:
    CFlowsWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model, int pump);
    CFlowsDlg& Logic() { return logic_; }

private:
    CFlowsDlg logic_;
};
