#include "vistrel/home/pool/poolschedule.h"

#include "core/messages/schedulemessages.h"
#include "core/zvquery.h"
#include "core/zvtime.h"
#include "vistrel/home/pool/poolreaders.h"
#include "vistrel/home/pool/poolruntime.h"
#include "vistrel/home/pool/poolschedcircuitwnd.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/columnlist.h"
#include "widgets/tabs/trregion.h"

namespace {

constexpr int kListStyle = 0;
constexpr int kButtonClass = 17;
constexpr int kRegionClass = 6;
constexpr int kFontSize = 18;
constexpr int kRowHeight = 28;
constexpr int kMinutesPerDay = 1440;
constexpr int32_t kNoProgram = -1;

struct Column {
    const char* title;
    int width;
};
constexpr Column kColumns[] = {
    {"Circuit", 2}, {"Heat Command", 3}, {"Start Time", 2}, {"Stop Time", 2}, {"Days to Run", 5}};

}  // namespace

// ---- the program list

CPoolAdvSchedWnd::CPoolAdvSchedWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server, int type)
    : CZVWindow(parent, rect, kListStyle), CSocketSink(server), m_type(type), m_model(model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int listHeight = rect.h - rect.h * 55 / 100 - 9;
    m_list = new CColumnListWnd(this, CZVRect(5, 5, rect.w - 9, listHeight), std::size(kColumns), kListId);
    m_list->SetFontSize(kFontSize);
    m_list->SetRowHeight(kRowHeight);
    m_list->SetSelectedRowHeight(kRowHeight);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        m_list->SetColumnTitle(i, kColumns[i].title);
        m_list->SetColumnWidth(i, kColumns[i].width);
    }
    AddChild(m_list);
    Load(0, kNoProgram);
    server.RegisterSink(this);
    const int bottom = 5 + listHeight;
    const int half = (rect.w - 10) / 2;
    m_add = Add3DButtonDefault(CZVRect(5, bottom + 5, half, 35), kAddId, kButtonClass, "Add Program");
    m_deleteRect = CZVRect(5 + half + 5, bottom + 5, half - 5, 35);
    m_editorRect = CZVRect(5, bottom + 50, rect.w - 9, rect.h - bottom - 54);
    UpdateAddButton(0);
}

CPoolAdvSchedWnd::~CPoolAdvSchedWnd() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    // The editor and the rows point at the programs: they go first.
    CloseEditor();
    m_list->RemoveAll(0);
}

CPoolProgram* CPoolAdvSchedWnd::GetProgram(int row) const {
    if (row < 0 || row >= static_cast<int>(m_programs.size())) return nullptr;
    return m_programs[static_cast<size_t>(row)].get();
}

int CPoolAdvSchedWnd::Load(int redraw, int32_t lastId) {
    CZVServer* server = GetServer();
    if (!server) return 0;
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    const int controller = m_model->GetControllerIndex();
    if (!query.QueryAnswer2(&answer, ZVM_POOL_GETSCHEDULESQ, controller, m_type)) {
        if (redraw) m_list->Redraw(1);
        return 0;
    }
    std::vector<CPoolProgram> programs;
    ReadPoolPrograms(*answer, &programs);
    m_list->RemoveAll(0);
    m_programs.clear();
    for (const CPoolProgram& program : OrderPoolPrograms(*m_model, programs, lastId)) {
        m_programs.push_back(std::make_unique<CPoolProgram>(program));
        m_list->AddRow()->m_data = m_programs.back().get();
        FillRow(static_cast<int>(m_programs.size()) - 1);
    }
    if (redraw) m_list->Redraw(1);
    int32_t otherCount = 0;
    if (!query.QueryInt2(otherCount, ZVM_POOL_GETSCHEDULESQ, controller, m_type == kRunOnce ? 0 : kRunOnce)) return 0;
    m_otherCount = otherCount;
    return 1;
}

void CPoolAdvSchedWnd::FillRow(int index) {
    CColumnListItem* row = m_list->GetRow(index);
    const CPoolProgram* program = GetProgram(index);
    if (!row || !program) return;
    const CPoolCircuit* circuit = m_model->FindCircuitById(program->circuitId);
    row->SetText(0, circuit ? circuit->name.c_str() : "");
    row->SetText(1, HeatCommandText(*m_model, *program).c_str());
    row->SetText(2, FormatHourMinute(program->start).c_str());
    row->SetText(3, FormatHourMinute(program->stop).c_str());
    row->SetText(4, DaysText(program->dayMask).c_str());
    row->MarkChanged();
}

int CPoolAdvSchedWnd::IsLimitReached() const {
    return m_model->IsProgramLimitReached(static_cast<int>(m_programs.size()) + m_otherCount);
}

void CPoolAdvSchedWnd::UpdateAddButton(int redraw) { m_add->Enable(!IsLimitReached(), redraw); }

void CPoolAdvSchedWnd::CloseEditor() {
    for (CZVWindow* window : {static_cast<CZVWindow*>(m_editor), static_cast<CZVWindow*>(m_delete)}) {
        if (!window) continue;
        RemoveChild(window);
        EraseChildArea(window);
        delete window;
    }
    m_editor = nullptr;
    m_delete = nullptr;
}

