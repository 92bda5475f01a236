#pragma once
// "Brenvik Remote Control & Monitor": the main window over CSentinaxDlg.
// The poll threads ask for idle work through a queued call; a timer runs it
// as well, for the lookups and due checks that come with time alone.
#include <QMainWindow>
#include <QTimer>
#include <atomic>
#include <map>
#include <memory>

#include "sentinax/sentinaxdlg.h"

class QAction;
class QMenu;
class CSortListWidget;
class CEmailLogDlgWindow;

class CSentinaxDlgWindow : public QMainWindow, public CSentinaxView {
public:
    static constexpr int kIdleTimerMs = 250;

    // refresh, when given, stands for CSystem::Update in the poll threads.
    CSentinaxDlgWindow(CEmailServer& email, CConnectGates& gates, CSystemRoster::RefreshFunction refresh = {});
    ~CSentinaxDlgWindow() override;

    CSentinaxDlg& Logic() { return *m_logic; }
    CSortListWidget* ListWidget() { return m_list; }
    QAction* Command(int id) const;
    QMenu* CustomersMenu() const { return m_customers; }
    CEmailLogDlgWindow* EmailLogWindow() const { return m_emailLog; }
    // Loads the systems and starts the work; then show().
    void Start();

    void EnableCommand(int id, bool on) override;
    void RedrawRow(int row) override;
    Answer AskYesNoCancel(const std::string& question) override;
    bool RunSystemDialog(CSystem& system) override;
    void ShowSystemErrors(CSystem& system) override;
    void ShowHistory(CSystem& system) override;
    void ShowAbout() override;
    bool RunEmailSettings() override;
    CEmailLogDlg* OpenEmailLog() override;
    void DestroyEmailLog() override;
    void ShowContextMenu(int x, int y) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    bool RunBackupReminder() override;
    std::optional<bool> RunBackupOptions() override;
    std::optional<std::string> AskArchiveName(bool save) override;
    void Maximise() override;
    void PlaceWindow(int left, int top, int width, int height) override;
    void GetWindowPlace(int& left, int& top, int& width, int& height) override;
    void ApplyColumnWidths() override;
    void PostIdlePump() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QAction* AddCommand(QMenu* menu, const char* text, int id, bool enabled);

    CEmailServer& m_email;
    std::unique_ptr<CSentinaxDlg> m_logic;
    CSortListWidget* m_list;
    QMenu* m_customers = nullptr;
    std::map<int, QAction*> m_commands;
    CEmailLogDlgWindow* m_emailLog = nullptr;
    QTimer m_idleTimer;
    std::atomic<bool> m_pumpPosted{false};
    bool m_destroyed = false;
};
