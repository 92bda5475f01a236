#include "vistrel/home/climate/hvacoptions.h"

#include <algorithm>
#include <string>

#include "core/messages/climatemessages.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/buttons/rockerswitch.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"

namespace {

constexpr const char* kSource = "thvaczone";
constexpr int kNoSelectionLine = 216;
constexpr int kRadioClass = 17;
constexpr int kRadioGap = 4;
constexpr int kIconLayout = 49;
constexpr int kCaptionStart = 24;
constexpr int kHoldColumn = 70;
constexpr int kHoldGap = 2;
constexpr int kPressStep = 10;
constexpr int kSecondsPerStep = 60;
constexpr int kCountdownMs = 1000;
constexpr int kUpIcon = 6;
constexpr int kDownIcon = 7;
constexpr const char* kTimedHoldText = "Timed\nHold";

int g_lastTab = CHvacOptionFrame::kScheduleTab;

void SendValues(CThermostatZone& zone, uint16_t id, std::initializer_list<int> values) {
    CZVServer* server = zone.GetServer();
    if (!server) return;
    CZVMSG message(0, id);
    message.WriteInt(zone.GetZoneId());
    for (int value : values) message.WriteInt(value);
    server->Send(&message);
}

bool Blocked(CZVWindow* window) { return CMainWndBase::InputBlockedFor(window) != 0; }

}  // namespace

// ---- an option page

CHvacOptionPage::CHvacOptionPage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone,
                                 std::vector<CHvacOption> entries)
    : CZVWindow(parent, rect, kStyleClass), m_zone(zone), m_entries(std::move(entries)) {
    if (parent) SetColors(parent->GetFaceColor(), parent->GetFaceColor());
}

void CHvacOptionPage::BuildRadio(CZVRect area, int groupId) {
    const int height = std::min(area.h, kMaxStripHeight);
    const CZVRect strip(area.x, area.y + (area.h - height) / 2, area.w, height);
    m_radio =
        new CZVRadio(this, strip, groupId, static_cast<int>(m_entries.size()), 1, 0, kRadioClass, kRadioGap, 0, 1);
    m_radio->SetColors(GetFaceColor(), GetFaceColor());
    AddChild(m_radio);
    FillRadio();
}

void CHvacOptionPage::FillRadio() {
    // The icon takes a square at the left of each option; the caption the rest.
    CCaptionFitter captions(this);
    for (int i = 0; i < m_radio->GetOptionCount(); ++i) {
        const CHvacOption& entry = m_entries[static_cast<size_t>(i)];
        m_radio->SetOptionText(i, entry.text);
        m_radio->SetOptionIcon(i, entry.icon, kIconLayout);
        CZVCheckButton* option = m_radio->GetOption(i);
        const int icon = std::min(option->GetHeight(), option->GetWidth() / 3);
        captions.AddCaption(entry.text, CZVRect(icon, 0, option->GetWidth() - icon - option->GetBevel(),
                                                option->GetHeight() - 2 * option->GetBevel()));
    }
    const int size = captions.FindFontSize(1, 1, kCaptionStart);
    for (int i = 0; i < m_radio->GetOptionCount(); ++i) m_radio->GetOption(i)->SetFontSize(size);
}

int CHvacOptionPage::IndexOfValue(int value) const {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].value == value) return static_cast<int>(i);
    return -1;
}

int CHvacOptionPage::SelectedValue() const {
    const int index = m_radio ? m_radio->GetSelection() : -1;
    if (index < 0 || index >= static_cast<int>(m_entries.size())) {
        ReportAssert(kSource, kNoSelectionLine, 1);
        return kNoValue;
    }
    return m_entries[static_cast<size_t>(index)].value;
}

void CHvacOptionPage::SendMode(int systemMode, int fanMode) {
    SendValues(m_zone, ZVM_HVAC_SETMODE, {systemMode, fanMode});
}

// ---- the hold page

CHvacHoldPage::CHvacHoldPage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone)
    : CHvacOptionPage(parent, rect, zone,
                      {{"Run\nProgram", 0, "MAIN\\STATISTICS_RELOAD_32"},
                       {"Permanent\nHold", 1, "MAIN\\STATISTICS_LOCK_32"},
                       {"Temporary\nHold", 2, "MAIN\\STATISTICS_NEXT_32"},
                       {kTimedHoldText, kTimedHold, "MAIN\\STATISTICS_CLOCK_32"}}),
      m_countdownStart(platform::GetTickCount()) {
    CZVRect area;
    GetClientRect(&area);
    const CZVRect column(area.x + area.w - kHoldColumn, area.y, kHoldColumn, area.h);
    area.w -= kHoldColumn + kHoldGap;
    m_rocker = new CRockerSwitch(this, column, kRadioClass, kMinusId, kPlusId, 1, 2);
    CSetServer* style = CSetServer::Get();
    const COLORREF iconColour = style ? style->GetStyleColor(4, 0) : GetTextColor();
    for (int i = 0; i < 2; ++i) {
        CZV3DButton* segment = m_rocker->GetSegment(i);
        if (!segment) continue;
        segment->SetIconKind(i == 0 ? kDownIcon : kUpIcon, &iconColour);
        segment->SetAutoRepeat(1);
        segment->SetRepeatTiming(250, 10, 500, 1500);
        segment->SetPressIds(i == 0 ? kMinusPressId : kPlusPressId, kReleaseId);
    }
    AddChild(m_rocker);
    BuildRadio(area, kRadioId);
    SetTimer(kCountdownMs);
    UpdateFromZone(0);
}

