#pragma once
// The windows of wizard step 3 and of its circuit choice.
#include <memory>

#include "basinsetup/step3dlg.h"
#include "basinsetup/views/dialogwindow.h"

class CStep3Window : public CDialogWindow, public CStep3Sides {
public:
    CStep3Window(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CStep3Dlg& Logic() { return m_logic; }

    bool RunSelectCircuit(std::shared_ptr<CBasinSetup> model, uint8_t& code) override;

private:
    CStep3Dlg m_logic;
};

class CSelectCircuitWindow : public CDialogWindow {
public:
    CSelectCircuitWindow(QWidget* parent, std::shared_ptr<CBasinSetup> model);
    CSelectCircuitDlg& Logic() { return m_logic; }

private:
    CSelectCircuitDlg m_logic;
};
