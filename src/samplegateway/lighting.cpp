#include "samplegateway/lighting.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/messages/lightingmessages.h"
#include "core/messages/schedulemessages.h"
#include "samplegateway/gateway.h"
#include "samplegateway/house.h"
#include "samplegateway/requestvalues.h"

namespace samplegateway {

namespace {

constexpr int32_t kSwitchDevices = 1;
// The keypad button the keypad item stands for.
constexpr int32_t kItemKeypad = 10;
constexpr int32_t kItemButton = 1;

Bytes IntsPayload(const std::vector<int32_t>& values) {
    PayloadWriter out;
    for (int32_t value : values) out.Int(value);
    return out;
}

Bytes Request(std::initializer_list<int32_t> values) { return IntsPayload(values); }

struct SceneDevice {
    std::string name;
    int32_t value = 0;
    int32_t flags = 0;
};

class LightingState {
public:
    explicit LightingState(const House& house) : m_house(house) {}

    // {keypad, sink}: the sink hears the keypad's LED changes.
    std::vector<Frame> Register(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 2) return {};
        std::lock_guard lock(m_mutex);
        m_sinks[v[0]].insert(static_cast<uint16_t>(v[1]));
        return {{request.sender, ZVM_LIGHTS_REGISTERKEYPADQ + 1, {}}};
    }
    std::vector<Frame> Unregister(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 2) return {};
        std::lock_guard lock(m_mutex);
        m_sinks[v[0]].erase(static_cast<uint16_t>(v[1]));
        return {};
    }
    std::vector<Frame> Leds(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.empty()) return {};
        std::lock_guard lock(m_mutex);
        return {{request.sender, ZVM_LIGHTS_GETKEYPADLEDSA, LedPayload(v[0])}};
    }
    // {keypad, button}: the button's scene becomes the one lit.
    std::vector<Frame> Press(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 2) return {};
        std::lock_guard lock(m_mutex);
        auto& leds = LedsOf(v[0]);
        for (size_t i = 0; i < leds.size(); ++i) leds[i] = static_cast<int32_t>(i) == v[1] ? 1 : 0;
        std::vector<Frame> pushes;
        for (uint16_t sink : m_sinks[v[0]]) pushes.push_back({sink, ZVM_LIGHTS_KEYPADLEDSCHANGED, LedPayload(v[0])});
        return pushes;
    }
    // {sink}: the editor is open; the button's entries follow to the sink.
    std::vector<Frame> OpenEditor(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.empty()) return {};
        const auto sink = static_cast<uint16_t>(v[0]);
        auto row = [](int32_t a, int32_t b, int32_t c, const char* device, const char* action) {
            PayloadWriter out;
            out.Int(a).Int(b).Int(c).String("Main Panel").String(device).String(action);
            return Bytes(out);
        };
        return {{request.sender, ZVM_LIGHTS_SAVECOMMANDQ + 1, {}},
                {sink, ZVM_LIGHTS_KEYPADENTRYCHANGED, row(1, 4, 100, "Ceiling Lights", "On")},
                {sink, ZVM_LIGHTS_KEYPADENTRYCHANGED, row(1, 5, 40, "Wall Lamps", "40 %")}};
    }
    std::vector<Frame> Switch(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.empty()) return {};
        std::lock_guard lock(m_mutex);
        return {{request.sender, ZVM_LIGHTS_GETSWITCHA, Request({v[0], SwitchValue(v[0])})}};
    }
    // {switch, value}: a level sent at once is kept as a level.
    std::vector<Frame> SetSwitch(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 2) return {};
        int32_t value = v[1];
        if (value >= 251 && value <= 351) value -= 101;
        std::lock_guard lock(m_mutex);
        m_switches[v[0]] = value;
        return {{kEverySink, ZVM_LIGHTS_SWITCHCHANGED, Request({v[0], value})}};
    }
    std::vector<Frame> Scene(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.empty()) return {};
        std::lock_guard lock(m_mutex);
        return {{request.sender, ZVM_SCENES_GETSCENEA, Request({v[0], m_active.count(v[0]) ? 1 : 0})}};
    }
    std::vector<Frame> Activate(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.empty()) return {};
        std::lock_guard lock(m_mutex);
        m_active.insert(v[0]);
        return {{kEverySink, ZVM_LIGHTS_SCENECHANGED, Request({v[0], 1})}};
    }
    std::vector<Frame> SceneDevices(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.empty()) return {};
        std::lock_guard lock(m_mutex);
        const auto& devices = DevicesOf(v[0]);
        PayloadWriter out;
        out.Int(static_cast<int32_t>(devices.size()));
        for (const SceneDevice& d : devices) out.String(d.name).Int(d.value).Int(d.flags);
        return {{request.sender, ZVM_SCENES_GETDEVICESA, out}};
    }
    // {scene, device, 0}: the device joins the scene, on.
    std::vector<Frame> AddDevice(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 2) return {};
        std::lock_guard lock(m_mutex);
        const std::string name = DeviceName(v[1]);
        if (!name.empty()) DevicesOf(v[0]).push_back({name, 0, 1});
        return {};
    }
    std::vector<Frame> RemoveDevice(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 2) return {};
        std::lock_guard lock(m_mutex);
        auto& devices = DevicesOf(v[0]);
        if (v[1] >= 0 && v[1] < static_cast<int32_t>(devices.size())) devices.erase(devices.begin() + v[1]);
        return {};
    }
    std::vector<Frame> SetDeviceLevel(const Frame& request) {
        const auto v = IntsOf(request);
        if (v.size() < 3) return {};
        std::lock_guard lock(m_mutex);
        auto& devices = DevicesOf(v[0]);
        if (v[1] >= 0 && v[1] < static_cast<int32_t>(devices.size())) devices[static_cast<size_t>(v[1])].value = v[2];
        return {};
    }
    std::vector<Frame> Binding(const Frame& request) {
        return {{request.sender, ZVM_LIGHTS_GETBUTTONBINDINGA, Request({kItemKeypad, kItemButton})}};
    }

