#include "vistrel/home/irrigation/irrigationmanual.h"

#include <algorithm>

#include "core/messages/irrigationmessages.h"
#include "core/zvtime.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kHeaderHeight = 25;
constexpr int kRowHeight = 20;
constexpr int kSelectedRowHeight = 40;
constexpr int kListFont = 18;
constexpr int kMoreIcon = 19;
constexpr int kLessIcon = 20;
constexpr int kIconLayout = 3;
constexpr int kButtonFont = 17;
constexpr int kButtonClass = 17;

std::string MinSec(int32_t seconds) { return CZVTimeSpan(0, 0, 0, std::max(seconds, 0), 0).FormatMinSec(); }

}  // namespace

int32_t StepManualTime(int32_t seconds, int more) {
    return std::clamp(seconds + (more ? 60 : -60), 0, CIrrigationManualPage::kMaxRunTime);
}

CIrrigationManualPage::CIrrigationManualPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0), CSocketSink(server) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_list = new CColumnListWnd(this, CZVRect(10, 10, rect.w - 19, rect.h - 64), 2, kListId);
    m_list->SetHeaderHeight(kHeaderHeight);
    m_list->SetFontSize(kListFont);
    m_list->SetRowHeight(kRowHeight);
    m_list->SetSelectedRowHeight(kSelectedRowHeight);
    m_list->SetColumnTitle(0, "Zone Name");
    m_list->SetColumnTitle(1, "Manual-Mode Run Time");
    m_list->AddRowButtonIcon(kMoreIcon, kIconLayout, "More Time", kMoreId, 0, nullptr, 0, 1);
    m_list->AddRowButtonIcon(kLessIcon, kIconLayout, "Less Time", kLessId, 0, nullptr, 0, 1);
    AddChild(m_list);
    server.RegisterSink(this);
    Poll();
    SetTimer(static_cast<int>(kPollPeriod));
    m_start = Add3DButtonDefault(CZVRect(10, rect.h - 45, 141, 36), kStartId, kButtonClass, "Start");
    m_start->SetFontSize(kButtonFont);
    m_start->Enable(0, 0);
}

CIrrigationManualPage::~CIrrigationManualPage() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

void CIrrigationManualPage::Poll() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_IRRIGATION_GETMANUALZONESQ);
    server->Send(&request);
}

void CIrrigationManualPage::OnTimer() {
    if (!CMainWndBase::InputBlockedFor(this)) Poll();
}

void CIrrigationManualPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_IRRIGATION_GETMANUALZONESA) return;
    // The user is moving the list: this answer is dropped, the next one is shown.
    if (CMainWndBase::InputBlockedFor(this) || m_list->IsDragging()) return;
    message->ResetPosition();
    CManualZones answer;
    ReadManualZones(*message, &answer);
    ShowZones(answer.mode, std::move(answer.zones));
}

void CIrrigationManualPage::ShowZones(int32_t mode, std::vector<CManualZone> zones) {
    const int scroll = m_list->GetScrollPos();
    const int selected = m_list->GetSelectedIndex();
    m_mode = mode;
    m_list->RemoveAll(0);
    m_zones = std::move(zones);
    for (size_t i = 0; i < m_zones.size(); ++i) {
        CColumnListItem* row = m_list->AddRow();
        row->SetText(0, m_zones[i].name.c_str());
        row->m_showsRowButtons = mode == kIrrigationManual ? 1 : 0;
        SetTimeText(static_cast<int>(i));
    }
    m_list->SelectIndex(selected, 0);
    m_list->UpdateScrollBar(nullptr, 0);
    m_list->SetScrollPos(scroll);
    UpdateButton();
    if (IsShown()) m_list->Redraw(1);
}

void CIrrigationManualPage::SetTimeText(int index) {
    if (CColumnListItem* row = m_list->GetRow(index))
        row->SetText(1, MinSec(m_zones[static_cast<size_t>(index)].runTime).c_str());
}

CManualZone* CIrrigationManualPage::Selected() {
    const int index = m_list->GetSelectedIndex();
    return index >= 0 && index < static_cast<int>(m_zones.size()) ? &m_zones[static_cast<size_t>(index)] : nullptr;
}

void CIrrigationManualPage::UpdateButton() {
    const bool manual = m_mode == kIrrigationManual;
    for (int i = 0; i < static_cast<int>(m_zones.size()); ++i)
        if (CListItem* row = m_list->GetItemAt(i)) row->m_showsRowButtons = manual ? 1 : 0;
    CManualZone* zone = Selected();
    const bool running = manual && zone && zone->secondsToRun > 0;
    m_start->SetText(running ? "Stop" : "Start", nullptr, 1);
    m_start->Enable(manual && zone ? 1 : 0, 1);
}

int CIrrigationManualPage::OnCommand(int id) {
    CManualZone* zone = Selected();
    CZVServer* server = GetServer();
    if (id == kListId) {
        UpdateButton();
    } else if (id == kStartId && zone && server && m_mode == kIrrigationManual) {
        const int32_t value = zone->secondsToRun > 0 ? 0 : zone->runTime;
        CZVMSG message(0, ZVM_IRRIGATION_MANUALRUN);
        message.WriteInt(zone->id);
        message.WriteInt(value);
        server->Send(&message);
        zone->secondsToRun = value;
        UpdateButton();
    } else if ((id == kMoreId || id == kLessId) && zone && server && m_mode == kIrrigationManual) {
        zone->runTime = StepManualTime(zone->runTime, id == kMoreId);
        CZVMSG message(0, ZVM_IRRIGATION_SETMANUALTIME);
        message.WriteInt(zone->id);
        message.WriteInt(zone->runTime);
        server->Send(&message);
        SetTimeText(m_list->GetSelectedIndex());
        m_list->RedrawSelection();
    }
    return 1;
}
