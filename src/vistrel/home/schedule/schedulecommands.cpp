#include "vistrel/home/schedule/schedulecommands.h"

#include <algorithm>

#include "core/messages/schedulemessages.h"
#include "core/zvquery.h"
#include "gfx/speed.h"
#include "vistrel/home/schedule/schedulereaders.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/lists/maskrecords.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kEditorFont = 15;
constexpr int kTitleFont = 18;
constexpr int kMaxTabsPerRow = 4;

// The house modes when nobody names them: none, so that every mask reads "All".
class CNoHouseModes : public IHouseModeNames {
public:
    int GetCount() const override { return 0; }
    CZVString GetName(int) const override { return ""; }
};

// A blocking request of i32 values; the answer stays the query's.
int Ask(CZVQuery& query, CZVMSG** answer, uint16_t id, std::initializer_list<int32_t> values) {
    CZVMSG request(0, id);
    for (int32_t value : values) request.WriteInt(value);
    return query.Query(answer, &request);
}

}  // namespace

// ---- one event's commands

CScheduledCommandsPage::CScheduledCommandsPage(CZVWindow* parent, CZVWindow* tab, CZVRect rect, int styleClass,
                                               CLightingScheduleEvent* event, CZVServer& server)
    : CZVWindow(parent, rect, styleClass), m_server(server), m_tab(tab), m_event(event) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int w = rect.w;
    Add3DButtonDefault(CZVRect(w - 204, 0, 200, 31), kTestId, kButtonClass, "Test Commands Now");
    m_editor = new CScheduleEventWnd(this, CZVRect(0, 0, w - 208, 31), styleClass, kEditorFont, event, 0);
    m_editor->SetFaceColor(ScaleColor(0.9, GetFaceColor()));
    m_editor->SetBackColor(GetFaceColor());
    AddChild(m_editor);
    m_list = new CColumnListWnd(this, CZVRect(5, 55, w - 9, rect.h - 59), 2, 0);
    m_list->SetColumnTitle(0, "Device");
    m_list->SetColumnTitle(1, "Action");
    m_list->SetRowHeight(2 * m_list->GetRowHeight());
    m_list->SetSelectedRowHeight(m_list->GetRowHeight());
    m_list->SetColumnWidth(0, 80);
    m_list->SetColumnWidth(1, std::max(w - 9 - 80, 1));
    m_list->AddRowButton("", 0, "Remove", kRemoveId, 0, 0, 1);
    AddChild(m_list);
    CZVLabel* title = AddLabel(CZVRect(5, 55 - 21, w - 5, 21), "Scheduled Commands", kTitleFont);
    title->SetFaceColor(GetFaceColor());
    Load(0);
}

void CScheduledCommandsPage::Load(int redraw) {
    m_list->RemoveAll(0);
    CZVQuery query(m_server);
    CZVMSG* answer = nullptr;
    std::vector<CScheduledCommandRecord> commands;
    if (Ask(query, &answer, ZVM_SCHEDULE_GETCOMMANDSQ, {m_event->m_schedule, m_event->m_event}))
        ReadScheduledCommands(*answer, &commands);
    for (const CScheduledCommandRecord& command : commands) {
        CColumnListItem* row = m_list->AddRow();
        row->SetText(0, command.device.c_str());
        row->SetText(1, command.action.c_str());
    }
    if (redraw) m_list->Redraw(1);
}

int CScheduledCommandsPage::Change(uint16_t id, std::initializer_list<int32_t> values) {
    CZVQuery query(m_server);
    CZVMSG* answer = nullptr;
    if (!Ask(query, &answer, id, values)) return 0;
    Load(1);
    return 1;
}

int CScheduledCommandsPage::AddKeypadCommand(int32_t item) {
    Change(ZVM_SCHEDULE_ADDKEYPADCOMMANDQ, {m_event->m_schedule, m_event->m_event, item});
    return 1;
}

int CScheduledCommandsPage::AddSwitchCommand(int32_t x, int32_t y) {
    Change(ZVM_SCHEDULE_ADDSWITCHCOMMANDQ, {m_event->m_schedule, m_event->m_event, x, y});
    return 1;
}

