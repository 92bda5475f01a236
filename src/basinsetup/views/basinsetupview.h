#pragma once
// The main dialog's window: a thin Qt view of CBasinSetupDlg.
#include <QDialog>
#include <QTimer>
#include <map>

#include "basinsetup/basinsetupdlg.h"

class QLabel;
class QTreeWidget;

class CBasinSetupDlgView : public QDialog, public CBasinSetupView {
public:
    CBasinSetupDlgView();

    // The logic the buttons, keys and timer drive; set before the window shows.
    void Attach(CBasinSetupDlg* logic) { m_logic = logic; }

    void ShowRows(const std::vector<std::string>& rows) override;
    void EnableControl(int id, bool on) override;
    void ShowControl(int id, bool shown) override;
    void SetCountdownText(const std::string& text) override;
    void StartTimer(uint32_t intervalMs) override;
    void StopTimer() override;
    void ShowMessage(const std::string& text) override;
    bool RunConfigWarning() override;
    bool RunHouseCode() override;
    int RunWizardStepDialog(int index, std::shared_ptr<CBasinSetup> model, const std::string& adapterName) override;
    std::unique_ptr<CSearchProgress> OpenSearchProgress() override;

    // Enter starts the viewer; Escape and the close box end the program.
    void accept() override;
    void reject() override;

    QTreeWidget* VersionList() const { return m_list; }
    QWidget* Control(int id) const;

private:
    CBasinSetupDlg* m_logic = nullptr;
    QTreeWidget* m_list;
    QLabel* m_countdown;
    std::map<int, QWidget*> m_controls;
    QTimer m_timer;
};
