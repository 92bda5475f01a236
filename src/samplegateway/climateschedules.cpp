#include "samplegateway/climateschedules.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/messages/climatemessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"

namespace samplegateway {

namespace {

constexpr size_t kPeriodBytes = 8;      // i32 time, cool, heat, fan and a spare byte
constexpr size_t kSharedIdOffset = 16;  // after heat, cool, fan and the capability bits

// The payload after its first i32.
Bytes AfterFirst(const Bytes& payload) {
    return payload.size() < 4 ? Bytes() : Bytes(payload.begin() + 4, payload.end());
}

class ScheduleState {
public:
    explicit ScheduleState(const House& house) : m_house(house), m_shared(house.Payload(ZVM_HVAC_SUBSCRIBEZONESQ)) {}

    // {zone}: the zone's programs as last stored, else the house's.
    std::vector<Frame> Programs(const Frame& request) {
        std::lock_guard lock(m_mutex);
        const auto stored = m_programs.find(FirstInt(request));
        if (stored == m_programs.end()) return m_house.Respond(request);
        return {{request.sender, ZVM_HVAC_GETSCHEDULEA, stored->second}};
    }
    // {zone, programs}: kept as the zone's programs.
    std::vector<Frame> StorePrograms(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_programs[FirstInt(request)] = AfterFirst(request.payload);
        return {{request.sender, ZVM_HVAC_SETSCHEDULEA, {}}};
    }
    // {zone}: the house's information with the shared schedule the zone follows now.
    std::vector<Frame> Information(const Frame& request) {
        std::vector<Frame> answers = m_house.Respond(request);
        std::lock_guard lock(m_mutex);
        const auto followed = m_following.find(FirstInt(request));
        if (followed == m_following.end()) return answers;
        for (Frame& answer : answers)
            if (answer.payload.size() >= kSharedIdOffset + 4)
                std::memcpy(answer.payload.data() + kSharedIdOffset, &followed->second, 4);
        return answers;
    }
    // {zone, shared id}: the zone follows the schedule (0x0822), or leaves it with a copy of
    // it as its own program (0x082A).
    std::vector<Frame> Follow(const Frame& request, bool follow) {
        PayloadReader in(request.payload);
        int32_t zone = 0, id = 0;
        if (!in.Int(&zone) || !in.Int(&id)) return {};
        std::lock_guard lock(m_mutex);
        m_following[zone] = follow ? id : 0;
        if (Bytes copy; !follow && ProgramOf(id, &copy)) m_programs[zone] = copy;
        return {{request.sender, static_cast<uint16_t>(request.id + 1), {}}};
    }
    // The shared schedules; the requester hears of every later change.
    std::vector<Frame> Shared(const Frame& request) {
        std::lock_guard lock(m_mutex);
        m_sinks.insert(request.sender);
        return {{request.sender, ZVM_HVAC_SUBSCRIBEZONESA, m_shared}};
    }
    // {id, D, D x P periods}: the shared schedule's set points, then the schedules to every
    // subscriber.
    std::vector<Frame> StoreSetPoints(const Frame& request) {
        std::lock_guard lock(m_mutex);
        std::vector<Frame> frames = {{request.sender, ZVM_HVAC_SETZONESETPOINTSA, {}}};
        if (Bytes changed; Replace(request.payload, &changed)) {
            m_shared = changed;
            for (uint16_t sink : m_sinks) frames.push_back({sink, ZVM_HVAC_SUBSCRIBEZONESA, m_shared});
        }
        return frames;
    }

private:
    static int32_t FirstInt(const Frame& request) {
        PayloadReader in(request.payload);
        int32_t value = 0;
        in.Int(&value);
        return value;
    }
    // The shared schedule as a zone's one program: count 1, then its house modes, P, D and days.
    bool ProgramOf(int32_t target, Bytes* out) const {
        bool found = false;
        Walk([&](int32_t id, const std::string&, int32_t program, int32_t periods, int32_t days, const Bytes& records) {
            if (id != target || found) return;
            PayloadWriter w;
            w.Int(1).Int(program).Int(periods).Int(days).Raw(records.data(), records.size());
            *out = w;
            found = true;
        });
        return found;
    }
    // Calls visit(id, name, house modes, P, D, the day records) for every shared schedule;
    // false when the list is cut short.
    template <class Visit>
    bool Walk(Visit visit) const {
        PayloadReader in(m_shared);
        int32_t count = 0;
        if (!in.Int(&count) || count < 0) return false;
        for (int32_t i = 0; i < count; ++i) {
            int32_t id = 0, program = 0, periods = 0, days = 0;
            std::string name;
            if (!in.Int(&id) || !in.String(&name) || !in.Int(&program) || !in.Int(&periods) || !in.Int(&days) ||
                periods < 0 || periods > 8 || days < 0 || days > 8)
                return false;
            Bytes records(static_cast<size_t>(days) * (4 + static_cast<size_t>(periods) * kPeriodBytes));
            if (!in.Raw(records.data(), records.size())) return false;
            visit(id, name, program, periods, days, records);
        }
        return true;
    }
    // The shared schedules with the request's periods in place of its schedule's; false when
    // the request does not fit the schedule.
    bool Replace(const Bytes& request, Bytes* out) const {
        PayloadReader edit(request);
        int32_t target = 0, sent = 0, count = 0;
        if (!edit.Int(&target) || !edit.Int(&sent)) return false;
        PayloadReader head(m_shared);
        if (!head.Int(&count)) return false;
        PayloadWriter w;
        w.Int(count);
        bool replaced = false, fits = true;
        const bool whole = Walk([&](int32_t id, const std::string& name, int32_t program, int32_t periods, int32_t days,
                                    const Bytes& records) {
            w.Int(id).String(name).Int(program).Int(periods).Int(days);
            const bool mine = id == target && days == sent;
            const size_t dayBytes = static_cast<size_t>(periods) * kPeriodBytes;
            Bytes day(dayBytes);
            for (size_t d = 0; d < static_cast<size_t>(days); ++d) {
                const uint8_t* record = records.data() + d * (4 + dayBytes);
                if (mine)
                    fits = fits && edit.Raw(day.data(), dayBytes);
                else
                    std::memcpy(day.data(), record + 4, dayBytes);
                w.Raw(record, 4).Raw(day.data(), dayBytes);
            }
            replaced = replaced || mine;
        });
        if (!whole || !replaced || !fits) return false;
        *out = w;
        return true;
    }

