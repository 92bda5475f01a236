#include "vistrel/home/security/securitypages.h"

#include <algorithm>

#include "core/messages/securitymessages.h"
#include "core/zvquery.h"
#include "vistrel/home/security/securityhistory.h"
#include "vistrel/home/security/securitykeypad.h"
#include "vistrel/home/security/securityzones.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/timeline/timezoom.h"

namespace {

constexpr int kRegionClass = 6;

CTabContainer* Tabs(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }

}  // namespace

CSecuritySummaryPage::CSecuritySummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server), m_timeWindow(std::make_unique<CTimeWindow>()) {
    SetPageId(kPageId);
    if (!LoadPartitions(server)) {
        SetTabControl(CreateLoadingTabs());
        RequestRebuild(1);
    }
    server.RegisterSink(this);
    Rebuild();
}

CSecuritySummaryPage::~CSecuritySummaryPage() {
    RemoveContent();
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CSecuritySummaryPage::LoadPartitions(CZVServer& server) {
    CZVQuery query(server, 1);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer1(&answer, ZVM_SECURITY_GETSUMMARYQ, 1) || !answer) return 0;
    answer->ResetPosition();
    CSecuritySummary summary;
    ReadSecuritySummary(*answer, &summary);
    m_historyAvailable = summary.historyAvailable;
    const int count = std::min(static_cast<int>(summary.partitions.size()), kLastTab - kFirstTab + 1);
    CTabContainer* tabs = Tabs(CreateTabs(count > 0 ? count : 1, count > 0 ? "All Partitions" : "No Partitions"));
    SetTabControl(tabs);
    if (count == 0 && tabs) tabs->AddTab("No Partitions", kFirstTab);
    for (int i = 0; i < count; ++i) {
        auto partition =
            std::make_unique<CSecurityPartition>(server, std::move(summary.partitions[static_cast<size_t>(i)]));
        if (tabs) tabs->AddTab(partition->GetName(), kFirstTab + i);
        m_partitions.push_back(std::move(partition));
    }
    return 1;
}

CSecurityPartition* CSecuritySummaryPage::GetPartition(int index) const {
    return index >= 0 && index < GetPartitionCount() ? m_partitions[static_cast<size_t>(index)].get() : nullptr;
}

int CSecuritySummaryPage::ClampedTabIndex() const {
    CTabContainer* tabs = Tabs(GetTabControl());
    const int last = tabs ? tabs->GetTabCount() - 1 : 0;
    return std::clamp(GetPageVariable(kSecurityTabVariable), 0, std::max(last, 0));
}

void CSecuritySummaryPage::RemoveContent() {
    if (m_content && m_region) {
        m_region->RemoveChild(m_content);
        delete m_content;
    }
    m_content = nullptr;
}

void CSecuritySummaryPage::Rebuild() {
    RemoveContent();
    DeleteContent();
    m_region = nullptr;
    CZVRect rect;
    GetContentRect(&rect, GetTabControl());
    InsetContentRect(&rect);
    m_region = new CTRRegion(this, rect, kRegionClass, GetFaceColor());
    AddChild(m_region);
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Status", kStatusTab, nullptr));
    if (m_historyAvailable) descriptors.AddTail(new CTabDescriptor("History", kHistoryTab, nullptr));
    m_region->SetTabCount(m_historyAvailable ? 2 : 1, 1, &descriptors);
    CPageBase::OnShow(1);
    const int index = ClampedTabIndex();
    SetPageVariable(kSecurityTabVariable, index);
    m_subTab = kStatusTab;
    if (CTabContainer* tabs = Tabs(GetTabControl())) tabs->Select(index, 0);
    SelectPartition(index, 0);
}

void CSecuritySummaryPage::OnShow(int show) {
    CTabContainer* tabs = Tabs(GetTabControl());
    if (show && tabs && tabs->GetSelectedIndex() != GetPageVariable(kSecurityTabVariable)) {
        const int index = ClampedTabIndex();
        tabs->Select(index, 1);
        SelectPartition(index, 1);
    }
    CPageBase::OnShow(show);
}

void CSecuritySummaryPage::OnResume() {
    ShowSubTab(m_subTab, 0);
    CPageBase::OnResume();
}

int CSecuritySummaryPage::OnCommand(int id) {
    if (id >= kFirstTab && id <= kLastTab) {
        SelectPartition(id - kFirstTab, 1);
        return 1;
    }
    if (id == kStatusTab || id == kHistoryTab) {
        ShowSubTab(id, 1);
        return 1;
    }
    return CPageBase::OnCommand(id);
}

void CSecuritySummaryPage::SelectPartition(int index, int redraw) {
    SetPageVariable(kSecurityTabVariable, index);
    CSecurityPartition* partition = GetPartition(index);
    if (!partition) return;
    if (m_current) m_current->Unsubscribe();
    m_current = partition;
    ShowSubTab(m_subTab, redraw);
    SendPageShown();
}

void CSecuritySummaryPage::ShowSubTab(int id, int redraw) {
    if (!m_region) return;
    if (m_current) m_current->Unsubscribe();
    RemoveContent();
    m_subTab = id;
    if (CTabContainer* tabs = m_region->GetTabs()) tabs->Select(id - kStatusTab, 0);
    if (!m_current) return;
    CZVRect rect;
    m_region->GetContentRect(&rect);
    CZVServer* server = GetServer();
    if (id == kStatusTab)
        m_content = new CSecurityZonesPage(m_region, rect, m_current);
    else if (server)
        m_content = new CSecurityHistoryPage(m_region, rect, *server, m_timeWindow.get(), m_current->GetPartitionId(),
                                             m_current->GetArea());
    if (!m_content) return;
    m_region->AddChild(m_content);
    m_content->SetBackColor(m_region->GetFaceColor());
    if (redraw && IsShown() && !CMainWndBase::InputBlockedFor(this)) m_content->Redraw(1);
}

// ---- registration

namespace {

CZVServer* Server() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

CZVWindow* MakeSecurityPage(CZVWindow* parent, int, CZVRect rect) {
    CZVServer* server = Server();
    return server ? new CSecuritySummaryPage(parent, rect, *server) : nullptr;
}

CZVWindow* MakeSecurityControl(CPageControlArgs& args) {
    CZVServer* server = Server();
    return server ? new CSecurityPage(args.parent, args.rect, *server, args.desc.id) : nullptr;
}

}  // namespace

void RegisterSecurityPages() {
    static const CPageMakerRow kPages[] = {{CSecuritySummaryPage::kPageId, MakeSecurityPage}};
    static const CControlMakerRow kControls[] = {{CSecurityPage::kControlType, MakeSecurityControl, kSkipCommon}};
    RegisterPageMakers(kPages);
    RegisterControlMakers(kControls);
}
