#include "vistrel/home/lighting/lightingpage.h"

#include <algorithm>

#include "core/messages/lightingmessages.h"
#include "core/zvquery.h"
#include "vistrel/home/lighting/gatewaybuttons.h"
#include "vistrel/home/lighting/keypadctl.h"
#include "vistrel/home/lighting/lightswitch.h"
#include "vistrel/home/lighting/scenebutton.h"
#include "vistrel/home/schedule/schedulecommands.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "vistrel/shell/tabletsettings.h"
#include "widgets/tabs/tabbutton.h"

namespace {

CTabContainer* Tabs(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }

// The selected tab's index; -1 while none is selected (a tab strip's own index reads 0 then).
int SelectedIndex(CTabContainer* tabs) { return tabs && tabs->GetSelectedTab() ? tabs->GetSelectedIndex() : -1; }

// The tablet settings' choice; without them the schedules are offered.
bool SchedulesHidden() {
    CMainWnd* main = GetTabletMainWnd();
    return main && (main->GetTabletSettings().GetFlags() & kTabletNoLightingSchedules);
}

}  // namespace

CLightingPage::CLightingPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), m_server(server) {
    SetPageId(kPageId);
    const bool schedules = !SchedulesHidden();
    // The tab row leaves room for the side list.
    if (schedules) SetHasSideList(1);
    BuildTabs();
    if (schedules) {
        CTabContainer* side = Tabs(CreateSideList());
        side->AddTab("Schedules", kSchedulesId);
        side->Select(-1, 0);
    }
    if (!GetTabControl()) {
        SetTabControl(CreateLoadingTabs());
        RequestRebuild(1);
    }
    const int remembered = ClampRememberedTab();
    Tabs(GetTabControl())->Select(remembered, 0);
    m_currentCommand = kFirstTab + remembered;
    Rebuild();
}

void CLightingPage::BuildTabs() {
    if (CZVWindow* old = GetTabControl()) {
        RemoveChild(old);
        delete old;
        SetTabControl(nullptr);
    }
    m_areas.clear();
    CZVQuery query(m_server, 1);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_LIGHTS_GETAREASQ);
    if (!query.Query(&answer, &request)) return;
    std::vector<CLightingAreaRecord> areas;
    ReadLightingAreas(*answer, &areas);
    if (static_cast<int>(areas.size()) > kLastTab - kFirstTab + 1) areas.resize(kLastTab - kFirstTab + 1);
    CTabContainer* tabs = Tabs(CreateTabs(static_cast<int>(areas.size()), "All Lighting"));
    SetTabControl(tabs);
    if (!tabs) return;
    for (size_t i = 0; i < areas.size(); ++i) tabs->AddTab(areas[i].name.c_str(), kFirstTab + static_cast<int>(i));
    m_areas = std::move(areas);
}

int CLightingPage::ClampRememberedTab() {
    CTabContainer* tabs = Tabs(GetTabControl());
    const int last = tabs ? tabs->GetTabCount() - 1 : 0;
    const int remembered = std::clamp(GetPageVariable(kTabVariable), 0, std::max(last, 0));
    SetPageVariable(kTabVariable, remembered);
    return remembered;
}

int CLightingPage::OnCommand(int id) {
    ShowTab(id, 1);
    return 1;
}

void CLightingPage::OnShow(int show) {
    CTabContainer* tabs = Tabs(GetTabControl());
    if (show && tabs && SelectedIndex(tabs) != GetPageVariable(kTabVariable)) {
        const int remembered = ClampRememberedTab();
        tabs->Select(remembered, 1);
        if (remembered < tabs->GetTabCount()) OnCommand(kFirstTab + remembered);
    }
    CPageBase::OnShow(show);
}

void CLightingPage::Rebuild() {
    DeleteContent();
    m_content = nullptr;
    ShowTab(m_currentCommand, 0);
}

void CLightingPage::RemoveContent() {
    if (!m_content) return;
    RemoveChild(m_content);
    delete m_content;
    m_content = nullptr;
}

void CLightingPage::SetContent(CZVWindow* window, int redraw) {
    RemoveContent();
    m_content = window;
    AddChild(window);
    if (redraw) window->Redraw(1);
}

