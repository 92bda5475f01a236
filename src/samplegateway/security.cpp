#include "samplegateway/security.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/messages/securitymessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/times.h"

namespace samplegateway {

namespace {

constexpr int32_t kArmed = 0x01;
constexpr int32_t kReady = 0x04;
constexpr int32_t kReadyToBypass = 0x08;
constexpr int32_t kAlarm = 0x10;
constexpr int32_t kCanBypass = 0x01;
constexpr int32_t kBypassed = 0x02;
constexpr int32_t kFaulted = 0x04;
constexpr int32_t kCanUnbypass = 0x10;
constexpr int kMaxDays = 62;  // a longer range gets its last days only: the answer stays small

struct Mode {
    uint8_t value;
    uint8_t shown;
    uint8_t withoutCode;
    uint8_t codeLength;
    const char* name;
};

struct Zone {
    int32_t id;
    const char* name;
    bool open;      // not secure, whatever its bypass
    int32_t state;  // the state bits it starts with
};

struct Partition {
    const char* name;
    int32_t id;
    int32_t area;
    int32_t keypad;
    int32_t bypass;
    std::vector<Mode> modes;
    std::vector<Zone> zones;
    std::vector<std::string> faults;
    int32_t status;
};

std::vector<Partition> SampleAlarm() {
    return {
        {"House",
         1,
         1,
         1,
         1,
         {{0, 1, 0, 4, "Disarm"},
          {1, 1, 0, 4, "Stay"},
          {2, 1, 0, 4, "Away"},
          {3, 1, 1, 0, "Instant"},
          {4, 0, 0, 4, "Maximum"}},
         {{1, "Front Door", false, 0},
          {2, "Back Door", true, kCanBypass | kFaulted},
          {3, "Kitchen Window", false, 0},
          {4, "Hall Motion", false, 0},
          {5, "Garage Entry", false, kBypassed | kCanUnbypass}},
         {"Low Battery: Hall Motion"},
         kReadyToBypass},
        {"Garage",
         2,
         2,
         1,
         0,
         {{0, 1, 0, 4, "Disarm"}, {1, 1, 0, 4, "Arm"}},
         {{6, "Side Door", false, 0}, {7, "Overhead Door", false, 0}},
         {},
         kReady},
    };
}

// Each day of the history: the nights armed Away, the doors opening.
struct Opening {
    int32_t zone;
    int from;  // minutes of the day
    int to;
};
constexpr int kArmAt = 22 * 60;
constexpr int kDisarmAt = 6 * 60 + 30;
constexpr Opening kOpenings[] = {
    {1, 7 * 60 + 45, 7 * 60 + 47}, {2, 18 * 60, 18 * 60 + 5}, {5, 17 * 60 + 30, 17 * 60 + 32}};
// The short alarm, in the night before the newest day: Hall Motion.
constexpr int kAlarmAt = 2 * 60 + 10;
constexpr int kAlarmMinutes = 4;
constexpr int32_t kAlarmZone = 4;
constexpr int32_t kAwayValue = 2;

void WritePartition(PayloadWriter& out, const Partition& p) {
    out.String(p.name).Int(p.id).Int(p.area).Int(0).Int(p.keypad).Int(p.bypass);
    out.Int(static_cast<int32_t>(p.modes.size()));
    for (const Mode& mode : p.modes)
        out.Byte(mode.value).Byte(mode.shown).Byte(mode.withoutCode).Byte(mode.codeLength).String(mode.name);
    out.Int(static_cast<int32_t>(p.zones.size()));
    for (const Zone& zone : p.zones) out.Int(zone.id).String(zone.name).Int(0);
}

class Alarm {
public:
    std::vector<Frame> Summary(const Frame& request) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(1).Int(static_cast<int32_t>(m_partitions.size()));
        for (const Partition& p : m_partitions) WritePartition(out, p);
        return {{request.sender, ZVM_SECURITY_GETSUMMARYA, out}};
    }
    std::vector<Frame> One(const Frame& request, int32_t id) {
        std::lock_guard lock(m_mutex);
        const Partition* p = Find(id);
        if (!p) return {};
        PayloadWriter out;
        WritePartition(out, *p);
        return {{request.sender, ZVM_SECURITY_GETPARTITIONA, out}};
    }
    std::vector<Frame> Names(const Frame& request, int32_t area) {
        std::lock_guard lock(m_mutex);
        PayloadWriter out;
        out.Int(0);
        std::vector<const Zone*> zones;
        for (const Partition& p : m_partitions)
            if (p.area == area)
                for (const Zone& zone : p.zones) zones.push_back(&zone);
        out.Int(static_cast<int32_t>(zones.size()));
        for (const Zone* zone : zones) out.Int(zone->id).String(zone->name);
        return {{request.sender, ZVM_SECURITY_GETLISTSA, out}};
    }
    std::vector<Frame> Status(uint16_t to, int32_t id) {
        std::lock_guard lock(m_mutex);
        const Partition* p = Find(id);
        if (!p) return {};
        PayloadWriter out;
        out.Int(static_cast<int32_t>(p->faults.size()));
        for (const std::string& line : p->faults) out.String(line);
        out.Int(static_cast<int32_t>(p->zones.size()));
        for (const Zone& zone : p->zones) out.Int(zone.id).Int(zone.state);
        out.Int(p->status);
        return {{to, ZVM_SECURITY_GETSTATUSA, out}};
    }
    void Subscribe(uint16_t sink, int32_t id) {
        std::lock_guard lock(m_mutex);
        m_subscribers.insert({sink, id});
    }
    void Unsubscribe(uint16_t sink) {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_subscribers, [sink](const auto& entry) { return entry.first == sink; });
    }
    // Changes the partition and answers the request, telling its subscribers.
    template <class Edit>
    std::vector<Frame> Change(const Frame& request, int32_t id, Edit change) {
        std::lock_guard lock(m_mutex);
        Partition* p = Find(id);
        if (!p) return {};
        change(*p);
        std::vector<Frame> frames{{request.sender, static_cast<uint16_t>(request.id + 1), {}}};
        for (const auto& [sink, partition] : m_subscribers)
            if (partition == id) frames.push_back({sink, ZVM_SECURITY_STATUSCHANGED, {}});
        return frames;
    }

private:
    Partition* Find(int32_t id) {
        auto found =
            std::find_if(m_partitions.begin(), m_partitions.end(), [id](const Partition& p) { return p.id == id; });
        return found == m_partitions.end() ? nullptr : &*found;
    }

