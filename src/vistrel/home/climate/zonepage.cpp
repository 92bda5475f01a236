#include "vistrel/home/climate/zonepage.h"

#include <algorithm>

#include "core/messages/climatemessages.h"
#include "vistrel/home/climate/hvachistory.h"
#include "vistrel/home/climate/hvacschedule.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pbase.h"
#include "widgets/lists/maskrecords.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kInset = 4;
constexpr int kGap = 2;
constexpr int kCaptionFormat = 17;
constexpr const char* kConnectingText = "Connecting to Thermostat...";
// The tablet settings flag that hides the schedule tabs; the settings are
// not kept by this program, so the flag reads as clear.
constexpr int kHideSchedulesFlag = 0x4;
constexpr int kTabletSettingsFlags = 0;

// Without the main window there are no house modes: every program reads "All".
class CNoHouseModes : public IHouseModeNames {
public:
    int GetCount() const override { return 0; }
    CZVString GetName(int) const override { return ""; }
};

CPageBase* EnclosingPage(CZVWindow* window) { return dynamic_cast<CPageBase*>(window->GetPage()); }

bool Blocked(CZVWindow* window) { return CMainWndBase::InputBlockedFor(window); }

}  // namespace

// ---- the lamp

CThermostatModeButton::CThermostatModeButton(CZVWindow* parent, CZVRect rect, CZVString caption, COLORREF lamp)
    : CZVCheckButton(parent, rect, kNoCommand, kStyleClass) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVWindow::SetText(caption, nullptr, 0);
    SetCheckedColor(lamp);
    const int raised = CSetServer::CurrentStyle(CHvacZoneMainPage::kStyleClass, 5) / 2;
    m_raisedLevel = raised > 1 ? raised : 2;
    SetBevel(0);
    SetFontSize(CSetServer::CurrentStyle(CHvacZoneMainPage::kStyleClass, 7));
    if (CSetServer* style = CSetServer::Get()) SetTextColor(style->GetStyleColor(CHvacZoneMainPage::kStyleClass, 1));
    SetLocked(1);
}

// ---- the equipment lamps

CEquipmentPanel::CEquipmentPanel(CZVWindow* parent, CZVRect rect, CThermostatZone& zone)
    : CZVWindow(parent, rect, CHvacZoneMainPage::kStyleClass) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    zone.HasHeat();  // the capabilities below are the loaded ones
    struct Lamp {
        bool present;
        const char* caption;
        COLORREF colour;
        CThermostatModeButton** slot;
    };
    const Lamp lamps[] = {
        {(zone.GetCapabilities() & kZoneSync) != 0, "Sync", kSyncColour, &m_sync},
        {zone.HasFan() != 0, "Fan", kFanColour, &m_fan},
        {zone.HasHeat() != 0, "Heat", kHeatColour, &m_heat},
        {zone.HasCool() != 0, "Cool", kCoolColour, &m_cool},
    };
    const int count =
        static_cast<int>(std::count_if(std::begin(lamps), std::end(lamps), [](const Lamp& l) { return l.present; }));
    if (count == 0) return;
    const int share = rect.w / count;
    int right = rect.w;
    for (const Lamp& lamp : lamps) {
        if (!lamp.present) continue;
        auto* button =
            new CThermostatModeButton(this, CZVRect(right - share, 0, share, rect.h), lamp.caption, lamp.colour);
        AddChild(button);
        *lamp.slot = button;
        right -= share;
    }
}

void CEquipmentPanel::Update(const CThermostatZone& zone, int redraw) {
    const CZoneStatus& s = zone.GetStatus();
    const std::pair<CThermostatModeButton*, int> states[] = {
        {m_heat, s.heatActive}, {m_cool, s.coolActive}, {m_fan, s.fanActive}, {m_sync, s.syncState == 0}};
    for (const auto& [lamp, on] : states)
        if (lamp) lamp->SetCheck(on != 0, 0, redraw);
}

// ---- the main page

