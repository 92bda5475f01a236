#include "vistrel/home/security/securityzones.h"

#include "core/messages/securitymessages.h"
#include "core/zvquery.h"
#include "gfx/speed.h"
#include "vistrel/home/security/securitykeypad.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pbase.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/lists/textlist.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kPanelClass = 8;
constexpr int kLabelClass = 5;
constexpr int kLabelFont = 22;
constexpr int kLabelFormat = 18;
constexpr int kStatusCacheKey = 1500;
constexpr int kBandHeight = 50;
constexpr int kCaptionHeight = 25;
constexpr int kSelectedRowHeight = 25;
constexpr COLORREF kFaultColour = 0x0000C8;
constexpr COLORREF kBypassedColour = 0x4B4B4B;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr int kTextStyleClass = 8;
constexpr const char* kConnecting = "Connecting to Panel...";

int FontSize() {
    CSetServer* style = CSetServer::Get();
    return style ? style->GetStyle(11, 7) : 14;
}

CMainWnd* MainWindow() { return GetTabletMainWnd(); }

}  // namespace

CSecurityStatusText SecurityStatusText(const CSecurityPartition& partition) {
    const int32_t s = partition.GetStatusWord();
    CZVString text;
    if (s & kSecurityNoPanel) return {CZVString("Connecting, please wait..."), 0};
    if (s & kSecurityAlarm) return {CZVString((s & kSecurityFire) ? "Fire Alarm" : "Alarm Active"), 1};
    if (!(s & kSecurityArmed) || (s & (kSecurityEntryDelay | kSecurityArming))) {
        if (s & kSecurityArming) {
            if (SecurityModeValue(s) == 0) return {CZVString("Arming..."), 0};
            text.Format("Arming in %s Mode", partition.GetCurrentModeName().GetAnsi());
            return {text, 0};
        }
        if (s & kSecurityEntryDelay) return {CZVString("Entry Delay"), 0};
        if (s & kSecurityReady) return {CZVString("Disarmed, Ready to Arm"), 0};
        if (s & kSecurityReadyToBypass) return {CZVString("Disarmed, Ready to Bypass and Arm"), 0};
        return {CZVString("Disarmed, Not Ready to Arm"), 0};
    }
    if (partition.GetModeCount() <= 2) return {CZVString("System is Armed"), 0};
    text.Format("Armed in %s Mode", partition.GetCurrentModeName().GetAnsi());
    return {text, 0};
}

CSecurityZonesPage::CSecurityZonesPage(CZVWindow* parent, CZVRect rect, CSecurityPartition* partition)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0), m_partition(partition) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    const int p = PickByScreenHeight(600, 10, 20);
    CZVRect area(p, p, rect.w - 2 * p, rect.h - 2 * p);
    const CZVRect band(area.x, area.y, area.w, kBandHeight);
    area.y += kBandHeight + p;
    area.h -= kBandHeight + p;

    m_statusPanel = MakePanel(band, &m_statusLabel);
    m_statusPanel->SetCacheKey(reinterpret_cast<const void*>(static_cast<intptr_t>(kStatusCacheKey)));
    AddChild(m_statusPanel);
    m_alarmPanel = MakePanel(band, &m_alarmLabel);
    m_alarmPanel->SetFaceColor(kAlarmFace);
    m_alarmLabel->SetFaceColor(kAlarmFace);
    m_alarmLabel->SetTextColor(kWhite);

    const int left = area.w / 2 - p;
    if (m_partition->IsKeypadAllowed()) {
        m_keypad = new CSecurityKeypadWnd(this, CZVRect(area.x, area.y, left, area.h), m_partition);
        AddChild(m_keypad);
    }
    const CZVRect right(area.x + left + 2 * p, area.y, area.w - left - 2 * p, area.h);
    const int third = right.h / 3;
    auto block = [&](int index) { return CZVRect(right.x, right.y + index * third, right.w, third); };
    m_faults = MakeBlock(block(0), "System Faults", "No System Faults", kFaultColour);
    int next = 1;
    if (m_partition->IsBypassAllowed()) {
        m_bypassed = MakeBlock(block(next++), "Bypassed Zones", "No Bypassed Zones", kBypassedColour);
        m_bypassed->AddRowButton("", 0, "Un-Bypass", kUnbypass, 0, 0, 1);
    }
    m_zoneFaults = MakeBlock(block(next), "Zone Faults", "All Zones Secure", kFaultColour);
    if (m_bypassed) m_zoneFaults->AddRowButton("", 0, "Bypass", kBypass, 0, 0, 1);
    UpdateStatusText(0);
    m_partition->Subscribe(this);
}

CSecurityZonesPage::~CSecurityZonesPage() {
    delete (m_alarmShown ? m_statusPanel : m_alarmPanel);
    if (auto* page = dynamic_cast<CPageBase*>(GetPage())) page->SetStatus(0, 0, "", CPageBase::kDefaultStatusColour);
}

CRRegion* CSecurityZonesPage::MakePanel(CZVRect band, CZVLabel** label) {
    auto* panel = new CRRegion(this, band, kPanelClass);
    CZVRect inside;
    panel->GetContentRectWide(&inside);
    *label = panel->AddLabelClass(inside, "", kLabelFont, kLabelClass);
    (*label)->SetFlag(kLabelMultiLine, 1);
    (*label)->SetTextFormat(kLabelFormat);
    (*label)->SetFaceColor(panel->GetFaceColor());
    return panel;
}

