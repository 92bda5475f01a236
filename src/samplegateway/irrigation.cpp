#include "samplegateway/irrigation.h"

#include <algorithm>
#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/messages/irrigationmessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/requestvalues.h"
#include "samplegateway/times.h"

namespace samplegateway {

namespace {

constexpr int32_t kManualRunTime = 300;  // seconds, every zone's at start
constexpr int kMaxDays = 62;             // a longer range gets its last days only
constexpr int64_t kMorningRun = 6 * 60;  // minutes after midnight
constexpr int64_t kZoneRun = 15;         // minutes each zone waters

struct Group {
    std::string name;
    int32_t id = 0;
    int32_t rule = 0;
};
struct Program {
    int32_t id = 0;
    std::string name;
    int32_t type = 0;
    int32_t value = 0;
};
struct Zone {
    int32_t id = 0;
    std::string name;
    std::vector<std::pair<int32_t, int32_t>> pairs;  // {program id, base seconds}
    int32_t manualTime = kManualRunTime;
    int32_t toRun = 0;
};
struct Status {
    int32_t mode = kIrrigationRunProgram;
    int32_t spare = 0;
    int32_t remaining = 0;
    int32_t rain = 0;
    std::string zone;
};

Bytes HouseAnswer(const House& house, uint16_t id, std::initializer_list<int32_t> values = {}) {
    PayloadWriter request;
    for (int32_t value : values) request.Int(value);
    const auto answers = house.Respond({0, id, request});
    return answers.empty() ? Bytes{} : answers.front().payload;
}

class IrrigationState {
public:
    explicit IrrigationState(const House& house) {
        Bytes groups = HouseAnswer(house, ZVM_IRRIGATION_GETGROUPSQ);
        PayloadReader in(groups);
        int32_t count = 0;
        for (in.Int(&count); count-- > 0;) {
            Group g;
            if (!in.String(&g.name) || !in.Int(&g.id) || !in.Int(&g.rule)) break;
            m_groups.push_back(g);
        }
        ReadPrograms(HouseAnswer(house, ZVM_IRRIGATION_GETSUMMARYQ));
        for (const Group& g : m_groups) ReadZones(g.id, HouseAnswer(house, ZVM_IRRIGATION_GETGROUPQ, {g.id}));
        Bytes seasonal = HouseAnswer(house, ZVM_IRRIGATION_GETSEASONALQ);
        PayloadReader percents(seasonal);
        percents.Raw(m_percents.data(), m_percents.size());
        Bytes status = HouseAnswer(house, ZVM_IRRIGATION_GETSTATUSQ);
        PayloadReader st(status);
        st.Int(&m_status.mode) && st.Int(&m_status.spare) && st.Int(&m_status.remaining) && st.Int(&m_status.rain) &&
            st.String(&m_status.zone);
    }

