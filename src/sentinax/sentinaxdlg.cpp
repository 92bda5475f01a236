#include "sentinax/sentinaxdlg.h"

#include <algorithm>

#include "platform/clock.h"
#include "sentinax/emaillogdlg.h"
#include "sentinax/system.h"

namespace {

constexpr char kNoRemoteModel[] = "Orlenza";

std::string DeleteQuestion(const std::string& name) { return "Are you sure you want to delete " + name + "?"; }

}  // namespace

CSentinaxDlg::CSentinaxDlg(CMonitorServices& services, CSentinaxView& view)
    : services_(services),
      view_(view),
      list_(this, false),
      lastBatchLookup_(platform::GetTickCount()),
      lastDueCheck_(lastBatchLookup_) {}

CSentinaxDlg::~CSentinaxDlg() {
    if (polling_)
        services_.StopPolling();
    list_.DeleteAllRows();
}

void CSentinaxDlg::OnInitDialog() {
    if (!services_.LoadConfig(systems_, backupReminder_))
        view_.Maximise();
    FillList();
    services_.StartPolling(systems_, static_cast<int>(systems_.size()), [this] { view_.PostIdlePump(); });
    polling_ = true;
    services_.RunBatchLookup();
    lastBatchLookup_ = platform::GetTickCount();
    services_.QueueDueSystems();
    list_.SetSortColumn(0);
    list_.SetSortDescending(false);
    list_.Sort();
    OnSystemListItemChanged();
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
    services_.Email().StartSender();
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
    if (platform::TicksSince(lastBatchLookup_) > kBatchLookupMs) {
        lastBatchLookup_ = platform::GetTickCount();
        services_.RunBatchLookup();
    }
    if (platform::TicksSince(lastDueCheck_) > kDueCheckMs) {
        lastDueCheck_ = platform::GetTickCount();
        services_.QueueDueSystems();
    }
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
    auto system = std::make_unique<CSystem>();
    if (!view_.RunSystemDialog(*system))
        return;
    CSystem* added = system.get();
    {
        std::lock_guard<std::mutex> lock(services_.SystemsLock());
        systems_.push_back(std::move(system));
    }
    SaveConfig();
    FillList();
    added->RequestLookup();
    added->RequestRefresh();
    list_.Sort();
    OnSystemListItemChanged();
}

void CSentinaxDlg::OnEditSystem() {
    CSystem* system = SingleSelection();
    if (!system || !view_.RunSystemDialog(*system))
        return;
    SaveConfig();
    list_.Sort();
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
    SystemPtrs removed;
    {
        std::lock_guard<std::mutex> lock(services_.SystemsLock());
        for (CSystem* system : marked) {
            auto found = std::find_if(systems_.begin(), systems_.end(),
                                      [system](const auto& owned) { return owned.get() == system; });
            removed.push_back(std::move(*found));
            systems_.erase(found);
        }
    }
    // No row may point to a system once it is gone.
    FillList();
    for (const auto& system : removed)
        services_.ReleaseSystem(*system);
    removed.clear();
    SaveConfig();
    list_.Sort();
    OnSystemListItemChanged();
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

void CSentinaxDlg::OnRefreshSelected() { services_.RefreshSelected(SelectedSystems()); }

void CSentinaxDlg::OnRefreshAll() { services_.RefreshAll(); }

void CSentinaxDlg::OnConnectToSystem() {
    if (CSystem* system = SingleSelection())
        services_.ConnectToSystem(*system);
}

void CSentinaxDlg::OnBackup() { services_.Backup(systems_, backupReminder_); }

void CSentinaxDlg::OnRestore() {
    if (!services_.Restore(systems_, backupReminder_))
        return;
    FillList();
    list_.Sort();
    OnSystemListItemChanged();
}

void CSentinaxDlg::ShowContextMenu(int x, int y) { view_.ShowContextMenu(x, y); }

void CSentinaxDlg::SaveConfig() { services_.SaveConfig(systems_, backupReminder_); }

void CSentinaxDlg::FillList() {
    std::vector<CSystem*> rows;
    for (const auto& system : systems_)
        rows.push_back(system.get());
    list_.Fill(rows);
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
