#pragma once
// The configuration program's small Qt dialogs: the warning before the
// wizard, the house-address confirmation, the search's progress, the remote
// password and the wizard's step frame.
#include <QDialog>
#include <QProgressBar>
#include <memory>
#include <string>

#include "basinsetup/searchgateway.h"
#include "basinsetup/setpassdlg.h"
#include "core/basinsetup.h"

class QLineEdit;
class QWidget;

// A message box that stays on top.
void ShowTopmostMessage(QWidget* parent, const std::string& text);

class CConfigWarningDlg : public QDialog {
public:
    explicit CConfigWarningDlg(QWidget* parent);
};

class CHouseCodeDlg : public QDialog {
public:
    CHouseCodeDlg();
};

class CSearchingDlg : public QDialog, public CSearchProgress {
public:
    CSearchingDlg();
    void SetProgress(int percent) override;

private:
    QProgressBar* m_bar;
};

class CSetPassDlgView : public QDialog, public CSetPassView {
public:
    explicit CSetPassDlgView(CGatewayLink& link);
    void ShowMessage(const std::string& text) override;
    void accept() override;

private:
    CSetPassDlg m_logic;
    QLineEdit* m_password;
    QLineEdit* m_confirmation;
};

// One step of the set-up wizard: "<< Back" ends it with -1, "Next >>" with
// 1, "Finish" (and Escape or the close box) with 0. The step holds the model
// it was given for as long as it lives.
class CWizardStepDlg : public QDialog {
public:
    CWizardStepDlg(QWidget* parent, int index, std::shared_ptr<CBasinSetup> model, const std::string& adapterName);
    static QString Title(int index);

private:
    std::shared_ptr<CBasinSetup> m_model;
};
