#include "samplegateway/controls.h"

#include <map>
#include <memory>
#include <mutex>
#include <utility>

#include "samplegateway/gateway.h"

namespace samplegateway {

namespace {

constexpr uint16_t kSetToggleState = 0x0075;
constexpr uint16_t kGetToggleQuery = 0x1210;
constexpr uint16_t kGetToggleAnswer = 0x1211;
constexpr uint16_t kCheckStateQuery = 0x25A1;
constexpr uint16_t kCheckStateAnswer = 0x25A2;
constexpr uint16_t kCheckStateSet = 0x0074;
constexpr uint16_t kLightStateQuery = 0x3AE4;
constexpr uint16_t kLightStateAnswer = 0x3AE5;
constexpr uint16_t kSwitchStateQuery = 0x3AE6;
constexpr uint16_t kSwitchStateAnswer = 0x3AE7;
constexpr uint16_t kDeviceStateSet = 0x3AE2;
constexpr uint16_t kDeviceStateNotice = 0x3A9A;
constexpr uint16_t kCheckPress = 0x2727;

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

void ServeCheckStates(Gateway& gateway) {
    // Every object starts off; an answer leaves the state where it is.
    for (const auto& [query, answer] : {std::pair{kCheckStateQuery, kCheckStateAnswer},
                                        std::pair{kLightStateQuery, kLightStateAnswer},
                                        std::pair{kSwitchStateQuery, kSwitchStateAnswer}})
        gateway.On(query, [answer = answer](const Frame& request) -> std::vector<Frame> {
            PayloadReader in(request.payload);
            int32_t object = 0;
            if (!in.Int(&object)) return {};
            return {{request.sender, answer, PayloadWriter().Int(object).Int(0)}};
        });
    gateway.On(kCheckStateSet, [](const Frame& request) -> std::vector<Frame> {
        return {{kEverySink, kCheckStateSet, request.payload}};
    });
    gateway.On(kDeviceStateSet, [](const Frame& request) -> std::vector<Frame> {
        return {{kEverySink, kDeviceStateNotice, request.payload}};
    });
    gateway.On(kCheckPress, [](const Frame&) { return std::vector<Frame>{}; });
}

}  // namespace samplegateway