CTextList* CSecurityZonesPage::MakeBlock(CZVRect rect, const char* caption, const char* emptyText, COLORREF colour) {
    const int font = FontSize();
    AddLabel(CZVRect(rect.x, rect.y, rect.w, kCaptionHeight), caption, font);
    auto* list = new CTextList(this, CZVRect(rect.x, rect.y + kCaptionHeight, rect.w, rect.h - kCaptionHeight), -1);
    list->SetBackColor(ScaleColor(1.25, GetFaceColor()));
    list->SetEmptyText(emptyText, font);
    list->SetUniformRowHeight(1);
    list->SetSelectedRowHeight(kSelectedRowHeight);
    list->SetRowColours(colour, ScaleColor(0.75, colour), kWhite);
    AddChild(list);
    return list;
}

int CSecurityZonesPage::ShouldRedraw() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }

int CSecurityZonesPage::OnCommand(int id) {
    switch (id) {
    case kBypass: SendZone(m_zoneFaults, ZVM_SECURITY_BYPASSZONEQ); return 1;
    case kUnbypass: SendZone(m_bypassed, ZVM_SECURITY_UNBYPASSZONEQ); return 1;
    case kSecurityStatusChanged: Refresh(); return 1;
    case kSecurityArmedOrDisarmed:
        m_working = 1;
        UpdateStatusText(ShouldRedraw());
        KillTimer();
        SetTimer(kRefreshDelay);
        return 1;
    default: return 1;
    }
}

void CSecurityZonesPage::SendZone(CTextList* list, uint16_t request) {
    // The selected row tells the zone: a zone id of 0 is a zone like any other.
    CZVServer* server = m_partition->GetServer();
    if (!list || !server || list->GetSelectedIndex() < 0) return;
    const auto zoneId = static_cast<int32_t>(reinterpret_cast<intptr_t>(list->GetSelectedData()));
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    query.QueryAnswer2(&answer, request, m_partition->GetPartitionId(), zoneId);
}

void CSecurityZonesPage::OnTimer() {
    KillTimer();
    m_partition->RequestStatus();
}

void CSecurityZonesPage::FillZones(CTextList* list, int32_t listed, int32_t active) {
    list->RemoveAll(0);
    for (const CSecurityZone* zone : m_partition->GetZonesByState(listed)) {
        CTextItem* row = list->AddString(CZVString(zone->name.c_str()),
                                         reinterpret_cast<void*>(static_cast<intptr_t>(zone->zoneId)));
        if (row) row->m_showsRowButtons = (zone->state & active) ? 1 : 0;
    }
}

void CSecurityZonesPage::Refresh() {
    m_working = 0;
    m_faults->RemoveAll(0);
    for (int i = 0; i < m_partition->GetStatusLineCount(); ++i)
        m_faults->AddString(m_partition->GetStatusLine(i), nullptr);
    FillZones(m_zoneFaults, kZoneFaulted, kZoneCanBypass);
    if (m_bypassed) FillZones(m_bypassed, kZoneBypassed, kZoneCanUnbypass);
    const int32_t s = m_partition->GetStatusWord();
    const int alarm = (s & kSecurityAlarm) ? 1 : 0;
    const int wasAlarm = m_alarmShown;
    if (alarm != m_alarmShown) ShowAlarmPanel(alarm);
    // A new alarm wakes the tablet.
    if (!wasAlarm && alarm && CMainWndBase::InputBlockedFor(this))
        if (CMainWnd* main = MainWindow()) main->EndIdleScreen();
    const int redraw = ShouldRedraw();
    if (m_keypad) m_keypad->UpdateModeChecks();
    if (!(s & kSecurityNoPanel) && redraw)
        for (CTextList* list : {m_faults, m_bypassed, m_zoneFaults})
            if (list) list->Redraw(1);
    UpdateStatusText(redraw);
}

void CSecurityZonesPage::ShowAlarmPanel(int alarm) {
    CRRegion* shown = alarm ? m_alarmPanel : m_statusPanel;
    RemoveChild(alarm ? m_statusPanel : m_alarmPanel);
    AddChild(shown);
    m_alarmShown = alarm;
    shown->Show(IsShown(), 0);
    if (ShouldRedraw()) shown->Redraw(1);
}

void CSecurityZonesPage::UpdateStatusText(int redraw) {
    CZVLabel* label = GetShownLabel();
    const int32_t s = m_partition->GetStatusWord();
    if (m_working) {
        label->SetText("Working...", nullptr, redraw);
    } else {
        const CSecurityStatusText status = SecurityStatusText(*m_partition);
        CSetServer* style = CSetServer::Get();
        const COLORREF colour = status.white ? kWhite : style ? style->GetStyleColor(kTextStyleClass, 1) : 0;
        label->SetTextColor(colour);
        label->SetText(status.text, nullptr, redraw);
    }
    if (m_keypad) m_keypad->Enable((s & kSecurityNoPanel) ? 0 : 1, redraw);
    if (auto* page = dynamic_cast<CPageBase*>(GetPage())) {
        const int connecting = (s & kSecurityNoPanel) ? 1 : 0;
        page->SetStatus(connecting, redraw, connecting ? kConnecting : "", CPageBase::kDefaultStatusColour);
    }
}
