#include "vistrel/home/climate/climatepages.h"

#include <algorithm>

#include "core/messages/climatemessages.h"
#include "core/zvquery.h"
#include "vistrel/home/climate/climatelists.h"
#include "vistrel/home/climate/climaterows.h"
#include "vistrel/home/climate/hvachistory.h"
#include "vistrel/home/climate/hvacschedule.h"
#include "vistrel/home/climate/zonepage.h"
#include "vistrel/shell/gatewaypanel.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kIconLayout = 9;
constexpr int kHostedViewType = 170;
constexpr int kRegionClass = 6;
constexpr const char* kNoTemperature = "--";

CTabContainer* Tabs(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }

int Blocked(CZVWindow* window) { return CMainWndBase::InputBlockedFor(window) ? 1 : 0; }

}  // namespace

// ---- the climate page

CClimatePage::CClimatePage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server), m_schedules(std::make_unique<CHvacZoneList>(server)) {
    SetPageId(kPageId);
    if (!LoadZones(server)) {
        SetTabControl(CreateLoadingTabs());
        RequestRebuild(1);
    }
    TakeZoneToShow();
    SetPageVariable(kClimateTabVariable, ClampedTabIndex());
    Rebuild();
    server.RegisterSink(this);
    CZVMSG subscribe(GetId(), ZVM_HVAC_SUBSCRIBECLIMATEQ);
    server.Send(&subscribe);
}