    std::mutex m_mutex;
    std::vector<Partition> m_partitions = SampleAlarm();
    std::set<std::pair<uint16_t, int32_t>> m_subscribers;
};

// Disarmed: ready, unless a zone is open and not bypassed.
int32_t Disarmed(const Partition& p) {
    const bool open = std::any_of(p.zones.begin(), p.zones.end(), [](const Zone& zone) {
        return (zone.state & kFaulted) && !(zone.state & kBypassed);
    });
    return open ? kReadyToBypass : kReady;
}

void SetZone(Partition& p, int32_t id, int32_t needs, bool bypass) {
    for (Zone& zone : p.zones) {
        if (zone.id != id || !(zone.state & needs)) continue;
        zone.state = bypass ? kBypassed | kCanUnbypass : kCanBypass | (zone.open ? kFaulted : 0);
    }
    if (!(p.status & kArmed)) p.status = Disarmed(p);
}

Bytes History(CZVTime start, const CZVTime& end) {
    if (end < start) start = end;
    const CZVTime earliest = PlusMinutes(end, -int64_t{kMaxDays} * 1440);
    if (start < earliest) start = earliest;
    // The alarm falls in the newest night that the range holds whole.
    const CZVTime alarmDay = DayStart(PlusMinutes(end, -(kAlarmAt + kAlarmMinutes)));
    struct State {
        CZVTime time;
        int32_t word;
    };
    std::vector<State> states;
    std::vector<std::vector<std::pair<CZVTime, CZVTime>>> zones(std::size(kOpenings) + 1);
    for (CZVTime day = DayStart(PlusMinutes(start, -1440)); day <= end; day = PlusMinutes(day, 1440)) {
        const int32_t away = kArmed | kAwayValue << 16;
        states.push_back({PlusMinutes(day, kDisarmAt), kReady});
        if (day == alarmDay) {
            // Hall Motion sets off the alarm for a few minutes.
            states.insert(states.end() - 1, {{PlusMinutes(day, kAlarmAt), away | kAlarm},
                                             {PlusMinutes(day, kAlarmAt + kAlarmMinutes), away}});
            zones.back().emplace_back(PlusMinutes(day, kAlarmAt), PlusMinutes(day, kAlarmAt + 1));
        }
        for (size_t i = 0; i < std::size(kOpenings); ++i)
            zones[i].emplace_back(PlusMinutes(day, kOpenings[i].from), PlusMinutes(day, kOpenings[i].to));
        states.push_back({PlusMinutes(day, kArmAt), away});
    }
    // The state in force at the start comes first, at the start.
    auto first = std::find_if(states.begin(), states.end(), [&](const State& s) { return !(s.time < start); });
    if (first != states.begin()) {
        std::prev(first)->time = start;
        --first;
    }
    states.erase(states.begin(), first);
    std::erase_if(states, [&](const State& s) { return end < s.time; });
    PayloadWriter out;
    out.Int(static_cast<int32_t>(states.size()));
    for (const State& s : states) {
        WritePackedTime(out, s.time);
        out.Short(static_cast<uint16_t>(s.word));
    }
    out.Int(1);  // one event, which the tablet keeps but never draws
    WritePackedTime(out, start);
    out.Short(1).String("History requested");
    out.Int(static_cast<int32_t>(zones.size()));
    for (size_t i = 0; i < zones.size(); ++i) {
        std::erase_if(zones[i], [&](const auto& range) { return range.second < start || end < range.first; });
        out.Int(i < std::size(kOpenings) ? kOpenings[i].zone : kAlarmZone);
        out.Int(static_cast<int32_t>(zones[i].size()));
        for (const auto& [from, to] : zones[i]) {
            WritePackedTime(out, from);
            WritePackedTime(out, to);
        }
    }
    return out;
}

