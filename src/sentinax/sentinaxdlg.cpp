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
    : email_(email),
      view_(view),
      list_(this, false),
      roster_(CRefreshContext{&gates, &email, &list_, nullptr},
              [this, refresh](CSystem& system, const CRefreshContext& context) {
                  if (refresh)
                      refresh(system, context);
                  else
                      system.Update(context);
                  view_.PostIdlePump();
              },
              threads) {}

CSentinaxDlg::~CSentinaxDlg() {
    roster_.StopPollThreads();
    list_.DeleteAllRows();
}

void CSentinaxDlg::OnInitDialog() {
    if (!LoadConfig())
        view_.Maximise();
    FillList();
    roster_.Begin();
    list_.SetSortColumn(0);
    list_.SetSortDescending(false);
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
    case ID_ABOUT: view_.ShowAbout(); break;
    case ID_CUSTOMERS_REFRESH_ALL: OnRefreshAll(); break;
    case ID_CUSTOMERS_BACKUP: OnBackup(); break;
    case ID_CUSTOMERS_RESTORE: OnRestore(); break;
    case ID_VIEW_DEFAULT_WIDTHS: OnDefaultColumnWidths(); break;
    default: return false;
    }
    return true;
}

void CSentinaxDlg::OnIdlePump() {
    email_.StartSender();
    if (emailLog_)
        emailLog_->Refresh();
    for (int row = 0; row < list_.GetRowCount(); ++row) {
        CSystem* system = list_.GetRowData(row);
        bool changed = false;
        {
            auto lock = system->Lock();
            changed = system->statusChanged != 0;
            system->statusChanged = 0;
        }
        if (changed)
            view_.RedrawRow(row);
    }
    roster_.RunScheduledWork();
}

void CSentinaxDlg::OnSystemListItemChanged() {
    const size_t selected = list_.GetSelectedRows().size();
    CSystem* single = SingleSelection();
    bool connectable = false;
    if (single) {
        auto lock = single->Lock();
        connectable = single->modelName.find(kNoRemoteModel) == std::string::npos;
    }
    for (int id : {ID_CUSTOMERS_EDIT, ID_CUSTOMERS_ERRORS, ID_CUSTOMERS_LOG})
        view_.EnableCommand(id, selected == 1);
    for (int id : {ID_CUSTOMERS_DELETE, ID_CUSTOMERS_REFRESH})
        view_.EnableCommand(id, selected >= 1);
    view_.EnableCommand(ID_CUSTOMERS_CONNECT, connectable);
}

void CSentinaxDlg::OnAddSystem() {
    auto system = std::make_shared<CSystem>();
    if (!view_.RunSystemDialog(*system))
        return;
    if (SharesHistoryFile(*system)) {
        view_.ShowMessage(SharedHistoryText(system->GetAdapterSerial()));
        return;
    }
    roster_.AddSystem(system);
    SaveConfig();
    FillList();
    system->RequestLookup();
    system->RequestRefresh();
    Resort();
}

void CSentinaxDlg::OnEditSystem() {
    CSystem* system = SingleSelection();
    if (!system)
        return;
    const std::string adapterBefore = system->GetAdapterName();
    if (!view_.RunSystemDialog(*system))
        return;
    if (SharesHistoryFile(*system)) {
        view_.ShowMessage(SharedHistoryText(system->GetAdapterSerial()));
        auto lock = system->Lock();
        system->adapterName = adapterBefore;
    }
    SaveConfig();
    Resort();
    OnRefreshSelected();
}

void CSentinaxDlg::OnDeleteSystems() {
    std::vector<CSystem*> marked;
    for (int row : list_.GetSelectedRows()) {
        CSystem* system = list_.GetRowData(row);
        std::string name;
        {
            auto lock = system->Lock();
            name = system->name;
        }
        const CSentinaxView::Answer answer = view_.AskYesNoCancel(DeleteQuestion(name));
        if (answer == CSentinaxView::kCancel)
            return;
        if (answer == CSentinaxView::kYes)
            marked.push_back(system);
    }
    // A system in the middle of a refresh lives on until that refresh ends.
    for (CSystem* system : marked)
        roster_.DeleteSystem(system);
    SaveConfig();
    FillList();
    Resort();
}

void CSentinaxDlg::OnShowSystemErrors() {
    if (CSystem* system = SingleSelection())
        view_.ShowSystemErrors(*system);
}

void CSentinaxDlg::OnShowLog() {
    if (CSystem* system = SingleSelection())
        view_.ShowHistory(*system);
}

void CSentinaxDlg::OnShowEmailLog() {
    if (!emailLog_)
        emailLog_ = view_.OpenEmailLog();
}

void CSentinaxDlg::CloseEmailLog() {
    if (!emailLog_)
        return;
    emailLog_ = nullptr;
    view_.DestroyEmailLog();
}