CClimatePage::~CClimatePage() {
    RemoveContent();
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

int CClimatePage::LoadZones(CZVServer& server) {
    CZVQuery query(server, 1);
    CZVMSG* answer = nullptr;
    CZVMSG request(0, ZVM_HVAC_GETDEVICESQ);
    request.WriteInt(kDevicesZones);
    if (!query.Query(&answer, &request)) return 0;
    std::vector<CClimateZoneEntry> entries;
    int32_t history = 0;
    ReadClimateZones(answer, &history, &entries);
    m_history = history;
    const int count = std::min(static_cast<int>(entries.size()), kLastTab - kFirstTab + 1);
    CTabContainer* tabs = Tabs(CreateTabs(count, "All Climate"));
    SetTabControl(tabs);
    for (int i = 0; i < count; ++i) {
        const CClimateZoneEntry& entry = entries[static_cast<size_t>(i)];
        const CZVString name(entry.name.c_str());
        tabs->AddTab(name, kFirstTab + i);
        auto zone =
            std::make_unique<CThermostatZone>(&server, entry.zoneId, name, (entry.flags & kZoneFlagHumidistat) != 0, 0);
        zone->SetPanelZone((entry.flags & kZoneFlagPanel) != 0);
        m_zones.push_back(std::move(zone));
    }
    return 1;
}

CThermostatZone* CClimatePage::GetZone(int index) const {
    return index >= 0 && index < GetZoneCount() ? m_zones[static_cast<size_t>(index)].get() : nullptr;
}

int CClimatePage::ClampedTabIndex() const {
    CTabContainer* tabs = Tabs(GetTabControl());
    const int last = tabs ? tabs->GetTabCount() - 1 : 0;
    return std::clamp(GetPageVariable(kClimateTabVariable), 0, std::max(last, 0));
}

void CClimatePage::TakeZoneToShow() {
    const int wanted = GetClimateZoneToShow();
    if (!wanted) return;
    SetClimateZoneToShow(0);
    for (int i = 0; i < GetZoneCount(); ++i)
        if (m_zones[static_cast<size_t>(i)]->GetZoneId() == wanted) SetPageVariable(kClimateTabVariable, i);
}

void CClimatePage::RemoveContent() {
    DeleteContent();
    m_content = nullptr;
    m_zonePage = nullptr;
}

int CClimatePage::OnCommand(int id) {
    if (id < kFirstTab || id > kLastTab) return CPageBase::OnCommand(id);
    SelectTab(id - kFirstTab, 1);
    return 1;
}

void CClimatePage::SelectTab(int index, int fromCommand) {
    SetPageVariable(kClimateTabVariable, index);
    CThermostatZone* zone = GetZone(index);
    CZVRect rect;
    GetContentRect(&rect, GetTabControl());
    InsetContentRect(&rect);
    if (!zone) {
        m_contentState = kContentNone;
        m_zonePage = nullptr;
    } else if (zone->IsPanelZone()) {
        RemoveContent();
        SetStatus(0, 0, "", kDefaultStatusColour);
        m_content = new CGatewayPanel(this, rect, m_styleClass, kPanelId, zone->GetZoneId());
        AddChild(m_content);
        m_contentState = kContentPanel;
        if (fromCommand) m_content->Redraw(1);
    } else {
        zone->LoadSchedules();
        const int previous = m_contentState;
        if (m_zonePage) {
            SetStatus(0, 0, "", kDefaultStatusColour);
        } else {
            RemoveContent();
            CZVServer* server = GetServer();
            if (!server) return;
            m_zonePage =
                new CHvacZonePage(this, rect, kZonePageClass, *server, m_faceColor, m_schedules.get(), m_history);
            m_content = m_zonePage;
            AddChild(m_zonePage);
        }
        m_zonePage->SetZoneModel(zone, 0);
        m_contentState = kContentZonePage;
        if (fromCommand) {
            if (previous == kContentZonePage)
                m_zonePage->RedrawBuffered();
            else
                m_zonePage->Redraw(1);
        }
    }
    SendPageShown();
}

void CClimatePage::OnShow(int show) {
    if (show) {
        TakeZoneToShow();
        CTabContainer* tabs = Tabs(GetTabControl());
        if (tabs && tabs->GetSelectedIndex() != GetPageVariable(kClimateTabVariable)) {
            const int index = ClampedTabIndex();
            tabs->Select(index, 0);
            SelectTab(index, 0);
        }
    }
    CPageBase::OnShow(show);
}

void CClimatePage::Rebuild() {
    RemoveContent();
    m_contentState = kContentNone;
    const int index = ClampedTabIndex();
    if (CTabContainer* tabs = Tabs(GetTabControl())) tabs->Select(index, 0);
    SelectTab(index, 0);
}

void CClimatePage::OnResume() {
    SelectTab(ClampedTabIndex(), 0);
    CPageBase::OnResume();
}

void CClimatePage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_SUBSCRIBECLIMATEA) return;
    message->ResetPosition();
    std::vector<CClimateIcon> icons;
    ReadClimateIcons(message, &icons);
    CTabContainer* tabs = Tabs(GetTabControl());
    if (!tabs) return;
    for (const CClimateIcon& icon : icons) {
        for (int i = 0; i < GetZoneCount(); ++i) {
            const CThermostatZone& zone = *m_zones[static_cast<size_t>(i)];
            auto* tab = dynamic_cast<CZVButton*>(tabs->GetTab(i));
            if (tab && !zone.IsPanelZone() && zone.GetZoneId() == icon.zoneId)
                tab->SetIconName(icon.name.c_str(), kIconLayout);
        }
        if (IsShown() && !Blocked(tabs)) tabs->Redraw(1);
    }
}

// ---- the sensors page

CClimateSensorsPage::CClimateSensorsPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server) {
    m_joinsMenuTab = 0;
    SetPageId(kPageId);
    const CZVRect box(rect.w - 155, rect.h - 35, 150, 30);
    auto* panel = new CRRegion(this, box, 8);
    panel->SetFaceColor(GetBackColor());
    AddChild(panel);
    AddLabel(CZVRect(box.x - 205, box.y, box.w, box.h), "Outside Temperature", 16);
    CZVRect inside;
    panel->GetContentRect(&inside);
    m_outside = panel->AddLabel(inside, kNoTemperature, 18);
    m_outside->SetTextColor(GetTextColor());
    m_region = new CTRRegion(this, CZVRect(0, 5, rect.w, rect.h - 44), kRegionClass, GetFaceColor());
    AddChild(m_region);
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Climate Control", kOverviewTab, nullptr));
    descriptors.AddTail(new CTabDescriptor("Sensors", kSensorsTab, nullptr));
    m_region->SetTabCount(2, 1, &descriptors);
    ShowTab(kOverviewTab, 0);
    IsCelsius(&server);
    server.RegisterSink(this);
    AskOutsideTemperature();
    SetTimer(kPollInterval);
}