void CHvacHoldPage::EnableSteps(int enable, int redraw) { m_rocker->Enable(enable, redraw); }

void CHvacHoldPage::UpdateFromZone(int animate) {
    const CZoneStatus& status = m_zone.GetStatus();
    if (status.systemMode == kModeOff || status.systemMode == kModeNotReady) {
        m_radio->Enable(0, animate);
        m_radio->Select(-1, animate);
        EnableSteps(0, animate);
        return;
    }
    m_radio->Enable(1, animate);
    const int hold = status.holdMode;
    m_radio->Select(hold >= 0 && hold <= kTimedHold ? hold : -1, animate);
    if (hold == kTimedHold) {
        m_countdownStart = platform::GetTickCount();
        EnableSteps(1, animate);
        ShowCountdown();
        return;
    }
    CZVCheckButton* timed = m_radio->GetOption(kTimedHold);
    if (timed && std::string(timed->GetText().GetAnsi()) != kTimedHoldText) {
        m_radio->SetOptionText(kTimedHold, kTimedHoldText);
        if (animate) timed->Redraw(1);
    }
    EnableSteps(0, animate);
}

int CHvacHoldPage::RemainingSeconds() const {
    const int elapsed = static_cast<int>(platform::TicksSince(m_countdownStart) / 1000);
    return std::max(m_zone.GetStatus().holdSeconds - elapsed, 0);
}

void CHvacHoldPage::ShowCountdown() {
    if (m_zone.GetStatus().systemMode == kModeNotReady) return;
    const int remaining = RemainingSeconds();
    CZVString text;
    text.Format("Hold For\n%d:%02d:%02d", remaining / 3600, remaining / 60 % 60, remaining % 60);
    m_radio->SetOptionText(kTimedHold, text);
    if (IsShown())
        if (CZVCheckButton* timed = m_radio->GetOption(kTimedHold)) timed->Redraw(1);
}

void CHvacHoldPage::TakeOverRemaining() {
    m_zone.SetHoldSeconds(RemainingSeconds());
    m_countdownStart = platform::GetTickCount();
}

void CHvacHoldPage::StepSeconds(int delta) {
    m_zone.SetHoldSeconds(std::clamp(m_zone.GetStatus().holdSeconds + delta, kMinSeconds, kMaxSeconds));
    ShowCountdown();
}

int CHvacHoldPage::OnCommand(int id) {
    switch (id) {
    case kRadioId:
        // A choice outside the entries sends -1: the gateway leaves the hold as it is.
        SendValues(m_zone, ZVM_HVAC_SETHOLD, {m_radio->GetSelection()});
        break;
    case kPlusPressId:
    case kMinusPressId:
        // The steps count from the time that is left, as shown.
        TakeOverRemaining();
        StepSeconds((id == kPlusPressId ? 1 : -1) * kPressStep * kSecondsPerStep);
        break;
    case kPlusId:
    case kMinusId: StepSeconds((id == kPlusId ? 1 : -1) * kSecondsPerStep); break;
    case kReleaseId: SendValues(m_zone, ZVM_HVAC_SETTIMEDHOLD, {m_zone.GetStatus().holdSeconds}); break;
    default: break;
    }
    return 1;
}

void CHvacHoldPage::OnTimer() {
    const CZoneStatus& status = m_zone.GetStatus();
    if (status.holdMode == kTimedHold && status.systemMode != kModeOff && !Blocked(this)) ShowCountdown();
}

// ---- the mode page

std::vector<CHvacOption> CHvacModePage::Entries(CThermostatZone& zone) {
    std::vector<CHvacOption> entries = {{"System\nOff", kModeOff, "<<HVACDEFAULT>>OFF"}};
    if (zone.HasHeat()) entries.push_back({"Heat", kModeHeat, "<<HVACDEFAULT>>HEAT"});
    if (zone.HasCool()) entries.push_back({"Cool", kModeCool, "<<HVACDEFAULT>>COOL"});
    if (zone.HasAutoMode() && zone.HasHeat() && (zone.HasCool() || zone.HasEmergencyHeat()))
        entries.push_back({"Automatic\nHeat/Cool", kModeAuto, "<<HVACDEFAULT>>AUTO"});
    if (zone.HasEmergencyHeat()) entries.push_back({"Emergency\nHeat", kModeEmergencyHeat, "<<HVACDEFAULT>>HEAT"});
    return entries;
}

