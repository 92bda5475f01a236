#include "vistrel/home/climate/hvacschedule.h"

#include <algorithm>
#include <cstring>

#include "core/messages/climatemessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kChooserGap = 5;
constexpr int kEditorGap = 4;
constexpr int kDayStrip = 40;  // the day buttons and the space above them
constexpr int kCaptionSize = 18;
constexpr const char* kDayNames[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun", "Hldy"};
constexpr int kWeekDays = 7;

int g_rememberedDay = 0;

// A program of its own with the records of another.
std::unique_ptr<CHvacZone> CopyOf(const CZoneProgram& program, int scheduleId, CZVString name) {
    auto copy = std::make_unique<CHvacZone>(program.GetProgramId(), program.GetPeriods(), scheduleId, name);
    for (int d = 0; d < program.GetCount(); ++d) {
        const CMaskRecord& from = *program.GetAt(d);
        if (CMaskRecord* to = copy->Add(from.mask)) std::memcpy(to->data, from.data, sizeof to->data);
    }
    return copy;
}

// The records of `from` written over those of `to`, when both have the same days.
void CopyBack(const CZoneProgram& from, CZoneProgram* to) {
    if (!to || to->GetCount() != from.GetCount() || to->GetPeriods() != from.GetPeriods()) return;
    for (int d = 0; d < from.GetCount(); ++d) *to->GetAt(d) = *from.GetAt(d);
}

bool Blocked(CZVWindow* window) { return CMainWndBase::InputBlockedFor(window); }

}  // namespace

int ReadScheduleChanged(CZVMSG& message, int32_t* zone) {
    int32_t read = 0;
    if (!CMsgReader(message).Int(read)) return 0;
    *zone = read;
    return 1;
}

// ---- the chooser

CThermostatScheduleWnd::CThermostatScheduleWnd(CZVWindow* parent, CZVRect rect, const CHvacZoneList& list,
                                               CThermostatZone& zone, int changeCommand, int saveCommand)
    : CRRegion(parent, rect, kStyleClass), m_changeCommand(changeCommand), m_saveCommand(saveCommand) {
    if (parent) SetBackColor(parent->GetFaceColor());
    const int current = zone.GetSharedScheduleId();
    m_ids.push_back(0);
    m_names.push_back("Individual");
    for (int i = 0; i < list.GetCount(); ++i) {
        m_ids.push_back(list.GetAt(i)->GetScheduleId());
        m_names.push_back(list.GetAt(i)->GetName());
    }
    const auto found = std::find(m_ids.begin(), m_ids.end(), current);
    m_index = found != m_ids.end() ? static_cast<int>(found - m_ids.begin()) : 0;

    // The panel is low: its frame's corners would leave the buttons no room.
    // The caption over the schedule's name at the left, and the buttons beside
    // them at the panel's full height, where two lines of a caption fit.
    const CZVRect inner(kChooserGap, 2, rect.w - 2 * kChooserGap, rect.h - 4);
    const int textWidth = inner.w * 2 / 5;
    const int line = inner.h / 2;
    AddLabel(CZVRect(inner.x, inner.y, textWidth, line), "Active Schedule:", kCaptionSize)
        ->SetTextFormat(kTextLeft | kTextVCentre);
    m_name = AddLabel(CZVRect(inner.x, inner.y + line, textWidth, inner.h - line), "", kCaptionSize);
    m_name->SetTextFormat(kTextLeft | kTextVCentre);
    const int buttonsLeft = inner.x + textWidth + kChooserGap;
    const int third = (inner.x + inner.w - buttonsLeft + kChooserGap) / 3;
    const char* captions[] = {"Previous", "Next", "Save as\nIndividual"};
    CCaptionFitter fitter(this);
    for (int i = 0; i < 3; ++i) {
        CZVButton* button = AddButton(CZVRect(buttonsLeft + i * third, inner.y, third - kChooserGap, inner.h),
                                      kPreviousId + i, kButtonClass, captions[i]);
        fitter.AddWindow(button);
        if (i == 2) m_save = button;
    }
    fitter.Apply(kCaptionSize);
    ShowCurrent(0);
}