int CScheduledCommandsPage::OnCommand(int id) {
    switch (id) {
    case kRemoveId: {
        const int row = m_list->GetSelectedIndex();
        if (row >= 0) Change(ZVM_SCHEDULE_REMOVECOMMANDQ, {m_event->m_schedule, m_event->m_event, row});
        break;
    }
    case kTestId:
        if (m_parent) m_parent->OnCommand(kTestId);
        break;
    case CScheduleEventWnd::kChangedId:
        if (m_tab) m_tab->SetText(m_event->GetTabText().c_str(), nullptr, 0);
        if (m_tab && m_tab->GetParent()) m_tab->GetParent()->Redraw(1);
        break;
    default: break;
    }
    return 1;
}

// ---- one schedule's events

CScheduleEventsPanel::CScheduleEventsPanel(CZVWindow* parent, CZVRect rect, int styleClass, int32_t schedule,
                                           COLORREF backColour, COLORREF faceColour, CZVServer& server)
    : CTRRegion(parent, rect, styleClass, backColour, faceColour), m_server(server), m_schedule(schedule) {
    if (Load()) {
        GetTabs()->Select(0, 0);
        ShowEvent(0);
    }
}

int CScheduleEventsPanel::Load() {
    m_events.clear();
    CZVQuery query(m_server);
    CZVMSG* answer = nullptr;
    if (!Ask(query, &answer, ZVM_SCHEDULE_GETEVENTSQ, {m_schedule})) return 0;
    std::vector<CScheduleEventRecord> events;
    const int whole = ReadScheduleEvents(*answer, &events);
    const int count = std::min(static_cast<int>(events.size()), kLastEventId - kFirstEventId + 1);
    SetTabCount(count, 0, nullptr);
    CTabContainer* tabs = GetTabs();
    tabs->RemoveAllTabs();
    for (int i = 0; i < count; ++i) {
        const CScheduleEventRecord& record = events[static_cast<size_t>(i)];
        m_events.push_back(std::make_unique<CLightingScheduleEvent>(record.name, record.timeType, record.timeValue,
                                                                    m_schedule, i, &m_server));
        tabs->AddTab(m_events.back()->GetTabText().c_str(), kFirstEventId + i);
    }
    return whole && count > 0;
}

void CScheduleEventsPanel::ShowEvent(int redraw) {
    if (m_page) {
        RemoveChild(m_page);
        delete m_page;
        m_page = nullptr;
    }
    m_selected = nullptr;
    const int index = GetTabs()->GetSelectedIndex();
    if (index < 0 || index >= GetEventCount()) return;
    m_selected = m_events[static_cast<size_t>(index)].get();
    CZVRect rect;
    GetContentRect(&rect);
    m_page = new CScheduledCommandsPage(this, GetTabs()->GetTab(index), rect, m_styleClass, m_selected, m_server);
    AddChild(m_page);
    if (redraw) m_page->Redraw(1);
}

int CScheduleEventsPanel::OnCommand(int id) {
    if (id >= kFirstEventId && id <= kLastEventId) {
        ShowEvent(1);
    } else if (id == CScheduledCommandsPage::kTestId && m_selected) {
        CZVMSG message(0, ZVM_SCHEDULE_TESTCOMMANDS);
        message.WriteInt(m_selected->m_schedule);
        message.WriteInt(m_selected->m_event);
        m_server.Send(&message);
    }
    return 1;
}

// ---- the schedules

CScheduleTabsPage::CScheduleTabsPage(CZVWindow* parent, CZVRect rect, COLORREF colour, CZVServer& server,
                                     const IHouseModeNames* modes)
    : CTRRegion(parent, rect, kStyleClass, colour), m_server(server), m_modes(modes) {
    if (Load()) ShowSchedule(kFirstScheduleId, 0);
}

int CScheduleTabsPage::Load() {
    CZVQuery query(m_server);
    CZVMSG* answer = nullptr;
    if (!Ask(query, &answer, ZVM_SCHEDULE_GETSCHEDULESQ, {})) return 0;
    std::vector<int32_t> masks;
    ReadScheduleMasks(*answer, &masks);
    m_count = static_cast<int>(masks.size());
    SetTabCount(m_count, 0, nullptr);
    CTabContainer* tabs = GetTabs();
    tabs->RemoveAllTabs();
    tabs->SetTabsPerRow(std::min(m_count, kMaxTabsPerRow), m_count);
    const CNoHouseModes none;
    for (int i = 0; i < m_count; ++i) {
        CZVString title;
        FormatMaskNames(&title, masks[static_cast<size_t>(i)], m_modes ? *m_modes : none);
        tabs->AddTab(title, kFirstScheduleId + i);
    }
    return m_count > 0;
}

