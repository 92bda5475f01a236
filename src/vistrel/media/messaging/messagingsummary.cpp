#include "vistrel/media/messaging/messagingsummary.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/tabbutton.h"

namespace {

constexpr int kPhoneClass = 6;
constexpr int kViewerFontClass = 11;
constexpr int kViewerFontDefault = 7;
// Source id, kind and an empty name.
constexpr int32_t kMinSourceBytes = 12;

}  // namespace

CMessagingSummaryPage::CMessagingSummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server), m_server(server) {
    SetPageId(kPageId);
    ReadSources();
    if (CTabContainer* tabs = Tabs()) tabs->Select(GetPageVariable(kTabVariable), 0);
    server.RegisterSink(this);
    Subscribe();
    OnShow(1);
    Rebuild();
}

CMessagingSummaryPage::~CMessagingSummaryPage() { m_server.UnregisterSink(this); }

void CMessagingSummaryPage::ReadSources() {
    CZVQuery query(m_server, 1);
    CZVMSG request(0, ZVM_MESSAGES_GETSUMMARYQ);
    CZVMSG* answer = nullptr;
    int32_t count = 0;
    std::vector<Source> sources;
    if (query.Query(&answer, &request) && answer && answer->GetId() == ZVM_MESSAGES_GETSUMMARYA) {
        answer->ResetPosition();
        if (!answer->ReadInt(count)) count = 0;
        ReadRecords(*answer, count, kMinSourceBytes, [&](int32_t) {
            Source source;
            std::string name;
            if (!CMsgReader(*answer).Int(source.id).Int(source.kind).String(name)) return false;
            source.name = name.c_str();
            sources.push_back(source);
            return true;
        });
    }
    // A lone source 1 is the tablet's own mailbox 0.
    if (count == 1 && sources.size() == 1 && sources[0].id == 1) sources[0].id = 0;
    SetTabControl(CreateTabs(static_cast<int>(sources.size()), "All Messaging"));
    CTabContainer* tabs = Tabs();
    if (!tabs) return;
    for (size_t i = 0; i < sources.size(); ++i) tabs->AddTab(sources[i].name, kFirstTab + static_cast<int>(i));
    m_sources = std::move(sources);
}

CTabContainer* CMessagingSummaryPage::Tabs() const { return dynamic_cast<CTabContainer*>(GetTabControl()); }

void CMessagingSummaryPage::Subscribe() {
    if (TabCount() < 2) return;
    for (const Source& source : m_sources) {
        if (source.id == -1 || source.kind == kPanelKind) continue;
        CZVMSG request(GetId(), ZVM_MESSAGES_SUBSCRIBEQ);
        request.WriteInt(source.id);
        request.WriteInt(1);
        m_server.Send(&request);
    }
}

int CMessagingSummaryPage::OnCommand(int id) {
    ShowTab(id, 1);
    return id;
}

void CMessagingSummaryPage::ShowTab(int command, int redraw) {
    CZVRect rect;
    GetContentRect(&rect, GetTabControl());
    // Every tab the page made is served; without tabs the first command
    // still shows the tablet's own mailbox.
    const int index = command - kFirstTab;
    if (index < 0 || index >= std::max(TabCount(), 1)) return;
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
        m_content = nullptr;
    }
    const Source* source = index < TabCount() ? &m_sources[static_cast<size_t>(index)] : nullptr;
    if (source) SetPageVariable(kTabVariable, index);
    if (source && source->kind == kPanelKind && source->id != -1) {
        m_content = new CGatewayPanel(this, rect, m_styleClass, kPanelId, source->id);
    } else if (source && source->kind != kPhoneKind && source->id != -1) {
        m_content = new CMessageViewerCtl(this, rect, CSetServer::CurrentStyle(kViewerFontClass, kViewerFontDefault),
                                          source->id, CMessageViewerCtl::kBodyType, m_server);
    } else {
        m_content = new CPhonePage(this, rect, kPhoneClass, GetFaceColor(), source ? source->id : 0, m_server);
    }
    AddChild(m_content);
    if (redraw) m_content->Redraw(1);
    SendPageShown();
}

void CMessagingSummaryPage::OnShow(int show) {
    CTabContainer* tabs = Tabs();
    if (show && tabs && tabs->GetSelectedIndex() != GetPageVariable(kTabVariable)) {
        int remembered = GetPageVariable(kTabVariable);
        if (remembered >= TabCount() - 1) remembered = TabCount() - 1;
        SetPageVariable(kTabVariable, remembered);
        tabs->Select(std::max(remembered, 0), 1);
        OnCommand(kFirstTab + std::max(remembered, 0));
    }
    CPageBase::OnShow(show);
}

void CMessagingSummaryPage::Rebuild() {
    DeleteContent();
    m_content = nullptr;
    ShowTab(kFirstTab + GetPageVariable(kTabVariable), 0);
}

void CMessagingSummaryPage::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_MESSAGES_SUBSCRIBEA) return;
    message->ResetPosition();
    int32_t id = 0;
    int32_t unused = 0;
    std::string icon;
    if (!CMsgReader(*message).Int(id).Int(unused).String(icon)) return;
    CTabContainer* tabs = Tabs();
    if (!tabs) return;
    for (int i = 0; i < TabCount(); ++i) {
        if (m_sources[static_cast<size_t>(i)].id != id) continue;
        if (auto* tab = dynamic_cast<CZVButton*>(tabs->GetTab(i))) tab->SetIconName(icon.c_str(), kIconLayout);
    }
    if (!CMainWndBase::InputBlockedFor(tabs) && IsShown()) tabs->RedrawBuffered();
}

namespace {

CZVWindow* MakeMessagingPage(CZVWindow* parent, int, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    return server ? new CMessagingSummaryPage(parent, rect, *server) : nullptr;
}

}  // namespace

void RegisterMessagingPages() {
    static const CPageMakerRow kPages[] = {{CMessagingSummaryPage::kPageId, MakeMessagingPage}};
    RegisterPageMakers(kPages);
}
