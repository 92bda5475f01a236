#include "samplegateway/controls.h"

#include <map>
#include <memory>
#include <mutex>

#include "samplegateway/gateway.h"

namespace samplegateway {

namespace {

constexpr uint16_t kSetToggleState = 0x0075;
constexpr uint16_t kGetToggleQuery = 0x1210;
constexpr uint16_t kGetToggleAnswer = 0x1211;

// The objects' states, 0 until set.
class ToggleStates {
public:
    int Get(int32_t object) {
        std::lock_guard lock(mutex_);
        const auto found = states_.find(object);
        return found == states_.end() ? 0 : found->second;
    }
    void Set(int32_t object, int32_t state) {
        std::lock_guard lock(mutex_);
        states_[object] = state;
    }

private:
    std::mutex mutex_;
    std::map<int32_t, int32_t> states_;
};

}  // namespace

void ServeToggles(Gateway& gateway) {
    auto states = std::make_shared<ToggleStates>();
    gateway.On(kGetToggleQuery, [states](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t object = 0;
        if (!in.Int(&object)) return {};
        return {{request.sender, kGetToggleAnswer, PayloadWriter().Int(object).Int(states->Get(object))}};
    });
    gateway.On(kSetToggleState, [states](const Frame& request) -> std::vector<Frame> {
        PayloadReader in(request.payload);
        int32_t object = 0, zone = 0, state = 0;
        if (!in.Int(&object) || !in.Int(&zone) || !in.Int(&state)) return {};
        states->Set(object, state);
        return {{kEverySink, kSetToggleState, PayloadWriter().Int(object).Int(state)}};
    });
}

}  // namespace samplegateway
