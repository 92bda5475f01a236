#pragma once
// CSentinaxDlg: the monitor's main window as logic. It owns the configured
// systems and their list, keeps the menu's states in step with the
// selection, runs the commands of the menu and the idle work that shows
// what the poll threads found.
#include <cstdint>
#include <string>
#include <vector>

#include "sentinax/monitorservices.h"
#include "sentinax/systemlist.h"

class CEmailLogDlg;

// The menu's commands.
enum SentinaxCommand {
    ID_CUSTOMERS_ADD = 133,
    ID_CUSTOMERS_DELETE = 134,
    ID_CUSTOMERS_EDIT = 135,
    ID_CUSTOMERS_REFRESH = 136,
    ID_CUSTOMERS_CONNECT = 148,
    ID_CUSTOMERS_ERRORS = 150,
    ID_CUSTOMERS_LOG = 151,
    ID_EMAIL_SMTP = 159,
    ID_EMAIL_LOG = 160,
    ID_ABOUT = 162,
    ID_CUSTOMERS_REFRESH_ALL = 163,
    ID_CUSTOMERS_BACKUP = 166,
    ID_CUSTOMERS_RESTORE = 167,
    ID_VIEW_DEFAULT_WIDTHS = 169,
};

class CSentinaxView {
public:
    enum Answer { kYes, kNo, kCancel };

    virtual ~CSentinaxView() = default;
    virtual void EnableCommand(int id, bool on) = 0;
    virtual void RedrawRow(int row) = 0;
    virtual Answer AskYesNoCancel(const std::string& question) = 0;
    // "Customer Information" on the system; true on OK.
    virtual bool RunSystemDialog(CSystem& system) = 0;
    virtual void ShowSystemErrors(CSystem& system) = 0;
    virtual void ShowHistory(CSystem& system) = 0;
    virtual void ShowAbout() = 0;
    // "Outgoing Email Account Settings"; true on OK.
    virtual bool RunEmailSettings() = 0;
    // Creates and shows the e-mail log window; its logic, or null.
    virtual CEmailLogDlg* OpenEmailLog() = 0;
    virtual void DestroyEmailLog() = 0;
    virtual void ShowContextMenu(int x, int y) = 0;
    virtual void Maximise() = 0;
    // The header takes the list's column widths and fits them.
    virtual void ApplyColumnWidths() = 0;
    // Asks for one turn of idle work soon; callable from any thread.
    virtual void PostIdlePump() = 0;
};

class CSentinaxDlg {
public:
    static constexpr uint32_t kBatchLookupMs = 600000;
    static constexpr uint32_t kDueCheckMs = 10000;

    CSentinaxDlg(CMonitorServices& services, CSentinaxView& view);
    // Stops the poll threads before the systems go.
    ~CSentinaxDlg();
    CSentinaxDlg(const CSentinaxDlg&) = delete;
    CSentinaxDlg& operator=(const CSentinaxDlg&) = delete;

    void OnInitDialog();
    // The window goes away: the configuration is saved.
    void OnDestroy();
    // One menu command; false for an id that is none of them.
    bool OnCommand(int id);
    void OnIdlePump();
    void OnSystemListItemChanged();

    void OnAddSystem();
    void OnEditSystem();
    void OnDeleteSystems();
    void OnShowSystemErrors();
    void OnShowLog();
    void OnShowEmailLog();
    void CloseEmailLog();
    void OnSmtpSettings();
    void OnDefaultColumnWidths();
    void OnRefreshSelected();
    void OnRefreshAll();
    void OnConnectToSystem();
    void OnBackup();
    void OnRestore();
    void ShowContextMenu(int x, int y);
    void SaveConfig();

    CSystemList& List() { return list_; }
    const SystemPtrs& Systems() const { return systems_; }
    CEmailLogDlg* EmailLog() const { return emailLog_; }
    CMonitorServices& Services() { return services_; }
    int GetBackupReminder() const { return backupReminder_; }

private:
    void FillList();
    // The system of the one selected row; null unless exactly one is.
    CSystem* SingleSelection() const;
    std::vector<CSystem*> SelectedSystems() const;

    CMonitorServices& services_;
    CSentinaxView& view_;
    SystemPtrs systems_;
    CSystemList list_;
    CEmailLogDlg* emailLog_ = nullptr;
    int backupReminder_ = 1;
    uint32_t lastBatchLookup_;
    uint32_t lastDueCheck_;
    bool polling_ = false;
};
