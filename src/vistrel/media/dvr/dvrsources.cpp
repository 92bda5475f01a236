#include "vistrel/media/dvr/dvrsources.h"

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/media/dvr/dvrpage.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/tabs/tabbutton.h"

namespace {

constexpr int kMinSourceBytes = 8;  // id and an empty name
constexpr int kInset = 2;

CTabContainer* Tabs(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }

}  // namespace

int ReadDvrSources(CZVMSG& message, std::vector<CVideoSourceEntry>* out) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kMinSourceBytes, [&](int32_t) {
        CVideoSourceEntry entry;
        if (!CMsgReader(message).Int(entry.sourceId).String(entry.name)) return false;
        out->push_back(std::move(entry));
        return true;
    });
}

CDvrSourcesPage::CDvrSourcesPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), m_server(server) {
    SetPageId(kPageId);
    LoadSources();
    OnTabCommand(kFirstTab, 0);
}

CDvrSourcesPage::~CDvrSourcesPage() {
    CMainWnd* main = GetTabletMainWnd();
    if (main && main->GetFocusWindow() == this) main->SetFocusWindow(nullptr);
}

void CDvrSourcesPage::LoadSources() {
    CZVQuery query(m_server, 1);
    CZVMSG request(0, ZVM_DVR_GETSOURCESQ);
    CZVMSG* answer = nullptr;
    if (query.Query(&answer, &request) && answer && answer->GetId() == ZVM_DVR_GETSOURCESA) {
        answer->ResetPosition();
        ReadDvrSources(*answer, &m_sources);
    }
    if (m_sources.empty()) {
        SetTabControl(CreateLoadingTabs());
        RequestRebuild(1);
        return;
    }
    if (static_cast<int>(m_sources.size()) > kLastTab - kFirstTab + 1) m_sources.resize(kLastTab - kFirstTab + 1);
    CTabContainer* tabs = Tabs(CreateTabs(static_cast<int>(m_sources.size()), "DVR\nSources"));
    SetTabControl(tabs);
    for (size_t i = 0; tabs && i < m_sources.size(); ++i)
        tabs->AddTab(m_sources[i].name.c_str(), kFirstTab + static_cast<int>(i));
    if (tabs) tabs->Select(0, 0);
}

void CDvrSourcesPage::Rebuild() {
    DeleteContent();
    m_page = nullptr;
    CTabContainer* tabs = Tabs(GetTabControl());
    const int index = tabs && tabs->GetSelectedTab() ? tabs->GetSelectedIndex() : 0;
    OnTabCommand(kFirstTab + index, 0);
}

void CDvrSourcesPage::RemoveDvrPage() {
    if (!m_page) return;
    RemoveChild(m_page);
    delete m_page;
    m_page = nullptr;
}

int CDvrSourcesPage::OnTabCommand(int id, int redraw) {
    if (id < kFirstTab || id > kLastTab) return id;
    CTabContainer* tabs = Tabs(GetTabControl());
    const int index = tabs && tabs->GetSelectedTab() ? tabs->GetSelectedIndex() : -1;
    if (index < 0 || index >= static_cast<int>(m_sources.size())) return 1;
    CZVRect rect;
    GetContentRect(&rect, tabs);
    rect.Deflate(kInset, kInset);
    RemoveDvrPage();
    m_page = new CDvrPage(this, rect, m_sources[static_cast<size_t>(index)].sourceId);
    AddChild(m_page);
    if (redraw) m_page->Redraw(1);
    SendPageShown();
    return 1;
}

// ---- registration

namespace {

CZVWindow* MakeDvrSourcesPage(CZVWindow* parent, int, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    return server ? new CDvrSourcesPage(parent, rect, *server) : nullptr;
}

}  // namespace

void RegisterDvrPages() {
    static const CPageMakerRow kPages[] = {{CDvrSourcesPage::kPageId, MakeDvrSourcesPage}};
    RegisterPageMakers(kPages);
}
