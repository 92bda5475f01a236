#include "vistrel/home/pool/poolschedcircuitwnd.h"

#include <algorithm>

#include "core/zvtime.h"
#include "gfx/speed.h"
#include "platform/report.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/style/setserver.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr const char* kSource = "poolschedcircuitwnd";
constexpr int kUnknownCircuitLine = 200;
constexpr int kRows = 8;
constexpr int kCaptionWidth = 230;
constexpr int kFontSize = 20;
constexpr int kCaptionClass = 17;
constexpr int kValueFormat = 18;
constexpr int kButtonClass = 16;
constexpr int kArrowBevel = 2;
constexpr int kLeftArrowIcon = 5;
constexpr int kRightArrowIcon = 4;
constexpr int kDayGap = 5;
constexpr int kMinutesPerDay = 1440;
constexpr int kHeatCommands = 5;  // 0..3 heat modes, 4 leave it
constexpr uint32_t kSolarOrHeatPump = 0x03;
constexpr int kSpaFunction = 1;

int HasSmartStart(const CPoolCircuit& circuit) {
    const int light = circuit.function == 9 || circuit.function == 10 || circuit.function == 12;
    return light && !(circuit.flags & 0x01);
}

std::string YesOr(int yes, const char* no) { return yes ? "Yes" : no; }

}  // namespace

CPoolSchedCircuitWnd::CPoolSchedCircuitWnd(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CPoolProgram* program,
                                           int changedId, int runOnce)
    : CRRegion(parent, rect, kStyleClass),
      m_changedId(changedId),
      m_runOnce(runOnce),
      m_model(model),
      m_program(program) {
    SetCornerRadius(15);
    SetBevel(10);
    SetMargin(0);
    for (CChildWindowList* group : {&m_heatRows, &m_setPointRow, &m_smartStartRow}) group->SetParent(this);
    CZVRect area;
    GetContentRectWide(&area);
    const EditorRow rows[] = {
        {1, "Circuit", kCircuitDown, kCircuitUp, 0},
        {2, "Start Time", kStartDown, kStartUp, 1},
        {3, "Stop Time", kStopDown, kStopUp, 1},
        {4, "Smart Start", kSmartStartToggle, kSmartStartToggle, 1},
        {4, "Heat Command", kHeatDown, kHeatUp, 0},
        {5, "Change Heat Set Point", kSetPointToggle, kSetPointToggle, 0},
        {6, "Heat Set Point", kSetPointDown, kSetPointUp, 1},
    };
    m_circuit = AddEditorRow(area, rows[0], nullptr);
    m_start = AddEditorRow(area, rows[1], nullptr);
    if (!m_runOnce)
        m_stop = AddEditorRow(area, rows[2], nullptr);
    else
        m_stop = AddEditorRow(area, {3, "Stop Time", 0, 0, 0}, nullptr);
    m_smartStart = AddEditorRow(area, rows[3], &m_smartStartRow);
    m_heatCommand = AddEditorRow(area, rows[4], &m_heatRows);
    m_changeSetPoint = AddEditorRow(area, rows[5], &m_heatRows);
    m_setPoint = AddEditorRow(area, rows[6], &m_setPointRow);
    AddEditorRow(area, {7, m_runOnce ? "Day to Run" : "Days to Run", 0, 0, 0}, nullptr);
    AddDayButtons(area);
    UpdateValues(0);
}

