#include "vistrel/home/pool/poolprogram.h"

#include "core/basinsetup.h"
#include "core/msgreader.h"
#include "core/zvtime.h"

namespace {

constexpr int kMinutesPerDay = 1440;
constexpr int32_t kProgramBytes = 8 * 4;

int ReadProgram(CZVMSG& message, CPoolProgram* out) {
    CPoolProgram read;
    if (!CMsgReader(message)
             .Int(read.programId)
             .Int(read.circuitId)
             .Int(read.start)
             .Int(read.stop)
             .Int(read.dayMask)
             .Int(read.flags)
             .Int(read.heatCommand)
             .Int(read.setPoint))
        return 0;
    *out = read;
    return 1;
}

}  // namespace

int ReadPoolPrograms(CZVMSG& message, std::vector<CPoolProgram>* out) {
    out->clear();
    int32_t count = 0;
    if (!message.ReadInt(count)) return 0;
    return ReadRecords(message, count, kProgramBytes, [&](int32_t) {
        CPoolProgram program;
        if (!ReadProgram(message, &program)) return 0;
        out->push_back(program);
        return 1;
    });
}

void WritePoolProgram(CZVMSG& message, const CPoolProgram& program) {
    for (int32_t value : {program.programId, program.circuitId, program.start, program.stop, program.dayMask,
                          program.flags, program.heatCommand, program.setPoint})
        message.WriteInt(value);
}

std::vector<CPoolProgram> OrderPoolPrograms(const CBasinSetup& model, const std::vector<CPoolProgram>& programs,
                                            int32_t lastId) {
    std::vector<CPoolProgram> ordered;
    const CPoolProgram* last = nullptr;
    for (int i = 0; i < model.GetCircuitCount(); ++i) {
        const int32_t circuitId = model.GetCircuit(i)->circuitId;
        for (const CPoolProgram& program : programs) {
            if (program.circuitId != circuitId) continue;
            if (program.programId == lastId && !last)
                last = &program;
            else
                ordered.push_back(program);
        }
    }
    if (last) ordered.push_back(*last);
    return ordered;
}

int StepMinute(int minute, int up, int step) {
    const int moved = up ? minute + step : minute - step;
    return ((moved % kMinutesPerDay) + kMinutesPerDay) % kMinutesPerDay;
}

std::string DaysText(int32_t mask) {
    if ((mask & CPoolProgram::kEveryDay) == 0) return "None";
    if ((mask & CPoolProgram::kEveryDay) == CPoolProgram::kEveryDay) return "Every Day";
    std::string text;
    for (int day = 0; day < 7; ++day) {
        if (!(mask & (1 << day))) continue;
        if (!text.empty()) text += ", ";
        text += GetDayNameShort(day);
    }
    return text;
}

std::string HeatCommandText(const CBasinSetup& model, const CPoolProgram& program) {
    const CPoolCircuit* circuit = model.FindCircuitById(program.circuitId);
    if (!circuit || !circuit->IsPoolOrSpa()) return "";
    std::string mode;
    if (program.heatCommand != CPoolProgram::kDontChangeHeat) mode = model.GetHeatModeText(program.heatCommand);
    if (!(program.flags & CPoolProgram::kHeatSetPointFlag)) return mode;
    const std::string setPoint = model.GetTempText(program.setPoint);
    return mode.empty() ? setPoint : mode + ":" + setPoint;
}
