#include "samplegateway/controls.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "core/messages/shellmessages.h"
#include "core/messages/toolkitmessages.h"
#include "samplegateway/gateway.h"

namespace samplegateway {

namespace {

// The objects' states, 0 until set.
class ToggleStates {
public:
    int Get(int32_t object) {
        std::lock_guard lock(m_mutex);
        const auto found = m_states.find(object);
        return found == m_states.end() ? 0 : found->second;
    }
    void Set(int32_t object, int32_t state) {
        std::lock_guard lock(m_mutex);
        m_states[object] = state;
    }

private:
    std::mutex m_mutex;
    std::map<int32_t, int32_t> m_states;
};

}  // namespace

void ServeToggles(Gateway& gateway) {
    auto states = std::make_shared<ToggleStates>();
    gateway.On(ZVM_UI_GETTOGGLEQ, [states](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t object = 0;
        if (!in.Int(&object)) return {};
        return {{request.sender, ZVM_UI_GETTOGGLEA, PayloadWriter().Int(object).Int(states->Get(object))}};
    });
    gateway.On(ZVM_UI_SETTOGGLESTATE, [states](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t object = 0, zone = 0, state = 0;
        if (!in.Int(&object) || !in.Int(&zone) || !in.Int(&state)) return {};
        states->Set(object, state);
        return {{kEverySink, ZVM_UI_SETTOGGLESTATE, PayloadWriter().Int(object).Int(state)}};
    });
}

void ServeCheckStates(Gateway& gateway) {
    // Every object starts off; an answer leaves the state where it is.
    for (const auto& [query, answer] : {std::pair{ZVM_UI_GETCHECKSTATEQ, ZVM_UI_GETCHECKSTATEA},
                                        std::pair{ZVM_DEVICE_GETSTATEQ, ZVM_DEVICE_GETSTATEA},
                                        std::pair{ZVM_DEVICE_GETSTATEEXQ, ZVM_DEVICE_GETSTATEEXA}})
        gateway.On(query, [answer = answer](const Frame& request) -> std::vector<Frame> {
            PayloadReader in(request.payload);
            int32_t object = 0;
            if (!in.Int(&object)) return {};
            return {{request.sender, answer, PayloadWriter().Int(object).Int(0)}};
        });
    gateway.On(ZVM_UI_SETCHECKSTATE, [](const Frame& request) -> std::vector<Frame> {
        return {{kEverySink, ZVM_UI_SETCHECKSTATE, request.payload}};
    });
    gateway.On(ZVM_DEVICE_SETSTATE, [](const Frame& request) -> std::vector<Frame> {
        return {{kEverySink, ZVM_DEVICE_STATECHANGED, request.payload}};
    });
    gateway.On(ZVM_UI_BUTTONPRESS, [](const Frame&) { return std::vector<Frame>{}; });
}

}  // namespace samplegateway
