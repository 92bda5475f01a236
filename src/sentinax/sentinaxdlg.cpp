#include "sentinax/sentinaxdlg.h"

#include <algorithm>

#include "platform/program.h"
#include "sentinax/backup.h"
#include "sentinax/configfile.h"
#include "sentinax/emaillogdlg.h"
#include "sentinax/emailserver.h"
#include "sentinax/systemstore.h"

namespace {

constexpr char kNoRemoteModel[] = "Orlenza";

std::string DeleteQuestion(const std::string& name) { return "Are you sure you want to delete " + name + "?"; }

std::string SharedHistoryText(const std::string& serial) {
    return "The Protocol Adapter " + serial + " is already monitored as another system.";
}

}  // namespace

CSentinaxDlg::CSentinaxDlg(CEmailServer& email, CConnectGates& gates, CSentinaxView& view,
                           CSystemRoster::RefreshFunction refresh, RosterThreads threads)
    : m_email(email),
      m_view(view),
      m_list(this, false),
      m_roster(
          CRefreshContext{&gates, &email, &m_list, nullptr},
          [this, refresh](CSystem& system, const CRefreshContext& context) {
              if (refresh)
                  refresh(system, context);
              else
                  system.Update(context);
              m_view.PostIdlePump();
          },
          threads) {}

CSentinaxDlg::~CSentinaxDlg() {
    m_roster.StopPollThreads();
    m_list.DeleteAllRows();
}

void CSentinaxDlg::OnInitDialog() {
    if (!LoadConfig()) m_view.Maximise();
    FillList();
    m_roster.Begin();
    m_list.SetSortColumn(0);
    m_list.SetSortDescending(false);
    Resort();
}

void CSentinaxDlg::OnDestroy() { SaveConfig(); }

bool CSentinaxDlg::OnCommand(int id) {
    switch (id) {
    case ID_CUSTOMERS_ADD: OnAddSystem(); break;
    case ID_CUSTOMERS_DELETE: OnDeleteSystems(); break;
    case ID_CUSTOMERS_EDIT: OnEditSystem(); break;
    case ID_CUSTOMERS_REFRESH: OnRefreshSelected(); break;
    case ID_CUSTOMERS_CONNECT: OnConnectToSystem(); break;
    case ID_CUSTOMERS_ERRORS: OnShowSystemErrors(); break;
    case ID_CUSTOMERS_LOG: OnShowLog(); break;
    case ID_EMAIL_SMTP: OnSmtpSettings(); break;
    case ID_EMAIL_LOG: OnShowEmailLog(); break;
    case ID_ABOUT: m_view.ShowAbout(); break;
    case ID_CUSTOMERS_REFRESH_ALL: OnRefreshAll(); break;
    case ID_CUSTOMERS_BACKUP: OnBackup(); break;
    case ID_CUSTOMERS_RESTORE: OnRestore(); break;
    case ID_VIEW_DEFAULT_WIDTHS: OnDefaultColumnWidths(); break;
    default: return false;
    }
    return true;
}

void CSentinaxDlg::OnIdlePump() {
    m_email.StartSender();
    if (m_emailLog) m_emailLog->Refresh();
    for (int row = 0; row < m_list.GetRowCount(); ++row) {
        CSystem* system = m_list.GetRowData(row);
        bool changed = false;
        {
            auto lock = system->Lock();
            changed = system->statusChanged != 0;
            system->statusChanged = 0;
        }
        if (changed) m_view.RedrawRow(row);
    }
    m_roster.RunScheduledWork();
}

void CSentinaxDlg::OnSystemListItemChanged() {
    const size_t selected = m_list.GetSelectedRows().size();
    CSystem* single = SingleSelection();
    bool connectable = false;
    if (single) {
        auto lock = single->Lock();
        connectable = single->modelName.find(kNoRemoteModel) == std::string::npos;
    }
    for (int id : {ID_CUSTOMERS_EDIT, ID_CUSTOMERS_ERRORS, ID_CUSTOMERS_LOG}) m_view.EnableCommand(id, selected == 1);
    for (int id : {ID_CUSTOMERS_DELETE, ID_CUSTOMERS_REFRESH}) m_view.EnableCommand(id, selected >= 1);
    m_view.EnableCommand(ID_CUSTOMERS_CONNECT, connectable);
}

void CSentinaxDlg::OnAddSystem() {
    auto system = std::make_shared<CSystem>();
    if (!m_view.RunSystemDialog(*system)) return;
    if (SharesHistoryFile(*system)) {
        m_view.ShowMessage(SharedHistoryText(system->GetAdapterSerial()));
        return;
    }
    m_roster.AddSystem(system);
    SaveConfig();
    FillList();
    system->RequestLookup();
    system->RequestRefresh();
    Resort();
}

void CSentinaxDlg::OnEditSystem() {
    CSystem* system = SingleSelection();
    if (!system) return;
    const std::string adapterBefore = system->GetAdapterName();
    if (!m_view.RunSystemDialog(*system)) return;
    if (SharesHistoryFile(*system)) {
        m_view.ShowMessage(SharedHistoryText(system->GetAdapterSerial()));
        auto lock = system->Lock();
        system->adapterName = adapterBefore;
    }
    SaveConfig();
    Resort();
    OnRefreshSelected();
}

void CSentinaxDlg::OnDeleteSystems() {
    std::vector<CSystem*> marked;
    for (int row : m_list.GetSelectedRows()) {
        CSystem* system = m_list.GetRowData(row);
        std::string name;
        {
            auto lock = system->Lock();
            name = system->name;
        }
        const CSentinaxView::Answer answer = m_view.AskYesNoCancel(DeleteQuestion(name));
        if (answer == CSentinaxView::kCancel) return;
        if (answer == CSentinaxView::kYes) marked.push_back(system);
    }
    // A system in the middle of a refresh lives on until that refresh ends.
    for (CSystem* system : marked) m_roster.DeleteSystem(system);
    SaveConfig();
    FillList();
    Resort();
}