void CLightingPage::ShowTab(int command, int redraw) {
    CTabContainer* tabs = Tabs(GetTabControl());
    CZVRect rect;
    GetContentRect(&rect, tabs);
    InsetContentRect(&rect);
    if (command >= kFirstTab && command <= kLastTab) {
        SetPageVariable(kTabVariable, command - kFirstTab);
        if (CTabContainer* side = Tabs(GetSideList())) side->Select(-1, 1);
        RemoveContent();
        const int index = SelectedIndex(tabs);
        if (index < 0 || index >= GetAreaCount()) return;
        const CLightingAreaRecord& area = m_areas[static_cast<size_t>(index)];
        CZVWindow* content = nullptr;
        if (area.flags & kPanelFlag)
            content = new CGatewayPanel(this, rect, m_styleClass, kPanelId, area.id);
        else
            content = new CKeypadCtl(this, rect, m_styleClass, m_server, area.id, 1, 0, 0, 1);
        SetContent(content, redraw);
        m_currentCommand = command;
        SendPageShown();
    } else if (command == kSchedulesId) {
        if (tabs) tabs->Select(-1, 1);
        SetContent(new CScheduleCommandsView(this, rect, m_faceColor, m_server, nullptr), redraw);
        m_currentCommand = kSchedulesId;
    }
}

// ---- registration

namespace {

CZVServer* Server() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

CZVWindow* MakeLightingPage(CZVWindow* parent, int, CZVRect rect) {
    CZVServer* server = Server();
    return server ? new CLightingPage(parent, rect, *server) : nullptr;
}

CZVWindow* MakeKeypad(CPageControlArgs& a) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CKeypadCtl(a.parent, a.rect, 5, *server, a.desc.id, a.desc.Attribute(kAttrParameter) == 0 ? 1 : 0,
                          a.fontSize, a.textColor, 0);
}

CZVWindow* MakeLightSwitch(CPageControlArgs& a) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CLightSwitchCtl(a.parent, a.rect, *server, a.desc.type, a.desc.id,
                               static_cast<uint8_t>(a.desc.Attribute(kAttrParameter)), a.desc.text, a.desc.value);
}

CZVWindow* MakeGatewayButton(CPageControlArgs& a) {
    return new CGatewayButton(a.parent, a.rect, a.desc.id, a.desc.type, a.desc.text, a.fontSize, a.textColor,
                              a.faceColor, a.parameter, a.desc.text2);
}

CZVWindow* MakeOnOffButton(CPageControlArgs& a) {
    return new COnOffButton(a.parent, a.rect, a.desc.id, a.desc.type, a.desc.text, a.fontSize, a.textColor, a.faceColor,
                            a.parameter, a.desc.text2);
}

CZVWindow* MakeButtonGrid(CPageControlArgs& a) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CButtonGridCtl(a.parent, a.rect, 5, *server, a.parameter, a.fontSize);
}

CZVWindow* MakeSceneButton(CPageControlArgs& a) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CSceneButton(a.parent, a.rect, *server, a.desc.text, a.fontSize, a.textColor, a.faceColor, a.desc.type,
                            a.desc.id);
}

}  // namespace

void RegisterLightingPages() {
    static const CPageMakerRow kPages[] = {{CLightingPage::kPageId, MakeLightingPage}};
    static const CControlMakerRow kControls[] = {
        {121, MakeGatewayButton, k3DButton | kFormat18},
        {129, MakeKeypad, kSkipCommon},
        {140, MakeLightSwitch, kSkipCommon},
        {141, MakeLightSwitch, kSkipCommon},
        {142, MakeLightSwitch, kSkipCommon},
        {143, MakeLightSwitch, kSkipCommon},
        {144, MakeLightSwitch, kSkipCommon},
        {145, MakeLightSwitch, kSkipCommon},
        {150, MakeOnOffButton, k3DButton | kFormat18},
        {174, MakeOnOffButton, k3DButton | kFormat18},
        {177, MakeLightSwitch, kSkipCommon},
        {178, MakeLightSwitch, kSkipCommon},
        {179, MakeButtonGrid, kSkipCommon},
        {188, MakeSceneButton, k3DButton | kFormat18},
        {189, MakeSceneButton, k3DButton | kFormat18},
    };
    RegisterPageMakers(kPages);
    RegisterControlMakers(kControls);
}