CHvacZoneMainPage::CHvacZoneMainPage(CZVWindow* parent, CZVRect rect, CZVServer& server, CThermostatZone& zone)
    : CZVWindow(parent, rect, kStyleClass), CSocketSink(server), m_zone(zone) {
    CZVRect inner;
    GetClientRect(&inner);
    inner = CZVRect(inner.x + kInset, inner.y + kInset, inner.w - 2 * kInset, inner.h - 2 * kInset);
    const int strip = 3 * GetFontSize() + 2 * GetBevel();
    const int dialHeight = (m_height - strip - kGap) / 2;
    const CZVRect dial(inner.x, inner.y, inner.w, dialHeight);
    const int bottomTop = inner.y + inner.h - strip;
    const int optionsTop = dial.y + dial.h + kGap + kGap;
    const CZVRect options(inner.x, optionsTop, inner.w, bottomTop - kGap - kGap - optionsTop);
    m_dial = new CThermostatDial(this, dial, zone);
    AddChild(m_dial);
    m_options = new CHvacOptionFrame(this, options, kStyleClass, zone);
    AddChild(m_options);

    const int captionHeight = GetFontSize() * 12 / 10;
    const int leftWidth = inner.w * 2 / 3;
    const CZVRect left(inner.x, bottomTop, leftWidth, strip);
    const CZVRect right(inner.x + leftWidth, bottomTop, inner.w - leftWidth, strip);
    AddLabel(CZVRect(left.x, left.y, left.w, captionHeight), "Equipment Status", GetFontSize())
        ->SetTextFormat(kCaptionFormat);
    m_equipment =
        new CEquipmentPanel(this, CZVRect(left.x, left.y + captionHeight, left.w, strip - captionHeight), zone);
    AddChild(m_equipment);
    AddLabel(CZVRect(right.x, right.y, right.w, captionHeight), "Outside Temperature", GetFontSize())
        ->SetTextFormat(kCaptionFormat);
    m_outside = new CThermostatModeButton(
        this, CZVRect(right.x, right.y + captionHeight, right.w, strip - captionHeight), "", 0);
    AddChild(m_outside);

    server.RegisterSink(this);
    Subscribe();
}

CHvacZoneMainPage::~CHvacZoneMainPage() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG leave(0, ZVM_HVAC_UNSUBSCRIBE);
    leave.WriteInt(GetId());
    server->Send(&leave);
    server->UnregisterSink(this);
}

void CHvacZoneMainPage::Subscribe() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG subscribe(0, ZVM_HVAC_SUBSCRIBEQ);
    subscribe.WriteInt(GetId());
    server->Send(&subscribe);
}

void CHvacZoneMainPage::AskStatus() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG ask(GetId(), ZVM_HVAC_GETTHERMOSTATQ);
    ask.WriteInt(m_zone.GetZoneId());
    server->Send(&ask);
}

void CHvacZoneMainPage::OnPaint(CZVDC* dc) {
    CZVWindow::OnPaint(dc);
    if (m_asked) return;
    m_asked = 1;
    AskStatus();
}

void CHvacZoneMainPage::OnConnect(int connected) {
    if (connected) Subscribe();
}

void CHvacZoneMainPage::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    if (message->GetId() == ZVM_HVAC_ZONECHANGED)
        AskStatus();
    else if (message->GetId() == ZVM_HVAC_GETTHERMOSTATA)
        OnStatus(message);
}

void CHvacZoneMainPage::OnStatus(CZVMSG* message) {
    if (!m_zone.ParseStatus(message)) return;
    const int blocked = Blocked(this);
    if (!blocked) {
        const int redraw = IsShown();
        m_equipment->Update(m_zone, redraw);
        m_dial->UpdateFromZone(m_zone);
        m_options->Update(redraw);
        const int outside = m_zone.GetStatus().outsideTemperature;
        const bool none = outside == kNoClimateValue || outside == kNoClimateByte;
        m_outside->CZVWindow::SetText(none ? CZVString("") : FormatTemperature(outside), nullptr, 0);
        if (redraw) m_outside->Redraw(1);
        m_hasStatus = 1;
    }
    ShowConnecting(!blocked);
}

void CHvacZoneMainPage::ShowConnecting(int redraw) {
    if (CPageBase* page = EnclosingPage(this))
        page->SetStatus(m_zone.GetStatus().systemMode == kModeNotReady, redraw, kConnectingText, kConnectingColour);
}

// ---- the zone page

CHvacZonePage::CHvacZonePage(CZVWindow* parent, CZVRect rect, int styleClass, CZVServer& server, COLORREF faceColour,
                             CHvacZoneList* schedules, int history)
    : CTRRegion(parent, rect, styleClass, parent ? parent->GetFaceColor() : 0, faceColour),
      m_server(server),
      m_schedules(schedules),
      m_history(history) {
    if (!m_schedules) {
        m_ownSchedules = std::make_unique<CHvacZoneList>(server);
        m_schedules = m_ownSchedules.get();
    }
}

