#include "samplegateway/climate.h"

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "core/messages/climatemessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/poolhistory.h"
#include "samplegateway/requestvalues.h"
#include "samplegateway/times.h"

namespace samplegateway {

namespace {

// The numbers of a zone's status, in the order of the answer after the zone id.
enum Field : size_t { kMode, kFan, kHold, kRoom, kHeat, kCool, kHeatOn, kCoolOn, kFanOn, kOutside, kSpare, kSeconds };
constexpr size_t kFields = 12;
constexpr int32_t kFirstZone = 1;
constexpr int32_t kLastZone = 16;

struct ZoneStatus {
    std::array<int32_t, kFields> values{};
    std::string text;
    int32_t sync = 0;
};

// A zone's day, in the answer's order: room, outside, heat and cool set points; fan, heating
// and cooling running times.
constexpr std::optional<DailyCurve> kZoneCurves[] = {DailyCurve{72, 2, 16}, DailyCurve{75, 10, 15},
                                                     DailyCurve{68, 2, 18}, DailyCurve{77, 1, 14}};
constexpr DailyRun kZoneRuns[] = {{6 * 60, 22 * 60}, {6 * 60, 7 * 60 + 30}, {13 * 60, 16 * 60 + 5}};

// {zone, start, end, sink}: the history of the range, to the sink.
std::vector<Frame> History(const Frame& request) {
    PayloadReader in(request.payload);
    int32_t zone = 0, sink = 0;
    if (!in.Int(&zone)) return {};
    const std::optional<CZVTime> start = ReadTime(in), end = ReadTime(in);
    if (!start || !end || !in.Int(&sink)) return {};
    return {{static_cast<uint16_t>(sink), ZVM_HVAC_HISTORYDATA, DailyHistory(*start, *end, kZoneCurves, kZoneRuns)}};
}

// {zone, start, end, sink}: the summary of the window, to the sink.
std::vector<Frame> Summary(const Frame& request) {
    std::array<int32_t, 1> zone{};
    PayloadReader in(request.payload);
    int32_t sink = 0;
    if (!in.Int(&zone[0]) || !ReadTime(in) || !ReadTime(in) || !in.Int(&sink)) return {};
    return {{static_cast<uint16_t>(sink), ZVM_HVAC_HISTORYLABELS,
             PayloadWriter().String("Heating: 3 h 20 min").String("Cooling: 1 h 05 min")}};
}

class ClimateState {
public:
    explicit ClimateState(const House& house) {
        for (int32_t zone = kFirstZone; zone <= kLastZone; ++zone) {
            const auto answers = house.Respond({0, ZVM_HVAC_GETTHERMOSTATQ, PayloadWriter().Int(zone)});
            if (answers.empty()) continue;
            PayloadReader in(answers.front().payload);
            int32_t id = 0;
            ZoneStatus status;
            if (!in.Int(&id) || id != zone) continue;
            for (int32_t& value : status.values)
                if (!in.Int(&value)) return;
            in.String(&status.text);
            in.Int(&status.sync);
            m_zones[zone] = status;
        }
    }

