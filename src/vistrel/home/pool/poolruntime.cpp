#include "vistrel/home/pool/poolruntime.h"

#include <cstdio>

#include "core/messages/schedulemessages.h"
#include "core/zvquery.h"
#include "vistrel/home/pool/poolreaders.h"
#include "widgets/lists/columnlist.h"

namespace {

constexpr int kStyleClass = 0;
constexpr int kFontSize = 18;
constexpr int kRowHeight = 28;
constexpr int kMoreIcon = 19;
constexpr int kLessIcon = 20;
constexpr int kIconLayout = 3;
constexpr int kMinutesPerDay = 1440;

std::string Format(const char* format, int a, int b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

}  // namespace

CPoolRunTimeWnd::CPoolRunTimeWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server)
    : CZVWindow(parent, rect, kStyleClass), CSocketSink(server), m_model(model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_list = new CColumnListWnd(this, CZVRect(5, 5, rect.w - 9, rect.h - 9), 2, kListId);
    m_list->SetFontSize(kFontSize);
    m_list->SetRowHeight(kRowHeight);
    m_list->SetSelectedRowHeight(kRowHeight);
    m_list->SetColumnTitle(0, "Circuit");
    m_list->SetColumnTitle(1, "Run Time");
    m_list->AddRowButtonIcon(kMoreIcon, kIconLayout, "More", kMoreId, 0, nullptr, 0, 1);
    m_list->AddRowButtonIcon(kLessIcon, kIconLayout, "Less", kLessId, 0, nullptr, 0, 1);
    AddChild(m_list);
    Fill();
    CountPrograms(server);
    UpdateRowsEnabled();
    server.RegisterSink(this);
}

CPoolRunTimeWnd::~CPoolRunTimeWnd() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

std::string CPoolRunTimeWnd::RunTimeText(int minutes) {
    if (minutes >= kMinutesPerDay) return "Don't Stop";
    if (minutes < 60) return Format("%d Minutes", minutes);
    if (minutes < 120) return Format("1 Hour %d Minutes", minutes - 60);
    return Format("%d Hours %d Minutes", minutes / 60, minutes % 60);
}

int CPoolRunTimeWnd::StepRunTime(int minutes, int more) {
    int next = 0;
    if (more)
        next = minutes >= 15 ? minutes + 15 : minutes + 1;
    else if (minutes >= kMinutesPerDay)
        next = 1425;
    else
        next = minutes > 15 ? minutes - 15 : minutes - 1;
    if (next < 1) next = 1;
    return next >= kMinutesPerDay ? kDontStop : next;
}

void CPoolRunTimeWnd::Fill() {
    m_list->RemoveAll(0);
    for (int i = 0; i < m_model->GetCircuitCount(); ++i) {
        CPoolCircuit* circuit = m_model->GetCircuit(i);
        CColumnListItem* row = m_list->AddRow();
        row->m_data = circuit;
        row->SetText(0, circuit->name.c_str());
        row->SetText(1, RunTimeText(circuit->runTime).c_str());
    }
}

void CPoolRunTimeWnd::CountPrograms(CZVServer& server) {
    m_programCount = 0;
    for (int type : {0, 1}) {
        CZVQuery query(server);
        int32_t count = 0;
        if (!query.QueryInt2(count, ZVM_POOL_GETSCHEDULESQ, m_model->GetControllerIndex(), type)) return;
        m_programCount += count;
    }
}

void CPoolRunTimeWnd::UpdateRowsEnabled() {
    const int limited = m_model->IsProgramLimitReached(m_programCount);
    for (int i = 0; i < m_list->GetCount(); ++i) {
        CListItem* row = m_list->GetItemAt(i);
        const auto* circuit = static_cast<const CPoolCircuit*>(row->m_data);
        row->m_showsRowButtons = !limited || circuit->runTime != kPoolNoRunTime;
    }
}

void CPoolRunTimeWnd::Step(int more) {
    auto* row = static_cast<CColumnListItem*>(m_list->GetSelected());
    if (!row) return;
    auto* circuit = static_cast<CPoolCircuit*>(row->m_data);
    circuit->SetRunTime(m_model->GetControllerIndex(), StepRunTime(circuit->runTime, more));
    row->SetText(1, RunTimeText(circuit->runTime).c_str());
    UpdateRowsEnabled();
    if (IsShown()) m_list->RedrawSelection();
}

int CPoolRunTimeWnd::OnCommand(int id) {
    if (id == kMoreId || id == kLessId) Step(id == kMoreId);
    return 1;
}

void CPoolRunTimeWnd::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_POOL_RUNTIMECHANGED) return;
    message->ResetPosition();
    CPoolRunTimeNotice notice;
    if (!ReadRunTimeNotice(*message, &notice)) return;
    for (int i = 0; i < m_list->GetCount(); ++i) {
        auto* row = m_list->GetRow(i);
        const auto* circuit = static_cast<const CPoolCircuit*>(row->m_data);
        if (circuit->circuitId != notice.circuitId) continue;
        m_list->Select(row, IsShown());
        // The page stored the minutes in the model first.
        row->SetText(1, RunTimeText(circuit->runTime).c_str());
    }
    if (IsShown()) m_list->RedrawSelection();
}