    const House m_house;  // a copy: the caller's may be gone
    std::mutex m_mutex;
    std::map<int32_t, Bytes> m_programs;
    std::map<int32_t, int32_t> m_following;
    Bytes m_shared;
    std::set<uint16_t> m_sinks;
};

}  // namespace

void ServeClimateSchedules(Gateway& gateway, const House& house) {
    auto state = std::make_shared<ScheduleState>(house);
    gateway.On(ZVM_HVAC_GETSCHEDULEQ, [state](const Frame& request) { return state->Programs(request); });
    gateway.On(ZVM_HVAC_SETSCHEDULEQ, [state](const Frame& request) { return state->StorePrograms(request); });
    gateway.On(ZVM_HVAC_GETZONESTATUSQ, [state](const Frame& request) { return state->Information(request); });
    gateway.On(ZVM_HVAC_SETZONEVALUEQ, [state](const Frame& request) { return state->Follow(request, true); });
    gateway.On(ZVM_HVAC_CLEARZONEVALUEQ, [state](const Frame& request) { return state->Follow(request, false); });
    gateway.On(ZVM_HVAC_SUBSCRIBEZONESQ, [state](const Frame& request) { return state->Shared(request); });
    gateway.On(ZVM_HVAC_SETZONESETPOINTSQ, [state](const Frame& request) { return state->StoreSetPoints(request); });
}

}  // namespace samplegateway
