#include "vistrel/home/irrigation/irgroupwnd.h"

#include <algorithm>
#include <cstdio>

#include "core/messages/irrigationmessages.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "platform/clock.h"
#include "platform/report.h"
#include "vistrel/home/irrigation/wateringdays.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/lists/columnlist.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr const char* kSource = "irgroupwnd";
constexpr int kNoProgramLine = 151;
constexpr int kRegionClass = 6;
constexpr int kDaysClass = 8;
constexpr int kHeadHeight = 30;
constexpr int kHeadLabelWidth = 150;
constexpr int kHeadFont = 18;
constexpr int kEventFont = 20;
constexpr int kListGap = 4;
constexpr int kHeaderHeight = 25;
constexpr int kRowHeight = 20;
constexpr int kSelectedRowHeight = 40;
constexpr int kListFont = 18;
constexpr int kMoreIcon = 19;
constexpr int kLessIcon = 20;
constexpr int kIconLayout = 3;
constexpr int kWideLayout = 2;
constexpr int kColumnWeights[] = {2, 2, 5};

int g_lastProgram = 0;

}  // namespace

int GetLastIrrigationProgram() { return g_lastProgram; }
void SetLastIrrigationProgram(int index) { g_lastProgram = index; }

int32_t StepBaseTime(int32_t seconds, int more) {
    return std::clamp(seconds + (more ? 60 : -60), 0, CZoneRunTimesPage::kMaxBaseTime);
}

std::string BaseTimeText(int32_t seconds) {
    char text[48];
    std::snprintf(text, sizeof text, "%d Minutes", seconds / 60);
    return text;
}

std::string ApplicationTimeText(int32_t seconds, int percent) {
    return FormatDuration(static_cast<int>(static_cast<int64_t>(percent) * seconds / 100));
}

int WriteZoneTimes(CZVServer& server, const CIrrigationZone& zone) {
    CZVQuery query(server, 0);
    CZVMSG request(0, ZVM_IRRIGATION_SETGROUPZONESQ);
    request.WriteInt(zone.id);
    request.WriteInt(static_cast<int32_t>(zone.runTimes.size()));
    for (const CZoneTimePair& pair : zone.runTimes) {
        request.WriteInt(pair.programId);
        request.WriteInt(pair.seconds);
    }
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request) ? 1 : 0;
}

// ---- the zones' run times for one program

CZoneRunTimesPage::CZoneRunTimesPage(CZVWindow* parent, CZVRect rect, CIrrigationProgram* program,
                                     CIrrigationZones* zones, CSeasonalAdjust* seasonal)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      m_program(program),
      m_zones(zones),
      m_seasonal(seasonal),
      m_lastChange(platform::GetTickCount()) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVRect area;
    GetClientRect(&area);
    CZVRect head = area.CutTop(kHeadHeight, kListGap);
    char text[256];
    std::snprintf(text, sizeof text, "%s Start Time", m_program->m_name.c_str());
    AddLabel(head.CutLeft(kHeadLabelWidth, 0), text, kHeadFont);
    m_eventWnd = new CScheduleEventWnd(this, head, m_styleClass, kEventFont, m_program, 1);
    AddChild(m_eventWnd);
    m_list = new CColumnListWnd(this, area, 3, -1);
    m_list->SetHeaderHeight(kHeaderHeight);
    m_list->SetFontSize(kListFont);
    m_list->SetRowHeight(kRowHeight);
    m_list->SetSelectedRowHeight(kSelectedRowHeight);
    m_list->SetColumnTitle(0, "Zone");
    m_list->SetColumnTitle(1, "Base Time");
    m_list->SetColumnTitle(2, "Application Time");
    for (int column = 0; column < 3; ++column) m_list->SetColumnWidth(column, kColumnWeights[column]);
    m_list->AddRowButtonIcon(kMoreIcon, kIconLayout, "More Time", kMoreId, 0, nullptr, 0, 1);
    m_list->AddRowButtonIcon(kLessIcon, kIconLayout, "Less Time", kLessId, 0, nullptr, 0, 1);
    AddChild(m_list);
    m_seasonal->WaitLoaded();
    m_percent = m_seasonal->GetPercent(CZVTime().GetMonth());
    for (size_t i = 0; i < m_zones->size(); ++i) {
        CColumnListItem* row = m_list->AddRow();
        row->m_data = &(*m_zones)[i];
        FillRow(static_cast<int>(i));
    }
    m_list->AutoFitColumns();
    SetTimer(static_cast<int>(kWriteDelay));
}

void CZoneRunTimesPage::FillRow(int index) {
    CColumnListItem* row = m_list->GetRow(index);
    if (!row) return;
    const CIrrigationZone& zone = (*m_zones)[static_cast<size_t>(index)];
    const int32_t base = zone.GetBaseTime(m_program->m_index);
    row->SetText(0, zone.name.c_str());
    row->SetText(1, BaseTimeText(base).c_str());
    row->SetText(2, ApplicationTimeText(base, m_percent).c_str());
}