void CScheduleTabsPage::ShowSchedule(int id, int redraw) {
    if (m_panel) {
        RemoveChild(m_panel);
        delete m_panel;
        m_panel = nullptr;
    }
    CZVRect rect;
    GetContentRect(&rect);
    GetTabs()->Select(id - kFirstScheduleId, 0);
    m_panel = new CScheduleEventsPanel(this, rect, kStyleClass, id - kFirstScheduleId, GetFaceColor(),
                                       ScaleColor(1.2, GetFaceColor()), m_server);
    AddChild(m_panel);
    if (redraw) m_panel->Redraw(1);
}

int CScheduleTabsPage::OnCommand(int id) {
    if (id >= kFirstScheduleId && id < kFirstScheduleId + m_count) ShowSchedule(id, 1);
    return 1;
}

int CScheduleTabsPage::AddKeypadCommand(int32_t item) {
    CScheduledCommandsPage* page = m_panel ? m_panel->GetCommandsPage() : nullptr;
    return page ? page->AddKeypadCommand(item) : 0;
}

int CScheduleTabsPage::AddSwitchCommand(int32_t x, int32_t y) {
    CScheduledCommandsPage* page = m_panel ? m_panel->GetCommandsPage() : nullptr;
    return page ? page->AddSwitchCommand(x, y) : 0;
}

// ---- the picker

CScheduleCommandPicker::CScheduleCommandPicker(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour,
                                               ILightCommandOwner* owner, int kinds, CZVServer& server)
    : CTRRegion(parent, rect, styleClass, backColour), m_server(server), m_owner(owner) {
    CZVObList descriptors;
    int count = 0;
    if (kinds & kKeypadsFlag)
        descriptors.AddTail(new CTabDescriptor("Add Keypad Commands", kKeypadsTab, nullptr)), ++count;
    if (kinds & kSwitchesFlag)
        descriptors.AddTail(new CTabDescriptor("Add Switch Commands", kSwitchesTab, nullptr)), ++count;
    SetTabCount(count, 1, &descriptors);
    GetTabs()->SetFaceColor(GetFaceColor());
    GetTabs()->SetTabsPerRow(2, count);
    if (count > 0) ShowCommands(kinds & kKeypadsFlag ? kKeypadsTab : kSwitchesTab, 0);
}

void CScheduleCommandPicker::ShowCommands(int id, int redraw) {
    if (m_commands) {
        if (redraw) EraseChildArea(m_commands);
        RemoveChild(m_commands);
        delete m_commands;
        m_commands = nullptr;
    }
    CZVRect rect;
    GetContentRect(&rect);
    const int mode = id == kKeypadsTab ? CLightCommandWnd::kKeypads : CLightCommandWnd::kSwitches;
    GetTabs()->Select(GetTabs()->GetTabCount() > 1 ? id - kKeypadsTab : 0, 0);
    m_commands = new CLightCommandWnd(this, m_owner, rect, m_styleClass, mode, m_server);
    AddChild(m_commands);
    if (redraw) m_commands->Redraw(1);
}

int CScheduleCommandPicker::OnCommand(int id) {
    if (id == kKeypadsTab || id == kSwitchesTab) ShowCommands(id, 1);
    return 1;
}

// ---- the view

CScheduleCommandsView::CScheduleCommandsView(CZVWindow* parent, CZVRect rect, COLORREF colour, CZVServer& server,
                                             const IHouseModeNames* modes)
    : CZVWindow(parent, rect, kStyleClass) {
    SetFaceColor(colour);
    const int top = rect.h * 6 / 10;
    m_tabs = new CScheduleTabsPage(this, CZVRect(0, 0, rect.w, top), colour, server, modes);
    AddChild(m_tabs);
    m_picker = new CScheduleCommandPicker(
        this, CZVRect(0, top + 5, rect.w, rect.h - top - 5), CScheduleTabsPage::kStyleClass, GetFaceColor(), m_tabs,
        CScheduleCommandPicker::kKeypadsFlag | CScheduleCommandPicker::kSwitchesFlag, server);
    AddChild(m_picker);
}