private:
    // The LEDs of a keypad: one per button of its description, all off at first.
    std::vector<int32_t>& LedsOf(int32_t keypad) {
        auto [it, added] = m_leds.try_emplace(keypad);
        if (!added) return it->second;
        const auto answers = m_house.Respond({0, ZVM_LIGHTS_GETKEYPADQ, Request({keypad})});
        if (answers.empty()) return it->second;
        PayloadReader in(answers.front().payload);
        int32_t outline = 0, count = 0;
        for (int i = 0; i < 4; ++i) in.Int(&outline);
        if (in.Int(&count) && count > 0 && count < 1000) it->second.assign(static_cast<size_t>(count), 0);
        return it->second;
    }
    Bytes LedPayload(int32_t keypad) {
        const auto& leds = LedsOf(keypad);
        std::vector<int32_t> values{static_cast<int32_t>(leds.size())};
        values.insert(values.end(), leds.begin(), leds.end());
        return IntsPayload(values);
    }
    int32_t SwitchValue(int32_t id) {
        auto found = m_switches.find(id);
        if (found != m_switches.end()) return found->second;
        const auto answers = m_house.Respond({0, ZVM_LIGHTS_GETSWITCHQ, Request({id})});
        int32_t unused = 0, value = 1;
        if (!answers.empty()) {
            PayloadReader in(answers.front().payload);
            in.Int(&unused) && in.Int(&value);
        }
        return m_switches[id] = value;
    }
    std::vector<SceneDevice>& DevicesOf(int32_t scene) {
        auto [it, added] = m_scenes.try_emplace(scene);
        if (!added) return it->second;
        const auto answers = m_house.Respond({0, ZVM_SCENES_GETDEVICESQ, Request({scene})});
        if (answers.empty()) return it->second;
        PayloadReader in(answers.front().payload);
        int32_t count = 0;
        SceneDevice d;
        for (in.Int(&count); count-- > 0 && in.String(&d.name) && in.Int(&d.value) && in.Int(&d.flags);)
            it->second.push_back(d);
        return it->second;
    }
    std::string DeviceName(int32_t device) const {
        const auto answers = m_house.Respond({0, ZVM_LIGHTS_GETDEVICESQ, Request({kSwitchDevices})});
        if (answers.empty()) return "";
        PayloadReader in(answers.front().payload);
        int32_t count = 0, id = 0;
        std::string name;
        for (in.Int(&count); count-- > 0 && in.Int(&id) && in.String(&name);)
            if (id == device) return name;
        return "";
    }

    std::mutex m_mutex;
    const House m_house;
    std::map<int32_t, std::set<uint16_t>> m_sinks;
    std::map<int32_t, std::vector<int32_t>> m_leds;
    std::map<int32_t, int32_t> m_switches;
    std::set<int32_t> m_active;
    std::map<int32_t, std::vector<SceneDevice>> m_scenes;
};

}  // namespace

void ServeLighting(Gateway& gateway, const House& house) {
    auto state = std::make_shared<LightingState>(house);
    const std::pair<uint16_t, std::vector<Frame> (LightingState::*)(const Frame&)> handlers[] = {
        {ZVM_LIGHTS_REGISTERKEYPADQ, &LightingState::Register},
        {ZVM_LIGHTS_UNREGISTERKEYPAD, &LightingState::Unregister},
        {ZVM_LIGHTS_GETKEYPADLEDSQ, &LightingState::Leds},
        {ZVM_LIGHTS_KEYPADPRESS, &LightingState::Press},
        {ZVM_LIGHTS_SAVECOMMANDQ, &LightingState::OpenEditor},
        {ZVM_LIGHTS_GETSWITCHQ, &LightingState::Switch},
        {ZVM_LIGHTS_SETSWITCH, &LightingState::SetSwitch},
        {ZVM_SCENES_GETSCENEQ, &LightingState::Scene},
        {ZVM_SCENES_ACTIVATE, &LightingState::Activate},
        {ZVM_SCENES_GETDEVICESQ, &LightingState::SceneDevices},
        {ZVM_SCENES_ADDDEVICE, &LightingState::AddDevice},
        {ZVM_SCENES_CLEAR, &LightingState::RemoveDevice},
        {ZVM_SCENES_SETDEVICELEVEL, &LightingState::SetDeviceLevel},
        {ZVM_LIGHTS_GETBUTTONBINDINGQ, &LightingState::Binding},
    };
    for (const auto& [id, handler] : handlers)
        gateway.On(id, [state, handler = handler](const Frame& request) { return ((*state).*handler)(request); });
}

}  // namespace samplegateway
