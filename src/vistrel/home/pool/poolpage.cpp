#include "vistrel/home/pool/poolpage.h"

#include <algorithm>

#include "vistrel/home/pool/poolequipment.h"
#include "vistrel/home/pool/poolhistory.h"
#include "vistrel/home/pool/poollights.h"
#include "vistrel/home/pool/poolmain.h"
#include "vistrel/home/pool/poolreaders.h"
#include "vistrel/home/pool/poolschedule.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/tabs/tabbutton.h"

namespace {

constexpr COLORREF kHiddenStatusColour = 255;
constexpr int kTabWindowClass = 5;
constexpr int kMaxRunTime = 0xFFFF;

struct TabEntry {
    int id;
    int featureBit;  // 0: always there
    const char* caption;
};

constexpr TabEntry kTabs[] = {
    {CPoolControlPage::kMainTab, 0, "Main"},
    {CPoolControlPage::kLightsTab, 0x01, "Lights"},
    {CPoolControlPage::kScheduleTab, 0x04, "Schedule"},
    {CPoolControlPage::kHistoryTab, 0x20, "History"},
    {CPoolControlPage::kEquipmentTab, 0x40, "Equipment"},
};

struct LinkText {
    const char* text;
    COLORREF colour;
};

LinkText LinkStateText(const CBasinSetup& model) {
    if (model.IsSynchronizing()) return {"Talking to Marquel...", 0xFF0000};
    if (model.IsServiceMode()) return {"Service Mode", 0x00FF00};
    return {"Connecting To Marquel...", 0x0000FF};
}

bool IsTabId(int id) { return id >= CPoolControlPage::kMainTab && id <= CPoolControlPage::kEquipmentTab; }

}  // namespace

CPoolControlPage::CPoolControlPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server), m_link(server) {
    SetPageId(kPageId);
    BuildModel();
    server.RegisterSink(this);
    CreatePoolTabs();
    SelectTab(kMainTab, 0);
    Subscribe(ZVM_POOL_SUBSCRIBE);
    RequestStatus();
    if (!m_model->IsLoaded()) SetTimer(static_cast<int>(m_retryInterval));
}

CPoolControlPage::~CPoolControlPage() {
    Subscribe(ZVM_POOL_UNSUBSCRIBE);
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    // The tab window reads the model: it goes first.
    DeleteTabWindow();
    m_model.reset();
}

void CPoolControlPage::BuildModel() {
    m_model = std::make_unique<CBasinSetup>(m_link, ZVVariant::Tablet, m_controllerIndex);
}

void CPoolControlPage::CreatePoolTabs() {
    const int flags = m_model->GetTrailingValue();
    const int count = static_cast<int>(std::count_if(std::begin(kTabs), std::end(kTabs), [flags](const TabEntry& tab) {
        return tab.featureBit == 0 || (flags & tab.featureBit);
    }));
    auto* tabs = static_cast<CTabContainer*>(CreateTabs(count, "Pool\nControl"));
    SetTabControl(tabs);
    for (const TabEntry& tab : kTabs)
        if (tab.featureBit == 0 || (flags & tab.featureBit)) tabs->AddTab(tab.caption, tab.id);
    tabs->SetRightEndStyle(1);
}

void CPoolControlPage::Subscribe(uint16_t id) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(0, id);
    message.WriteInt(m_controllerIndex);
    message.WriteInt(GetId());
    server->Send(&message);
}

void CPoolControlPage::RequestStatus() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(GetId(), ZVM_POOL_GETSTATUSQ);
    message.WriteInt(m_controllerIndex);
    server->Send(&message);
}

// ---- tabs

void CPoolControlPage::SelectTab(int id, int show) {
    if (!IsTabId(id)) {
        if (show && m_statusWindow) RequestStatus();
        return;
    }
    DeleteTabWindow();
    m_selectedTab = id;
    CZVRect rect;
    GetContentRect(&rect, GetTabControl());
    const int inset = PickByScreenHeight(600, 2, 5);
    CZVWindow* window =
        MakeTabWindow(id, CZVRect(rect.x + inset, rect.y + inset, rect.w - 2 * inset, rect.h - 2 * inset));
    if (id == kHistoryTab) {
        m_historyActive = 1;
        SetStatus(0, 0, "", kHiddenStatusColour);
        InstallTabWindow(window, show);
        return;
    }
    m_historyActive = 0;
    m_statusWindow = static_cast<CSubPanel*>(window);
    InstallTabWindow(window, show);
    if (show && m_statusWindow) RequestStatus();
}

CZVWindow* CPoolControlPage::MakeTabWindow(int id, CZVRect rect) {
    // History takes no status.
    if (id == kMainTab) return new CPoolMainPage(this, rect, m_model.get());
    if (id == kLightsTab) return new CColorLightsPage(this, rect, m_model.get());
    if (id == kEquipmentTab && GetServer()) return new CSystemStatusPage(this, rect, m_model.get(), *GetServer());
    if (id == kScheduleTab && GetServer()) return new CScheduleTypePage(this, rect, m_model.get(), *GetServer());
    if (id == kHistoryTab) {
        if (CZVServer* server = GetServer()) return new CPoolHistoryPage(this, rect, m_model.get(), *server);
        return new CZVWindow(this, rect, kTabWindowClass);
    }
    return new CSubPanel(this, rect, kTabWindowClass, m_model.get());
}