CHvacModePage::CHvacModePage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone)
    : CHvacOptionPage(parent, rect, zone, Entries(zone)) {
    CZVRect area;
    GetClientRect(&area);
    BuildRadio(area, kRadioId);
    UpdateFromZone(0);
}

void CHvacModePage::UpdateFromZone(int animate) {
    m_radio->Select(IndexOfValue(m_zone.GetStatus().systemMode), animate);
}

int CHvacModePage::OnCommand(int id) {
    if (id != kRadioId) return CHvacOptionPage::OnCommand(id);
    const int mode = SelectedValue();
    if (mode != kNoValue) SendMode(mode, m_zone.GetStatus().fanMode);
    return 1;
}

// ---- the fan page

std::vector<CHvacOption> CHvacFanPage::Entries(const CThermostatZone& zone) {
    std::vector<CHvacOption> entries = {{"Automatic", 0, "MAIN\\REFRESH_32"}};
    if (zone.GetCapabilities() & kZoneFanSpeeds) {
        entries.push_back({"Low", 4, "MAIN\\RELOAD_32"});
        entries.push_back({"Medium", 1, "MAIN\\RELOAD_32"});
        entries.push_back({"High", 3, "MAIN\\RELOAD_32"});
    } else {
        entries.push_back({"Continuous", 1, "MAIN\\RELOAD_32"});
    }
    return entries;
}

CHvacFanPage::CHvacFanPage(CZVWindow* parent, CZVRect rect, CThermostatZone& zone)
    : CHvacOptionPage(parent, rect, zone, Entries(zone)) {
    CZVRect area;
    GetClientRect(&area);
    if (m_entries.size() < 3) area.w /= 2;
    BuildRadio(area, kRadioId);
    UpdateFromZone(0);
}

void CHvacFanPage::UpdateFromZone(int animate) { m_radio->Select(IndexOfValue(m_zone.GetStatus().fanMode), animate); }

int CHvacFanPage::OnCommand(int id) {
    if (id != kRadioId) return CHvacOptionPage::OnCommand(id);
    const int fan = SelectedValue();
    if (fan != kNoValue) SendMode(m_zone.GetStatus().systemMode, fan);
    return 1;
}

// ---- the frame

CHvacOptionFrame::CHvacOptionFrame(CZVWindow* parent, CZVRect rect, int styleClass, CThermostatZone& zone)
    : CTRRegion(parent, rect, styleClass, parent ? parent->GetFaceColor() : 0, parent ? parent->GetFaceColor() : 0),
      m_zone(zone) {
    const int fan = zone.HasFan();
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Schedule", kScheduleTab, nullptr));
    if (fan) descriptors.AddTail(new CTabDescriptor("Fan", kFanTab, nullptr));
    descriptors.AddTail(new CTabDescriptor("Mode", kModeTab, nullptr));
    SetTabCount(fan ? 3 : 2, 0, &descriptors);
    const int index = g_lastTab == kFanTab && fan ? 1 : g_lastTab == kModeTab ? (fan ? 2 : 1) : 0;
    GetTabs()->Select(index, 0);
    static const int kTabsByIndex[2][3] = {{kScheduleTab, kModeTab, kModeTab}, {kScheduleTab, kFanTab, kModeTab}};
    ShowOption(kTabsByIndex[fan ? 1 : 0][index], 0);
}

CHvacOptionFrame::~CHvacOptionFrame() {
    // The page reads the zone: it goes first.
    if (m_page) {
        RemoveChild(m_page);
        delete m_page;
    }
}

int CHvacOptionFrame::GetLastTab() { return g_lastTab; }

void CHvacOptionFrame::ShowOption(int tabId, int repaint) {
    if (tabId < kScheduleTab || tabId > kModeTab) return;
    g_lastTab = tabId;
    if (m_page) {
        RemoveChild(m_page);
        delete m_page;
        m_page = nullptr;
    }
    CZVRect rect;
    GetContentRect(&rect);
    if (tabId == kScheduleTab)
        m_page = new CHvacHoldPage(this, rect, m_zone);
    else if (tabId == kFanTab)
        m_page = new CHvacFanPage(this, rect, m_zone);
    else
        m_page = new CHvacModePage(this, rect, m_zone);
    AddChild(m_page);
    m_page->Show(IsShown(), 0);
    if (repaint) m_page->Redraw(1);
}

void CHvacOptionFrame::Update(int animate) {
    if (m_page) m_page->UpdateFromZone(animate);
    GetTabs()->Enable(m_zone.GetStatus().systemMode != kModeNotReady, animate);
}

int CHvacOptionFrame::OnCommand(int id) {
    if (id >= kScheduleTab && id <= kModeTab) {
        ShowOption(id, 1);
        return 1;
    }
    return CTRRegion::OnCommand(id);
}
