#include "samplegateway/lightingschedules.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/messages/schedulemessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/requestvalues.h"

namespace samplegateway {

namespace {

constexpr int32_t kSwitchDevices = 1;

struct Event {
    std::string name;
    int32_t type = 0;
    int32_t value = 0;
};
struct Command {
    std::string device;
    std::string action;
};
using Named = std::vector<std::pair<int32_t, std::string>>;

Bytes Request(std::initializer_list<int32_t> values) {
    PayloadWriter out;
    for (int32_t value : values) out.Int(value);
    return out;
}

// The house's answer to the request, read as {n, n x {id, name}}.
Named NamedList(const House& house, uint16_t id, std::initializer_list<int32_t> values) {
    Named items;
    const auto answers = house.Respond({0, id, Request(values)});
    if (answers.empty()) return items;
    PayloadReader in(answers.front().payload);
    int32_t count = 0;
    std::pair<int32_t, std::string> item;
    for (in.Int(&count); count-- > 0 && in.Int(&item.first) && in.String(&item.second);) items.push_back(item);
    return items;
}

std::string NameOf(const Named& items, int32_t id) {
    for (const auto& [itemId, name] : items)
        if (itemId == id) return name;
    return "";
}

class LightingState {
public:
    explicit LightingState(const House& house) : m_house(house) {}

    std::vector<Frame> Events(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.empty()) return {};
        std::lock_guard lock(m_mutex);
        const auto& events = EventsOf(values[0]);
        PayloadWriter out;
        out.Int(static_cast<int32_t>(events.size()));
        for (const Event& e : events) out.String(e.name).Int(e.type).Int(e.value);
        return {{request.sender, ZVM_SCHEDULE_GETEVENTSQ + 1, out}};
    }
    std::vector<Frame> SetEvent(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.size() < 4) return {};
        std::lock_guard lock(m_mutex);
        auto& events = EventsOf(values[0]);
        if (values[1] >= 0 && values[1] < static_cast<int32_t>(events.size())) {
            events[static_cast<size_t>(values[1])].type = values[2];
            events[static_cast<size_t>(values[1])].value = values[3];
        }
        return {};
    }
    std::vector<Frame> Commands(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.size() < 2) return {};
        std::lock_guard lock(m_mutex);
        const auto& commands = CommandsOf(values[0], values[1]);
        PayloadWriter out;
        out.Int(static_cast<int32_t>(commands.size()));
        for (const Command& c : commands) out.String(c.device).String(c.action);
        return {{request.sender, ZVM_SCHEDULE_GETCOMMANDSQ + 1, out}};
    }
    std::vector<Frame> Remove(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.size() < 3) return {};
        std::lock_guard lock(m_mutex);
        auto& commands = CommandsOf(values[0], values[1]);
        if (values[2] >= 0 && values[2] < static_cast<int32_t>(commands.size()))
            commands.erase(commands.begin() + values[2]);
        return {{request.sender, ZVM_SCHEDULE_REMOVECOMMANDQ + 1, {}}};
    }
    // {schedule, event, scene command}: the keypad that has the command names it.
    std::vector<Frame> AddKeypad(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.size() < 3) return {};
        std::lock_guard lock(m_mutex);
        for (const auto& [keypad, name] : NamedList(m_house, ZVM_LIGHTS_GETKEYPADLISTQ, {})) {
            const std::string scene = NameOf(NamedList(m_house, ZVM_LIGHTS_GETKEYPADSQ, {keypad}), values[2]);
            if (!scene.empty()) CommandsOf(values[0], values[1]).push_back({name, scene});
        }
        return {{request.sender, ZVM_SCHEDULE_ADDKEYPADCOMMANDQ + 1, {}}};
    }
    // {schedule, event, switch, action}.
    std::vector<Frame> AddSwitch(const Frame& request) {
        const auto values = IntsOf(request);
        if (values.size() < 4) return {};
        std::lock_guard lock(m_mutex);
        const std::string device = NameOf(NamedList(m_house, ZVM_LIGHTS_GETDEVICESQ, {kSwitchDevices}), values[2]);
        const std::string action = NameOf(NamedList(m_house, ZVM_LIGHTS_GETSWITCHESQ, {values[2]}), values[3]);
        if (!device.empty() && !action.empty()) CommandsOf(values[0], values[1]).push_back({device, action});
        return {{request.sender, ZVM_SCHEDULE_ADDSWITCHCOMMANDQ + 1, {}}};
    }

private:
    std::vector<Event>& EventsOf(int32_t schedule) {
        auto [it, added] = m_events.try_emplace(schedule);
        if (!added) return it->second;
        const auto answers = m_house.Respond({0, ZVM_SCHEDULE_GETEVENTSQ, Request({schedule})});
        if (answers.empty()) return it->second;
        PayloadReader in(answers.front().payload);
        int32_t count = 0;
        Event e;
        for (in.Int(&count); count-- > 0 && in.String(&e.name) && in.Int(&e.type) && in.Int(&e.value);)
            it->second.push_back(e);
        return it->second;
    }
    std::vector<Command>& CommandsOf(int32_t schedule, int32_t event) {
        auto [it, added] = m_commands.try_emplace({schedule, event});
        if (!added) return it->second;
        const auto answers = m_house.Respond({0, ZVM_SCHEDULE_GETCOMMANDSQ, Request({schedule, event})});
        if (answers.empty()) return it->second;
        PayloadReader in(answers.front().payload);
        int32_t count = 0;
        Command c;
        for (in.Int(&count); count-- > 0 && in.String(&c.device) && in.String(&c.action);) it->second.push_back(c);
        return it->second;
    }

    std::mutex m_mutex;
    const House m_house;
    std::map<int32_t, std::vector<Event>> m_events;
    std::map<std::pair<int32_t, int32_t>, std::vector<Command>> m_commands;
};

}  // namespace

void ServeLightingSchedules(Gateway& gateway, const House& house) {
    auto state = std::make_shared<LightingState>(house);
    const std::pair<uint16_t, std::vector<Frame> (LightingState::*)(const Frame&)> handlers[] = {
        {ZVM_SCHEDULE_GETEVENTSQ, &LightingState::Events},
        {ZVM_SCHEDULE_SETLIGHTINGEVENT, &LightingState::SetEvent},
        {ZVM_SCHEDULE_GETCOMMANDSQ, &LightingState::Commands},
        {ZVM_SCHEDULE_REMOVECOMMANDQ, &LightingState::Remove},
        {ZVM_SCHEDULE_ADDKEYPADCOMMANDQ, &LightingState::AddKeypad},
        {ZVM_SCHEDULE_ADDSWITCHCOMMANDQ, &LightingState::AddSwitch},
    };
    for (const auto& [id, handler] : handlers)
        gateway.On(id, [state, handler = handler](const Frame& request) { return ((*state).*handler)(request); });
}

}  // namespace samplegateway