int CZoneRunTimesPage::OnCommand(int id) {
    if (id != kMoreId && id != kLessId) return 1;
    const int index = m_list->GetSelectedIndex();
    if (index < 0 || index >= static_cast<int>(m_zones->size())) return 1;
    CIrrigationZone& zone = (*m_zones)[static_cast<size_t>(index)];
    zone.SetBaseTime(m_program->m_index, StepBaseTime(zone.GetBaseTime(m_program->m_index), id == kMoreId));
    FillRow(index);
    m_list->GetRow(index)->MarkChanged();
    m_list->RedrawSelection();
    m_lastChange = platform::GetTickCount();
    zone.dirty = 1;
    return 1;
}

void CZoneRunTimesPage::OnTimer() {
    if (platform::TicksSince(m_lastChange) >= kWriteDelay) WriteDirtyZones();
}

void CZoneRunTimesPage::WriteDirtyZones() {
    CZVServer* server = m_seasonal->GetServer();
    if (!server) return;
    // Only a write the gateway answered clears the zone: a failed one is tried again on the next tick.
    for (CIrrigationZone& zone : *m_zones)
        if (zone.dirty && WriteZoneTimes(*server, zone)) zone.dirty = 0;
}

// ---- the plant group

CIrGroupWnd::CIrGroupWnd(CZVWindow* parent, CZVRect rect, CPlantGroup* group, const CIrrigationPrograms& programs,
                         CSeasonalAdjust* seasonal)
    : CZVWindow(parent, rect, parent ? parent->GetStyleClass() : 0),
      m_group(group),
      m_programs(programs),
      m_seasonal(seasonal) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    int margin = 0;
    if (CSetServer* style = CSetServer::Get()) margin = style->GetStyle(kDaysClass, 6);
    const int regionHeight = PickByScreenHeight(600, 210, 320) - std::max(2 * margin - 6, 0);
    m_region = new CTRRegion(this, CZVRect(0, 0, rect.w, regionHeight), kRegionClass, GetFaceColor());
    AddChild(m_region);
    const int daysHeight = rect.h - regionHeight - PickByScreenHeight(600, 5, 10);
    CZVObList descriptors;
    if (m_programs.empty()) {
        descriptors.AddTail(new CTabDescriptor("No Periods", kNoPeriodsId, nullptr));
    } else {
        for (size_t i = 0; i < m_programs.size(); ++i) {
            char caption[256];
            std::snprintf(caption, sizeof caption, "%s Schedule", m_programs[i]->m_name.c_str());
            descriptors.AddTail(new CTabDescriptor(caption, kFirstProgram + static_cast<int>(i), nullptr));
        }
    }
    m_region->SetTabCount(std::max(static_cast<int>(m_programs.size()), 1), 1, &descriptors);
    LoadZones();
    m_days = new CWateringDaysPage(this, CZVRect(0, rect.h - daysHeight, rect.w, daysHeight), kDaysClass, m_group,
                                   m_seasonal->GetServer());
    AddChild(m_days);
    const int last = static_cast<int>(m_programs.size()) - 1;
    const int index = std::max(std::min(GetLastIrrigationProgram(), last), 0);
    SetLastIrrigationProgram(index);
    if (CTabContainer* tabs = m_region->GetTabs()) tabs->Select(index, 0);
    OpenProgram(index, 0);
}

CIrGroupWnd::~CIrGroupWnd() {
    CZVServer* server = m_seasonal->GetServer();
    for (const CIrrigationZone& zone : m_zones)
        if (zone.dirty && server) WriteZoneTimes(*server, zone);
}

void CIrGroupWnd::LoadZones() {
    CZVServer* server = m_seasonal->GetServer();
    if (!server) return;
    CZVQuery query(*server, 0);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer1(&answer, ZVM_IRRIGATION_GETGROUPQ, m_group->id) || !answer) return;
    answer->ResetPosition();
    ReadIrrigationZones(*answer, static_cast<int>(m_programs.size()), &m_zones);
}

int CIrGroupWnd::OnCommand(int id) {
    if (id >= kFirstProgram && id <= kLastProgram) OpenProgram(id - kFirstProgram, 1);
    return 1;
}

void CIrGroupWnd::OpenProgram(int index, int redraw) {
    if (index < 0 || index >= static_cast<int>(m_programs.size())) {
        ReportAssert(kSource, kNoProgramLine, 1);
        return;
    }
    SetLastIrrigationProgram(index);
    CZVRect rect;
    CMainWnd* main = GetTabletMainWnd();
    if (main && main->GetLayoutType() == kWideLayout)
        m_region->GetContentRectWide(&rect);
    else
        m_region->GetContentRectTall(&rect);
    if (m_page) {
        m_region->RemoveChild(m_page);
        delete m_page;
    }
    m_page = new CZoneRunTimesPage(m_region, rect, m_programs[static_cast<size_t>(index)].get(), &m_zones, m_seasonal);
    m_region->AddChild(m_page);
    if (redraw) m_page->Redraw(1);
}