void CThermostatScheduleWnd::ShowCurrent(int animate) {
    const int redraw = animate && IsShown();
    m_name->SetText(m_names[static_cast<size_t>(m_index)], nullptr, redraw);
    m_save->Enable(GetCurrentId() != 0, redraw);
}

int CThermostatScheduleWnd::OnCommand(int id) {
    const int count = static_cast<int>(m_ids.size());
    switch (id) {
    case kPreviousId:
    case kNextId:
        m_index = (m_index + (id == kNextId ? 1 : count - 1)) % count;
        ShowCurrent(1);
        CZVWindow::OnCommand(m_changeCommand);
        return 1;
    case kSaveId:
        // The page leaves the shared schedule it follows now, then the chooser shows the zone's own.
        CZVWindow::OnCommand(m_saveCommand);
        m_index = 0;
        ShowCurrent(1);
        return 1;
    default: return CRRegion::OnCommand(id);
    }
}

// ---- the page

CHvacSchedulePage::CHvacSchedulePage(CZVWindow* parent, CZVRect rect, CZVServer& server, CThermostatZone* zone,
                                     const CHvacZone* shared, int programIndex, CHvacZoneList& list)
    : CZVWindow(parent, rect, kStyleClass),
      CSocketSink(server),
      m_zone(zone),
      m_sharedId(shared ? shared->GetScheduleId() : -1),
      m_programIndex(programIndex),
      m_list(list) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    if (m_zone) m_zone->LoadInfo();
    int editorTop = 0;
    if (m_zone && m_list.GetCount() > 0) {
        m_chooser = new CThermostatScheduleWnd(this, CZVRect(0, 0, rect.w, kChooserHeight), m_list, *m_zone, kFollowId,
                                               kLeaveSharedId);
        AddChild(m_chooser);
        editorTop = kChooserHeight + kEditorGap;
    }
    m_editorRect = CZVRect(0, editorTop, rect.w, std::max(0, rect.h - editorTop - kDayStrip));

    CSetServer* style = CSetServer::Get();
    const int count = style && style->IsSpecial() ? kWeekDays + 1 : kWeekDays;
    const int width = (rect.w - kDayButtonGap * (count - 1)) / count;
    for (int i = 0; i < count; ++i) {
        auto* button = new CZVCheckButton(
            this, CZVRect(i * (width + kDayButtonGap), rect.h - kDayButtonsHeight, width, kDayButtonsHeight),
            kFirstDayId + i, kButtonClass);
        button->CZVWindow::SetText(kDayNames[i], nullptr, 0);
        AddChild(button);
        m_days.push_back(button);
    }
    TakeProgram();
    g_rememberedDay = 0;
    SelectDay(0, 1);
    server.RegisterSink(this);
    Subscribe();
}

CHvacSchedulePage::~CHvacSchedulePage() {
    Save();
    if (m_editor) {
        RemoveChild(m_editor);
        delete m_editor;
    }
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG leave(GetId(), ZVM_HVAC_UNSUBSCRIBE);
    leave.WriteInt(GetId());
    server->Send(&leave);
    server->UnregisterSink(this);
}

int CHvacSchedulePage::GetRememberedDay() { return g_rememberedDay; }

CZVCheckButton* CHvacSchedulePage::GetDayButton(int day) const {
    return day >= 0 && day < GetDayButtonCount() ? m_days[static_cast<size_t>(day)] : nullptr;
}

void CHvacSchedulePage::Subscribe() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    query.QueryAnswer1(&answer, ZVM_HVAC_SUBSCRIBEQ, GetId());
}