CHvacZonePage::~CHvacZonePage() {
    // The content reads the zone: it goes first.
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
    }
}

CZVString CHvacZonePage::ScheduleTabText(const CZoneProgram& program) const {
    CSetServer* style = CSetServer::Get();
    if (style && style->IsSpecial()) return "Schedule";
    static const CNoHouseModes kNone;
    CZVString modes;
    const CMainWnd* main = GetTabletMainWnd();
    const IHouseModeNames& names = main ? static_cast<const IHouseModeNames&>(main->GetHouseModes()) : kNone;
    FormatMaskNames(&modes, program.GetProgramId(), names);
    CZVString text;
    text.Format("Schedule\n%s", modes.GetAnsi());
    return text;
}

int CHvacZonePage::BuildZoneTabs(int keepId) {
    m_tabIds.clear();
    CZVObList descriptors;
    auto add = [&](CZVString caption, int id) {
        descriptors.AddTail(new CTabDescriptor(caption, id, nullptr));
        m_tabIds.push_back(id);
    };
    add(m_zone->IsHumidistat() ? "Humidity" : "Temperature", kTabMain);
    if (m_history) add("History", kTabHistory);
    if (!m_zone->IsHumidistat() && !(kTabletSettingsFlags & kHideSchedulesFlag))
        for (int i = 0; i < m_zone->GetProgramCount() && kTabFirstSchedule + i <= kTabLastSchedule; ++i)
            add(ScheduleTabText(*m_zone->GetProgram(i)), kTabFirstSchedule + i);
    const int count = static_cast<int>(m_tabIds.size());
    SetTabCount(count, 0, &descriptors);
    int index = keepId == kTabHistory                                       ? 1
                : keepId >= kTabFirstSchedule && keepId <= kTabLastSchedule ? keepId - kTabMain
                                                                            : 0;
    index = std::min(index, count - 1);
    GetTabs()->Select(index, 0);
    return m_tabIds[static_cast<size_t>(index)];
}

void CHvacZonePage::SetZoneModel(CThermostatZone* zone, int repaint) {
    m_zone = zone;
    if (!m_zone) return;
    if (m_currentTab >= kTabFirstSchedule && m_currentTab <= kTabLastSchedule &&
        m_currentTab - kTabFirstSchedule >= m_zone->GetProgramCount())
        m_currentTab = m_zone->GetProgramCount() > 0 ? kTabHistory + m_zone->GetProgramCount() : kTabMain;
    m_currentTab = BuildZoneTabs(m_currentTab);
    ShowTab(m_currentTab, repaint);
}

void CHvacZonePage::SetZone(int zoneId) {
    m_ownZone = std::make_unique<CThermostatZone>(&m_server, zoneId, GetText(), 0, 0);
    m_ownZone->LoadInfo();
    m_ownZone->LoadSchedules();
    SetZoneModel(m_ownZone.get(), 0);
}

void CHvacZonePage::ShowTab(int id, int repaint) {
    const bool known = id == kTabMain || id == kTabHistory || (id >= kTabFirstSchedule && id <= kTabLastSchedule);
    if (m_tabIds.empty() || !known || !m_zone) {
        CTRRegion::OnCommand(id);
        return;
    }
    if (CPageBase* page = EnclosingPage(this)) page->SetStatus(0, 0, "", CHvacZoneMainPage::kConnectingColour);
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
        m_content = nullptr;
    }
    CZVRect rect;
    GetContentRect(&rect);
    if (id == kTabMain) {
        m_content = new CHvacZoneMainPage(this, rect, m_server, *m_zone);
    } else if (id == kTabHistory) {
        m_content = new CHvacHistoryGraph(this, rect, m_server, *m_zone, nullptr);
    } else {
        m_content = new CHvacSchedulePage(this, rect, m_server, m_zone, nullptr, id - kTabFirstSchedule, *m_schedules);
    }
    AddChild(m_content);
    m_currentTab = id;
    if (repaint) m_content->Redraw(1);
}

int CHvacZonePage::OnCommand(int id) {
    ShowTab(id, 1);
    return 1;
}