CZVLabel* CPoolSchedCircuitWnd::AddEditorRow(const CZVRect& area, const EditorRow& row, CChildWindowList* group) {
    const int height = area.h / kRows;
    const int y = area.y + (row.row - 1) * height;
    const auto join = [group](CZVWindow* window) {
        if (group) group->AddTail(window);
    };
    join(AddLabelClass(CZVRect(area.x, y, kCaptionWidth, height), row.caption, kFontSize, kCaptionClass));
    if (row.row == 7) return nullptr;  // the days' caption
    CZVRect value(area.x + kCaptionWidth, y, area.w - kCaptionWidth, height);
    if (row.downId) {
        COLORREF style = GetFaceColor();
        if (CSetServer* set = CSetServer::Get()) style = set->GetStyleColor(kButtonClass, 0);
        const COLORREF face = MixColors(GetFaceColor(), style, 0.5);
        for (int up : {0, 1}) {
            const CZVRect place(up ? value.x + value.w - height : value.x, y, height, height);
            CZV3DButton* arrow = Add3DButtonDefault(place, up ? row.upId : row.downId, kButtonClass, "");
            arrow->SetBevel(kArrowBevel);
            arrow->SetFaceColor(face);
            arrow->SetIconKind(up ? kRightArrowIcon : kLeftArrowIcon, nullptr);
            arrow->SetPressIds(arrow->GetCommandId(), kReleased);
            if (row.repeat) {
                arrow->SetAutoRepeat(1);
                arrow->SetRepeatTiming(250, 10, 500, 1500);
            }
            join(arrow);
        }
        value = CZVRect(value.x + height, y, value.w - 2 * height, height);
    }
    CZVLabel* label = AddLabelClass(value, "", kFontSize, kStyleClass);
    label->SetTextFormat(kValueFormat);
    label->SetBevelType(1);
    join(label);
    return label;
}

void CPoolSchedCircuitWnd::AddDayButtons(const CZVRect& area) {
    const int height = area.h / kRows;
    const int y = area.y + (kRows - 1) * height;
    const int columns = m_runOnce ? 7 : 8;
    const int width = (area.w - (columns - 1) * kDayGap) / columns;
    int column = 0;
    const auto cell = [&] { return CZVRect(area.x + column++ * (width + kDayGap), y, width, height); };
    if (!m_runOnce) Add3DButtonDefault(cell(), kAllDays, kButtonClass, "All");
    // Sunday first.
    for (int shown = 0; shown < 7; ++shown) {
        const int day = (shown + 6) % 7;
        m_days[day] = AddCheckButton(cell(), kFirstDay + day, kButtonClass, GetDayNameShort(day).c_str());
    }
}

void CPoolSchedCircuitWnd::UpdateValues(int redraw) {
    const CPoolCircuit* circuit = Circuit();
    const CPoolProgram& program = *m_program;
    m_circuit->SetText(circuit ? circuit->name.c_str() : "", nullptr, redraw);
    m_start->SetText(FormatHourMinute(program.start).c_str(), nullptr, redraw);
    m_stop->SetText(FormatHourMinute(program.stop).c_str(), nullptr, redraw);
    for (int day = 0; day < 7; ++day) m_days[day]->SetCheck((program.dayMask >> day) & 1, 0, redraw);
    const int heat = circuit && circuit->IsPoolOrSpa();
    const int setPoint = heat && (program.flags & CPoolProgram::kHeatSetPointFlag);
    const int smartStart = circuit && HasSmartStart(*circuit);
    m_heatCommand->SetText(m_model->GetHeatModeText(program.heatCommand).c_str(), nullptr,
                           redraw && m_heatRows.IsAttached());
    m_changeSetPoint->SetText(YesOr(program.flags & CPoolProgram::kHeatSetPointFlag, "Use Manual Setting").c_str(),
                              nullptr, redraw && m_heatRows.IsAttached());
    m_setPoint->SetText(m_model->GetTempText(program.setPoint).c_str(), nullptr, redraw && m_setPointRow.IsAttached());
    m_smartStart->SetText(YesOr(program.flags & CPoolProgram::kSmartStartFlag, "No").c_str(), nullptr,
                          redraw && m_smartStartRow.IsAttached());
    if (!smartStart) m_smartStartRow.Detach(1);
    if (!setPoint) m_setPointRow.Detach(1);
    if (!heat) m_heatRows.Detach(1);
    if (smartStart) m_smartStartRow.Attach();
    if (heat) m_heatRows.Attach();
    if (setPoint) m_setPointRow.Attach();
}

void CPoolSchedCircuitWnd::Notify() {
    if (m_parent) m_parent->OnCommand(m_changedId);
}

void CPoolSchedCircuitWnd::SetStopFromRunTime() {
    const CPoolCircuit* circuit = Circuit();
    if (!circuit) return;
    m_program->stop = (m_program->start + circuit->runTime) % kMinutesPerDay;
}