    std::vector<Frame> Status(const Frame& request) {
        const auto zone = LeadingInts<1>(request);
        std::lock_guard lock(m_mutex);
        if (!zone || !m_zones.count((*zone)[0])) return {};
        return {{request.sender, ZVM_HVAC_GETTHERMOSTATA, Payload((*zone)[0])}};
    }
    std::vector<Frame> Subscribe(const Frame& request) {
        const auto sink = LeadingInts<1>(request);
        if (!sink) return {};
        std::lock_guard lock(m_mutex);
        m_sinks.insert(static_cast<uint16_t>((*sink)[0]));
        return {{request.sender, ZVM_HVAC_SUBSCRIBEA, {}}};
    }
    std::vector<Frame> Unsubscribe(const Frame& request) {
        const auto sink = LeadingInts<1>(request);
        if (!sink) return {};
        std::lock_guard lock(m_mutex);
        m_sinks.erase(static_cast<uint16_t>((*sink)[0]));
        return {};
    }
    // {zone, value}: the field takes the value.
    std::vector<Frame> SetOne(const Frame& request, Field field) {
        const auto values = LeadingInts<2>(request);
        if (!values) return {};
        return Change((*values)[0], [&](ZoneStatus& zone) { zone.values[field] = (*values)[1]; });
    }
    // {zone, system mode, fan mode}.
    std::vector<Frame> SetMode(const Frame& request) {
        const auto values = LeadingInts<3>(request);
        if (!values) return {};
        return Change((*values)[0], [&](ZoneStatus& zone) {
            zone.values[kMode] = (*values)[1];
            zone.values[kFan] = (*values)[2];
        });
    }
    // {zone, hold mode}: -1 leaves the hold as it is.
    std::vector<Frame> SetHold(const Frame& request) {
        const auto values = LeadingInts<2>(request);
        if (!values || (*values)[1] < 0 || (*values)[1] > 3) return {};
        return Change((*values)[0], [&](ZoneStatus& zone) { zone.values[kHold] = (*values)[1]; });
    }
    // {zone, seconds}: a timed hold of that long.
    std::vector<Frame> SetTimedHold(const Frame& request) {
        const auto values = LeadingInts<2>(request);
        if (!values) return {};
        return Change((*values)[0], [&](ZoneStatus& zone) {
            zone.values[kHold] = 3;
            zone.values[kSeconds] = std::max((*values)[1], 0);
        });
    }

private:
    Bytes Payload(int32_t zone) const {
        const ZoneStatus& status = m_zones.at(zone);
        PayloadWriter out;
        out.Int(zone);
        for (int32_t value : status.values) out.Int(value);
        out.String(status.text).Int(status.sync);
        return out;
    }
    template <class Set>
    std::vector<Frame> Change(int32_t zone, Set set) {
        std::lock_guard lock(m_mutex);
        auto found = m_zones.find(zone);
        if (found == m_zones.end()) return {};
        set(found->second);
        std::vector<Frame> pushes;
        for (uint16_t sink : m_sinks) pushes.push_back({sink, ZVM_HVAC_GETTHERMOSTATA, Payload(zone)});
        return pushes;
    }

    std::mutex m_mutex;
    std::map<int32_t, ZoneStatus> m_zones;
    std::set<uint16_t> m_sinks;
};

}  // namespace

void ServeClimate(Gateway& gateway, const House& house) {
    auto state = std::make_shared<ClimateState>(house);
    gateway.On(ZVM_HVAC_GETTHERMOSTATQ, [state](const Frame& request) { return state->Status(request); });
    gateway.On(ZVM_HVAC_SUBSCRIBEQ, [state](const Frame& request) { return state->Subscribe(request); });
    gateway.On(ZVM_HVAC_UNSUBSCRIBE, [state](const Frame& request) { return state->Unsubscribe(request); });
    gateway.On(ZVM_HVAC_SETHEATSETPOINT, [state](const Frame& request) { return state->SetOne(request, kHeat); });
    gateway.On(ZVM_HVAC_SETCOOLSETPOINT, [state](const Frame& request) { return state->SetOne(request, kCool); });
    gateway.On(ZVM_HVAC_SETMODE, [state](const Frame& request) { return state->SetMode(request); });
    gateway.On(ZVM_HVAC_SETHOLD, [state](const Frame& request) { return state->SetHold(request); });
    gateway.On(ZVM_HVAC_SETTIMEDHOLD, [state](const Frame& request) { return state->SetTimedHold(request); });
    gateway.On(ZVM_HVAC_GETHISTORYQ, History);
    gateway.On(ZVM_HVAC_GETHISTORYEXTQ, History);
    gateway.On(ZVM_HVAC_GETGRAPHQ, Summary);
}

}  // namespace samplegateway