void CSentinaxDlg::OnShowSystemErrors() {
    if (CSystem* system = SingleSelection()) m_view.ShowSystemErrors(*system);
}

void CSentinaxDlg::OnShowLog() {
    if (CSystem* system = SingleSelection()) m_view.ShowHistory(*system);
}

void CSentinaxDlg::OnShowEmailLog() {
    if (!m_emailLog) m_emailLog = m_view.OpenEmailLog();
}

void CSentinaxDlg::CloseEmailLog() {
    if (!m_emailLog) return;
    m_emailLog = nullptr;
    m_view.DestroyEmailLog();
}

void CSentinaxDlg::OnSmtpSettings() {
    if (m_view.RunEmailSettings()) SaveConfig();
}

void CSentinaxDlg::OnDefaultColumnWidths() {
    m_list.SetDefaultWidths();
    m_view.ApplyColumnWidths();
}

void CSentinaxDlg::OnRefreshSelected() {
    std::vector<const CSystem*> rows;
    for (int row : m_list.GetSelectedRows()) rows.push_back(m_list.GetRowData(row));
    m_roster.RefreshSelected(rows);
}

void CSentinaxDlg::OnRefreshAll() { m_roster.RefreshAll(); }

void CSentinaxDlg::OnConnectToSystem() {
    CSystem* system = SingleSelection();
    if (!system) return;
    const std::string problem = m_launcher.ConnectToSystem(*system);
    if (!problem.empty()) m_view.ShowMessage(problem);
}

void CSentinaxDlg::OnBackup() {
    if (m_backupReminder && m_view.RunBackupReminder()) {
        m_backupReminder = 0;
        SaveConfig();
    }
    const std::optional<bool> withHistory = m_view.RunBackupOptions();
    if (!withHistory) return;
    const std::optional<std::string> archive = m_view.AskArchiveName(true);
    if (!archive) return;
    const bool done = CreateBackup(platform::GetProgramFolder(), *archive, *withHistory);
    m_view.ShowMessage(done ? kBackupSuccessText : kBackupErrorText);
}

void CSentinaxDlg::OnRestore() {
    const std::optional<std::string> archive = m_view.AskArchiveName(false);
    if (!archive || !m_view.AskYesNo(kRestoreWarningText)) return;
    bool restored = false;
    {
        // A poll thread's history write waits until the restored files are in
        // place, so that none rewrites a file from its old contents meanwhile.
        std::vector<std::unique_lock<std::mutex>> held;
        for (const SystemPtr& system : m_roster.GetSystems()) held.push_back(system->LockHistory());
        restored = RestoreBackup(*archive, platform::GetProgramFolder());
    }
    if (restored) {
        m_list.DeleteAllRows();
        m_shown.clear();
    }
    const bool loaded = restored && LoadConfig();
    FillList();
    Resort();
    m_view.ShowMessage(loaded ? kRestoreSuccessText : kBackupErrorText);
}

void CSentinaxDlg::ShowContextMenu(int x, int y) { m_view.ShowContextMenu(x, y); }

bool CSentinaxDlg::LoadConfig() {
    CMonitorConfig config;
    const bool whole = ::LoadConfig(GetConfigPath(), config, m_email);
    m_roster.ReplaceSystems(config.systems);
    m_backupReminder = config.backupReminder;
    if (config.OpenMaximised()) {
        if (config.placementRead) m_list.SetDefaultWidths();
        m_view.Maximise();
    } else {
        m_view.PlaceWindow(config.left, config.top, config.width, config.height);
        if (static_cast<int>(config.columnWidths.size()) == m_list.CSortListCtrl::GetColumnCount()) {
            for (size_t i = 0; i < config.columnWidths.size(); ++i)
                m_list.SetColumnWidth(static_cast<int>(i), config.columnWidths[i]);
        }
        m_view.ApplyColumnWidths();
    }
    return whole;
}

bool CSentinaxDlg::SaveConfig() {
    CMonitorConfig config;
    config.placementRead = true;
    m_view.GetWindowPlace(config.left, config.top, config.width, config.height);
    config.columnWidths.assign(m_list.GetColumnWidths().begin(), m_list.GetColumnWidths().end());
    config.systems = m_roster.GetSystems();
    config.backupReminder = m_backupReminder;
    return ::SaveConfig(GetConfigPath(), config, m_email);
}

void CSentinaxDlg::FillList() {
    m_shown = m_roster.GetSystems();
    std::vector<CSystem*> rows;
    for (const SystemPtr& system : m_shown) rows.push_back(system.get());
    m_list.Fill(rows);
}

void CSentinaxDlg::Resort() {
    m_list.Sort();
    OnSystemListItemChanged();
}

bool CSentinaxDlg::SharesHistoryFile(const CSystem& system) const {
    const std::string base = HistoryFileBase(system.GetAdapterName());
    const std::vector<SystemPtr> systems = m_roster.GetSystems();
    return std::any_of(systems.begin(), systems.end(), [&](const SystemPtr& other) {
        return other.get() != &system && HistoryFileBase(other->GetAdapterName()) == base;
    });
}

CSystem* CSentinaxDlg::SingleSelection() const {
    const std::vector<int> selected = m_list.GetSelectedRows();
    return selected.size() == 1 ? m_list.GetRowData(selected.front()) : nullptr;
}

std::vector<CSystem*> CSentinaxDlg::SelectedSystems() const {
    std::vector<CSystem*> systems;
    for (int row : m_list.GetSelectedRows()) systems.push_back(m_list.GetRowData(row));
    return systems;
}