    std::vector<Frame> Groups(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(static_cast<int32_t>(m_groups.size()));
        for (const Group& g : m_groups) out.String(g.name).Int(g.id).Int(g.rule);
        return Answer(request, out);
    }
    std::vector<Frame> Programs(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(static_cast<int32_t>(m_programs.size()));
        for (const Program& p : m_programs) out.Int(p.id).String(p.name).Int(p.type).Int(p.value);
        return Answer(request, out);
    }
    std::vector<Frame> GroupZones(const Frame& request) {
        const auto values = IntsOf(request);
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        int32_t count = 0;
        for (const auto& [group, zone] : m_zones) count += !values.empty() && group == values[0];
        out.Int(count);
        for (const auto& [group, zone] : m_zones) {
            if (values.empty() || group != values[0]) continue;
            out.Int(zone.id).String(zone.name);
            for (const auto& [program, seconds] : zone.pairs) out.Int(program).Int(seconds);
        }
        return Answer(request, out);
    }
    // {zone, count, count x {program, seconds}}.
    std::vector<Frame> SetZone(const Frame& request) {
        const auto values = IntsOf(request);
        std::lock_guard lock(m_mutex);
        if (values.size() >= 2)
            if (Zone* zone = ZoneOf(values[0])) {
                const size_t count =
                    std::min<size_t>(static_cast<size_t>(std::max(values[1], 0)), (values.size() - 2) / 2);
                zone->pairs.clear();
                for (size_t i = 0; i < count; ++i) zone->pairs.emplace_back(values[2 + 2 * i], values[3 + 2 * i]);
            }
        return Answer(request, {});
    }
    std::vector<Frame> SetDays(const Frame& request) {
        const auto values = IntsOf(request);
        std::lock_guard lock(m_mutex);
        for (Group& g : m_groups)
            if (values.size() >= 2 && g.id == values[0]) g.rule = values[1];
        return Answer(request, {});
    }
    std::vector<Frame> SetStart(const Frame& request) {
        const auto values = IntsOf(request);
        std::lock_guard lock(m_mutex);
        for (Program& p : m_programs)
            if (values.size() >= 3 && p.id == values[0]) {
                p.type = values[1];
                p.value = values[2];
            }
        return Answer(request, {});
    }
    std::vector<Frame> RunPrograms(const Frame&) { return SetMode(kIrrigationRunProgram); }
    std::vector<Frame> AllOff(const Frame&) { return SetMode(kIrrigationOff); }
    // {0, 0} selects manual mode; {zone, seconds} runs the zone, 0 stops it.
    std::vector<Frame> ManualRun(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.size() < 2) return {};
        if (values[0] == 0) return SetMode(kIrrigationManual);
        std::lock_guard lock(m_mutex);
        if (Zone* zone = ZoneOf(values[0])) zone->toRun = std::max(values[1], 0);
        return {};
    }
    std::vector<Frame> ManualZones(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(m_status.mode).Int(static_cast<int32_t>(m_zones.size()));
        for (const auto& [group, zone] : m_zones)
            out.Int(zone.id).String(zone.name).Int(zone.toRun).Int(zone.manualTime);
        return Answer(request, out);
    }
    std::vector<Frame> SetManualTime(const Frame& request) {
        const auto values = IntsOf(request);
        std::lock_guard lock(m_mutex);
        if (values.size() >= 2)
            if (Zone* zone = ZoneOf(values[0])) zone->manualTime = values[1];
        return {};
    }
    // The remaining time is the house's own, so that pictures never depend on when they are taken.
    std::vector<Frame> GetStatus(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(m_status.mode).Int(m_status.spare).Int(m_status.remaining).Int(m_status.rain).String(m_status.zone);
        return Answer(request, out);
    }
    std::vector<Frame> Seasonal(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        for (uint8_t percent : m_percents) out.Byte(percent);
        return Answer(request, out);
    }
    std::vector<Frame> SetSeasonal(const Frame& request) {
        const auto values = IntsOf(request);
        std::lock_guard lock(m_mutex);
        if (values.size() >= 2 && values[0] >= 1 && values[0] <= 12)
            m_percents[static_cast<size_t>(values[0] - 1)] = static_cast<uint8_t>(std::clamp(values[1], 0, 255));
        return Answer(request, {});
    }
    // {-1, from, to}: one controller timeline and every day's run of each zone and of the rain sensor.
    std::vector<Frame> History(const Frame& request) {
        PayloadReader in(request.payload);
        int32_t all = 0;
        in.Int(&all);
        const auto from = ReadTime(in);
        const auto to = ReadTime(in);
        if (!from || !to) return {};
        std::lock_guard lock(m_mutex);
        std::vector<CZVTime> days;
        for (CZVTime day = DayStart(*from); day < *to; day = PlusMinutes(day, 24 * 60)) days.push_back(day);
        if (days.size() > kMaxDays) days.erase(days.begin(), days.end() - kMaxDays);
        PayloadWriter out;
        out.Int(1).String("Controller").Int(static_cast<int32_t>(2 * days.size()));
        const int64_t programEnd = kMorningRun + kZoneRun * static_cast<int64_t>(m_zones.size());
        for (const CZVTime& day : days) {
            Interval(out, PlusMinutes(day, 0), PlusMinutes(day, kMorningRun), kIrrigationOff);
            Interval(out, PlusMinutes(day, kMorningRun), PlusMinutes(day, programEnd), kIrrigationRunProgram);
        }
        out.Int(static_cast<int32_t>(m_zones.size() + 1));
        int64_t start = kMorningRun;
        for (const auto& [group, zone] : m_zones) {
            out.String(zone.name).Int(static_cast<int32_t>(days.size()));
            for (const CZVTime& day : days) Range(out, PlusMinutes(day, start), PlusMinutes(day, start + kZoneRun));
            start += kZoneRun;
        }
        // The rain sensor was wet on every third day's afternoon.
        std::vector<CZVTime> wet;
        for (size_t i = 0; i < days.size(); i += 3) wet.push_back(days[i]);
        out.String("Rain").Int(static_cast<int32_t>(wet.size()));
        for (const CZVTime& day : wet) Range(out, PlusMinutes(day, 14 * 60), PlusMinutes(day, 17 * 60));
        return {{request.sender, ZVM_IRRIGATION_GETHISTORYA, out}};
    }

private:
    static std::vector<Frame> Answer(const Frame& request, Bytes payload) {
        return {{request.sender, static_cast<uint16_t>(request.id + 1), std::move(payload)}};
    }
    static void Interval(PayloadWriter& out, const CZVTime& start, const CZVTime& end, int32_t mode) {
        WriteTime(out, start);
        WriteTime(out, end);
        out.Int(mode);
    }
    static void Range(PayloadWriter& out, const CZVTime& start, const CZVTime& end) {
        WriteTime(out, start);
        WriteTime(out, end);
    }
    std::vector<Frame> SetMode(int32_t mode) {
        std::lock_guard lock(m_mutex);
        m_status.mode = mode;
        return {};
    }
    void ReadPrograms(const Bytes& payload) {
        PayloadReader in(payload);
        int32_t count = 0;
        for (in.Int(&count); count-- > 0;) {
            Program p;
            if (!in.Int(&p.id) || !in.String(&p.name) || !in.Int(&p.type) || !in.Int(&p.value)) break;
            m_programs.push_back(p);
        }
    }
    void ReadZones(int32_t group, const Bytes& payload) {
        PayloadReader in(payload);
        int32_t count = 0;
        for (in.Int(&count); count-- > 0;) {
            Zone zone;
            if (!in.Int(&zone.id) || !in.String(&zone.name)) return;
            for (size_t p = 0; p < m_programs.size(); ++p) {
                std::pair<int32_t, int32_t> pair;
                if (!in.Int(&pair.first) || !in.Int(&pair.second)) return;
                zone.pairs.push_back(pair);
            }
            m_zones.emplace_back(group, zone);
        }
    }
    Zone* ZoneOf(int32_t id) {
        for (auto& [group, zone] : m_zones)
            if (zone.id == id) return &zone;
        return nullptr;
    }