CClimateSensorsPage::~CClimateSensorsPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CClimateSensorsPage::AskOutsideTemperature() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG ask(GetId(), ZVM_HVAC_GETSENSORTEMPQ);
    server->Send(&ask);
}

void CClimateSensorsPage::OnTimer() { AskOutsideTemperature(); }

int CClimateSensorsPage::OnCommand(int id) {
    if (id != kOverviewTab && id != kSensorsTab) return CZVWindow::OnCommand(id);
    ShowTab(id, 1);
    return 1;
}

void CClimateSensorsPage::ShowTab(int id, int redraw) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVRect rect;
    m_region->GetContentRect(&rect);
    rect.h -= 5;
    if (m_content) {
        m_region->RemoveChild(m_content);
        delete m_content;
    }
    if (id == kOverviewTab)
        m_content = new CHvacOverviewPage(m_region, rect, *server);
    else
        m_content = new CClimateSensorsPanel(m_region, rect, *server);
    m_region->AddChild(m_content);
    m_region->GetTabs()->Select(id - kOverviewTab, 0);
    if (redraw) m_content->Redraw(1);
}

void CClimateSensorsPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_GETSENSORTEMPA) return;
    message->ResetPosition();
    int32_t value = 0;
    if (!ReadOutsideTemperature(message, &value)) return;
    m_outside->SetText(value == kNoClimateByte ? CZVString(kNoTemperature) : FormatTemperature(value), nullptr,
                       IsShown() && !Blocked(m_outside));
}

// ---- the schedule page

CClimateSchedulePage::CClimateSchedulePage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), m_schedules(server) {
    m_joinsMenuTab = 0;
    SetPageId(kPageId);
    m_region = new CTRRegion(this, CZVRect(5, 5, rect.w - 9, rect.h - 9), kRegionClass, GetFaceColor());
    AddChild(m_region);
    BuildTabs();
    // The list fills when the gateway answers, and changes with its pushes. A push that keeps
    // the schedules and their names (an editor's own save) leaves the editor as it is.
    m_schedules.SetChangeCallback([this] {
        if (!TabsChanged()) return;
        BuildTabs();
        if (IsShown() && !Blocked(m_region)) m_region->Redraw(1);
    });
}

CClimateSchedulePage::~CClimateSchedulePage() { m_schedules.SetChangeCallback(nullptr); }

void CClimateSchedulePage::BuildTabs() {
    CZVObList descriptors;
    m_tabSchedules.clear();
    m_tabNames.clear();
    const int count = std::min(m_schedules.GetCount(), kLastTab - kFirstTab + 1);
    for (int i = 0; i < count; ++i) {
        const CHvacZone& zone = *m_schedules.GetAt(i);
        descriptors.AddTail(new CTabDescriptor(zone.GetName(), kFirstTab + i, nullptr));
        m_tabSchedules.push_back(zone.GetScheduleId());
        m_tabNames.push_back(zone.GetName());
    }
    m_region->SetTabCount(count, 0, &descriptors);
    // The shown schedule stays when it is still there, else the first is shown.
    auto kept = std::find(m_tabSchedules.begin(), m_tabSchedules.end(), m_shownSchedule);
    const int index = kept != m_tabSchedules.end() ? static_cast<int>(kept - m_tabSchedules.begin()) : 0;
    if (count > 0) m_region->GetTabs()->Select(index, 0);
    if (count == 0) {
        if (m_content) {
            m_region->RemoveChild(m_content);
            delete m_content;
            m_content = nullptr;
        }
        m_shownSchedule = -1;
        return;
    }
    OnCommand(kFirstTab + index);
}