// The request's first value; nothing when it is short.
std::optional<int32_t> First(const Frame& request) {
    PayloadReader in(request.payload);
    int32_t value = 0;
    if (!in.Int(&value)) return std::nullopt;
    return value;
}

}  // namespace

void ServeSecurity(Gateway& gateway) {
    auto alarm = std::make_shared<Alarm>();
    gateway.On(ZVM_SECURITY_GETSUMMARYQ, [alarm](const Frame& request) { return alarm->Summary(request); });
    gateway.On(ZVM_SECURITY_GETPARTITIONQ, [alarm](const Frame& request) -> std::vector<Frame> {
        const auto id = First(request);
        return id ? alarm->One(request, *id) : std::vector<Frame>{};
    });
    gateway.On(ZVM_SECURITY_GETLISTSQ, [alarm](const Frame& request) -> std::vector<Frame> {
        const auto area = First(request);
        return area ? alarm->Names(request, *area) : std::vector<Frame>{};
    });
    gateway.On(ZVM_SECURITY_GETSTATUSQ, [alarm](const Frame& request) -> std::vector<Frame> {
        const auto id = First(request);
        return id ? alarm->Status(request.sender, *id) : std::vector<Frame>{};
    });
    gateway.On(ZVM_SECURITY_SUBSCRIBE, [alarm](const Frame& request) -> std::vector<Frame> {
        // {sink, partition}
        PayloadReader in(request.payload);
        int32_t sink = 0, id = 0;
        if (in.Int(&sink) && in.Int(&id)) alarm->Subscribe(static_cast<uint16_t>(sink), id);
        return {};
    });
    gateway.On(ZVM_SECURITY_UNSUBSCRIBE, [alarm](const Frame& request) -> std::vector<Frame> {
        if (const auto sink = First(request)) alarm->Unsubscribe(static_cast<uint16_t>(*sink));
        return {};
    });
    for (uint16_t id : {ZVM_SECURITY_ARMQ, ZVM_SECURITY_DISARMQ})
        gateway.On(id, [alarm](const Frame& request) -> std::vector<Frame> {
            // {partition, mode value, code}: any code will do.
            PayloadReader in(request.payload);
            int32_t partition = 0, value = 0;
            if (!in.Int(&partition) || !in.Int(&value)) return {};
            const bool arm = request.id == ZVM_SECURITY_ARMQ;
            return alarm->Change(request, partition,
                                 [&](Partition& p) { p.status = arm ? kArmed | value << 16 : Disarmed(p); });
        });
    for (uint16_t id : {ZVM_SECURITY_BYPASSZONEQ, ZVM_SECURITY_UNBYPASSZONEQ})
        gateway.On(id, [alarm](const Frame& request) -> std::vector<Frame> {
            // {partition, zone}
            PayloadReader in(request.payload);
            int32_t partition = 0, zone = 0;
            if (!in.Int(&partition) || !in.Int(&zone)) return {};
            const bool bypass = request.id == ZVM_SECURITY_BYPASSZONEQ;
            return alarm->Change(request, partition,
                                 [&](Partition& p) { SetZone(p, zone, bypass ? kCanBypass : kCanUnbypass, bypass); });
        });
    gateway.On(ZVM_SECURITY_GETHISTORYQ, [](const Frame& request) -> std::vector<Frame> {
        // {partition, from, to}, answered to the asking sink
        PayloadReader in(request.payload);
        int32_t partition = 0;
        if (!in.Int(&partition)) return {};
        const std::optional<CZVTime> start = ReadTime(in), end = ReadTime(in);
        if (!start || !end) return {};
        return {{request.sender, ZVM_SECURITY_GETHISTORYA, History(*start, *end)}};
    });
}

}  // namespace samplegateway
