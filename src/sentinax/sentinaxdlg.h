#pragma once
// CSentinaxDlg: the monitor's main window as logic. It owns the configured
// systems (in the roster with the poll threads) and their list, keeps the
// menu's states in step with the selection, runs the commands of the menu,
// loads and saves the configuration, and does the idle work that shows
// what the poll threads found.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sentinax/launcher.h"
#include "sentinax/systemlist.h"
#include "sentinax/systemroster.h"

class CConnectGates;
class CEmailLogDlg;
class CEmailServer;

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
    virtual void ShowMessage(const std::string& text) = 0;
    virtual bool AskYesNo(const std::string& question) = 0;
    // The backup reminder; true when it closed with "Don't Show this again"
    // ticked.
    virtual bool RunBackupReminder() = 0;
    // The backup's options: whether to take the history files, or nothing
    // when cancelled.
    virtual std::optional<bool> RunBackupOptions() = 0;
    // A file dialog for a backup archive; nothing when cancelled.
    virtual std::optional<std::string> AskArchiveName(bool save) = 0;
    virtual void Maximise() = 0;
    // The window's place on the screen: left, top, width, height.
    virtual void PlaceWindow(int left, int top, int width, int height) = 0;
    virtual void GetWindowPlace(int& left, int& top, int& width, int& height) = 0;
    // The header takes the list's column widths and fits them.
    virtual void ApplyColumnWidths() = 0;
    // Asks for one turn of idle work soon; callable from any thread.
    virtual void PostIdlePump() = 0;
};

class CSentinaxDlg {
public:
    // refresh, when given, stands for CSystem::Update in the poll threads;
    // `threads` says whether the roster runs them at all.
    CSentinaxDlg(CEmailServer& email, CConnectGates& gates, CSentinaxView& view,
                 CSystemRoster::RefreshFunction refresh = {}, RosterThreads threads = RosterThreads::kRun);
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
    // The configuration file; false when it is missing or broke off.
    bool LoadConfig();
    bool SaveConfig();

    CSystemList& List() { return m_list; }
    CSystemRoster& Roster() { return m_roster; }
    CEmailServer& Email() { return m_email; }
    CEmailLogDlg* EmailLog() const { return m_emailLog; }
    int GetBackupReminder() const { return m_backupReminder; }

private:
    void FillList();
    void Resort();
    // True when another system's history file has the name this one's would
    // have: the two would mix their histories.
    bool SharesHistoryFile(const CSystem& system) const;
    // The system of the one selected row; null unless exactly one is.
    CSystem* SingleSelection() const;
    std::vector<CSystem*> SelectedSystems() const;

    CEmailServer& m_email;
    CSentinaxView& m_view;
    // The refreshes read the list's columns for their mails: it outlives
    // the poll threads.
    CSystemList m_list;
    CSystemRoster m_roster;
    // What the rows point to, kept while they show it.
    std::vector<SystemPtr> m_shown;
    CProgramLauncher m_launcher;
    CEmailLogDlg* m_emailLog = nullptr;
    int m_backupReminder = 1;
};