void CSentinaxDlg::OnSmtpSettings() {
    if (view_.RunEmailSettings())
        SaveConfig();
}

void CSentinaxDlg::OnDefaultColumnWidths() {
    list_.SetDefaultWidths();
    view_.ApplyColumnWidths();
}

void CSentinaxDlg::OnRefreshSelected() {
    std::vector<const CSystem*> rows;
    for (int row : list_.GetSelectedRows())
        rows.push_back(list_.GetRowData(row));
    roster_.RefreshSelected(rows);
}

void CSentinaxDlg::OnRefreshAll() { roster_.RefreshAll(); }

void CSentinaxDlg::OnConnectToSystem() {
    CSystem* system = SingleSelection();
    if (!system)
        return;
    const std::string problem = launcher_.ConnectToSystem(*system);
    if (!problem.empty())
        view_.ShowMessage(problem);
}

void CSentinaxDlg::OnBackup() {
    if (backupReminder_ && view_.RunBackupReminder()) {
        backupReminder_ = 0;
        SaveConfig();
    }
    const std::optional<bool> withHistory = view_.RunBackupOptions();
    if (!withHistory)
        return;
    const std::optional<std::string> archive = view_.AskArchiveName(true);
    if (!archive)
        return;
    const bool done = CreateBackup(platform::GetProgramFolder(), *archive, *withHistory);
    view_.ShowMessage(done ? kBackupSuccessText : kBackupErrorText);
}

void CSentinaxDlg::OnRestore() {
    const std::optional<std::string> archive = view_.AskArchiveName(false);
    if (!archive || !view_.AskYesNo(kRestoreWarningText))
        return;
    bool restored = false;
    {
        // A poll thread's history write waits until the restored files are in
        // place, so that none rewrites a file from its old contents meanwhile.
        std::vector<std::unique_lock<std::mutex>> held;
        for (const SystemPtr& system : roster_.GetSystems())
            held.push_back(system->LockHistory());
        restored = RestoreBackup(*archive, platform::GetProgramFolder());
    }
    if (restored) {
        list_.DeleteAllRows();
        shown_.clear();
    }
    const bool loaded = restored && LoadConfig();
    FillList();
    Resort();
    view_.ShowMessage(loaded ? kRestoreSuccessText : kBackupErrorText);
}

void CSentinaxDlg::ShowContextMenu(int x, int y) { view_.ShowContextMenu(x, y); }

bool CSentinaxDlg::LoadConfig() {
    CMonitorConfig config;
    const bool whole = ::LoadConfig(GetConfigPath(), config, email_);
    roster_.ReplaceSystems(config.systems);
    backupReminder_ = config.backupReminder;
    if (config.OpenMaximised()) {
        if (config.placementRead)
            list_.SetDefaultWidths();
        view_.Maximise();
    } else {
        view_.PlaceWindow(config.left, config.top, config.width, config.height);
        if (static_cast<int>(config.columnWidths.size()) == list_.CSortListCtrl::GetColumnCount()) {
            for (size_t i = 0; i < config.columnWidths.size(); ++i)
                list_.SetColumnWidth(static_cast<int>(i), config.columnWidths[i]);
        }
        view_.ApplyColumnWidths();
    }
    return whole;
}

bool CSentinaxDlg::SaveConfig() {
    CMonitorConfig config;
    config.placementRead = true;
    view_.GetWindowPlace(config.left, config.top, config.width, config.height);
    config.columnWidths.assign(list_.GetColumnWidths().begin(), list_.GetColumnWidths().end());
    config.systems = roster_.GetSystems();
    config.backupReminder = backupReminder_;
    return ::SaveConfig(GetConfigPath(), config, email_);
}

void CSentinaxDlg::FillList() {
    shown_ = roster_.GetSystems();
    std::vector<CSystem*> rows;
    for (const SystemPtr& system : shown_)
        rows.push_back(system.get());
    list_.Fill(rows);
}

void CSentinaxDlg::Resort() {
    list_.Sort();
    OnSystemListItemChanged();
}

bool CSentinaxDlg::SharesHistoryFile(const CSystem& system) const {
    const std::string base = HistoryFileBase(system.GetAdapterName());
    const std::vector<SystemPtr> systems = roster_.GetSystems();
    return std::any_of(systems.begin(), systems.end(), [&](const SystemPtr& other) {
        return other.get() != &system && HistoryFileBase(other->GetAdapterName()) == base;
    });
}

CSystem* CSentinaxDlg::SingleSelection() const {
    const std::vector<int> selected = list_.GetSelectedRows();
    return selected.size() == 1 ? list_.GetRowData(selected.front()) : nullptr;
}

std::vector<CSystem*> CSentinaxDlg::SelectedSystems() const {
    std::vector<CSystem*> systems;
    for (int row : list_.GetSelectedRows())
        systems.push_back(list_.GetRowData(row));
    return systems;
}