void CHvacSchedulePage::TakeProgram() {
    m_program.reset();
    if (!m_zone) {
        if (const CHvacZone* shared = m_list.FindById(m_sharedId))
            m_program = CopyOf(*shared, shared->GetScheduleId(), shared->GetName());
        return;
    }
    const int followed = m_zone->GetSharedScheduleId();
    if (followed > 0) {
        if (const CHvacZone* shared = m_list.FindById(followed))
            m_program = CopyOf(*shared, shared->GetScheduleId(), shared->GetName());
    } else if (const CZoneProgram* own = m_zone->GetProgram(m_programIndex)) {
        m_program = CopyOf(*own, 0, "");
    }
}

void CHvacSchedulePage::SelectDay(int day, int force) {
    if (day < 0 || day >= GetDayButtonCount()) return;
    g_rememberedDay = day;
    CMaskRecord* record = m_program ? m_program->FindByBit(day) : nullptr;
    const int redraw = IsShown() && !Blocked(this);
    if (record && (force || !m_editor || &m_editor->GetDay() != record)) {
        if (m_editor) {
            if (!force) Save();
            RemoveChild(m_editor);
            delete m_editor;
            m_editor = nullptr;
        }
        CPeriodOptions options;
        if (m_zone) {
            options.hasHeat = m_zone->HasHeat();
            options.hasCool = m_zone->HasCool();
            options.hasFan = m_zone->HasFan();
            options.followsShared = m_zone->GetSharedScheduleId() != 0;
            options.capabilities = m_zone->GetCapabilities();
        }
        m_editor = new CDayPartSelector(this, m_editorRect, GetServer(), *record, m_program->GetPeriods(), options);
        AddChild(m_editor);
        if (redraw) m_editor->Redraw(1);
    }
    UpdateDayButtons(redraw);
}

void CHvacSchedulePage::UpdateDayButtons(int redraw) {
    const int mask = m_editor ? m_editor->GetDay().mask : 0;
    for (int i = 0; i < GetDayButtonCount(); ++i) m_days[static_cast<size_t>(i)]->SetCheck((mask >> i) & 1, 0, redraw);
}

void CHvacSchedulePage::Save() {
    if (!m_editor || !m_editor->IsChanged() || !m_program) return;
    CZVServer* server = GetServer();
    if (m_zone) {
        // Only the zone's own program is edited: a followed schedule shows read-only.
        if (m_zone->GetSharedScheduleId() != 0) return;
        CopyBack(*m_program, m_zone->GetProgram(m_programIndex));
        m_zone->SaveSchedules();
    } else if (server) {
        m_program->SaveSetPoints(*server);
    }
}

void CHvacSchedulePage::Rebuild(int reload) {
    // The editor goes before the records it edits.
    if (m_editor) {
        m_editor->SetChanged(0);
        RemoveChild(m_editor);
        delete m_editor;
        m_editor = nullptr;
    }
    if (m_zone && reload) m_zone->LoadSchedules();
    TakeProgram();
    SelectDay(g_rememberedDay, 1);
    if (IsShown() && !Blocked(this)) Redraw(1);
}

int CHvacSchedulePage::OnCommand(int id) {
    if (id >= kFirstDayId && id < kFirstDayId + GetDayButtonCount()) {
        SelectDay(id - kFirstDayId, 0);
        return 1;
    }
    switch (id) {
    case kFollowId:
        Save();
        if (m_zone && m_chooser && m_zone->FollowSharedSchedule(m_chooser->GetCurrentId())) Rebuild(0);
        return 1;
    case kLeaveSharedId:
        if (m_zone && m_chooser && m_zone->LeaveSharedSchedule(m_chooser->GetCurrentId())) Rebuild(1);
        return 1;
    default: return CZVWindow::OnCommand(id);
    }
}

void CHvacSchedulePage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_HVAC_SCHEDULECHANGED) return;
    message->ResetPosition();
    int32_t zone = 0;
    if (!ReadScheduleChanged(*message, &zone) || !m_zone || zone != m_zone->GetZoneId()) return;
    Rebuild(1);
}

void CHvacSchedulePage::OnConnect(int connected) {
    if (!connected) return;
    Subscribe();
    if (IsShown() && !Blocked(this)) Redraw(1);
}