bool CClimateSchedulePage::TabsChanged() const {
    if (static_cast<int>(m_tabSchedules.size()) != std::min(m_schedules.GetCount(), kLastTab - kFirstTab + 1))
        return true;
    for (size_t i = 0; i < m_tabSchedules.size(); ++i) {
        const CHvacZone& zone = *m_schedules.GetAt(static_cast<int>(i));
        if (zone.GetScheduleId() != m_tabSchedules[i] || !(zone.GetName() == m_tabNames[i])) return true;
    }
    return false;
}

int CClimateSchedulePage::OnCommand(int id) {
    if (id < kFirstTab || id > kLastTab) return CPageBase::OnCommand(id);
    const size_t index = static_cast<size_t>(id - kFirstTab);
    CZVServer* server = m_schedules.GetServer();
    if (index >= m_tabSchedules.size() || !m_schedules.FindById(m_tabSchedules[index]) || !server) return 1;
    if (m_content) {
        m_region->RemoveChild(m_content);
        delete m_content;
    }
    CZVRect rect;
    m_region->GetContentRect(&rect);
    m_content = new CHvacSchedulePage(m_region, rect, *server, nullptr, m_schedules.FindById(m_tabSchedules[index]), 0,
                                      m_schedules);
    m_region->AddChild(m_content);
    m_shownSchedule = m_tabSchedules[index];
    if (IsShown() && !Blocked(m_content)) m_content->Redraw(1);
    return 1;
}

// ---- registration

namespace {

CZVServer* Server() {
    CMainWnd* main = GetTabletMainWnd();
    return main ? main->GetServer() : nullptr;
}

CZVWindow* MakeClimatePage(CZVWindow* parent, int, CZVRect rect) {
    CZVServer* server = Server();
    return server ? new CClimatePage(parent, rect, *server) : nullptr;
}

CZVWindow* MakeClimateSensorsPage(CZVWindow* parent, int, CZVRect rect) {
    CZVServer* server = Server();
    return server ? new CClimateSensorsPage(parent, rect, *server) : nullptr;
}

CZVWindow* MakeClimateSchedulePage(CZVWindow* parent, int, CZVRect rect) {
    CZVServer* server = Server();
    return server ? new CClimateSchedulePage(parent, rect, *server) : nullptr;
}

CZVWindow* MakeThermostatList(CPageControlArgs& args) {
    CZVServer* server = Server();
    return server ? new CThermostatList(args.parent, args.rect, *server, args.desc.type, args.fontSize) : nullptr;
}

CZVWindow* MakeZonePage(CPageControlArgs& args) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    auto* page = new CHvacZonePage(args.parent, args.rect, CClimatePage::kZonePageClass, *server,
                                   args.parent->GetFaceColor(), nullptr, 0);
    page->CZVWindow::SetText(args.desc.text, nullptr, 0);
    page->SetZone(args.desc.id);
    return page;
}

CZVWindow* MakeHostedView(CPageControlArgs& args) {
    CZVServer* server = Server();
    if (!server) return nullptr;
    return new CHostedViewWnd(args.parent, args.rect, *server, args.desc.id);
}

}  // namespace

void RegisterClimatePages() {
    static const CPageMakerRow kPages[] = {
        {CClimatePage::kPageId, MakeClimatePage},
        {CClimateSensorsPage::kPageId, MakeClimateSensorsPage},
        {CClimateSchedulePage::kPageId, MakeClimateSchedulePage},
    };
    static const CControlMakerRow kControls[] = {
        {CThermostatList::kTypePlain, MakeThermostatList, kSkipCommon},
        {CThermostatList::kTypeWithSchedule, MakeThermostatList, kSkipCommon},
        {154, MakeZonePage, kSkipCommon},
        {kHostedViewType, MakeHostedView, kSkipCommon},
    };
    RegisterPageMakers(kPages);
    RegisterControlMakers(kControls);
}
