#include "samplegateway/poolschedules.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/messages/coremessages.h"
#include "core/messages/schedulemessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/requestvalues.h"

namespace samplegateway {

namespace {

constexpr uint16_t kEverySink = 0x7FFF;
constexpr const char* kCircuits = "tablet_circuits";
constexpr size_t kRunTimeColumn = 10;
constexpr int kTypes = 2;

using Program = std::array<int32_t, 8>;  // id, circuit, start, stop, days, flags, heat, set point

// A new program: 8:00 AM to 9:00 AM every day, the heat left as it is.
constexpr Program kNewProgram = {0, 0, 480, 540, 0x7F, 0, 4, 0};

// The programs of the house's answer to {0, type}.
std::vector<Program> HouseProgramsOf(const House& house, int32_t type) {
    std::vector<Program> programs;
    const auto answers = house.Respond({0, ZVM_POOL_GETSCHEDULESQ, PayloadWriter().Int(0).Int(type)});
    if (answers.empty()) return programs;
    PayloadReader in(answers.front().payload);
    int32_t count = 0;
    if (!in.Int(&count)) return programs;
    for (int32_t i = 0; i < count; ++i) {
        Program program{};
        for (int32_t& value : program)
            if (!in.Int(&value)) return programs;
        programs.push_back(program);
    }
    return programs;
}

class ScheduleState {
public:
    explicit ScheduleState(const House& house) : m_house(house) {
        for (int32_t type = 0; type < kTypes; ++type) m_programs[type] = HouseProgramsOf(house, type);
    }

    std::vector<Frame> Programs(const Frame& request) {
        const auto values = LeadingInts<2>(request);
        if (!values || !IsType((*values)[1])) return {};
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        const auto& programs = m_programs[(*values)[1]];
        out.Int(static_cast<int32_t>(programs.size()));
        for (const Program& program : programs)
            for (int32_t value : program) out.Int(value);
        return {{request.sender, ZVM_POOL_GETSCHEDULESQ + 1, out}};
    }
    std::vector<Frame> Add(const Frame& request) {
        const auto values = LeadingInts<2>(request);
        if (!values || !IsType((*values)[1])) return {};
        std::lock_guard lock(m_mutex);
        Program program = kNewProgram;
        program[0] = NextId();
        program[1] = FirstCircuit();
        m_programs[(*values)[1]].push_back(program);
        return {{request.sender, ZVM_POOL_ADDPROGRAMQ + 1, PayloadWriter().Int(program[0])}};
    }
    std::vector<Frame> Delete(const Frame& request) {
        const auto values = LeadingInts<2>(request);
        if (!values) return {};
        std::lock_guard lock(m_mutex);
        for (auto& programs : m_programs)
            std::erase_if(programs, [&](const Program& p) { return p[0] == (*values)[1]; });
        return {{request.sender, ZVM_POOL_DELETEPROGRAMQ + 1, {}}};
    }
    std::vector<Frame> Store(const Frame& request) {
        const auto values = LeadingInts<9>(request);
        if (!values) return {};
        std::lock_guard lock(m_mutex);
        for (auto& programs : m_programs)
            for (Program& program : programs)
                if (program[0] == (*values)[1]) std::copy(values->begin() + 1, values->end(), program.begin());
        return {};
    }
    std::vector<Frame> Config(const Frame& request) {
        std::lock_guard lock(m_mutex);
        return m_house.Respond(request);
    }
    // {controller, circuit, minutes}: every sink of the client hears of it.
    std::vector<Frame> SetRunTime(const Frame& request) {
        const auto values = LeadingInts<3>(request);
        if (!values) return {};
        std::lock_guard lock(m_mutex);
        const int32_t circuit = (*values)[1];
        const int32_t minutes = (*values)[2];
        if (!m_house.SetRecordField(kCircuits, circuit, kRunTimeColumn, int64_t{minutes})) return {};
        return {{kEverySink, ZVM_POOL_RUNTIMECHANGED, PayloadWriter().Int(circuit).Int(minutes)}};
    }

private:
    static bool IsType(int32_t type) { return type >= 0 && type < kTypes; }
    int32_t NextId() const {
        int32_t id = 0;
        for (const auto& programs : m_programs)
            for (const Program& program : programs) id = std::max(id, program[0]);
        return id + 1;
    }
    // The circuit of the first program there is; a new program switches it.
    int32_t FirstCircuit() const {
        for (const auto& programs : m_programs)
            if (!programs.empty()) return programs.front()[1];
        return 0;
    }

    std::mutex m_mutex;
    House m_house;
    std::array<std::vector<Program>, kTypes> m_programs;
};

}  // namespace

void ServePoolSchedules(Gateway& gateway, const House& house) {
    auto state = std::make_shared<ScheduleState>(house);
    gateway.On(ZVM_POOL_GETSCHEDULESQ, [state](const Frame& request) { return state->Programs(request); });
    gateway.On(ZVM_POOL_ADDPROGRAMQ, [state](const Frame& request) { return state->Add(request); });
    gateway.On(ZVM_POOL_DELETEPROGRAMQ, [state](const Frame& request) { return state->Delete(request); });
    gateway.On(ZVM_POOL_SETPROGRAM, [state](const Frame& request) { return state->Store(request); });
    gateway.On(ZVM_POOL_GETCONFIGQ, [state](const Frame& request) { return state->Config(request); });
    gateway.On(ZVM_POOL_SETRUNTIME, [state](const Frame& request) { return state->SetRunTime(request); });
}

}  // namespace samplegateway
