#pragma once
// "Email Settings" and "New Email Recipient": thin Qt views of CEmailDlg.
#include <QDialog>
#include <QTimer>
#include <string>

#include "basinsetup/emaildlg.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class CNewEmailDlg : public QDialog {
public:
    CNewEmailDlg();
    std::string GetAddress() const;

private:
    QLineEdit* m_address;
};

class CEmailDlgView : public QDialog, public CEmailView {
public:
    CEmailDlgView(const std::string& adapterName, uint16_t locatorPort);

    CEmailDlg& Logic() { return m_logic; }

    void SetStatus(const std::string& text) override;
    void SetBusy(bool busy) override;
    void StopTimer() override;
    void PutSettings(const CEmailSettings& settings) override;
    bool GetSettings(CEmailSettings& settings) override;
    void SetRecipients(const std::vector<std::string>& recipients) override;
    int SelectedRecipient() override;
    void EnableAlertControls(bool on) override;
    void ShowMessage(const std::string& text) override;
    std::optional<std::string> AskNewRecipient() override;
    void EndDialog(bool ok) override;

    // "Done" writes; Escape and the close box leave without writing.
    void accept() override;

private:
    CEmailDlg m_logic;
    QCheckBox* m_enabled;
    QLineEdit* m_password;
    QCheckBox* m_alerts[4];
    QListWidget* m_recipients;
    QPushButton* m_add;
    QPushButton* m_remove;
    QLineEdit* m_address;
    QLineEdit* m_city;
    QLineEdit* m_zip;
    QLabel* m_status;
    QTimer m_timer;
};