    std::mutex m_mutex;
    std::vector<Group> m_groups;
    std::vector<Program> m_programs;
    std::vector<std::pair<int32_t, Zone>> m_zones;  // {group id, zone}
    std::array<uint8_t, 12> m_percents{};
    Status m_status;
};

}  // namespace

void ServeIrrigation(Gateway& gateway, const House& house) {
    auto state = std::make_shared<IrrigationState>(house);
    const std::pair<uint16_t, std::vector<Frame> (IrrigationState::*)(const Frame&)> handlers[] = {
        {ZVM_IRRIGATION_GETGROUPSQ, &IrrigationState::Groups},
        {ZVM_IRRIGATION_GETSUMMARYQ, &IrrigationState::Programs},
        {ZVM_IRRIGATION_GETGROUPQ, &IrrigationState::GroupZones},
        {ZVM_IRRIGATION_SETGROUPZONESQ, &IrrigationState::SetZone},
        {ZVM_IRRIGATION_SETWATERDAYSQ, &IrrigationState::SetDays},
        {ZVM_IRRIGATION_SETSTARTTIMEQ, &IrrigationState::SetStart},
        {ZVM_IRRIGATION_RUNPROGRAMS, &IrrigationState::RunPrograms},
        {ZVM_IRRIGATION_ALLOFF, &IrrigationState::AllOff},
        {ZVM_IRRIGATION_MANUALRUN, &IrrigationState::ManualRun},
        {ZVM_IRRIGATION_GETMANUALZONESQ, &IrrigationState::ManualZones},
        {ZVM_IRRIGATION_SETMANUALTIME, &IrrigationState::SetManualTime},
        {ZVM_IRRIGATION_GETHISTORYQ, &IrrigationState::History},
        {ZVM_IRRIGATION_GETSTATUSQ, &IrrigationState::GetStatus},
        {ZVM_IRRIGATION_GETSEASONALQ, &IrrigationState::Seasonal},
        {ZVM_IRRIGATION_SETSEASONALQ, &IrrigationState::SetSeasonal},
    };
    for (const auto& [id, handler] : handlers)
        gateway.On(id, [state, handler = handler](const Frame& request) { return ((*state).*handler)(request); });
}

}  // namespace samplegateway