void CPoolControlPage::InstallTabWindow(CZVWindow* window, int show) {
    const int wasShown = IsStatusShown();
    m_tabWindow = window;
    AddChild(window);
    const int covered = !m_model->IsReady() && !m_historyActive;
    if (covered) window->Enable(0, 0);
    if (show) {
        window->Redraw(1);
        if (covered) {
            const LinkText link = LinkStateText(*m_model);
            SetStatus(1, 0, link.text, link.colour);
            if (wasShown && IsShown()) {
                CZVDC dc(this);
                RedrawStatus(&dc);
            }
        }
    }
    SendPageShown();
}

void CPoolControlPage::DeleteTabWindow() {
    // Both pointers go with the window, so that nothing later reaches it.
    CZVWindow* window = m_tabWindow;
    m_tabWindow = nullptr;
    m_statusWindow = nullptr;
    if (!window) return;
    RemoveChild(window);
    delete window;
}

void CPoolControlPage::Rebuild() {
    DeleteTabWindow();
    SelectTab(m_selectedTab, 0);
}

int CPoolControlPage::OnCommand(int id) {
    SelectTab(id, 1);
    return 1;
}

// ---- gateway messages

void CPoolControlPage::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_POOL_STATUSCHANGED:
    case ZVM_POOL_GETSTATUSA: OnStatus(*message); break;
    case ZVM_POOL_RUNTIMECHANGED: OnRunTime(*message); break;
    case ZVM_POOL_SUBPAGEUPDATE: OnSubPageUpdate(*message); break;
    default: break;
    }
}

void CPoolControlPage::OnConnect(int connected) {
    if (!connected) return;
    Subscribe(ZVM_POOL_SUBSCRIBE);
    RequestStatus();
}

void CPoolControlPage::OnStatus(CZVMSG& message) {
    const int wasReady = m_model->IsReady();
    const int wasSynchronizing = m_model->IsSynchronizing();
    const int wasService = m_model->IsServiceMode();
    m_model->ReadStatus(message);
    const int ready = m_model->IsReady();
    if (m_statusWindow && ready) m_statusWindow->OnStatusUpdate();
    const int unchanged =
        ready == wasReady && m_model->IsSynchronizing() == wasSynchronizing && m_model->IsServiceMode() == wasService;
    if (!unchanged || m_firstStatus) {
        CMainWnd* main = GetTabletMainWnd();
        const int blocked = main && main->IsInputBlocked(nullptr);
        if (ready) {
            SetStatus(0, 1, "", kHiddenStatusColour);
        } else {
            // A shown box takes a new text only after being hidden.
            if (!wasReady) SetStatus(0, 1, "", kHiddenStatusColour);
            const LinkText link = LinkStateText(*m_model);
            SetStatus(1, !blocked, link.text, link.colour);
        }
        if (m_tabWindow) m_tabWindow->Enable(ready, ready && !blocked && !m_firstStatus);
    }
    m_firstStatus = 0;
}

void CPoolControlPage::OnRunTime(CZVMSG& message) {
    CPoolRunTimeNotice notice;
    if (!ReadRunTimeNotice(message, &notice) || notice.minutes < 0 || notice.minutes > kMaxRunTime) return;
    if (CPoolCircuit* circuit = m_model->FindCircuitById(notice.circuitId)) circuit->SetRunTime(-1, notice.minutes);
}

void CPoolControlPage::OnSubPageUpdate(CZVMSG& message) {
    CPoolSubPageNotice notice;
    if (!m_statusWindow || !ReadSubPageNotice(message, &notice)) return;
    m_statusWindow->OnSubPageUpdate(notice.text.c_str(), notice.first, notice.second, notice.third);
}

// ---- model retry

void CPoolControlPage::OnTimer() {
    if (!m_model->IsLoaded()) {
        DeleteTabWindow();
        m_model.reset();
        BuildModel();
        if (!m_model->IsLoaded()) {
            // Each load may block for its whole wait: a silent gateway is
            // asked less and less often.
            m_retryInterval = std::min(m_retryInterval * 2, kLastRetry);
            SetTimer(static_cast<int>(m_retryInterval));
            return;
        }
        SelectTab(kMainTab, IsShown());
    }
    KillTimer();
    m_retryInterval = kFirstRetry;
}

// ---- the shell's registry

CZVWindow* MakePoolControlPage(CZVWindow* parent, int /*command*/, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    if (server) return new CPoolControlPage(parent, rect, *server);
    // Without a gateway the page stands empty.
    auto* page = new CPageBase(parent, rect);
    page->SetPageId(CPoolControlPage::kPageId);
    return page;
}