void CPoolAdvSchedWnd::OpenEditor() {
    CPoolProgram* program = GetProgram(m_list->GetSelectedIndex());
    if (!program) return;
    m_editor = new CPoolSchedCircuitWnd(this, m_editorRect, m_model, program, kChangedId, m_type == kRunOnce);
    AddChild(m_editor);
    m_delete = Add3DButtonDefault(m_deleteRect, kDeleteId, kButtonClass, "Delete Program");
    m_editor->Redraw(1);
    m_delete->Redraw(1);
}

void CPoolAdvSchedWnd::SelectProgram(int32_t programId) {
    for (int i = 0; i < static_cast<int>(m_programs.size()); ++i)
        if (m_programs[static_cast<size_t>(i)]->programId == programId) {
            m_list->SelectIndex(i, 1);
            return;
        }
    m_list->Select(nullptr, 1);
}

void CPoolAdvSchedWnd::SendProgram(const CPoolProgram& program) {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG message(0, ZVM_POOL_SETPROGRAM);
    message.WriteInt(m_model->GetControllerIndex());
    WritePoolProgram(message, program);
    server->Send(&message);
}

void CPoolAdvSchedWnd::AddProgram() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVQuery query(*server);
    int32_t programId = 0;
    if (!query.QueryInt2(programId, ZVM_POOL_ADDPROGRAMQ, m_model->GetControllerIndex(), m_type)) return;
    CloseEditor();
    Load(1, programId);
    SelectProgram(programId);
    OnCommand(kListId);
    UpdateAddButton(1);
}

void CPoolAdvSchedWnd::DeleteProgram() {
    const CPoolProgram* program = GetProgram(m_list->GetSelectedIndex());
    CZVServer* server = GetServer();
    if (!program || !server) return;
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer2(&answer, ZVM_POOL_DELETEPROGRAMQ, m_model->GetControllerIndex(), program->programId))
        return;
    CloseEditor();
    Load(1, kNoProgram);
    UpdateAddButton(1);
}

int CPoolAdvSchedWnd::OnCommand(int id) {
    switch (id) {
    case kListId:
        CloseEditor();
        if (m_list->GetSelected())
            OpenEditor();
        else
            m_list->Redraw(1);
        break;
    case kChangedId: {
        const int row = m_list->GetSelectedIndex();
        const CPoolProgram* program = GetProgram(row);
        if (!program) break;
        FillRow(row);
        m_list->RedrawSelection();
        SendProgram(*program);
        break;
    }
    case kAddId: AddProgram(); break;
    case kDeleteId: DeleteProgram(); break;
    default: break;
    }
    return 1;
}

void CPoolAdvSchedWnd::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    if (message->GetId() == ZVM_POOL_SCHEDULECHANGED) OnScheduleChanged();
    if (message->GetId() == ZVM_POOL_RUNTIMECHANGED && m_type == kRunOnce) OnRunTimeChanged(*message);
}

void CPoolAdvSchedWnd::OnScheduleChanged() {
    const CPoolProgram* selected = GetProgram(m_list->GetSelectedIndex());
    const int32_t selectedId = selected ? selected->programId : kNoProgram;
    CloseEditor();
    Load(selectedId == kNoProgram, kNoProgram);
    UpdateAddButton(IsShown());
    if (selectedId == kNoProgram) {
        m_list->Redraw(1);
        return;
    }
    SelectProgram(selectedId);
    OnCommand(kListId);
}

void CPoolAdvSchedWnd::OnRunTimeChanged(CZVMSG& message) {
    CPoolRunTimeNotice notice;
    if (!ReadRunTimeNotice(message, &notice)) return;
    for (int i = 0; i < static_cast<int>(m_programs.size()); ++i) {
        CPoolProgram& program = *m_programs[static_cast<size_t>(i)];
        if (program.circuitId != notice.circuitId) continue;
        CloseEditor();
        program.stop = ((program.start + notice.minutes) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
        FillRow(i);
        m_list->Redraw(1);
    }
}

// ---- the tab

CScheduleTypePage::CScheduleTypePage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server)
    : CSubPanel(parent, rect, kStyleClass, model), m_server(server) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_region = new CTRRegion(this, CZVRect(0, 0, rect.w, rect.h), kRegionClass, 0);
    m_region->SetBackColor(m_region->GetFaceColor());
    AddChild(m_region);
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Schedule", kScheduleTab, nullptr));
    descriptors.AddTail(new CTabDescriptor("Run-Once", kRunOnceTab, nullptr));
    descriptors.AddTail(new CTabDescriptor("Egg Timer", kEggTimerTab, nullptr));
    m_region->SetTabCount(3, 1, &descriptors);
    SelectType(kScheduleTab, 0);
}

void CScheduleTypePage::SelectType(int id, int redraw) {
    if (id < kScheduleTab || id > kEggTimerTab) return;
    if (m_inner) {
        if (redraw) m_region->EraseChildArea(m_inner);
        m_region->RemoveChild(m_inner);
        delete m_inner;
        m_inner = nullptr;
    }
    CZVRect rect;
    m_region->GetContentRect(&rect);
    if (id == kEggTimerTab)
        m_inner = new CPoolRunTimeWnd(m_region, rect, m_model, m_server);
    else
        m_inner = new CPoolAdvSchedWnd(m_region, rect, m_model, m_server, id == kRunOnceTab ? 1 : 0);
    m_region->AddChild(m_inner);
    m_region->GetTabs()->Select(id - kScheduleTab, 0);
    if (redraw) m_inner->Redraw(1);
}

int CScheduleTypePage::OnCommand(int id) {
    SelectType(id, 1);
    return 1;
}
