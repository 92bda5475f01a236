#pragma once
// The monitor's Qt dialogs over their logic: "Customer Information" with
// "Add New Email Recipient", "Outgoing Email Account Settings", "Email Log",
// "About Sentinax", "System Errors" and the system history window.
#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "sentinax/emaillogdlg.h"
#include "sentinax/historydlg.h"
#include "sentinax/systemdlg.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QAction;
class CSortListWidget;

// The path with the extension added when it has none.
QString WithExtension(const QString& path, const char* extension);

class CAddEmailDlgWindow : public QDialog {
public:
    explicit CAddEmailDlgWindow(QWidget* parent);
    std::string GetAddress() const;
    QLineEdit* AddressEdit() { return m_address; }

private:
    QLineEdit* m_address;
};

class CSystemDlgWindow : public QDialog, public CSystemDlgView {
public:
    CSystemDlgWindow(QWidget* parent, CSystem& system, CMailQueue& mail, const CSystemColumns& columns,
                     std::function<void()> showEmailLog);

    CSystemDlg& Logic() { return m_logic; }
    // The control with the given number (the ids the dialog's logic and its
    // tests name the fields by).
    QWidget* Control(int id) const;

    void PutFields(const CSystemFields& fields) override;
    bool GetFields(CSystemFields& fields) override;
    void ShowEmails(const std::vector<std::string>& emails) override;
    int SelectedEmail() override;
    std::optional<std::string> AskNewEmail() override;
    void StayOnTop() override;
    void ShowRefusal(const std::string& text) override;
    void EndDialog(bool ok) override;
    void accept() override;

private:
    CSystemDlg m_logic;
    QLineEdit* m_name;
    QLineEdit* m_adapter;
    QLineEdit* m_password;
    QListWidget* m_emails;
    QCheckBox* m_includeDefault;
    QCheckBox* m_notify[CSystemFields::kNotifyCount];
    QPlainTextEdit* m_notes;
    QLineEdit* m_address;
    QLineEdit* m_city;
    QLineEdit* m_zip;
    QLineEdit* m_phone;
    std::map<int, QWidget*> m_controls;
};

class CEmailSetDlgWindow : public QDialog, public CEmailSetView {
public:
    CEmailSetDlgWindow(QWidget* parent, CEmailServer& server);
    void PutAccount(const CEmailAccount& account) override;
    bool GetAccount(CEmailAccount& account) override;
    void EndDialog(bool ok) override;
    void accept() override;

private:
    CEmailSetDlg m_logic;
    QLineEdit* m_server;
    QLineEdit* m_sender;
    QLineEdit* m_password;
    QLineEdit* m_recipient;
};

// Modeless; closing it (Cancel or the close box) asks the owner to end it.
class CEmailLogDlgWindow : public QDialog, public CEmailLogView {
public:
    CEmailLogDlgWindow(QWidget* parent, CEmailServer& server, std::function<void()> close);
    CEmailLogDlg& Logic() { return m_logic; }
    QListWidget* Lines() { return m_lines; }

    int GetLineCount() override;
    void DeleteFirstLine() override;
    void AddLine(const std::string& line) override;
    void SelectLastLine() override;
    void reject() override;

private:
    CEmailLogDlg m_logic;
    QListWidget* m_lines;
};

// "System Backup": the reminder before a backup.
class CBackupReminderDlgWindow : public QDialog {
public:
    explicit CBackupReminderDlgWindow(QWidget* parent);
    bool DontShowAgain() const;

private:
    QCheckBox* m_dontShow;
};

// "System Backup": whether the history goes into the archive.
class CBackupOptionsDlgWindow : public QDialog {
public:
    explicit CBackupOptionsDlgWindow(QWidget* parent);
    bool WithHistory() const;

private:
    QCheckBox* m_withHistory;
};

class CAboutDlgWindow : public QDialog {
public:
    static constexpr char kVersionText[] = "5.2 Build 738.0 Rel";
    explicit CAboutDlgWindow(QWidget* parent);
};

class CErrorsDlgWindow : public QDialog {
public:
    CErrorsDlgWindow(QWidget* parent, const CSystem& system);
    QListWidget* Lines() { return m_lines; }

private:
    QListWidget* m_lines;
};

class CHistoryDlgWindow : public QDialog, public CHistoryView {
public:
    explicit CHistoryDlgWindow(CSystem& system);
    ~CHistoryDlgWindow() override;
    CHistoryDlg& Logic() { return *m_logic; }
    CSortListWidget* ListWidget() { return m_list; }
    void EnableDeleteEntries(bool on) override;

private:
    std::unique_ptr<CHistoryDlg> m_logic;
    CSortListWidget* m_list;
    QAction* m_delete;
};