int CPoolSchedCircuitWnd::OnChildCommand(int id, int count) {
    const int shown = IsShown();
    switch (id) {
    case kCircuitDown:
    case kCircuitUp: ChangeCircuit(id == kCircuitUp); break;
    case kStartDown:
    case kStartUp:
        StepTime(&m_program->start, m_start, id == kStartUp, count);
        if (m_runOnce) {
            SetStopFromRunTime();
            m_stop->SetText(FormatHourMinute(m_program->stop).c_str(), nullptr, shown);
        }
        break;
    case kStopDown:
    case kStopUp: StepTime(&m_program->stop, m_stop, id == kStopUp, count); break;
    case kReleased: Notify(); break;
    case kAllDays:
        for (int day = 0; day < 7; ++day) {
            m_days[day]->SetCheck(1, 0, shown);
            PressDay(day);
        }
        break;
    case kHeatDown:
    case kHeatUp: StepHeatCommand(id == kHeatUp); break;
    case kSetPointToggle: ToggleFlag(CPoolProgram::kHeatSetPointFlag); break;
    case kSetPointDown:
    case kSetPointUp: StepSetPoint(id == kSetPointUp ? count : -count); break;
    case kSmartStartToggle: ToggleFlag(CPoolProgram::kSmartStartFlag); break;
    default:
        if (id >= kFirstDay && id < kFirstDay + 7) PressDay(id - kFirstDay);
        break;
    }
    return 1;
}

void CPoolSchedCircuitWnd::ChangeCircuit(int up) {
    const CPoolCircuit* circuit = Circuit();
    const CPoolCircuit* next = circuit ? (up ? m_model->NextCircuit(circuit) : m_model->PrevCircuit(circuit)) : nullptr;
    if (!next) {
        ReportAssert(kSource, kUnknownCircuitLine, 1);
        return;
    }
    m_program->circuitId = next->circuitId;
    if (m_runOnce) SetStopFromRunTime();
    UpdateValues(IsShown());
    Notify();
}

void CPoolSchedCircuitWnd::StepTime(int32_t* minute, CZVLabel* label, int up, int count) {
    *minute = StepMinute(*minute, up, count);
    label->SetText(FormatHourMinute(*minute).c_str(), nullptr, IsShown());
}

void CPoolSchedCircuitWnd::PressDay(int day) {
    if (m_runOnce)
        for (int other = 0; other < 7; ++other)
            if (other != day) m_days[other]->SetCheck(0, 0, IsShown());
    int32_t mask = 0;
    for (int each = 0; each < 7; ++each)
        if (m_days[each]->GetCheck()) mask |= 1 << each;
    m_program->dayMask = mask;
    if (m_runOnce) SetStopFromRunTime();
    Notify();
}

void CPoolSchedCircuitWnd::StepHeatCommand(int up) {
    int next = ((m_program->heatCommand + (up ? 1 : -1)) % kHeatCommands + kHeatCommands) % kHeatCommands;
    const int noSecondHeat = !(m_model->GetEquipmentFlags() & kSolarOrHeatPump);
    if (noSecondHeat && (next == 1 || next == 2)) next = up ? 3 : 0;
    m_program->heatCommand = next;
    UpdateValues(IsShown());
    Notify();
}

void CPoolSchedCircuitWnd::StepSetPoint(int delta) {
    // A spa program heats the spa: its set point keeps within the spa's range.
    const CPoolCircuit* circuit = Circuit();
    const CPoolBody* body = m_model->GetBody(circuit && circuit->function == kSpaFunction ? 1 : 0);
    const int32_t low = std::min(body->setPointMin, body->setPointMax);
    const int32_t high = std::max(body->setPointMin, body->setPointMax);
    const int32_t next = std::clamp(m_program->setPoint + delta, low, high);
    if (next == m_program->setPoint) return;
    m_program->setPoint = next;
    m_setPoint->SetText(m_model->GetTempText(next).c_str(), nullptr, IsShown() && m_setPointRow.IsAttached());
}

void CPoolSchedCircuitWnd::ToggleFlag(int32_t flag) {
    m_program->flags ^= flag;
    UpdateValues(IsShown());
    Notify();
}
